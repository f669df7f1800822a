#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>
#include "core/SEventSet.h"
#include "core/SEvents.h"

using namespace SKEIN;

namespace {

class Sender : public SObjectImpl<IObject> {
public:
    int GetId() const override { return 42; }
    const wchar_t* GetName() const override { return L"btn_ok"; }
};

// Subscribers that log their calls and answer as told.
class Listener {
public:
    explicit Listener(std::vector<std::string>* log) : m_log(log) {}
    bool First(EventArgs*) { return Note("first", firstResult, firstClears); }
    bool Second(EventArgs*) { return Note("second", secondResult, secondClears); }
    bool OnCmd(EventCmd*) { return Note("cmd", true, false); }
    bool OnInit(EventInit*) { return Note("init", true, false); }

    bool firstResult = true, firstClears = false;
    bool secondResult = true, secondClears = false;
    EventArgs* current = nullptr;

private:
    bool Note(const char* who, bool result, bool clearBubble)
    {
        m_log->push_back(who);
        if (clearBubble && current)
            current->bubbleUp = false;
        return result;
    }
    std::vector<std::string>* m_log;
};

class EventSetTest : public ::testing::Test {
protected:
    EventSetTest() : listener(&log) { events.DeclareEvent(EventCmd::EventID, EventCmd::EventName()); }

    // First is subscribed before Second, so Second runs first.
    void SubscribeBoth()
    {
        ASSERT_TRUE(events.AddSubscriber(EventCmd::EventID, Subscriber(&Listener::First, &listener)));
        ASSERT_TRUE(events.AddSubscriber(EventCmd::EventID, Subscriber(&Listener::Second, &listener)));
    }

    EventCmd Fire()
    {
        EventCmd evt(&sender);
        listener.current = &evt;
        events.FireEvent(evt);
        listener.current = nullptr;
        return evt;
    }

    Sender sender;
    std::vector<std::string> log;
    Listener listener;
    SEventSet events;
};

} // namespace

