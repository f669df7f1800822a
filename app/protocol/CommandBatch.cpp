#include "protocol/CommandBatch.h"
#include "device/CDirectInputJoy.h"
#include "device/QuietFlag.h"
#include "prompt/UserPrompt.h"
#include "protocol/CommandChannel.h"

CommandBatch::CommandBatch() : m_channel(OpenCommandChannel(DirectInputJoy())) {}

CommandBatch::~CommandBatch() = default;

bool CommandBatch::KeyMap(BYTE layer, BYTE button, UINT32 code)
{
    FeatureReport report;
    return Ok() && Send(BuildKeyMapReport(layer, button, code, report), report);
}

bool CommandBatch::Turbo(BYTE layer, BYTE button, UINT32 speed)
{
    FeatureReport report;
    return Ok() && Send(BuildTurboReport(layer, button, speed, report), report);
}

bool CommandBatch::AxisMap(BYTE layer, BYTE axisId, UINT32 code)
{
    FeatureReport report;
    return Ok() && Send(BuildAxisMapReport(layer, axisId, code, report), report);
}

bool CommandBatch::DeadZone(BYTE layer, BYTE axisId, UINT32 value)
{
    FeatureReport report;
    return Ok() && Send(BuildDeadZoneReport(layer, axisId, value, report), report);
}

bool CommandBatch::Send(const std::wstring& parseError, const FeatureReport& report)
{
    if (!parseError.empty())
        return Fail(parseError);
    if (!m_channel->SetFeature(report.bytes, FeatureReport::kSize))
        return Fail(SendErrorText(static_cast<DeviceCommand>(report.bytes[1]), report.bytes[3]));
    return true;
}

bool CommandBatch::Fail(const std::wstring& text)
{
    m_failed = true;
    if (!QuietFlag)
        UserPrompt().ShowMessage(::GetActiveWindow(), text.c_str(), nullptr, MB_ICONERROR);
    return false;
}
