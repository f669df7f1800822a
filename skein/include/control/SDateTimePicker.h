#pragma once
// The date-time picker ("dateTimePicker"): year, month and day (and optionally hour, minute and
// second) as separate fields edited with the keyboard or the wheel; its drop button opens an
// extended calendar in a drop-down to pick the date.
#include "control/SCalendarEx.h"
#include "control/SDropDownWnd.h"

namespace SKEIN {

class EventDateTimeChanged : public EventArgs {
    SKEIN_EVENT_CLASS(20003, L"on_datetime_changed")
    explicit EventDateTimeChanged(IObject* sender) : EventArgs(sender), newTime() {}
    SYSTEMTIME newTime;
};

class SDateTimePicker : public SWindow, public ISDropDownOwner {
    SKEIN_CLASS_NAME(SWindow, L"dateTimePicker")

public:
    enum Field { kFieldNone = 0, kFieldYear, kFieldMonth, kFieldDay, kFieldHour, kFieldMinute, kFieldSecond };

    SDateTimePicker();
    ~SDateTimePicker() override;

    using SWindow::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    SStringW QueryText(bool raw = false) const override;
    BOOL CreateChildrenFromXml(pugi::xml_node node) override;
    void PaintFocusIndicator(IRenderTarget*) override {}
    BOOL HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    // --- ISDropDownOwner ---
    SWindow* OwnerWindow() override { return this; }
    void OnDropDownCreated(SDropDownWnd* popup) override;
    void OnDropDownDestroyed(SDropDownWnd* popup) override;

    void CloseUp();
    void Step(bool up);
    // One typed character ('0'..'9'; others are ignored) into the selected field.
    void TypeDigit(wchar_t ch);
    void SetTime(const SYSTEMTIME& time);
    const SYSTEMTIME& GetTime() const { return m_value; }
    int SelectedField() const { return m_selectedField; }
    void SelectField(int field);
    int FieldAtX(int x) const;
    RECT ButtonZone() const;
    SCalendarEx* GetCalendar() const { return m_calendar; }
    SDropDownWnd* GetPopup() const { return m_popup; }
    int ButtonState() const { return m_buttonState; }

private:
    int LastField() const { return m_timeEnable ? kFieldSecond : kFieldDay; }
    // The day moved into the month after a change of year or month.
    void ClampDay();
    void TypeInto(int field, int digit);
    SStringW FieldText(int field) const;
    void Measure(IRenderTarget* rt);
    void Paint(IRenderTarget* rt);
    void PaintButton(IRenderTarget* rt);
    void OnMouseMove(POINT pt);
    void OnLeftButtonDown(WPARAM keys, POINT pt);
    void DropDown();
    // The date becomes the day (time of day kept); a change is reported only when it differs.
    void PickDate(WORD year, WORD month, WORD day);
    bool OnCalendarChanged(EventCalendarExChanged* evt);
    bool OnCalendarPress(EventLButtonDown* evt);
    bool OnCalendarCommand(EventArgs* evt);

    int m_buttonState;
    SRefPtr<ISkinObj> m_buttonSkin;
    SDropDownWnd* m_popup;
    int m_selectedField;
    int m_digitWidth;
    int m_digitHeight;
    int m_separatorWidth;
    COLORREF m_selFieldBack;
    COLORREF m_selFieldText;
    SYSTEMTIME m_value;
    int m_dropWidth;
    bool m_timeEnable;
    SCalendarEx* m_calendar;
    WORD m_typed;
};

} // namespace SKEIN
