// The combo base: text part, drop button, popup and selection keys; and the combo's edit field.
#include "control/SComboBase.h"
#include <windowsx.h>
#include <richedit.h>
#include "control/SCtrlAttr.h"
#include "core/SApp.h"
#include "helper/SXmlLookup.h"
#include "layout/SLayout-i.h"
#include "res.mgr/SSkinPoolMgr.h"
#include "res.mgr/SUiDef.h"

namespace SKEIN {

using ctrl::Is;

namespace {

enum { kButtonNormal = 0, kButtonHover = 1, kButtonPushed = 2 };

int SkinStateOf(int buttonState)
{
    if (buttonState & (2 | 4))
        return 2;
    return (buttonState & 1) ? 1 : 0;
}

// Events of window (when there is one) muted for the scope.
class MuteScope {
public:
    explicit MuteScope(SWindow* window)
        : m_events(window ? window->GetEventSet() : nullptr), m_was(m_events && m_events->IsMuted())
    {
        if (m_events)
            m_events->SetMuted(true);
    }
    ~MuteScope()
    {
        if (m_events)
            m_events->SetMuted(m_was);
    }

private:
    SEventSet* m_events;
    bool m_was;
};

// The combo's popup: a key step of the drop list that raised no selection event of its own (a
// list view's keys raise none) is reported by the combo.
class ComboPopup : public SDropDownWnd_ComboBox {
public:
    explicit ComboPopup(SComboBase* combo) : SDropDownWnd_ComboBox(combo), m_combo(combo) {}

    BOOL HandleWindowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result, DWORD mapId) override
    {
        bool step = mapId == 0 && msg == WM_KEYDOWN && (wParam == VK_UP || wParam == VK_DOWN);
        int before = m_combo->GetCurSel();
        BOOL handled = SDropDownWnd_ComboBox::HandleWindowMessage(hwnd, msg, wParam, lParam, result, mapId);
        if (step)
            m_combo->OnListKeyStep(before);
        return handled;
    }

private:
    SComboBase* m_combo;
};

} // namespace

// ---- combo edit ----

BOOL SComboEdit::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (msg == WM_MOUSEHOVER || msg == WM_MOUSELEAVE) {
        BOOL handled = SEdit::HandleMessage(msg, wParam, lParam, result);
        if (m_owner)
            m_owner->SendUiMessage(msg, wParam, lParam);
        return handled;
    }
    if (msg == WM_KEYDOWN && (wParam == VK_DOWN || wParam == VK_ESCAPE) && m_owner) {
        *result = m_owner->SendUiMessage(msg, wParam, lParam);
        return TRUE;
    }
    return SEdit::HandleMessage(msg, wParam, lParam, result);
}

BOOL SComboEdit::RaiseEvent(EventArgs& evt)
{
    if (evt.GetId() == EventRENotify::EventID && m_owner) {
        evt.idFrom = m_owner->GetId();
        evt.nameFrom = m_owner->GetName();
    }
    return SEdit::RaiseEvent(evt);
}

// ---- combo base ----

SComboBase::SComboBase()
    : m_initialSel(-1), m_edit(nullptr), m_buttonState(kButtonNormal), m_reportedSel(-1), m_dropDown(1),
      m_dropHeight(200.0f, SLayoutSize::kDp), m_animateTime(200), m_popup(nullptr), m_autoFitDropBtn(1)
{
    m_buttonSkin = ctrl::FindSystemSkin(kSysSkinDropBtn, 100);
    m_style.ApplyAttribute(SStringW(L"align"), SStringW(L"left"), TRUE);
    m_style.ApplyAttribute(SStringW(L"valign"), SStringW(L"middle"), TRUE);
    m_flags |= kWndFocusable;
    m_eventSet.DeclareEvent(EventCBSelChange::EventID, EventCBSelChange::EventName());
    m_eventSet.DeclareEvent(EventRENotify::EventID, EventRENotify::EventName());
    m_eventSet.DeclareEvent(EventCBDropdown::EventID, EventCBDropdown::EventName());
}

SComboBase::~SComboBase() {}

