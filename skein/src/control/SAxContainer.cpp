// The container and site object of the ActiveX host.
#include "control/SAxContainer.h"
#include "core/SComponentFactory.h"

namespace SKEIN {

namespace {

// Services answered by the object itself: the bind host, the browser application and the
// control host.
const GUID kServiceBindHost = {0xFC4801A1, 0x2BA9, 0x11CF, {0xA2, 0x29, 0x00, 0xAA, 0x00, 0x3D, 0x73, 0x52}};
const GUID kServiceBrowserApp = {0x0002DF05, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const GUID kServiceControlHost = {0x1B36028E, 0xB491, 0x4BB2, {0x85, 0x84, 0x8A, 0x9E, 0x0A, 0x67, 0x7D, 0x6E}};

const DWORD kUrlMonikerUniform = 1; // URL_MK_UNIFORM

typedef HRESULT(WINAPI* CreateUrlMonikerExFn)(IMoniker*, LPCWSTR, IMoniker**, DWORD);
typedef HRESULT(WINAPI* RegisterBindStatusCallbackFn)(IBindCtx*, IBindStatusCallback*, IBindStatusCallback**, DWORD);

// An entry of urlmon.dll, loaded when no one has loaded it yet.
template <class Fn>
Fn UrlmonEntry(const char* name)
{
    HMODULE module = ::GetModuleHandleW(L"urlmon.dll");
    if (!module)
        module = ::LoadLibraryA("urlmon.dll");
    return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name))) : nullptr;
}

template <class T>
void ReleaseInterface(T*& object)
{
    if (object)
        object->Release();
    object = nullptr;
}

template <class T>
HRESULT QueryFrom(IUnknown* from, REFIID iid, T** object)
{
    *object = nullptr;
    return from ? from->QueryInterface(iid, reinterpret_cast<void**>(object)) : E_NOINTERFACE;
}

} // namespace

// ---- SAxContainer ----

STDMETHODIMP SAxContainer::CreateMoniker(LPOLESTR name, IBindCtx*, IMoniker** moniker, DWORD)
{
    auto create = UrlmonEntry<CreateUrlMonikerExFn>("CreateURLMonikerEx");
    return create ? create(nullptr, name, moniker, kUrlMonikerUniform) : E_FAIL;
}

STDMETHODIMP SAxContainer::MonikerBindToStorage(IMoniker* moniker, IBindCtx* context, IBindStatusCallback* callback,
                                                REFIID iid, void** object)
{
    if (!moniker || !object)
        return E_POINTER;
    IBindCtx* bind = context;
    if (bind) {
        bind->AddRef();
    } else {
        HRESULT hr = ::CreateBindCtx(0, &bind);
        if (FAILED(hr))
            return hr;
    }
    auto registerCallback = UrlmonEntry<RegisterBindStatusCallbackFn>("RegisterBindStatusCallback");
    if (callback && registerCallback)
        registerCallback(bind, callback, nullptr, 0);
    HRESULT hr = moniker->BindToStorage(bind, nullptr, iid, object);
    bind->Release();
    return hr;
}

STDMETHODIMP SAxContainer::QueryService(REFGUID service, REFIID iid, void** object)
{
    if (service == kServiceBindHost || service == kServiceBrowserApp || service == kServiceControlHost)
        return static_cast<IServiceProvider*>(this)->QueryInterface(iid, object);
    return E_FAIL;
}

STDMETHODIMP SAxContainer::GetTypeInfoCount(UINT* count)
{
    if (count)
        *count = 0;
    return S_OK;
}

// ---- ActiveXSite: the control ----

ActiveXSite::ActiveXSite(IAxHostDelegate* host)
    : m_visible(1), m_inPlaceActive(0), m_focus(0), m_capture(0), m_miscStatus(0), m_viewKind(kViewNone),
      m_adviseConnection(0), m_posRect{0, 0, 0, 0}, m_control(nullptr), m_viewObject(nullptr), m_oleObject(nullptr),
      m_inPlaceObject(nullptr), m_windowless(nullptr), m_host(host)
{
}

