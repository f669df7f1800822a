#pragma once
// The framework's tooltip: a topmost popup that shows the tip of the window under the mouse
// after a delay, at the cursor, and hides on a press, when the mouse leaves the tip's area, or
// after a while. The default tooltip factory makes one per host window.
#include "core/SSimpleWnd.h"
#include "interface/STooltip-i.h"

namespace SKEIN {

class STipCtrl : public IToolTip, public CSimpleWnd {
public:
    // Timers of the tip window.
    enum { kTimerShow = 1, kTimerHide = 2 };
    enum { kShowDelay = 500, kHideDelay = 5000 };

    STipCtrl();
    ~STipCtrl() override;

    // The native window and the default font; FALSE when the window cannot be made.
    BOOL Create();

    BOOL PreTranslateMessage(MSG* msg) override;
    void UpdateTip(const SwndTipId& id, const RECT& rect, const SStringW& text, int scale) override;
    void ClearTip() override;
    void RelayEvent(const MSG* msg) override;

    BOOL HandleWindowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result,
                             DWORD mapId) override;
    // Deletes the tip after its window's last message.
    void OnLastMessage(HWND hwnd) override;

private:
    void ShowTip(BOOL show);
    void Hide();
    void OnTimer(UINT_PTR id);
    void OnPaint();
    // The tip font at scale percent of the -12 pixel default.
    void MakeFont(int scale);

    BOOL m_handled;
    int m_showDelay;
    int m_hideDelay;
    SStringW m_text;
    int m_fontScale;
    RECT m_target;
    HFONT m_font;
    SwndTipId m_id;
};

class SDefToolTipFactory : public TObjRefImpl<IToolTipFactory> {
public:
    IToolTip* CreateToolTip(HWND host) override;
    void DestroyToolTip(IToolTip* tip) override;
};

} // namespace SKEIN
