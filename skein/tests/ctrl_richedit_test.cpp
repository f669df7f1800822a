// The rich edit in a real host over the system's text services: text and its limit, the key
// and character filters, the property bits the host reports, the caret, the default formats,
// rich text streamed in, typed text in the host's pixels, and text services that cannot be made.
#include <fstream>
#include "control/SRicheditDropTarget.h"
#include "ctrl_text_test_env.h"

namespace hosttest {
namespace {

using skein_test::MemProvider;

// Records the key-down events and cancels Backspace.
struct KeyRecorder {
    bool OnKey(EventKeyDown* evt)
    {
        keys.push_back(evt->keyCode);
        evt->cancel = evt->keyCode == VK_BACK;
        return true;
    }
    std::vector<UINT> keys;
};

class RichEditTest : public TextCtrlTest {
protected:
    // One rich edit named "re" with the attributes (and text) given.
    SRichEdit* OpenEdit(const std::string& attributes, const std::string& text = "")
    {
        return OpenControl("richedit", attributes, text);
    }
};

TEST_F(RichEditTest, TextRoundTripsAndALongerTextRaisesTheLimit)
{
    SRichEdit* edit = OpenEdit("maxBuf='5'", "Hello");
    ASSERT_TRUE(edit && edit->TextServices());
    EXPECT_EQ(L"Hello", TextOf(edit));
    EXPECT_EQ(5u, edit->MaxLength());

    const wchar_t kLonger[] = L"手柄 0123456789";
    EXPECT_TRUE(edit->AssignText(SStringW(kLonger)));
    EXPECT_EQ(kLonger, TextOf(edit)); // kept whole, not cut at the old limit
    EXPECT_EQ(wcslen(kLonger), edit->MaxLength());
    DWORD reported = 0;
    edit->TextHost()->TxGetMaxLength(&reported);
    EXPECT_EQ(wcslen(kLonger), reported);

    EXPECT_EQ(1, edit->SendUiMessage(EM_EXLIMITTEXT, 0, 0));
    EXPECT_EQ(32767u, edit->MaxLength());
    edit->SendUiMessage(EM_EXLIMITTEXT, 0, 40);
    EXPECT_EQ(40u, edit->MaxLength());
    edit->SendUiMessage(EM_EXLIMITTEXT, 50, 0);
    EXPECT_EQ(50u, edit->MaxLength());
}

TEST_F(RichEditTest, KeyAndCharacterFilters)
{
    struct Case {
        const char* attributes;
        const wchar_t* typed;
        bool ctrlEnter;
        const wchar_t* expected;
    } const kCases[] = {
        {"number='1'", L"a1-.,b2", false, L"1-.,2"},
        {"", L"a\tb", false, L"ab"},
        {"wantTab='1' multiLines='1'", L"a\tb", false, L"a\tb"},
        {"multiLines='1'", L"a\rb", false, L"ab"},
        {"multiLines='1' wantReturn='1'", L"a\rb", false, L"a\rb"},
        {"multiLines='1'", L"a\rb", true, L"a\rb"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.attributes);
        SRichEdit* edit = OpenEdit(c.attributes);
        ASSERT_TRUE(edit && edit->TextServices());
        edit->TakeFocus();
        for (const wchar_t* ch = c.typed; *ch; ++ch) {
            if (*ch == L'\r' && c.ctrlEnter) {
                HeldKeys ctrl({VK_CONTROL});
                Type(*m_driver, L"\r");
            } else {
                Type(*m_driver, std::wstring(1, *ch));
            }
        }
        EXPECT_EQ(c.expected, TextOf(edit));
        m_host->DestroyHost();
    }
}

TEST_F(RichEditTest, BlockedEnterStaysUnhandledAndAKeyDownHandlerCanCancelAKey)
{
    SRichEdit* edit = OpenEdit("multiLines='1'", "abc");
    ASSERT_TRUE(edit && edit->TextServices());
    edit->TakeFocus();
    edit->SendUiMessage(EM_SETSEL, 3, 3);
    BOOL handled = TRUE;
    edit->SendUiMessage(WM_KEYDOWN, VK_RETURN, 1, &handled);
    EXPECT_FALSE(handled);

    KeyRecorder recorder;
    edit->GetEventSet()->AddSubscriber(EventKeyDown::EventID, Subscriber(&KeyRecorder::OnKey, &recorder));
    m_driver->Key(VK_BACK);
    EXPECT_EQ(L"abc", TextOf(edit));
    m_driver->Key(VK_LEFT);
    m_driver->Key(VK_BACK);
    EXPECT_EQ(L"abc", TextOf(edit));
    m_driver->Key(VK_DELETE);
    EXPECT_EQ(L"ab", TextOf(edit)); // other keys still reach the services
    EXPECT_EQ((std::vector<UINT>{VK_BACK, VK_LEFT, VK_BACK, VK_DELETE}), recorder.keys);
}

// Counts the text-changed notifications.
struct ChangeRecorder {
    bool OnNotify(EventRENotify* evt)
    {
        changes += evt->code == EN_CHANGE;
        return true;
    }
    int changes = 0;
};

TEST_F(RichEditTest, NotifyChangeRaisesTextChangesUntilSwitchedOff)
{
    SRichEdit* edit = OpenEdit("notifyChange='1'");
    ASSERT_TRUE(edit && edit->TextServices());
    ChangeRecorder recorder;
    edit->GetEventSet()->AddSubscriber(EventRENotify::EventID, Subscriber(&ChangeRecorder::OnNotify, &recorder));
    edit->TakeFocus();
    Type(*m_driver, L"ab");
    EXPECT_EQ(2, recorder.changes);
    edit->ApplyAttribute(SStringW(L"notifyChange"), SStringW(L"0"), FALSE);
    Type(*m_driver, L"c");
    EXPECT_EQ(2, recorder.changes);
    EXPECT_EQ(L"abc", TextOf(edit));
}

TEST_F(RichEditTest, TheWheelScrollsTheServicesAndTheBarFollowsThem)
{
    std::string lines;
    for (int i = 0; i < 30; ++i)
        lines += "line&#13;";
    SRichEdit* edit = OpenEdit("multiLines='1' vscrollBar='1' autoVscroll='1' wantReturn='1'", lines);
    ASSERT_TRUE(edit && edit->TextServices());
    EXPECT_TRUE(edit->IsScrollBarShown(TRUE));
    EXPECT_GT(edit->ScrollInfoOf(TRUE).nMax, 100);
    edit->TakeFocus();
    m_driver->Wheel(m_driver->Centre(L"re"), -WHEEL_DELTA);
    LONG minimum = 0, maximum = 0, pos = 0, page = 0;
    BOOL enabled = FALSE;
    edit->TextServices()->TxGetVScroll(&minimum, &maximum, &pos, &page, &enabled);
    EXPECT_GT(pos, 0);
    EXPECT_EQ(pos, edit->ScrollPosOf(TRUE));
}

// The system's text services, passed through, except that their scroll queries fail.
class NoScrollQueryServices : public ITextServices {
public:
    static HRESULT STDAPICALLTYPE Entry(IUnknown* outer, ITextHost* host, IUnknown** out)
    {
        *out = nullptr;
        IUnknown* made = nullptr;
        HRESULT result = RealEntry()(outer, host, &made);
        if (FAILED(result) || !made)
            return FAILED(result) ? result : E_FAIL;
        ITextServices* inner = nullptr;
        result = made->QueryInterface(kIidTextServices, reinterpret_cast<void**>(&inner));
        made->Release();
        if (FAILED(result))
            return result;
        *out = new NoScrollQueryServices(inner);
        return S_OK;
    }
    static FnCreateTextServices& RealEntry()
    {
        static FnCreateTextServices entry = nullptr;
        return entry;
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (iid == IID_IUnknown || iid == kIidTextServices) {
            *out = this;
            AddRef();
            return S_OK;
        }
        return m_inner->QueryInterface(iid, out);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_refs; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        ULONG left = --m_refs;
        if (!left)
            delete this;
        return left;
    }
    HRESULT TxGetHScroll(LONG*, LONG*, LONG*, LONG*, WINBOOL*) override { return E_FAIL; }
    HRESULT TxGetVScroll(LONG*, LONG*, LONG*, LONG*, WINBOOL*) override { return E_FAIL; }

