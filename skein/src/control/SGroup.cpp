// The titled group frame and the line.
#include "control/SGroup.h"
#include "control/SCtrlAttr.h"
#include "res.mgr/SUiDef.h"

namespace SKEIN {

using ctrl::Is;

namespace {

const int kCaptionInset = 20;
const int kCaptionGap = 5;
const int kUnitDp = 1;

HRESULT TakeColor(const SStringW& value, COLORREF* color)
{
    return ctrl::ParseColor(value, color) ? S_FALSE : E_FAIL;
}

} // namespace

// ---- SGroup ----

SGroup::SGroup()
    : m_colorLine1(0xFFF0F0F0), m_colorLine2(0xFFA0A0A0), m_round(4.0f, kUnitDp), m_headerHeight(20.0f, kUnitDp)
{
}

HRESULT SGroup::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    HRESULT result = S_FALSE;
    if (Is(name, L"colorLine1"))
        result = TakeColor(value, &m_colorLine1);
    else if (Is(name, L"colorLine2"))
        result = TakeColor(value, &m_colorLine2);
    else if (Is(name, L"round"))
        m_round = ResolveNamedDimension(value.c_str());
    else if (Is(name, L"headerHeight")) {
        m_headerHeight = ResolveNamedDimension(value.c_str());
        result = S_OK;
    } else
        return SWindow::ApplyAttribute(name, value, loading);
    return FAILED(result) ? result : AfterAttribute(name, value, loading, result);
}

void SGroup::GetChildAreaRect(RECT* out) const
{
    SWindow::GetChildAreaRect(out);
    out->top += m_headerHeight.ToPixels(GetScale());
}

SIZE SGroup::ComputePreferredSizeFor(int widthHint, int heightHint)
{
    SIZE size = SWindow::ComputePreferredSizeFor(widthHint, heightHint);
    size.cy += m_headerHeight.ToPixels(GetScale());
    return size;
}

BOOL SGroup::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (msg != WM_PAINT)
        return SWindow::HandleMessage(msg, wParam, lParam, result);
    *result = 0;
    Paint(reinterpret_cast<IRenderTarget*>(wParam));
    return TRUE;
}

void SGroup::Paint(IRenderTarget* rt)
{
    SPaintState saved;
    BeginPaintState(rt, &saved);
    const SStringW& text = m_text.GetText(false);
    bool titled = !text.IsEmptyText();
    SIZE extent{0, 0};
    if (titled)
        rt->MeasureText(text.c_str(), text.Length(), &extent);

    RECT caption{m_windowRect.left + kCaptionInset, m_windowRect.top, m_windowRect.right - kCaptionInset,
                 m_windowRect.top + extent.cy + 2};
    UINT align = m_style.GetDrawTextFormat();
    if (align & DT_CENTER)
        caption.left += (caption.right - caption.left - extent.cx) / 2;
    else if (align & DT_RIGHT)
        caption.left = caption.right - extent.cx;
    caption.right = caption.left + extent.cx;

    RECT frame = m_windowRect;
    if (titled) {
        RECT gap = caption;
        ::InflateRect(&gap, kCaptionGap, kCaptionGap);
        rt->PushClipRect(&gap, RGN_DIFF);
        frame.top += extent.cy / 2;
    }
    int corner = m_round.ToPixels(GetScale());
    {
        SPenScope pen(rt, PS_SOLID, m_colorLine1, 1);
        RECT inner{frame.left + 1, frame.top + 1, frame.right - 1, frame.bottom};
        rt->DrawRoundRect(&inner, POINT{corner, corner});
    }
    {
        SPenScope pen(rt, PS_SOLID, m_colorLine2, 1);
        RECT outer{frame.left, frame.top, frame.right, frame.bottom - 1};
        rt->DrawRoundRect(&outer, POINT{corner, corner});
    }
    if (titled) {
        rt->PopClip();
        rt->DrawText(text.c_str(), text.Length(), &caption, DT_SINGLELINE | DT_VCENTER);
    }
    EndPaintState(rt, &saved);
}

// ---- SLine ----

SLine::SLine() : m_lineStyle(PS_SOLID), m_lineSize(1), m_lineColor(0xFF000000), m_mode(kHorizontal) {}

HRESULT SLine::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    static const wchar_t* const kStyles[] = {L"solid", L"dash", L"dot", L"dashdot", L"dashdotdot"};
    static const wchar_t* const kModes[] = {L"horizontal", L"vertical", L"tilt"};
    HRESULT result = S_FALSE;
    if (Is(name, L"colorLine") || Is(name, L"lineColor")) {
        result = TakeColor(value, &m_lineColor);
    } else if (Is(name, L"lineSize")) {
        m_lineSize = ctrl::ParseInt(value);
    } else if (Is(name, L"lineStyle") || Is(name, L"mode")) {
        bool style = Is(name, L"lineStyle");
        int code = style ? ctrl::ParseWord(value, kStyles, 5) : ctrl::ParseWord(value, kModes, 3);
        if (code < 0)
            return E_FAIL;
        (style ? m_lineStyle : m_mode) = code;
    } else {
        return SWindow::ApplyAttribute(name, value, loading);
    }
    return FAILED(result) ? result : AfterAttribute(name, value, loading, result);
}

BOOL SLine::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (msg != WM_PAINT)
        return SWindow::HandleMessage(msg, wParam, lParam, result);
    *result = 0;
    Paint(reinterpret_cast<IRenderTarget*>(wParam));
    return TRUE;
}

void SLine::Paint(IRenderTarget* rt)
{
    const RECT& r = m_windowRect;
    POINT points[2] = {{r.left, r.top}, {r.right, r.top}};
    if (m_mode == kVertical)
        points[1] = POINT{r.left, r.bottom};
    else if (m_mode == kTilt)
        points[1] = POINT{r.right, r.bottom};
    SPenScope pen(rt, m_lineStyle, m_lineColor, m_lineSize);
    rt->DrawLines(points, 2);
}

} // namespace SKEIN
