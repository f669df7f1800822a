// The tile view in a real host with a test adapter: panels only for the rows in view, tiles
// placed in rows and columns, arrow keys moving by tile and by row, and selected tiles painted.
#include "adapter_test_env.h"
#include "control/STileView.h"
#include "host_ctrl_test_env.h"

namespace hosttest {
namespace {

using adaptertest::RecordingListAdapter;

// A 200 x 200 view of 50 x 40 tiles with 10-pixel margins: 3 columns, rows 50 apart.
const char kTileLayout[] = "<SKEIN width='200' height='200'><root colorBkgnd='#ffffff'>"
                           "<tileview name='tiles' pos='0,0,-0,-0' marginSize='10px' sbWid='16'>"
                           "<template itemWidth='50px' itemHeight='40px' colorSelected='#0000ff'>"
                           "<window name='face' pos='0,0,-0,-0'/></template></tileview></root></SKEIN>";

class TileViewTest : public HostCtrlTest {
protected:
    STileView* OpenTiles(int count)
    {
        m_driver.reset(new HostDriver(Open(kTileLayout)));
        m_adapter.Attach(new RecordingListAdapter(count));
        STileView* tiles = m_driver->Find<STileView>(L"tiles");
        if (tiles) {
            tiles->SetAdapter(m_adapter);
            tiles->GetEventSet()->AddSubscriber(EventLVSelChanged::EventID, Subscriber(&TileViewTest::OnChanged, this));
        }
        return tiles;
    }
    void TearDown() override
    {
        m_driver.reset();
        HostCtrlTest::TearDown();
        m_adapter = nullptr;
    }
    bool OnChanged(EventLVSelChanged*)
    {
        ++m_changes;
        return true;
    }
    std::vector<int> Shown(STileView* tiles) const
    {
        std::vector<int> items;
        for (int i = 0; i < m_adapter->count; ++i) {
            if (tiles->ItemPanelOf(i))
                items.push_back(i);
        }
        return items;
    }
    static std::vector<int> Range(int first, int last)
    {
        std::vector<int> range;
        for (int i = first; i <= last; ++i)
            range.push_back(i);
        return range;
    }

