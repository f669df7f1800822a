#pragma once
// Creates the framework's replaceable components at start-up: the render back end, the image
// decoder chosen by component name, the translator manager and the zip resource provider.
#include <windows.h>
#include "core/SString.h"
#include "interface/SImgDecoder-i.h"
#include "interface/SRender-i.h"
#include "interface/SResProvider-i.h"
#include "translator/STranslator-i.h"

namespace SKEIN {

class SComponentFactory {
public:
    // The image-decoder component: "imgdecoder-gdip" (null or none given), "imgdecoder-wic",
    // "imgdecoder-stb" or "imgdecoder-png", compared exactly.
    explicit SComponentFactory(const wchar_t* decoderName = nullptr);

    // Each creator: TRUE with a new object in out (one reference for the caller); FALSE with
    // out null when it can't be made (a decoder name that matches no component, a back end that
    // can't start here).
    BOOL CreateDecoderFactory(IImgDecoderFactory** out) const;
    BOOL CreateRenderFactory(IRenderFactory** out) const;
    BOOL CreateTranslatorMgr(ITranslatorMgr** out) const;
    // An uninitialised SResProviderZip.
    BOOL CreateZipResProvider(IResProvider** out) const;

private:
    SStringW m_decoderName;
};

// HIMETRIC (hundredths of a millimetre) to screen pixels and back, at the screen's dots per inch.
void HimetricToPixels(const SIZE* himetric, SIZE* pixels);
void PixelsToHimetric(const SIZE* pixels, SIZE* himetric);

} // namespace SKEIN
