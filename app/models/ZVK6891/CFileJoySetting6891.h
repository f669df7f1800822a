#pragma once
// Model 6891's settings: seven dead zones and the strengths of the two motors, kept in the
// model's "JoySetting.qmj".
#include "files/CRecordFile.h"
#include "files/SettingsRecords.h"

namespace ZVK6891 {

class CFileJoySetting6891 : public CRecordFile {
public:
    CFileJoySetting6891();

    // Dead zones 0, both motors 95; nothing is saved or sent.
    void ResetSettings() { ::ResetSettings(m_record); }
    Settings6891Record& Record() { return m_record; }
    const Settings6891Record& Record() const { return m_record; }

    bool CheckSettings() const { return CheckRecord(); }
    void UpdateSettingsChecksum() { UpdateChecksum(); }
    bool ExportSettings() const { return ExportRecord(); }
    bool ImportSettings() { return ImportRecord(); }

private:
    Settings6891Record m_record;
};

// The program's one settings record of model 6891.
CFileJoySetting6891& JoySetting();

} // namespace ZVK6891
