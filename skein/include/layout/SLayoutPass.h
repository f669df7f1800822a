#pragma once
// One pass of laying out or measuring: from the outermost layout or measuring call of a thread
// to its return. Windows keep what they measured during a pass (SWindow's measured sizes),
// stamped with the pass's state; the state changes when a pass begins and whenever anything a
// measurement reads may have changed (NoteChange), so a kept size is used only while nothing
// changed since it was measured (SPassSize). A pass also lends one render target for measuring
// texts.
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

// A size kept for the pass state it was measured in and the key it was measured for.
template <class Key>
struct SPassSize {
    unsigned long long state = 0; // none yet: passes start at 1
    Key key{};
    SIZE size{};

    // The kept size when it belongs to the current state and the key, else measure()'s, kept.
    template <class Measure>
    SIZE Obtain(const Key& wanted, Measure measure)
    {
        unsigned long long now = SLayoutPass::State();
        if (state == now && key == wanted)
            return size;
        SIZE measured = measure();
        state = now; // as it was before measuring: a change meanwhile leaves it stale
        key = wanted;
        size = measured;
        return measured;
    }
};

} // namespace SKEIN
