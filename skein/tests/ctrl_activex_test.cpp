// The ActiveX host in a real host window with a windowless control of the test's own: creation
// by class identifier or ProgID, activation order, drawing, message forwarding, delayed
// creation, the site's interfaces, focus on hide, teardown, and the player preset without and
// with a player.
#include <fstream>
#include <memory>
#include "activex_test_control.h"
#include "control/SActiveX.h"
#include "host_ctrl_test_env.h"

namespace hosttest {
namespace {

using axtest::AxOptions;
using axtest::FakeFactory;
using axtest::kFakeClsid;

const char kFakeClsidText[] = "{6A1E0C55-2F0B-4C7E-9B1D-3E52710AC419}";
const wchar_t kFakeProgId[] = L"SkeinTest.WindowlessControl";

std::string Layout(const std::string& element)
{
    return "<SKEIN width='200' height='120'><root colorBkgnd='#ffffff'>" + element
           + "<button name='other' pos='120,90,@40,@20'/></root></SKEIN>";
}

std::string ControlLayout(const std::string& attributes)
{
    return Layout(std::string("<activex name='ax' pos='20,10,@80,@60' clsID='") + kFakeClsidText + "' " + attributes
                  + "/>");
}

// The calls made from the first one on, up to (not including) the first stop.
std::vector<std::string> CallsBefore(const axtest::AxRecord& record, const std::string& stop)
{
    int end = record.Find(stop);
    return std::vector<std::string>(record.calls.begin(), end < 0 ? record.calls.end() : record.calls.begin() + end);
}

class ActiveXTest : public HostCtrlTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(::OleInitialize(nullptr)));
        HostCtrlTest::SetUp();
    }
    void TearDown() override
    {
        HostCtrlTest::TearDown();
        m_factory.reset();
        ::OleUninitialize();
    }

    HostDriver OpenWith(const AxOptions& options, const std::string& layout, const CLSID& clsid = kFakeClsid)
    {
        m_factory.reset(); // one registration at a time
        m_factory.reset(new FakeFactory(clsid, options));
        return Open(layout);
    }
    const axtest::AxRecord& Record() const { return m_factory->record; }

    std::unique_ptr<FakeFactory> m_factory;
};

TEST_F(ActiveXTest, ActivationFollowsTheMiscStatusAndPersistenceOfTheControl)
{
    const std::vector<std::string> kActivated = {"GetMiscStatus",   "InitNew",    "SetClientSite(site)",
                                                 "Advise(sink)",    "SetAdvise(sink)", "DoVerb(-5)",
                                                 "OnInPlaceActivateEx=0"};
    struct Case {
        const char* what;
        DWORD miscStatus;
        bool persist;
        std::vector<std::string> calls;
        bool active;
    } cases[] = {
        {"plain", 0, true, kActivated, true},
        {"site first", OLEMISC_SETCLIENTSITEFIRST, true,
         {"GetMiscStatus", "SetClientSite(site)", "InitNew", "Advise(sink)", "SetAdvise(sink)", "DoVerb(-5)",
          "OnInPlaceActivateEx=0"},
         true},
        {"no persistence", 0, false, {"GetMiscStatus"}, false},
        {"no persistence, site first", OLEMISC_SETCLIENTSITEFIRST, false,
         {"GetMiscStatus", "SetClientSite(site)", "SetClientSite(null)"}, false},
        {"invisible at run time", OLEMISC_INVISIBLEATRUNTIME, true,
         {"GetMiscStatus", "InitNew", "SetClientSite(site)", "Advise(sink)", "SetAdvise(sink)"}, false},
    };
    for (const Case& c : cases) {
        AxOptions options;
        options.miscStatus = c.miscStatus;
        options.persistStreamInit = c.persist;
        HostDriver driver = OpenWith(options, ControlLayout(""));
        SActiveX* ax = driver.Find<SActiveX>(L"ax");
        ASSERT_NE(nullptr, ax) << c.what;
        EXPECT_EQ(1, Record().created) << c.what;
        EXPECT_NE(nullptr, ax->GetControl()) << c.what;
        EXPECT_EQ(c.calls, CallsBefore(Record(), "SetObjectRects")) << c.what;
        EXPECT_EQ(c.active, ax->IsInPlaceActive()) << c.what;
        // The position follows the window, the extent in HIMETRIC goes to the control.
        ASSERT_NE(nullptr, Record().last) << c.what;
        RECT placed = Record().last->ObjectRect();
        EXPECT_TRUE(::EqualRect(&placed, &ax->GetWindowRect())) << c.what;
        EXPECT_EQ(::MulDiv(80, 2540, 96), Record().last->Extent().cx) << c.what;
        m_host->DestroyHost();
    }
}

TEST_F(ActiveXTest, TeardownUndoesTheActivationInOrderAndReleasesTheControl)
{
    HostDriver driver = OpenWith(AxOptions(), ControlLayout(""));
    ASSERT_TRUE(driver.Find<SActiveX>(L"ax")->IsInPlaceActive());
    size_t before = Record().calls.size();
    m_host->DestroyHost();
    std::vector<std::string> teardown(Record().calls.begin() + before, Record().calls.end());
    EXPECT_EQ((std::vector<std::string>{"SetAdvise(null)", "InPlaceDeactivate", "Unadvise(5)", "SetClientSite(null)",
                                        "Close(1)"}),
              teardown);
    EXPECT_EQ(0, Record().alive);
}

