#include "control/STextServiceHelper.h"
#include "core/SApp.h"

namespace SKEIN {

const IID kIidTextServices = {0x8D33F740, 0xCF58, 0x11CE, {0xA8, 0x9D, 0x00, 0xAA, 0x00, 0x6C, 0xAD, 0xC5}};
const IID kIidTextHost = {0xC5BDD8D0, 0xD26E, 0x11CE, {0xA8, 0x9E, 0x00, 0xAA, 0x00, 0x6C, 0xAD, 0xC5}};

STextServiceHelper::STextServiceHelper() : m_module(::LoadLibraryW(L"riched20.dll")), m_create(nullptr)
{
    if (m_module)
        m_create = reinterpret_cast<FnCreateTextServices>(
            reinterpret_cast<void*>(::GetProcAddress(m_module, "CreateTextServices")));
}

STextServiceHelper::~STextServiceHelper()
{
    m_create = nullptr;
    if (m_module)
        ::FreeLibrary(m_module);
}

FnCreateTextServices STextServiceHelper::ReplaceEntry(FnCreateTextServices entry)
{
    FnCreateTextServices old = m_create;
    m_create = entry;
    return old;
}

STextServiceHelper* STextServiceHelper::Current()
{
    SApplication* app = SApplication::Instance();
    return app ? static_cast<STextServiceHelper*>(app->OwnedSingleton(kSingletonTextServiceHelper)) : nullptr;
}

} // namespace SKEIN