TEST(Events, ClassesAnswerTheirIdAndName)
{
    struct Case {
        std::unique_ptr<EventArgs> evt;
        int id;
        const wchar_t* name;
    };
    Case cases[] = {
        {std::make_unique<EventInit>(nullptr), 8000, L"on_init"},
        {std::make_unique<EventExit>(nullptr), 8001, L"on_exit"},
        {std::make_unique<EventTimer>(nullptr), 8002, L"on_timer"},
        {std::make_unique<EventSetFocus>(nullptr), 8100, L"on_set_focus"},
        {std::make_unique<EventKillFocus>(nullptr), 8101, L"on_kill_focus"},
        {std::make_unique<EventSwndCreate>(nullptr), 8102, L"on_create"},
        {std::make_unique<EventSwndDestroy>(nullptr), 8103, L"on_destroy"},
        {std::make_unique<EventSwndSize>(nullptr), 8104, L"on_size"},
        {std::make_unique<EventSwndVisibleChanged>(nullptr), 8105, L"on_visible_changed"},
        {std::make_unique<EventSwndStateChanged>(nullptr), 8106, L"on_state_changed"},
        {std::make_unique<EventLButtonDown>(nullptr), 8107, L"on_mouse_lbutton_down"},
        {std::make_unique<EventLButtonUp>(nullptr), 8108, L"on_mouse_lbutton_up"},
        {std::make_unique<EventSwndUpdateTooltip>(nullptr), 8109, L"on_update_tooltip"},
        {std::make_unique<EventSwndMouseHover>(nullptr), 9000, L"on_mouse_hover"},
        {std::make_unique<EventSwndMouseLeave>(nullptr), 9001, L"on_mouse_leave"},
        {std::make_unique<EventCmd>(nullptr), 10000, L"on_command"},
        {std::make_unique<EventCtxMenu>(nullptr), 10001, L"on_conext_menu"},
        {std::make_unique<EventScrollViewOriginChanged>(nullptr), 10002, L"on_scrollview_origin_changed"},
        {std::make_unique<EventScrollViewSizeChanged>(nullptr), 10003, L"on_scrollview_size_changed"},
        {std::make_unique<EventScroll>(nullptr), 10004, L"on_scroll"},
        {std::make_unique<EventTabSelChanging>(nullptr), 11000, L"on_tab_sel_changing"},
        {std::make_unique<EventTabSelChanged>(nullptr), 11001, L"on_tab_sel_changed"},
        {std::make_unique<EventTabItemHover>(nullptr), 11002, L"on_tab_item_hover"},
        {std::make_unique<EventTabItemLeave>(nullptr), 11003, L"on_tab_item_leave"},
        {std::make_unique<EventSliderPos>(nullptr), 17000, L"on_slider_pos"},
        {std::make_unique<EventAnimateStart>(nullptr), 22100, L"on_animate_start"},
        {std::make_unique<EventAnimateStop>(nullptr), 22101, L"EVT_ANI_STOP"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(c.evt->GetId(), c.id);
        EXPECT_STREQ(c.evt->GetName(), c.name);
        EXPECT_STREQ(c.evt->XmlClassName(), c.name);
        EXPECT_TRUE(c.evt->MatchesClassName(c.name));
        EXPECT_TRUE(c.evt->MatchesClassName(L"eventargs"));
        EXPECT_EQ(c.evt->MatchesClassName(L"on_command"), c.id == 10000);
        EXPECT_EQ(c.evt->ObjectKind(), -1);
    }
}

TEST(Events, BaseFieldsComeFromTheSender)
{
    Sender sender;
    EventCtxMenu evt(&sender);
    EXPECT_TRUE(evt.bubbleUp);
    EXPECT_EQ(evt.handled, 0);
    EXPECT_EQ(evt.idFrom, 42);
    EXPECT_STREQ(evt.nameFrom, L"btn_ok");
    EXPECT_EQ(evt.sender, &sender);
    EXPECT_FALSE(evt.cancel);

    EventArgs anonymous(nullptr);
    EXPECT_EQ(anonymous.idFrom, 0);
    EXPECT_EQ(anonymous.nameFrom, nullptr);
    EXPECT_EQ(anonymous.GetId(), 0);
    EXPECT_EQ(anonymous.GetName(), nullptr);
    EXPECT_STREQ(anonymous.XmlClassName(), L"eventargs");

    EventSwndUpdateTooltip tip(nullptr);
    tip.text = L"hint";
    EXPECT_FALSE(tip.updated);
}

TEST_F(EventSetTest, BothHandlersRunNewestFirst)
{
    SubscribeBoth();
    EventCmd evt = Fire();
    EXPECT_EQ(log, (std::vector<std::string>{"second", "first"}));
    EXPECT_EQ(evt.handled, 2);
    EXPECT_TRUE(evt.bubbleUp);
}

TEST_F(EventSetTest, HandledAndClearedBubbleStopsTheWalk)
{
    SubscribeBoth();
    listener.secondClears = true;
    EventCmd evt = Fire();
    EXPECT_EQ(log, (std::vector<std::string>{"second"}));
    EXPECT_EQ(evt.handled, 1);
    EXPECT_FALSE(evt.bubbleUp);
}

TEST_F(EventSetTest, UnhandledSubscriberNeverStopsTheWalk)
{
    SubscribeBoth();
    listener.secondClears = true;
    listener.secondResult = false;
    EventCmd evt = Fire();
    EXPECT_EQ(log, (std::vector<std::string>{"second", "first"}));
    EXPECT_EQ(evt.handled, 1); // first still handled it; bubbleUp stays cleared for the caller
    EXPECT_FALSE(evt.bubbleUp);
}

TEST_F(EventSetTest, DuplicateSubscribersAreRefused)
{
    SubscribeBoth();
    EXPECT_FALSE(events.AddSubscriber(EventCmd::EventID, Subscriber(&Listener::First, &listener)));
    Listener other(&log);
    EXPECT_TRUE(events.AddSubscriber(EventCmd::EventID, Subscriber(&Listener::First, &other)));

    // Typed and untyped subscribers of one function and object differ by kind.
    MemberFunctionSlot<Listener, EventCmd> typed(&Listener::OnCmd, &listener);
    EXPECT_EQ(typed.Kind(), 10003u);
    EXPECT_EQ(Subscriber(&Listener::First, &listener).Kind(), 1u);
    EXPECT_TRUE(events.AddSubscriber(EventCmd::EventID, typed));
    EXPECT_FALSE(events.AddSubscriber(EventCmd::EventID, typed));

    SEvent* declared = events.FindEvent(EventCmd::EventID);
    ASSERT_NE(declared, nullptr);
    EXPECT_EQ(declared->SubscriberCount(), 4);
    EXPECT_EQ(declared->FindSubscriber(typed), 3);
    std::unique_ptr<ISlotFunctor> clone(typed.Clone());
    EXPECT_TRUE(clone->Equals(typed));
    EXPECT_EQ(declared->FindSubscriber(MemberFunctionSlot<Listener, EventCmd>(&Listener::OnCmd, &other)), -1);
}

TEST_F(EventSetTest, TypedSubscriberSeesOnlyItsOwnEvent)
{
    events.DeclareEvent(EventInit::EventID, EventInit::EventName());
    // A typed subscriber attached to another event's id is not handed that event.
    ASSERT_TRUE(events.AddSubscriber(EventInit::EventID, MemberFunctionSlot<Listener, EventCmd>(&Listener::OnCmd, &listener)));
    ASSERT_TRUE(events.AddSubscriber(EventInit::EventID, Subscriber(&Listener::OnInit, &listener)));
    EventInit evt(nullptr);
    events.FireEvent(evt);
    EXPECT_EQ(log, (std::vector<std::string>{"init"}));
    EXPECT_EQ(evt.handled, 1);
}

TEST_F(EventSetTest, UndeclaredEventsAndMutedSets)
{
    EXPECT_FALSE(events.AddSubscriber(EventInit::EventID, Subscriber(&Listener::First, &listener)));
    EventInit undeclared(nullptr);
    events.FireEvent(undeclared);
    EXPECT_EQ(undeclared.handled, 0);

    SubscribeBoth();
    events.SetMuted(true);
    EventCmd muted = Fire();
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(muted.handled, 0);
    EXPECT_TRUE(muted.bubbleUp);
    events.SetMuted(false);
    EXPECT_EQ(Fire().handled, 2);
}

TEST_F(EventSetTest, DeclarationsAndScriptHandlers)
{
    events.DeclareEvent(EventCmd::EventID, L"other_name"); // the first declaration stays
    EXPECT_STREQ(events.FindEvent(EventCmd::EventID)->Name().c_str(), L"on_command");

    EXPECT_TRUE(events.SetScriptHandler(L"on_command", L"onOk()"));
    EXPECT_FALSE(events.SetScriptHandler(L"ON_COMMAND", L"x()"));
    EXPECT_FALSE(events.SetScriptHandler(L"other_name", L"x()"));
    EXPECT_STREQ(events.GetScriptHandler(L"on_command").c_str(), L"onOk()");
    EXPECT_TRUE(events.GetScriptHandler(L"on_init").IsEmptyText());
}

TEST(EventSet, DestroyingTheSetDeletesEverySubscriber)
{
    struct Tracked : ISlotFunctor {
        explicit Tracked(int* live) : live(live) { ++*live; }
        ~Tracked() override { --*live; }
        bool Invoke(EventArgs*) override { return false; }
        ISlotFunctor* Clone() const override { return new Tracked(live); }
        bool Equals(const ISlotFunctor&) const override { return false; }
        UINT32 Kind() const override { return 0; }
        int* live;
    };
    int live = 0;
    {
        SEventSet events;
        events.DeclareEvent(1, L"one");
        events.DeclareEvent(2, L"two");
        Tracked subscriber(&live);
        events.AddSubscriber(1, subscriber);
        events.AddSubscriber(1, subscriber);
        events.AddSubscriber(2, subscriber);
        EXPECT_EQ(live, 4);
    }
    EXPECT_EQ(live, 0);
}
