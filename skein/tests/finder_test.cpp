// The window finder's cache: hits, stale entries, key equality and its log lines.
#include <gtest/gtest.h>
#include <algorithm>
#include <memory>
#include <string>
#include <vector>
#include "app_test_support.h"
#include "helper/SwndFinder.h"

using namespace SKEIN;

namespace {

skein_test::LogRecorder* g_log = nullptr;
ILogManager* RecordingLog() { return g_log; }

SWindow* FakeWindow(int n)
{
    static char slots[16];
    return reinterpret_cast<SWindow*>(slots + n);
}

class WindowFinderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_log = new skein_test::LogRecorder;
        SetLogManagerSource(&RecordingLog);
        m_parent = m_mgr.NewWindow(FakeWindow(0));
        m_child = m_mgr.NewWindow(FakeWindow(1));
    }
    void TearDown() override
    {
        SetLogManagerSource(nullptr);
        g_log->Release();
        g_log = nullptr;
    }
    const std::string& LastLine() const { return g_log->lines.back(); }

    SWindowMgr m_mgr;
    SWindowFinder m_finder;
    SwndHandle m_parent = 0, m_child = 0;
};

} // namespace

TEST_F(WindowFinderTest, NameEntryAnswersUntilItsWindowIsDestroyed)
{
    SStringW name(L"btn_ok");
    EXPECT_EQ(m_finder.FindChildByName(m_parent, name, -1), nullptr);
    EXPECT_TRUE(g_log->lines.empty()); // a plain miss is silent

    m_finder.CacheResultForName(m_parent, name, -1, m_child);
    EXPECT_EQ(LastLine(), "2|SKEIN::SWindowFinder::CacheResultForName|CacheResultForID,parent:1 name:btn_ok nDeep-1 "
                          "result:2");
    EXPECT_EQ(m_finder.FindChildByName(m_parent, name, -1), FakeWindow(1));
    EXPECT_EQ(LastLine(), "2|SKEIN::SWindowFinder::FindChildByKey|findChildByKey: hParent:1 nDeep:-1 hId:0 "
                          "name:btn_ok result:2");

    m_mgr.DestroyWindow(m_child);
    EXPECT_EQ(m_finder.FindChildByName(m_parent, name, -1), nullptr);
    EXPECT_EQ(LastLine(), "2|SKEIN::SWindowFinder::FindChildByKey|findChildByKey: hParent:1 nDeep:-1 hId:0 "
                          "name:btn_ok result:0");
    EXPECT_EQ(m_finder.CachedCount(), 0);
    size_t lines = g_log->lines.size();
    EXPECT_EQ(m_finder.FindChildByName(m_parent, name, -1), nullptr);
    EXPECT_EQ(g_log->lines.size(), lines); // now a miss
}

TEST_F(WindowFinderTest, KeysDifferByKindParentIdNameAndDepth)
{
    m_finder.CacheResultForID(m_parent, 42, 2, m_child);
    EXPECT_EQ(LastLine(), "2|SKEIN::SWindowFinder::CacheResultForID|CacheResultForID,parent:1 nId:42 nDeep2 result:2");
    EXPECT_EQ(m_finder.FindChildByID(m_parent, 42, 2), FakeWindow(1));
    EXPECT_EQ(m_finder.FindChildByID(m_parent, 43, 2), nullptr);
    EXPECT_EQ(m_finder.FindChildByID(m_child, 42, 2), nullptr);
    EXPECT_EQ(m_finder.FindChildByID(m_parent, 42, -1), nullptr);
    // Depths 2 and 130 share the hash (7 bits of depth), yet a result found within 130 levels
    // is no result within 2.
    m_finder.CacheResultForID(m_parent, 7, 130, m_child);
    EXPECT_EQ(m_finder.FindChildByID(m_parent, 7, 2), nullptr);
    EXPECT_EQ(SFindInfo(m_parent, 7, 130).Hash(), SFindInfo(m_parent, 7, 2).Hash());
    // An id key and a name key never meet.
    EXPECT_EQ(m_finder.FindChildByName(m_parent, SStringW(L""), 2), nullptr);

    // A newer result replaces the older one under the same key.
    SwndHandle other = m_mgr.NewWindow(FakeWindow(2));
    m_finder.CacheResultForID(m_parent, 42, 2, other);
    EXPECT_EQ(m_finder.FindChildByID(m_parent, 42, 2), FakeWindow(2));
    EXPECT_EQ(m_finder.CachedCount(), 2);
}

// Lookups under parents that come and go (every pop-up menu is a new window tree) leave no
// growing cache behind; entries of living windows survive every sweep.
TEST_F(WindowFinderTest, EntriesOfGoneWindowsAreSweptAsTheCacheGrows)
{
    m_finder.CacheResultForID(m_parent, 3, -1, m_child);
    int most = 0;
    for (int i = 0; i < 1000; ++i) {
        SwndHandle parent = m_mgr.NewWindow(FakeWindow(2));
        SwndHandle child = m_mgr.NewWindow(FakeWindow(3));
        m_finder.CacheResultForID(parent, 3, -1, child);
        m_mgr.DestroyWindow(child);
        m_mgr.DestroyWindow(parent);
        most = std::max(most, m_finder.CachedCount());
    }
    EXPECT_LE(most, 65);
    EXPECT_EQ(m_finder.FindChildByID(m_parent, 3, -1), FakeWindow(1));
}

TEST(FindInfo, HashFollowsTheKeyLayout)
{
    // ((byName << 7 | depth & 0x7F) << 24 | parent & 0xFFFFFF) + (name hash | id << 16)
    EXPECT_EQ(SFindInfo(0x1234567, 3, 5).Hash(), ((5u << 24) | 0x234567u) + (3u << 16));
    UINT32 nameHash = UINT32('a') * 33 + 'b';
    EXPECT_EQ(SFindInfo(9, SStringW(L"ab"), -1).Hash(), ((0xFFu << 24) | 9u) + nameHash);
}
