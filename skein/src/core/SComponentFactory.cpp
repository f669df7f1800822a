#include "core/SComponentFactory.h"
#include <wchar.h>
#include "res.mgr/SResProviderZip.h"
#include "translator/STranslatorMgr.h"

namespace SKEIN {

namespace {

struct DecoderComponent {
    const wchar_t* name;
    BOOL (*create)(IImgDecoderFactory** factory);
};

const DecoderComponent kDecoders[] = {
    {L"imgdecoder-wic", CreateImgDecoderFactory_WIC},
    {L"imgdecoder-stb", CreateImgDecoderFactory_STB},
    {L"imgdecoder-png", CreateImgDecoderFactory_PNG},
    {L"imgdecoder-gdip", CreateImgDecoderFactory_GDIP},
};

struct ScreenDpi {
    int x;
    int y;
};

ScreenDpi GetScreenDpi()
{
    HDC dc = GetDC(nullptr);
    ScreenDpi dpi = {GetDeviceCaps(dc, LOGPIXELSX), GetDeviceCaps(dc, LOGPIXELSY)};
    ReleaseDC(nullptr, dc);
    return dpi;
}

const int kHimetricPerInch = 2540;

} // namespace

SComponentFactory::SComponentFactory(const wchar_t* decoderName)
    : m_decoderName(decoderName ? decoderName : L"imgdecoder-gdip")
{
}

BOOL SComponentFactory::CreateDecoderFactory(IImgDecoderFactory** out) const
{
    if (!out)
        return FALSE;
    *out = nullptr;
    for (const DecoderComponent& component : kDecoders) {
        if (wcscmp(component.name, m_decoderName) == 0)
            return component.create(out);
    }
    return FALSE;
}

BOOL SComponentFactory::CreateRenderFactory(IRenderFactory** out) const
{
    return out && CreateRenderFactory_GDI(out);
}

BOOL SComponentFactory::CreateTranslatorMgr(ITranslatorMgr** out) const
{
    return out && SKEIN::CreateTranslatorMgr(out);
}

BOOL SComponentFactory::CreateZipResProvider(IResProvider** out) const
{
    if (!out)
        return FALSE;
    *out = new SResProviderZip;
    return TRUE;
}

void HimetricToPixels(const SIZE* himetric, SIZE* pixels)
{
    ScreenDpi dpi = GetScreenDpi();
    pixels->cx = MulDiv(dpi.x, himetric->cx, kHimetricPerInch);
    pixels->cy = MulDiv(dpi.y, himetric->cy, kHimetricPerInch);
}

void PixelsToHimetric(const SIZE* pixels, SIZE* himetric)
{
    ScreenDpi dpi = GetScreenDpi();
    himetric->cx = MulDiv(kHimetricPerInch, pixels->cx, dpi.x);
    himetric->cy = MulDiv(kHimetricPerInch, pixels->cy, dpi.y);
}

} // namespace SKEIN
