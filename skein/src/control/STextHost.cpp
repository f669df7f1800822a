#include "control/STextHost.h"
#include <imm.h>
#include "control/SRichEdit.h"
#include "interface/SwndContainer-i.h"

namespace SKEIN {

namespace {

// The style bits the services read as their scroll-bar word.
const DWORD kScrollBarStyleMask = WS_VSCROLL | WS_HSCROLL | ES_DISABLENOSCROLL | ES_AUTOHSCROLL | ES_AUTOVSCROLL;

int PanelBarsOf(INT bar)
{
    switch (bar) {
    case SB_HORZ: return kPanelBarHorz;
    case SB_VERT: return kPanelBarVert;
    case SB_BOTH: return kPanelBarHorz | kPanelBarVert;
    default: return 0;
    }
}

} // namespace

STextHost::STextHost() : m_uiActive(0), m_ref(1), m_services(nullptr), m_owner(nullptr), m_caretX(0), m_caretY(0) {}

STextHost::~STextHost()
{
    if (m_services)
        m_services->Release();
}

BOOL STextHost::Init(SRichEdit* owner)
{
    m_owner = owner;
    STextServiceHelper* helper = STextServiceHelper::Current();
    FnCreateTextServices create = helper ? helper->CreateTextServicesEntry() : nullptr;
    IUnknown* unknown = nullptr;
    if (!create || FAILED(create(nullptr, this, &unknown)) || !unknown)
        return FALSE;
    HRESULT result = unknown->QueryInterface(kIidTextServices, reinterpret_cast<void**>(&m_services));
    unknown->Release();
    if (FAILED(result))
        m_services = nullptr;
    return m_services != nullptr;
}

DWORD STextHost::PropertyBits() const
{
    DWORD style = m_owner->m_editStyle;
    DWORD bits = 0;
    if (m_owner->m_rich)
        bits |= TXTBIT_RICHTEXT;
    if (style & ES_MULTILINE)
        bits |= TXTBIT_MULTILINE;
    if (style & ES_READONLY)
        bits |= TXTBIT_READONLY;
    if (style & ES_PASSWORD)
        bits |= TXTBIT_USEPASSWORD;
    if (!(style & ES_NOHIDESEL))
        bits |= TXTBIT_HIDESELECTION;
    if (m_owner->m_saveSelection)
        bits |= TXTBIT_SAVESELECTION;
    if (m_owner->m_autoWordSel)
        bits |= TXTBIT_AUTOWORDSEL;
    if (m_owner->m_vertical)
        bits |= TXTBIT_VERTICAL;
    if (m_owner->m_wordWrap)
        bits |= TXTBIT_WORDWRAP;
    if (m_owner->m_allowBeep)
        bits |= TXTBIT_ALLOWBEEP;
    return bits;
}

HWND STextHost::HostWindow() const
{
    ISwndContainer* container = m_owner ? m_owner->GetHostContainer() : nullptr;
    return container ? container->GetHostHwnd() : nullptr;
}

// ---- IUnknown ----

HRESULT STextHost::QueryInterface(REFIID iid, void** out)
{
    if (iid == IID_IUnknown || iid == kIidTextHost) {
        *out = static_cast<ITextHost*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG STextHost::AddRef()
{
    return ++m_ref;
}

ULONG STextHost::Release()
{
    ULONG left = --m_ref;
    if (left == 0)
        delete this;
    return left;
}

// ---- ITextHost ----

HDC STextHost::TxGetDC()
{
    return ::GetDC(nullptr);
}

INT STextHost::TxReleaseDC(HDC dc)
{
    return ::ReleaseDC(nullptr, dc);
}

WINBOOL STextHost::TxShowScrollBar(INT bar, WINBOOL show)
{
    return m_owner->SetScrollBarShown(PanelBarsOf(bar), show);
}

WINBOOL STextHost::TxEnableScrollBar(INT bars, INT arrows)
{
    return m_owner->EnableScrollBarBits(PanelBarsOf(bars), arrows == ESB_ENABLE_BOTH);
}

WINBOOL STextHost::TxSetScrollRange(INT bar, LONG minimum, INT maximum, WINBOOL redraw)
{
    return m_owner->SetScrollRangeOf(bar != SB_HORZ, minimum, maximum, redraw);
}

WINBOOL STextHost::TxSetScrollPos(INT bar, INT position, WINBOOL redraw)
{
    // A position the control is applying itself comes back from the services: nothing to do.
    if (m_owner->m_scrollPending)
        return TRUE;
    m_owner->m_scrollPending = 1;
    BOOL moved = m_owner->SetScrollPosition(bar != SB_HORZ, position, redraw);
    m_owner->m_scrollPending = 0;
    return moved;
}

void STextHost::TxInvalidateRect(LPCRECT rect, WINBOOL)
{
    if (rect)
        m_owner->InvalidateArea(rect);
    else
        m_owner->InvalidateClientArea();
}

void STextHost::TxViewChange(WINBOOL update)
{
    if (update)
        m_owner->InvalidateArea();
}

WINBOOL STextHost::TxCreateCaret(HBITMAP bitmap, INT width, INT height)
{
    return m_owner->CreateCaret(bitmap, width, height);
}

WINBOOL STextHost::TxShowCaret(WINBOOL show)
{
    if (show && !m_uiActive)
        return FALSE;
    ISwndContainer* container = m_owner->GetHostContainer();
    return container ? container->ShowCaret(show) : FALSE;
}

WINBOOL STextHost::TxSetCaretPos(INT x, INT y)
{
    m_caretX = x;
    m_caretY = y;
    ISwndContainer* container = m_owner->GetHostContainer();
    return container ? container->SetCaretPos(x, y) : FALSE;
}

WINBOOL STextHost::TxSetTimer(UINT id, UINT timeout)
{
    return m_owner->StartTimer2(id, timeout);
}

void STextHost::TxKillTimer(UINT id)
{
    m_owner->StopTimer2(id);
}

void STextHost::TxScrollWindowEx(INT, INT, LPCRECT, LPCRECT, HRGN, LPRECT, UINT)
{
    m_owner->InvalidateClientArea();
}

void STextHost::TxSetCapture(WINBOOL capture)
{
    if (capture)
        m_owner->TakeMouseCapture();
    else
        m_owner->DropMouseCapture();
}

void STextHost::TxSetFocus()
{
    m_owner->TakeFocus();
}

void STextHost::TxSetCursor(HCURSOR cursor, WINBOOL)
{
    ::SetCursor(cursor);
}

WINBOOL STextHost::TxScreenToClient(LPPOINT pt)
{
    return ::ScreenToClient(HostWindow(), pt);
}

WINBOOL STextHost::TxClientToScreen(LPPOINT pt)
{
    return ::ClientToScreen(HostWindow(), pt);
}

HRESULT STextHost::TxActivate(LONG* oldState)
{
    if (oldState)
        *oldState = m_uiActive;
    m_uiActive = 1;
    return S_OK;
}

HRESULT STextHost::TxDeactivate(LONG)
{
    m_uiActive = 0;
    return S_OK;
}

HRESULT STextHost::TxGetClientRect(LPRECT rect)
{
    m_owner->GetInnerRect(rect);
    return S_OK;
}

HRESULT STextHost::TxGetViewInset(LPRECT rect)
{
    *rect = m_owner->m_inset;
    return S_OK;
}

HRESULT STextHost::TxGetCharFormat(const CHARFORMATW** format)
{
    *format = reinterpret_cast<const CHARFORMATW*>(&m_owner->m_charFormat);
    return S_OK;
}

HRESULT STextHost::TxGetParaFormat(const PARAFORMAT** format)
{
    *format = &m_owner->m_paraFormat;
    return S_OK;
}

COLORREF STextHost::TxGetSysColor(int index)
{
    return ::GetSysColor(index);
}

HRESULT STextHost::TxGetBackStyle(TXTBACKSTYLE* style)
{
    *style = TXTBACK_TRANSPARENT;
    return S_OK;
}

HRESULT STextHost::TxGetMaxLength(DWORD* length)
{
    *length = m_owner->m_maxLength;
    return S_OK;
}

HRESULT STextHost::TxGetScrollBars(DWORD* bars)
{
    *bars = m_owner->m_editStyle & kScrollBarStyleMask;
    return S_OK;
}

HRESULT STextHost::TxGetPasswordChar(TCHAR* ch)
{
    *ch = m_owner->m_passwordChar;
    return S_OK;
}

HRESULT STextHost::TxGetAcceleratorPos(LONG* pos)
{
    *pos = m_owner->m_accelPos;
    return S_OK;
}

HRESULT STextHost::TxGetExtent(LPSIZEL extent)
{
    *extent = m_owner->m_extent;
    return S_OK;
}

HRESULT STextHost::OnTxCharFormatChange(const CHARFORMATW*)
{
    return S_OK;
}

HRESULT STextHost::OnTxParaFormatChange(const PARAFORMAT*)
{
    return S_OK;
}

HRESULT STextHost::TxGetPropertyBits(DWORD mask, DWORD* bits)
{
    *bits = PropertyBits() & mask;
    return S_OK;
}

HRESULT STextHost::TxNotify(DWORD code, void* data)
{
    return m_owner->OnTxNotify(code, data);
}

HIMC STextHost::TxImmGetContext()
{
    return ::ImmGetContext(HostWindow());
}

void STextHost::TxImmReleaseContext(HIMC context)
{
    ::ImmReleaseContext(HostWindow(), context);
}

HRESULT STextHost::TxGetSelectionBarWidth(LONG* width)
{
    *width = 0;
    return S_OK;
}

} // namespace SKEIN
