// The program's widgets on a real host window built from a layout with image skins: the values
// the device poll pushes show on screen, and pushing them again unchanged leaves nothing to
// repaint.
#include "host_test_env.h"
#include "imgdecoder_test_fixtures.h"
#include "interface/SImgDecoder-i.h"
#include "widgets/SAppControls.h"

namespace hosttest {
namespace {

const int kFrame = 30;

// Colour of frame i of the hat's nine-frame strip and of the lamp's two frames.
fixtures::Rgba HatColour(int frame)
{
    return fixtures::Rgba{static_cast<uint8_t>(frame * 28), static_cast<uint8_t>(255 - frame * 28), 0x40, 0xFF};
}
const fixtures::Rgba kLampOff = {0x40, 0x40, 0x40, 0xFF};
const fixtures::Rgba kLampLit = {0xFF, 0xFF, 0x00, 0xFF};

UINT32 Stored(fixtures::Rgba colour)
{
    return Px(RGB(colour.r, colour.g, colour.b));
}

// A horizontal strip of solid kFrame x kFrame frames as PNG bytes.
std::string Strip(const std::vector<fixtures::Rgba>& frames)
{
    int width = static_cast<int>(frames.size()) * kFrame;
    std::vector<fixtures::Rgba> pixels;
    for (int y = 0; y < kFrame; ++y) {
        for (int x = 0; x < width; ++x)
            pixels.push_back(frames[x / kFrame]);
    }
    fixtures::Bytes png = fixtures::MakePng(width, kFrame, 6, 8, fixtures::Rgba8Rows(pixels));
    return std::string(png.begin(), png.end());
}

const char kUiDef[] =
    "<uidef><font name='main' face='Tahoma' size='12'/><skin>"
    "<imglist name='skinpov' src='img:pov' states='9'/>"
    "<imglist name='lamp' src='img:lamp' states='2'/>"
    "<colorrect name='rest' normal='#0000ff'/><colorrect name='lit' normal='#00ff00'/>"
    "<colorrect name='barbk' normal='#202020'/><colorrect name='barpos' normal='#ff0000'/>"
    "</skin></uidef>";

const char kLayout[] =
    "<SKEIN width='200' height='130'><root colorBkgnd='#ffffff'>"
    "<AixsCtrl name='axis' pos='10,10,@72,@72'/>"
    "<PovCtrlEx2 name='PovEx1' pos='90,10,@30,@30' skin='skinpov'/>"
    "<LampCtrl name='lamp1' pos='130,10,@30,@30' skin='lamp' colorText='#000000'/>"
    "<progressExV name='bar' pos='170,10,@10,@100' vertical='1' min='0' max='255' bkgndSkin='barbk' "
    "posSkin='barpos'/>"
    "<mybutton name='btn' pos='10,90,@60,@24' skin='rest' skin2='lit'/>"
    "</root></SKEIN>";

const char kIndex[] =
    "<resource><UIDEF><file name='xml_init' path='uidef\\init.xml'/></UIDEF>"
    "<LAYOUT><file name='widgets' path='layout\\widgets.xml'/></LAYOUT>"
    "<IMG><file name='pov' path='img\\pov.png'/><file name='lamp' path='img\\lamp.png'/></IMG></resource>";

class WidgetHostTest : public HostTest {
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        IImgDecoderFactory* decoders = nullptr;
        ASSERT_TRUE(CreateImgDecoderFactory_PNG(&decoders));
        m_render->SetImgDecoderFactory(decoders);
        decoders->Release();
        RegisterAppControls(*m_app);
        std::vector<fixtures::Rgba> hat;
        for (int i = 0; i < 9; ++i)
            hat.push_back(HatColour(i));
        m_folder.Write(L"img\\pov.png", Strip(hat));
        m_folder.Write(L"img\\lamp.png", Strip({kLampOff, kLampLit}));
        m_folder.Write(L"uidef\\init.xml", kUiDef);
        m_folder.Write(L"layout\\widgets.xml", kLayout);
        m_folder.Write(L"uires.idx", kIndex);
        SRefPtr<IResProvider> provider(new SResProviderFiles, false);
        ASSERT_TRUE(provider->Init(m_folder.Path().c_str()));
        m_app->AddProvider(provider, L"uidef:xml_init");
    }

    // Opens the host and finds the widgets as the device handlers do.
    HWND Open(SHostWnd& host)
    {
        HWND hwnd = CreatePopup(host);
        axis = host.FindChildByName2<SAixsCtrl>(SStringW(L"axis"));
        hat = host.FindChildByName2<SPovCtrlEx>(SStringW(L"PovEx1"));
        lamp = host.FindChildByName2<SLampCtrl>(SStringW(L"lamp1"));
        bar = host.FindChildByName2<SProgressExV>(SStringW(L"bar"));
        EXPECT_TRUE(axis && hat && lamp && bar);
        return hwnd;
    }

