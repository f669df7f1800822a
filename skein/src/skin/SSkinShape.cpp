#include "skin/SSkinShape.h"
#include <new>
#include "helper/SStringConv.h"
#include "skin/SSkinAttr.h"

namespace SKEIN {

namespace {

const wchar_t* const kShapeNames[] = {L"rectangle", L"oval", L"ring"};

struct NamedValue {
    const wchar_t* name;
    int value;
};
const NamedValue kStrokeStyles[] = {{L"solid", PS_SOLID}, {L"dash", PS_DASH}, {L"dashDot", PS_DASHDOT},
                                    {L"dashDotDot", PS_DASHDOTDOT}};
const NamedValue kGradientTypes[] = {{L"linear", 0}, {L"radial", 1}, {L"sweep", 2}};

// The value of an exactly matching keyword; false for none.
template <size_t N>
bool Keyword(const NamedValue (&table)[N], const SStringW& text, int* value)
{
    for (const NamedValue& entry : table) {
        if (text == entry.name) {
            *value = entry.value;
            return true;
        }
    }
    return false;
}

// A colour attribute into field; E_FAIL for an empty value.
HRESULT ColorInto(const SStringW& value, COLORREF* field)
{
    return SkinAttrColor(value, field) ? S_OK : E_FAIL;
}

template <class T>
void ReleasePart(T*& part)
{
    if (part)
        part->Release();
    part = nullptr;
}

} // namespace

HRESULT SSkinShape::SShapeSize::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    if (SkinAttrIs(name, L"width"))
        width = SkinAttrDimension(value);
    else if (SkinAttrIs(name, L"height"))
        height = SkinAttrDimension(value);
    else
        return SPart::ApplyAttribute(name, value, loading);
    return AfterAttribute(name, value, loading, S_OK);
}

HRESULT SSkinShape::SCornerSize::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    if (SkinAttrIs(name, L"radiusX")) {
        radiusX = SkinAttrDimension(value);
    } else if (SkinAttrIs(name, L"radiusY")) {
        radiusY = SkinAttrDimension(value);
    } else if (SkinAttrIs(name, L"radius")) {
        SDynArray<SStringW> pieces;
        int count = SplitByChar(value, L',', pieces);
        if (count != 1 && count != 2)
            return AfterAttribute(name, value, loading, E_INVALIDARG);
        radiusX = SkinAttrDimension(pieces[0]);
        radiusY = SkinAttrDimension(pieces[count - 1]);
    } else {
        return SPart::ApplyAttribute(name, value, loading);
    }
    return AfterAttribute(name, value, loading, S_OK);
}

HRESULT SSkinShape::SStroke::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    HRESULT hr = S_OK;
    if (SkinAttrIs(name, L"width"))
        width = SkinAttrDimension(value);
    else if (SkinAttrIs(name, L"color"))
        hr = ColorInto(value, &color);
    else if (SkinAttrIs(name, L"style"))
        hr = Keyword(kStrokeStyles, value, &style) ? S_OK : E_FAIL;
    else
        return SPart::ApplyAttribute(name, value, loading);
    return AfterAttribute(name, value, loading, hr);
}

HRESULT SSkinShape::SGradient::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    HRESULT hr = S_OK;
    if (SkinAttrIs(name, L"type"))
        hr = Keyword(kGradientTypes, value, &type) ? S_OK : E_FAIL;
    else if (SkinAttrIs(name, L"angle"))
        angle = SkinAttrFloat(value);
    else if (SkinAttrIs(name, L"centerX"))
        centerX = SkinAttrFloat(value);
    else if (SkinAttrIs(name, L"centerY"))
        centerY = SkinAttrFloat(value);
    else if (SkinAttrIs(name, L"startColor"))
        hr = ColorInto(value, &startColor);
    else if (SkinAttrIs(name, L"centerColor"))
        hr = ColorInto(value, &centerColor);
    else if (SkinAttrIs(name, L"endColor"))
        hr = ColorInto(value, &endColor);
    else if (SkinAttrIs(name, L"radius"))
        radius = SkinAttrDimension(value);
    else
        return SPart::ApplyAttribute(name, value, loading);
    return AfterAttribute(name, value, loading, hr);
}

HRESULT SSkinShape::SShapeRing::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    if (SkinAttrIs(name, L"startAngle"))
        startAngle = SkinAttrFloat(value);
    else if (SkinAttrIs(name, L"sweepAngle"))
        sweepAngle = SkinAttrFloat(value);
    else
        return SPart::ApplyAttribute(name, value, loading);
    return AfterAttribute(name, value, loading, S_OK);
}

SSkinShape::SSkinShape()
    : m_shape(kRectangle), m_solidColor(kColorUnset), m_size(nullptr), m_corners(nullptr), m_stroke(nullptr),
      m_gradient(nullptr), m_ring(nullptr)
{
}

SSkinShape::~SSkinShape()
{
    ReleasePart(m_size);
    ReleasePart(m_corners);
    ReleasePart(m_stroke);
    ReleasePart(m_gradient);
    ReleasePart(m_ring);
}

SIZE SSkinShape::GetSkinSize() const
{
    SIZE size = {0, 0};
    if (m_size) {
        size.cx = m_size->width.ToPixels(m_scale);
        size.cy = m_size->height.ToPixels(m_scale);
    }
    return size;
}

