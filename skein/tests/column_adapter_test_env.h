#pragma once
// A column adapter for the multi-column list view: count items whose windows col0, col1 ...
// show the columns (filled by onBind when set), hidden columns, item heights measured against
// the offered rectangle (30 unless measure is set), and a record of sorts and binds.
#include <algorithm>
#include <functional>
#include <set>
#include <vector>
#include "core/SWnd.h"
#include "interface/SAdapter-i.h"

namespace adaptertest {

using namespace SKEIN;

class TestColumnAdapter : public TObjRefImpl<ColumnListAdapter> {
public:
    explicit TestColumnAdapter(int count) : count(count) {}

    void RegisterObserver(ILvDataSetObserver* observer) override { observers.push_back(observer); }
    void UnregisterObserver(ILvDataSetObserver* observer) override
    {
        observers.erase(std::remove(observers.begin(), observers.end(), observer), observers.end());
    }
    int ItemCount() override { return count; }
    void BindItemView(int index, SWindow* itemWindow, pugi::xml_node) override
    {
        ++binds;
        if (onBind)
            onBind(index, itemWindow);
    }
    int ItemViewType(int, DWORD) override { return 0; }
    int ViewTypeCount() override { return 1; }
    SIZE ItemDesiredSize(int index, SWindow*, const RECT& rect) override
    {
        offered = rect;
        return SIZE{rect.right - rect.left, measure ? measure(index, rect) : 30};
    }
    SStringW ItemDescription(int) override { return SStringW(); }
    SStringW ColumnName(int column) override { return SStringW((L"col" + std::to_wstring(column)).c_str()); }
    BOOL IsColumnVisible(int column) override { return hidden.count(column) == 0; }
    // The clicked column sorts ascending (1), then descending (2); the others lose their flag.
    BOOL SortColumns(int column, UINT* flags, int columnCount) override
    {
        sorts.push_back(column);
        for (int i = 0; i < columnCount; ++i)
            flags[i] = i == column ? (flags[i] == 1 ? 2 : 1) : 0;
        return sortAccepted;
    }
    void NotifyChanged()
    {
        for (ILvDataSetObserver* observer : std::vector<ILvDataSetObserver*>(observers))
            observer->DataChanged();
    }

    int count;
    int binds = 0;
    std::function<void(int, SWindow*)> onBind;
    std::function<int(int, const RECT&)> measure;
    RECT offered = {0, 0, 0, 0};
    std::set<int> hidden;
    std::vector<int> sorts;
    BOOL sortAccepted = TRUE;
    std::vector<ILvDataSetObserver*> observers;
};

} // namespace adaptertest
