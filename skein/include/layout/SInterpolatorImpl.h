#pragma once
// The nine built-in curves. Each is created by its XML class name ("Linear", "Accelerate",
// ...) and takes its parameters as attributes or constructor arguments. Input t is used as
// given (no clamping); results are 32-bit floats.
#include "core/SObject.h"
#include "layout/SInterpolator-i.h"

namespace SKEIN {

class SInterpolatorBase : public TObjRefImpl<IInterpolator>, public SObjectImpl<IObject> {
    SKEIN_CLASS_NAME(SObjectImpl<IObject>, L"interpolator_base")
    SKEIN_CLASS_KIND(kKindInterpolator)

public:
    using SObjectImpl<IObject>::ApplyAttribute;

protected:
    // Reads a "%f" value into param when name matches attrName (ignoring case): 1 (S_FALSE).
    // Otherwise false, with result untouched.
    static bool ReadFloatAttribute(const SStringW& name, const wchar_t* attrName, const SStringW& value,
                                   float& param, HRESULT& result);
};

class SLinearInterpolator : public SInterpolatorBase {
    SKEIN_CLASS_NAME(SInterpolatorBase, L"Linear")

public:
    float Interpolate(float t) const override;
};

class SAccelerateInterpolator : public SInterpolatorBase {
    SKEIN_CLASS_NAME(SInterpolatorBase, L"Accelerate")

public:
    explicit SAccelerateInterpolator(float factor = 1.0f) : m_factor(factor) {}
    float Interpolate(float t) const override;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;

private:
    float m_factor;
};

class SDecelerateInterpolator : public SInterpolatorBase {
    SKEIN_CLASS_NAME(SInterpolatorBase, L"Decelerate")

public:
    explicit SDecelerateInterpolator(float factor = 1.0f) : m_factor(factor) {}
    float Interpolate(float t) const override;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;

private:
    float m_factor;
};

class SAccelerateDecelerateInterpolator : public SInterpolatorBase {
    SKEIN_CLASS_NAME(SInterpolatorBase, L"AccelerateDecelerate")

public:
    float Interpolate(float t) const override;
};

class SAnticipateInterpolator : public SInterpolatorBase {
    SKEIN_CLASS_NAME(SInterpolatorBase, L"Anticipate")

public:
    explicit SAnticipateInterpolator(float tension = 2.0f) : m_tension(tension) {}
    float Interpolate(float t) const override;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;

private:
    float m_tension;
};

class SAnticipateOvershootInterpolator : public SInterpolatorBase {
    SKEIN_CLASS_NAME(SInterpolatorBase, L"AnticipateOvershoot")

public:
    explicit SAnticipateOvershootInterpolator(float tension = 2.0f, float extraTension = 1.5f)
        : m_tension(tension), m_extraTension(extraTension)
    {
    }
    float Interpolate(float t) const override;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;

private:
    float m_tension;
    float m_extraTension;
};

class SBounceInterpolator : public SInterpolatorBase {
    SKEIN_CLASS_NAME(SInterpolatorBase, L"Bounce")

public:
    float Interpolate(float t) const override;
};

class SCycleInterpolator : public SInterpolatorBase {
    SKEIN_CLASS_NAME(SInterpolatorBase, L"Cycle")

public:
    explicit SCycleInterpolator(float cycles = 1.0f) : m_cycles(cycles) {}
    float Interpolate(float t) const override;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;

private:
    float m_cycles;
};

class SOvershootInterpolator : public SInterpolatorBase {
    SKEIN_CLASS_NAME(SInterpolatorBase, L"Overshoot")

public:
    explicit SOvershootInterpolator(float tension = 2.0f) : m_tension(tension) {}
    float Interpolate(float t) const override;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;

private:
    float m_tension;
};

} // namespace SKEIN
