#pragma once
// The drawn popup menu. Every level is a small translucent popup host whose tree holds one root
// with item and separator children built from an XML resource of type "SMENUEX"; an item with
// item children opens a sub-menu built from them. Running a menu is modal: a private message
// loop runs until an item is chosen, the user clicks outside, presses Escape, or the owner's
// top-level window stops being the foreground window. All levels of one run share one run data.
//
// The engine (SMenuExBase, SMenuExRootBase, SMenuExItemBase) is shared by menu families; a family
// names its classes, keeps its own global run and picks the variants below. SMenuEx and its
// classes are the framework's family.
#include "core/SHostWnd.h"

namespace SKEIN {

class SMenuExBase;
class SMenuExItemBase;
class SMenuExScroller;

// Flags of RunPopup: alignment of the menu to the point, and returning the result.
enum {
    kMenuAlignCenter = 0x4,
    kMenuAlignRight = 0x8,
    kMenuAlignVCenter = 0x10,
    kMenuAlignBottom = 0x20,
    kMenuReturnCmd = 0x100,
};

// The timer of a level that opens the hovered item's sub-menu.
enum { kMenuTimerSubMenu = 100, kMenuSubMenuDelay = 500 };
// The timer that scrolls a level while the mouse rests on one of its scroll strips.
enum { kMenuTimerScroll = 101, kMenuScrollDelay = 60 };

// What one run shares among its levels.
class SMenuExRunData : public TObjRefImpl<IObjRef> {
public:
    SMenuExRunData(HWND owner, int scale) : openMenus(10), exitFlag(false), result(-1), owner(owner), scale(scale) {}

    // The shown level whose window is hwnd; null when none.
    SMenuExBase* FindMenu(HWND hwnd) const;
    // The last opened level whose window holds the screen point; null when none.
    SMenuExBase* MenuAt(POINT pt) const;
    SMenuExBase* LastMenu() const { return openMenus.Last() ? openMenus.Last()->value : nullptr; }

    SLinkedList<SMenuExBase*> openMenus; // in opening order
    bool exitFlag;
    int result;
    HWND owner;
    int scale;
};

// Where a level of a given size opens: the point is aligned by the flags, and the rectangle, cut
// to the monitor's height, kept on the monitor. A sub-menu passes its offset and its parent
// menu's width; the top level of a family that flips downward moves below the point when it
// leaves the monitor's top.
struct SMenuPlacement {
    bool subMenu;
    int offset;
    int parentWidth;
    bool flipDownAtTop;
};
RECT PlaceMenuRect(UINT flags, POINT pt, SIZE size, const RECT& monitor, const SMenuPlacement& how);

// The root of a level: the look shared by its items, their vertical stacking and the menu size.
class SMenuExRootBase : public SWindow {
public:
    explicit SMenuExRootBase(SMenuExBase* ownerMenu);

    using SWindow::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    BOOL ApplyXmlAttributes(pugi::xml_node element) override;
    BOOL CreateChildrenFromXml(pugi::xml_node node) override;
    void ArrangeChildren() override;
    void GetChildAreaRect(RECT* out) const override;
    SIZE ComputePreferredSize(const RECT* available) override;
    void ApplyScale(int scale) override;

    // A new item or separator of the owner's family with its skin and class defaults; not linked.
    SMenuExItemBase* NewChild(bool separator);
    // Pixels at the root's scale.
    int Pixels(const SLayoutSize& size) const { return size.ToPixels(GetScale()); }
    SMenuExBase* OwnerMenu() const { return m_ownerMenu; }

    SRefPtr<ISkinObj> m_itemSkin;
    SRefPtr<ISkinObj> m_iconSkin;
    SRefPtr<ISkinObj> m_checkSkin;
    SRefPtr<ISkinObj> m_arrowSkin;
    SRefPtr<ISkinObj> m_sepSkin;
    SLayoutSize m_itemHeight;
    SLayoutSize m_iconBarWidth;
    SLayoutSize m_textOffset;
    SLayoutSize m_iconX;
    SLayoutSize m_iconY;
    SLayoutSize m_minWidth;
    SLayoutSize m_subMenuOffset;
    int m_contextHelpId;

protected:
    // One part of "iconPos", and the vertical position that centres the icon.
    virtual SLayoutSize IconPosPart(const SStringW& text) const;
    virtual SLayoutSize CentredIconY() const { return SLayoutSize(-1000.0f, SLayoutSize::kPx); }

private:
    HRESULT ApplyIconPos(const SStringW& value);
    HRESULT ApplySkin(SRefPtr<ISkinObj>& skin, const SStringW& value);

