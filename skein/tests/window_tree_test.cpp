// The window tree: links and z-order, lookups, state, hit testing, attributes, creation from
// XML (includes, templates, class defaults), events and their bubbling.
#include "core/SHostWnd.h"
#include "window_test_env.h"

using namespace wndtest;

namespace {

// Children of window in z-order, by name.
std::vector<std::wstring> ChildNames(SWindow* window)
{
    std::vector<std::wstring> names;
    for (SWindow* child = window->GetRelative(kRelFirstChild); child; child = child->GetRelative(kRelNextSibling))
        names.push_back(child->GetName());
    return names;
}

SWindow* Named(const wchar_t* name)
{
    SWindow* window = new SWindow;
    window->ApplyAttribute(SStringW(L"name"), SStringW(name), TRUE);
    return window;
}

bool EqualRects(const RECT& a, const RECT& b)
{
    return ::EqualRect(&a, &b) != FALSE;
}

// Counts events that reach it.
struct Counter {
    bool OnAny(EventArgs*)
    {
        ++count;
        return true;
    }
    int count = 0;
};

} // namespace

TEST_F(WindowTest, LinkChildPlacesInZOrderAndUnlinkRelinksNeighbours)
{
    SWindow* a = Named(L"a");
    SWindow* b = Named(L"b");
    SWindow* c = Named(L"c");
    SWindow* d = Named(L"d");
    m_root->LinkChild(a);
    m_root->LinkChild(b, a);                    // after the last child: appended
    m_root->LinkChild(c, SKEIN_ICWND_FIRST);    // bottom of the z-order
    m_root->LinkChild(d, c);                    // right after c
    EXPECT_EQ((std::vector<std::wstring>{L"c", L"d", L"a", L"b"}), ChildNames(m_root));
    EXPECT_EQ(4, m_root->GetChildCount());
    EXPECT_EQ(&m_container, d->GetHostContainer());
    EXPECT_EQ(m_root, d->GetRelative(kRelParent));
    EXPECT_EQ(c, m_root->GetRelative(kRelFirstChild));
    EXPECT_EQ(b, m_root->GetRelative(kRelLastChild));
    EXPECT_EQ(nullptr, m_root->GetRelative(9));

    m_root->LinkChild(a); // already a child: nothing changes
    EXPECT_EQ(4, m_root->GetChildCount());
    c->RaiseToTop();
    EXPECT_EQ((std::vector<std::wstring>{L"d", L"a", L"b", L"c"}), ChildNames(m_root));
    EXPECT_TRUE(m_root->UnlinkChild(a));
    EXPECT_FALSE(m_root->UnlinkChild(a));
    EXPECT_EQ((std::vector<std::wstring>{L"d", L"b", L"c"}), ChildNames(m_root));
    EXPECT_EQ(nullptr, a->GetRelative(kRelParent));
    EXPECT_EQ(b, d->GetRelative(kRelNextSibling));
    EXPECT_EQ(d, b->GetRelative(kRelPrevSibling));
    a->Release();

    EXPECT_FALSE(b->DestroyChild(c)); // not its child
    EXPECT_TRUE(m_root->DestroyChild(c));
    EXPECT_EQ(2, m_root->GetChildCount());
    EXPECT_EQ(b, m_root->GetRelative(kRelLastChild));
}

TEST_F(WindowTest, LinkingAnAncestorUnderItsDescendantIsRefused)
{
    SWindow* parent = Named(L"parent");
    SWindow* child = Named(L"child");
    m_root->LinkChild(parent);
    parent->LinkChild(child);
    child->LinkChild(m_root);
    child->LinkChild(child);
    EXPECT_EQ(0, child->GetChildCount());
    EXPECT_EQ(nullptr, m_root->GetParentWindow());
    EXPECT_EQ(m_root, child->GetRootWindow());
    EXPECT_TRUE(child->HasAncestor(m_root));
    EXPECT_FALSE(m_root->HasAncestor(child));
    EXPECT_FALSE(child->HasAncestor(nullptr));
}

