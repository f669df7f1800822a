// The framework's system-resource library as the program loads it: every built-in skin comes
// from its image, answers its index and name, and draws each of its states. A contact sheet of
// all skins and states is written beside the test for a look by eye.
#include <gtest/gtest.h>
#include <algorithm>
#include <string>
#include <vector>
#include "app_test_support.h"
#include "core/SApp.h"
#include "interface/SImgDecoder-i.h"
#include "res.mgr/SResProviderPE.h"
#include "res.mgr/SSkinPoolMgr.h"
#include "skin/SSkinScrollbar.h"

using namespace SKEIN;

namespace {

struct SysSkin {
    int index;
    const wchar_t* name;
    const wchar_t* className;
    int states;
    SIZE cell;
    SIZE drawn; // the size a control typically gives it
};

// clang-format off
const SysSkin kSysSkins[] = {
    {kSysSkinCheckbox, L"_skin.sys.checkbox", L"imglist", 8, {16, 16}, {16, 16}},
    {kSysSkinRadio, L"_skin.sys.radio", L"imglist", 8, {16, 16}, {16, 16}},
    {kSysSkinFocusCheckbox, L"_skin.sys.focuscheckbox", L"imglist", 1, {16, 16}, {16, 16}},
    {kSysSkinFocusRadio, L"_skin.sys.focusradio", L"imglist", 1, {16, 16}, {16, 16}},
    {kSysSkinBtnNormal, L"_skin.sys.btn.normal", L"imgframe", 4, {80, 28}, {96, 30}},
    {kSysSkinScrollbar, L"_skin.sys.scrollbar", L"scrollbar", 1, {144, 64}, {16, 16}},
    {kSysSkinBorder, L"_skin.sys.border", L"imgframe", 2, {8, 8}, {48, 28}},
    {kSysSkinDropBtn, L"_skin.sys.dropbtn", L"imgframe", 4, {20, 20}, {20, 24}},
    {kSysSkinTreeToggle, L"_skin.sys.tree.toggle", L"imglist", 6, {16, 16}, {16, 16}},
    {kSysSkinTreeCheckbox, L"_skin.sys.tree.checkbox", L"imglist", 9, {16, 16}, {16, 16}},
    {kSysSkinTabPage, L"_skin.sys.tab.page", L"imgframe", 3, {80, 28}, {96, 30}},
    {kSysSkinHeader, L"_skin.sys.header", L"imgframe", 4, {40, 24}, {88, 24}},
    {kSysSkinSplitVert, L"_skin.sys.split.vert", L"imglist", 1, {5, 20}, {5, 40}},
    {kSysSkinSplitHorz, L"_skin.sys.split.horz", L"imglist", 1, {20, 5}, {60, 5}},
    {kSysSkinProgBkgnd, L"_skin.sys.prog.bkgnd", L"imgframe", 1, {16, 10}, {160, 10}},
    {kSysSkinProgBar, L"_skin.sys.prog.bar", L"imgframe", 1, {16, 10}, {100, 10}},
    {kSysSkinVertProgBkgnd, L"_skin.sys.vert.prog.bkgnd", L"imgframe", 1, {10, 16}, {10, 60}},
    {kSysSkinVertProgBar, L"_skin.sys.vert.prog.bar", L"imgframe", 1, {10, 16}, {10, 40}},
    {kSysSkinSliderThumb, L"_skin.sys.slider.thumb", L"imglist", 3, {16, 16}, {16, 16}},
    {kSysSkinBtnClose, L"_skin.sys.btn.close", L"imglist", 4, {32, 24}, {32, 24}},
    {kSysSkinBtnMinimize, L"_skin.sys.btn.minimize", L"imglist", 4, {32, 24}, {32, 24}},
    {kSysSkinBtnMaximize, L"_skin.sys.btn.maxmize", L"imglist", 4, {32, 24}, {32, 24}},
    {kSysSkinBtnRestore, L"_skin.sys.btn.restore", L"imglist", 4, {32, 24}, {32, 24}},
    {kSysSkinMenuCheck, L"_skin.sys.menu.check", L"imglist", 3, {16, 16}, {16, 16}},
    {kSysSkinMenuSep, L"_skin.sys.menu.sep", L"imgframe", 1, {20, 5}, {120, 5}},
    {kSysSkinMenuArrow, L"_skin.sys.menu.arrow", L"imglist", 2, {16, 16}, {16, 16}},
    {kSysSkinMenuBorder, L"_skin.sys.menu.border", L"imgframe", 1, {8, 8}, {60, 40}},
    {kSysSkinMenuSkin, L"_skin.sys.menu.skin", L"imgframe", 3, {16, 16}, {120, 24}},
    {kSysSkinIcons, L"_skin.sys.icons", L"imglist", 4, {32, 32}, {32, 32}},
    {kSysSkinWndBkgnd, L"_skin.sys.wnd.bkgnd", L"imglist", 1, {8, 8}, {60, 30}},
    {kSysSkinBtnPrev, L"_skin.sys.btn.prev", L"imglist", 4, {16, 16}, {16, 16}},
    {kSysSkinBtnNext, L"_skin.sys.btn.next", L"imglist", 4, {16, 16}, {16, 16}},
    {kSysSkinSpinDown, L"_skin.sys.spin.down", L"imgframe", 4, {16, 12}, {16, 12}},
    {kSysSkinSpinUp, L"_skin.sys.spin.up", L"imgframe", 4, {16, 12}, {16, 12}},
};
// clang-format on

// The scroll bar draws its parts in four looks: normal, hover, pushed, disabled.
const int kScrollLooks = 4;
const int kScrollParts[] = {kSbPartLineUp, kSbPartLineDown, kSbPartThumb, kSbPartRailUp, kSbPartCorner};

// A target of one size; Draw clears it to transparent, draws a skin over all of it and returns
// the pixels row by row.
class Canvas {
public:
    Canvas(IRenderFactory* factory, SIZE size) : m_size(size)
    {
        IRenderTarget* target = nullptr;
        if (factory->CreateRenderTarget(&target, size.cx, size.cy))
            m_target.Attach(target);
    }
    IRenderTarget* Target() const { return m_target; }
    std::vector<DWORD> Pixels() const
    {
        std::vector<DWORD> pixels;
        for (int y = 0; y < m_size.cy; ++y) {
            for (int x = 0; x < m_size.cx; ++x)
                pixels.push_back(m_target->GetPixel(x, y));
        }
        return pixels;
    }
    std::vector<DWORD> Draw(ISkinObj* skin, int state)
    {
        RECT all = {0, 0, m_size.cx, m_size.cy};
        m_target->ClearRect(&all, 0);
        skin->DrawByState(m_target, &all, state);
        return Pixels();
    }

private:
    SIZE m_size;
    SRefPtr<IRenderTarget> m_target;
};

size_t VisibleCount(const std::vector<DWORD>& pixels)
{
    return std::count_if(pixels.begin(), pixels.end(), [](DWORD pixel) { return (pixel >> 24) != 0; });
}

class SystemSkins : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        IRenderFactory* render = nullptr;
        IImgDecoderFactory* decoders = nullptr;
        ASSERT_TRUE(CreateRenderFactory_GDI(&render));
        s_render = render;
        ASSERT_TRUE(CreateImgDecoderFactory_GDIP(&decoders)); // the program's decoder
        render->SetImgDecoderFactory(decoders);
        decoders->Release();
        s_app = new SApplication(render, GetModuleHandleW(nullptr), L"SKEINHOST", SObjectDefaultRegister());

