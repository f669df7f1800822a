#pragma once
// A tree adapter for the tree view's tests: items added under a parent (expanded or not), the
// six layout values kept per item, desired sizes per item (80 x 20 unless set), a count of the
// first- and last-child walks, binds and their panel windows recorded, expansion reported to the
// observers, and branches removed.
#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>
#include "core/SWnd.h"
#include "interface/SAdapter-i.h"

namespace treetest {

using namespace SKEIN;

class TestTreeAdapter : public TObjRefImpl<TreeItemAdapter> {
public:
    struct Node {
        STreeHandle parent = 0;
        std::vector<STreeHandle> children;
        bool expanded = true;
        int values[6] = {};
        SIZE size = {80, 20};
    };

    TestTreeAdapter() { nodes[kTviRoot] = Node(); }

    STreeHandle Add(STreeHandle parent, bool expanded = true)
    {
        STreeHandle item = nextHandle++;
        nodes[item].parent = parent;
        nodes[item].expanded = expanded;
        nodes[parent].children.push_back(item);
        return item;
    }

    // Takes the item and its branch out of the tree; a handle is never given out again, so
    // any later question about a removed one puts it back into nodes.
    void Remove(STreeHandle item)
    {
        auto& siblings = nodes[nodes[item].parent].children;
        siblings.erase(std::find(siblings.begin(), siblings.end(), item));
        RemoveBranch(item);
    }

    void RegisterObserver(ITvDataSetObserver* observer) override { observers.push_back(observer); }
    void UnregisterObserver(ITvDataSetObserver* observer) override
    {
        for (size_t i = 0; i < observers.size(); ++i) {
            if (observers[i] == observer) {
                observers.erase(observers.begin() + i);
                return;
            }
        }
    }
    int LayoutValue(STreeHandle item, int key) override { return nodes[item].values[key]; }
    void SetLayoutValue(STreeHandle item, int key, int value) override { nodes[item].values[key] = value; }
    STreeHandle ParentItem(STreeHandle item) override { return item == kTviRoot ? 0 : nodes[item].parent; }
    STreeHandle FirstChild(STreeHandle item) override
    {
        ++firstChildWalks;
        const auto& children = nodes[item].children;
        return children.empty() ? 0 : children.front();
    }
    STreeHandle LastChild(STreeHandle item) override
    {
        ++lastChildWalks;
        const auto& children = nodes[item].children;
        return children.empty() ? 0 : children.back();
    }
    STreeHandle PreviousSibling(STreeHandle item) override { return Sibling(item, -1); }
    STreeHandle NextSibling(STreeHandle item) override { return Sibling(item, 1); }
    BOOL HasChildren(STreeHandle item) override { return !nodes[item].children.empty(); }
    BOOL IsItemVisible(STreeHandle item) override
    {
        for (STreeHandle parent = nodes[item].parent; parent && parent != kTviRoot; parent = nodes[parent].parent) {
            if (!nodes[parent].expanded)
                return FALSE;
        }
        return TRUE;
    }
    STreeHandle FirstVisibleItem() override { return nodes[kTviRoot].children.empty() ? 0 : nodes[kTviRoot].children[0]; }
    STreeHandle LastVisibleItem() override
    {
        STreeHandle item = kTviRoot;
        while (nodes[item].expanded && !nodes[item].children.empty())
            item = nodes[item].children.back();
        return item == kTviRoot ? 0 : item;
    }
    STreeHandle PreviousVisibleItem(STreeHandle item) override
    {
        STreeHandle previous = Sibling(item, -1);
        if (!previous)
            return nodes[item].parent == kTviRoot ? 0 : nodes[item].parent;
        while (nodes[previous].expanded && !nodes[previous].children.empty())
            previous = nodes[previous].children.back();
        return previous;
    }
    STreeHandle NextVisibleItem(STreeHandle item) override
    {
        if (nodes[item].expanded && !nodes[item].children.empty())
            return nodes[item].children.front();
        for (; item && item != kTviRoot; item = nodes[item].parent) {
            if (STreeHandle next = Sibling(item, 1))
                return next;
        }
        return 0;
    }
    void ExpandItem(STreeHandle item, UINT code) override
    {
        bool was = nodes[item].expanded;
        bool is = code == 1 ? false : code == 2 ? true : !was;
        if (was == is)
            return;
        nodes[item].expanded = is;
        for (ITvDataSetObserver* observer : std::vector<ITvDataSetObserver*>(observers))
            observer->ExpansionChanged(item, was, is);
    }
    BOOL IsExpanded(STreeHandle item) override { return item == kTviRoot || nodes[item].expanded; }
    void SetExpandedState(STreeHandle item, BOOL expanded) override { nodes[item].expanded = expanded != FALSE; }
    void BindItemView(STreeHandle item, SWindow* itemWindow, pugi::xml_node) override
    {
        bound.push_back(item);
        windows.insert(itemWindow);
        if (SWindow* label = itemWindow ? itemWindow->LookupChildByName(SStringW(L"label")) : nullptr)
            label->AssignText(SStringW((L"item " + std::to_wstring(item)).c_str()));
    }
    int ItemViewType(STreeHandle) override { return 0; }
    int ViewTypeCount() override { return 1; }
    SIZE ItemDesiredSize(STreeHandle item, SWindow*, const RECT&) override { return nodes[item].size; }
    BOOL KeepsViewWidth() override { return keepWidth; }

    std::map<STreeHandle, Node> nodes;
    std::vector<ITvDataSetObserver*> observers;
    std::vector<STreeHandle> bound;
    std::set<SWindow*> windows; // every panel window a bind was given
    int firstChildWalks = 0;
    int lastChildWalks = 0;
    BOOL keepWidth = FALSE;

private:
    void RemoveBranch(STreeHandle item)
    {
        for (STreeHandle child : std::vector<STreeHandle>(nodes[item].children))
            RemoveBranch(child);
        nodes.erase(item);
    }
    STreeHandle Sibling(STreeHandle item, int step)
    {
        if (item == kTviRoot)
            return 0;
        const auto& siblings = nodes[nodes[item].parent].children;
        for (size_t i = 0; i < siblings.size(); ++i) {
            if (siblings[i] == item) {
                long next = static_cast<long>(i) + step;
                return next >= 0 && next < static_cast<long>(siblings.size()) ? siblings[next] : 0;
            }
        }
        return 0;
    }

    STreeHandle nextHandle = 1;
};

} // namespace treetest
