#pragma once
// Test doubles shared by the application and UI-definition tests: a resource provider over
// in-memory texts and a log manager that keeps every line.
#include <windows.h>
#include <functional>
#include <map>
#include <string>
#include <vector>
#include "helper/SLog.h"
#include "interface/SResProvider-i.h"

namespace skein_test {

// The framework's system-resource library, loaded from beside the test program; null when absent.
inline HMODULE LoadSysResourceLibrary()
{
    wchar_t path[MAX_PATH];
    std::wstring library(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
    library = library.substr(0, library.rfind(L'\\') + 1) + L"skein-sys-resource.dll";
    return LoadLibraryW(library.c_str());
}

// Resources are (type, name) -> bytes; types compare ignoring case, names exactly.
class MemProvider : public SKEIN::TObjRefImpl<SKEIN::IResProvider> {
public:
    ~MemProvider() override
    {
        if (onDestroy)
            onDestroy();
    }

    void Put(const std::wstring& type, const std::wstring& name, const std::string& bytes)
    {
        m_items[Key(type.c_str(), name.c_str())] = bytes;
    }
    // Answers its size but fails every read.
    void PutUnreadable(const std::wstring& type, const std::wstring& name, size_t size)
    {
        Put(type, name, std::string(size, 'x'));
        m_unreadable.push_back(Key(type.c_str(), name.c_str()));
    }

    BOOL Init(const void*) override { return TRUE; }
    BOOL Contains(const wchar_t* type, const wchar_t* name) override { return Item(type, name) != nullptr; }
    HICON LoadIconRes(const wchar_t*, int, int) override { return nullptr; }
    HBITMAP LoadBitmapRes(const wchar_t*) override { return nullptr; }
    HCURSOR LoadCursorRes(const wchar_t*) override { return nullptr; }
    SKEIN::IBitmap* LoadImageRes(const wchar_t*, const wchar_t*) override { return nullptr; }
    SKEIN::IImgX* LoadImageX(const wchar_t*, const wchar_t*) override { return nullptr; }
    size_t RawSize(const wchar_t* type, const wchar_t* name) override
    {
        const std::string* item = Item(type, name);
        return item ? item->size() : 0;
    }
    BOOL ReadRawData(const wchar_t* type, const wchar_t* name, void* buffer, size_t size) override
    {
        ++m_reads[Key(type, name)];
        const std::string* item = Item(type, name);
        for (const std::wstring& key : m_unreadable) {
            if (key == Key(type, name))
                return FALSE;
        }
        if (!item || size < item->size())
            return FALSE;
        memcpy(buffer, item->data(), item->size());
        return TRUE;
    }

    // Reads of the resource so far.
    int Reads(const std::wstring& type, const std::wstring& name) const
    {
        auto found = m_reads.find(Key(type.c_str(), name.c_str()));
        return found == m_reads.end() ? 0 : found->second;
    }

    std::function<void()> onDestroy;

private:
    static std::wstring Key(const wchar_t* type, const wchar_t* name)
    {
        std::wstring key(type ? type : L"");
        for (wchar_t& c : key)
            c = static_cast<wchar_t>(towlower(c));
        return key + L":" + (name ? name : L"");
    }
    const std::string* Item(const wchar_t* type, const wchar_t* name) const
    {
        auto found = m_items.find(Key(type, name));
        return found == m_items.end() ? nullptr : &found->second;
    }

    std::map<std::wstring, std::string> m_items;
    std::map<std::wstring, int> m_reads;
    std::vector<std::wstring> m_unreadable;
};

// Keeps "level|function|text" of every line.
class LogRecorder : public SKEIN::TObjRefImpl<SKEIN::ILogManager> {
public:
    ~LogRecorder() override
    {
        if (onDestroy)
            onDestroy();
    }
    BOOL Accepts(int, int) override { return TRUE; }
    void Write(int, int level, const char*, const char* text, const char*, int, const char* function, void*) override
    {
        lines.push_back(std::to_string(level) + "|" + function + "|" + text);
    }

    std::vector<std::string> lines;
    std::function<void()> onDestroy;
};

// Records the lines logged while it lives, where no application object installs its own log
// manager.
class ScopedLogRecorder : public LogRecorder {
public:
    ScopedLogRecorder()
    {
        s_current = this;
        SKEIN::SetLogManagerSource(&Current);
    }
    ~ScopedLogRecorder() override
    {
        SKEIN::SetLogManagerSource(nullptr);
        s_current = nullptr;
    }

private:
    static SKEIN::ILogManager* Current() { return s_current; }
    static inline ScopedLogRecorder* s_current = nullptr;
};

} // namespace skein_test

#include "core/SObjectFactory.h"

namespace skein_test {

// Window classes that record the attributes they are given, as "name=value".
class RecordingWindow : public SKEIN::SObjectImpl<SKEIN::IObject> {
    SKEIN_CLASS_NAME(SKEIN::SObjectImpl<SKEIN::IObject>, L"window")
    SKEIN_CLASS_KIND(SKEIN::kKindWindow)

public:
    using SKEIN::SObjectImpl<SKEIN::IObject>::ApplyAttribute;
    HRESULT ApplyAttribute(const SKEIN::SStringW& name, const SKEIN::SStringW& value, BOOL) override
    {
        applied.push_back(std::wstring(name.c_str()) + L"=" + value.c_str());
        return S_OK;
    }
    std::vector<std::wstring> applied;
};

class RecordingButton : public RecordingWindow {
    SKEIN_CLASS_NAME(RecordingWindow, L"button")
};

class RecordingImageButton : public RecordingButton {
    SKEIN_CLASS_NAME(RecordingButton, L"imgbtn")
};

class RecordingFancyButton : public RecordingImageButton {
    SKEIN_CLASS_NAME(RecordingImageButton, L"fancy")
};

class RecordingDotted : public RecordingWindow {
    SKEIN_CLASS_NAME(RecordingWindow, L"a.b")
};

inline void RegisterRecordingWindows(SKEIN::SObjectFactoryMgr& factories)
{
    factories.AddFactory(SKEIN::TplSObjectFactory<RecordingWindow>(), TRUE); // over the built-in "window"
    factories.AddFactory(SKEIN::TplSObjectFactory<RecordingButton>(), TRUE);      // over the built-in "button"
    factories.AddFactory(SKEIN::TplSObjectFactory<RecordingImageButton>(), TRUE); // and "imgbtn"
    factories.AddFactory(SKEIN::TplSObjectFactory<RecordingFancyButton>(), FALSE);
    factories.AddFactory(SKEIN::TplSObjectFactory<RecordingDotted>(), FALSE);
}

// The attributes a created window was given; empty for null. Deletes the window.
inline std::vector<std::wstring> AppliedAndDelete(SKEIN::IObject* object)
{
    RecordingWindow* window = static_cast<RecordingWindow*>(object);
    std::vector<std::wstring> applied = window ? window->applied : std::vector<std::wstring>();
    delete window;
    return applied;
}

} // namespace skein_test

#include <gtest/gtest.h>
#include "core/SApp.h"

namespace skein_test {

// Loads a "language" document into a new translator of the manager and installs it.
inline bool InstallLanguage(SKEIN::ITranslatorMgr* manager, const wchar_t* xml)
{
    SKEIN::ITranslator* raw = nullptr;
    if (!manager->CreateTranslator(&raw))
        return false;
    SKEIN::SRefPtr<SKEIN::ITranslator> translator(raw, false);
    pugi::xml_document document;
    pugi::xml_node root = document.load_string(xml) ? document.first_child() : pugi::xml_node();
    return translator->Load(&root, SKEIN::kTranslatorLoadXml) && manager->InstallTranslator(translator);
}

// An application without a render factory, its log lines recorded and the recording window
// classes registered.
class AppFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_app = new SKEIN::SApplication(nullptr, GetModuleHandleW(nullptr), L"SKEINHOST",
                                        SKEIN::SObjectDefaultRegister());
        m_log = new LogRecorder;
        m_app->SetLogManager(m_log);
        m_log->Release();
        RegisterRecordingWindows(*m_app);
    }
    void TearDown() override { delete m_app; }

    std::vector<std::string> TakeLog()
    {
        std::vector<std::string> lines;
        lines.swap(m_log->lines);
        return lines;
    }

    SKEIN::SApplication* m_app = nullptr;
    LogRecorder* m_log = nullptr;
};

} // namespace skein_test
