#include "core/SFocusManager.h"
#include "core/SWnd.h"

namespace SKEIN {

namespace {

// Saved while nothing was focused.
const SwndHandle kSavedNothing = 0xFFFFFFFFu;

SWindow* Window(SwndHandle handle)
{
    return SWindowMgr::GetWindow(handle);
}

bool KeyDown(int vk)
{
    return (::GetKeyState(vk) & 0x8000) != 0;
}

SWindow* Relative(SWindow* window, int kind)
{
    return window->GetRelative(kind);
}

} // namespace

// ---- FocusSearch ----

SWindow* FocusSearch::Offer(SWindow* window) const
{
    if (m_groupParent && window->IsGroupMember() && window->GetParentWindow() == m_groupParent)
        return nullptr;
    SWindow* checked = window->FindCheckedGroupMember();
    SWindow* offered = checked ? checked : window;
    return CFocusManager::IsFocusableWindow(offered) ? offered : nullptr;
}

SWindow* FocusSearch::FindNext(SWindow* start, bool reverse, bool checkStart)
{
    if (!Relative(m_root, kRelFirstChild))
        return nullptr;
    SWindow* from = start;
    if (!from) {
        from = Relative(m_root, reverse ? kRelLastChild : kRelFirstChild);
        while (reverse && Relative(from, kRelLastChild))
            from = Relative(from, kRelLastChild);
        checkStart = true;
    }
    m_groupParent = start && start->IsGroupMember() ? start->GetParentWindow() : nullptr;
    SWindow* found = reverse ? SearchBackward(from, checkStart, true, !CFocusManager::IsFocusableWindow(from))
                             : SearchForward(from, checkStart, true, true);
    if (!found && m_wrap && start) {
        m_wrap = false;
        return FindNext(nullptr, reverse, false);
    }
    return found;
}

SWindow* FocusSearch::SearchForward(SWindow* window, bool checkSelf, bool mayGoUp, bool mayGoDown)
{
    if (checkSelf) {
        if (SWindow* offered = Offer(window))
            return offered;
    }
    SWindow* child = mayGoDown ? Relative(window, kRelFirstChild) : nullptr;
    if (SWindow* found = child ? SearchForward(child, true, false, true) : nullptr)
        return found;
    SWindow* next = Relative(window, kRelNextSibling);
    if (SWindow* found = next ? SearchForward(next, true, false, true) : nullptr)
        return found;
    if (!mayGoUp)
        return nullptr;
    for (SWindow* ancestor = window->GetParentWindow(); ancestor && ancestor != m_root;
         ancestor = ancestor->GetParentWindow()) {
        if (SWindow* sibling = Relative(ancestor, kRelNextSibling))
            return SearchForward(sibling, true, true, true);
    }
    return nullptr;
}

SWindow* FocusSearch::SearchBackward(SWindow* window, bool checkSelf, bool mayGoUp, bool mayGoDown)
{
    SWindow* child = mayGoDown ? Relative(window, kRelLastChild) : nullptr;
    if (SWindow* found = child ? SearchBackward(child, true, false, true) : nullptr)
        return found;
    if (checkSelf) {
        if (SWindow* offered = Offer(window))
            return offered;
    }
    SWindow* previous = Relative(window, kRelPrevSibling);
    if (SWindow* found = previous ? SearchBackward(previous, true, false, true) : nullptr)
        return found;
    SWindow* parent = window->GetParentWindow();
    if (!mayGoUp || !parent || parent == m_root)
        return nullptr;
    return SearchBackward(parent, true, true, false);
}

// ---- CFocusManager ----

CFocusManager::CFocusManager(SWindow* root)
    : m_focused(0), m_saved(0), m_lastReason(kFocusReasonDirect), m_root(root), m_accelerators(17)
{
}

CFocusManager::~CFocusManager()
{
    for (auto* node = m_accelerators.FirstNode(); node; node = m_accelerators.NextNode(node))
        delete node->value;
}

bool CFocusManager::IsFocusableWindow(SWindow* window)
{
    return window && window->IsFocusable() && window->TestVisible() && !window->TestDisabled();
}

void CFocusManager::RegisterAccelerator(const CAccelerator& accel, IAcceleratorTarget* target)
{
    auto* node = m_accelerators.Lookup(accel.Packed());
    if (!node) {
        TargetList* targets = new TargetList(10);
        node = m_accelerators.SetAt(accel.Packed(), targets);
        if (!node) {
            delete targets;
            return;
        }
    }
    node->value->AddTail(target);
}

bool CFocusManager::UnregisterAccelerator(const CAccelerator& accel, IAcceleratorTarget* target)
{
    auto* node = m_accelerators.Lookup(accel.Packed());
    auto* entry = node ? node->value->Find(target) : nullptr;
    if (!entry)
        return false;
    node->value->RemoveNode(entry);
    return true;
}

void CFocusManager::UnregisterAccelerators(IAcceleratorTarget* target)
{
    for (auto* node = m_accelerators.FirstNode(); node; node = m_accelerators.NextNode(node)) {
        if (auto* entry = node->value->Find(target))
            node->value->RemoveNode(entry);
    }
}

bool CFocusManager::ProcessAccelerator(const CAccelerator& accel)
{
    auto* node = m_accelerators.Lookup(accel.Packed());
    if (!node)
        return false;
    // A copy: targets may unregister themselves or others while they run.
    SListSnapshot<IAcceleratorTarget*> targets(*node->value);
    for (int i = 0; i < targets.Count(); ++i) {
        if (targets[i]->OnAcceleratorPressed(accel))
            return true;
    }
    return false;
}

void CFocusManager::ValidateFocus()
{
    SWindow* focused = Window(m_focused);
    if (!focused || focused->GetRootWindow() != m_root)
        m_focused = 0;
}

void CFocusManager::SaveFocus()
{
    // Deactivation and the loss of the OS focus both arrive: the first one saves.
    if (m_saved)
        return;
    ValidateFocus();
    SwndHandle old = m_focused;
    m_saved = old;
    m_focused = 0;
    if (SWindow* window = Window(old))
        window->SendUiMessage(WM_KILLFOCUS);
    else
        m_saved = kSavedNothing;
}

void CFocusManager::RestoreFocus()
{
    SwndHandle saved = m_saved;
    m_saved = 0;
    SWindow* window = Window(saved);
    if (!window || window->GetRootWindow() != m_root || !window->TestVisible() || window->TestDisabled())
        return;
    m_focused = saved;
    m_lastReason = kFocusReasonRestore;
    window->SendUiMessage(WM_SETFOCUS, 0, kFocusReasonRestore);
}

void CFocusManager::SetFocusedWindow(SwndHandle handle, int reason)
{
    if (handle == m_focused)
        return;
    if (m_saved) {
        m_saved = handle;
        return;
    }
    m_lastReason = reason;
    SwndHandle old = m_focused;
    m_focused = 0;
    if (SWindow* window = Window(old))
        window->SendUiMessage(WM_KILLFOCUS, handle);
    SWindow* window = Window(handle);
    if (!window || window->TestDisabled() || !window->IsFocusable())
        return;
    SwndHandle current = m_focused;
    m_focused = handle;
    window->SendUiMessage(WM_SETFOCUS, current, reason);
}

void CFocusManager::AdvanceFocus(bool reverse)
{
    ValidateFocus();
    FocusSearch search(m_root, true);
    if (SWindow* next = search.FindNext(Window(m_focused), reverse, false))
        SetFocusedWindow(next->GetHandle(), kFocusReasonNavigation);
}

bool CFocusManager::MoveInRadioGroup(SWindow* focused, UINT vk)
{
    bool forward = vk == VK_RIGHT || vk == VK_DOWN;
    SWindow* parent = focused->GetParentWindow();
    SWindow* window = focused;
    for (;;) {
        window = Relative(window, forward ? kRelNextSibling : kRelPrevSibling);
        if (!window && parent)
            window = Relative(parent, forward ? kRelFirstChild : kRelLastChild);
        if (!window || window == focused)
            return true;
        // Hidden or disabled members are passed over, so the focus is never lost to them.
        if (window->IsGroupMember() && IsFocusableWindow(window)) {
            SetFocusedWindow(window->GetHandle(), kFocusReasonNavigation);
            return true;
        }
    }
}

bool CFocusManager::OnKeyDown(UINT vk)
{
    SWindow* focused = Window(m_focused);
    if (vk == VK_TAB && !KeyDown(VK_CONTROL)) {
        MSG msg = {nullptr, WM_KEYDOWN, vk, 0, 0, {0, 0}};
        if (!focused || !(focused->QueryWantedKeys(&msg) & DLGC_WANTTAB)) {
            AdvanceFocus(KeyDown(VK_SHIFT));
            return true;
        }
    }
    if (focused && focused->IsGroupMember() && vk >= VK_LEFT && vk <= VK_DOWN)
        return MoveInRadioGroup(focused, vk);
    return ProcessAccelerator(CAccelerator(vk, KeyDown(VK_CONTROL), KeyDown(VK_MENU), KeyDown(VK_SHIFT)));
}

} // namespace SKEIN