        HMODULE module = skein_test::LoadSysResourceLibrary();
        ASSERT_NE(nullptr, module);
        {
            SRefPtr<IResProvider> provider(new SResProviderPE, false);
            provider->Init(module);
            s_loadResult = s_app->LoadSystemResources(provider);
        }
        FreeLibrary(module); // the skins keep their decoded images
    }
    static void TearDownTestSuite()
    {
        delete s_app;
        s_app = nullptr;
        if (s_render)
            s_render->Release();
        s_render = nullptr;
    }

    static ISkinObj* Find(int index, int scale = 100)
    {
        SSkinPoolMgr* pools = static_cast<SSkinPoolMgr*>(s_app->OwnedSingleton(kSingletonSkinPoolMgr));
        return pools->FindSystemSkin(index, scale);
    }

    // The state arguments a skin is drawn with; for the scroll bar every part in every look.
    static std::vector<int> DrawnStates(const SysSkin& skin)
    {
        std::vector<int> states;
        if (skin.index == kSysSkinScrollbar) {
            for (int vertical = 0; vertical < 2; ++vertical) {
                for (int part : kScrollParts) {
                    for (int look = 0; look < kScrollLooks; ++look)
                        states.push_back(SSkinScrollbar::MakeState(part, look, vertical));
                }
            }
        } else {
            for (int state = 0; state < skin.states; ++state)
                states.push_back(state);
        }
        return states;
    }

    // Whether the a-th and b-th of DrawnStates look different: every state of a skin, and for
    // the scroll bar the looks of one part (the corner has one cell for all looks).
    static bool MustDiffer(const SysSkin& skin, size_t a, size_t b)
    {
        if (skin.index != kSysSkinScrollbar)
            return true;
        size_t group = a / kScrollLooks;
        const size_t partCount = sizeof(kScrollParts) / sizeof(kScrollParts[0]);
        return group == b / kScrollLooks && kScrollParts[group % partCount] != kSbPartCorner;
    }

    static IRenderFactory* s_render;
    static SApplication* s_app;
    static int s_loadResult;
};

