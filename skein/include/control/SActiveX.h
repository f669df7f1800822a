#pragma once
// The ActiveX host ("activex"): a COM control, created from a class identifier or ProgID given
// in the layout, activated in place without a window of its own, drawn into the render target
// and fed the mouse and keyboard messages of its window. "delay" creates it when the window is
// first shown. "flash" presets the flash-player control with a movie URL.
#include "control/SAxContainer.h"
#include "core/SWnd.h"

namespace SKEIN {

class SActiveX : public SWindow, protected IAxHostDelegate {
    SKEIN_CLASS_NAME(SWindow, L"activex")

public:
    SActiveX();
    ~SActiveX() override;

    using SWindow::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    UINT QueryWantedKeys(const MSG*) override { return 0xFFFF; }
    BOOL IsFocusable() const override { return TRUE; }
    BOOL HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    const CLSID& GetClsid() const { return m_clsid; }
    DWORD GetClsContext() const { return m_clsContext; }
    // The control, null until it is created.
    IUnknown* GetControl() const { return m_site->Control(); }
    bool IsInPlaceActive() const { return m_site->IsInPlaceActive(); }

protected:
    // While the control is being activated.
    virtual void OnAxActivate(IUnknown* control) {}
    // At the end of every creation attempt.
    virtual void OnInitActiveXFinished() {}
    // Creates and activates the control; whether it was created.
    BOOL InitActiveX();
    // Shows or hides the control's own window, if it has one.
    void SetActiveXVisible(BOOL show);

    // IAxHostDelegate
    HWND GetHostWindow() override;
    void OnControlActivated(IUnknown* control) override { OnAxActivate(control); }
    void InvalidateHostRect(const RECT* rect, BOOL) override { InvalidateArea(rect); }
    void SetHostCapture(BOOL capture) override;
    HRESULT GetHostDC(const RECT*, DWORD, HDC*) override { return S_FALSE; }
    HRESULT ReleaseHostDC(HDC) override { return S_FALSE; }

    SAxContainerImpl* m_site;
    CLSID m_clsid;
    DWORD m_clsContext;
    DWORD m_delay;

private:
    HRESULT ApplyClsid(const SStringW& value);
    int CreateActiveX();
    void ShowActiveX(BOOL show, int reason);
    void Paint(IRenderTarget* rt);
};

// The flash-player control with its movie URL ("url").
class SFlashCtrl : public SActiveX {
    SKEIN_CLASS_NAME(SActiveX, L"flash")

public:
    SFlashCtrl();
    ~SFlashCtrl() override;

    using SActiveX::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    // Stores the URL and gives it to the player; false without the player.
    BOOL SetMovieUrl(const SStringW& url);
    const SStringW& GetMovieUrl() const { return m_url; }

protected:
    void OnAxActivate(IUnknown* control) override;

private:
    HRESULT PutProperty(const wchar_t* name, const SStringW& value);

    SStringW m_url;
    IDispatch* m_player;
};

} // namespace SKEIN
