// The Gregorian date functions, the month calendar, the extended calendar and the date-time
// picker: date values by table, the grids of given months, hit codes, paging, and the picker's
// fields, stepping, typing and calendar drop-down.
#include <climits>
#include "control/SCalendarEx.h"
#include "control/SDateTimePicker.h"
#include "core/SApp.h"
#include "host_ctrl_test_env.h"

namespace hosttest {
namespace {

// A rectangle's edges, comparable and printable.
std::vector<LONG> Edges(const RECT& rect)
{
    return {rect.left, rect.top, rect.right, rect.bottom};
}

SYSTEMTIME Date(WORD year, WORD month, WORD day, WORD hour = 8, WORD minute = 5, WORD second = 9)
{
    SYSTEMTIME time = {};
    time.wYear = year;
    time.wMonth = month;
    time.wDay = day;
    time.wHour = hour;
    time.wMinute = minute;
    time.wSecond = second;
    return time;
}

TEST(CalendarDateTest, DateFunctionsOverTheRange)
{
    struct DayOfWeekCase {
        WORD year, month, day;
        int dayOfWeek;
    } weekDays[] = {
        {2000, 1, 1, 6}, {1600, 1, 1, 6}, {2024, 3, 1, 5}, {2024, 2, 29, 4}, {1900, 3, 1, 4},
        {6999, 12, 31, 2}, {1599, 12, 31, -1}, {7000, 1, 1, -1}, {2023, 2, 29, -1}, {2024, 13, 1, -1},
        {2024, 4, 31, -1}, {2024, 1, 0, -1},
    };
    for (const DayOfWeekCase& c : weekDays)
        EXPECT_EQ(c.dayOfWeek, DayOfWeek(c.year, c.month, c.day)) << c.year << "-" << c.month << "-" << c.day;

    struct MonthCase {
        WORD year, month;
        int days;
    } months[] = {
        {2000, 2, 29}, {1900, 2, 28}, {2024, 2, 29}, {2023, 2, 28}, {2100, 12, 31}, {2024, 4, 30},
        {1599, 12, 0}, {7000, 12, 0}, {2024, 0, 0}, {2024, 13, 0},
    };
    for (const MonthCase& c : months)
        EXPECT_EQ(c.days, DaysInMonth(c.year, c.month)) << c.year << "-" << c.month;

    bool leap = true;
    EXPECT_FALSE(IsLeapYear(1599, leap));
    EXPECT_TRUE(leap); // untouched
    EXPECT_TRUE(IsLeapYear(1600, leap));
    EXPECT_TRUE(leap);
    EXPECT_TRUE(IsLeapYear(1700, leap));
    EXPECT_FALSE(leap);
    EXPECT_FALSE(IsValidDate(2023, 2, 29));
    EXPECT_TRUE(IsValidDate(2024, 2, 29));
    EXPECT_FALSE(IsValidDate(1596, 2, 29)); // outside the range nothing is leap
    int n = -1;
    EXPECT_TRUE(DayOfYear(2024, 12, 31, n));
    EXPECT_EQ(365, n);
    EXPECT_TRUE(DayOfYear(2023, 3, 1, n));
    EXPECT_EQ(59, n);
}

class CalendarTest : public HostCtrlTest {
protected:
    template <class T>
    T* OpenOne(const char* className, const std::string& attributes, const char* size = "pos='0,0,@210,@180'")
    {
        m_driver.reset(new HostDriver(Open(std::string("<SKEIN width='260' height='200'><root colorBkgnd='#ffffff'><")
                                           + className + " name='cal' " + size + " " + attributes + "/></root></SKEIN>")));
        return m_driver->Find<T>(L"cal");
    }
    std::unique_ptr<HostDriver> m_driver;

    // A press at a client point of hwnd, released at another; the release goes where the system
    // sends it: to the window holding the mouse capture (the drop-down, once a press opened it).
    void PressAndRelease(HWND hwnd, POINT press, POINT release)
    {
        Deliver(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(press.x, press.y));
        Deliver(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(press.x, press.y));
        HWND target = ::GetCapture() ? ::GetCapture() : hwnd;
        ::MapWindowPoints(hwnd, target, &release, 1);
        if (release.x != press.x || release.y != press.y)
            Deliver(target, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(release.x, release.y));
        Deliver(target, WM_LBUTTONUP, 0, MAKELPARAM(release.x, release.y));
    }
    void ClickAt(HWND hwnd, POINT pt) { PressAndRelease(hwnd, pt, pt); }
    // The middle of the calendar's points whose hit code is code ({-1, -1} when there are none).
    static POINT PointOf(SCalendarEx* cal, int code)
    {
        RECT area = cal->GetWindowRect(), found = {LONG_MAX, LONG_MAX, -1, -1};
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x) {
                if (cal->HitItem(POINT{x, y}) == code)
                    found = RECT{std::min<LONG>(found.left, x), std::min<LONG>(found.top, y),
                                 std::max<LONG>(found.right, x), std::max<LONG>(found.bottom, y)};
            }
        }
        return found.right < 0 ? POINT{-1, -1} : POINT{(found.left + found.right) / 2, (found.top + found.bottom) / 2};
    }
    // The first cell showing day, or -1.
    static int CellShowing(SCalendarEx* cal, WORD day)
    {
        for (int i = 0; i < kCalCellCount; ++i) {
            if (cal->CellAt(i).day == day)
                return i;
        }
        return -1;
    }
    // Shown year and month, then the selected cell's day and kind.
    static std::vector<int> Shown(SCalendarEx* cal)
    {
        const SCalendarEx::Cell& cell = cal->CellAt(cal->SelectedCell());
        return {cal->ShownYear(), cal->ShownMonth(), cell.day, cell.kind};
    }
};

