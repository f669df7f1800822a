// SListCtrl: selection (single, check box, Ctrl and Shift) with veto, and the mouse.
#include "control/SListCtrl.h"
#include <algorithm>
#include "SCtrlAttr.h"
#include "SPanelUtil.h"

namespace SKEIN {

namespace {

bool KeyHeld(int vk)
{
    return ::GetKeyState(vk) < 0;
}

} // namespace

int SListCtrl::HitTest(POINT pt) const
{
    RECT list = ListRect();
    if (pt.y < list.top)
        return -1;
    int row = (m_scrollY + pt.y - list.top) / m_itemHeight;
    return row < GetItemCount() ? row : -1;
}

BOOL SListCtrl::HitCheckBox(POINT pt) const
{
    if (!m_checkBox)
        return FALSE;
    int left = ListRect().left + kRowIndent - m_scrollX + kCheckGap;
    return pt.x >= left && pt.x <= left + ctrl::SkinSize(m_checkSkin).cx;
}

void SListCtrl::SetSelected(int row, int selected)
{
    if (m_rows[row].selected == selected)
        return;
    m_rows[row].selected = selected;
    RedrawItem(row);
}

void SListCtrl::NotifySelChange(int oldSel, int newSel, BOOL checkClick)
{
    EventLCSelChanging changing(this);
    changing.newSel = newSel;
    changing.oldSel = oldSel;
    RaiseEvent(changing);
    if (changing.cancel)
        return;
    int count = static_cast<int>(m_rows.size());
    bool valid = newSel >= 0 && newSel < count;
    bool multi = m_multiSelection || m_checkBox;
    if (checkClick || (multi && KeyHeld(VK_CONTROL))) {
        if (valid) {
            SetSelected(newSel, !m_rows[newSel].selected);
            m_selection = newSel;
        }
    } else if (multi && KeyHeld(VK_SHIFT)) {
        if (valid) {
            oldSel = std::max(oldSel, 0);
            int first = std::min(oldSel, newSel);
            int last = std::max(oldSel, newSel);
            for (int i = 0; i < count; ++i)
                SetSelected(i, i >= first && i <= last);
        }
    } else {
        m_selection = -1;
        for (int i = 0; i < count; ++i) {
            if (i != newSel)
                SetSelected(i, 0);
        }
        if (valid) {
            SetSelected(newSel, 1);
            m_selection = newSel;
        }
    }
    EventLCSelChanged changed(this);
    changed.newSel = newSel;
    changed.oldSel = oldSel;
    RaiseEvent(changed);
}

void SListCtrl::OnLeftButtonDown(WPARAM keys, POINT pt)
{
    HandleLeftButtonDown(static_cast<UINT>(keys), pt);
    m_hot = HitTest(pt);
    if (HitCheckBox(pt))
        NotifySelChange(m_selection, m_hot, TRUE);
    else if (m_selection != -1 || m_hot != -1)
        NotifySelChange(m_selection, m_hot, FALSE);
}

void SListCtrl::OnLeftButtonDblClk(POINT pt)
{
    int row = HitTest(pt);
    m_hot = row;
    if (row != m_selection)
        NotifySelChange(m_selection, row, FALSE);
    EventLCDbClick evt(this);
    evt.item = row;
    RaiseEvent(evt);
}

void SListCtrl::OnMouseMove(POINT pt)
{
    if (!m_hotTrack)
        return;
    int row = HitTest(pt);
    if (row == m_hot)
        return;
    m_hot = row;
    InvalidateClientArea();
}

BOOL SListCtrl::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    *result = 0;
    switch (msg) {
    case WM_PAINT: OnPaint(reinterpret_cast<IRenderTarget*>(wParam)); return TRUE;
    case WM_DESTROY:
        DeleteAllItems();
        return SPanel::HandleMessage(msg, wParam, lParam, result);
    case WM_SIZE: {
        BOOL handled = SPanel::HandleMessage(msg, wParam, lParam, result);
        UpdateScrollBars();
        UpdateHeaderPosition();
        return handled;
    }
    case WM_LBUTTONDOWN: OnLeftButtonDown(wParam, MousePoint(lParam)); return TRUE;
    case WM_LBUTTONDBLCLK: OnLeftButtonDblClk(MousePoint(lParam)); return TRUE;
    case WM_MOUSEMOVE: OnMouseMove(MousePoint(lParam)); return TRUE;
    case WM_MOUSELEAVE:
        if (m_hotTrack) {
            m_hot = -1;
            InvalidateClientArea();
        }
        return SPanel::HandleMessage(msg, wParam, lParam, result);
    default: return SPanel::HandleMessage(msg, wParam, lParam, result);
    }
}

} // namespace SKEIN
