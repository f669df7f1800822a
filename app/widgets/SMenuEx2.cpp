#include "widgets/SMenuEx2.h"

namespace SKEIN {

SMenuExRunData* SMenuEx2::s_run = nullptr;

SMenuExItemBase* SMenuEx2::NewItem(bool separator, ISkinObj* skin)
{
    return separator ? new SMenuEx2Sep(this, skin) : new SMenuEx2Item(this, skin);
}

SMenuExBase* SMenuEx2::NewSubMenu(SMenuExItemBase* parentItem)
{
    return new SMenuEx2(static_cast<SMenuEx2Item*>(parentItem));
}

HWND SMenuEx2::EffectiveOwner(HWND owner)
{
    if (owner && ::IsWindow(owner))
        ::SetWindowLongPtrW(m_hwnd, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
    return owner;
}

void SMenuEx2::SetContextHelpId(int id)
{
    if (Root())
        Root()->m_contextHelpId = id;
}

int SMenuEx2::AddItem(UINT anchor, UINT flags, int id, const wchar_t* text)
{
    SMenuExRootBase* root = Root();
    if (!root)
        return 0;
    SWindow* before = nullptr;
    if (flags & kMenuAddByPosition) {
        before = root->GetRelative(kRelFirstChild);
        for (UINT index = 0; before && index < anchor; ++index)
            before = before->GetRelative(kRelNextSibling);
    } else {
        before = root->LookupChildById(static_cast<int>(anchor));
        if (!before)
            return 0;
    }
    SMenuExItemBase* item = root->NewChild((flags & kMenuAddSeparator) != 0);
    SWindow* parent = before ? before->GetParentWindow() : root;
    SWindow* previous = before ? before->GetRelative(kRelPrevSibling) : nullptr;
    parent->LinkChild(item, before && !previous ? SKEIN_ICWND_FIRST : previous);
    item->LoadFromXml(pugi::xml_node());
    if (flags & kMenuAddSeparator)
        return 0;
    item->AssignText(SStringW(text));
    if (flags & kMenuAddSubMenu)
        item->AdoptSubMenu(new SMenuEx2(static_cast<SMenuEx2Item*>(item)));
    item->ApplyAttribute(SStringW(L"ID"), SStringW().Printf(L"%d", id), FALSE);
    return 0;
}

SMenuEx2* SMenuEx2::SubMenuOfItem(int id)
{
    SMenuEx2Item* item = Root() ? Root()->FindChildByID2<SMenuEx2Item>(id) : nullptr;
    return item ? static_cast<SMenuEx2*>(item->SubMenu()) : nullptr;
}

} // namespace SKEIN
