#include "layout/SInterpolatorImpl.h"
#include <math.h>
#include <stdio.h>

namespace SKEIN {

namespace {

const float kPi = 3.1415925f;

bool IsOne(float value)
{
    return fabs(value - 1.0f) < 1e-8;
}

// ((s + 1) x - s) x^2: the backward-then-forward part of the anticipating curves.
float Anticipate(float x, float s)
{
    return ((s + 1) * x - s) * x * x;
}

// (s + (s + 1) x) x^2: the overshooting part, for x = t - 1.
float Overshoot(float x, float s)
{
    return (s + (s + 1) * x) * x * x;
}

float Bounce(float y)
{
    return 8.0f * y * y;
}

} // namespace

bool SInterpolatorBase::ReadFloatAttribute(const SStringW& name, const wchar_t* attrName, const SStringW& value,
                                           float& param, HRESULT& result)
{
    if (name.CompareIgnoringCase(attrName) != 0)
        return false;
    swscanf(value.c_str(), L"%f", &param);
    result = S_FALSE;
    return true;
}

float SLinearInterpolator::Interpolate(float t) const
{
    return t;
}

float SAccelerateInterpolator::Interpolate(float t) const
{
    if (IsOne(m_factor))
        return t * t;
    return static_cast<float>(pow(static_cast<double>(t), 2.0 * m_factor));
}

HRESULT SAccelerateInterpolator::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    HRESULT result;
    if (ReadFloatAttribute(name, L"factor", value, m_factor, result))
        return result;
    return SInterpolatorBase::ApplyAttribute(name, value, loading);
}

float SDecelerateInterpolator::Interpolate(float t) const
{
    if (IsOne(m_factor))
        return 1.0f - (1.0f - t) * (1.0f - t);
    return static_cast<float>(1.0 - pow(1.0 - t, 2.0 * m_factor));
}

HRESULT SDecelerateInterpolator::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    HRESULT result;
    if (ReadFloatAttribute(name, L"factor", value, m_factor, result))
        return result;
    return SInterpolatorBase::ApplyAttribute(name, value, loading);
}

float SAccelerateDecelerateInterpolator::Interpolate(float t) const
{
    return static_cast<float>(cos((t + 1) * kPi) / 2.0 + 0.5);
}

float SAnticipateInterpolator::Interpolate(float t) const
{
    return Anticipate(t, m_tension);
}

HRESULT SAnticipateInterpolator::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    HRESULT result;
    if (ReadFloatAttribute(name, L"tension", value, m_tension, result))
        return result;
    return SInterpolatorBase::ApplyAttribute(name, value, loading);
}

float SAnticipateOvershootInterpolator::Interpolate(float t) const
{
    float s = m_tension * m_extraTension;
    if (t < 0.5f)
        return 0.5f * Anticipate(t * 2.0f, s);
    return 0.5f * (Overshoot(t * 2.0f - 2.0f, s) + 2.0f);
}

HRESULT SAnticipateOvershootInterpolator::ApplyAttribute(const SStringW& name, const SStringW& value,
                                                         BOOL loading)
{
    HRESULT result;
    if (ReadFloatAttribute(name, L"tension", value, m_tension, result) ||
        ReadFloatAttribute(name, L"extraTension", value, m_extraTension, result))
        return result;
    return SInterpolatorBase::ApplyAttribute(name, value, loading);
}

float SBounceInterpolator::Interpolate(float t) const
{
    float x = t * 1.1226f;
    if (x < 0.3535f)
        return Bounce(x);
    if (x < 0.7408f)
        return Bounce(x - 0.54719f) + 0.7f;
    if (x < 0.9644f)
        return Bounce(x - 0.8526f) + 0.9f;
    return Bounce(x - 1.0435f) + 0.95f;
}

float SCycleInterpolator::Interpolate(float t) const
{
    return static_cast<float>(sin(2 * m_cycles * kPi * t));
}

HRESULT SCycleInterpolator::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    HRESULT result;
    if (ReadFloatAttribute(name, L"cycles", value, m_cycles, result))
        return result;
    return SInterpolatorBase::ApplyAttribute(name, value, loading);
}

float SOvershootInterpolator::Interpolate(float t) const
{
    return Overshoot(t - 1.0f, m_tension) + 1.0f;
}

HRESULT SOvershootInterpolator::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    HRESULT result;
    if (ReadFloatAttribute(name, L"tension", value, m_tension, result))
        return result;
    return SInterpolatorBase::ApplyAttribute(name, value, loading);
}

} // namespace SKEIN