TEST_F(WindowTest, LookupsPreferNearerMatchesAndHonourDepth)
{
    BuildFromXml(L"<window><window name='a' id='1'><window name='deep' id='7'/><window name='x' id='3'/></window>"
                 L"<window name='b' id='2'><window name='x' id='4'/></window>"
                 L"<window name='x' id='5'/></window>");
    EXPECT_EQ(5, m_root->LookupChildByName(SStringW(L"x"))->GetId());  // the direct child wins
    EXPECT_EQ(7, m_root->LookupChildById(7)->GetId());
    EXPECT_EQ(nullptr, m_root->LookupChildById(7, 1));
    EXPECT_EQ(nullptr, m_root->LookupChildByName(SStringW(L"deep"), 1));
    EXPECT_NE(nullptr, m_root->LookupChildByName(SStringW(L"deep"), 2));
    EXPECT_EQ(3, m_root->LookupChildByName(SStringW(L"a"))->LookupChildByName(SStringW(L"x"))->GetId());
    EXPECT_EQ(nullptr, m_root->LookupChildById(0));
    EXPECT_EQ(nullptr, m_root->LookupChildByName(SStringW(L"")));
    EXPECT_EQ(nullptr, m_root->LookupChildById(1, 0));

    EXPECT_NE(nullptr, m_root->FindChildByID2<SWindow>(4));
    m_log->lines.clear();
    EXPECT_EQ(nullptr, m_root->FindChildByName2<SWindow>(SStringW(L"missing"), 2));
    EXPECT_TRUE(LogHas("FindChildByName2 Failed, no window of class window with name of [missing] was found "
                       "within [2] levels"));
    EXPECT_EQ(nullptr, m_root->FindChildByID2<SWindow>(99, -1));
    EXPECT_TRUE(LogHas("FindChildByID2 Failed, no window of class [window] with id of [99] was found within [-1] "
                       "levels"));
}

TEST_F(WindowTest, CachedLookupsFollowMovedRenamedAndDestroyedWindows)
{
    BuildFromXml(L"<window><window name='a'><window name='x' id='3'/></window><window name='b'/>"
                 L"<window name='x2' id='4'/></window>");
    SWindow* a = m_root->LookupChildByName(SStringW(L"a"));
    SWindow* b = m_root->LookupChildByName(SStringW(L"b"));
    SWindow* x = m_root->LookupChildByName(SStringW(L"x"));
    ASSERT_EQ(x, m_root->LookupChildById(3));
    EXPECT_EQ(x, a->LookupChildByName(SStringW(L"x")));
    EXPECT_GT(SWindowFinder::Instance()->CachedCount(), 0);

    a->UnlinkChild(x);
    b->LinkChild(x);
    EXPECT_EQ(nullptr, a->LookupChildByName(SStringW(L"x"))); // moved away: not below a any more
    EXPECT_EQ(x, b->LookupChildByName(SStringW(L"x")));
    x->ApplyAttribute(SStringW(L"name"), SStringW(L"renamed"), FALSE);
    EXPECT_EQ(nullptr, m_root->LookupChildByName(SStringW(L"x")));
    EXPECT_EQ(x, m_root->LookupChildByName(SStringW(L"renamed")));
    b->DestroyChild(x);
    EXPECT_EQ(nullptr, m_root->LookupChildById(3));
    EXPECT_EQ(4, m_root->LookupChildById(4)->GetId());
}

