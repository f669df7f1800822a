#pragma once
// The process's loader of the rich-edit library: the application object keeps one, which loads
// the library at start and holds it until exit. Its CreateTextServices entry is what every
// text host calls to make its text services.
#include <windows.h>
#include <richedit.h>
#include <textserv.h>
#include "core/SSingleton.h"

namespace SKEIN {

// The library's export (a system call, stdcall on 32-bit).
typedef HRESULT(STDAPICALLTYPE* FnCreateTextServices)(IUnknown* outer, ITextHost* host, IUnknown** out);

// The interface ids of the text services and of their host (the SDK does not define them).
extern const IID kIidTextServices;
extern const IID kIidTextHost;

class STextServiceHelper : public SSingleton2 {
public:
    // Loads the library; a missing library or export is kept as null, silently.
    STextServiceHelper();
    ~STextServiceHelper() override;

    // Null when the library or its export is missing.
    FnCreateTextServices CreateTextServicesEntry() const { return m_create; }
    // Puts another entry in place of the library's (tests use failing ones); returns the old.
    FnCreateTextServices ReplaceEntry(FnCreateTextServices entry);

    // The application's helper; null without an application.
    static STextServiceHelper* Current();

private:
    HMODULE m_module;
    FnCreateTextServices m_create;
};

} // namespace SKEIN
