#include "protocol/CommandChannel.h"
#include "device/CDirectInputJoy.h"

std::unique_ptr<IHidChannel> OpenCommandChannel(CDirectInputJoy& joy, bool overlapped)
{
    std::wstring path;
    if (!joy.InterfacePath(path))
        return nullptr;
    return DeviceAccess().OpenHid(path, overlapped);
}
