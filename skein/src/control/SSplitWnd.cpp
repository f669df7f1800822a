// SSplitWnd and its panes: attributes, panes from XML, the distribution of sizes, placement
// and the separators' painting.
#include "control/SSplitWnd.h"
#include <algorithm>
#include "control/SCtrlAttr.h"
#include "core/SApp.h"
#include "core/SXmlCreation.h"
#include "res.mgr/SSkinPoolMgr.h"
#include "res.mgr/SUiDef.h"

namespace SKEIN {

using namespace ctrl;

namespace {

const int kUnitDp = SLayoutSize::kDp;
const WORD kCursorSizeWE = 32644;
const WORD kCursorSizeNS = 32645;

BOOL IsShown(const SWindow* pane)
{
    return (pane->GetOwnFlags() & kWndVisible) != 0;
}

} // namespace

// ---- SSplitPane ----

SSplitPane::SSplitPane()
    : m_split(nullptr), m_idealSize(20.0f, kUnitDp), m_minSize(0.0f, kUnitDp), m_maxSize(10000.0f, kUnitDp), m_priority(0)
{
    m_eventSet.DeclareEvent(EventSplitPaneMoved::EventID, EventSplitPaneMoved::EventName());
}

HRESULT SSplitPane::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    if (Is(name, L"idealSize"))
        m_idealSize = ResolveNamedDimension(value.c_str());
    else if (Is(name, L"minSize"))
        m_minSize = ResolveNamedDimension(value.c_str());
    else if (Is(name, L"maxSize"))
        m_maxSize = ResolveNamedDimension(value.c_str());
    else if (Is(name, L"priority"))
        m_priority = ParseInt(value);
    else
        return SWindow::ApplyAttribute(name, value, loading);
    return AfterAttribute(name, value, loading, S_OK);
}

BOOL SSplitPane::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (msg == WM_DESTROY && m_split)
        m_split->RemovePane(this);
    if (msg != WM_SHOWWINDOW || !m_split)
        return SWindow::HandleMessage(msg, wParam, lParam, result);
    BOOL wasShown = IsShown(this);
    BOOL handled = SWindow::HandleMessage(msg, wParam, lParam, result);
    // A pane shown or hidden on its own changes the room of the others.
    if (IsShown(this) != wasShown)
        m_split->InvalidateLayout();
    return handled;
}

// ---- SSplitWnd: attributes and panes ----

SSplitWnd::SSplitWnd() : m_vertical(1), m_sepSize(5), m_adjustable(1), m_lastDrag{0, 0}, m_dragSep(-1) {}

SSplitWnd_Col::SSplitWnd_Col()
{
    m_sepSkin = FindSystemSkin(kSysSkinSplitVert, 100);
    m_vertical = 1;
}

SSplitWnd_Row::SSplitWnd_Row()
{
    m_sepSkin = FindSystemSkin(kSysSkinSplitHorz, 100);
    m_vertical = 0;
}

HRESULT SSplitWnd::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    if (Is(name, L"sepSize"))
        m_sepSize = std::max(ParseInt(value), 0); // a negative gap would overlap the panes
    else if (Is(name, L"sepSkin"))
        m_sepSkin = FindSkin(value, GetScale());
    else if (Is(name, L"adjustable"))
        m_adjustable = ParseInt(value);
    else if (Is(name, L"vertical"))
        m_vertical = ParseInt(value);
    else
        return SWindow::ApplyAttribute(name, value, loading);
    return AfterAttribute(name, value, loading, S_OK);
}

BOOL SSplitWnd::CreateChildrenFromXml(pugi::xml_node node)
{
    SXmlCreation creation(this);
    for (pugi::xml_node element = node.first_child(); element; element = element.next_sibling()) {
        if (element.type() != pugi::node_element || _wcsicmp(element.name(), L"pane") != 0)
            continue;
        if (!creation.AdmitElement(element))
            break;
        SSplitPane* pane = new SSplitPane;
        LinkChild(pane);
        if (pane->LoadFromXml(element))
            InsertPane(pane, -1);
    }
    return TRUE;
}

int SSplitWnd::InsertPane(SSplitPane* pane, int index)
{
    if (!pane || m_panes.Find(pane) >= 0)
        return -1;
    if (index < 0 || index > m_panes.Count())
        index = m_panes.Count();
    m_panes.InsertRepeated(index, pane, 1);
    // Highest priority first; a pane goes after those of equal priority.
    int rank = 0;
    while (rank < m_priority.Count() && m_priority[rank]->Priority() >= pane->Priority())
        ++rank;
    m_priority.InsertRepeated(rank, pane, 1);
    pane->m_split = this;

    RECT area;
    GetChildAreaRect(&area);
    if (::IsRectEmpty(&area))
        return index;
    InfoList infos;
    FetchPaneInfos(m_priority, infos);
    infos[rank].size = infos[rank].ideal;
    Relayout(area, infos);
    return index;
}

bool SSplitWnd::RemovePane(SSplitPane* pane)
{
    int index = m_panes.Find(pane);
    if (index < 0)
        return false;
    m_panes.RemoveAt(index);
    m_priority.RemoveAt(m_priority.Find(pane));
    pane->m_split = nullptr;
    m_dragSep = -1;
    InvalidateLayout();
    return true;
}

// ---- sizes ----

int SSplitWnd::Extent(const RECT& rect) const
{
    return m_vertical ? rect.right - rect.left : rect.bottom - rect.top;
}

int SSplitWnd::PaneExtent(const SSplitPane* pane) const
{
    return Extent(pane->GetWindowRect());
}