TEST_F(ActiveXTest, TheControlDrawsInItsRectangleAndGetsTheMouseAndKeys)
{
    HostDriver driver = OpenWith(AxOptions(), ControlLayout(""));
    SActiveX* ax = driver.Find<SActiveX>(L"ax");
    Shot shot = driver.Capture();
    EXPECT_EQ(Px(axtest::kControlColor), shot.At(21, 11));
    EXPECT_EQ(Px(axtest::kControlColor), shot.At(99, 69));
    EXPECT_EQ(Px(RGB(255, 255, 255)), shot.At(19, 40));
    EXPECT_EQ(Px(RGB(255, 255, 255)), shot.At(100, 40));

    driver.Click(POINT{30, 40});
    EXPECT_TRUE(ax->HoldsFocus());
    driver.Key('A');
    const std::vector<UINT>& messages = Record().messages;
    EXPECT_EQ((std::vector<UINT>{WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_KEYDOWN, WM_KEYUP}), messages);
    EXPECT_EQ(MAKELPARAM(30, 40), Record().messagePoints[1]); // host coordinates
    EXPECT_EQ(77, ax->SendUiMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(30, 40)));
}

TEST_F(ActiveXTest, DelayedControlIsCreatedAtTheFirstShowAndOnlyThen)
{
    HostDriver driver = OpenWith(AxOptions(), ControlLayout("delay='1' visible='0'"));
    SActiveX* ax = driver.Find<SActiveX>(L"ax");
    EXPECT_EQ(0, Record().created);
    EXPECT_EQ(nullptr, ax->GetControl());
    ax->ChangeVisibility(TRUE);
    EXPECT_EQ(1, Record().created);
    EXPECT_TRUE(ax->IsInPlaceActive());
    ax->ChangeVisibility(FALSE);
    ax->ChangeVisibility(TRUE);
    EXPECT_EQ(1, Record().created);
}

TEST_F(ActiveXTest, ClassTextIsAClassIdentifierInBracesOrAProgId)
{
    HKEY key = nullptr;
    std::wstring progIdKey = std::wstring(kFakeProgId) + L"\\CLSID";
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExW(HKEY_CLASSES_ROOT, progIdKey.c_str(), 0, nullptr, 0, KEY_WRITE,
                                              nullptr, &key, nullptr));
    std::wstring clsidText(kFakeClsidText, kFakeClsidText + sizeof(kFakeClsidText) - 1);
    ::RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(clsidText.c_str()),
                     static_cast<DWORD>((clsidText.size() + 1) * sizeof(wchar_t)));
    ::RegCloseKey(key);

    HostDriver driver = Open(Layout("<activex name='ax'/>"));
    SActiveX* ax = driver.Find<SActiveX>(L"ax");
    const CLSID other = {0x11111111, 0x2222, 0x3333, {0x44, 0x44, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55}};
    const wchar_t otherText[] = L"{11111111-2222-3333-4444-555555555555}";
    struct Case {
        std::wstring text;
        HRESULT result;
        CLSID clsid;
    } cases[] = {
        {clsidText, S_OK, kFakeClsid},
        {otherText + std::wstring(62, L' '), S_FALSE, kFakeClsid}, // 100 characters: refused
        {otherText, S_OK, other},
        {L"{not a class}", S_FALSE, other},
        {kFakeProgId, S_OK, kFakeClsid},
        {L"No.Such.ProgId", S_FALSE, kFakeClsid},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.result, ax->ApplyAttribute(SStringW(L"clsid"), SStringW(c.text.c_str()), TRUE)) << c.text.size();
        EXPECT_TRUE(IsEqualCLSID(c.clsid, ax->GetClsid())) << c.text.size();
    }
    EXPECT_EQ(23u, ax->GetClsContext());
    ax->ApplyAttribute(SStringW(L"clscText"), SStringW(L"0x1"), TRUE);
    EXPECT_EQ(1u, ax->GetClsContext());
    ::RegDeleteTreeW(HKEY_CLASSES_ROOT, kFakeProgId);
}

