#pragma once
// The menu bar ("menubar"): a row of buttons, each opening a drawn popup menu loaded from the
// resources by name. While one menu is open, moving the mouse onto another button closes it
// and opens that button's menu; a click on the button whose menu is open closes it. A chosen
// command is reported with EventSelectMenu.
#include "control/SButton.h"
#include "control/SMenuEx.h"
#include "core/SDynArray.h"

namespace SKEIN {

class SMenuBar;

class EventSelectMenu : public EventArgs {
    SKEIN_EVENT_CLASS(22150, L"on_select_menu")
    explicit EventSelectMenu(IObject* sender) : EventArgs(sender), menuId(0), menu(nullptr) {}
    int menuId;    // the chosen command
    SMenuEx* menu; // the menu it was chosen from
};

// A button of the bar with its menu; class "menuItem", XML class name that of the button.
class SMenuItem : public SButton {
public:
    // menuName: "type:name", a bare name being of type "SMENUEX".
    SMenuItem(SMenuBar* bar, const SStringW& menuName);

    BOOL MatchesClassName(const wchar_t* name) const override;
    using SButton::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    BOOL HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    // Runs the menu below the button, modally; the chosen command, 0 when none.
    int RunMenu();
    bool IsMenuLoaded() const { return m_menuLoaded; }
    const SStringW& MenuName() const { return m_menuName; }
    SMenuEx& Menu() { return m_menu; }

private:
    void DropClosingPress(HWND host);

    SMenuBar* m_bar;
    SStringW m_menuName;
    bool m_menuLoaded;
    SMenuEx m_menu;
};

class SMenuBar : public SWindow {
    SKEIN_CLASS_NAME(SWindow, L"menubar")

public:
    SMenuBar();

    // Keeps the "btnStyle" child for every item, then adds an item per "menuItem" of "menus".
    BOOL CreateChildrenFromXml(pugi::xml_node node) override;
    // Items of 49 x 20 pixels in a row, one pixel apart, from one pixel in.
    void ArrangeChildren() override;

    // An item at index (negative: the end); false without a menu name or when its menu does
    // not load.
    bool AddItem(const SStringW& text, const SStringW& menuName, int index = -1);
    // Takes an item out of the bar's list (it stays a child); false when it is not in it.
    bool RemoveItem(SMenuItem* item);
    int GetItemCount() const { return m_items.Count(); }
    SMenuItem* GetItem(int index) const { return m_items[index]; }
    bool IsMenuShowing() const { return m_menuShowing != 0; }
    // Owner of the menus and origin of their position: the host's window.
    HWND HostWindow();

private:
    friend class SMenuItem;

    SDynArray<SMenuItem*> m_items;
    HWND m_hostWindow;
    pugi::xml_document m_btnStyle;
    int m_menuShowing;
    SMenuItem* m_currentItem; // the item whose menu runs or is about to run
};

} // namespace SKEIN
