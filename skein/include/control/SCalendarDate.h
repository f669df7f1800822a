#pragma once
// Gregorian dates of the years 1600..6999: weeks start on Sunday (day of week 0).
#include <windows.h>

namespace SKEIN {

enum { kCalendarFirstYear = 1600, kCalendarLastYear = 6999 };

// False (leap untouched) outside 1600..6999.
bool IsLeapYear(WORD year, bool& leap);
// A year outside 1600..6999 counts as not leap.
bool IsValidDate(WORD year, WORD month, WORD day);
// 0-based day of the year; false for an invalid date or a year outside the range.
bool DayOfYear(WORD year, WORD month, WORD day, int& dayOfYear);
// 0 Sunday .. 6 Saturday; -1 when DayOfYear fails.
int DayOfWeek(WORD year, WORD month, WORD day);
// 0 for a month outside 1..12 or a year outside the range.
int DaysInMonth(WORD year, WORD month);

} // namespace SKEIN
