// The extended month calendar.
#include "control/SCalendarEx.h"
#include <windowsx.h>
#include <algorithm>
#include <cwchar>
#include "control/SCtrlAttr.h"
#include "res.mgr/SSkinPoolMgr.h"
#include "res.mgr/SUiDef.h"

namespace SKEIN {

using ctrl::Is;

namespace {

const UINT kCentred = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
const POINT kCorner = {1, 1};

// Sets a text colour for the scope unless it is "no colour".
class TextColorScope {
public:
    TextColorScope(IRenderTarget* rt, COLORREF color)
        : m_rt(rt), m_previous(color != kColorUnset ? rt->SetTextColor(color) : kColorUnset), m_set(color != kColorUnset)
    {
    }
    ~TextColorScope()
    {
        if (m_set)
            m_rt->SetTextColor(m_previous);
    }

private:
    IRenderTarget* m_rt;
    COLORREF m_previous;
    bool m_set;
};

} // namespace

SCalendarEx::SCalendarEx()
    : m_yearHeight(30.0f, SLayoutSize::kDp), m_weekHeight(20.0f, SLayoutSize::kDp),
      m_todayHeight(20.0f, SLayoutSize::kDp), m_colorSelText(0xFFFFFFFF), m_colorOtherText(0xFFA0A0A0),
      m_colorSelBg(0xFFCC7A00), m_colorHoverText(0xFFCC7A00), m_cells(), m_todayRect(), m_selectedCell(0), m_hoverItem(-1), m_shownYear(0), m_shownMonth(0), m_today()
{
    m_prevSkin = ctrl::FindSystemSkin(kSysSkinBtnPrev, 100);
    m_nextSkin = ctrl::FindSystemSkin(kSysSkinBtnNext, 100);
    m_flags |= kWndFocusable;
    m_style.ApplyAttribute(SStringW(L"colorBkgnd"), SStringW(L"#ffffffff"), TRUE);
    m_eventSet.DeclareEvent(EventCalendarExChanged::EventID, EventCalendarExChanged::EventName());
    ::GetLocalTime(&m_today);
    SetDate(m_today.wYear, m_today.wMonth, m_today.wDay, -1, false);
}

// Colours answer 0, so that one set at run time repaints the calendar at once; dimensions and
// skins answer 1 and take effect at the next paint.
HRESULT SCalendarEx::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    HRESULT hr = S_FALSE;
    if (Is(name, L"yearHeight")) {
        m_yearHeight = ResolveNamedDimension(value.c_str());
    } else if (Is(name, L"weekHeight")) {
        m_weekHeight = ResolveNamedDimension(value.c_str());
    } else if (Is(name, L"todayHeight")) {
        m_todayHeight = ResolveNamedDimension(value.c_str());
    } else if (Is(name, L"colorSelText")) {
        // The selected day's own text colour.
        hr = ctrl::ParseColor(value, &m_colorSelText) ? S_OK : E_FAIL;
    } else if (Is(name, L"colorOtherText")) {
        hr = ctrl::ParseColor(value, &m_colorOtherText) ? S_OK : E_FAIL;
    } else if (Is(name, L"colorSelBg")) {
        hr = ctrl::ParseColor(value, &m_colorSelBg) ? S_OK : E_FAIL;
    } else if (Is(name, L"colorHoverText")) {
        hr = ctrl::ParseColor(value, &m_colorHoverText) ? S_OK : E_FAIL;
    } else if (Is(name, L"prevSkin") || Is(name, L"nextSkin") || Is(name, L"daySkin")) {
        SRefPtr<ISkinObj>& slot = Is(name, L"prevSkin") ? m_prevSkin : Is(name, L"nextSkin") ? m_nextSkin : m_daySkin;
        slot = ctrl::FindSkin(value, GetScale());
    } else {
        return SWindow::ApplyAttribute(name, value, loading);
    }
    return AfterAttribute(name, value, loading, hr);
}

BOOL SCalendarEx::SetDate(WORD year, WORD month, WORD day, int button, bool notify)
{
    int first = DayOfWeek(year, month, 1);
    if (first < 0)
        return FALSE;
    int count = DaysInMonth(year, month);
    int previous = month == 1 ? DaysInMonth(year - 1, 12) : DaysInMonth(year, month - 1);
    if (previous == 0)
        previous = 31; // December 1599 before January 1600
    for (int i = 0; i < kCalCellCount; ++i) {
        if (i < first)
            m_cells[i] = Cell{static_cast<WORD>(previous - first + 1 + i), -1};
        else if (i < first + count)
            m_cells[i] = Cell{static_cast<WORD>(i - first + 1), 0};
        else
            m_cells[i] = Cell{static_cast<WORD>(i - first - count + 1), 1};
    }
    m_shownYear = year;
    m_shownMonth = month;
    m_hoverItem = -1;
    // A day past the month's end (or 0) would select a cell of a neighbouring month.
    day = static_cast<WORD>(std::max(1, std::min<int>(day, count)));
    m_selectedCell = first + day - 1;
    InvalidateArea();
    if (notify) {
        EventCalendarExChanged evt(this);
        evt.day = day;
        evt.month = month;
        evt.year = year;
        evt.button = button;
        RaiseEvent(evt);
    }
    return TRUE;
}

