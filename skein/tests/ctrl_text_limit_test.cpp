// The maximum text length of the rich edit and the edit box in a real host: set from the XML or
// by a limit message, it stops characters typed through the host's message loop and pastes
// (Ctrl+V, Shift+Insert, WM_PASTE) without splitting a character, and rises with text the
// program puts in. These tests own the clipboard, so they run alone.
#include "control/SComboBox.h"
#include "ctrl_text_test_env.h"

namespace hosttest {
namespace {

class TextLimitTest : public TextCtrlTest {
protected:
    // Characters posted to the host and taken through its message loop, as typing delivers them.
    static void TypeQueued(const HostDriver& driver, const std::wstring& text)
    {
        for (wchar_t ch : text)
            driver.Post(WM_CHAR, ch, 1);
        driver.Pump();
    }
    // Ctrl+V and Shift+Insert through the host's message loop, the modifier held in the
    // keyboard state.
    static void PressCtrlV(const HostDriver& driver) { PressHeld(driver, VK_CONTROL, 'V'); }
    static void PressShiftInsert(const HostDriver& driver) { PressHeld(driver, VK_SHIFT, VK_INSERT); }
    static void PressHeld(const HostDriver& driver, int modifier, UINT vk)
    {
        HeldKeys held({modifier});
        driver.Post(WM_KEYDOWN, vk, 1);
        driver.Post(WM_KEYUP, vk, 0xC0000001);
        driver.Pump();
    }
    // Plain text on the clipboard, owned by owner, with rich text beside it when given.
    static bool PutOnClipboard(HWND owner, const std::wstring& text, const std::string& rtf = std::string())
    {
        return PutFormats(owner, &text, rtf);
    }
    // Rich text alone, with no plain text beside it.
    static bool PutRtfOnClipboard(HWND owner, const std::string& rtf) { return PutFormats(owner, nullptr, rtf); }
    static bool PutFormats(HWND owner, const std::wstring* text, const std::string& rtf)
    {
        if (!::OpenClipboard(owner))
            return false;
        ::EmptyClipboard();
        bool put = !text || PutClipboardBytes(CF_UNICODETEXT, text->c_str(), (text->size() + 1) * sizeof(wchar_t));
        UINT rtfFormat = ::RegisterClipboardFormatW(L"Rich Text Format");
        if (!rtf.empty())
            put = put && PutClipboardBytes(rtfFormat, rtf.c_str(), rtf.size() + 1);
        ::CloseClipboard();
        return put;
    }
    static bool PutClipboardBytes(UINT format, const void* bytes, size_t size)
    {
        HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, size);
        void* locked = memory ? ::GlobalLock(memory) : nullptr;
        if (!locked) {
            if (memory)
                ::GlobalFree(memory);
            return false;
        }
        memcpy(locked, bytes, size);
        ::GlobalUnlock(memory);
        if (::SetClipboardData(format, memory))
            return true;
        ::GlobalFree(memory);
        return false;
    }
    // Selects everything and pastes text over it with Ctrl+V.
    void PasteOverAll(SRichEdit* edit, const std::wstring& text)
    {
        ASSERT_TRUE(PutOnClipboard(m_driver->Hwnd(), text));
        edit->SendUiMessage(EM_SETSEL, 0, -1);
        PressCtrlV(*m_driver);
    }
};

// The limit from the XML or from either limit message, typed and pasted in both controls.
TEST_F(TextLimitTest, TypingAndPastingStopAtTheLimit)
{
    struct Case {
        const char* tag;
        const char* attributes;
        UINT limitMessage; // sent after creation; 0: none
        WPARAM wParam;
        LPARAM lParam;
    } const kCases[] = {
        {"richedit", "maxBuf='5'", 0, 0, 0},          {"edit", "maxBuf='5'", 0, 0, 0},
        {"richedit", "", EM_EXLIMITTEXT, 0, 5},       {"edit", "", EM_EXLIMITTEXT, 0, 5},
        {"richedit", "", EM_LIMITTEXT, 5, 0},         {"edit", "", EM_LIMITTEXT, 5, 0},
        {"edit", "maxBuf='20'", EM_EXLIMITTEXT, 0, 5},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string(c.tag) + " " + c.attributes + " " + std::to_string(c.limitMessage));
        SRichEdit* edit = OpenControl(c.tag, c.attributes);
        ASSERT_TRUE(edit && edit->TextServices());
        if (c.limitMessage)
            edit->SendUiMessage(c.limitMessage, c.wParam, c.lParam);
        EXPECT_EQ(5u, edit->MaxLength());
        EXPECT_EQ(5, edit->SendUiMessage(EM_GETLIMITTEXT)); // the services' own limit
        edit->TakeFocus();
        TypeQueued(*m_driver, L"abcdefgh");
        EXPECT_EQ(L"abcde", TextOf(edit));

        PasteOverAll(edit, L"12345678");
        EXPECT_EQ(L"12345", TextOf(edit));
        edit->SendUiMessage(EM_SETSEL, 1, 3);
        edit->SendUiMessage(WM_PASTE); // over "23": room for two
        EXPECT_EQ(L"11245", TextOf(edit));
        edit->SendUiMessage(EM_SETSEL, 5, 5);
        PressShiftInsert(*m_driver);
        EXPECT_EQ(L"11245", TextOf(edit)); // full: nothing more goes in
        edit->SendUiMessage(EM_UNDO);
        EXPECT_EQ(L"12345", TextOf(edit)); // the cut paste undoes as one step
        m_host->DestroyHost();
    }
}