    SMenuExBase* m_ownerMenu;
};

// An item (or, built as one, a separator) of a level: its text after the icon column, a check,
// radio or icon symbol, and the arrow of its sub-menu, which it owns.
class SMenuExItemBase : public SWindow {
public:
    SMenuExItemBase(SMenuExBase* ownerMenu, ISkinObj* skin, bool separator);
    ~SMenuExItemBase() override;

    using SWindow::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    BOOL CreateChildrenFromXml(pugi::xml_node node) override;
    SIZE ComputePreferredSize(const RECT* available) override;
    void ComputeTextRect(RECT* out) const override;
    BOOL HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    SMenuExBase* SubMenu() const { return m_subMenu; }
    SMenuExBase* OwnerMenu() const { return m_ownerMenu; }
    // Takes over an empty sub-menu (made in code); a sub-menu held already is kept.
    void AdoptSubMenu(SMenuExBase* subMenu);
    bool IsSeparator() const { return m_separator; }
    // Shown and enabled: keys, hot keys and sub-menus may reach it.
    bool IsChoosable() const { return TestVisible(FALSE) && !TestDisabled(); }
    wchar_t HotKey() const { return m_hotKey; }
    int IconIndex() const { return m_iconIndex; }
    int Check() const { return m_check; }
    int Radio() const { return m_radio; }

private:
    SMenuExRootBase* Root() const;
    void PaintItemBackground(IRenderTarget* rt);
    void PaintItem(IRenderTarget* rt);
    void PaintSymbol(IRenderTarget* rt, const RECT& inner);

    SMenuExBase* m_subMenu;
    SMenuExBase* m_ownerMenu;
    int m_iconIndex;
    int m_check;
    int m_radio;
    wchar_t m_hotKey;
    bool m_separator;
};

// A strip at the top or bottom of a level taller than its window, with an arrow: the level
// scrolls that way while the mouse rests on it. Disabled when there is nothing more that way.
class SMenuExScroller : public SWindow {
public:
    SMenuExScroller(SMenuExRootBase* root, bool down);

    bool IsDown() const { return m_down; }
    BOOL HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    void PaintArrow(IRenderTarget* rt);

    SMenuExRootBase* m_root;
    bool m_down;
};

// One level of a menu: the popup host, its run loop, selection, keys and sub-menus. A level
// taller than its window scrolls: by its strips, the wheel, and keys that select out of view.
class SMenuExBase : public SHostWnd {
public:
    // runSlot: the family's one global run, held by reference so that it stays reachable while
    // the base destructor takes the window (and its last events) down.
    SMenuExBase(SMenuExItemBase* parentItem, SMenuExRunData*& runSlot);
    ~SMenuExBase() override;

    // flags: kMenuAlign* and kMenuReturnCmd; (x, y) in screen coordinates. Without
    // kMenuReturnCmd the result goes to owner as WM_COMMAND and 1 is returned. -1 when the menu
    // has no window or the run ended without a choice; 0 when cancelled.
    int RunPopup(UINT flags, int x, int y, HWND owner, int scale);
    // Closes the open sub-menu and hides this level; a sub-menu tells its parent menu, which
    // keeps its selection only when asked to. Returns 1 when the level was shown.
    int HideMenu(BOOL keepParentSelection);
    // Builds the level (once) from a "menuRoot" or "menuItem" element.
    BOOL BuildMenu(pugi::xml_node element);

    SMenuExRootBase* Root() const { return m_root; }
    SMenuExItemBase* ParentItem() const { return m_parentItem; }
    SMenuExItemBase* SelectedItem() const { return m_selectedItem; }
    SMenuExBase* OpenSubMenu() const { return m_openSubMenu; }

    // The family: its items, separators and sub-menus.
    virtual SMenuExItemBase* NewItem(bool separator, ISkinObj* skin) = 0;
    virtual SMenuExBase* NewSubMenu(SMenuExItemBase* parentItem) = 0;

    int GetScale() const override;
    BOOL OnHostEvent(EventArgs* evt) override;
    BOOL HandleWindowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result,
                             DWORD mapId) override;

protected:
    // "type:name", a bare name being of type "SMENUEX".
    BOOL LoadMenuResource(const wchar_t* resName);
    // Ends the family's run, when there is one, with id.
    static void FinishRun(SMenuExRunData* run, int id);

