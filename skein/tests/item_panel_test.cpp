// The item panel hosted by a plain window of a real host through a scripted item container:
// coordinates moved by the item origin (container rectangle, invalidation, caret, tooltip,
// immediate painting), capture and events reported to the view, the background colour rule,
// disabled panels, timeline registration and the destroy on the last release.
#include <vector>
#include "control/SItemPanel.h"
#include "host_ctrl_test_env.h"

namespace hosttest {
namespace {

const RECT kItem = {30, 40, 130, 70};

// Places its panel at kItem and records the capture requests.
class ScriptedContainer : public IItemContainer {
public:
    void SetItemCapture(SItemPanel*, BOOL capture) override { captures.push_back(capture); }
    BOOL ItemRect(SItemPanel*, RECT* rect) override
    {
        *rect = kItem;
        return TRUE;
    }
    BOOL DefersItemRedraw() override { return defers; }
    void ItemRelayoutRequested(SItemPanel*) override { ++relayouts; }

    std::vector<BOOL> captures;
    BOOL defers = TRUE;
    int relayouts = 0;
};

// The host view keeps its own invalid region (no background blending), so that what a panel
// asks of it can be read back.
const char kViewLayout[] = "<SKEIN width='200' height='120'><root colorBkgnd='#ffffff'>"
                           "<window name='view' pos='0,0,-0,-0' bkgndBlend='0'/></root></SKEIN>";

const wchar_t kTemplate[] = L"<template colorNormal='#ff0000' colorHover='#00ff00' tip='whole item'>"
                            L"<window name='cell' pos='10,5,@20,@10' colorBkgnd='#0000ff'/>"
                            L"<button name='btn' pos='50,5,@40,@20'>Go</button></template>";

class ItemPanelTest : public HostCtrlTest {
protected:
    SItemPanel* Make(const wchar_t* xml, HostDriver& driver)
    {
        m_template.load_string(xml);
        m_view = driver.Child(L"view");
        SItemPanel* panel = SItemPanel::Create(m_view, m_template.first_child(), &m_container);
        m_panel.Attach(panel);
        panel->ApplyRect(RECT{0, 0, kItem.right - kItem.left, kItem.bottom - kItem.top});
        return panel;
    }
    void TearDown() override
    {
        m_panel = nullptr;
        HostCtrlTest::TearDown();
    }
    // A pixel of the host's memory target as stored, made opaque.
    static UINT32 Pixel(IRenderTarget* target, int x, int y) { return target->GetPixel(x, y) | 0xFF000000; }
    RECT ViewInvalidBox() const
    {
        RECT box = {0, 0, 0, 0};
        if (IRegion* region = m_view->GetInvalidRegion())
            region->GetRgnBox(&box);
        return box;
    }