TEST_F(CalendarTest, MonthGridAndItsDays)
{
    // 210 x 180 with title and footer 20: cells 30 x 23.
    SCalendar* cal = OpenOne<SCalendar>("calendar", "title-1='Su'");
    ASSERT_NE(nullptr, cal);
    EXPECT_EQ(SStringW(L"Su"), cal->Title(0)); // XML titles survive creation
    EXPECT_EQ(SStringW(L"\u4e00"), cal->Title(1));

    cal->SetDate(2023, 2, 30, false);
    EXPECT_EQ(0, cal->GetDay());
    // July 2023 starts on Saturday and has 31 days: the 31st lies in the sixth row.
    cal->SetDate(2023, 7, 31, false);
    EXPECT_EQ(31, cal->GetDay());
    RECT last = cal->DayRect(31);
    EXPECT_EQ(Edges(RECT{30, 20 + 5 * 23, 60, 20 + 6 * 23}), Edges(last));
    EXPECT_EQ(31, cal->DayAtPoint(POINT{45, 20 + 5 * 23 + 5}));
    EXPECT_EQ(0, cal->DayAtPoint(POINT{75, 20 + 5 * 23 + 5}));
    EXPECT_EQ(0, cal->DayAtPoint(POINT{5, 25})); // before the 1st
    EXPECT_EQ(1, cal->DayAtPoint(POINT{185, 25}));

    m_driver->Click(POINT{45, 20 + 5 * 23 + 5});
    m_driver->Click(POINT{5, 25}); // outside the days: cleared without an event
    EXPECT_EQ(0, cal->GetDay());
    EXPECT_EQ(0, m_host->Count(EventCalendarSelDay::EventID)); // 31 was selected already

    // Outside the range no day exists anywhere.
    cal->SetDate(1599, 12, 5, false);
    EXPECT_EQ(0, cal->GetDay());
    EXPECT_EQ(0, cal->DayAtPoint(POINT{45, 45}));
    m_driver->Pump();
}

TEST_F(CalendarTest, TinyCalendarNeverDividesByZero)
{
    SCalendar* cal = OpenOne<SCalendar>("calendar", "", "pos='0,0,@5,@40'");
    ASSERT_NE(nullptr, cal);
    EXPECT_EQ(0, cal->DayAtPoint(POINT{2, 20}));
    m_driver->Click(POINT{2, 20});
    m_driver->Pump();
}

TEST_F(CalendarTest, ExtendedCalendarCellsOfMarch2024)
{
    SCalendarEx* cal = OpenOne<SCalendarEx>("calendarex", "");
    ASSERT_NE(nullptr, cal);
    ASSERT_TRUE(cal->SetDate(2024, 3, 15, -1, false));
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(25 + i, cal->CellAt(i).day);
        EXPECT_EQ(-1, cal->CellAt(i).kind);
    }
    EXPECT_EQ(1, cal->CellAt(5).day);
    EXPECT_EQ(0, cal->CellAt(35).kind);
    EXPECT_EQ(31, cal->CellAt(35).day);
    for (int i = 36; i < 42; ++i) {
        EXPECT_EQ(i - 35, cal->CellAt(i).day);
        EXPECT_EQ(1, cal->CellAt(i).kind);
    }
    EXPECT_EQ(19, cal->SelectedCell());
    // 210 x 180: the grid from y = 50 in cells of 30 x 18; cell 19 is column 5 of row 2.
    m_driver->Pump();
    Shot shot = m_driver->Capture();
    EXPECT_EQ(0xFF007ACCu, shot.At(153, 89));  // the selected cell's background
    EXPECT_EQ(0xFFFFFFFFu, shot.At(123, 89));  // its neighbour's
    EXPECT_EQ(0, shot.CountColor(RECT{150, 104, 180, 122}, 0xFF007ACCu));
    EXPECT_FALSE(cal->SetDate(1599, 12, 1, -1, false));
    EXPECT_FALSE(cal->SetDate(2024, 13, 1, -1, false));
    EXPECT_EQ(3, cal->ShownMonth());
}

