#include <gtest/gtest.h>
#include "core/SObjectFactory.h"
#include "layout/SInterpolatorImpl.h"

using namespace SKEIN;

namespace {

// Creates curves by class name through a factory manager that knows all nine classes.
class InterpolatorFactoryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        mgr.AddFactory(TplSObjectFactory<SLinearInterpolator>(), FALSE);
        mgr.AddFactory(TplSObjectFactory<SAccelerateInterpolator>(), FALSE);
        mgr.AddFactory(TplSObjectFactory<SDecelerateInterpolator>(), FALSE);
        mgr.AddFactory(TplSObjectFactory<SAccelerateDecelerateInterpolator>(), FALSE);
        mgr.AddFactory(TplSObjectFactory<SAnticipateInterpolator>(), FALSE);
        mgr.AddFactory(TplSObjectFactory<SAnticipateOvershootInterpolator>(), FALSE);
        mgr.AddFactory(TplSObjectFactory<SBounceInterpolator>(), FALSE);
        mgr.AddFactory(TplSObjectFactory<SCycleInterpolator>(), FALSE);
        mgr.AddFactory(TplSObjectFactory<SOvershootInterpolator>(), FALSE);
    }

    // The curve of that class with one reference for the caller, or null.
    IObject* Create(const wchar_t* name) { return mgr.CreateObject(SObjectInfo(name, kKindInterpolator)); }

    SObjectFactoryMgr mgr;
};

struct Sample {
    const wchar_t* name;
    float t;
    float expected;
    float tolerance;
};

} // namespace

TEST_F(InterpolatorFactoryTest, EachCurveIsCreatedByNameWithItsDefaults)
{
    const Sample samples[] = {
        {L"Linear", 0.3f, 0.3f, 0},
        {L"Accelerate", 0.5f, 0.25f, 0},
        {L"Decelerate", 0.5f, 0.75f, 0},
        {L"AccelerateDecelerate", 0.5f, 0.5f, 1e-6f},
        {L"Anticipate", 0.25f, -0.078125f, 0},
        {L"AnticipateOvershoot", 0.25f, -0.125f, 1e-6f},
        {L"AnticipateOvershoot", 0.75f, 1.125f, 1e-6f},
        {L"Bounce", 0.2f, 0.40330f, 1e-4f},
        {L"Cycle", 0.25f, 1.0f, 1e-6f},
        {L"Overshoot", 0.8f, 1.056f, 1e-6f},
        {L"overshoot", 0.8f, 1.056f, 1e-6f}, // class names are not case-sensitive
    };
    for (const Sample& s : samples) {
        IObject* obj = Create(s.name);
        ASSERT_NE(obj, nullptr) << s.name;
        EXPECT_EQ(obj->ObjectKind(), kKindInterpolator);
        EXPECT_TRUE(obj->MatchesClassName(L"interpolator_base"));
        IInterpolator* curve = dynamic_cast<IInterpolator*>(obj);
        ASSERT_NE(curve, nullptr) << s.name;
        EXPECT_NEAR(curve->Interpolate(s.t), s.expected, s.tolerance) << s.name << " at " << s.t;
        curve->Release();
    }
}

TEST(Interpolator, EndpointsAreZeroAndOne)
{
    SLinearInterpolator linear;
    SAccelerateInterpolator accelerate(1.7f);
    SDecelerateInterpolator decelerate(0.6f);
    SAccelerateDecelerateInterpolator accelerateDecelerate;
    SAnticipateInterpolator anticipate;
    SOvershootInterpolator overshoot;
    SAnticipateOvershootInterpolator anticipateOvershoot;
    SBounceInterpolator bounce;
    const IInterpolator* curves[] = {&linear,    &accelerate, &decelerate,          &accelerateDecelerate,
                                     &anticipate, &overshoot, &anticipateOvershoot, &bounce};
    for (const IInterpolator* curve : curves) {
        EXPECT_NEAR(curve->Interpolate(0.0f), 0.0f, 1e-6f);
        EXPECT_NEAR(curve->Interpolate(1.0f), 1.0f, 1e-4f); // Bounce's last arc ends at 1.00005
    }
}

TEST(Interpolator, InputIsNotClamped)
{
    EXPECT_FLOAT_EQ(SLinearInterpolator().Interpolate(1.5f), 1.5f);
    EXPECT_FLOAT_EQ(SAccelerateInterpolator().Interpolate(-2.0f), 4.0f);
}

TEST(Interpolator, CycleReturnsToZero)
{
    SCycleInterpolator cycle;
    EXPECT_NEAR(cycle.Interpolate(0.5f), 0.0f, 1e-6f);
    EXPECT_NEAR(cycle.Interpolate(1.0f), 0.0f, 1e-6f);
    SCycleInterpolator twice(2.0f);
    EXPECT_NEAR(twice.Interpolate(0.125f), 1.0f, 1e-6f);
}

TEST_F(InterpolatorFactoryTest, ParametersComeFromAttributes)
{
    IObject* obj = Create(L"Accelerate");
    ASSERT_NE(obj, nullptr);
    EXPECT_EQ(obj->ApplyAttribute(SStringW(L"FACTOR"), SStringW(L"1.5"), TRUE), S_FALSE);
    EXPECT_EQ(obj->ApplyAttribute(SStringW(L"tension"), SStringW(L"3"), TRUE), E_FAIL);
    IInterpolator* curve = dynamic_cast<IInterpolator*>(obj);
    EXPECT_FLOAT_EQ(curve->Interpolate(0.5f), 0.125f); // t^3
    curve->Release();

    pugi::xml_document doc;
    doc.load_string(L"<AnticipateOvershoot tension='1' extraTension='1'/><Cycle cycles='0.5'/>");
    obj = Create(L"AnticipateOvershoot");
    obj->ApplyXmlAttributes(doc.first_child());
    curve = dynamic_cast<IInterpolator*>(obj);
    EXPECT_NEAR(curve->Interpolate(0.1f), -0.012f, 1e-6f); // 0.5 * a(0.2) with s = 1
    curve->Release();

    obj = Create(L"Cycle");
    obj->ApplyXmlAttributes(doc.child(L"Cycle"));
    curve = dynamic_cast<IInterpolator*>(obj);
    EXPECT_NEAR(curve->Interpolate(0.5f), 1.0f, 1e-6f);
    curve->Release();

    EXPECT_FLOAT_EQ(SOvershootInterpolator(0.0f).Interpolate(0.5f), 0.875f); // 1 - 0.5^3
    EXPECT_FLOAT_EQ(SDecelerateInterpolator(1.5f).Interpolate(0.5f), 0.875f);
}
