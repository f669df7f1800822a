#include "files/ProfileRecords.h"
#include <string.h>
#include <wchar.h>

namespace {

const UINT32 kButtonClass = 0xF1;
const UINT32 kAxisClass = 0xF3;

// A joystick mapping code: class in byte 2, sub-type 0 (joystick) in byte 1, value in byte 0.
UINT32 JoystickCode(UINT32 mappingClass, UINT32 value)
{
    return (mappingClass << 16) | value;
}

// The axis each slot sends by default: the axis itself (a split axis as a whole in both halves).
const BYTE kOlderDefaultAxes[kOlderAxisSlots] = {0x21, 0x21, 0x23, 0x23, 0x26, 0x26, 0x25};
const BYTE k6891DefaultAxes[k6891AxisSlots] = {0x21, 0x21, 0x23, 0x23, 0x26, 0x26, 0x28, 0x29, 0x25, 0x2A};

template <class Layer, size_t AxisSlots>
void ResetButtonsAndAxes(Layer& layer, const BYTE (&axes)[AxisSlots])
{
    for (int i = 0; i < kButtonCount; ++i) {
        layer.keyCode[i] = JoystickCode(kButtonClass, i + 1);
        layer.turbo[i] = 0;
    }
    for (size_t slot = 0; slot < AxisSlots; ++slot)
        layer.axisCode[slot] = JoystickCode(kAxisClass, axes[slot]);
}

template <class Record>
void InitRecord(Record& record, UINT16 productId, const wchar_t* name)
{
    memset(&record, 0, sizeof(record));
    record.vendorId = kVendorId;
    record.productId = productId;
    wcsncpy(record.name, name, kProfileNameUnits - 1);
}

// Both profiles: the checksum covers and a load takes over everything from the name up to the
// current layer; the header and the layer reference mean something in memory only.
template <class Record>
constexpr RecordLayout ProfileLayout()
{
    return RecordLayout{sizeof(Record),
                        offsetof(Record, checksum),
                        offsetof(Record, name), offsetof(Record, currentLayer),
                        offsetof(Record, name), offsetof(Record, currentLayer),
                        {offsetof(Record, header), offsetof(Record, currentLayerRef)}, kMaxMemoryOnlyFields,
                        offsetof(Record, vendorId), offsetof(Record, productId)};
}

} // namespace

const RecordLayout kOlderProfileLayout = ProfileLayout<OlderProfileRecord>();
const RecordLayout kProfile6891Layout = ProfileLayout<Profile6891Record>();

void InitProfile(OlderProfileRecord& record, UINT16 productId, const wchar_t* name)
{
    InitRecord(record, productId, name);
}

void InitProfile(Profile6891Record& record, UINT16 productId, const wchar_t* name)
{
    InitRecord(record, productId, name);
}

void ResetLayer(OlderLayer& layer)
{
    ResetButtonsAndAxes(layer, kOlderDefaultAxes);
}

void ResetLayer(Layer6891& layer)
{
    ResetButtonsAndAxes(layer, k6891DefaultAxes);
}
