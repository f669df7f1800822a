#pragma once
// What skins and skin pools need from the application: images by resource id, objects by
// class name and the named values. Unless another answer is installed with SetSkinEnv (tests
// and tools do), the application object and the current UI definition answer.
#include "core/SObjectFactory.h"
#include "interface/SRender-i.h"
#include "layout/SLayoutSize.h"

namespace SKEIN {

struct ISkinEnv {
    // "type:name" image, one reference for the caller; null when absent.
    virtual IBitmap* LoadImage(const wchar_t* id) = 0;
    // A new object (reference count 1) of the key's class, null for an unknown class.
    virtual IObject* CreateObject(const SObjectInfo& key) = 0;
    // "@color/" references and literal colours; 0x00FFFFFF when the text gives no colour.
    virtual COLORREF ResolveColor(const SStringW& text) = 0;
    // "@string/" references; other texts unchanged.
    virtual SStringW ResolveString(const SStringW& text) = 0;
    // "@dim/" references and literal sizes.
    virtual SLayoutSize ResolveDimension(const SStringW& text) = 0;

protected:
    ~ISkinEnv() {}
};

// Not owned; null goes back to the application's answers.
void SetSkinEnv(ISkinEnv* env);
// Never null.
ISkinEnv* GetSkinEnv();

} // namespace SKEIN
