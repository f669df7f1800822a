#include "res.mgr/SUiDefFont.h"
#include "helper/SXmlLookup.h"

namespace SKEIN {

namespace {

const wchar_t kDefaultFontName[] = L"default";
const wchar_t kDefaultFontFace[] = L"\x5B8B\x4F53"; // SimSun
const int kDefaultFontSize = 12;
const int kDefaultCharset = 1;

int CALLBACK CountFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found)
{
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

// At least one font of that face is installed.
bool FontExistsCheck(const wchar_t* face)
{
    HDC screen = GetDC(nullptr);
    if (!screen)
        return false;
    bool found = false;
    EnumFontsW(screen, face, &CountFace, reinterpret_cast<LPARAM>(&found));
    ReleaseDC(nullptr, screen);
    return found;
}

} // namespace

FontStyleWord SFontStyle::Pack() const
{
    return static_cast<UINT32>(charset & 0xFF) | ((static_cast<UINT32>(weight) + 2) * 64 & 0xFF00) |
           (italic ? 1u << 16 : 0) | (underline ? 1u << 17 : 0) | (bold ? 1u << 18 : 0) | (strike ? 1u << 19 : 0) |
           static_cast<UINT32>(size & 0xFFF) << 20;
}

SDefaultFontInfo::SDefaultFontInfo() : name(kDefaultFontName), face(kDefaultFontFace)
{
    SFontStyle defaults = {kDefaultFontSize, kDefaultCharset, 0, false, false, false, false};
    style = defaults.Pack();
}

void SDefaultFontInfo::Load(const pugi::xml_node& font)
{
    if (!font)
        return;
    SFontStyle described;
    described.size = XmlAttributeInt(font, L"size", kDefaultFontSize);
    described.charset = XmlAttributeInt(font, L"charset", kDefaultCharset);
    described.weight = XmlAttributeInt(font, L"weight", 0);
    described.italic = XmlAttributeTruth(font, L"italic", false);
    described.underline = XmlAttributeTruth(font, L"underline", false);
    described.bold = XmlAttributeTruth(font, L"bold", false);
    described.strike = XmlAttributeTruth(font, L"strike", false);
    style = described.Pack();
    pugi::xml_attribute nameAttribute = XmlAttributeNoCase(font, L"name");
    name = nameAttribute ? nameAttribute.value() : kDefaultFontName;
    face = XmlAttributeNoCase(font, L"face").value();
    if (face.IsEmptyText() || !FontExistsCheck(face))
        face = kDefaultFontFace;
}

} // namespace SKEIN
