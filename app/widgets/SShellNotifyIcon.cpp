// The taskbar notification icon and its message window.
#include "widgets/SShellNotifyIcon.h"
#include <shlwapi.h>
#include "control/SMenuEx.h"
#include "control/SNativeMenu.h"
#include "core/SApp.h"
#include "core/SHostWnd.h"
#include "helper/SStringConv.h"
#include "widgets/BringBack.h"

namespace SKEIN {

namespace {

const wchar_t kMessageWindowName[] = L"shell_nofity_msg_windows";
const wchar_t kFallbackIcon[] = L"ICON_LOGO";
const int kFallbackIconSize = 16;

bool Is(const SStringW& name, const wchar_t* text)
{
    return name.CompareIgnoringCase(text) == 0;
}

int ParseNumber(const SStringW& value)
{
    int number = 0;
    return ::StrToIntExW(value.c_str(), STIF_SUPPORT_HEX, &number) ? number : 0;
}

int MenuKindOfRoot(const wchar_t* name)
{
    if (wcscmp(name, L"menu") == 0)
        return SShellNotifyIcon::kMenuNative;
    if (wcscmp(name, L"menuRoot") == 0 || wcscmp(name, L"menuItem") == 0)
        return SShellNotifyIcon::kMenuDrawn;
    return SShellNotifyIcon::kMenuNone;
}

// The cursor position, with hwnd made the foreground window for the menu that opens there.
POINT ForegroundAtCursor(HWND hwnd)
{
    POINT pt = {0, 0};
    ::GetCursorPos(&pt);
    ::SetForegroundWindow(hwnd);
    return pt;
}

pugi::xml_node FirstElement(const pugi::xml_node& parent)
{
    for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_element)
            return child;
    }
    return pugi::xml_node();
}

} // namespace

// ---- CShellNotifyHwnd2 ----

CShellNotifyHwnd2::CShellNotifyHwnd2(SHostWnd* host, SShellNotifyIcon* icon)
    : m_host(host), m_icon(icon), m_taskbarCreated(::RegisterWindowMessageW(L"TaskbarCreated"))
{
}

void CShellNotifyHwnd2::Detach()
{
    m_icon = nullptr;
    m_host = nullptr;
}

void CShellNotifyHwnd2::Close()
{
    Detach();
    if (m_hwnd)
        ::DestroyWindow(m_hwnd);
    else
        delete this;
}

void CShellNotifyHwnd2::OnLastMessage(HWND hwnd)
{
    CSimpleWnd::OnLastMessage(hwnd);
    if (m_icon)
        m_icon->m_msgWnd = nullptr;
    delete this;
}

BOOL CShellNotifyHwnd2::OfferToHost(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    return m_host && m_host->Handle() &&
           m_host->HandleWindowMessage(m_host->Handle(), msg, wParam, lParam, result, 0);
}

void CShellNotifyHwnd2::RestoreHost()
{
    if (HWND host = m_host ? m_host->Handle() : nullptr)
        BringBack(host);
}

LRESULT CShellNotifyHwnd2::OnNotify(LPARAM event)
{
    switch (event) {
    case WM_LBUTTONDBLCLK: RestoreHost(); return 0;
    case WM_RBUTTONDOWN: m_icon->ShowMenu(); return 0;
    default: return 1;
    }
}

BOOL CShellNotifyHwnd2::HandleWindowMessage(HWND, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result, DWORD mapId)
{
    if (mapId != 0 || !m_icon)
        return FALSE;
    // The host may release the control while a message is handled here.
    SRefPtr<SShellNotifyIcon> hold(m_icon);
    result = 0;
    if (msg == m_taskbarCreated) {
        result = m_icon->AddIcon();
        return TRUE;
    }
    switch (msg) {
    case WM_TIMER:
        if (wParam == SShellNotifyIcon::kAnimationTimer)
            m_icon->NextFrame();
        return TRUE;
    case WM_COMMAND: return OfferToHost(msg, wParam, lParam, result);
    case SShellNotifyIcon::kCallbackMessage:
        if (!OfferToHost(msg, wParam, lParam, result))
            result = OnNotify(lParam);
        return TRUE;
    default: return FALSE;
    }
}

// ---- SShellNotifyIcon ----

