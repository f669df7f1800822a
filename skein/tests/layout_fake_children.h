#pragma once
// A list of layout children without windows: each has its own parameter object, a preferred
// size (fixed or computed from the hints) and records the rectangle it is placed at.
#include <functional>
#include <vector>
#include "layout/SkeinLayoutUtil.h"

namespace layouttest {

using namespace SKEIN;

const RECT kNotPlaced = {-1, -1, -1, -1};

class FakeChildren : public SLayoutChildren {
public:
    typedef std::function<SIZE(int width, int height, ILayoutParam* param)> Measurer;

    // Takes over param (reference count 1); attributes are "name", "value" pairs.
    ILayoutParam* Add(ILayoutParam* param, std::vector<std::pair<const wchar_t*, const wchar_t*>> attributes,
                      SIZE preferred = {0, 0}, int id = 0)
    {
        for (auto& attribute : attributes)
            param->ApplyAttribute(SStringW(attribute.first), SStringW(attribute.second), TRUE);
        m_params.emplace_back(param, false);
        m_measurers.push_back([preferred](int, int, ILayoutParam*) { return preferred; });
        placed.push_back(kNotPlaced);
        SLayoutChildren::Add(SLayoutChild{nullptr, param, 100, id});
        return param;
    }
    void SetMeasurer(int i, Measurer measurer) { m_measurers[i] = measurer; }

    SIZE PreferredSize(int i, int width, int height) const override
    {
        hints.push_back({width, height});
        return m_measurers[i](width, height, m_params[i]);
    }
    void Place(int i, const RECT& rect) const override { placed[i] = rect; }

    mutable std::vector<RECT> placed;
    mutable std::vector<std::pair<int, int>> hints;

private:
    std::vector<SRefPtr<ILayoutParam>> m_params;
    std::vector<Measurer> m_measurers;
};

inline bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

} // namespace layouttest

inline std::ostream& operator<<(std::ostream& os, const RECT& r)
{
    return os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}
