#include "skin/SSkinEnv.h"
#include "core/SApp.h"
#include "res.mgr/SUiDef.h"

namespace SKEIN {

namespace {

// The application's answers: its providers and factories, and the current UI definition.
class SAppSkinEnv : public ISkinEnv {
public:
    IBitmap* LoadImage(const wchar_t* id) override
    {
        SApplication* app = SApplication::Instance();
        return app ? app->LoadImageFromId(id) : nullptr;
    }
    IObject* CreateObject(const SObjectInfo& key) override
    {
        SApplication* app = SApplication::Instance();
        return app ? app->CreateObject(key) : nullptr;
    }
    COLORREF ResolveColor(const SStringW& text) override { return ResolveNamedColor(text.c_str()); }
    SStringW ResolveString(const SStringW& text) override { return ResolveNamedString(text.c_str()); }
    SLayoutSize ResolveDimension(const SStringW& text) override { return ResolveNamedDimension(text.c_str()); }
};

SAppSkinEnv g_appSkinEnv;
ISkinEnv* g_skinEnv = nullptr;

} // namespace

void SetSkinEnv(ISkinEnv* env)
{
    g_skinEnv = env;
}

ISkinEnv* GetSkinEnv()
{
    return g_skinEnv ? g_skinEnv : &g_appSkinEnv;
}

} // namespace SKEIN
