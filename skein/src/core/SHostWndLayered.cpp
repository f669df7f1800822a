#include "core/SHostWnd.h"
#include "core/SApp.h"

// The translucent host: layered output, the dummy window that drives it, and animation.
namespace SKEIN {

namespace {

RECT SizeRect(const RECT& rect)
{
    return RECT{0, 0, rect.right - rect.left, rect.bottom - rect.top};
}

} // namespace

void SHostWnd::UpdateLayered(IRenderTarget* rt, BYTE alpha, const RECT* dirty)
{
    RECT window = {};
    ::GetWindowRect(m_hwnd, &window);
    RECT whole = SizeRect(window);
    POINT dest = {window.left, window.top};
    SIZE size = {whole.right, whole.bottom};
    POINT source = {0, 0};
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, alpha, AC_SRC_ALPHA};
    HDC dc = rt->GetDC(0);
    UPDATELAYEREDWINDOWINFO info = {sizeof(info), nullptr, &dest, &size, dc, &source, 0, &blend, ULW_ALPHA,
                                    dirty ? dirty : &whole};
    CallUpdateLayeredWindowIndirect(m_hwnd, &info);
    rt->ReleaseDC(dc);
}

BOOL SDummyWnd::HandleWindowMessage(HWND hwnd, UINT msg, WPARAM, LPARAM, LRESULT& result, DWORD mapId)
{
    if (mapId != 0 || msg != WM_PAINT)
        return FALSE;
    PAINTSTRUCT ps;
    ::BeginPaint(hwnd, &ps);
    ::EndPaint(hwnd, &ps);
    m_host->PaintPass(nullptr, SHostWnd::kDummyPaint);
    result = 0;
    return TRUE;
}

// ---- animation of translucent hosts ----

namespace {

int AnimationMode(DWORD flags)
{
    if (flags & AW_SLIDE)
        return AW_SLIDE;
    if (flags & AW_CENTER)
        return AW_CENTER;
    return (flags & AW_BLEND) ? AW_BLEND : 0;
}

// One step of the visible rectangle: the edges named by the direction flags move by (dx, dy);
// hiding moves them inwards, showing outwards (from the side the flags name).
void SlideStep(RECT& visible, DWORD flags, int dx, int dy, bool hiding)
{
    if (flags & AW_HOR_POSITIVE)
        (hiding ? visible.left : visible.right) += dx;
    if (flags & AW_HOR_NEGATIVE)
        (hiding ? visible.right : visible.left) -= dx;
    if (flags & AW_VER_POSITIVE)
        (hiding ? visible.top : visible.bottom) += dy;
    if (flags & AW_VER_NEGATIVE)
        (hiding ? visible.bottom : visible.top) -= dy;
}

// The visible rectangle a slide starts with.
RECT SlideStart(const RECT& client, DWORD flags, bool hiding)
{
    RECT visible = client;
    if (hiding)
        return visible;
    if (flags & AW_HOR_POSITIVE)
        visible.right = visible.left;
    else if (flags & AW_HOR_NEGATIVE)
        visible.left = visible.right;
    if (flags & AW_VER_POSITIVE)
        visible.bottom = visible.top;
    else if (flags & AW_VER_NEGATIVE)
        visible.top = visible.bottom;
    return visible;
}

} // namespace

void SHostWnd::PushFrame(IRenderTarget* frame, const RECT& client, const RECT& visible, POINT source)
{
    frame->ClearRect(&client, 0);
    if (!::IsRectEmpty(&visible))
        frame->BitBlt(&visible, m_memTarget, source.x, source.y, SRCCOPY);
    UpdateLayered(frame, m_attr.Alpha(), nullptr);
}

BOOL SHostWnd::AnimateHost(DWORD time, DWORD flags)
{
    if (!IsTranslucent())
        return ::AnimateWindow(m_hwnd, time, flags);
    bool hiding = (flags & AW_HIDE) != 0;
    int mode = AnimationMode(flags);
    RECT client = {};
    ::GetClientRect(m_hwnd, &client);
    SRefPtr<IRenderTarget> frame = NewRenderTarget(client.right, client.bottom);
    if (!frame || !m_memTarget || (hiding && !mode))
        return FALSE;
    RECT output = {};
    RequestFullRepaint();
    m_needFullRepaint = FALSE;
    PaintInvalidPart(output);
    if (!hiding) {
        PushFrame(frame, client, RECT{0, 0, 0, 0}, POINT{0, 0});
        UINT activate = (flags & AW_ACTIVATE) ? 0 : SWP_NOACTIVATE;
        ::SetWindowPos(m_hwnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW | activate);
        if (!mode)
            return FALSE;
    }
    UINT steps = time / 10;
    int width = client.right;
    int height = client.bottom;
    if (mode == AW_BLEND) {
        BYTE step = steps ? static_cast<BYTE>(255 / steps) : 0;
        BYTE alpha = hiding ? 255 : 0;
        for (UINT i = 0; i < steps; ++i) {
            alpha = hiding ? alpha - step : alpha + step;
            UpdateLayered(m_memTarget, alpha, nullptr);
            ::Sleep(10);
        }
    } else if (steps) {
        RECT visible = mode == AW_SLIDE ? SlideStart(client, flags, hiding) : client;
        if (mode == AW_CENTER && !hiding)
            visible = RECT{width / 2, height / 2, width / 2, height / 2};
        int dx = mode == AW_SLIDE ? width / static_cast<int>(steps) : width / (2 * static_cast<int>(steps));
        int dy = mode == AW_SLIDE ? height / static_cast<int>(steps) : height / (2 * static_cast<int>(steps));
        for (UINT i = 0; i < steps; ++i) {
            if (mode == AW_SLIDE)
                SlideStep(visible, flags, dx, dy, hiding);
            else
                ::InflateRect(&visible, hiding ? -dx : dx, hiding ? -dy : dy);
            POINT source = {visible.left, visible.top};
            if (mode == AW_SLIDE) {
                bool rightEnd = hiding ? (flags & AW_HOR_NEGATIVE) != 0 : (flags & AW_HOR_POSITIVE) != 0;
                bool bottomEnd = hiding ? (flags & AW_VER_NEGATIVE) != 0 : (flags & AW_VER_POSITIVE) != 0;
                source.x = rightEnd ? width - (visible.right - visible.left) : 0;
                source.y = bottomEnd ? height - (visible.bottom - visible.top) : 0;
            }
            PushFrame(frame, client, visible, source);
            ::Sleep(10);
        }
    }
    if (hiding)
        ::ShowWindow(m_hwnd, SW_HIDE);
    else
        UpdateLayered(m_memTarget, m_attr.Alpha(), nullptr);
    return TRUE;
}

} // namespace SKEIN
