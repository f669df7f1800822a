#pragma once
// A host window run modally: it disables its owner, runs a message loop of its own until it is
// ended with a code, then hides, enables the owner again and destroys its native window.
#include "core/SHostWnd.h"

namespace SKEIN {

class SHostDialog : public SHostWnd {
public:
    // The result of a dialog that has not been ended.
    static constexpr int kRunning = static_cast<int>(0xCCCCCCCC);

    explicit SHostDialog(const wchar_t* layoutName = L"");
    ~SHostDialog() override;

    // Owner null: the active window. Returns the EndModal code, kRunning when a WM_QUIT ended
    // the loop (the quit is posted again), 0 when the window cannot be created, IDCANCEL when
    // the window was destroyed while the dialog ran.
    virtual int RunModal(HWND owner = nullptr);
    // The first call sets the result; later ones are ignored.
    virtual void EndModal(int code);
    void EndWithOk() { EndModal(IDOK); }
    void EndWithCancel() { EndModal(IDCANCEL); }
    int GetResult() const { return m_result; }

    SMessageLoop* GetMessageLoop() override { return m_loop; }
    // Commands of the windows with ids 1 and 2 end the dialog with that id.
    BOOL OnHostEvent(EventArgs* evt) override;
    BOOL HandleWindowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result, DWORD mapId) override;

protected:
    // A key-down the tree leaves alone: Escape fires the command of the window with id 2,
    // Enter that of id 1.
    void HandleEnterEscape(UINT vk, UINT repeat, UINT flags);

private:
    BOOL HandleDialogMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void Hide();

    BOOL m_dialogHandled;
    int m_result;
    SMessageLoop* m_loop;
    // RunModal is running the dialog: the window's end ends it.
    bool m_modal;
};

} // namespace SKEIN
