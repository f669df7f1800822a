// SSplitWnd: dragging a separator. The panes next to the separator move first; what they
// cannot take spills over to the other panes on the same side.
#include <algorithm>
#include "control/SSplitWnd.h"

namespace SKEIN {

namespace {

enum { kDisplay = 0, kPriority = 1 };

int SumRoom(const SDynArray<SSplitPaneInfo>& infos, bool grow)
{
    int sum = 0;
    for (int i = 0; i < infos.Count(); ++i)
        sum += grow ? infos[i].maximum - infos[i].size : infos[i].size - infos[i].minimum;
    return sum;
}

} // namespace

void SSplitWnd::BeginSeparatorDrag(UINT keys, POINT pt)
{
    HandleLeftButtonDown(keys, pt);
    if (!m_adjustable)
        return;
    m_lastDrag = pt;
    int along = m_vertical ? pt.x : pt.y;
    for (int i = 0; i < m_panes.Count(); ++i) {
        const RECT& rect = m_panes[i]->GetWindowRect();
        if ((m_vertical ? rect.left : rect.top) > along) {
            m_dragSep = i - 1;
            return;
        }
    }
}

void SSplitWnd::EndSeparatorDrag(UINT keys, POINT pt)
{
    HandleLeftButtonUp(keys, pt);
    m_dragSep = -1;
}

void SSplitWnd::MovePane(InfoList& infos, int neighbour, int amount, bool grow)
{
    SSplitPaneInfo& info = infos[neighbour];
    int room = grow ? info.maximum - info.size : info.size - info.minimum;
    if (room > amount) {
        info.size += grow ? amount : -amount;
        return;
    }
    info.size = grow ? info.maximum : info.minimum;
    SSplitPaneInfo kept = info;
    infos.RemoveAt(neighbour);
    AdjustPaneSizes(infos.ItemAt(0), infos.Count(), grow ? amount - room : room - amount);
    infos.InsertRepeated(neighbour, kept, 1);
}

void SSplitWnd::ShiftSeparator(int amount)
{
    bool toAfter = amount > 0;
    int moved = toAfter ? amount : -amount;
    moved = std::min({moved, SumRoom(m_beforeInfos, toAfter), SumRoom(m_afterInfos, !toAfter)});
    if (moved <= 0)
        return;
    SSplitPane* beforeNeighbour = m_before[kDisplay][m_before[kDisplay].Count() - 1];
    SSplitPane* afterNeighbour = m_after[kDisplay][0];
    MovePane(m_beforeInfos, m_before[kPriority].Find(beforeNeighbour), moved, toAfter);
    MovePane(m_afterInfos, m_after[kPriority].Find(afterNeighbour), moved, !toAfter);

    RECT area;
    GetChildAreaRect(&area);
    int end = PlacePanes(m_before[kDisplay], m_before[kPriority], m_beforeInfos, m_vertical ? area.left : area.top);
    PlacePanes(m_after[kDisplay], m_after[kPriority], m_afterInfos, end);
    InvalidateClientArea();
    RepaintHostNow();
}

void SSplitWnd::DragSeparator(UINT, POINT pt)
{
    int sep = m_dragSep;
    if (sep < 0 || sep + 1 >= m_panes.Count())
        return;
    int delta = m_vertical ? pt.x - m_lastDrag.x : pt.y - m_lastDrag.y;
    m_lastDrag = pt;
    // The display list splits after position sep; the priority list the same way, keeping
    // its order on each side.
    int count = m_panes.Count();
    m_before[kDisplay].Resize(sep + 1);
    m_after[kDisplay].Resize(count - sep - 1);
    m_before[kPriority].Resize(sep + 1);
    m_after[kPriority].Resize(count - sep - 1);
    for (int i = 0; i < count; ++i)
        (i <= sep ? m_before[kDisplay][i] : m_after[kDisplay][i - sep - 1]) = m_panes[i];
    for (int i = 0, before = 0, after = 0; i < count; ++i) {
        SSplitPane* pane = m_priority[i];
        if (m_panes.Find(pane) <= sep)
            m_before[kPriority][before++] = pane;
        else
            m_after[kPriority][after++] = pane;
    }
    FetchPaneInfos(m_before[kPriority], m_beforeInfos);
    FetchPaneInfos(m_after[kPriority], m_afterInfos);
    ShiftSeparator(delta);
}

} // namespace SKEIN
