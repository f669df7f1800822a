#pragma once
// The plain single-line edit box ("edit"): a rich edit without rich text that selects its text
// when it gains the focus, and shows a grey cue text while it is empty and unfocused.
#include "control/SRichEdit.h"

namespace SKEIN {

class SEdit : public SRichEdit {
    SKEIN_CLASS_NAME(SRichEdit, L"edit")

public:
    enum : COLORREF { kDefaultCueColor = 0xFFCCCCCC };

    SEdit();

    using SRichEdit::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    int RetranslateTexts() override;
    BOOL HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    const SStringW& CueText() const { return m_cueText.GetText(false); }
    COLORREF CueColor() const { return m_cueColor; }

private:
    // The horizontal DrawText bits of the cue: from the style word, not from the window style.
    UINT CueTextFormat() const;
    void PaintCue(IRenderTarget* rt);
    // The cue appears or goes as the focus changes.
    void InvalidateCue();

    COLORREF m_cueColor;
    STranslatableText m_cueText;
};

} // namespace SKEIN
