#include "control/SCtrlAttr.h"
#include "res.mgr/SSkinPoolMgr.h"
#include "res.mgr/SUiDef.h"

namespace SKEIN {
namespace ctrl {

bool ParseBool(const SStringW& value)
{
    return !(value == L"0" || value.CompareIgnoringCase(L"false") == 0);
}

int ParseInt(const SStringW& value)
{
    const wchar_t* text = value.c_str() ? value.c_str() : L"";
    if (text[0] == L'0' && (text[1] == L'x' || text[1] == L'X'))
        return static_cast<int>(wcstoul(text + 2, nullptr, 16));
    return _wtoi(text);
}

int ParseWord(const SStringW& value, const wchar_t* const* words, int count)
{
    for (int i = 0; i < count; ++i) {
        if (value == words[i])
            return i;
    }
    return -1;
}

bool ParseColor(const SStringW& value, COLORREF* color)
{
    if (value.IsEmptyText())
        return false;
    *color = ResolveNamedColor(value.c_str());
    return true;
}

ISkinObj* FindSkin(const SStringW& name, int scale)
{
    SSkinPoolMgr* skins = SSkinPoolMgr::Instance();
    return skins ? skins->FindSkin(name, scale) : nullptr;
}

ISkinObj* FindSystemSkin(int index, int scale)
{
    SSkinPoolMgr* skins = SSkinPoolMgr::Instance();
    return skins ? skins->FindSystemSkin(index, scale) : nullptr;
}

void RescaleSkin(SRefPtr<ISkinObj>& skin, int scale)
{
    if (!skin)
        return;
    if (ISkinObj* scaled = FindSkin(SStringW(skin->GetName()), scale))
        skin = scaled;
}

SIZE SkinSize(ISkinObj* skin)
{
    return skin ? skin->GetSkinSize() : SIZE{0, 0};
}

} // namespace ctrl
} // namespace SKEIN
