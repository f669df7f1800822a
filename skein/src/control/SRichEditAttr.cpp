// SRichEdit: attributes, default formats, rich text streamed in, and the drop target.
#include <cstdio>
#include <vector>
#include "control/SRichEdit.h"
#include "control/SRicheditDropTarget.h"
#include "control/STextHost.h"
#include "core/SApp.h"
#include "helper/SLog.h"
#include "interface/SwndContainer-i.h"
#include "res.mgr/SUiDef.h"
#include "SCtrlAttr.h"

namespace SKEIN {

using namespace ctrl;

namespace {

static_assert(sizeof(CHARFORMAT2W) == 116, "the default character format is a CHARFORMAT2W");
static_assert(sizeof(PARAFORMAT2) == 188, "the default paragraph format is a PARAFORMAT2");

// Twips per inch, and the one tab stop of the default paragraph.
const int kTwipsPerInch = 1440;
const LONG kDefaultTabStop = 720;
const DWORD kDefaultCharMask =
    CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_CHARSET | CFM_OFFSET | CFM_FACE | CFM_COLOR | CFM_SIZE;

// The lowest bit of a decimal value.
unsigned LowBit(const SStringW& value)
{
    return static_cast<unsigned>(_wtoi(value.c_str() ? value.c_str() : L"")) & 1u;
}

// The paragraph alignment of a style word.
WORD AlignmentOf(DWORD style)
{
    return (style & ES_CENTER) ? PFA_CENTER : (style & ES_RIGHT) ? PFA_RIGHT : PFA_LEFT;
}

// Style-word attributes of the fallback table: the bit, and the property bits told to the
// services (offBits: what is told when the bit is cleared).
struct StyleBitAttr {
    const wchar_t* name;
    DWORD styleBit;
    DWORD notifyMask;
    DWORD offBits;
};

const StyleBitAttr kStyleBitAttrs[] = {
    {L"hscrollBar", WS_HSCROLL, TXTBIT_SCROLLBARCHANGE, TXTBIT_SCROLLBARCHANGE},
    {L"vscrollBar", WS_VSCROLL, TXTBIT_SCROLLBARCHANGE, TXTBIT_SCROLLBARCHANGE},
    {L"autoHscroll", ES_AUTOHSCROLL, TXTBIT_SCROLLBARCHANGE, TXTBIT_SCROLLBARCHANGE},
    {L"autoVscroll", ES_AUTOVSCROLL, TXTBIT_SCROLLBARCHANGE, TXTBIT_SCROLLBARCHANGE},
    {L"multiLines", ES_MULTILINE, TXTBIT_MULTILINE, 0},
    {L"readOnly", ES_READONLY, TXTBIT_READONLY, 0},
    {L"wantReturn", ES_WANTRETURN, 0, 0},
    {L"password", ES_PASSWORD, TXTBIT_USEPASSWORD, 0},
    {L"number", ES_NUMBER, 0, 0},
};

// Bytes of a resource handed out in the pieces the services ask for.
struct MemoryStream {
    const BYTE* bytes;
    LONG left;
};

DWORD CALLBACK ReadMemory(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given)
{
    MemoryStream* stream = reinterpret_cast<MemoryStream*>(cookie);
    LONG count = wanted < stream->left ? wanted : stream->left;
    memcpy(buffer, stream->bytes, static_cast<size_t>(count));
    stream->bytes += count;
    stream->left -= count;
    *given = count;
    return 0;
}

DWORD CALLBACK ReadFileStream(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given)
{
    *given = static_cast<LONG>(fread(buffer, 1, static_cast<size_t>(wanted), reinterpret_cast<FILE*>(cookie)));
    return 0;
}

} // namespace

HRESULT SRichEdit::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    if (Is(name, L"style")) {
        m_editStyle = static_cast<DWORD>(ParseInt(value));
    } else if (Is(name, L"maxBuf")) {
        SetMaxLength(static_cast<DWORD>(_wtoi(value.c_str())));
    } else if (Is(name, L"transparent")) {
        m_transparent = LowBit(value);
    } else if (Is(name, L"rich")) {
        m_rich = LowBit(value);
    } else if (Is(name, L"vertical")) {
        m_vertical = LowBit(value);
    } else if (Is(name, L"wordWrap")) {
        m_wordWrap = LowBit(value);
    } else if (Is(name, L"allowBeep")) {
        m_allowBeep = LowBit(value);
    } else if (Is(name, L"autoWordSel")) {
        m_autoWordSel = LowBit(value);
    } else if (Is(name, L"vcenter")) {
        m_vcenter = LowBit(value);
    } else if (Is(name, L"colorText")) {
        m_style.ApplyAttribute(name, value, loading);
        if (!loading)
            SetDefaultTextColor(ResolveNamedColor(value.c_str()));
    } else if (Is(name, L"rtf")) {
        if (loading)
            m_richSource = value;
        else
            LoadRichText(value);
        return S_FALSE;
    } else if (Is(name, L"align")) {
        if (value == L"center")
            m_editStyle |= ES_CENTER;
        else if (value == L"right")
            m_editStyle |= ES_RIGHT;
        if (!loading)
            UpdateParaAlignment();
    } else if (Is(name, L"notifyChange")) {
        m_notifyChange = value != L"0";
        LRESULT mask = 0;
        if (!loading && SendToServices(EM_GETEVENTMASK, 0, 0, &mask))
            SendToServices(EM_SETEVENTMASK, 0, m_notifyChange ? (mask | ENM_CHANGE) : (mask & ~ENM_CHANGE));
    } else if (Is(name, L"wantTab")) {
        m_wantTab = ParseBool(value);
    } else {
        return SPanel::ApplyAttribute(name, value, loading);
    }
    return AfterAttribute(name, value, loading, S_OK);
}

