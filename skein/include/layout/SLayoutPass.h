#pragma once
// One pass of laying out or measuring: from the outermost layout or measuring call of a thread
// to its return. Windows keep what they measured during a pass (SWindow's measured sizes),
// stamped with the pass's state; the state changes when a pass begins and whenever anything a
// measurement reads may have changed (NoteChange), so a kept size is used only while nothing
// changed since it was measured. A pass also lends one render target for measuring texts.
#include "interface/SRender-i.h"

namespace SKEIN {

class SLayoutPass {
public:
    SLayoutPass();
    ~SLayoutPass();
    SLayoutPass(const SLayoutPass&) = delete;
    SLayoutPass& operator=(const SLayoutPass&) = delete;

    // The state that sizes measured now belong to.
    static unsigned long long State();
    // Texts, styles, layouts, trees, visibility or scale changed: every kept size is stale.
    static void NoteChange();
    // The pass's target for measuring texts, with a new target's font and text colour; null
    // outside a pass or without a render factory.
    static IRenderTarget* MeasureTarget();
};

} // namespace SKEIN
