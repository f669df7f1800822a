// The interface the game-controller control panel uses to get a device's
// property sheet, with the sheet and page descriptions it reads.
#pragma once

#include "DirectInput7.h"

// Description of the whole sheet, in the panel's layout.
struct DIGCSHEETINFO {
    DWORD size;
    USHORT pageCount;
    LPWSTR caption;
    BOOL iconFlag;   // icon is a resource id
    LPWSTR icon;
};

// Description of one page, in the panel's layout.
struct DIGCPAGEINFO {
    DWORD size;
    LPWSTR title;          // null: the dialog template's caption
    DLGPROC procedure;
    BOOL procedureFlag;
    FARPROC prePostProcedure;
    BOOL iconFlag;         // icon is a resource id
    LPWSTR icon;
    LPWSTR dialogTemplate; // dialog resource id
    LPARAM parameter;
    HINSTANCE module;
};

// {7854FB22-8EE3-11D0-A1AC-0000F8026977}
inline const IID IID_IDIGameCntrlPropSheet = {
    0x7854FB22, 0x8EE3, 0x11D0, {0xA1, 0xAC, 0x00, 0x00, 0xF8, 0x02, 0x69, 0x77}};

struct IDIGameCntrlPropSheet : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetSheetInfo(DIGCSHEETINFO** info) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetPageInfo(DIGCPAGEINFO** pages) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetID(USHORT id) = 0;
    virtual HRESULT STDMETHODCALLTYPE Initialize() = 0;
    virtual USHORT STDMETHODCALLTYPE GetID() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDevice(IDirectInputDevice2A** device) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetDevice(IDirectInputDevice2A* device) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetJoyConfig(IDirectInputJoyConfig** config) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetJoyConfig(IDirectInputJoyConfig* config) = 0;
};
