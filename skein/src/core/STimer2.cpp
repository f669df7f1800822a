#include "core/STimer2.h"
#include "core/SWnd.h"

namespace SKEIN {

STimer2::STimer2() {}

STimer2::~STimer2() {}

bool STimer2::SetTimer(SwndHandle window, UINT id, UINT elapse)
{
    KillTimer(window, id);
    // The native id is always chosen by the system: passing an id here would replace any
    // other thread timer that happens to carry that number.
    UINT_PTR osId = ::SetTimer(nullptr, 0, elapse, TimerProc);
    if (osId == 0)
        return false;
    if (!Set(osId, tagTIMERINFO{window, id})) {
        ::KillTimer(nullptr, osId);
        return false;
    }
    return true;
}

void STimer2::KillTimer(SwndHandle window, UINT id)
{
    UINT_PTR osId = FindTimer(window, &id);
    if (osId == 0)
        return;
    ::KillTimer(nullptr, osId);
    Remove(osId);
}

void STimer2::KillTimersOfWindow(SwndHandle window)
{
    // Removing may rehash the map, so every pass starts the search again.
    while (UINT_PTR osId = FindTimer(window, nullptr)) {
        ::KillTimer(nullptr, osId);
        Remove(osId);
    }
}

UINT_PTR STimer2::FindTimer(SwndHandle window, const UINT* id) const
{
    for (Node* node = Map().FirstNode(); node; node = Map().NextNode(node)) {
        if (node->value.window == window && (!id || node->value.id == *id))
            return node->key;
    }
    return 0;
}

void STimer2::Deliver(UINT_PTR osId)
{
    tagTIMERINFO* info = Find(osId);
    if (!info) {
        ::KillTimer(nullptr, osId);
        return;
    }
    tagTIMERINFO timer = *info;
    SWindow* window = SWindowMgr::GetWindow(timer.window);
    if (!window) {
        KillTimer(timer.window, timer.id);
        return;
    }
    window->SendUiMessage(kMsgTimer2, timer.id, 0);
}

void CALLBACK STimer2::TimerProc(HWND, UINT, UINT_PTR osId, DWORD)
{
    STimer2* timers = Instance();
    if (timers)
        timers->Deliver(osId);
    else
        ::KillTimer(nullptr, osId);
}

} // namespace SKEIN
