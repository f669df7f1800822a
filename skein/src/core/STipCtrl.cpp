#include "core/STipCtrl.h"
#include <new>

namespace SKEIN {

namespace {

const DWORD kTipStyle = WS_POPUP | 0x3;
const DWORD kTipExStyle = WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
const int kFontHeight = -12;
const int kTextMargin = 5;
const int kCursorOffset = 24;
const SIZE kMeasureBox = {500, 1000};

bool IsButtonMessage(UINT msg)
{
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP: return true;
    default: return false;
    }
}

} // namespace

STipCtrl::STipCtrl()
    : m_handled(FALSE), m_showDelay(kShowDelay), m_hideDelay(kHideDelay), m_fontScale(0), m_target{0, 0, 0, 0},
      m_font(nullptr), m_id{0, 0}
{
}

STipCtrl::~STipCtrl()
{
    if (m_font)
        ::DeleteObject(m_font);
}

BOOL STipCtrl::Create()
{
    if (!CreateNative(L"skein tooltip", kTipStyle, kTipExStyle, 0, 0, 0, 0, nullptr, nullptr))
        return FALSE;
    MakeFont(100);
    return TRUE;
}

void STipCtrl::MakeFont(int scale)
{
    LOGFONTW logFont = {};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(logFont), &logFont);
    logFont.lfHeight = scale * kFontHeight / 100;
    wcscpy_s(logFont.lfFaceName, L"\x5B8B\x4F53"); // SimSun
    if (HFONT font = ::CreateFontIndirectW(&logFont)) {
        if (m_font)
            ::DeleteObject(m_font);
        m_font = font;
    }
}

BOOL STipCtrl::PreTranslateMessage(MSG* msg)
{
    if (m_hwnd)
        RelayEvent(msg);
    return FALSE;
}

void STipCtrl::UpdateTip(const SwndTipId& id, const RECT& rect, const SStringW& text, int scale)
{
    if (id == m_id)
        return;
    m_id = id;
    m_target = rect;
    m_text = text;
    if (scale != m_fontScale) {
        MakeFont(scale);
        m_fontScale = scale;
    }
    m_text.Replace(L"\\n", L"\n");
    if (::IsWindowVisible(m_hwnd))
        ShowTip(TRUE);
}

void STipCtrl::ClearTip()
{
    m_id = SwndTipId{0, 0};
    Hide();
}

void STipCtrl::RelayEvent(const MSG* msg)
{
    if (msg->message == WM_MOUSEMOVE) {
        POINT pt = {static_cast<short>(LOWORD(msg->lParam)), static_cast<short>(HIWORD(msg->lParam))};
        if (!::PtInRect(&m_target, pt)) {
            Hide();
        } else if (!::IsWindowVisible(m_hwnd) && !m_text.IsEmptyText()) {
            SetTimer(kTimerShow, m_showDelay);
            ::ClientToScreen(msg->hwnd, &pt);
            ::SetWindowPos(m_hwnd, nullptr, pt.x, pt.y + kCursorOffset, 0, 0,
                           SWP_NOSENDCHANGING | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOSIZE);
        }
    } else if (IsButtonMessage(msg->message)) {
        Hide();
    }
}

// A pending show is dropped too, so a press never lets the tip appear afterwards.
void STipCtrl::Hide()
{
    KillTimer(kTimerShow);
    ShowTip(FALSE);
    KillTimer(kTimerHide);
}

void STipCtrl::ShowTip(BOOL show)
{
    if (!show) {
        ShowWindow(SW_HIDE);
        ::SetRectEmpty(&m_target);
        m_text.Empty();
        return;
    }
    if (m_text.IsEmptyText())
        return;
    RECT text = {0, 0, kMeasureBox.cx, kMeasureBox.cy};
    HDC screen = ::GetDC(nullptr);
    HGDIOBJ oldFont = ::SelectObject(screen, m_font);
    ::DrawTextW(screen, m_text.c_str(), m_text.Length(), &text, DT_CALCRECT | DT_WORDBREAK);
    ::SelectObject(screen, oldFont);
    ::ReleaseDC(nullptr, screen);

    RECT window = {};
    GetWindowRect(&window);
    window.right = window.left + text.right + 2 * kTextMargin;
    window.bottom = window.top + text.bottom + 2 * kTextMargin;
    MONITORINFO monitor = {sizeof(monitor)};
    if (::GetMonitorInfoW(::MonitorFromRect(&window, MONITOR_DEFAULTTONEAREST), &monitor)) {
        int dx = window.right > monitor.rcMonitor.right ? monitor.rcMonitor.right - window.right : 0;
        int dy = window.bottom > monitor.rcMonitor.bottom ? monitor.rcMonitor.bottom - window.bottom : 0;
        ::OffsetRect(&window, dx, dy);
    }
    ::SetWindowPos(m_hwnd, HWND_TOPMOST, window.left, window.top, window.right - window.left,
                   window.bottom - window.top, SWP_NOOWNERZORDER | SWP_SHOWWINDOW | SWP_NOACTIVATE);
}

void STipCtrl::OnTimer(UINT_PTR id)
{
    if (id == kTimerShow) {
        KillTimer(kTimerShow);
        ShowTip(TRUE);
        SetTimer(kTimerHide, m_hideDelay);
    } else if (id == kTimerHide) {
        ShowTip(FALSE);
        KillTimer(kTimerHide);
    } else {
        m_handled = FALSE;
    }
}

void STipCtrl::OnPaint()
{
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hwnd, &ps);
    RECT rect = {};
    GetClientRect(&rect);
    HBRUSH brush = ::CreateSolidBrush(::GetSysColor(COLOR_INFOBK));
    HGDIOBJ oldBrush = ::SelectObject(dc, brush);
    ::Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
    ::SelectObject(dc, oldBrush);
    ::DeleteObject(brush);
    ::InflateRect(&rect, -kTextMargin, -kTextMargin);
    HGDIOBJ oldFont = ::SelectObject(dc, m_font);
    ::SetBkMode(dc, TRANSPARENT);
    ::DrawTextW(dc, m_text.c_str(), m_text.Length(), &rect, DT_WORDBREAK);
    ::SelectObject(dc, oldFont);
    ::EndPaint(m_hwnd, &ps);
}

BOOL STipCtrl::HandleWindowMessage(HWND, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result, DWORD mapId)
{
    if (mapId != 0)
        return FALSE;
    BOOL saved = m_handled;
    m_handled = TRUE;
    result = 0;
    switch (msg) {
    case WM_PAINT: OnPaint(); break;
    case WM_TIMER: OnTimer(wParam); break;
    default:
        result = ReflectToChild(msg, wParam, lParam, m_handled);
        // a colour request that the child left unanswered goes on to the default
        if (m_handled && msg >= WM_CTLCOLORMSGBOX && msg <= WM_CTLCOLORSTATIC && result == 0)
            m_handled = FALSE;
        break;
    }
    BOOL handled = m_handled;
    m_handled = saved;
    return handled;
}

void STipCtrl::OnLastMessage(HWND hwnd)
{
    CSimpleWnd::OnLastMessage(hwnd);
    delete this;
}

IToolTip* SDefToolTipFactory::CreateToolTip(HWND)
{
    STipCtrl* tip = new (std::nothrow) STipCtrl;
    if (tip && !tip->Create()) {
        delete tip;
        return nullptr;
    }
    return tip;
}

void SDefToolTipFactory::DestroyToolTip(IToolTip* tip)
{
    if (tip)
        ::DestroyWindow(static_cast<STipCtrl*>(tip)->Handle());
}

} // namespace SKEIN
