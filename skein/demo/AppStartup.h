#pragma once
// A program's start-up of the framework, in its fixed order: component factory, GDI render
// factory with the image decoder, the application object, the program's own preparations, the
// system resources from "skein-sys-resource.dll" when it is in the program's folder, then the
// password-protected archive in that folder as the resource provider with the UI definition
// "uidef:xml_init".
#include <windows.h>
#include <functional>
#include "core/SApp.h"
#include "core/SObjRef.h"

namespace SKEIN {

struct SAppStartupOptions {
    const wchar_t* archiveName = L"skein_demo.zip";
    // The folder of the archive and of the system resources; null: the application's folder.
    const wchar_t* folder = nullptr;
    // The image-decoder component; null for the default.
    const wchar_t* decoderName = nullptr;
    // Runs once the application object exists, before any resource is loaded.
    std::function<void(SApplication&)> prepare;
};

class SAppStartup {
public:
    explicit SAppStartup(HINSTANCE module, const SAppStartupOptions& options = SAppStartupOptions());
    // Shuts down if that was not done yet.
    ~SAppStartup();

    SApplication* App() const { return m_app; }
    IRenderFactory* RenderFactory() const { return m_render; }
    // FALSE when the archive could not be opened (the application still exists).
    BOOL ArchiveLoaded() const { return m_archiveLoaded; }
    const SStringW& ArchivePath() const { return m_archivePath; }
    // Deletes the application object; the render factory goes with this object.
    void Shutdown();

private:
    // folder ends with a backslash.
    void LoadSystemResources(const SStringW& folder);
    void AddArchive(const SStringW& path);

    SRefPtr<IRenderFactory> m_render;
    SApplication* m_app;
    BOOL m_archiveLoaded;
    SStringW m_archivePath;
};

} // namespace SKEIN
