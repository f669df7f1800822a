#include "protocol/SendPlan.h"
#include "protocol/CommandBatch.h"

namespace {

bool SendKeys(CommandBatch& batch, const ModelDescriptor& model, BYTE layer, const MappingLayerView& view)
{
    for (int button = 1; button <= kButtonCount; ++button) {
        if (HasButton(model.keyButtons, button) && !batch.KeyMap(layer, static_cast<BYTE>(button), view.keyCode[button - 1]))
            return false;
    }
    return true;
}

bool SendAxes(CommandBatch& batch, const ModelDescriptor& model, BYTE layer, const MappingLayerView& view)
{
    for (const AxisSend& send : model.axisPlan) {
        if (!batch.AxisMap(layer, send.axisId, view.axisCode[send.source]))
            return false;
    }
    return true;
}

bool SendTurbo(CommandBatch& batch, const ModelDescriptor& model, BYTE layer, const MappingLayerView& view)
{
    for (int button = 1; button <= kButtonCount; ++button) {
        if (HasButton(model.turboButtons, button) && !batch.Turbo(layer, static_cast<BYTE>(button), view.turbo[button - 1]))
            return false;
    }
    return true;
}

} // namespace

bool SendMappingPlan(const ModelDescriptor& model, const MappingLayerView* layers)
{
    CommandBatch batch;
    for (auto loop : {SendKeys, SendAxes, SendTurbo}) {
        for (int layer = 0; layer < model.layerCount; ++layer) {
            if (!loop(batch, model, static_cast<BYTE>(layer), layers[layer]))
                return false;
        }
    }
    return batch.Ok();
}

bool SendDeadZonePlan(const ModelDescriptor& model, const UINT32* deadZones)
{
    CommandBatch batch;
    for (int layer = 0; layer < model.layerCount; ++layer) {
        for (const AxisSend& send : model.deadZonePlan) {
            if (!batch.DeadZone(static_cast<BYTE>(layer), send.axisId, deadZones[send.source]))
                return false;
        }
    }
    return batch.Ok();
}
