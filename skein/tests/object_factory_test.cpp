#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "core/SObjectFactory.h"
#include "helper/SLog.h"

using namespace SKEIN;

namespace {

// Records the attributes it is given; takes "known", leaves the rest to the default.
class TestWindow : public SObjectImpl<IObject> {
    SKEIN_CLASS_NAME(SObjectImpl<IObject>, L"window")
    SKEIN_CLASS_KIND(kKindWindow)

public:
    using SObjectImpl<IObject>::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override
    {
        applied.push_back(std::wstring(name.c_str()) + L"=" + value.c_str());
        if (name == L"known")
            return S_OK;
        return SObjectImpl<IObject>::ApplyAttribute(name, value, loading);
    }
    void OnXmlInitDone(pugi::xml_node) override { ++initDone; }

    std::vector<std::wstring> applied;
    int initDone = 0;
};

class TestButton : public TestWindow {
    SKEIN_CLASS_NAME(TestWindow, L"button")
};

class TestImageButton : public TestButton {
    SKEIN_CLASS_NAME(TestButton, L"imgbtn")
};

class TestSpinButton : public TestWindow {
    SKEIN_CLASS_NAME(TestWindow, L"spinButton")
};

class OtherButton : public TestWindow {
    SKEIN_CLASS_NAME(TestWindow, L"button")
};

class TestSkinButton : public SObjectImpl<IObject> {
    SKEIN_CLASS_NAME(SObjectImpl<IObject>, L"button")
    SKEIN_CLASS_KIND(kKindSkin)
};

// Counts its live instances; its base name is configurable.
class CountingFactory : public SObjectFactory {
public:
    CountingFactory(const wchar_t* name, const wchar_t* base) : m_name(name), m_base(base) { ++live; }
    ~CountingFactory() override { --live; }
    IObject* NewObject() const override { return new TestWindow; }
    const wchar_t* BaseClassName() const override { return m_base; }
    SObjectInfo GetObjectInfo() const override { return SObjectInfo(m_name, kKindWindow); }
    SObjectFactory* Clone() const override { return new CountingFactory(m_name, m_base); }
    static int live;

private:
    const wchar_t* m_name;
    const wchar_t* m_base;
};
int CountingFactory::live = 0;

// Stands in for the UI definition's default-attribute table.
class DefaultsFactoryMgr : public SObjectFactoryMgr {
public:
    pugi::xml_document defaults;

protected:
    pugi::xml_node ClassDefaultElement(const wchar_t* xmlClassName) override
    {
        return defaults.child(L"objattr").child(xmlClassName);
    }
};

struct Warnings : TObjRefImpl<ILogManager> {
    BOOL Accepts(int, int) override { return TRUE; }
    void Write(int, int level, const char*, const char* text, const char*, int, const char* function, void*) override
    {
        lines.push_back(std::to_string(level) + " " + function + " " + text);
    }
    std::vector<std::string> lines;
};
Warnings* g_warnings = nullptr;
ILogManager* CurrentWarnings() { return g_warnings; }

template <class T>
T* Create(SObjectFactoryMgr& mgr, const wchar_t* name, int kind)
{
    return dynamic_cast<T*>(mgr.CreateObject(SObjectInfo(name, kind)));
}

} // namespace

TEST(ObjectInfo, KeyLowerCasesAsciiOnlyAndHashesWithTheKind)
{
    SObjectInfo key(L"SpinBUTTON", kKindWindow);
    EXPECT_STREQ(key.Name().c_str(), L"spinbutton");
    EXPECT_STREQ(SObjectInfo(L"\u00c4Ab", 2).Name().c_str(), L"\u00c4ab");
    EXPECT_EQ(SObjectInfo(L"ab", 1).Hash(), 3299u * 32 + 1);
    EXPECT_TRUE(SObjectInfo(L"Ab", 1) == SObjectInfo(L"ab", 1));
    EXPECT_FALSE(SObjectInfo(L"ab", 1) == SObjectInfo(L"ab", 2));
    EXPECT_EQ(SObjectInfo().Kind(), kKindNone);
    EXPECT_TRUE(SObjectInfo().Name().IsEmptyText());
}

TEST(ObjectImpl, Defaults)
{
    TestButton button;
    EXPECT_EQ(button.ApplyAttribute(L"unknown", L"1", TRUE), E_FAIL);
    EXPECT_EQ(button.ApplyAttribute("known", "caf\xe9", FALSE), S_OK); // narrow texts take the ANSI code page
    EXPECT_EQ(button.applied.back(), L"known=caf\u00e9");
    EXPECT_EQ(button.ApplyAttribute(SStringA("known"), SStringA("x"), FALSE), S_OK);
    EXPECT_EQ(button.AfterAttribute(L"known", L"x", FALSE, S_FALSE), S_FALSE);
    EXPECT_EQ(button.GetId(), 0);
    EXPECT_EQ(button.GetName(), nullptr);
    EXPECT_TRUE(button.GetAttributeText(L"known").IsEmptyText());
    EXPECT_EQ(button.ObjectKind(), kKindWindow);
    EXPECT_STREQ(button.XmlClassName(), L"button");

    TestImageButton image;
    EXPECT_TRUE(image.MatchesClassName(L"imgbtn"));
    EXPECT_TRUE(image.MatchesClassName(L"button"));
    EXPECT_TRUE(image.MatchesClassName(L"window"));
    EXPECT_FALSE(image.MatchesClassName(L"check"));
    EXPECT_FALSE(image.MatchesClassName(nullptr));
}

