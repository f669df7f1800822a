// The owner-drawn native popup menu: building from XML, its look attributes, measuring and
// drawing items, accelerators, and real runs of TrackPopupMenu driven by posted keys.
#include "control/SNativeMenu.h"
#include "ctrl_basic_test_env.h"
#include "res.mgr/SFontPool.h"
#include "translator/STranslatorMgr.h"

using namespace ctrltest;

namespace {

// A visible popup that records WM_COMMAND ids and the menu notifications it is sent.
class OwnerWnd : public CSimpleWnd {
public:
    BOOL HandleWindowMessage(HWND, UINT msg, WPARAM wParam, LPARAM, LRESULT& result, DWORD) override
    {
        if (msg == WM_COMMAND)
            commands.push_back(static_cast<int>(LOWORD(wParam)));
        else if (msg == WM_INITMENUPOPUP)
            ++initPopups;
        else
            return FALSE;
        result = 0;
        return TRUE;
    }
    std::vector<int> commands;
    int initPopups = 0;
};

// Pixels of a 32-bit top-down DIB selected into a memory DC, filled with one colour.
class Canvas {
public:
    Canvas(int width, int height, DWORD fill) : m_width(width)
    {
        BITMAPINFO info = {};
        info.bmiHeader = {sizeof(info.bmiHeader), width, -height, 1, 32};
        m_dc = ::CreateCompatibleDC(nullptr);
        m_bitmap = ::CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_bits), nullptr, 0);
        m_old = ::SelectObject(m_dc, m_bitmap);
        std::fill(m_bits, m_bits + width * height, fill);
    }
    ~Canvas()
    {
        ::SelectObject(m_dc, m_old);
        ::DeleteObject(m_bitmap);
        ::DeleteDC(m_dc);
    }
    HDC Dc() const { return m_dc; }
    DWORD At(int x, int y) const
    {
        ::GdiFlush();
        return m_bits[y * m_width + x] | 0xFF000000u;
    }
    // Pixels of rect whose channels are each within 0x30 of color's.
    int CountNear(RECT rect, DWORD color) const
    {
        int count = 0;
        for (int y = rect.top; y < rect.bottom; ++y) {
            for (int x = rect.left; x < rect.right; ++x) {
                DWORD px = At(x, y);
                bool matches = true;
                for (int shift = 0; shift < 24; shift += 8)
                    matches = matches && abs(static_cast<int>((px >> shift) & 0xFF) - static_cast<int>((color >> shift) & 0xFF)) <= 0x30;
                count += matches;
            }
        }
        return count;
    }
    // Pixels of rect that are neither of the two colours.
    int CountOther(RECT rect, DWORD a, DWORD b) const
    {
        int count = 0;
        for (int y = rect.top; y < rect.bottom; ++y) {
            for (int x = rect.left; x < rect.right; ++x)
                count += At(x, y) != a && At(x, y) != b;
        }
        return count;
    }

private:
    int m_width;
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
    DWORD* m_bits = nullptr;
};

MENUITEMINFOW ItemInfo(HMENU menu, int position)
{
    MENUITEMINFOW info = {sizeof(info), MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA};
    EXPECT_TRUE(::GetMenuItemInfoW(menu, position, TRUE, &info));
    return info;
}

const SNativeMenuItemData* DataOf(const MENUITEMINFOW& info)
{
    return reinterpret_cast<const SNativeMenuItemData*>(info.dwItemData);
}

const DWORD kBackground = 0xFF123456;

class NativeMenuTest : public CtrlTest {
protected:
    void SetUp() override
    {
        CtrlTest::SetUp();
        m_itemSkin = AddSkin(L"_skin.sys.menu.skin", 2, SIZE{40, 24});
        m_sepSkin = AddSkin(L"_skin.sys.menu.sep", 1, SIZE{20, 6});
        m_checkSkin = AddSkin(L"_skin.sys.menu.check", 3, SIZE{16, 16});
        m_iconSkin = AddSkin(L"icons", 4, SIZE{16, 16});
        m_threeStates = AddSkin(L"threeStates", 3, SIZE{40, 24});
        m_resources = AddResources("");
    }

