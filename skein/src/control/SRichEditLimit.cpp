// SRichEdit: the maximum text length, kept by the services and by pasting.
#include <algorithm>
#include <string>
#include "control/SRichEdit.h"
#include "control/STextHost.h"
#include "interface/SwndContainer-i.h"

namespace SKEIN {

namespace {

// The largest limit the services take (theirs is a signed int).
const DWORD kLargestMaxLength = 0x7FFFFFFF;

// The clipboard's plain text, each line break as the one character the services make of it.
std::wstring ClipboardText(HWND owner)
{
    std::wstring text;
    if (!::OpenClipboard(owner))
        return text;
    HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
    if (const wchar_t* locked = data ? static_cast<const wchar_t*>(::GlobalLock(data)) : nullptr) {
        size_t length = wcsnlen(locked, ::GlobalSize(data) / sizeof(wchar_t));
        for (size_t i = 0; i < length; ++i) {
            if (!(locked[i] == L'\n' && i > 0 && locked[i - 1] == L'\r'))
                text += locked[i];
        }
        ::GlobalUnlock(data);
    }
    ::CloseClipboard();
    return text;
}

// How much of text fits in room units without splitting a surrogate pair.
size_t FittingLength(const std::wstring& text, LONG room)
{
    size_t length = std::min(text.size(), static_cast<size_t>(room));
    if (length > 0 && length < text.size() && IS_HIGH_SURROGATE(text[length - 1]) && IS_LOW_SURROGATE(text[length]))
        --length;
    return length;
}

} // namespace

void SRichEdit::SetMaxLength(DWORD length)
{
    m_maxLength = length == 0 || length > kLargestMaxLength ? static_cast<DWORD>(kDefaultMaxLength) : length;
    NotifyPropertyBits(TXTBIT_MAXLENGTHCHANGE, TXTBIT_MAXLENGTHCHANGE);
    SendMaxLength();
}

// The services read the limit only from their own message.
void SRichEdit::SendMaxLength()
{
    SendToServices(EM_EXLIMITTEXT, 0, static_cast<LPARAM>(m_maxLength));
}

LONG SRichEdit::CharCount() const
{
    GETTEXTLENGTHEX query = {GTL_NUMCHARS | GTL_PRECISE, 1200};
    LRESULT count = 0;
    SendToServices(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&query), 0, &count);
    return static_cast<LONG>(count);
}

