#pragma once
// Where the parts of a scroll bar lie: arrows, the rail before and after the thumb, and the
// thumb, from the scroll information and the bar's rectangle. Shared by the panel's bars and
// the stand-alone scroll bar.
#include <windows.h>

namespace SKEIN {

// The smallest thumb; a rail shorter than this shows none.
const int kMinThumbLength = 18;

// A scroll information record with nothing set: all zero, no thumb drag.
SCROLLINFO EmptyScrollInfo();

class SScrollBarGeometry {
public:
    SScrollBarGeometry(const SCROLLINFO& info, const RECT& bar, bool vertical, int arrowSize);

    // False when the range is inverted (nMax below nMin): the bar has no parts.
    bool IsValid() const { return m_valid; }
    // The rectangle of a part (0, 1, 2, 3 or 5); empty for another code or an invalid bar.
    RECT PartRect(int part) const;
    // The rail: the bar less its arrows.
    RECT RailRect() const;
    // The part under the point in the order 0, 1, 5, 2, 3; -1 for none.
    int HitTest(POINT pt) const;
    int RailLength() const { return m_rail; }
    int ThumbLength() const { return m_thumb; }
    // The position a thumb dragged by offset pixels from startPos reaches, within the range.
    int DragPosition(int startPos, int offset) const;

private:
    RECT Span(int from, int to) const;

    const SCROLLINFO& m_info;
    RECT m_bar;
    bool m_vertical;
    bool m_valid;
    int m_length;
    int m_arrow;
    int m_rail;
    int m_thumb;
    int m_thumbStart;
};

} // namespace SKEIN
