#pragma once
// The windowless text-editing control ("richedit"): a scrolling panel whose text is drawn and
// edited by the system's text services through an STextHost. The control keeps the formats,
// style word and options the host reports, filters keys and characters, keeps its scroll bars
// and the services' in step, and offers a context menu with the five edit commands.
#include <windows.h>
#include <imm.h>
#include <pugixml.hpp>
#include "control/SPanel.h"
#include "control/STextServiceHelper.h"
#include "core/SDynArray.h"
#include "core/SEventArgs.h"

namespace SKEIN {

class STextHost;

class EventRENotify : public EventArgs {
    SKEIN_EVENT_CLASS(16000, L"on_richedit_notify")
    explicit EventRENotify(IObject* sender) : EventArgs(sender), code(0), data(nullptr), result(S_OK) {}
    DWORD code;
    void* data;
    HRESULT result;
};

class EventREMenu : public EventArgs {
    SKEIN_EVENT_CLASS(16001, L"on_richedit_menu")
    explicit EventREMenu(IObject* sender) : EventArgs(sender), command(0) {}
    UINT command; // 0 when the menu was dismissed
};

class EventKeyDown : public EventArgs {
    SKEIN_EVENT_CLASS(8200, L"on_key_down")
    explicit EventKeyDown(IObject* sender) : EventArgs(sender), keyCode(0), flags(0), cancel(false) {}
    UINT keyCode;
    UINT flags; // high word of the key message's lParam
    bool cancel;
};

// Commands of the context menu (the ids of the "editmenu" items).
enum {
    kEditMenuCut = 1,
    kEditMenuCopy = 2,
    kEditMenuPaste = 3,
    kEditMenuDelete = 4,
    kEditMenuSelectAll = 5,
};

class SRichEdit : public SPanel {
    SKEIN_CLASS_NAME(SPanel, L"richedit")
    friend class STextHost;

public:
    enum { kDefaultMaxLength = 0x7FFF, kTimerRedraw = 6 };

    SRichEdit();
    ~SRichEdit() override;

    using SPanel::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    HRESULT UnknownAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    SStringW QueryText(bool raw = false) const override;
    BOOL AssignText(const SStringW& text) override;
    BOOL ApplyCursor(POINT pt) override;
    UINT QueryWantedKeys(const MSG* msg) override;
    BOOL HandleUnmappedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    BOOL HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    void ApplyScale(int scale) override;
    BOOL OnScroll(BOOL vertical, UINT code, int position) override;

    // The services' notifications, raised as EventRENotify; answers the event's result.
    virtual HRESULT OnTxNotify(DWORD code, void* data);
    // The context menu's "editmenu" element; empty when the system resources had none.
    virtual pugi::xml_node EditMenuRoot() const;

    // Null before creation, after destruction, and when the services could not be made.
    ITextServices* TextServices() const;
    STextHost* TextHost() const { return m_host; }
    DWORD EditStyle() const { return m_editStyle; }
    DWORD MaxLength() const { return m_maxLength; }
    int LineHeight() const { return m_lineHeight; }
    const CHARFORMAT2W& DefaultCharFormat() const { return m_charFormat; }
    const PARAFORMAT2& DefaultParaFormat() const { return m_paraFormat; }
    // The inset in HIMETRIC, as reported to the services.
    const RECT& Inset() const { return m_inset; }
    // Sets the default text colour (low 24 bits); returns the previous one.
    COLORREF SetDefaultTextColor(COLORREF color);

protected:
    // Passes the message to the services; false without them (or when they fail).
    BOOL SendToServices(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result = nullptr) const;
    // The services' text length; 0 without them.
    LRESULT TextLength() const;
    // Tells the services that property bits changed; nothing without them.
    void NotifyPropertyBits(DWORD mask, DWORD bits);
    // The maximum text length (0, or more than the services take, gives the default), told to
    // the services as a property change and as their own limit.
    void SetMaxLength(DWORD length);
    void SendMaxLength();
    // The services' character count (a paragraph mark counts one).
    LONG CharCount() const;
    // The selection, its end kept within the text.
    CHARRANGE SelectionInText() const;
    // Whether the caret is at the end of the text with nothing selected (Delete takes nothing).
    bool NothingAfterCaret() const;
    // The characters that fit in place of the selection.
    LONG RoomFor(const CHARRANGE& selection) const;
    // WM_PASTE and EM_PASTESPECIAL: the clipboard goes in up to the maximum length.
    LRESULT OnPaste(UINT msg, WPARAM wParam, LPARAM lParam);
    // The services' own paste in place of the selection, kept only when it fits the room;
    // false when it was taken out again.
    bool PasteFormatted(UINT msg, WPARAM wParam, LPARAM lParam, const CHARRANGE& selection, LONG room);
    // The services' change notice held back (their event mask returned), then given back and
    // raised once when changed.
    LRESULT HoldChangeNotice();
    void ReleaseChangeNotice(LRESULT mask, bool changed);
    // EM_REDO and Ctrl+Y: a redo never takes the text past the limit; nonzero when redone.
    LRESULT OnRedo();
    // Takes out a paste made in place of the selection: the text had before characters, of
    // which kept stayed.
    void TakeOutPaste(CHARRANGE selection, LONG before, LONG kept);
    // Whether a typed character fits; the low half of a pair left out is left out too.
    bool TypedCharFits(WPARAM ch);
    // EM_REPLACESEL, EM_SETTEXTEX and EM_STREAMIN: forwarded, then the limit follows the text.
    LRESULT OnProgramText(UINT msg, WPARAM wParam, LPARAM lParam);
    // The limit rises to a longer text, as WM_SETTEXT raises it; the services hold the control's.
    void LimitToText();

