#pragma once
// The program's own drawn popup menu: the framework's popup-menu engine in a family of its own
// with its own run, built from "SMENUEX" resources and filled in code (AddItem) before it runs.
// Its levels are created without a parent window; the owner given to RunPopup becomes the
// owner of the shown menu and must be a window that can hold the foreground.
#include "control/SMenuEx.h"

namespace SKEIN {

// Flags of SMenuEx2::AddItem.
enum {
    kMenuAddSubMenu = 0x10,
    kMenuAddByPosition = 0x400,
    kMenuAddSeparator = 0x800,
};

class SMenuEx2RunData : public SMenuExRunData {
public:
    SMenuEx2RunData(HWND owner, int scale) : SMenuExRunData(owner, scale) {}
};

class SMenuEx2Root : public SMenuExRootBase {
    SKEIN_CLASS_NAME(SWindow, L"menuRoot")

public:
    explicit SMenuEx2Root(SMenuExBase* ownerMenu) : SMenuExRootBase(ownerMenu) {}

protected:
    // "iconPos" parts are plain sizes; one value centres the icon as -1000 in the default unit.
    SLayoutSize IconPosPart(const SStringW& text) const override { return SLayoutSize(text.c_str()); }
    SLayoutSize CentredIconY() const override { return SLayoutSize(-1000.0f, SLayoutSize::DefaultUnit()); }
};

class SMenuEx2Item : public SMenuExItemBase {
    SKEIN_CLASS_NAME(SWindow, L"menuItem")

public:
    SMenuEx2Item(SMenuExBase* ownerMenu, ISkinObj* skin) : SMenuExItemBase(ownerMenu, skin, false) {}

protected:
    SMenuEx2Item(SMenuExBase* ownerMenu, ISkinObj* skin, bool separator) : SMenuExItemBase(ownerMenu, skin, separator) {}
};

class SMenuEx2Sep : public SMenuEx2Item {
    SKEIN_CLASS_NAME(SMenuEx2Item, L"sep")

public:
    SMenuEx2Sep(SMenuExBase* ownerMenu, ISkinObj* skin) : SMenuEx2Item(ownerMenu, skin, true) {}
};

class SMenuEx2 : public SMenuExBase {
public:
    explicit SMenuEx2(SMenuEx2Item* parentItem = nullptr) : SMenuExBase(parentItem, s_run) {}

    BOOL LoadFromResource(const wchar_t* resName) { return LoadMenuResource(resName); }
    BOOL BuildFromXml(pugi::xml_node element) { return BuildMenu(element); }
    // Adds an item or separator (flags kMenuAdd*) before the anchor: the root's child at index
    // anchor with kMenuAddByPosition (none past the last child: appended), else the item whose
    // id is anchor at any depth (none: nothing is added). A menu not yet loaded takes nothing.
    // Returns 0.
    int AddItem(UINT anchor, UINT flags, int id, const wchar_t* text);
    // The sub-menu of the item with that id; null (with a log line when no such item exists).
    SMenuEx2* SubMenuOfItem(int id);
    // Ends the running SMenuEx2 with id, when one runs.
    static void FinishRunningMenu(int id) { FinishRun(s_run, id); }
    int GetContextHelpId() const { return Root() ? Root()->m_contextHelpId : 0; }
    void SetContextHelpId(int id);

    SMenuExItemBase* NewItem(bool separator, ISkinObj* skin) override;
    SMenuExBase* NewSubMenu(SMenuExItemBase* parentItem) override;

protected:
    SMenuExRootBase* NewRoot() override { return new SMenuEx2Root(this); }
    SMenuExRunData* NewRunData(HWND owner, int scale) const override { return new SMenuEx2RunData(owner, scale); }
    HWND WindowParent() const override { return nullptr; }
    // The owner itself, made the owner of the menu's window.
    HWND EffectiveOwner(HWND owner) override;
    bool TopLevelSendsInitPopup() const override { return false; }
    bool TopLevelFlipsDown() const override { return false; }

private:
    static SMenuExRunData* s_run;
};

} // namespace SKEIN
