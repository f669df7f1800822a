#include "PageCommon.h"

#include <prsht.h>

#include "CDIGameCntrlPropSheet.h"
#include "SheetDevice.h"

namespace pelko {
namespace {

const int kSkipTicks = 50;
const char kStateProperty[] = "PelkoPageState";

void ShowStatus(HWND page, const StatusTexts& texts, bool connected)
{
    SetDlgItemTextA(page, texts.text, connected ? texts.connected : texts.notConnected);
    ShowWindow(GetDlgItem(page, texts.icon), connected ? SW_HIDE : SW_SHOW);
}

} // namespace

void AttachPage(HWND page, LPARAM lParam, PageState& state)
{
    const PROPSHEETPAGEA* description = reinterpret_cast<const PROPSHEETPAGEA*>(lParam);
    state.sheet = reinterpret_cast<CDIGameCntrlPropSheet*>(description->lParam);
    if (state.sheet)
        state.sheet->AddRef();
    SetWindowLongPtrA(page, DWLP_USER, LONG_PTR(state.sheet));
    SetPropA(page, kStateProperty, &state);
}

void DetachPage(HWND page, PageState& state)
{
    RemovePropA(page, kStateProperty);
    if (state.sheet)
        state.sheet->Release();
    state.sheet = nullptr;
}

PageState* FindPageState(HWND page)
{
    return static_cast<PageState*>(GetPropA(page, kStateProperty));
}

IDirectInputDevice2A* PageDevice(const PageState& state)
{
    return state.sheet ? state.sheet->Device() : nullptr;
}

Link CheckLink(HWND page, PageState& state, const StatusTexts& texts)
{
    if (AcquireDevice(PageDevice(state))) {
        if (state.connection != 1) {
            ShowStatus(page, texts, true);
            state.connection = 1;
        }
        return Link::Connected;
    }
    if (state.connection == 2)
        return Link::Absent;
    ShowStatus(page, texts, false);
    state.connection = 2;
    state.skip = kSkipTicks;
    return Link::Lost;
}

bool SkipTick(PageState& state)
{
    if (state.skip <= 0)
        return false;
    --state.skip;
    return true;
}

UINT NotifyCode(LPARAM lParam)
{
    return reinterpret_cast<const NMHDR*>(lParam)->code;
}

INT_PTR AcceptNotify(HWND page)
{
    SetWindowLongPtrA(page, DWLP_MSGRESULT, 0);
    return TRUE;
}

INT_PTR PollWhileActive(HWND page, LPARAM lParam, UINT timer)
{
    switch (NotifyCode(lParam)) {
    case PSN_SETACTIVE:
        SetTimer(page, timer, kPollMilliseconds, nullptr);
        return AcceptNotify(page);
    case PSN_KILLACTIVE:
        KillTimer(page, timer);
        return AcceptNotify(page);
    }
    return FALSE;
}

} // namespace pelko
