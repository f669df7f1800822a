#include "layout/SLayoutSize.h"
#include <math.h>
#include <wchar.h>
#include <limits.h>

namespace SKEIN {

namespace {

const wchar_t* const kUnitNames[] = {L"px", L"dp", L"dip", L"sp"};

int g_defaultUnit = SLayoutSize::kPx;

// The unit whose name equals text ignoring case; -1 when none does.
int UnitByName(const wchar_t* text)
{
    for (int i = 0; i < 4; ++i) {
        if (_wcsicmp(text, kUnitNames[i]) == 0)
            return i;
    }
    return -1;
}

int SaturateToInt(float value)
{
    if (!(value > static_cast<float>(INT_MIN)))
        return value != value ? 0 : INT_MIN; // NaN gives 0
    if (value >= static_cast<float>(INT_MAX))
        return INT_MAX;
    return static_cast<int>(value);
}

} // namespace

bool LayoutFloatEqual(float a, float b)
{
    return fabsf(a - b) < 1e-8f;
}

SLayoutSize::SLayoutSize() : value(0.0f), unit(g_defaultUnit) {}

SLayoutSize::SLayoutSize(float value, int unit) : value(value), unit(unit) {}

SLayoutSize::SLayoutSize(const wchar_t* text) : value(0.0f), unit(g_defaultUnit)
{
    Parse(text);
}

void SLayoutSize::Assign(float newValue, int newUnit)
{
    value = newValue;
    unit = newUnit;
}

int SLayoutSize::ToPixels(int scale) const
{
    if (IsMatchParent())
        return -2;
    if (IsWrapContent())
        return -1;
    if (unit == kPx)
        return SaturateToInt(value);
    return SaturateToInt(floorf(value * static_cast<float>(scale) / 100.0f + 0.5f));
}

void SLayoutSize::Parse(const wchar_t* text)
{
    if (!text || !*text)
        return;
    size_t length = wcslen(text);
    int parsedUnit = length >= 2 ? UnitByName(text + length - 2) : -1;
    unit = parsedUnit >= 0 ? parsedUnit : g_defaultUnit;
    value = wcstof(text, nullptr);
}

void SLayoutSize::SetDefaultUnit(const wchar_t* name)
{
    int found = name ? UnitByName(name) : -1;
    g_defaultUnit = found >= 0 ? found : kPx;
}

int SLayoutSize::DefaultUnit()
{
    return g_defaultUnit;
}

} // namespace SKEIN