HRESULT SComboBase::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    if (Is(name, L"dropDown")) {
        m_dropDown = ctrl::ParseInt(value);
    } else if (Is(name, L"dropHeight")) {
        m_dropHeight = ResolveNamedDimension(value.c_str());
    } else if (Is(name, L"curSel")) {
        m_initialSel = ctrl::ParseInt(value);
    } else if (Is(name, L"btnSkin")) {
        // A name that finds no skin keeps the current one: the button's geometry needs a skin.
        if (ISkinObj* skin = ctrl::FindSkin(value, GetScale()))
            m_buttonSkin = skin;
    } else if (Is(name, L"animateTime")) {
        m_animateTime = ctrl::ParseInt(value);
    } else if (Is(name, L"autoFitDropBtn")) {
        m_autoFitDropBtn = ctrl::ParseInt(value);
    } else {
        return SWindow::ApplyAttribute(name, value, loading);
    }
    return AfterAttribute(name, value, loading, S_OK);
}

int SComboBase::FindString(const SStringW& text, int start) const
{
    for (int i = std::max(0, start); i < GetCount(); ++i) {
        if (GetItemText(i, true) == text)
            return i;
    }
    return -1;
}

void SComboBase::OnSelChanged()
{
    m_reportedSel = GetCurSel();
    EventCBSelChange evt(this);
    evt.selection = GetCurSel();
    RaiseEvent(evt);
}

void SComboBase::OnListKeyStep(int before)
{
    int selection = GetCurSel();
    if (selection != before && selection != m_reportedSel)
        OnSelChanged();
}

void SComboBase::SyncEditText()
{
    if (m_edit && !m_edit->GetEventSet()->IsMuted()) {
        MuteScope mute(m_edit);
        m_edit->AssignText(GetItemText(GetCurSel(), false));
    }
    InvalidateArea();
}

bool SComboBase::EditShowsChosenItem() const
{
    int selection = GetCurSel();
    return selection != -1 && m_edit->QueryText() == GetItemText(selection, false);
}

SStringW SComboBase::QueryText(bool raw) const
{
    if (m_edit)
        return m_edit->QueryText(raw);
    int selection = GetCurSel();
    return selection == -1 ? SStringW() : GetItemText(selection, raw);
}

BOOL SComboBase::AssignText(const SStringW& text)
{
    m_text.SetSource(text);
    SetCurSel(-1);
    if (m_edit)
        m_edit->AssignText(text);
    InvalidateArea();
    return TRUE;
}

void SComboBase::ApplyColorTint(COLORREF color)
{
    SWindow::ApplyColorTint(color);
    if (m_buttonSkin)
        m_buttonSkin->ApplyColorize(color);
    if (m_popup)
        m_popup->SendUiMessageToTree(kUiMsgColorTint, color);
}

int SComboBase::RetranslateTexts()
{
    int result = SWindow::RetranslateTexts();
    if (m_popup)
        m_popup->SendUiMessageToTree(kUiMsgLanguageChanged);
    return result;
}

void SComboBase::ApplyScale(int scale)
{
    SWindow::ApplyScale(scale);
    if (m_popup)
        m_popup->SendUiMessageToTree(kUiMsgScaleChanged, scale);
    ctrl::RescaleSkin(m_buttonSkin, scale);
}

// ---- creation ----

BOOL SComboBase::CreateChildrenFromXml(pugi::xml_node node)
{
    if (pugi::xml_node style = XmlChildNoCase(node, L"dropdownStyle")) {
        m_dropdownStyle.reset();
        m_dropdownStyle.append_copy(style);
    }
    if (!m_dropDown)
        CreateEdit(node);
    return CreateListBox(node);
}

void SComboBase::CreateEdit(pugi::xml_node node)
{
    SComboEdit* edit = new (std::nothrow) SComboEdit;
    if (!edit)
        return;
    edit->SetOwnerWindow(this);
    if (SApplication* app = SApplication::Instance())
        app->ApplyClassDefaults(edit);
    LinkChild(edit);
    {
        MuteScope mute(edit);
        pugi::xml_node style = XmlChildNoCase(node, L"editStyle");
        if (style)
            edit->ApplyXmlAttributes(style);
        edit->SendUiMessage(WM_CREATE);
    }
    edit->ApplyAttribute(SStringW(L"id"), SStringW(L"-100"), TRUE);
    edit->SendUiMessage(EM_SETEVENTMASK, 0, ENM_CHANGE);
    m_edit = edit;
}

