// Registration of the program's controls: order, no replacement of an earlier key, creation
// by tag and the class-name chain.
#include "skin/SSkinColorRect.h"
#include "widget_test_env.h"

using namespace widgettest;

namespace {

// Notes the tags in the order the registration offers them.
struct OrderRecorder {
    template <class T>
    BOOL AddWindowClass()
    {
        tags.push_back(T::StaticXmlClassName());
        return TRUE;
    }
    std::vector<std::wstring> tags;
};

// A foreign class that claims the tag "mybutton" (another case, the same key).
class DecoyButton : public SWindow {
    SKEIN_CLASS_NAME(SWindow, L"MyButton")
};

class WidgetRegisterTest : public ctrltest::CtrlTest {
protected:
    SRefPtr<SWindow> Create(const wchar_t* tag)
    {
        SRefPtr<SWindow> obj;
        obj.Attach(static_cast<SWindow*>(m_app->CreateWindowByName(tag)));
        return obj;
    }
};

} // namespace

TEST_F(WidgetRegisterTest, ClassesAreOfferedInTheProgramsOrder)
{
    OrderRecorder recorder;
    RegisterClassList(recorder, SAppControlClasses());
    std::vector<std::wstring> expected = {L"LampCtrl", L"PovCtrl",  L"AixsCtrl",   L"PovCtrlEx",
                                          L"mybutton", L"PovCtrlEx2", L"progressExV", L"shellnotifyicon"};
    EXPECT_EQ(expected, recorder.tags);
}

TEST_F(WidgetRegisterTest, AnEarlierRegistrationOfATagIsNeverReplaced)
{
    ASSERT_TRUE(m_app->AddWindowClass<DecoyButton>());
    RegisterAppControls(*m_app);
    SRefPtr<SWindow> button = Create(L"mybutton");
    ASSERT_TRUE(button);
    EXPECT_STREQ(L"MyButton", button->XmlClassName());

    // A second registration of a class yields FALSE and keeps the first factory working.
    EXPECT_FALSE(m_app->AddWindowClass<SLampCtrl>());
    SRefPtr<SWindow> lamp = Create(L"LampCtrl");
    ASSERT_TRUE(lamp);
    EXPECT_STREQ(L"LampCtrl", lamp->XmlClassName());
    // Only window classes are taken.
    EXPECT_FALSE(m_app->AddWindowClass<SSkinColorRect>());
}

TEST_F(WidgetRegisterTest, TagsCreateTheirClassesAndMatchTheirBasesExactly)
{
    RegisterAppControls(*m_app);
    struct Case {
        const wchar_t* lookup;
        const wchar_t* tag;
        const wchar_t* base;
    };
    const Case cases[] = {
        {L"lampctrl", L"LampCtrl", L"window"},        {L"POVCTRL", L"PovCtrl", L"window"},
        {L"AixsCtrl", L"AixsCtrl", L"window"},        {L"povctrlex", L"PovCtrlEx", L"window"},
        {L"MYBUTTON", L"mybutton", L"button"},        {L"povctrlex2", L"PovCtrlEx2", L"PovCtrlEx"},
        {L"progressexv", L"progressExV", L"progress"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.lookup);
        SRefPtr<SWindow> obj = Create(c.lookup);
        ASSERT_TRUE(obj);
        EXPECT_STREQ(c.tag, obj->XmlClassName());
        EXPECT_EQ(kKindWindow, obj->ObjectKind());
        EXPECT_TRUE(obj->MatchesClassName(c.tag));
        EXPECT_TRUE(obj->MatchesClassName(c.base));
        EXPECT_TRUE(obj->MatchesClassName(L"window"));
        std::wstring upper(c.tag);
        for (wchar_t& ch : upper)
            ch = static_cast<wchar_t>(towupper(ch));
        EXPECT_FALSE(obj->MatchesClassName(upper.c_str()));
    }
}

TEST_F(WidgetRegisterTest, TypedSearchForTheHatFindsTheSkinnedHat)
{
    RegisterAppControls(*m_app);
    BuildFromXml(L"<window><PovCtrlEx2 name='PovEx1' pos='0,0,@20,@20'/></window>");
    SPovCtrlEx* hat = m_root->FindChildByName2<SPovCtrlEx>(SStringW(L"PovEx1"));
    ASSERT_NE(nullptr, hat);
    EXPECT_STREQ(L"PovCtrlEx2", hat->XmlClassName());
    EXPECT_EQ(nullptr, m_root->FindChildByName2<SPovCtrlEx2>(SStringW(L"missing")));
}
