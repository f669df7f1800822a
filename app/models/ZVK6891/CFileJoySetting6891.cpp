#include "models/ZVK6891/CFileJoySetting6891.h"
#include <string.h>
#include "models/ModelDescriptor.h"

namespace ZVK6891 {

CFileJoySetting6891::CFileJoySetting6891()
    : CRecordFile(RecordFileSpec{&kSettings6891Layout, 0, kModel6891.folder, kModel6891.settingsFile, &kSettingsTransfer},
                  &m_record)
{
    memset(&m_record, 0, sizeof(m_record));
    UpdateChecksum();
    ResetSettings();
}

CFileJoySetting6891& JoySetting()
{
    static CFileJoySetting6891 settings;
    return settings;
}

} // namespace ZVK6891