    HRESULT TxSendMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override
    {
        return m_inner->TxSendMessage(msg, wParam, lParam, result);
    }
    HRESULT TxDraw(DWORD aspect, LONG index, void* aspectInfo, DVTARGETDEVICE* device, HDC draw, HDC target,
                   LPCRECTL bounds, LPCRECTL metaBounds, LPRECT update, WINBOOL(CALLBACK* proceed)(DWORD),
                   DWORD proceedArg, LONG view) override
    {
        return m_inner->TxDraw(aspect, index, aspectInfo, device, draw, target, bounds, metaBounds, update, proceed,
                               proceedArg, view);
    }
    HRESULT OnTxSetCursor(DWORD aspect, LONG index, void* aspectInfo, DVTARGETDEVICE* device, HDC draw, HDC target,
                          LPCRECT client, INT x, INT y) override
    {
        return m_inner->OnTxSetCursor(aspect, index, aspectInfo, device, draw, target, client, x, y);
    }
    HRESULT TxQueryHitPoint(DWORD aspect, LONG index, void* aspectInfo, DVTARGETDEVICE* device, HDC draw, HDC target,
                            LPCRECT client, INT x, INT y, DWORD* hit) override
    {
        return m_inner->TxQueryHitPoint(aspect, index, aspectInfo, device, draw, target, client, x, y, hit);
    }
    HRESULT OnTxInPlaceActivate(LPCRECT client) override { return m_inner->OnTxInPlaceActivate(client); }
    HRESULT OnTxInPlaceDeactivate() override { return m_inner->OnTxInPlaceDeactivate(); }
    HRESULT OnTxUIActivate() override { return m_inner->OnTxUIActivate(); }
    HRESULT OnTxUIDeactivate() override { return m_inner->OnTxUIDeactivate(); }
    HRESULT TxGetText(BSTR* text) override { return m_inner->TxGetText(text); }
    HRESULT TxSetText(LPCWSTR text) override { return m_inner->TxSetText(text); }
    HRESULT TxGetCurTargetX(LONG* x) override { return m_inner->TxGetCurTargetX(x); }
    HRESULT TxGetBaseLinePos(LONG* pos) override { return m_inner->TxGetBaseLinePos(pos); }
    HRESULT TxGetNaturalSize(DWORD aspect, HDC draw, HDC target, DVTARGETDEVICE* device, DWORD mode,
                             const SIZEL* extent, LONG* width, LONG* height) override
    {
        return m_inner->TxGetNaturalSize(aspect, draw, target, device, mode, extent, width, height);
    }
    HRESULT TxGetDropTarget(IDropTarget** target) override { return m_inner->TxGetDropTarget(target); }
    HRESULT OnTxPropertyBitsChange(DWORD mask, DWORD bits) override { return m_inner->OnTxPropertyBitsChange(mask, bits); }
    HRESULT TxGetCachedSize(DWORD* width, DWORD* height) override { return m_inner->TxGetCachedSize(width, height); }

private:
    explicit NoScrollQueryServices(ITextServices* inner) : m_inner(inner) {}
    virtual ~NoScrollQueryServices() { m_inner->Release(); }