TEST_F(WindowTest, IdNameAndFlagAttributes)
{
    struct Case {
        const wchar_t* value;
        int id;
    } cases[] = {{L"IDCANCEL", 2}, {L"idok", 1}, {L"IDHELP", 9}, {L"IDFOO", 77}, {L"12abc", 12}, {L"abc", 0},
                 {L"", 77}};
    for (const Case& c : cases) {
        SRefPtr<SWindow> window(new SWindow, false);
        window->ApplyAttribute(SStringW(L"id"), SStringW(L"77"), TRUE);
        window->ApplyAttribute(SStringW(L"id"), SStringW(c.value), TRUE);
        EXPECT_EQ(c.id, window->GetId()) << c.value;
    }

    SRefPtr<SWindow> window(new SWindow, false);
    EXPECT_EQ(static_cast<DWORD>(kWndInitialFlags), window->GetOwnFlags());
    EXPECT_EQ(S_OK, window->ApplyAttribute(SStringW(L"drawFocusRect"), SStringW(L"FALSE"), TRUE));
    EXPECT_EQ(0u, window->GetOwnFlags() & kWndDrawFocusRect);
    window->ApplyAttribute(SStringW(L"DRAWFOCUSRECT"), SStringW(L""), TRUE);
    EXPECT_NE(0u, window->GetOwnFlags() & kWndDrawFocusRect);
    EXPECT_EQ(S_FALSE, window->ApplyAttribute(SStringW(L"msgTransparent"), SStringW(L"1"), TRUE));
    EXPECT_EQ(S_FALSE, window->ApplyAttribute(SStringW(L"data"), SStringW(L"0x20"), TRUE));
    EXPECT_EQ(0x20, window->GetUserData());
    EXPECT_EQ(E_FAIL, window->ApplyAttribute(SStringW(L"noSuchAttribute"), SStringW(L"1"), TRUE));
    EXPECT_EQ(E_INVALIDARG, window->ApplyAttribute(SStringW(L"layout"), SStringW(L"noSuchLayout"), TRUE));
    // Taken by the style and by the layout parameter: marked with the taker's bit.
    EXPECT_EQ(kAttrByStyle, window->ApplyAttribute(SStringW(L"colorBkgnd"), SStringW(L"#ff0000"), TRUE) &
                                kAttrByStyle);
    EXPECT_EQ(kAttrByLayoutParam, window->ApplyAttribute(SStringW(L"pos"), SStringW(L"0,0,10,10"), TRUE) &
                                      kAttrByLayoutParam);
}

TEST_F(WindowTest, LayoutParamAttributeAfterLoadingRelaysOutTheParent)
{
    BuildFromXml(L"<window><window name='a' pos='0,0,50,50'/></window>");
    SWindow* a = m_root->LookupChildByName(SStringW(L"a"));
    EXPECT_EQ(0, m_root->GetLayoutDirty());
    a->ApplyAttribute(SStringW(L"pos"), SStringW(L"10,10,60,60"), FALSE);
    EXPECT_EQ(1, m_root->GetLayoutDirty());
    m_root->RelayoutIfDirty();
    EXPECT_TRUE(EqualRects(RECT{10, 10, 60, 60}, a->GetWindowRect()));
}

TEST_F(WindowTest, TreeFromXmlWithIncludeTemplateAndClassDefaults)
{
    skein_test::MemProvider* provider = AddResources(
        "<uidef>"
        "<skin><colorrect name='bg' normal='#0000ff'/></skin>"
        "<style><class name='panel' colorBkgnd='#00ff00' margin='2'/></style>"
        "<template><row><window name='{{title}}' pos='0,60,@100,@20' text='{{title}} row'/></row></template>"
        "<objattr><window colorBorder='#ff0000'/></objattr>"
        "</uidef>");
    provider->Put(L"layout", L"part",
                  "<include><window name='inc' id='IDOK' pos='0,0,@50,@30' skin='bg'/>"
                  "<window name='hidden' visible='0'><window name='inner'/></window></include>");
    BuildFromXml(L"<window>"
                 L"<window name='top' class='panel' pos='60,0,-0,@40' colorBkgnd='#ffffff'>  caption  </window>"
                 L"<include src='part'/>"
                 L"<t:row id='12'><data title='first'/></t:row>"
                 L"<noSuchClass name='lost'/>"
                 L"</window>");

    EXPECT_EQ((std::vector<std::wstring>{L"top", L"inc", L"hidden", L"first"}), ChildNames(m_root));
    SWindow* top = m_root->LookupChildByName(SStringW(L"top"));
    SWindow* inc = m_root->LookupChildByName(SStringW(L"inc"));
    SWindow* first = m_root->LookupChildByName(SStringW(L"first"));
    SWindow* hidden = m_root->LookupChildByName(SStringW(L"hidden"));
    ASSERT_TRUE(top && inc && first && hidden);
    for (SWindow* window : {top, inc, first}) {
        EXPECT_STREQ(L"window", window->XmlClassName());
        EXPECT_EQ(0x0000FFu, window->GetStyle().GetBorderColor() & 0xFFFFFF); // class default
    }
    // The style class, then the element's own attributes over it.
    EXPECT_EQ(0xFFFFFFFFu, top->GetStyle().GetBkgndColor());
    EXPECT_EQ(2, top->GetStyle().GetMarginRect().left);
    EXPECT_STREQ(L"caption", top->QueryText(true).c_str());
    EXPECT_EQ(1, inc->GetId());
    EXPECT_NE(nullptr, inc->GetSkin());
    EXPECT_EQ(12, first->GetId());
    EXPECT_STREQ(L"first row", first->QueryText(true).c_str());
    EXPECT_TRUE(EqualRects(RECT{60, 0, 200, 40}, top->GetWindowRect()));
    EXPECT_TRUE(EqualRects(RECT{0, 0, 50, 30}, inc->GetWindowRect()));
    EXPECT_TRUE(EqualRects(RECT{0, 60, 100, 80}, first->GetWindowRect()));
    EXPECT_TRUE(LogHas("Warning: no object nosuchclass of type:1"));
}

