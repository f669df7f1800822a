// The list box: rows, selection, hot tracking, keys and painting.
#include "control/SListBox.h"
#include <algorithm>
#include <windowsx.h>
#include "control/SCtrlAttr.h"
#include "helper/SXmlLookup.h"
#include "res.mgr/SUiDef.h"

namespace SKEIN {

using ctrl::Is;

namespace {

const float kDefaultItemHeight = 20.0f;

int XmlInt(pugi::xml_node node, const wchar_t* name, int fallback)
{
    pugi::xml_attribute attr = XmlAttributeNoCase(node, name);
    return attr ? attr.as_int(fallback) : fallback;
}

int CeilDiv(int value, int divisor)
{
    return value <= 0 ? value / divisor : (value + divisor - 1) / divisor;
}

} // namespace

SListBox::SListBox()
    : m_itemHeight(kDefaultItemHeight, SLayoutSize::kDp), m_selection(-1), m_hot(-1), m_hotTrack(0),
      m_iconX(SLayoutSize::kUnspecified, SLayoutSize::kPx), m_iconY(SLayoutSize::kUnspecified, SLayoutSize::kPx),
      m_textX(SLayoutSize::kUnspecified, SLayoutSize::kPx), m_textY(SLayoutSize::kUnspecified, SLayoutSize::kPx),
      m_colorItemBkgnd(kColorUnset), m_colorItemBkgnd2(kColorUnset), m_colorItemSelBkgnd(0xFFD19139),
      m_colorItemHotBkgnd(0x80D19139), m_colorText(kColorUnset), m_colorSelText(kColorUnset)
{
    m_flags |= kWndFocusable;
    m_eventSet.DeclareEvent(EventLBSelChanging::EventID, EventLBSelChanging::EventName());
    m_eventSet.DeclareEvent(EventLBSelChanged::EventID, EventLBSelChanged::EventName());
    m_eventSet.DeclareEvent(EventLBDbClick::EventID, EventLBDbClick::EventName());
}

SListBox::~SListBox()
{
    for (int i = 0; i < m_items.Count(); ++i)
        delete m_items[i];
}

int SListBox::ColorAttribute(COLORREF& slot, const SStringW& value)
{
    return ctrl::ParseColor(value, &slot) ? S_FALSE : E_FAIL;
}

HRESULT SListBox::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    HRESULT hr = S_FALSE;
    if (Is(name, L"itemHeight")) {
        // A row height of 0 or less would divide by zero everywhere: refused.
        SLayoutSize height = ResolveNamedDimension(value.c_str());
        if (height.value <= 0.0f)
            hr = E_INVALIDARG;
        else
            m_itemHeight = height;
    } else if (Is(name, L"itemSkin") || Is(name, L"iconSkin")) {
        (Is(name, L"itemSkin") ? m_itemSkin : m_iconSkin) = ctrl::FindSkin(value, GetScale());
        hr = S_OK;
    } else if (Is(name, L"colorItemBkgnd")) {
        hr = ColorAttribute(m_colorItemBkgnd, value);
    } else if (Is(name, L"colorItemBkgnd2")) {
        hr = ColorAttribute(m_colorItemBkgnd2, value);
    } else if (Is(name, L"colorItemSelBkgnd")) {
        hr = ColorAttribute(m_colorItemSelBkgnd, value);
    } else if (Is(name, L"colorItemHotBkgnd")) {
        hr = ColorAttribute(m_colorItemHotBkgnd, value);
    } else if (Is(name, L"colorText")) {
        hr = ColorAttribute(m_colorText, value);
    } else if (Is(name, L"colorSelText")) {
        hr = ColorAttribute(m_colorSelText, value);
    } else if (Is(name, L"icon-x")) {
        m_iconX = ResolveNamedDimension(value.c_str());
    } else if (Is(name, L"icon-y")) {
        m_iconY = ResolveNamedDimension(value.c_str());
    } else if (Is(name, L"text-x")) {
        m_textX = ResolveNamedDimension(value.c_str());
    } else if (Is(name, L"text-y")) {
        m_textY = ResolveNamedDimension(value.c_str());
    } else if (Is(name, L"hotTrack")) {
        m_hotTrack = ctrl::ParseInt(value);
    } else {
        return SScrollView::ApplyAttribute(name, value, loading);
    }
    return AfterAttribute(name, value, loading, hr);
}