    // Message handlers.
    int OnCreate();
    void OnDestroy();
    void OnSetFocus();
    void OnKillFocus();
    LRESULT OnSetText(LPARAM lParam);
    void OnPaint(IRenderTarget* rt);
    void OnNcCalcSize();
    BOOL OnKeyDown(WPARAM key, LPARAM lParam);
    void OnChar(UINT msg, WPARAM ch, LPARAM lParam);
    void OnLeftButtonDown(WPARAM keys, LPARAM lParam);
    void OnContextMenu(POINT pt);
    LRESULT OnSetCharFormat(WPARAM which, const CHARFORMAT2W* format);
    LRESULT OnSetParaFormat(WPARAM which, const PARAFORMAT2* format);
    void OnShowWindow(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);
    BOOL OnTimer(UINT id);

    // The default character format from font (the window's own when null); the line height.
    void BuildCharFormat(IFont* font);
    void BuildParaFormat();
    void UpdateParaAlignment();
    // The services' UI activation as the focus goes and comes.
    void ActivateUi();
    void DeactivateUi();
    // Registers the services' drop target or takes it away, as the options say.
    void UpdateDropTarget();
    // Streams rich text in from "type:name" resources or a file path.
    void LoadRichText(const SStringW& source);
    void StreamIn(EDITSTREAMCALLBACK callback, DWORD_PTR cookie);
    // A style-word bit from an attribute value ("0" clears it).
    void ApplyStyleBit(DWORD bit, const SStringW& value);
    BOOL HasStyle(DWORD bit) const { return (m_editStyle & bit) != 0; }
    BOOL DetachesInputMethod() const { return HasStyle(ES_PASSWORD) || HasStyle(ES_NUMBER); }
    UINT GrayedMenuCommands() const;
    void RunMenuCommand(UINT command);

    DWORD m_maxLength;
    wchar_t m_passwordChar;
    LONG m_accelPos;
    SIZEL m_extent;
    RECT m_inset;
    CHARFORMAT2W m_charFormat;
    PARAFORMAT2 m_paraFormat;
    int m_lineHeight;
    DWORD m_editStyle;
    unsigned m_autoWordSel : 1;
    unsigned m_wordWrap : 1;
    unsigned m_rich : 1;
    unsigned m_saveSelection : 1;
    unsigned m_transparent : 1;
    unsigned m_vertical : 1;
    unsigned m_allowBeep : 1;
    unsigned m_wantTab : 1;
    unsigned m_vcenter : 1;
    unsigned m_scrollPending : 1;
    unsigned m_enableDragdrop : 1;
    unsigned m_autoSel : 1;
    unsigned m_notifyChange : 1;
    unsigned m_pairLeftOut : 1; // the high half of a typed pair did not fit
    SStringW m_richSource;
    STextHost* m_host;
    HIMC m_savedImc;
    // Alpha bytes of the client area kept across the services' drawing.
    SDynArray<BYTE> m_alphaBuffer;
};

} // namespace SKEIN
