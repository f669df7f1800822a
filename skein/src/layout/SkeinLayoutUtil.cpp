#include "layout/SkeinLayoutUtil.h"
#include <stdlib.h>
#include <wchar.h>
#include "core/SWnd.h"
#include "res.mgr/SUiDef.h"

namespace SKEIN {

void SLayoutChildren::Collect(SWindow* parent)
{
    m_parentScale = parent->GetScale();
    m_items.GrowTo(parent->GetChildCount()); // one allocation, however many children
    for (SWindow* child = parent->NextChildInLayout(nullptr); child; child = parent->NextChildInLayout(child))
        Add(SLayoutChild{child, child->GetLayoutParam(), child->GetScale(), child->GetId()});
}

SIZE SLayoutChildren::PreferredSize(int i, int width, int height) const
{
    return m_items[i].window->ComputePreferredSizeFor(width, height);
}

void SLayoutChildren::Place(int i, const RECT& rect) const
{
    m_items[i].window->ApplyRect(rect);
}

RECT LayoutChildArea(SWindow* window)
{
    RECT area;
    window->GetChildAreaRect(&area);
    return area;
}

bool LayoutWrapsContent(SWindow* window, int orientation)
{
    ILayoutParam* param = window->GetLayoutParam();
    return param && param->IsWrapContent(orientation);
}

SLayoutSize ParseLayoutSizeText(const SStringW& value, bool acceptFull)
{
    SLayoutSize size;
    if (value.CompareIgnoringCase(L"matchParent") == 0 || (acceptFull && value.CompareIgnoringCase(L"full") == 0))
        size.SetMatchParent();
    else if (value.CompareIgnoringCase(L"wrapContent") == 0)
        size.SetWrapContent();
    else
        size = ResolveNamedDimension(value.c_str());
    return size;
}

int ParseLayoutInt(const SStringW& value)
{
    const wchar_t* text = value.c_str();
    if (text[0] == L'0' && (text[1] == L'x' || text[1] == L'X'))
        return static_cast<int>(wcstoul(text + 2, nullptr, 16));
    return static_cast<int>(wcstol(text, nullptr, 10));
}

bool ParseLayoutFloat(const SStringW& value, float& out)
{
    return swscanf(value.c_str(), L"%f", &out) == 1;
}

} // namespace SKEIN