    bool Build(SNativeMenu& menu, const wchar_t* xml)
    {
        pugi::xml_document document;
        return document.load_string(xml) && menu.BuildFromXml(document.first_child());
    }

    // The width the menu font gives text.
    int TextWidth(const wchar_t* text)
    {
        IRenderTarget* rt = nullptr;
        m_factory->CreateRenderTarget(&rt, 1, 1);
        SRefPtr<IRenderTarget> held(rt, false);
        rt->SelectObject(SFontPool::Instance()->ObtainFont(L"", 100), nullptr);
        SIZE size = {};
        rt->MeasureText(text, static_cast<int>(wcslen(text)), &size);
        return size.cx;
    }

    // Sends WM_DRAWITEM for the first item of menu at (10, 5, 130, 29) of the canvas.
    void DrawItem(HMENU menu, const Canvas& canvas, UINT state);

    RecSkin* m_itemSkin = nullptr;
    RecSkin* m_sepSkin = nullptr;
    RecSkin* m_checkSkin = nullptr;
    RecSkin* m_iconSkin = nullptr;
    RecSkin* m_threeStates = nullptr;
    skein_test::MemProvider* m_resources = nullptr;
};

void NativeMenuTest::DrawItem(HMENU menu, const Canvas& canvas, UINT state)
{
    MENUITEMINFOW info = ItemInfo(menu, 0);
    SMenuODWnd drawer(nullptr, SNativeMenu::MenuAttrOf(menu));
    ASSERT_TRUE(drawer.CreateNative(L"", WS_POPUP, 0, 0, 0, 0, 0, nullptr, nullptr));
    DRAWITEMSTRUCT dis = {ODT_MENU, 0, info.wID, ODA_DRAWENTIRE, state, reinterpret_cast<HWND>(menu),
                          canvas.Dc(), {10, 5, 130, 29}, info.dwItemData};
    EXPECT_TRUE(::SendMessageW(drawer.Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis)));
    drawer.DestroyWindow();
}

