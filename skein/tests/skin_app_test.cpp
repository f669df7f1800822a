#include <gtest/gtest.h>
#include "core/SApp.h"
#include "res.mgr/SSkinPoolMgr.h"
#include "skin/SSkinEnv.h"

using namespace SKEIN;

// Without an installed environment, skins are created by the application's factories and
// resolve colours through the UI definition.
TEST(SkinWithApplication, BuiltinClassesAndDefaultEnvironment)
{
    IRenderFactory* made = nullptr;
    ASSERT_TRUE(CreateRenderFactory_GDI(&made));
    SRefPtr<IRenderFactory> factory(made, false);
    SApplication* app = new SApplication(factory, GetModuleHandleW(nullptr), L"SKEINHOST", SObjectDefaultRegister());
    {
        const wchar_t* classes[] = {L"imglist", L"imgcenter", L"imgframe", L"imgframe2", L"button",
                                    L"gradation", L"scrollbar", L"colorrect", L"shape", L"group"};
        for (const wchar_t* name : classes) {
            IObject* obj = app->CreateObject(SObjectInfo(name, kKindSkin));
            ISkinObj* skin = dynamic_cast<ISkinObj*>(obj);
            ASSERT_NE(skin, nullptr) << name;
            EXPECT_EQ(_wcsicmp(skin->XmlClassName(), name), 0);
            skin->Release();
        }
        EXPECT_EQ(app->CreateObject(SObjectInfo(L"skinObjBase", kKindSkin)), nullptr);

        SSkinPoolMgr pools;
        SRefPtr<SSkinPool> pool(new SSkinPool(), false);
        pugi::xml_document doc;
        ASSERT_TRUE(doc.load_string(L"<skin><colorrect name='red' normal='rgb(255,0,0)'/></skin>"));
        ASSERT_EQ(pool->LoadFromXml(doc.first_child()), 1);
        IRenderTarget* rt = nullptr;
        ASSERT_TRUE(factory->CreateRenderTarget(&rt, 10, 10));
        RECT rect = {0, 0, 10, 10};
        pool->FindSkin(L"red", 100)->DrawByState(rt, &rect, 0);
        EXPECT_EQ(rt->GetPixel(5, 5), 0xFFFF0000u);
        rt->Release();
    }
    delete app;
}
