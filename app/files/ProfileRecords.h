#pragma once
// The profile records: the older models' one-layer profile (388 bytes) and model 6891's
// three-layer profile (864 bytes). Each struct is the file image; its layout says which bytes
// are summed, checked and taken over.
#include <stddef.h>
#include "files/RecordLayout.h"

inline constexpr wchar_t kProfileFileName[] = L"Profile.qmj";

const int kButtonCount = 26;
const int kOlderAxisSlots = 7;
const int k6891AxisSlots = 10;
const int k6891LayerCount = 3;
const int kProfileNameUnits = 50;
const int kOlderReservedWords = 8;

// Button i+1 sends keyCode[i] with turbo speed turbo[i] (0 off, 20 on); the axis slots are
// X-, X+, Y-, Y+, Rz-, Rz+, Z.
struct OlderLayer {
    UINT32 keyCode[kButtonCount];
    UINT32 turbo[kButtonCount];
    UINT32 reserved[kOlderReservedWords];
    UINT32 axisCode[kOlderAxisSlots];
};

struct OlderProfileRecord {
    UINT32 header;                  // memory only
    BYTE checksum;                  // of name .. layer
    BYTE pad[3];
    WCHAR name[kProfileNameUnits];
    UINT16 vendorId;
    UINT16 productId;
    OlderLayer layer;
    INT32 currentLayer;             // always 0
    UINT32 currentLayerRef;         // memory only
};

// The axis slots are X-/X, X+, Y-/Y, Y+, RZ-/RZ, RZ+, RX, RY, Z, slider.
struct Layer6891 {
    UINT32 keyCode[kButtonCount];
    UINT32 turbo[kButtonCount];
    UINT32 axisCode[k6891AxisSlots];
};

struct Profile6891Record {
    UINT32 header;                  // memory only
    BYTE checksum;                  // of name .. layers
    BYTE pad[3];
    WCHAR name[kProfileNameUnits];
    UINT16 vendorId;
    UINT16 productId;
    Layer6891 layers[k6891LayerCount];
    UINT32 currentLayer;            // written, never taken over
    UINT32 currentLayerRef;         // memory only
};

static_assert(sizeof(OlderLayer) == 268 && sizeof(Layer6891) == 248, "layer sizes");
static_assert(sizeof(OlderProfileRecord) == 388 && offsetof(OlderProfileRecord, vendorId) == 108 &&
                  offsetof(OlderProfileRecord, layer) == 112 && offsetof(OlderProfileRecord, currentLayer) == 380,
              "older profile layout");
static_assert(sizeof(Profile6891Record) == 864 && offsetof(Profile6891Record, vendorId) == 108 &&
                  offsetof(Profile6891Record, layers) == 112 && offsetof(Profile6891Record, currentLayer) == 856,
              "6891 profile layout");

extern const RecordLayout kOlderProfileLayout;
extern const RecordLayout kProfile6891Layout;

// A zeroed record with our vendor id, the product id and the name (defaults not yet applied).
void InitProfile(OlderProfileRecord& record, UINT16 productId, const wchar_t* name);
void InitProfile(Profile6891Record& record, UINT16 productId, const wchar_t* name);

// Button n sends button n, every axis slot its own joystick axis, no turbo.
void ResetLayer(OlderLayer& layer);
void ResetLayer(Layer6891& layer);
