// The object the game-controller panel creates for one device: it describes
// the four property pages and holds the device the pages work with.
#pragma once

#include "GameCntrlPropSheet.h"

namespace pelko {

const int kPageCount = 4;

class CDIGameCntrlPropSheet final : public IDIGameCntrlPropSheet {
public:
    CDIGameCntrlPropSheet();

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IDIGameCntrlPropSheet
    HRESULT STDMETHODCALLTYPE GetSheetInfo(DIGCSHEETINFO** info) override;
    HRESULT STDMETHODCALLTYPE GetPageInfo(DIGCPAGEINFO** pages) override;
    HRESULT STDMETHODCALLTYPE SetID(USHORT id) override;
    HRESULT STDMETHODCALLTYPE Initialize() override;
    USHORT STDMETHODCALLTYPE GetID() override;
    HRESULT STDMETHODCALLTYPE GetDevice(IDirectInputDevice2A** device) override;
    HRESULT STDMETHODCALLTYPE SetDevice(IDirectInputDevice2A* device) override;
    HRESULT STDMETHODCALLTYPE GetJoyConfig(IDirectInputJoyConfig** config) override;
    HRESULT STDMETHODCALLTYPE SetJoyConfig(IDirectInputJoyConfig* config) override;

    // Direct access for the pages (no reference added).
    IDirectInputDevice2A* Device() const { return device_; }
    IDirectInputJoyConfig* JoyConfig() const { return config_; }

private:
    ~CDIGameCntrlPropSheet();

    DIGCSHEETINFO sheet_ = {};
    DIGCPAGEINFO pages_[kPageCount] = {};
    IDirectInputDevice2A* device_ = nullptr;
    IDirectInputJoyConfig* config_ = nullptr;
    LONG references_ = 0;
    USHORT id_ = USHORT(-1);
};

} // namespace pelko
