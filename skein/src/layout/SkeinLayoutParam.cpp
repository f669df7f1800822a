#include <new>
#include <stdio.h>
#include <math.h>
#include "helper/SStringConv.h"
#include "layout/SkeinLayout.h"
#include "layout/SkeinLayoutUtil.h"
#include "res.mgr/SUiDef.h"

namespace SKEIN {

namespace {

int KindOfPrefix(wchar_t c)
{
    switch (c) {
    case L'%': return kPosPercent;
    case L'@': return kPosSize;
    case L'[': return kPosPrevFar;
    case L']': return kPosNextNear;
    case L'{': return kPosPrevNear;
    case L'|': return kPosCenter;
    case L'}': return kPosNextFar;
    default: return kPosParent;
    }
}

// "sib." items: the edge word, the sibling id and N.
bool ParseSiblingItem(const SStringW& rest, PositionItem& item)
{
    static const struct {
        const wchar_t* word;
        int kind;
    } kEdges[] = {{L"left@", kPosSiblingNear}, {L"right@", kPosSiblingFar}, {L"top@", kPosSiblingNear},
                  {L"bottom@", kPosSiblingFar}};
    for (const auto& edge : kEdges) {
        SStringW word(edge.word);
        if (!rest.StartsWith(word))
            continue;
        SDynArray<SStringW> parts;
        if (SplitByChar(rest.Substring(word.Length(), rest.Length()), L':', parts) != 2)
            return false;
        int id = static_cast<int>(wcstol(parts[0].c_str(), nullptr, 10));
        if (id == 0)
            return false;
        item.kind = edge.kind;
        item.siblingId = id;
        item.size = ResolveNamedDimension(parts[1].c_str());
        item.sign = item.size.value < 0.0f ? -1 : 1;
        item.size.value = fabsf(item.size.value);
        return true;
    }
    return false;
}

// Width or height from a pair of four position items.
void SizeFromItems(const PositionItem& nearItem, const PositionItem& farItem, SLayoutSize& size)
{
    if (nearItem.kind == kPosParent && nearItem.size.IsZero() && nearItem.sign == 1 && farItem.kind == kPosParent &&
        farItem.size.IsZero() && farItem.sign == -1) {
        size.SetMatchParent();
    } else if (farItem.kind == kPosSize) {
        if (farItem.sign == -1)
            size.SetWrapContent();
        else
            size = farItem.size;
    } else {
        size.SetUnspecified();
    }
}

bool IsVertical(int orientation) { return orientation == kOrientVert; }

} // namespace

bool ParsePositionItem(const SStringW& text, PositionItem& item)
{
    if (text.IsEmptyText())
        return false;
    if (text.StartsWith(SStringW(L"sib.")))
        return ParseSiblingItem(text.Substring(4, text.Length()), item);
    int kind = KindOfPrefix(text[0]);
    int at = kind == kPosParent ? 0 : 1;
    signed char sign = 1;
    if (text[at] == L'-') {
        sign = -1;
        ++at;
    }
    item.kind = kind;
    item.siblingId = -1;
    item.sign = sign;
    item.size = ResolveNamedDimension(text.c_str() + at);
    return true;
}

SkeinLayoutParam::SkeinLayoutParam()
{
    PositionItem none{0, -1, 1, SLayoutSize()};
    m_data.left = m_data.right = m_data.top = m_data.bottom = none;
    Clear();
}

void SkeinLayoutParam::Clear()
{
    m_data.count = 0;
    m_data.offsetX = m_data.offsetY = 0.0f;
    m_data.width.SetWrapContent();
    m_data.height.SetWrapContent();
}

bool SkeinLayoutParam::IsMatchParent(int orientation) const
{
    return LayoutSizesPass(m_data.width, m_data.height, orientation,
                           [](const SLayoutSize& size) { return size.IsMatchParent(); });
}

bool SkeinLayoutParam::IsWrapContent(int orientation) const
{
    auto wraps = [this](const SLayoutSize& size) {
        return size.IsWrapContent() || (m_data.count == 0 && !size.HasValue());
    };
    return LayoutSizesPass(m_data.width, m_data.height, orientation, wraps);
}

bool SkeinLayoutParam::IsSpecifiedSize(int orientation) const
{
    return LayoutSizesPass(m_data.width, m_data.height, orientation,
                           [](const SLayoutSize& size) { return size.IsNonNegative(); });
}

SLayoutSize SkeinLayoutParam::GetSpecifiedSize(int orientation) const
{
    return IsVertical(orientation) ? m_data.height : m_data.width;
}

void SkeinLayoutParam::SetMatchParent(int orientation)
{
    SetLayoutSizes(m_data.width, m_data.height, orientation, [](SLayoutSize& size) { size.SetMatchParent(); });
}

void SkeinLayoutParam::SetWrapContent(int orientation)
{
    SetLayoutSizes(m_data.width, m_data.height, orientation, [](SLayoutSize& size) { size.SetWrapContent(); });
}

void SkeinLayoutParam::SetSpecifiedSize(int orientation, const SLayoutSize& size)
{
    SetLayoutSizes(m_data.width, m_data.height, orientation, [&size](SLayoutSize& side) { side = size; });
}

ILayoutParam* SkeinLayoutParam::Clone() const
{
    SkeinLayoutParam* copy = new (std::nothrow) SkeinLayoutParam;
    if (copy)
        copy->m_data = m_data;
    return copy;
}

HRESULT SkeinLayoutParam::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL)
{
    if (name.CompareIgnoringCase(L"width") == 0) {
        m_data.width = ParseLayoutSizeText(value, true);
        return S_OK;
    }
    if (name.CompareIgnoringCase(L"height") == 0) {
        m_data.height = ParseLayoutSizeText(value, true);
        return S_OK;
    }
    if (name.CompareIgnoringCase(L"size") == 0)
        return ApplySize(value);
    if (name.CompareIgnoringCase(L"offset") == 0)
        return ApplyOffset(value);
    if (name.CompareIgnoringCase(L"pos") == 0)
        return ApplyPos(value);
    return E_NOTIMPL;
}

