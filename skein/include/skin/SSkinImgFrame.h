#pragma once
// Nine-part image skins: the border widths stay, the centre and edges stretch or tile.
#include "skin/SSkinImgList.h"

namespace SKEIN {

class SSkinImgFrame : public SSkinImgList {
    SKEIN_CLASS_NAME(SSkinImgList, L"imgframe")

public:
    SSkinImgFrame();

    UINT GetExpandMode() const override;
    void CopySettingsTo(ISkinObj* target, int scale) const override;
    using SSkinImgList::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;

    const RECT& Margins() const { return m_margins; }

protected:
    void DrawCore(IRenderTarget* rt, const RECT* rect, int state, BYTE alpha) override;

    RECT m_margins;
};

// The margins come from a one-pixel frame around the image whose opaque pixels mark the
// stretchable band; the frame is cut off.
class SSkinImgFrame2 : public SSkinImgFrame {
    SKEIN_CLASS_NAME(SSkinImgFrame, L"imgframe2")

public:
    using SSkinImgFrame::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;

private:
    HRESULT LoadBorderedImage(const SStringW& id);
};

} // namespace SKEIN
