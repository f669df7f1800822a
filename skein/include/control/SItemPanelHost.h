#pragma once
// The input side of the views whose items are item panels: the panels holding the mouse
// capture and the hover, mouse messages, cursor and tooltip routed to the panel under the
// point, keys, focus and the wheel offered to the selected item's panel first, and look
// changes passed on to every panel.
#include "control/SItemPanel.h"
#include "control/SPanel.h"

namespace SKEIN {

class SItemPanelHost : public SPanel, public IItemContainer {
public:
    SItemPanelHost();

    // --- IItemContainer ---
    void SetItemCapture(SItemPanel* panel, BOOL capture) override;
    BOOL DefersItemRedraw() override { return TRUE; }
    void ItemRelayoutRequested(SItemPanel*) override {}

    // --- window ---
    using SPanel::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    UINT QueryWantedKeys(const MSG*) override;
    BOOL ApplyCursor(POINT pt) override;
    // The hovered panel's tooltip, else the view's own.
    BOOL ProvideTooltip(POINT pt, SwndToolInfo* info) override;
    void ApplyColorTint(COLORREF color) override;
    void ApplyScale(int scale) override;
    int RetranslateTexts() override;
    BOOL HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

protected:
    // What each view supplies.
    virtual bool HasAdapter() const = 0;
    // The selected item's panel when it is shown; null otherwise.
    virtual SItemPanel* SelectedPanel() const = 0;
    // The shown panel under pt and its rectangle; null and an empty rectangle otherwise.
    virtual SItemPanel* PanelAtPoint(POINT pt, RECT* rect) = 0;
    // Sends msg to the tree of every panel, shown or recycled.
    virtual void BroadcastToPanels(UINT msg, WPARAM wParam) = 0;
    // Navigation keys; TRUE when handled.
    virtual BOOL OnNavigationKey(UINT vk) = 0;
    // A mouse button went down outside every item.
    virtual void OnPressOutsideItems() {}
    // Whether a newly hovered panel is told the point.
    virtual bool HoverTellsPoint() const { return true; }
    // The view's own part of a scale change, before the panels are told.
    virtual void OnScaleChanged(int) {}

    // A panel taken out of use during its press: the press ends there, firing nothing, and
    // the view lets the mouse go.
    void EndPressOf(SItemPanel* panel);
    // The message to the panel with the point made relative to its item.
    LRESULT SendToPanel(SItemPanel* panel, UINT msg, WPARAM wParam, LPARAM lParam);
    // The message to the selected item's panel when it is shown; whether it handled it.
    BOOL ForwardToSelected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);

    SItemPanel* m_capturedPanel;
    SItemPanel* m_hoveredPanel;
    int m_wantTab;

private:
    BOOL OnMouse(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // The selected item's panel first; unless it takes the wheel, the view scrolls.
    void OnMouseWheel(WPARAM wParam, LPARAM lParam);
    void MoveHoverTo(SItemPanel* panel, WPARAM wParam, LPARAM relative);
    void OnMouseLeave();
    void OnCaptureLost();
    // Navigation keys; the rest go to the selected item's panel.
    BOOL OnKeyDown(UINT vk, LPARAM lParam, LRESULT* result);
    void OnFocusChange(bool gained);
};

} // namespace SKEIN