    virtual SMenuExRootBase* NewRoot() = 0;
    virtual SMenuExRunData* NewRunData(HWND owner, int scale) const = 0;
    SMenuExRunData*& RunSlot() const { return m_runSlot; }
    // The parent of the level's native window.
    virtual HWND WindowParent() const = 0;
    // The window whose top-level ancestor must stay in the foreground while the run loops.
    virtual HWND EffectiveOwner(HWND owner) = 0;
    virtual bool TopLevelSendsInitPopup() const = 0;
    virtual bool TopLevelFlipsDown() const = 0;

private:
    // Shows the level after its init-popup; false, showing nothing, when no item is shown.
    bool ShowAt(UINT flags, int x, int y);
    // Whether an item other than a separator is shown.
    bool HasShownItem() const;
    void RunLoop(HWND topLevel);
    void SendInitPopup(int index);
    void ShowSubMenu(SMenuExItemBase* item, bool selectFirst);
    void HideSubMenu();
    void OnSubMenuHidden(SMenuExBase* subMenu, BOOL keepSelection);
    void Select(SMenuExItemBase* item);
    void ClearSelection();
    void MoveSelection(bool forward);
    bool OnKeyDown(UINT key);
    bool OnChar(wchar_t ch);
    bool OnItemEvent(SMenuExItemBase* item, EventArgs* evt);
    void ForgetTree();
    // Scrolling (SMenuExScroll.cpp): the root and strips placed for the window's client size.
    void ArrangeView(SIZE client);
    void ScrollBy(int dy);
    void ScrollIntoView(SWindow* item);
    void OnScrollerEvent(SMenuExScroller* scroller, EventArgs* evt);
    int StripHeight() const;
    int ScrollRange() const;
    int IndexOfItem(SMenuExItemBase* item) const;

    SMenuExItemBase* m_parentItem;
    SMenuExItemBase* m_hoverItem;
    SMenuExItemBase* m_selectedItem;
    SMenuExBase* m_openSubMenu;
    bool m_initPopupSent;
    SMenuExRootBase* m_root;
    SMenuExScroller* m_scrollers[2]; // up, down
    SIZE m_client;
    int m_contentHeight;
    int m_scrollPos;
    int m_scrollStep; // of the strip timer
    SMenuExRunData*& m_runSlot;
};

// ---- the framework's family ----

class SMenuExRoot : public SMenuExRootBase {
    SKEIN_CLASS_NAME(SWindow, L"menuRoot")

public:
    explicit SMenuExRoot(SMenuExBase* ownerMenu) : SMenuExRootBase(ownerMenu) {}
};

class SMenuExItem : public SMenuExItemBase {
    SKEIN_CLASS_NAME(SWindow, L"menuItem")

public:
    SMenuExItem(SMenuExBase* ownerMenu, ISkinObj* skin) : SMenuExItemBase(ownerMenu, skin, false) {}

protected:
    SMenuExItem(SMenuExBase* ownerMenu, ISkinObj* skin, bool separator) : SMenuExItemBase(ownerMenu, skin, separator) {}
};

class SMenuExSep : public SMenuExItem {
    SKEIN_CLASS_NAME(SMenuExItem, L"sep")

public:
    SMenuExSep(SMenuExBase* ownerMenu, ISkinObj* skin) : SMenuExItem(ownerMenu, skin, true) {}
};

class SMenuEx : public SMenuExBase {
public:
    explicit SMenuEx(SMenuExItem* parentItem = nullptr);

    // owner is the parent of the levels' native windows.
    BOOL LoadFromResource(const wchar_t* resName, HWND owner = nullptr);
    BOOL BuildFromXml(pugi::xml_node element, HWND owner = nullptr);
    // Ends the running SMenuEx with id, when one runs.
    static void FinishRunningMenu(int id);

    SMenuExItemBase* NewItem(bool separator, ISkinObj* skin) override;
    SMenuExBase* NewSubMenu(SMenuExItemBase* parentItem) override;
    // A sub-menu translates in its parent item's context.
    SStringW TranslationContext() const override;

protected:
    SMenuExRootBase* NewRoot() override { return new SMenuExRoot(this); }
    SMenuExRunData* NewRunData(HWND owner, int scale) const override { return new SMenuExRunData(owner, scale); }
    HWND WindowParent() const override { return m_ownerWindow; }
    HWND EffectiveOwner(HWND owner) override;
    bool TopLevelSendsInitPopup() const override { return true; }
    bool TopLevelFlipsDown() const override { return true; }

private:
    HWND m_ownerWindow;
    static SMenuExRunData* s_run;
};

} // namespace SKEIN
