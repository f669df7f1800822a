// The advanced controls in one real host, each labelled and filled with a little content:
// adapter views, item controls, drop-downs (closed), calendars, text, spin, hot-key, menu bar
// and split window. Written to gallery-advanced.png beside the test program (scripts/gallery.sh
// copies it into docs); pixel probes pin that each control drew and selections show.
#include <set>
#include "adapter_test_env.h"
#include "column_adapter_test_env.h"
#include "control/SCalendar.h"
#include "control/SCalendarEx.h"
#include "control/SComboBox.h"
#include "control/SComboView.h"
#include "control/SDateTimePicker.h"
#include "control/SListBox.h"
#include "control/SListCtrl.h"
#include "control/SMCListView.h"
#include "control/STileView.h"
#include "control/STreeCtrl.h"
#include "control/STreeView.h"
#include "host_ctrl_test_env.h"
#include "treeview_test_adapter.h"

namespace hosttest {
namespace {

using adaptertest::RecordingListAdapter;
using adaptertest::TestColumnAdapter;
using treetest::TestTreeAdapter;

const int kWidth = 972, kHeight = 720;
const int kPitch = 240, kCell = 224;
const char kSelection[] = "#3070d0";
const UINT32 kSelectionPx = 0xFF3070D0;
// A frame for the combo boxes and the hot-key control, and for the plain edits with room
// around the text.
const std::string kFrame = " margin='1' colorBorder='#a0a0a0' ";
const std::string kEditFrame = " margin-x='4' margin-y='4' colorBorder='#a0a0a0' ";

std::string Pos(int x, int y, int cx, int cy)
{
    return "pos='" + std::to_string(x) + "," + std::to_string(y) + ",@" + std::to_string(cx) + ",@"
           + std::to_string(cy) + "'";
}

int ColumnX(int column)
{
    return 12 + column * kPitch;
}

// A label at (x, y) and the control below it.
std::string Labelled(int x, int y, const std::string& label, const std::string& control)
{
    return "<text " + Pos(x, y, kCell, 18) + " colorText='#505050' align='left'>" + label + "</text>" + control;
}

// Columns of the list control and the multi-column view.
std::string Captions(std::initializer_list<std::pair<const char*, int>> captions)
{
    std::string items;
    for (const auto& caption : captions)
        items += "<item width='" + std::to_string(caption.second) + "px'>" + caption.first + "</item>";
    return "<header name='hdr'><items>" + items + "</items></header>";
}

std::string AdapterViews(int y)
{
    const std::string selected = std::string(" colorSelected='") + kSelection + "'";
    std::string xml;
    xml += Labelled(ColumnX(0), y, "listview",
                    "<listview name='list' " + Pos(ColumnX(0), y + 20, kCell, 140)
                        + " sbWid='12' colorBkgnd='#ffffff'><template itemHeight='22' colorHover='#e8eef8'"
                        + selected + "><text name='label' pos='8,0,-0,-0' align='left' valign='middle'/>"
                          "</template></listview>");
    xml += Labelled(ColumnX(1), y, "header + mclistview",
                    "<mclistview name='mc' " + Pos(ColumnX(1), y + 20, kCell, 140)
                        + " headerHeight='22px' sbWid='12' colorBkgnd='#ffffff'>"
                        + Captions({{"Name", 90}, {"Axis", 60}, {"Range", 74}}) + "<template itemHeight='22px'"
                        + selected
                        + "><text name='col0' align='left' valign='middle'/><text name='col1' align='left' "
                          "valign='middle'/><text name='col2' align='left' valign='middle'/></template></mclistview>");
    xml += Labelled(ColumnX(2), y, "tileview",
                    "<tileview name='tiles' " + Pos(ColumnX(2), y + 20, kCell, 140)
                        + " marginSize='8px' sbWid='12' colorBkgnd='#ffffff'><template itemWidth='60px' "
                          "itemHeight='36px' colorBkgnd='#e4e8ee'"
                        + selected + "><text name='label' pos='0,0,-0,-0' valign='middle'/></template></tileview>");
    xml += Labelled(ColumnX(3), y, "treeview",
                    "<treeview name='treeview' " + Pos(ColumnX(3), y + 20, kCell, 140)
                        + " indent='16' sbWid='12' colorBkgnd='#ffffff'><template" + selected
                        + "><text name='label' pos='4,0,-0,-0' align='left' valign='middle'/></template></treeview>");
    return xml;
}

std::string ItemControls(int y)
{
    std::string xml;
    xml += Labelled(ColumnX(0), y, "listctrl (check boxes)",
                    "<listctrl name='listctrl' " + Pos(ColumnX(0), y + 20, kCell, 140)
                        + " sbWid='12' checkBox='1' itemHeight='22' colorItemBkgnd='#ffffff' "
                          "colorItemBkgnd2='#f2f4f8' colorItemSelBkgnd='"
                        + kSelection + "' colorSelText='#ffffff'>" + Captions({{"Button", 110}, {"Action", 110}})
                        + "</listctrl>");
    std::string rows;
    for (const char* row : {"Trigger", "Thumb", "Hat up", "Hat down", "Base 1", "Base 2", "Base 3"})
        rows += std::string("<item text='") + row + "'/>";
    xml += Labelled(ColumnX(1), y, "listbox",
                    "<listbox name='listbox' " + Pos(ColumnX(1), y + 20, kCell, 140)
                        + " sbWid='12' itemHeight='20' colorBkgnd='#ffffff' colorItemSelBkgnd='" + kSelection
                        + "' colorSelText='#ffffff'><items>" + rows + "</items></listbox>");
    xml += Labelled(ColumnX(2), y, "treectrl (three-state checks)",
                    "<treectrl name='treectrl' " + Pos(ColumnX(2), y + 20, kCell, 140)
                        + " sbWid='12' checkBox='1' itemHeight='20' colorBkgnd='#ffffff' colorItemSelBkgnd='"
                        + kSelection
                        + "' colorItemSelText='#ffffff'>"
                          "<item text='Controllers'><item text='Stick'><item text='X axis'/><item text='Y axis'/>"
                          "</item><item text='Throttle'><item text='Z axis'/></item></item>"
                          "<item text='Profiles'/></treectrl>");
    xml += Labelled(ColumnX(3), y, "richedit, edit (text, cue text)",
                    "<richedit name='richedit' " + Pos(ColumnX(3), y + 20, kCell, 72)
                        + " multiLines='1' colorBkgnd='#ffffff' margin-x='4' margin-y='4'>"
                          "Rich edit with two&#10;lines of text</richedit>"
                          "<edit name='edit' "
                        + Pos(ColumnX(3), y + 100, kCell, 26) + kEditFrame + "colorBkgnd='#ffffff'>Edit text</edit>"
                        + "<edit name='cue' " + Pos(ColumnX(3), y + 134, kCell, 26) + kEditFrame
                        + "colorBkgnd='#ffffff' cueText='Type to search' cueColor='#909090'/>");
    return xml;
}

std::string DatesAndPickers(int y)
{
    std::string xml;
    xml += Labelled(ColumnX(0), y, "calendar",
                    "<calendar name='calendar' " + Pos(ColumnX(0), y + 20, kCell, 180) + "/>");
    xml += Labelled(ColumnX(1), y, "calendarex", "<calendarex name='calendarex' " + Pos(ColumnX(1), y + 20, kCell, 180) + "/>");
    std::string rows;
    for (const char* row : {"Flight", "Racing", "Arcade", "Desktop"})
        rows += std::string("<item text='") + row + "'/>";
    int x = ColumnX(2);
    xml += Labelled(x, y, "combobox",
                    "<combobox name='combo' " + Pos(x, y + 20, kCell, 26) + kFrame + "dropHeight='120'><items>" + rows
                        + "</items></combobox>");
    xml += Labelled(x, y + 54, "comboview",
                    "<comboview name='comboview' " + Pos(x, y + 74, kCell, 26) + kFrame
                        + "dropHeight='120'><listStyle><template itemHeight='20'><text name='label' "
                          "pos='4,0,-0,-0' align='left'/></template></listStyle></comboview>");
    xml += Labelled(x, y + 108, "datetimepicker",
                    "<dateTimePicker name='picker' " + Pos(x, y + 128, kCell, 26) + " timeEnable='1'/>");
    x = ColumnX(3);
    xml += Labelled(x, y, "spinButton + buddy",
                    "<edit name='buddy' " + Pos(x, y + 20, 80, 26) + kEditFrame + "colorBkgnd='#ffffff'/>"
                        + "<spinButton name='spin' buddy='buddy' " + Pos(x + 82, y + 20, 16, 26)
                        + " min='0' max='100' value='42'/>");
    xml += Labelled(x, y + 54, "hotkey",
                    "<hotkey name='hotkey' " + Pos(x, y + 74, kCell, 26) + kFrame + "colorBkgnd='#ffffff' combKey='6' hotKey='116'/>");
    return xml;
}

std::string BarAndSplit(int y)
{
    std::string xml;
    xml += Labelled(ColumnX(0), y, "menubar",
                    "<menubar name='menubar' " + Pos(ColumnX(0), y + 20, kPitch + kCell, 24)
                        + "><menus><menuItem menuName='file'>File</menuItem><menuItem menuName='edit'>Edit</menuItem>"
                          "<menuItem menuName='view'>View</menuItem><menuItem menuName='help'>Help</menuItem>"
                          "</menus></menubar>");
    xml += Labelled(ColumnX(2), y, "splitwnd (three panes)",
                    "<splitwnd name='split' " + Pos(ColumnX(2), y + 20, kPitch + kCell, 90)
                        + " sepSize='4' sepSkin='_skin.sys.split.vert'>"
                          "<pane name='pane1' idealSize='120px' minSize='40px' colorBkgnd='#dce6f4'>"
                          "<text pos='8,8,-8,@20' align='left'>Pane one</text></pane>"
                          "<pane name='pane2' idealSize='200px' minSize='60px' priority='1' colorBkgnd='#f4ecdc'>"
                          "<text pos='8,8,-8,@20' align='left'>Pane two</text></pane>"
                          "<pane name='pane3' idealSize='140px' minSize='40px' colorBkgnd='#e2f0dc'>"
                          "<text pos='8,8,-8,@20' align='left'>Pane three</text></pane></splitwnd>");
    return xml;
}

std::string GalleryLayout()
{
    return "<SKEIN title='gallery' width='" + std::to_string(kWidth) + "' height='" + std::to_string(kHeight)
           + "'><root colorBkgnd='#f0f0f0' colorText='#202020'>" + AdapterViews(10) + ItemControls(186)
           + DatesAndPickers(362) + BarAndSplit(582) + "</root></SKEIN>";
}

class GalleryAdvancedTest : public HostCtrlTest {
protected:
    // The menu bar's menus.
    void SetUp() override
    {
        HostCtrlTest::SetUp();
        m_menus.Attach(new skein_test::MemProvider);
        for (const wchar_t* menu : {L"file", L"edit", L"view", L"help"})
            m_menus->Put(L"SMENUEX", menu, "<menuRoot><menuItem id='1'>Item</menuItem></menuRoot>");
        m_app->AddProvider(m_menus, nullptr);
    }
    void TearDown() override
    {
        HostCtrlTest::TearDown();
        m_menus = nullptr;
        m_list = nullptr;
        m_columns = nullptr;
        m_tiles = nullptr;
        m_tree = nullptr;
        m_combo = nullptr;
    }

