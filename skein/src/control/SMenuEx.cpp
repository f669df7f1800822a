// The framework's popup-menu family: its classes, its run and its owner rules.
#include "control/SMenuEx.h"

namespace SKEIN {

SMenuExRunData* SMenuEx::s_run = nullptr;

SMenuEx::SMenuEx(SMenuExItem* parentItem) : SMenuExBase(parentItem, s_run), m_ownerWindow(nullptr) {}

BOOL SMenuEx::LoadFromResource(const wchar_t* resName, HWND owner)
{
    m_ownerWindow = owner;
    return LoadMenuResource(resName);
}

BOOL SMenuEx::BuildFromXml(pugi::xml_node element, HWND owner)
{
    m_ownerWindow = owner;
    return BuildMenu(element);
}

void SMenuEx::FinishRunningMenu(int id)
{
    FinishRun(s_run, id);
}

SMenuExItemBase* SMenuEx::NewItem(bool separator, ISkinObj* skin)
{
    return separator ? new SMenuExSep(this, skin) : new SMenuExItem(this, skin);
}

// Sub-menus share the top menu's owner window.
SMenuExBase* SMenuEx::NewSubMenu(SMenuExItemBase* parentItem)
{
    SMenuEx* subMenu = new SMenuEx(static_cast<SMenuExItem*>(parentItem));
    subMenu->m_ownerWindow = m_ownerWindow;
    return subMenu;
}

SStringW SMenuEx::TranslationContext() const
{
    return ParentItem() ? ParentItem()->GetTrCtx() : SMenuExBase::TranslationContext();
}

// The given owner while it is enabled, else the active window.
HWND SMenuEx::EffectiveOwner(HWND owner)
{
    return owner && ::IsWindowEnabled(owner) ? owner : ::GetActiveWindow();
}

} // namespace SKEIN
