// The date-time picker: fields, stepping, typing and the calendar drop-down.
#include "control/SDateTimePicker.h"
#include <windowsx.h>
#include <cwchar>
#include "control/SCtrlAttr.h"
#include "core/SApp.h"
#include "core/SEventSlot.h"
#include "helper/SXmlLookup.h"
#include "res.mgr/SSkinPoolMgr.h"

namespace SKEIN {

using ctrl::Is;

namespace {

enum { kButtonNormal = 0, kButtonHover = 1, kButtonOpen = 2 };

// A piece of the field line: a field (1..6) or a separator (0) with its character.
struct Piece {
    int field;
    wchar_t separator;
    int width;
};

int Wrap(int value, int low, int high)
{
    return value < low ? high : value > high ? low : value;
}

} // namespace

SDateTimePicker::SDateTimePicker()
    : m_buttonState(kButtonNormal), m_popup(nullptr), m_selectedField(kFieldNone), m_digitWidth(0), m_digitHeight(0),
      m_separatorWidth(0), m_selFieldBack(0xFFD77800), m_selFieldText(0xFFFFFFFF), m_value(), m_dropWidth(220),
      m_timeEnable(true), m_calendar(nullptr), m_typed(0)
{
    m_buttonSkin = ctrl::FindSystemSkin(kSysSkinDropBtn, 100);
    m_ncSkin = ctrl::FindSystemSkin(kSysSkinBorder, 100);
    m_style.ApplyAttribute(SStringW(L"margin"), SStringW(L"1"), TRUE);
    m_style.ApplyAttribute(SStringW(L"align"), SStringW(L"left"), TRUE);
    m_style.ApplyAttribute(SStringW(L"valign"), SStringW(L"middle"), TRUE);
    m_flags |= kWndFocusable;
    m_eventSet.DeclareEvent(EventDateTimeChanged::EventID, EventDateTimeChanged::EventName());
    ::GetLocalTime(&m_value);
}

SDateTimePicker::~SDateTimePicker()
{
    if (m_calendar) {
        m_calendar->SendUiMessage(WM_DESTROY);
        m_calendar->Release();
    }
}

// Each answers 0 (not 1), so that a change at run time repaints the picker at once.
HRESULT SDateTimePicker::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    if (Is(name, L"btnSkin")) {
        // A name that finds no skin keeps the built-in button.
        if (ISkinObj* skin = ctrl::FindSkin(value, GetScale()))
            m_buttonSkin = skin;
    } else if (Is(name, L"timeEnable")) {
        m_timeEnable = ctrl::ParseBool(value);
        if (m_selectedField > LastField())
            m_selectedField = LastField();
    } else if (Is(name, L"dropWidth")) {
        m_dropWidth = ctrl::ParseInt(value);
    } else {
        return SWindow::ApplyAttribute(name, value, loading);
    }
    return AfterAttribute(name, value, loading, S_OK);
}

SStringW SDateTimePicker::QueryText(bool) const
{
    SStringW text;
    text.Printf(L"%04d-%02d-%02d", m_value.wYear, m_value.wMonth, m_value.wDay);
    if (m_timeEnable) {
        SStringW time;
        time.Printf(L" %02d:%02d:%02d", m_value.wHour, m_value.wMinute, m_value.wSecond);
        text += time;
    }
    return text;
}

