#pragma once
// The UI thread's message pump: message filters first, then translation and dispatch, and one
// idle pass after each burst of input.
#include <windows.h>
#include "core/SDynArray.h"

namespace SKEIN {

struct IMessageFilter {
    // Nonzero: the message is consumed.
    virtual BOOL PreTranslateMessage(MSG* msg) = 0;
};

struct IIdleHandler {
    virtual BOOL OnIdle() = 0;
};

class SMessageLoop {
public:
    SMessageLoop();
    virtual ~SMessageLoop();
    SMessageLoop(const SMessageLoop&) = delete;
    SMessageLoop& operator=(const SMessageLoop&) = delete;

    // The filters from the last added to the first; TRUE when one consumed the message.
    virtual BOOL PreTranslateMessage(MSG* msg);
    // Runs every idle handler once; FALSE, so idle runs once per burst of input.
    virtual BOOL OnIdle(int idleCount);
    // Runs until WM_QUIT or Quit; the wParam of the last message retrieved.
    virtual int Run();
    virtual BOOL IsRunning() const;
    virtual void OnMsg(MSG* msg);
    // Ends a running loop after the message being processed; nothing outside Run.
    virtual void Quit();
    // TRUE when the last Run ended on a WM_QUIT it took from the queue.
    BOOL TookQuitMessage() const { return m_msg.message == WM_QUIT; }

    int AddFilter(IMessageFilter* filter);
    int RemoveFilter(IMessageFilter* filter);
    int AddIdleHandler(IIdleHandler* handler);
    int RemoveIdleHandler(IIdleHandler* handler);

protected:
    SDynArray<IMessageFilter*> m_filters;
    SDynArray<IIdleHandler*> m_idleHandlers;
    MSG m_msg;
    int m_running;
    int m_quit;
};

} // namespace SKEIN
