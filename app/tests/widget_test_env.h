#pragma once
// What the widget tests share: the basic-control fixture with the program's controls
// registered, and the invalid area a window collected since the last look.
#include "ctrl_basic_test_env.h"
#include "widgets/SAppControls.h"

namespace widgettest {

using namespace SKEIN;
using ctrltest::RecSkin;
using ctrltest::StateColor;
using wndtest::Px;

struct SkinHit {
    char tag;
    RECT rect;
    int state;
};

// A skin that fills with one colour and logs its draws, with those of its siblings, in one list.
class TagSkin : public SSkinObjBase {
public:
    TagSkin(const wchar_t* name, char tag, int states, COLORREF colour, std::vector<SkinHit>* log)
        : m_tag(tag), m_states(states), m_colour(colour), m_log(log)
    {
        m_name = name;
    }
    SIZE GetSkinSize() const override { return SIZE{10, 10}; }
    BOOL IsStateless() const override { return m_states < 2; }
    int GetStateCount() const override { return m_states; }

protected:
    void DrawCore(IRenderTarget* rt, const RECT* rect, int state, BYTE) override
    {
        m_log->push_back(SkinHit{m_tag, *rect, state});
        rt->FillSolidRect(rect, 0xFF000000 | m_colour);
    }

private:
    char m_tag;
    int m_states;
    COLORREF m_colour;
    std::vector<SkinHit>* m_log;
};

class WidgetTest : public ctrltest::CtrlTest {
protected:
    void SetUp() override
    {
        CtrlTest::SetUp();
        RegisterAppControls(*m_app);
    }

    // A logging skin added to the built-in pool under name.
    void AddTagSkin(const wchar_t* name, char tag, int states, COLORREF colour)
    {
        TagSkin* skin = new TagSkin(name, tag, states, colour, &m_hits);
        SSkinPoolMgr::Instance()->BuiltinPool()->AddSkin(SkinKey(SStringW(name), 100), skin);
        skin->Release();
    }

    // The tags of the skins one render draws with their corner at (left, top), in drawing order.
    std::string DrawnAt(int left, int top = 0)
    {
        m_hits.clear();
        Render();
        std::string tags;
        for (const SkinHit& hit : m_hits) {
            if (hit.rect.left == left && hit.rect.top == top)
                tags += hit.tag;
        }
        return tags;
    }

    // The bounding box of what window asked to redraw since the last call (empty: nothing),
    // whether it kept the area or passed it to the container.
    RECT TakeInvalidBox(SWindow* window)
    {
        RECT box = {0, 0, 0, 0};
        if (IRegion* region = window->GetInvalidRegion()) {
            if (!region->IsEmpty())
                region->GetRgnBox(&box);
            region->Clear();
        }
        for (const RECT& rect : m_ctrl.invalidated)
            ::UnionRect(&box, &box, &rect);
        m_ctrl.invalidated.clear();
        return box;
    }
    bool Invalidated(SWindow* window)
    {
        RECT box = TakeInvalidBox(window);
        return !::IsRectEmpty(&box);
    }

    std::vector<SkinHit> m_hits;

    // The colour part of a stored pixel: GDI drawing leaves the alpha byte to chance.
    static DWORD Rgb(IRenderTarget* rt, int x, int y) { return rt->GetPixel(x, y) & 0xFFFFFF; }
};

} // namespace widgettest
