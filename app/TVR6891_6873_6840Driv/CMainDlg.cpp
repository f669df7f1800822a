#include "CMainDlg.h"
#include "MainTexts.h"
#include "texts/ModelTexts.h"
#include "ProgramFolder.h"
#include "SingleInstance.h"
#include "control/SImageWnd.h"
#include "control/STabCtrl.h"
#include "core/SEvents.h"
#include "device/QuietFlag.h"
#include "device/SecondDevice.h"
#include "device/SupportedDevices.h"
#include "models/ZVK6840/ModelFiles6840.h"
#include "models/ZVK6852/ModelFiles6852.h"
#include "models/ZVK6867/ModelFiles6867.h"
#include "models/ZVK6891/CFileJoySetting6891.h"
#include "models/ZVK6891/CProfile6891.h"
#include "res.mgr/SResLoaders.h"
#include "widgets/BringBack.h"

using namespace SKEIN;

namespace {

const wchar_t kDevicePages[] = L"tabctrl_devices";
const wchar_t kCloseButton[] = L"btn_close";
const wchar_t kMinimizeButton[] = L"btn_min";
const wchar_t kBackgroundImage[] = L"img_background";
const wchar_t kBackgroundFile[] = L"background.png";
const wchar_t kMainTextsFile[] = L"mainlang.xml";
// The caption buttons of the sub-pages, by sub-page number.
const wchar_t* const kSubPageButtons[] = {L"btn_keymapPage", L"btn_joystickSetting", L"btn_functionTest",
                                          L"btn_about"};
const int kSubPageCount = sizeof(kSubPageButtons) / sizeof(kSubPageButtons[0]);
const wchar_t kLogo[] = L"img_logo";
const HANDLE kInstancePropertyValue = reinterpret_cast<HANDLE>(1);

} // namespace

CMainDlg::CMainDlg()
    : SHostWnd(L"LAYOUT:XML_MAINWND"), m_handlers{&m_handler6891, &m_handler6867, &m_handler6852, &m_handler6840}
{
}

CMainDlg::CMainDlg(const DeviceHandlers& handlers) : SHostWnd(L"LAYOUT:XML_MAINWND"), m_handlers(handlers) {}

bool CMainDlg::HasLayout()
{
    return Find(kDevicePages) != nullptr;
}

BOOL CMainDlg::HandleWindowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result, DWORD mapId)
{
    switch (msg) {
    case WM_INITDIALOG:
        OnInitDialog();
        break;
    case WM_CLOSE:
        ShowWindow(SW_HIDE);
        break;
    case WM_COMMAND:
        if (HIWORD(wParam) != 0)
            return SHostWnd::HandleWindowMessage(hwnd, msg, wParam, lParam, result, mapId);
        OnCommand(LOWORD(wParam));
        break;
    case CHidDirectInputWnd::kMsgDeviceChanged:
        OnDeviceChanged();
        break;
    case CHidDirectInputWnd::kMsgPolled:
        OnPollTick();
        break;
    case WM_DESTROY:
        OnDestroy();
        return SHostWnd::HandleWindowMessage(hwnd, msg, wParam, lParam, result, mapId);
    default:
        return SHostWnd::HandleWindowMessage(hwnd, msg, wParam, lParam, result, mapId);
    }
    result = 0;
    return TRUE;
}

BOOL CMainDlg::OnHostEvent(EventArgs* evt)
{
    if (evt->GetId() == EventCmd::EventID && evt->nameFrom) {
        bool taken = true;
        if (wcscmp(evt->nameFrom, kCloseButton) == 0)
            ShowWindow(SW_HIDE);
        else if (wcscmp(evt->nameFrom, kMinimizeButton) == 0)
            SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
        else
            taken = SelectSubPageOfButton(evt->nameFrom);
        if (taken) {
            evt->bubbleUp = false;
            return TRUE;
        }
    }
    for (CDeviceHandlerBase* handler : m_handlers) {
        if (handler->DispatchEvent(evt))
            return TRUE;
    }
    return FALSE;
}

bool CMainDlg::SelectSubPageOfButton(const wchar_t* name)
{
    for (int index = 0; index < kSubPageCount; ++index) {
        if (wcscmp(name, kSubPageButtons[index]) == 0) {
            SelectSubPage(index);
            return true;
        }
    }
    return false;
}

