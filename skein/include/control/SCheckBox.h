#pragma once
// Two-state controls: the check box and the radio box keep the checked state in the window's
// state bits (radio boxes under one parent form a group); the toggle keeps its own flag.
#include "core/SWnd.h"

namespace SKEIN {

// XML "check": a box skin at the left edge, the text beside it.
class SCheckBox : public SWindow {
    SKEIN_CLASS_NAME(SWindow, L"check")

public:
    SCheckBox();

    using SWindow::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    void ApplyColorTint(COLORREF color) override;
    void ApplyScale(int scale) override;
    UINT QueryWantedKeys(const MSG*) override { return 8; }
    SIZE ComputePreferredSize(const RECT* available) override;
    BOOL NeedsRedrawOnStateChange() const override { return TRUE; }
    void ComputeTextRect(RECT* out) const override;
    void PaintFocusIndicator(IRenderTarget* rt) override;
    BOOL HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    // Where the box skin is drawn.
    virtual RECT ComputeBoxRect() const;
    ISkinObj* GetBoxSkin() const { return m_boxSkin; }

protected:
    // The skin state: disabled 3, pushed 2, hover 1, else 0; 4 more when checked.
    int BoxState() const;
    void Paint(IRenderTarget* rt);
    HRESULT ApplySkinAttribute(const SStringW& name, const SStringW& value);

    SRefPtr<ISkinObj> m_boxSkin;
    SRefPtr<ISkinObj> m_focusSkin;
};

// XML "radio": a box placed by iconAlign/iconValign; siblings under one parent form a group.
class SRadioBox : public SCheckBox {
    SKEIN_CLASS_NAME(SWindow, L"radio")

public:
    SRadioBox();

    using SWindow::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    void ComputeTextRect(RECT* out) const override;
    void PaintFocusIndicator(IRenderTarget* rt) override;
    BOOL HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    BOOL IsGroupMember() const override { return TRUE; }
    SWindow* FindCheckedGroupMember() override;
    void BeforeStateChange(DWORD oldState, DWORD newState) override;
    RECT ComputeBoxRect() const override;

protected:
    void CheckSilently(SWindow* window, BOOL checked);

    int m_iconAlign;
    int m_iconValign;
};

// XML "toggle": a skin over the whole window, 3 states further on when toggled.
class SToggle : public SWindow {
    SKEIN_CLASS_NAME(SWindow, L"toggle")

public:
    SToggle();

    using SWindow::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    void ApplyColorTint(COLORREF color) override;
    void ApplyScale(int scale) override;
    SIZE ComputePreferredSize(const RECT* available) override;
    BOOL NeedsRedrawOnStateChange() const override { return TRUE; }
    BOOL HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    BOOL IsToggled() const { return m_toggled != 0; }

protected:
    void Paint(IRenderTarget* rt);

    int m_toggled;
    SRefPtr<ISkinObj> m_toggleSkin;
};

} // namespace SKEIN
