#pragma once
// Resource ids: a type, a colon and a name ("LAYOUT:XML_MAINWND").
#include "core/SDynArray.h"
#include "core/SString.h"

namespace SKEIN {

// Appends the whole id when it holds no ':', otherwise the text before its first ':' and the
// text after it (which may hold further colons); returns the array's count. A null id counts
// as empty and gives one empty piece.
int SplitResourceName(const wchar_t* id, SDynArray<SStringW>& pieces);

} // namespace SKEIN
