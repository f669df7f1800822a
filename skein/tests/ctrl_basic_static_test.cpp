// Labels with their own wrapping, links, group frames and lines; the classes' XML names.
#include "ctrl_basic_test_env.h"

using namespace ctrltest;

namespace {

// Records the runs a label hands to DrawTextLine.
class RecordingStatic : public SStatic {
public:
    struct Run {
        std::wstring text;
        RECT rect;
    };
    void DrawTextLine(IRenderTarget*, const wchar_t* text, int first, int count, RECT* rect, UINT) override
    {
        runs.push_back(Run{std::wstring(text + first, count), *rect});
    }
    void Wrap(IRenderTarget* rt, const wchar_t* text, RECT rect, UINT format)
    {
        RenderText(rt, text, static_cast<int>(wcslen(text)), &rect, format);
    }
    std::vector<Run> runs;
};

// Keeps what the link would hand to the shell.
class RecordingLink : public SLink {
public:
    std::vector<std::wstring> opened;

protected:
    void OpenTarget(const SStringW& target) override
    {
        if (!target.IsEmptyText())
            opened.push_back(target.c_str());
    }
};

class CtrlStaticTest : public CtrlTest {
protected:
    template <class T>
    T* AddOwn(const wchar_t* element, RECT rect)
    {
        pugi::xml_document document;
        EXPECT_TRUE(document.load_string(element));
        T* child = new T;
        m_root->LinkChild(child);
        child->LoadFromXml(document.first_child());
        child->SetFixedRect(&rect);
        return child;
    }
    SIZE Measure(const wchar_t* text)
    {
        SIZE size{0, 0};
        m_target->MeasureText(text, static_cast<int>(wcslen(text)), &size);
        return size;
    }
    void SetUp() override
    {
        CtrlTest::SetUp();
        BuildFromXml(L"<window/>");
        m_target = Render();
        ASSERT_TRUE(m_target);
    }
    SRefPtr<IRenderTarget> m_target;
};

} // namespace

TEST_F(CtrlStaticTest, EveryBasicControlIsCreatedByItsXmlName)
{
    struct Case {
        const wchar_t* tag;
        const wchar_t* alsoMatches;
        const wchar_t* neverMatches;
    };
    const Case cases[] = {
        {L"text", L"window", L"button"},     {L"link", L"window", L"text"},     {L"group", L"window", L"text"},
        {L"hr", L"window", L"text"},         {L"button", L"window", L"imgbtn"}, {L"imgbtn", L"button", L"check"},
        {L"check", L"window", L"radio"},     {L"radio", L"window", L"check"},   {L"toggle", L"window", L"check"},
        {L"img", L"window", L"icon"},        {L"animateimg", L"window", L"img"}, {L"icon", L"window", L"img"},
        {L"progress", L"window", L"sliderbar"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tag);
        IObject* created = m_app->CreateObject(SObjectInfo(SStringW(c.tag), kKindWindow));
        ASSERT_NE(nullptr, created);
        EXPECT_STREQ(c.tag, created->XmlClassName());
        EXPECT_TRUE(created->MatchesClassName(c.tag));
        EXPECT_TRUE(created->MatchesClassName(c.alsoMatches));
        EXPECT_FALSE(created->MatchesClassName(c.neverMatches));
        static_cast<SWindow*>(created)->Release();
    }
}

TEST_F(CtrlStaticTest, MultiLineTextBreaksAtEscapesLineFeedsAndTheRightEdge)
{
    RecordingStatic* label = AddOwn<RecordingStatic>(L"<text multiLines='1' interHeight='0'/>", RECT{0, 0, 200, 100});
    int line = Measure(L"A").cy;

    label->Wrap(m_target, L"a\\nb", RECT{0, 0, 200, 100}, 0);
    ASSERT_EQ(2u, label->runs.size());
    EXPECT_EQ(L"a", label->runs[0].text);
    EXPECT_EQ(L"b", label->runs[1].text);
    EXPECT_EQ(line, label->runs[1].rect.top);  // interHeight 0: directly below
    EXPECT_EQ(2 * line, label->runs[1].rect.bottom);

    label->runs.clear();
    label->Wrap(m_target, L"x\ny", RECT{0, 0, 200, 100}, 0);
    ASSERT_EQ(2u, label->runs.size());
    EXPECT_EQ(L"y", label->runs[1].text);

    // A word wider than the label breaks between characters; each run fits.
    label->runs.clear();
    int width = Measure(L"WWW").cx + 1;
    label->Wrap(m_target, L"WWWWWWW", RECT{0, 0, width, 100}, 0);
    ASSERT_EQ(3u, label->runs.size());
    EXPECT_EQ(L"WWW", label->runs[0].text);
    EXPECT_EQ(L"W", label->runs[2].text);

    // A character wider than the label still shows, one per line.
    label->runs.clear();
    label->Wrap(m_target, L"WW", RECT{0, 0, 2, 100}, 0);
    ASSERT_EQ(2u, label->runs.size());
    EXPECT_EQ(L"W", label->runs[0].text);
}