void CMainDlg::OnInitDialog()
{
    ::SetPropW(m_hwnd, kInstanceName, kInstancePropertyValue);
    ShowBackgroundPicture();
    LoadStoredData();
    ApplyMainTexts();
    LoadAllModelTexts();
    AttachDevicePages();
    SelectSubPage(0);
    m_deviceWindow = CHidDirectInputWnd::Create(m_hwnd);
    LookUpSecondDevice();
    OnDeviceChanged();
}

// The device watcher and its poll timer end with the window.
void CMainDlg::OnDestroy()
{
    if (m_deviceWindow)
        m_deviceWindow->Destroy();
    m_deviceWindow = nullptr;
}

// "background.png" beside the program, when there is one and the layout has a window for it.
void CMainDlg::ShowBackgroundPicture()
{
    SStringW path = BesideProgram(kBackgroundFile);
    SImageWnd* image = dynamic_cast<SImageWnd*>(Find(kBackgroundImage));
    if (!image || ::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        return;
    if (IBitmap* bitmap = LoadBitmapFromFile(path.c_str())) {
        image->SetImage(bitmap, 0);
        bitmap->Release();
    }
}

// Every model's profile, then every model's settings, from their automatic files.
void CMainDlg::LoadStoredData()
{
    ISettingFileForAppPath* const stored[] = {&ZVK6891::Profile(),    &ZVK6867::Profile(),
                                              &ZVK6852::Profile(),    &ZVK6840::Profile(),
                                              &ZVK6891::JoySetting(), &ZVK6867::JoySetting(),
                                              &ZVK6852::JoySetting(), &ZVK6840::JoySetting()};
    for (ISettingFileForAppPath* file : stored)
        file->Load();
}

void CMainDlg::ApplyMainTexts()
{
    MainTexts& texts = CurrentMainTexts();
    texts.LoadFrom(BesideProgram(kMainTextsFile).c_str());
    if (!texts.loaded)
        return;
    ::SetWindowTextW(m_hwnd, texts.title.c_str());
    // The caption's title text follows the logo.
    SWindow* logo = Find(kLogo);
    if (SWindow* title = logo ? logo->GetRelative(kRelNextSibling) : nullptr)
        title->AssignText(texts.title);
}

void CMainDlg::AttachDevicePages()
{
    STabCtrl* pages = FindChildByName2<STabCtrl>(kDevicePages);
    for (int model = 0; pages && model < kModelCount; ++model) {
        if (SWindow* page = pages->PageAt(model))
            m_handlers[model]->AttachPage(page);
    }
}

void CMainDlg::ShowDevicePage(int page)
{
    if (STabCtrl* pages = FindChildByName2<STabCtrl>(kDevicePages))
        pages->SelectPage(page);
    BOOL modelPage = page != kNotInsertedPage;
    for (const wchar_t* name : kSubPageButtons) {
        if (SWindow* button = Find(name))
            button->ChangeVisibility(modelPage, TRUE);
    }
    if (SWindow* logo = Find(kLogo))
        logo->ChangeVisibility(modelPage, TRUE);
}

void CMainDlg::SelectSubPage(int index)
{
    for (int button = 0; button < kSubPageCount; ++button) {
        if (SWindow* window = Find(kSubPageButtons[button]))
            window->SetCheckedState(button == index, TRUE);
    }
    for (CDeviceHandlerBase* handler : m_handlers)
        handler->SelectSubPageByNumber(index);
}

void CMainDlg::OnCommand(WORD id)
{
    if (id == kCommandRestore) {
        BringBack(m_hwnd);
    } else if (id == kCommandExit) {
        ::RemovePropW(m_hwnd, kInstanceName);
        DestroyHost();
    }
}

int CMainDlg::DevicePageOf(USHORT vendorId, USHORT productId)
{
    for (int model = 0; vendorId == kSupportedVendorId && model < kModelCount; ++model) {
        if (kSupportedProductIds[model] == productId)
            return model;
    }
    return kNotInsertedPage;
}

void CMainDlg::OnDeviceChanged()
{
    CDirectInputJoy& joy = DirectInputJoy();
    int page = joy.HasDevice() ? DevicePageOf(joy.VendorId(), joy.ProductId()) : kNotInsertedPage;
    ShowDevicePage(page);
    if (page == kNotInsertedPage)
        return;
    QuietFlag = true;
    m_handlers[page]->SendMapping();
    m_handlers[page]->SendSettings();
    QuietFlag = false;
}

void CMainDlg::OnPollTick()
{
    for (CDeviceHandlerBase* handler : m_handlers)
        handler->Tick();
}
