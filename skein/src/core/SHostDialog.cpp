#include "core/SHostDialog.h"
#include "core/SApp.h"

namespace SKEIN {

namespace {

const UINT kHideFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW;

IMsgLoopFactory* LoopFactory()
{
    SApplication* app = SApplication::Instance();
    return app ? app->MsgLoopFactory() : nullptr;
}

} // namespace

SHostDialog::SHostDialog(const wchar_t* layoutName)
    : SHostWnd(layoutName), m_dialogHandled(FALSE), m_result(kRunning), m_loop(nullptr), m_modal(false)
{
    if (IMsgLoopFactory* factory = LoopFactory())
        m_loop = factory->CreateMsgLoop();
}

SHostDialog::~SHostDialog()
{
    if (IMsgLoopFactory* factory = LoopFactory())
        factory->DestroyMsgLoop(m_loop);
}

int SHostDialog::RunModal(HWND owner)
{
    if (!owner)
        owner = ::GetActiveWindow();
    bool ownerDisabled = false;
    if (owner && owner != ::GetDesktopWindow() && ::IsWindowEnabled(owner)) {
        ::EnableWindow(owner, FALSE);
        ownerDisabled = true;
    }
    if (!m_loop || !CreateHost(owner, WS_POPUP | WS_CLIPCHILDREN, 0, 0, 0, 0, 0)) {
        if (ownerDisabled)
            ::EnableWindow(owner, TRUE);
        return 0;
    }
    m_modal = true;
    SendMessage(WM_INITDIALOG, reinterpret_cast<WPARAM>(m_hwnd), 0);
    HWND previous = nullptr;
    if (m_result == kRunning) {
        previous = ::SetActiveWindow(m_hwnd);
        ShowWindow((GetWindowLongW(m_hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) ? SW_SHOWNOACTIVATE : SW_SHOWNORMAL);
        int code = m_loop->Run();
        // A quit meant for the outer loop, also one taken after the dialog ended (its window
        // went with the main window), is posted again.
        if (m_loop->TookQuitMessage())
            ::PostQuitMessage(code);
        if (::IsWindow(m_hwnd))
            Hide();
    }
    m_modal = false;
    // Also when the dialog ended before it was shown, so the owner is never left disabled.
    if (ownerDisabled && ::IsWindow(owner))
        ::EnableWindow(owner, TRUE);
    if (previous && ::IsWindow(previous))
        ::SetActiveWindow(previous);
    if (::IsWindow(m_hwnd))
        DestroyWindow();
    return m_result;
}

void SHostDialog::EndModal(int code)
{
    if (m_result != kRunning)
        return;
    m_result = code;
    if (m_loop)
        m_loop->Quit();
    if (m_hwnd) {
        Hide();
        ::PostMessageW(m_hwnd, WM_NULL, 0, 0);
    }
}

void SHostDialog::Hide()
{
    ::SetWindowPos(m_hwnd, nullptr, 0, 0, 0, 0, kHideFlags);
}

BOOL SHostDialog::OnHostEvent(EventArgs* evt)
{
    if (evt->GetId() == EventCmd::EventID && (evt->idFrom == IDOK || evt->idFrom == IDCANCEL)) {
        EndModal(evt->idFrom);
        evt->bubbleUp = false;
        return TRUE;
    }
    return SHostWnd::OnHostEvent(evt);
}

void SHostDialog::HandleEnterEscape(UINT vk, UINT repeat, UINT flags)
{
    DispatchHostMessage(WM_KEYDOWN, vk, MAKELONG(repeat, flags));
    if (ContainerHandled() || (vk != VK_ESCAPE && vk != VK_RETURN))
        return;
    if (SWindow* button = LookupChildById(vk == VK_ESCAPE ? IDCANCEL : IDOK, -1))
        button->FireCommand();
}

BOOL SHostDialog::HandleWindowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result,
                                      DWORD mapId)
{
    if (mapId != 0)
        return FALSE;
    BOOL saved = m_dialogHandled;
    m_dialogHandled = TRUE;
    result = 0;
    BOOL handled = HandleDialogMessage(hwnd, msg, wParam, lParam, result) && m_dialogHandled;
    m_dialogHandled = saved;
    return handled;
}

BOOL SHostDialog::HandleDialogMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (msg) {
    case WM_CLOSE: EndWithCancel(); return TRUE;
    case WM_KEYDOWN: HandleEnterEscape(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam)); return TRUE;
    case WM_DESTROY:
        // Gone without EndModal (destroyed, or its owner was): the modal call ends as cancelled.
        if (m_modal)
            EndWithCancel();
        break;
    default: break;
    }
    if (SHostWnd::HandleWindowMessage(hwnd, msg, wParam, lParam, result, 0))
        return TRUE;
    BOOL reflected = FALSE;
    result = ReflectToChild(msg, wParam, lParam, reflected);
    // A control that leaves its colours alone gets the default ones.
    if (reflected && result == 0 && msg >= WM_CTLCOLORMSGBOX && msg <= WM_CTLCOLORSTATIC)
        reflected = FALSE;
    return reflected;
}

} // namespace SKEIN
