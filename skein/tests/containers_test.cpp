#include <gtest/gtest.h>
#include <algorithm>
#include <vector>
#include "core/SCmnMap.h"
#include "core/SDynArray.h"
#include "core/SHashMap.h"
#include "core/SLinkedList.h"

using namespace SKEIN;

TEST(DynArray, GrowthSteps)
{
    struct Case {
        int growBy, full, capacityAfterAdd;
    } cases[] = {
        {0, 10, 14}, {0, 31, 35}, {0, 32, 36}, {0, 40, 45}, {0, 8199, 9223}, {0, 9000, 10024}, {7, 10, 17},
    };
    for (const Case& c : cases) {
        SDynArray<int> a(c.growBy);
        ASSERT_TRUE(a.Resize(c.full));
        ASSERT_EQ(a.Capacity(), c.full);
        EXPECT_EQ(a.Add(1), c.full);
        EXPECT_EQ(a.Capacity(), c.capacityAfterAdd) << "full at " << c.full;
    }
    SDynArray<int> fresh(6);
    fresh.Add(1);
    EXPECT_EQ(fresh.Capacity(), 6); // first storage: the larger of need and step
}

TEST(DynArray, ResizeAndInsertKeepStringsIntact)
{
    SStringW shared(L"s");
    {
        SDynArray<SStringW> a;
        a.Add(L"a");
        a.Add(L"d");
        EXPECT_EQ(a.InsertRepeated(1, shared, 2), 3);
        ASSERT_EQ(a.Count(), 4);
        const wchar_t* want[] = {L"a", L"s", L"s", L"d"};
        for (int i = 0; i < 4; ++i)
            EXPECT_STREQ(a[i].c_str(), want[i]);

        EXPECT_EQ(a.InsertRepeated(6, L"z", 1), 7); // beyond the end: empty strings fill the gap
        ASSERT_EQ(a.Count(), 7);
        EXPECT_TRUE(a[4].IsEmptyText());
        EXPECT_STREQ(a[6].c_str(), L"z");

        a.RemoveAt(0);
        EXPECT_STREQ(a[0].c_str(), L"s");
        EXPECT_EQ(a.Find(SStringW(L"d")), 2);
        EXPECT_TRUE(a.Resize(2));
        EXPECT_EQ(a.Count(), 2);
        EXPECT_EQ(reinterpret_cast<const SStringHeader*>(shared.c_str())[-1].refCount, 3);
    }
    EXPECT_EQ(reinterpret_cast<const SStringHeader*>(shared.c_str())[-1].refCount, 1);
}

TEST(DynArray, AddingAnOwnElementWhileGrowing)
{
    SDynArray<SStringW> a;
    a.Resize(4);
    for (int i = 0; i < 4; ++i)
        a[i] = L"first";
    ASSERT_EQ(a.Count(), a.Capacity());
    a.Add(a[0]); // the source moves with the storage
    EXPECT_STREQ(a[4].c_str(), L"first");
    a.InsertRepeated(0, a[4], 3);
    EXPECT_STREQ(a[0].c_str(), L"first");
}

TEST(DynArray, FailedGrowthLeavesTheArray)
{
    SDynArray<int> a;
    a.Add(5);
    EXPECT_FALSE(a.GrowTo(0x7FFFFFFF)); // element bytes overflow 32 bits
    EXPECT_FALSE(a.Resize(-1));
    EXPECT_EQ(a.Count(), 1);
    EXPECT_EQ(a[0], 5);
}

TEST(HashMap, GrowsAtThe39thElementTo53Bins)
{
    SHashMap<int, int> map;
    for (int i = 0; i < 38; ++i)
        map.SetAt(i, i * 10);
    EXPECT_EQ(map.BinCount(), 17u);
    map.SetAt(38, 380);
    EXPECT_EQ(map.BinCount(), 53u);
    for (int i = 0; i < 39; ++i) {
        ASSERT_NE(map.Lookup(i), nullptr);
        EXPECT_EQ(map.Lookup(i)->value, i * 10);
    }
}

TEST(HashMap, ShrinksOnlyFromBinCountsAbove67)
{
    SHashMap<int, int> map;
    for (int i = 0; i < 120; ++i)
        map.SetAt(i, i);
    ASSERT_EQ(map.BinCount(), 163u);
    for (int i = 119; i >= 40; --i)
        map.RemoveKey(i);
    EXPECT_EQ(map.BinCount(), 163u); // 40 is not below 163 * 0.25
    map.RemoveKey(39);
    EXPECT_EQ(map.BinCount(), 53u);
    for (int i = 38; i >= 0; --i)
        map.RemoveKey(i);
    EXPECT_EQ(map.BinCount(), 53u); // 53 bins never shrink
    EXPECT_EQ(map.Count(), 0);
    map.SetAt(7, 70);
    EXPECT_EQ(map.Lookup(7)->value, 70); // blocks come back after the map emptied
}

TEST(HashMap, LockedMapNeverRehashes)
{
    SHashMap<int, int> map;
    map.LockRehash();
    for (int i = 0; i < 100; ++i)
        map.SetAt(i, i);
    EXPECT_EQ(map.BinCount(), 17u);
    map.UnlockRehash();
    map.SetAt(100, 100);
    EXPECT_EQ(map.BinCount(), 163u);
}

TEST(HashMap, IteratesInBinOrderNewestFirst)
{
    SHashMap<int, int> map;
    map.SetAt(1, 0);
    map.SetAt(18, 0); // same bin as 1
    map.SetAt(0, 0);
    map.SetAt(35, 0); // same bin as 1 and 18
    std::vector<int> keys;
    for (auto* node = map.FirstNode(); node; node = map.NextNode(node))
        keys.push_back(node->key);
    EXPECT_EQ(keys, (std::vector<int>{0, 35, 18, 1}));
}

