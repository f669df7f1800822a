#pragma once
// The joysticks the program drives, and how their HID interfaces are recognised in device
// arrival and removal notices.
#include <windows.h>
#include <string>
#include "models/ModelDescriptor.h"

constexpr USHORT kSupportedVendorId = kVendorId;
// Product ids (the model numbers) in model-priority order: a probe takes the first one found.
constexpr USHORT kSupportedProductIds[] = {kModels[0]->productId, kModels[1]->productId, kModels[2]->productId,
                                           kModels[3]->productId};
static_assert(sizeof(kSupportedProductIds) / sizeof(USHORT) == sizeof(kModels) / sizeof(kModels[0]),
              "every model is supported");

// The interface name of a WM_DEVICECHANGE notice (its lParam): only a device-interface
// broadcast whose stated size holds its header and a terminated name within that size; false
// for anything else (null, another device type, too short, no terminator).
bool ReadInterfaceName(LPARAM data, std::wstring& name);

// The supported product id whose "vid_%04x&pid_%04x&mi_00" text the interface name holds,
// compared without regard to case, in model-priority order; 0 when none.
USHORT MatchSupportedInterface(const std::wstring& name);
