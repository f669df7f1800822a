// The tab control in a real host, driven by clicks and keys through the message loop: a page
// destroyed through the window interface leaves the control, and only the selected page shows
// whatever the pages' XML says.
#include "control/STabCtrl.h"
#include "host_ctrl_test_env.h"

namespace hosttest {
namespace {

const UINT32 kRed = Px(RGB(255, 0, 0));
const UINT32 kGreen = Px(RGB(0, 255, 0));
const UINT32 kBlue = Px(RGB(0, 0, 255));

// Three coloured pages under a strip of 60 x 20 headers; extra goes on the second page.
std::string TabLayout(const std::string& secondPage = "")
{
    return "<SKEIN width='200' height='120'><root colorBkgnd='#ffffff'>"
           "<tabctrl name='tab' pos='0,0,@200,@120' tabSize='60,20'>"
           "<page name='p0' title='A' colorBkgnd='#ff0000'/>"
           "<page name='p1' title='B' colorBkgnd='#00ff00' "
           + secondPage
           + "/>"
             "<page name='p2' title='C' colorBkgnd='#0000ff'/>"
             "</tabctrl></root></SKEIN>";
}

class HostTabTest : public HostCtrlTest {
protected:
    STabCtrl* OpenTabs(const std::string& secondPage = "")
    {
        m_driver.reset(new HostDriver(Open(TabLayout(secondPage))));
        return m_driver->Find<STabCtrl>(L"tab");
    }
    // A click on the header of a page, which also gives the control the focus.
    void ClickHeader(STabCtrl* tabs, int index)
    {
        RECT header = {};
        ASSERT_TRUE(tabs->GetItemRect(index, &header));
        m_driver->Click(POINT{(header.left + header.right) / 2, (header.top + header.bottom) / 2});
    }
    // A key pressed and released, queued and taken through the message loop.
    void Key(UINT vk)
    {
        m_driver->Post(WM_KEYDOWN, vk, 1);
        m_driver->Post(WM_KEYUP, vk, 0xC0000001);
        m_driver->Pump();
    }
    // The name of the selected page, "" when none.
    static std::wstring Selected(STabCtrl* tabs)
    {
        STabPage* page = tabs->PageAt(tabs->CurSel());
        return page ? std::wstring(page->GetName()) : std::wstring();
    }
    // The colour in the middle of the page area.
    UINT32 PageColour() { return m_driver->Capture().At(100, 70); }
    // The pages that show, as a string of 0 and 1.
    static std::string Shown(STabCtrl* tabs)
    {
        std::string shown;
        for (int i = 0; i < tabs->PageCount(); ++i)
            shown += tabs->PageAt(i)->TestVisible(TRUE) ? '1' : '0';
        return shown;
    }

