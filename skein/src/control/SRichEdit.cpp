// SRichEdit: creation, focus, painting, input filters, scrolling and the message map.
#include "control/SRichEdit.h"
#include <algorithm>
#include <memory>
#include <vector>
#include "control/STextHost.h"
#include "interface/SwndContainer-i.h"
#include "core/STimer2.h"
#include "core/SXmlCreation.h"
#include "render/SAlphaBackup.h"
#include "res.mgr/SSkinPoolMgr.h"
#include "SCtrlAttr.h"

namespace SKEIN {

using namespace ctrl;

namespace {

// HIMETRIC units per inch.
const int kHimetricPerInch = 2540;

// Language options set at creation, and the one taken away.
const LRESULT kLangOptionsAdded = IMF_AUTOKEYBOARD | IMF_UIFONTS | IMF_DUALFONT;
const LRESULT kLangOptionsRemoved = IMF_AUTOFONT;

// EM_SETSEL's end with autoSel.
const LPARAM kAutoSelEnd = 0xFFFF;

bool CtrlHeld()
{
    return (::GetKeyState(VK_CONTROL) & 0x8000) != 0;
}

bool ShiftHeld()
{
    return (::GetKeyState(VK_SHIFT) & 0x8000) != 0;
}

// Ctrl+V and Shift+Insert.
bool IsPasteKey(WPARAM key)
{
    return (key == 'V' && CtrlHeld()) || (key == VK_INSERT && ShiftHeld() && !CtrlHeld());
}

bool IsNumberChar(WPARAM ch)
{
    return (ch >= L'0' && ch <= L'9') || ch == L'-' || ch == L'.' || ch == L',';
}

} // namespace

SRichEdit::SRichEdit()
    : m_maxLength(kDefaultMaxLength), m_passwordChar(L'*'), m_accelPos(-1), m_extent{0, 0}, m_inset{0, 0, 0, 0},
      m_charFormat(), m_paraFormat(), m_lineHeight(0), m_editStyle(ES_AUTOHSCROLL), m_autoWordSel(1), m_wordWrap(0),
      m_rich(1), m_saveSelection(1), m_transparent(0), m_vertical(0), m_allowBeep(0), m_wantTab(0), m_vcenter(1),
      m_scrollPending(0), m_enableDragdrop(0), m_autoSel(0), m_notifyChange(0), m_pairLeftOut(0), m_host(nullptr),
      m_savedImc(nullptr)
{
    m_ncSkin = FindSystemSkin(kSysSkinBorder, 100);
    m_flags |= kWndFocusable | kWndClipClient;
    m_eventSet.DeclareEvent(EventRENotify::EventID, EventRENotify::EventName());
    m_eventSet.DeclareEvent(EventREMenu::EventID, EventREMenu::EventName());
    m_eventSet.DeclareEvent(EventKeyDown::EventID, EventKeyDown::EventName());
}

SRichEdit::~SRichEdit()
{
    if (m_host)
        m_host->Release();
}

ITextServices* SRichEdit::TextServices() const
{
    return m_host ? m_host->GetTextService() : nullptr;
}

BOOL SRichEdit::SendToServices(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) const
{
    ITextServices* services = TextServices();
    LRESULT ignored = 0;
    return services && services->TxSendMessage(msg, wParam, lParam, result ? result : &ignored) == S_OK;
}

LRESULT SRichEdit::TextLength() const
{
    LRESULT length = 0;
    return SendToServices(WM_GETTEXTLENGTH, 0, 0, &length) ? length : 0;
}

void SRichEdit::NotifyPropertyBits(DWORD mask, DWORD bits)
{
    if (ITextServices* services = TextServices())
        services->OnTxPropertyBitsChange(mask, bits);
}

HRESULT SRichEdit::OnTxNotify(DWORD code, void* data)
{
    EventRENotify evt(this);
    evt.code = code;
    evt.data = data;
    RaiseEvent(evt);
    return evt.result;
}

// ---- text ----

SStringW SRichEdit::QueryText(bool) const
{
    LRESULT length = TextLength();
    if (length <= 0)
        return SStringW();
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
    LRESULT copied = 0;
    SendToServices(WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()), &copied);
    return SStringW(buffer.data(), static_cast<int>(std::min<LRESULT>(copied, length)));
}

