// Every basic control with the built-in skins in one real host, each in its normal, hover,
// pushed, checked and disabled look, written to gallery.png beside the test program
// (scripts/gallery.sh copies it into docs). Pixel probes pin the looks that matter.
#include "control/SCheckBox.h"
#include "control/SPanel.h"
#include "control/SScrollBarGeometry.h"
#include "control/SScrollBar.h"
#include "control/SScrollView.h"
#include "control/SSliderBar.h"
#include "control/STabCtrl.h"
#include "host_ctrl_test_env.h"

namespace hosttest {
namespace {

// The state columns and their name suffixes.
const char* const kColumns[] = {"normal", "hover", "pushed", "checked", "disabled"};
const char* const kSuffixes[] = {"_n", "_h", "_p", "_c", "_d"};
const int kLabelWidth = 110, kColumnLeft = 120, kColumnPitch = 120, kRowTop = 34, kRowPitch = 34;
const int kWidth = 730, kHeight = 704;

std::string Pos(int x, int y, int cx, int cy)
{
    return "pos='" + std::to_string(x) + "," + std::to_string(y) + ",@" + std::to_string(cx) + ",@"
           + std::to_string(cy) + "'";
}

std::string Text(int x, int y, int cx, const std::string& text, const std::string& extra = "")
{
    return "<text " + Pos(x, y, cx, 20) + " " + extra + ">" + text + "</text>";
}

int ColumnX(int column)
{
    return kColumnLeft + column * kColumnPitch;
}

int RowY(int row)
{
    return kRowTop + row * kRowPitch;
}

// One row of the state matrix: a label and the element of each listed column, named
// stem + suffix; element is the tag with its attributes ("%s" is replaced by the name and
// position), inner its content. Columns of wrapped rows sit in a window each, so that radio
// boxes do not form one group.
std::string Row(int row, const std::string& label, const std::string& stem, const std::string& tag, SIZE size,
                const std::string& attributes, const std::string& inner, std::initializer_list<int> columns,
                bool wrapped = false)
{
    int y = RowY(row);
    std::string xml = Text(10, y + 4, kLabelWidth - 10, label, "colorText='#404040'");
    for (int column : columns) {
        std::string name = stem + kSuffixes[column];
        std::string element = "<" + tag + " name='" + name + "' class='cell' ";
        element += (wrapped ? Pos(0, 0, size.cx, size.cy) : Pos(ColumnX(column), y, size.cx, size.cy)) + " " + attributes;
        if (column == 3)
            element += tag == "toggle" ? " toggled='1'" : tag == "check" || tag == "radio" ? " checked='1'" : "";
        if (column == 4)
            element += " enable='0'";
        element += ">" + inner + "</" + tag + ">";
        xml += wrapped ? "<window " + Pos(ColumnX(column), y, size.cx, size.cy) + ">" + element + "</window>" : element;
    }
    return xml;
}

std::string GalleryLayout()
{
    std::string xml = "<SKEIN title='gallery' width='" + std::to_string(kWidth) + "' height='" + std::to_string(kHeight)
                      + "'><style><class name='cell' colorText='#202020' colorTextDisable='#a0a0a0'/>"
                        "<class name='link' colorText='#1a56b8' colorTextHover='#d04a00' colorTextPush='#8a2a00' "
                        "colorTextDisable='#a0a0a0'/></style>"
                        "<root colorBkgnd='#f0f0f0'>";
    for (int column = 0; column < 5; ++column)
        xml += Text(ColumnX(column), 8, 110, kColumns[column], "colorText='#606060'");
    const SIZE button = {100, 28}, box = {100, 20}, bar = {100, 20};
    xml += Row(0, "button", "button", "button", button, "", "Button", {0, 1, 2, 3, 4});
    xml += Row(1, "imgbtn", "imgbtn", "imgbtn", button, "", "Image", {0, 1, 2, 3, 4});
    xml += Row(2, "check", "check", "check", box, "", "Check", {0, 1, 2, 3, 4});
    xml += Row(3, "check on", "checked", "check", box, "checked='1'", "Check", {0, 1, 2, 4});
    xml += Row(4, "radio", "radio", "radio", box, "", "Radio", {0, 1, 2, 3, 4}, true);
    xml += Row(5, "radio on", "chosen", "radio", box, "checked='1'", "Radio", {0, 1, 2, 4}, true);
    xml += Row(6, "toggle", "toggle", "toggle", SIZE{16, 16}, "", "", {0, 1, 2, 3, 4});
    xml += Row(7, "link", "link", "link", box, "class='link'", "Link text", {0, 1, 2, 4});
    xml += Row(8, "sliderbar", "slider", "sliderbar", bar, "min='0' max='100' value='40'", "", {0, 1, 2, 4});
    xml += Row(9, "scrollbar", "sbar", "scrollbar", SIZE{100, 16},
               "vertical='0' min='0' max='99' page='20' value='30'", "", {0, 1, 2, 4});
    // The tab headers: the first selected, the second hovered.
    xml += Text(10, RowY(10) + 4, kLabelWidth - 10, "tabctrl", "colorText='#404040'");
    xml += "<tabctrl name='tab' " + Pos(ColumnX(0), RowY(10), 350, 80) + " colorText='#202020'>"
           "<page title='Selected'><text pos='10,10,@200,@20'>First page</text></page>"
           "<page title='Hover'/><page title='Normal'/></tabctrl>";

    // Display controls below the matrix.
    int y = RowY(13);
    xml += Text(10, y, kLabelWidth - 10, "progress", "colorText='#404040'");
    xml += "<progress name='prog0' " + Pos(ColumnX(0), y + 5, 100, 10) + " value='0'/>";
    xml += "<progress name='prog40' " + Pos(ColumnX(1), y, 100, 20) + " value='40' showPercent='1'/>";
    xml += "<progress name='prog100' " + Pos(ColumnX(2), y + 5, 100, 10) + " value='100'/>";
    xml += "<progress name='progv' " + Pos(ColumnX(3), y, 10, 60) + " vertical='1' value='60'/>";
    xml += "<progress name='progd' " + Pos(ColumnX(4), y + 5, 100, 10) + " value='40' enable='0'/>";
    y += 70;
    xml += Text(10, y + 6, kLabelWidth - 10, "img, icon", "colorText='#404040'");
    for (int state = 0; state < 4; ++state) {
        xml += "<img name='img" + std::to_string(state) + "' " + Pos(ColumnX(0) + 40 * state, y, 32, 32)
               + " skin='_skin.sys.icons' iconIndex='" + std::to_string(state) + "'/>";
    }
    xml += "<animateimg name='anim' " + Pos(ColumnX(1) + 50, y, 32, 32) + " skin='_skin.sys.icons' autoStart='0'/>";
    xml += "<icon name='icon' " + Pos(ColumnX(2) + 10, y + 8, 16, 16) + " src='ICON_LOGO:16'/>";
    y += 46;
    xml += Text(10, y, kLabelWidth - 10, "text, group", "colorText='#404040'");
    xml += "<text name='multi' " + Pos(ColumnX(0), y, 110, 60) + " multiLines='1' align='left' colorText='#202020'>"
           "Multi-line\\nlabel with a long line</text>";
    xml += "<group name='group' " + Pos(ColumnX(1), y - 6, 230, 100) + " colorText='#202020'>Group";
    xml += "<hr " + Pos(10, 10, 100, 1) + "/>";
    xml += "<hr " + Pos(10, 22, 100, 1) + " lineStyle='dash' colorLine='#2f6fd0'/>";
    xml += "<hr " + Pos(10, 34, 100, 1) + " lineStyle='dot' lineSize='1' colorLine='#d04a00'/>";
    xml += "<hr " + Pos(130, 8, 1, 50) + " mode='vertical'/>";
    xml += "<hr " + Pos(150, 8, 60, 50) + " mode='tilt' lineSize='2' colorLine='#2f6fd0'/>";
    xml += "</group>";

    // Scrolling containers on the right: a view with both bars and a panel with a held thumb.
    xml += Text(ColumnX(3) + 10, RowY(13) + 70, 200, "scrollview, div", "colorText='#404040'");
    xml += "<scrollview name='view' " + Pos(ColumnX(3) + 10, RowY(13) + 92, 120, 120)
           + " viewSize='300,400' colorBkgnd='#ffffff'>";
    for (int i = 0; i < 8; ++i)
        xml += "<button " + Pos(6, 6 + 34 * i, 90, 28) + ">Item " + std::to_string(i) + "</button>";
    xml += "</scrollview>";
    xml += "<div name='panel' " + Pos(ColumnX(4) + 20, RowY(13) + 92, 60, 120) + " colorBkgnd='#ffffff'/>";
    xml += "</root></SKEIN>";
    return xml;
}

class GalleryTest : public HostCtrlTest {
protected:
    // Every name with a state suffix gets its look; disabled ones came so from the layout.
    void ApplyStates(HostDriver& driver)
    {
        for (const char* stem : {"button", "imgbtn", "check", "checked", "radio", "chosen", "toggle", "link"}) {
            SetState(driver, stem, "_h", kStateHover);
            SetState(driver, stem, "_p", kStateHover | kStatePushed);
        }
        for (const char* stem : {"button", "imgbtn"}) {
            if (SWindow* window = Child(driver, stem, "_c"))
                window->SetCheckedState(TRUE);
        }
        // Part looks come from the mouse, sent to each control itself.
        SSliderBar* hover = Find<SSliderBar>(driver, "slider_h");
        SSliderBar* pushed = Find<SSliderBar>(driver, "slider_p");
        ASSERT_TRUE(hover && pushed);
        hover->SendUiMessage(WM_MOUSEMOVE, 0, CentreOf(hover->PartRect(SSliderBar::kPartThumb)));
        pushed->SendUiMessage(WM_LBUTTONDOWN, MK_LBUTTON, CentreOf(pushed->PartRect(SSliderBar::kPartThumb)));
        for (const char* name : {"sbar_h", "sbar_p"}) {
            SWindow* bar = Find<SScrollBar>(driver, name);
            ASSERT_NE(nullptr, bar);
            RECT rect = bar->GetWindowRect();
            LPARAM arrow = MAKELPARAM(rect.right - 8, rect.top + 8);
            bar->SendUiMessage(WM_MOUSEMOVE, 0, arrow);
            if (name[5] == 'p')
                bar->SendUiMessage(WM_LBUTTONDOWN, MK_LBUTTON, arrow);
        }
        STabCtrl* tab = driver.Find<STabCtrl>(L"tab");
        ASSERT_NE(nullptr, tab);
        RECT header = {};
        tab->GetItemRect(1, &header);
        tab->SendUiMessage(WM_MOUSEMOVE, 0, CentreOf(header));

        SScrollView* view = driver.Find<SScrollView>(L"view");
        ASSERT_NE(nullptr, view);
        view->SendUiMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 60));
        RECT vertical = view->BarRect(TRUE);
        view->SendUiMessage(WM_NCMOUSEMOVE, 0, MAKELPARAM(vertical.left + 8, vertical.bottom - 8));
        // The panel shows both bars, its vertical thumb held.
        SPanel* panel = driver.Find<SPanel>(L"panel");
        ASSERT_NE(nullptr, panel);
        for (BOOL vertical : {TRUE, FALSE}) {
            panel->SetScrollRangeOf(vertical, 0, 99, FALSE);
            const_cast<SCROLLINFO&>(panel->ScrollInfoOf(vertical)).nPage = 30;
            panel->SetScrollPosition(vertical, 20, FALSE);
        }
        panel->SetScrollBarShown(kPanelBarVert | kPanelBarHorz, TRUE);
        RECT thumb = SScrollBarGeometry(panel->ScrollInfoOf(TRUE), panel->BarRect(TRUE), true, panel->ArrowSize())
                         .PartRect(SB_THUMBTRACK);
        panel->SendUiMessage(WM_NCLBUTTONDOWN, 0, CentreOf(thumb));
    }

