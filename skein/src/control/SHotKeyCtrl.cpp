// The hot-key control.
#include "control/SHotKeyCtrl.h"
#include "control/SCtrlAttr.h"
#include "core/SXmlCreation.h"

namespace SKEIN {

using ctrl::Is;

namespace {

// The "invalidComb" bit of each modifier value (Alt 1, Ctrl 2, Shift 4).
const WORD kCombOfModifiers[8] = {kCombNone,     kCombAlt,      kCombCtrl,      kCombAltCtrl,
                                  kCombShift,    kCombAltShift, kCombCtrlShift, kCombAltCtrlShift};

bool IsDown(int vk)
{
    return (::GetKeyState(vk) & 0x8000) != 0;
}

bool IsModifierKey(WPARAM vk)
{
    return vk == VK_SHIFT || vk == VK_CONTROL || vk == VK_MENU;
}

} // namespace

SHotKeyCtrl::SHotKeyCtrl() : CAccelerator(DWORD(0)), m_invalidComb(kCombNone), m_defCombKey(0), m_capturing(false)
{
    m_flags |= kWndFocusable;
    m_eventSet.DeclareEvent(EventSetHotKey::EventID, EventSetHotKey::EventName());
}

HRESULT SHotKeyCtrl::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    WORD number = static_cast<WORD>(ctrl::ParseInt(value));
    if (Is(name, L"invalidComb"))
        m_invalidComb = number;
    else if (Is(name, L"defCombKey"))
        m_defCombKey = number;
    else if (Is(name, L"combKey"))
        SetCombination(number, GetKey());
    else if (Is(name, L"hotKey"))
        SetCombination(GetModifier(), number);
    else
        return SWindow::ApplyAttribute(name, value, loading);
    return AfterAttribute(name, value, loading, S_FALSE);
}

void SHotKeyCtrl::SetCombination(WORD modifiers, WORD key)
{
    static_cast<CAccelerator&>(*this) = CAccelerator((static_cast<DWORD>(modifiers) << 16) | key);
}

SStringW SHotKeyCtrl::QueryText(bool) const
{
    return CAccelerator::FormatText(Packed());
}

void SHotKeyCtrl::UpdateModifiers()
{
    ApplyModifiers((IsDown(VK_MENU) ? kAccelAlt : 0) | (IsDown(VK_CONTROL) ? kAccelCtrl : 0)
                   | (IsDown(VK_SHIFT) ? kAccelShift : 0));
}

void SHotKeyCtrl::ApplyModifiers(WORD held)
{
    SetCombination((m_invalidComb & kCombOfModifiers[held]) ? m_defCombKey : held, GetKey());
    EventSetHotKey evt(this);
    evt.key = GetKey();
    evt.modifiers = GetModifier();
    RaiseEvent(evt);
}

SIZE SHotKeyCtrl::TextExtent(const SStringW& text) const
{
    SIZE size = {0, 0};
    if (m_measure)
        m_measure->MeasureText(text.c_str(), text.Length(), &size);
    return size;
}

void SHotKeyCtrl::UpdateCaret()
{
    RECT rect;
    ComputeTextRect(&rect);
    SIZE text = TextExtent(QueryText());
    UINT format = m_style.GetDrawTextFormat();
    int x = rect.left + text.cx;
    if (format & DT_CENTER)
        x = rect.left + (rect.right - rect.left - text.cx) / 2 + text.cx;
    else if (format & DT_RIGHT)
        x = rect.right;
    SetCaretPosition(x, rect.top + (rect.bottom - rect.top - text.cy) / 2);
}

void SHotKeyCtrl::Changed()
{
    UpdateModifiers();
    UpdateCaret();
    InvalidateArea();
}

void SHotKeyCtrl::OnKeyDown(WPARAM vk)
{
    if (!m_capturing) {
        m_capturing = true;
        SetCombination(m_defCombKey, 0);
    }
    // Keys without a name (the modifiers among them) never become the key.
    if (!CAccelerator::KeyName(static_cast<WORD>(vk)).IsEmptyText())
        SetCombination(GetModifier(), static_cast<WORD>(vk));
    Changed();
}

void SHotKeyCtrl::OnKeyUp(WPARAM vk)
{
    if (!m_capturing)
        return;
    if (vk == GetKey()) {
        m_capturing = false;
        return;
    }
    if (GetKey() || IsDown(VK_SHIFT) || IsDown(VK_CONTROL) || IsDown(VK_MENU)) {
        if (!IsModifierKey(vk))
            return;
    } else {
        m_capturing = false;
    }
    Changed();
}

int SHotKeyCtrl::CreateHotKey()
{
    int result = HandleCreate();
    if (result != 0)
        return result;
    m_measure = NewRenderTarget(0, 0);
    if (m_measure)
        ApplyAncestorPaintSettings(m_measure);
    SXmlCreation::CountWork(kXmlWorkPerHotKey); // the measuring target
    return 0;
}

// The focus leaves with modifiers held and no key: their releases go to another window, so the
// combination ends as if they had come here.
void SHotKeyCtrl::EndCapturing()
{
    if (!m_capturing)
        return;
    m_capturing = false;
    if (GetKey())
        return;
    ApplyModifiers(0);
    InvalidateArea();
}

void SHotKeyCtrl::OnFocus(bool gained)
{
    if (gained) {
        CreateCaret(nullptr, 1, TextExtent(SStringW(L"A")).cy);
        UpdateCaret();
        ShowCaret(TRUE);
    } else {
        ShowCaret(FALSE);
        EndCapturing();
    }
    HandleFocusChange(gained);
}

void SHotKeyCtrl::Paint(IRenderTarget* rt)
{
    SPaintState saved;
    BeginPaintState(rt, &saved);
    RECT rect;
    ComputeTextRect(&rect);
    SStringW text = QueryText();
    UINT format = (m_style.GetDrawTextFormat() & ~DT_BOTTOM) | DT_SINGLELINE | DT_VCENTER;
    RenderText(rt, text.c_str(), text.Length(), &rect, format);
    EndPaintState(rt, &saved);
}

BOOL SHotKeyCtrl::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    *result = 0;
    switch (msg) {
    case WM_CREATE: *result = CreateHotKey(); return TRUE;
    case WM_DESTROY:
        DropFocus(); // its caret stops blinking with it
        return SWindow::HandleMessage(msg, wParam, lParam, result);
    case WM_PAINT: Paint(reinterpret_cast<IRenderTarget*>(wParam)); return TRUE;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: OnFocus(msg == WM_SETFOCUS); return TRUE;
    case WM_KEYDOWN: OnKeyDown(wParam); return TRUE;
    case WM_KEYUP: OnKeyUp(wParam); return TRUE;
    case WM_SYSKEYDOWN:
        // Without Alt the system's own handling runs.
        if (!IsDown(VK_MENU))
            return FALSE;
        OnKeyDown(wParam);
        return TRUE;
    case WM_SYSKEYUP:
        if (wParam != VK_MENU && !IsDown(VK_MENU))
            return FALSE;
        OnKeyUp(wParam);
        return TRUE;
    default: return SWindow::HandleMessage(msg, wParam, lParam, result);
    }
}

} // namespace SKEIN
