#include "core/SAccelerator.h"

namespace SKEIN {

namespace {

struct NamedKey {
    const wchar_t* name;
    WORD vk;
};

const NamedKey kNamedKeys[] = {
    {L"esc", VK_ESCAPE},  {L"enter", VK_RETURN},  {L"up", VK_UP},         {L"down", VK_DOWN},
    {L"left", VK_LEFT},   {L"right", VK_RIGHT},   {L"home", VK_HOME},     {L"pageup", VK_PRIOR},
    {L"pagedown", VK_NEXT}, {L"insert", VK_INSERT}, {L"space", VK_SPACE}, {L"delete", VK_DELETE},
    {L"print", VK_PRINT},
};

const NamedKey kKeyNames[] = {
    {L"Enter", VK_RETURN}, {L"ESC", VK_ESCAPE},   {L"Space", VK_SPACE}, {L"PageUp", VK_PRIOR},
    {L"PageDown", VK_NEXT}, {L"End", VK_END},     {L"Home", VK_HOME},   {L"Left", VK_LEFT},
    {L"Up", VK_UP},        {L"Right", VK_RIGHT},  {L"Down", VK_DOWN},   {L"Print", VK_PRINT},
    {L"Insert", VK_INSERT}, {L"Delete", VK_DELETE},
};

// The punctuation keys: their character and virtual key.
const wchar_t kPunctuation[] = L"',-./;=[\\]`";
const WORD kPunctuationKeys[] = {222, 188, 189, 190, 191, 186, 187, 219, 220, 221, 192};

WORD SingleCharacterKey(wchar_t c)
{
    if (c >= L'a' && c <= L'z')
        return static_cast<WORD>(c - L'a' + 'A');
    if (c >= L'0' && c <= L'9')
        return static_cast<WORD>(c);
    for (int i = 0; kPunctuation[i]; ++i) {
        if (kPunctuation[i] == c)
            return kPunctuationKeys[i];
    }
    return 0;
}

// The whole text as a decimal number from low to high without leading zeros; -1 otherwise.
int WholeNumber(const wchar_t* text, int low, int high)
{
    if (!*text || (text[0] == L'0' && text[1]))
        return -1;
    int value = 0;
    for (; *text; ++text) {
        if (*text < L'0' || *text > L'9' || value > high)
            return -1;
        value = value * 10 + (*text - L'0');
    }
    return value >= low && value <= high ? value : -1;
}

// The rest of a "num " key name.
WORD NumpadKey(const wchar_t* rest)
{
    if (wcscmp(rest, L"del") == 0)
        return VK_DECIMAL;
    if (wcscmp(rest, L"*") == 0)
        return VK_MULTIPLY;
    if (wcscmp(rest, L"+") == 0)
        return VK_ADD;
    int digit = WholeNumber(rest, 0, 9);
    return digit < 0 ? 0 : static_cast<WORD>(VK_NUMPAD0 + digit);
}

} // namespace

CAccelerator::CAccelerator(UINT vk, bool ctrl, bool alt, bool shift)
    : m_modifier(static_cast<WORD>((alt ? kAccelAlt : 0) | (ctrl ? kAccelCtrl : 0) | (shift ? kAccelShift : 0))),
      m_key(static_cast<WORD>(vk))
{
}

CAccelerator::CAccelerator(DWORD packed) : m_modifier(HIWORD(packed)), m_key(LOWORD(packed)) {}

DWORD CAccelerator::ParseText(const SStringW& text)
{
    if (text.Length() > 99)
        return 0;
    SStringW lower(text);
    lower.LowerInPlace();
    WORD modifier = 0;
    WORD key = 0;
    for (int start = 0; start <= lower.Length();) {
        int plus = lower.FindChar(L'+', start);
        int end = plus < 0 ? lower.Length() : plus;
        SStringW token = lower.Substring(start, end - start);
        if (token == L"ctrl") {
            modifier |= kAccelCtrl;
        } else if (token == L"alt") {
            modifier |= kAccelAlt;
        } else if (token == L"shift") {
            modifier |= kAccelShift;
        } else {
            key = TranslateKeyName(token);
            break;
        }
        start = end + 1;
    }
    return (static_cast<DWORD>(modifier) << 16) | key;
}

WORD CAccelerator::TranslateKeyName(const SStringW& token)
{
    for (const NamedKey& named : kNamedKeys) {
        if (token.CompareIgnoringCase(named.name) == 0)
            return named.vk;
    }
    if (token.Length() == 1)
        return SingleCharacterKey(static_cast<wchar_t>(towlower(token[0])));
    // Function keys F1-F24 and the numeric pad: the whole name must match, so that "fx" or
    // "num x" are no keys.
    if (token[0] == L'f' || token[0] == L'F') {
        int number = WholeNumber(token.c_str() + 1, 1, 24);
        return number < 0 ? 0 : static_cast<WORD>(VK_F1 - 1 + number);
    }
    if (token.StartsWith(L"num "))
        return NumpadKey(token.c_str() + 4);
    return 0;
}

SStringW CAccelerator::KeyName(WORD vk)
{
    for (const NamedKey& named : kKeyNames) {
        if (named.vk == vk)
            return named.name;
    }
    SStringW name;
    if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) {
        wchar_t text[2] = {static_cast<wchar_t>(vk), 0};
        name = text;
    } else if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) {
        name.Printf(L"Num %d", vk - VK_NUMPAD0);
    } else if (vk == VK_MULTIPLY) {
        name = L"Num *";
    } else if (vk == VK_ADD) {
        name = L"Num +";
    } else if (vk == VK_DECIMAL) {
        name = L"Num Del";
    } else if (vk >= VK_F1 && vk <= VK_F12) {
        name.Printf(L"F%d", vk - VK_F1 + 1);
    } else {
        wchar_t c = static_cast<wchar_t>(LOWORD(::MapVirtualKeyA(vk, MAPVK_VK_TO_CHAR)));
        if (c && wcschr(kPunctuation, c)) {
            wchar_t text[2] = {c, 0};
            name = text;
        }
    }
    return name;
}

SStringW CAccelerator::FormatText(DWORD packed)
{
    if (packed == 0)
        return L"\u65E0";
    CAccelerator accel(packed);
    SStringW text;
    if (accel.m_modifier & kAccelCtrl)
        text += L"Ctrl+";
    if (accel.m_modifier & kAccelShift)
        text += L"Shift+";
    if (accel.m_modifier & kAccelAlt)
        text += L"Alt+";
    text += KeyName(accel.m_key);
    return text;
}

} // namespace SKEIN
