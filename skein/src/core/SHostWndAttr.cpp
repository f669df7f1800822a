#include "core/SHostWnd.h"
#include <shlwapi.h>
#include <vector>
#include "core/SApp.h"
#include "res.mgr/SUiDef.h"

namespace SKEIN {

namespace {

bool Is(const SStringW& name, const wchar_t* expected)
{
    return _wcsicmp(name.c_str(), expected) == 0;
}

int Number(const SStringW& value)
{
    int number = 0;
    StrToIntExW(value.c_str(), STIF_SUPPORT_HEX, &number);
    return number;
}

// A comma-separated list of exactly count sizes; E_INVALIDARG (nothing changed) otherwise.
HRESULT ParseSizes(const SStringW& value, SLayoutSize* sizes, size_t count)
{
    std::vector<SLayoutSize> parsed;
    const wchar_t* start = value.c_str();
    for (const wchar_t* p = start;; ++p) {
        if (*p == L',' || *p == 0) {
            std::wstring piece(start, p);
            parsed.push_back(ResolveNamedDimension(piece.c_str()));
            start = p + 1;
            if (*p == 0)
                break;
        }
    }
    if (parsed.size() != count)
        return E_INVALIDARG;
    for (size_t i = 0; i < count; ++i)
        sizes[i] = parsed[i];
    return S_OK;
}

const struct {
    const wchar_t* name;
    DWORD flag;
} kFlagAttributes[] = {
    {L"resizable", kHostResizable},   {L"translucent", kHostTranslucent},   {L"sendWheel2Hover", kHostSendWheel2Hover},
    {L"appWnd", kHostAppWnd},         {L"toolWindow", kHostToolWindow},     {L"allowSpy", kHostAllowSpy},
};

const wchar_t* const kWindowTypes[] = {L"undefine", L"appMain", L"normal"};

} // namespace

SHostWndAttr::SHostWndAttr()
    : m_flags(0), m_wndStyle(0), m_wndStyleEx(0), m_title(this), m_smallIcon(nullptr), m_bigIcon(nullptr)
{
    Reset();
}

SHostWndAttr::~SHostWndAttr()
{
    Reset();
}

void SHostWndAttr::Reset()
{
    m_flags = 255 | kHostAllowSpy;
    m_wndStyle = 0;
    m_wndStyleEx = 0;
    AssignIcon(m_smallIcon, SStringW());
    AssignIcon(m_bigIcon, SStringW());
}

void SHostWndAttr::AssignIcon(HICON& icon, const SStringW& id)
{
    if (icon)
        ::DestroyIcon(icon);
    icon = nullptr;
    SApplication* app = SApplication::Instance();
    if (id.Length() > 0 && app)
        icon = app->LoadIconFromId(id.c_str());
}

void SHostWndAttr::SetFlag(DWORD flag, const SStringW& value)
{
    m_flags = (Number(value) & 1) ? (m_flags | flag) : (m_flags & ~flag);
}

HRESULT SHostWndAttr::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    HRESULT result = S_FALSE;
    if (Is(name, L"trCtx")) {
        m_trCtx = ResolveNamedString(value.c_str());
    } else if (Is(name, L"title")) {
        m_title.SetSource(ResolveNamedString(value.c_str()));
    } else if (Is(name, L"width")) {
        m_width = ResolveNamedDimension(value.c_str());
    } else if (Is(name, L"height")) {
        m_height = ResolveNamedDimension(value.c_str());
    } else if (Is(name, L"margin")) {
        result = ParseSizes(value, m_margin, 4);
    } else if (Is(name, L"minsize")) {
        result = ParseSizes(value, m_minSize, 2);
    } else if (Is(name, L"maxInset")) {
        result = ParseSizes(value, m_maxInset, 4);
    } else if (Is(name, L"wndStyle")) {
        m_wndStyle = static_cast<DWORD>(Number(value));
    } else if (Is(name, L"wndStyleEx")) {
        m_wndStyleEx = static_cast<DWORD>(Number(value));
    } else if (Is(name, L"smallIcon")) {
        AssignIcon(m_smallIcon, value);
    } else if (Is(name, L"bigIcon")) {
        AssignIcon(m_bigIcon, value);
    } else if (Is(name, L"alpha")) {
        m_flags = (m_flags & ~0xFFu) | (Number(value) & 0xFF);
    } else if (Is(name, L"appMainWnd")) {
        SetWindowType(Number(value));
    } else if (Is(name, L"wndType")) {
        result = E_FAIL;
        for (int type = 0; type < 3; ++type) {
            if (wcscmp(value.c_str(), kWindowTypes[type]) == 0) {
                SetWindowType(type);
                result = S_FALSE;
            }
        }
    } else {
        for (const auto& entry : kFlagAttributes) {
            if (Is(name, entry.name)) {
                SetFlag(entry.flag, value);
                return AfterAttribute(name, value, loading, S_FALSE);
            }
        }
        return UnknownAttribute(name, value, loading);
    }
    return result == S_FALSE ? AfterAttribute(name, value, loading, S_FALSE) : result;
}

} // namespace SKEIN
