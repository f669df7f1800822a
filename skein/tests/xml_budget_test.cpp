// Hostile layouts: whatever a layout multiplies (includes, templates, template data, styles,
// class defaults, costly controls), creation from XML stays within its work budget and the
// bounds of template text, logs the refusal and creates what it admitted.
#include "window_test_env.h"

using namespace wndtest;

namespace {

std::wstring Repeat(const std::wstring& text, int count)
{
    std::wstring all;
    for (int i = 0; i < count; ++i)
        all += text;
    return all;
}

std::string Repeat(const std::string& text, int count)
{
    std::string all;
    for (int i = 0; i < count; ++i)
        all += text;
    return all;
}

// " p0='' p1='' ..."
std::string Attributes(const char* prefix, int count)
{
    std::string all;
    for (int i = 0; i < count; ++i)
        all += " " + std::string(prefix) + std::to_string(i) + "=''";
    return all;
}

int CountNamed(SWindow* window, const wchar_t* name)
{
    int count = wcscmp(window->GetName(), name) == 0 ? 1 : 0;
    for (SWindow* child = window->GetRelative(kRelFirstChild); child; child = child->GetRelative(kRelNextSibling))
        count += CountNamed(child, name);
    return count;
}

} // namespace

class XmlBudgetTest : public WindowTest {
protected:
    void TearDown() override
    {
        SetXmlWorkBudget(0);
        WindowTest::TearDown();
    }

    // A new child of the root built from the element: a creation of its own, not laid out.
    SWindow* Create(const std::wstring& xml)
    {
        pugi::xml_document document;
        EXPECT_TRUE(document.load_string(xml.c_str()));
        SWindow* holder = new SWindow;
        m_root->LinkChild(holder);
        holder->LoadFromXml(document.first_child());
        return holder;
    }
};

// Each shape multiplies work without bound; the creation stops once the budget is spent, and
// template uses end once they have made the text of a creation.
TEST_F(XmlBudgetTest, FanOutStopsWithinTheBudgetAndBounds)
{
    std::string uidef = "<uidef><template>";
    for (int i = 0; i < 31; ++i) {
        std::string next = "<t:f" + std::to_string(i + 1) + "/>";
        uidef += "<f" + std::to_string(i) + "><window>" + next + next + "</window></f" + std::to_string(i) + ">";
    }
    uidef += "<f31><window/></f31></template><style><class name='wide'" + Attributes("s", 1000) +
             "/></style><objattr><check" + Attributes("d", 1000) + "/></objattr></uidef>";
    skein_test::MemProvider* provider = AddResources(uidef);
    for (int i = 0; i < 20; ++i) {
        std::string next = "<include src='fan" + std::to_string(i + 1) + "'/>";
        provider->Put(L"layout", L"fan" + std::to_wstring(i), "<include><window/>" + next + next + "</include>");
    }
    provider->Put(L"layout", L"fan20", "<include/>");
    provider->Put(L"layout", L"one", "<include><window/></include>");
    provider->Put(L"layout", L"block", "<include>" + Repeat("<window/>", 1999) + "</include>");
    const int kElement = kXmlWorkPerElement, kAttribute = kXmlWorkPerAttribute;
    const char* const kBudgetSpent = "work budget of 1000000 spent";
    const struct {
        const char* shape;
        std::wstring children;
        int each;            // the least work that each window brings
        const char* refusal; // logged
        bool stops;          // nothing after it is created
    } kCases[] = {
        {"distinct layouts each including the next twice", L"<include src='fan0'/>", 3 * kElement + 2 * kAttribute,
         kBudgetSpent, true},
        {"one layout included 100,000 times", Repeat(L"<include src='one'/>", 100000), 2 * kElement + kAttribute,
         kBudgetSpent, true},
        {"31 templates each using the next twice", L"<t:f0/>", kElement,
         "templates would make more than 1048576 characters in all", false},
        {"a layout of 1,999 windows included 101 times", Repeat(L"<include src='block'/>", 101), kElement,
         kBudgetSpent, true},
        {"200,000 siblings", Repeat(L"<window/>", 200000), kElement, kBudgetSpent, true},
        {"200,001 siblings placed and sized", Repeat(L"<window pos='0,0,@2,@2'/>", 200001),
         kElement + kAttribute, kBudgetSpent, true},
        {"a million elements, every other of no known class", Repeat(L"<nosuchclass/><window/>", 500000),
         2 * kElement + kXmlWorkPerUnknownElement, kBudgetSpent, true},
        {"a tab control of 200,000 pages", L"<tabctrl>" + Repeat(L"<page/>", 200000) + L"</tabctrl>", kElement,
         kBudgetSpent, true},
        {"a split window of 200,000 panes", L"<splitrow>" + Repeat(L"<pane/>", 200000) + L"</splitrow>", kElement,
         kBudgetSpent, true},
        {"a style of 1,000 attributes on every window", Repeat(L"<window class='wide'/>", 1000),
         kElement + 1001 * kAttribute, kBudgetSpent, true},
        {"class defaults of 1,000 attributes", Repeat(L"<check/>", 1000), kElement + 1000 * kAttribute, kBudgetSpent,
         true},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.shape);
        m_log->lines.clear();
        SWindow* holder = Create(L"<window>" + c.children + L"<window name='after'/></window>");
        int windows = CountWindows(holder) - 1 - CountNamed(holder, L"after");
        EXPECT_LE(windows, kXmlWorkBudget / c.each + 1); // the last admitted counts its style after
        if (c.stops) {
            EXPECT_GE(windows, kXmlWorkBudget / c.each * 9 / 10);
        }
        EXPECT_EQ(c.stops ? 0 : 1, CountNamed(holder, L"after"));
        EXPECT_TRUE(LogHas(c.refusal));
        m_root->DestroyChild(holder);
    }
}

