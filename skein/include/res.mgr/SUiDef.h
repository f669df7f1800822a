#pragma once
// UI definitions: what all windows share (default font, named strings, colours and
// dimensions, skins, styles, templates, per-class default attributes). SUiDef, an
// application-owned singleton, holds the current definition; attribute values resolve their
// named references through it.
#include "core/SObjRef.h"
#include "core/SSingleton.h"
#include "interface/SResProvider-i.h"
#include "res.mgr/SNamedValue.h"
#include "res.mgr/SUiDefFont.h"
#include "res.mgr/SUiDefObjAttr.h"

namespace SKEIN {

class SSkinPool;
class SStylePool;
class STemplatePool;

// One loaded definition. The setters replace the held pool or table (reference added to the
// new one, the old one released); the getters add no reference and give null for none.
struct IUiDefInfo : public IObjRef {
    virtual void SetSkinPool(SSkinPool* pool) = 0;
    virtual SSkinPool* GetSkinPool() = 0;
    virtual void SetStylePool(SStylePool* pool) = 0;
    virtual SStylePool* GetStylePool() = 0;
    virtual void SetObjDefAttr(SObjDefAttr* attributes) = 0;
    virtual SObjDefAttr* GetObjDefAttr() = 0;
    virtual STemplatePool* GetTemplatePool() = 0;
    virtual void SetTemplatePool(STemplatePool* pool) = 0;
    virtual const SNamedColor& GetNamedColor() = 0;
    virtual const SNamedString& GetNamedString() = 0;
    virtual const SNamedDimension& GetNamedDimension() = 0;
    virtual const SDefaultFontInfo& GetDefaultFont() = 0;
    virtual ~IUiDefInfo() {}
};

class SUiDef : public SSingleton2 {
public:
    SUiDef();
    ~SUiDef() override;

    // The application's instance; null without an application.
    static SUiDef* Current();

    // Replaces the current definition (reference added to the new one, the old one released).
    void SetUiDefInfo(IUiDefInfo* info);
    IUiDefInfo* GetUiDefInfo() const { return m_info; }

    // A new definition loaded from resource id ("type:name") of provider, one reference for the
    // caller. It is current while it loads, so references inside it resolve against its own
    // tables; the previous definition is current again afterwards. A definition that fails to
    // load is empty.
    IUiDefInfo* CreateUiDefInfo(IResProvider* provider, const wchar_t* id);
    // CreateUiDefInfo, then the definition's skin, style and template pools are pushed on the
    // application's pool managers (each keeping a reference); they stay pushed.
    IUiDefInfo* CreateAndPushUiDefInfo(IResProvider* provider, const wchar_t* id);

private:
    IUiDefInfo* m_info;
};

// The current definition's tables; without one, empty tables (references give the defaults,
// literal texts still parse).
SStringW ResolveNamedString(const wchar_t* text);
UINT32 ResolveNamedColor(const wchar_t* text);
SLayoutSize ResolveNamedDimension(const wchar_t* text);

} // namespace SKEIN
