#pragma once
// The COM side of the ActiveX host: one object that is both the container and the site of one
// windowless control. It creates the control, activates it in place without a window of its
// own, draws it through its view object, forwards window messages to it and releases it in
// order. What it needs of the hosting window goes through IAxHostDelegate.
#include <windows.h>
#include <ocidl.h>
#include <oleidl.h>
#include <servprov.h>
#include <urlmon.h>

namespace SKEIN {

// What the site asks of the window that hosts the control.
struct IAxHostDelegate {
    virtual HWND GetHostWindow() = 0;
    virtual void OnControlActivated(IUnknown* control) = 0;
    virtual void InvalidateHostRect(const RECT* rect, BOOL erase) = 0;
    virtual void SetHostCapture(BOOL capture) = 0;
    // S_FALSE: the host gives out no device context.
    virtual HRESULT GetHostDC(const RECT* rect, DWORD flags, HDC* dc) = 0;
    virtual HRESULT ReleaseHostDC(HDC dc) = 0;
};

// The container parts: nothing to enumerate or parse, URL monikers for the control's data, and
// the services that lead back to the object itself. IUnknown comes from SAxContainerImpl.
class SAxContainer : public IOleContainer, public IBindHost, public IServiceProvider, public IDispatch {
public:
    virtual ~SAxContainer() {}

