// SHeaderCtrl: captions from XML, geometry and hit codes, painting, and the mouse: hover,
// click, edge resize and caption drag.
#include "control/SHeaderCtrl.h"
#include <algorithm>
#include <vector>
#include "core/SApp.h"
#include "core/SDragWnd.h"
#include "core/SXmlFlags.h"
#include "helper/SXmlLookup.h"
#include "interface/SwndContainer-i.h"
#include "res.mgr/SSkinPoolMgr.h"
#include "res.mgr/SUiDef.h"
#include "SCtrlAttr.h"

namespace SKEIN {

using namespace ctrl;

namespace {

const WORD kCursorSizeWE = 32644;
// Edge zones on either side of a caption boundary (pixels), with and without sorting.
const int kSortEdgeMargin = 4;
const int kPlainEdgeMargin = 2;
const int kSortSkinGap = 2;
// The drag image: black is transparent, the rest half opaque.
const BYTE kDragImageAlpha = 128;
const DWORD kDragImageKeying = LWA_COLORKEY | LWA_ALPHA;

UINT MakeCode(int low, int high)
{
    return MAKELONG(static_cast<WORD>(low), static_cast<WORD>(high));
}

} // namespace

SHeaderCtrl::SHeaderCtrl()
    : m_itemSkin(FindSystemSkin(kSysSkinHeader, 100)), m_sortHeader(1), m_fixWidth(0), m_itemSwapEnable(1),
      m_dragging(false), m_dragImage(nullptr), m_downPoint{0, 0}, m_hitCode(kHeaderHitNowhere),
      m_dropHitCode(kHeaderHitNowhere), m_widthAtDown(0)
{
    m_flags |= kWndClipClient;
    m_eventSet.DeclareEvent(EventHeaderClick::EventID, EventHeaderClick::EventName());
    m_eventSet.DeclareEvent(EventHeaderItemChanged::EventID, EventHeaderItemChanged::EventName());
    m_eventSet.DeclareEvent(EventHeaderItemChanging::EventID, EventHeaderItemChanging::EventName());
    m_eventSet.DeclareEvent(EventHeaderItemSwap::EventID, EventHeaderItemSwap::EventName());
    m_eventSet.DeclareEvent(EventHeaderRelayout::EventID, EventHeaderRelayout::EventName());
}

SHeaderCtrl::~SHeaderCtrl()
{
    EndDragImage();
}

// ---- attributes and XML ----

HRESULT SHeaderCtrl::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    if (Is(name, L"itemSkin"))
        m_itemSkin = FindSkin(value, GetScale());
    else if (Is(name, L"sortSkin"))
        m_sortSkin = FindSkin(value, GetScale());
    else if (Is(name, L"fixWidth"))
        m_fixWidth = ParseInt(value);
    else if (Is(name, L"itemSwapEnable"))
        m_itemSwapEnable = ParseInt(value);
    else if (Is(name, L"sortHeader"))
        m_sortHeader = ParseInt(value);
    else
        return SWindow::ApplyAttribute(name, value, loading);
    return AfterAttribute(name, value, loading, S_FALSE);
}

BOOL SHeaderCtrl::CreateChildrenFromXml(pugi::xml_node node)
{
    pugi::xml_node items = XmlChildNoCase(node, L"items");
    if (items) {
        ReadItems(items);
        SXmlFlags::SetSkipped(items, true);
    }
    SWindow::CreateChildrenFromXml(node);
    if (!items)
        return FALSE;
    SXmlFlags::SetSkipped(items, false);
    return TRUE;
}

void SHeaderCtrl::ReadItems(pugi::xml_node items)
{
    for (pugi::xml_node element = items.child(L"item"); element; element = element.next_sibling(L"item")) {
        HeaderItem item(this);
        item.mask = 0xFFFFFFFF;
        item.order = m_items.Count();
        SStringW text(element.text().get());
        text.TrimSpaces();
        item.text.SetSource(ResolveNamedString(text.c_str()));
        pugi::xml_attribute width = XmlAttributeNoCase(element, L"width");
        item.width = ResolveNamedDimension(width ? width.value() : L"50");
        item.userData = static_cast<UINT>(ParseInt(SStringW(XmlAttributeNoCase(element, L"userData").value())));
        item.sortFlag = ParseInt(SStringW(XmlAttributeNoCase(element, L"sortFlag").value()));
        pugi::xml_attribute visible = XmlAttributeNoCase(element, L"visible");
        item.visible = !visible || ParseBool(SStringW(visible.value()));
        m_items.Add(item);
    }
}

