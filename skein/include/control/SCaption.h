#pragma once
// The caption ("caption"): the area of a layout by which the user moves the host window.
// Dragging it moves the host; a double click maximises or restores it.
#include "core/SWnd.h"

namespace SKEIN {

class SCaption : public SWindow {
    SKEIN_CLASS_NAME(SWindow, L"caption")

public:
    SCaption();

    BOOL HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    // TRUE on a workstation of major version 6, the systems on which dragging a maximised host
    // restores and moves it.
    static BOOL IsVersion6Workstation();

private:
    HWND HostHwnd() const;
    void OnLeftButtonDown(WPARAM keys, LPARAM lParam);
    void OnLeftButtonDoubleClick();
    void OnMouseMove();

    BYTE m_dragPending;
};

} // namespace SKEIN
