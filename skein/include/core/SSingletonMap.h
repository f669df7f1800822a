#pragma once
// An owned singleton that is also a hash map (window handles, timers).
#include "core/SCmnMap.h"
#include "core/SSingleton.h"

namespace SKEIN {

template <class T, class V, class K>
class SSingletonMap : public SSingleton2, public SSingleton<T>, public SCmnMap<V, K> {
public:
    explicit SSingletonMap(typename SCmnMap<V, K>::ReleaseFn releaseValue = nullptr) : SCmnMap<V, K>(releaseValue) {}
};

} // namespace SKEIN
