#include "pages/FunctionTestHandler.h"
#include "control/SProgress.h"
#include "core/SEvents.h"
#include "core/SWnd.h"
#include "device/CDirectInputJoy.h"
#include "interface/SwndContainer-i.h"
#include "widgets/SAixsCtrl.h"
#include "widgets/SLampCtrl.h"
#include "widgets/SPovCtrlEx.h"

using namespace SKEIN;

namespace {

const wchar_t kStatus[] = L"imgconnectStatus";
const wchar_t kStatusSkins[2][40] = {L"skin_connectStatus_Noconnected_png", L"skin_connectStatus_connected_png"};

} // namespace

CFuctionTestHandler::CFuctionTestHandler(const FunctionTestDesign& design, USHORT productId,
                                         const UINT32& leftStrength, const UINT32& rightStrength, SenderRule senders)
    : m_design(design), m_productId(productId), m_leftStrength(leftStrength), m_rightStrength(rightStrength),
      m_senders(senders)
{
}

void CFuctionTestHandler::AttachPage(SWindow* page)
{
    CMyHandlerBase::AttachPage(page);
    m_shownConnection = -1;
    if (!page)
        return;
    m_status = Control<SWindow>(kStatus);
    m_stick = Control<SAixsCtrl>(L"AixctrXY");
    m_hat = Control<SPovCtrlEx>(L"PovEx1");
    m_secondHat = m_design.secondHat ? Control<SPovCtrlEx>(L"PovEx2") : nullptr;
    wchar_t name[16];
    for (int i = 0; i < m_design.lampCount; ++i) {
        swprintf(name, 16, L"lamp%d", i + 1);
        m_lamps[i] = Control<SLampCtrl>(name);
        swprintf(name, 16, L"%d", i + 1);
        m_lampTexts[i] = name;
    }
    for (int i = 0; i < m_design.modeLampCount; ++i) {
        swprintf(name, 16, L"mode%d", i + 1);
        m_modeLamps[i] = Control<SLampCtrl>(name);
    }
    for (int i = 0; i < m_design.barCount; ++i)
        m_bars[i] = Control<SProgress>(m_design.bars[i].name);
}

BOOL CFuctionTestHandler::HandlePageEvent(EventArgs* evt)
{
    if (evt->GetId() != EventCmd::EventID || !SentFromPage(evt))
        return FALSE;
    if (m_senders == kSendersInside && !dynamic_cast<SWindow*>(evt->sender))
        return FALSE;
    evt->bubbleUp = false;
    return TRUE;
}

bool CFuctionTestHandler::HostInFront() const
{
    SWindow* page = Page();
    ISwndContainer* container = page ? page->GetHostContainer() : nullptr;
    HWND host = container ? container->GetHostHwnd() : nullptr;
    return host && !::IsIconic(host) && (::GetWindowLongW(host, GWL_STYLE) & WS_VISIBLE) &&
           ::GetForegroundWindow() == host;
}

void CFuctionTestHandler::Tick()
{
    if (!m_active || !HostInFront())
        return;
    CDirectInputJoy& joy = DirectInputJoy();
    JoyReading reading = {joy.Responding(), joy.VendorId(), joy.ProductId(),
                          joy.HasDevice() ? &joy.State() : nullptr};
    FunctionTestView view = ComputeFunctionTestView(m_design, m_productId, reading, {m_leftStrength, m_rightStrength});
    Show(view);
    // Held, the button restarts the preview on every tick.
    if (view.vibrate)
        joy.StartVibrationTest(view.left, view.right, kPreviewDurationMs);
}

void CFuctionTestHandler::ShowConnection(bool connected)
{
    // Setting the picture redraws it: only a change does.
    if (!m_status || m_shownConnection == static_cast<int>(connected))
        return;
    m_shownConnection = connected;
    m_status->ApplyAttribute(SStringW(L"skin"), SStringW(kStatusSkins[connected]), FALSE);
}

void CFuctionTestHandler::Show(const FunctionTestView& view)
{
    ShowConnection(view.connected);
    if (m_stick)
        m_stick->SetAxisXY(view.axisX, view.axisY);
    if (m_hat)
        m_hat->SetPovValue(view.hat);
    if (m_secondHat)
        m_secondHat->SetPovValue(view.secondHat);
    for (int i = 0; i < m_design.lampCount; ++i) {
        if (SLampCtrl* lamp = m_lamps[i]) {
            lamp->lampText = m_lampTexts[i];
            lamp->SetLampState(view.lamps[i]);
        }
    }
    if (!view.connected)
        return;
    for (int i = 0; i < m_design.modeLampCount; ++i) {
        if (m_modeLamps[i])
            m_modeLamps[i]->SetLampState(view.modeLamps[i]);
    }
    for (int i = 0; i < m_design.barCount; ++i) {
        if (m_bars[i])
            m_bars[i]->SetClampedValue(view.bars[i]);
    }
}
