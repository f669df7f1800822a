#pragma once
// Fonts named by descriptors ("face:Tahoma,size:12dp,bold:1,..."): the pool turns a descriptor
// and a scale into a font of the render factory and keeps every font it made, so that equal
// requests share one font object. What the descriptor leaves out comes from the default font
// of the current UI definition.
#include <pugixml.hpp>
#include "core/SCmnMap.h"
#include "core/SSingleton.h"
#include "interface/SRender-i.h"
#include "res.mgr/SUiDefFont.h"
#include "translator/STranslator-i.h"

namespace SKEIN {

// The pool's key. style packs charset, weight / 4, italic, underline, bold, strike-out and the
// height in pixels as FontStyleWord does; properties are the extra descriptor pairs printed as
// an XML element.
struct FontInfo {
    SStringW name;
    FontStyleWord style;
    SStringW face;
    SStringW properties;

    UINT32 Hash() const;
    // All four parts: translator overrides are per name, so fonts of other names stay apart.
    bool operator==(const FontInfo& other) const;
};

// What the pool needs from the application; the application object installs it. Without
// one the built-in default font is used and no translator adjusts fonts.
struct IFontPoolEnv {
    // The current UI definition's default font; null for the built-in default.
    virtual const SDefaultFontInfo* DefaultFont() = 0;
    // The installed translator manager; null for none.
    virtual ITranslatorMgr* TranslatorMgr() = 0;

protected:
    ~IFontPoolEnv() {}
};

class SFontPool : public SSingleton2, public SSingleton<SFontPool> {
public:
    // Keeps a reference to the factory.
    explicit SFontPool(IRenderFactory* factory);
    ~SFontPool() override;

    // Not owned; null uninstalls.
    static void SetEnv(IFontPoolEnv* env);

    // The descriptor's font at scale (percent); the pool keeps the reference (callers add
    // their own to keep it). Null when the font can't be made.
    IFont* ObtainFont(const wchar_t* descriptor, int scale);
    int Count() const { return m_fonts.Count(); }

private:
    IFont* LookupOrCreate(FontInfo& key, const pugi::xml_node& properties, const SDefaultFontInfo& defaults);
    IFont* MakeFont(const FontInfo& key, const pugi::xml_node& properties);
    static void ReleaseFont(IFont* font);

    IRenderFactory* m_factory;
    SCmnMap<IFont*, FontInfo> m_fonts;
};

// A descriptor and the font it gives at the holder's scale (a reference held).
class SFontHolder {
public:
    // Stores the descriptor and fetches its font from the pool.
    void Assign(const SStringW& descriptor, int scale);
    // Fetches the font again at a new scale when a descriptor is set.
    void Rescale(int scale);
    IFont* GetFont() const { return m_font; }
    const SStringW& Descriptor() const { return m_descriptor; }

private:
    SStringW m_descriptor;
    SRefPtr<IFont> m_font;
};

} // namespace SKEIN
