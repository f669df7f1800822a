#pragma once
// The real-window host ("realwnd"): a window of the tree that stands for a native child window
// of the host. The framework positions, shows and hides it; the application's real-window
// handler makes and destroys it.
#include "core/SWnd.h"
#include "interface/SRealWndHandler-i.h"

namespace SKEIN {

// What the handler makes the native window from.
struct SRealWndParam {
    SRealWndParam() : style(WS_CHILD), exStyle(0) {}
    SStringW wndClass;
    SStringW wndName;
    DWORD style;
    DWORD exStyle;
    // A copy of the element's "params" child.
    pugi::xml_document params;
};

class SRealWnd : public SWindow {
    SKEIN_CLASS_NAME(SWindow, L"realwnd")

public:
    SRealWnd();

    using SWindow::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    BOOL LoadFromXml(pugi::xml_node node) override;
    int ApplyRect(const RECT& rect) override;
    BOOL HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    // Asks the handler for the native window; FALSE without a handler or a live window.
    BOOL CreateNativeWindow();
    // Hands a live native window to the handler for destruction.
    void DestroyNativeWindow();

    const SRealWndParam& GetParam() const { return m_param; }
    BOOL IsInitAtLoad() const { return m_initAtLoad != 0; }
    HWND GetRealHwnd() const { return m_hwnd; }
    void* GetRealUserData() const { return m_realUserData; }
    void SetRealUserData(void* data) { m_realUserData = data; }

private:
    static IRealWndHandler* Handler();
    BOOL IsNativeLive() const { return m_hwnd && ::IsWindow(m_hwnd); }
    // Moves the native window to rect of the host's client area (screen coordinates for a
    // popup), z-order unchanged.
    void MoveNative(const RECT& rect);
    void OnShow(WPARAM wParam, LPARAM lParam, LRESULT* result);

    SRealWndParam m_param;
    int m_initAtLoad;
    HWND m_hwnd;
    void* m_realUserData;
};

} // namespace SKEIN
