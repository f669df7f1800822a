#include "DemoStartup.h"
#include "core/SComponentFactory.h"
#include "res.mgr/SResProviderPE.h"
#include "res.mgr/SResProviderZip.h"

namespace SKEIN {

SDemoStartup::SDemoStartup(HINSTANCE module, const wchar_t* archiveName, const wchar_t* decoderName)
    : m_app(nullptr), m_archiveLoaded(FALSE)
{
    SComponentFactory components(decoderName);
    IRenderFactory* render = nullptr;
    if (components.CreateRenderFactory(&render)) {
        m_render.Attach(render);
        IImgDecoderFactory* decoders = nullptr;
        if (components.CreateDecoderFactory(&decoders)) {
            render->SetImgDecoderFactory(decoders);
            decoders->Release();
        }
    }
    m_app = new SApplication(m_render, module, L"SKEINHOST", SObjectDefaultRegister());
    LoadSystemResources();
    AddArchive(archiveName);
}

SDemoStartup::~SDemoStartup()
{
    delete m_app;
}

void SDemoStartup::LoadSystemResources()
{
    SStringW path = m_app->AppDir();
    path += L"\\skein-sys-resource.dll";
    HMODULE library = ::LoadLibraryW(path.c_str());
    if (!library)
        return;
    SRefPtr<IResProvider> provider(new SResProviderPE, false);
    if (provider->Init(library))
        m_app->LoadSystemResources(provider);
    ::FreeLibrary(library); // the skins keep their decoded images
}

void SDemoStartup::AddArchive(const wchar_t* archiveName)
{
    m_archivePath = m_app->AppDir();
    m_archivePath += L"\\";
    m_archivePath += archiveName;
    SComponentFactory components;
    IResProvider* created = nullptr;
    if (!components.CreateZipResProvider(&created))
        return;
    SRefPtr<IResProvider> provider(created, false);
    SZipInitParam param = {};
    param.kind = SZipInitParam::kFile;
    param.renderFactory = m_render;
    param.path = m_archivePath.c_str();
    param.password = SKEIN_ARCHIVE_PASSWORD;
    m_archiveLoaded = provider->Init(&param);
    if (m_archiveLoaded)
        m_app->AddProvider(provider, L"uidef:xml_init");
}

} // namespace SKEIN
