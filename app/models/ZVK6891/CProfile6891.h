#pragma once
// Model 6891's profile: three layers of button codes, turbo speeds and axis codes, kept in the
// model's "Profile.qmj" and moved through "*.qmf" files. The key-mapping pages edit the current
// layer.
#include "files/CRecordFile.h"
#include "files/MappingLayers.h"
#include "files/ProfileRecords.h"

namespace ZVK6891 {

class CProfile6891 : public CRecordFile, public IMappingLayers {
public:
    CProfile6891();

    // Every layer back to its defaults; ids, name and current layer stay.
    void ResetDefaults();
    // Layers 0..2; other indexes are ignored.
    void SelectLayer(UINT index) override;
    UINT CurrentLayerIndex() const override { return m_record.currentLayer; }
    MappingLayerRef EditedLayer() override
    {
        Layer6891& layer = CurrentLayer();
        return {layer.keyCode, layer.turbo, layer.axisCode};
    }
    Layer6891& CurrentLayer() { return m_record.layers[m_record.currentLayer]; }
    const Profile6891Record& Record() const { return m_record; }

    bool CheckProfile() const { return CheckRecord(); }
    // Loading and importing keep the current layer.
    bool ExportToFile() const { return ExportRecord(); }
    bool ImportFromFile() { return ImportRecord(); }

private:
    Profile6891Record m_record;
};

// The program's one profile of model 6891.
CProfile6891& Profile();

} // namespace ZVK6891
