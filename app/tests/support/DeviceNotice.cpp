#include "support/DeviceNotice.h"
#include <dbt.h>
#include <cstddef>
#include <cstring>

std::vector<BYTE> InterfaceNotice(const std::wstring& name)
{
    size_t size = offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name) + (name.size() + 1) * sizeof(wchar_t);
    std::vector<BYTE> bytes(size < sizeof(DEV_BROADCAST_DEVICEINTERFACE_W) ? sizeof(DEV_BROADCAST_DEVICEINTERFACE_W)
                                                                           : size);
    auto* notice = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_W*>(bytes.data());
    notice->dbcc_size = static_cast<DWORD>(bytes.size());
    notice->dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    std::memcpy(notice->dbcc_name, name.c_str(), (name.size() + 1) * sizeof(wchar_t));
    return bytes;
}

LRESULT SendInterfaceNotice(HWND window, WPARAM event, const std::wstring& name)
{
    std::vector<BYTE> notice = InterfaceNotice(name);
    return ::SendMessageW(window, WM_DEVICECHANGE, event, reinterpret_cast<LPARAM>(notice.data()));
}