void SSkinShape::CopySettingsTo(ISkinObj* target, int scale) const
{
    SSkinObjBase::CopySettingsTo(target, scale);
    SSkinShape* copy = dynamic_cast<SSkinShape*>(target);
    if (!copy)
        return;
    copy->m_shape = m_shape;
    copy->m_solidColor = m_solidColor;
    AssignObjRef(copy->m_size, m_size);
    AssignObjRef(copy->m_corners, m_corners);
    AssignObjRef(copy->m_stroke, m_stroke);
    AssignObjRef(copy->m_gradient, m_gradient);
    AssignObjRef(copy->m_ring, m_ring);
}

HRESULT SSkinShape::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    if (!SkinAttrIs(name, L"shape"))
        return SSkinObjBase::ApplyAttribute(name, value, loading);
    for (int shape = kRectangle; shape <= kRing; ++shape) {
        if (value == kShapeNames[shape]) {
            m_shape = shape;
            return Took(name, value, loading, S_OK);
        }
    }
    return Took(name, value, loading, E_FAIL);
}

template <class T>
static SSkinShape::IPart* MakePart(T*& part)
{
    if (!part)
        part = new (std::nothrow) T();
    return part;
}

SSkinShape::IPart* SSkinShape::PartFor(const wchar_t* name)
{
    if (_wcsicmp(name, L"size") == 0)
        return MakePart(m_size);
    if (_wcsicmp(name, L"corners") == 0)
        return MakePart(m_corners);
    if (_wcsicmp(name, L"stroke") == 0)
        return MakePart(m_stroke);
    if (_wcsicmp(name, L"gradient") == 0)
        return MakePart(m_gradient);
    if (_wcsicmp(name, L"ring") == 0)
        return MakePart(m_ring);
    return nullptr;
}

void SSkinShape::OnXmlInitDone(pugi::xml_node element)
{
    for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling()) {
        if (child.type() != pugi::node_element)
            continue;
        if (_wcsicmp(child.name(), L"solid") == 0) {
            SkinAttrColor(SStringW(child.attribute(L"color").value()), &m_solidColor);
            continue;
        }
        if (IPart* part = PartFor(child.name()))
            part->ApplyXmlAttributes(child);
    }
}

void SSkinShape::Fill(IRenderTarget* rt, const RECT* rect, POINT corner)
{
    if (m_solidColor == kColorUnset)
        return;
    if (m_shape == kRectangle) {
        if (m_corners)
            rt->FillSolidRoundRect(rect, corner, m_solidColor);
        else
            rt->FillSolidRect(rect, m_solidColor);
    } else if (m_shape == kOval) {
        rt->FillSolidEllipse(rect, m_solidColor);
    }
}

void SSkinShape::PaintGradient(IRenderTarget* rt, const RECT* rect, POINT corner, BYTE alpha)
{
    if (!m_gradient)
        return;
    bool clipped = false;
    IRegion* region = nullptr;
    if ((m_shape == kOval || (m_shape == kRectangle && m_corners)) && SUCCEEDED(rt->CreateRegion(&region)) && region) {
        if (m_shape == kOval) {
            region->CombineEllipse(rect, RGN_COPY);
        } else {
            POINT ellipse = {corner.x * 2, corner.y * 2};
            region->CombineRoundRect(rect, ellipse, RGN_COPY);
        }
        if (!region->IsEmpty())
            clipped = SUCCEEDED(rt->PushClipRegion(region, RGN_AND));
        region->Release();
    }
    const SGradient& g = *m_gradient;
    rt->ReservedOp2(g.type, g.startColor, g.centerColor, g.endColor, g.angle, g.centerX, g.centerY,
                    g.radius.ToPixels(m_scale), alpha);
    if (clipped)
        rt->PopClip();
}

void SSkinShape::Stroke(IRenderTarget* rt, const RECT* rect, POINT corner)
{
    if (!m_stroke || (m_shape == kRing && !m_ring))
        return;
    int width = m_stroke->width.ToPixels(m_scale);
    SSkinPenScope pen(rt, m_stroke->style, m_stroke->color, width);
    RECT inner = *rect;
    InflateRect(&inner, -width / 2, -width / 2);
    if (m_shape == kRectangle) {
        if (m_corners)
            rt->DrawRoundRect(&inner, corner);
        else
            rt->DrawRectangle(&inner);
    } else if (m_shape == kOval) {
        rt->DrawEllipse(&inner);
    } else {
        int w = inner.right - inner.left;
        int h = inner.bottom - inner.top;
        int half = (w < h ? w : h) / 2;
        int cx = (inner.left + inner.right) / 2;
        int cy = (inner.top + inner.bottom) / 2;
        RECT square = {cx - half, cy - half, cx + half, cy + half};
        rt->DrawArc(&square, m_ring->startAngle, m_ring->sweepAngle, FALSE);
    }
}

void SSkinShape::DrawCore(IRenderTarget* rt, const RECT* rect, int, BYTE alpha)
{
    POINT corner = {0, 0};
    if (m_corners) {
        corner.x = m_corners->radiusX.ToPixels(m_scale);
        corner.y = m_corners->radiusY.ToPixels(m_scale);
    }
    Fill(rt, rect, corner);
    PaintGradient(rt, rect, corner, alpha);
    Stroke(rt, rect, corner);
}

} // namespace SKEIN
