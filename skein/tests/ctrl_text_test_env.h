#pragma once
// What the text-control tests share: a real host with the built-in resources (the edit menu
// among them) around one control, typing into the focused control, its selection and text,
// and stand-ins for the text services' library entry and drop target.
#include <memory>
#include <string>
#include <vector>
#include "control/SEdit.h"
#include "control/STextHost.h"
#include "host_ctrl_test_env.h"

namespace hosttest {

// An object that is not text services.
class PlainUnknown : public IUnknown {
public:
    static int& Alive()
    {
        static int alive = 0;
        return alive;
    }
    PlainUnknown() { ++Alive(); }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        *out = iid == IID_IUnknown ? this : nullptr;
        if (*out)
            AddRef();
        return *out ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_ref; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        ULONG left = --m_ref;
        if (!left) {
            --Alive();
            delete this;
        }
        return left;
    }

private:
    virtual ~PlainUnknown() {}
    ULONG m_ref = 1;
};

// Library entries that fail: by refusing, and by making an object that is not text services.
inline HRESULT STDAPICALLTYPE RefusingEntry(IUnknown*, ITextHost*, IUnknown** out)
{
    *out = nullptr;
    return E_FAIL;
}
inline HRESULT STDAPICALLTYPE PlainObjectEntry(IUnknown*, ITextHost*, IUnknown** out)
{
    *out = new PlainUnknown;
    return S_OK;
}

class TextCtrlTest : public HostCtrlTest {
protected:
    // One control of the rich edit family ("richedit", "edit") named "re" with the attributes
    // (and text) given, driven through m_driver.
    SRichEdit* OpenControl(const std::string& tag, const std::string& attributes, const std::string& text = "")
    {
        m_driver.reset(new HostDriver(Open(
            Layout("<" + tag + " name='re' pos='10,10,@300,@40' " + attributes + ">" + text + "</" + tag + ">"))));
        return m_driver->Find<SRichEdit>(L"re");
    }
    // A white host of 320 x 120 around the controls' XML.
    static std::string Layout(const std::string& controls)
    {
        return "<SKEIN width='320' height='120'><root colorBkgnd='#ffffff'>" + controls + "</root></SKEIN>";
    }
    // Character messages to the focused control, as the keyboard sends them; '\r' comes as the
    // Enter key's down, character and up messages.
    static void Type(const HostDriver& driver, const std::wstring& text)
    {
        for (wchar_t ch : text) {
            if (ch == L'\r')
                driver.Send(WM_KEYDOWN, VK_RETURN, 1);
            driver.Send(WM_CHAR, ch, 1);
            if (ch == L'\r')
                driver.Send(WM_KEYUP, VK_RETURN, 0xC0000001);
        }
    }
    // The control's text with the services' line ends as single '\r'.
    static std::wstring TextOf(SRichEdit* edit)
    {
        std::wstring text(edit->QueryText().c_str());
        std::wstring plain;
        for (wchar_t ch : text) {
            if (ch != L'\n')
                plain += ch;
        }
        return plain;
    }
    static std::pair<DWORD, DWORD> Selection(SRichEdit* edit)
    {
        DWORD start = 0;
        DWORD end = 0;
        edit->SendUiMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return {start, end};
    }
    std::unique_ptr<HostDriver> m_driver;
};

} // namespace hosttest
