// The month calendar.
#include "control/SCalendar.h"
#include <windowsx.h>
#include <cwchar>
#include "control/SCtrlAttr.h"
#include "res.mgr/SUiDef.h"

namespace SKEIN {

using ctrl::Is;

namespace {

const UINT kCentred = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
const wchar_t* const kDayTitles[7] = {L"\u65e5", L"\u4e00", L"\u4e8c", L"\u4e09", L"\u56db", L"\u4e94", L"\u516d"};

} // namespace

SCalendarBase::SCalendarBase()
    : m_titles{STranslatableText(this), STranslatableText(this), STranslatableText(this), STranslatableText(this),
               STranslatableText(this), STranslatableText(this), STranslatableText(this)}
{
    // Set here, so that titles given in the XML survive creation.
    for (int i = 0; i < 7; ++i)
        m_titles[i].SetSource(SStringW(kDayTitles[i]));
}

int SCalendarBase::RetranslateTexts()
{
    int result = SWindow::RetranslateTexts();
    for (STranslatableText& title : m_titles)
        title.Retranslate();
    InvalidateArea();
    return result;
}

BOOL SCalendarBase::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    BOOL handled = SWindow::HandleMessage(msg, wParam, lParam, result);
    if (msg == WM_CREATE) {
        for (STranslatableText& title : m_titles)
            title.Retranslate();
    }
    return handled;
}

SCalendar::SCalendar()
    : m_titleHeight(20.0f, SLayoutSize::kDp), m_footerHeight(20.0f, SLayoutSize::kDp), m_colorWeekend(0xFF0000FF),
      m_colorTitleBack(0xFF00FF00), m_colorDay(0xFF0000FF), m_colorSelBack(0xFFFF0000), m_year(0), m_month(0), m_selectedDay(0), m_hoverDay(0)
{
    m_eventSet.DeclareEvent(EventCalendarSelDay::EventID, EventCalendarSelDay::EventName());
    m_eventSet.DeclareEvent(EventCalendarSetDate::EventID, EventCalendarSetDate::EventName());
    SYSTEMTIME today;
    ::GetLocalTime(&today);
    SetDate(today.wYear, today.wMonth, today.wDay, false);
}

HRESULT SCalendar::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    HRESULT hr = S_OK;
    if (Is(name, L"titleHeight")) {
        m_titleHeight = ResolveNamedDimension(value.c_str());
    } else if (Is(name, L"footerHeight")) {
        m_footerHeight = ResolveNamedDimension(value.c_str());
    } else if (Is(name, L"colorWeekend")) {
        hr = ctrl::ParseColor(value, &m_colorWeekend) ? S_OK : E_FAIL;
    } else if (Is(name, L"colorTitleBack")) {
        hr = ctrl::ParseColor(value, &m_colorTitleBack) ? S_OK : E_FAIL;
    } else if (Is(name, L"colorDay")) {
        hr = ctrl::ParseColor(value, &m_colorDay) ? S_OK : E_FAIL;
    } else if (Is(name, L"daySkin")) {
        m_daySkin = ctrl::FindSkin(value, GetScale());
    } else if (Is(name, L"titleSkin")) {
        m_titleSkin = ctrl::FindSkin(value, GetScale());
    } else if (name.Length() == 7 && name.LeftPart(6).CompareIgnoringCase(L"title-") == 0 && name[6] >= L'1'
               && name[6] <= L'7') {
        m_titles[name[6] - L'1'].SetSource(ResolveNamedString(value.c_str()));
    } else {
        return SWindow::ApplyAttribute(name, value, loading);
    }
    return AfterAttribute(name, value, loading, hr);
}

BOOL SCalendar::SetDate(WORD year, WORD month, WORD day, bool notify)
{
    if (day != 0 && day > DaysInMonth(year, month))
        day = 0;
    m_hoverDay = 0;
    m_year = year;
    m_month = month;
    m_selectedDay = day;
    InvalidateArea();
    if (notify) {
        EventCalendarSetDate evt(this);
        RaiseEvent(evt);
    }
    return TRUE;
}

RECT SCalendar::DayArea() const
{
    RECT area;
    GetInnerRect(&area);
    area.top += m_titleHeight.ToPixels(GetScale());
    area.bottom -= m_footerHeight.ToPixels(GetScale());
    return area;
}

RECT SCalendar::DayRect(WORD day) const
{
    RECT area = DayArea();
    int cellW = (area.right - area.left) / 7;
    int cellH = (area.bottom - area.top) / 6;
    int first = DayOfWeek(m_year, m_month, 1);
    int column = DayOfWeek(m_year, m_month, day);
    if (first < 0 || column < 0)
        return RECT{0, 0, 0, 0};
    int row = (first + day - 1) / 7;
    int left = area.left + column * cellW;
    int top = area.top + row * cellH;
    return RECT{left, top, left + cellW, top + cellH};
}