BOOL SDateTimePicker::CreateChildrenFromXml(pugi::xml_node node)
{
    SApplication* app = SApplication::Instance();
    IObject* created = app ? app->CreateWindowByName(SCalendarEx::StaticXmlClassName()) : nullptr;
    if (!created)
        return FALSE;
    m_calendar = static_cast<SCalendarEx*>(created);
    m_calendar->AttachContainer(GetHostContainer());
    if (pugi::xml_node style = XmlChildNoCase(node, L"calstyle"))
        m_calendar->LoadFromXml(style);
    else
        m_calendar->SendUiMessage(WM_CREATE);
    m_calendar->ApplyAttribute(SStringW(L"pos"), SStringW(L"0,0,-0,-0"), TRUE);
    m_calendar->SetOwnerWindow(this);
    m_calendar->GetEventSet()->AddSubscriber(EventCalendarExChanged::EventID,
                                             Subscriber(&SDateTimePicker::OnCalendarChanged, this));
    m_calendar->GetEventSet()->AddSubscriber(EventLButtonDown::EventID,
                                             Subscriber(&SDateTimePicker::OnCalendarPress, this));
    m_calendar->GetEventSet()->AddSubscriber(EventCmd::EventID, Subscriber(&SDateTimePicker::OnCalendarCommand, this));
    return TRUE;
}

void SDateTimePicker::SetTime(const SYSTEMTIME& time)
{
    m_value = time;
    m_typed = 0;
    InvalidateArea();
}

void SDateTimePicker::SelectField(int field)
{
    field = std::max(static_cast<int>(kFieldNone), std::min(field, LastField()));
    m_typed = 0;
    if (field != m_selectedField) {
        m_selectedField = field;
        InvalidateArea();
    }
}

// ---- stepping and typing ----

void SDateTimePicker::ClampDay()
{
    int count = DaysInMonth(m_value.wYear, m_value.wMonth);
    if (count > 0 && !IsValidDate(m_value.wYear, m_value.wMonth, m_value.wDay))
        m_value.wDay = static_cast<WORD>(count);
}

void SDateTimePicker::Step(bool up)
{
    int delta = up ? 1 : -1;
    switch (m_selectedField) {
    case kFieldYear:
        // Held within the calendar's years: outside 1600..6999 a date has no month length.
        m_value.wYear = static_cast<WORD>(
            std::max<int>(kCalendarFirstYear, std::min<int>(kCalendarLastYear, m_value.wYear + delta)));
        break;
    case kFieldMonth: m_value.wMonth = static_cast<WORD>(Wrap(m_value.wMonth + delta, 1, 12)); break;
    case kFieldDay:
        m_value.wDay = static_cast<WORD>(Wrap(m_value.wDay + delta, 1, DaysInMonth(m_value.wYear, m_value.wMonth)));
        break;
    case kFieldHour: m_value.wHour = static_cast<WORD>(Wrap(m_value.wHour + delta, 0, 23)); break;
    case kFieldMinute: m_value.wMinute = static_cast<WORD>(Wrap(m_value.wMinute + delta, 0, 59)); break;
    case kFieldSecond: m_value.wSecond = static_cast<WORD>(Wrap(m_value.wSecond + delta, 0, 59)); break;
    default: return;
    }
    ClampDay();
    m_typed = 0;
    InvalidateArea();
}

void SDateTimePicker::TypeInto(int field, int digit)
{
    int typed = m_typed == 0 ? digit : m_typed * 10 + digit;
    switch (field) {
    case kFieldYear:
        // Up to four digits; the year itself only takes typed values in the calendar's range.
        if (typed > 9999)
            typed = digit;
        if (typed >= kCalendarFirstYear && typed <= kCalendarLastYear) {
            m_value.wYear = static_cast<WORD>(typed);
            ClampDay();
        }
        break;
    case kFieldMonth:
        if (typed >= 13)
            typed = digit;
        if (typed >= 1) {
            m_value.wMonth = static_cast<WORD>(typed);
            ClampDay();
        }
        break;
    case kFieldDay:
        if (typed == 0)
            break;
        if (!IsValidDate(m_value.wYear, m_value.wMonth, static_cast<WORD>(typed)))
            typed = digit;
        if (typed >= 1)
            m_value.wDay = static_cast<WORD>(typed);
        break;
    case kFieldHour:
        if (typed > 23)
            typed = digit;
        m_value.wHour = static_cast<WORD>(typed);
        break;
    default:
        if (typed >= 60)
            typed = digit;
        (field == kFieldMinute ? m_value.wMinute : m_value.wSecond) = static_cast<WORD>(typed);
        break;
    }
    m_typed = static_cast<WORD>(typed);
}

