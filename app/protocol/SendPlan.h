#pragma once
// A model's stored mapping and dead zones sent as its descriptor plans them: each call is one
// batch on one command channel that stops at the first failure.
#include "files/ProfileRecords.h"
#include "models/ModelDescriptor.h"

// One mapping layer as the plans read it: 26 key codes, 26 turbo speeds, the axis slots.
struct MappingLayerView {
    const UINT32* keyCode;
    const UINT32* turbo;
    const UINT32* axisCode;
};

inline MappingLayerView LayerView(const OlderLayer& layer) { return {layer.keyCode, layer.turbo, layer.axisCode}; }
inline MappingLayerView LayerView(const Layer6891& layer) { return {layer.keyCode, layer.turbo, layer.axisCode}; }

// The key loop over every layer, then the axis loop, then the turbo loop; layers holds
// model.layerCount views. False without a channel or at the first failure.
bool SendMappingPlan(const ModelDescriptor& model, const MappingLayerView* layers);
// The dead-zone plan with the same values into every layer; deadZones is indexed by the plan's
// sources. False without a channel or at the first failure.
bool SendDeadZonePlan(const ModelDescriptor& model, const UINT32* deadZones);
inline bool SendDeadZonePlan(const ModelDescriptor& model, const INT32* deadZones)
{
    return SendDeadZonePlan(model, reinterpret_cast<const UINT32*>(deadZones));
}