BOOL SRichEdit::AssignText(const SStringW& text)
{
    BOOL set = static_cast<BOOL>(SendUiMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())));
    InvalidateClientArea();
    return set;
}

LRESULT SRichEdit::OnSetText(LPARAM lParam)
{
    const wchar_t* text = reinterpret_cast<const wchar_t*>(lParam);
    size_t length = text ? wcslen(text) : 0;
    // The limit grows first, so that the services keep the whole text.
    if (length > m_maxLength)
        SetMaxLength(static_cast<DWORD>(length));
    return SendToServices(WM_SETTEXT, 0, lParam) ? TRUE : FALSE;
}

// ---- creation and destruction ----

int SRichEdit::OnCreate()
{
    LRESULT created = 0;
    SPanel::HandleMessage(WM_CREATE, 0, 0, &created);
    if (created != 0)
        return 1;
    BuildCharFormat(nullptr);
    BuildParaFormat();
    m_host = new STextHost;
    if (!m_host->Init(this)) {
        m_host->Release();
        m_host = nullptr;
        return 1;
    }
    SXmlCreation::CountWork(kXmlWorkPerRichEdit); // starting the text services
    ITextServices* services = TextServices();
    services->OnTxInPlaceActivate(nullptr);
    m_host->SetUiActive(FALSE);
    services->OnTxUIDeactivate();
    SendToServices(WM_KILLFOCUS, 0, 0);
    LRESULT options = 0;
    SendToServices(EM_GETLANGOPTIONS, 0, 0, &options);
    SendToServices(EM_SETLANGOPTIONS, 0, (options & ~kLangOptionsRemoved) | kLangOptionsAdded);
    SendMaxLength();
    if (m_notifyChange)
        SendToServices(EM_SETEVENTMASK, 0, ENM_CHANGE);
    if (!m_richSource.IsEmptyText())
        ApplyAttribute(SStringW(L"rtf"), m_richSource, FALSE);
    else
        AssignText(SWindow::QueryText(false));
    UpdateDropTarget();
    return 0;
}

void SRichEdit::OnDestroy()
{
    DropFocus();
    if (m_container)
        m_container->UnregisterDropTarget(m_handle);
    if (ITextServices* services = TextServices())
        services->OnTxInPlaceDeactivate();
    if (m_host) {
        m_host->Release();
        m_host = nullptr;
    }
    HandleDestroy();
}

// ---- focus ----

void SRichEdit::ActivateUi()
{
    m_host->SetUiActive(TRUE);
    TextServices()->OnTxUIActivate();
    SendToServices(WM_SETFOCUS, 0, 0);
}

void SRichEdit::DeactivateUi()
{
    m_host->SetUiActive(FALSE);
    TextServices()->OnTxUIDeactivate();
    SendToServices(WM_KILLFOCUS, 0, 0);
    m_host->TxShowCaret(FALSE);
}

void SRichEdit::OnSetFocus()
{
    HandleFocusChange(true);
    if (TextServices() && TestVisible(TRUE) && !TestDisabled(TRUE)) {
        ActivateUi();
        if (m_autoSel)
            SendUiMessage(EM_SETSEL, 0, kAutoSelEnd);
    }
    if (DetachesInputMethod() && m_container)
        m_savedImc = ::ImmAssociateContext(m_container->GetHostHwnd(), nullptr);
}

void SRichEdit::OnKillFocus()
{
    HandleFocusChange(false);
    if (TextServices())
        DeactivateUi();
    if (DetachesInputMethod() && m_container) {
        ::ImmAssociateContext(m_container->GetHostHwnd(), m_savedImc);
        m_savedImc = nullptr;
    }
}