HRESULT SRichEdit::UnknownAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    bool on = value != L"0";
    for (const StyleBitAttr& attr : kStyleBitAttrs) {
        if (!Is(name, attr.name))
            continue;
        m_editStyle = on ? (m_editStyle | attr.styleBit) : (m_editStyle & ~attr.styleBit);
        if (!loading && attr.notifyMask)
            NotifyPropertyBits(attr.notifyMask, on ? attr.notifyMask : attr.offBits);
        if (!loading && attr.styleBit == ES_READONLY)
            UpdateDropTarget();
        return AfterAttribute(name, value, loading, S_OK);
    }
    if (Is(name, L"passwordChar")) {
        m_passwordChar = value.IsEmptyText() ? L'\0' : value.c_str()[0];
    } else if (Is(name, L"enableDragdrop")) {
        m_enableDragdrop = on;
        if (!loading)
            UpdateDropTarget();
    } else if (Is(name, L"autoSel")) {
        m_autoSel = on;
    } else {
        return SPanel::UnknownAttribute(name, value, loading);
    }
    return AfterAttribute(name, value, loading, S_OK);
}

// ---- formats ----

void SRichEdit::BuildCharFormat(IFont* font)
{
    SRefPtr<IRenderTarget> rt = NewRenderTarget(0, 0);
    if (!rt)
        return;
    ApplyAncestorPaintSettings(rt);
    if (font)
        rt->SelectObject(font, nullptr);
    else
        font = static_cast<IFont*>(rt->GetCurrentObject(kRenderObjFont));
    SIZE size = {0, 0};
    rt->MeasureText(L"A", 1, &size);
    m_lineHeight = size.cy;

    m_charFormat = CHARFORMAT2W();
    m_charFormat.cbSize = sizeof(CHARFORMAT2W);
    m_charFormat.dwMask = kDefaultCharMask;
    m_charFormat.crTextColor = rt->GetTextColor() & 0xFFFFFF;
    if (!font)
        return;
    const LOGFONTW* logFont = font->LogFont();
    HDC screen = ::GetDC(nullptr);
    m_charFormat.yHeight = abs(::MulDiv(logFont->lfHeight, kTwipsPerInch, ::GetDeviceCaps(screen, LOGPIXELSY)));
    ::ReleaseDC(nullptr, screen);
    if (font->IsBold())
        m_charFormat.dwEffects |= CFE_BOLD;
    if (font->IsItalic())
        m_charFormat.dwEffects |= CFE_ITALIC;
    if (font->IsUnderline())
        m_charFormat.dwEffects |= CFE_UNDERLINE;
    m_charFormat.bCharSet = logFont->lfCharSet;
    m_charFormat.bPitchAndFamily = logFont->lfPitchAndFamily;
    wcsncpy(m_charFormat.szFaceName, logFont->lfFaceName, LF_FACESIZE - 1);
}