// Shows the month delta (-1, 0 or 1) from the shown one with day selected and reports it; a
// month before 1600 or after 6999 is refused and nothing changes.
void SCalendarEx::ShowMonth(int delta, WORD day, int button)
{
    int month = m_shownMonth + delta;
    int year = m_shownYear;
    if (month < 1) {
        month = 12;
        --year;
    } else if (month > 12) {
        month = 1;
        ++year;
    }
    SetDate(static_cast<WORD>(year), static_cast<WORD>(month), day, button, true);
}

void SCalendarEx::PrevMonth()
{
    ShowMonth(-1, 1, kCalHitPrev);
}

void SCalendarEx::NextMonth()
{
    ShowMonth(1, 1, kCalHitNext);
}

void SCalendarEx::Layout(const RECT& client, RECT& title, RECT& week, RECT& days, RECT& today) const
{
    title = client;
    title.bottom = client.top + Px(m_yearHeight);
    week = title;
    week.top = title.bottom;
    week.bottom = week.top + Px(m_weekHeight);
    days = client;
    days.top = week.bottom;
    days.bottom = client.bottom - Px(m_todayHeight);
    today = client;
    today.top = days.bottom;
}

RECT SCalendarEx::CellRect(int index) const
{
    RECT client, title, week, days, today;
    GetInnerRect(&client);
    Layout(client, title, week, days, today);
    int w = (days.right - days.left) / 7;
    int h = (days.bottom - days.top) / 6;
    int column = index % 7, row = index / 7;
    return RECT{days.left + w * column, days.top + h * row, days.left + w * (column + 1), days.top + h * (row + 1)};
}

int SCalendarEx::HitItem(POINT pt) const
{
    RECT client, title, week, days, today;
    GetInnerRect(&client);
    Layout(client, title, week, days, today);
    if (pt.y < days.top) {
        if (pt.y > days.top - Px(m_weekHeight))
            return kCalHitWeek;
        int zone = Px(m_yearHeight);
        if (pt.x - days.left < zone)
            return kCalHitPrev;
        if (days.right - pt.x < zone)
            return kCalHitNext;
        return kCalHitCaption;
    }
    if (pt.y > days.bottom)
        return ::PtInRect(&m_todayRect, pt) ? kCalHitToday : kCalHitTodayBand;
    // Clamped to the grid: a tiny window has cells of width or height 0, and the grid's own
    // bottom edge belongs to its last row.
    int w = (days.right - days.left) / 7;
    int h = (days.bottom - days.top) / 6;
    int column = w > 0 ? std::min(6, std::max(0, static_cast<int>(pt.x - days.left) / w)) : 0;
    int row = h > 0 ? std::min(5, std::max(0, static_cast<int>(pt.y - days.top) / h)) : 0;
    return column + 7 * row;
}

void SCalendarEx::PaintTitle(IRenderTarget* rt, const RECT& title)
{
    int zone = title.bottom - title.top;
    if (m_prevSkin) {
        SIZE size = m_prevSkin->GetSkinSize();
        RECT rect = {title.left + (zone - size.cy) / 2, title.top + (zone - size.cy) / 2, 0, 0};
        rect.right = rect.left + size.cx;
        rect.bottom = rect.top + size.cy;
        m_prevSkin->DrawByState(rt, &rect, m_hoverItem == kCalHitPrev ? 1 : 0);
    }
    wchar_t caption[32];
    swprintf(caption, 32, L"%04d\u5e74%d\u6708", m_shownYear, m_shownMonth);
    {
        TextColorScope color(rt, m_hoverItem == kCalHitCaption ? m_colorHoverText : kColorUnset);
        RECT rect = title;
        rt->DrawText(caption, static_cast<int>(wcslen(caption)), &rect, kCentred);
    }
    if (m_nextSkin) {
        SIZE size = m_nextSkin->GetSkinSize();
        RECT rect = {0, title.top + (zone - size.cy) / 2, title.right - (zone - size.cy) / 2, 0};
        rect.left = rect.right - size.cx;
        rect.bottom = rect.top + size.cy;
        m_nextSkin->DrawByState(rt, &rect, m_hoverItem == kCalHitNext ? 1 : 0);
    }
}