    std::unique_ptr<HostDriver> m_driver;
};

TEST_F(HostTabTest, ADestroyedPageLeavesTheListAndKeysGoOnOverTheOthers)
{
    struct Case {
        int selected;  // clicked before the page goes
        int destroyed;
        const wchar_t* selectedAfter;
        UINT32 colourAfter;
        const wchar_t* afterRight;
        const wchar_t* afterEnd;
    } cases[] = {
        {0, 1, L"p0", kRed, L"p2", L"p2"},   // not the selected page
        {2, 0, L"p2", kBlue, L"p1", L"p2"},  // before the selected page: the selection follows it
        {1, 1, L"p2", kBlue, L"p0", L"p2"},  // the selected page: the one at its place is selected
        {2, 2, L"p1", kGreen, L"p0", L"p1"}, // the selected last page: the new last one
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "selected " << c.selected << ", destroyed " << c.destroyed);
        STabCtrl* tabs = OpenTabs();
        ASSERT_NE(nullptr, tabs);
        ClickHeader(tabs, c.selected);
        ASSERT_EQ(c.selected, tabs->CurSel());
        m_host->fired.clear();

        ASSERT_TRUE(tabs->PageAt(c.destroyed)->Dispose());
        m_driver->Pump();
        EXPECT_EQ(2, tabs->PageCount());
        EXPECT_EQ(c.selectedAfter, Selected(tabs));
        EXPECT_EQ(c.colourAfter, PageColour());
        std::string shown = Shown(tabs);
        EXPECT_EQ(1, std::count(shown.begin(), shown.end(), '1')) << shown;
        // Only a lost selection is reported, as a change from no page.
        EXPECT_EQ(c.selected == c.destroyed ? 1 : 0, m_host->Count(EventTabSelChanged::EventID, L"tab"));

        Key(VK_RIGHT);
        EXPECT_EQ(c.afterRight, Selected(tabs));
        Key(VK_END);
        EXPECT_EQ(c.afterEnd, Selected(tabs));
        EXPECT_EQ(c.afterEnd == std::wstring(L"p1") ? kGreen : kBlue, PageColour());
        m_host->DestroyHost();
    }
}

TEST_F(HostTabTest, DestroyingEveryPageLeavesNoSelectionAndKeysDoNothing)
{
    STabCtrl* tabs = OpenTabs();
    ASSERT_NE(nullptr, tabs);
    ClickHeader(tabs, 1);
    while (tabs->PageCount() > 0)
        ASSERT_TRUE(tabs->PageAt(0)->Dispose());
    EXPECT_EQ(-1, tabs->CurSel());
    m_host->fired.clear();
    for (UINT vk : {VK_RIGHT, VK_END, VK_LEFT, VK_HOME})
        Key(vk);
    EXPECT_EQ(-1, tabs->CurSel());
    EXPECT_EQ(0, m_host->Count(EventTabSelChanged::EventID));
    EXPECT_EQ(Px(RGB(255, 255, 255)), PageColour());
    // A page inserted afterwards becomes the selection.
    EXPECT_EQ(0, tabs->InsertItemFromText(L"<page name='p3' colorBkgnd='#00ff00'/>", -1));
    EXPECT_EQ(L"p3", Selected(tabs));
    EXPECT_EQ(kGreen, PageColour());
}

// Destroys a page the first time the selection is about to change.
struct PageDestroyer {
    bool OnChanging(EventArgs*)
    {
        if (page)
            page->Dispose();
        page = nullptr;
        return true;
    }
    SWindow* page;
};

TEST_F(HostTabTest, APageDestroyedWhileTheSelectionChangesLeavesOnePageShown)
{
    STabCtrl* tabs = OpenTabs();
    ASSERT_NE(nullptr, tabs);
    ClickHeader(tabs, 2);
    PageDestroyer destroyer{tabs->PageAt(1)};
    tabs->GetEventSet()->AddSubscriber(EventTabSelChanging::EventID, Subscriber(&PageDestroyer::OnChanging, &destroyer));
    // The page before the selected one goes: the selection moved under the key, which then
    // does nothing.
    Key(VK_HOME);
    EXPECT_EQ(L"p2", Selected(tabs));
    EXPECT_EQ("01", Shown(tabs));
    EXPECT_EQ(kBlue, PageColour());
    Key(VK_HOME);
    EXPECT_EQ(L"p0", Selected(tabs));
    EXPECT_EQ("10", Shown(tabs));
    EXPECT_EQ(kRed, PageColour());
}

TEST_F(HostTabTest, APageVisibleInItsXmlStaysHiddenUntilSelected)
{
    STabCtrl* tabs = OpenTabs("visible='1'");
    ASSERT_NE(nullptr, tabs);
    EXPECT_EQ(0, tabs->CurSel());
    EXPECT_EQ("100", Shown(tabs));
    EXPECT_EQ(kRed, PageColour());

    ClickHeader(tabs, 1);
    EXPECT_EQ("010", Shown(tabs));
    EXPECT_EQ(kGreen, PageColour());
    Key(VK_RIGHT);
    EXPECT_EQ("001", Shown(tabs));
    EXPECT_EQ(kBlue, PageColour());
    Key(VK_HOME);
    EXPECT_EQ("100", Shown(tabs));
    EXPECT_EQ(kRed, PageColour());
}

} // namespace
} // namespace hosttest
