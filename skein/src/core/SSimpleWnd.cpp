#include "core/SSimpleWnd.h"
#include "core/SDynArray.h"
#include "helper/SLog.h"

namespace SKEIN {

// ---- CSimpleWndHelper ----

CSimpleWndHelper::CSimpleWndHelper(HINSTANCE module, const wchar_t* className, BOOL imeClass)
    : m_heap(HeapCreate(HEAP_CREATE_ENABLE_EXECUTE, 0, 0)), m_creating(nullptr), m_atom(0), m_module(module),
      m_tracked(nullptr)
{
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = imeClass ? (CS_IME | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW) : CS_DBLCLKS;
    wc.lpfnWndProc = &CSimpleWnd::StartWindowProc;
    wc.hInstance = module;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(0x7F00));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = className;
    m_atom = RegisterClassExW(&wc);
}

namespace {

struct LeftWindows {
    ATOM atom;
    SDynArray<HWND> found;
};

BOOL CALLBACK CollectIfLeft(HWND hwnd, LPARAM data)
{
    LeftWindows* left = reinterpret_cast<LeftWindows*>(data);
    if (static_cast<ATOM>(::GetClassLongPtrW(hwnd, GCW_ATOM)) == left->atom)
        left->found.Add(hwnd);
    return TRUE;
}

// A window of this process with its descendants.
BOOL CALLBACK CollectTreeIfLeft(HWND hwnd, LPARAM data)
{
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    if (pid == ::GetCurrentProcessId()) {
        CollectIfLeft(hwnd, data);
        ::EnumChildWindows(hwnd, CollectIfLeft, data);
    }
    return TRUE;
}

} // namespace

// Windows of the class still alive when the framework ends would call their thunks in the heap
// that goes now, and keep the class registered: all are cut from their objects, then those of
// this thread destroyed. False when there were none.
bool CSimpleWndHelper::CutLeftWindows()
{
    LeftWindows left = {m_atom, SDynArray<HWND>()};
    ::EnumWindows(CollectTreeIfLeft, reinterpret_cast<LPARAM>(&left));
    for (HWND hwnd = nullptr; (hwnd = ::FindWindowExW(HWND_MESSAGE, hwnd, MAKEINTATOM(m_atom), nullptr));)
        CollectTreeIfLeft(hwnd, reinterpret_cast<LPARAM>(&left));
    for (int i = 0; i < left.found.Count(); ++i)
        ::SetWindowLongPtrW(left.found[i], GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&::DefWindowProcW));
    for (int i = 0; i < left.found.Count(); ++i) {
        if (::GetWindowThreadProcessId(left.found[i], nullptr) == ::GetCurrentThreadId())
            ::DestroyWindow(left.found[i]);
    }
    if (left.found.Count() > 0)
        SKEIN_LOG(3, "SKEIN::CSimpleWndHelper").FormatW(L"%d windows outlived the framework", left.found.Count());
    return left.found.Count() > 0;
}

// The objects still bound when the thunk heap goes forget their windows and thunks: none later
// destroys a handle that may by then name another window, or frees a thunk into another heap.
void CSimpleWndHelper::CutTrackedObjects()
{
    SAutoLock lock(m_trackLock);
    while (CSimpleWnd* window = m_tracked) {
        m_tracked = window->m_nextTracked;
        window->m_prevTracked = window->m_nextTracked = nullptr;
        window->m_hwnd = nullptr;
        window->m_thunk = nullptr;
    }
}

CSimpleWndHelper::~CSimpleWndHelper()
{
    if (m_atom && !UnregisterClassW(MAKEINTATOM(m_atom), m_module) && CutLeftWindows())
        UnregisterClassW(MAKEINTATOM(m_atom), m_module);
    CutTrackedObjects();
    if (m_heap)
        HeapDestroy(m_heap);
}

void CSimpleWndHelper::Track(CSimpleWnd* window)
{
    SAutoLock lock(m_trackLock);
    window->m_prevTracked = nullptr;
    window->m_nextTracked = m_tracked;
    if (m_tracked)
        m_tracked->m_prevTracked = window;
    m_tracked = window;
}

void CSimpleWndHelper::Untrack(CSimpleWnd* window)
{
    SAutoLock lock(m_trackLock);
    if (window != m_tracked && !window->m_prevTracked)
        return; // cut already
    (window->m_prevTracked ? window->m_prevTracked->m_nextTracked : m_tracked) = window->m_nextTracked;
    if (window->m_nextTracked)
        window->m_nextTracked->m_prevTracked = window->m_prevTracked;
    window->m_prevTracked = window->m_nextTracked = nullptr;
}

