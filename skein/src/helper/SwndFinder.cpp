#include "helper/SwndFinder.h"
#include <algorithm>
#include "core/SContainerUtil.h"
#include "helper/SLog.h"

namespace SKEIN {

SFindInfo::SFindInfo(SwndHandle parentHandle, const SStringW& findName, int findDepth)
    : parent(parentHandle), byName(true), name(findName), id(0), depth(findDepth), m_hash(ComputeHash())
{
}

SFindInfo::SFindInfo(SwndHandle parentHandle, int findId, int findDepth)
    : parent(parentHandle), byName(false), id(findId), depth(findDepth), m_hash(ComputeHash())
{
}

UINT32 SFindInfo::ComputeHash() const
{
    UINT32 head = ((static_cast<UINT32>(byName) << 7) | (static_cast<UINT32>(depth) & 0x7F)) << 24;
    head |= parent & 0xFFFFFF;
    return head + (byName ? HashWideString(name.c_str()) : static_cast<UINT32>(id) << 16);
}

// The depth takes part: the hash keeps only its low 7 bits, and a result found within one
// depth is not a result within a smaller one.
bool SFindInfo::operator==(const SFindInfo& other) const
{
    if (m_hash != other.m_hash || byName != other.byName || parent != other.parent || depth != other.depth)
        return false;
    return byName ? name == other.name : id == other.id;
}

namespace {

// The cache size at which the first sweep runs.
const int kFirstSweep = 64;

} // namespace

SWindowFinder::SWindowFinder() : m_cache(17, 0.75f, 0.25f, 2.25f, 10), m_sweepAt(kFirstSweep) {}

SWindowFinder::~SWindowFinder() {}

SWindow* SWindowFinder::FindChildByName(SwndHandle parent, const SStringW& name, int depth)
{
    return FindChildByKey(SFindInfo(parent, name, depth));
}

SWindow* SWindowFinder::FindChildByID(SwndHandle parent, int id, int depth)
{
    return FindChildByKey(SFindInfo(parent, id, depth));
}

SWindow* SWindowFinder::FindChildByKey(const SFindInfo& key)
{
    auto* node = m_cache.Lookup(key);
    if (!node)
        return nullptr;
    SwndHandle result = node->value;
    SWindow* window = SWindowMgr::GetWindow(result);
    if (!window) {
        m_cache.RemoveNode(node);
        result = 0;
    }
    SKEIN_LOG(2, "SKEIN::SWindowFinder::FindChildByKey")
        .Line()
        .AppendText("findChildByKey: hParent:")
        .AppendFormat("%lu", key.parent)
        .AppendText(" nDeep:")
        .AppendInt(key.depth)
        .AppendText(" hId:")
        .AppendInt(key.id)
        .AppendText(" name:")
        .AppendWide(key.name.c_str())
        .AppendText(" result:")
        .AppendFormat("%lu", result);
    return window;
}

void SWindowFinder::Store(const SFindInfo& key, SwndHandle result)
{
    if (m_cache.Count() >= m_sweepAt)
        SweepGoneWindows();
    m_cache.SetAt(key, result);
}

// Handles are never reused: an entry whose parent or result is gone answers no lookup again,
// and one whose parent is gone is never even asked for.
void SWindowFinder::SweepGoneWindows()
{
    m_cache.LockRehash();
    for (auto* node = m_cache.FirstNode(); node;) {
        auto* next = m_cache.NextNode(node);
        if (!SWindowMgr::GetWindow(node->key.parent) || !SWindowMgr::GetWindow(node->value))
            m_cache.RemoveNode(node);
        node = next;
    }
    m_cache.UnlockRehash();
    m_sweepAt = std::max(kFirstSweep, m_cache.Count() * 2);
}

void SWindowFinder::CacheResultForName(SwndHandle parent, const SStringW& name, int depth, SwndHandle result)
{
    Store(SFindInfo(parent, name, depth), result);
    SKEIN_LOG(2, "SKEIN::SWindowFinder::CacheResultForName")
        .Line()
        .AppendText("CacheResultForID,parent:")
        .AppendFormat("%lu", parent)
        .AppendText(" name:")
        .AppendWide(name.c_str())
        .AppendText(" nDeep")
        .AppendInt(depth)
        .AppendText(" result:")
        .AppendFormat("%lu", result);
}

void SWindowFinder::CacheResultForID(SwndHandle parent, int id, int depth, SwndHandle result)
{
    Store(SFindInfo(parent, id, depth), result);
    SKEIN_LOG(2, "SKEIN::SWindowFinder::CacheResultForID")
        .Line()
        .AppendText("CacheResultForID,parent:")
        .AppendFormat("%lu", parent)
        .AppendText(" nId:")
        .AppendInt(id)
        .AppendText(" nDeep")
        .AppendInt(depth)
        .AppendText(" result:")
        .AppendFormat("%lu", result);
}

} // namespace SKEIN