ActiveXSite::~ActiveXSite()
{
    ReleaseControl();
}

HRESULT ActiveXSite::CreateControl(const CLSID& clsid, DWORD clsContext)
{
    IUnknown* control = nullptr;
    HRESULT hr = ::CoCreateInstance(clsid, nullptr, clsContext, IID_IUnknown, reinterpret_cast<void**>(&control));
    if (SUCCEEDED(hr) && control) {
        SetControl(control);
        control->Release();
    }
    return hr;
}

void ActiveXSite::SetControl(IUnknown* control)
{
    ReleaseControl();
    m_control = control;
    m_control->AddRef();
    QueryFrom(m_control, IID_IOleObject, &m_oleObject);
    QueryFrom(m_control, IID_IOleInPlaceObject, &m_inPlaceObject);
}

HRESULT ActiveXSite::ActivateAx(IStream* stream)
{
    if (!m_oleObject)
        return E_UNEXPECTED;
    m_oleObject->GetMiscStatus(DVASPECT_CONTENT, &m_miscStatus);
    bool siteFirst = (m_miscStatus & OLEMISC_SETCLIENTSITEFIRST) != 0;
    HRESULT hr = siteFirst ? m_oleObject->SetClientSite(this) : S_OK;
    if (FAILED(hr))
        return hr;
    hr = InitPersistence(stream);
    if (FAILED(hr)) {
        if (siteFirst)
            m_oleObject->SetClientSite(nullptr);
        return hr;
    }
    if (!siteFirst) {
        hr = m_oleObject->SetClientSite(this);
        if (FAILED(hr))
            return hr;
    }
    return ActivateControl();
}

HRESULT ActiveXSite::InitPersistence(IStream* stream)
{
    IPersistStreamInit* init = nullptr;
    if (SUCCEEDED(QueryFrom(m_control, IID_IPersistStreamInit, &init))) {
        HRESULT hr = stream ? init->Load(stream) : init->InitNew();
        init->Release();
        return hr;
    }
    if (!stream)
        return E_POINTER;
    IPersistStream* persist = nullptr;
    HRESULT hr = QueryFrom(m_control, IID_IPersistStream, &persist);
    if (SUCCEEDED(hr)) {
        hr = persist->Load(stream);
        persist->Release();
    }
    return hr;
}

HRESULT ActiveXSite::ActivateControl()
{
    m_host->OnControlActivated(m_control);
    if (SUCCEEDED(QueryFrom(m_oleObject, IID_IViewObjectEx, reinterpret_cast<IViewObjectEx**>(&m_viewObject))))
        m_viewKind = kViewObjectEx;
    else if (SUCCEEDED(QueryFrom(m_oleObject, IID_IViewObject2, reinterpret_cast<IViewObject2**>(&m_viewObject))))
        m_viewKind = kViewObject2;
    else if (SUCCEEDED(QueryFrom(m_oleObject, IID_IViewObject, &m_viewObject)))
        m_viewKind = kViewObject;
    else
        m_viewKind = kViewNone;
    if (FAILED(m_oleObject->Advise(this, &m_adviseConnection)))
        m_adviseConnection = 0;
    if (m_viewObject)
        m_viewObject->SetAdvise(DVASPECT_CONTENT, 0, this);
    return InPlaceActivate();
}

HRESULT ActiveXSite::InPlaceActivate()
{
    if (m_miscStatus & (OLEMISC_INVISIBLEATRUNTIME | OLEMISC_NOUIACTIVATE))
        return S_FALSE;
    if (!m_oleObject)
        return E_FAIL;
    HRESULT hr = m_oleObject->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, this, 0, HostWindow(), &m_posRect);
    if (FAILED(hr))
        return E_UNEXPECTED;
    m_inPlaceActive = 1;
    return hr;
}

