#pragma once
// The device handler of model 6891. Its device page has five sub-pages: key mapping A and B,
// joystick settings, function test and about; the key-mapping button of the caption shows the
// key-mapping page seen last.
#include "models/CDeviceHandlerBase.h"

namespace ZVK6891 {

class CDeviceHandler6891 : public CDeviceHandlerBase {
public:
    void SelectSubPageByNumber(int number) override;
    void SelectSubPage(int index) override;

private:
    int m_lastKeymapPage = -1; // 0 page A, 1 page B, -1 none shown yet
};

} // namespace ZVK6891
