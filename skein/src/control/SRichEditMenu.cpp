// SRichEdit: the context menu with the five edit commands.
#include "control/SNativeMenu.h"
#include "control/SRichEdit.h"
#include "core/SApp.h"
#include "core/SRicheditMenuDef.h"
#include "interface/SwndContainer-i.h"

namespace SKEIN {

namespace {

UINT CommandBit(UINT command)
{
    return 1u << command;
}

} // namespace

pugi::xml_node SRichEdit::EditMenuRoot() const
{
    SApplication* app = SApplication::Instance();
    SRicheditMenuDef* def = app ? static_cast<SRicheditMenuDef*>(app->OwnedSingleton(kSingletonRicheditMenuDef)) : nullptr;
    return def ? def->Document().child(L"editmenu") : pugi::xml_node();
}

// One bit (1 << id) per command that the text's state leaves without effect.
UINT SRichEdit::GrayedMenuCommands() const
{
    LRESULT canPaste = 0;
    DWORD start = 0;
    DWORD end = 0;
    SendToServices(EM_CANPASTE, 0, 0, &canPaste);
    SendToServices(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    bool noSelection = start >= end;
    bool readOnly = HasStyle(ES_READONLY) != FALSE;
    UINT grayed = 0;
    if (noSelection || readOnly)
        grayed |= CommandBit(kEditMenuCut);
    if (noSelection)
        grayed |= CommandBit(kEditMenuCopy);
    if (!canPaste || readOnly)
        grayed |= CommandBit(kEditMenuPaste);
    if (noSelection || readOnly)
        grayed |= CommandBit(kEditMenuDelete);
    if (TextLength() == 0)
        grayed |= CommandBit(kEditMenuSelectAll);
    return grayed;
}

void SRichEdit::RunMenuCommand(UINT command)
{
    switch (command) {
    case kEditMenuCut: SendUiMessage(WM_CUT); break;
    case kEditMenuCopy: SendUiMessage(WM_COPY); break;
    case kEditMenuPaste: SendUiMessage(WM_PASTE); break;
    case kEditMenuDelete: SendUiMessage(EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(L"")); break;
    case kEditMenuSelectAll: SendUiMessage(EM_SETSEL, 0, -1); break;
    default: break;
    }
}

void SRichEdit::OnContextMenu(POINT pt)
{
    if (FireContextMenu(pt))
        return;
    TakeFocus();
    pugi::xml_node root = EditMenuRoot();
    SNativeMenu menu;
    if (!root || !m_container || !menu.BuildFromXml(root))
        return;
    HWND hwnd = m_container->GetHostHwnd();
    RECT origin = m_container->GetContainerRect();
    POINT screen = {pt.x + origin.left, pt.y + origin.top};
    ::ClientToScreen(hwnd, &screen);
    UINT grayed = GrayedMenuCommands();
    for (UINT command = kEditMenuCut; command <= kEditMenuSelectAll; ++command) {
        if (grayed & CommandBit(command))
            ::EnableMenuItem(menu.Handle(), command, MF_BYCOMMAND | MF_GRAYED);
    }
    EventREMenu evt(this);
    evt.command = static_cast<UINT>(menu.RunPopup(TPM_RETURNCMD, screen.x, screen.y, hwnd, nullptr, 100));
    if (!RaiseEvent(evt))
        RunMenuCommand(evt.command);
}

} // namespace SKEIN