// A large legitimate layout fits the default budget whole, with a third of it to spare.
TEST_F(XmlBudgetTest, TwentyThousandPlainWindowsAreCreatedWhole)
{
    const int kWindows = 20000;
    SetXmlWorkBudget(kXmlWorkBudget * 2 / 3);
    SWindow* holder = Create(L"<window>" + Repeat(L"<window size='10,2' colorBkgnd='#102030'/>", kWindows) +
                             L"<window name='after'/></window>");
    EXPECT_EQ(kWindows + 1, CountWindows(holder) - 1);
    EXPECT_EQ(1, CountNamed(holder, L"after"));
    EXPECT_FALSE(LogHas("SXmlCreation"));
}

// Each included resource is read and parsed once per creation, and its size counts: with a
// budget of nine layouts of 800 KB and a little more, ten distinct ones spend it at the tenth.
TEST_F(XmlBudgetTest, IncludedResourcesAreReadOncePerCreationAndTheirSizeCounts)
{
    skein_test::MemProvider* provider = AddResources("");
    provider->Put(L"layout", L"cell", "<include><window name='cell'/></include>");
    for (int round = 1; round <= 2; ++round) {
        SWindow* holder = Create(L"<window>" + Repeat(L"<include src='cell'/>", 50) + L"</window>");
        EXPECT_EQ(50, CountNamed(holder, L"cell"));
        EXPECT_EQ(round, provider->Reads(L"layout", L"cell"));
    }

    const int kPadding = 800000;
    SetXmlWorkBudget(9LL * kPadding * kXmlIncludedCharWeight / kXmlCharsPerWork + 1000);
    std::wstring includes;
    for (int i = 0; i < 10; ++i) {
        std::wstring name = L"padded" + std::to_wstring(i);
        provider->Put(L"layout", name, "<include><!--" + std::string(kPadding, 'p') + "--><window name='padded'/></include>");
        includes += L"<include src='" + name + L"'/>";
    }
    SWindow* holder = Create(L"<window>" + includes + L"<window name='after'/></window>");
    EXPECT_EQ(9, CountNamed(holder, L"padded"));
    EXPECT_EQ(0, provider->Reads(L"layout", L"padded9"));
    EXPECT_EQ(0, CountNamed(holder, L"after"));
    EXPECT_TRUE(LogHas("characters): creation stopped at [layout:padded9]"));
    SetXmlWorkBudget(0);
}

