#pragma once
// Common base of the GDI render objects: reference count, the factory that made the object
// (not counted: the factory outlives its objects) and the native GDI handle, deleted with it.
#include "interface/SRender-i.h"

namespace SKEIN {

template <class I, int Kind, class Handle>
class TGdiRenderObjImpl : public TObjRefImpl<SObjectImpl<I>> {
public:
    explicit TGdiRenderObjImpl(IRenderFactory* factory) : m_factory(factory), m_handle(nullptr) {}
    ~TGdiRenderObjImpl() override { ReplaceHandle(nullptr); }

    int ObjectType() const override { return Kind; }
    IRenderFactory* GetRenderFactory() const override { return m_factory; }
    Handle GetHandle() const { return m_handle; }

protected:
    void ReplaceHandle(Handle handle)
    {
        if (m_handle)
            DeleteObject(m_handle);
        m_handle = handle;
    }

    IRenderFactory* m_factory;
    Handle m_handle;
};

} // namespace SKEIN