IRenderFactory* SystemSkins::s_render = nullptr;
SApplication* SystemSkins::s_app = nullptr;
int SystemSkins::s_loadResult = -1;

TEST_F(SystemSkins, EveryIndexFindsItsSkinWithItsStatesAndSize)
{
    EXPECT_EQ(0, s_loadResult);
    ASSERT_EQ(static_cast<size_t>(kSysSkinCount), sizeof(kSysSkins) / sizeof(kSysSkins[0]));
    SSkinPoolMgr* pools = static_cast<SSkinPoolMgr*>(s_app->OwnedSingleton(kSingletonSkinPoolMgr));
    for (int i = 0; i < kSysSkinCount; ++i) {
        const SysSkin& expected = kSysSkins[i];
        SCOPED_TRACE(expected.name);
        EXPECT_EQ(i, expected.index);
        EXPECT_STREQ(expected.name, SystemSkinName(i));
        ISkinObj* skin = Find(i);
        ASSERT_NE(nullptr, skin);
        EXPECT_EQ(skin, pools->FindSkin(expected.name, 100));
        EXPECT_STREQ(expected.className, skin->XmlClassName());
        EXPECT_EQ(expected.states, skin->GetStateCount());
        SIZE size = skin->GetSkinSize();
        EXPECT_EQ(expected.cell.cx, size.cx);
        EXPECT_EQ(expected.cell.cy, size.cy);
        // Other display scales get resampled copies of the same cells.
        ISkinObj* doubled = Find(i, 200);
        ASSERT_NE(nullptr, doubled);
        EXPECT_EQ(2 * expected.cell.cx, doubled->GetSkinSize().cx);
        EXPECT_EQ(expected.states, doubled->GetStateCount());
    }
    SSkinScrollbar* scrollbar = dynamic_cast<SSkinScrollbar*>(Find(kSysSkinScrollbar));
    ASSERT_NE(nullptr, scrollbar);
    EXPECT_EQ(16, scrollbar->GetIdealSize());
}

