// SWindow: geometry, hit testing, layout requests and measurement.
#include <algorithm>
#include "core/SApp.h"
#include "core/SWnd.h"
#include "interface/SwndContainer-i.h"
#include "layout/SLayout-i.h"
#include "layout/SLayoutPass.h"
#include "layout/SkeinLayout.h"

namespace SKEIN {

namespace {

const int kUnknownExtent = 0x7FFFFF;
const UINT kAlignmentBits = 0x1 | 0x2 | 0x4 | 0x8;

void DeflateRect(RECT& rect, const RECT& by)
{
    rect.left += by.left;
    rect.top += by.top;
    rect.right -= by.right;
    rect.bottom -= by.bottom;
}

} // namespace

void SWindow::InstallDefaultLayout()
{
    m_layout.Attach(new SkeinLayout);
    m_layoutParam.Attach(m_layout->CreateLayoutParam());
    if (m_layoutParam)
        m_layoutParam->SetMatchParent(kOrientBoth);
}

void SWindow::ResetLayoutParam()
{
    SLayoutPass::NoteChange();
    if (m_layoutParam)
        m_layoutParam->Clear();
}

BOOL SWindow::WrapsContent(int orientation) const
{
    return m_layoutParam && m_layoutParam->IsWrapContent(orientation);
}

BOOL SWindow::MatchesParent(int orientation) const
{
    return m_layoutParam && m_layoutParam->IsMatchParent(orientation);
}

// ---- rectangles ----

void SWindow::GetInnerRect(RECT* out) const
{
    *out = RECT{0, 0, 0, 0};
    ComputeInnerRect(out);
}

void SWindow::ComputeInnerRect(RECT* out) const
{
    *out = m_windowRect;
    DeflateRect(*out, m_style.GetMarginRect());
}

void SWindow::GetChildAreaRect(RECT* out) const
{
    ComputeInnerRect(out);
    DeflateRect(*out, m_style.GetPaddingRect());
}

void SWindow::ComputeTextRect(RECT* out) const
{
    GetInnerRect(out);
    DeflateRect(*out, m_style.GetPaddingRect());
}

int SWindow::GetScale() const
{
    return m_container ? m_container->GetScale() : 100;
}

BOOL SWindow::ContainsPoint(POINT pt, BOOL inner) const
{
    if (m_windowRegion)
        return m_windowRegion->PtInRegion(pt.x - m_windowRect.left, pt.y - m_windowRect.top);
    RECT rect = m_windowRect;
    if (inner)
        ComputeInnerRect(&rect);
    return ::PtInRect(&rect, pt);
}

BOOL SWindow::IsInNonClientArea(POINT pt) const
{
    RECT inner;
    ComputeInnerRect(&inner);
    return !::PtInRect(&inner, pt);
}

SwndHandle SWindow::FindWindowAtPoint(POINT pt, BOOL flag)
{
    if (!ContainsPoint(pt, FALSE))
        return 0;
    if (!ContainsPoint(pt, TRUE))
        return m_handle;
    for (SWindow* child = m_lastChild; child; child = child->m_prevSibling) {
        if ((child->m_state & kStateInvisible) || (child->m_flags & kWndMsgTransparent))
            continue;
        if (SwndHandle hit = child->FindWindowAtPoint(pt, flag))
            return hit;
    }
    return m_handle;
}

int SWindow::ApplyRect(const RECT& rect)
{
    bool same = ::EqualRect(&rect, &m_windowRect) != FALSE;
    if (same && m_layoutDirty == 0)
        return 0;
    if (!same) {
        m_layoutDirty = 1;
        InvalidateAreaCore(m_windowRect, TRUE);
        m_windowRect = rect;
        m_windowRect.right = std::max(rect.left, rect.right);
        m_windowRect.bottom = std::max(rect.top, rect.bottom);
        InvalidateArea();
        SendUiMessage(WM_NCCALCSIZE);
    }
    if (m_flags & kWndVisible) {
        if (m_layoutDirty && m_firstChild)
            ArrangeChildren();
        m_layoutDirty = 0;
    } else {
        m_layoutDirty = 1;
    }
    RECT inner;
    ComputeInnerRect(&inner);
    LPARAM size = ((inner.bottom - inner.top) << 16) | ((inner.right - inner.left) & 0xFFFF);
    SendUiMessage(WM_SIZE, 0, size);
    return 1;
}

void SWindow::SetFixedRect(const RECT* rect)
{
    SLayoutPass::NoteChange();
    if (rect) {
        m_isFloat = TRUE;
        ApplyRect(*rect);
    } else if (m_parent) {
        m_isFloat = FALSE;
        InvalidateLayout();
    }
}

// ---- layout ----

void SWindow::InvalidateLayout()
{
    SLayoutPass::NoteChange();
    FlagLayoutDirty(m_handle, TRUE);
}

void SWindow::FlagLayoutDirty(SwndHandle source, BOOL force)
{
    SLayoutPass::NoteChange();
    if (force)
        m_layoutDirty = 1;
    if (m_layoutDirty != 1)
        m_layoutDirty = (source == m_handle || WrapsContent(kOrientAny)) ? 1 : 2;
    if (m_parent && (m_parent->m_flags & kWndVisible))
        m_parent->FlagLayoutDirty(source, WrapsContent(kOrientAny) || !(m_flags & kWndDisplay));
}

void SWindow::RelayoutIfDirty()
{
    if (!m_layoutDirty)
        return;
    if (m_firstChild)
        ArrangeChildren();
    m_layoutDirty = 0;
}

void SWindow::ArrangeChildren()
{
    SLayoutPass pass;
    if (m_layoutDirty == 1) {
        if (m_layout)
            m_layout->LayoutChildren(this);
        RECT area;
        GetChildAreaRect(&area);
        for (SWindow* child = m_firstChild; child; child = child->m_nextSibling) {
            if (!child->m_isFloat)
                continue;
            child->PlaceFloatingChild(area);
            if (child->m_layoutDirty)
                child->ArrangeChildren();
        }
    } else if (m_layoutDirty == 2) {
        for (SWindow* child = NextChildInLayout(nullptr); child; child = NextChildInLayout(child)) {
            if (child->m_layoutDirty)
                child->ArrangeChildren();
        }
    }
}

SWindow* SWindow::NextChildInLayout(SWindow* previous) const
{
    SWindow* child = previous ? previous->m_nextSibling : m_firstChild;
    for (; child; child = child->m_nextSibling) {
        if (!child->m_isFloat && (child->m_flags & (kWndVisible | kWndDisplay)))
            return child;
    }
    return nullptr;
}

BOOL SWindow::AssignLayoutParam(ILayoutParam* param)
{
    if (!param || !m_parent || !m_parent->m_layout || !m_parent->m_layout->IsParamAcceptable(param))
        return FALSE;
    m_layoutParam = param;
    SLayoutPass::NoteChange();
    return TRUE;
}

HRESULT SWindow::SetLayoutByName(const SStringW& name)
{
    SApplication* app = SApplication::Instance();
    SStringW lower(name);
    lower.LowerInPlace();
    IObject* created = app ? app->CreateObject(SObjectInfo(lower, kKindLayout)) : nullptr;
    ILayout* layout = dynamic_cast<ILayout*>(created);
    if (!layout) {
        delete created;
        return E_INVALIDARG;
    }
    m_layout.Attach(layout);
    SLayoutPass::NoteChange();
    return S_OK;
}

SIZE SWindow::ComputePreferredSizeFor(int widthHint, int heightHint)
{
    bool width = widthHint < 0 && MatchesParent(kOrientHorz);
    bool height = heightHint < 0 && MatchesParent(kOrientVert);
    if (width)
        m_layoutParam->SetWrapContent(kOrientHorz);
    if (height)
        m_layoutParam->SetWrapContent(kOrientVert);
    RECT available{0, 0, widthHint, heightHint};
    SIZE size = ComputePreferredSize(&available);
    if (width)
        m_layoutParam->SetMatchParent(kOrientHorz);
    if (height)
        m_layoutParam->SetMatchParent(kOrientVert);
    return size;
}

bool SWindow::SMeasureKey::operator==(const SMeasureKey& other) const
{
    return extent[0] == other.extent[0] && extent[1] == other.extent[1] && known[0] == other.known[0] &&
           known[1] == other.known[1] && wraps[0] == other.wraps[0] && wraps[1] == other.wraps[1] &&
           scale == other.scale;
}

SIZE SWindow::MeasureText(int widthLimit)
{
    return m_measuredText.Obtain(widthLimit, [&] { return MeasureTextOnce(widthLimit); });
}

SIZE SWindow::MeasureTextOnce(int widthLimit)
{
    SIZE size{0, 0};
    IRenderTarget* rt = SLayoutPass::MeasureTarget();
    if (!rt)
        return size;
    ApplyAncestorPaintSettings(rt);
    UINT format = (m_style.GetDrawTextFormat() & ~kAlignmentBits) | DT_CALCRECT;
    int limit = kUnknownExtent;
    if (widthLimit >= 0) {
        RECT padding = m_style.GetPaddingRect();
        limit = std::max<int>(10, widthLimit - padding.left - padding.right);
        format |= DT_WORDBREAK;
    }
    RECT rect{0, 0, limit, kUnknownExtent};
    SStringW text = QueryText(false);
    rt->DrawText(text.c_str(), text.Length(), &rect, format);
    size.cx = rect.right - rect.left;
    size.cy = rect.bottom - rect.top;
    return size;
}

// The inputs that decide the preferred size; false when the size is known without measuring
// (key.known holds it then).
bool SWindow::MeasureKeyOf(const RECT* available, SMeasureKey& key) const
{
    RECT area{0, 0, kUnknownExtent, kUnknownExtent};
    if (available)
        area = RECT{0, 0, available->right - available->left, available->bottom - available->top};
    int scale = GetScale();
    int extent[2] = {area.right, area.bottom};
    bool children = m_layout && m_firstChild;
    key = SMeasureKey{{children ? extent[0] : 0, children ? extent[1] : 0}, {-1, -1}, {0, 0}, scale};
    for (int axis = 0; axis < 2; ++axis) {
        if (m_layoutParam && m_layoutParam->IsSpecifiedSize(axis))
            key.known[axis] = m_layoutParam->GetSpecifiedSize(axis).ToPixels(scale);
        else if (MatchesParent(axis))
            key.known[axis] = extent[axis];
        key.wraps[axis] = WrapsContent(axis);
    }
    return key.known[0] < 0 || key.known[1] < 0;
}

SIZE SWindow::ComputePreferredSize(const RECT* available)
{
    SLayoutPass pass;
    SMeasureKey key;
    if (!MeasureKeyOf(available, key))
        return SIZE{key.known[0], key.known[1]};
    return m_measuredSize.Obtain(key, [&] { return MeasureContent(key); });
}

SIZE SWindow::MeasureContent(const SMeasureKey& key)
{
    int wrapWidth = key.wraps[0] ? (m_maxWidth.HasValue() && !m_maxWidth.IsWrapContent()
                                        ? m_maxWidth.ToPixels(key.scale)
                                        : -1)
                                 : key.known[0];
    SIZE text = MeasureText(wrapWidth);

    RECT margin = m_style.GetMarginRect();
    RECT padding = m_style.GetPaddingRect();
    int frame[2] = {margin.left + margin.right + padding.left + padding.right,
                    margin.top + margin.bottom + padding.top + padding.bottom};
    SIZE children{0, 0};
    if (m_layout && m_firstChild) {
        int inner[2];
        for (int axis = 0; axis < 2; ++axis)
            inner[axis] = key.extent[axis] > 0 ? std::max<int>(0, key.extent[axis] - frame[axis]) : key.extent[axis];
        m_layout->MeasureChildren(children, this, inner[0], inner[1]);
    }

    int content[2] = {std::max<int>(text.cx, children.cx), std::max<int>(text.cy, children.cy)};
    int result[2];
    for (int axis = 0; axis < 2; ++axis) {
        if (key.wraps[axis])
            result[axis] = content[axis] + frame[axis];
        else
            result[axis] = key.known[axis] >= 0 ? key.known[axis] : kUnknownExtent;
    }
    return SIZE{result[0], result[1]};
}

} // namespace SKEIN
