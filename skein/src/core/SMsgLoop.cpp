#include "core/SMsgLoop.h"
#include "helper/SLog.h"

namespace SKEIN {

namespace {

template <class T>
int RemoveFirst(SDynArray<T*>& items, T* item)
{
    int i = items.Find(item);
    if (i < 0)
        return 0;
    items.RemoveAt(i);
    return 1;
}

const UINT kCaretBlinkTimer = 0x0118; // the system timer that blinks the caret

// Messages that arrive while the user is idle (painting, pointer moves, caret blink).
bool EndsIdle(UINT message)
{
    return message != WM_PAINT && message != WM_NCMOUSEMOVE && message != kCaretBlinkTimer &&
           message != WM_MOUSEMOVE;
}

} // namespace

SMessageLoop::SMessageLoop() : m_msg(), m_running(0), m_quit(0) {}

SMessageLoop::~SMessageLoop() {}

BOOL SMessageLoop::PreTranslateMessage(MSG* msg)
{
    for (int i = m_filters.Count() - 1; i >= 0; --i) {
        if (i >= m_filters.Count())
            continue; // a filter removed others while it ran
        IMessageFilter* filter = m_filters[i];
        if (filter && filter->PreTranslateMessage(msg))
            return TRUE;
    }
    return FALSE;
}

BOOL SMessageLoop::OnIdle(int)
{
    for (int i = 0; i < m_idleHandlers.Count(); ++i) {
        if (IIdleHandler* handler = m_idleHandlers[i])
            handler->OnIdle();
    }
    return FALSE;
}

int SMessageLoop::Run()
{
    m_running = 1;
    m_quit = 0;
    int idleCount = 0;
    BOOL doIdle = TRUE;
    for (;;) {
        if (doIdle && !PeekMessageW(&m_msg, nullptr, 0, 0, PM_NOREMOVE)) {
            doIdle = OnIdle(idleCount++) && doIdle;
        } else {
            BOOL result = GetMessageW(&m_msg, nullptr, 0, 0);
            if (result == -1) {
                SKEIN_LOG(4, "SKEIN::SMessageLoop::Run").Line().AppendText("::GetMessage returned -1 (error)");
                continue;
            }
            if (result == 0) {
                SKEIN_LOG(0, "SKEIN::SMessageLoop::Run")
                    .FormatW(L"SMessageLoop::Run - exiting,code = %d", static_cast<int>(m_msg.wParam));
                break;
            }
            OnMsg(&m_msg);
            if (EndsIdle(m_msg.message)) {
                idleCount = 0;
                doIdle = TRUE;
            }
        }
        if (m_quit)
            break;
    }
    m_running = 0;
    return static_cast<int>(m_msg.wParam);
}

BOOL SMessageLoop::IsRunning() const
{
    return m_running;
}

void SMessageLoop::OnMsg(MSG* msg)
{
    if (!PreTranslateMessage(msg)) {
        TranslateMessage(msg);
        DispatchMessageW(msg);
    }
}

void SMessageLoop::Quit()
{
    if (m_running)
        m_quit = 1;
}

int SMessageLoop::AddFilter(IMessageFilter* filter)
{
    m_filters.Add(filter);
    return 1;
}

int SMessageLoop::RemoveFilter(IMessageFilter* filter)
{
    return RemoveFirst(m_filters, filter);
}

int SMessageLoop::AddIdleHandler(IIdleHandler* handler)
{
    m_idleHandlers.Add(handler);
    return 1;
}

int SMessageLoop::RemoveIdleHandler(IIdleHandler* handler)
{
    return RemoveFirst(m_idleHandlers, handler);
}

} // namespace SKEIN