void CSimpleWndHelper::LockForCreation(CSimpleWnd* window)
{
    m_lock.Lock();
    m_creating = window;
}

// ---- CSimpleWnd ----

CSimpleWnd::CSimpleWnd(HWND hwnd)
    : m_hwnd(hwnd), m_current(nullptr), m_destroyed(FALSE), m_thunk(nullptr), m_prevProc(&::DefWindowProcW),
      m_prevTracked(nullptr), m_nextTracked(nullptr)
{
}

// An object that goes before its window leaves the helper's list; its window is still cut at
// the end.
CSimpleWnd::~CSimpleWnd()
{
    CSimpleWndHelper* helper = CSimpleWndHelper::Instance();
    if (m_thunk && helper)
        helper->Untrack(this);
}

void CSimpleWnd::FreeThunk()
{
    CSimpleWndHelper* helper = CSimpleWndHelper::Instance();
    if (m_thunk && helper) {
        helper->Untrack(this);
        if (helper->ThunkHeap())
            HeapFree(helper->ThunkHeap(), 0, m_thunk);
    }
    m_thunk = nullptr;
}

void CSimpleWnd::OnLastMessage(HWND)
{
    FreeThunk();
}

HWND CSimpleWnd::CreateNative(const wchar_t* name, DWORD style, DWORD exStyle, int x, int y, int width,
                              int height, HWND parent, LPVOID param)
{
    CSimpleWndHelper* helper = CSimpleWndHelper::Instance();
    if (!helper || !helper->ThunkHeap() || m_thunk)
        return nullptr;
    helper->LockForCreation(this);
    m_thunk = HeapAlloc(helper->ThunkHeap(), HEAP_ZERO_MEMORY, kThunkSize);
    if (m_thunk)
        helper->Track(this);
    HWND hwnd = m_thunk ? CreateWindowExW(exStyle, MAKEINTATOM(helper->ClassAtom()), name, style, x, y, width,
                                          height, parent, nullptr, helper->Module(), param)
                        : nullptr;
    helper->UnlockCreation();
    if (!hwnd)
        FreeThunk();
    return hwnd;
}

LRESULT CALLBACK CSimpleWnd::StartWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CSimpleWndHelper* helper = CSimpleWndHelper::Instance();
    CSimpleWnd* window = helper ? helper->WindowBeingCreated() : nullptr;
    if (!window || !window->m_thunk)
        return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    window->m_hwnd = hwnd;
    WNDPROC proc = BuildWindowThunk(window->m_thunk, window, &CSimpleWnd::ObjectWindowProc);
    SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
    return proc(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK CSimpleWnd::ObjectWindowProc(HWND self, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return reinterpret_cast<CSimpleWnd*>(self)->ProcessMessage(msg, wParam, lParam);
}

LRESULT CSimpleWnd::ProcessMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    SWndMsgRecord record = {{m_hwnd, msg, wParam, lParam, 0, {0, 0}}, m_current};
    m_current = &record;
    LRESULT result = 0;
    if (!HandleWindowMessage(m_hwnd, msg, wParam, lParam, result, 0)) {
        if (msg == WM_NCDESTROY) {
            LONG_PTR proc = GetWindowLongPtrW(m_hwnd, GWLP_WNDPROC);
            result = DefWindowProc(msg, wParam, lParam);
            if (m_prevProc != &::DefWindowProcW && GetWindowLongPtrW(m_hwnd, GWLP_WNDPROC) == proc)
                SetWindowLongPtrW(m_hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_prevProc));
            m_destroyed = TRUE;
        } else {
            result = DefWindowProc(msg, wParam, lParam);
        }
    }
    if (m_destroyed && !record.previous) {
        HWND old = m_hwnd;
        m_hwnd = nullptr;
        m_destroyed = FALSE;
        m_current = nullptr;
        OnLastMessage(old);
    } else {
        m_current = record.previous;
    }
    return result;
}

LRESULT CSimpleWnd::DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return CallWindowProcW(m_prevProc, m_hwnd, msg, wParam, lParam);
}

LRESULT CSimpleWnd::DefWindowProcForCurrent()
{
    return m_current ? DefWindowProc(m_current->msg.message, m_current->msg.wParam, m_current->msg.lParam) : 0;
}

