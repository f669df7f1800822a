#pragma once
// Stands for the program while its start-failure message box is shown, so that a second start
// finds it as it finds a main window: a hidden top-level window that carries the single-instance
// property and owns the box. The restore command brings the box to the front; the exit command
// ends the box's message loop, so that the failed start ends as "-x" asks.
#include "core/SSimpleWnd.h"

class CStartFailureWnd : public SKEIN::CSimpleWnd {
public:
    // Creates the window; Handle() is null when that fails.
    CStartFailureWnd();
    ~CStartFailureWnd() override;
    CStartFailureWnd(const CStartFailureWnd&) = delete;
    CStartFailureWnd& operator=(const CStartFailureWnd&) = delete;

    BOOL HandleWindowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result,
                             DWORD mapId) override;

private:
    void OnCommand(WORD command);
    void BringBoxToFront();
    // The visible window of this thread that this one owns (the box); null when none is shown.
    HWND OwnedBox() const;
};
