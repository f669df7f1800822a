#pragma once
// One UI definition read from a provider: the "uidef" document with its "font" and "unit"
// elements and its sections, each given inline or as src="type:name" of the same provider.
#include "res.mgr/SUiDef.h"

namespace SKEIN {

class SUiDefInfo : public TObjRefImpl<IUiDefInfo> {
public:
    SUiDefInfo();
    ~SUiDefInfo() override;

    // Reads the definition; every failure logs a warning and leaves the definition empty.
    BOOL Init(IResProvider* provider, const wchar_t* id);

    void SetSkinPool(SSkinPool* pool) override;
    SSkinPool* GetSkinPool() override { return m_skinPool; }
    void SetStylePool(SStylePool* pool) override;
    SStylePool* GetStylePool() override { return m_stylePool; }
    void SetObjDefAttr(SObjDefAttr* attributes) override;
    SObjDefAttr* GetObjDefAttr() override { return m_objDefAttr; }
    STemplatePool* GetTemplatePool() override { return m_templatePool; }
    void SetTemplatePool(STemplatePool* pool) override;
    const SNamedColor& GetNamedColor() override { return m_colors; }
    const SNamedString& GetNamedString() override { return m_strings; }
    const SNamedDimension& GetNamedDimension() override { return m_dimensions; }
    const SDefaultFontInfo& GetDefaultFont() override { return m_defaultFont; }

private:
    void LoadSections(const pugi::xml_node& root, IResProvider* provider);

    SSkinPool* m_skinPool;
    SStylePool* m_stylePool;
    SObjDefAttr* m_objDefAttr;
    STemplatePool* m_templatePool;
    SNamedColor m_colors;
    SNamedString m_strings;
    SNamedDimension m_dimensions;
    SDefaultFontInfo m_defaultFont;
};

} // namespace SKEIN