SShellNotifyIcon::SShellNotifyIcon()
    : m_menuKind(kMenuNone), m_data(), m_filled(FALSE), m_msgWnd(nullptr), m_defaultIcon(0), m_frame(0),
      m_startFrame(1), m_duration(200), m_animating(FALSE), m_fallbackIcon(nullptr)
{
}

SShellNotifyIcon::~SShellNotifyIcon()
{
    DestroyIcons();
}

HWND SShellNotifyIcon::MessageHwnd() const
{
    return m_msgWnd ? m_msgWnd->Handle() : nullptr;
}

HRESULT SShellNotifyIcon::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    HRESULT result = S_FALSE;
    if (Is(name, L"ico"))
        result = SetIcons(value);
    else if (Is(name, L"tip"))
        result = SetTip(value, loading);
    else if (Is(name, L"menu"))
        result = SetMenu(value);
    else if (Is(name, L"deficoidx"))
        m_defaultIcon = ParseNumber(value);
    else if (Is(name, L"startframe"))
        m_startFrame = ParseNumber(value);
    else if (Is(name, L"duration"))
        m_duration = ParseNumber(value);
    else
        return SWindow::ApplyAttribute(name, value, loading);
    return AfterAttribute(name, value, loading, result);
}

void SShellNotifyIcon::DestroyIcons()
{
    for (int i = 0; i < m_icons.Count(); ++i)
        ::DestroyIcon(m_icons[i]);
    m_icons.Resize(0);
    if (m_fallbackIcon)
        ::DestroyIcon(m_fallbackIcon);
    m_fallbackIcon = nullptr;
}

HRESULT SShellNotifyIcon::SetIcons(const SStringW& list)
{
    for (int i = 0; i < m_icons.Count(); ++i)
        ::DestroyIcon(m_icons[i]);
    m_icons.Resize(0);
    SApplication* app = SApplication::Instance();
    SDynArray<SStringW> ids;
    SplitByChar(list, L';', ids);
    for (int i = 0; app && i < ids.Count(); ++i) {
        if (HICON icon = app->LoadIconFromId(ids[i].c_str()))
            m_icons.Add(icon);
    }
    // The record never keeps a destroyed icon.
    if (m_filled)
        m_data.hIcon = DefaultIcon();
    return m_icons.Count() > 0 ? S_OK : S_FALSE;
}

HRESULT SShellNotifyIcon::SetTip(const SStringW& tip, BOOL loading)
{
    if (tip.IsEmptyText())
        return S_FALSE;
    m_tip = tip;
    if (!loading) {
        m_data.uFlags = (m_data.uFlags | NIF_TIP) & ~NIF_INFO;
        ::lstrcpynW(m_data.szTip, m_tip.c_str(), ARRAYSIZE(m_data.szTip));
        Modify();
    }
    return S_OK;
}

HRESULT SShellNotifyIcon::SetMenu(const SStringW& resId)
{
    SApplication* app = SApplication::Instance();
    pugi::xml_document document;
    if (!app || !app->LoadXmlDocumentByResId(document, resId.c_str()))
        return S_FALSE;
    m_menuKind = MenuKindOfRoot(FirstElement(document).name());
    if (m_menuKind != kMenuNone)
        m_menuId = resId;
    return S_OK;
}

void SShellNotifyIcon::SetIconData(HWND hwnd, HICON icon, UINT flags, UINT callbackMessage, UINT id)
{
    m_data.cbSize = NOTIFYICONDATAW_V3_SIZE;
    m_data.hWnd = hwnd;
    m_data.uID = id;
    m_data.uFlags = flags;
    m_data.uCallbackMessage = callbackMessage;
    m_data.hIcon = icon;
    ::lstrcpynW(m_data.szTip, m_tip.c_str(), ARRAYSIZE(m_data.szTip));
    m_filled = TRUE;
}

BOOL SShellNotifyIcon::AddIcon()
{
    return m_filled && ::Shell_NotifyIconW(NIM_ADD, &m_data);
}

BOOL SShellNotifyIcon::RemoveIcon()
{
    return m_filled && ::Shell_NotifyIconW(NIM_DELETE, &m_data);
}

BOOL SShellNotifyIcon::Modify()
{
    return m_filled && ::Shell_NotifyIconW(NIM_MODIFY, &m_data);
}

