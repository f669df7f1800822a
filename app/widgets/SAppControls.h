#pragma once
// Registration of the program's own control classes, done once right after the application
// object is made and before the first layout is loaded.
#include "core/SApp.h"
#include "widgets/SAixsCtrl.h"
#include "widgets/SLampCtrl.h"
#include "widgets/SPovCtrl.h"
#include "widgets/SPovCtrlEx.h"
#include "widgets/SProgressExV.h"
#include "widgets/SShellNotifyIcon.h"
#include "widgets/SmyButton.h"

namespace SKEIN {

template <class... Classes>
struct SClassList {};

// The program's controls in the order they are registered.
using SAppControlClasses =
    SClassList<SLampCtrl, SPovCtrl, SAixsCtrl, SPovCtrlEx, SmyButton, SPovCtrlEx2, SProgressExV,
               SShellNotifyIcon>;

// Offers each class to registrar.AddWindowClass<T>() in list order; results are ignored (an
// earlier registration of a tag stays in place).
template <class Registrar, class... Classes>
void RegisterClassList(Registrar& registrar, SClassList<Classes...>)
{
    (static_cast<void>(registrar.template AddWindowClass<Classes>()), ...);
}

inline void RegisterAppControls(SApplication& app)
{
    RegisterClassList(app, SAppControlClasses());
}

} // namespace SKEIN
