#pragma once
// Hat display with a deflection: an outer circle, a centre dot and one red arrow that sits
// further out and grows as the stick is pushed further.
#include "core/SWnd.h"

namespace SKEIN {

// XML "PovCtrl".
class SPovCtrl : public SWindow {
    SKEIN_CLASS_NAME(SWindow, L"PovCtrl")

public:
    SPovCtrl();
    ~SPovCtrl() override;

    // value: hat reading in hundredths of a degree clockwise from up (low 16 bits; 36000 or
    // more = centred); x, y: signed axis deflections that give the arrow's magnitude.
    void SetPovState(int value, int x, int y);
    int GetPovValue() const { return m_povValue; }
    double GetMagnitude() const { return m_magnitude; }

    BOOL HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

protected:
    void Paint(IRenderTarget* rt);
    void DeleteRegions();
    // The area to redraw for the arrow just computed.
    void InvalidateArrow();

    HRGN m_currentRegion;
    HRGN m_previousRegion;
    int m_povValue;
    double m_magnitude;
};

} // namespace SKEIN