// A normal limit takes whole texts; every later change of the limit reaches the services.
TEST_F(TextLimitTest, ChangedLimitsReachTheServices)
{
    const std::wstring kLong(300, L'x');
    SRichEdit* edit = OpenControl("edit", "");
    ASSERT_TRUE(edit && edit->TextServices());
    edit->TakeFocus();
    TypeQueued(*m_driver, L"abcdefghijklmnopqrstuvwxyz0123456789");
    PasteOverAll(edit, kLong);
    EXPECT_EQ(kLong, TextOf(edit));

    edit->ApplyAttribute(SStringW(L"maxBuf"), SStringW(L"5"), FALSE);
    edit->AssignText(SStringW());
    TypeQueued(*m_driver, L"abcdefgh");
    EXPECT_EQ(L"abcde", TextOf(edit));
    edit->SendUiMessage(EM_EXLIMITTEXT, 0, 8);
    TypeQueued(*m_driver, L"fghij");
    EXPECT_EQ(L"abcdefgh", TextOf(edit));
    edit->SendUiMessage(EM_LIMITTEXT, 0);
    EXPECT_EQ(32767u, edit->MaxLength());
    TypeQueued(*m_driver, L"ij");
    EXPECT_EQ(L"abcdefghij", TextOf(edit));

    // A longer text set by the program raises the limit to its length, and no further.
    edit->SendUiMessage(EM_EXLIMITTEXT, 0, 3);
    edit->AssignText(SStringW(L"0123456789"));
    EXPECT_EQ(10, edit->SendUiMessage(EM_GETLIMITTEXT));
    edit->SendUiMessage(EM_SETSEL, 10, 10);
    TypeQueued(*m_driver, L"z");
    EXPECT_EQ(L"0123456789", TextOf(edit));

    edit->ApplyAttribute(SStringW(L"maxBuf"), SStringW(L"0"), FALSE); // no room at all is not a limit
    EXPECT_EQ(32767u, edit->MaxLength());
    EXPECT_EQ(32767, edit->SendUiMessage(EM_GETLIMITTEXT));
}