TEST(HashMap, StringKeysAndRemoval)
{
    SHashMap<SStringW, int> map;
    map.SetAt(L"alpha", 1);
    map.SetAt(L"beta", 2);
    map.SetAt(L"alpha", 3);
    EXPECT_EQ(map.Count(), 2);
    EXPECT_EQ(map.Lookup(L"alpha")->value, 3);
    EXPECT_EQ(map.Lookup(L"ALPHA"), nullptr);
    EXPECT_TRUE(map.RemoveKey(L"alpha"));
    EXPECT_FALSE(map.RemoveKey(L"alpha"));
    EXPECT_EQ(map.Count(), 1);
    map.RemoveAll();
    EXPECT_EQ(map.FirstNode(), nullptr);
}

TEST(HashMap, PickBinCount)
{
    SHashMap<int, int> map;
    struct Case {
        UINT32 count, bins;
    } cases[] = {{0, 17}, {12, 17}, {13, 17}, {14, 23}, {39, 53}, {120, 163}, {9000000, 13316089},
                 {10000000, 13333333}};
    for (const Case& c : cases)
        EXPECT_EQ(map.PickBinCount(c.count), c.bins) << c.count;
}

TEST(ContainerUtil, HashAndSizeArithmetic)
{
    EXPECT_EQ(HashWideString(L""), 0u);
    EXPECT_EQ(HashWideString(nullptr), 0u);
    EXPECT_EQ(HashWideString(L"ab"), 97u * 33 + 98);

    UINT32 out = 7;
    EXPECT_EQ(SafeAddSize(out, 0xFFFFFFFFu, 1), E_INVALIDARG);
    EXPECT_EQ(out, 7u);
    EXPECT_EQ(SafeAddSize(out, 0xFFFFFFFEu, 1), S_OK);
    EXPECT_EQ(out, 0xFFFFFFFFu);
    EXPECT_EQ(SafeMulSize(out, 0x10000u, 0x10000u), E_INVALIDARG);
    EXPECT_EQ(SafeMulSize(out, 0xFFFFu, 0x10001u), S_OK);

    SPlexBlock* chain = nullptr;
    EXPECT_EQ(SPlexBlock::Allocate(chain, 0x10000u, 0x10000u), nullptr);
    EXPECT_EQ(chain, nullptr);
    SPlexBlock* first = SPlexBlock::Allocate(chain, 4, 8);
    SPlexBlock* second = SPlexBlock::Allocate(chain, 4, 8);
    EXPECT_EQ(chain, second);
    EXPECT_EQ(second->next, first);
    SPlexBlock::FreeChain(chain);

    GUID a = {1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};
    GUID b = a;
    EXPECT_EQ(GuidEquals(a, b), 1);
    b.Data4[7] = 0;
    EXPECT_EQ(GuidEquals(a, b), 0);
}

namespace {
std::vector<int> g_released;
void RecordRelease(int* value) { g_released.push_back(*value); }
} // namespace

TEST(CmnMap, ReleasesEveryDroppedValue)
{
    int values[] = {10, 20, 30, 40};
    g_released.clear();
    {
        SCmnMap<int*, int> map(&RecordRelease);
        map.Set(1, &values[0]);
        map.Set(2, &values[1]);
        map.Set(3, &values[2]);
        map.Set(2, &values[1]); // the same value again: nothing released
        EXPECT_TRUE(g_released.empty());
        map.Set(2, &values[3]); // replaced
        EXPECT_EQ(g_released, (std::vector<int>{20}));
        EXPECT_TRUE(map.Remove(1));
        EXPECT_FALSE(map.Remove(1));
        EXPECT_EQ(g_released, (std::vector<int>{20, 10}));
        EXPECT_EQ(*map.Find(2), &values[3]);
        EXPECT_EQ(map.Find(9), nullptr);
    }
    std::sort(g_released.begin() + 2, g_released.end());
    EXPECT_EQ(g_released, (std::vector<int>{20, 10, 30, 40})); // the destructor releases the rest
}

TEST(LinkedList, InsertsAtBothEndsAndAroundNodes)
{
    SLinkedList<int> list(3);
    auto* two = list.AddTail(2);
    list.AddHead(1);
    list.AddTail(4);
    list.InsertAfter(two, 3);
    list.InsertBefore(list.First(), 0);
    std::vector<int> forward, backward;
    for (auto* n = list.First(); n; n = n->next)
        forward.push_back(n->value);
    for (auto* n = list.Last(); n; n = n->prev)
        backward.push_back(n->value);
    EXPECT_EQ(forward, (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(backward, (std::vector<int>{4, 3, 2, 1, 0}));
    EXPECT_EQ(list.Count(), 5);

    list.RemoveNode(list.Find(2));
    list.RemoveNode(list.First());
    list.RemoveNode(list.Last());
    EXPECT_EQ(list.First()->value, 1);
    EXPECT_EQ(list.Last()->value, 3);
    EXPECT_EQ(list.Find(2), nullptr);
    list.RemoveAll();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.First(), nullptr);
    list.AddTail(9);
    EXPECT_EQ(list.First(), list.Last());
}

TEST(LinkedList, DestroysStringValues)
{
    SStringW shared(L"v");
    {
        SLinkedList<SStringW> list;
        for (int i = 0; i < 25; ++i)
            list.AddTail(shared);
        list.RemoveNode(list.First());
        EXPECT_EQ(reinterpret_cast<const SStringHeader*>(shared.c_str())[-1].refCount, 25);
    }
    EXPECT_EQ(reinterpret_cast<const SStringHeader*>(shared.c_str())[-1].refCount, 1);
}