    pugi::xml_document m_template;
    ScriptedContainer m_container;
    SWindow* m_view = nullptr;
    SRefPtr<SItemPanel> m_panel;
};

TEST_F(ItemPanelTest, TemplateBuildsTheTreeAndAnEmptyTemplateNone)
{
    HostDriver driver = Open(kViewLayout);
    SItemPanel* panel = Make(kTemplate, driver);
    EXPECT_EQ(2, panel->GetChildCount());
    EXPECT_TRUE(panel->MatchesClassName(L"itemPanel"));
    EXPECT_TRUE(panel->MatchesClassName(L"window"));
    EXPECT_EQ(-1, panel->ItemIndex());

    SRefPtr<SItemPanel> empty(SItemPanel::Create(m_view, pugi::xml_node(), &m_container), false);
    EXPECT_EQ(0, empty->GetChildCount());
}

TEST_F(ItemPanelTest, RequestsOfTheTreeAreMovedByTheItemOrigin)
{
    HostDriver driver = Open(kViewLayout);
    SItemPanel* panel = Make(kTemplate, driver);
    RECT container = panel->GetContainerRect();
    EXPECT_TRUE(::EqualRect(&kItem, &container));
    RECT frame = {1, 2, 3, 4};
    panel->FrameToHost(frame);
    EXPECT_EQ(31, frame.left);
    EXPECT_EQ(42, frame.top);
    EXPECT_EQ(33, frame.right);
    EXPECT_EQ(44, frame.bottom);

    // A child's repaint becomes the view's, at the item's place.
    SWindow* cell = panel->LookupChildByName(SStringW(L"cell"));
    ASSERT_NE(nullptr, cell);
    EXPECT_EQ(10, cell->GetWindowRect().left);
    driver.Capture(); // the view's own invalid region is painted and dropped
    cell->InvalidateArea();
    RECT box = ViewInvalidBox();
    EXPECT_EQ(40, box.left);
    EXPECT_EQ(45, box.top);
    EXPECT_EQ(60, box.right);
    EXPECT_EQ(55, box.bottom);

    // The tooltip of the panel itself covers the item in host coordinates.
    SwndToolInfo info;
    EXPECT_TRUE(panel->ProvideTooltip(POINT{2, 2}, &info));
    EXPECT_EQ(L"whole item", std::wstring(info.text.c_str()));
    EXPECT_TRUE(::EqualRect(&kItem, &info.rect));
}

TEST_F(ItemPanelTest, WithoutDeferralTheItemIsPaintedAtOnceIntoTheHost)
{
    HostDriver driver = Open(kViewLayout);
    m_container.defers = FALSE;
    driver.Capture();
    IRenderTarget* memory = driver.Host().MemoryTarget();
    // Placing the panel painted it: the item's background and the cell, not beyond the item.
    SItemPanel* panel = Make(kTemplate, driver);
    EXPECT_EQ(Px(RGB(0, 0, 255)), Pixel(memory, 45, 50));
    EXPECT_EQ(Px(RGB(255, 0, 0)), Pixel(memory, 35, 42));
    EXPECT_EQ(Px(RGB(255, 255, 255)), Pixel(memory, 25, 42));

    // A changed cell shows at once, without a paint pass of the host; the view was asked for
    // nothing.
    panel->LookupChildByName(SStringW(L"cell"))->ApplyAttribute(SStringW(L"colorBkgnd"), SStringW(L"#00ff00"), FALSE);
    EXPECT_EQ(Px(RGB(0, 255, 0)), Pixel(memory, 45, 50));
    RECT asked = ViewInvalidBox();
    EXPECT_TRUE(::IsRectEmpty(&asked));
}

TEST_F(ItemPanelTest, BackgroundIsSelectedOverHoverOverNormal)
{
    HostDriver driver = Open(kViewLayout);
    SItemPanel* panel = Make(kTemplate, driver);
    const COLORREF red = 0xFF0000FF, green = 0xFF00FF00, navy = 0xFF800000;
    const struct {
        DWORD state;
        COLORREF withHover;
        COLORREF withoutHover;
    } kCases[] = {
        {0, red, red},
        {kStateHover, green, red},
        {kStateChecked, navy, navy},
        {kStateHover | kStateChecked, navy, navy},
    };
    for (const auto& c : kCases) {
        panel->ModifyItemState(c.state, kStateHover | kStateChecked);
        panel->ApplyAttribute(SStringW(L"colorHover"), SStringW(L"#00ff00"), TRUE);
        EXPECT_EQ(c.withHover, panel->BackgroundColor()) << c.state;
        panel->SetColors(red, navy);
        panel->ApplyAttribute(SStringW(L"colorHover"), SStringW(L"#ffffff00"), TRUE); // no colour
        EXPECT_EQ(c.withoutHover, panel->BackgroundColor()) << c.state;
    }
    EXPECT_EQ(E_FAIL, panel->ApplyAttribute(SStringW(L"colorHover"), SStringW(L""), TRUE));

    // Drawn at the item's place.
    panel->ModifyItemState(kStateChecked, kStateHover);
    IRenderTarget* memory = driver.Host().MemoryTarget();
    memory->PushClipRect(&kItem, RGN_COPY);
    panel->Draw(memory, kItem);
    memory->PopClip();
    EXPECT_EQ(Px(RGB(0, 0, 0x80)), Pixel(memory, 35, 42));
    EXPECT_EQ(Px(RGB(0, 0, 255)), Pixel(memory, 45, 50));
}

// Every event reaching the view from the panel's tree, with the wrapped event's id and sender.
struct PanelEvents {
    bool OnEvent(EventArgs* evt)
    {
        auto* wrapped = static_cast<EventOfPanel*>(evt);
        seen.push_back({wrapped->origin->GetId(), wrapped->origin->nameFrom ? wrapped->origin->nameFrom : L""});
        return false;
    }
    int Count(int id) const
    {
        int count = 0;
        for (const Fired& fired : seen)
            count += fired.id == id;
        return count;
    }
    std::vector<Fired> seen;
};

TEST_F(ItemPanelTest, EventsCaptureAndClicksGoThroughTheView)
{
    HostDriver driver = Open(kViewLayout);
    SItemPanel* panel = Make(kTemplate, driver);
    m_view->GetEventSet()->DeclareEvent(EventOfPanel::EventID, EventOfPanel::EventName());
    PanelEvents events;
    m_view->GetEventSet()->AddSubscriber(EventOfPanel::EventID, Subscriber(&PanelEvents::OnEvent, &events));

    // A click on the button: the panel's click, the button's capture through the view, its
    // command and the panel's own command, all on the view.
    LPARAM onButton = MAKELPARAM(60, 10);
    panel->DispatchHostMessage(WM_MOUSEMOVE, 0, onButton);
    panel->DispatchHostMessage(WM_LBUTTONDOWN, MK_LBUTTON, onButton);
    EXPECT_EQ((std::vector<BOOL>{TRUE}), m_container.captures);
    panel->DispatchHostMessage(WM_LBUTTONUP, 0, onButton);
    EXPECT_EQ((std::vector<BOOL>{TRUE, FALSE}), m_container.captures);
    EXPECT_EQ(1, events.Count(EventItemPanelClick::EventID));
    ASSERT_EQ(2, events.Count(EventCmd::EventID));
    EXPECT_EQ(L"btn", events.seen[events.seen.size() - 2].name);
    // The host hears of them as the view's events.
    EXPECT_EQ(0, driver.Host().Count(EventCmd::EventID, L"btn"));
    EXPECT_GT(driver.Host().Count(EventOfPanel::EventID, L"view"), 0);

    // Hover and leave change the panel's state and are reported.
    panel->DispatchHostMessage(WM_MOUSEHOVER, 0, MAKELPARAM(2, 2));
    EXPECT_TRUE(panel->GetStateFlags() & kStateHover);
    panel->DispatchHostMessage(WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(panel->GetStateFlags() & kStateHover);
    EXPECT_EQ(1, events.Count(EventItemPanelHover::EventID));
    EXPECT_EQ(1, events.Count(EventItemPanelLeave::EventID));

    // A disabled item raises no item events, but its windows still get the click.
    events.seen.clear();
    panel->ModifyItemState(kStateDisabled, 0);
    panel->DispatchHostMessage(WM_MOUSEMOVE, 0, onButton);
    panel->DispatchHostMessage(WM_LBUTTONDOWN, MK_LBUTTON, onButton);
    panel->DispatchHostMessage(WM_LBUTTONUP, 0, onButton);
    EXPECT_EQ(0, events.Count(EventItemPanelClick::EventID));
    EXPECT_EQ(2, events.Count(EventCmd::EventID));
    m_panel = nullptr; // its destruction is reported to the view while the recorder lives
}

TEST_F(ItemPanelTest, VisiblePanelsTickWithTheHostAndTheLastReleaseDestroysTheTree)
{
    HostDriver driver = Open(kViewLayout);
    SItemPanel* panel = Make(kTemplate, driver);
    int base = driver.Host().TimelineHandlerCount();
    panel->ChangeVisibility(FALSE, FALSE);
    EXPECT_EQ(base - 1, driver.Host().TimelineHandlerCount());
    panel->ChangeVisibility(TRUE, FALSE);
    EXPECT_EQ(base, driver.Host().TimelineHandlerCount());

    SWindow* cell = panel->LookupChildByName(SStringW(L"cell"));
    bool destroyed = false;
    struct DestroyWatch {
        bool* flag;
        bool OnDestroy(EventArgs*)
        {
            *flag = true;
            return false;
        }
    } watch{&destroyed};
    cell->GetEventSet()->AddSubscriber(EventSwndDestroy::EventID, Subscriber(&DestroyWatch::OnDestroy, &watch));
    m_panel = nullptr;
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(base - 1, driver.Host().TimelineHandlerCount());
}

// Changes the look of a window as it is destroyed.
struct RecolourOnDestroy {
    SWindow* window;
    bool ran;
    bool OnDestroy(EventArgs*)
    {
        ran = true;
        window->ApplyAttribute(SStringW(L"colorBkgnd"), SStringW(L"#00ff00"), FALSE);
        return false;
    }
};

// The views release their panels as they are destroyed: a window of the panel that changes its
// look as it goes asks the view for no repaint and paints nothing into the host.
TEST_F(ItemPanelTest, APanelEndingWithItsViewAsksTheViewForNothing)
{
    HostDriver driver = Open(kViewLayout);
    for (BOOL defers : {TRUE, FALSE}) {
        SCOPED_TRACE(defers ? "deferred" : "painted at once");
        m_container.defers = defers;
        SItemPanel* panel = Make(kTemplate, driver);
        driver.Capture();
        if (!defers)
            panel->InvalidateArea(); // the item shows in the host
        IRenderTarget* memory = driver.Host().MemoryTarget();
        const UINT32 shown = Pixel(memory, 45, 50);
        RecolourOnDestroy recolour = {panel->LookupChildByName(SStringW(L"cell")), false};
        recolour.window->GetEventSet()->AddSubscriber(EventSwndDestroy::EventID,
                                                      Subscriber(&RecolourOnDestroy::OnDestroy, &recolour));
        m_panel = nullptr;
        EXPECT_TRUE(recolour.ran);
        RECT asked = ViewInvalidBox();
        EXPECT_TRUE(::IsRectEmpty(&asked));
        EXPECT_EQ(shown, Pixel(memory, 45, 50));
    }
}

} // namespace
} // namespace hosttest
