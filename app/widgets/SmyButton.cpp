// The program's push button.
#include "widgets/SmyButton.h"
#include "layout/SLayout-i.h"
#include "res.mgr/SSkinPoolMgr.h"

namespace SKEIN {

namespace {

const WORD kNoFade = 255;

ISkinObj* FindSkinByName(const SStringW& name, int scale)
{
    SSkinPoolMgr* skins = SSkinPoolMgr::Instance();
    return skins ? skins->FindSkin(name, scale) : nullptr;
}

} // namespace

SmyButton::SmyButton()
{
    if (SSkinPoolMgr* skins = SSkinPoolMgr::Instance())
        m_skin2 = skins->FindSystemSkin(kSysSkinBtnNormal, 100);
    m_flags &= ~kWndDrawFocusRect;
}

HRESULT SmyButton::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    if (name.CompareIgnoringCase(L"skin2") != 0)
        return SButton::ApplyAttribute(name, value, loading);
    m_skin2 = FindSkinByName(value, GetScale());
    if (!loading && m_layoutParam && m_layoutParam->IsWrapContent(kOrientAny))
        InvalidateLayout();
    return AfterAttribute(name, value, loading, loading ? S_FALSE : S_OK);
}

void SmyButton::Paint(IRenderTarget* rt)
{
    if (!m_skin)
        return;
    RECT inner;
    ComputeInnerRect(&inner);
    if (m_fadeAlpha == kNoFade) {
        bool lit = !(m_state & kStateDisabled) && (m_state & (kStatePushed | kStateChecked | kStateHover));
        if (!lit)
            m_skin->DrawByState(rt, &inner, 0);
        else if (m_skin2)
            m_skin2->DrawByState(rt, &inner, 0);
    } else {
        m_skin->DrawByState(rt, &inner, 0);
        if (m_skin2)
            m_skin2->DrawByState(rt, &inner, 0);
    }
    DrawTextContent(rt);
}

BOOL SmyButton::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (msg != WM_PAINT)
        return SButton::HandleMessage(msg, wParam, lParam, result);
    *result = 0;
    Paint(reinterpret_cast<IRenderTarget*>(wParam));
    return TRUE;
}

} // namespace SKEIN