// ---- captions ----

BOOL SHeaderCtrl::GetItem(int index, HeaderItem& out) const
{
    if (!InRange(index))
        return FALSE;
    const HeaderItem& item = m_items[index];
    if (out.mask & kHeaderMaskWidth)
        out.width = item.width;
    if (out.mask & kHeaderMaskText)
        out.text.SetSource(item.text.GetText(false));
    if (out.mask & kHeaderMaskSort)
        out.sortFlag = item.sortFlag;
    if (out.mask & kHeaderMaskData)
        out.userData = item.userData;
    if (out.mask & kHeaderMaskOrder)
        out.order = item.order;
    return TRUE;
}

int SHeaderCtrl::GetItemWidth(int index) const
{
    if (!InRange(index))
        return -1;
    const HeaderItem& item = m_items[index];
    return item.visible ? item.width.ToPixels(GetScale()) : 0;
}

int SHeaderCtrl::GetTotalWidth() const
{
    int total = 0;
    for (int i = 0; i < m_items.Count(); ++i)
        total += GetItemWidth(i);
    return total;
}

BOOL SHeaderCtrl::IsItemVisible(int index) const
{
    return InRange(index) && m_items[index].visible;
}

void SHeaderCtrl::SetItemVisible(int index, BOOL visible)
{
    if (!InRange(index))
        return;
    m_items[index].visible = visible != FALSE;
    InvalidateClientArea();
    EventHeaderItemChanged changed(this);
    changed.item = index;
    changed.width = GetItemWidth(index);
    RaiseEvent(changed);
}

void SHeaderCtrl::SetItemSort(int index, int flag)
{
    if (!InRange(index) || m_items[index].sortFlag == flag)
        return;
    m_items[index].sortFlag = flag;
    RECT rect = GetItemRect(index);
    InvalidateArea(&rect);
}

RECT SHeaderCtrl::GetItemRect(int index) const
{
    if (!IsItemVisible(index))
        return RECT{0, 0, 0, 0};
    RECT client;
    GetInnerRect(&client);
    int left = client.left;
    for (int i = 0; i < index; ++i)
        left += GetItemWidth(i);
    return RECT{left, client.top, left + GetItemWidth(index), client.bottom};
}

void SHeaderCtrl::RedrawItem(int index)
{
    RECT rect = GetItemRect(index);
    if (::IsRectEmpty(&rect))
        return;
    IRenderTarget* rt = AcquirePaintTarget(&rect, kPaintWithBackground, TRUE);
    if (!rt)
        return;
    DrawItem(rt, rect, m_items[index]);
    ReturnPaintTarget(rt);
}

// A press, drag or resize in progress ends with the captions it was about.
void SHeaderCtrl::DeleteAllItems()
{
    CancelDrag();
    m_hitCode = kHeaderHitNowhere;
    m_dropHitCode = kHeaderHitNowhere;
    m_items.Resize(0);
    RaiseRelayout();
    InvalidateClientArea();
}

UINT SHeaderCtrl::HitTest(POINT pt) const
{
    RECT client;
    GetInnerRect(&client);
    if (!::PtInRect(&client, pt))
        return kHeaderHitNowhere;
    int margin = m_sortHeader ? kSortEdgeMargin : kPlainEdgeMargin;
    int count = m_items.Count();
    int x = client.left;
    // The caption left of the edge before the current one: the last one shown, or the one
    // of width 0 just before it (so that a collapsed column can be widened again).
    int previous = -1;
    for (int i = 0; i < count; ++i) {
        int width = GetItemWidth(i);
        if (width == 0) {
            if (m_items[i].visible)
                previous = i;
            continue;
        }
        int left = x;
        int right = x + width;
        x = right;
        if (pt.x < left + margin)
            return previous < 0 ? MakeCode(i, i) : MakeCode(previous, i);
        if (pt.x < right - margin)
            return MakeCode(i, i);
        if (pt.x < right)
            return MakeCode(i, i + 1 < count ? i + 1 : 0xFFFF);
        previous = i;
    }
    // A collapsed caption after the last one shown keeps an edge zone right of the captions.
    if (previous >= 0 && GetItemWidth(previous) == 0 && pt.x < x + margin)
        return MakeCode(previous, previous + 1 < count ? previous + 1 : 0xFFFF);
    return kHeaderHitNowhere;
}

