#pragma once
// The program start-up of the framework, in its fixed order: component factory, GDI render
// factory with the default image decoder, the application object, the system resources from
// "skein-sys-resource.dll" when it is beside the program, then the password-protected archive
// "uires.zip" beside the program as the resource provider with the UI definition "uidef:xml_init".
#include <windows.h>
#include "core/SApp.h"
#include "core/SObjRef.h"

namespace SKEIN {

class SDemoStartup {
public:
    // decoderName: the image-decoder component; null for the program's default.
    SDemoStartup(HINSTANCE module, const wchar_t* archiveName = L"uires.zip", const wchar_t* decoderName = nullptr);
    ~SDemoStartup();

    SApplication* App() const { return m_app; }
    // FALSE when the archive could not be opened (the application still exists).
    BOOL ArchiveLoaded() const { return m_archiveLoaded; }
    const SStringW& ArchivePath() const { return m_archivePath; }

private:
    void LoadSystemResources();
    void AddArchive(const wchar_t* archiveName);

    SRefPtr<IRenderFactory> m_render;
    SApplication* m_app;
    SStringW m_archivePath;
    BOOL m_archiveLoaded;
};

} // namespace SKEIN