void SRichEdit::BuildParaFormat()
{
    m_paraFormat = PARAFORMAT2();
    m_paraFormat.cbSize = sizeof(PARAFORMAT2);
    m_paraFormat.dwMask = PFM_ALL;
    m_paraFormat.cTabCount = 1;
    m_paraFormat.rgxTabs[0] = kDefaultTabStop;
    m_paraFormat.wAlignment = AlignmentOf(m_editStyle);
}

void SRichEdit::UpdateParaAlignment()
{
    m_paraFormat.wAlignment = AlignmentOf(m_editStyle);
    NotifyPropertyBits(TXTBIT_PARAFORMATCHANGE, 0);
}

COLORREF SRichEdit::SetDefaultTextColor(COLORREF color)
{
    COLORREF previous = m_charFormat.crTextColor;
    m_charFormat.crTextColor = color & 0xFFFFFF;
    NotifyPropertyBits(TXTBIT_CHARFORMATCHANGE, TXTBIT_CHARFORMATCHANGE);
    return previous;
}

LRESULT SRichEdit::OnSetCharFormat(WPARAM which, const CHARFORMAT2W* format)
{
    if (!format)
        return 0;
    bool full = format->cbSize == sizeof(CHARFORMAT2W);
    if (which == SCF_DEFAULT && !full) {
        SKEIN_LOG(3, "SKEIN::SRichEdit::OnSetCharFormat")
            .Line()
            .AppendText("set default char format failed! only CHARFORMAT2W can be set for default char format");
        return 0;
    }
    SendToServices(EM_SETCHARFORMAT, which, reinterpret_cast<LPARAM>(format));
    if (which == SCF_DEFAULT) {
        m_charFormat = *format;
        NotifyPropertyBits(TXTBIT_CHARFORMATCHANGE, TXTBIT_CHARFORMATCHANGE);
    }
    return 1;
}

LRESULT SRichEdit::OnSetParaFormat(WPARAM which, const PARAFORMAT2* format)
{
    if (!format || format->cbSize != sizeof(PARAFORMAT2))
        return 0;
    SendToServices(EM_SETPARAFORMAT, which, reinterpret_cast<LPARAM>(format));
    return 1;
}

// ---- rich text ----

void SRichEdit::StreamIn(EDITSTREAMCALLBACK callback, DWORD_PTR cookie)
{
    EDITSTREAM stream = {cookie, 0, callback};
    OnProgramText(EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
}

// "type:name" names a resource (a drive letter counts as a type); anything else is a path.
void SRichEdit::LoadRichText(const SStringW& source)
{
    int colon = source.FindChar(L':');
    if (colon < 0) {
        FILE* file = _wfopen(source.c_str(), L"rb");
        if (!file)
            return;
        StreamIn(ReadFileStream, reinterpret_cast<DWORD_PTR>(file));
        fclose(file);
        return;
    }
    SApplication* app = SApplication::Instance();
    SStringW type = source.LeftPart(colon);
    SStringW name(source.c_str() + colon + 1);
    size_t size = app ? app->GetResDataSize(type.c_str(), name.c_str()) : 0;
    if (size == 0)
        return;
    std::vector<BYTE> bytes(size);
    if (!app->ReadResData(type.c_str(), name.c_str(), bytes.data(), size))
        return;
    MemoryStream stream = {bytes.data(), static_cast<LONG>(size)};
    StreamIn(ReadMemory, reinterpret_cast<DWORD_PTR>(&stream));
}

// ---- drop target ----

void SRichEdit::UpdateDropTarget()
{
    ITextServices* services = TextServices();
    if (!m_container)
        return;
    if (services && m_enableDragdrop && !HasStyle(ES_READONLY)) {
        SRicheditDropTarget* target = new SRicheditDropTarget(services);
        m_container->UnregisterDropTarget(m_handle);
        m_container->RegisterDropTarget(m_handle, target);
        target->Release();
    } else {
        m_container->UnregisterDropTarget(m_handle);
    }
}

} // namespace SKEIN