    static LPARAM CentreOf(const RECT& rect)
    {
        return MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    }
    static SWindow* Child(HostDriver& driver, const char* stem, const char* suffix)
    {
        std::string name = std::string(stem) + suffix;
        return driver.Child(std::wstring(name.begin(), name.end()).c_str());
    }
    template <class T>
    static T* Find(HostDriver& driver, const char* name)
    {
        return dynamic_cast<T*>(Child(driver, name, ""));
    }
    static void SetState(HostDriver& driver, const char* stem, const char* suffix, DWORD state)
    {
        if (SWindow* window = Child(driver, stem, suffix))
            window->ChangeState(state, 0, TRUE);
    }
};

// Two controls whose looks in one area are equal or not.
struct LookPair {
    const wchar_t* first;
    const wchar_t* second;
    RECT area; // in each control: right and bottom edges of 0 or less count from its right or bottom
    bool same;
};

const RECT kWhole = {0, 0, 0, 0}, kBox = {0, 2, 16, 18}, kArrow = {-16, 0, 0, 0};
const RECT kThumb = {33, 2, 49, 18}; // at 40 of 0..100 on an 84-pixel travel

// clang-format off
const LookPair kLookPairs[] = {
    {L"button_n", L"button_h", kWhole, false}, {L"button_h", L"button_p", kWhole, false},
    {L"button_p", L"button_c", kWhole, true},  {L"button_n", L"button_d", kWhole, false},
    {L"imgbtn_n", L"imgbtn_h", kWhole, false}, {L"imgbtn_p", L"imgbtn_c", kWhole, true},
    {L"check_n", L"check_h", kBox, false},     {L"check_h", L"check_p", kBox, false},
    {L"check_n", L"check_c", kBox, false},     {L"check_n", L"check_d", kBox, false},
    {L"check_c", L"checked_n", kWhole, true},  {L"checked_n", L"checked_h", kBox, false},
    {L"checked_h", L"checked_p", kBox, false}, {L"checked_n", L"checked_d", kBox, false},
    {L"radio_n", L"radio_h", kBox, false},     {L"radio_h", L"radio_p", kBox, false},
    {L"radio_n", L"radio_c", kBox, false},     {L"radio_n", L"radio_d", kBox, false},
    {L"radio_c", L"chosen_n", kWhole, true},   {L"chosen_n", L"chosen_h", kBox, false},
    {L"chosen_h", L"chosen_p", kBox, false},   {L"chosen_n", L"chosen_d", kBox, false},
    {L"toggle_n", L"toggle_h", kWhole, false}, {L"toggle_h", L"toggle_p", kWhole, false},
    {L"toggle_n", L"toggle_c", kWhole, false}, {L"toggle_n", L"toggle_d", kWhole, true}, // no disabled look
    {L"slider_n", L"slider_h", kThumb, false}, {L"slider_h", L"slider_p", kThumb, false},
    {L"slider_n", L"slider_d", kWhole, true},  // nor here
    {L"sbar_n", L"sbar_h", kArrow, false},     {L"sbar_h", L"sbar_p", kArrow, false},
    {L"sbar_n", L"sbar_d", kWhole, false},
};
// clang-format on

