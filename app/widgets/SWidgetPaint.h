#pragma once
// Drawing helpers shared by the program's widgets.
#include "interface/SRender-i.h"

namespace SKEIN {

// A solid pen of width 1 selected for its lifetime; the previous pen comes back afterwards.
class SWidgetPen {
public:
    SWidgetPen(IRenderTarget* rt, COLORREF color);
    ~SWidgetPen();

private:
    SWidgetPen(const SWidgetPen&) = delete;
    SWidgetPen& operator=(const SWidgetPen&) = delete;

    IRenderTarget* m_rt;
    IRenderObj* m_previous;
    IPen* m_pen;
};

// DrawText flags of the widgets' captions: centred both ways on a single line.
const UINT kWidgetCaptionFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

const double kWidgetPi = 3.14159265358979323846;

// A hat reading of this value or more (-1 included, taken unsigned) means centred.
const unsigned kHatCentred = 36000;

} // namespace SKEIN
