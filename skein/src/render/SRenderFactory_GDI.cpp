#include "render/SRenderFactory_GDI.h"
#include <new>
#include "render/SBitmap_GDI.h"
#include "render/SFont_GDI.h"
#include "render/SRegion_GDI.h"
#include "render/SRenderTarget_GDI.h"

namespace SKEIN {

namespace {

// Hands a new object (or null) to the caller; true when there is one.
template <class Out, class Made>
BOOL HandOut(Out** out, Made* made)
{
    *out = made;
    return made != nullptr;
}

} // namespace

BOOL SRenderFactory_GDI::CreateRenderTarget(IRenderTarget** out, int width, int height)
{
    *out = nullptr;
    SRenderTarget_GDI* target = new (std::nothrow) SRenderTarget_GDI(this);
    if (!target)
        return FALSE;
    if (!target->Init(width, height)) {
        target->Release();
        return FALSE;
    }
    *out = target;
    return TRUE;
}

BOOL SRenderFactory_GDI::CreateFont(IFont** out, const LOGFONTW* logFont)
{
    return HandOut(out, new (std::nothrow) SFont_GDI(this, logFont));
}

BOOL SRenderFactory_GDI::CreateBitmap(IBitmap** out)
{
    return HandOut(out, new (std::nothrow) SBitmap_GDI(this));
}

BOOL SRenderFactory_GDI::CreateRegion(IRegion** out)
{
    return HandOut(out, new (std::nothrow) SRegion_GDI(this));
}

BOOL CreateRenderFactory_GDI(IRenderFactory** factory)
{
    return HandOut(factory, new (std::nothrow) SRenderFactory_GDI());
}

} // namespace SKEIN
