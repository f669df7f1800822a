// A host built through the program's start-up from a layout in a password-protected archive
// packed by the host packer: its pixels (WM_PRINT) show the archive's skins, image and text
// where the layout puts them, and a click on its button reaches the host as a command by name.
#include <memory>
#include "AppStartup.h"
#include "host_test_env.h"

namespace {

using namespace hosttest;

class HostZipTest : public HostTest {
protected:
    void SetUp() override
    {
        SAppStartupOptions options;
        options.archiveName = L"hostzip_fixture.zip";
        m_startup.reset(new SAppStartup(GetModuleHandleW(nullptr), options));
        ASSERT_TRUE(m_startup->ArchiveLoaded());
    }
    void TearDown() override { m_startup.reset(); }

    static int DarkPixels(const std::vector<UINT32>& pixels, int width, const RECT& area)
    {
        int dark = 0;
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x)
                dark += (pixels[y * width + x] & 0xFF) < 0x80;
        }
        return dark;
    }

    std::unique_ptr<SAppStartup> m_startup;
};

TEST_F(HostZipTest, LayoutFromArchivePaintsSkinsImageAndText)
{
    RecordingHost host(L"LAYOUT:main");
    HWND hwnd = CreatePopup(host);
    ASSERT_NE(nullptr, hwnd);
    Pump();
    int width = 0, height = 0;
    std::vector<UINT32> pixels = Capture(hwnd, width, height);
    ASSERT_EQ(200, width);
    ASSERT_EQ(120, height);
    auto at = [&](int x, int y) { return pixels[y * width + x] & 0xFFFFFF; };
    EXPECT_EQ(Px(RGB(255, 0, 0)) & 0xFFFFFF, at(12, 12));  // colour skin with a named colour
    EXPECT_EQ(Px(RGB(255, 0, 0)) & 0xFFFFFF, at(49, 39));
    EXPECT_EQ(0xFFFFFFu, at(51, 41));                      // just outside it: the root's background
    EXPECT_EQ(Px(RGB(0, 0, 255)) & 0xFFFFFF, at(61, 11)); // the archive's PNG
    EXPECT_EQ(Px(RGB(0, 0, 255)) & 0xFFFFFF, at(75, 25));
    EXPECT_EQ(0xFFFFFFu, at(77, 27));
    EXPECT_EQ(Px(RGB(0, 255, 0)) & 0xFFFFFF, at(141, 61)); // the button's skin
    EXPECT_EQ(Px(RGB(0, 255, 0)) & 0xFFFFFF, at(189, 99));
    EXPECT_GT(DarkPixels(pixels, width, {10, 60, 130, 84}), 30); // the label's glyphs
    EXPECT_GT(DarkPixels(pixels, width, {140, 60, 190, 100}), 5); // the button's caption
    EXPECT_EQ(0, DarkPixels(pixels, width, {0, 86, 138, 120}));
    EXPECT_EQ(0, DarkPixels(pixels, width, {80, 0, 200, 58}));
    host.DestroyHost();
}

TEST_F(HostZipTest, ClickOnButtonReachesHostAsCommandByName)
{
    RecordingHost host(L"LAYOUT:main");
    HWND hwnd = CreatePopup(host);
    ASSERT_NE(nullptr, hwnd);
    Pump();
    const POINT clicks[] = {{165, 80}, {30, 100}, {20, 20}}; // button, root, coloured window
    for (const POINT& p : clicks) {
        ::SendMessageW(hwnd, WM_MOUSEMOVE, 0, Point(p.x, p.y));
        ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, Point(p.x, p.y));
        ::SendMessageW(hwnd, WM_LBUTTONUP, 0, Point(p.x, p.y));
        Pump();
    }
    // Every window clicked fires its command; the button's carries its layout name.
    std::vector<std::wstring> commands;
    for (const Fired& f : host.fired) {
        if (f.id == EventCmd::EventID)
            commands.push_back(f.name);
    }
    EXPECT_EQ((std::vector<std::wstring>{L"btn_ok", L"", L"red"}), commands);
    host.DestroyHost();
}

} // namespace