TEST_F(CtrlStaticTest, WrappingStopsBelowTheBottomAndMeasuresTheBlock)
{
    RecordingStatic* label = AddOwn<RecordingStatic>(L"<text multiLines='1' interHeight='2'/>", RECT{0, 0, 200, 100});
    int line = Measure(L"A").cy;
    int width = Measure(L"WW").cx + 1;
    // Lines start at 0, line+2, 2(line+2)...; the walk stops once a new line starts below the bottom.
    int bottom = 2 * (line + 2) - 1;
    label->Wrap(m_target, L"WWWWWWWWWW", RECT{0, 0, width, bottom}, 0);
    EXPECT_EQ(2u, label->runs.size());

    label->runs.clear();
    RECT measured{0, 0, 500, 500};
    label->Wrap(m_target, L"WW\\nW", measured, DT_CALCRECT);
    EXPECT_TRUE(label->runs.empty());

    // Vertical centring measures first, then draws the block in the middle.
    label->runs.clear();
    label->Wrap(m_target, L"a\\nb", RECT{0, 0, 200, 100}, DT_VCENTER);
    ASSERT_EQ(2u, label->runs.size());
    int block = 2 * line + 2;
    EXPECT_EQ((100 - block) / 2, label->runs[0].rect.top);
    label->runs.clear();
    label->Wrap(m_target, L"a\\nb", RECT{0, 0, 200, 100}, DT_BOTTOM);
    EXPECT_EQ(100 - line, label->runs[1].rect.top);
}

TEST_F(CtrlStaticTest, LabelsAreMessageTransparentAndTakeTheirAttributes)
{
    SStatic* label = AddOwn<SStatic>(L"<text multiLines='0x1' interHeight='7'/>", RECT{0, 0, 50, 20});
    EXPECT_TRUE(label->GetOwnFlags() & kWndMsgTransparent);
    EXPECT_EQ(S_FALSE, label->ApplyAttribute(SStringW(L"MULTILINES"), SStringW(L"0"), FALSE));
    EXPECT_EQ(E_FAIL, label->ApplyAttribute(SStringW(L"noSuchAttribute"), SStringW(L"1"), FALSE));
}

TEST_F(CtrlStaticTest, LinkReactsOnlyOverItsDrawnText)
{
    RecordingLink* link =
        AddOwn<RecordingLink>(L"<link name='l' href='https://example.test/'>go</link>", RECT{10, 10, 190, 40});
    Render();
    RECT hit = link->GetLinkRect();
    SIZE text = Measure(L"go");
    EXPECT_EQ(10, hit.left);  // left aligned by default
    EXPECT_EQ(text.cx, hit.right - hit.left);

    // Beside the text: the press is ignored and the release only drops the capture.
    int beside = hit.right + 20;
    link->SendUiMessage(WM_LBUTTONDOWN, 0, At(beside, 20));
    EXPECT_EQ(0u, m_ctrl.capture);
    m_ctrl.capture = link->GetHandle();
    link->SendUiMessage(WM_LBUTTONUP, 0, At(beside, 20));
    EXPECT_EQ(0u, m_ctrl.capture);
    EXPECT_TRUE(link->opened.empty());
    EXPECT_EQ(0, m_ctrl.Count(EventCmd::EventID));

    // Over the text: the command fires, then the target is opened.
    int x = hit.left + 2, y = (hit.top + hit.bottom) / 2;
    Click(link, x, y);
    EXPECT_EQ(1, m_ctrl.Count(EventCmd::EventID, L"l"));
    ASSERT_EQ(1u, link->opened.size());
    EXPECT_EQ(L"https://example.test/", link->opened[0]);

    // Hover follows the text rectangle.
    link->SendUiMessage(WM_MOUSEMOVE, 0, At(x, y));
    EXPECT_TRUE(link->GetStateFlags() & kStateHover);
    link->SendUiMessage(WM_MOUSEMOVE, 0, At(beside, y));
    EXPECT_FALSE(link->GetStateFlags() & kStateHover);
}

