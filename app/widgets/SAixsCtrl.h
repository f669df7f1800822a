#pragma once
// The axis square: the joystick's X/Y position as a cross-hair inside a bevelled square.
#include "core/SWnd.h"

namespace SKEIN {

// XML "AixsCtrl".
class SAixsCtrl : public SWindow {
    SKEIN_CLASS_NAME(SWindow, L"AixsCtrl")

public:
    SAixsCtrl();

    // x and y in 0..65535 (0 = left, top); the square is redrawn when the cross moves.
    void SetAxisXY(int x, int y);
    int GetAxisX() const { return m_axisX; }
    int GetAxisY() const { return m_axisY; }

    BOOL HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

protected:
    void Paint(IRenderTarget* rt);
    // The cross centre relative to the inner rectangle's corner, for a width and height.
    POINT CrossCentre(int width, int height) const;

    int m_axisX;
    int m_axisY;
};

} // namespace SKEIN
