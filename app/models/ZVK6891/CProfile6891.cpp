#include "models/ZVK6891/CProfile6891.h"
#include "models/ModelDescriptor.h"

namespace ZVK6891 {

CProfile6891::CProfile6891()
    : CRecordFile(RecordFileSpec{&kProfile6891Layout, kModel6891.productId, kModel6891.folder, kModel6891.profileFile,
                                 &kProfileTransfer},
                  &m_record)
{
    InitProfile(m_record, kModel6891.productId, kModel6891.profileName);
    UpdateChecksum();
    ResetDefaults();
}

void CProfile6891::ResetDefaults()
{
    for (Layer6891& layer : m_record.layers)
        ResetLayer(layer);
}

void CProfile6891::SelectLayer(UINT index)
{
    if (index < static_cast<UINT>(k6891LayerCount))
        m_record.currentLayer = index;
}

CProfile6891& Profile()
{
    static CProfile6891 profile;
    return profile;
}

} // namespace ZVK6891
