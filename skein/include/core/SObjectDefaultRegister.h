#pragma once
// Registration of the framework's own classes with the application's factory table.
#include "core/SObjectFactory.h"

namespace SKEIN {

// Called by the application's constructor in slot order: layouts, skins, windows,
// interpolators. Each default registers nothing.
struct ISystemObjectRegister {
    virtual void RegisterLayouts(SObjectFactoryMgr& factories) const {}
    virtual void RegisterSkins(SObjectFactoryMgr& factories) const {}
    virtual void RegisterWindows(SObjectFactoryMgr& factories) const {}
    virtual void RegisterInterpolators(SObjectFactoryMgr& factories) const {}
};

// Every built-in class, in the order of its kind's table; an existing key is never replaced.
class SObjectDefaultRegister : public ISystemObjectRegister {
public:
    void RegisterLayouts(SObjectFactoryMgr& factories) const override;
    void RegisterSkins(SObjectFactoryMgr& factories) const override;
    void RegisterWindows(SObjectFactoryMgr& factories) const override;
    void RegisterInterpolators(SObjectFactoryMgr& factories) const override;
};

} // namespace SKEIN
