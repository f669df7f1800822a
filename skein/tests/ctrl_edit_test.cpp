// The edit box in a real host: its cue text appears only while the box is empty and unfocused,
// aligned by the box's own style word, and the first click only focuses and selects.
#include "ctrl_text_test_env.h"

namespace hosttest {
namespace {

class EditTest : public TextCtrlTest {};

const COLORREF kCueRed = RGB(255, 0, 0);

bool IsReddish(UINT32 pixel)
{
    return ((pixel >> 16) & 0xFF) > 0xC0 && (pixel & 0xFF) < 0x80 && ((pixel >> 8) & 0xFF) < 0x80;
}

// The horizontal middle of the red pixels in rect, -1 when there are none.
int RedCentre(const Shot& shot, const RECT& rect)
{
    long sum = 0;
    int count = 0;
    for (int y = rect.top; y < rect.bottom; ++y) {
        for (int x = rect.left; x < rect.right; ++x) {
            if (IsReddish(shot.At(x, y))) {
                sum += x;
                ++count;
            }
        }
    }
    return count ? static_cast<int>(sum / count) : -1;
}

TEST_F(EditTest, CueTextShowsOnlyWhileEmptyAndUnfocused)
{
    HostDriver driver = Open(Layout("<edit name='ed' pos='10,10,@300,@30' cueText='Search' cueColor='#ff0000'/>"
                                    "<edit name='other' pos='10,60,@300,@30'/>"));
    SEdit* edit = driver.Find<SEdit>(L"ed");
    ASSERT_TRUE(edit && edit->TextServices());
    RECT rect = edit->GetWindowRect();
    EXPECT_GT(driver.Capture().Count(rect, IsReddish), 20);

    edit->TakeFocus();
    driver.Pump();
    EXPECT_EQ(0, driver.Capture().Count(rect, IsReddish));

    Type(driver, L"abc");
    driver.Child(L"other")->TakeFocus();
    driver.Pump();
    Shot typed = driver.Capture();
    EXPECT_EQ(0, typed.Count(rect, IsReddish)); // never over text
    EXPECT_GT(typed.Count(rect, [](UINT32 pixel) { return (pixel & 0xFFFFFF) != 0xFFFFFF; }), 20);

    edit->AssignText(SStringW());
    driver.Pump();
    EXPECT_GT(driver.Capture().Count(rect, IsReddish), 20);
    EXPECT_EQ(kCueRed, edit->CueColor() & 0xFFFFFF);
}

TEST_F(EditTest, CueFollowsTheBoxAlignmentNotTheStyleAlignment)
{
    HostDriver driver = Open(Layout(
        "<edit name='left' pos='10,0,@300,@30' cueText='Cue' cueColor='#ff0000'/>"
        "<edit name='centre' pos='10,40,@300,@30' cueText='Cue' cueColor='#ff0000' align='center'/>"
        "<edit name='right' pos='10,80,@300,@30' cueText='Cue' cueColor='#ff0000' align='right'/>"));
    ASSERT_TRUE(driver.Find<SEdit>(L"left") && driver.Find<SEdit>(L"right"));
    // The window style's own alignment is ignored for the cue.
    driver.Find<SEdit>(L"left")->GetStyle().ApplyAttribute(SStringW(L"align"), SStringW(L"right"), FALSE);
    driver.Find<SEdit>(L"left")->InvalidateArea();
    driver.Pump();
    Shot shot = driver.Capture();
    int left = RedCentre(shot, driver.RectOf(L"left"));
    int centre = RedCentre(shot, driver.RectOf(L"centre"));
    int right = RedCentre(shot, driver.RectOf(L"right"));
    EXPECT_GT(left, 10);
    EXPECT_LT(left, 60);
    EXPECT_NEAR(160, centre, 10);
    EXPECT_GT(right, 260);
    SaveBesideProgram(shot, L"edit_cue.png");
}

TEST_F(EditTest, AnEmptyCueColourIsRefused)
{
    HostDriver driver = Open(Layout("<edit name='ed' pos='10,10,@300,@30' cueColor='#00ff00'/>"));
    SEdit* edit = driver.Find<SEdit>(L"ed");
    ASSERT_TRUE(edit);
    EXPECT_EQ(E_FAIL, edit->ApplyAttribute(SStringW(L"cueColor"), SStringW(L""), FALSE));
    EXPECT_EQ(RGB(0, 255, 0), edit->CueColor() & 0xFFFFFF);
    DWORD bits = 0;
    edit->TextHost()->TxGetPropertyBits(TXTBIT_RICHTEXT, &bits);
    EXPECT_EQ(0u, bits); // plain text
}

TEST_F(EditTest, TheFirstClickOnlyFocusesAndSelectsTheText)
{
    HostDriver driver = Open(Layout("<edit name='ed' pos='10,10,@300,@30'>Hello</edit>"));
    SEdit* edit = driver.Find<SEdit>(L"ed");
    ASSERT_TRUE(edit && edit->TextServices());
    POINT inText = {14, 25};
    driver.Click(inText);
    EXPECT_TRUE(edit->HoldsFocus());
    std::pair<DWORD, DWORD> all = Selection(edit);
    EXPECT_EQ(0u, all.first);
    EXPECT_GE(all.second, 5u); // the services may count the closing paragraph mark
    driver.Click(inText); // now the click reaches the services: the caret goes to the point
    std::pair<DWORD, DWORD> selection = Selection(edit);
    EXPECT_EQ(selection.first, selection.second);
    EXPECT_LT(selection.first, 2u);
}

} // namespace
} // namespace hosttest
