#include "models/COlderDeviceHandler.h"
#include "files/COlderJoySetting.h"
#include "files/COlderProfile.h"
#include "models/ModelDescriptor.h"

namespace {

// The one layer, one strength for both motors.
ModelParts OlderParts(COlderProfile& profile, COlderJoySetting& settings, const ModelTexts& texts)
{
    const OlderSettingsRecord& record = settings.Record();
    return {profile,
            [&profile] { profile.RestoreDefaults(); },
            {LayerView(profile.CurrentLayer())},
            settings,
            reinterpret_cast<const UINT32*>(record.deadZones),
            record.strength,
            record.strength,
            texts,
            kOlderMenuButtons,
            kOlderMenuAxes};
}

} // namespace

COlderDeviceHandler::COlderDeviceHandler(const ModelDescriptor& model, COlderProfile& profile,
                                         COlderJoySetting& settings, const ModelTexts& texts)
    : CDeviceHandlerBase(model, OlderParts(profile, settings, texts), {{&m_keymap}, m_settings, m_functionTest}),
      m_functionTest(kOlderTestDesign, model.productId, settings.Record().strength, settings.Record().strength,
                     CFuctionTestHandler::kSendersInside),
      m_keymap(*this, profile, texts), m_settings(*this, settings)
{
}
