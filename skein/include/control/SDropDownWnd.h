#pragma once
// The short-lived popup host of the drop-down controls. The owner fills its root window when it
// is created; the popup holds the mouse capture and ends on Enter (exit code 1), or on Esc, a
// click away from it, lost focus or a deactivated application (exit code 2); the first reason
// wins. It tells its owner while its window is destroyed and then deletes itself.
#include "core/SHostWnd.h"
#include "core/SMsgLoop.h"

namespace SKEIN {

class SDropDownWnd;

// Implemented by every control that opens a drop-down.
struct ISDropDownOwner {
    virtual SWindow* OwnerWindow() = 0;
    // The popup's window exists and is not shown yet: the owner fills it.
    virtual void OnDropDownCreated(SDropDownWnd* popup) = 0;
    // The popup's window is being destroyed: the owner reads the exit code and forgets the popup.
    virtual void OnDropDownDestroyed(SDropDownWnd* popup) = 0;
};

enum { kDropDownOpen = -1, kDropDownAccepted = 1, kDropDownCancelled = 2 };

// Where a drop-down of size opens at anchor (screen coordinates), its left edge at left: below
// the anchor when it fits, else above it when it fits, else on the side with more room, cut to
// it; then moved sideways onto the monitor of host (the screen without one).
RECT PlaceDropDown(HWND host, const RECT& anchor, int left, SIZE size);

class SDropDownWnd : public SHostWnd, public IMessageFilter {
    SKEIN_CLASS_NAME(SHostWnd, L"dropdownwnd")

public:
    explicit SDropDownWnd(ISDropDownOwner* owner);
    ~SDropDownWnd() override;

    // The native popup at rect, owned by the owner's host window; false when it cannot be made.
    virtual BOOL CreatePopup(const RECT& rect, LPVOID param, DWORD style, DWORD exStyle);
    virtual int Reserved() { return 0; }
    // Acts once: stores code and destroys the window.
    void EndPopup(int code);
    int GetExitCode() const { return m_exitCode; }
    ISDropDownOwner* GetOwner() const { return m_owner; }

    // --- container ---
    BOOL ReleaseCapture() override;
    SMessageLoop* GetMessageLoop() override;

    BOOL HandleWindowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result, DWORD mapId) override;
    void OnLastMessage(HWND hwnd) override;
    BOOL PreTranslateMessage(MSG* msg) override;

private:
    // The popup's own map, run before the host's; TRUE when the host's map is not to run.
    BOOL HandlePopupMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OutsideClient(LPARAM lParam) const;

    ISDropDownOwner* m_owner;
    SMessageLoop* m_loop; // where the filter was added
    bool m_clickStartedInside;
    int m_exitCode;
};

// The variant of the combo boxes and the date-time picker: Enter, Esc, Up and Down and the wheel
// reach the popup even while the focus is in the owner's window.
class SDropDownWnd_ComboBox : public SDropDownWnd {
public:
    explicit SDropDownWnd_ComboBox(ISDropDownOwner* owner) : SDropDownWnd(owner) {}
    BOOL PreTranslateMessage(MSG* msg) override;
};

} // namespace SKEIN