void SDateTimePicker::TypeDigit(wchar_t ch)
{
    if (ch < L'0' || ch > L'9' || m_selectedField == kFieldNone)
        return;
    TypeInto(m_selectedField, ch - L'0');
    InvalidateArea();
}

// ---- geometry and painting ----

RECT SDateTimePicker::ButtonZone() const
{
    RECT client;
    GetInnerRect(&client);
    return RECT{client.right - (client.bottom - client.top), client.top, client.right, client.bottom};
}

int SDateTimePicker::FieldAtX(int x) const
{
    RECT text;
    ComputeTextRect(&text);
    int a = x - text.left, d = m_digitWidth, s = m_separatorWidth;
    if (a < s + 4 * d)
        return kFieldYear;
    if (a < 6 * d + 2 * s)
        return kFieldMonth;
    if (a < 8 * d + 3 * s || !m_timeEnable)
        return kFieldDay;
    if (a < 10 * d + 4 * s)
        return kFieldHour;
    if (a < 12 * d + 5 * s)
        return kFieldMinute;
    return kFieldSecond;
}

SStringW SDateTimePicker::FieldText(int field) const
{
    static const WORD SYSTEMTIME::*const kParts[] = {nullptr, &SYSTEMTIME::wYear, &SYSTEMTIME::wMonth,
                                                     &SYSTEMTIME::wDay, &SYSTEMTIME::wHour, &SYSTEMTIME::wMinute,
                                                     &SYSTEMTIME::wSecond};
    int number = m_value.*kParts[field];
    const wchar_t* format = field == kFieldYear ? L"%04d" : L"%02d";
    if (field == m_selectedField && field == kFieldYear && m_typed != 0) {
        // The digits typed so far, also while they make no year yet.
        number = m_typed;
        format = m_typed <= 9 ? L"%d" : m_typed <= 99 ? L"%02d" : m_typed <= 999 ? L"%03d" : L"%04d";
    } else if (field == m_selectedField && m_typed != 0) {
        format = L"%d";
    }
    SStringW text;
    text.Printf(format, number);
    return text;
}

void SDateTimePicker::Measure(IRenderTarget* rt)
{
    SIZE digit = {0, 0}, separator = {0, 0};
    rt->MeasureText(L"5", 1, &digit);
    rt->MeasureText(L"-", 1, &separator);
    m_digitWidth = digit.cx;
    m_digitHeight = digit.cy;
    m_separatorWidth = separator.cx;
}

void SDateTimePicker::Paint(IRenderTarget* rt)
{
    SPaintState saved;
    BeginPaintState(rt, &saved);
    if (m_digitWidth == 0)
        Measure(rt);
    int d = m_digitWidth, s = m_separatorWidth;
    Piece pieces[] = {{kFieldYear, 0, 4 * d},  {0, L'-', s},         {kFieldMonth, 0, 2 * d}, {0, L'-', s},
                      {kFieldDay, 0, 2 * d},   {0, L' ', s},         {kFieldHour, 0, 2 * d},  {0, L':', s},
                      {kFieldMinute, 0, 2 * d}, {0, L':', s},        {kFieldSecond, 0, 2 * d}};
    int count = m_timeEnable ? 11 : 5;
    RECT text;
    ComputeTextRect(&text);
    int top = text.top + (text.bottom - text.top - m_digitHeight) / 2 + 1;
    int x = text.left;
    UINT format = m_style.GetDrawTextFormat();
    for (int i = 0; i < count; ++i) {
        RECT rect = {x, top, x + pieces[i].width, top + m_digitHeight};
        x = rect.right;
        if (pieces[i].field == kFieldNone) {
            if (pieces[i].separator != L' ')
                rt->DrawText(&pieces[i].separator, 1, &rect,
                             pieces[i].separator == L':' ? (DT_CENTER | DT_VCENTER | DT_SINGLELINE) : format);
            continue;
        }
        SStringW value = FieldText(pieces[i].field);
        COLORREF previous = kColorUnset;
        if (pieces[i].field == m_selectedField) {
            rt->FillSolidRect(&rect, m_selFieldBack);
            previous = rt->SetTextColor(m_selFieldText);
        }
        rt->DrawText(value.c_str(), value.Length(), &rect, format);
        if (previous != kColorUnset)
            rt->SetTextColor(previous);
    }
    EndPaintState(rt, &saved);
    PaintButton(rt);
}