void SHeaderCtrl::SetItemState(UINT code, int state)
{
    if (!IsItemHover(code) || !InRange(LOWORD(code)))
        return;
    m_items[LOWORD(code)].state = state;
    RedrawItem(LOWORD(code));
}

void SHeaderCtrl::RaiseRelayout()
{
    EventHeaderRelayout relayout(this);
    RaiseEvent(relayout);
}

// ---- painting ----

void SHeaderCtrl::OnPaint(IRenderTarget* rt)
{
    SPaintState saved;
    BeginPaintState(rt, &saved);
    RECT client;
    GetInnerRect(&client);
    int x = client.left;
    for (int i = 0; i < m_items.Count() && x < client.right; ++i) {
        if (!m_items[i].visible)
            continue;
        RECT rect = {x, client.top, x + GetItemWidth(i), client.bottom};
        DrawItem(rt, rect, m_items[i]);
        x = rect.right;
    }
    if (x < client.right && m_itemSkin) {
        RECT rest = {x, client.top, client.right, client.bottom};
        m_itemSkin->DrawByState(rt, &rest, 3);
    }
    EndPaintState(rt, &saved);
}

void SHeaderCtrl::DrawItem(IRenderTarget* rt, const RECT& rect, const HeaderItem& item)
{
    if (!item.visible)
        return;
    if (m_itemSkin)
        m_itemSkin->DrawByState(rt, &rect, item.state);
    UINT format = m_style.GetDrawTextFormat();
    const SStringW& text = item.text.GetText(false);
    RECT textRect = rect;
    RenderText(rt, text.c_str(), text.Length(), &textRect, format);
    if (item.sortFlag == 0 || !m_sortSkin)
        return;
    SIZE size = m_sortSkin->GetSkinSize();
    int x = (format & DT_RIGHT) ? rect.left + kSortSkinGap : rect.right - size.cx - kSortSkinGap;
    int y = rect.top + (rect.bottom - rect.top - size.cy) / 2;
    RECT sortRect = {x, y, x + size.cx, y + size.cy};
    m_sortSkin->DrawByState(rt, &sortRect, item.sortFlag == 1 ? 0 : 1);
}

// The captions in their new order with the dragged one's place left empty.
void SHeaderCtrl::DrawDraggingState(int position)
{
    int dragged = LOWORD(m_hitCode);
    std::vector<int> order;
    for (int i = 0; i < m_items.Count(); ++i) {
        if (i != dragged)
            order.push_back(i);
    }
    order.insert(order.begin() + std::min<size_t>(std::max(position, 0), order.size()), dragged);
    RECT client;
    GetInnerRect(&client);
    IRenderTarget* rt = AcquirePaintTarget(&client, kPaintWithBackground, TRUE);
    if (!rt)
        return;
    SPaintState saved;
    BeginPaintState(rt, &saved);
    if (m_itemSkin)
        m_itemSkin->DrawByState(rt, &client, 0);
    int x = client.left;
    for (int index : order) {
        RECT rect = {x, client.top, x + GetItemWidth(index), client.bottom};
        if (index != dragged)
            DrawItem(rt, rect, m_items[index]);
        x = rect.right;
    }
    EndPaintState(rt, &saved);
    ReturnPaintTarget(rt);
}

HBITMAP SHeaderCtrl::CreateDragImage(int index)
{
    if (!InRange(index))
        return nullptr;
    RECT client;
    GetInnerRect(&client);
    int width = GetItemWidth(index);
    int height = client.bottom - client.top;
    SRefPtr<IRenderTarget> rt = NewRenderTarget(width, height);
    if (!rt || width <= 0 || height <= 0)
        return nullptr;
    SPaintState saved;
    BeginPaintState(rt, &saved);
    RECT rect = {0, 0, width, height};
    DrawItem(rt, rect, m_items[index]);
    EndPaintState(rt, &saved);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap)
        return nullptr;
    HDC memory = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    HDC source = rt->GetDC(0);
    ::BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY);
    rt->ReleaseDC(source);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    return bitmap;
}

// ---- mouse ----