struct ExChanges {
    bool On(EventCalendarExChanged* evt)
    {
        log.push_back({evt->year, evt->month, evt->day, evt->button});
        return true;
    }
    std::vector<std::vector<int>> log;
};

TEST_F(CalendarTest, ExtendedCalendarPagingHitsAndClicks)
{
    // 210 x 180: title 30, week row 20, today band 20: cells 30 x 18 from y = 50.
    SCalendarEx* cal = OpenOne<SCalendarEx>("calendarex", "colorSelText='#00ff00'");
    ASSERT_NE(nullptr, cal);
    EXPECT_EQ(0xFF00FF00u, cal->SelTextColor());
    EXPECT_EQ(0xFFA0A0A0u, cal->OtherTextColor());
    ExChanges changes;
    cal->GetEventSet()->AddSubscriber(EventCalendarExChanged::EventID, Subscriber(&ExChanges::On, &changes));
    cal->SetDate(2024, 1, 20, -1, false);
    cal->PrevMonth();
    EXPECT_EQ(2023, cal->ShownYear());
    EXPECT_EQ(12, cal->ShownMonth());
    cal->SetDate(2023, 12, 31, -1, false);
    cal->NextMonth();
    EXPECT_EQ((std::vector<std::vector<int>>{{2023, 12, 1, kCalHitPrev}, {2024, 1, 1, kCalHitNext}}), changes.log);

    struct Hit {
        POINT pt;
        int code;
    } hits[] = {
        {{5, 10}, kCalHitPrev}, {{205, 10}, kCalHitNext}, {{105, 10}, kCalHitCaption}, {{105, 40}, kCalHitWeek},
        {{5, 55}, 0}, {{205, 55}, 6}, {{35, 75}, 8}, {{205, 159}, 41}, {{205, 160}, 41}, {{250, 100}, 20},
        {{2, 175}, kCalHitTodayBand},
    };
    m_driver->Pump();
    for (const Hit& h : hits)
        EXPECT_EQ(h.code, cal->HitItem(h.pt)) << h.pt.x << "," << h.pt.y;

    // January 2024 starts on Monday: cell 0 is 31 December.
    changes.log.clear();
    int commands = m_host->Count(EventCmd::EventID, L"cal");
    m_driver->Click(POINT{15, 55});
    EXPECT_EQ((std::vector<std::vector<int>>{{2023, 12, 31, 0}}), changes.log);
    EXPECT_EQ(commands + 1, m_host->Count(EventCmd::EventID, L"cal"));
    m_driver->Click(POINT{105, 10}); // the caption
    m_driver->Click(POINT{105, 40}); // the week row
    EXPECT_EQ(1u, changes.log.size());
    EXPECT_EQ(commands + 1, m_host->Count(EventCmd::EventID, L"cal"));
    m_driver->Wheel(POINT{100, 100}, -120);
    EXPECT_EQ(1, cal->ShownMonth());

    // Paging stops at the first and the last month the calendar has; the chosen day stays.
    changes.log.clear();
    cal->SetDate(1600, 1, 10, -1, false);
    m_driver->Click(POINT{5, 10});
    m_driver->Wheel(POINT{100, 100}, 120);
    EXPECT_EQ((std::vector<int>{1600, 1, 10}),
              (std::vector<int>{cal->ShownYear(), cal->ShownMonth(), cal->CellAt(cal->SelectedCell()).day}));
    cal->SetDate(6999, 12, 10, -1, false);
    m_driver->Click(POINT{205, 10});
    m_driver->Wheel(POINT{100, 100}, -120);
    EXPECT_EQ((std::vector<int>{6999, 12, 10}),
              (std::vector<int>{cal->ShownYear(), cal->ShownMonth(), cal->CellAt(cal->SelectedCell()).day}));
    EXPECT_TRUE(changes.log.empty());
}

