// SItemPanelHost: mouse, wheel, keys, focus, cursor and tooltip, routed to the item panels.
#include "control/SItemPanelHost.h"
#include "SCtrlAttr.h"
#include "SPanelUtil.h"

namespace SKEIN {

using ctrl::Is;
using ctrl::ParseInt;

namespace {

bool IsButtonPress(UINT msg)
{
    return msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN;
}

bool IsButtonRelease(UINT msg)
{
    return msg == WM_LBUTTONUP || msg == WM_RBUTTONUP || msg == WM_MBUTTONUP;
}

LPARAM RelativePoint(POINT pt, const RECT& rect)
{
    return MAKELPARAM(pt.x - rect.left, pt.y - rect.top);
}

} // namespace

SItemPanelHost::SItemPanelHost() : m_capturedPanel(nullptr), m_hoveredPanel(nullptr), m_wantTab(0) {}

HRESULT SItemPanelHost::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    if (!Is(name, L"wantTab"))
        return SPanel::ApplyAttribute(name, value, loading);
    m_wantTab = ParseInt(value);
    return AfterAttribute(name, value, loading, S_FALSE);
}

UINT SItemPanelHost::QueryWantedKeys(const MSG*)
{
    return m_wantTab ? 0xFFFF : 0x80000001;
}

void SItemPanelHost::SetItemCapture(SItemPanel* panel, BOOL capture)
{
    if (capture) {
        TakeMouseCapture();
        m_capturedPanel = panel;
    } else {
        DropMouseCapture();
        m_capturedPanel = nullptr;
    }
}

// ---- mouse ----

LRESULT SItemPanelHost::SendToPanel(SItemPanel* panel, UINT msg, WPARAM wParam, LPARAM lParam)
{
    RECT rect;
    ItemRect(panel, &rect);
    return panel->DispatchHostMessage(msg, wParam, RelativePoint(MousePoint(lParam), rect));
}

void SItemPanelHost::MoveHoverTo(SItemPanel* panel, WPARAM wParam, LPARAM relative)
{
    // Handlers of the panels' events may change the view meanwhile.
    SRefPtr<SItemPanel> oldHover(m_hoveredPanel);
    SRefPtr<SItemPanel> newHover(panel);
    m_hoveredPanel = panel;
    if (oldHover) {
        oldHover->DispatchHostMessage(WM_MOUSELEAVE, 0, 0);
        oldHover->InvalidateArea();
    }
    if (newHover) {
        newHover->DispatchHostMessage(WM_MOUSEHOVER, wParam, HoverTellsPoint() ? relative : 0);
        newHover->InvalidateArea();
    }
}

BOOL SItemPanelHost::OnMouse(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (!HasAdapter())
        return FALSE;
    if (m_capturedPanel) {
        SendToPanel(m_capturedPanel, msg, wParam, lParam);
        return TRUE;
    }
    if (IsButtonPress(msg))
        SPanel::HandleMessage(msg, wParam, lParam, result);
    POINT pt = MousePoint(lParam);
    RECT rect;
    SItemPanel* panel = PanelAtPoint(pt, &rect);
    if (IsButtonPress(msg) && !panel)
        OnPressOutsideItems();
    LPARAM relative = RelativePoint(pt, rect);
    if (panel != m_hoveredPanel)
        MoveHoverTo(panel, wParam, relative);
    if (SRefPtr<SItemPanel> hovered = m_hoveredPanel)
        hovered->DispatchHostMessage(msg, wParam, relative);
    if (IsButtonRelease(msg))
        SPanel::HandleMessage(msg, wParam, lParam, result);
    return TRUE;
}

void SItemPanelHost::OnMouseLeave()
{
    SRefPtr<SItemPanel> hovered(m_hoveredPanel);
    m_hoveredPanel = nullptr;
    if (hovered)
        hovered->DispatchHostMessage(WM_MOUSELEAVE, 0, 0);
}

// The item that held the capture ends its press too.
void SItemPanelHost::OnCaptureLost()
{
    SRefPtr<SItemPanel> captured(m_capturedPanel);
    m_capturedPanel = nullptr;
    if (captured)
        captured->EndPress();
}

// The panel first: the release the host makes up for a press without a move finds it ended.
void SItemPanelHost::EndPressOf(SItemPanel* panel)
{
    panel->EndPress();
    if (panel == m_capturedPanel) {
        m_capturedPanel = nullptr;
        DropMouseCapture();
    }
}

