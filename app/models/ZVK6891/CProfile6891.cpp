#include "models/ZVK6891/CProfile6891.h"

namespace ZVK6891 {

namespace {

const UINT16 kProductId = 6891;
const wchar_t kFolder[] = L"6891";
const wchar_t kProfileName[] = L"ZVK689Profile";

} // namespace

CProfile6891::CProfile6891()
    : CRecordFile(RecordFileSpec{&kProfile6891Layout, kProductId, kFolder, kProfileFileName, &kProfileTransfer},
                  &m_record)
{
    InitProfile(m_record, kProductId, kProfileName);
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
