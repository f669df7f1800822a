#pragma once
// UI definitions: what all windows share (default font, named strings, colours and
// dimensions, per-class default attributes). SUiDef, an application-owned singleton, holds
// the current definition; attribute values resolve their named references through it.
#include "core/SObjRef.h"
#include "core/SSingleton.h"
#include "interface/SResProvider-i.h"
#include "res.mgr/SNamedValue.h"
#include "res.mgr/SUiDefFont.h"
#include "res.mgr/SUiDefObjAttr.h"

namespace SKEIN {

// One loaded definition. The skin, style and template pools join it when those pools exist.
struct IUiDefInfo : public IObjRef {
    // Replaces the held table (reference added); the getter adds none.
    virtual void SetObjDefAttr(SObjDefAttr* attributes) = 0;
    virtual SObjDefAttr* GetObjDefAttr() = 0;
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

private:
    IUiDefInfo* m_info;
};

// The current definition's tables; without one, empty tables (references give the defaults,
// literal texts still parse).
SStringW ResolveNamedString(const wchar_t* text);
UINT32 ResolveNamedColor(const wchar_t* text);
SLayoutSize ResolveNamedDimension(const wchar_t* text);

} // namespace SKEIN
