#pragma once
// A list adapter for the adapter-driven views' tests: a number of items, a view type and a
// height per item (both changeable), a record of every call a view makes ("type 3", "bind 3",
// "size 3"), the panel windows it was handed, and the observers it reports changes to.
#include <functional>
#include <set>
#include <string>
#include <vector>
#include "core/SWnd.h"
#include "interface/SAdapter-i.h"

namespace adaptertest {

using namespace SKEIN;

class RecordingListAdapter : public TObjRefImpl<ListItemAdapter> {
public:
    explicit RecordingListAdapter(int count, int viewTypes = 1) : count(count), viewTypes(viewTypes) {}

    void RegisterObserver(ILvDataSetObserver* observer) override { observers.push_back(observer); }
    void UnregisterObserver(ILvDataSetObserver* observer) override
    {
        for (size_t i = 0; i < observers.size(); ++i) {
            if (observers[i] == observer) {
                observers.erase(observers.begin() + i);
                ++unregistered;
                return;
            }
        }
    }
    int ItemCount() override { return count; }
    void BindItemView(int index, SWindow* itemWindow, pugi::xml_node) override
    {
        Record(L"bind", index);
        windows.insert(itemWindow);
        boundState = itemWindow ? itemWindow->GetStateFlags() : 0;
        if (SWindow* label = itemWindow ? itemWindow->LookupChildByName(SStringW(L"label")) : nullptr)
            label->AssignText(SStringW((L"item " + std::to_wstring(index)).c_str()));
        if (onBind)
            onBind(index, itemWindow);
    }
    int ItemViewType(int index, DWORD state) override
    {
        Record(L"type", index);
        lastState = state;
        return viewType ? viewType(index) : 0;
    }
    int ViewTypeCount() override { return viewTypes; }
    SIZE ItemDesiredSize(int index, SWindow*, const RECT& rect) override
    {
        Record(L"size", index);
        proposed = rect;
        return SIZE{rect.right - rect.left, height ? height(index) : 20};
    }
    SStringW ItemDescription(int index) override { return SStringW(std::to_wstring(index).c_str()); }

    void NotifyChanged()
    {
        for (ILvDataSetObserver* observer : std::vector<ILvDataSetObserver*>(observers))
            observer->DataChanged();
    }
    void NotifyInvalidated()
    {
        for (ILvDataSetObserver* observer : std::vector<ILvDataSetObserver*>(observers))
            observer->DataInvalidated();
    }
    void NotifyItemChanged(int index)
    {
        for (ILvDataSetObserver* observer : std::vector<ILvDataSetObserver*>(observers))
            observer->ItemDataChanged(index);
    }

    // Calls of one kind ("bind", "size", "type"), in order.
    std::vector<int> Calls(const std::wstring& kind) const
    {
        std::vector<int> indices;
        for (const auto& call : calls) {
            if (call.first == kind)
                indices.push_back(call.second);
        }
        return indices;
    }
    std::vector<std::wstring> CallLog() const
    {
        std::vector<std::wstring> log;
        for (const auto& call : calls)
            log.push_back(call.first + L" " + std::to_wstring(call.second));
        return log;
    }

    int count;
    int viewTypes;
    std::function<int(int)> viewType;
    std::function<int(int)> height;
    std::function<void(int, SWindow*)> onBind;
    std::vector<std::pair<std::wstring, int>> calls;
    std::set<SWindow*> windows; // every panel window a bind was given
    std::vector<ILvDataSetObserver*> observers;
    int unregistered = 0;
    DWORD lastState = 0;
    DWORD boundState = 0;
    RECT proposed = {0, 0, 0, 0};

private:
    void Record(const wchar_t* kind, int index) { calls.emplace_back(kind, index); }
};

} // namespace adaptertest
