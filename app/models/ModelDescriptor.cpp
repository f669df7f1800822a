#include "models/ModelDescriptor.h"

static_assert(sizeof(kOlderAxisSends) / sizeof(AxisSend) == kOlderAxisSlots, "one report per older axis slot");
static_assert(sizeof(kOlderDeadZoneSends) / sizeof(AxisSend) == kOlderDeadZoneCount, "one report per dead zone");
static_assert(sizeof(kAxisSends6891) / sizeof(AxisSend) == k6891AxisSlots, "one report per axis slot");
static_assert(sizeof(kDeadZoneSends6891) / sizeof(AxisSend) == k6891DeadZoneCount, "one report per dead zone");

const ModelDescriptor* FindModel(USHORT productId)
{
    for (const ModelDescriptor* model : kModels) {
        if (model->productId == productId)
            return model;
    }
    return nullptr;
}