// Layouts and UI definitions that never finish expanding: each recursion expands once in its
// chain, however often a level repeats it.
TEST_F(WindowTest, RecursiveIncludesAndTemplatesExpandOncePerChain)
{
    skein_test::MemProvider* provider =
        AddResources("<uidef><template><pair><window><t:pair/><t:pair/></window></pair></template></uidef>");
    provider->Put(L"layout", L"twice", "<include><window/><include src='twice'/><include src='TWICE'/></include>");
    provider->Put(L"layout", L"ping", "<include><window/><include src='pong'/><include src='pong'/></include>");
    provider->Put(L"layout", L"pong", "<include><window/><include src='ping'/><include src='ping'/></include>");
    const struct {
        const wchar_t* layout;
        int windows;
        const char* logged;
    } kCases[] = {
        {L"<window><include src='twice'/></window>", 1, "include [twice] is already being expanded"},
        {L"<window><t:pair/></window>", 1, "template [pair] is already being expanded"},
        {L"<window><include src='layout:ping'/></window>", 3, "include [ping] is already being expanded"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.layout)));
        pugi::xml_document document;
        ASSERT_TRUE(document.load_string(c.layout));
        SWindow* holder = new SWindow; // a creation of its own, with its own log lines
        m_root->LinkChild(holder);
        holder->LoadFromXml(document.first_child());
        EXPECT_EQ(c.windows, CountWindows(holder) - 1);
        EXPECT_TRUE(LogHas(c.logged));
    }
}

// The same through a template of the host's own layout, in a real host window.
TEST_F(WindowTest, HostLayoutTemplateUsingItselfExpandsOnce)
{
    skein_test::MemProvider* provider = AddResources("");
    provider->Put(L"layout", L"host",
                  "<SKEIN width='100' height='50'><template><pair><window><t:pair/><t:pair/></window></pair></template>"
                  "<root><t:pair/><window name='after'/></root></SKEIN>");
    SHostWnd host(L"layout:host");
    ASSERT_NE(nullptr, host.CreateHost(nullptr, WS_POPUP, 0, 0, 0, 100, 50));
    EXPECT_EQ(3, CountWindows(&host)); // the host, the template's window and the sibling after it
    EXPECT_NE(nullptr, host.LookupChildByName(SStringW(L"after"), 1));
    EXPECT_TRUE(LogHas("template [pair] is already being expanded"));
    host.DestroyHost();
}

