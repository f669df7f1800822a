#include "res.mgr/SResName.h"

namespace SKEIN {

int SplitResourceName(const wchar_t* id, SDynArray<SStringW>& pieces)
{
    SStringW text(id);
    int colon = text.FindChar(L':');
    if (colon < 0) {
        pieces.Add(text);
    } else {
        pieces.Add(text.LeftPart(colon));
        pieces.Add(text.RightPart(text.Length() - colon - 1));
    }
    return pieces.Count();
}

} // namespace SKEIN
