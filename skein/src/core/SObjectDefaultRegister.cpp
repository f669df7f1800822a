#include "core/SObjectDefaultRegister.h"
#include "control/SActiveX.h"
#include "control/SCalendarEx.h"
#include "control/SCaption.h"
#include "control/SCmnCtrl.h"
#include "control/SComboBox.h"
#include "control/SComboView.h"
#include "control/SDateTimePicker.h"
#include "control/SEdit.h"
#include "control/SHeaderCtrl.h"
#include "control/SHotKeyCtrl.h"
#include "control/SListBox.h"
#include "control/SListCtrl.h"
#include "control/SListView.h"
#include "control/SMCListView.h"
#include "control/SMenuBar.h"
#include "control/SPanel.h"
#include "control/SRealWnd.h"
#include "control/SScrollBar.h"
#include "control/SScrollView.h"
#include "control/SSliderBar.h"
#include "control/SSpinButtonCtrl.h"
#include "control/SSplitWnd.h"
#include "control/STileView.h"
#include "control/STreeView.h"
#include "control/STabCtrl.h"
#include "control/STreeCtrl.h"
#include "core/SWnd.h"
#include "layout/SGridLayout.h"
#include "layout/SInterpolatorImpl.h"
#include "layout/SLinearLayout.h"
#include "layout/SkeinLayout.h"
#include "skin/SSkinButton.h"
#include "skin/SSkinColorRect.h"
#include "skin/SSkinGradation.h"
#include "skin/SSkinGroup.h"
#include "skin/SSkinImgFrame.h"
#include "skin/SSkinScrollbar.h"
#include "skin/SSkinShape.h"

namespace SKEIN {

namespace {

// One factory per class, in the order given, without replacing a registered key.
template <class... Classes>
void RegisterClasses(SObjectFactoryMgr& factories)
{
    (factories.AddFactory(TplSObjectFactory<Classes>(), FALSE), ...);
}

} // namespace

// Each kind's table grows here as its classes are built.

void SObjectDefaultRegister::RegisterLayouts(SObjectFactoryMgr& factories) const
{
    RegisterClasses<SkeinLayout, SLinearLayout, SHBox, SVBox, SGridLayout>(factories);
}

void SObjectDefaultRegister::RegisterSkins(SObjectFactoryMgr& factories) const
{
    RegisterClasses<SSkinImgList, SSkinImgCenter, SSkinImgFrame, SSkinImgFrame2, SSkinButton, SSkinGradation,
                    SSkinScrollbar, SSkinColorRect, SSkinShape, SSKinGroup>(factories);
}

void SObjectDefaultRegister::RegisterWindows(SObjectFactoryMgr& factories) const
{
    RegisterClasses<SWindow, SPanel, SStatic, SButton, SImageWnd, SProgress, SImageButton, SLine, SCheckBox, SIconWnd,
                    SRadioBox, SLink, SGroup, SAnimateImgWnd, SScrollView, SRealWnd, SToggle, SCaption,
                    STabCtrl, STabPage, SSplitPane, SSplitWnd, SSplitWnd_Col, SSplitWnd_Row, SSliderBar,
                    SScrollBar>(factories);
    // Text editing.
    RegisterClasses<SRichEdit, SEdit>(factories);
    // Adapter-driven views.
    RegisterClasses<SListView, SHeaderCtrl, SMCListView, STileView, STreeView>(factories);
    // List box, drop-downs and dates.
    RegisterClasses<SListBox, SComboBox, SComboView, SCalendar, SCalendarEx, SDateTimePicker>(factories);
    // Item controls that hold their own data.
    RegisterClasses<SListCtrl, STreeCtrl>(factories);
    // Spin button, hot-key control, menu bar and the ActiveX hosts.
    RegisterClasses<SActiveX, SFlashCtrl, SHotKeyCtrl, SSpinButtonCtrl, SMenuBar>(factories);
}

void SObjectDefaultRegister::RegisterInterpolators(SObjectFactoryMgr& factories) const
{
    RegisterClasses<SLinearInterpolator, SAccelerateInterpolator, SDecelerateInterpolator,
                    SAccelerateDecelerateInterpolator, SAnticipateInterpolator, SAnticipateOvershootInterpolator,
                    SBounceInterpolator, SCycleInterpolator, SOvershootInterpolator>(factories);
}

} // namespace SKEIN