TEST_F(WindowTest, ChainOfDistinctIncludesStopsAtTheNestingLimit)
{
    skein_test::MemProvider* provider = AddResources("");
    const int kChain = kMaxXmlNesting + 8;
    for (int i = 0; i < kChain; ++i) {
        provider->Put(L"layout", L"part" + std::to_wstring(i),
                      "<include><window/><include src='part" + std::to_string(i + 1) + "'/></include>");
    }
    BuildFromXml(L"<window><include src='part0'/></window>");
    EXPECT_EQ(kMaxXmlNesting, CountWindows(m_root) - 1);
    EXPECT_TRUE(LogHas("include [part32] nested deeper than 32 levels"));
}

// Far deeper than the limit: the permitted levels are created, the rest of the tree too, and
// the result lays out, paints and goes away.
TEST_F(WindowTest, NestingBeyondTheDepthLimitCreatesThePermittedPart)
{
    const int kNesting = 20 * kMaxXmlDepth;
    std::wstring xml = L"<window>";
    for (int i = 0; i < kNesting; ++i)
        xml += L"<window size='10,10'>";
    for (int i = 0; i < kNesting; ++i)
        xml += L"</window>";
    xml += L"<window name='after'/></window>";
    BuildFromXml(xml.c_str());

    int depth = 0;
    for (SWindow* w = m_root->GetRelative(kRelFirstChild); w; w = w->GetRelative(kRelFirstChild))
        ++depth;
    EXPECT_EQ(kMaxXmlDepth, depth);
    EXPECT_NE(nullptr, m_root->LookupChildByName(SStringW(L"after"), 1));
    EXPECT_TRUE(LogHas("would nest deeper than 256 levels"));
    m_container.Render(200, 100);

    // A window deep in the tree counts its own depth: its children stop at the same level.
    SWindow* deepest = m_root;
    while (deepest->GetRelative(kRelFirstChild))
        deepest = deepest->GetRelative(kRelFirstChild);
    pugi::xml_document more;
    ASSERT_TRUE(more.load_string(L"<window><window/></window>"));
    deepest->CreateChildrenFromXml(more.first_child());
    EXPECT_EQ(nullptr, deepest->GetRelative(kRelFirstChild));
}

TEST_F(WindowTest, HiddenParentStartsChildrenInvisibleAndShowingRestoresOwnWishes)
{
    BuildFromXml(L"<window><window name='p' visible='false'>"
                 L"<window name='c1'/><window name='c2' visible='0'/></window></window>");
    SWindow* p = m_root->LookupChildByName(SStringW(L"p"));
    SWindow* c1 = m_root->LookupChildByName(SStringW(L"c1"));
    SWindow* c2 = m_root->LookupChildByName(SStringW(L"c2"));
    EXPECT_FALSE(p->TestVisible());
    EXPECT_FALSE(c1->TestVisible());
    EXPECT_TRUE(c1->TestVisible(FALSE));
    EXPECT_FALSE(c2->TestVisible());

    p->ChangeVisibility(TRUE);
    EXPECT_TRUE(c1->TestVisible());
    EXPECT_FALSE(c2->TestVisible());
    m_root->ChangeVisibility(FALSE);
    EXPECT_FALSE(c1->TestVisible());
    EXPECT_TRUE(c1->TestVisible(FALSE));
    m_root->ChangeVisibility(TRUE);
    EXPECT_TRUE(c1->TestVisible());
}

TEST_F(WindowTest, DisablingFollowsAncestorsAndDropsFocusAndHover)
{
    BuildFromXml(L"<window><window name='p'><window name='c' focusable='1'/>"
                 L"<window name='off' enable='0'/></window></window>");
    SWindow* p = m_root->LookupChildByName(SStringW(L"p"));
    SWindow* c = m_root->LookupChildByName(SStringW(L"c"));
    SWindow* off = m_root->LookupChildByName(SStringW(L"off"));
    EXPECT_TRUE(off->TestDisabled());
    c->TakeFocus();
    EXPECT_EQ(c->GetHandle(), m_container.focus);
    c->ChangeState(kStateHover, 0, FALSE);

    p->EnableWindow(FALSE);
    EXPECT_TRUE(c->TestDisabled());
    EXPECT_FALSE(c->TestDisabled(FALSE));
    EXPECT_EQ(0u, c->GetStateFlags() & kStateHover);
    EXPECT_EQ(0u, m_container.focus);
    c->TakeFocus(); // disabled and focusable: refused
    EXPECT_EQ(0u, m_container.focus);

    p->EnableWindow(TRUE);
    EXPECT_FALSE(c->TestDisabled());
    EXPECT_TRUE(off->TestDisabled()); // its own wish from XML stays
}

