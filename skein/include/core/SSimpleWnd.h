#pragma once
// Native windows of the framework: each one is bound to its object by a per-window code stub
// (thunk) that replaces the HWND argument of the window procedure by the object, so messages
// land in the object's message map without a lookup.
#include <windows.h>
#include "core/SSingleton.h"
#include "helper/SCriticalSection.h"

namespace SKEIN {

class CSimpleWnd;

// Handles window messages; non-zero when handled (result then holds the answer). mapId 0 is
// the main map.
class CMessageMap {
public:
    virtual BOOL HandleWindowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result,
                                     DWORD mapId) = 0;
};

// The message being processed, linked to the one it interrupted.
struct SWndMsgRecord {
    MSG msg;
    SWndMsgRecord* previous;
};

// The one window class of the framework, the executable heap of the thunks and the lock that
// hands a window being created over to its first message.
class CSimpleWndHelper : public SSingleton2, public SSingleton<CSimpleWndHelper> {
public:
    CSimpleWndHelper(HINSTANCE module, const wchar_t* className, BOOL imeClass);
    ~CSimpleWndHelper() override;

    // Enters the creation lock and records window; CSimpleWnd::CreateNative leaves it.
    void LockForCreation(CSimpleWnd* window);
    void UnlockCreation() { m_lock.Unlock(); }
    CSimpleWnd* WindowBeingCreated() const { return m_creating; }
    HANDLE ThunkHeap() const { return m_heap; }
    ATOM ClassAtom() const { return m_atom; }
    HINSTANCE Module() const { return m_module; }
    // The objects holding a thunk, so that those still bound at the end can be cut.
    void Track(CSimpleWnd* window);
    void Untrack(CSimpleWnd* window);

private:
    bool CutLeftWindows();
    void CutTrackedObjects();

    HANDLE m_heap;
    SCriticalSection m_lock;
    CSimpleWnd* m_creating;
    ATOM m_atom;
    HINSTANCE m_module;
    SCriticalSection m_trackLock;
    CSimpleWnd* m_tracked;
};

class CSimpleWnd : public CMessageMap {
public:
    explicit CSimpleWnd(HWND hwnd = nullptr);
    virtual ~CSimpleWnd();

    BOOL HandleWindowMessage(HWND, UINT, WPARAM, LPARAM, LRESULT&, DWORD) override { return FALSE; }
    // After the window's last message; returns the thunk to the heap.
    virtual void OnLastMessage(HWND hwnd);

    // Null on failure (the thunk is freed again) or while the object has a window.
    HWND CreateNative(const wchar_t* name, DWORD style, DWORD exStyle, int x, int y, int width, int height,
                      HWND parent, LPVOID param);
    HWND Handle() const { return m_hwnd; }
    LRESULT DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    // The default processing of the message being handled; 0 outside a handler.
    LRESULT DefWindowProcForCurrent();
    const MSG* CurrentMessage() const { return m_current ? &m_current->msg : nullptr; }
    // TRUE when the style changed.
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT posFlags = 0);
    BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT posFlags = 0);
    void CenterOnOwner(HWND reference = nullptr);
    // Sends a control's notification back to the control (message + 0x2000).
    LRESULT ReflectToChild(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);

    LRESULT SendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) { return ::SendMessageW(m_hwnd, msg, wParam, lParam); }
    BOOL ShowWindow(int cmd) { return ::ShowWindow(m_hwnd, cmd); }
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc = nullptr) { return ::SetTimer(m_hwnd, id, elapse, proc); }
    BOOL KillTimer(UINT_PTR id) { return ::KillTimer(m_hwnd, id); }
    BOOL DestroyWindow() { return ::DestroyWindow(m_hwnd); }
    BOOL GetWindowRect(RECT* rect) const { return ::GetWindowRect(m_hwnd, rect); }
    BOOL GetClientRect(RECT* rect) const { return ::GetClientRect(m_hwnd, rect); }
    BOOL IsWindow() const { return ::IsWindow(m_hwnd); }
    BOOL InvalidateRect(const RECT* rect, BOOL erase = FALSE) { return ::InvalidateRect(m_hwnd, rect, erase); }

    static LRESULT CALLBACK StartWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

protected:
    // Bound to a window: from CreateNative to the window's last message, or to the framework's end.
    BOOL IsBound() const { return m_thunk != nullptr; }

    HWND m_hwnd;

private:
    friend class CSimpleWndHelper;

    CSimpleWnd(const CSimpleWnd&) = delete;
    CSimpleWnd& operator=(const CSimpleWnd&) = delete;

    static LRESULT CALLBACK ObjectWindowProc(HWND self, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT ProcessMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    void FreeThunk();

    SWndMsgRecord* m_current;
    BOOL m_destroyed;
    void* m_thunk;
    WNDPROC m_prevProc;
    // Neighbours in the helper's list while the object holds a thunk.
    CSimpleWnd* m_prevTracked;
    CSimpleWnd* m_nextTracked;
};

// Writes into thunk the code that calls target with object in place of the HWND argument;
// kThunkSize bytes. Returns the entry point.
enum { kThunkSize = 24 };
WNDPROC BuildWindowThunk(void* thunk, void* object, WNDPROC target);

} // namespace SKEIN