SWindow* SComboBase::CreateDropList(pugi::xml_node node, const wchar_t* defaultClass)
{
    SApplication* app = SApplication::Instance();
    if (!app)
        return nullptr;
    pugi::xml_node style = XmlChildNoCase(node, L"listStyle");
    pugi::xml_attribute wanted = XmlAttributeNoCase(style, L"wndclass");
    SWindow* list = nullptr;
    if (wanted) {
        list = static_cast<SWindow*>(app->CreateWindowByName(wanted.value()));
        // Only a window of the expected kind can serve every combo operation.
        if (list && !list->MatchesClassName(defaultClass)) {
            list->Release();
            list = nullptr;
        }
    }
    if (!list)
        list = static_cast<SWindow*>(app->CreateWindowByName(defaultClass));
    if (!list)
        return nullptr;
    list->AttachContainer(GetHostContainer());
    list->LoadFromXml(style);
    list->ApplyAttribute(SStringW(L"pos"), SStringW(L"0,0,-0,-0"), TRUE);
    list->ApplyAttribute(SStringW(L"hotTrack"), SStringW(L"1"), TRUE);
    list->SetOwnerWindow(this);
    list->ApplyAttribute(SStringW(L"id"), SStringW(L"-200"), TRUE);
    list->SendUiMessage(WM_SHOWWINDOW, FALSE, 0); // shown only inside the popup
    return list;
}

void SComboBase::InsertDropList(SDropDownWnd* popup, SWindow* list)
{
    popup->LinkChild(list);
    popup->ArrangeChildren();
    list->SendUiMessage(WM_SHOWWINDOW, TRUE, 0);
    list->TakeFocus();
}

void SComboBase::RemoveDropList(SDropDownWnd* popup, SWindow* list)
{
    popup->UnlinkChild(list);
    list->SendUiMessage(WM_SHOWWINDOW, FALSE, 0);
    list->AttachContainer(GetHostContainer());
}

int SComboBase::FitDropHeight(SWindow* list, long long contentHeight) const
{
    RECT margin = list->GetStyle().GetMarginRect();
    return static_cast<int>(std::min<long long>(contentHeight + margin.top + margin.bottom, DropHeightPx()));
}

// ---- geometry ----

int SComboBase::ButtonWidth(int height) const
{
    SIZE skin = ctrl::SkinSize(m_buttonSkin);
    return skin.cy > 0 ? height * skin.cx / skin.cy : 0;
}

RECT SComboBase::DropButtonRect() const
{
    RECT client;
    GetInnerRect(&client);
    int h = client.bottom - client.top;
    SIZE skin = ctrl::SkinSize(m_buttonSkin);
    if (!m_autoFitDropBtn)
        return RECT{client.right - ButtonWidth(h), client.top, client.right, client.bottom};
    int top = client.top + (h - skin.cy) / 2;
    return RECT{client.right - skin.cx, top, client.right, top + skin.cy};
}

void SComboBase::ComputeTextRect(RECT* out) const
{
    GetInnerRect(out);
    RECT padding = m_style.GetPaddingRect();
    out->left += padding.left;
    out->top += padding.top;
    out->right -= padding.right;
    out->bottom -= padding.bottom;
    RECT button = DropButtonRect();
    out->right -= button.right - button.left;
}

BOOL SComboBase::IsFocusable() const
{
    return m_dropDown && (m_flags & kWndFocusable);
}

void SComboBase::ArrangeChildren()
{
    SWindow::ArrangeChildren();
    if (!m_edit)
        return;
    RECT client;
    GetInnerRect(&client);
    RECT padding = m_style.GetPaddingRect();
    RECT rect = {client.left + padding.left, client.top + padding.top,
                 client.right - (ButtonWidth(client.bottom - client.top) + padding.right), client.bottom - padding.bottom};
    m_edit->ApplyRect(rect);
}

