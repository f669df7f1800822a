#include "files/COlderJoySetting.h"
#include <string.h>

COlderJoySetting::COlderJoySetting(const wchar_t* folder)
    : CRecordFile(RecordFileSpec{&kOlderSettingsLayout, 0, folder, kSettingsFileName, &kSettingsTransfer}, &m_record)
{
    memset(&m_record, 0, sizeof(m_record));
    UpdateChecksum();
    RestoreDefaults();
}
