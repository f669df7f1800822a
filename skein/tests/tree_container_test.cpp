// The tree container: insert positions, the pre-order walk and levels, subtree deletion in
// post-order through the node-free hook, and the refusal of handles that name no node.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "control/STree.h"

namespace {

using namespace SKEIN;

// Records the values freed, in order.
class NamedTree : public CSTree<std::string> {
public:
    ~NamedTree() override { DeleteAllItems(); }
    std::vector<std::string> freed;

protected:
    void OnNodeFree(std::string& data) override { freed.push_back(data); }
};

// The values in pre-order, each prefixed with its level.
std::string Walk(const NamedTree& tree)
{
    std::string text;
    for (STreeHandle item = tree.GetNextItem(kTviRoot); item; item = tree.GetNextItem(item))
        text += std::to_string(tree.GetItemLevel(item)) + *tree.GetItemData(item) + " ";
    return text;
}

// a (a1 a2 (a2x)) b c
struct SampleTree {
    NamedTree tree;
    STreeHandle a, a1, a2, a2x, b, c;
    SampleTree()
    {
        b = tree.InsertItem("b");
        c = tree.InsertItem("c", kTviRoot, kTviLast);
        a = tree.InsertItem("a", kTviRoot, kTviFirst);
        a2 = tree.InsertItem("a2", a);
        a1 = tree.InsertItem("a1", a, kTviFirst);
        a2x = tree.InsertItem("a2x", a2);
    }
};

TEST(TreeContainerTest, InsertPositionsAndThePreOrderWalkWithLevels)
{
    SampleTree sample;
    EXPECT_EQ("0a 1a1 1a2 2a2x 0b 0c ", Walk(sample.tree));
    EXPECT_EQ(-1, sample.tree.GetItemLevel(kTviRoot));
    EXPECT_EQ(sample.a, sample.tree.GetChildItem(kTviRoot));
    EXPECT_EQ(sample.c, sample.tree.GetLastChildItem(kTviRoot));
    EXPECT_EQ(0u, sample.tree.GetParentItem(sample.a));
    EXPECT_EQ(sample.a2, sample.tree.GetParentItem(sample.a2x));

    // After a middle node it goes between; after the last child it appends like kTviLast.
    sample.tree.InsertItem("ab", kTviRoot, sample.a);
    STreeHandle d = sample.tree.InsertItem("d", kTviRoot, sample.c);
    EXPECT_EQ(d, sample.tree.GetLastChildItem(kTviRoot));
    EXPECT_EQ("0a 1a1 1a2 2a2x 0ab 0b 0c 0d ", Walk(sample.tree));
}

TEST(TreeContainerTest, RefusedHandlesChangeNothingAndAllocateNothing)
{
    SampleTree sample;
    std::string before = Walk(sample.tree);
    // A node of another parent, a parent that is an insert position, no position at all.
    EXPECT_EQ(0u, sample.tree.InsertItem("x", sample.a, sample.b));
    EXPECT_EQ(0u, sample.tree.InsertItem("x", kTviRoot, sample.a1));
    EXPECT_EQ(0u, sample.tree.InsertItem("x", kTviFirst));
    EXPECT_EQ(0u, sample.tree.InsertItem("x", kTviRoot, 0));
    EXPECT_EQ(0u, sample.tree.InsertItem("x", kTviRoot, kTviRoot));
    for (STreeHandle handle : {STreeHandle(0), kTviFirst, kTviLast}) {
        EXPECT_FALSE(sample.tree.DeleteItem(handle));
        EXPECT_EQ(0u, sample.tree.GetNextItem(handle));
        EXPECT_EQ(-1, sample.tree.GetItemLevel(handle));
        EXPECT_EQ(nullptr, sample.tree.GetItemData(handle));
        EXPECT_EQ(0u, sample.tree.GetNextSiblingItem(handle));
    }
    EXPECT_EQ(before, Walk(sample.tree));
}

// Counts the values alive.
struct Counted {
    static int alive;
    Counted() { ++alive; }
    Counted(const Counted&) { ++alive; }
    ~Counted() { --alive; }
};
int Counted::alive = 0;

TEST(TreeContainerTest, ARefusedInsertLeavesNoNodeBehind)
{
    {
        CSTree<Counted> tree;
        STreeHandle first = tree.InsertItem(Counted());
        STreeHandle child = tree.InsertItem(Counted(), first);
        EXPECT_EQ(0u, tree.InsertItem(Counted(), kTviRoot, child));
        EXPECT_EQ(0u, tree.InsertItem(Counted(), kTviLast));
        EXPECT_EQ(2, Counted::alive);
    }
    EXPECT_EQ(0, Counted::alive);
}

TEST(TreeContainerTest, DeletingASubtreeFreesChildrenBeforeParentsAndUnlinksIt)
{
    SampleTree sample;
    EXPECT_TRUE(sample.tree.DeleteItem(sample.a));
    EXPECT_EQ((std::vector<std::string>{"a1", "a2x", "a2", "a"}), sample.tree.freed);
    EXPECT_EQ("0b 0c ", Walk(sample.tree));
    EXPECT_EQ(sample.b, sample.tree.GetChildItem(kTviRoot));
    EXPECT_EQ(0u, sample.tree.GetPrevSiblingItem(sample.b));

    // The only child: the parent is left with no children at all.
    STreeHandle only = sample.tree.InsertItem("only", sample.c);
    EXPECT_TRUE(sample.tree.DeleteItem(only));
    EXPECT_EQ(0u, sample.tree.GetChildItem(sample.c));
    EXPECT_EQ(0u, sample.tree.GetLastChildItem(sample.c));
    sample.tree.InsertItem("again", sample.c);
    EXPECT_EQ("0b 0c 1again ", Walk(sample.tree));

    // The last root: the other end moves.
    EXPECT_TRUE(sample.tree.DeleteItem(sample.c));
    EXPECT_EQ(sample.b, sample.tree.GetLastChildItem(kTviRoot));
    sample.tree.freed.clear();
    EXPECT_TRUE(sample.tree.DeleteItem(kTviRoot));
    EXPECT_EQ((std::vector<std::string>{"b"}), sample.tree.freed);
    EXPECT_EQ(0u, sample.tree.GetChildItem(kTviRoot));
    EXPECT_EQ(0u, sample.tree.GetLastChildItem(kTviRoot));
}

TEST(TreeContainerTest, AVeryDeepChainIsWalkedAndFreedWithoutRecursion)
{
    const int depth = 200000;
    NamedTree tree;
    STreeHandle node = kTviRoot;
    for (int i = 0; i < depth; ++i)
        node = tree.InsertItem("n", node);
    EXPECT_EQ(depth - 1, tree.GetItemLevel(node));
    EXPECT_EQ(0u, tree.GetNextItem(node));
    tree.DeleteAllItems();
    EXPECT_EQ(static_cast<size_t>(depth), tree.freed.size());
}

} // namespace
