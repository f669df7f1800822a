#pragma once
// The GDI render factory: makes render targets, fonts, bitmaps and regions, and holds the image
// decoder through which bitmaps load.
#include "interface/SImgDecoder-i.h"
#include "interface/SRender-i.h"

namespace SKEIN {

class SRenderFactory_GDI : public TObjRefImpl<IRenderFactory> {
public:
    IImgDecoderFactory* GetImgDecoderFactory() override { return m_decoders; }
    void SetImgDecoderFactory(IImgDecoderFactory* factory) override { m_decoders = factory; }
    BOOL CreateRenderTarget(IRenderTarget** out, int width, int height) override;
    BOOL CreateFont(IFont** out, const LOGFONTW* logFont) override;
    BOOL CreateBitmap(IBitmap** out) override;
    BOOL CreateRegion(IRegion** out) override;

private:
    SRefPtr<IImgDecoderFactory> m_decoders;
};

} // namespace SKEIN