HRESULT ActiveXSite::SetExtent(int width, int height)
{
    if (!m_oleObject)
        return E_UNEXPECTED;
    SIZE pixels = {width, height};
    SIZEL himetric = {0, 0};
    PixelsToHimetric(&pixels, &himetric);
    m_oleObject->SetExtent(DVASPECT_CONTENT, &himetric);
    HRESULT hr = m_oleObject->GetExtent(DVASPECT_CONTENT, &himetric);
    if (FAILED(hr))
        return hr;
    HimetricToPixels(&himetric, &pixels);
    m_posRect.right = m_posRect.left + pixels.cx;
    m_posRect.bottom = m_posRect.top + pixels.cy;
    return hr;
}

HRESULT ActiveXSite::Draw(HDC dc, const RECT* rect)
{
    RECT common;
    // Any overlap counts, also a strip that crosses the control without holding a corner of it.
    if (rect && !::IntersectRect(&common, rect, &m_posRect))
        return S_FALSE;
    // A control that is not in place active is not drawn.
    if (!m_visible || !m_viewObject || !m_inPlaceActive)
        return S_FALSE;
    RECTL bounds = {m_posRect.left, m_posRect.top, m_posRect.right, m_posRect.bottom};
    return m_viewObject->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, &bounds, nullptr, nullptr, 0);
}

LRESULT ActiveXSite::FireWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (m_inPlaceActive && m_windowless)
        m_windowless->OnWindowMessage(msg, wParam, lParam, &result);
    return result;
}

void ActiveXSite::ReleaseControl()
{
    if (!m_control)
        return;
    if (m_viewObject)
        m_viewObject->SetAdvise(DVASPECT_CONTENT, 0, nullptr);
    ReleaseInterface(m_viewObject);
    m_viewKind = kViewNone;
    ReleaseInterface(m_windowless);
    if (m_inPlaceObject && m_inPlaceActive) {
        m_inPlaceObject->InPlaceDeactivate();
        m_inPlaceActive = 0;
    }
    ReleaseInterface(m_inPlaceObject);
    if (m_oleObject) {
        if (m_adviseConnection)
            m_oleObject->Unadvise(m_adviseConnection);
        m_adviseConnection = 0;
        m_oleObject->SetClientSite(nullptr);
        m_oleObject->Close(OLECLOSE_NOSAVE);
    }
    ReleaseInterface(m_oleObject);
    ReleaseInterface(m_control);
}

// ---- ActiveXSite: site interfaces ----

STDMETHODIMP ActiveXSite::GetContainer(IOleContainer** container)
{
    if (!container)
        return E_POINTER;
    return static_cast<IOleClientSite*>(this)->QueryInterface(IID_IOleContainer, reinterpret_cast<void**>(container));
}

STDMETHODIMP ActiveXSite::ShowObject()
{
    if (!::IsWindow(HostWindow()) || ::IsRectEmpty(&m_posRect))
        return E_FAIL;
    m_visible = 1;
    if (!m_inPlaceActive)
        return E_FAIL;
    m_host->InvalidateHostRect(&m_posRect, TRUE);
    return S_OK;
}

STDMETHODIMP ActiveXSite::OnShowWindow(BOOL show)
{
    m_visible = show ? 1 : 0;
    return S_OK;
}

STDMETHODIMP ActiveXSite::GetWindow(HWND* hwnd)
{
    if (!hwnd)
        return E_POINTER;
    *hwnd = HostWindow();
    return S_OK;
}

STDMETHODIMP ActiveXSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT posRect,
                                           LPRECT clipRect, LPOLEINPLACEFRAMEINFO frameInfo)
{
    if (frame)
        *frame = nullptr;
    if (document)
        *document = nullptr;
    if (posRect)
        *posRect = m_posRect;
    if (clipRect)
        *clipRect = m_posRect;
    if (frameInfo) {
        frameInfo->fMDIApp = FALSE;
        frameInfo->hwndFrame = HostWindow();
        frameInfo->haccel = nullptr;
        frameInfo->cAccelEntries = 0;
    }
    return S_OK;
}