    // One poll tick's pushes: axes, hat, the first button and the throttle.
    void Push(int x, int y, int pov, bool pressed, int throttle)
    {
        axis->SetAxisXY(x, y);
        hat->SetPovValue(pov);
        lamp->lampText = L"1";
        lamp->SetLampState(pressed ? 1 : 0);
        bar->SetClampedValue(throttle >> 8);
    }

    UINT32 PixelAt(HWND hwnd, int x, int y)
    {
        int width = 0, height = 0;
        std::vector<UINT32> pixels = Capture(hwnd, width, height);
        return pixels[y * width + x] | 0xFF000000;
    }

    static bool NeedsPaint(HWND hwnd) { return ::GetUpdateRect(hwnd, nullptr, FALSE) != FALSE; }

    SAixsCtrl* axis = nullptr;
    SPovCtrlEx* hat = nullptr;
    SLampCtrl* lamp = nullptr;
    SProgressExV* bar = nullptr;
};

} // namespace

TEST_F(WidgetHostTest, PushedValuesShowOnTheHostWindow)
{
    RecordingHost host(L"LAYOUT:widgets");
    HWND hwnd = Open(host);
    ASSERT_NE(nullptr, hwnd);
    EXPECT_STREQ(L"PovCtrlEx2", hat->XmlClassName());

    Push(32767, 32767, 9000, true, 65535);
    Pump();
    int width = 0, height = 0;
    std::vector<UINT32> pixels = Capture(hwnd, width, height);
    auto at = [&](int x, int y) { return pixels[y * width + x] | 0xFF000000; };
    EXPECT_EQ(Px(0), at(10 + 35, 10 + 35));         // cross centre
    EXPECT_EQ(Px(0), at(10 + 28, 10 + 35));         // left end of its bar
    EXPECT_EQ(Px(0xFFFFFF), at(10 + 27, 10 + 35));
    EXPECT_EQ(Stored(HatColour(2)), at(105, 25));   // right
    EXPECT_EQ(Stored(kLampLit), at(132, 12));
    EXPECT_EQ(Px(RGB(255, 0, 0)), at(175, 12));     // full bar
    EXPECT_EQ(Px(RGB(0, 0, 255)), at(12, 92));      // button at rest

    // no device: centre, hat centred, lamp off, bar empty
    Push(32767, 32767, -1, false, 0);
    Pump();
    EXPECT_EQ(Stored(HatColour(8)), PixelAt(hwnd, 105, 25));
    EXPECT_EQ(Stored(kLampOff), PixelAt(hwnd, 132, 12));
    EXPECT_EQ(Px(RGB(0x20, 0x20, 0x20)), PixelAt(hwnd, 175, 100));

    // the mouse over the button shows its second skin, and a click is a command by name
    ::SendMessageW(hwnd, WM_MOUSEMOVE, 0, Point(20, 100));
    Pump();
    EXPECT_EQ(Px(RGB(0, 255, 0)), PixelAt(hwnd, 12, 92));
    ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, Point(20, 100));
    ::SendMessageW(hwnd, WM_LBUTTONUP, 0, Point(20, 100));
    EXPECT_EQ(1, host.Count(EventCmd::EventID, L"btn"));
    ::SendMessageW(hwnd, WM_MOUSEMOVE, 0, Point(190, 125));
    Pump();
    EXPECT_EQ(Px(RGB(0, 0, 255)), PixelAt(hwnd, 12, 92));
    host.DestroyHost();
}

TEST_F(WidgetHostTest, UnchangedPushesLeaveNothingToRepaint)
{
    RecordingHost host(L"LAYOUT:widgets");
    HWND hwnd = Open(host);
    ASSERT_NE(nullptr, hwnd);
    Push(30000, 40000, 4500, true, 40000);
    Pump();
    ASSERT_FALSE(NeedsPaint(hwnd));

    for (int tick = 0; tick < 10; ++tick) {
        Push(30000, 40000, 4500, true, 40000);
        Push(30010, 39990, 4500, true, 40050); // jitter below one pixel or one bar step
        EXPECT_FALSE(NeedsPaint(hwnd)) << tick;
    }
    const struct {
        int x, y, pov;
        bool pressed;
        int throttle;
    } changes[] = {
        {32767, 40000, 4500, true, 40000},
        {30000, 40000, 9000, true, 40000},
        {30000, 40000, 4500, false, 40000},
        {30000, 40000, 4500, true, 50000},
    };
    for (const auto& c : changes) {
        Push(c.x, c.y, c.pov, c.pressed, c.throttle);
        EXPECT_TRUE(NeedsPaint(hwnd));
        Pump();
        Push(30000, 40000, 4500, true, 40000);
        Pump();
        EXPECT_FALSE(NeedsPaint(hwnd));
    }
    host.DestroyHost();
}

} // namespace hosttest