void SSplitWnd::FetchPaneInfos(const PaneList& panes, InfoList& infos) const
{
    infos.Resize(panes.Count());
    int scale = GetScale();
    for (int i = 0; i < panes.Count(); ++i) {
        const SSplitPane* pane = panes[i];
        SSplitPaneInfo& info = infos[i];
        if (!IsShown(pane)) {
            info = SSplitPaneInfo{0, 0, 0, 0};
            continue;
        }
        info.ideal = pane->IdealSize().ToPixels(scale);
        info.minimum = pane->MinSize().ToPixels(scale);
        info.maximum = pane->MaxSize().ToPixels(scale);
        info.size = PaneExtent(pane);
        if (info.size == 0)
            info.size = info.minimum;
    }
}

int SSplitWnd::AdjustPaneSizes(SSplitPaneInfo* infos, int count, int delta)
{
    // Toward the ideal sizes, highest priority first.
    for (int i = 0; i < count && delta != 0; ++i) {
        SSplitPaneInfo& info = infos[i];
        if (delta > 0) {
            if (info.size > info.ideal)
                continue;
            int take = std::min(delta, info.ideal - info.size);
            if (take >= delta) {
                info.size += delta;
                return 0;
            }
            info.size = info.ideal;
            delta -= take;
        } else {
            if (info.size < info.ideal)
                continue;
            if (info.size - info.ideal > -delta) {
                info.size += delta;
                return 0;
            }
            delta += info.size - info.ideal;
            info.size = info.ideal;
        }
    }
    if (delta == 0)
        return 0;
    // Toward the limits, lowest priority first.
    for (int i = count - 1; i >= 0; --i) {
        SSplitPaneInfo& info = infos[i];
        if (delta < 0) {
            if (info.size - info.minimum > -delta) {
                info.size += delta;
                return 0;
            }
            delta += info.size - info.minimum;
            info.size = info.minimum;
        } else {
            if (info.maximum - info.size >= delta) {
                info.size += delta;
                return 0;
            }
            delta -= info.maximum - info.size;
            info.size = info.maximum;
        }
    }
    return delta;
}

// ---- placement ----

void SSplitWnd::Relayout(const RECT& rect, InfoList& infos)
{
    int shown = 0;
    int sum = 0;
    for (int i = 0; i < m_panes.Count(); ++i)
        shown += IsShown(m_panes[i]) ? 1 : 0;
    for (int i = 0; i < infos.Count(); ++i)
        sum += infos[i].size;
    int delta = Extent(rect) - std::max(shown - 1, 0) * m_sepSize - sum;
    AdjustPaneSizes(infos.ItemAt(0), infos.Count(), delta);
    PlacePanes(m_panes, m_priority, infos, m_vertical ? rect.left : rect.top);
}

int SSplitWnd::PlacePanes(const PaneList& display, const PaneList& priority, const InfoList& infos, int offset)
{
    RECT area;
    GetChildAreaRect(&area);
    for (int i = 0; i < display.Count(); ++i) {
        SSplitPane* pane = display[i];
        int size = infos[priority.Find(pane)].size;
        if (!IsShown(pane)) {
            offset += size;
            continue;
        }
        RECT rect = m_vertical ? RECT{offset, area.top, offset + size, area.bottom}
                               : RECT{area.left, offset, area.right, offset + size};
        pane->SetFixedRect(&rect);
        EventSplitPaneMoved evt(pane);
        evt.rect = rect;
        pane->RaiseEvent(evt);
        offset += size + m_sepSize;
    }
    return offset;
}

void SSplitWnd::ArrangeChildren()
{
    RECT area;
    GetChildAreaRect(&area);
    InfoList infos;
    FetchPaneInfos(m_priority, infos);
    Relayout(area, infos);
}

// ---- painting, cursor, messages ----

void SSplitWnd::PaintSeparators(IRenderTarget* rt)
{
    if (!m_sepSkin || m_panes.Count() < 2)
        return;
    RECT area;
    GetChildAreaRect(&area);
    RECT strip = area;
    LONG& begin = m_vertical ? strip.left : strip.top;
    LONG& end = m_vertical ? strip.right : strip.bottom;
    end = begin;
    for (int i = 0; i < m_panes.Count() - 1; ++i) {
        if (!IsShown(m_panes[i]))
            continue;
        begin = end + PaneExtent(m_panes[i]);
        end = begin + m_sepSize;
        m_sepSkin->DrawByState(rt, &strip, 0);
    }
}

BOOL SSplitWnd::ApplyCursor(POINT)
{
    if (!m_adjustable)
        return FALSE;
    SApplication* app = SApplication::Instance();
    HCURSOR cursor = app ? app->LoadCursorRes(MAKEINTRESOURCEW(m_vertical ? kCursorSizeWE : kCursorSizeNS)) : nullptr;
    if (cursor)
        ::SetCursor(cursor);
    return TRUE;
}

BOOL SSplitWnd::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    UINT keys = static_cast<UINT>(wParam);
    POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    if (msg == WM_DESTROY) {
        // The lists empty first; the panes then go with the window tree.
        while (m_panes.Count() > 0)
            RemovePane(m_panes[0]);
        return SWindow::HandleMessage(msg, wParam, lParam, result);
    }
    SetMsgHandled(TRUE);
    switch (msg) {
    case WM_PAINT: PaintSeparators(reinterpret_cast<IRenderTarget*>(wParam)); break;
    case WM_LBUTTONDOWN: BeginSeparatorDrag(keys, pt); break;
    case WM_LBUTTONUP: EndSeparatorDrag(keys, pt); break;
    case WM_MOUSEMOVE: DragSeparator(keys, pt); break;
    case WM_CAPTURECHANGED:
        m_dragSep = -1;
        return SWindow::HandleMessage(msg, wParam, lParam, result);
    default: return SWindow::HandleMessage(msg, wParam, lParam, result);
    }
    *result = 0;
    return IsMsgHandled();
}

} // namespace SKEIN