void SDateTimePicker::PaintButton(IRenderTarget* rt)
{
    RECT zone = ButtonZone();
    if (m_buttonState == kButtonHover && m_ncSkin) {
        RECT grown = zone;
        ::InflateRect(&grown, 1, 1);
        m_ncSkin->DrawByState(rt, &grown, 1);
    }
    if (!m_buttonSkin)
        return;
    SIZE size = m_buttonSkin->GetSkinSize();
    int c = ((zone.bottom - zone.top) - size.cy) / 2;
    RECT button = {zone.right - c - size.cx, zone.top + c, zone.right - c, zone.top + c + size.cy};
    int state = (m_buttonState & (2 | 4)) ? 2 : (m_buttonState & 1) ? 1 : 0;
    m_buttonSkin->DrawByState(rt, &button, state);
}

// ---- mouse and popup ----

void SDateTimePicker::OnMouseMove(POINT pt)
{
    if (m_buttonState == kButtonOpen)
        return;
    RECT zone = ButtonZone();
    int old = m_buttonState;
    if (::PtInRect(&zone, pt))
        m_buttonState = kButtonHover;
    else if (m_buttonState == kButtonHover)
        m_buttonState = kButtonNormal;
    if (old != m_buttonState) {
        ::InflateRect(&zone, 1, 1);
        InvalidateArea(&zone);
    }
}

void SDateTimePicker::OnLeftButtonDown(WPARAM keys, POINT pt)
{
    HandleLeftButtonDown(static_cast<UINT>(keys), pt);
    if (m_buttonState == kButtonOpen)
        return;
    m_typed = 0;
    RECT zone = ButtonZone();
    if (!::PtInRect(&zone, pt)) {
        SelectField(FieldAtX(pt.x));
        return;
    }
    m_selectedField = kFieldNone;
    InvalidateArea();
    if (!m_popup)
        DropDown();
}

