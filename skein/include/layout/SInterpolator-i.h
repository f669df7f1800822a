#pragma once
// An animation curve: maps the elapsed fraction of an animation (0 at the start, 1 at the
// end) to the progress of the animated value. Implementations are also IObjects of kind
// kKindInterpolator, created by class name.
#include "core/SObjRef.h"

namespace SKEIN {

struct IInterpolator : public IObjRef {
    virtual float Interpolate(float t) const = 0;
};

} // namespace SKEIN
