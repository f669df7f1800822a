#include "skin/SSkinObjBase.h"
#include "skin/SSkinAttr.h"
#include "skin/SSkinEnv.h"

namespace SKEIN {

SSkinObjBase::SSkinObjBase() : m_alpha(255), m_colorizeColor(0), m_enableColorize(1), m_scale(100) {}

void SSkinObjBase::DrawByState(IRenderTarget* rt, const RECT* rect, int state)
{
    Draw(rt, rect, state, GetAlpha());
}

void SSkinObjBase::Draw(IRenderTarget* rt, const RECT* rect, int state, BYTE alpha)
{
    DrawCore(rt, rect, state, alpha);
}

SIZE SSkinObjBase::GetSkinSize() const
{
    SIZE size = {0, 0};
    return size;
}

ISkinObj* SSkinObjBase::CreateScaledCopy(int scale)
{
    IObject* obj = GetSkinEnv()->CreateObject(SObjectInfo(XmlClassName(), kKindSkin));
    ISkinObj* copy = dynamic_cast<ISkinObj*>(obj);
    if (!copy) {
        delete obj;
        return nullptr;
    }
    CopySettingsTo(copy, scale);
    return copy;
}

void SSkinObjBase::CopySettingsTo(ISkinObj* target, int scale) const
{
    SSkinObjBase* copy = dynamic_cast<SSkinObjBase*>(target);
    if (!copy)
        return;
    copy->m_scale = scale;
    copy->m_alpha = m_alpha;
    copy->m_enableColorize = m_enableColorize;
    copy->m_colorizeColor = m_colorizeColor;
    copy->m_name = m_name;
}

HRESULT SSkinObjBase::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    if (SkinAttrIs(name, L"alpha")) {
        m_alpha = static_cast<BYTE>(SkinAttrInt(value));
        return Took(name, value, loading, S_OK);
    }
    if (SkinAttrIs(name, L"enableColorize")) {
        m_enableColorize = SkinAttrInt(value);
        return Took(name, value, loading, S_OK);
    }
    if (SkinAttrIs(name, L"scale")) {
        int scale = SkinAttrInt(value);
        if (scale < 1)
            return Took(name, value, loading, E_FAIL);
        m_scale = scale;
        return Took(name, value, loading, S_FALSE);
    }
    if (SkinAttrIs(name, L"name")) {
        m_name = SkinAttrString(value);
        return Took(name, value, loading, S_FALSE);
    }
    return SObjectImpl<ISkinObj>::ApplyAttribute(name, value, loading);
}

} // namespace SKEIN
