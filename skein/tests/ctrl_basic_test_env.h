#pragma once
// What the basic-control tests share: a recording skin (fills its rectangle with a colour per
// state and logs each draw), a container that keeps timeline handlers and the senders of
// events, and a fixture that installs recording skins under the built-in skin names.
#include <set>
#include <string>
#include <vector>
#include "control/SCmnCtrl.h"
#include "res.mgr/SSkinPoolMgr.h"
#include "skin/SSkinObjBase.h"
#include "window_test_env.h"

namespace ctrltest {

using namespace SKEIN;
using wndtest::Px;

// Colour of state i of a recording skin (red in the low byte): distinct for states 0-9.
inline COLORREF StateColor(int state)
{
    static const COLORREF kColors[] = {0x202020, 0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF,
                                       0xFF00FF, 0xFFFF00, 0x808080, 0x000080, 0x008000};
    return kColors[state % 10];
}

struct SkinDraw {
    RECT rect;
    int state;
    BYTE alpha;
};

class RecSkin : public SSkinObjBase {
public:
    RecSkin(const wchar_t* name, int states, SIZE size) : m_states(states), m_size(size) { m_name = name; }
    SIZE GetSkinSize() const override { return m_size; }
    BOOL IsStateless() const override { return m_states < 2; }
    int GetStateCount() const override { return m_states; }

    std::vector<SkinDraw> draws;

protected:
    void DrawCore(IRenderTarget* rt, const RECT* rect, int state, BYTE alpha) override
    {
        draws.push_back(SkinDraw{*rect, state, alpha});
        rt->FillSolidRect(rect, 0xFF000000 | StateColor(state));
    }

private:
    int m_states;
    SIZE m_size;
};

struct FiredEvent {
    int id;
    std::wstring sender;
};

// The test container plus timeline handlers and the events with their senders.
class CtrlContainer : public wndtest::TestContainer {
public:
    BOOL OnFireEvent(EventArgs* evt) override
    {
        fired.push_back(FiredEvent{evt->GetId(), evt->nameFrom ? evt->nameFrom : L""});
        return TestContainer::OnFireEvent(evt);
    }
    BOOL AddTimelineHandler(ITimelineHandler* handler) override { return timeline.insert(handler).second; }
    BOOL RemoveTimelineHandler(ITimelineHandler* handler) override { return timeline.erase(handler) != 0; }

    int Count(int id, const std::wstring& sender = std::wstring()) const
    {
        int count = 0;
        for (const FiredEvent& evt : fired)
            count += evt.id == id && (sender.empty() || evt.sender == sender);
        return count;
    }

    std::set<ITimelineHandler*> timeline;
    std::vector<FiredEvent> fired;
};

class CtrlTest : public wndtest::WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        m_root->AttachContainer(&m_ctrl);
        m_ctrl.root = m_root;
    }

    // A recording skin added to the built-in pool under name (a system skin name or any other).
    RecSkin* AddSkin(const wchar_t* name, int states, SIZE size)
    {
        RecSkin* skin = new RecSkin(name, states, size);
        SSkinPoolMgr::Instance()->BuiltinPool()->AddSkin(SkinKey(SStringW(name), 100), skin);
        skin->Release();
        return skin;
    }

    template <class T>
    T* Find(const wchar_t* name)
    {
        return m_root->FindChildByName2<T>(SStringW(name));
    }

    SRefPtr<IRenderTarget> Render() { return m_ctrl.Render(200, 100); }

    static LPARAM At(int x, int y) { return MAKELPARAM(x, y); }
    static void Click(SWindow* window, int x, int y)
    {
        window->SendUiMessage(WM_LBUTTONDOWN, 0, At(x, y));
        window->SendUiMessage(WM_LBUTTONUP, 0, At(x, y));
    }

    CtrlContainer m_ctrl;
};

} // namespace ctrltest
