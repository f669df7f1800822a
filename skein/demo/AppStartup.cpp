#include "AppStartup.h"
#include "core/SComponentFactory.h"
#include "res.mgr/SResProviderPE.h"
#include "res.mgr/SResProviderZip.h"

namespace SKEIN {

SAppStartup::SAppStartup(HINSTANCE module, const SAppStartupOptions& options)
    : m_app(nullptr), m_archiveLoaded(FALSE)
{
    SComponentFactory components(options.decoderName);
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
    if (options.prepare)
        options.prepare(*m_app);
    SStringW folder = options.folder ? SStringW(options.folder) : m_app->AppDir();
    folder += L"\\";
    LoadSystemResources(folder);
    SStringW archive = folder;
    archive += options.archiveName;
    AddArchive(archive);
}

SAppStartup::~SAppStartup()
{
    Shutdown();
}

void SAppStartup::Shutdown()
{
    delete m_app;
    m_app = nullptr;
}

void SAppStartup::LoadSystemResources(const SStringW& folder)
{
    SStringW path = folder;
    path += L"skein-sys-resource.dll";
    HMODULE library = ::LoadLibraryW(path.c_str());
    if (!library)
        return;
    SRefPtr<IResProvider> provider(new SResProviderPE, false);
    if (provider->Init(library))
        m_app->LoadSystemResources(provider);
    ::FreeLibrary(library); // the skins keep their decoded images
}

void SAppStartup::AddArchive(const SStringW& path)
{
    m_archivePath = path;
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