    // Adapters and selections: the second row of each list, a date, a time, a choice.
    void Fill(HostDriver& driver)
    {
        const wchar_t* const names[] = {L"Trigger", L"Thumb", L"Hat", L"Base", L"Pinkie", L"Throttle", L"Rudder"};
        const wchar_t* const axes[] = {L"X", L"Y", L"Z", L"Rx", L"Ry", L"Rz", L"Slider"};
        m_list.Attach(new RecordingListAdapter(12));
        m_columns.Attach(new TestColumnAdapter(7));
        m_columns->onBind = [&](int index, SWindow* item) {
            SetText(item, L"col0", names[index]);
            SetText(item, L"col1", axes[index]);
            SetText(item, L"col2", (L"0.." + std::to_wstring(255 << (index % 3))).c_str());
        };
        m_tiles.Attach(new RecordingListAdapter(9));
        m_tree.Attach(new TestTreeAdapter);
        STreeHandle devices = m_tree->Add(kTviRoot);
        STreeHandle stick = m_tree->Add(devices);
        m_tree->Add(stick);
        m_tree->Add(stick);
        m_tree->Add(devices);
        m_tree->Add(kTviRoot);
        for (auto& node : m_tree->nodes)
            node.second.size = SIZE{160, 22};
        m_combo.Attach(new RecordingListAdapter(5));

        SListView* list = driver.Find<SListView>(L"list");
        SMCListView* mc = driver.Find<SMCListView>(L"mc");
        STileView* tiles = driver.Find<STileView>(L"tiles");
        STreeView* tree = driver.Find<STreeView>(L"treeview");
        SComboView* comboView = driver.Find<SComboView>(L"comboview");
        ASSERT_TRUE(list && mc && tiles && tree && comboView);
        list->SetAdapter(m_list);
        list->SetSelection(1, FALSE);
        mc->SetAdapter(m_columns);
        mc->SetSelection(1, FALSE);
        tiles->SetAdapter(m_tiles);
        tiles->SetSelection(4, FALSE);
        tree->SetAdapter(m_tree);
        tree->SetSelection(stick, FALSE);
        comboView->GetListView()->SetAdapter(m_combo);
        comboView->SetCurSel(2);

        FillItemControls(driver);
        SComboBox* combo = driver.Find<SComboBox>(L"combo");
        SCalendar* calendar = driver.Find<SCalendar>(L"calendar");
        SCalendarEx* calendarEx = driver.Find<SCalendarEx>(L"calendarex");
        SDateTimePicker* picker = driver.Find<SDateTimePicker>(L"picker");
        ASSERT_TRUE(combo && calendar && calendarEx && picker);
        combo->SetCurSel(1);
        calendar->SetDate(2026, 3, 14, false);
        calendarEx->SetDate(2026, 3, 14, 0, false);
        SYSTEMTIME time = {2026, 3, 6, 14, 10, 30, 0, 0};
        picker->SetTime(time);
        driver.Pump();
    }

