#pragma once
// What the key-mapping pages edit of a profile, whatever its record: the current layer's key
// codes, turbo speeds and axis slots in place, and the choice of that layer.
#include <windows.h>

struct MappingLayerRef {
    UINT32* keyCode;
    UINT32* turbo;
    UINT32* axisCode;
};

class IMappingLayers {
public:
    virtual MappingLayerRef EditedLayer() = 0;
    virtual UINT CurrentLayerIndex() const = 0;
    // Indexes the profile does not have are ignored.
    virtual void SelectLayer(UINT index) = 0;

protected:
    ~IMappingLayers() = default;
};
