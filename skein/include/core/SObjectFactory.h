#pragma once
// Creation of objects by (class name, kind): the key, the factories and the factory manager.
#include <new>
#include "core/SCmnMap.h"
#include "core/SObject.h"

namespace SKEIN {

// Factory key: the class name lower-cased (A-Z only) and the kind.
class SObjectInfo {
public:
    SObjectInfo() : m_kind(kKindNone) {}
    SObjectInfo(const wchar_t* name, int kind);

    const SStringW& Name() const { return m_name; }
    int Kind() const { return m_kind; }
    UINT32 Hash() const { return HashWideString(m_name.c_str()) * 32 + static_cast<UINT32>(m_kind); }
    bool operator==(const SObjectInfo& other) const { return m_kind == other.m_kind && m_name == other.m_name; }

private:
    SStringW m_name;
    int m_kind;
};

class SObjectFactory {
public:
    virtual ~SObjectFactory() {}
    // A new object with reference count 1, null when memory runs out.
    virtual IObject* NewObject() const = 0;
    virtual const wchar_t* BaseClassName() const = 0;
    virtual SObjectInfo GetObjectInfo() const = 0;
    virtual SObjectFactory* Clone() const = 0;
};

// The factory of class T (which names itself with SKEIN_CLASS_NAME and has a kind).
template <class T>
class TplSObjectFactory : public SObjectFactory {
public:
    IObject* NewObject() const override
    {
        T* obj = new (std::nothrow) T();
        return obj ? static_cast<IObject*>(obj) : nullptr;
    }
    const wchar_t* BaseClassName() const override { return T::StaticBaseClassName(); }
    SObjectInfo GetObjectInfo() const override { return SObjectInfo(T::StaticXmlClassName(), T::StaticObjectKind()); }
    SObjectFactory* Clone() const override { return new (std::nothrow) TplSObjectFactory<T>(); }
};

// The table of registered factories; it owns a clone of every factory it was given.
class SObjectFactoryMgr : public SCmnMap<SObjectFactory*, SObjectInfo> {
public:
    SObjectFactoryMgr();
    ~SObjectFactoryMgr() override;

    // The object of the key's class with its class defaults applied; null for an unknown key.
    virtual IObject* CreateObject(const SObjectInfo& key);

    // The first registration of a key wins unless replace is set.
    BOOL AddFactory(const SObjectFactory& factory, BOOL replace);
    // Registers class T without replacing an earlier registration of its key.
    template <class T>
    BOOL AddFactoryOf()
    {
        return AddFactory(TplSObjectFactory<T>(), FALSE);
    }
    BOOL RemoveFactory(const SObjectInfo& key);
    // The base class's key; (empty, -1) for an unknown key or a class that is its own base.
    SObjectInfo BaseClassInfo(const SObjectInfo& key) const;
    // Applies the UI definition's default attributes of a window's class, "class" first.
    void ApplyClassDefaults(IObject* obj);

protected:
    // The default-attribute element of an XML class; empty until a UI definition provides one.
    virtual pugi::xml_node ClassDefaultElement(const wchar_t* xmlClassName);

private:
    static void DeleteFactory(SObjectFactory* factory);
};

} // namespace SKEIN