// The area of a look pair inside the window rectangle.
RECT AreaIn(const RECT& window, const RECT& area)
{
    return RECT{area.left < 0 ? window.right + area.left : window.left + area.left,
                area.top < 0 ? window.bottom + area.top : window.top + area.top,
                area.right <= 0 ? window.right + area.right : window.left + area.right,
                area.bottom <= 0 ? window.bottom + area.bottom : window.top + area.bottom};
}

bool IsDark(UINT32 pixel)
{
    return (pixel & 0xFF) < 0x60 && ((pixel >> 8) & 0xFF) < 0x60 && ((pixel >> 16) & 0xFF) < 0x60;
}

bool IsOrange(UINT32 pixel) // the link's hover colour #d04a00 and its blends with the background
{
    return ((pixel >> 16) & 0xFF) > 0xB0 && ((pixel >> 8) & 0xFF) < 0xA0 && (pixel & 0xFF) < 0x60;
}

TEST_F(GalleryTest, EveryControlInEveryLook)
{
    HostDriver driver = Open(GalleryLayout());
    ASSERT_NE(nullptr, driver.Hwnd());
    ApplyStates(driver);
    Shot shot = driver.Capture();
    ASSERT_EQ(kWidth, shot.width);
    ASSERT_EQ(kHeight, shot.height);
    SaveBesideProgram(shot, L"gallery.png");

    for (const LookPair& pair : kLookPairs) {
        SCOPED_TRACE(testing::Message() << std::wstring(pair.first) << " / " << std::wstring(pair.second));
        ASSERT_TRUE(driver.Child(pair.first) && driver.Child(pair.second));
        RECT first = AreaIn(driver.RectOf(pair.first), pair.area);
        RECT second = AreaIn(driver.RectOf(pair.second), pair.area);
        EXPECT_EQ(pair.same, shot.SameAs(first, POINT{second.left, second.top}));
    }

    // The built-in button face and the fill of the bars.
    const UINT32 face = Px(RGB(0xFB, 0xFB, 0xFB)), fill = Px(RGB(0x2F, 0x6F, 0xD0));
    EXPECT_EQ(face, shot.At(driver.At(L"button_n", 6, 14)));
    EXPECT_EQ(fill, shot.At(driver.At(L"prog40", 10, 10)));
    EXPECT_NE(fill, shot.At(driver.At(L"prog40", 90, 10)));
    EXPECT_EQ(0, shot.CountColor(driver.RectOf(L"prog0"), fill));
    EXPECT_EQ(fill, shot.At(driver.At(L"prog100", -6, 5)));
    EXPECT_NE(fill, shot.At(driver.At(L"progv", 5, -6)));
    EXPECT_EQ(Px(RGB(255, 0, 0)), shot.At(driver.At(L"icon", 8, 8)));

    // Text: black on an enabled button, none on the disabled one (grey); the link's own colours.
    EXPECT_GT(shot.Count(driver.RectOf(L"button_n"), IsDark), 10);
    EXPECT_EQ(0, shot.Count(driver.RectOf(L"button_d"), IsDark));
    EXPECT_GT(shot.Count(driver.RectOf(L"link_h"), IsOrange), 10);
    EXPECT_EQ(0, shot.Count(driver.RectOf(L"link_n"), IsOrange));

    // Tab headers: selected, hovered and plain look different.
    STabCtrl* tab = driver.Find<STabCtrl>(L"tab");
    UINT32 header[3];
    for (int i = 0; i < 3; ++i) {
        RECT item = {};
        ASSERT_TRUE(tab->GetItemRect(i, &item));
        header[i] = shot.At(item.left + 4, (item.top + item.bottom) / 2);
    }
    EXPECT_NE(header[0], header[1]);
    EXPECT_NE(header[1], header[2]);
    EXPECT_NE(header[0], header[2]);
}

} // namespace
} // namespace hosttest
