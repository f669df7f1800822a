#pragma once
// Skins from a folder beside the program: the first load adds the folder's skins in a pool of
// their own above the program's; later loads give skins of that pool new attributes.
#include "core/SApp.h"
#include "core/SSingleton.h"
#include "res.mgr/SSkinPool.h"

class SSkinLoader : public SKEIN::SSingleton<SSkinLoader> {
public:
    // Pushes the loader's (empty) pool on the application's skin-pool manager.
    explicit SSkinLoader(SKEIN::SApplication& app);

    // folder: a folder with a resource index, relative to the working folder; resource: an XML
    // resource "type:name", or a bare name of type "SkinXml", whose root is "skin".
    void LoadSkin(const wchar_t* folder, const wchar_t* resource);

private:
    void ReapplyAttributes(pugi::xml_node skins);

    SKEIN::SApplication& m_app;
    SKEIN::SRefPtr<SKEIN::IResProvider> m_folder;
    SKEIN::SRefPtr<SKEIN::SSkinPool> m_pool;
};
