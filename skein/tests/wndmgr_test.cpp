// The window manager's handles and the packing of window timers into host timer ids.
#include <gtest/gtest.h>
#include <algorithm>
#include <memory>
#include <thread>
#include <vector>
#include "core/SWindowMgr.h"

using namespace SKEIN;

namespace {

// The manager never looks into a window, so stand-in addresses do.
SWindow* FakeWindow(int n)
{
    static char slots[64];
    return reinterpret_cast<SWindow*>(slots + n);
}

class WindowMgrTest : public ::testing::Test {
protected:
    std::unique_ptr<SWindowMgr> m_mgr{new SWindowMgr};
};

} // namespace

TEST_F(WindowMgrTest, HandlesCountUpAndAreNeverReused)
{
    EXPECT_EQ(SWindowMgr::Instance(), m_mgr.get());
    EXPECT_EQ(m_mgr->NewWindow(FakeWindow(1)), 1u);
    EXPECT_EQ(m_mgr->NewWindow(FakeWindow(2)), 2u);
    EXPECT_EQ(m_mgr->NewWindow(FakeWindow(3)), 3u);
    EXPECT_TRUE(m_mgr->DestroyWindow(2));
    EXPECT_EQ(m_mgr->NewWindow(FakeWindow(4)), 4u);
    EXPECT_EQ(m_mgr->WindowFromHandle(1), FakeWindow(1));
    EXPECT_EQ(m_mgr->WindowFromHandle(2), nullptr);
    EXPECT_EQ(SWindowMgr::GetWindow(4), FakeWindow(4));
    EXPECT_EQ(m_mgr->WindowFromHandle(0), nullptr);
    EXPECT_EQ(m_mgr->WindowFromHandle(99), nullptr);
    EXPECT_FALSE(m_mgr->DestroyWindow(2));
    EXPECT_EQ(m_mgr->NewWindow(nullptr), 0u);
}

TEST_F(WindowMgrTest, ConcurrentCallersGetDistinctHandles)
{
    const int kThreads = 4, kEach = 500;
    std::vector<std::vector<SwndHandle>> issued(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t]() {
            for (int i = 0; i < kEach; ++i) {
                SwndHandle handle = m_mgr->NewWindow(FakeWindow(t));
                issued[t].push_back(handle);
                if (i % 2)
                    m_mgr->DestroyWindow(handle);
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    std::vector<SwndHandle> all;
    for (auto& handles : issued)
        all.insert(all.end(), handles.begin(), handles.end());
    std::sort(all.begin(), all.end());
    ASSERT_EQ(all.size(), size_t(kThreads * kEach));
    for (size_t i = 0; i < all.size(); ++i)
        ASSERT_EQ(all[i], i + 1);
    EXPECT_EQ(m_mgr->Count(), kThreads * kEach / 2);
}

TEST(SwndTimerId, PacksWindowAndIdOrRefusesWhatWouldNotComeBack)
{
    UINT_PTR packed = 0;
    ASSERT_TRUE(PackSwndTimerId(0x123456, 5, packed));
    EXPECT_EQ(packed, UINT_PTR(0x85123456));
    SwndHandle window = 0;
    UINT id = 0;
    ASSERT_TRUE(UnpackSwndTimerId(packed, window, id));
    EXPECT_EQ(window, 0x123456u);
    EXPECT_EQ(id, 5u);
    ASSERT_TRUE(PackSwndTimerId(0xFFFFFF, 127, packed));
    ASSERT_TRUE(UnpackSwndTimerId(packed, window, id));
    EXPECT_EQ(window, 0xFFFFFFu);
    EXPECT_EQ(id, 127u);

    // Id 128 would arrive as 0, handle 0x1000001 as 1: both refused, packed untouched.
    packed = 77;
    EXPECT_FALSE(PackSwndTimerId(1, 128, packed));
    EXPECT_FALSE(PackSwndTimerId(0x1000001, 1, packed));
    EXPECT_FALSE(PackSwndTimerId(0, 1, packed));
    EXPECT_EQ(packed, UINT_PTR(77));
    // A host's own timers (no high bit) are not window timers.
    EXPECT_FALSE(UnpackSwndTimerId(2, window, id));
}