SIZE SComboBase::ComputePreferredSize(const RECT* available)
{
    int scale = GetScale();
    int extent[2] = {available ? static_cast<int>(available->right - available->left) : 0,
                     available ? static_cast<int>(available->bottom - available->top) : 0};
    int known[2] = {-1, -1};
    for (int axis = 0; axis < 2; ++axis) {
        if (m_layoutParam && m_layoutParam->IsSpecifiedSize(axis))
            known[axis] = m_layoutParam->GetSpecifiedSize(axis).ToPixels(scale);
        else if (m_layoutParam && m_layoutParam->IsMatchParent(axis))
            known[axis] = extent[axis];
    }
    if (known[0] >= 0 && known[1] >= 0)
        return SIZE{known[0], known[1]};
    SRefPtr<IRenderTarget> rt = NewRenderTarget(0, 0);
    SIZE text = {0, 0};
    if (rt) {
        ApplyAncestorPaintSettings(rt);
        SStringW content = QueryText(false);
        bool empty = content.IsEmptyText();
        RECT box = {0, 0, 100000, 100000};
        UINT format = (m_style.GetDrawTextFormat() & ~0xFu) | DT_CALCRECT;
        rt->DrawText(empty ? L"A" : content.c_str(), empty ? 1 : content.Length(), &box, format);
        text = SIZE{empty ? 0 : box.right - box.left, box.bottom - box.top};
    }
    SIZE skin = ctrl::SkinSize(m_buttonSkin);
    RECT margin = m_style.GetMarginRect();
    RECT padding = m_style.GetPaddingRect();
    int measured[2] = {text.cx + skin.cx + margin.left + margin.right + padding.left + padding.right,
                       std::max(text.cy, skin.cy) + margin.top + margin.bottom + padding.top + padding.bottom};
    return SIZE{known[0] >= 0 ? known[0] : measured[0], known[1] >= 0 ? known[1] : measured[1]};
}

// ---- painting and input ----

void SComboBase::Paint(IRenderTarget* rt)
{
    SPaintState saved;
    BeginPaintState(rt, &saved);
    if (GetCurSel() != -1 && !m_edit) {
        RECT rect;
        ComputeTextRect(&rect);
        SStringW text = QueryText(false);
        RenderText(rt, text.c_str(), text.Length(), &rect, m_style.GetDrawTextFormat());
    }
    if (HoldsFocus())
        PaintFocusIndicator(rt);
    EndPaintState(rt, &saved);
    if (m_buttonSkin) {
        RECT button = DropButtonRect();
        m_buttonSkin->DrawByState(rt, &button, SkinStateOf(m_buttonState));
    }
}

void SComboBase::OnMouseMove(POINT pt)
{
    if (m_buttonState == kButtonPushed)
        return;
    RECT button = DropButtonRect();
    int old = m_buttonState;
    if (::PtInRect(&button, pt))
        m_buttonState = kButtonHover;
    else if (m_buttonState == kButtonHover)
        m_buttonState = kButtonNormal;
    if (old != m_buttonState)
        InvalidateArea(&button);
}

void SComboBase::OnMouseLeave()
{
    if (m_buttonState == kButtonPushed)
        return;
    if (m_state & kStateHover)
        HandleMouseLeave();
    if (m_buttonState == kButtonHover) {
        m_buttonState = kButtonNormal;
        RECT button = DropButtonRect();
        InvalidateArea(&button);
    }
}

BOOL SComboBase::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    LRESULT ignored = 0;
    if (!result)
        result = &ignored;
    *result = 0;
    POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (msg) {
    case WM_DESTROY:
        CloseUp();
        return SWindow::HandleMessage(msg, wParam, lParam, result);
    case WM_SETFOCUS:
        if (m_edit) {
            m_edit->TakeFocus();
            return TRUE;
        }
        return SWindow::HandleMessage(msg, wParam, lParam, result);
    case WM_KILLFOCUS:
        SWindow::HandleMessage(msg, wParam, lParam, result);
        CloseUp();
        return TRUE;
    case WM_PAINT: Paint(reinterpret_cast<IRenderTarget*>(wParam)); return TRUE;
    case WM_KEYDOWN: {
        int selection = GetCurSel();
        if ((wParam == VK_LEFT || wParam == VK_UP) && selection - 1 >= 0 && selection - 1 < GetCount())
            SetCurSel(selection - 1);
        else if ((wParam == VK_RIGHT || wParam == VK_DOWN) && selection + 1 < GetCount())
            SetCurSel(selection + 1);
        return TRUE;
    }
    case WM_CHAR:
        if (m_edit)
            *result = m_edit->SendUiMessage(msg, wParam, lParam);
        return TRUE;
    case WM_MOUSEMOVE: OnMouseMove(pt); return TRUE;
    case WM_LBUTTONDOWN:
        if (m_flags & kWndFocusable)
            TakeFocus();
        ShowDropDown();
        return TRUE;
    case WM_MOUSEWHEEL: {
        short delta = static_cast<short>(HIWORD(wParam));
        int selection = GetCurSel();
        if (delta <= 0 && selection + 1 < GetCount())
            SetCurSel(selection + 1);
        else if (delta > 0 && selection > 0)
            SetCurSel(selection - 1);
        *result = 1;
        return TRUE;
    }
    case WM_MOUSELEAVE: OnMouseLeave(); return TRUE;
    default: return SWindow::HandleMessage(msg, wParam, lParam, result);
    }
}

