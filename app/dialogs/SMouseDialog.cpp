#include "dialogs/SMouseDialog.h"

using namespace SKEIN;

namespace {

const wchar_t* const kMovementButtons[] = {L"msdlg_x_left", L"msdlg_x_right", L"msdlg_y_down",
                                           L"msdlg_y_up",   L"msdlg_wheelup", L"msdlg_wheeldown"};

} // namespace

BOOL SMouseDialog::HandleWindowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result,
                                       DWORD mapId)
{
    if (mapId != 0 || msg != WM_INITDIALOG)
        return SPickerDialog::HandleWindowMessage(hwnd, msg, wParam, lParam, result, mapId);
    if (m_hideMovement) {
        for (const wchar_t* name : kMovementButtons) {
            if (SWindow* button = LookupChildByName(name))
                button->ChangeVisibility(FALSE);
        }
    }
    result = 0;
    return TRUE;
}
