// Static text with its own line wrapping, and the link.
#include "control/SStatic.h"
#include <shellapi.h>
#include <algorithm>
#include "control/SCtrlAttr.h"
#include "res.mgr/SUiDef.h"

namespace SKEIN {

using ctrl::Is;

namespace {

const UINT kVertAlignBits = DT_VCENTER | DT_BOTTOM;

bool IsLineBreak(const wchar_t* p, const wchar_t* end)
{
    return *p == L'\n' || (*p == L'\\' && p + 1 < end && p[1] == L'n');
}

// Only addresses go to the shell when the target is the link's own text.
bool LooksLikeAddress(const SStringW& text)
{
    static const wchar_t* const kSchemes[] = {L"http://", L"https://", L"mailto:"};
    for (const wchar_t* scheme : kSchemes) {
        if (text.StartsWith(SStringW(scheme), true))
            return true;
    }
    return false;
}

POINT PointOf(LPARAM lParam)
{
    return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

} // namespace

// ---- SStatic ----

SStatic::SStatic() : m_multiLines(0), m_interHeight(5)
{
    m_flags |= kWndMsgTransparent;
    m_style.ApplyAttribute(SStringW(L"align"), SStringW(L"left"), TRUE);
}

HRESULT SStatic::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    if (Is(name, L"multiLines"))
        m_multiLines = ctrl::ParseInt(value);
    else if (Is(name, L"interHeight"))
        m_interHeight = ctrl::ParseInt(value);
    else
        return SWindow::ApplyAttribute(name, value, loading);
    return AfterAttribute(name, value, loading, S_FALSE);
}

void SStatic::DrawTextLine(IRenderTarget* rt, const wchar_t* text, int first, int count, RECT* rect, UINT format)
{
    if (count != 0)
        rt->DrawText(text + first, count, rect, format);
}

void SStatic::RenderText(IRenderTarget* rt, const wchar_t* text, int length, RECT* rect, UINT format)
{
    if (!m_multiLines) {
        DrawTextLine(rt, text, 0, length, rect, format);
        return;
    }
    if ((format & kVertAlignBits) && !(format & DT_CALCRECT)) {
        RECT block = *rect;
        DrawWrappedText(rt, text, length, &block, format | DT_CALCRECT);
        int spare = (rect->bottom - rect->top) - (block.bottom - block.top);
        if (format & DT_VCENTER) {
            rect->top += spare / 2;
            rect->bottom -= spare / 2;
        } else {
            rect->top += spare;
        }
    }
    DrawWrappedText(rt, text, length, rect, format);
}

void SStatic::DrawWrappedText(IRenderTarget* rt, const wchar_t* text, int count, RECT* rect, UINT format)
{
    if (!text)
        return;
    if (count < 0)
        count = static_cast<int>(wcslen(text));
    const bool measuring = (format & DT_CALCRECT) != 0;
    SIZE letter{0, 0};
    rt->MeasureText(L"A", 1, &letter);
    const int lineHeight = letter.cy;
    const int lineStep = lineHeight + m_interHeight;
    const wchar_t* end = text + count;
    const wchar_t* run = text;
    int x = rect->left;
    int y = rect->top;
    int widest = 0;
    auto endLine = [&](const wchar_t* runEnd) {
        widest = std::max<int>(widest, x - rect->left);
        if (!measuring && runEnd > run) {
            RECT line{rect->left, y, rect->right, y + lineHeight};
            DrawTextLine(rt, text, static_cast<int>(run - text), static_cast<int>(runEnd - run), &line, format);
        }
    };
    const wchar_t* p = text;
    bool cut = false;
    while (p < end) {
        if (IsLineBreak(p, end)) {
            endLine(p);
            p += *p == L'\n' ? 1 : 2;
            run = p;
            x = rect->left;
            y += lineStep;
            continue;
        }
        const wchar_t* next = std::min<const wchar_t*>(std::max<const wchar_t*>(::CharNextW(p), p + 1), end);
        SIZE extent{0, 0};
        rt->MeasureText(p, static_cast<int>(next - p), &extent);
        if (x + extent.cx > rect->right && x > rect->left) {
            endLine(p);
            run = p;
            x = rect->left;
            y += lineStep;
            if (y > rect->bottom) {
                cut = true;
                break;
            }
        }
        x += extent.cx;
        p = next;
    }
    if (!cut)
        endLine(end);
    if (measuring) {
        rect->right = rect->left + widest;
        if (y + lineHeight < rect->bottom)
            rect->bottom = y + lineHeight;
    }
}

// ---- SLink ----

SLink::SLink() : m_linkRect{0, 0, 0, 0}
{
    m_style.ApplyAttribute(SStringW(L"align"), SStringW(L"left"), TRUE);
}

HRESULT SLink::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    if (!Is(name, L"href"))
        return SWindow::ApplyAttribute(name, value, loading);
    m_href = ResolveNamedString(value.c_str());
    return AfterAttribute(name, value, loading, S_FALSE);
}

SStringW SLink::Target() const
{
    if (!m_href.IsEmptyText())
        return m_href;
    SStringW text = QueryText(true);
    return LooksLikeAddress(text) ? text : SStringW();
}

BOOL SLink::ApplyCursor(POINT pt)
{
    if (!::PtInRect(&m_linkRect, pt))
        return FALSE;
    return SWindow::ApplyCursor(pt);
}

void SLink::RenderText(IRenderTarget* rt, const wchar_t* text, int length, RECT* rect, UINT format)
{
    if (!(format & DT_CALCRECT)) {
        RECT measured = *rect;
        rt->DrawText(text, length, &measured, format | DT_CALCRECT);
        int width = measured.right - measured.left;
        int height = measured.bottom - measured.top;
        int left = rect->left;
        int top = rect->top;
        if (format & DT_CENTER)
            left = (rect->left + rect->right - width) / 2;
        else if (format & DT_RIGHT)
            left = rect->right - width;
        if (format & DT_VCENTER)
            top = (rect->top + rect->bottom - height) / 2;
        else if (format & DT_BOTTOM)
            top = rect->bottom - height;
        m_linkRect = RECT{left, top, left + width, top + height};
    }
    SWindow::RenderText(rt, text, length, rect, format);
}

void SLink::OpenTarget(const SStringW& target)
{
    if (target.IsEmptyText())
        return;
    ::ShellExecuteW(nullptr, L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void SLink::OnMouseMove(POINT pt)
{
    bool inside = ::PtInRect(&m_linkRect, pt) != FALSE;
    bool hovered = (m_state & kStateHover) != 0;
    if (inside && !hovered)
        HandleMouseHover();
    else if (!inside && hovered)
        HandleMouseLeave();
}

BOOL SLink::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    *result = 0;
    SetMsgHandled(TRUE);
    bool inside = ::PtInRect(&m_linkRect, PointOf(lParam)) != FALSE;
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_MOUSEHOVER:
        return inside ? SWindow::HandleMessage(msg, wParam, lParam, result) : TRUE;
    case WM_LBUTTONUP:
        if (!inside) {
            DropMouseCapture();
            return TRUE;
        }
        SWindow::HandleMessage(msg, wParam, lParam, result);
        OpenTarget(Target());
        return TRUE;
    case WM_MOUSEMOVE: OnMouseMove(PointOf(lParam)); return TRUE;
    default: return SWindow::HandleMessage(msg, wParam, lParam, result);
    }
}

} // namespace SKEIN
