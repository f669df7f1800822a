#pragma once
// The device handler of every model: its device page with the sub-pages of "tabctrl_funPages"
// (the key-mapping pages, the joystick settings, the function test, the about page), what the
// main window calls on it, and the operations its pages ask for, over the model's descriptor,
// its profile and settings files and its texts. A model gives its data and its page handlers.
#include <functional>
#include <vector>
#include "core/SEventArgs.h"
#include "handlers/CMyHandlerBase.h"
#include "handlers/IDeviceHandler.h"
#include "models/MappingPopup.h"
#include "protocol/SendPlan.h"

namespace SKEIN {
class STabCtrl;
}

class CFuctionTestHandler;
class CJoySettingPageHandler;
class CKeymapPageHandler;
class CRecordFile;
class ModelTexts;

// What a model's handler works on besides its descriptor. The pointers into the records stay
// valid for the run: loads and imports copy into the records in place.
struct ModelParts {
    CRecordFile& profile;
    std::function<void()> restoreProfile; // the mapping back to its defaults
    std::vector<MappingLayerView> layers; // the descriptor's layers, as sent
    CRecordFile& settings;
    const UINT32* deadZones;              // indexed by the dead-zone plan's sources
    const UINT32& leftStrength;           // the motors' strengths, written to the registry
    const UINT32& rightStrength;
    const ModelTexts& texts;              // the pop-ups' words and names
    int menuButtons;                      // joystick buttons the key pop-up offers
    int menuAxes;                         // whole axes the axis pop-up offers
};

// The handlers of the sub-pages in the order of "tabctrl_funPages": the key-mapping pages,
// the settings page, the function-test page; the about page that follows has none. Not owned.
struct SubPageHandlers {
    std::vector<CKeymapPageHandler*> keymaps;
    CJoySettingPageHandler& settings;
    CFuctionTestHandler& functionTest;
};

class CDeviceHandlerBase : public CMyHandlerBase, public IDeviceHandler {
public:
    // Gives the sub-pages to their handlers, then shows the first.
    void AttachPage(SKEIN::SWindow* page) override;
    // Sub-page number of the main window's caption buttons: 0 the key-mapping page seen last,
    // then joystick settings, function test and about; other numbers do nothing.
    virtual void SelectSubPageByNumber(int number);
    // An event of the main window, offered to the key-mapping pages, the function-test page and
    // the settings page; then any command from inside the device page is taken with no effect.
    // Nonzero when taken.
    virtual BOOL DispatchEvent(SKEIN::EventArgs* evt);
    // The poll tick: the function-test page shows the joystick's state.
    virtual void Tick();

    void SelectSubPage(int index) override;
    void ImportProfile() override;
    void ExportProfile() override;
    int ApplyMapping() override;
    int ApplySettings() override;
    int RestoreDefaultMapping() override;
    void KeyMappingPopup(int x, int y, UINT32* code, UINT32 defaultCode) override;
    void AxisMappingPopup(int x, int y, UINT32* code, UINT32 defaultCode, bool hideMouseMovement) override;
    // Each motor's strength into its registry value; true also when the registry refuses.
    bool SaveVibrationStrength() override;
    // Every layer of the profile in one batch.
    bool SendMapping() override;
    // The dead zones into every layer, then the strengths into the registry; false at once
    // while the joystick does not answer polls.
    bool SendSettings() override;

protected:
    // The page handlers are members of the derived class: only their addresses are taken here.
    CDeviceHandlerBase(const ModelDescriptor& model, ModelParts parts, SubPageHandlers pages);

private:
    // The device page's "tabctrl_funPages", null while no page is attached or it has none.
    SKEIN::STabCtrl* SubPages() const;
    // The native window that hosts the device page; null without a page.
    HWND HostWindow() const;
    int SettingsPageIndex() const { return static_cast<int>(m_pages.keymaps.size()); }
    int FunctionTestPageIndex() const { return SettingsPageIndex() + 1; }
    // The key-mapping pages relabel, the settings page shows the record again.
    void RefreshPages();
    // The box that ends an apply: the connection warning when nothing was sent, an error when
    // the device took the data but the file could not be saved, else the applied text. The
    // box's result; 0 and no box once the page is gone.
    int ShowApplyResult(bool sent, bool saved) const;
    // Runs a mapping pop-up over the page's host window and stores its outcome in *code (only
    // codes of the target's class, or the default code).
    void RunMappingPopup(const MappingMenu& menu, MappingTarget target, int x, int y, UINT32* code,
                         UINT32 defaultCode, bool hideMouseMovement);

    const ModelDescriptor& m_model;
    ModelParts m_parts;
    SubPageHandlers m_pages;
    int m_lastKeymapPage = 0;
};
