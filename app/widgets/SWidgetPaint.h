#pragma once
// Drawing helpers shared by the program's widgets.
#include "helper/SPenScope.h"
#include "interface/SRender-i.h"

namespace SKEIN {

// DrawText flags of the widgets' captions: centred both ways on a single line.
const UINT kWidgetCaptionFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

const double kWidgetPi = 3.14159265358979323846;

// A hat reading of this value or more (-1 included, taken unsigned) means centred.
const unsigned kHatCentred = 36000;

} // namespace SKEIN
