#pragma once
// The axis bar of the function-test pages: filled from the bottom when vertical, a one-pixel
// position line when horizontal.
#include "control/SProgress.h"

namespace SKEIN {

// XML "progressExV".
class SProgressExV : public SProgress {
    SKEIN_CLASS_NAME(SProgress, L"progressExV")

public:
    BOOL HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

protected:
    // The part of the inner rectangle that the position skin covers; empty when the range is.
    RECT PositionRect(const RECT& inner) const;
    virtual void PaintBar(IRenderTarget* rt);
};

} // namespace SKEIN
