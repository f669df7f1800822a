#pragma once
// Labels: static text that can wrap itself, and a link that opens its target through the shell.
#include "core/SWnd.h"

namespace SKEIN {

// XML "text": a message-transparent label, optionally wrapped line by line by the control.
class SStatic : public SWindow {
    SKEIN_CLASS_NAME(SWindow, L"text")

public:
    SStatic();

    using SWindow::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    void RenderText(IRenderTarget* rt, const wchar_t* text, int length, RECT* rect, UINT format) override;
    // Draws characters first .. first + count - 1 of text as one line.
    virtual void DrawTextLine(IRenderTarget* rt, const wchar_t* text, int first, int count, RECT* rect, UINT format);

protected:
    // Breaks at "\n" (backslash, n), at line feeds and where the next character does not fit;
    // with DT_CALCRECT measures into rect instead of drawing. A count of -1 is the whole text.
    void DrawWrappedText(IRenderTarget* rt, const wchar_t* text, int count, RECT* rect, UINT format);

    int m_multiLines;
    int m_interHeight;
};

// XML "link": reacts only over its drawn text; a click opens href.
class SLink : public SWindow {
    SKEIN_CLASS_NAME(SWindow, L"link")

public:
    SLink();

    using SWindow::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    BOOL ApplyCursor(POINT pt) override;
    void RenderText(IRenderTarget* rt, const wchar_t* text, int length, RECT* rect, UINT format) override;
    BOOL HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    const RECT& GetLinkRect() const { return m_linkRect; }
    // href, else the link's own (untranslated) text when it is an http, https or mailto address.
    SStringW Target() const;

protected:
    // Hands a non-empty target to the shell ("open", shown normally); errors are ignored.
    virtual void OpenTarget(const SStringW& target);

    RECT m_linkRect;
    SStringW m_href;

private:
    void OnMouseMove(POINT pt);
};

} // namespace SKEIN
