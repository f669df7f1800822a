#pragma once
// The resource-provider manager: an ordered list of providers asked from the newest to the
// oldest, the "file" pseudo-type that reads disk files directly, icons, images and cursors by
// name, and the cache of loaded cursors. One re-entrant lock guards it all; every public
// operation holds it for its whole run, calls into providers included.
//
// The application object derives from this class. Two hooks connect it:
// - UI definitions: AddProvider(provider, uidefId) with a non-null id calls the protected
//   virtual LoadUiDefFromProvider(provider, uidefId) once the provider is in the list (the
//   lock still held). The default does nothing; the derived class builds the definition from
//   that provider, pushes its pools and makes it current.
// - Bitmaps and images: the loading functions of res.mgr/SResLoaders.h make them through the
//   render factory that SetResRenderFactorySource names; the derived class installs a source
//   that answers its own render factory.
#include "core/SHashMap.h"
#include "core/SLinkedList.h"
#include "core/SObjRef.h"
#include "core/SString.h"
#include "helper/SCriticalSection.h"
#include "interface/SResProvider-i.h"

namespace SKEIN {

class SResProviderMgr {
public:
    SResProviderMgr();
    // Releases every provider and destroys the cached cursors.
    virtual ~SResProviderMgr();
    SResProviderMgr(const SResProviderMgr&) = delete;
    SResProviderMgr& operator=(const SResProviderMgr&) = delete;

    // type equals "file" ignoring case.
    static bool IsFileType(const wchar_t* type);

    // The newest provider holding (type, name), with a reference for the caller, so that it
    // stays usable outside the lock; empty when none has it or the type is null.
    SRefPtr<IResProvider> FindResProvider(const wchar_t* type, const wchar_t* name);

    // "file": the disk file's size; otherwise the provider's. 0 when absent.
    size_t GetResDataSize(const wchar_t* type, const wchar_t* name);
    // A buffer smaller than the data sets ERROR_INSUFFICIENT_BUFFER and fails.
    BOOL ReadResData(const wchar_t* type, const wchar_t* name, void* buffer, size_t size);

    HICON LoadIconRes(const wchar_t* name, int cx = 0, int cy = 0, BOOL fromFile = FALSE);
    // "name:size" (size in pixels for both sides) or "name" (size 0).
    HICON LoadIconFromId(const wchar_t* id);
    // "type:name" (the type may be "file"); one reference for the caller, or null.
    IBitmap* LoadImageFromId(const wchar_t* id);
    // An integer id or a system cursor name is loaded from the system; other names come from
    // the cache, else from the file or the providers, and are cached then.
    HCURSOR LoadCursorRes(const wchar_t* name, BOOL fromFile = FALSE);

    // Appends the provider (one reference held) so that it shadows the older ones; with a UI
    // definition id, then runs LoadUiDefFromProvider.
    void AddProvider(IResProvider* provider, const wchar_t* uidefId = nullptr);
    // Unlinks and releases the newest entry of the provider; one not listed is ignored.
    void RemoveProvider(IResProvider* provider);
    // Releases every provider (oldest first) and destroys every cached cursor.
    void RemoveAllProviders();

protected:
    // Builds the UI definition uidefId from provider (see the top of this file).
    virtual void LoadUiDefFromProvider(IResProvider* provider, const wchar_t* uidefId) {}

private:
    // Newest provider holding (type, name), no reference added; the caller holds the lock.
    IResProvider* FindLocked(const wchar_t* type, const wchar_t* name) const;

    SLinkedList<IResProvider*> m_providers;
    SHashMap<SStringW, HCURSOR> m_cursors;
    SCriticalSection m_lock;
};

} // namespace SKEIN
