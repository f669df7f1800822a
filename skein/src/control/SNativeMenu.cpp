// The native popup menu: building from XML, running and destroying.
#include "control/SNativeMenu.h"
#include "core/SApp.h"
#include "helper/SXmlLookup.h"
#include "res.mgr/SUiDef.h"

namespace SKEIN {

namespace {

void AttachMenuAttr(HMENU menu, SMenuAttr* attr)
{
    MENUINFO info = {sizeof(info), MIM_MENUDATA};
    info.dwMenuData = reinterpret_cast<ULONG_PTR>(attr);
    if (::SetMenuInfo(menu, &info))
        attr->AddRef();
}

SStringW Translate(const SStringW& text, const wchar_t* context)
{
    SApplication* app = SApplication::Instance();
    return app ? app->TranslateText(text.c_str(), context) : text;
}

// The character after the first '&', lower-cased; 0 without one.
wchar_t AccelOf(const SStringW& text)
{
    int amp = text.FindChar(L'&');
    if (amp < 0 || amp + 1 >= text.Length())
        return 0;
    return static_cast<wchar_t>(towlower(text[amp + 1]));
}

SNativeMenuItemData* NewItemData(pugi::xml_node item, const SMenuAttr* attr)
{
    SNativeMenuItemData* data = new SNativeMenuItemData;
    data->icon = XmlAttributeInt(item, L"icon", -1);
    data->userData = static_cast<UINT>(XmlAttributeNoCase(item, L"userData").as_uint(0));
    SStringW text(item.text().get());
    text.TrimSpaces();
    if (text.IsEmptyText())
        text = XmlAttributeNoCase(item, L"text").value();
    text = Translate(ResolveNamedString(text.c_str()), L"");
    data->accel = AccelOf(text);
    data->text = Translate(text, attr->m_trCtx.c_str());
    return data;
}

bool HasChildElement(pugi::xml_node node)
{
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_element)
            return true;
    }
    return false;
}

void SetContextHelpId(HMENU menu, pugi::xml_node element)
{
    ::SetMenuContextHelpId(menu, static_cast<DWORD>(XmlAttributeNoCase(element, L"contextHelpId").as_uint(0)));
}

void BuildItems(HMENU menu, pugi::xml_node parent, SMenuAttr* attr)
{
    for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling()) {
        if (child.type() != pugi::node_element)
            continue;
        if (wcscmp(child.name(), L"sep") == 0) {
            ::AppendMenuW(menu, MF_SEPARATOR | MF_OWNERDRAW, 0, nullptr);
            continue;
        }
        if (wcscmp(child.name(), L"item") != 0)
            continue;
        SNativeMenuItemData* data = NewItemData(child, attr);
        const wchar_t* itemData = reinterpret_cast<const wchar_t*>(data);
        UINT grayed = XmlAttributeTruth(child, L"disable", false) ? MF_GRAYED : 0;
        if (HasChildElement(child) || XmlAttributeTruth(child, L"popup", false)) {
            HMENU sub = ::CreatePopupMenu();
            if (!sub || !::AppendMenuW(menu, MF_OWNERDRAW | MF_POPUP | grayed, reinterpret_cast<UINT_PTR>(sub), itemData)) {
                if (sub)
                    ::DestroyMenu(sub);
                delete data;
                continue;
            }
            AttachMenuAttr(sub, attr);
            SetContextHelpId(sub, child);
            BuildItems(sub, child, attr);
            continue;
        }
        UINT flags = MF_OWNERDRAW | grayed;
        if (XmlAttributeTruth(child, L"check", false))
            flags |= MF_CHECKED;
        if (XmlAttributeTruth(child, L"radio", false))
            flags |= MFT_RADIOCHECK | MF_CHECKED;
        UINT id = static_cast<UINT>(XmlAttributeInt(child, L"id", 0));
        if (!::AppendMenuW(menu, flags, id, itemData))
            delete data;
    }
}

// Frees the item data and the attribute reference of menu and its sub-menus.
void ReleaseMenuTree(HMENU menu)
{
    int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW info = {sizeof(info), MIIM_DATA | MIIM_SUBMENU};
        if (!::GetMenuItemInfoW(menu, i, TRUE, &info))
            continue;
        if (info.hSubMenu)
            ReleaseMenuTree(info.hSubMenu);
        delete reinterpret_cast<SNativeMenuItemData*>(info.dwItemData);
    }
    if (SMenuAttr* attr = SNativeMenu::MenuAttrOf(menu))
        attr->Release();
}

} // namespace

SMenuAttr* SNativeMenu::MenuAttrOf(HMENU menu)
{
    MENUINFO info = {sizeof(info), MIM_MENUDATA};
    return ::GetMenuInfo(menu, &info) ? reinterpret_cast<SMenuAttr*>(info.dwMenuData) : nullptr;
}

BOOL SNativeMenu::LoadFromResource(const wchar_t* resId)
{
    SApplication* app = SApplication::Instance();
    pugi::xml_document document;
    if (!app || !resId || !wcschr(resId, L':') || !app->LoadXmlDocumentByResId(document, resId))
        return FALSE;
    pugi::xml_node root = document.child(L"menu");
    return root ? BuildFromXml(root) : FALSE;
}

BOOL SNativeMenu::BuildFromXml(pugi::xml_node root)
{
    HMENU menu = ::CreatePopupMenu();
    if (!menu)
        return FALSE;
    DestroyIfOwned();
    m_menu = menu;
    m_attached = FALSE;
    SMenuAttr* attr = new SMenuAttr;
    attr->ApplyXmlAttributes(root);
    SetContextHelpId(menu, root);
    AttachMenuAttr(menu, attr);
    attr->Release();
    BuildItems(menu, root, attr);
    return TRUE;
}

int SNativeMenu::RunPopup(UINT flags, int x, int y, HWND owner, const RECT* exclude, int scale)
{
    if (!::IsMenu(m_menu))
        return 0;
    SMenuAttr* attr = MenuAttrOf(m_menu);
    SRefPtr<SMenuAttr> held(attr);
    if (attr)
        attr->SetScale(scale);
    SMenuODWnd drawer(owner, attr);
    HWND drawerHwnd = drawer.CreateNative(L"", WS_POPUP, WS_EX_NOACTIVATE, 0, 0, 0, 0, nullptr, nullptr);
    if (!drawerHwnd)
        return 0;
    bool ownerIsWindow = ::IsWindow(owner) != FALSE;
    if (ownerIsWindow && ::IsWindowEnabled(owner))
        ::SetForegroundWindow(owner);
    int id = static_cast<int>(::TrackPopupMenu(m_menu, flags | TPM_RETURNCMD, x, y, 0, drawerHwnd, exclude));
    ::DestroyWindow(drawerHwnd);
    // Lets the owner's next popup close on an outside click.
    if (ownerIsWindow)
        ::PostMessageW(owner, WM_NULL, 0, 0);
    if (id && !(flags & TPM_RETURNCMD) && ownerIsWindow)
        ::SendMessageW(owner, WM_COMMAND, static_cast<WPARAM>(id), 0);
    return id;
}

void SNativeMenu::Attach(HMENU menu)
{
    DestroyIfOwned();
    m_menu = menu;
    m_attached = TRUE;
}

void SNativeMenu::DestroyIfOwned()
{
    if (!m_attached)
        Destroy();
}

void SNativeMenu::Destroy()
{
    if (!::IsMenu(m_menu))
        return;
    ReleaseMenuTree(m_menu);
    ::DestroyMenu(m_menu);
    m_menu = nullptr;
}

} // namespace SKEIN
