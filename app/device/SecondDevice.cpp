#include "device/SecondDevice.h"

namespace {

constexpr USHORT kVendorId = 0x0E93;
constexpr USHORT kProductId = 0x7C25;
constexpr USHORT kUsagePage = 0xFFC0;
constexpr USHORT kUsage = 1;
constexpr USHORT kInputReportLength = 33;
constexpr USHORT kOutputReportLength = 65;
constexpr USHORT kFeatureReportLength = 0;
constexpr USHORT kLinkCollectionNodes = 1;

std::wstring& StoredPath()
{
    static std::wstring path;
    return path;
}

} // namespace

bool IsSecondDevice(const HidInterfaceInfo& info)
{
    return info.vendorId == kVendorId && info.productId == kProductId && info.usagePage == kUsagePage &&
           info.usage == kUsage && info.inputReportLength == kInputReportLength &&
           info.outputReportLength == kOutputReportLength && info.featureReportLength == kFeatureReportLength &&
           info.linkCollectionNodes == kLinkCollectionNodes;
}

void LookUpSecondDevice()
{
    std::wstring& stored = StoredPath();
    stored.clear();
    DeviceAccess().EnumPresentHid([&](const HidInterfaceInfo& info) {
        if (!IsSecondDevice(info))
            return true;
        stored = info.path;
        return false;
    });
}

const std::wstring& SecondDevicePath()
{
    return StoredPath();
}
