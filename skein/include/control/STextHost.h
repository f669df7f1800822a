#pragma once
// The host of one rich edit's text services: every request of the services is answered from
// the owning control, its panel scroll bars and its host container.
#include "control/STextServiceHelper.h"

namespace SKEIN {

class SRichEdit;

class STextHost final : public ITextHost {
public:
    // One reference, held by the creator.
    STextHost();

    // Makes the text services over this host for owner; FALSE when the library's entry is
    // missing, refuses, or makes an object that is not text services.
    BOOL Init(SRichEdit* owner);
    // Null until Init succeeds.
    ITextServices* GetTextService() const { return m_services; }
    BOOL IsUiActive() const { return m_uiActive != 0; }
    void SetUiActive(BOOL active) { m_uiActive = active ? 1 : 0; }
    POINT CaretPos() const { return POINT{m_caretX, m_caretY}; }
    // The property bits of the owner's style word and options.
    DWORD PropertyBits() const;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HDC TxGetDC() override;
    INT TxReleaseDC(HDC dc) override;
    WINBOOL TxShowScrollBar(INT bar, WINBOOL show) override;
    WINBOOL TxEnableScrollBar(INT bars, INT arrows) override;
    WINBOOL TxSetScrollRange(INT bar, LONG minimum, INT maximum, WINBOOL redraw) override;
    WINBOOL TxSetScrollPos(INT bar, INT position, WINBOOL redraw) override;
    void TxInvalidateRect(LPCRECT rect, WINBOOL mode) override;
    void TxViewChange(WINBOOL update) override;
    WINBOOL TxCreateCaret(HBITMAP bitmap, INT width, INT height) override;
    WINBOOL TxShowCaret(WINBOOL show) override;
    WINBOOL TxSetCaretPos(INT x, INT y) override;
    WINBOOL TxSetTimer(UINT id, UINT timeout) override;
    void TxKillTimer(UINT id) override;
    void TxScrollWindowEx(INT dx, INT dy, LPCRECT scroll, LPCRECT clip, HRGN update, LPRECT updateRect,
                          UINT flags) override;
    void TxSetCapture(WINBOOL capture) override;
    void TxSetFocus() override;
    void TxSetCursor(HCURSOR cursor, WINBOOL text) override;
    WINBOOL TxScreenToClient(LPPOINT pt) override;
    WINBOOL TxClientToScreen(LPPOINT pt) override;
    HRESULT TxActivate(LONG* oldState) override;
    HRESULT TxDeactivate(LONG newState) override;
    HRESULT TxGetClientRect(LPRECT rect) override;
    HRESULT TxGetViewInset(LPRECT rect) override;
    HRESULT TxGetCharFormat(const CHARFORMATW** format) override;
    HRESULT TxGetParaFormat(const PARAFORMAT** format) override;
    COLORREF TxGetSysColor(int index) override;
    HRESULT TxGetBackStyle(TXTBACKSTYLE* style) override;
    HRESULT TxGetMaxLength(DWORD* length) override;
    HRESULT TxGetScrollBars(DWORD* bars) override;
    HRESULT TxGetPasswordChar(TCHAR* ch) override;
    HRESULT TxGetAcceleratorPos(LONG* pos) override;
    HRESULT TxGetExtent(LPSIZEL extent) override;
    HRESULT OnTxCharFormatChange(const CHARFORMATW* format) override;
    HRESULT OnTxParaFormatChange(const PARAFORMAT* format) override;
    HRESULT TxGetPropertyBits(DWORD mask, DWORD* bits) override;
    HRESULT TxNotify(DWORD code, void* data) override;
    HIMC TxImmGetContext() override;
    void TxImmReleaseContext(HIMC context) override;
    HRESULT TxGetSelectionBarWidth(LONG* width) override;

private:
    ~STextHost();
    STextHost(const STextHost&) = delete;
    STextHost& operator=(const STextHost&) = delete;

    HWND HostWindow() const;

    int m_uiActive;
    ULONG m_ref;
    ITextServices* m_services;
    SRichEdit* m_owner;
    int m_caretX;
    int m_caretY;
};

} // namespace SKEIN
