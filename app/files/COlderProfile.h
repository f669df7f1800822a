#pragma once
// The profile of an older model (6840, 6852, 6867): one layer of button codes, turbo speeds and
// axis codes, kept in the model's "Profile.qmj" and moved through "*.qmf" files.
#include "files/CRecordFile.h"
#include "files/MappingLayers.h"
#include "files/ProfileRecords.h"

struct ModelDescriptor;

class COlderProfile : public CRecordFile, public IMappingLayers {
public:
    explicit COlderProfile(const ModelDescriptor& model);

    // Layer 0 back to its defaults; nothing is saved or sent.
    void RestoreDefaults() { ResetLayer(m_record.layer); }
    // The older models have layer 0 only: other indexes are ignored.
    void SelectLayer(UINT index) override;
    UINT CurrentLayerIndex() const override { return 0; }
    MappingLayerRef EditedLayer() override
    {
        return {m_record.layer.keyCode, m_record.layer.turbo, m_record.layer.axisCode};
    }
    OlderLayer& CurrentLayer() { return m_record.layer; }
    const OlderProfileRecord& Record() const { return m_record; }

    bool ExportToFile() const { return ExportRecord(); }
    bool ImportFromFile() { return ImportRecord(); }

private:
    OlderProfileRecord m_record;
};
