#pragma once
// What the main window and the page handlers may ask of a model's device handler.
#include <windows.h>

class IDeviceHandler {
public:
    // Import and export the profile through a file the user chooses.
    virtual void ImportProfile() = 0;
    virtual void ExportProfile() = 0;
    // SendMapping / SendSettings, then save and tell the user; the message box's result.
    virtual int ApplyMapping() = 0;
    virtual int ApplySettings() = 0;
    // Restores the default mapping after a yes/no question; the message box's result.
    virtual int RestoreDefaultMapping() = 0;
    // Shows sub-page index of the model's device page.
    virtual void SelectSubPage(int index) = 0;
    // The mapping pop-up menus at a screen point; a choice is stored in *code.
    virtual void KeyMappingPopup(int x, int y, UINT32* code, UINT32 defaultCode) = 0;
    virtual void AxisMappingPopup(int x, int y, UINT32* code, UINT32 defaultCode, bool hideMouseMovement) = 0;
    // Writes the vibration strengths to the registry.
    virtual bool SaveVibrationStrength() = 0;
    // Sends the stored mapping / settings to the device; true on success. Silent while the quiet
    // flag is set.
    virtual bool SendMapping() = 0;
    virtual bool SendSettings() = 0;

protected:
    ~IDeviceHandler() = default;
};
