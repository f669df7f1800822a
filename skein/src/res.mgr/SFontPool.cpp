#include "res.mgr/SFontPool.h"
#include "helper/SStringConv.h"
#include "layout/SLayoutSize.h"
#include "res.mgr/SXmlWriter.h"

namespace SKEIN {

namespace {

// FontStyleWord fields.
const UINT32 kCharsetMask = 0xFF;
const int kWeightShift = 8;
const UINT32 kWeightMask = 0xFF00;
const UINT32 kItalic = 1u << 16;
const UINT32 kUnderline = 1u << 17;
const UINT32 kBold = 1u << 18;
const UINT32 kStrike = 1u << 19;
const int kHeightShift = 20;
const UINT32 kHeightMask = 0xFFF00000;
const int kMaxHeight = 0xFFF;

IFontPoolEnv* g_env = nullptr;

// The parts of a descriptor that are not FontInfo fields yet.
struct FontRequest {
    FontStyleWord style;
    SStringW face;
    SStringW name;
    int height;
    int adding;
};

void SetFlag(FontStyleWord& style, UINT32 bit, const SStringW& value)
{
    if (value == L"0")
        style &= ~bit;
    else
        style |= bit;
}

// weight / 4, rounded, within the field's 8 bits.
int QuarterWeight(const SStringW& value)
{
    int quarter = (_wtoi(value.c_str()) + 2) / 4;
    return quarter < 0 ? 0 : (quarter > 0xFF ? 0xFF : quarter);
}

int ClampHeight(int height)
{
    return height < 0 ? 0 : (height > kMaxHeight ? kMaxHeight : height);
}

// One "key:value" piece; pieces that don't hold exactly one ':' are ignored.
void ApplyPiece(const SStringW& piece, int scale, FontRequest& request, pugi::xml_node properties)
{
    int colon = piece.FindChar(L':');
    if (colon < 0 || piece.FindChar(L':', colon + 1) >= 0)
        return;
    SStringW key = piece.LeftPart(colon);
    SStringW value = piece.Substring(colon + 1, piece.Length() - colon - 1);
    if (key == L"face")
        request.face = value;
    else if (key == L"name")
        request.name = value;
    else if (key == L"size")
        request.height = SLayoutSize(value.c_str()).ToPixels(scale);
    else if (key == L"adding")
        request.adding = SLayoutSize(value.c_str()).ToPixels(scale);
    else if (key == L"italic")
        SetFlag(request.style, kItalic, value);
    else if (key == L"underline")
        SetFlag(request.style, kUnderline, value);
    else if (key == L"bold")
        SetFlag(request.style, kBold, value);
    else if (key == L"strike")
        SetFlag(request.style, kStrike, value);
    else if (key == L"charset")
        request.style = (request.style & ~kCharsetMask) | (static_cast<UINT32>(_wtoi(value.c_str())) & kCharsetMask);
    else if (key == L"weight")
        request.style = (request.style & ~kWeightMask) | static_cast<UINT32>(QuarterWeight(value)) << kWeightShift;
    else {
        pugi::xml_attribute attribute = properties.attribute(key.c_str());
        if (!attribute)
            attribute = properties.append_attribute(key.c_str());
        attribute.set_value(value.c_str());
    }
}

} // namespace

UINT32 FontInfo::Hash() const
{
    return style + HashWideString(name.c_str()) * 1024 + HashWideString(face.c_str()) * 32768 +
           HashWideString(properties.c_str()) * 32 + 1;
}

bool FontInfo::operator==(const FontInfo& other) const
{
    return style == other.style && face == other.face && properties == other.properties && name == other.name;
}

SFontPool::SFontPool(IRenderFactory* factory) : m_factory(factory), m_fonts(&SFontPool::ReleaseFont)
{
    if (m_factory)
        m_factory->AddRef();
}

SFontPool::~SFontPool()
{
    m_fonts.RemoveAll();
    if (m_factory)
        m_factory->Release();
}

void SFontPool::SetEnv(IFontPoolEnv* env)
{
    g_env = env;
}

void SFontPool::ReleaseFont(IFont* font)
{
    font->Release();
}

IFont* SFontPool::ObtainFont(const wchar_t* descriptor, int scale)
{
    SDefaultFontInfo builtIn;
    const SDefaultFontInfo* defaults = g_env ? g_env->DefaultFont() : nullptr;
    if (!defaults)
        defaults = &builtIn;

    SStringW text(descriptor);
    text.LowerInPlace();
    SDynArray<SStringW> pieces;
    SplitByChar(text, L',', pieces);

    FontRequest request = {defaults->style & ~kHeightMask, SStringW(), SStringW(), 0, 0};
    pugi::xml_document doc;
    pugi::xml_node properties = doc.append_child(L"font");
    // From the last piece to the first, so that an earlier piece wins.
    for (int i = pieces.Count() - 1; i >= 0; --i)
        ApplyPiece(pieces[i], scale, request, properties);

    int defaultHeight = static_cast<int>(defaults->style >> kHeightShift);
    int height = request.height != 0 ? request.height : defaultHeight * scale / 100 + request.adding;
    FontInfo key;
    key.name = request.name;
    key.face = request.face;
    key.style = request.style | static_cast<UINT32>(ClampHeight(height)) << kHeightShift;
    return LookupOrCreate(key, properties, *defaults);
}

IFont* SFontPool::LookupOrCreate(FontInfo& key, const pugi::xml_node& properties, const SDefaultFontInfo& defaults)
{
    if (key.face.IsEmptyText())
        key.face = defaults.face;
    if (key.name.IsEmptyText())
        key.name = defaults.name;
    key.properties = PrintXmlNode(properties, L"\t");

    IFont** cached = m_fonts.Find(key);
    if (cached)
        return *cached;
    IFont* font = MakeFont(key, properties);
    if (font && !m_fonts.Set(key, font)) {
        font->Release();
        return nullptr;
    }
    return font;
}

IFont* SFontPool::MakeFont(const FontInfo& key, const pugi::xml_node& properties)
{
    LOGFONTW logFont = {};
    logFont.lfHeight = -static_cast<LONG>(key.style >> kHeightShift);
    UINT32 weight = (key.style & kWeightMask) >> kWeightShift;
    logFont.lfWeight = weight ? static_cast<LONG>(weight * 4) : ((key.style & kBold) ? FW_BOLD : FW_NORMAL);
    logFont.lfItalic = (key.style & kItalic) ? 1 : 0;
    logFont.lfUnderline = (key.style & kUnderline) ? 1 : 0;
    logFont.lfStrikeOut = (key.style & kStrike) ? 1 : 0;
    logFont.lfCharSet = static_cast<BYTE>(key.style & kCharsetMask);
    logFont.lfQuality = CLEARTYPE_QUALITY;
    // A longer face is cut at the field's size rather than overrunning it.
    lstrcpynW(logFont.lfFaceName, key.face.c_str(), LF_FACESIZE);

    ITranslatorMgr* translator = g_env ? g_env->TranslatorMgr() : nullptr;
    if (translator)
        translator->UpdateFont(key.name.c_str(), &logFont);

    IFont* font = nullptr;
    if (!m_factory || !m_factory->CreateFont(&font, &logFont))
        return nullptr;
    font->ApplyXmlAttributes(properties);
    return font;
}

void SFontHolder::Assign(const SStringW& descriptor, int scale)
{
    m_descriptor = descriptor;
    SFontPool* pool = SFontPool::Instance();
    m_font = pool ? pool->ObtainFont(descriptor.c_str(), scale) : nullptr;
}

void SFontHolder::Rescale(int scale)
{
    if (!m_descriptor.IsEmptyText())
        Assign(m_descriptor, scale);
}

} // namespace SKEIN
