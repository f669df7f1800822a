#pragma once
// The scroll ranges of a view that scrolls both ways: content W x T in a viewport A x H
// (before any bar takes room), bars S thick. A bar is shown only where the content does not
// fit, counting the room the other bar takes; positions stay within the content.
#include <windows.h>
#include <algorithm>

namespace SKEIN {

struct TwoBarScroll {
    bool showVert;
    bool showHorz;
};

// Fills page, maximum and position of both bars; keepWidth never shows the horizontal bar.
inline TwoBarScroll PlanTwoBars(SCROLLINFO& vert, SCROLLINFO& horz, int contentWidth, int contentHeight, int width,
                                int height, int barWidth, bool keepWidth)
{
    TwoBarScroll plan;
    vert.nMin = horz.nMin = 0;
    plan.showVert = !(height >= contentHeight && (height >= contentHeight + barWidth || width >= contentWidth));
    plan.showHorz = !keepWidth && (plan.showVert ? width - barWidth < contentWidth : width < contentWidth);
    bool both = plan.showVert && plan.showHorz;
    vert.nPage = static_cast<UINT>(both ? std::max(0, height - barWidth) : height);
    vert.nMax = plan.showVert ? contentHeight - 1 : height - 1;
    horz.nPage = static_cast<UINT>(both ? std::max(0, width - barWidth) : width);
    horz.nMax = plan.showHorz ? contentWidth - 1 : width - 1;
    if (!plan.showVert)
        vert.nPos = 0;
    else if (vert.nPos + static_cast<int>(vert.nPage) > contentHeight)
        vert.nPos = std::max(0, contentHeight - static_cast<int>(vert.nPage));
    if (!plan.showHorz)
        horz.nPos = 0;
    else if (horz.nPos + static_cast<int>(horz.nPage) > contentWidth)
        horz.nPos = std::max(0, contentWidth - static_cast<int>(horz.nPage));
    return plan;
}

} // namespace SKEIN