    ITextServices* m_inner;
    ULONG m_refs = 1;
};

TEST_F(RichEditTest, AFailedScrollQueryLeavesTheBarWhereTheScrollPutIt)
{
    STextServiceHelper* helper = STextServiceHelper::Current();
    ASSERT_TRUE(helper && helper->CreateTextServicesEntry());
    NoScrollQueryServices::RealEntry() = helper->ReplaceEntry(&NoScrollQueryServices::Entry);
    std::string lines;
    for (int i = 0; i < 30; ++i)
        lines += "line&#13;";
    SRichEdit* edit = OpenEdit("multiLines='1' vscrollBar='1' autoVscroll='1' wantReturn='1'", lines);
    helper->ReplaceEntry(NoScrollQueryServices::RealEntry());
    ASSERT_TRUE(edit && edit->TextServices());
    ASSERT_GT(edit->ScrollInfoOf(TRUE).nMax, 100);
    edit->TakeFocus();
    m_driver->Wheel(m_driver->Centre(L"re"), -WHEEL_DELTA);
    int moved = edit->ScrollPosOf(TRUE);
    EXPECT_GT(moved, 0); // not put back to 0
    m_driver->Wheel(m_driver->Centre(L"re"), -WHEEL_DELTA);
    EXPECT_GT(edit->ScrollPosOf(TRUE), moved);
}

TEST_F(RichEditTest, PropertyBitsFollowTheStyleWordAndOptions)
{
    const DWORD kDefaults = TXTBIT_RICHTEXT | TXTBIT_HIDESELECTION | TXTBIT_SAVESELECTION | TXTBIT_AUTOWORDSEL;
    const DWORD kTen = 0xDF7; // the ten bits a host ever reports
    struct Case {
        const char* attributes;
        DWORD bits;
    } const kCases[] = {
        {"", kDefaults},
        {"multiLines='1' readOnly='1' password='1'",
         kDefaults | TXTBIT_MULTILINE | TXTBIT_READONLY | TXTBIT_USEPASSWORD},
        {"style='0x100' rich='0' autoWordSel='2' wordWrap='1' vertical='1' allowBeep='1'",
         TXTBIT_SAVESELECTION | TXTBIT_VERTICAL | TXTBIT_WORDWRAP | TXTBIT_ALLOWBEEP},
        {"rich='3' number='1' wantReturn='1' autoHscroll='0' hscrollBar='1' vscrollBar='1'", kDefaults},
        {"multiLines='1' readOnly='1' password='1' wordWrap='1' vertical='1' allowBeep='1'", kTen},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.attributes);
        SRichEdit* edit = OpenEdit(c.attributes);
        ASSERT_TRUE(edit && edit->TextHost());
        DWORD bits = 0xFFFFFFFF;
        EXPECT_EQ(S_OK, edit->TextHost()->TxGetPropertyBits(0xFFFFFFFF, &bits));
        EXPECT_EQ(c.bits, bits);
        EXPECT_EQ(S_OK, edit->TextHost()->TxGetPropertyBits(0, &bits));
        EXPECT_EQ(0u, bits);
        m_host->DestroyHost();
    }
}

TEST_F(RichEditTest, ReadOnlyAfterCreationReachesTheServices)
{
    SRichEdit* edit = OpenEdit("", "abc");
    ASSERT_TRUE(edit && edit->TextHost());
    edit->TakeFocus();
    EXPECT_EQ(1, edit->SendUiMessage(EM_SETREADONLY, TRUE));
    DWORD bits = 0;
    edit->TextHost()->TxGetPropertyBits(TXTBIT_READONLY, &bits);
    EXPECT_EQ(static_cast<DWORD>(TXTBIT_READONLY), bits);
    edit->SendUiMessage(EM_SETSEL, 3, 3);
    Type(*m_driver, L"x");
    EXPECT_EQ(L"abc", TextOf(edit));
    edit->SendUiMessage(EM_SETREADONLY, FALSE);
    Type(*m_driver, L"x");
    EXPECT_EQ(L"abcx", TextOf(edit));
}

TEST_F(RichEditTest, NoCaretWhileUnfocused)
{
    m_driver.reset(new HostDriver(Open(Layout("<richedit name='re' pos='10,10,@300,@40'>Hi</richedit>"
                                              "<richedit name='other' pos='10,60,@300,@40'/>"))));
    SRichEdit* edit = m_driver->Find<SRichEdit>(L"re");
    ASSERT_TRUE(edit && edit->TextHost());
    STextHost* host = edit->TextHost();
    EXPECT_FALSE(host->IsUiActive());
    EXPECT_FALSE(host->TxShowCaret(TRUE));

    edit->TakeFocus();
    EXPECT_TRUE(host->IsUiActive());
    POINT caret = host->CaretPos(); // placed by the services inside the client area
    RECT client;
    edit->GetInnerRect(&client);
    EXPECT_TRUE(::PtInRect(&client, caret));
    EXPECT_TRUE(host->TxShowCaret(TRUE));

    m_driver->Child(L"other")->TakeFocus();
    EXPECT_FALSE(host->IsUiActive());
    EXPECT_FALSE(host->TxShowCaret(TRUE));
}

TEST_F(RichEditTest, FormatMessagesTakeOnlyTheFullStructures)
{
    SRichEdit* edit = OpenEdit("colorText='#102030'", "abc");
    ASSERT_TRUE(edit && edit->TextServices());
    EXPECT_EQ(RGB(0x10, 0x20, 0x30), edit->DefaultCharFormat().crTextColor);

    CHARFORMAT2W full = {};
    full.cbSize = sizeof(full);
    full.dwMask = CFM_COLOR;
    full.crTextColor = RGB(255, 0, 0);
    CHARFORMATW shortFormat = {};
    shortFormat.cbSize = sizeof(shortFormat);
    shortFormat.dwMask = CFM_COLOR;
    PARAFORMAT2 para = {};
    para.cbSize = sizeof(para);
    para.dwMask = PFM_ALIGNMENT;
    para.wAlignment = PFA_RIGHT;
    PARAFORMAT shortPara = {};
    shortPara.cbSize = sizeof(shortPara);
    struct Case {
        UINT msg;
        WPARAM which;
        const void* format;
        LRESULT result;
    } const kCases[] = {
        {EM_SETCHARFORMAT, SCF_DEFAULT, nullptr, 0},
        {EM_SETCHARFORMAT, SCF_ALL, nullptr, 0},
        {EM_SETCHARFORMAT, SCF_DEFAULT, &shortFormat, 0},
        {EM_SETPARAFORMAT, 0, nullptr, 0},
        {EM_SETPARAFORMAT, 0, &shortPara, 0},
        {EM_SETCHARFORMAT, SCF_ALL, &shortFormat, 1},
        {EM_SETPARAFORMAT, 0, &para, 1},
        {EM_SETCHARFORMAT, SCF_DEFAULT, &full, 1},
    };
    for (const Case& c : kCases) {
        EXPECT_EQ(c.result, edit->SendUiMessage(c.msg, c.which, reinterpret_cast<LPARAM>(c.format)))
            << std::hex << c.msg << " " << c.which << " " << c.format;
        if (c.result == 0) {
            EXPECT_EQ(RGB(0x10, 0x20, 0x30), edit->DefaultCharFormat().crTextColor);
        }
    }
    EXPECT_EQ(RGB(255, 0, 0), edit->DefaultCharFormat().crTextColor);
    EXPECT_EQ(sizeof(CHARFORMAT2W), edit->DefaultCharFormat().cbSize);
}

TEST_F(RichEditTest, AlignmentIsOnlyEverAddedAndOptionsTakeTheLowestBit)
{
    SRichEdit* edit = OpenEdit("align='center'");
    ASSERT_TRUE(edit);
    EXPECT_EQ(PFA_CENTER, edit->DefaultParaFormat().wAlignment);
    edit->ApplyAttribute(SStringW(L"align"), SStringW(L"left"), FALSE);
    EXPECT_TRUE(edit->EditStyle() & ES_CENTER);
    EXPECT_EQ(PFA_CENTER, edit->DefaultParaFormat().wAlignment);
    edit->ApplyAttribute(SStringW(L"align"), SStringW(L"right"), FALSE);
    EXPECT_EQ(static_cast<DWORD>(ES_CENTER | ES_RIGHT), edit->EditStyle() & (ES_CENTER | ES_RIGHT));
    EXPECT_EQ(PFA_CENTER, edit->DefaultParaFormat().wAlignment);
}

TEST_F(RichEditTest, RichTextComesFromTypeAndNameOrFromAPathWithoutAColon)
{
    const char kRtf[] = "{\\rtf1\\ansi Hello {\\b bold}}";
    SRefPtr<MemProvider> memory(new MemProvider, false);
    memory->Put(L"rtf", L"doc", kRtf);
    m_app->AddProvider(memory, nullptr);
    wchar_t path[MAX_PATH];
    std::wstring exe(path, ::GetModuleFileNameW(nullptr, path, MAX_PATH));
    std::wstring file = exe.substr(0, exe.rfind(L'\\') + 1) + L"richedit_test.rtf";
    std::ofstream(std::string(file.begin(), file.end()), std::ios::binary) << kRtf;
    std::string absolute(file.begin(), file.end());

    // The text at creation (the source replaces the XML text), and after "plain" was set and
    // the source applied again.
    struct Case {
        std::string source;
        const wchar_t* created;
        const wchar_t* applied;
    } const kCases[] = {
        {"rtf:doc", L"Hello bold", L"Hello bold"},
        {"richedit_test.rtf", L"Hello bold", L"Hello bold"}, // relative to the current folder
        {absolute, L"", L"plain"},                           // a drive letter reads as a resource type
        {"rtf:absent", L"", L"plain"},
        {"absent.rtf", L"", L"plain"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.source);
        SRichEdit* edit = OpenEdit("rtf='" + c.source + "'", "plain");
        ASSERT_TRUE(edit);
        EXPECT_EQ(c.created, TextOf(edit));
        edit->AssignText(SStringW(L"plain"));
        edit->ApplyAttribute(SStringW(L"rtf"), SStringW(std::wstring(c.source.begin(), c.source.end()).c_str()), FALSE);
        EXPECT_EQ(c.applied, TextOf(edit));
        m_host->DestroyHost();
    }
    ::DeleteFileW(file.c_str());
}

TEST_F(RichEditTest, TypedTextDrawsIntoTheHostWithItsAlphaKept)
{
    SRichEdit* edit = OpenEdit("colorText='#000080'");
    ASSERT_TRUE(edit && edit->TextServices());
    RECT client;
    edit->GetInnerRect(&client);
    auto blue = [](UINT32 pixel) { return (pixel & 0xFF) > 0x40 && ((pixel >> 16) & 0xFF) < 0x40; };
    Shot before = m_driver->Capture();
    EXPECT_EQ(0, before.Count(client, blue));

    edit->TakeFocus();
    Type(*m_driver, L"Hello");
    m_driver->Child(L"re")->DropFocus(); // no caret in the picture
    m_driver->Pump();
    Shot after = m_driver->Capture();
    EXPECT_GT(after.Count(client, blue), 20);
    RECT left = {0, 0, client.left, after.height};
    RECT right = {client.left + (client.right - client.left) / 2, 0, after.width, after.height};
    EXPECT_FALSE(after.Differs(before, left));
    EXPECT_EQ(0, after.Count(right, blue)); // five letters stay at the left
    SaveBesideProgram(after, L"richedit.png");

    // Drawn into an opaque target, the text's pixels stay opaque.
    IRenderTarget* made = nullptr;
    ASSERT_TRUE(m_render->CreateRenderTarget(&made, 320, 120));
    SRefPtr<IRenderTarget> rt(made, false);
    RECT all = {0, 0, 320, 120};
    rt->ClearRect(&all, 0xFFFFFFFF);
    edit->SendUiMessage(WM_PAINT, reinterpret_cast<WPARAM>(rt.Get()));
    int text = 0;
    int transparent = 0;
    for (int y = client.top; y < client.bottom; ++y) {
        for (int x = client.left; x < client.right; ++x) {
            COLORREF pixel = rt->GetPixel(x, y);
            text += (pixel & 0xFFFFFF) != 0xFFFFFF;
            transparent += (pixel >> 24) != 0xFF;
        }
    }
    EXPECT_GT(text, 20);
    EXPECT_EQ(0, transparent);
}

TEST_F(RichEditTest, ServicesThatCannotBeMadeLeaveNothingToCall)
{
    STextServiceHelper* helper = STextServiceHelper::Current();
    ASSERT_TRUE(helper && helper->CreateTextServicesEntry());
    for (FnCreateTextServices entry : {static_cast<FnCreateTextServices>(nullptr), &RefusingEntry, &PlainObjectEntry}) {
        helper->ReplaceEntry(entry);
        // From a layout the window is not created at all.
        HostDriver driver = Open(Layout("<richedit name='re' pos='10,10,@300,@40'>abc</richedit>"));
        EXPECT_EQ(nullptr, driver.Child(L"re"));
        EXPECT_EQ(0, PlainUnknown::Alive());

        // Made by code, it draws nothing and refuses input.
        SRichEdit* edit = new SRichEdit;
        m_host->LinkChild(edit);
        EXPECT_EQ(1, edit->SendUiMessage(WM_CREATE));
        EXPECT_EQ(nullptr, edit->TextServices());
        RECT rect = {10, 10, 310, 50};
        edit->ApplyRect(rect);
        Shot before = driver.Capture();
        edit->TakeFocus();
        EXPECT_FALSE(edit->AssignText(SStringW(L"abc")));
        Type(driver, L"ab\r");
        driver.Key(VK_DELETE);
        driver.Click(POINT{40, 30});
        EXPECT_EQ(0, edit->SendUiMessage(EM_SETCHARFORMAT, SCF_DEFAULT, 0));
        EXPECT_EQ(0, edit->SendUiMessage(WM_GETTEXTLENGTH));
        edit->SendUiMessage(WM_SIZE);
        edit->SendUiMessage(WM_NCCALCSIZE);
        EXPECT_TRUE(edit->QueryText().IsEmptyText());
        edit->InvalidateArea();
        driver.Pump();
        EXPECT_FALSE(driver.Capture().Differs(before, rect));
        m_host->DestroyChild(edit);
        m_host->DestroyHost();
    }
}

// Text services whose drop target records the calls and answers DROPEFFECT_MOVE.
class DropServices : public ITextServices, public IDropTarget {
public:
    HRESULT dropTargetResult = S_OK;
    std::vector<std::string> calls;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override { *out = nullptr; return E_NOINTERFACE; }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject*, DWORD, POINTL, DWORD* effect) override { return Record("enter", effect); }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override { return Record("over", effect); }
    HRESULT STDMETHODCALLTYPE DragLeave() override { return Record("leave", nullptr); }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject*, DWORD, POINTL, DWORD* effect) override { return Record("drop", effect); }

    HRESULT TxGetDropTarget(IDropTarget** out) override
    {
        *out = SUCCEEDED(dropTargetResult) ? static_cast<IDropTarget*>(this) : nullptr;
        if (*out)
            ++refs;
        return dropTargetResult;
    }
    HRESULT TxSendMessage(UINT, WPARAM, LPARAM, LRESULT*) override { return E_NOTIMPL; }
    HRESULT TxDraw(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, HDC, LPCRECTL, LPCRECTL, LPRECT, WINBOOL(CALLBACK*)(DWORD),
                   DWORD, LONG) override { return E_NOTIMPL; }
    HRESULT TxGetHScroll(LONG*, LONG*, LONG*, LONG*, WINBOOL*) override { return E_NOTIMPL; }
    HRESULT TxGetVScroll(LONG*, LONG*, LONG*, LONG*, WINBOOL*) override { return E_NOTIMPL; }
    HRESULT OnTxSetCursor(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, HDC, LPCRECT, INT, INT) override { return E_NOTIMPL; }
    HRESULT TxQueryHitPoint(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, HDC, LPCRECT, INT, INT, DWORD*) override
    {
        return E_NOTIMPL;
    }
    HRESULT OnTxInPlaceActivate(LPCRECT) override { return E_NOTIMPL; }
    HRESULT OnTxInPlaceDeactivate() override { return E_NOTIMPL; }
    HRESULT OnTxUIActivate() override { return E_NOTIMPL; }
    HRESULT OnTxUIDeactivate() override { return E_NOTIMPL; }
    HRESULT TxGetText(BSTR*) override { return E_NOTIMPL; }
    HRESULT TxSetText(LPCWSTR) override { return E_NOTIMPL; }
    HRESULT TxGetCurTargetX(LONG*) override { return E_NOTIMPL; }
    HRESULT TxGetBaseLinePos(LONG*) override { return E_NOTIMPL; }
    HRESULT TxGetNaturalSize(DWORD, HDC, HDC, DVTARGETDEVICE*, DWORD, const SIZEL*, LONG*, LONG*) override
    {
        return E_NOTIMPL;
    }
    HRESULT OnTxPropertyBitsChange(DWORD, DWORD) override { return E_NOTIMPL; }
    HRESULT TxGetCachedSize(DWORD*, DWORD*) override { return E_NOTIMPL; }

    ULONG refs = 1;

