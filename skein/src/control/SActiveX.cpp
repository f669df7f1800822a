// The ActiveX host window and the flash-player preset.
#include "control/SActiveX.h"
#include "control/SCtrlAttr.h"
#include "interface/SwndContainer-i.h"

namespace SKEIN {

using ctrl::Is;

namespace {

// CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER
const DWORD kDefaultClsContext = 23;
// Class texts of this length or more are refused.
const int kClsidTextMax = 100;

const CLSID kFlashClsid = {0xD27CDB6E, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
// The player's scripting interface, a dispatch interface.
const IID kFlashIid = {0xD27CDB6C, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const wchar_t kWindowModeProperty[] = L"WMode";
const wchar_t kMovieProperty[] = L"Movie";
const wchar_t kTransparentMode[] = L"transparent";

bool IsMouseMessage(UINT msg)
{
    return msg >= WM_MOUSEFIRST && msg <= WM_XBUTTONDBLCLK;
}

bool IsKeyMessage(UINT msg)
{
    return msg >= WM_KEYFIRST && msg <= WM_KEYLAST;
}

} // namespace

// ---- SActiveX ----

SActiveX::SActiveX() : m_site(nullptr), m_clsid(GUID_NULL), m_clsContext(kDefaultClsContext), m_delay(0)
{
    m_site = new SAxContainerImpl(this);
}

SActiveX::~SActiveX()
{
    delete m_site;
}

HRESULT SActiveX::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    HRESULT hr = S_FALSE;
    if (Is(name, L"clsID"))
        hr = ApplyClsid(value);
    else if (Is(name, L"clscText"))
        m_clsContext = static_cast<DWORD>(ctrl::ParseInt(value));
    else if (Is(name, L"delay"))
        m_delay = static_cast<DWORD>(ctrl::ParseInt(value));
    else
        return SWindow::ApplyAttribute(name, value, loading);
    return AfterAttribute(name, value, loading, hr);
}

// "{...}" is a class identifier, anything else a ProgID; a text that does not resolve keeps the
// class identifier held so far.
HRESULT SActiveX::ApplyClsid(const SStringW& value)
{
    if (value.Length() >= kClsidTextMax)
        return S_FALSE;
    const wchar_t* text = value.c_str() ? value.c_str() : L"";
    CLSID clsid = GUID_NULL;
    HRESULT hr = text[0] == L'{' ? ::CLSIDFromString(text, &clsid) : ::CLSIDFromProgID(text, &clsid);
    if (FAILED(hr))
        return S_FALSE;
    m_clsid = clsid;
    return S_OK;
}

BOOL SActiveX::InitActiveX()
{
    BOOL created = SUCCEEDED(m_site->CreateControl(m_clsid, m_clsContext)) && m_site->Control();
    if (created) {
        RECT client;
        GetInnerRect(&client);
        m_site->ActivateAx(nullptr);
        SetActiveXVisible(TestVisible(TRUE));
        m_site->OnPosRectChange(&client);
    }
    OnInitActiveXFinished();
    return created;
}

void SActiveX::SetActiveXVisible(BOOL show)
{
    IOleWindow* window = nullptr;
    IUnknown* control = m_site->Control();
    if (!control || FAILED(control->QueryInterface(IID_IOleWindow, reinterpret_cast<void**>(&window))))
        return;
    HWND hwnd = nullptr;
    HRESULT hr = window->GetWindow(&hwnd);
    window->Release();
    if (FAILED(hr) || !hwnd)
        return;
    bool focusInside = false;
    for (HWND focus = show ? nullptr : ::GetFocus(); focus && !focusInside; focus = ::GetParent(focus))
        focusInside = focus == hwnd;
    ::ShowWindow(hwnd, show ? SW_SHOW : SW_HIDE);
    if (focusInside)
        ::SetFocus(GetHostWindow());
}

HWND SActiveX::GetHostWindow()
{
    return m_container ? m_container->GetHostHwnd() : nullptr;
}

void SActiveX::SetHostCapture(BOOL capture)
{
    if (capture)
        TakeMouseCapture();
    else
        DropMouseCapture();
}

int SActiveX::CreateActiveX()
{
    int result = HandleCreate();
    if (result != 0 || IsEqualCLSID(m_clsid, GUID_NULL) || m_delay)
        return result;
    InitActiveX();
    return 0;
}

void SActiveX::ShowActiveX(BOOL show, int reason)
{
    HandleShow(show, reason);
    BOOL visible = TestVisible(TRUE);
    if (visible && m_delay) {
        InitActiveX();
        m_delay = 0;
    }
    SetActiveXVisible(visible);
}

void SActiveX::Paint(IRenderTarget* rt)
{
    HDC dc = rt->GetDC(0);
    m_site->Draw(dc, &m_windowRect);
    rt->ReleaseDC(dc);
}

BOOL SActiveX::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    *result = 0;
    if (IsMouseMessage(msg) || IsKeyMessage(msg)) {
        if (!m_site->Control())
            return TRUE;
        if (msg == WM_LBUTTONDOWN)
            TakeFocus();
        *result = m_site->FireWindowMessage(msg, wParam, lParam);
        return TRUE;
    }
    switch (msg) {
    case WM_CREATE: *result = CreateActiveX(); return TRUE;
    case WM_SIZE:
        SWindow::HandleMessage(msg, wParam, lParam, result);
        if (m_site->Control())
            m_site->OnPosRectChange(&m_windowRect);
        return TRUE;
    case WM_SHOWWINDOW: ShowActiveX(static_cast<BOOL>(wParam), static_cast<int>(lParam)); return TRUE;
    case WM_PAINT: Paint(reinterpret_cast<IRenderTarget*>(wParam)); return TRUE;
    case WM_DESTROY:
        // The control goes while the host it may call back into is still there.
        m_site->ReleaseControl();
        return SWindow::HandleMessage(msg, wParam, lParam, result);
    default: return SWindow::HandleMessage(msg, wParam, lParam, result);
    }
}

// ---- SFlashCtrl ----

SFlashCtrl::SFlashCtrl() : m_player(nullptr)
{
    m_clsid = kFlashClsid;
}

SFlashCtrl::~SFlashCtrl()
{
    if (m_player)
        m_player->Release();
}

HRESULT SFlashCtrl::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    if (!Is(name, L"url"))
        return SActiveX::ApplyAttribute(name, value, loading);
    m_url = value;
    if (!loading)
        SetMovieUrl(value);
    return AfterAttribute(name, value, loading, S_FALSE);
}