TEST_F(CalendarTest, ExtendedCalendarGreyDayShowsItsMonth)
{
    const std::vector<int> kNone;
    const SYSTEMTIME kAsBefore = {};
    struct Case {
        const char* what;
        SYSTEMTIME start;          // kAsBefore: the grid the case before left
        int cell;                  // clicked
        std::vector<int> reported; // year, month, day, button; kNone: no event
        std::vector<int> shown;    // see Shown
    } cases[] = {
        {"25 February in the March grid", Date(2024, 3, 15), 0, {2024, 2, 25, 0}, {2024, 2, 25, 0}},
        {"31 in the February grid it left", kAsBefore, 3, {2024, 1, 31, 3}, {2024, 1, 31, 0}},
        {"10 February in the January grid", kAsBefore, 41, {2024, 2, 10, 41}, {2024, 2, 10, 0}},
        {"a day of the shown month", kAsBefore, 20, {2024, 2, 17, 20}, {2024, 2, 17, 0}},
        {"31 December in the January grid", Date(2024, 1, 5), 0, {2023, 12, 31, 0}, {2023, 12, 31, 0}},
        {"1 January in the December grid", Date(2023, 12, 5), 41, {2024, 1, 6, 41}, {2024, 1, 6, 0}},
        {"December 1599 in the first grid", Date(1600, 1, 10), 0, kNone, {1600, 1, 10, 0}},
        {"January 7000 in the last grid", Date(6999, 12, 10), 41, kNone, {6999, 12, 10, 0}},
    };
    SCalendarEx* cal = OpenOne<SCalendarEx>("calendarex", "");
    ASSERT_NE(nullptr, cal);
    ExChanges changes;
    cal->GetEventSet()->AddSubscriber(EventCalendarExChanged::EventID, Subscriber(&ExChanges::On, &changes));
    m_driver->Pump();
    RECT area = cal->GetWindowRect();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.start.wYear)
            ASSERT_TRUE(cal->SetDate(c.start.wYear, c.start.wMonth, c.start.wDay, -1, false));
        changes.log.clear();
        ClickAt(m_driver->Hwnd(), PointOf(cal, c.cell));
        EXPECT_EQ(c.reported.empty() ? std::vector<std::vector<int>>{} : std::vector<std::vector<int>>{c.reported},
                  changes.log);
        EXPECT_EQ(c.shown, Shown(cal));
        // Caption and cells look as when that day is set directly.
        m_driver->Leave();
        Shot clicked = m_driver->Capture();
        cal->SetDate(cal->ShownYear(), cal->ShownMonth(), cal->CellAt(cal->SelectedCell()).day, -1, false);
        EXPECT_FALSE(clicked.Differs(m_driver->Capture(), area));
    }
}

TEST_F(CalendarTest, ExtendedCalendarColourSetAtRunTimeShowsAtOnce)
{
    SCalendarEx* cal = OpenOne<SCalendarEx>("calendarex", "");
    ASSERT_NE(nullptr, cal);
    ASSERT_TRUE(cal->SetDate(2024, 3, 15, -1, false));
    m_driver->Pump();
    EXPECT_EQ(0xFF007ACCu, m_driver->Capture().At(153, 89)); // cell 19, selected

    // A colour answers 0 and repaints: the capture paints only what was invalidated.
    EXPECT_EQ(S_OK, cal->ApplyAttribute("colorSelBg", "#ff0000", FALSE));
    Shot shot = m_driver->Capture();
    EXPECT_EQ(0xFFFF0000u, shot.At(153, 89));
    EXPECT_EQ(0xFFFFFFFFu, shot.At(123, 89));

    // The other colours likewise; dimensions and skins answer 1.
    struct Case {
        const char* name;
        const char* value;
        HRESULT result;
    } cases[] = {
        {"colorHoverText", "#00ff00", S_OK}, {"colorOtherText", "#0000ff", S_OK},
        {"colorSelText", "#ffff00", S_OK},   {"colorSelBg", "", E_FAIL},
        {"weekHeight", "20", S_FALSE},       {"daySkin", "no.such.skin", S_FALSE},
        {"nextSkin", "_skin.sys.btn.next", S_FALSE},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.result, cal->ApplyAttribute(c.name, c.value, FALSE)) << c.name << "=" << c.value;
    EXPECT_EQ(0xFFFF0000u, m_driver->Capture().At(153, 89));
}

TEST_F(CalendarTest, ExtendedCalendarOnATinyWindowStaysInItsCells)
{
    SCalendarEx* cal = OpenOne<SCalendarEx>("calendarex", "", "pos='0,0,@4,@100'");
    ASSERT_NE(nullptr, cal);
    int hit = cal->HitItem(POINT{2, 70});
    EXPECT_GE(hit, 0);
    EXPECT_LT(hit, kCalCellCount);
    m_driver->Click(POINT{2, 70});
    m_driver->Pump();
}

// ---- date-time picker ----

class PickerTest : public CalendarTest {
protected:
    SDateTimePicker* OpenPicker(const std::string& attributes = "")
    {
        SDateTimePicker* picker =
            OpenOne<SDateTimePicker>("dateTimePicker", attributes, "pos='10,10,@200,@24'");
        if (picker)
            picker->SetTime(Date(2024, 3, 15));
        return picker;
    }
    static std::wstring Text(SDateTimePicker* picker) { return picker->QueryText().c_str(); }
    int DateChanges() const { return m_host->Count(EventDateTimeChanged::EventID); }

