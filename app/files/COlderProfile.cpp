#include "files/COlderProfile.h"
#include "models/ModelDescriptor.h"

COlderProfile::COlderProfile(const ModelDescriptor& model)
    : CRecordFile(RecordFileSpec{&kOlderProfileLayout, model.productId, model.folder, model.profileFile, &kProfileTransfer},
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
