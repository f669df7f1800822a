#include "control/SCalendarDate.h"

namespace SKEIN {

namespace {

// First day of each month (index 1..12) and the year's length (index 13).
const int kFirstDay[2][14] = {
    {0, 0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365},
    {0, 0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335, 366},
};

bool InRange(WORD year)
{
    return year >= kCalendarFirstYear && year <= kCalendarLastYear;
}

bool Leap(WORD year)
{
    bool leap = false;
    return IsLeapYear(year, leap) && leap;
}

} // namespace

bool IsLeapYear(WORD year, bool& leap)
{
    if (!InRange(year))
        return false;
    leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return true;
}

bool IsValidDate(WORD year, WORD month, WORD day)
{
    if (month < 1 || month > 12 || day < 1 || day > 31)
        return false;
    if (month == 4 || month == 6 || month == 9 || month == 11)
        return day <= 30;
    if (month == 2)
        return day <= (Leap(year) ? 29 : 28);
    return true;
}

bool DayOfYear(WORD year, WORD month, WORD day, int& dayOfYear)
{
    if (!InRange(year) || !IsValidDate(year, month, day))
        return false;
    dayOfYear = kFirstDay[Leap(year) ? 1 : 0][month] + day - 1;
    return true;
}

int DayOfWeek(WORD year, WORD month, WORD day)
{
    int n = 0;
    if (!DayOfYear(year, month, day, n))
        return -1;
    int y = year - 1;
    return (y + y / 4 - y / 100 + y / 400 + n + 1) % 7;
}

int DaysInMonth(WORD year, WORD month)
{
    // December included: outside the range no month has days.
    if (!InRange(year) || month < 1 || month > 12)
        return 0;
    return kFirstDay[Leap(year) ? 1 : 0][month + 1] - kFirstDay[Leap(year) ? 1 : 0][month];
}

} // namespace SKEIN
