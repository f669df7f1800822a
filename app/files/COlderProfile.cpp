#include "files/COlderProfile.h"

COlderProfile::COlderProfile(const OlderModelFiles& model)
    : CRecordFile(RecordFileSpec{&kOlderProfileLayout, model.productId, model.folder, kProfileFileName, &kProfileTransfer},
                  &m_record)
{
    InitProfile(m_record, model.productId, model.profileName);
    UpdateChecksum();
    RestoreDefaults();
}

void COlderProfile::SelectLayer(UINT index)
{
    if (index == 0)
        m_record.currentLayer = 0;
}
