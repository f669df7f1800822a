// STreeCtrl: painting the rows, and the mouse on rows, toggles and check boxes.
#include "control/STreeCtrl.h"
#include <algorithm>
#include "SPanelUtil.h"

namespace SKEIN {

namespace {

const UINT kItemTextFormat = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS;
// Frames of the toggle and check-box skins: normal, hover, pushed; the expanded toggle and the
// checked box 3 later, the partly checked box 6 later.
const int kFramesChecked = 3;
const int kFramesPartly = 6;

} // namespace

// ---- painting ----

void STreeCtrl::OnPaint(IRenderTarget* rt)
{
    if (IsRedrawLocked())
        return;
    SPaintState saved;
    BeginPaintState(rt, &saved);
    int top = TopRow();
    int last = top + 1 + RowsInClient();
    int index = 0;
    for (STreeHandle item = GetChildItem(kTviRoot); item && index <= last; item = NextVisibleItem(item), ++index) {
        if (index >= top)
            DrawItem(rt, RowRect(index, ItemOf(item)), item);
    }
    EndPaintState(rt, &saved);
}

void STreeCtrl::DrawPart(IRenderTarget* rt, ISkinObj* skin, const RECT& rect, int bits, int extra)
{
    int frame = (bits & (kTcPartPushed | 4)) ? 2 : (bits & kTcPartHover);
    skin->DrawByState(rt, &rect, frame + extra);
}

void STreeCtrl::DrawItem(IRenderTarget* rt, const RECT& rect, STreeHandle handle)
{
    tagTVITEM* item = ItemOf(handle);
    if (!item)
        return;
    int indent = m_indent * item->level;
    POINT oldOrigin = {};
    rt->OffsetViewportOrg(rect.left + indent, rect.top, &oldOrigin);
    RECT selection = {m_contentStart + m_itemMargin, 0, item->contentWidth, m_itemHeight};
    selection.right = std::min<LONG>(selection.right, rect.right - indent - rect.left);
    bool selected = handle == m_selection;
    COLORREF textColor = m_colorItemText;
    if (selected) {
        if (m_itemSelSkin)
            m_itemSelSkin->DrawByState(rt, &selection, 0);
        else if (m_colorItemSelBkgnd != kColorUnset)
            rt->FillSolidRect(&selection, m_colorItemSelBkgnd);
        textColor = m_colorItemSelText;
    }
    COLORREF oldText = textColor != kColorUnset ? rt->SetTextColor(textColor) : kColorUnset;
    if (item->hasChildren && (m_partsShown & kTcShowToggle))
        DrawPart(rt, m_toggleSkin, m_toggleRect, item->toggleState, item->collapsed ? 0 : kFramesChecked);
    if (m_partsShown & kTcShowCheck) {
        int extra = item->checkState == 1 ? kFramesChecked : item->checkState == 2 ? kFramesPartly : 0;
        DrawPart(rt, m_checkSkin, m_checkRect, item->checkBoxState, extra);
    }
    if (m_partsShown & kTcShowIcon) {
        int image = selected && item->selectedImage != -1 ? item->selectedImage : item->image;
        if (image != -1)
            m_iconSkin->DrawByState(rt, &m_iconRect, image);
    }
    RECT text = selection;
    ::OffsetRect(&text, m_itemMargin, 0);
    RenderText(rt, item->text.c_str(), item->text.Length(), &text, kItemTextFormat);
    if (textColor != kColorUnset)
        rt->SetTextColor(oldText);
    rt->SetViewportOrg(oldOrigin);
}

// ---- parts under the mouse ----

int STreeCtrl::PartHitTest(const tagTVITEM* item, POINT pt) const
{
    if ((m_partsShown & kTcShowToggle) && item->hasChildren && ::PtInRect(&m_toggleRect, pt))
        return kTcPartToggle;
    if ((m_partsShown & kTcShowCheck) && ::PtInRect(&m_checkRect, pt))
        return kTcPartCheck;
    return kTcPartNone;
}

void STreeCtrl::ModifyPartState(STreeHandle handle, int part, int add, int remove)
{
    tagTVITEM* item = ItemOf(handle);
    if (!item || part == kTcPartNone)
        return;
    int& bits = part == kTcPartToggle ? item->toggleState : item->checkBoxState;
    int old = bits;
    bits = add | (old & ~remove);
    RECT row;
    if (bits == old || !GetItemRect(handle, &row))
        return;
    RECT area = part == kTcPartToggle ? m_toggleRect : m_checkRect;
    ::OffsetRect(&area, row.left, row.top);
    InvalidateArea(&area);
}

void STreeCtrl::SetHoverItem(STreeHandle item)
{
    if (item == m_hoverItem)
        return;
    ModifyPartState(m_hoverItem, m_hoverPart, 0, kTcPartHover);
    m_hoverPart = kTcPartNone;
    m_hoverItem = item;
}

void STreeCtrl::PressPart(STreeHandle handle, POINT pt)
{
    tagTVITEM* item = ItemOf(handle);
    int part = PartHitTest(item, pt);
    if (part != m_pushedPart)
        ModifyPartState(handle, m_pushedPart, 0, kTcPartPushed);
    m_pushedPart = part;
    if (part == kTcPartToggle && !(item->toggleState & kTcPartPushed)) {
        ModifyPartState(handle, part, kTcPartPushed, 0);
        Expand(handle, kTcToggle);
    } else if (part == kTcPartCheck && !(item->checkBoxState & kTcPartPushed)) {
        ModifyPartState(handle, part, kTcPartPushed, 0);
        SetCheckState(handle, item->checkState != 1);
    }
}

void STreeCtrl::ReleasePart(STreeHandle handle)
{
    int part = m_pushedPart;
    m_pushedPart = kTcPartNone;
    ModifyPartState(handle, part, 0, kTcPartPushed);
    if (part == kTcPartCheck) {
        EventTCCheckState evt(this);
        evt.item = handle;
        evt.checkState = ItemOf(handle)->checkState;
        RaiseEvent(evt);
    }
}

// ---- mouse ----

void STreeCtrl::OnMouseMove(POINT pt)
{
    STreeHandle item = HitTest(pt);
    SetHoverItem(item);
    if (!item)
        return;
    int part = PartHitTest(ItemOf(item), pt);
    if (part == m_hoverPart)
        return;
    ModifyPartState(item, m_hoverPart, 0, kTcPartHover);
    ModifyPartState(item, part, kTcPartHover, 0);
    m_hoverPart = part;
}

void STreeCtrl::OnMouseLeave()
{
    SetHoverItem(0);
}

// Handlers of the events raised on the way may delete items; deleting the hovered item clears
// m_hoverItem, which is checked before the item is used again.
void STreeCtrl::OnLeftButtonDown(WPARAM keys, POINT pt)
{
    HandleLeftButtonDown(static_cast<UINT>(keys), pt);
    STreeHandle item = HitTest(pt);
    SetHoverItem(item);
    if (item && item != m_selection)
        SelectItem(item, FALSE);
    m_pushedItem = item == m_hoverItem ? item : 0;
    if (m_pushedItem)
        PressPart(m_pushedItem, pt);
}

void STreeCtrl::OnLeftButtonUp(WPARAM keys, POINT pt)
{
    HandleLeftButtonUp(static_cast<UINT>(keys), pt);
    SetHoverItem(HitTest(pt));
    STreeHandle item = m_pushedItem ? m_pushedItem : m_hoverItem;
    m_pushedItem = 0;
    if (item)
        ReleasePart(item);
}

void STreeCtrl::OnCaptureLost()
{
    STreeHandle item = m_pushedItem;
    m_pushedItem = 0;
    if (item)
        ReleasePart(item);
}

void STreeCtrl::OnLeftButtonDblClk(POINT pt)
{
    STreeHandle item = HitTest(pt);
    SetHoverItem(item);
    if (!item)
        return;
    if (PartHitTest(ItemOf(item), pt) == kTcPartCheck)
        PressPart(item, pt);
    EventTCDbClick evt(this);
    evt.item = item;
    RaiseEvent(evt);
    if (!evt.cancel && item == m_hoverItem)
        Expand(item, kTcToggle);
}

BOOL STreeCtrl::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    *result = 0;
    POINT pt = MousePoint(lParam);
    switch (msg) {
    case WM_PAINT: OnPaint(reinterpret_cast<IRenderTarget*>(wParam)); return TRUE;
    case WM_DESTROY:
        RemoveAllItems();
        return SScrollView::HandleMessage(msg, wParam, lParam, result);
    case WM_MOUSEMOVE: OnMouseMove(pt); return TRUE;
    case WM_LBUTTONDOWN: OnLeftButtonDown(wParam, pt); return TRUE;
    case WM_LBUTTONUP: OnLeftButtonUp(wParam, pt); return TRUE;
    case WM_CAPTURECHANGED:
        OnCaptureLost();
        return SScrollView::HandleMessage(msg, wParam, lParam, result);
    case WM_LBUTTONDBLCLK: OnLeftButtonDblClk(pt); return TRUE;
    case WM_RBUTTONDOWN:
        if (m_rightClickSel) {
            STreeHandle item = HitTest(pt);
            SetHoverItem(item);
            if (item && item != m_selection)
                SelectItem(item, FALSE);
        }
        return SScrollView::HandleMessage(msg, wParam, lParam, result);
    case WM_MOUSELEAVE:
        OnMouseLeave();
        return SScrollView::HandleMessage(msg, wParam, lParam, result);
    default: return SScrollView::HandleMessage(msg, wParam, lParam, result);
    }
}

} // namespace SKEIN