void SDateTimePicker::DropDown()
{
    // Without a calendar there is nothing to drop down.
    if (!m_calendar)
        return;
    SDropDownWnd* popup = new (std::nothrow) SDropDownWnd_ComboBox(this);
    if (!popup)
        return;
    m_popup = popup;
    HWND host = m_container ? m_container->GetHostHwnd() : nullptr;
    RECT picker = GetWindowRect();
    ::MapWindowPoints(host, nullptr, reinterpret_cast<POINT*>(&picker), 2);
    int width = SLayoutSize(static_cast<float>(m_dropWidth), SLayoutSize::kDp).ToPixels(GetScale());
    int height = width * 4 / 5;
    RECT rect = PlaceDropDown(host, picker, picker.right - width, SIZE{width, height});
    if (!popup->CreatePopup(rect, nullptr, WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_TOPMOST)) {
        m_popup = nullptr;
        popup->Release();
        return;
    }
    ::SetWindowPos(popup->Handle(), nullptr, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    ::SetCapture(popup->Handle());
}

void SDateTimePicker::CloseUp()
{
    if (m_popup)
        m_popup->EndPopup(kDropDownCancelled);
}

void SDateTimePicker::OnDropDownCreated(SDropDownWnd* popup)
{
    m_calendar->SetDate(m_value.wYear, m_value.wMonth, m_value.wDay, -1, false);
    popup->LinkChild(m_calendar);
    popup->ArrangeChildren();
    m_calendar->SendUiMessage(WM_SHOWWINDOW, TRUE, 0);
    m_calendar->TakeFocus();
    m_buttonState = kButtonOpen;
    RECT zone = ButtonZone();
    InvalidateArea(&zone);
}

void SDateTimePicker::OnDropDownDestroyed(SDropDownWnd* popup)
{
    popup->UnlinkChild(m_calendar);
    m_calendar->SendUiMessage(WM_SHOWWINDOW, FALSE, 0);
    m_calendar->AttachContainer(GetHostContainer());
    m_buttonState = kButtonNormal;
    m_popup = nullptr;
    RECT zone = ButtonZone();
    ::InflateRect(&zone, 1, 1);
    InvalidateArea(&zone);
}

void SDateTimePicker::PickDate(WORD year, WORD month, WORD day)
{
    SYSTEMTIME old = m_value;
    m_value.wYear = year;
    m_value.wMonth = month;
    m_value.wDay = day;
    ClampDay();
    if (m_value.wYear == old.wYear && m_value.wMonth == old.wMonth && m_value.wDay == old.wDay)
        return;
    InvalidateArea();
    EventDateTimeChanged changed(this);
    changed.newTime = m_value;
    RaiseEvent(changed);
}

bool SDateTimePicker::OnCalendarChanged(EventCalendarExChanged* evt)
{
    // Paging the calendar (its buttons, the wheel) only browses; a day and the today text set the date.
    if (evt->button != kCalHitPrev && evt->button != kCalHitNext)
        PickDate(evt->year, evt->month, evt->day);
    return true;
}

// The calendar reports no change for a press on its chosen cell (its 1st after paging), so the
// picker takes that day here; the press goes on to the calendar as usual.
bool SDateTimePicker::OnCalendarPress(EventLButtonDown* evt)
{
    int cell = m_calendar->HitItem(evt->pt);
    if (cell == m_calendar->SelectedCell())
        PickDate(m_calendar->ShownYear(), m_calendar->ShownMonth(), m_calendar->CellAt(cell).day);
    return false;
}

bool SDateTimePicker::OnCalendarCommand(EventArgs*)
{
    CloseUp();
    return true;
}

BOOL SDateTimePicker::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    *result = 0;
    POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (msg) {
    case WM_PAINT: Paint(reinterpret_cast<IRenderTarget*>(wParam)); return TRUE;
    case WM_CHAR: TypeDigit(static_cast<wchar_t>(wParam)); return TRUE;
    case WM_KEYDOWN:
        if (wParam == VK_LEFT && m_selectedField > kFieldYear)
            SelectField(m_selectedField - 1);
        else if (wParam == VK_RIGHT && m_selectedField < LastField())
            SelectField(m_selectedField + 1);
        else if (wParam == VK_UP || wParam == VK_DOWN)
            Step(wParam == VK_UP);
        return TRUE;
    case WM_MOUSEWHEEL:
        Step(static_cast<short>(HIWORD(wParam)) > 0);
        *result = 1;
        return TRUE;
    case WM_MOUSEMOVE: OnMouseMove(pt); return TRUE;
    case WM_MOUSELEAVE:
        if (m_buttonState == kButtonHover) {
            m_buttonState = kButtonNormal;
            RECT zone = ButtonZone();
            ::InflateRect(&zone, 1, 1);
            InvalidateArea(&zone);
        }
        return SWindow::HandleMessage(msg, wParam, lParam, result);
    case WM_LBUTTONDOWN: OnLeftButtonDown(wParam, pt); return TRUE;
    case WM_KILLFOCUS:
        SWindow::HandleMessage(msg, wParam, lParam, result);
        CloseUp();
        m_typed = 0;
        SelectField(kFieldNone);
        return TRUE;
    case WM_DESTROY:
        CloseUp();
        return SWindow::HandleMessage(msg, wParam, lParam, result);
    default: return SWindow::HandleMessage(msg, wParam, lParam, result);
    }
}

} // namespace SKEIN
