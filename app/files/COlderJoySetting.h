#pragma once
// The settings of an older model (6840, 6852, 6867): four dead zones and the vibration
// strength, kept in the model's "JoySetting.qmj".
#include "files/CRecordFile.h"
#include "files/SettingsRecords.h"

class COlderJoySetting : public CRecordFile {
public:
    // folder: the model's data folder name.
    explicit COlderJoySetting(const wchar_t* folder);

    // Dead zones 0, strength 95; nothing is saved or sent.
    void RestoreDefaults() { ResetSettings(m_record); }
    OlderSettingsRecord& Record() { return m_record; }
    const OlderSettingsRecord& Record() const { return m_record; }

private:
    OlderSettingsRecord m_record;
};