    // The list control: rows with an action each, the second clicked (selected and checked),
    // the fourth's box ticked. The tree control: one of two children checked.
    void FillItemControls(HostDriver& driver)
    {
        SListCtrl* listCtrl = driver.Find<SListCtrl>(L"listctrl");
        STreeCtrl* treeCtrl = driver.Find<STreeCtrl>(L"treectrl");
        SListBox* listBox = driver.Find<SListBox>(L"listbox");
        ASSERT_TRUE(listCtrl && treeCtrl && listBox);
        const wchar_t* const rows[][2] = {{L"Trigger", L"Fire"}, {L"Thumb", L"Jump"}, {L"Hat", L"Look"},
                                          {L"Base 1", L"Map"},   {L"Base 2", L"Menu"}};
        for (int i = 0; i < 5; ++i) {
            listCtrl->InsertItem(i, rows[i][0]);
            listCtrl->SetSubItemText(i, 1, rows[i][1]);
        }
        RECT rect = listCtrl->GetWindowRect();
        driver.Click(POINT{rect.left + 120, rect.top + 22 + 22 + 11});
        driver.Click(POINT{rect.left + 10, rect.top + 22 + 3 * 22 + 11});
        driver.Move(POINT{rect.left + 120, rect.bottom - 4}); // away from the rows
        listBox->SetCurSel(1);

        STreeHandle stick = ItemNamed(treeCtrl, L"Stick");
        STreeHandle x = ItemNamed(treeCtrl, L"X axis");
        ASSERT_TRUE(stick && x);
        treeCtrl->SetCheckState(x, TRUE);
        treeCtrl->SelectItem(stick);
    }

