#pragma once
// The device handler of the models with one mapping layer (6840, 6852, 6867): one
// implementation, told apart by the model's descriptor. Their device page has four sub-pages:
// key mapping, joystick settings, function test and about.
#include "files/COlderJoySetting.h"
#include "models/CDeviceHandlerBase.h"
#include "pages/FunctionTestHandler.h"

class COlderDeviceHandler : public CDeviceHandlerBase {
public:
    COlderDeviceHandler(USHORT productId, COlderJoySetting& settings);

    void SelectSubPageByNumber(int number) override;
    void SelectSubPage(int index) override;
    BOOL DispatchEvent(SKEIN::EventArgs* evt) override;
    void Tick() override { m_functionTest.Tick(); }

protected:
    void AttachSubPages(SKEIN::STabCtrl& pages) override;

private:
    CFuctionTestHandler m_functionTest;
};