private:
    HRESULT Record(const char* call, DWORD* effect)
    {
        calls.push_back(call);
        if (effect)
            *effect = DROPEFFECT_MOVE;
        return S_OK;
    }
};

TEST(RichEditDropTargetTest, ForwardsToTheServicesTargetWithCopyAndSkipsADropOfNoEffect)
{
    DropServices services;
    SRicheditDropTarget* target = new SRicheditDropTarget(&services);
    EXPECT_EQ(2u, services.refs);
    POINTL pt = {5, 5};
    DWORD effect = DROPEFFECT_MOVE;
    EXPECT_EQ(S_OK, target->DragEnter(nullptr, 0, pt, &effect));
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_COPY), effect);
    effect = DROPEFFECT_LINK;
    EXPECT_EQ(S_OK, target->DragOver(0, pt, &effect));
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_COPY), effect);
    effect = DROPEFFECT_NONE;
    EXPECT_EQ(S_FALSE, target->Drop(nullptr, 0, pt, &effect));
    effect = DROPEFFECT_COPY;
    EXPECT_EQ(S_OK, target->Drop(nullptr, 0, pt, &effect));
    EXPECT_EQ(S_OK, target->DragLeave());
    EXPECT_EQ((std::vector<std::string>{"enter", "over", "drop", "leave"}), services.calls);
    EXPECT_EQ(2u, services.refs); // each borrowed drop target was given back

    services.dropTargetResult = E_NOTIMPL;
    effect = DROPEFFECT_MOVE;
    EXPECT_EQ(E_NOTIMPL, target->DragEnter(nullptr, 0, pt, &effect));
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_MOVE), effect);
    EXPECT_EQ(E_NOTIMPL, target->DragLeave());

    IUnknown* unknown = nullptr;
    EXPECT_EQ(S_OK, target->QueryInterface(IID_IDropTarget, reinterpret_cast<void**>(&unknown)));
    EXPECT_EQ(1u, unknown->Release());
    EXPECT_EQ(E_NOINTERFACE, target->QueryInterface(IID_IDataObject, reinterpret_cast<void**>(&unknown)));
    EXPECT_EQ(nullptr, unknown);
    EXPECT_EQ(0u, target->Release());
    EXPECT_EQ(1u, services.refs);
}

} // namespace
} // namespace hosttest
