#pragma once
// The events raised by the framework core, its resources and its basic controls.
#include "core/SEventArgs.h"

namespace SKEIN {

SKEIN_SIMPLE_EVENT(EventInit, 8000, L"on_init")
SKEIN_SIMPLE_EVENT(EventExit, 8001, L"on_exit")

class EventTimer : public EventArgs {
    SKEIN_EVENT_CLASS(8002, L"on_timer")
    explicit EventTimer(IObject* sender) : EventArgs(sender), timerId(0) {}
    UINT timerId;
};

SKEIN_SIMPLE_EVENT(EventSetFocus, 8100, L"on_set_focus")
SKEIN_SIMPLE_EVENT(EventKillFocus, 8101, L"on_kill_focus")
SKEIN_SIMPLE_EVENT(EventSwndCreate, 8102, L"on_create")
SKEIN_SIMPLE_EVENT(EventSwndDestroy, 8103, L"on_destroy")

class EventSwndSize : public EventArgs {
    SKEIN_EVENT_CLASS(8104, L"on_size")
    explicit EventSwndSize(IObject* sender) : EventArgs(sender), size{0, 0} {}
    SIZE size;
};

SKEIN_SIMPLE_EVENT(EventSwndVisibleChanged, 8105, L"on_visible_changed")

class EventSwndStateChanged : public EventArgs {
    SKEIN_EVENT_CLASS(8106, L"on_state_changed")
    explicit EventSwndStateChanged(IObject* sender) : EventArgs(sender), oldState(0), newState(0) {}
    DWORD oldState;
    DWORD newState;
};

class EventLButtonDown : public EventArgs {
    SKEIN_EVENT_CLASS(8107, L"on_mouse_lbutton_down")
    explicit EventLButtonDown(IObject* sender) : EventArgs(sender), pt{0, 0} {}
    POINT pt;
};

class EventLButtonUp : public EventArgs {
    SKEIN_EVENT_CLASS(8108, L"on_mouse_lbutton_up")
    explicit EventLButtonUp(IObject* sender) : EventArgs(sender), pt{0, 0} {}
    POINT pt;
};

class EventSwndUpdateTooltip : public EventArgs {
    SKEIN_EVENT_CLASS(8109, L"on_update_tooltip")
    explicit EventSwndUpdateTooltip(IObject* sender) : EventArgs(sender), updated(FALSE) {}
    SStringW text;
    BOOL updated;
};

SKEIN_SIMPLE_EVENT(EventSwndMouseHover, 9000, L"on_mouse_hover")
SKEIN_SIMPLE_EVENT(EventSwndMouseLeave, 9001, L"on_mouse_leave")
SKEIN_SIMPLE_EVENT(EventCmd, 10000, L"on_command")

class EventCtxMenu : public EventArgs {
    SKEIN_EVENT_CLASS(10001, L"on_conext_menu")
    explicit EventCtxMenu(IObject* sender) : EventArgs(sender), pt{0, 0}, cancel(FALSE) {}
    POINT pt;
    BOOL cancel;
};

class EventScrollViewOriginChanged : public EventArgs {
    SKEIN_EVENT_CLASS(10002, L"on_scrollview_origin_changed")
    explicit EventScrollViewOriginChanged(IObject* sender) : EventArgs(sender), oldOrigin{0, 0}, newOrigin{0, 0} {}
    POINT oldOrigin;
    POINT newOrigin;
};

class EventScrollViewSizeChanged : public EventArgs {
    SKEIN_EVENT_CLASS(10003, L"on_scrollview_size_changed")
    explicit EventScrollViewSizeChanged(IObject* sender) : EventArgs(sender), oldSize{0, 0}, newSize{0, 0} {}
    SIZE oldSize;
    SIZE newSize;
};

class EventScroll : public EventArgs {
    SKEIN_EVENT_CLASS(10004, L"on_scroll")
    explicit EventScroll(IObject* sender) : EventArgs(sender), scrollCode(0), position(0), vertical(0) {}
    int scrollCode;
    int position;
    int vertical;
};

class EventTabSelChanging : public EventArgs {
    SKEIN_EVENT_CLASS(11000, L"on_tab_sel_changing")
    explicit EventTabSelChanging(IObject* sender) : EventArgs(sender), oldSel(0), newSel(0), cancel(FALSE) {}
    int oldSel;
    int newSel;
    BOOL cancel;
};

class EventTabSelChanged : public EventArgs {
    SKEIN_EVENT_CLASS(11001, L"on_tab_sel_changed")
    explicit EventTabSelChanged(IObject* sender) : EventArgs(sender), oldSel(0), newSel(0) {}
    int oldSel;
    int newSel;
};

class EventTabItemHover : public EventArgs {
    SKEIN_EVENT_CLASS(11002, L"on_tab_item_hover")
    explicit EventTabItemHover(IObject* sender) : EventArgs(sender), index(0) {}
    int index;
};

class EventTabItemLeave : public EventArgs {
    SKEIN_EVENT_CLASS(11003, L"on_tab_item_leave")
    explicit EventTabItemLeave(IObject* sender) : EventArgs(sender), index(0) {}
    int index;
};

class EventSliderPos : public EventArgs {
    SKEIN_EVENT_CLASS(17000, L"on_slider_pos")
    explicit EventSliderPos(IObject* sender) : EventArgs(sender), newPos(0) {}
    int newPos;
};

SKEIN_SIMPLE_EVENT(EventAnimateStart, 22100, L"on_animate_start")
SKEIN_SIMPLE_EVENT(EventAnimateStop, 22101, L"EVT_ANI_STOP")

} // namespace SKEIN