TEST_F(WindowTest, HitTestingSkipsTransparentAndHiddenChildrenAndKeepsTheMargin)
{
    BuildFromXml(L"<window margin='5'>"
                 L"<window name='under' pos='0,0,-0,-0'/>"
                 L"<window name='glass' pos='0,0,-0,-0' msgTransparent='1'/>"
                 L"<window name='gone' pos='0,0,-0,-0' visible='0'/>"
                 L"<window name='corner' pos='0,0,@30,@30'/>"
                 L"</window>");
    SWindow* under = m_root->LookupChildByName(SStringW(L"under"));
    SWindow* corner = m_root->LookupChildByName(SStringW(L"corner"));
    EXPECT_TRUE(EqualRects(RECT{5, 5, 35, 35}, corner->GetWindowRect()));
    EXPECT_EQ(corner->GetHandle(), m_root->FindWindowAtPoint(POINT{10, 10}, FALSE));
    EXPECT_EQ(under->GetHandle(), m_root->FindWindowAtPoint(POINT{100, 50}, FALSE));
    EXPECT_EQ(m_root->GetHandle(), m_root->FindWindowAtPoint(POINT{2, 50}, FALSE)); // on the margin
    EXPECT_EQ(0u, m_root->FindWindowAtPoint(POINT{250, 50}, FALSE));
}

TEST_F(WindowTest, ApplyRectRaisesInvertedEdgesAndSendsTheInnerSize)
{
    SWindow* child = AddChild(m_root, L"<window margin='1'/>", RECT{10, 10, 5, 4});
    EXPECT_TRUE(EqualRects(RECT{10, 10, 10, 10}, child->GetWindowRect()));
    EXPECT_TRUE(child->IsFloat());
    Counter sizes;
    child->GetEventSet()->AddSubscriber(EventSwndSize::EventID, Subscriber(&Counter::OnAny, &sizes));
    EXPECT_EQ(0, child->ApplyRect(RECT{10, 10, 10, 10}));
    EXPECT_EQ(1, child->ApplyRect(RECT{0, 0, 12, 8}));
    EXPECT_EQ(1, sizes.count);
}

TEST_F(WindowTest, ClickReleasedOutsideFiresDownButNeitherUpNorCommand)
{
    SWindow* button = AddChild(m_root, L"<window name='btn'/>", RECT{0, 0, 50, 50});
    m_container.events.clear();
    button->SendUiMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(10, 10));
    EXPECT_EQ(button->GetHandle(), m_container.capture);
    EXPECT_NE(0u, button->GetStateFlags() & kStatePushed);
    button->SendUiMessage(WM_LBUTTONUP, 0, MAKELPARAM(80, 10));
    EXPECT_EQ(0u, m_container.capture);
    EXPECT_EQ(0u, button->GetStateFlags() & kStatePushed);
    EXPECT_EQ((std::vector<int>{EventSwndStateChanged::EventID, EventLButtonDown::EventID,
                                EventSwndStateChanged::EventID}),
              m_container.events);

    m_container.events.clear();
    button->SendUiMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(10, 10));
    button->SendUiMessage(WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
    EXPECT_EQ((std::vector<int>{EventSwndStateChanged::EventID, EventLButtonDown::EventID,
                                EventSwndStateChanged::EventID, EventLButtonUp::EventID, EventCmd::EventID}),
              m_container.events);
    EXPECT_EQ(0, m_root->SendUiMessage(WM_MOUSEWHEEL, 0, 0)); // no parent: 0
}