// ---- geometry and painting ----

void SRichEdit::OnNcCalcSize()
{
    LRESULT ignored = 0;
    SPanel::HandleMessage(WM_NCCALCSIZE, 0, 0, &ignored);
    RECT inset = m_style.GetPaddingRect();
    int width = m_clientRect.right - m_clientRect.left;
    int height = m_clientRect.bottom - m_clientRect.top;
    if (!m_rich && m_vcenter && !HasStyle(ES_MULTILINE))
        inset.top = inset.bottom = (height - m_lineHeight) / 2;
    m_horzInfo.nPage = static_cast<UINT>(std::max(0L, width - inset.left - inset.right));
    m_vertInfo.nPage = static_cast<UINT>(std::max(0L, height - inset.top - inset.bottom));
    ITextServices* services = TextServices();
    if (!services)
        return;
    HWND hwnd = m_container ? m_container->GetHostHwnd() : nullptr;
    HDC dc = ::GetDC(hwnd);
    int xPerInch = ::GetDeviceCaps(dc, LOGPIXELSX);
    int yPerInch = ::GetDeviceCaps(dc, LOGPIXELSY);
    ::ReleaseDC(hwnd, dc);
    m_extent.cx = ::MulDiv(width, kHimetricPerInch, xPerInch);
    m_extent.cy = ::MulDiv(height, kHimetricPerInch, yPerInch);
    m_inset = RECT{::MulDiv(inset.left, kHimetricPerInch, xPerInch), ::MulDiv(inset.top, kHimetricPerInch, yPerInch),
                   ::MulDiv(inset.right, kHimetricPerInch, xPerInch),
                   ::MulDiv(inset.bottom, kHimetricPerInch, yPerInch)};
    BOOL focused = HoldsFocus();
    if (focused)
        DeactivateUi();
    const DWORD changed = TXTBIT_EXTENTCHANGE | TXTBIT_CLIENTRECTCHANGE;
    services->OnTxPropertyBitsChange(changed, changed);
    if (focused)
        ActivateUi();
}

void SRichEdit::OnPaint(IRenderTarget* rt)
{
    ITextServices* services = TextServices();
    if (!services)
        return;
    RECT client = m_clientRect;
    rt->PushClipRect(&client, RGN_AND);
    HDC dc = rt->GetDC(0);
    int oldMode = ::SetGraphicsMode(dc, GM_COMPATIBLE);
    {
        IBitmap* bitmap = static_cast<IBitmap*>(rt->GetCurrentObject(kRenderObjBitmap));
        RECT inclusive = {client.left, client.top, client.right - 1, client.bottom - 1};
        std::unique_ptr<SAlphaBackup> keep;
        if (bitmap)
            keep.reset(new SAlphaBackup(m_alphaBuffer, dc, bitmap, inclusive));
        RECTL bounds = {client.left, client.top, client.right, client.bottom};
        services->TxDraw(DVASPECT_CONTENT, 0, nullptr, nullptr, dc, nullptr, &bounds, nullptr, &client, nullptr, 0,
                         TXTVIEW_ACTIVE);
    }
    ::SetGraphicsMode(dc, oldMode);
    rt->ReleaseDC(dc);
    rt->PopClip();
}

BOOL SRichEdit::ApplyCursor(POINT pt)
{
    ITextServices* services = TextServices();
    if (!services || !::PtInRect(&m_clientRect, pt))
        return FALSE;
    HWND hwnd = m_container ? m_container->GetHostHwnd() : nullptr;
    HDC dc = ::GetDC(hwnd);
    services->OnTxSetCursor(DVASPECT_CONTENT, -1, nullptr, nullptr, dc, nullptr, &m_clientRect, pt.x, pt.y);
    ::ReleaseDC(hwnd, dc);
    return TRUE;
}