    // IParseDisplayName, IOleContainer
    STDMETHODIMP ParseDisplayName(IBindCtx*, LPOLESTR, ULONG*, IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP EnumObjects(DWORD, IEnumUnknown**) override { return E_NOTIMPL; }
    STDMETHODIMP LockContainer(BOOL) override { return E_NOTIMPL; }

    // IBindHost
    STDMETHODIMP CreateMoniker(LPOLESTR name, IBindCtx* context, IMoniker** moniker, DWORD reserved) override;
    STDMETHODIMP MonikerBindToStorage(IMoniker* moniker, IBindCtx* context, IBindStatusCallback* callback,
                                      REFIID iid, void** object) override;
    STDMETHODIMP MonikerBindToObject(IMoniker*, IBindCtx*, IBindStatusCallback*, REFIID, void**) override
    {
        return E_NOTIMPL;
    }

    // IServiceProvider
    STDMETHODIMP QueryService(REFGUID service, REFIID iid, void** object) override;

    // IDispatch
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }
};

// The site parts and the control: creation, activation, drawing, messages and teardown.
class ActiveXSite : public IOleClientSite, public IOleControlSite, public IOleInPlaceSiteWindowless,
                    public IAdviseSink {
public:
    explicit ActiveXSite(IAxHostDelegate* host);
    virtual ~ActiveXSite();

    // CoCreateInstance of the class; the control is kept when it is created.
    HRESULT CreateControl(const CLSID& clsid, DWORD clsContext);
    void SetControl(IUnknown* control);
    // Client site, persistence (stream or new), then ActivateControl.
    HRESULT ActivateAx(IStream* stream);
    // Draws the control into dc at the position rectangle when rect (none: always) meets it.
    HRESULT Draw(HDC dc, const RECT* rect);
    // The message to an in-place active windowless control; 0 otherwise.
    LRESULT FireWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    // Undoes the activation and lets the control go; nothing without a control.
    void ReleaseControl();

    IUnknown* Control() const { return m_control; }
    bool IsInPlaceActive() const { return m_inPlaceActive != 0; }
    const RECT& PosRect() const { return m_posRect; }

    // IOleClientSite
    STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP GetContainer(IOleContainer** container) override;
    STDMETHODIMP ShowObject() override;
    STDMETHODIMP OnShowWindow(BOOL show) override;
    STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleControlSite
    STDMETHODIMP OnControlInfoChanged() override { return S_OK; }
    STDMETHODIMP LockInPlaceActive(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP GetExtendedControl(IDispatch**) override { return E_NOTIMPL; }
    STDMETHODIMP TransformCoords(POINTL*, POINTF*, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP TranslateAccelerator(MSG*, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP OnFocus(BOOL) override { return S_OK; }
    STDMETHODIMP ShowPropertyFrame() override { return E_NOTIMPL; }

    // IOleWindow, IOleInPlaceSite
    STDMETHODIMP GetWindow(HWND* hwnd) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnUIActivate() override { return S_OK; }
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT posRect,
                                  LPRECT clipRect, LPOLEINPLACEFRAMEINFO frameInfo) override;
    STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
    STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnInPlaceDeactivate() override { return OnInPlaceDeactivateEx(TRUE); }
    STDMETHODIMP DiscardUndoState() override { return E_NOTIMPL; }
    STDMETHODIMP DeactivateAndUndo() override { return E_NOTIMPL; }
    STDMETHODIMP OnPosRectChange(LPCRECT rect) override;

    // IOleInPlaceSiteEx
    STDMETHODIMP OnInPlaceActivateEx(BOOL* noRedraw, DWORD flags) override;
    STDMETHODIMP OnInPlaceDeactivateEx(BOOL) override;
    STDMETHODIMP RequestUIActivate() override { return S_OK; }

    // IOleInPlaceSiteWindowless
    STDMETHODIMP CanWindowlessActivate() override { return S_OK; }
    STDMETHODIMP GetCapture() override { return m_capture ? S_OK : S_FALSE; }
    STDMETHODIMP SetCapture(BOOL capture) override;
    STDMETHODIMP GetFocus() override { return m_focus ? S_OK : S_FALSE; }
    STDMETHODIMP SetFocus(BOOL focus) override;
    STDMETHODIMP GetDC(LPCRECT rect, DWORD flags, HDC* dc) override;
    STDMETHODIMP ReleaseDC(HDC dc) override;
    STDMETHODIMP InvalidateRect(LPCRECT rect, BOOL erase) override;
    STDMETHODIMP InvalidateRgn(HRGN, BOOL erase) override { return InvalidateRect(nullptr, erase); }
    STDMETHODIMP ScrollRect(INT, INT, LPCRECT, LPCRECT) override { return E_NOTIMPL; }
    STDMETHODIMP AdjustRect(LPRECT) override { return E_NOTIMPL; }
    STDMETHODIMP OnDefWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    // IAdviseSink: no notification changes anything.
    STDMETHODIMP_(void) OnDataChange(FORMATETC*, STGMEDIUM*) override {}
    STDMETHODIMP_(void) OnViewChange(DWORD, LONG) override {}
    STDMETHODIMP_(void) OnRename(IMoniker*) override {}
    STDMETHODIMP_(void) OnSave() override {}
    STDMETHODIMP_(void) OnClose() override {}

private:
    // Kinds of view object, by the richest interface the control answers.
    enum { kViewNone = 0, kViewObject = 1, kViewObject2 = 3, kViewObjectEx = 7 };

    HRESULT InitPersistence(IStream* stream);
    HRESULT ActivateControl();
    HRESULT InPlaceActivate();
    // The extent in pixels to the control, and its answer back into the position rectangle.
    HRESULT SetExtent(int width, int height);
    HWND HostWindow() const { return m_host->GetHostWindow(); }

    BYTE m_visible;
    BYTE m_inPlaceActive;
    int m_focus;
    int m_capture;
    DWORD m_miscStatus;
    int m_viewKind;
    DWORD m_adviseConnection;
    RECT m_posRect;
    IUnknown* m_control;
    IViewObject* m_viewObject;
    IOleObject* m_oleObject;
    IOleInPlaceObject* m_inPlaceObject;
    IOleInPlaceObjectWindowless* m_windowless;
    IAxHostDelegate* m_host;
};

// The one COM object: both parts behind one reference count that frees nothing, since the
// object lives exactly as long as the window that owns it.
class SAxContainerImpl : public SAxContainer, public ActiveXSite {
public:
    explicit SAxContainerImpl(IAxHostDelegate* host) : ActiveXSite(host), m_refs(1) {}
    // Lets the control go first.
    ~SAxContainerImpl() override { ReleaseControl(); }

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&m_refs)); }
    STDMETHODIMP_(ULONG) Release() override { return static_cast<ULONG>(::InterlockedDecrement(&m_refs)); }

private:
    LONG m_refs;
};

} // namespace SKEIN