    // A wheel turn and a key as the system sends them: to the main window, which has the focus.
    void WheelAtFocus(int delta)
    {
        POINT pt = {100, 100};
        ::ClientToScreen(m_driver->Hwnd(), &pt);
        Deliver(m_driver->Hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(static_cast<short>(delta))),
                MAKELPARAM(pt.x, pt.y));
    }
    void KeyAtFocus(UINT vk)
    {
        Deliver(m_driver->Hwnd(), WM_KEYDOWN, vk, 1);
        Deliver(m_driver->Hwnd(), WM_KEYUP, vk, 0xC0000001);
    }
    // The native window of the open drop-down (null when none is open).
    static HWND Popup(SDateTimePicker* picker) { return picker->GetPopup() ? picker->GetPopup()->Handle() : nullptr; }
    // The drop-down opened by a click on the button of a picker set to time.
    HWND DropDown(SDateTimePicker* picker, const SYSTEMTIME& time)
    {
        picker->SetTime(time);
        RECT zone = picker->ButtonZone();
        ClickAt(m_driver->Hwnd(), POINT{zone.left + 5, zone.top + 5});
        return Popup(picker);
    }
};

TEST_F(PickerTest, StepsWrapAndKeepTheDayValid)
{
    struct Case {
        const char* what;
        SYSTEMTIME start;
        int field;
        bool up;
        const wchar_t* text;
    } cases[] = {
        {"31 March + month", Date(2024, 3, 31), 2, true, L"2024-04-30 08:05:09"},
        {"29 February + day", Date(2024, 2, 29), 3, true, L"2024-02-01 08:05:09"},
        {"1 January - day", Date(2024, 1, 1), 3, false, L"2024-01-31 08:05:09"},
        {"December + month", Date(2024, 12, 5), 2, true, L"2024-01-05 08:05:09"},
        {"29 February + year", Date(2024, 2, 29), 1, true, L"2025-02-28 08:05:09"},
        {"last year + year", Date(6999, 5, 5), 1, true, L"6999-05-05 08:05:09"},
        {"first year - year", Date(1600, 5, 5), 1, false, L"1600-05-05 08:05:09"},
        {"hour 0 - hour", Date(2024, 5, 5, 0), 4, false, L"2024-05-05 23:05:09"},
        {"second 59 + second", Date(2024, 5, 5, 8, 5, 59), 6, true, L"2024-05-05 08:05:00"},
    };
    SDateTimePicker* picker = OpenPicker();
    ASSERT_NE(nullptr, picker);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        picker->SetTime(c.start);
        picker->SelectField(c.field);
        picker->SendUiMessage(WM_KEYDOWN, c.up ? VK_UP : VK_DOWN, 1);
        EXPECT_EQ(std::wstring(c.text), Text(picker));
    }
    EXPECT_EQ(0, m_host->Count(EventDateTimeChanged::EventID));
}

TEST_F(PickerTest, TypingRestartsAndNeverLeavesAnInvalidDay)
{
    struct Case {
        const char* what;
        SYSTEMTIME start;
        int field;
        const wchar_t* typed;
        const wchar_t* text;
    } cases[] = {
        {"month 1 2", Date(2024, 3, 15), 2, L"12", L"2024-12-15 08:05:09"},
        {"month 1 3", Date(2024, 3, 15), 2, L"13", L"2024-03-15 08:05:09"},
        {"month 1 4", Date(2024, 3, 15), 2, L"14", L"2024-04-15 08:05:09"},
        {"month restart keeps the day valid", Date(2024, 3, 31), 2, L"14", L"2024-04-30 08:05:09"},
        {"month restart on 0 keeps the month", Date(2024, 3, 31), 2, L"20", L"2024-02-29 08:05:09"},
        {"day 3 1 in April", Date(2024, 4, 5), 3, L"31", L"2024-04-01 08:05:09"},
        {"day restart on 0 keeps the day", Date(2024, 4, 5), 3, L"40", L"2024-04-04 08:05:09"},
        {"day 2 9 in February", Date(2024, 2, 5), 3, L"29", L"2024-02-29 08:05:09"},
        {"year 2 0 2 5", Date(2024, 2, 29), 1, L"2025", L"2025-02-28 08:05:09"},
        {"year below the range", Date(2024, 2, 5), 1, L"0012", L"2024-02-05 08:05:09"},
        {"hour 2 5", Date(2024, 2, 5), 4, L"25", L"2024-02-05 05:05:09"},
        {"minute 7 7", Date(2024, 2, 5), 5, L"77", L"2024-02-05 08:07:09"},
        {"letters ignored", Date(2024, 2, 5), 6, L"a1", L"2024-02-05 08:05:01"},
    };
    SDateTimePicker* picker = OpenPicker();
    ASSERT_NE(nullptr, picker);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        picker->SetTime(c.start);
        picker->SelectField(c.field);
        for (const wchar_t* ch = c.typed; *ch; ++ch)
            picker->SendUiMessage(WM_CHAR, *ch, 1);
        EXPECT_EQ(std::wstring(c.text), Text(picker));
    }
    EXPECT_EQ(0, m_host->Count(EventDateTimeChanged::EventID));
}