// The text services report a change for some keys that change nothing: the item stays chosen
// while the edit still shows it.
BOOL SComboBase::RaiseEvent(EventArgs& evt)
{
    if (m_edit && evt.sender == static_cast<IObject*>(m_edit) && evt.GetId() == EventRENotify::EventID
        && static_cast<EventRENotify&>(evt).code == EN_CHANGE && !m_edit->GetEventSet()->IsMuted()
        && !EditShowsChosenItem()) {
        MuteScope mute(m_edit);
        SetCurSel(-1);
    }
    return SWindow::RaiseEvent(evt);
}

// ---- popup ----

void SComboBase::ShowDropDown()
{
    if (m_buttonState == kButtonPushed)
        return;
    if (!m_popup) {
        m_popup = new (std::nothrow) ComboPopup(this);
        if (!m_popup)
            return;
        m_popup->SendUiMessageToTree(kUiMsgScaleChanged, GetScale());
    }
    EventCBDropdown dropping(this);
    dropping.dropDownWindow = m_popup;
    RaiseEvent(dropping);

    int height = GetListBoxHeight();
    HWND host = m_container ? m_container->GetHostHwnd() : nullptr;
    RECT combo = GetWindowRect();
    ::MapWindowPoints(host, nullptr, reinterpret_cast<POINT*>(&combo), 2);
    RECT rect = PlaceDropDown(host, combo, combo.left, SIZE{combo.right - combo.left, height});
    bool down = rect.top >= combo.bottom;
    SDropDownWnd* popup = m_popup;
    if (!popup->CreatePopup(rect, nullptr, WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_TOPMOST)) {
        // Nothing to show: the object goes at once, and its filter with it.
        m_popup = nullptr;
        popup->Release();
        return;
    }
    if (m_animateTime < 1)
        ::SetWindowPos(popup->Handle(), nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    else
        popup->AnimateHost(m_animateTime, AW_SLIDE | (down ? AW_VER_POSITIVE : AW_VER_NEGATIVE));
    ::SetCapture(popup->Handle());
}

void SComboBase::CloseUp()
{
    if (m_popup)
        m_popup->EndPopup(kDropDownCancelled);
}

void SComboBase::OnDropDownCreated(SDropDownWnd* popup)
{
    pugi::xml_document style;
    pugi::xml_node node = m_dropdownStyle.first_child();
    node = node ? style.append_copy(node) : style.append_child(L"dropdownStyle");
    if (!XmlAttributeNoCase(node, L"trCtx"))
        node.append_attribute(L"trCtx").set_value(GetTrCtx().c_str());
    popup->ApplyXmlAttributes(node);
    m_buttonState = kButtonPushed;
    RECT button = DropButtonRect();
    InvalidateArea(&button);
}

void SComboBase::OnDropDownDestroyed(SDropDownWnd* popup)
{
    if (m_edit)
        m_edit->TakeFocus();
    m_popup = nullptr;
    m_buttonState = kButtonNormal;
    RECT button = DropButtonRect();
    InvalidateArea(&button);
    ChangeState(0, kStateHover, TRUE);
    if (HWND host = m_container ? m_container->GetHostHwnd() : nullptr) {
        POINT cursor = {};
        ::GetCursorPos(&cursor);
        ::ScreenToClient(host, &cursor);
        ::PostMessageW(host, WM_MOUSEMOVE, 0, MAKELPARAM(cursor.x, cursor.y));
    }
    if (popup->GetExitCode() == kDropDownAccepted) {
        // Enter with no item chosen keeps what was typed: the edit is muted, so not synced.
        MuteScope keepTyped(GetCurSel() == -1 ? m_edit : nullptr);
        OnSelChanged();
    }
}

} // namespace SKEIN
