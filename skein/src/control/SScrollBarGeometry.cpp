#include "control/SScrollBarGeometry.h"
#include <algorithm>

namespace SKEIN {

SCROLLINFO EmptyScrollInfo()
{
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.nTrackPos = -1;
    return info;
}

namespace {

// The last position a thumb can take; nMin when the page covers the range.
int LastPosition(const SCROLLINFO& info)
{
    return std::max(info.nMin, info.nMax - static_cast<int>(info.nPage) + 1);
}

} // namespace

SScrollBarGeometry::SScrollBarGeometry(const SCROLLINFO& info, const RECT& bar, bool vertical, int arrowSize)
    : m_info(info), m_bar(bar), m_vertical(vertical), m_valid(info.nMax >= info.nMin), m_length(0), m_arrow(0),
      m_rail(0), m_thumb(0), m_thumbStart(0)
{
    if (!m_valid)
        return;
    m_length = std::max(0, vertical ? static_cast<int>(bar.bottom - bar.top) : static_cast<int>(bar.right - bar.left));
    arrowSize = std::max(0, arrowSize);
    m_rail = std::max(0, m_length - 2 * arrowSize);
    m_arrow = m_rail == 0 ? m_length / 2 : arrowSize;
    long long span = static_cast<long long>(std::max(info.nMax, info.nMin + static_cast<int>(info.nPage) - 1)) - info.nMin + 1;
    if (static_cast<long long>(info.nPage) >= span)
        m_thumb = m_rail;
    else
        m_thumb = static_cast<int>(static_cast<unsigned long long>(m_rail) * info.nPage / static_cast<unsigned long long>(span));
    m_thumb = m_rail < kMinThumbLength ? 0 : std::min(m_rail, std::max(m_thumb, kMinThumbLength));
    long long travel = static_cast<long long>(LastPosition(info)) - info.nMin;
    int free = m_rail - m_thumb;
    if (travel <= 0) {
        m_thumbStart = m_arrow + free / 2;
        return;
    }
    int pos = info.nTrackPos != -1 ? info.nTrackPos : info.nPos;
    long long along = std::min<long long>(std::max<long long>(pos - info.nMin, 0), travel);
    m_thumbStart = m_arrow + static_cast<int>(free * along / travel);
}

RECT SScrollBarGeometry::Span(int from, int to) const
{
    RECT rect = m_bar;
    if (m_vertical) {
        rect.top = m_bar.top + from;
        rect.bottom = m_bar.top + std::max(from, to);
    } else {
        rect.left = m_bar.left + from;
        rect.right = m_bar.left + std::max(from, to);
    }
    return rect;
}

RECT SScrollBarGeometry::PartRect(int part) const
{
    if (!m_valid)
        return RECT{0, 0, 0, 0};
    switch (part) {
    case SB_LINEUP: return Span(0, m_arrow);
    case SB_LINEDOWN: return Span(m_length - m_arrow, m_length);
    case SB_PAGEUP: return Span(m_arrow, m_thumbStart);
    case SB_PAGEDOWN: return Span(m_thumbStart + m_thumb, m_length - m_arrow);
    case SB_THUMBTRACK: return Span(m_thumbStart, m_thumbStart + m_thumb);
    default: return RECT{0, 0, 0, 0};
    }
}

RECT SScrollBarGeometry::RailRect() const
{
    return m_valid ? Span(m_arrow, m_length - m_arrow) : RECT{0, 0, 0, 0};
}

int SScrollBarGeometry::HitTest(POINT pt) const
{
    static const int kOrder[] = {SB_LINEUP, SB_LINEDOWN, SB_THUMBTRACK, SB_PAGEUP, SB_PAGEDOWN};
    for (int part : kOrder) {
        RECT rect = PartRect(part);
        if (::PtInRect(&rect, pt))
            return part;
    }
    return -1;
}

int SScrollBarGeometry::DragPosition(int startPos, int offset) const
{
    long long travel = static_cast<long long>(LastPosition(m_info)) - m_info.nMin;
    int free = m_rail - m_thumb;
    long long pos = startPos;
    if (free > 0)
        pos += travel * offset / free;
    return static_cast<int>(std::min<long long>(std::max<long long>(pos, m_info.nMin), LastPosition(m_info)));
}

} // namespace SKEIN