TEST_F(PickerTest, FieldsWithoutTimeAndTheKeysStayWithinThem)
{
    SDateTimePicker* picker = OpenPicker("timeEnable='False'");
    ASSERT_NE(nullptr, picker);
    EXPECT_EQ(L"2024-03-15", Text(picker));
    m_driver->Pump();
    RECT rect = picker->GetWindowRect();
    EXPECT_EQ(SDateTimePicker::kFieldDay, picker->FieldAtX(rect.left + 150));
    m_driver->Click(POINT{rect.left + 150, rect.top + 12});
    EXPECT_EQ(SDateTimePicker::kFieldDay, picker->SelectedField());
    picker->SendUiMessage(WM_KEYDOWN, VK_RIGHT, 1);
    EXPECT_EQ(SDateTimePicker::kFieldDay, picker->SelectedField());
    for (int i = 0; i < 4; ++i)
        picker->SendUiMessage(WM_KEYDOWN, VK_LEFT, 1);
    EXPECT_EQ(SDateTimePicker::kFieldYear, picker->SelectedField());
}

TEST_F(PickerTest, AttributesSetAtRunTimeShowAtOnce)
{
    SDateTimePicker* picker = OpenPicker();
    ASSERT_NE(nullptr, picker);
    m_driver->Pump();
    RECT rect = picker->GetWindowRect();
    int hour = rect.left;
    while (hour < rect.right && picker->FieldAtX(hour) != SDateTimePicker::kFieldHour)
        ++hour;
    RECT time = {hour, rect.top + 2, picker->ButtonZone().left, rect.bottom - 2};
    auto inked = [](UINT32 pixel) { return pixel != 0xFFFFFFFFu; };
    EXPECT_GT(m_driver->Capture().Count(time, inked), 0);

    struct Case {
        const char* name;
        const char* value;
    } cases[] = {{"timeEnable", "0"}, {"dropWidth", "300"}, {"btnSkin", "_skin.sys.dropbtn"}};
    for (const Case& c : cases)
        EXPECT_EQ(S_OK, picker->ApplyAttribute(c.name, c.value, FALSE)) << c.name;
    EXPECT_EQ(L"2024-03-15", Text(picker));
    EXPECT_EQ(0, m_driver->Capture().Count(time, inked)); // the capture paints only what was invalidated
}

TEST_F(PickerTest, DropButtonOpensTheCalendarAndAPickedDayIsReported)
{
    SDateTimePicker* picker = OpenPicker();
    ASSERT_NE(nullptr, picker);
    ASSERT_NE(nullptr, picker->GetCalendar());
    // Room on the left for the calendar, which is wider than the picker.
    ::SetWindowPos(m_driver->Hwnd(), nullptr, 100, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT zone = picker->ButtonZone();
    m_driver->Click(POINT{zone.left + 5, zone.top + 5});
    ASSERT_NE(nullptr, picker->GetPopup());
    EXPECT_EQ(2, picker->ButtonState());
    RECT popup = {}, host = picker->GetWindowRect();
    ::GetWindowRect(picker->GetPopup()->Handle(), &popup);
    ::MapWindowPoints(m_driver->Hwnd(), nullptr, reinterpret_cast<POINT*>(&host), 2);
    EXPECT_EQ(Edges(RECT{host.right - 220, host.bottom, host.right, host.bottom + 176}), Edges(popup));
    SCalendarEx* cal = picker->GetCalendar();
    EXPECT_EQ(3, cal->ShownMonth());
    // Cell 19 of March 2024 is the 15th; the next one is the 16th.
    RECT cell = {};
    for (int x = 0; x < 220 && !cell.right; ++x) {
        if (cal->HitItem(POINT{x, 100}) == 20)
            cell = RECT{x, 100, x + 1, 101};
    }
    ASSERT_NE(0, cell.right);
    HWND hwnd = picker->GetPopup()->Handle();
    ::SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(cell.left + 2, cell.top));
    ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(cell.left + 2, cell.top));
    ::SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(cell.left + 2, cell.top));
    EXPECT_EQ(nullptr, picker->GetPopup());
    EXPECT_EQ(0, picker->ButtonState());
    EXPECT_EQ(L"2024-03-16 08:05:09", Text(picker));
    EXPECT_EQ(1, m_host->Count(EventDateTimeChanged::EventID));
}