TEST_F(NativeMenuTest, BuildsOwnerDrawnItemsSubMenusAndSeparatorsFromXml)
{
    SNativeMenu menu;
    ASSERT_TRUE(Build(menu, L"<menu contextHelpId='7'>"
                            L"<item id='1' icon='2' userData='0x10'> &amp;Open </item>"
                            L"<item id='2' text='Attr' check='1'>Content</item>"
                            L"<sep/>"
                            L"<item id='3' radio='1' disable='1' text='Radio'/>"
                            L"<item text='Sub' contextHelpId='9'><item id='4'>Inner</item></item>"
                            L"<item text='Pop' popup='1'/>"
                            L"<other id='5'/>"
                            L"<item id='0x20' text='E&amp;xit'/>"
                            L"</menu>"));
    HMENU handle = menu.Handle();
    ASSERT_EQ(7, ::GetMenuItemCount(handle));
    EXPECT_EQ(7u, ::GetMenuContextHelpId(handle));

    const struct {
        UINT id;
        UINT type;
        UINT state;
        const wchar_t* text;
        wchar_t accel;
    } kItems[] = {
        {1, MFT_OWNERDRAW, 0, L"&Open", L'o'},
        {2, MFT_OWNERDRAW, MFS_CHECKED, L"Content", 0},
        {0, MFT_OWNERDRAW | MFT_SEPARATOR, 0, nullptr, 0},
        {3, MFT_OWNERDRAW | MFT_RADIOCHECK, MFS_CHECKED | MF_GRAYED, L"Radio", 0},
        {0, MFT_OWNERDRAW, 0, L"Sub", 0},
        {0, MFT_OWNERDRAW, 0, L"Pop", 0},
        {0x20, MFT_OWNERDRAW, 0, L"E&xit", L'x'},
    };
    for (int i = 0; i < 7; ++i) {
        SCOPED_TRACE(i);
        MENUITEMINFOW info = ItemInfo(handle, i);
        EXPECT_EQ(kItems[i].type, info.fType & (MFT_OWNERDRAW | MFT_SEPARATOR | MFT_RADIOCHECK));
        if (!(info.fType & MFT_SEPARATOR)) {
            EXPECT_EQ(kItems[i].state, info.fState & (MFS_CHECKED | MF_GRAYED));
        }
        if (!info.hSubMenu) {
            EXPECT_EQ(kItems[i].id, info.wID);
        }
        const SNativeMenuItemData* data = DataOf(info);
        if (!kItems[i].text) {
            EXPECT_EQ(nullptr, data);
            continue;
        }
        ASSERT_NE(nullptr, data);
        EXPECT_STREQ(kItems[i].text, data->text.c_str());
        EXPECT_EQ(kItems[i].accel, data->accel);
    }
    EXPECT_EQ(2, DataOf(ItemInfo(handle, 0))->icon);
    EXPECT_EQ(0x10u, DataOf(ItemInfo(handle, 0))->userData);
    EXPECT_EQ(-1, DataOf(ItemInfo(handle, 1))->icon);

    // A child element or "popup" makes a sub-menu sharing the menu's look.
    HMENU sub = ItemInfo(handle, 4).hSubMenu;
    HMENU pop = ItemInfo(handle, 5).hSubMenu;
    ASSERT_TRUE(sub && pop);
    EXPECT_EQ(9u, ::GetMenuContextHelpId(sub));
    ASSERT_EQ(1, ::GetMenuItemCount(sub));
    EXPECT_EQ(4u, ItemInfo(sub, 0).wID);
    EXPECT_STREQ(L"Inner", DataOf(ItemInfo(sub, 0))->text.c_str());
    EXPECT_EQ(0, ::GetMenuItemCount(pop));
    SMenuAttr* attr = SNativeMenu::MenuAttrOf(handle);
    ASSERT_NE(nullptr, attr);
    EXPECT_EQ(attr, SNativeMenu::MenuAttrOf(sub));
    EXPECT_EQ(attr, SNativeMenu::MenuAttrOf(pop));
    EXPECT_EQ(4, attr->AddRef()); // one reference per menu
    attr->Release();

    menu.Destroy();
    EXPECT_EQ(nullptr, menu.Handle());
    EXPECT_FALSE(::IsMenu(handle));
    EXPECT_FALSE(::IsMenu(sub));
}

TEST_F(NativeMenuTest, AttachedMenuIsNotDestroyed)
{
    HMENU foreign = ::CreatePopupMenu();
    {
        SNativeMenu menu;
        menu.Attach(foreign);
        menu.DestroyIfOwned();
    }
    EXPECT_TRUE(::IsMenu(foreign));
    ::DestroyMenu(foreign);
}

TEST_F(NativeMenuTest, LoadFromResourceNeedsTypeNameAndAMenuElement)
{
    m_resources->Put(L"XML", L"good", "<menu><item id='1'>A</item></menu>");
    m_resources->Put(L"XML", L"nomenu", "<menuRoot><menu/></menuRoot>");
    const struct {
        const wchar_t* id;
        BOOL loads;
    } kCases[] = {
        {L"XML:good", TRUE}, {L"good", FALSE}, {L"XML:missing", FALSE}, {L"XML:nomenu", FALSE},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.id);
        SNativeMenu menu;
        EXPECT_EQ(c.loads, menu.LoadFromResource(c.id));
        EXPECT_EQ(c.loads, menu.Handle() != nullptr);
    }
}

