// The about page only shows its dialog's texts.
#include "SheetPages.h"

namespace pelko {

INT_PTR CALLBACK AboutPageProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

} // namespace pelko
