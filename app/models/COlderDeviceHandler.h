#pragma once
// The device handler of the models with one mapping layer (6840, 6852, 6867): one
// implementation, told apart by the model's descriptor. Their device page has four sub-pages:
// key mapping, joystick settings, function test and about.
#include "models/CDeviceHandlerBase.h"

class COlderDeviceHandler : public CDeviceHandlerBase {
public:
    void SelectSubPageByNumber(int number) override;
};