TEST_F(NativeMenuTest, LookAttributesAndTheirResults)
{
    SRefPtr<SMenuAttr> attr(new SMenuAttr, false);
    const struct {
        const wchar_t* name;
        const wchar_t* value;
        HRESULT result;
    } kCases[] = {
        {L"iconSize", L"16", E_INVALIDARG},    {L"iconSize", L"18,20", S_FALSE},  {L"iconSize", L"1,2,3", E_INVALIDARG},
        {L"colorText", L"", E_FAIL},            {L"COLORTEXTSEL", L"#ff0000", S_FALSE},
        {L"cororTextGray", L"#00ff00", S_FALSE}, {L"colorTextGray", L"#00ff00", E_FAIL},
        {L"itemSkin", L"nosuch", S_FALSE},       {L"maxWidth", L"90", S_FALSE},    {L"trCtx", L"ctx", S_FALSE},
        {L"unknown", L"1", E_FAIL},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.result, attr->ApplyAttribute(SStringW(c.name), SStringW(c.value), TRUE));
    }
    EXPECT_EQ(18, attr->Px(attr->m_iconSize[0]));
    EXPECT_EQ(20, attr->Px(attr->m_iconSize[1]));
    EXPECT_EQ(0xFF00FF00u, attr->m_colorTextGray);
    EXPECT_EQ(nullptr, attr->m_itemSkin.Get());
    EXPECT_STREQ(L"ctx", attr->m_trCtx.c_str());

    // Without "itemHeight" the item skin's natural height applies.
    SNativeMenu menu;
    ASSERT_TRUE(Build(menu, L"<menu/>"));
    SMenuAttr* defaults = SNativeMenu::MenuAttrOf(menu.Handle());
    EXPECT_EQ(24, defaults->Px(defaults->m_itemHeight));
    EXPECT_EQ(m_itemSkin, defaults->m_itemSkin.Get());
    EXPECT_EQ(m_sepSkin, defaults->m_sepSkin.Get());
    EXPECT_EQ(0xFF000000u | ::GetSysColor(COLOR_MENUTEXT), defaults->m_colorText);
}

TEST_F(NativeMenuTest, TextIsTranslatedPlainlyThenInTheMenuContext)
{
    SRefPtr<STranslatorMgr> manager(new STranslatorMgr, false);
    m_app->InstallTranslatorMgr(manager);
    ASSERT_TRUE(skein_test::InstallLanguage(
        manager, L"<language name='t' guid='{6A3C91D2-47B0-4E5F-9C18-2D7E05B4A3F1}'>"
                 L"<context><message><source>&amp;File</source><translation>&amp;Datei</translation></message></context>"
                 L"<context name='ctx'><message><source>&amp;Datei</source><translation>Fichier &amp;Z</translation>"
                 L"</message></context></language>"));
    SNativeMenu menu;
    ASSERT_TRUE(Build(menu, L"<menu trCtx='ctx'><item id='1'>&amp;File</item></menu>"));
    const SNativeMenuItemData* data = DataOf(ItemInfo(menu.Handle(), 0));
    EXPECT_STREQ(L"Fichier &Z", data->text.c_str());
    EXPECT_EQ(L'd', data->accel);
}

TEST_F(NativeMenuTest, MeasuresItemsAndSeparators)
{
    SNativeMenu menu;
    ASSERT_TRUE(Build(menu, L"<menu iconMargin='3' textMargin='4' iconSize='16,16' itemHeight='22'>"
                            L"<item id='1'>Measured text</item><sep/></menu>"));
    SNativeMenu capped;
    ASSERT_TRUE(Build(capped, L"<menu maxWidth='30'><item id='1'>Measured text</item></menu>"));
    SNativeMenu bare;
    ASSERT_TRUE(Build(bare, L"<menu sepSkin='nosuch'><sep/></menu>"));

    const int text = TextWidth(L"Measured text");
    ASSERT_GT(text, 30);
    const struct {
        HMENU menu;
        int position;
        UINT msg;
        UINT width;
        UINT height;
    } kCases[] = {
        {menu.Handle(), 0, WM_MEASUREITEM, static_cast<UINT>(2 * 3 + 16 + text + 2 * 4), 22},
        {menu.Handle(), 0, WM_MEASUREITEM + 0x2000, static_cast<UINT>(2 * 3 + 16 + text + 2 * 4), 22},
        {menu.Handle(), 1, WM_MEASUREITEM, 0, 6},
        {capped.Handle(), 0, WM_MEASUREITEM, 30, 24},
        {bare.Handle(), 0, WM_MEASUREITEM, 0, 3},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.position);
        SMenuODWnd drawer(nullptr, SNativeMenu::MenuAttrOf(c.menu));
        ASSERT_TRUE(drawer.CreateNative(L"", WS_POPUP, 0, 0, 0, 0, 0, nullptr, nullptr));
        MENUITEMINFOW info = ItemInfo(c.menu, c.position);
        MEASUREITEMSTRUCT mis = {ODT_MENU, 0, info.wID, 77, 77, info.dwItemData};
        EXPECT_TRUE(::SendMessageW(drawer.Handle(), c.msg, 0, reinterpret_cast<LPARAM>(&mis)));
        EXPECT_EQ(c.width, mis.itemWidth);
        EXPECT_EQ(c.height, mis.itemHeight);
        drawer.DestroyWindow();
    }
}