WORD SCalendar::DayAtPoint(POINT pt) const
{
    RECT area = DayArea();
    int cellW = (area.right - area.left) / 7;
    int cellH = (area.bottom - area.top) / 6;
    if (pt.x < area.left || pt.y < area.top || cellW <= 0 || cellH <= 0)
        return 0;
    int column = (pt.x - area.left) / cellW;
    int row = (pt.y - area.top) / cellH;
    int first = DayOfWeek(m_year, m_month, 1);
    int count = DaysInMonth(m_year, m_month);
    if (first < 0 || count == 0)
        return 0;
    int last = DayOfWeek(m_year, m_month, static_cast<WORD>(count));
    int lastRow = (count + first - 1) / 7;
    if ((row > 0 || column >= first) && row <= lastRow && (row < lastRow || column <= last))
        return static_cast<WORD>(row * 7 + column - first + 1);
    return 0;
}

void SCalendar::DrawTitle(IRenderTarget* rt)
{
    RECT band;
    GetInnerRect(&band);
    band.bottom = band.top + m_titleHeight.ToPixels(GetScale());
    if (m_titleSkin)
        m_titleSkin->DrawByState(rt, &band, 0);
    else
        rt->FillSolidRect(&band, m_colorTitleBack);
    int width = (band.right - band.left) / 7;
    for (int i = 0; i < 7; ++i) {
        RECT cell = {band.left + i * width, band.top, band.left + (i + 1) * width, band.bottom};
        COLORREF previous = kColorUnset;
        if (i == 0 || i == 6)
            previous = rt->SetTextColor(m_colorWeekend);
        const SStringW& title = m_titles[i].GetText(false);
        rt->DrawText(title.c_str(), title.Length(), &cell, kCentred);
        if (previous != kColorUnset)
            rt->SetTextColor(previous);
    }
}

void SCalendar::DrawDay(IRenderTarget* rt, const RECT& rect, WORD day)
{
    wchar_t text[8];
    swprintf(text, 8, L"%2d", day);
    RECT cell = rect;
    COLORREF color = kColorUnset;
    if (day == m_selectedDay) {
        if (m_daySkin)
            m_daySkin->DrawByState(rt, &cell, 2);
        else
            rt->FillSolidRect(&cell, m_colorSelBack);
        color = m_colorDay;
    } else {
        if (m_daySkin)
            m_daySkin->DrawByState(rt, &cell, day == m_hoverDay ? 1 : 0);
        int weekDay = DayOfWeek(m_year, m_month, day);
        if (weekDay == 0 || weekDay == 6)
            color = m_colorWeekend;
    }
    COLORREF previous = color != kColorUnset ? rt->SetTextColor(color) : kColorUnset;
    rt->DrawText(text, static_cast<int>(wcslen(text)), &cell, kCentred);
    if (previous != kColorUnset)
        rt->SetTextColor(previous);
}

void SCalendar::Paint(IRenderTarget* rt)
{
    SPaintState saved;
    BeginPaintState(rt, &saved);
    DrawTitle(rt);
    int count = DaysInMonth(m_year, m_month);
    for (int day = 1; day <= count; ++day)
        DrawDay(rt, DayRect(static_cast<WORD>(day)), static_cast<WORD>(day));
    EndPaintState(rt, &saved);
}

void SCalendar::RedrawDay(WORD day)
{
    if (day == 0)
        return;
    RECT rect = DayRect(day);
    IRenderTarget* rt = AcquirePaintTarget(&rect, kPaintWithBackground, TRUE);
    if (!rt)
        return;
    SPaintState saved;
    BeginPaintState(rt, &saved);
    DrawDay(rt, rect, day);
    EndPaintState(rt, &saved);
    ReturnPaintTarget(rt);
}

void SCalendar::OnMouseMove(POINT pt)
{
    WORD day = DayAtPoint(pt);
    if (day == m_hoverDay)
        return;
    WORD old = m_hoverDay;
    m_hoverDay = day;
    if (!m_daySkin)
        return;
    RedrawDay(old);
    RedrawDay(day);
}

void SCalendar::OnLeftButtonDown(WPARAM keys, POINT pt)
{
    HandleLeftButtonDown(static_cast<UINT>(keys), pt);
    WORD day = DayAtPoint(pt);
    if (day != 0 && day != m_selectedDay) {
        EventCalendarSelDay evt(this);
        evt.oldDay = m_selectedDay;
        evt.newDay = day;
        RaiseEvent(evt);
    }
    m_selectedDay = day;
    InvalidateArea();
}

BOOL SCalendar::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    *result = 0;
    POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (msg) {
    case WM_PAINT: Paint(reinterpret_cast<IRenderTarget*>(wParam)); return TRUE;
    case WM_MOUSEMOVE: OnMouseMove(pt); return TRUE;
    case WM_MOUSELEAVE:
        if (m_hoverDay != 0) {
            WORD old = m_hoverDay;
            m_hoverDay = 0;
            if (m_daySkin)
                RedrawDay(old);
        }
        return SCalendarBase::HandleMessage(msg, wParam, lParam, result);
    case WM_LBUTTONDOWN: OnLeftButtonDown(wParam, pt); return TRUE;
    default: return SCalendarBase::HandleMessage(msg, wParam, lParam, result);
    }
}

} // namespace SKEIN