BOOL SHeaderCtrl::ApplyCursor(POINT pt)
{
    if (m_fixWidth || !IsEdge(HitTest(pt)))
        return SWindow::ApplyCursor(pt);
    SApplication* app = SApplication::Instance();
    HCURSOR cursor = app ? app->LoadCursorRes(MAKEINTRESOURCEW(kCursorSizeWE)) : nullptr;
    if (cursor)
        ::SetCursor(cursor);
    return TRUE;
}

void SHeaderCtrl::OnLeftButtonDown(POINT pt)
{
    TakeMouseCapture();
    m_downPoint = pt;
    m_hitCode = HitTest(pt);
    if (IsItemHover(m_hitCode)) {
        if (m_sortHeader)
            SetItemState(m_hitCode, kHeaderItemPressed);
    } else if (IsEdge(m_hitCode)) {
        m_widthAtDown = GetItemWidth(LOWORD(m_hitCode));
    }
}

void SHeaderCtrl::OnMouseMove(WPARAM keys, POINT pt)
{
    bool held = (keys & MK_LBUTTON) != 0;
    if (!m_dragging && !held) {
        TrackHover(pt);
        return;
    }
    bool onCaption = IsItemHover(m_hitCode) && m_itemSwapEnable;
    if (!m_dragging && onCaption)
        StartDrag();
    if (m_dragging) {
        if (onCaption)
            DragTo(pt);
    } else if (IsEdge(m_hitCode) && !m_fixWidth) {
        ResizeTo(pt);
    }
}

void SHeaderCtrl::TrackHover(POINT pt)
{
    UINT code = HitTest(pt);
    if (code == m_hitCode)
        return;
    if (m_sortHeader) {
        SetItemState(m_hitCode, kHeaderItemNormal);
        SetItemState(code, kHeaderItemHover);
    }
    m_hitCode = code;
}

void SHeaderCtrl::StartDrag()
{
    int index = LOWORD(m_hitCode);
    m_dropHitCode = m_hitCode;
    DrawDraggingState(index);
    m_dragImage = CreateDragImage(index);
    RECT rect = GetItemRect(index);
    if (m_dragImage)
        CDragWnd::StartDragImage(m_dragImage, m_downPoint.x - rect.left, m_downPoint.y - rect.top, 0,
                                 kDragImageAlpha, kDragImageKeying);
    m_dragging = true;
}

void SHeaderCtrl::DragTo(POINT pt)
{
    UINT code = HitTest(pt);
    POINT screen = {pt.x, m_downPoint.y};
    if (m_container)
        ::ClientToScreen(m_container->GetHostHwnd(), &screen);
    if (IsItemHover(code) && code != m_dropHitCode) {
        m_dropHitCode = code;
        DrawDraggingState(LOWORD(code));
    }
    CDragWnd::MoveDragImage(screen.x, screen.y);
}

void SHeaderCtrl::ResizeTo(POINT pt)
{
    int index = LOWORD(m_hitCode);
    if (!InRange(index))
        return;
    int newWidth = std::max(0, static_cast<int>(pt.x + m_widthAtDown - m_downPoint.x));
    SLayoutSize& width = m_items[index].width;
    // Scaled units keep their unit and convert back to the dragged pixels.
    if (width.unit == SLayoutSize::kPx)
        width.value = static_cast<float>(newWidth);
    else
        width.value = static_cast<float>(newWidth) * 100.0f / static_cast<float>(std::max(1, GetScale()));
    InvalidateClientArea();
    if (m_container)
        m_container->UpdateWindow();
    EventHeaderItemChanging changing(this);
    changing.item = index;
    changing.width = newWidth;
    RaiseEvent(changing);
    RaiseRelayout();
}

void SHeaderCtrl::OnLeftButtonUp(POINT pt)
{
    if (IsItemHover(m_hitCode)) {
        if (m_dragging && m_itemSwapEnable) {
            DropCaption();
            m_hitCode = HitTest(pt);
            m_dropHitCode = kHeaderHitNowhere;
            InvalidateClientArea();
        } else if (!m_dragging && m_sortHeader) {
            SetItemState(m_hitCode, kHeaderItemHover);
            EventHeaderClick click(this);
            click.item = LOWORD(m_hitCode);
            RaiseEvent(click);
        }
    } else if (IsEdge(m_hitCode)) {
        // Also with fixWidth: the press changed no width, but the listeners still hear of it.
        EndResize();
    }
    m_dragging = false;
    DropMouseCapture();
    // A leave while the button was held was put off until now.
    if (!ContainsPoint(pt, FALSE))
        OnMouseLeave();
}