BOOL SListBox::CreateChildrenFromXml(pugi::xml_node node)
{
    if (!node)
        return TRUE;
    pugi::xml_node items = XmlChildNoCase(node, L"items");
    for (pugi::xml_node item = items.first_child(); item; item = item.next_sibling()) {
        if (_wcsicmp(item.name(), L"item") != 0)
            continue;
        pugi::xml_attribute text = XmlAttributeNoCase(item, L"text");
        InsertString(-1, ResolveNamedString(text ? text.value() : L""), XmlInt(item, L"icon", -1),
                     XmlInt(item, L"data", 0));
    }
    SetCurSel(XmlInt(node, L"curSel", -1));
    return TRUE;
}

int SListBox::ItemHeightPx() const
{
    return std::max(1, m_itemHeight.ToPixels(GetScale()));
}

BOOL SListBox::SetCurSel(int index)
{
    if (index >= GetCount())
        return FALSE;
    if (index < 0)
        index = -1;
    if (index == m_selection)
        return FALSE;
    int old = m_selection;
    m_selection = index;
    if (TestVisible()) {
        if (old != -1)
            RedrawItem(old);
        if (index != -1)
            RedrawItem(index);
    }
    return TRUE;
}

SStringW SListBox::GetText(int index, bool raw) const
{
    if (index < 0 || index >= GetCount())
        return SStringW();
    return m_items[index]->text.GetText(raw);
}

LPARAM SListBox::GetItemData(int index) const
{
    return index < 0 || index >= GetCount() ? 0 : m_items[index]->data;
}

int SListBox::InsertString(int index, const SStringW& text, int image, LPARAM data)
{
    ListBoxItem* item = new (std::nothrow) ListBoxItem(this);
    if (!item)
        return -1;
    item->text.SetSource(text);
    item->image = image;
    item->data = data;
    return InsertItem(index, item);
}

int SListBox::InsertItem(int index, ListBoxItem* item)
{
    if (index < 0 || index > GetCount())
        index = GetCount();
    if (m_items.InsertRepeated(index, item, 1) < 0) {
        delete item;
        return -1;
    }
    if (m_selection >= index)
        ++m_selection;
    if (m_hot >= index)
        ++m_hot;
    UpdateViewSize();
    return index;
}

void SListBox::UpdateViewSize()
{
    int h = ItemHeightPx();
    int width = m_clientRect.right - m_clientRect.left;
    int height = m_clientRect.bottom - m_clientRect.top;
    long long total = static_cast<long long>(GetCount()) * h;
    if (total > height && !IsScrollBarShown(TRUE))
        width -= BarWidth();
    ResizeView(std::max(0, width), static_cast<int>(std::min<long long>(total, 0x7FFFFFFF)));
}

void SListBox::DeleteAll()
{
    for (int i = 0; i < m_items.Count(); ++i)
        delete m_items[i];
    m_items.Resize(0);
    m_selection = m_hot = -1;
    ResizeView(0, 0);
    InvalidateClientArea();
}

void SListBox::EnsureVisible(int index)
{
    if (index < 0 || index >= GetCount())
        return;
    int h = ItemHeightPx();
    int firstFull = CeilDiv(ViewOrigin().y, h);
    // A client lower than a row still shows the row at its top.
    int perPage = std::max(1, static_cast<int>(m_clientRect.bottom - m_clientRect.top) / h);
    if (index >= firstFull && index <= firstFull + perPage - 1)
        return;
    int delta = index < firstFull ? index - firstFull : index - perPage - firstFull + 1;
    OnScroll(TRUE, SB_THUMBPOSITION, ScrollPosOf(TRUE) + delta * h);
}

