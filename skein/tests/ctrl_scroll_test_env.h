#pragma once
// What the scrolling, slider and tab tests share: recording skins that paint a colour per
// state and log each draw, an event recorder, and helpers to send mouse and key messages.
#include <vector>
#include "core/SEvents.h"
#include "res.mgr/SSkinPool.h"
#include "res.mgr/SSkinPoolMgr.h"
#include "skin/SSkinScrollbar.h"
#include "window_test_env.h"

namespace ctrltest {

using namespace SKEIN;
using wndtest::Px;

struct SkinDraw {
    RECT rect;
    int state;
};

// The colour a recording skin fills a rectangle with for a state word.
inline COLORREF StateColor(int state)
{
    return RGB(16 + (state & 0xFF), 16 + ((state >> 16) & 0xFF) * 32, (state >> 24) ? 200 : 100);
}

// A skin of the given base class that paints StateColor(state) and logs every draw.
template <class Base>
class RecordingSkin : public Base {
public:
    RecordingSkin(SIZE size, int states) : m_size(size), m_states(states) {}
    SIZE GetSkinSize() const override { return m_size; }
    int GetStateCount() const override { return m_states; }
    std::vector<SkinDraw> draws;

protected:
    void DrawCore(IRenderTarget* rt, const RECT* rect, int state, BYTE) override
    {
        draws.push_back(SkinDraw{*rect, state});
        rt->FillSolidRect(rect, 0xFF000000 | StateColor(state));
    }

private:
    SIZE m_size;
    int m_states;
};

// A scroll-bar skin with square cells of the given side.
class RecordingScrollSkin : public RecordingSkin<SSkinScrollbar> {
public:
    explicit RecordingScrollSkin(int side) : RecordingSkin(SIZE{side * kColumns, side}, 5), m_side(side) {}
    int GetIdealSize() const override { return m_side; }

private:
    int m_side;
};

class RecordingPlainSkin : public RecordingSkin<SSkinObjBase> {
public:
    RecordingPlainSkin(SIZE size, int states) : RecordingSkin(size, states) {}
};

// Every event a window raises, with the fields the tests look at and when it came.
struct EventRecord {
    int id;
    int a;
    int b;
    int c;
    DWORD tick;
};

class EventRecorder {
public:
    // Subscribes to the given event ids of the window.
    void Watch(SWindow* window, std::initializer_list<int> ids)
    {
        for (int id : ids)
            window->GetEventSet()->AddSubscriber(id, Subscriber(&EventRecorder::OnEvent, this));
    }
    bool OnEvent(EventArgs* evt)
    {
        EventRecord record{evt->GetId(), 0, 0, 0, 0};
        if (auto* e = dynamic_cast<EventScroll*>(evt))
            record = EventRecord{record.id, e->scrollCode, e->position, e->vertical, 0};
        else if (auto* e = dynamic_cast<EventSliderPos*>(evt))
            record.a = e->newPos;
        else if (auto* e = dynamic_cast<EventTabSelChanging*>(evt)) {
            record = EventRecord{record.id, e->oldSel, e->newSel, 0, 0};
            e->cancel = cancelChanging;
        } else if (auto* e = dynamic_cast<EventTabSelChanged*>(evt))
            record = EventRecord{record.id, e->oldSel, e->newSel, 0, 0};
        else if (auto* e = dynamic_cast<EventTabItemHover*>(evt))
            record.a = e->index;
        else if (auto* e = dynamic_cast<EventTabItemLeave*>(evt))
            record.a = e->index;
        else if (auto* e = dynamic_cast<EventScrollViewOriginChanged*>(evt))
            record = EventRecord{record.id, e->newOrigin.x, e->newOrigin.y, 0, 0};
        else if (auto* e = dynamic_cast<EventScrollViewSizeChanged*>(evt))
            record = EventRecord{record.id, e->newSize.cx, e->newSize.cy, 0, 0};
        record.tick = ::GetTickCount();
        events.push_back(record);
        return true;
    }
    std::vector<EventRecord> events;
    BOOL cancelChanging = FALSE;
};

inline LPARAM At(int x, int y)
{
    return MAKELPARAM(x, y);
}

// The window test fixture with a recording skin installed under a built-in skin name.
class CtrlTest : public wndtest::WindowTest {
protected:
    // The pool keeps a reference; the returned pointer stays valid for the test.
    template <class Skin>
    Skin* InstallSkin(const wchar_t* name, Skin* skin)
    {
        SSkinPoolMgr::Instance()->BuiltinPool()->AddSkin(SkinKey(SStringW(name), 100), skin);
        skin->Release();
        return skin;
    }
    template <class T>
    T* Find(const wchar_t* name)
    {
        return dynamic_cast<T*>(m_root->LookupChildByName(SStringW(name)));
    }
};

} // namespace ctrltest