// Pasted lines count one character per break; formatted text that fits keeps its format, and
// what does not fit goes in as plain text.
TEST_F(TextLimitTest, PastedLinesCountOnePerBreakAndFormattedTextThatFitsKeepsItsFormat)
{
    SRichEdit* edit = OpenControl("richedit", "multiLines='1' maxBuf='5'");
    ASSERT_TRUE(edit && edit->TextServices());
    edit->TakeFocus();
    PasteOverAll(edit, L"ab\r\ncd\r\nef");
    EXPECT_EQ(L"ab\rcd", TextOf(edit));

    const char kBold[] = "{\\rtf1 {\\b bold}}";
    for (DWORD limit : {3, 5}) {
        SCOPED_TRACE(limit);
        edit->SendUiMessage(EM_EXLIMITTEXT, 0, limit);
        ASSERT_TRUE(PutOnClipboard(m_driver->Hwnd(), L"bold", kBold));
        edit->SendUiMessage(EM_SETSEL, 0, -1);
        PressCtrlV(*m_driver);
        EXPECT_EQ(limit == 5 ? L"bold" : L"bol", TextOf(edit));
        CHARFORMAT2W format = {};
        format.cbSize = sizeof(format);
        edit->SendUiMessage(EM_SETSEL, 0, 1);
        edit->SendUiMessage(EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
        EXPECT_EQ(limit == 5, (format.dwEffects & CFE_BOLD) != 0);
    }
}

// Counts the text-changed notifications.
struct ChangeCount {
    bool OnNotify(EventRENotify* evt)
    {
        changes += evt->code == EN_CHANGE;
        return true;
    }
    int changes = 0;
};

// A surrogate pair is one character: where one unit is left it stays out whole, pasted or typed
// (as two character messages, from the keyboard or the input method), over a selection or not.
TEST_F(TextLimitTest, APairThatDoesNotFitIsLeftOutWhole)
{
    const std::wstring kSmile = L"\xD83D\xDE00";
    const std::wstring kGrin = L"\xD83D\xDE01";
    for (const char* tag : {"edit", "richedit"}) {
        SCOPED_TRACE(tag);
        SRichEdit* edit = OpenControl(tag, "maxBuf='3'");
        ASSERT_TRUE(edit && edit->TextServices());
        edit->TakeFocus();
        PasteOverAll(edit, kSmile + kGrin);
        EXPECT_EQ(kSmile, TextOf(edit));
        edit->SendUiMessage(EM_SETSEL, 2, 2);
        for (UINT msg : {WM_CHAR, WM_IME_CHAR}) {
            for (wchar_t half : kGrin)
                m_driver->Post(msg, half, 1);
            m_driver->Pump();
            EXPECT_EQ(kSmile, TextOf(edit)) << msg;
        }
        TypeQueued(*m_driver, L"c"); // the next character is not taken for the left-out half
        EXPECT_EQ(kSmile + L"c", TextOf(edit));
        edit->SendUiMessage(EM_SETSEL, 2, 3); // in place of "c": still one unit
        TypeQueued(*m_driver, kGrin);
        EXPECT_EQ(kSmile + L"c", TextOf(edit));
        edit->SendUiMessage(EM_SETSEL, 0, 2); // in place of the pair: room for another
        TypeQueued(*m_driver, kGrin);
        EXPECT_EQ(kGrin + L"c", TextOf(edit));
        m_host->DestroyHost();
    }
}

// Formatted text whose plain form fits but whose formatted form does not goes in as its plain
// text: one change, one step to undo and redo, never over the limit, undoing switched on or off.
TEST_F(TextLimitTest, ACutFormattedPasteIsOneChangeAndOneStep)
{
    struct Case {
        const char* rtf;
        bool undo;
    } const kCases[] = {
        {"{\\rtf1 XY{\\v hidden text}}", true}, // longer formatted: its plain text
        {"{\\rtf1 XY{\\v hidden text}}", false},
        {"{\\rtf1 {\\b XY}}", true}, // fits: the services' own paste
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string(c.rtf) + (c.undo ? "" : " without undo"));
        SRichEdit* edit = OpenControl("richedit", "maxBuf='5' notifyChange='1'");
        ASSERT_TRUE(edit && edit->TextServices());
        ChangeCount count;
        edit->GetEventSet()->AddSubscriber(EventRENotify::EventID, Subscriber(&ChangeCount::OnNotify, &count));
        edit->TakeFocus();
        if (!c.undo)
            edit->SendUiMessage(EM_SETUNDOLIMIT, 0);
        TypeQueued(*m_driver, L"ab1");
        edit->SendUiMessage(EM_SETSEL, 2, 3); // pasted over "1"
        count.changes = 0;
        ASSERT_TRUE(PutOnClipboard(m_driver->Hwnd(), L"XY", c.rtf));
        PressCtrlV(*m_driver);
        EXPECT_EQ(L"abXY", TextOf(edit));
        EXPECT_EQ(1, count.changes);
        EXPECT_EQ(5, edit->SendUiMessage(EM_GETLIMITTEXT));
        if (c.undo) {
            PressHeld(*m_driver, VK_CONTROL, 'Z');
            EXPECT_EQ(L"ab1", TextOf(edit));
            PressHeld(*m_driver, VK_CONTROL, 'Y');
            EXPECT_EQ(L"abXY", TextOf(edit));
        }
        m_host->DestroyHost();
    }
}

