#include "skin_test_env.h"

using namespace skintest;

namespace {

class SkinPoolTest : public SkinTest {
protected:
    void SetUp() override
    {
        SkinTest::SetUp();
        env.AddImage(L"img:strip", NewBitmap(60, 20, std::vector<DWORD>(60 * 20, Px(255, 0, 0))));
    }

    SRefPtr<SSkinPool> NewPool(const wchar_t* xml, int* count = nullptr)
    {
        SRefPtr<SSkinPool> pool(new SSkinPool(), false);
        int loaded = Load(pool, xml);
        if (count)
            *count = loaded;
        return pool;
    }
};

} // namespace

TEST(SkinScale, NormalisedToTheNearestBuiltinScaleBelow)
{
    const int cases[][2] = {{50, 100}, {99, 100}, {100, 100}, {124, 100}, {125, 125}, {175, 150},
                            {199, 150}, {200, 200}, {260, 250}, {300, 300}, {450, 300}};
    for (const auto& c : cases)
        EXPECT_EQ(NormalizeSkinScale(c[0]), c[1]) << c[0];
}

TEST(SkinKeyHash, NameTimes32PlusScale)
{
    EXPECT_EQ(SkinKey(SStringW(L"ab"), 150).Hash(), 3299u * 32 + 150);
    EXPECT_FALSE(SkinKey(SStringW(L"Ab"), 100) == SkinKey(SStringW(L"ab"), 100));
}

TEST_F(SkinPoolTest, ScaledLookupStoresOneCopyAtTheNormalisedScale)
{
    SRefPtr<SSkinPool> pool = NewPool(L"<skin><imglist name='strip' src='img:strip' states='3'/>"
                                      L"<colorrect name='plain' normal='#ff0000'/></skin>");
    ASSERT_EQ(pool->Count(), 2);
    ISkinObj* original = pool->FindSkin(L"strip", 100);
    ISkinObj* copy = pool->FindSkin(L"strip", 175);
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, original);
    EXPECT_EQ(copy->GetScale(), 150);
    EXPECT_EQ(dynamic_cast<SSkinImgList*>(copy)->GetImage()->Width(), 90);
    EXPECT_EQ(dynamic_cast<SSkinImgList*>(copy)->GetImage()->Height(), 30);
    EXPECT_EQ(pool->Count(), 3);
    EXPECT_EQ(pool->FindSkin(L"strip", 175), copy);
    EXPECT_EQ(pool->FindSkin(L"strip", 150), copy);
    EXPECT_EQ(pool->Count(), 3);

    // Skins without scaled copies answer themselves and nothing is stored.
    EXPECT_EQ(pool->FindSkin(L"plain", 200), pool->FindSkin(L"plain", 100));
    EXPECT_EQ(pool->Count(), 3);
    EXPECT_EQ(pool->FindSkin(L"absent", 100), nullptr);
}

TEST_F(SkinPoolTest, ASkinMadeForAnotherBuiltinScaleIsTheSource)
{
    SRefPtr<SSkinPool> pool = NewPool(L"<skin><imglist name='big' src='img:strip' states='3' scale='200'/></skin>");
    ISkinObj* at100 = pool->FindSkin(L"big", 100);
    ASSERT_NE(at100, nullptr);
    EXPECT_EQ(at100->GetScale(), 100);
    EXPECT_EQ(dynamic_cast<SSkinImgList*>(at100)->GetImage()->Width(), 30);
    EXPECT_EQ(pool->FindSkin(L"big", 200)->GetScale(), 200);
}

TEST_F(SkinPoolTest, FirstDuplicateWinsAndStillCounts)
{
    int count = 0;
    SRefPtr<SSkinPool> pool = NewPool(L"<skin><colorrect name='dup' normal='#ff0000'/>"
                                      L"<imglist name='dup' src='img:strip'/><colorrect name='Dup'/>"
                                      L"<colorrect normal='#ff0000'/><nosuchskin name='x'/></skin>",
                                      &count);
    EXPECT_EQ(count, 3); // nameless and unknown elements are skipped
    EXPECT_TRUE(pool->FindSkin(L"dup", 100)->MatchesClassName(L"colorrect"));
    ASSERT_NE(pool->FindSkin(L"Dup", 100), nullptr); // names differ by case
    EXPECT_NE(pool->FindSkin(L"Dup", 100), pool->FindSkin(L"dup", 100));
    SRefPtr<SSkinPool> empty = NewPool(L"<skin/>", &count);
    EXPECT_EQ(count, 0);
}

