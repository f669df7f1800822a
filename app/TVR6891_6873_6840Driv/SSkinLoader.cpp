#include "SSkinLoader.h"
#include "core/SXmlFlags.h"
#include "res.mgr/SResName.h"
#include "res.mgr/SResProviderFiles.h"
#include "res.mgr/SSkinPoolMgr.h"

using namespace SKEIN;

namespace {

const wchar_t kDefaultType[] = L"SkinXml";
const wchar_t kSkinListRoot[] = L"skin";
const int kBaseScale = 100;

} // namespace

SSkinLoader::SSkinLoader(SApplication& app) : m_app(app), m_pool(new SSkinPool, false)
{
    if (SSkinPoolMgr* skins = SSkinPoolMgr::Instance())
        skins->PushPool(m_pool);
}

void SSkinLoader::LoadSkin(const wchar_t* folder, const wchar_t* resource)
{
    if (!m_folder) {
        m_folder.Attach(new SResProviderFiles);
        m_app.AddProvider(m_folder);
    }
    m_folder->Init(folder);

    SDynArray<SStringW> parts;
    bool typed = SplitResourceName(resource, parts) == 2;
    pugi::xml_document document;
    if (!m_app.LoadXmlDocument(document, typed ? parts[0].c_str() : kDefaultType, parts[typed ? 1 : 0].c_str()))
        return;
    pugi::xml_node skins = document.child(kSkinListRoot);
    if (m_pool->Count() == 0)
        m_pool->LoadFromXml(skins);
    else
        ReapplyAttributes(skins);
}

// Each element whose tag and name are given gives its attributes, but the name, to the pool's
// skin of that name.
void SSkinLoader::ReapplyAttributes(pugi::xml_node skins)
{
    for (pugi::xml_node element = skins.first_child(); element; element = element.next_sibling()) {
        pugi::xml_attribute name = element.attribute(L"name");
        if (!*element.name() || !*name.value())
            continue;
        ISkinObj* skin = m_pool->FindSkin(name.value(), kBaseScale);
        if (!skin)
            continue;
        SXmlFlags::SetConsumed(name, true);
        skin->ApplyXmlAttributes(element);
        SXmlFlags::SetConsumed(name, false);
    }
}
