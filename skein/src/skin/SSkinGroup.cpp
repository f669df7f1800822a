#include "skin/SSkinGroup.h"
#include "res.mgr/SSkinPoolMgr.h"
#include "skin/SSkinAttr.h"

namespace SKEIN {

namespace {
const wchar_t* const kStateNames[SSKinGroup::kStates] = {L"normal", L"hover", L"pushDown", L"disable"};
}

SSKinGroup::SSKinGroup()
{
    for (ISkinObj*& skin : m_skins)
        skin = nullptr;
}

SSKinGroup::~SSKinGroup()
{
    for (ISkinObj* skin : m_skins) {
        if (skin)
            skin->Release();
    }
}

SIZE SSKinGroup::GetSkinSize() const
{
    for (ISkinObj* skin : m_skins) {
        if (skin)
            return skin->GetSkinSize();
    }
    return SSkinObjBase::GetSkinSize();
}

void SSKinGroup::DrawCore(IRenderTarget* rt, const RECT* rect, int state, BYTE alpha)
{
    if (ISkinObj* skin = StateSkin(state))
        skin->Draw(rt, rect, 0, alpha);
}

void SSKinGroup::CopySettingsTo(ISkinObj* target, int scale) const
{
    SSkinObjBase::CopySettingsTo(target, scale);
    SSKinGroup* copy = dynamic_cast<SSKinGroup*>(target);
    if (!copy)
        return;
    for (int i = 0; i < kStates; ++i) {
        // A state skin without scaled copies is shared as it is.
        ISkinObj* scaled = m_skins[i] ? m_skins[i]->CreateScaledCopy(scale) : nullptr;
        if (!scaled && m_skins[i]) {
            scaled = m_skins[i];
            scaled->AddRef();
        }
        if (copy->m_skins[i])
            copy->m_skins[i]->Release();
        copy->m_skins[i] = scaled;
    }
}

HRESULT SSKinGroup::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    for (int i = 0; i < kStates; ++i) {
        if (!SkinAttrIs(name, kStateNames[i]))
            continue;
        SSkinPoolMgr* mgr = SSkinPoolMgr::Instance();
        AssignObjRef(m_skins[i], mgr ? mgr->FindSkin(value, m_scale) : nullptr);
        return Took(name, value, loading, S_FALSE);
    }
    return SSkinObjBase::ApplyAttribute(name, value, loading);
}

} // namespace SKEIN
