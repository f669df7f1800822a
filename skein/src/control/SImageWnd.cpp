// Image, animated image and icon.
#include "control/SImageWnd.h"
#include "control/SCtrlAttr.h"
#include "core/SApp.h"

namespace SKEIN {

using ctrl::Is;

// ---- SImageWnd ----

SImageWnd::SImageWnd() : m_tile(kStretch), m_iconIndex(0), m_filterLevel(0), m_keepAspect(0)
{
    m_flags |= kWndMsgTransparent;
}

HRESULT SImageWnd::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    HRESULT result = S_OK;
    if (Is(name, L"skin")) {
        m_imgSkin = ctrl::FindSkin(value, GetScale());
    } else if (Is(name, L"iconIndex")) {
        m_iconIndex = ctrl::ParseInt(value);
        result = S_FALSE;
    } else if (Is(name, L"tile")) {
        m_tile = ctrl::ParseInt(value);
    } else if (Is(name, L"keepAspect")) {
        m_keepAspect = ctrl::ParseBool(value) ? 1 : 0;
    } else {
        return SWindow::ApplyAttribute(name, value, loading);
    }
    return AfterAttribute(name, value, loading, result);
}

void SImageWnd::ApplyColorTint(COLORREF color)
{
    SWindow::ApplyColorTint(color);
    if (m_imgSkin)
        m_imgSkin->ApplyColorize(color);
}

void SImageWnd::ApplyScale(int scale)
{
    SWindow::ApplyScale(scale);
    ctrl::RescaleSkin(m_imgSkin, scale);
}

SIZE SImageWnd::SourceSize() const
{
    return m_image ? m_image->Size() : ctrl::SkinSize(m_imgSkin);
}

SIZE SImageWnd::ComputePreferredSize(const RECT*)
{
    return SourceSize();
}

void SImageWnd::SetImage(IBitmap* bitmap, int filterLevel)
{
    m_image = bitmap;
    m_filterLevel = filterLevel;
    OnContentChanged();
}

bool SImageWnd::FitAspect(RECT* rect) const
{
    SIZE source = SourceSize();
    if (source.cx == 0 || source.cy == 0)
        return false;
    int width = rect->right - rect->left;
    int height = rect->bottom - rect->top;
    float ratio = static_cast<float>(source.cx) / static_cast<float>(source.cy);
    float room = static_cast<float>(width) / static_cast<float>(height);
    if (ratio < room) {
        int shrink = (width - static_cast<int>(height * ratio)) / 2;
        ::InflateRect(rect, -shrink, 0);
    } else {
        int shrink = (height - static_cast<int>(width / ratio)) / 2;
        ::InflateRect(rect, 0, -shrink);
    }
    return true;
}

void SImageWnd::Paint(IRenderTarget* rt)
{
    RECT rect = m_windowRect;
    if (::IsRectEmpty(&rect))
        return;
    if (m_keepAspect && !FitAspect(&rect))
        return;
    if (!m_image) {
        if (m_imgSkin)
            m_imgSkin->DrawByState(rt, &rect, m_iconIndex);
        return;
    }
    static const UINT kExpandModes[] = {1, 0, 2};
    if (m_tile < kStretch || m_tile > kTile)
        return;
    RECT source{0, 0, m_image->Width(), m_image->Height()};
    UINT mode = kExpandModes[m_tile] | (static_cast<UINT>(m_filterLevel) << 16);
    rt->DrawBitmapEx(&rect, m_image, &source, mode, 255);
}

BOOL SImageWnd::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (msg != WM_PAINT)
        return SWindow::HandleMessage(msg, wParam, lParam, result);
    *result = 0;
    Paint(reinterpret_cast<IRenderTarget*>(wParam));
    return TRUE;
}

// ---- SAnimateImgWnd ----

SAnimateImgWnd::SAnimateImgWnd()
    : m_speed(50), m_currentFrame(0), m_autoStart(1), m_running(0), m_tickCount(0), m_repeat(-1), m_repeatCount(0)
{
    m_flags |= kWndMsgTransparent;
    m_eventSet.DeclareEvent(EventAnimateStart::EventID, EventAnimateStart::EventName());
    m_eventSet.DeclareEvent(EventAnimateStop::EventID, EventAnimateStop::EventName());
}

HRESULT SAnimateImgWnd::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    HRESULT result = S_FALSE;
    if (Is(name, L"skin")) {
        m_aniSkin = ctrl::FindSkin(value, GetScale());
        result = S_OK;
    } else if (Is(name, L"speed")) {
        m_speed = ctrl::ParseInt(value);
    } else if (Is(name, L"autoStart")) {
        m_autoStart = ctrl::ParseInt(value);
    } else if (Is(name, L"repeat")) {
        m_repeat = ctrl::ParseInt(value);
    } else {
        return SWindow::ApplyAttribute(name, value, loading);
    }
    return AfterAttribute(name, value, loading, result);
}

