#pragma once
// Cache of descendant lookups by name or id: (parent, key, depth) -> handle of the window
// found. An entry stays until its window or its parent is destroyed: a stale entry is dropped
// on lookup, and all of them by a sweep, which runs when a host's tree has gone and whenever the
// cache has doubled since the last one.
#include "core/SHashMap.h"
#include "core/SSingleton.h"
#include "core/SString.h"
#include "core/SWindowMgr.h"

namespace SKEIN {

// One lookup: by name (id 0) or by id (empty name), depth -1 = unlimited.
class SFindInfo {
public:
    SFindInfo(SwndHandle parent, const SStringW& name, int depth);
    SFindInfo(SwndHandle parent, int id, int depth);

    UINT32 Hash() const { return m_hash; }
    bool operator==(const SFindInfo& other) const;

    SwndHandle parent;
    bool byName;
    SStringW name;
    int id;
    int depth;

private:
    UINT32 ComputeHash() const;

    UINT32 m_hash;
};

class SWindowFinder : public SSingleton2, public SSingleton<SWindowFinder> {
public:
    SWindowFinder();
    ~SWindowFinder() override;

    // The cached result, null on a miss or when the cached window no longer exists.
    SWindow* FindChildByName(SwndHandle parent, const SStringW& name, int depth);
    SWindow* FindChildByID(SwndHandle parent, int id, int depth);
    SWindow* FindChildByKey(const SFindInfo& key);

    // Stores result (replacing an older entry of the same key).
    void CacheResultForName(SwndHandle parent, const SStringW& name, int depth, SwndHandle result);
    void CacheResultForID(SwndHandle parent, int id, int depth, SwndHandle result);

    int CachedCount() const { return m_cache.Count(); }
    // Drops the entries whose parent or result window no longer exists.
    void SweepGoneWindows();

private:
    void Store(const SFindInfo& key, SwndHandle result);

    SHashMap<SFindInfo, SwndHandle> m_cache;
    int m_sweepAt;
};

} // namespace SKEIN