TEST_F(CtrlStaticTest, LinkWithoutHrefOpensOnlyAnAddressText)
{
    RecordingLink* address = AddOwn<RecordingLink>(L"<link>http://example.test</link>", RECT{0, 0, 200, 30});
    RecordingLink* program = AddOwn<RecordingLink>(L"<link>notepad</link>", RECT{0, 40, 200, 70});
    Render();
    for (RecordingLink* link : {address, program}) {
        RECT hit = link->GetLinkRect();
        Click(link, hit.left + 1, hit.top + 1);
    }
    ASSERT_EQ(1u, address->opened.size());
    EXPECT_EQ(L"http://example.test", address->opened[0]);
    EXPECT_TRUE(program->opened.empty());
}

TEST_F(CtrlStaticTest, GroupFrameDropsBelowItsCaptionAndBreaksAroundIt)
{
    BuildFromXml(L"<window colorBkgnd='#ffffff'>"
                 L"<group name='bare' pos='0,0,@90,@90' colorLine1='#00ff00' colorLine2='#0000ff' round='0'/>"
                 L"<group name='titled' pos='100,0,@90,@90' colorLine1='#00ff00' colorLine2='#0000ff' round='0'"
                 L" align='left' font='size:16'>Ab<window name='inside' pos='0,0,@10,@10'/></group>"
                 L"</window>");
    SRefPtr<IRenderTarget> rt = Render();
    const DWORD blue = Px(0xFF0000), green = Px(0x00FF00), white = Px(0xFFFFFF);
    // Without text: outer line on the top row, inner line one pixel in.
    EXPECT_EQ(blue, rt->GetPixel(45, 0));
    EXPECT_EQ(green, rt->GetPixel(45, 1));
    EXPECT_EQ(blue, rt->GetPixel(0, 45));
    // With text: the frame starts half a text height lower, and not behind the caption.
    SIZE text{0, 0};
    SWindow* titled = Find<SGroup>(L"titled");
    ASSERT_NE(nullptr, titled);
    SPaintState saved;
    titled->BeginPaintState(rt, &saved);
    rt->MeasureText(L"Ab", 2, &text);
    titled->EndPaintState(rt, &saved);
    int frameTop = text.cy / 2;
    EXPECT_EQ(white, rt->GetPixel(180, 0));
    EXPECT_EQ(blue, rt->GetPixel(180, frameTop));
    EXPECT_EQ(white, rt->GetPixel(100 + 20 + text.cx / 2, frameTop));  // the caption's gap
    // Children start below the header (20 dp).
    RECT area;
    titled->GetChildAreaRect(&area);
    EXPECT_EQ(20, area.top);
    EXPECT_EQ(20, Find<SWindow>(L"inside")->GetWindowRect().top);
}

TEST_F(CtrlStaticTest, LineAttributesAndDrawing)
{
    SLine* line = AddOwn<SLine>(L"<hr/>", RECT{10, 10, 60, 60});
    struct Case {
        const wchar_t* name;
        const wchar_t* value;
        HRESULT result;
    };
    const Case cases[] = {
        {L"lineStyle", L"dash", S_FALSE},  {L"lineStyle", L"Dash", E_FAIL}, {L"mode", L"tilt", S_FALSE},
        {L"mode", L"diagonal", E_FAIL},    {L"lineSize", L"0x2", S_FALSE},  {L"colorLine", L"", E_FAIL},
        {L"lineColor", L"#ff0000", S_FALSE},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.result, line->ApplyAttribute(SStringW(c.name), SStringW(c.value), TRUE)) << c.name << c.value;

    BuildFromXml(L"<window colorBkgnd='#ffffff'>"
                 L"<hr pos='10,10,@50,@50' lineColor='#ff0000' lineSize='0x2'/>"
                 L"<hr pos='100,10,@50,@50' lineColor='#ff0000' mode='vertical'/>"
                 L"</window>");
    SRefPtr<IRenderTarget> rt = Render();
    const DWORD red = Px(0x0000FF), white = Px(0xFFFFFF);
    EXPECT_EQ(red, rt->GetPixel(30, 10));
    EXPECT_EQ(white, rt->GetPixel(40, 25));
    EXPECT_EQ(red, rt->GetPixel(100, 40));
    EXPECT_EQ(white, rt->GetPixel(120, 10));
}
