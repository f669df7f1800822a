#pragma once
// Hat displays by direction: SPovCtrlEx draws eight grey arrows around a dot with the active
// one in red; SPovCtrlEx2 draws one frame of its nine-frame skin instead.
#include "core/SWnd.h"

namespace SKEIN {

// XML "PovCtrlEx".
class SPovCtrlEx : public SWindow {
    SKEIN_CLASS_NAME(SWindow, L"PovCtrlEx")

public:
    SPovCtrlEx();

    // value: hat reading in hundredths of a degree clockwise from up, taken unsigned; 36000
    // or more (-1 included) = centred.
    void SetPovValue(int value);
    unsigned GetPovValue() const { return m_povValue; }

    // Turns each point (y axis up) clockwise by angle whole degrees, truncating toward zero.
    static void RotatePoints(POINT* points, int count, int angle);

    BOOL HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

protected:
    virtual void DrawPov(IRenderTarget* rt);

    unsigned m_povValue;
};

// XML "PovCtrlEx2".
class SPovCtrlEx2 : public SPovCtrlEx {
    SKEIN_CLASS_NAME(SPovCtrlEx, L"PovCtrlEx2")

public:
    // The skin frame of a hat reading: 0-7 for up, up-right, ... up-left in whole degrees,
    // 8 for centred and anything between.
    static int FrameOf(unsigned value);

    BOOL HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

protected:
    void DrawPov(IRenderTarget* rt) override;
};

} // namespace SKEIN