struct DrawCase {
    const wchar_t* name;
    const wchar_t* xml;
    UINT state;
    int skinState;    // the item skin's state behind the text
    COLORREF iconBox; // the colour in the icon box
    int checkState;   // the check skin's state, -1 when it must not draw
    COLORREF text;
};

TEST_F(NativeMenuTest, DrawsItemsWithSkinsIconsChecksAndTextColours)
{
    const COLORREF kNormal = RGB(255, 255, 255), kSelected = RGB(0, 255, 255), kGray = RGB(255, 255, 0);
    const wchar_t* kLook = L"iconMargin='3' textMargin='4' iconSize='16,16' iconSkin='icons' "
                           L"colorText='#ffffff' colorTextSel='#00ffff' cororTextGray='#ffff00'";
    // clang-format off
    const DrawCase kCases[] = {
        {L"plain", L"<item id='1' icon='3'>Text</item>", 0, 0, StateColor(3), -1, kNormal},
        {L"selected", L"<item id='1' icon='2'>Text</item>", ODS_SELECTED, 1, StateColor(2), -1, kSelected},
        {L"grayed", L"<item id='1' disable='1'>Text</item>", ODS_GRAYED | ODS_SELECTED, 1, StateColor(1), -1, kGray},
        {L"checked", L"<item id='1' check='1' icon='2'>Text</item>", ODS_CHECKED, 0, StateColor(0), 0, kNormal},
        {L"radio", L"<item id='1' radio='1'>Text</item>", ODS_CHECKED, 0, StateColor(1), 1, kNormal},
        {L"no icon", L"<item id='1'>Text</item>", 0, 0, StateColor(0), -1, kNormal},
    };
    // clang-format on
    for (const DrawCase& c : kCases) {
        SCOPED_TRACE(c.name);
        SNativeMenu menu;
        std::wstring xml = std::wstring(L"<menu ") + kLook + L">" + c.xml + L"</menu>";
        ASSERT_TRUE(Build(menu, xml.c_str()));
        m_checkSkin->draws.clear();
        Canvas canvas(160, 40, kBackground);
        DrawItem(menu.Handle(), canvas, c.state);

        EXPECT_EQ(kBackground, canvas.At(5, 2)); // outside the item
        EXPECT_EQ(kBackground, canvas.At(135, 20));
        COLORREF skin = StateColor(c.skinState);
        EXPECT_EQ(Px(skin), canvas.At(127, 7));
        EXPECT_EQ(Px(c.iconBox), canvas.At(21, 17)); // icon box (13, 9)-(29, 25)
        EXPECT_EQ(Px(skin), canvas.At(11, 17));      // left of the icon box
        if (c.checkState < 0) {
            EXPECT_TRUE(m_checkSkin->draws.empty());
        } else {
            ASSERT_EQ(1u, m_checkSkin->draws.size());
            EXPECT_EQ(c.checkState, m_checkSkin->draws[0].state);
        }
        // The text box starts at 2 * 3 + 16 + 4 = 26 in the item, 36 on the canvas.
        RECT text = {36, 5, 126, 29};
        RECT beforeText = {30, 5, 36, 29};
        EXPECT_GT(canvas.CountNear(text, Px(c.text)), 0);
        for (COLORREF other : {kNormal, kSelected, kGray}) {
            if (other != c.text) {
                EXPECT_EQ(0, canvas.CountNear(text, Px(other)));
            }
        }
        EXPECT_EQ(0, canvas.CountOther(beforeText, Px(skin), Px(c.iconBox)));
    }
}

