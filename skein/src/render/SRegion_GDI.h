#pragma once
// GDI region; starts empty.
#include "render/SRenderObj_GDI.h"

namespace SKEIN {

class SRegion_GDI : public TGdiRenderObjImpl<IRegion, kRenderObjRegion, HRGN> {
    typedef TGdiRenderObjImpl<IRegion, kRenderObjRegion, HRGN> Base;
    SKEIN_CLASS_NAME(Base, L"region")
public:
    explicit SRegion_GDI(IRenderFactory* factory);

    void CombineRect(const RECT* rect, int mode) override;
    void CombineRgn(const IRegion* region, int mode) override;
    void CombineRoundRect(const RECT* rect, POINT corner, int mode) override;
    void CombineEllipse(const RECT* rect, int mode) override;
    BOOL PtInRegion(int x, int y) const override;
    BOOL RectInRegion(const RECT* rect) const override;
    void GetRgnBox(RECT* box) const override;
    BOOL IsEmpty() const override;
    void Offset(POINT offset) override;
    void Clear() override;
    void CopyFromHandle(HRGN region) override;

private:
    void CombineWith(HRGN other, int mode);
    // combines a new shape and deletes it
    void CombineShape(HRGN shape, int mode);
};

} // namespace SKEIN