// Rich text alone that does not fit is taken out, and no redo, by key or message, brings it back.
TEST_F(TextLimitTest, ARedoNeverTakesTheTextOverTheLimit)
{
    SRichEdit* edit = OpenControl("richedit", "maxBuf='5' notifyChange='1'");
    ASSERT_TRUE(edit && edit->TextServices());
    ChangeCount count;
    edit->GetEventSet()->AddSubscriber(EventRENotify::EventID, Subscriber(&ChangeCount::OnNotify, &count));
    edit->TakeFocus();
    TypeQueued(*m_driver, L"ab");
    ASSERT_TRUE(PutRtfOnClipboard(m_driver->Hwnd(), "{\\rtf1 {\\b too long}}"));
    count.changes = 0;
    PressCtrlV(*m_driver);
    EXPECT_EQ(L"ab", TextOf(edit));
    PressHeld(*m_driver, VK_CONTROL, 'Y');
    EXPECT_EQ(L"ab", TextOf(edit));
    EXPECT_EQ(0, edit->SendUiMessage(EM_REDO));
    EXPECT_EQ(L"ab", TextOf(edit));
    EXPECT_EQ(0, count.changes);
    EXPECT_EQ(5, edit->SendUiMessage(EM_GETLIMITTEXT));
    PressHeld(*m_driver, VK_CONTROL, 'Z'); // the typing is still there to undo
    EXPECT_NE(L"ab", TextOf(edit));
    PressHeld(*m_driver, VK_CONTROL, 'Y');
    EXPECT_EQ(L"ab", TextOf(edit));
}

// Text the program puts in keeps one limit: it rises to a longer text, as WM_SETTEXT raises it,
// and typing and pasting then stop where the services stop.
TEST_F(TextLimitTest, TextPutInByTheProgramKeepsOneLimit)
{
    static const char kRtf[] = "{\\rtf1 abcdefgh}";
    struct Stream {
        static DWORD CALLBACK Read(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given)
        {
            const char*& next = *reinterpret_cast<const char**>(cookie);
            *given = std::min(wanted, static_cast<LONG>(strlen(next)));
            memcpy(buffer, next, static_cast<size_t>(*given));
            next += *given;
            return 0;
        }
    };
    const wchar_t kText[] = L"abcdefgh";
    enum Way { kReplace, kSetTextEx, kStreamIn };
    for (Way way : {kReplace, kSetTextEx, kStreamIn}) {
        SCOPED_TRACE(way);
        SRichEdit* edit = OpenControl(way == kStreamIn ? "richedit" : "edit", "maxBuf='5'");
        ASSERT_TRUE(edit && edit->TextServices());
        edit->SendUiMessage(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"xy")); // fits: the limit stays
        EXPECT_EQ(5u, edit->MaxLength());
        EXPECT_EQ(5, edit->SendUiMessage(EM_GETLIMITTEXT));
        edit->SendUiMessage(EM_SETSEL, 0, -1);
        SETTEXTEX setText = {ST_SELECTION, 1200};
        const char* next = kRtf;
        EDITSTREAM stream = {reinterpret_cast<DWORD_PTR>(&next), 0, &Stream::Read};
        if (way == kReplace)
            edit->SendUiMessage(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(kText));
        else if (way == kSetTextEx)
            edit->SendUiMessage(EM_SETTEXTEX, reinterpret_cast<WPARAM>(&setText), reinterpret_cast<LPARAM>(kText));
        else
            edit->SendUiMessage(EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
        ASSERT_EQ(kText, TextOf(edit));
        EXPECT_EQ(8u, edit->MaxLength());
        EXPECT_EQ(8, edit->SendUiMessage(EM_GETLIMITTEXT));

        edit->TakeFocus();
        edit->SendUiMessage(EM_SETSEL, 2, 8);
        m_driver->Key(VK_DELETE);
        TypeQueued(*m_driver, L"123456789");
        EXPECT_EQ(L"ab123456", TextOf(edit));
        edit->SendUiMessage(EM_SETSEL, 2, 4);
        ASSERT_TRUE(PutOnClipboard(m_driver->Hwnd(), L"ZZZZ"));
        PressCtrlV(*m_driver);
        EXPECT_EQ(L"abZZ3456", TextOf(edit));
        m_host->DestroyHost();
    }

    // Rich text from the XML, loaded at creation.
    SRefPtr<skein_test::MemProvider> memory(new skein_test::MemProvider, false);
    memory->Put(L"rtf", L"long", kRtf);
    m_app->AddProvider(memory, nullptr);
    SRichEdit* edit = OpenControl("richedit", "maxBuf='5' rtf='rtf:long'");
    ASSERT_TRUE(edit && edit->TextServices());
    EXPECT_EQ(kText, TextOf(edit));
    EXPECT_EQ(8u, edit->MaxLength());
    EXPECT_EQ(8, edit->SendUiMessage(EM_GETLIMITTEXT));
}

