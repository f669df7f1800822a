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

namespace {

// A change to the content-sized window "wrap" of the cache tests, and "wrap" as it is when
// created with the change.
struct SWrapChange {
    const char* name;
    void (*apply)(SWindow* wrap);
    const wchar_t* changed;
};

SWindow* Named(SWindow* parent, const wchar_t* name)
{
    return parent->LookupChildByName(SStringW(name), -1);
}

void LoadInto(SWindow* window, const std::wstring& xml)
{
    pugi::xml_document document;
    ASSERT_TRUE(document.load_string(xml.c_str()));
    window->LoadFromXml(document.first_child());
}

// "first" is placed after "box" was measured and before "box" lays out; "box" measures "wrap"
// with the same offered size both times (a grid offers none).
std::wstring CacheTree(const wchar_t* wrap)
{
    return std::wstring(L"<window><window name='first' pos='0,0' size='10,10'/>"
                        L"<window name='box' pos='0,20' layout='gridLayout' columnCount='1'>") +
           wrap + L"</window></window>";
}

const wchar_t kWrap[] = L"<window name='wrap'><window name='inner' text='ab'/>"
                        L"<window name='mid' size='12,8' display='0'/><window name='last' text='c'/></window>";

const SWrapChange kWrapChanges[] = {
    {"text", [](SWindow* wrap) { Named(wrap, L"inner")->AssignText(SStringW(L"abcdef")); },
     L"<window name='wrap'><window name='inner' text='abcdef'/>"
     L"<window name='mid' size='12,8' display='0'/><window name='last' text='c'/></window>"},
    {"style padding",
     [](SWindow* wrap) { Named(wrap, L"inner")->ApplyAttribute(SStringW(L"padding"), SStringW(L"3,4,5,6"), FALSE); },
     L"<window name='wrap'><window name='inner' text='ab' padding='3,4,5,6'/>"
     L"<window name='mid' size='12,8' display='0'/><window name='last' text='c'/></window>"},
    {"layout size",
     [](SWindow* wrap) { Named(wrap, L"inner")->ApplyAttribute(SStringW(L"size"), SStringW(L"30,12"), FALSE); },
     L"<window name='wrap'><window name='inner' text='ab' size='30,12'/>"
     L"<window name='mid' size='12,8' display='0'/><window name='last' text='c'/></window>"},
    {"maximum width",
     [](SWindow* wrap) {
         Named(wrap, L"inner")->AssignText(SStringW(L"ab ab ab ab"));
         Named(wrap, L"inner")->ApplyAttribute(SStringW(L"maxWidth"), SStringW(L"20"), FALSE);
     },
     L"<window name='wrap'><window name='inner' text='ab ab ab ab' maxWidth='20'/>"
     L"<window name='mid' size='12,8' display='0'/><window name='last' text='c'/></window>"},
    {"hidden", [](SWindow* wrap) { Named(wrap, L"mid")->ChangeVisibility(FALSE, FALSE); },
     L"<window name='wrap'><window name='inner' text='ab'/>"
     L"<window name='mid' size='12,8' display='0' visible='0'/><window name='last' text='c'/></window>"},
    {"added",
     [](SWindow* wrap) {
         SWindow* added = new SWindow;
         wrap->LinkChild(added, Named(wrap, L"mid"));
         LoadInto(added, L"<window size='7,9'/>");
     },
     L"<window name='wrap'><window name='inner' text='ab'/><window name='mid' size='12,8' display='0'/>"
     L"<window size='7,9'/><window name='last' text='c'/></window>"},
    {"removed", [](SWindow* wrap) { wrap->DestroyChild(Named(wrap, L"mid")); },
     L"<window name='wrap'><window name='inner' text='ab'/><window name='last' text='c'/></window>"},
    {"position", [](SWindow* wrap) { Named(wrap, L"last")->ApplyAttribute(SStringW(L"pos"), SStringW(L"[4,{2"), FALSE); },
     L"<window name='wrap'><window name='inner' text='ab'/>"
     L"<window name='mid' size='12,8' display='0'/><window name='last' text='c' pos='[4,{2'/></window>"},
};

// Applies a change from the size event of "first".
struct SChangeOnSize {
    bool OnSize(EventArgs*)
    {
        if (change) {
            change->apply(wrap);
            change = nullptr;
        }
        return true;
    }
    const SWrapChange* change;
    SWindow* wrap;
};

class LayoutCacheTest : public LayoutTreeTest {
protected:
    SWindow* NewTree(const wchar_t* wrap)
    {
        SWindow* root = new SWindow;
        root->AttachContainer(&m_container);
        LoadInto(root, CacheTree(wrap));
        return root;
    }
    // The sizes of "box" and "wrap", then the children of "wrap" relative to its child area.
    static std::vector<RECT> Rects(SWindow* root)
    {
        std::vector<RECT> rects;
        for (const wchar_t* name : {L"box", L"wrap"}) {
            const RECT& r = Named(root, name)->GetWindowRect();
            rects.push_back(RECT{0, 0, r.right - r.left, r.bottom - r.top});
        }
        SWindow* wrap = Named(root, L"wrap");
        RECT area;
        wrap->GetChildAreaRect(&area);
        for (SWindow* child = wrap->GetRelative(kRelFirstChild); child; child = child->GetRelative(kRelNextSibling)) {
            RECT r = child->GetWindowRect();
            rects.push_back(RECT{r.left - area.left, r.top - area.top, r.right - area.left, r.bottom - area.top});
        }
        return rects;
    }
    std::vector<RECT> ReferenceRects(const wchar_t* wrap)
    {
        SWindow* root = NewTree(wrap);
        root->ApplyRect(RECT{0, 0, 200, 100});
        std::vector<RECT> rects = Rects(root);
        root->Dispose();
        return rects;
    }
    // Compares from index first on.
    static void ExpectSame(const char* name, const std::vector<RECT>& actual, const std::vector<RECT>& expected,
                           size_t first)
    {
        std::string texts;
        for (const RECT& r : actual)
            texts += Text(r) + " ";
        ASSERT_EQ(actual.size(), expected.size()) << name << ": " << texts;
        for (size_t i = first; i < actual.size(); ++i)
            EXPECT_TRUE(Same(actual[i], expected[i])) << name << " [" << i << "]: " << texts;
    }
};

} // namespace

// Sizes measured during a layout are kept for that layout only while nothing they rest on
// changes: a change made in the middle of a layout reaches the windows measured after it, and a
// later layout sees it everywhere.
TEST_F(LayoutCacheTest, ChangesDuringAndAfterALayoutGiveTheNewSizes)
{
    for (const SWrapChange& change : kWrapChanges) {
        SWindow* root = NewTree(kWrap);
        SChangeOnSize changer{&change, Named(root, L"wrap")};
        Named(root, L"first")->GetEventSet()->AddSubscriber(EventSwndSize::EventID,
                                                            Subscriber(&SChangeOnSize::OnSize, &changer));
        root->ApplyRect(RECT{0, 0, 200, 100});
        ASSERT_EQ(changer.change, nullptr) << change.name;
        std::vector<RECT> expected = ReferenceRects(change.changed);
        ExpectSame(change.name, Rects(root), expected, 1); // "box" was measured before the change

        root->InvalidateLayout();
        root->RelayoutIfDirty();
        ExpectSame(change.name, Rects(root), expected, 0);
        root->Dispose();
    }
}