namespace {

BOOL ModifyLong(HWND hwnd, int index, DWORD remove, DWORD add, UINT posFlags)
{
    DWORD old = static_cast<DWORD>(GetWindowLongW(hwnd, index));
    DWORD changed = (old & ~remove) | add;
    if (changed == old)
        return FALSE;
    SetWindowLongW(hwnd, index, static_cast<LONG>(changed));
    if (posFlags)
        SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, posFlags | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return TRUE;
}

// x so that [x, x + size) is centred on [refLow, refHigh) and kept inside [low, high).
int CentreInside(LONG refLow, LONG refHigh, int size, LONG low, LONG high)
{
    int x = (refLow + refHigh) / 2 - size / 2;
    if (x + size > high)
        x = high - size;
    if (x < low)
        x = low;
    return x;
}

} // namespace

BOOL CSimpleWnd::ModifyStyle(DWORD remove, DWORD add, UINT posFlags)
{
    return ModifyLong(m_hwnd, GWL_STYLE, remove, add, posFlags);
}

BOOL CSimpleWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT posFlags)
{
    return ModifyLong(m_hwnd, GWL_EXSTYLE, remove, add, posFlags);
}

void CSimpleWnd::CenterOnOwner(HWND reference)
{
    bool child = (GetWindowLongW(m_hwnd, GWL_STYLE) & WS_CHILD) != 0;
    if (!reference)
        reference = child ? ::GetParent(m_hwnd) : ::GetWindow(m_hwnd, GW_OWNER);
    if (!reference && !child)
        reference = ::GetActiveWindow();
    RECT area = {};
    RECT ref = {};
    if (child) {
        HWND parent = ::GetParent(m_hwnd);
        ::GetClientRect(parent, &area);
        ::GetClientRect(reference, &ref);
        ::MapWindowPoints(reference, parent, reinterpret_cast<POINT*>(&ref), 2);
    } else {
        if (reference && (!::IsWindowVisible(reference) || ::IsIconic(reference)))
            reference = nullptr;
        MONITORINFO info = {sizeof(info)};
        ::GetMonitorInfoW(::MonitorFromWindow(reference ? reference : m_hwnd, MONITOR_DEFAULTTONEAREST), &info);
        area = info.rcWork;
        if (reference)
            ::GetWindowRect(reference, &ref);
        else
            ref = area;
    }
    RECT own = {};
    ::GetWindowRect(m_hwnd, &own);
    int x = CentreInside(ref.left, ref.right, own.right - own.left, area.left, area.right);
    int y = CentreInside(ref.top, ref.bottom, own.bottom - own.top, area.top, area.bottom);
    ::SetWindowPos(m_hwnd, nullptr, x, y, -1, -1, SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOSIZE);
}

namespace {

HWND NotifiedChild(HWND own, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_DRAWITEM:
        return wParam ? reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->hwndItem : nullptr;
    case WM_DELETEITEM:
        return wParam ? reinterpret_cast<DELETEITEMSTRUCT*>(lParam)->hwndItem : nullptr;
    case WM_COMPAREITEM:
        return wParam ? reinterpret_cast<COMPAREITEMSTRUCT*>(lParam)->hwndItem : nullptr;
    case WM_MEASUREITEM:
        return wParam ? ::GetDlgItem(own, reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->CtlID) : nullptr;
    case WM_NOTIFY:
        return reinterpret_cast<NMHDR*>(lParam)->hwndFrom;
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
        return reinterpret_cast<HWND>(lParam);
    case WM_PARENTNOTIFY:
        if (LOWORD(wParam) == WM_CREATE || LOWORD(wParam) == WM_DESTROY)
            return reinterpret_cast<HWND>(lParam);
        return ::GetDlgItem(own, HIWORD(wParam));
    default:
        if (msg >= WM_CTLCOLORMSGBOX && msg <= WM_CTLCOLORSTATIC)
            return reinterpret_cast<HWND>(lParam);
        return nullptr;
    }
}

} // namespace

LRESULT CSimpleWnd::ReflectToChild(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled)
{
    HWND child = NotifiedChild(m_hwnd, msg, wParam, lParam);
    if (!child) {
        handled = FALSE;
        return 1;
    }
    handled = TRUE;
    return ::SendMessageW(child, msg + 0x2000, wParam, lParam);
}

} // namespace SKEIN
