#pragma once
// Creation of the built-in providers by kind; the caller runs Init itself.
#include "interface/SResProvider-i.h"

namespace SKEIN {

enum {
    kResProviderPE = 0,    // SResProviderPE: resources of a module
    kResProviderFiles = 1, // SResProviderFiles: a folder with "uires.idx"
};

// true with a new provider in out (one reference for the caller); other kinds create nothing.
bool MakeBuiltinResProvider(int kind, IResProvider** out);

} // namespace SKEIN
