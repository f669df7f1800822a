#pragma once
// A native popup menu built from an XML "menu" element whose items the framework draws: the
// skins, font and colours come from an SMenuAttr attached to the menu and each sub-menu, and a
// temporary SMenuODWnd answers the owner-draw messages while the menu is shown.
#include <windows.h>
#include <pugixml.hpp>
#include "core/SObjRef.h"
#include "core/SObject.h"
#include "core/SSimpleWnd.h"
#include "core/SString.h"
#include "interface/SSkinobj-i.h"
#include "layout/SLayoutSize.h"
#include "res.mgr/SFontPool.h"

namespace SKEIN {

// The data of one "item", kept as the native item's data value.
struct SNativeMenuItemData {
    int icon;       // icon skin state, -1 for none
    SStringW text;  // translated
    wchar_t accel;  // lower case, 0 for none
    UINT userData;
};

// The look of a menu, shared (reference counted) by the menu and its sub-menus.
class SMenuAttr : public TObjRefImpl2<IObjRef, SMenuAttr>, public SObjectImpl<IObject> {
    SKEIN_CLASS_NAME(SObjectImpl<IObject>, L"menuattr")

public:
    SMenuAttr();

    using SObjectImpl<IObject>::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    // An unset item height becomes the item skin's natural height in dp.
    void OnXmlInitDone(pugi::xml_node element) override;

    // A new scale fetches the font and the four skins again.
    void SetScale(int scale);
    int Scale() const { return m_scale; }
    // The menu font; the pool's default font when none is set.
    IFont* MenuFont() const;
    int Px(const SLayoutSize& size) const { return size.ToPixels(m_scale); }

    SRefPtr<ISkinObj> m_itemSkin;
    SRefPtr<ISkinObj> m_iconSkin;
    SRefPtr<ISkinObj> m_sepSkin;
    SRefPtr<ISkinObj> m_checkSkin;
    SLayoutSize m_itemHeight;
    SLayoutSize m_iconMargin;
    SLayoutSize m_textMargin;
    COLORREF m_colorText;
    COLORREF m_colorTextSel;
    COLORREF m_colorTextGray;
    SLayoutSize m_iconSize[2];
    SFontHolder m_font;
    SStringW m_trCtx;
    SLayoutSize m_maxWidth;
    int m_scale;
};

// Receives the owner-draw messages of a running menu and forwards the menu notifications to
// the owner.
class SMenuODWnd : public CSimpleWnd {
public:
    SMenuODWnd(HWND owner, SMenuAttr* attr) : m_owner(owner), m_attr(attr) {}

    BOOL HandleWindowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result,
                             DWORD mapId) override;

private:
    void OnMeasureItem(MEASUREITEMSTRUCT* mis);
    void OnDrawItem(const DRAWITEMSTRUCT* dis);
    void DrawItem(IRenderTarget* rt, const DRAWITEMSTRUCT* dis, const SNativeMenuItemData* data, SIZE size);
    LRESULT OnMenuChar(wchar_t ch, HMENU menu) const;
    int MeasureTextWidth(const SStringW& text);

    HWND m_owner;
    SRefPtr<SMenuAttr> m_attr;
    SRefPtr<IRenderTarget> m_measure;
};

class SNativeMenu {
public:
    SNativeMenu() : m_menu(nullptr), m_attached(FALSE) {}
    ~SNativeMenu() { DestroyIfOwned(); }

    // "type:name" of an XML document whose "menu" child is built; FALSE without a colon, without
    // the document or without the element.
    BOOL LoadFromResource(const wchar_t* resId);
    // Replaces the held menu by one built from root's attributes and children.
    BOOL BuildFromXml(pugi::xml_node root);
    // Shows the menu (TrackPopupMenu) and answers the chosen id, 0 for none; without
    // TPM_RETURNCMD in flags a chosen id is also sent to owner as WM_COMMAND.
    int RunPopup(UINT flags, int x, int y, HWND owner, const RECT* exclude, int scale);
    // Holds a menu that belongs to someone else: never destroyed here.
    void Attach(HMENU menu);
    void DestroyIfOwned();
    // Frees the item data and attribute references of the menu tree and destroys it.
    void Destroy();
    HMENU Handle() const { return m_menu; }

    static SMenuAttr* MenuAttrOf(HMENU menu);

private:
    SNativeMenu(const SNativeMenu&) = delete;
    SNativeMenu& operator=(const SNativeMenu&) = delete;

    HMENU m_menu;
    BOOL m_attached;
};

} // namespace SKEIN
