#include "dialogs/SPickerDialog.h"
#include "core/SEvents.h"

using namespace SKEIN;

BOOL SPickerDialog::OnHostEvent(EventArgs* evt)
{
    // The framework dialog would end on the commands of ids 1 and 2, which are picks here.
    if (evt->GetId() != EventCmd::EventID)
        return SHostDialog::OnHostEvent(evt);
    evt->bubbleUp = false;
    if (evt->sender && evt->sender->MatchesClassName(L"mybutton")) {
        PickerOutcome outcome = Pick(evt->nameFrom, evt->idFrom);
        m_value = outcome.value;
        EndModal(outcome.result);
    }
    return TRUE;
}

BOOL SPickerDialog::HandleWindowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result,
                                        DWORD mapId)
{
    if (mapId == 0 && msg == WM_KEYDOWN && (wParam == VK_ESCAPE || wParam == VK_RETURN)) {
        // Escape cancels whatever has the focus; Enter goes to the focused control only.
        if (wParam == VK_ESCAPE)
            EndModal(kPickerCancelled);
        else
            DispatchHostMessage(msg, wParam, lParam);
        result = 0;
        return TRUE;
    }
    return SHostDialog::HandleWindowMessage(hwnd, msg, wParam, lParam, result, mapId);
}
