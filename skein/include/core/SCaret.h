#pragma once
// The caret of a windowless window: drawn by inverting the pixels of the host's memory
// target, so drawing it twice puts back what was beneath.
#include "core/SObjRef.h"
#include "core/SWindowMgr.h"
#include "interface/SRender-i.h"

namespace SKEIN {

class SCaret : public TObjRefImpl<IObjRef> {
public:
    // bitmap null: a solid caret of width x height; else bitmap is stretched to that size.
    SCaret(SwndHandle owner, HBITMAP bitmap, int width, int height);
    ~SCaret() override;

    // Inverts the caret at (x, y) on target, only where the owner and all its ancestors show
    // their inner area; out receives the part inverted (empty when none). erase is not used.
    virtual void Draw(RECT* out, IRenderTarget* target, int x, int y, BOOL erase);

private:
    SRefPtr<IBitmap> m_bitmap;
    SwndHandle m_owner;
};

} // namespace SKEIN
