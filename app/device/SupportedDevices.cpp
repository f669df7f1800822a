#include "device/SupportedDevices.h"
#include <dbt.h>
#include <cstddef>
#include <cwchar>
#include <cwctype>

namespace {

constexpr size_t kNameOffset = offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name);

} // namespace

bool ReadInterfaceName(LPARAM data, std::wstring& name)
{
    const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(data);
    if (!header || header->dbch_size < kNameOffset + sizeof(wchar_t) ||
        header->dbch_devicetype != DBT_DEVTYP_DEVICEINTERFACE)
        return false;
    const auto* notice = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_W*>(data);
    size_t capacity = (header->dbch_size - kNameOffset) / sizeof(wchar_t);
    size_t length = wcsnlen(notice->dbcc_name, capacity);
    if (length == capacity)
        return false;
    name.assign(notice->dbcc_name, length);
    return true;
}

USHORT MatchSupportedInterface(const std::wstring& name)
{
    std::wstring lower(name);
    for (wchar_t& c : lower)
        c = static_cast<wchar_t>(std::towlower(c));
    for (USHORT product : kSupportedProductIds) {
        wchar_t text[32];
        swprintf(text, 32, L"vid_%04x&pid_%04x&mi_00", kSupportedVendorId, product);
        if (lower.find(text) != std::wstring::npos)
            return product;
    }
    return 0;
}
