#include "models/ZVK6891/CDeviceHandler6891.h"
#include "models/ModelDescriptor.h"
#include "models/ZVK6891/CFileJoySetting6891.h"
#include "models/ZVK6891/CProfile6891.h"
#include "texts/ModelTexts.h"

namespace ZVK6891 {

namespace {

const ModelTexts& Texts()
{
    return ModelTextsOf(kModel6891.productId);
}

// Three layers, a strength per motor.
ModelParts Parts()
{
    const Profile6891Record& profile = Profile().Record();
    const Settings6891Record& settings = JoySetting().Record();
    std::vector<MappingLayerView> layers;
    for (const Layer6891& layer : profile.layers)
        layers.push_back(LayerView(layer));
    return {Profile(),
            [] { Profile().ResetDefaults(); },
            layers,
            JoySetting(),
            settings.deadZones,
            settings.leftAmplify,
            settings.rightAmplify,
            Texts(),
            kMenuButtons6891,
            kMenuAxes6891};
}

} // namespace

CDeviceHandler6891::CDeviceHandler6891()
    : CDeviceHandlerBase(kModel6891, Parts(), {{&m_keymapA, &m_keymapB}, m_settings, m_functionTest}),
      m_functionTest(k6891TestDesign, kModel6891.productId, JoySetting().Record().leftAmplify,
                     JoySetting().Record().rightAmplify, CFuctionTestHandler::kSendersInsideOrNone),
      m_keymapA(*this, Profile(), Texts(), kKeymapPage6891A), m_keymapB(*this, Profile(), Texts(), kKeymapPage6891B),
      m_settings(*this, kSettingPage6891, BindSettingFields(JoySetting().Record()), [] { JoySetting().ResetSettings(); })
{
}

} // namespace ZVK6891
