#pragma once
// The extended month calendar ("calendarex"): a title row with previous and next buttons around
// the month caption, a week-day row, a fixed 7 x 6 grid that also shows the neighbouring months'
// days, and a today line that jumps back to the current date.
#include "control/SCalendar.h"

namespace SKEIN {

class EventCalendarExChanged : public EventArgs {
    SKEIN_EVENT_CLASS(20002, L"on_calendarex_changed")
    explicit EventCalendarExChanged(IObject* sender) : EventArgs(sender), day(0), month(0), year(0), button(0) {}
    WORD day;
    WORD month;
    WORD year;
    int button; // the cell clicked, kCalHitPrev, kCalHitNext or kCalHitToday
};

// Hit codes of SCalendarEx::HitItem besides the cells 0..41.
enum {
    kCalHitWeek = -1,
    kCalHitPrev = -10,
    kCalHitNext = -11,
    kCalHitCaption = -12,
    kCalHitToday = 42,
    kCalHitTodayBand = 43,
    kCalCellCount = 42,
};

class SCalendarEx : public SCalendarBase {
    SKEIN_CLASS_NAME(SWindow, L"calendarex")

public:
    struct Cell {
        WORD day;
        int kind; // -1 previous month, 0 shown month, 1 next month
    };

    SCalendarEx();

    using SWindow::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    BOOL HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    // False (nothing changed) for a year outside 1600..6999 or a month outside 1..12.
    BOOL SetDate(WORD year, WORD month, WORD day, int button, bool notify);
    void PrevMonth();
    void NextMonth();
    int HitItem(POINT pt) const;

    const Cell& CellAt(int index) const { return m_cells[index]; }
    int SelectedCell() const { return m_selectedCell; }
    int HoverItem() const { return m_hoverItem; }
    WORD ShownYear() const { return m_shownYear; }
    WORD ShownMonth() const { return m_shownMonth; }
    COLORREF SelTextColor() const { return m_colorSelText; }
    COLORREF OtherTextColor() const { return m_colorOtherText; }

private:
    // Title, week row, day area and today band of a client rectangle.
    void Layout(const RECT& client, RECT& title, RECT& week, RECT& days, RECT& today) const;
    RECT CellRect(int index) const;
    void Paint(IRenderTarget* rt);
    void PaintTitle(IRenderTarget* rt, const RECT& title);
    void PaintCells(IRenderTarget* rt);
    void PaintToday(IRenderTarget* rt, const RECT& band);
    void OnLeftButtonDown(WPARAM keys, POINT pt);
    void OnLeftButtonUp(WPARAM keys, POINT pt);
    void ShowMonth(int delta, WORD day, int button);
    int Px(const SLayoutSize& size) const { return size.ToPixels(GetScale()); }

    SLayoutSize m_yearHeight;
    SLayoutSize m_weekHeight;
    SLayoutSize m_todayHeight;
    COLORREF m_colorSelText;
    COLORREF m_colorOtherText;
    COLORREF m_colorSelBg;
    COLORREF m_colorHoverText;
    SRefPtr<ISkinObj> m_prevSkin;
    SRefPtr<ISkinObj> m_nextSkin;
    SRefPtr<ISkinObj> m_daySkin;
    Cell m_cells[kCalCellCount];
    RECT m_todayRect;
    int m_selectedCell;
    int m_hoverItem;
    WORD m_shownYear;
    WORD m_shownMonth;
    SYSTEMTIME m_today;
};

} // namespace SKEIN
