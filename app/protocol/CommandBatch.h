#pragma once
// One batch of feature reports to the current joystick on one command channel, opened when the
// batch starts and closed when it ends. The first report that is refused or not sent stops the
// batch: later reports are neither built nor sent. Each failure is told in an error box (active
// window, no caption) unless QuietFlag is set.
#include <memory>
#include "device/DeviceAccess.h"
#include "protocol/FeatureReport.h"

class CommandBatch {
public:
    // Opens the channel of DirectInputJoy()'s current device; a batch without one fails at once.
    CommandBatch();
    ~CommandBatch();
    CommandBatch(const CommandBatch&) = delete;
    CommandBatch& operator=(const CommandBatch&) = delete;

    // True while the channel is open and nothing has failed.
    bool Ok() const { return m_channel && !m_failed; }

    // Each sends one report and returns whether it was sent; false at once after a failure.
    bool KeyMap(BYTE layer, BYTE button, UINT32 code);
    bool Turbo(BYTE layer, BYTE button, UINT32 speed);
    bool AxisMap(BYTE layer, BYTE axisId, UINT32 code);
    bool DeadZone(BYTE layer, BYTE axisId, UINT32 value);

private:
    bool Send(const std::wstring& parseError, const FeatureReport& report);
    bool Fail(const std::wstring& text);

    std::unique_ptr<IHidChannel> m_channel;
    bool m_failed = false;
};