TEST_F(ActiveXTest, TheSiteAnswersForTheHostWindow)
{
    HostDriver driver = OpenWith(AxOptions(), ControlLayout(""));
    SActiveX* ax = driver.Find<SActiveX>(L"ax");
    IOleInPlaceSiteWindowless* site = Record().last->InPlaceSite();
    ASSERT_NE(nullptr, site);

    HWND window = nullptr;
    EXPECT_EQ(S_OK, site->GetWindow(&window));
    EXPECT_EQ(driver.Hwnd(), window);
    EXPECT_EQ(S_OK, site->SetCapture(TRUE));
    EXPECT_EQ(ax->GetHandle(), ax->QueryMouseCapture());
    EXPECT_EQ(S_OK, site->GetCapture());
    site->SetCapture(FALSE);
    EXPECT_EQ(S_FALSE, site->GetCapture());
    EXPECT_NE(ax->GetHandle(), ax->QueryMouseCapture());
    HDC dc = nullptr;
    EXPECT_EQ(S_FALSE, site->GetDC(nullptr, 0, &dc));
    LRESULT result = -1;
    EXPECT_EQ(S_OK, site->OnDefWindowMessage(WM_NULL, 0, 0, &result));
    EXPECT_EQ(0, result);

    IOleContainer* container = nullptr;
    EXPECT_EQ(S_OK, Record().last->ClientSite()->GetContainer(&container));
    container->Release();
    IServiceProvider* services = nullptr;
    ASSERT_EQ(S_OK, site->QueryInterface(IID_IServiceProvider, reinterpret_cast<void**>(&services)));
    IBindHost* bindHost = nullptr;
    EXPECT_EQ(S_OK, services->QueryService(IID_IBindHost, IID_IBindHost, reinterpret_cast<void**>(&bindHost)));
    EXPECT_EQ(E_FAIL, services->QueryService(IID_IStream, IID_IBindHost, reinterpret_cast<void**>(&container)));
    services->Release();
    ASSERT_NE(nullptr, bindHost);

    // A file URL through the bind host gives the file's bytes.
    wchar_t folder[MAX_PATH];
    std::wstring path(folder, ::GetTempPathW(MAX_PATH, folder));
    path += L"skein_ax_bind.txt";
    std::ofstream(path.c_str(), std::ios::binary) << "bound bytes";
    std::wstring url = L"file:///" + path;
    for (wchar_t& ch : url)
        ch = ch == L'\\' ? L'/' : ch;
    IMoniker* moniker = nullptr;
    ASSERT_EQ(S_OK, bindHost->CreateMoniker(&url[0], nullptr, &moniker, 0));
    IStream* stream = nullptr;
    HRESULT bound = bindHost->MonikerBindToStorage(moniker, nullptr, nullptr, IID_IStream, reinterpret_cast<void**>(&stream));
    ASSERT_TRUE(SUCCEEDED(bound)) << std::hex << bound;
    char bytes[32] = {};
    ULONG read = 0;
    stream->Read(bytes, sizeof(bytes) - 1, &read);
    EXPECT_STREQ("bound bytes", bytes);
    stream->Release();
    moniker->Release();
    bindHost->Release();
    ::DeleteFileW(path.c_str());
}

TEST_F(ActiveXTest, HidingMovesTheFocusOutOfTheControlsOwnWindow)
{
    HostDriver driver = OpenWith(AxOptions(), ControlLayout(""));
    SActiveX* ax = driver.Find<SActiveX>(L"ax");
    HWND own = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 20, 10, 80, 60, driver.Hwnd(), nullptr,
                                 nullptr, nullptr);
    m_factory->options.window = own;
    ::SetFocus(own);
    ASSERT_EQ(own, ::GetFocus());
    ax->ChangeVisibility(FALSE);
    EXPECT_FALSE(::IsWindowVisible(own));
    EXPECT_EQ(driver.Hwnd(), ::GetFocus());
    ax->ChangeVisibility(TRUE);
    EXPECT_TRUE(::IsWindowVisible(own));
}

TEST_F(ActiveXTest, PlayerPresetFailsCleanlyWithoutAPlayer)
{
    HostDriver driver = Open(Layout("<flash name='ax' pos='20,10,@80,@60' url='intro.swf'/>"));
    SFlashCtrl* flash = driver.Find<SFlashCtrl>(L"ax");
    ASSERT_NE(nullptr, flash);
    EXPECT_TRUE(flash->MatchesClassName(L"activex"));
    EXPECT_TRUE(IsEqualCLSID(axtest::kPlayerClsid, flash->GetClsid()));
    EXPECT_EQ(nullptr, flash->GetControl());
    EXPECT_EQ(0, flash->SendUiMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(30, 40)));
    EXPECT_FALSE(flash->HoldsFocus());
    EXPECT_FALSE(flash->SetMovieUrl(SStringW(L"other.swf")));
    EXPECT_EQ(Px(RGB(255, 255, 255)), driver.Capture().At(50, 40));
}

TEST_F(ActiveXTest, PlayerPresetSetsTheWindowModeAndTheMovie)
{
    AxOptions options;
    options.player = true;
    HostDriver driver = OpenWith(options, Layout("<flash name='ax' pos='20,10,@80,@60' url='intro.swf'/>"),
                                 axtest::kPlayerClsid);
    SFlashCtrl* flash = driver.Find<SFlashCtrl>(L"ax");
    EXPECT_NE(-1, Record().Find("WMode=transparent"));
    EXPECT_NE(-1, Record().Find("Movie=intro.swf"));
    flash->ApplyAttribute(SStringW(L"url"), SStringW(L"next.swf"), FALSE);
    EXPECT_NE(-1, Record().Find("Movie=next.swf"));
    EXPECT_STREQ(L"next.swf", flash->GetMovieUrl().c_str());
}

} // namespace
} // namespace hosttest
