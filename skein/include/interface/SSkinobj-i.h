#pragma once
// A skin draws one visual state of a control into a rectangle. Skins are counted objects that
// XML creates by class name (object kind 2) and that the skin pools keep by name and scale.
#include <windows.h>
#include "core/SObjRef.h"
#include "core/SObject.h"
#include "interface/SRender-i.h"

namespace SKEIN {

// Colour value meaning "not set" in skins, styles and menus.
const COLORREF kColorUnset = 0x00FFFFFF;

struct ISkinObj : public IObjRef, public IObject {
    // Draw with the skin's own alpha.
    virtual void DrawByState(IRenderTarget* rt, const RECT* rect, int state) = 0;
    virtual void Draw(IRenderTarget* rt, const RECT* rect, int state, BYTE alpha) = 0;
    // Natural size of one state in pixels.
    virtual SIZE GetSkinSize() const = 0;
    virtual BOOL IsStateless() const = 0;
    virtual int GetStateCount() const = 0;
    virtual BYTE GetAlpha() const = 0;
    virtual void SetAlpha(BYTE alpha) = 0;
    // Recolours towards the colour's hue; 0 restores the skin.
    virtual void ApplyColorize(COLORREF color) = 0;
    // The scale (percent) the skin is made for.
    virtual int GetScale() const = 0;
    // A new skin of the same class for another scale (one reference for the caller), or null.
    virtual ISkinObj* CreateScaledCopy(int scale) = 0;
    // Copies this skin's settings into target (a skin of the same class), resized for scale.
    virtual void CopySettingsTo(ISkinObj* target, int scale) const = 0;
};

} // namespace SKEIN