HICON SShellNotifyIcon::DefaultIcon()
{
    if (m_defaultIcon < 0 || m_defaultIcon >= m_icons.Count())
        m_defaultIcon = 0;
    if (m_icons.Count() == 0 && !m_fallbackIcon) {
        SApplication* app = SApplication::Instance();
        m_fallbackIcon = app ? app->LoadIconRes(kFallbackIcon, kFallbackIconSize, kFallbackIconSize) : nullptr;
    }
    return IconOrFallback(m_defaultIcon);
}

HICON SShellNotifyIcon::IconOrFallback(int index) const
{
    return index >= 0 && index < m_icons.Count() ? m_icons[index] : m_fallbackIcon;
}

void SShellNotifyIcon::ShowIcon(int index)
{
    if (index < 0 || index >= m_icons.Count())
        return;
    m_defaultIcon = index;
    if (m_animating)
        return;
    m_data.uFlags = (m_data.uFlags | NIF_ICON) & ~NIF_INFO;
    m_data.hIcon = m_icons[index];
    Modify();
}

void SShellNotifyIcon::StartAnimation()
{
    if (!MessageHwnd() || m_icons.Count() - (m_startFrame + 1) <= 2)
        return;
    m_data.uFlags = (m_data.uFlags | NIF_ICON) & ~NIF_INFO;
    m_frame = m_startFrame;
    m_msgWnd->SetTimer(kAnimationTimer, static_cast<UINT>(m_duration));
    m_animating = TRUE;
}

void SShellNotifyIcon::StopAnimation()
{
    m_frame = 0;
    if (m_animating && MessageHwnd()) {
        m_animating = FALSE;
        m_msgWnd->KillTimer(kAnimationTimer);
    }
    m_data.hIcon = IconOrFallback(m_defaultIcon);
    Modify();
}

void SShellNotifyIcon::NextFrame()
{
    if (m_frame >= m_icons.Count())
        m_frame = m_startFrame;
    m_data.hIcon = IconOrFallback(m_frame);
    ++m_frame;
    Modify();
}

void SShellNotifyIcon::ShowMenu()
{
    // The host may release the control while the menu's choice is handled: only locals are
    // used once a menu runs.
    HWND hwnd = MessageHwnd();
    if (m_menuKind == kMenuNative) {
        SNativeMenu menu;
        if (menu.LoadFromResource(m_menuId.c_str())) {
            POINT pt = ForegroundAtCursor(hwnd);
            menu.RunPopup(0, pt.x, pt.y, hwnd, nullptr, 100);
        }
    } else if (m_menuKind == kMenuDrawn) {
        SMenuEx menu;
        if (menu.LoadFromResource(m_menuId.c_str())) {
            POINT pt = ForegroundAtCursor(hwnd);
            menu.RunPopup(0, pt.x, pt.y, hwnd, 100);
        }
    }
}

BOOL SShellNotifyIcon::CreateChildrenFromXml(pugi::xml_node)
{
    if (m_msgWnd)
        return FALSE;
    SHostWnd* host = dynamic_cast<SHostWnd*>(GetHostContainer());
    m_msgWnd = new CShellNotifyHwnd2(host, this);
    // A hidden top-level window, not a message-only one: only top-level windows get the
    // "TaskbarCreated" broadcast.
    if (!m_msgWnd->CreateNative(kMessageWindowName, WS_POPUP, 0, 0, 0, 0, 0, nullptr, nullptr)) {
        m_msgWnd->Close();
        m_msgWnd = nullptr;
        return FALSE;
    }
    SetIconData(MessageHwnd(), DefaultIcon(), NIF_MESSAGE | NIF_ICON | NIF_TIP, kCallbackMessage, kNotifyId);
    return AddIcon();
}

BOOL SShellNotifyIcon::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    switch (msg) {
    case WM_PAINT:
    case WM_NCPAINT: *result = 0; return TRUE;
    case WM_ERASEBKGND: *result = 1; return TRUE;
    default: return SWindow::HandleMessage(msg, wParam, lParam, result);
    }
}

void SShellNotifyIcon::OnLastRelease()
{
    if (CShellNotifyHwnd2* msgWnd = m_msgWnd) {
        // The shell may send callbacks while the icon is removed: none may reach the control.
        msgWnd->Detach();
        m_msgWnd = nullptr;
        msgWnd->KillTimer(kAnimationTimer);
        m_animating = FALSE;
        RemoveIcon();
        msgWnd->Close();
    }
    DestroyIcons();
    SWindow::OnLastRelease();
}

} // namespace SKEIN
