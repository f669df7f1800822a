#pragma once
// The default font of a UI definition and the packed style word fonts are described by.
#include <windows.h>
#include <pugixml.hpp>
#include "core/SString.h"

namespace SKEIN {

// Bits 0-7 charset, 8-15 weight / 4 (rounded), 16 italic, 17 underline, 18 bold,
// 19 strike-out, 20-31 size.
typedef UINT32 FontStyleWord;

struct SFontStyle {
    int size;
    int charset;
    int weight;
    bool italic;
    bool underline;
    bool bold;
    bool strike;

    FontStyleWord Pack() const;
};

struct SDefaultFontInfo {
    SDefaultFontInfo();
    // The "font" element of a UI definition; the defaults where it is empty or says nothing.
    // A face that is not given or not installed becomes the default face.
    void Load(const pugi::xml_node& font);

    SStringW name;
    FontStyleWord style;
    SStringW face;
};

} // namespace SKEIN