// Substitution that would produce too much text, in one use or in all the uses of a creation,
// is refused; the rest of the layout is created.
TEST_F(XmlBudgetTest, TemplateTextBeyondItsBoundsIsNotCreated)
{
    AddResources("<uidef><template><dbl><window name='doubled' text='{{a0}}'/></dbl>"
                 "<big><window name='big' text='{{v}}'/></big></template></uidef>");
    std::wstring doubling = L"<data";
    for (int i = 0; i < 30; ++i)
        doubling += L" a" + std::to_wstring(i) + L"='{{a" + std::to_wstring(i + 1) + L"}}{{a" + std::to_wstring(i + 1) + L"}}'";
    doubling += L" a30='x'/>";
    SWindow* holder = Create(L"<window><t:dbl><data a0='ok'/></t:dbl><t:dbl>" + doubling +
                             L"</t:dbl><window name='after'/></window>");
    ASSERT_EQ(1, CountNamed(holder, L"doubled"));
    EXPECT_STREQ(L"ok", holder->LookupChildByName(SStringW(L"doubled"), 1)->QueryText(false).c_str());
    EXPECT_EQ(1, CountNamed(holder, L"after"));
    EXPECT_TRUE(LogHas("template [dbl] would make more than 262144 characters: not created"));

    const int kValue = 60000;
    std::wstring use = L"<t:big><data v='" + std::wstring(kValue, L'v') + L"'/></t:big>";
    holder = Create(L"<window>" + Repeat(use, 20) + L"<window name='after'/></window>");
    EXPECT_EQ(kMaxXmlTemplateTextTotal / kValue, CountNamed(holder, L"big"));
    EXPECT_EQ(1, CountNamed(holder, L"after"));
    EXPECT_TRUE(LogHas("templates would make more than 1048576 characters in all: [big] not created"));
}

// A use is charged the text it makes, once: 400 uses of a 2 KB template with 10 fields make
// 800 KB in all, within the bound of a creation.
TEST_F(XmlBudgetTest, TemplateUsesAreChargedTheTextTheyMake)
{
    std::string fields;
    for (int i = 0; i < 10; ++i)
        fields += "{{f" + std::to_string(i) + "}}";
    AddResources("<uidef><template><row><window name='row' text='" + fields + std::string(2000, 'x') +
                 "'/></row></template></uidef>");
    std::wstring data = L"<data";
    for (int i = 0; i < 10; ++i)
        data += L" f" + std::to_wstring(i) + L"='" + std::to_wstring(i) + L"'";
    data += L"/>";
    const int kUses = 400;
    SWindow* holder = Create(L"<window>" + Repeat(L"<t:row>" + data + L"</t:row>", kUses) + L"</window>");
    EXPECT_EQ(kUses, CountNamed(holder, L"row"));
    EXPECT_EQ(L"0123456789" + std::wstring(2000, L'x'),
              std::wstring(holder->LookupChildByName(SStringW(L"row"), 1)->QueryText(false).c_str()));
    EXPECT_FALSE(LogHas("SXmlCreation"));
}

// What each kind of work costs, seen through a small budget: siblings are created while the
// work before them leaves room for one more element.
TEST_F(XmlBudgetTest, EachKindOfWorkCountsAgainstTheBudget)
{
    AddResources("<uidef><style><class name='wide'" + Attributes("s", 20) + "/></style><objattr><check" +
                 Attributes("d", 20) + "/></objattr></uidef>");
    const long long kBudget = 5000;
    const int kElement = kXmlWorkPerElement;
    const int kAttribute = kXmlWorkPerAttribute;
    const std::wstring kLong(20 * kXmlCharsPerWork, L't');
    const int kApplied = 20 * kXmlAppliedCharWeight;
    const struct {
        std::wstring element;
        int admission; // work counted when the element is admitted
        int each;      // all the work of one
    } kCases[] = {
        {L"<window/>", kElement, kElement},
        {L"<window a='' b='' c='' d=''/>", kElement + 4 * kAttribute, kElement + 4 * kAttribute},
        {L"<window class='wide'/>", kElement + kAttribute, kElement + 21 * kAttribute},
        {L"<check/>", kElement, kElement + 20 * kAttribute},
        {L"<window text='" + kLong + L"'/>", kElement + kAttribute + kApplied, kElement + kAttribute + kApplied},
        {L"<window>" + kLong + L"</window>", kElement + kApplied, kElement + kApplied},
        {L"<nosuchclass/><window/>", 2 * kElement + kXmlWorkPerUnknownElement, 2 * kElement + kXmlWorkPerUnknownElement},
        {L"<richedit/>", kElement, kElement + kXmlWorkPerRichEdit},
        {L"<hotkey/>", kElement, kElement + kXmlWorkPerHotKey},
    };
    SetXmlWorkBudget(kBudget);
    for (const auto& c : kCases) {
        SCOPED_TRACE(testing::PrintToString(c.element.substr(0, 30)));
        SWindow* holder = Create(L"<window>" + Repeat(c.element, 800) + L"</window>");
        EXPECT_EQ((kBudget - c.admission) / c.each + 1, CountWindows(holder) - 1);
        m_root->DestroyChild(holder);
    }
    SetXmlWorkBudget(0);
    EXPECT_EQ(100, CountWindows(Create(L"<window>" + Repeat(L"<richedit/>", 100) + L"</window>")) - 1);
}