TEST_F(PickerTest, EveryDayClickedInTheDropDownIsPickedAndClosesIt)
{
    const int kHighlighted = -1; // the cell the calendar shows as chosen
    struct Case {
        const char* what;
        std::vector<int> pages; // -1 / 1 the previous / next button, other values a wheel turn
        int cell;
        const wchar_t* text;
        int changes;
    } cases[] = {
        {"the highlighted 1st after the previous button", {-1}, kHighlighted, L"2024-02-01 08:05:09", 1},
        {"the highlighted 1st after the wheel", {-WHEEL_DELTA, -WHEEL_DELTA}, kHighlighted, L"2024-05-01 08:05:09", 1},
        {"the highlighted 1st after paging away and back", {1, -1}, kHighlighted, L"2024-03-01 08:05:09", 1},
        {"another day after paging", {1}, 20, L"2024-04-20 08:05:09", 1}, // April 2024 starts on Monday
        {"its own day", {}, kHighlighted, L"2024-03-15 08:05:09", 0},
        {"its own day after paging away and back", {WHEEL_DELTA, 1}, 19, L"2024-03-15 08:05:09", 0},
    };
    SDateTimePicker* picker = OpenPicker();
    ASSERT_NE(nullptr, picker);
    SCalendarEx* cal = picker->GetCalendar();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        int changes = DateChanges();
        HWND popup = DropDown(picker, Date(2024, 3, 15));
        ASSERT_NE(nullptr, popup);
        for (int page : c.pages) {
            if (page == -1 || page == 1)
                ClickAt(popup, PointOf(cal, page < 0 ? kCalHitPrev : kCalHitNext));
            else
                WheelAtFocus(page);
        }
        ASSERT_EQ(popup, Popup(picker)); // paging keeps it open
        EXPECT_EQ(L"2024-03-15 08:05:09", Text(picker));
        EXPECT_EQ(changes, DateChanges());

        ClickAt(popup, PointOf(cal, c.cell == kHighlighted ? cal->SelectedCell() : c.cell));
        EXPECT_EQ(nullptr, picker->GetPopup());
        EXPECT_FALSE(::IsWindow(popup));
        EXPECT_EQ(0, picker->ButtonState());
        EXPECT_EQ(std::wstring(c.text), Text(picker));
        EXPECT_EQ(changes + c.changes, DateChanges());
    }
}

TEST_F(PickerTest, GreyDayInTheDropDownShowsItsMonthAndTheDayClickedIsPicked)
{
    const WORD kHighlighted = 0; // the day the calendar shows as chosen
    struct Case {
        const char* what;
        int greyCell;                  // pressed in the March 2024 grid, released on the caption
        const wchar_t* afterPress;
        std::vector<int> shown;        // see Shown
        WORD day;                      // then the first cell showing it is clicked
        const wchar_t* text;
        int changes;
    } cases[] = {
        {"25 February, then 31", 0, L"2024-02-25 08:05:09", {2024, 2, 25, 0}, 31, L"2024-01-31 08:05:09", 2},
        {"25 February, then 15", 0, L"2024-02-25 08:05:09", {2024, 2, 25, 0}, 15, L"2024-02-15 08:05:09", 2},
        {"25 February, then itself", 0, L"2024-02-25 08:05:09", {2024, 2, 25, 0}, kHighlighted,
         L"2024-02-25 08:05:09", 1},
        // April 2024 starts on Monday: its first cell is 31 March.
        {"1 April, then 31", 36, L"2024-04-01 08:05:09", {2024, 4, 1, 0}, 31, L"2024-03-31 08:05:09", 2},
    };
    SDateTimePicker* picker = OpenPicker();
    ASSERT_NE(nullptr, picker);
    SCalendarEx* cal = picker->GetCalendar();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        int changes = DateChanges();
        HWND popup = DropDown(picker, Date(2024, 3, 15));
        ASSERT_NE(nullptr, popup);
        PressAndRelease(popup, PointOf(cal, c.greyCell), PointOf(cal, kCalHitCaption));
        ASSERT_EQ(popup, Popup(picker));
        EXPECT_EQ(std::wstring(c.afterPress), Text(picker));
        EXPECT_EQ(changes + 1, DateChanges());
        EXPECT_EQ(c.shown, Shown(cal));

        int cell = c.day == kHighlighted ? cal->SelectedCell() : CellShowing(cal, c.day);
        ClickAt(popup, PointOf(cal, cell));
        EXPECT_FALSE(::IsWindow(popup));
        EXPECT_EQ(std::wstring(c.text), Text(picker));
        EXPECT_EQ(changes + c.changes, DateChanges());
    }
}