void SCalendarEx::PaintCells(IRenderTarget* rt)
{
    for (int i = 0; i < kCalCellCount; ++i) {
        const Cell& cell = m_cells[i];
        RECT rect = CellRect(i);
        COLORREF text = cell.kind != 0 ? m_colorOtherText : kColorUnset;
        int state = 0;
        if (cell.kind == 0 && cell.day == m_today.wDay && m_shownMonth == m_today.wMonth
            && m_shownYear == m_today.wYear) {
            SPenScope pen(rt, PS_SOLID, m_colorSelBg, 1);
            rt->DrawRoundRect(&rect, kCorner);
        }
        if (i == m_selectedCell) {
            if (m_colorSelBg != kColorUnset)
                rt->FillSolidRoundRect(&rect, kCorner, m_colorSelBg);
            if (m_colorSelText != kColorUnset)
                text = m_colorSelText;
            state = 2;
        } else if (i == m_hoverItem) {
            text = m_colorHoverText;
            state = 1;
        }
        if (m_daySkin)
            m_daySkin->DrawByState(rt, &rect, state);
        wchar_t number[8];
        swprintf(number, 8, L"%d", cell.day);
        TextColorScope color(rt, text);
        rt->DrawText(number, static_cast<int>(wcslen(number)), &rect, kCentred);
    }
}

void SCalendarEx::PaintToday(IRenderTarget* rt, const RECT& band)
{
    wchar_t text[32];
    swprintf(text, 32, L"\u4eca\u5929:%04d/%d/%d", m_today.wYear, m_today.wMonth, m_today.wDay);
    int length = static_cast<int>(wcslen(text));
    TextColorScope color(rt, m_hoverItem == kCalHitToday ? m_colorHoverText : kColorUnset);
    RECT measured = band;
    rt->DrawText(text, length, &measured, DT_CALCRECT | kCentred);
    int width = measured.right - measured.left;
    int left = band.left + ((band.right - band.left) - width) / 2;
    m_todayRect = RECT{left, band.top, left + width, band.bottom};
    RECT rect = m_todayRect;
    rt->DrawText(text, length, &rect, kCentred);
}

void SCalendarEx::Paint(IRenderTarget* rt)
{
    SPaintState saved;
    BeginPaintState(rt, &saved);
    RECT client, title, week, days, today;
    GetInnerRect(&client);
    Layout(client, title, week, days, today);
    PaintTitle(rt, title);
    int width = (week.right - week.left) / 7;
    for (int i = 0; i < 7; ++i) {
        RECT cell = {week.left + i * width, week.top, week.left + (i + 1) * width, week.bottom};
        const SStringW& name = m_titles[i].GetText(false);
        rt->DrawText(name.c_str(), name.Length(), &cell, kCentred);
    }
    PaintCells(rt);
    PaintToday(rt, today);
    EndPaintState(rt, &saved);
}

void SCalendarEx::OnLeftButtonDown(WPARAM keys, POINT pt)
{
    HandleLeftButtonDown(static_cast<UINT>(keys), pt);
    int hit = HitItem(pt);
    if (hit == kCalHitPrev) {
        PrevMonth();
    } else if (hit == kCalHitNext) {
        NextMonth();
    } else if (hit == kCalHitToday) {
        SetDate(m_today.wYear, m_today.wMonth, m_today.wDay, kCalHitToday, true);
        InvalidateArea();
    } else if (hit >= 0 && hit < kCalCellCount && hit != m_selectedCell) {
        // A day of a neighbouring month shows that month, so that the cells match the caption.
        ShowMonth(m_cells[hit].kind, m_cells[hit].day, hit);
    }
}

void SCalendarEx::OnLeftButtonUp(WPARAM keys, POINT pt)
{
    int hit = HitItem(pt);
    if (hit >= 0 && hit < kCalCellCount) {
        HandleLeftButtonUp(static_cast<UINT>(keys), pt);
        return;
    }
    bool was = m_eventSet.IsMuted();
    m_eventSet.SetMuted(true);
    HandleLeftButtonUp(static_cast<UINT>(keys), pt);
    m_eventSet.SetMuted(was);
}

BOOL SCalendarEx::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    *result = 0;
    POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (msg) {
    case WM_PAINT: Paint(reinterpret_cast<IRenderTarget*>(wParam)); return TRUE;
    case WM_MOUSEMOVE:
        m_hoverItem = HitItem(pt);
        InvalidateArea();
        return TRUE;
    case WM_MOUSELEAVE:
        m_hoverItem = -1;
        InvalidateArea();
        return SCalendarBase::HandleMessage(msg, wParam, lParam, result);
    case WM_MOUSEWHEEL:
        if (static_cast<short>(HIWORD(wParam)) <= 0)
            NextMonth();
        else
            PrevMonth();
        *result = 1;
        return TRUE;
    case WM_LBUTTONDOWN: OnLeftButtonDown(wParam, pt); return TRUE;
    case WM_LBUTTONUP: OnLeftButtonUp(wParam, pt); return TRUE;
    default: return SCalendarBase::HandleMessage(msg, wParam, lParam, result);
    }
}

} // namespace SKEIN
