#pragma once
// What the skin tests share: the real GDI render factory, a skin environment answering
// images from an in-memory table and objects from a factory table holding the ten skin
// classes, a skin-pool manager, and pixel helpers.
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>
#include "res.mgr/SNamedValue.h"
#include "res.mgr/SSkinPoolMgr.h"
#include "skin/SSkinButton.h"
#include "skin/SSkinColorRect.h"
#include "skin/SSkinEnv.h"
#include "skin/SSkinGradation.h"
#include "skin/SSkinGroup.h"
#include "skin/SSkinImgFrame.h"
#include "skin/SSkinScrollbar.h"
#include "skin/SSkinShape.h"

namespace skintest {

using namespace SKEIN;

// An opaque stored pixel (blue in the low byte).
constexpr DWORD Px(BYTE r, BYTE g, BYTE b)
{
    return 0xFF000000u | (static_cast<DWORD>(r) << 16) | (static_cast<DWORD>(g) << 8) | b;
}

class SkinEnv : public ISkinEnv {
public:
    SkinEnv()
    {
        m_factories.AddFactory(TplSObjectFactory<SSkinImgList>(), FALSE);
        m_factories.AddFactory(TplSObjectFactory<SSkinImgCenter>(), FALSE);
        m_factories.AddFactory(TplSObjectFactory<SSkinImgFrame>(), FALSE);
        m_factories.AddFactory(TplSObjectFactory<SSkinImgFrame2>(), FALSE);
        m_factories.AddFactory(TplSObjectFactory<SSkinScrollbar>(), FALSE);
        m_factories.AddFactory(TplSObjectFactory<SSkinButton>(), FALSE);
        m_factories.AddFactory(TplSObjectFactory<SSkinGradation>(), FALSE);
        m_factories.AddFactory(TplSObjectFactory<SSkinColorRect>(), FALSE);
        m_factories.AddFactory(TplSObjectFactory<SSkinShape>(), FALSE);
        m_factories.AddFactory(TplSObjectFactory<SSKinGroup>(), FALSE);
        SetSkinEnv(this);
    }
    ~SkinEnv() { SetSkinEnv(nullptr); }

    void AddImage(const std::wstring& id, IBitmap* image) { m_images[id] = SRefPtr<IBitmap>(image); }

    IBitmap* LoadImage(const wchar_t* id) override
    {
        auto found = m_images.find(id);
        if (found == m_images.end())
            return nullptr;
        found->second->AddRef();
        return found->second;
    }
    IObject* CreateObject(const SObjectInfo& key) override
    {
        ++created;
        return m_factories.CreateObject(key);
    }
    COLORREF ResolveColor(const SStringW& text) override { return SNamedColor().Resolve(text.c_str()); }
    SStringW ResolveString(const SStringW& text) override { return SNamedString().Resolve(text.c_str()); }
    SLayoutSize ResolveDimension(const SStringW& text) override { return SNamedDimension().Resolve(text.c_str()); }

    int created = 0;

private:
    SObjectFactoryMgr m_factories;
    std::map<std::wstring, SRefPtr<IBitmap>> m_images;
};

class SkinTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        IRenderFactory* made = nullptr;
        ASSERT_TRUE(CreateRenderFactory_GDI(&made));
        factory.Attach(made);
    }

    SRefPtr<IBitmap> NewBitmap(int width, int height, const std::vector<DWORD>& pixels)
    {
        IBitmap* bitmap = nullptr;
        EXPECT_TRUE(factory->CreateBitmap(&bitmap));
        EXPECT_EQ(bitmap->Init(width, height, pixels.data()), S_OK);
        return SRefPtr<IBitmap>(bitmap, false);
    }

    SRefPtr<IRenderTarget> NewTarget(int width, int height)
    {
        IRenderTarget* target = nullptr;
        EXPECT_TRUE(factory->CreateRenderTarget(&target, width, height));
        return SRefPtr<IRenderTarget>(target, false);
    }

    // A skin list parsed and loaded into pool; returns the count.
    int Load(SSkinPool* pool, const wchar_t* xml)
    {
        pugi::xml_document doc;
        EXPECT_TRUE(doc.load_string(xml));
        return pool->LoadFromXml(doc.first_child());
    }

    SRefPtr<IRenderFactory> factory;
    SkinEnv env;
    SSkinPoolMgr pools;
};

} // namespace skintest