// A paste or a character that puts nothing in changes nothing and tells nobody: a full box, an
// empty clipboard, an empty first line in a single-line box; nor does Delete at the end.
TEST_F(TextLimitTest, APasteOrACharacterThatPutsNothingInChangesNothing)
{
    for (const char* tag : {"edit", "richedit"}) {
        SCOPED_TRACE(tag);
        SRichEdit* edit = OpenControl(tag, "maxBuf='5' notifyChange='1'", "abcde");
        ASSERT_TRUE(edit && edit->TextServices());
        ChangeCount count;
        edit->GetEventSet()->AddSubscriber(EventRENotify::EventID, Subscriber(&ChangeCount::OnNotify, &count));
        edit->TakeFocus();
        edit->SendUiMessage(EM_SETSEL, 5, 5);
        ASSERT_TRUE(PutOnClipboard(m_driver->Hwnd(), L"xy", "{\\rtf1 xy}"));
        PressShiftInsert(*m_driver);
        PressCtrlV(*m_driver);
        TypeQueued(*m_driver, L"z");
        m_driver->Key(VK_DELETE);
        EXPECT_EQ(L"abcde", TextOf(edit));
        EXPECT_EQ(0, count.changes);

        edit->SendUiMessage(EM_SETSEL, 0, 0);
        m_driver->Key(VK_DELETE);
        EXPECT_EQ(1, count.changes); // a real change still tells
        ASSERT_TRUE(::OpenClipboard(m_driver->Hwnd()) && ::EmptyClipboard() && ::CloseClipboard());
        PressCtrlV(*m_driver);
        ASSERT_TRUE(PutOnClipboard(m_driver->Hwnd(), L"\r\nxy"));
        PressCtrlV(*m_driver); // a single line takes the first line: none
        EXPECT_EQ(L"bcde", TextOf(edit));
        EXPECT_EQ(1, count.changes);
        m_host->DestroyHost();
    }
}

// A full editable combo keeps its chosen item when a paste, a typed character or a key changes
// nothing, though the services may report a change.
TEST_F(TextLimitTest, AFullComboKeepsItsChosenItem)
{
    m_driver.reset(new HostDriver(
        Open(Layout("<combobox name='combo' pos='10,10,@150,@30' dropDown='0' curSel='1' animateTime='0'>"
                    "<editStyle maxBuf='6'/><items><item text='item 0'/><item text='item 1'/></items></combobox>"))));
    SComboBox* combo = m_driver->Find<SComboBox>(L"combo");
    ASSERT_TRUE(combo && combo->GetEdit());
    combo->GetEdit()->TakeFocus();
    m_driver->Key(VK_END);
    ASSERT_TRUE(PutOnClipboard(m_driver->Hwnd(), L"xy"));
    PressCtrlV(*m_driver);
    TypeQueued(*m_driver, L"z");
    m_driver->Key(VK_DELETE);
    PressHeld(*m_driver, VK_CONTROL, 'X'); // nothing selected
    PressHeld(*m_driver, VK_CONTROL, 'Z'); // nothing to undo
    EXPECT_EQ(SStringW(L"item 1"), combo->QueryText());
    EXPECT_EQ(1, combo->GetCurSel());
    m_driver->Key(VK_BACK);
    EXPECT_EQ(-1, combo->GetCurSel()); // typing that changes the text still clears it
}


} // namespace
} // namespace hosttest
