#include "res.mgr/SResourceKey.h"
#include <string.h>
#include <wchar.h>
#include <wctype.h>

namespace SKEIN {

namespace {

// Copies text lower-cased into a zero-filled field of capacity + 1 units; false when longer.
bool CopyLowered(wchar_t* field, size_t capacity, const wchar_t* text)
{
    if (!text)
        text = L"";
    size_t length = wcslen(text);
    if (length > capacity)
        return false;
    for (size_t i = 0; i < length; ++i)
        field[i] = static_cast<wchar_t>(towlower(text[i]));
    return true;
}

} // namespace

SResourceKey::SResourceKey()
{
    memset(m_type, 0, sizeof(m_type));
    memset(m_name, 0, sizeof(m_name));
}

bool SResourceKey::Assign(const wchar_t* type, const wchar_t* name)
{
    *this = SResourceKey();
    if (CopyLowered(m_type, kMaxType, type) && CopyLowered(m_name, kMaxName, name))
        return true;
    *this = SResourceKey();
    return false;
}

UINT32 SResourceKey::Hash() const
{
    UINT32 h = 0;
    for (const wchar_t* c = m_type; *c; ++c)
        h = h * 33 + static_cast<UINT32>(*c);
    for (const wchar_t* c = m_name; *c; ++c)
        h = h * 33 + static_cast<UINT32>(*c);
    return h;
}

bool SResourceKey::operator==(const SResourceKey& other) const
{
    return wcscmp(m_type, other.m_type) == 0 && wcscmp(m_name, other.m_name) == 0;
}

} // namespace SKEIN
