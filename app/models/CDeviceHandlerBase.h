#pragma once
// The part of a model's device handler that every model shares: the model's device page with
// its sub-pages ("tabctrl_funPages"), and what the main window calls on each handler. The
// operations of the pages still to come do nothing here: the sends send nothing and say so.
#include "core/SEventArgs.h"
#include "handlers/CMyHandlerBase.h"
#include "handlers/IDeviceHandler.h"
#include "models/MappingPopup.h"

namespace SKEIN {
class STabCtrl;
}

class CDeviceHandlerBase : public CMyHandlerBase, public IDeviceHandler {
public:
    // Takes the model's device page and shows its first sub-page.
    void AttachPage(SKEIN::SWindow* page) override;
    // Sub-page number of the main window's caption buttons (0 key mapping, 1 joystick settings,
    // 2 function test, 3 about); other numbers do nothing.
    virtual void SelectSubPageByNumber(int number) = 0;
    // An event of the main window, offered to the model's pages; nonzero when one consumed it.
    virtual BOOL DispatchEvent(SKEIN::EventArgs* evt);
    // The poll tick: the function-test page shows the joystick's state.
    virtual void Tick() {}

    void SelectSubPage(int index) override;

    void ImportProfile() override {}
    void ExportProfile() override {}
    int ApplyMapping() override { return 0; }
    int ApplySettings() override { return 0; }
    int RestoreDefaultMapping() override { return 0; }
    void KeyMappingPopup(int, int, UINT32*, UINT32) override {}
    void AxisMappingPopup(int, int, UINT32*, UINT32, bool) override {}
    bool SaveVibrationStrength() override { return true; }
    bool SendMapping() override { return false; }
    bool SendSettings() override { return false; }

protected:
    // The device page's "tabctrl_funPages", null while no page is attached or it has none.
    SKEIN::STabCtrl* SubPages() const;
    // The native window that hosts the device page; null without a page.
    HWND HostWindow() const;
    // The box that ends an apply: the connection warning when nothing was sent, an error when
    // the device took the data but the file could not be saved, else the applied text. The
    // box's result.
    static int ShowApplyResult(bool sent, bool saved);
    // Runs a mapping pop-up over the page's host window and stores its outcome in *code (only
    // codes of the target's class, or the default code).
    void RunMappingPopup(const MappingMenu& menu, MappingTarget target, int x, int y, UINT32* code,
                         UINT32 defaultCode, bool hideMouseMovement);
};