// A selection of everything reaches past the last character, to the closing mark.
CHARRANGE SRichEdit::SelectionInText() const
{
    CHARRANGE range = {0, 0};
    SendToServices(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    range.cpMax = std::min(range.cpMax, CharCount());
    return range;
}

bool SRichEdit::NothingAfterCaret() const
{
    CHARRANGE selection = SelectionInText();
    return selection.cpMin == selection.cpMax && selection.cpMin >= CharCount();
}

LONG SRichEdit::RoomFor(const CHARRANGE& selection) const
{
    LONG kept = CharCount() - (selection.cpMax - selection.cpMin);
    return std::max(0L, static_cast<LONG>(m_maxLength) - kept);
}

// Formatted text whose plain form fits is pasted by the services. Anything else goes in as
// plain text cut to fit, one step to undo: the services paste more than their limit, and their
// plain-text paste replaces the whole text instead of the selection. A single line takes the
// first line, as the services do. A paste that puts nothing in changes nothing.
LRESULT SRichEdit::OnPaste(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (!TextServices() || HasStyle(ES_READONLY))
        return 0;
    CHARRANGE selection = SelectionInText();
    LONG room = RoomFor(selection);
    if (room == 0)
        return 0;
    std::wstring text = ClipboardText(m_container ? m_container->GetHostHwnd() : nullptr);
    if (!HasStyle(ES_MULTILINE))
        text.resize(std::min(text.size(), text.find_first_of(L"\r\n")));
    LRESULT pastable = 0;
    SendToServices(EM_CANPASTE, msg == EM_PASTESPECIAL ? wParam : 0, 0, &pastable);
    if (m_rich && pastable && static_cast<LONG>(text.size()) <= room
        && PasteFormatted(msg, wParam, lParam, selection, room))
        return 0;
    text.resize(FittingLength(text, room));
    if (!text.empty())
        SendToServices(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
    return 0;
}

LRESULT SRichEdit::HoldChangeNotice()
{
    LRESULT mask = 0;
    SendToServices(EM_GETEVENTMASK, 0, 0, &mask);
    SendToServices(EM_SETEVENTMASK, 0, mask & ~ENM_CHANGE);
    return mask;
}

void SRichEdit::ReleaseChangeNotice(LRESULT mask, bool changed)
{
    SendToServices(EM_SETEVENTMASK, 0, mask);
    if (changed && (mask & ENM_CHANGE))
        OnTxNotify(EN_CHANGE, nullptr);
}

// The services' change notice is held back meanwhile and raised once for a change kept.
bool SRichEdit::PasteFormatted(UINT msg, WPARAM wParam, LPARAM lParam, const CHARRANGE& selection, LONG room)
{
    LONG before = CharCount();
    LONG kept = before - (selection.cpMax - selection.cpMin);
    LRESULT mask = HoldChangeNotice();
    SendToServices(msg, wParam, lParam);
    bool fits = CharCount() - kept <= room;
    if (!fits)
        TakeOutPaste(selection, before, kept);
    bool changed = selection.cpMax > selection.cpMin || CharCount() != before;
    ReleaseChangeNotice(mask, fits && changed);
    return fits;
}

// A paste taken out by undoing it stays on the services' redo list: a redo that takes the text
// past the limit is undone again, and changes nothing.
LRESULT SRichEdit::OnRedo()
{
    LONG before = CharCount();
    LRESULT mask = HoldChangeNotice();
    LRESULT redone = 0;
    SendToServices(EM_REDO, 0, 0, &redone);
    LONG after = CharCount();
    if (redone && after > before && after > static_cast<LONG>(m_maxLength)) {
        SendToServices(EM_UNDO, 0, 0);
        SendMaxLength();
        redone = 0;
    }
    ReleaseChangeNotice(mask, redone != 0);
    return redone;
}

// Undone, the paste leaves no step to undo or redo; where undoing is switched off it is taken
// out, and the text it replaced with it.
void SRichEdit::TakeOutPaste(CHARRANGE selection, LONG before, LONG kept)
{
    SendToServices(EM_UNDO, 0, 0);
    if (CharCount() != before) {
        CHARRANGE pasted = {selection.cpMin, selection.cpMin + CharCount() - kept};
        SendToServices(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&pasted));
        SendToServices(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L""));
        selection.cpMax = selection.cpMin;
    }
    SendToServices(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    SendMaxLength(); // the services raised theirs to hold the paste
}

bool SRichEdit::TypedCharFits(WPARAM ch)
{
    bool lowOfPairLeftOut = m_pairLeftOut && IS_LOW_SURROGATE(ch);
    m_pairLeftOut = 0;
    if (lowOfPairLeftOut)
        return false;
    if (ch < L' ' && ch != L'\t')
        return true; // keys the services act on
    LONG needed = IS_HIGH_SURROGATE(ch) ? 2 : 1;
    if (RoomFor(SelectionInText()) >= needed)
        return true;
    m_pairLeftOut = IS_HIGH_SURROGATE(ch);
    return false;
}

LRESULT SRichEdit::OnProgramText(UINT msg, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    SendToServices(msg, wParam, lParam, &result);
    LimitToText();
    return result;
}

void SRichEdit::LimitToText()
{
    LONG count = CharCount();
    if (count > static_cast<LONG>(m_maxLength))
        SetMaxLength(static_cast<DWORD>(count));
    else
        SendMaxLength();
}

} // namespace SKEIN
