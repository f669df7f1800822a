#pragma once
// The month calendar ("calendar"): a title row of week-day names, a 7 x 6 grid of the shown
// month's days and an empty footer; a click picks a day.
#include "control/SCalendarDate.h"
#include "core/SWnd.h"

namespace SKEIN {

class EventCalendarSelDay : public EventArgs {
    SKEIN_EVENT_CLASS(20000, L"on_calendar_sel_day")
    explicit EventCalendarSelDay(IObject* sender) : EventArgs(sender), oldDay(0), newDay(0) {}
    WORD oldDay;
    WORD newDay;
};

SKEIN_SIMPLE_EVENT(EventCalendarSetDate, 20001, L"on_calendar_set_date")

// The calendars' common part: the seven week-day titles, Sunday first, translated on creation
// and on a language change.
class SCalendarBase : public SWindow {
public:
    SCalendarBase();

    BOOL HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    int RetranslateTexts() override;

protected:
    STranslatableText m_titles[7];
};

class SCalendar : public SCalendarBase {
    SKEIN_CLASS_NAME(SWindow, L"calendar")

public:
    SCalendar();

    using SWindow::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    BOOL HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    virtual void DrawTitle(IRenderTarget* rt);
    virtual void DrawDay(IRenderTarget* rt, const RECT& rect, WORD day);

    // A day past the month's end becomes 0 (no selection).
    BOOL SetDate(WORD year, WORD month, WORD day, bool notify);
    WORD GetYear() const { return m_year; }
    WORD GetMonth() const { return m_month; }
    WORD GetDay() const { return m_selectedDay; }
    WORD GetHoverDay() const { return m_hoverDay; }
    const SStringW& Title(int index) const { return m_titles[index].GetText(false); }
    RECT DayRect(WORD day) const;
    // 0 outside the days.
    WORD DayAtPoint(POINT pt) const;

private:
    RECT DayArea() const;
    void RedrawDay(WORD day);
    void OnMouseMove(POINT pt);
    void OnLeftButtonDown(WPARAM keys, POINT pt);
    void Paint(IRenderTarget* rt);

    SLayoutSize m_titleHeight;
    SLayoutSize m_footerHeight;
    SRefPtr<ISkinObj> m_daySkin;
    SRefPtr<ISkinObj> m_titleSkin;
    COLORREF m_colorWeekend;
    COLORREF m_colorTitleBack;
    COLORREF m_colorDay;
    COLORREF m_colorSelBack;
    WORD m_year;
    WORD m_month;
    WORD m_selectedDay;
    WORD m_hoverDay;
};

} // namespace SKEIN
