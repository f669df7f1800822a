#pragma once
// The (type, name) key of the folder and zip providers' indexes: two fixed fields, lower-cased,
// so lookups ignore case in both.
#include <windows.h>

namespace SKEIN {

class SResourceKey {
public:
    enum { kMaxType = 29, kMaxName = 99 };

    SResourceKey();

    // Fills both fields; false, with the key left empty, when the type is longer than kMaxType
    // or the name longer than kMaxName characters: such keys are never stored nor found, so a
    // long name can't be cut down into another one. A null text counts as empty.
    bool Assign(const wchar_t* type, const wchar_t* name);

    // h = h * 33 + c over the type, then over the name.
    UINT32 Hash() const;
    bool operator==(const SResourceKey& other) const;

private:
    wchar_t m_type[kMaxType + 1];
    wchar_t m_name[kMaxName + 1];
};

} // namespace SKEIN