HRESULT SkeinLayoutParam::ApplySize(const SStringW& value)
{
    SDynArray<SStringW> parts;
    if (SplitByChar(value, L',', parts) != 2)
        return E_FAIL;
    m_data.width = ParseLayoutSizeText(parts[0], true);
    m_data.height = ParseLayoutSizeText(parts[1], true);
    return S_OK;
}

HRESULT SkeinLayoutParam::ApplyOffset(const SStringW& value)
{
    float x, y;
    if (swscanf(value.c_str(), L"%f,%f", &x, &y) != 2)
        return E_FAIL;
    m_data.offsetX = x;
    m_data.offsetY = y;
    return S_OK;
}

HRESULT SkeinLayoutParam::ApplyPos(const SStringW& value)
{
    SDynArray<SStringW> items;
    int n = SplitByChar(value, L',', items);
    if (n != 2 && n != 4)
        return E_INVALIDARG;
    for (int i = 0; i < n; ++i)
        items[i].TrimSpaces();
    PositionItem left, top, right, bottom;
    bool nearOk = ParsePositionItem(items[0], left) && ParsePositionItem(items[1], top) && left.kind != kPosSize &&
                  top.kind != kPosSize;
    if (nearOk) {
        m_data.left = left;
        m_data.top = top;
        m_data.count = 2;
    }
    bool farOk = nearOk && n == 4 && ParsePositionItem(items[2], right) && ParsePositionItem(items[3], bottom);
    if (farOk) {
        m_data.right = right;
        m_data.bottom = bottom;
        m_data.count = 4;
        SizeFromItems(m_data.left, m_data.right, m_data.width);
        SizeFromItems(m_data.top, m_data.bottom, m_data.height);
    } else {
        if (!m_data.width.HasValue())
            m_data.width.SetWrapContent();
        if (!m_data.height.HasValue())
            m_data.height.SetWrapContent();
    }
    return S_OK;
}

} // namespace SKEIN
