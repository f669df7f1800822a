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

// Formatted text that fits is pasted by the services. Anything else goes in as plain text cut
// to fit, one step to undo: the services paste more than their limit, and their plain-text
// paste replaces the whole text instead of the selection.
LRESULT SRichEdit::OnPaste(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (!TextServices() || HasStyle(ES_READONLY))
        return 0;
    CHARRANGE selection = SelectionInText();
    LONG kept = CharCount() - (selection.cpMax - selection.cpMin);
    LONG room = std::max(0L, static_cast<LONG>(m_maxLength) - kept);
    std::wstring text = ClipboardText(m_container ? m_container->GetHostHwnd() : nullptr);
    if (m_rich && static_cast<LONG>(text.size()) <= room) {
        LRESULT result = 0;
        SendToServices(msg, wParam, lParam, &result);
        CutPastedBeyond(selection.cpMin, kept, room); // pictures, or formats without text
        return result;
    }
    if (!text.empty()) {
        text.resize(std::min(text.size(), static_cast<size_t>(room)));
        SendToServices(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
    }
    return 0;
}

void SRichEdit::CutPastedBeyond(LONG start, LONG kept, LONG room)
{
    LONG inserted = CharCount() - kept;
    if (inserted <= room)
        return;
    SendToServices(EM_SETSEL, start + room, start + inserted);
    SendToServices(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L""));
    SendMaxLength(); // the services raised theirs to hold the paste
}

} // namespace SKEIN
