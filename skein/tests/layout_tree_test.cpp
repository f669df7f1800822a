// The layouts driving real window trees built from XML, and their registration by class name.
#include "window_test_env.h"
#include "layout/SGridLayout.h"
#include "layout/SkeinLayout.h"

using namespace wndtest;

namespace {

class LayoutTreeTest : public WindowTest {
protected:
    RECT RectOf(int id) { return m_root->LookupChildById(id, -1)->GetWindowRect(); }
    static bool Same(const RECT& a, const RECT& b)
    {
        return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
    }
};

std::string Text(const RECT& r)
{
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " + std::to_string(r.right) + ", " +
           std::to_string(r.bottom) + ")";
}

} // namespace

TEST_F(LayoutTreeTest, PositionStatementsPlaceTheChildren)
{
    BuildFromXml(L"<window>"
                 L"<window id='3' pos='10,10,-10,-10'/>"
                 L"<window id='4' pos='|0,|0' size='40,20' offset='-0.5,-0.5'/>"
                 L"<window id='5' pos='sib.right@3:4,sib.top@3:0' size='10,10'/>"
                 L"<window id='6' size='30,30'/>"
                 L"<window id='7' pos='0,0,@100,@20' visible='0' display='0'/>"
                 L"<window id='8' pos='[5,{0' size='10,10'/>"
                 L"</window>");
    const struct {
        int id;
        RECT rect;
    } expected[] = {{3, {10, 10, 190, 90}}, {4, {80, 40, 120, 60}}, {5, {194, 10, 204, 20}},
                    {6, {204, 10, 234, 40}}, {8, {239, 10, 249, 20}}};
    for (const auto& e : expected)
        EXPECT_TRUE(Same(RectOf(e.id), e.rect)) << e.id << ": " << Text(RectOf(e.id));
}

TEST_F(LayoutTreeTest, VerticalBoxSharesTheHeight)
{
    BuildFromXml(L"<window layout='vbox' interval='4' gravity='center'>"
                 L"<window id='1' size='50,20'/>"
                 L"<window id='2' width='matchParent' height='10' weight='1' extend='2'/>"
                 L"</window>");
    EXPECT_TRUE(Same(RectOf(1), RECT{75, 0, 125, 20})) << Text(RectOf(1));
    // 100 - 20 - 4 leaves 76 for the weighted cell, whose child sits 2 inside it.
    EXPECT_TRUE(Same(RectOf(2), RECT{2, 26, 198, 98})) << Text(RectOf(2));
}

TEST_F(LayoutTreeTest, GridPlacesRowByRow)
{
    BuildFromXml(L"<window layout='gridLayout' columnCount='2' gravity='left'>"
                 L"<window id='1' size='30,10'/>"
                 L"<window id='2' size='20,10'/>"
                 L"<window id='3' size='20,10' columnSpan='2'/>"
                 L"</window>");
    EXPECT_TRUE(Same(RectOf(1), RECT{0, 0, 30, 10})) << Text(RectOf(1));
    EXPECT_TRUE(Same(RectOf(2), RECT{30, 0, 50, 10})) << Text(RectOf(2));
    EXPECT_TRUE(Same(RectOf(3), RECT{0, 10, 20, 20})) << Text(RectOf(3));
}

TEST_F(LayoutTreeTest, LayoutsAreCreatedByClassName)
{
    const wchar_t* names[] = {L"skeinlayout", L"linearlayout", L"hbox", L"vbox", L"gridlayout"};
    for (const wchar_t* name : names) {
        IObject* created = m_app->CreateObject(SObjectInfo(name, kKindLayout));
        ASSERT_NE(created, nullptr) << name;
        EXPECT_EQ(created->ObjectKind(), kKindLayout);
        ILayout* layout = static_cast<ILayout*>(created);
        SRefPtr<ILayoutParam> param(layout->CreateLayoutParam(), false);
        EXPECT_TRUE(layout->IsParamAcceptable(param));
        layout->Release();
    }
    EXPECT_EQ(m_app->BaseClassInfo(SObjectInfo(L"vbox", kKindLayout)).Name(), SStringW(L"linearlayout"));
    EXPECT_EQ(m_app->BaseClassInfo(SObjectInfo(L"gridlayout", kKindLayout)).Name(), SStringW(L"object"));
}