void SItemPanelHost::OnMouseWheel(WPARAM wParam, LPARAM lParam)
{
    SRefPtr<SItemPanel> selected(SelectedPanel());
    if (selected && SendToPanel(selected, WM_MOUSEWHEEL, wParam, lParam) != 0)
        return;
    LRESULT ignored = 0;
    SPanel::HandleMessage(WM_MOUSEWHEEL, wParam, lParam, &ignored);
}

BOOL SItemPanelHost::ApplyCursor(POINT pt)
{
    SItemPanel* panel = m_capturedPanel ? m_capturedPanel : m_hoveredPanel;
    if (panel && SendToPanel(panel, WM_SETCURSOR, 0, MAKELPARAM(pt.x, pt.y)) != 0)
        return TRUE;
    return SPanel::ApplyCursor(pt);
}

BOOL SItemPanelHost::ProvideTooltip(POINT pt, SwndToolInfo* info)
{
    RECT rect;
    if (!m_hoveredPanel || !ItemRect(m_hoveredPanel, &rect))
        return SPanel::ProvideTooltip(pt, info);
    return m_hoveredPanel->ProvideTooltip(POINT{pt.x - rect.left, pt.y - rect.top}, info);
}

// ---- keys and focus ----

BOOL SItemPanelHost::ForwardToSelected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    SRefPtr<SItemPanel> panel(SelectedPanel());
    if (!panel)
        return FALSE;
    *result = panel->DispatchHostMessage(msg, wParam, lParam);
    return panel->IsMsgHandled();
}

BOOL SItemPanelHost::OnKeyDown(UINT vk, LPARAM lParam, LRESULT* result)
{
    if (!HasAdapter())
        return FALSE;
    bool offered = m_wantTab && SelectedPanel();
    if (offered && ForwardToSelected(WM_KEYDOWN, vk, lParam, result))
        return TRUE;
    if ((vk == VK_ESCAPE || vk == VK_RETURN) && m_owner) {
        m_owner->SendUiMessage(WM_KEYDOWN, vk, lParam);
        return TRUE;
    }
    if (OnNavigationKey(vk))
        return TRUE;
    return offered ? FALSE : ForwardToSelected(WM_KEYDOWN, vk, lParam, result);
}

void SItemPanelHost::OnFocusChange(bool gained)
{
    SItemPanel* panel = SelectedPanel();
    if (!panel)
        return;
    if (gained)
        panel->GetFocusManager()->RestoreFocus();
    else
        panel->GetFocusManager()->SaveFocus();
}

// ---- look and dispatch ----

void SItemPanelHost::ApplyColorTint(COLORREF color)
{
    SPanel::ApplyColorTint(color);
    BroadcastToPanels(kUiMsgColorTint, color);
}

void SItemPanelHost::ApplyScale(int scale)
{
    SPanel::ApplyScale(scale);
    OnScaleChanged(scale);
    BroadcastToPanels(kUiMsgScaleChanged, scale);
}

int SItemPanelHost::RetranslateTexts()
{
    int answer = SPanel::RetranslateTexts();
    BroadcastToPanels(kUiMsgLanguageChanged, 0);
    return answer;
}

BOOL SItemPanelHost::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    *result = 0;
    switch (msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        SPanel::HandleMessage(msg, wParam, lParam, result);
        OnFocusChange(msg == WM_SETFOCUS);
        return TRUE;
    case WM_KEYDOWN: return OnKeyDown(static_cast<UINT>(wParam), lParam, result);
    case WM_MOUSEWHEEL: OnMouseWheel(wParam, lParam); return TRUE;
    case WM_MOUSELEAVE:
        SPanel::HandleMessage(msg, wParam, lParam, result);
        OnMouseLeave();
        return TRUE;
    case WM_CAPTURECHANGED:
        OnCaptureLost();
        return SPanel::HandleMessage(msg, wParam, lParam, result);
    default: break;
    }
    if ((msg >= WM_KEYFIRST && msg <= WM_KEYLAST) || (msg >= WM_IME_STARTCOMPOSITION && msg <= WM_IME_COMPOSITION))
        return ForwardToSelected(msg, wParam, lParam, result);
    if (msg >= WM_MOUSEFIRST && msg <= kLastRoutedMouseMsg)
        return OnMouse(msg, wParam, lParam, result);
    return SPanel::HandleMessage(msg, wParam, lParam, result);
}

} // namespace SKEIN