STDMETHODIMP ActiveXSite::OnPosRectChange(LPCRECT rect)
{
    if (!rect || ::EqualRect(rect, &m_posRect))
        return S_OK;
    if (m_inPlaceObject) {
        m_posRect = *rect;
        HRESULT hr = m_inPlaceObject->SetObjectRects(rect, rect);
        if (FAILED(hr))
            return hr;
    }
    return SetExtent(m_posRect.right - m_posRect.left, m_posRect.bottom - m_posRect.top);
}

STDMETHODIMP ActiveXSite::OnInPlaceActivateEx(BOOL* noRedraw, DWORD flags)
{
    if (m_oleObject)
        ::OleLockRunning(m_oleObject, TRUE, FALSE);
    if (noRedraw)
        *noRedraw = FALSE;
    // Only windowless activation is accepted.
    if (!(flags & ACTIVATE_WINDOWLESS)) {
        m_inPlaceActive = 0;
        return S_FALSE;
    }
    ReleaseInterface(m_windowless);
    if (FAILED(QueryFrom(m_control, IID_IOleInPlaceObjectWindowless, &m_windowless)))
        return S_FALSE;
    m_inPlaceActive = 1;
    return S_OK;
}

STDMETHODIMP ActiveXSite::OnInPlaceDeactivateEx(BOOL)
{
    m_inPlaceActive = 0;
    return S_OK;
}

STDMETHODIMP ActiveXSite::SetCapture(BOOL capture)
{
    if ((capture != FALSE) != (m_capture != 0)) {
        m_capture = capture ? 1 : 0;
        m_host->SetHostCapture(capture);
    }
    return S_OK;
}

STDMETHODIMP ActiveXSite::SetFocus(BOOL focus)
{
    if ((focus != FALSE) != (m_focus != 0)) {
        m_focus = focus ? 1 : 0;
        m_host->InvalidateHostRect(&m_posRect, TRUE);
    }
    return S_OK;
}

STDMETHODIMP ActiveXSite::GetDC(LPCRECT rect, DWORD flags, HDC* dc)
{
    return m_host->GetHostDC(rect, flags, dc);
}

STDMETHODIMP ActiveXSite::ReleaseDC(HDC dc)
{
    return m_host->ReleaseHostDC(dc);
}

STDMETHODIMP ActiveXSite::InvalidateRect(LPCRECT rect, BOOL erase)
{
    m_host->InvalidateHostRect(rect ? rect : &m_posRect, erase);
    return S_OK;
}

STDMETHODIMP ActiveXSite::OnDefWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (!result)
        return E_POINTER;
    *result = ::DefWindowProcW(HostWindow(), msg, wParam, lParam);
    return S_OK;
}

// ---- SAxContainerImpl ----

STDMETHODIMP SAxContainerImpl::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (iid == IID_IUnknown || iid == IID_IDispatch)
        *object = static_cast<IDispatch*>(this);
    else if (iid == IID_IOleContainer || iid == IID_IParseDisplayName)
        *object = static_cast<IOleContainer*>(this);
    else if (iid == IID_IBindHost)
        *object = static_cast<IBindHost*>(this);
    else if (iid == IID_IServiceProvider)
        *object = static_cast<IServiceProvider*>(this);
    else if (iid == IID_IOleClientSite)
        *object = static_cast<IOleClientSite*>(this);
    else if (iid == IID_IOleControlSite)
        *object = static_cast<IOleControlSite*>(this);
    else if (iid == IID_IOleInPlaceSite || iid == IID_IOleInPlaceSiteEx || iid == IID_IOleInPlaceSiteWindowless)
        *object = static_cast<IOleInPlaceSiteWindowless*>(this);
    else if (iid == IID_IAdviseSink)
        *object = static_cast<IAdviseSink*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

} // namespace SKEIN
