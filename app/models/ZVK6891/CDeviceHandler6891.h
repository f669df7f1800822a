#pragma once
// The device handler of model 6891. Its device page has five sub-pages: key mapping A and B,
// joystick settings, function test and about; the key-mapping button of the caption shows the
// key-mapping page seen last.
#include "models/CDeviceHandlerBase.h"
#include "pages/FunctionTestHandler.h"

namespace ZVK6891 {

class CDeviceHandler6891 : public CDeviceHandlerBase {
public:
    CDeviceHandler6891();

    // Gives the sub-pages to their handlers, then shows the first.
    void AttachPage(SKEIN::SWindow* page) override;
    void SelectSubPageByNumber(int number) override;
    void SelectSubPage(int index) override;
    BOOL DispatchEvent(SKEIN::EventArgs* evt) override;
    void Tick() override { m_functionTest.Tick(); }

private:
    CFuctionTestHandler m_functionTest;
    int m_lastKeymapPage = -1; // 0 page A, 1 page B, -1 none shown yet
};

} // namespace ZVK6891
