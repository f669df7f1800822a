#include "CDIGameCntrlPropSheet.h"

#include "ComServer.h"
#include "SheetControls.h"
#include "SheetPages.h"
#include "resource.h"

namespace pelko {
namespace {

const char kCaption[] = "TAMBRO RACING WHEEL";
const UINT kCaptionBytes = 128;

struct PageEntry {
    WORD dialog;
    DLGPROC procedure;
};

const PageEntry kPageTable[kPageCount] = {
    {IDD_BASE_TEST, BaseTestPageProc},
    {IDD_CALIBRATION, CalibrationPageProc},
    {IDD_VIBRATION_TEST, VibrationPageProc},
    {IDD_ABOUT, AboutPageProc},
};

LPWSTR ResourceId(WORD id) { return reinterpret_cast<LPWSTR>(ULONG_PTR(id)); }

template <class T>
void Store(T*& slot, T* object)
{
    if (object)
        object->AddRef();
    if (slot)
        slot->Release();
    slot = object;
}

template <class T>
void Drop(T*& slot)
{
    if (!slot)
        return;
    slot->Unacquire();
    slot->Release();
    slot = nullptr;
}

} // namespace

CDIGameCntrlPropSheet::CDIGameCntrlPropSheet()
{
    AddRef();
    AcquireSheetControls(ComServer::Module());
    ComServer::LockModule();
}

CDIGameCntrlPropSheet::~CDIGameCntrlPropSheet()
{
    Drop(device_);
    Drop(config_);
    ReleaseSheetControls(ComServer::Module());
    LocalFree(sheet_.caption);
    ComServer::UnlockModule();
}

HRESULT CDIGameCntrlPropSheet::QueryInterface(REFIID iid, void** out)
{
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDIGameCntrlPropSheet)) {
        *out = static_cast<IDIGameCntrlPropSheet*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG CDIGameCntrlPropSheet::AddRef()
{
    return ULONG(InterlockedIncrement(&references_));
}

ULONG CDIGameCntrlPropSheet::Release()
{
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0)
        delete this;
    return ULONG(left);
}

HRESULT CDIGameCntrlPropSheet::GetSheetInfo(DIGCSHEETINFO** info)
{
    *info = &sheet_;
    return S_OK;
}

HRESULT CDIGameCntrlPropSheet::GetPageInfo(DIGCPAGEINFO** pages)
{
    *pages = pages_;
    return S_OK;
}

HRESULT CDIGameCntrlPropSheet::SetID(USHORT id)
{
    id_ = id;
    return S_OK;
}

HRESULT CDIGameCntrlPropSheet::Initialize()
{
    for (int i = 0; i < kPageCount; ++i) {
        DIGCPAGEINFO& page = pages_[i];
        page = {};
        page.size = sizeof(DIGCPAGEINFO);
        page.procedure = kPageTable[i].procedure;
        page.iconFlag = TRUE;
        page.icon = ResourceId(IDI_SHEET);
        page.dialogTemplate = ResourceId(kPageTable[i].dialog);
        page.parameter = LPARAM(this);
        page.module = ComServer::Module();
    }
    sheet_.size = sizeof(DIGCSHEETINFO);
    sheet_.pageCount = kPageCount;
    sheet_.iconFlag = TRUE;
    sheet_.icon = ResourceId(IDI_SHEET);

    LocalFree(sheet_.caption);
    sheet_.caption = static_cast<LPWSTR>(LocalAlloc(LPTR, kCaptionBytes));
    if (!sheet_.caption)
        return E_OUTOFMEMORY;
    MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, kCaption, -1, sheet_.caption,
                        kCaptionBytes / sizeof(WCHAR));
    return S_OK;
}

USHORT CDIGameCntrlPropSheet::GetID()
{
    return id_;
}

HRESULT CDIGameCntrlPropSheet::GetDevice(IDirectInputDevice2A** device)
{
    *device = device_;
    return S_OK;
}

HRESULT CDIGameCntrlPropSheet::SetDevice(IDirectInputDevice2A* device)
{
    Store(device_, device);
    return S_OK;
}

HRESULT CDIGameCntrlPropSheet::GetJoyConfig(IDirectInputJoyConfig** config)
{
    *config = config_;
    return S_OK;
}

HRESULT CDIGameCntrlPropSheet::SetJoyConfig(IDirectInputJoyConfig* config)
{
    Store(config_, config);
    return S_OK;
}

} // namespace pelko