TEST_F(PickerTest, TodayTextSetsTheDateOnceAndKeepsTheDropDownOpen)
{
    SDateTimePicker* picker = OpenPicker();
    ASSERT_NE(nullptr, picker);
    SYSTEMTIME now = {};
    ::GetLocalTime(&now);
    SCalendarEx* cal = picker->GetCalendar();
    HWND popup = DropDown(picker, Date(now.wYear - 1, 3, 15));
    ASSERT_NE(nullptr, popup);
    ClickAt(popup, PointOf(cal, kCalHitPrev));
    POINT today = PointOf(cal, kCalHitToday);
    ASSERT_NE(-1, today.x);

    for (int i = 0; i < 2; ++i) { // the second time nothing changes
        ClickAt(popup, today);
        ASSERT_EQ(popup, Popup(picker));
        EXPECT_EQ(now.wMonth, cal->ShownMonth());
        SYSTEMTIME time = picker->GetTime();
        EXPECT_EQ((std::vector<int>{now.wYear, now.wMonth, now.wDay, 8, 5, 9}),
                  (std::vector<int>{time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond}));
        EXPECT_EQ(1, DateChanges());
    }
    KeyAtFocus(VK_ESCAPE);
    EXPECT_FALSE(::IsWindow(popup));
    EXPECT_EQ(now.wDay, picker->GetTime().wDay);
    EXPECT_EQ(1, DateChanges());
}

TEST_F(PickerTest, DropDownsOpenedAndClosedTwentyTimesLeaveNothingBehind)
{
    SDateTimePicker* picker = OpenPicker();
    ASSERT_NE(nullptr, picker);
    SCalendarEx* cal = picker->GetCalendar();
    const int windows = ThreadWindowCount();
    const long hosts = SHostWnd::LiveCount();
    for (int round = 1; round <= 20; ++round) {
        HWND popup = DropDown(picker, Date(2024, 3, 15)); // ended by Esc
        ASSERT_NE(nullptr, popup) << round;
        ClickAt(popup, PointOf(cal, kCalHitNext));
        KeyAtFocus(VK_ESCAPE);
        popup = DropDown(picker, Date(2024, 3, 15)); // ended by a picked day
        ASSERT_NE(nullptr, popup) << round;
        ClickAt(popup, PointOf(cal, 20));
        ASSERT_EQ(nullptr, Popup(picker)) << round;
        ASSERT_EQ(windows, ThreadWindowCount()) << "round " << round;
        ASSERT_EQ(hosts, SHostWnd::LiveCount()) << "round " << round;
    }
}

TEST_F(PickerTest, WithoutACalendarTheButtonDoesNothing)
{
    ASSERT_TRUE(m_app->RemoveFactory(SObjectInfo(L"calendarex", kKindWindow)));
    SDateTimePicker* picker = OpenPicker("btnSkin='no.such.skin'");
    ASSERT_NE(nullptr, picker);
    EXPECT_EQ(nullptr, picker->GetCalendar());
    RECT zone = picker->ButtonZone();
    m_driver->Click(POINT{zone.left + 5, zone.top + 5});
    EXPECT_EQ(nullptr, picker->GetPopup());
    m_driver->Pump();
}

// A picker narrower than its drop-down at the monitor's left edge: the calendar opens on the
// monitor, not right-aligned past its edge.
TEST_F(PickerTest, DropDownAtTheMonitorsLeftEdgeStaysOnIt)
{
    SDateTimePicker* picker = OpenPicker();
    ASSERT_NE(nullptr, picker);
    MONITORINFO info = {sizeof(info)};
    ::GetMonitorInfoW(::MonitorFromWindow(m_driver->Hwnd(), MONITOR_DEFAULTTOPRIMARY), &info);
    POINT origin = {};
    ::ClientToScreen(m_driver->Hwnd(), &origin);
    RECT frame = {};
    ::GetWindowRect(m_driver->Hwnd(), &frame);
    ::SetWindowPos(m_driver->Hwnd(), nullptr, info.rcMonitor.left - (origin.x - frame.left), 100, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT zone = picker->ButtonZone();
    m_driver->Click(POINT{zone.left + 5, zone.top + 5});
    ASSERT_NE(nullptr, picker->GetPopup());
    RECT popup = {}, host = picker->GetWindowRect();
    ::GetWindowRect(picker->GetPopup()->Handle(), &popup);
    ::MapWindowPoints(m_driver->Hwnd(), nullptr, reinterpret_cast<POINT*>(&host), 2);
    EXPECT_EQ(Edges(RECT{info.rcMonitor.left, host.bottom, info.rcMonitor.left + 220, host.bottom + 176}), Edges(popup));
    picker->CloseUp();
}

} // namespace
} // namespace hosttest