TEST(ObjectImpl, XmlAttributesSkipConsumedOnes)
{
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(L"<button a='1' b='2' c='3'/>"));
    pugi::xml_node element = doc.child(L"button");
    TestButton button;
    SXmlFlags::SetConsumed(element.attribute(L"b"), true);
    EXPECT_TRUE(button.ApplyXmlAttributes(element));
    SXmlFlags::SetConsumed(element.attribute(L"b"), false);
    EXPECT_EQ(button.applied, (std::vector<std::wstring>{L"a=1", L"c=3"}));
    EXPECT_EQ(button.initDone, 1);

    EXPECT_FALSE(button.ApplyXmlAttributes(pugi::xml_node()));
    EXPECT_EQ(button.initDone, 1);
}

TEST(XmlFlags, ConsumedAndSkipAreClearAfterParsingAndIndependent)
{
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(L"<root><a x='1' y='2'/><b/></root>"));
    pugi::xml_node a = doc.child(L"root").child(L"a");
    pugi::xml_node b = doc.child(L"root").child(L"b");
    EXPECT_FALSE(SXmlFlags::IsConsumed(a.attribute(L"x")));
    EXPECT_FALSE(SXmlFlags::IsSkipped(a));

    SXmlFlags::SetConsumed(a.attribute(L"x"), true);
    SXmlFlags::SetSkipped(b, true);
    EXPECT_TRUE(SXmlFlags::IsConsumed(a.attribute(L"x")));
    EXPECT_FALSE(SXmlFlags::IsConsumed(a.attribute(L"y")));
    EXPECT_TRUE(SXmlFlags::IsSkipped(b));
    EXPECT_FALSE(SXmlFlags::IsSkipped(a));
    EXPECT_FALSE(SXmlFlags::IsConsumed(pugi::xml_attribute()));

    SXmlFlags::SetConsumed(a.attribute(L"x"), false);
    SXmlFlags::SetSkipped(b, false);
    EXPECT_FALSE(SXmlFlags::IsConsumed(a.attribute(L"x")));
    EXPECT_FALSE(SXmlFlags::IsSkipped(b));
}

TEST(FactoryMgr, FirstRegistrationWinsUnlessReplaced)
{
    SObjectFactoryMgr mgr;
    EXPECT_TRUE(mgr.AddFactory(TplSObjectFactory<TestButton>(), FALSE));
    EXPECT_FALSE(mgr.AddFactory(TplSObjectFactory<OtherButton>(), FALSE));
    IObject* first = mgr.CreateObject(SObjectInfo(L"button", kKindWindow));
    EXPECT_NE(dynamic_cast<TestButton*>(first), nullptr);
    delete first;

    EXPECT_TRUE(mgr.AddFactory(TplSObjectFactory<OtherButton>(), TRUE));
    IObject* second = mgr.CreateObject(SObjectInfo(L"button", kKindWindow));
    EXPECT_NE(dynamic_cast<OtherButton*>(second), nullptr);
    delete second;
    EXPECT_EQ(mgr.Count(), 1);
}

TEST(FactoryMgr, KindsAreSeparateAndNamesAreStoredLowerCased)
{
    SObjectFactoryMgr mgr;
    EXPECT_TRUE(mgr.AddFactory(TplSObjectFactory<TestButton>(), FALSE));
    EXPECT_TRUE(mgr.AddFactory(TplSObjectFactory<TestSkinButton>(), FALSE));
    EXPECT_TRUE(mgr.AddFactory(TplSObjectFactory<TestSpinButton>(), FALSE));

    IObject* window = mgr.CreateObject(SObjectInfo(L"button", kKindWindow));
    IObject* skin = mgr.CreateObject(SObjectInfo(L"button", kKindSkin));
    TestSpinButton* spin = Create<TestSpinButton>(mgr, L"SPINBUTTON", kKindWindow);
    EXPECT_NE(dynamic_cast<TestButton*>(window), nullptr);
    EXPECT_NE(dynamic_cast<TestSkinButton*>(skin), nullptr);
    EXPECT_NE(spin, nullptr);
    delete window;
    delete skin;
    delete spin;
}

