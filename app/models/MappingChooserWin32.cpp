// The real mapping chooser: the program's popup menu from "smenuex:menuex_Fun" filled with the
// pop-up's items, and the on-screen keyboard and mouse picker dialogs.
#include "models/MappingChooser.h"
#include "dialogs/SKeyboad.h"
#include "dialogs/SMouseDialog.h"
#include "widgets/SMenuEx2.h"

using namespace SKEIN;

namespace {

const wchar_t kMenuResource[] = L"smenuex:menuex_Fun";
const UINT kAppend = 0xFFFFFFFF;
const int kMenuScale = 100;

void AddItems(SMenuEx2& menu, const std::vector<MappingMenuItem>& items, bool separators, bool topLevel)
{
    for (const MappingMenuItem& item : items) {
        UINT flags = kMenuAddByPosition;
        if (topLevel && item.id == kMenuJoystick)
            flags |= kMenuAddSubMenu;
        menu.AddItem(kAppend, flags, static_cast<int>(item.id), item.text.c_str());
        if (separators)
            menu.AddItem(kAppend, kMenuAddByPosition | kMenuAddSeparator, 0, L"");
    }
}

class CMappingChooserWin32 : public IMappingChooser {
public:
    int RunMenu(const MappingMenu& menu, POINT at, HWND owner) override
    {
        SMenuEx2 popup;
        if (!BuildMappingMenu(popup, menu))
            return 0;
        return popup.RunPopup(kMenuReturnCmd, at.x, at.y, owner, kMenuScale);
    }
    PickerAnswer PickKey(HWND owner) override
    {
        SKeyboad keyboard;
        int result = keyboard.RunModal(owner);
        return {result, static_cast<UINT32>(keyboard.Value())};
    }
    PickerAnswer PickMouse(HWND owner, bool hideMovement) override
    {
        SMouseDialog mouse;
        mouse.SetHideMovement(hideMovement);
        int result = mouse.RunModal(owner);
        return {result, static_cast<UINT32>(mouse.Value())};
    }
};

IMappingChooser* g_installed = nullptr;

} // namespace

bool BuildMappingMenu(SMenuEx2& popup, const MappingMenu& menu)
{
    if (!popup.LoadFromResource(kMenuResource))
        return false;
    AddItems(popup, menu.items, menu.separators, true);
    SMenuEx2* sub = popup.SubMenuOfItem(kMenuJoystick);
    if (sub && sub->LoadFromResource(kMenuResource))
        AddItems(*sub, menu.subItems, menu.separators, false);
    return true;
}

IMappingChooser& MappingChooser()
{
    static CMappingChooserWin32 real;
    return g_installed ? *g_installed : real;
}

void SetMappingChooser(IMappingChooser* chooser)
{
    g_installed = chooser;
}