void SAnimateImgWnd::ApplyColorTint(COLORREF color)
{
    SWindow::ApplyColorTint(color);
    if (m_aniSkin)
        m_aniSkin->ApplyColorize(color);
}

SIZE SAnimateImgWnd::ComputePreferredSize(const RECT*)
{
    return ctrl::SkinSize(m_aniSkin);
}

void SAnimateImgWnd::Start()
{
    if (m_running)
        return;
    if (TestVisible(TRUE) && m_container)
        m_container->AddTimelineHandler(this);
    m_repeatCount = 0;
    m_running = 1;
    EventAnimateStart evt(this);
    RaiseEvent(evt);
}

void SAnimateImgWnd::Stop()
{
    if (!m_running)
        return;
    if (TestVisible(TRUE) && m_container)
        m_container->RemoveTimelineHandler(this);
    m_running = 0;
    EventAnimateStop evt(this);
    RaiseEvent(evt);
}

void SAnimateImgWnd::AdvanceFrame()
{
    ++m_currentFrame;
    RECT inner;
    ComputeInnerRect(&inner);
    InvalidateArea(&inner);
    // A skin without states wraps at once instead of counting forever.
    if (m_currentFrame < m_aniSkin->GetStateCount())
        return;
    m_currentFrame = 0;
    if (m_repeat == -1)
        return;
    if (++m_repeatCount >= m_repeat)
        Stop();
}

void SAnimateImgWnd::OnTimelineTick()
{
    if (!m_aniSkin) {
        if (m_container)
            m_container->RemoveTimelineHandler(this);
        return;
    }
    if (m_tickCount > m_speed / 10)
        m_tickCount = 0;
    if (m_tickCount == 0)
        AdvanceFrame();
    ++m_tickCount;
}

void SAnimateImgWnd::OnShow()
{
    if (TestVisible(TRUE)) {
        if (m_running && m_container)
            m_container->AddTimelineHandler(this);
        else if (!m_running && m_autoStart)
            Start();
    } else if (m_running && m_container) {
        m_container->RemoveTimelineHandler(this);
    }
}

BOOL SAnimateImgWnd::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    *result = 0;
    switch (msg) {
    case WM_PAINT:
        if (m_aniSkin)
            m_aniSkin->DrawByState(reinterpret_cast<IRenderTarget*>(wParam), &m_windowRect, m_currentFrame);
        return TRUE;
    case WM_SHOWWINDOW: {
        BOOL handled = SWindow::HandleMessage(msg, wParam, lParam, result);
        OnShow();
        return handled;
    }
    case WM_DESTROY: Stop(); return SWindow::HandleMessage(msg, wParam, lParam, result);
    default: return SWindow::HandleMessage(msg, wParam, lParam, result);
    }
}

// ---- SIconWnd ----

SIconWnd::SIconWnd() : m_icon(nullptr) {}

SIconWnd::~SIconWnd()
{
    if (m_icon)
        ::DestroyIcon(m_icon);
}

void SIconWnd::SetIcon(HICON icon)
{
    if (m_icon && m_icon != icon)
        ::DestroyIcon(m_icon);
    m_icon = icon;
}

HRESULT SIconWnd::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    if (!Is(name, L"src"))
        return SWindow::ApplyAttribute(name, value, loading);
    SApplication* app = SApplication::Instance();
    SetIcon(app ? app->LoadIconFromId(value.c_str()) : nullptr);
    return AfterAttribute(name, value, loading, S_FALSE);
}

SIZE SIconWnd::ComputePreferredSize(const RECT*)
{
    ICONINFO info{};
    if (!m_icon || !::GetIconInfo(m_icon, &info))
        return SIZE{0, 0};
    if (info.hbmMask)
        ::DeleteObject(info.hbmMask);
    if (info.hbmColor)
        ::DeleteObject(info.hbmColor);
    return SIZE{static_cast<LONG>(info.xHotspot * 2), static_cast<LONG>(info.yHotspot * 2)};
}

BOOL SIconWnd::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (msg != WM_PAINT)
        return SWindow::HandleMessage(msg, wParam, lParam, result);
    *result = 0;
    if (m_icon) {
        RECT inner;
        ComputeInnerRect(&inner);
        reinterpret_cast<IRenderTarget*>(wParam)->DrawIconEx(inner.left, inner.top, m_icon, inner.right - inner.left,
                                                             inner.bottom - inner.top, DI_NORMAL);
    }
    return TRUE;
}

} // namespace SKEIN