TEST(FactoryMgr, UnknownKeyLogsTheWarningAndYieldsNull)
{
    Warnings warnings;
    g_warnings = &warnings;
    SetLogManagerSource(&CurrentWarnings);
    SObjectFactoryMgr mgr;
    EXPECT_EQ(mgr.CreateObject(SObjectInfo(L"combobase", kKindWindow)), nullptr);
    SetLogManagerSource(nullptr);
    g_warnings = nullptr;
    ASSERT_EQ(warnings.lines.size(), 1u);
    EXPECT_EQ(warnings.lines[0],
              "3 SKEIN::SObjectFactoryMgr::CreateObject Warning: no object combobase of type:1 in SKEIN!!");
}

TEST(FactoryMgr, BaseClassChain)
{
    SObjectFactoryMgr mgr;
    mgr.AddFactory(TplSObjectFactory<TestWindow>(), FALSE);
    mgr.AddFactory(TplSObjectFactory<TestButton>(), FALSE);
    mgr.AddFactory(TplSObjectFactory<TestImageButton>(), FALSE);

    std::vector<std::wstring> chain;
    for (SObjectInfo key(L"imgbtn", kKindWindow); key.Kind() != kKindNone; key = mgr.BaseClassInfo(key))
        chain.push_back(key.Name().c_str());
    EXPECT_EQ(chain, (std::vector<std::wstring>{L"imgbtn", L"button", L"window", L"object"}));
    EXPECT_EQ(mgr.BaseClassInfo(SObjectInfo(L"imgbtn", kKindWindow)).Kind(), kKindWindow);
    EXPECT_EQ(mgr.BaseClassInfo(SObjectInfo(L"imgbtn", kKindSkin)).Kind(), kKindNone);

    // A class naming itself as its base ends the chain, whatever the letter case.
    mgr.AddFactory(CountingFactory(L"loop", L"loop"), FALSE);
    mgr.AddFactory(CountingFactory(L"Spin", L"Spin"), FALSE);
    EXPECT_EQ(mgr.BaseClassInfo(SObjectInfo(L"loop", kKindWindow)).Kind(), kKindNone);
    EXPECT_EQ(mgr.BaseClassInfo(SObjectInfo(L"spin", kKindWindow)).Kind(), kKindNone);
}

TEST(FactoryMgr, OwnsAndDeletesItsFactoryClones)
{
    ASSERT_EQ(CountingFactory::live, 0);
    {
        SObjectFactoryMgr mgr;
        CountingFactory a(L"a", L"window");
        EXPECT_TRUE(mgr.AddFactory(a, FALSE));
        EXPECT_TRUE(mgr.AddFactory(CountingFactory(L"b", L"window"), FALSE));
        EXPECT_EQ(CountingFactory::live, 3); // a and the two clones
        EXPECT_TRUE(mgr.AddFactory(a, TRUE));
        EXPECT_EQ(CountingFactory::live, 3); // the replaced clone is gone
        EXPECT_TRUE(mgr.RemoveFactory(SObjectInfo(L"b", kKindWindow)));
        EXPECT_FALSE(mgr.RemoveFactory(SObjectInfo(L"b", kKindWindow)));
        EXPECT_EQ(CountingFactory::live, 2);
    }
    EXPECT_EQ(CountingFactory::live, 0);
}

TEST(FactoryMgr, ClassDefaultsApplyClassFirstAndOnce)
{
    DefaultsFactoryMgr mgr;
    ASSERT_TRUE(mgr.defaults.load_string(L"<objattr><button color='red' CLASS='big' known='1'/>"
                                         L"<window known='w'/></objattr>"));
    mgr.AddFactory(TplSObjectFactory<TestButton>(), FALSE);
    mgr.AddFactory(TplSObjectFactory<TestImageButton>(), FALSE);
    mgr.AddFactory(TplSObjectFactory<TestSkinButton>(), FALSE);

    TestButton* button = Create<TestButton>(mgr, L"button", kKindWindow);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->applied, (std::vector<std::wstring>{L"CLASS=big", L"color=red", L"known=1"}));
    pugi::xml_attribute classAttribute = mgr.defaults.child(L"objattr").child(L"button").attribute(L"CLASS");
    EXPECT_FALSE(SXmlFlags::IsConsumed(classAttribute));

    pugi::xml_document layout;
    ASSERT_TRUE(layout.load_string(L"<button color='blue'/>"));
    button->ApplyXmlAttributes(layout.child(L"button")); // the element's own values come after
    EXPECT_EQ(button->applied.back(), L"color=blue");
    delete button;

    TestImageButton* image = Create<TestImageButton>(mgr, L"imgbtn", kKindWindow); // no default element
    ASSERT_NE(image, nullptr);
    EXPECT_TRUE(image->applied.empty());
    delete image;

    IObject* skin = mgr.CreateObject(SObjectInfo(L"button", kKindSkin)); // not a window
    ASSERT_NE(skin, nullptr);
    delete skin;
}
