#pragma once
// A windowless control of the tests' own, served from the test process through
// CoRegisterClassObject: it logs what its host calls in order, activates in place through its
// site, draws a solid colour and answers window messages. Options make it refuse persistence,
// ask for its site first, stay visible-less at run time, own a native window, or answer the
// player's dispatch interface with a dispatch that logs property puts.
#include <windows.h>
#include <ocidl.h>
#include <oleidl.h>
#include <string>
#include <vector>

namespace axtest {

const CLSID kFakeClsid = {0x6A1E0C55, 0x2F0B, 0x4C7E, {0x9B, 0x1D, 0x3E, 0x52, 0x71, 0x0A, 0xC4, 0x19}};
const CLSID kPlayerClsid = {0xD27CDB6E, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const IID kPlayerIid = {0xD27CDB6C, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const COLORREF kControlColor = RGB(0, 160, 0);

struct AxOptions {
    DWORD miscStatus = 0;
    bool persistStreamInit = true;
    bool player = false;
    HWND window = nullptr; // what IOleWindow::GetWindow answers; none: E_FAIL
};

class FakeControl;

// What every control of one factory did.
struct AxRecord {
    std::vector<std::string> calls;
    std::vector<UINT> messages;
    std::vector<LPARAM> messagePoints;
    int created = 0;
    int alive = 0;
    int draws = 0;
    FakeControl* last = nullptr;

    // Index of the first call named so, -1 when none.
    int Find(const std::string& call) const
    {
        for (size_t i = 0; i < calls.size(); ++i) {
            if (calls[i] == call)
                return static_cast<int>(i);
        }
        return -1;
    }
};

class FakeControl : public IOleObject, public IOleInPlaceObjectWindowless, public IViewObject2,
                    public IPersistStreamInit, public IDispatch {
public:
    FakeControl(const AxOptions& options, AxRecord& record) : m_options(options), m_record(record)
    {
        ++m_record.created;
        ++m_record.alive;
        m_record.last = this;
    }
    virtual ~FakeControl()
    {
        --m_record.alive;
        if (m_record.last == this)
            m_record.last = nullptr;
    }

    IOleClientSite* ClientSite() const { return m_clientSite; }
    IOleInPlaceSiteWindowless* InPlaceSite() const { return m_inPlaceSite; }
    SIZEL Extent() const { return m_extent; }
    RECT ObjectRect() const { return m_objectRect; }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override
    {
        *object = nullptr;
        if (iid == IID_IUnknown || iid == IID_IOleObject)
            *object = static_cast<IOleObject*>(this);
        else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceObject || iid == IID_IOleInPlaceObjectWindowless)
            *object = static_cast<IOleInPlaceObjectWindowless*>(this);
        else if (iid == IID_IViewObject || iid == IID_IViewObject2)
            *object = static_cast<IViewObject2*>(this);
        else if ((iid == IID_IPersistStreamInit || iid == IID_IPersist) && m_options.persistStreamInit)
            *object = static_cast<IPersistStreamInit*>(this);
        else if (iid == kPlayerIid && m_options.player)
            *object = static_cast<IDispatch*>(this);
        else
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_refs; }
    STDMETHODIMP_(ULONG) Release() override
    {
        ULONG left = --m_refs;
        if (left == 0)
            delete this;
        return left;
    }

    // IOleObject
    STDMETHODIMP SetClientSite(IOleClientSite* site) override
    {
        m_record.calls.push_back(site ? "SetClientSite(site)" : "SetClientSite(null)");
        if (site)
            site->AddRef();
        if (m_clientSite)
            m_clientSite->Release();
        m_clientSite = site;
        return S_OK;
    }
    STDMETHODIMP GetClientSite(IOleClientSite**) override { return E_NOTIMPL; }
    STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    STDMETHODIMP Close(DWORD option) override
    {
        m_record.calls.push_back("Close(" + std::to_string(option) + ")");
        return S_OK;
    }
    STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
    STDMETHODIMP DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND, LPCRECT) override
    {
        m_record.calls.push_back("DoVerb(" + std::to_string(verb) + ")");
        if (verb != OLEIVERB_INPLACEACTIVATE || !site)
            return E_NOTIMPL;
        IOleInPlaceSiteWindowless* inPlace = nullptr;
        if (FAILED(site->QueryInterface(IID_IOleInPlaceSiteWindowless, reinterpret_cast<void**>(&inPlace))))
            return E_FAIL;
        BOOL noRedraw = TRUE;
        HRESULT hr = inPlace->OnInPlaceActivateEx(&noRedraw, ACTIVATE_WINDOWLESS);
        m_record.calls.push_back("OnInPlaceActivateEx=" + std::to_string(hr));
        if (m_inPlaceSite)
            m_inPlaceSite->Release();
        m_inPlaceSite = inPlace;
        return S_OK;
    }
    STDMETHODIMP EnumVerbs(IEnumOLEVERB**) override { return E_NOTIMPL; }
    STDMETHODIMP Update() override { return S_OK; }
    STDMETHODIMP IsUpToDate() override { return S_OK; }
    STDMETHODIMP GetUserClassID(CLSID*) override { return E_NOTIMPL; }
    STDMETHODIMP GetUserType(DWORD, LPOLESTR*) override { return E_NOTIMPL; }
    STDMETHODIMP SetExtent(DWORD, SIZEL* size) override
    {
        m_record.calls.push_back("SetExtent");
        m_extent = *size;
        return S_OK;
    }
    STDMETHODIMP GetExtent(DWORD, SIZEL* size) override
    {
        m_record.calls.push_back("GetExtent");
        *size = m_extent;
        return S_OK;
    }
    STDMETHODIMP Advise(IAdviseSink* sink, DWORD* connection) override
    {
        m_record.calls.push_back(sink ? "Advise(sink)" : "Advise(null)");
        *connection = 5;
        return S_OK;
    }
    STDMETHODIMP Unadvise(DWORD connection) override
    {
        m_record.calls.push_back("Unadvise(" + std::to_string(connection) + ")");
        return S_OK;
    }
    STDMETHODIMP EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
    STDMETHODIMP GetMiscStatus(DWORD, DWORD* status) override
    {
        m_record.calls.push_back("GetMiscStatus");
        *status = m_options.miscStatus;
        return S_OK;
    }
    STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

    // IOleWindow, IOleInPlaceObject, IOleInPlaceObjectWindowless
    STDMETHODIMP GetWindow(HWND* hwnd) override
    {
        *hwnd = m_options.window;
        return m_options.window ? S_OK : E_FAIL;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP InPlaceDeactivate() override
    {
        m_record.calls.push_back("InPlaceDeactivate");
        if (m_inPlaceSite) {
            m_inPlaceSite->OnInPlaceDeactivate();
            m_inPlaceSite->Release();
            m_inPlaceSite = nullptr;
        }
        return S_OK;
    }
    STDMETHODIMP UIDeactivate() override { return S_OK; }
    STDMETHODIMP SetObjectRects(LPCRECT position, LPCRECT) override
    {
        m_record.calls.push_back("SetObjectRects");
        m_objectRect = *position;
        return S_OK;
    }
    STDMETHODIMP ReactivateAndUndo() override { return E_NOTIMPL; }
    STDMETHODIMP OnWindowMessage(UINT msg, WPARAM, LPARAM lParam, LRESULT* result) override
    {
        m_record.messages.push_back(msg);
        m_record.messagePoints.push_back(lParam);
        *result = msg == WM_LBUTTONDOWN ? 77 : 0;
        return S_OK;
    }
    STDMETHODIMP GetDropTarget(IDropTarget**) override { return E_NOTIMPL; }

    // IViewObject, IViewObject2
    STDMETHODIMP Draw(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc, LPCRECTL bounds, LPCRECTL,
                      BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) override
    {
        ++m_record.draws;
        RECT rect = {bounds->left, bounds->top, bounds->right, bounds->bottom};
        HBRUSH brush = ::CreateSolidBrush(kControlColor);
        ::FillRect(dc, &rect, brush);
        ::DeleteObject(brush);
        return S_OK;
    }
    STDMETHODIMP GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE**) override { return E_NOTIMPL; }
    STDMETHODIMP Freeze(DWORD, LONG, void*, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP Unfreeze(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP SetAdvise(DWORD, DWORD, IAdviseSink* sink) override
    {
        m_record.calls.push_back(sink ? "SetAdvise(sink)" : "SetAdvise(null)");
        return S_OK;
    }
    STDMETHODIMP GetAdvise(DWORD*, DWORD*, IAdviseSink**) override { return E_NOTIMPL; }
    STDMETHODIMP GetExtent(DWORD, LONG, DVTARGETDEVICE*, LPSIZEL) override { return E_NOTIMPL; }

    // IPersist, IPersistStreamInit
    STDMETHODIMP GetClassID(CLSID* clsid) override
    {
        *clsid = kFakeClsid;
        return S_OK;
    }
    STDMETHODIMP IsDirty() override { return S_FALSE; }
    STDMETHODIMP Load(LPSTREAM) override { return E_NOTIMPL; }
    STDMETHODIMP Save(LPSTREAM, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP GetSizeMax(ULARGE_INTEGER*) override { return E_NOTIMPL; }
    STDMETHODIMP InitNew() override
    {
        m_record.calls.push_back("InitNew");
        return S_OK;
    }

    // IDispatch of the player: property puts of text values are logged as "name=value".
    STDMETHODIMP GetTypeInfoCount(UINT* count) override
    {
        *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override
    {
        for (UINT i = 0; i < count; ++i) {
            m_names.push_back(names[i]);
            ids[i] = static_cast<DISPID>(m_names.size());
        }
        return S_OK;
    }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) override
    {
        if (!(flags & DISPATCH_PROPERTYPUT) || id < 1 || id > static_cast<DISPID>(m_names.size()) || params->cArgs != 1
            || params->rgvarg[0].vt != VT_BSTR)
            return DISP_E_MEMBERNOTFOUND;
        std::wstring text = m_names[id - 1] + L"=" + params->rgvarg[0].bstrVal;
        m_record.calls.push_back(std::string(text.begin(), text.end()));
        return S_OK;
    }

private:
    const AxOptions& m_options; // the factory's, which tests may change meanwhile
    AxRecord& m_record;
    ULONG m_refs = 1;
    IOleClientSite* m_clientSite = nullptr;
    IOleInPlaceSiteWindowless* m_inPlaceSite = nullptr;
    SIZEL m_extent = {0, 0};
    RECT m_objectRect = {0, 0, 0, 0};
    std::vector<std::wstring> m_names;
};

// The class object, registered for one class identifier while it lives.
class FakeFactory : public IClassFactory {
public:
    FakeFactory(const CLSID& clsid, const AxOptions& options) : options(options)
    {
        ::CoRegisterClassObject(clsid, this, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &m_cookie);
    }
    virtual ~FakeFactory() { ::CoRevokeClassObject(m_cookie); }

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override
    {
        *object = nullptr;
        if (iid != IID_IUnknown && iid != IID_IClassFactory)
            return E_NOINTERFACE;
        *object = this;
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** object) override
    {
        if (outer)
            return CLASS_E_NOAGGREGATION;
        FakeControl* control = new FakeControl(options, record);
        HRESULT hr = control->QueryInterface(iid, object);
        control->Release();
        return hr;
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }

    AxOptions options;
    AxRecord record;

private:
    DWORD m_cookie = 0;
};

} // namespace axtest
