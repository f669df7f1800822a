#pragma once
// The key-mapping sub-page of the one-layer models: one button per device button showing what
// it sends, a turbo switch per button, the axis buttons, and the commands import, export, apply
// and default. Edits change the profile's layer in memory; only apply sends and saves.
#include "handlers/CMyHandlerBase.h"
#include "handlers/IDeviceHandler.h"

class COlderProfile;
class ModelTexts;

class CKeymapPageHandler : public CMyHandlerBase {
public:
    CKeymapPageHandler(IDeviceHandler& device, COlderProfile& profile, const ModelTexts& texts);

    // Stores the page, then relabels.
    void AttachPage(SKEIN::SWindow* page) override;
    // Commands of the page; nonzero when taken.
    BOOL HandlePageEvent(SKEIN::EventArgs* evt);
    // Every control shows the profile's layer again.
    void Relabel();

private:
    void OnClick(const wchar_t* name);
    void SetText(const wchar_t* name, const SKEIN::SStringW& text);
    void Show(const wchar_t* name, bool show);

    IDeviceHandler& m_device;
    COlderProfile& m_profile;
    const ModelTexts& m_texts;
};