TEST_F(SkinPoolTest, ASkinListNamesSkinsDefinedEarlierInIt)
{
    SRefPtr<SSkinPool> pool = NewPool(L"<skin><colorrect name='red' normal='#ff0000'/>"
                                      L"<group name='grp' normal='red'/></skin>");
    auto* group = dynamic_cast<SSKinGroup*>(pool->FindSkin(L"grp", 100));
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->StateSkin(0), pool->FindSkin(L"red", 100));
    EXPECT_EQ(pools.PoolCount(), 1); // the loading pool was popped again
}

TEST_F(SkinPoolTest, PushedPoolsShadowTheBuiltinPool)
{
    pugi::xml_document doc;
    doc.load_string(L"<skin><colorrect name='same' normal='#ff0000'/>"
                    L"<colorrect name='_skin.sys.scrollbar' normal='#00ff00'/>"
                    L"<colorrect name='_skin.sys.spin.up' normal='#0000ff'/></skin>");
    ASSERT_EQ(pools.BuiltinPool()->LoadFromXml(doc.first_child()), 3);
    SRefPtr<SSkinPool> pushed = NewPool(L"<skin><colorrect name='same' normal='#00ff00'/>"
                                        L"<colorrect name='_skin.sys.scrollbar' normal='#ff00ff'/></skin>");
    ISkinObj* inBuiltin = pools.BuiltinPool()->FindSkin(L"same", 100);
    pools.PushPool(pushed);
    EXPECT_EQ(pools.FindSkin(L"same", 100), pushed->FindSkin(L"same", 100));
    // System skins come from the built-in pool only.
    EXPECT_EQ(pools.FindSystemSkin(kSysSkinScrollbar, 100), pools.BuiltinPool()->FindSkin(L"_skin.sys.scrollbar", 100));
    EXPECT_EQ(pools.FindSystemSkin(kSysSkinSpinUp, 150), pools.BuiltinPool()->FindSkin(L"_skin.sys.spin.up", 100));
    EXPECT_EQ(pools.FindSystemSkin(kSysSkinCheckbox, 100), nullptr);
    EXPECT_EQ(pools.FindSystemSkin(-1, 100), nullptr);
    EXPECT_EQ(pools.FindSystemSkin(kSysSkinCount, 100), nullptr);

    EXPECT_EQ(pools.PopPool(pools.BuiltinPool()), nullptr);
    EXPECT_EQ(pools.PoolCount(), 2);
    EXPECT_EQ(pools.PopPool(nullptr), pushed.Get());
    EXPECT_EQ(pools.FindSkin(L"same", 100), inBuiltin);
    EXPECT_EQ(pools.PopPool(nullptr), nullptr); // the built-in pool stays
    EXPECT_EQ(pools.PopPool(pushed), nullptr);  // not listed any more
    EXPECT_EQ(pools.PoolCount(), 1);
}

TEST(SystemSkinNames, TableByIndex)
{
    EXPECT_STREQ(SystemSkinName(kSysSkinCheckbox), L"_skin.sys.checkbox");
    EXPECT_STREQ(SystemSkinName(kSysSkinBtnMaximize), L"_skin.sys.btn.maxmize");
    EXPECT_STREQ(SystemSkinName(kSysSkinVertProgBar), L"_skin.sys.vert.prog.bar");
    EXPECT_STREQ(SystemSkinName(kSysSkinWndBkgnd), L"_skin.sys.wnd.bkgnd");
    EXPECT_STREQ(SystemSkinName(kSysSkinSpinUp), L"_skin.sys.spin.up");
    EXPECT_EQ(SystemSkinName(34), nullptr);
}
