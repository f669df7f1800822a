// Push button and image button.
#include "control/SButton.h"
#include "control/SCtrlAttr.h"
#include "core/SFocusManager.h"
#include "res.mgr/SSkinPoolMgr.h"

namespace SKEIN {

using ctrl::Is;

namespace {

const WORD kNoFade = 255;
const WORD kFadeStart = 50;

bool IsActivationKey(WPARAM key)
{
    return key == VK_SPACE || key == VK_RETURN;
}

// Alt and the character after "&" when the text ends with ")" and its last "(" is followed by
// "&", as in "Open(&O)"; 0 otherwise.
DWORD AcceleratorOfText(const SStringW& text)
{
    int length = text.Length();
    int open = -1;
    for (int i = 0; i < length; ++i)
        open = text[i] == L'(' ? i : open;
    if (length == 0 || text[length - 1] != L')' || open < 0 || open + 2 >= length || text[open + 1] != L'&')
        return 0;
    SStringW accel(L"alt+");
    accel.AppendChars(1, text.c_str() + open + 2);
    return CAccelerator::ParseText(accel);
}

} // namespace

SButton::SButton() : m_accel(0), m_animate(0), m_fadeAlpha(kNoFade), m_animateStep(25), m_disableAccelIfInvisible(0)
{
    m_skin = ctrl::FindSystemSkin(kSysSkinBtnNormal, 100);
    m_flags |= kWndFocusable;
}

HRESULT SButton::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    if (Is(name, L"accel"))
        SetAccelerator(CAccelerator::ParseText(value));
    else if (Is(name, L"animate"))
        m_animate = ctrl::ParseInt(value);
    else if (Is(name, L"animateStep"))
        m_animateStep = static_cast<BYTE>(ctrl::ParseInt(value) & 0xFF);
    else if (Is(name, L"disableAccelIfInvisible"))
        m_disableAccelIfInvisible = ctrl::ParseBool(value) ? 1 : 0;
    else
        return SWindow::ApplyAttribute(name, value, loading);
    return AfterAttribute(name, value, loading, S_FALSE);
}

BOOL SButton::LoadFromXml(pugi::xml_node node)
{
    if (!SWindow::LoadFromXml(node))
        return FALSE;
    if (DWORD code = AcceleratorOfText(QueryText()))
        SetAccelerator(code);
    return TRUE;
}

void SButton::SetAccelerator(DWORD code)
{
    CFocusManager* manager = m_container ? m_container->GetFocusManager() : nullptr;
    if (manager && m_accel)
        manager->UnregisterAccelerator(CAccelerator(m_accel), this);
    m_accel = code;
    if (manager && m_accel)
        manager->RegisterAccelerator(CAccelerator(m_accel), this);
}

SIZE SButton::ComputePreferredSize(const RECT* available)
{
    SIZE skin = ctrl::SkinSize(m_skin);
    if (skin.cx && skin.cy)
        return skin;
    return SWindow::ComputePreferredSize(available);
}

void SButton::StopFade()
{
    m_fadeAlpha = kNoFade;
    if (m_container)
        m_container->RemoveTimelineHandler(this);
}

void SButton::NotifyStateChanged(DWORD oldState, DWORD newState)
{
    SWindow::NotifyStateChanged(oldState, newState);
    StopFade();
    if (QueryMouseCapture() == m_handle)
        return;
    bool hoverChange = (oldState == 0 && newState == kStateHover) || (oldState == kStateHover && newState == 0);
    if (!m_animate || !hoverChange || !m_container)
        return;
    m_fadeAlpha = kFadeStart;
    m_container->AddTimelineHandler(this);
}

void SButton::OnTimelineTick()
{
    // A step of 0 would never finish the fade: it ends at once.
    int next = m_animateStep ? m_fadeAlpha + m_animateStep : kNoFade;
    if (next >= kNoFade)
        StopFade();
    else
        m_fadeAlpha = static_cast<WORD>(next);
    RECT inner;
    ComputeInnerRect(&inner);
    InvalidateArea(&inner);
}

bool SButton::OnAcceleratorPressed(const CAccelerator&)
{
    if (TestDisabled(TRUE))
        return false;
    if (m_disableAccelIfInvisible && !TestVisible(TRUE))
        return false;
    FireCommand();
    return true;
}

void SButton::Paint(IRenderTarget* rt)
{
    if (m_skin) {
        RECT inner;
        ComputeInnerRect(&inner);
        if (m_fadeAlpha >= kNoFade) {
            m_skin->DrawByState(rt, &inner, StateIndex());
        } else {
            BYTE alpha = m_skin->GetAlpha();
            int faded = alpha * m_fadeAlpha / 256;
            m_skin->Draw(rt, &inner, 0, alpha);
            m_skin->Draw(rt, &inner, 1, static_cast<BYTE>((m_state & kStateHover) ? faded : alpha - faded));
        }
    }
    DrawTextContent(rt);
}

bool SButton::OnKey(UINT msg, WPARAM key)
{
    if (!IsActivationKey(key))
        return false;
    if (msg == WM_KEYDOWN) {
        ChangeState(kStatePushed, 0, TRUE);
    } else if (m_state & kStatePushed) {
        ChangeState(0, kStatePushed, TRUE);
        FireCommand();
    }
    return true;
}

BOOL SButton::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    *result = 0;
    switch (msg) {
    case WM_PAINT: Paint(reinterpret_cast<IRenderTarget*>(wParam)); return TRUE;
    case WM_ERASEBKGND: *result = 1; return TRUE;
    case WM_LBUTTONDBLCLK: return SWindow::HandleMessage(WM_LBUTTONDOWN, wParam, lParam, result);
    case WM_KEYDOWN:
    case WM_KEYUP: return OnKey(msg, wParam);
    case WM_KILLFOCUS:
        // A key's press ends with the focus: its release goes to another window.
        if (QueryMouseCapture() != m_handle)
            ChangeState(0, kStatePushed, TRUE);
        return SWindow::HandleMessage(msg, wParam, lParam, result);
    case WM_DESTROY:
        SetAccelerator(0);
        StopFade();
        return SWindow::HandleMessage(msg, wParam, lParam, result);
    case WM_SIZE: {
        BOOL handled = SWindow::HandleMessage(msg, wParam, lParam, result);
        StopFade();
        return handled;
    }
    default: return SWindow::HandleMessage(msg, wParam, lParam, result);
    }
}

SImageButton::SImageButton()
{
    m_flags &= ~kWndDrawFocusRect;
}

} // namespace SKEIN