void SHeaderCtrl::EndResize()
{
    EventHeaderItemChanged changed(this);
    changed.item = LOWORD(m_hitCode);
    changed.width = GetItemWidth(changed.item);
    RaiseEvent(changed);
    RaiseRelayout();
}

// The press ends with no click and no drop; a resize keeps the width it reached.
void SHeaderCtrl::OnCaptureLost()
{
    if (m_dragging) {
        CancelDrag();
        return;
    }
    if (IsEdge(m_hitCode))
        EndResize();
    else if (m_sortHeader)
        SetItemState(m_hitCode, kHeaderItemNormal);
    m_hitCode = kHeaderHitNowhere;
}

void SHeaderCtrl::DropCaption()
{
    EndDragImage();
    int from = LOWORD(m_hitCode);
    m_items[from].state = kHeaderItemNormal;
    if (!IsItemHover(m_dropHitCode) || m_dropHitCode == m_hitCode)
        return;
    int to = LOWORD(m_dropHitCode);
    HeaderItem moved(m_items[from]);
    m_items.RemoveAt(from);
    m_items.InsertRepeated(to, moved, 1);
    EventHeaderItemSwap swap(this);
    swap.oldIndex = from;
    swap.newIndex = to;
    RaiseEvent(swap);
    RaiseRelayout();
}

// While the button is held (a resize or a press) the mouse may leave and come back.
void SHeaderCtrl::OnMouseLeave()
{
    if (m_dragging || QueryMouseCapture() == m_handle)
        return;
    if (m_sortHeader)
        SetItemState(m_hitCode, kHeaderItemNormal);
    m_hitCode = kHeaderHitNowhere;
}

void SHeaderCtrl::CancelDrag()
{
    if (!m_dragging)
        return;
    if (m_sortHeader)
        SetItemState(m_hitCode, kHeaderItemNormal);
    m_hitCode = kHeaderHitNowhere;
    m_dropHitCode = kHeaderHitNowhere;
    EndDragImage();
    m_dragging = false;
    DropMouseCapture();
    InvalidateClientArea();
}

void SHeaderCtrl::EndDragImage()
{
    if (!m_dragImage)
        return;
    CDragWnd::EndDragImage();
    ::DeleteObject(m_dragImage);
    m_dragImage = nullptr;
}

// ---- window ----

int SHeaderCtrl::ApplyRect(const RECT& rect)
{
    int changed = SWindow::ApplyRect(rect);
    if (changed)
        RaiseRelayout();
    return changed;
}

void SHeaderCtrl::ApplyColorTint(COLORREF color)
{
    SWindow::ApplyColorTint(color);
    for (ISkinObj* skin : {m_itemSkin.Get(), m_sortSkin.Get()}) {
        if (skin)
            skin->ApplyColorize(color);
    }
}

void SHeaderCtrl::ApplyScale(int scale)
{
    SWindow::ApplyScale(scale);
    RescaleSkin(m_itemSkin, scale);
    RescaleSkin(m_sortSkin, scale);
}

int SHeaderCtrl::RetranslateTexts()
{
    SWindow::RetranslateTexts();
    for (int i = 0; i < m_items.Count(); ++i)
        m_items[i].text.Retranslate();
    return 1;
}

BOOL SHeaderCtrl::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    switch (msg) {
    case WM_PAINT: OnPaint(reinterpret_cast<IRenderTarget*>(wParam)); break;
    case WM_LBUTTONDOWN: OnLeftButtonDown(pt); break;
    case WM_LBUTTONUP: OnLeftButtonUp(pt); break;
    case WM_MOUSEMOVE: OnMouseMove(wParam, pt); break;
    case WM_MOUSELEAVE: OnMouseLeave(); break;
    case WM_ACTIVATEAPP: CancelDrag(); break;
    case WM_CAPTURECHANGED:
        OnCaptureLost();
        return SWindow::HandleMessage(msg, wParam, lParam, result);
    case WM_DESTROY:
        m_eventSet.SetMuted(true);
        DeleteAllItems();
        m_eventSet.SetMuted(false);
        return SWindow::HandleMessage(msg, wParam, lParam, result);
    default: return SWindow::HandleMessage(msg, wParam, lParam, result);
    }
    *result = 0;
    return TRUE;
}

} // namespace SKEIN