    std::unique_ptr<HostDriver> m_driver;
    SRefPtr<RecordingListAdapter> m_adapter;
    int m_changes = 0;
};

TEST_F(TileViewTest, RowsInViewHavePanelsPlacedAsTiles)
{
    STileView* tiles = OpenTiles(20);
    ASSERT_NE(nullptr, tiles);
    EXPECT_EQ(3, tiles->GetTileLocator()->Columns());
    EXPECT_EQ(359, tiles->ScrollInfoOf(TRUE).nMax);
    EXPECT_EQ(Range(0, 11), Shown(tiles));
    RECT rect;
    ASSERT_TRUE(tiles->ItemRect(tiles->ItemPanelOf(4), &rect));
    RECT expected = {70, 60, 120, 100};
    EXPECT_TRUE(::EqualRect(&expected, &rect));

    tiles->OnScroll(TRUE, SB_THUMBPOSITION, 100);
    EXPECT_EQ(Range(6, 17), Shown(tiles));
    tiles->ItemRect(tiles->ItemPanelOf(7), &rect);
    EXPECT_EQ(10, rect.top);
    EXPECT_EQ(70, rect.left);
    // Scrolling back reuses the panels.
    size_t panels = m_adapter->windows.size();
    tiles->OnScroll(TRUE, SB_TOP, 0);
    EXPECT_EQ(Range(0, 11), Shown(tiles));
    EXPECT_EQ(panels, m_adapter->windows.size());
}

TEST_F(TileViewTest, ArrowsMoveByTileAndRowWithoutEvents)
{
    STileView* tiles = OpenTiles(20);
    ASSERT_NE(nullptr, tiles);
    tiles->TakeFocus();
    tiles->SetSelection(4, FALSE);
    const struct {
        UINT key;
        int selection;
    } kSteps[] = {{VK_DOWN, 7},   {VK_RIGHT, 8},  {VK_UP, 5},    {VK_LEFT, 4},  {VK_UP, 1},
                  {VK_UP, 1},     {VK_LEFT, 0},   {VK_LEFT, 0},  {VK_DOWN, 3},  {VK_DOWN, 6},
                  {VK_DOWN, 9},   {VK_DOWN, 12},  {VK_DOWN, 15}, {VK_RIGHT, 16}, {VK_RIGHT, 17},
                  {VK_DOWN, 19},  {VK_DOWN, 19},  {VK_RIGHT, 19}};
    for (const auto& step : kSteps) {
        m_driver->Key(step.key);
        EXPECT_EQ(step.selection, tiles->GetSelection()) << "key " << step.key;
    }
    // The last row came into view.
    EXPECT_NE(nullptr, tiles->ItemPanelOf(19));
    EXPECT_EQ(350 - 200, tiles->ScrollPosOf(TRUE));
    // Home: the first tile of the top row.
    m_driver->Key(VK_HOME);
    EXPECT_EQ(0, tiles->ScrollPosOf(TRUE));
    EXPECT_EQ(0, tiles->GetSelection());
    EXPECT_EQ(0, m_changes);
}

TEST_F(TileViewTest, SelectedTileIsPaintedInItsPlace)
{
    STileView* tiles = OpenTiles(5);
    ASSERT_NE(nullptr, tiles);
    m_driver->Click(POINT{95, 80}); // tile 4
    EXPECT_EQ(4, tiles->GetSelection());
    EXPECT_EQ(1, m_changes);
    Shot shot = m_driver->Capture();
    RECT tile = {70, 60, 120, 100};
    RECT other = {10, 60, 60, 100};
    EXPECT_EQ(50 * 40, shot.CountColor(tile, 0xFF0000FF));
    EXPECT_EQ(0, shot.CountColor(other, 0xFF0000FF));
    // A click in a margin selects nothing new.
    m_driver->Click(POINT{65, 80});
    EXPECT_EQ(4, tiles->GetSelection());
}

TEST_F(TileViewTest, TheSelectedTileKeepsItsHighlightWhenTheBindResetsThePanelsState)
{
    STileView* tiles = OpenTiles(20);
    ASSERT_NE(nullptr, tiles);
    m_adapter->onBind = [](int, SWindow* window) {
        static_cast<SItemPanel*>(window)->ModifyItemState(0, kItemStateSelected);
    };
    m_driver->Click(POINT{95, 80}); // tile 4
    ASSERT_EQ(4, tiles->GetSelection());
    RECT tile = {70, 60, 120, 100};
    EXPECT_EQ(50 * 40, m_driver->Capture().CountColor(tile, 0xFF0000FF));
    // Bound again in place, and after a row scrolled out and back in on a recycled panel.
    m_adapter->NotifyChanged();
    EXPECT_EQ(50 * 40, m_driver->Capture().CountColor(tile, 0xFF0000FF));
    m_driver->Wheel(POINT{95, 80}, -2 * WHEEL_DELTA);
    ASSERT_EQ(100, tiles->ScrollPosOf(TRUE));
    m_driver->Wheel(POINT{95, 80}, 2 * WHEEL_DELTA);
    ASSERT_EQ(0, tiles->ScrollPosOf(TRUE));
    Shot shot = m_driver->Capture();
    EXPECT_EQ(50 * 40, shot.CountColor(tile, 0xFF0000FF));
    EXPECT_EQ(50 * 40, shot.CountColor(RECT{0, 0, 200, 200}, 0xFF0000FF)); // that tile alone
}

TEST_F(TileViewTest, FewerItemsAfterAChangeDropTheSelection)
{
    STileView* tiles = OpenTiles(20);
    ASSERT_NE(nullptr, tiles);
    tiles->SetSelection(15, FALSE);
    m_adapter->count = 4;
    m_adapter->NotifyChanged();
    EXPECT_EQ(-1, tiles->GetSelection());
    EXPECT_EQ(Range(0, 3), Shown(tiles));
    EXPECT_FALSE(tiles->IsScrollBarShown(TRUE));
}

// With nothing selected, Down and Right start at the first tile as the list view does; Up and
// Left have nowhere to start from.
TEST_F(TileViewTest, ArrowsWithNoSelectionStartAtTheFirstTile)
{
    STileView* tiles = OpenTiles(20);
    ASSERT_NE(nullptr, tiles);
    tiles->TakeFocus();
    const struct {
        UINT key;
        int selection;
    } kCases[] = {{VK_DOWN, 0}, {VK_RIGHT, 0}, {VK_UP, -1}, {VK_LEFT, -1}};
    for (const auto& step : kCases) {
        tiles->SetSelection(-1, FALSE);
        m_driver->Key(step.key);
        EXPECT_EQ(step.selection, tiles->GetSelection()) << "key " << step.key;
    }
    m_driver->Key(VK_DOWN);
    EXPECT_EQ(50 * 40, m_driver->Capture().CountColor(RECT{10, 10, 60, 50}, 0xFF0000FF));
}

} // namespace
} // namespace hosttest
