#pragma once
// The program's push button: the background skin at rest, a second skin while hovered or
// pressed; never a focus rectangle.
#include "control/SButton.h"

namespace SKEIN {

// XML "mybutton".
class SmyButton : public SButton {
    SKEIN_CLASS_NAME(SButton, L"mybutton")

public:
    SmyButton();

    using SButton::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    BOOL HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    ISkinObj* GetSkin2() const { return m_skin2; }

protected:
    void Paint(IRenderTarget* rt);

    SRefPtr<ISkinObj> m_skin2;
};

} // namespace SKEIN
