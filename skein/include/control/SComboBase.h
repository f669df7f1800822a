#pragma once
// The combo boxes' common part: the text part (painted text of a drop list, or an edit field of
// an editable combo), the drop button, the drop-down popup that opens below the combo or above it
// near the monitor's bottom, stepping the selection with the arrows and the wheel, and the combo
// events. A subclass supplies the drop list and the item access.
#include "control/SDropDownWnd.h"
#include "control/SEdit.h"

namespace SKEIN {

class EventCBSelChange : public EventArgs {
    SKEIN_EVENT_CLASS(19000, L"on_combobox_sel_change")
    explicit EventCBSelChange(IObject* sender) : EventArgs(sender), selection(-1) {}
    int selection;
};

class EventCBDropdown : public EventArgs {
    SKEIN_EVENT_CLASS(19001, L"on_combobox_dropdown")
    explicit EventCBDropdown(IObject* sender) : EventArgs(sender), dropDownWindow(nullptr) {}
    SDropDownWnd* dropDownWindow; // about to be shown
};

// Ids of the combo's own parts.
enum { kComboEditId = -100, kComboListId = -200 };

// The edit field of an editable combo; its owner window is the combo.
class SComboEdit : public SEdit {
    SKEIN_CLASS_NAME(SEdit, L"comboedit")

public:
    BOOL HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    BOOL RaiseEvent(EventArgs& evt) override;
};

class SComboBase : public SWindow, public ISDropDownOwner {
    SKEIN_CLASS_NAME(SWindow, L"combobase")

public:
    SComboBase();
    ~SComboBase() override;

    virtual int GetCurSel() const = 0;
    virtual int GetCount() const = 0;
    virtual BOOL SetCurSel(int index) = 0;
    virtual SStringW GetItemText(int index, bool raw) const = 0;
    // The first index from start whose raw text equals text; -1 when none.
    virtual int FindString(const SStringW& text, int start = 0) const;
    virtual void OnSelChanged();
    virtual BOOL CreateListBox(pugi::xml_node node) = 0;
    virtual int GetListBoxHeight() = 0;

    // After Up or Down reached the open drop list: a step from before that no selection event
    // reported yet is reported now.
    void OnListKeyStep(int before);

    void ShowDropDown();
    void CloseUp();
    RECT DropButtonRect() const;
    BOOL IsDropList() const { return m_dropDown != 0; }
    SComboEdit* GetEdit() const { return m_edit; }
    SDropDownWnd* GetPopup() const { return m_popup; }
    int ButtonState() const { return m_buttonState; }
    ISkinObj* ButtonSkin() const { return m_buttonSkin; }

    // --- ISDropDownOwner ---
    SWindow* OwnerWindow() override { return this; }
    void OnDropDownCreated(SDropDownWnd* popup) override;
    void OnDropDownDestroyed(SDropDownWnd* popup) override;

    // --- window ---
    using SWindow::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    SStringW QueryText(bool raw = false) const override;
    BOOL AssignText(const SStringW& text) override;
    void ApplyColorTint(COLORREF color) override;
    BOOL CreateChildrenFromXml(pugi::xml_node node) override;
    BOOL RaiseEvent(EventArgs& evt) override;
    BOOL IsFocusable() const override;
    void ArrangeChildren() override;
    SIZE ComputePreferredSize(const RECT* available) override;
    void ComputeTextRect(RECT* out) const override;
    BOOL HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    int RetranslateTexts() override;
    void ApplyScale(int scale) override;

protected:
    // Pixels of dropHeight at the combo's scale.
    int DropHeightPx() const { return std::max(0, m_dropHeight.ToPixels(GetScale())); }
    // The edit's text from the selection, with its change notice muted.
    void SyncEditText();
    // Whether the edit still shows the chosen item's text.
    bool EditShowsChosenItem() const;
    // A window of class className (the default when it does not answer wantedClass) attached to
    // this combo's container and initialised from the listStyle node, filling the popup.
    SWindow* CreateDropList(pugi::xml_node node, const wchar_t* defaultClass);
    // Puts the drop list into the popup or takes it back.
    void InsertDropList(SDropDownWnd* popup, SWindow* list);
    void RemoveDropList(SDropDownWnd* popup, SWindow* list);
    // The popup height for a drop list whose items take contentHeight pixels, margins added,
    // at most dropHeight.
    int FitDropHeight(SWindow* list, long long contentHeight) const;

    int m_initialSel;

private:
    void Paint(IRenderTarget* rt);
    void OnMouseMove(POINT pt);
    void OnMouseLeave();
    void CreateEdit(pugi::xml_node node);
    // Width of the drop button stretched to a height; 0 for a skin without height.
    int ButtonWidth(int height) const;

    SComboEdit* m_edit;
    int m_buttonState;
    int m_reportedSel; // the selection the last selection event carried
    SRefPtr<ISkinObj> m_buttonSkin;
    int m_dropDown;
    SLayoutSize m_dropHeight;
    int m_animateTime;
    SDropDownWnd* m_popup;
    pugi::xml_document m_dropdownStyle;
    int m_autoFitDropBtn;
};

// A combo over one drop-list type TList whose selection change is TSelEvent: owns the list,
// shows it in the popup, and turns its selection and command events into the combo's.
template <class TList, class TSelEvent>
class SComboOver : public SComboBase {
public:
    ~SComboOver() override
    {
        if (m_list) {
            m_list->SendUiMessage(WM_DESTROY);
            m_list->Release();
        }
    }

    void OnSelChanged() override
    {
        SyncEditText();
        SComboBase::OnSelChanged();
    }

    void OnDropDownCreated(SDropDownWnd* popup) override
    {
        SComboBase::OnDropDownCreated(popup);
        if (!m_list)
            return;
        InsertDropList(popup, m_list);
        m_list->EnsureVisible(GetCurSel());
    }

    void OnDropDownDestroyed(SDropDownWnd* popup) override
    {
        if (m_list)
            RemoveDropList(popup, m_list);
        SComboBase::OnDropDownDestroyed(popup);
    }

    BOOL RaiseEvent(EventArgs& evt) override
    {
        if (evt.idFrom == kComboListId && GetPopup()) {
            if (evt.GetId() == TSelEvent::EventID) {
                OnSelChanged();
                return TRUE;
            }
            if (evt.GetId() == EventCmd::EventID) {
                CloseUp();
                return TRUE;
            }
        }
        return SComboBase::RaiseEvent(evt);
    }

    void ApplyScale(int scale) override
    {
        SComboBase::ApplyScale(scale);
        if (m_list)
            m_list->SendUiMessage(kUiMsgScaleChanged, scale);
    }

protected:
    BOOL CreateList(pugi::xml_node node)
    {
        m_list = static_cast<TList*>(CreateDropList(node, TList::StaticXmlClassName()));
        return m_list != nullptr;
    }

    TList* m_list = nullptr;
};

} // namespace SKEIN
