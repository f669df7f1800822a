#pragma once
// The program's main window, built from "LAYOUT:XML_MAINWND": it shows the page of the
// connected model (or the page saying none is), switches the four sub-pages of every model
// together, passes the 33 ms poll tick to the models' handlers, hides to the tray instead of
// closing and carries the single-instance property through which a second start reaches it.
#include <array>
#include "core/SHostWnd.h"
#include "device/CHidDirectInputWnd.h"
#include "models/ZVK6840/CDeviceHandler6840.h"
#include "models/ZVK6852/CDeviceHandler6852.h"
#include "models/ZVK6867/CDeviceHandler6867.h"
#include "models/ZVK6891/CDeviceHandler6891.h"

class CMainDlg : public SKEIN::SHostWnd {
public:
    static constexpr int kModelCount = 4;
    // The pages of "tabctrl_devices": one per model in handler order, then this one.
    static constexpr int kNotInsertedPage = kModelCount;
    // The device handlers in model order: 6891, 6867, 6852, 6840.
    using DeviceHandlers = std::array<CDeviceHandlerBase*, kModelCount>;

    CMainDlg();
    // Drives the given handlers (not owned) in place of its own.
    explicit CMainDlg(const DeviceHandlers& handlers);

    // Whether the layout gave the window its device pages.
    bool HasLayout();
    // Page of "tabctrl_devices"; the caption's sub-page buttons and logo show on a model's page
    // only.
    void ShowDevicePage(int page);
    // The page of a device: the model's page for a supported one, else kNotInsertedPage.
    static int DevicePageOf(USHORT vendorId, USHORT productId);
    // Checks the caption button of the sub-page and shows that sub-page on every model's page.
    void SelectSubPage(int index);

    BOOL HandleWindowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result,
                             DWORD mapId) override;
    BOOL OnHostEvent(SKEIN::EventArgs* evt) override;

private:
    void OnInitDialog();
    void ShowBackgroundPicture();
    void LoadStoredData();
    void ApplyMainTexts();
    void AttachDevicePages();
    bool SelectSubPageOfButton(const wchar_t* name);
    void OnCommand(WORD id);
    // The joystick found or gone: its model's page, and its stored mapping and settings sent to
    // it without error boxes.
    void OnDeviceChanged();
    void OnPollTick();
    void OnDestroy();
    SKEIN::SWindow* Find(const wchar_t* name) { return LookupChildByName(name); }

    ZVK6891::CDeviceHandler6891 m_handler6891;
    ZVK6867::CDeviceHandler6867 m_handler6867;
    ZVK6852::CDeviceHandler6852 m_handler6852;
    ZVK6840::CDeviceHandler6840 m_handler6840;
    DeviceHandlers m_handlers;
    CHidDirectInputWnd* m_deviceWindow = nullptr;
};
