#pragma once
// Class identity and attributes of every object that XML can create.
#include <pugixml.hpp>
#include "core/SString.h"
#include "core/SXmlFlags.h"
#include "helper/SStringConv.h"

namespace SKEIN {

// Object kinds answered by ObjectKind.
enum {
    kKindNone = -1,
    kKindWindow = 1,
    kKindSkin = 2,
    kKindLayout = 3,
    kKindInterpolator = 4,
};

struct IObject {
    virtual ~IObject() {}
    virtual BOOL MatchesClassName(const wchar_t* name) const = 0;
    virtual const wchar_t* XmlClassName() const = 0;
    virtual int ObjectKind() const = 0;
    virtual HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) = 0;
    virtual HRESULT ApplyAttribute(const SStringA& name, const SStringA& value, BOOL loading) = 0;
    virtual HRESULT ApplyAttribute(const char* name, const char* value, BOOL loading) = 0;
    virtual HRESULT AfterAttribute(const SStringW& name, const SStringW& value, BOOL loading, HRESULT result) = 0;
    virtual int GetId() const = 0;
    virtual const wchar_t* GetName() const = 0;
    virtual BOOL ApplyXmlAttributes(pugi::xml_node element) = 0;
    virtual HRESULT UnknownAttribute(const SStringW& name, const SStringW& value, BOOL loading) = 0;
    virtual void OnXmlInitDone(pugi::xml_node element) = 0;
    virtual SStringW GetAttributeText(const SStringW& name) const = 0;
};

// Defaults for IObject (or an interface derived from it). Classes name themselves with
// SKEIN_CLASS_NAME; the roots of each kind add SKEIN_CLASS_KIND.
template <class I = IObject>
class SObjectImpl : public I {
public:
    static const wchar_t* StaticXmlClassName() { return L"object"; }
    static int StaticObjectKind() { return kKindNone; }

    BOOL MatchesClassName(const wchar_t*) const override { return FALSE; }
    const wchar_t* XmlClassName() const override { return nullptr; }
    int ObjectKind() const override { return kKindNone; }

    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override
    {
        return UnknownAttribute(name, value, loading);
    }
    HRESULT ApplyAttribute(const SStringA& name, const SStringA& value, BOOL loading) override
    {
        return ApplyAttribute(StringA2W(name, CP_ACP), StringA2W(value, CP_ACP), loading);
    }
    HRESULT ApplyAttribute(const char* name, const char* value, BOOL loading) override
    {
        return ApplyAttribute(SStringA(name), SStringA(value), loading);
    }
    HRESULT AfterAttribute(const SStringW&, const SStringW&, BOOL, HRESULT result) override { return result; }

    int GetId() const override { return 0; }
    const wchar_t* GetName() const override { return nullptr; }

    // Every attribute not already consumed, in document order, then the init-done hook.
    BOOL ApplyXmlAttributes(pugi::xml_node element) override
    {
        if (!element)
            return FALSE;
        for (pugi::xml_attribute attribute : element.attributes()) {
            if (!SXmlFlags::IsConsumed(attribute))
                ApplyAttribute(SStringW(attribute.name()), SStringW(attribute.value()), TRUE);
        }
        OnXmlInitDone(element);
        return TRUE;
    }

    HRESULT UnknownAttribute(const SStringW&, const SStringW&, BOOL) override { return E_FAIL; }
    void OnXmlInitDone(pugi::xml_node) override {}
    SStringW GetAttributeText(const SStringW&) const override { return SStringW(); }
};

} // namespace SKEIN

// Inside a class body: its XML class name, and its base class for the name chain.
#define SKEIN_CLASS_NAME(BaseClass, xmlName)                                                        \
public:                                                                                             \
    static const wchar_t* StaticXmlClassName() { return xmlName; }                                  \
    static const wchar_t* StaticBaseClassName() { return BaseClass::StaticXmlClassName(); }         \
    const wchar_t* XmlClassName() const override { return xmlName; }                                \
    BOOL MatchesClassName(const wchar_t* name) const override                                       \
    {                                                                                               \
        return (name && wcscmp(name, xmlName) == 0) || BaseClass::MatchesClassName(name);           \
    }

// Inside the body of the root class of a kind (window, skin, layout, interpolator).
#define SKEIN_CLASS_KIND(kind)                        \
public:                                               \
    static int StaticObjectKind() { return kind; }    \
    int ObjectKind() const override { return kind; }