    static STreeHandle ItemNamed(STreeCtrl* tree, const wchar_t* text)
    {
        for (STreeHandle item = tree->GetNextItem(kTviRoot); item; item = tree->GetNextItem(item)) {
            if (tree->ItemOf(item)->text == text)
                return item;
        }
        return 0;
    }
    static void SetText(SWindow* item, const wchar_t* name, const wchar_t* text)
    {
        if (SWindow* child = item ? item->LookupChildByName(SStringW(name)) : nullptr)
            child->AssignText(SStringW(text));
    }

    SRefPtr<RecordingListAdapter> m_list;
    SRefPtr<TestColumnAdapter> m_columns;
    SRefPtr<RecordingListAdapter> m_tiles;
    SRefPtr<TestTreeAdapter> m_tree;
    SRefPtr<RecordingListAdapter> m_combo;
    SRefPtr<skein_test::MemProvider> m_menus;
};

// Colours in a rectangle, up to a few.
int ColoursIn(const Shot& shot, const RECT& rect)
{
    std::set<UINT32> colours;
    shot.Count(rect, [&](UINT32 pixel) {
        if (colours.size() < 8)
            colours.insert(pixel);
        return false;
    });
    return static_cast<int>(colours.size());
}

TEST_F(GalleryAdvancedTest, EveryAdvancedControlAtWork)
{
    HostDriver driver = Open(GalleryLayout());
    ASSERT_NE(nullptr, driver.Hwnd());
    Fill(driver);
    Shot shot = driver.Capture();
    ASSERT_EQ(kWidth, shot.width);
    ASSERT_EQ(kHeight, shot.height);
    SaveBesideProgram(shot, L"gallery-advanced.png");

    // Each control drew something of its own: more than a plain fill.
    for (const wchar_t* name : {L"list", L"mc", L"tiles", L"treeview", L"listctrl", L"listbox", L"treectrl",
                                L"richedit", L"edit", L"cue", L"calendar", L"calendarex", L"combo", L"comboview",
                                L"picker", L"spin", L"buddy", L"hotkey", L"menubar", L"split"}) {
        SCOPED_TRACE(testing::Message() << std::wstring(name));
        ASSERT_NE(nullptr, driver.Child(name));
        EXPECT_GE(ColoursIn(shot, driver.RectOf(name)), 2);
    }

    // The selected rows, tile and items show the selection colour, the others do not; nothing
    // below the lists does.
    for (const wchar_t* name : {L"list", L"mc", L"tiles", L"treeview", L"listctrl", L"listbox", L"treectrl"}) {
        SCOPED_TRACE(testing::Message() << std::wstring(name));
        RECT rect = driver.RectOf(name);
        int selected = shot.CountColor(rect, kSelectionPx);
        EXPECT_GT(selected, 200);
        EXPECT_LT(selected, (rect.right - rect.left) * (rect.bottom - rect.top) / 3);
    }
    RECT lower = {0, driver.RectOf(L"calendar").top, kWidth, kHeight};
    EXPECT_EQ(0, shot.CountColor(lower, kSelectionPx));
}

} // namespace
} // namespace hosttest
