#pragma once
// A pen made and selected into a render target for the scope's lifetime.
#include "interface/SRender-i.h"

namespace SKEIN {

// Draws with a freshly made pen selected; the previous pen is restored.
class SPenScope {
public:
    SPenScope(IRenderTarget* rt, int style, COLORREF color, int width);
    ~SPenScope();
    SPenScope(const SPenScope&) = delete;
    SPenScope& operator=(const SPenScope&) = delete;

private:
    IRenderTarget* m_rt;
    IRenderObj* m_previous;
    IPen* m_pen;
};

} // namespace SKEIN