void SRichEdit::ApplyScale(int scale)
{
    SPanel::ApplyScale(scale);
    BuildCharFormat(nullptr);
    NotifyPropertyBits(TXTBIT_CHARFORMATCHANGE, TXTBIT_CHARFORMATCHANGE);
}

// ---- keyboard and mouse ----

UINT SRichEdit::QueryWantedKeys(const MSG*)
{
    UINT wanted = DLGC_WANTARROWS | DLGC_HASSETSEL;
    if (m_wantTab)
        wanted |= DLGC_WANTTAB;
    if (HasStyle(ES_WANTRETURN))
        wanted |= DLGC_WANTALLKEYS;
    return wanted;
}

// A refused key stays unhandled (the host may use Enter itself) and never reaches the services.
BOOL SRichEdit::OnKeyDown(WPARAM key, LPARAM lParam)
{
    EventKeyDown evt(this);
    evt.keyCode = static_cast<UINT>(key);
    evt.flags = HIWORD(lParam);
    RaiseEvent(evt);
    if (evt.cancel || (key == VK_RETURN && !HasStyle(ES_WANTRETURN) && !CtrlHeld()))
        return FALSE;
    if (IsPasteKey(key))
        OnPaste(WM_PASTE, 0, 0);
    else if (key == 'Y' && CtrlHeld())
        OnRedo();
    else if (key != VK_DELETE || !NothingAfterCaret()) // the services report a change for nothing
        SendToServices(WM_KEYDOWN, key, lParam);
    return TRUE;
}

// WM_CHAR and WM_IME_CHAR alike.
void SRichEdit::OnChar(UINT msg, WPARAM ch, LPARAM lParam)
{
    bool ctrl = CtrlHeld();
    if (ch == L'\t' && !m_wantTab && !ctrl)
        return;
    if ((ch == L'\n' || ch == L'\r') && !ctrl && !HasStyle(ES_WANTRETURN))
        return;
    if (HasStyle(ES_NUMBER) && !IsNumberChar(ch))
        return;
    if (TypedCharFits(ch))
        SendToServices(msg, ch, lParam);
}

void SRichEdit::OnLeftButtonDown(WPARAM keys, LPARAM lParam)
{
    TakeMouseCapture();
    if (!HoldsFocus()) {
        TakeFocus();
        if (m_autoSel)
            return;
    }
    SendToServices(WM_LBUTTONDOWN, keys, lParam);
}

BOOL SRichEdit::OnScroll(BOOL vertical, UINT code, int position)
{
    if (m_scrollPending)
        return FALSE;
    m_scrollPending = 1;
    SPanel::OnScroll(vertical, code, position);
    LRESULT scrolled = 1;
    BOOL sent = SendToServices(vertical ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, position), 0, &scrolled);
    if (ITextServices* services = TextServices()) {
        LONG minimum = 0, maximum = 0, pos = 0, page = 0;
        BOOL enabled = FALSE;
        HRESULT queried = vertical ? services->TxGetVScroll(&minimum, &maximum, &pos, &page, &enabled)
                                   : services->TxGetHScroll(&minimum, &maximum, &pos, &page, &enabled);
        // Without an answer the bar stays where it is.
        if (SUCCEEDED(queried) && pos != ScrollPosOf(vertical))
            SetScrollPosition(vertical, pos, TRUE);
    }
    m_scrollPending = 0;
    if (code == SB_THUMBTRACK)
        ThrottledUpdate();
    return sent && scrolled == 0;
}

BOOL SRichEdit::OnTimer(UINT id)
{
    if (id != kTimerRedraw)
        return FALSE;
    InvalidateClientArea();
    StopHostTimer(kTimerRedraw);
    return TRUE;
}

void SRichEdit::OnShowWindow(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    SPanel::HandleMessage(msg, wParam, lParam, result);
    HWND hwnd = m_container ? m_container->GetHostHwnd() : nullptr;
    if (!TestVisible(TRUE) && hwnd)
        ::PostMessageW(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), HTCLIENT);
}