// Each state draws something of its own: pixels that are not transparent, and not the same picture as another
// state of the skin (a strip cut into the wrong number of cells fails here).
TEST_F(SystemSkins, EveryStateDrawsItsOwnVisiblePixels)
{
    for (const SysSkin& expected : kSysSkins) {
        SCOPED_TRACE(expected.name);
        ISkinObj* skin = Find(expected.index);
        ASSERT_NE(nullptr, skin);
        Canvas canvas(s_render, expected.drawn);
        ASSERT_TRUE(canvas.Target());
        std::vector<std::vector<DWORD>> drawn;
        for (int state : DrawnStates(expected)) {
            SCOPED_TRACE(state);
            drawn.push_back(canvas.Draw(skin, state));
            EXPECT_GE(VisibleCount(drawn.back()), 8u);
        }
        for (size_t a = 0; a < drawn.size(); ++a) {
            for (size_t b = a + 1; b < drawn.size(); ++b) {
                if (MustDiffer(expected, a, b)) {
                    EXPECT_NE(drawn[a], drawn[b]) << "states " << a << " and " << b;
                }
            }
        }
    }
}

// Probes where the look depends on the nine-part margins and the flat fills.
TEST_F(SystemSkins, StretchedSkinsKeepTheirEdges)
{
    struct Probe {
        int index;
        int state;
        SIZE size;
        POINT at;
        DWORD pixel;
    };
    const Probe probes[] = {
        {kSysSkinWndBkgnd, 0, {300, 200}, {150, 100}, 0xFFF0F0F0},
        {kSysSkinWndBkgnd, 0, {300, 200}, {0, 199}, 0xFFF0F0F0},
        {kSysSkinBtnNormal, 0, {200, 60}, {100, 0}, 0xFFADADAD},  // one-pixel border at the top
        {kSysSkinBtnNormal, 0, {200, 60}, {100, 30}, 0xFFFBFBFB}, // flat face
        {kSysSkinBtnNormal, 0, {200, 60}, {0, 0}, 0u},            // rounded corner left clear
        {kSysSkinBtnNormal, 3, {200, 60}, {0, 30}, 0xFFD4D4D4},   // disabled border
        {kSysSkinProgBar, 0, {300, 10}, {150, 5}, 0xFF2F6FD0},
        {kSysSkinBorder, 1, {100, 50}, {50, 49}, 0xFF2F6FD0},     // hovered border
        {kSysSkinMenuSep, 0, {200, 9}, {100, 2}, 0xFFD6D6D6},     // the line stays one pixel
        {kSysSkinMenuSep, 0, {200, 9}, {100, 3}, 0u},
        {kSysSkinFocusCheckbox, 0, {16, 16}, {8, 8}, 0u},         // drawn over the box: clear inside
        {kSysSkinFocusRadio, 0, {16, 16}, {8, 8}, 0u},
    };
    for (const Probe& probe : probes) {
        SCOPED_TRACE(kSysSkins[probe.index].name);
        Canvas canvas(s_render, probe.size);
        canvas.Draw(Find(probe.index), probe.state);
        EXPECT_EQ(probe.pixel, canvas.Target()->GetPixel(probe.at.x, probe.at.y))
            << probe.at.x << "," << probe.at.y;
    }
    // Native menus lay the chosen look over a selected item's text: it must let the text show.
    Canvas item(s_render, SIZE{120, 24});
    item.Draw(Find(kSysSkinMenuSkin), 2);
    DWORD centre = item.Target()->GetPixel(60, 12);
    EXPECT_GT(centre >> 24, 0u);
    EXPECT_LT(centre >> 24, 0x80u);
}