TEST_F(NativeMenuTest, DrawsSeparatorsWithTheSeparatorSkin)
{
    SNativeMenu menu;
    ASSERT_TRUE(Build(menu, L"<menu><sep/></menu>"));
    Canvas canvas(160, 40, kBackground);
    DrawItem(menu.Handle(), canvas, 0);
    ASSERT_EQ(1u, m_sepSkin->draws.size());
    EXPECT_EQ(0, canvas.CountOther(RECT{10, 5, 130, 29}, Px(StateColor(0)), Px(StateColor(0))));
    EXPECT_EQ(kBackground, canvas.At(135, 20));
}

TEST_F(NativeMenuTest, ThreeStateItemSkinCoversASelectedItemAndLongTextStopsAtTheMargin)
{
    SNativeMenu menu;
    ASSERT_TRUE(Build(menu, L"<menu itemSkin='threeStates' colorTextSel='#ffffff' colorText='#ffffff' maxWidth='80'>"
                            L"<item id='1'>A rather long caption that does not fit</item></menu>"));
    MENUITEMINFOW info = ItemInfo(menu.Handle(), 0);
    SMenuODWnd drawer(nullptr, SNativeMenu::MenuAttrOf(menu.Handle()));
    ASSERT_TRUE(drawer.CreateNative(L"", WS_POPUP, 0, 0, 0, 0, 0, nullptr, nullptr));
    MEASUREITEMSTRUCT mis = {ODT_MENU, 0, info.wID, 0, 0, info.dwItemData};
    ::SendMessageW(drawer.Handle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
    ASSERT_EQ(80u, mis.itemWidth);

    for (UINT state : {0u, static_cast<UINT>(ODS_SELECTED)}) {
        Canvas canvas(100, 30, kBackground);
        DRAWITEMSTRUCT dis = {ODT_MENU, 0, info.wID, ODA_DRAWENTIRE, state, reinterpret_cast<HWND>(menu.Handle()),
                              canvas.Dc(), {0, 0, 80, 24}, info.dwItemData};
        ::SendMessageW(drawer.Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
        RECT text = {2 * 2 + 16 + 5, 0, 80 - 5, 24};
        RECT rightMargin = {80 - 5, 0, 80, 24};
        if (state) {
            // State 2 is laid over the whole item, text included.
            EXPECT_EQ(0, canvas.CountOther(RECT{0, 0, 80, 24}, Px(StateColor(2)), 0));
        } else {
            EXPECT_GT(canvas.CountOther(text, Px(StateColor(0)), 0), 0);
            EXPECT_EQ(0, canvas.CountOther(rightMargin, Px(StateColor(0)), 0));
        }
    }
    drawer.DestroyWindow();
}

TEST_F(NativeMenuTest, MenuCharMatchesAcceleratorsByPositionAndSkipsSeparators)
{
    SNativeMenu menu;
    ASSERT_TRUE(Build(menu, L"<menu><sep/><item id='1'>&amp;Alpha</item><sep/><item id='2'>E&amp;xit</item>"
                            L"<item id='3'>Trailing&amp;</item></menu>"));
    SMenuODWnd drawer(nullptr, SNativeMenu::MenuAttrOf(menu.Handle()));
    ASSERT_TRUE(drawer.CreateNative(L"", WS_POPUP, 0, 0, 0, 0, 0, nullptr, nullptr));
    const struct {
        wchar_t typed;
        LRESULT result;
    } kCases[] = {{L'X', MAKELRESULT(3, MNC_EXECUTE)}, {L'a', MAKELRESULT(1, MNC_EXECUTE)}, {L'q', 0}, {0, 0}};
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(c.result, ::SendMessageW(drawer.Handle(), WM_MENUCHAR, MAKEWPARAM(c.typed, MF_POPUP),
                                           reinterpret_cast<LPARAM>(menu.Handle())));
    }
    drawer.DestroyWindow();
}

class NativeMenuRunTest : public NativeMenuTest {
protected:
    void SetUp() override
    {
        NativeMenuTest::SetUp();
        ASSERT_TRUE(m_owner.CreateNative(L"owner", WS_POPUP | WS_VISIBLE, 0, 20, 20, 100, 100, nullptr, nullptr));
        ASSERT_TRUE(Build(m_menu, L"<menu><item id='11'>&amp;One</item><sep/><item id='12'>T&amp;wo</item>"
                                  L"<item id='13'>E&amp;xit</item></menu>"));
    }
    void TearDown() override
    {
        m_menu.Destroy();
        m_owner.DestroyWindow();
        NativeMenuTest::TearDown();
    }
    // Queues key presses that the menu's own loop picks up once it runs.
    void PostKeys(std::initializer_list<UINT> keys)
    {
        for (UINT key : keys) {
            ::PostMessageW(m_owner.Handle(), WM_KEYDOWN, key, 1);
            ::PostMessageW(m_owner.Handle(), WM_KEYUP, key, 0xC0000001);
        }
    }
    int Run(UINT flags) { return m_menu.RunPopup(flags, 40, 40, m_owner.Handle(), nullptr, 100); }

    OwnerWnd m_owner;
    SNativeMenu m_menu;
};

TEST_F(NativeMenuRunTest, ReturnCmdAnswersTheChosenIdWithoutCommand)
{
    PostKeys({VK_DOWN, VK_DOWN, VK_RETURN});
    EXPECT_EQ(12, Run(TPM_RETURNCMD));
    EXPECT_TRUE(m_owner.commands.empty());
    EXPECT_GE(m_owner.initPopups, 1);
    EXPECT_FALSE(m_itemSkin->draws.empty()); // the items were drawn by the framework
    EXPECT_FALSE(m_sepSkin->draws.empty());
}

TEST_F(NativeMenuRunTest, WithoutReturnCmdTheOwnerReceivesTheCommand)
{
    PostKeys({VK_DOWN, VK_RETURN});
    EXPECT_EQ(11, Run(0));
    EXPECT_EQ(std::vector<int>{11}, m_owner.commands);
}

TEST_F(NativeMenuRunTest, AcceleratorChoosesAndEscapeChoosesNothing)
{
    PostKeys({'X'});
    EXPECT_EQ(13, Run(0));
    EXPECT_EQ(std::vector<int>{13}, m_owner.commands);

    PostKeys({VK_ESCAPE});
    EXPECT_EQ(0, Run(0));
    EXPECT_EQ(std::vector<int>{13}, m_owner.commands);
}

HWND s_escapeTarget;

void CALLBACK PostEscape(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    ::PostMessageW(s_escapeTarget, WM_KEYDOWN, VK_ESCAPE, 1);
}

// A grayed item gives way to the next item with the same accelerator.
TEST_F(NativeMenuRunTest, AcceleratorPassesOverGrayedItems)
{
    SNativeMenu menu;
    ASSERT_TRUE(Build(menu, L"<menu><item id='21' disable='1'>&amp;Print</item><item id='22'>&amp;Paste</item>"
                            L"<item id='23' disable='1'>&amp;Quit</item></menu>"));
    // Escape comes later, after the character the accelerator key makes.
    s_escapeTarget = m_owner.Handle();
    for (auto [key, result] : {std::pair<UINT, int>{'P', 22}, {'Q', 0}}) {
        PostKeys({key});
        UINT_PTR timer = ::SetTimer(nullptr, 0, 300, PostEscape);
        EXPECT_EQ(result, menu.RunPopup(TPM_RETURNCMD, 40, 40, m_owner.Handle(), nullptr, 100)) << key;
        ::KillTimer(nullptr, timer);
    }
    menu.Destroy();
}

} // namespace
