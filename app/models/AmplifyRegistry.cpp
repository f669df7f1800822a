#include "models/AmplifyRegistry.h"

const wchar_t kAmplifyKey[] = L"SOFTWARE\\CORVANE";
const wchar_t kLeftAmplifyValue[] = L"LeftAmplify";
const wchar_t kRightAmplifyValue[] = L"RightAmplify";

bool WriteAmplify(UINT32 left, UINT32 right)
{
    HKEY key = nullptr;
    wchar_t noClass[] = L"";
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, kAmplifyKey, 0, noClass, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr,
                          &key, nullptr) != ERROR_SUCCESS)
        return false;
    bool written = true;
    const struct {
        const wchar_t* name;
        UINT32 value;
    } kValues[] = {{kLeftAmplifyValue, left}, {kRightAmplifyValue, right}};
    for (const auto& item : kValues) {
        BYTE bytes[4] = {static_cast<BYTE>(item.value), static_cast<BYTE>(item.value >> 8),
                         static_cast<BYTE>(item.value >> 16), static_cast<BYTE>(item.value >> 24)};
        written &= ::RegSetValueExW(key, item.name, 0, REG_BINARY, bytes, sizeof(bytes)) == ERROR_SUCCESS;
    }
    ::RegCloseKey(key);
    return written;
}
