#include "core/SHostWnd.h"
#include <cstring>
#include <windowsx.h>

namespace SKEIN {

namespace {

// The record sent to the inspector for message 12026.
#pragma pack(push, 1)
struct SpyWindowInfo {
    DWORD handle;
    RECT windowRect;
    RECT innerRect;
    int visible;
    int id;
    wchar_t name[251];
    wchar_t className[51];
    wchar_t xml[5001];
};
#pragma pack(pop)
static_assert(sizeof(SpyWindowInfo) == 10650, "inspection record size");

const wchar_t kOverflow[] = L"##buf overflow!";

void CopyBounded(wchar_t* field, size_t units, const wchar_t* text)
{
    const wchar_t* source = text ? text : L"";
    wcsncpy(field, wcslen(source) < units ? source : kOverflow, units - 1);
}

} // namespace

LRESULT SHostWnd::OnSpyMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case kHostMsgSpyAnnounce:
        m_spyWnd = ::IsWindow(reinterpret_cast<HWND>(lParam)) ? reinterpret_cast<HWND>(lParam) : nullptr;
        return m_spyWnd != nullptr;
    case kHostMsgSpyHitTest: {
        POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ::ScreenToClient(m_hwnd, &pt);
        return FindWindowAtPoint(pt, FALSE);
    }
    default:
        break;
    }
    if (!m_attr.Has(kHostAllowSpy))
        return 0;
    SwndHandle handle = wParam ? static_cast<SwndHandle>(wParam) : m_handle;
    if (msg == kHostMsgSpyInfo)
        return SendSpyInfo(handle);
    SWindow* window = SWindowMgr::GetWindow(handle);
    SWindow* related = window ? window->GetRelative(static_cast<int>(lParam)) : nullptr;
    return related ? related->GetHandle() : 0;
}

LRESULT SHostWnd::SendSpyInfo(SwndHandle handle)
{
    SWindow* window = SWindowMgr::GetWindow(handle);
    if (!window)
        return 0;
    SpyWindowInfo* info = new SpyWindowInfo;
    memset(info, 0, sizeof(*info));
    info->handle = handle;
    info->windowRect = window->GetWindowRect();
    window->GetInnerRect(&info->innerRect);
    info->visible = window->TestVisible();
    info->id = window->GetId();
    CopyBounded(info->name, 251, window->GetName());
    CopyBounded(info->className, 51, window->XmlClassName());
    wcscpy(info->xml, L"##unavailable!");
    COPYDATASTRUCT data = {kHostMsgSpyInfo, sizeof(*info), info};
    ::SendMessageW(m_spyWnd, WM_COPYDATA, reinterpret_cast<WPARAM>(m_hwnd), reinterpret_cast<LPARAM>(&data));
    delete info;
    return 1;
}

} // namespace SKEIN