int SListBox::HitTest(POINT& pt) const
{
    if (!::PtInRect(&m_clientRect, pt))
        return -1;
    int h = ItemHeightPx();
    int y = pt.y + ViewOrigin().y - m_clientRect.top;
    if (y / h >= GetCount())
        return -1;
    pt = POINT{pt.x - m_clientRect.left, y % h};
    return y / h;
}

RECT SListBox::RowRect(int index) const
{
    int h = ItemHeightPx();
    int top = m_clientRect.top + index * h - ViewOrigin().y;
    return RECT{m_clientRect.left, top, m_clientRect.right, top + h};
}

int SListBox::LastPaintableRow() const
{
    int h = ItemHeightPx();
    return std::min(GetCount(), GetTopIndex() + 1 + CeilDiv(m_clientRect.bottom - m_clientRect.top, h));
}

void SListBox::RedrawItem(int index)
{
    if (!TestVisible() || index < GetTopIndex() || index >= LastPaintableRow())
        return;
    RECT rect = RowRect(index);
    IRenderTarget* rt = AcquirePaintTarget(&rect, kPaintWithBackground, TRUE);
    if (!rt)
        return;
    SendUiMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(rt));
    DrawItem(rt, rect, index);
    ReturnPaintTarget(rt);
}

void SListBox::NotifySelChange(int oldSel, int newSel)
{
    EventLBSelChanging changing(this);
    changing.newSel = newSel;
    changing.oldSel = oldSel;
    RaiseEvent(changing);
    if (changing.cancel)
        return;
    m_selection = newSel;
    if (oldSel != -1)
        RedrawItem(oldSel);
    if (newSel != -1)
        RedrawItem(newSel);
    EventLBSelChanged changed(this);
    changed.newSel = newSel;
    changed.oldSel = oldSel;
    RaiseEvent(changed);
}

void SListBox::Paint(IRenderTarget* rt)
{
    SPaintState saved;
    BeginPaintState(rt, &saved);
    rt->PushClipRect(&m_clientRect, RGN_AND);
    for (int row = GetTopIndex(); row < LastPaintableRow(); ++row)
        DrawItem(rt, RowRect(row), row);
    rt->PopClip();
    EndPaintState(rt, &saved);
}

void SListBox::DrawItem(IRenderTarget* rt, const RECT& rect, int index)
{
    if (index < 0 || index >= GetCount())
        return;
    ListBoxItem* item = m_items[index];
    COLORREF back = m_colorItemBkgnd;
    if ((index & 1) && m_colorItemBkgnd2 != kColorUnset)
        back = m_colorItemBkgnd2;
    COLORREF text = m_colorText;
    int state = 0;
    if (index == m_selection) {
        if (m_itemSkin)
            state = 2;
        else if (m_colorItemSelBkgnd != kColorUnset)
            back = m_colorItemSelBkgnd;
        if (m_colorSelText != kColorUnset)
            text = m_colorSelText;
    } else if (index == m_hot && m_hotTrack) {
        if (m_itemSkin)
            state = 1;
        else if (m_colorItemHotBkgnd != kColorUnset)
            back = m_colorItemHotBkgnd;
        if (m_colorSelText != kColorUnset)
            text = m_colorSelText;
    }
    if (back != kColorUnset)
        rt->FillSolidRect(&rect, back);
    if (m_itemSkin)
        m_itemSkin->DrawByState(rt, &rect, state);
    COLORREF previous = kColorUnset;
    if (text != kColorUnset)
        previous = rt->SetTextColor(text);

    int scale = GetScale();
    int h = rect.bottom - rect.top;
    RECT textRect = rect;
    bool iconDrawn = false;
    if (item->image != -1 && m_iconSkin) {
        SIZE size = m_iconSkin->GetSkinSize();
        int x = rect.left + (m_iconX.HasValue() ? m_iconX.ToPixels(scale) : h / 6);
        int y = rect.top + (m_iconY.HasValue() ? m_iconY.ToPixels(scale) : (h - size.cy) / 2);
        RECT icon = {x, y, x + size.cx, y + size.cy};
        m_iconSkin->DrawByState(rt, &icon, item->image);
        textRect.left = icon.right + h / 6;
        iconDrawn = true;
    }
    if (m_textX.HasValue())
        textRect.left = rect.left + m_textX.ToPixels(scale);
    else if (!iconDrawn)
        textRect.left = rect.left;
    UINT format = DT_SINGLELINE | DT_VCENTER;
    if (m_textY.HasValue()) {
        textRect.top = rect.top + m_textY.ToPixels(scale);
        format = DT_SINGLELINE;
    }
    const SStringW& caption = item->text.GetText(false);
    RenderText(rt, caption.c_str(), caption.Length(), &textRect, format);
    if (previous != kColorUnset)
        rt->SetTextColor(previous);
}