// Every skin in every state on one sheet, "system-skins.png" beside the test.
TEST_F(SystemSkins, ContactSheet)
{
    const int labelWidth = 200, gap = 8, margin = 10;
    const int barLength = 80;
    const int scrollStep = 16 + gap + barLength + 16 + 2 * gap; // one look: both bars and the corner
    int width = 0, height = margin;
    std::vector<int> rowTops;
    for (const SysSkin& skin : kSysSkins) {
        rowTops.push_back(height);
        int rowWidth = labelWidth, rowHeight = 16;
        if (skin.index == kSysSkinScrollbar) {
            rowWidth += kScrollLooks * scrollStep;
            rowHeight = barLength;
        } else {
            rowWidth += skin.states * (skin.drawn.cx + gap);
            rowHeight = std::max<int>(rowHeight, skin.drawn.cy);
        }
        width = std::max(width, rowWidth + margin);
        height += rowHeight + gap;
    }
    height += margin;
    Canvas sheet(s_render, SIZE{width, height});
    IRenderTarget* rt = sheet.Target();
    ASSERT_TRUE(rt);
    RECT all = {0, 0, width, height};
    rt->ClearRect(&all, 0xFFF0F0F0);
    LOGFONTW logFont = {};
    logFont.lfHeight = -12;
    wcscpy(logFont.lfFaceName, L"Tahoma");
    IFont* font = nullptr;
    ASSERT_TRUE(s_render->CreateFont(&font, &logFont));
    rt->SelectObject(font, nullptr);
    font->Release();
    rt->SetTextColor(0xFF303030);

    for (size_t i = 0; i < rowTops.size(); ++i) {
        const SysSkin& entry = kSysSkins[i];
        ISkinObj* skin = Find(entry.index);
        ASSERT_NE(nullptr, skin);
        int top = rowTops[i];
        RECT label = {margin, top, labelWidth, top + 16};
        rt->DrawText(entry.name, -1, &label, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
        int x = labelWidth;
        if (entry.index != kSysSkinScrollbar) {
            for (int state = 0; state < entry.states; ++state) {
                RECT cell = {x, top, x + entry.drawn.cx, top + entry.drawn.cy};
                skin->DrawByState(rt, &cell, state);
                x += entry.drawn.cx + gap;
            }
            continue;
        }
        // A whole bar each way per look: arrows, rail, thumb, rail, and the corner after the
        // horizontal one.
        const int bounds[] = {0, 16, 30, 54, 64, barLength};
        const int parts[] = {kSbPartLineUp, kSbPartRailUp, kSbPartThumb, kSbPartRailDown, kSbPartLineDown};
        for (int look = 0; look < kScrollLooks; ++look) {
            for (int p = 0; p < 5; ++p) {
                RECT vertical = {x, top + bounds[p], x + 16, top + bounds[p + 1]};
                skin->DrawByState(rt, &vertical, SSkinScrollbar::MakeState(parts[p], look, TRUE));
                RECT horizontal = {x + 16 + gap + bounds[p], top, x + 16 + gap + bounds[p + 1], top + 16};
                skin->DrawByState(rt, &horizontal, SSkinScrollbar::MakeState(parts[p], look, FALSE));
            }
            RECT corner = {x + 16 + gap + barLength, top, x + 16 + gap + barLength + 16, top + 16};
            skin->DrawByState(rt, &corner, SSkinScrollbar::MakeState(kSbPartCorner, look, TRUE));
            x += scrollStep;
        }
    }

    wchar_t path[MAX_PATH];
    std::wstring sheetPath(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
    sheetPath = sheetPath.substr(0, sheetPath.rfind(L'\\') + 1) + L"system-skins.png";
    IImgDecoderFactory* png = nullptr;
    ASSERT_TRUE(CreateImgDecoderFactory_PNG(&png));
    IBitmap* pixels = static_cast<IBitmap*>(rt->GetCurrentObject(kRenderObjBitmap));
    EXPECT_EQ(S_OK, png->SaveImage(pixels, sheetPath.c_str(), nullptr));
    png->Release();
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(sheetPath.c_str()));
}

} // namespace
