#include "core/SWindowMgr.h"
#include "core/STimer2.h"

namespace SKEIN {

SWindowMgr::SWindowMgr() : m_lastHandle(0) {}

SWindowMgr::~SWindowMgr() {}

SwndHandle SWindowMgr::NewWindow(SWindow* window)
{
    SAutoLock guard(m_lock);
    if (!window || m_lastHandle == 0xFFFFFFFFu)
        return 0;
    SwndHandle handle = m_lastHandle + 1;
    if (!Set(handle, window))
        return 0;
    m_lastHandle = handle;
    return handle;
}

SWindow* SWindowMgr::WindowFromHandle(SwndHandle handle)
{
    if (handle == 0)
        return nullptr;
    SAutoLock guard(m_lock);
    SWindow** window = Find(handle);
    return window ? *window : nullptr;
}

bool SWindowMgr::DestroyWindow(SwndHandle handle)
{
    bool existed;
    {
        SAutoLock guard(m_lock);
        existed = Remove(handle);
    }
    if (STimer2* timers = STimer2::Instance())
        timers->KillTimersOfWindow(handle);
    return existed;
}

SWindow* SWindowMgr::GetWindow(SwndHandle handle)
{
    SWindowMgr* manager = Instance();
    return manager ? manager->WindowFromHandle(handle) : nullptr;
}

bool PackSwndTimerId(SwndHandle window, UINT timerId, UINT_PTR& packed)
{
    if (timerId > kSwndTimerIdMax || window == 0 || window > kSwndTimerHandleMax)
        return false;
    packed = (static_cast<UINT_PTR>(timerId | 0x80u) << 24) | window;
    return true;
}

bool UnpackSwndTimerId(UINT_PTR packed, SwndHandle& window, UINT& timerId)
{
    if (packed > 0xFFFFFFFFu || !(packed & 0x80000000u))
        return false;
    window = static_cast<SwndHandle>(packed & kSwndTimerHandleMax);
    timerId = static_cast<UINT>((packed >> 24) & kSwndTimerIdMax);
    return true;
}

} // namespace SKEIN
