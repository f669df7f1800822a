#pragma once
// A length as written in layouts and styles: a number with a unit (10, 12dp, 4px, 14sp), or one
// of the special values match parent, wrap content and unspecified. It becomes pixels only
// when a window's scale is known.
#include <windows.h>

namespace SKEIN {

// Two floats count as equal when they differ by less than 1e-8.
bool LayoutFloatEqual(float a, float b);

class SLayoutSize {
public:
    enum Unit { kPx = 0, kDp = 1, kDip = 2, kSp = 3 };

    static constexpr float kWrapContent = -1.0f;
    static constexpr float kMatchParent = -2.0f;
    static constexpr float kUnspecified = -3.0f;

    // Value 0 in the default unit current at construction.
    SLayoutSize();
    SLayoutSize(float value, int unit);
    // Value 0 in the default unit, then Parse(text).
    explicit SLayoutSize(const wchar_t* text);

    void Assign(float value, int unit);

    // These three keep the unit.
    void SetMatchParent() { value = kMatchParent; }
    void SetWrapContent() { value = kWrapContent; }
    void SetUnspecified() { value = kUnspecified; }
    bool IsMatchParent() const { return LayoutFloatEqual(value, kMatchParent); }
    bool IsWrapContent() const { return LayoutFloatEqual(value, kWrapContent); }
    bool HasValue() const { return !LayoutFloatEqual(value, kUnspecified); }
    // A concrete length.
    bool IsNonNegative() const { return value >= 0.0f; }
    bool IsZero() const { return LayoutFloatEqual(value, 0.0f); }

    // scale in percent (100 = none). Match parent gives -2, wrap content -1; px truncates; the
    // other units give floor(value * scale / 100 + 0.5). Results saturate at the int32 range.
    int ToPixels(int scale) const;

    // The unit from the last two characters (px, dp, sp in any case; else the default unit),
    // the value from the number the text starts with. An empty text changes nothing; the words
    // matchParent and wrapContent are the attribute handlers' business.
    void Parse(const wchar_t* text);

    // "px", "dp", "dip" or "sp" in any case; anything else selects px.
    static void SetDefaultUnit(const wchar_t* name);
    static int DefaultUnit();

    float value;
    int unit;
};

} // namespace SKEIN
