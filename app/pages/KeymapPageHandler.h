#pragma once
// A key-mapping sub-page: one button per device button showing what it sends, a turbo switch per
// button, the axis buttons of the page's design, the layer buttons "btn_mode0..2", the design's
// button to another sub-page, and the commands import, export, apply and default. Edits change
// the profile's current layer in memory; only apply sends and saves.
#include "handlers/CMyHandlerBase.h"
#include "handlers/IDeviceHandler.h"
#include "pages/KeymapLabels.h"

class IMappingLayers;
class ModelTexts;

class CKeymapPageHandler : public CMyHandlerBase {
public:
    CKeymapPageHandler(IDeviceHandler& device, IMappingLayers& profile, const ModelTexts& texts,
                       const KeymapPageDesign& design = kOlderKeymapPage);

    // Stores the page, then relabels.
    void AttachPage(SKEIN::SWindow* page) override;
    // Commands of the page; nonzero when taken.
    BOOL HandlePageEvent(SKEIN::EventArgs* evt);
    // Every control shows the profile's layer again.
    void Relabel();

private:
    void OnClick(const wchar_t* name);
    bool OnAxisClick(const wchar_t* name, POINT at);
    void SetText(const wchar_t* name, const SKEIN::SStringW& text);
    void Show(const wchar_t* name, bool show);

    IDeviceHandler& m_device;
    IMappingLayers& m_profile;
    const ModelTexts& m_texts;
    const KeymapPageDesign& m_design;
};