void SListBox::OnKeyDown(UINT vk)
{
    int base = m_hotTrack && m_hot != -1 ? m_hot : m_selection;
    int target = -1;
    if (base == -1)
        return;
    if (vk == VK_DOWN && base < GetCount() - 1)
        target = base + 1;
    else if (vk == VK_UP && base > 0)
        target = base - 1;
    if (target == -1)
        return;
    int oldHot = m_hot;
    if (m_hotTrack)
        m_hot = -1;
    EnsureVisible(target);
    NotifySelChange(m_selection, target);
    if (oldHot != -1 && oldHot != m_selection && oldHot != target)
        RedrawItem(oldHot);
}

void SListBox::OnMouse(UINT msg, WPARAM wParam, POINT pt)
{
    POINT local = pt;
    switch (msg) {
    case WM_LBUTTONDOWN:
        HandleLeftButtonDown(static_cast<UINT>(wParam), pt);
        if (!m_hotTrack) {
            m_hot = HitTest(local);
            if (m_hot != m_selection)
                NotifySelChange(m_selection, m_hot);
        }
        break;
    case WM_LBUTTONUP:
        if (m_hotTrack) {
            m_hot = HitTest(local);
            if (m_hot != m_selection)
                NotifySelChange(m_selection, m_hot);
        }
        HandleLeftButtonUp(static_cast<UINT>(wParam), pt);
        break;
    case WM_LBUTTONDBLCLK: {
        m_hot = HitTest(local);
        if (m_hot != m_selection)
            NotifySelChange(m_selection, m_hot);
        EventLBDbClick evt(this);
        evt.item = m_hot;
        RaiseEvent(evt);
        break;
    }
    case WM_MOUSEMOVE: {
        int old = m_hot;
        m_hot = HitTest(local);
        if (m_hotTrack && m_hot != old) {
            for (int row : {old, m_hot, m_selection}) {
                if (row != -1)
                    RedrawItem(row);
            }
        }
        break;
    }
    default: break;
    }
}

BOOL SListBox::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    *result = 0;
    POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (msg) {
    case WM_DESTROY:
        DeleteAll();
        return SScrollView::HandleMessage(msg, wParam, lParam, result);
    case WM_SIZE: {
        BOOL handled = SScrollView::HandleMessage(msg, wParam, lParam, result);
        UpdateViewSize();
        return handled;
    }
    case WM_PAINT: Paint(reinterpret_cast<IRenderTarget*>(wParam)); return TRUE;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE: OnMouse(msg, wParam, pt); return TRUE;
    case WM_KEYDOWN: OnKeyDown(static_cast<UINT>(wParam)); return TRUE;
    case WM_CHAR:
        if (m_owner)
            m_owner->SendUiMessage(WM_CHAR, wParam, lParam);
        return TRUE;
    case WM_SHOWWINDOW:
        if (!wParam)
            m_hot = -1;
        return SScrollView::HandleMessage(msg, wParam, lParam, result);
    case WM_MOUSELEAVE:
        HandleMouseLeave();
        if (m_hot != -1) {
            int old = m_hot;
            m_hot = -1;
            RedrawItem(old);
        }
        return TRUE;
    default: return SScrollView::HandleMessage(msg, wParam, lParam, result);
    }
}

int SListBox::RetranslateTexts()
{
    int result = SScrollView::RetranslateTexts();
    for (int i = 0; i < m_items.Count(); ++i)
        m_items[i]->text.Retranslate();
    InvalidateClientArea();
    return result;
}

} // namespace SKEIN
