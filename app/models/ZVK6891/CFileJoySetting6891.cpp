#include "models/ZVK6891/CFileJoySetting6891.h"
#include <string.h>

namespace ZVK6891 {

namespace {

const wchar_t kFolder[] = L"6891";

} // namespace

CFileJoySetting6891::CFileJoySetting6891()
    : CRecordFile(RecordFileSpec{&kSettings6891Layout, 0, kFolder, kSettingsFileName, &kSettingsTransfer}, &m_record)
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