// ---- dispatch ----

BOOL SRichEdit::HandleUnmappedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (msg == EM_GETRECT) {
        *reinterpret_cast<RECT*>(lParam) = m_clientRect;
        return TRUE;
    }
    return SendToServices(msg, wParam, lParam, result);
}

BOOL SRichEdit::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    *result = 0;
    SetMsgHandled(TRUE);
    switch (msg) {
    case WM_CREATE: *result = OnCreate(); break;
    case WM_DESTROY: OnDestroy(); break;
    case WM_SETFOCUS: OnSetFocus(); break;
    case WM_KILLFOCUS: OnKillFocus(); break;
    case WM_SETTEXT: *result = OnSetText(lParam); break;
    case WM_PAINT: OnPaint(reinterpret_cast<IRenderTarget*>(wParam)); break;
    case WM_SHOWWINDOW: OnShowWindow(msg, wParam, lParam, result); break;
    case WM_SETFONT:
        BuildCharFormat(reinterpret_cast<IFont*>(wParam));
        NotifyPropertyBits(TXTBIT_CHARFORMATCHANGE, TXTBIT_CHARFORMATCHANGE);
        break;
    case WM_NCCALCSIZE: OnNcCalcSize(); break;
    case EM_SETREADONLY:
        *result = SUCCEEDED(ApplyAttribute(SStringW(L"readonly"), SStringW(wParam ? L"1" : L"0"), FALSE));
        break;
    case WM_KEYDOWN: return OnKeyDown(wParam, lParam);
    case WM_CHAR:
    case WM_IME_CHAR: OnChar(msg, wParam, lParam); break;
    case WM_TIMER:
        if (!OnTimer(static_cast<UINT>(wParam)))
            return SPanel::HandleMessage(msg, wParam, lParam, result);
        break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDBLCLK: SendToServices(msg, wParam, lParam); break;
    case WM_LBUTTONDOWN: OnLeftButtonDown(wParam, lParam); break;
    case WM_LBUTTONUP:
        SendToServices(msg, wParam, lParam);
        DropMouseCapture();
        break;
    case WM_CAPTURECHANGED:
        // The services end their selection drag as on a release away from the text.
        SendToServices(WM_LBUTTONUP, 0, MAKELPARAM(-1, -1));
        return SPanel::HandleMessage(msg, wParam, lParam, result);
    case WM_RBUTTONDOWN:
        OnContextMenu(POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
        break;
    case WM_MOUSEWHEEL:
        if (HasStyle(ES_MULTILINE))
            return SPanel::HandleMessage(msg, wParam, lParam, result);
        return SWindow::HandleMessage(msg, wParam, lParam, result);
    case EM_LIMITTEXT:
    case EM_EXLIMITTEXT:
        // The limit comes in lParam (EM_EXLIMITTEXT as the system defines it), or in wParam.
        SetMaxLength(static_cast<DWORD>(lParam ? lParam : static_cast<LPARAM>(wParam)));
        *result = 1;
        break;
    case WM_PASTE:
    case EM_PASTESPECIAL: *result = OnPaste(msg, wParam, lParam); break;
    case EM_REDO: *result = OnRedo(); break;
    case EM_REPLACESEL:
    case EM_SETTEXTEX:
    case EM_STREAMIN: *result = OnProgramText(msg, wParam, lParam); break;
    case EM_SETCHARFORMAT: *result = OnSetCharFormat(wParam, reinterpret_cast<const CHARFORMAT2W*>(lParam)); break;
    case EM_SETPARAFORMAT: *result = OnSetParaFormat(wParam, reinterpret_cast<const PARAFORMAT2*>(lParam)); break;
    case STimer2::kMsgTimer2: SendToServices(WM_TIMER, wParam, 0); break;
    default: return SPanel::HandleMessage(msg, wParam, lParam, result);
    }
    return IsMsgHandled();
}

} // namespace SKEIN