TEST_F(WindowTest, EventsBubbleToTheOwnerAndOwnerCyclesEnd)
{
    SWindow* a = AddChild(m_root, L"<window name='a'/>", RECT{0, 0, 10, 10});
    SWindow* b = AddChild(m_root, L"<window name='b'/>", RECT{0, 0, 10, 10});
    Counter atA, atB;
    a->GetEventSet()->AddSubscriber(EventCmd::EventID, Subscriber(&Counter::OnAny, &atA));
    b->GetEventSet()->AddSubscriber(EventCmd::EventID, Subscriber(&Counter::OnAny, &atB));
    m_container.events.clear();

    a->SetOwnerWindow(b);
    EXPECT_TRUE(a->FireCommand());
    EXPECT_EQ(1, atA.count);
    EXPECT_EQ(1, atB.count);
    EXPECT_EQ((std::vector<int>{EventCmd::EventID}), m_container.events); // from b, which has no owner

    m_container.events.clear();
    b->SetOwnerWindow(a);
    a->FireCommand();
    EXPECT_EQ(2, atA.count);
    EXPECT_EQ(2, atB.count);
    EXPECT_TRUE(m_container.events.empty());
    EXPECT_TRUE(LogHas("owner windows form a cycle"));

    a->SetOwnerWindow(a);
    a->FireCommand();
    EXPECT_EQ(3, atA.count);

    a->GetEventSet()->SetMuted(true);
    EXPECT_FALSE(a->FireCommand());
    EXPECT_EQ(3, atA.count);
}

TEST_F(WindowTest, LanguageChangeRelaysOutContentSizedWindowsOnly)
{
    BuildFromXml(L"<window><window name='fixed' pos='0,0,@50,@20' text='a'/>"
                 L"<window name='wrap' pos='0,30' text='b'/></window>");
    SWindow* fixed = m_root->LookupChildByName(SStringW(L"fixed"));
    SWindow* wrap = m_root->LookupChildByName(SStringW(L"wrap"));
    EXPECT_GT(wrap->GetWindowRect().right, 0);
    fixed->SendUiMessage(kUiMsgLanguageChanged);
    wrap->SendUiMessage(kUiMsgLanguageChanged);
    EXPECT_EQ(0, fixed->GetLayoutDirty());
    EXPECT_EQ(1, wrap->GetLayoutDirty());
}

TEST_F(WindowTest, HostTimerIdsCarryTheWindowHandle)
{
    UINT_PTR packed = 0;
    ASSERT_TRUE(PackSwndTimerId(m_root->GetHandle(), 5, packed));
    EXPECT_EQ(0x85u, (packed >> 24) & 0xFF);
    EXPECT_EQ(m_root->GetHandle() & 0xFFFFFF, packed & 0xFFFFFF);
    EXPECT_FALSE(m_root->StartHostTimer(5, 10)); // the test container has no native window
}

TEST_F(WindowTest, HiddenChildKeepsItsPlaceOnlyWithTheDisplayFlag)
{
    BuildFromXml(L"<window>"
                 L"<window name='g1' pos='0,0,-0,@10'><window pos='0,0,@20,@10'/>"
                 L"<window name='h1' visible='0' pos='[0,0,@30,@10'/><window name='n1' pos='[0,0,@10,@10'/></window>"
                 L"<window name='g0' pos='0,20,-0,@10'><window pos='0,0,@20,@10'/>"
                 L"<window name='h0' visible='0' display='0' pos='[0,0,@30,@10'/>"
                 L"<window name='n0' pos='[0,0,@10,@10'/></window>"
                 L"</window>");
    EXPECT_EQ(50, m_root->LookupChildByName(SStringW(L"n1"))->GetWindowRect().left);
    EXPECT_EQ(20, m_root->LookupChildByName(SStringW(L"n0"))->GetWindowRect().left);
    m_root->LookupChildByName(SStringW(L"h0"))->ChangeVisibility(TRUE);
    m_root->RelayoutIfDirty();
    EXPECT_EQ(50, m_root->LookupChildByName(SStringW(L"n0"))->GetWindowRect().left);
}