BOOL SFlashCtrl::SetMovieUrl(const SStringW& url)
{
    if (!m_player)
        return FALSE;
    m_url = url;
    return SUCCEEDED(PutProperty(kMovieProperty, url));
}

void SFlashCtrl::OnAxActivate(IUnknown* control)
{
    if (m_player)
        m_player->Release();
    m_player = nullptr;
    if (FAILED(control->QueryInterface(kFlashIid, reinterpret_cast<void**>(&m_player))) || !m_player)
        return;
    PutProperty(kWindowModeProperty, SStringW(kTransparentMode));
    if (!m_url.IsEmptyText())
        PutProperty(kMovieProperty, m_url);
}

// Sets a text property of the player through its dispatch interface.
HRESULT SFlashCtrl::PutProperty(const wchar_t* name, const SStringW& value)
{
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    HRESULT hr = m_player->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr))
        return hr;
    VARIANT argument;
    ::VariantInit(&argument);
    argument.vt = VT_BSTR;
    argument.bstrVal = ::SysAllocStringLen(value.c_str(), static_cast<UINT>(value.Length()));
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params = {&argument, &named, 1, 1};
    hr = m_player->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params, nullptr, nullptr,
                          nullptr);
    ::VariantClear(&argument);
    return hr;
}

} // namespace SKEIN
