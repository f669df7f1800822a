// Resource ids, index keys and the provider manager, driven with in-memory providers.
#include <gtest/gtest.h>
#include <atomic>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include "res.mgr/SResName.h"
#include "res.mgr/SResProviderMgr.h"
#include "res.mgr/SResourceKey.h"
#include "res_test_util.h"

using namespace SKEIN;
using restest::TempFolder;

namespace {

std::wstring Lower(std::wstring text)
{
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(towlower(c));
    return text;
}

// Providers alive right now; a call into one that is not listed here is a use after release.
std::mutex g_aliveLock;
std::set<const void*> g_alive;
std::atomic<int> g_deadCalls{0};

// An in-memory provider: resources by (type in any case, exact name).
class FakeProvider : public TObjRefImpl<IResProvider> {
public:
    explicit FakeProvider(bool* destroyed = nullptr) : m_destroyed(destroyed)
    {
        std::lock_guard<std::mutex> guard(g_aliveLock);
        g_alive.insert(this);
    }
    ~FakeProvider() override
    {
        {
            std::lock_guard<std::mutex> guard(g_aliveLock);
            g_alive.erase(this);
        }
        if (m_destroyed)
            *m_destroyed = true;
    }

    void Put(const std::wstring& type, const std::wstring& name, const std::string& bytes)
    {
        m_entries[Key(type, name)] = bytes;
    }

    BOOL Init(const void*) override { return TRUE; }
    BOOL Contains(const wchar_t* type, const wchar_t* name) override
    {
        CheckAlive();
        ++containsCalls;
        return Find(type, name) != nullptr;
    }
    HICON LoadIconRes(const wchar_t* name, int cx, int cy) override
    {
        iconRequest = std::wstring(name) + L"@" + std::to_wstring(cx) + L"x" + std::to_wstring(cy);
        return nullptr;
    }
    HBITMAP LoadBitmapRes(const wchar_t*) override { return nullptr; }
    // A fresh cursor per call, handed over to the caller.
    HCURSOR LoadCursorRes(const wchar_t*) override
    {
        ++cursorLoads;
        BYTE andMask[128], xorMask[128];
        memset(andMask, 0xFF, sizeof(andMask));
        memset(xorMask, 0, sizeof(xorMask));
        return CreateCursor(GetModuleHandleW(nullptr), 0, 0, 32, 32, andMask, xorMask);
    }
    IBitmap* LoadImageRes(const wchar_t*, const wchar_t*) override { return nullptr; }
    IImgX* LoadImageX(const wchar_t*, const wchar_t*) override { return nullptr; }
    size_t RawSize(const wchar_t* type, const wchar_t* name) override
    {
        CheckAlive();
        const std::string* bytes = Find(type, name);
        return bytes ? bytes->size() : 0;
    }
    BOOL ReadRawData(const wchar_t* type, const wchar_t* name, void* buffer, size_t size) override
    {
        CheckAlive();
        const std::string* bytes = Find(type, name);
        if (!bytes || size < bytes->size())
            return FALSE;
        memcpy(buffer, bytes->data(), bytes->size());
        return TRUE;
    }

    int containsCalls = 0;
    int cursorLoads = 0;
    std::wstring iconRequest;

private:
    static std::wstring Key(const std::wstring& type, const std::wstring& name) { return Lower(type) + L":" + name; }
    const std::string* Find(const wchar_t* type, const wchar_t* name) const
    {
        auto it = m_entries.find(Key(type, name ? name : L""));
        return it == m_entries.end() ? nullptr : &it->second;
    }
    void CheckAlive() const
    {
        std::lock_guard<std::mutex> guard(g_aliveLock);
        if (!g_alive.count(this))
            ++g_deadCalls;
    }

    std::map<std::wstring, std::string> m_entries;
    bool* m_destroyed;
};

// A provider every test creates, owns once and releases at its end.
struct ProviderRef {
    explicit ProviderRef(bool* destroyed = nullptr) : p(new FakeProvider(destroyed)) {}
    ~ProviderRef() { p->Release(); }
    FakeProvider* operator->() const { return p; }
    operator FakeProvider*() const { return p; }
    FakeProvider* p;
};

std::string ReadAll(SResProviderMgr& mgr, const wchar_t* type, const wchar_t* name)
{
    size_t size = mgr.GetResDataSize(type, name);
    std::string bytes(size, '\0');
    if (size == 0 || !mgr.ReadResData(type, name, &bytes[0], size))
        return "<none>";
    return bytes;
}

} // namespace

TEST(ResourceName, SplitsAtTheFirstColon)
{
    struct Case {
        const wchar_t* id;
        std::vector<std::wstring> pieces;
    } cases[] = {
        {L"LAYOUT:XML_MAINWND", {L"LAYOUT", L"XML_MAINWND"}},
        {L"a:b:c", {L"a", L"b:c"}},
        {L"noColon", {L"noColon"}},
        {L"", {L""}},
        {nullptr, {L""}},
        {L":name", {L"", L"name"}},
        {L"type:", {L"type", L""}},
    };
    for (const Case& c : cases) {
        SDynArray<SStringW> pieces;
        ASSERT_EQ(static_cast<int>(c.pieces.size()), SplitResourceName(c.id, pieces)) << (c.id ? c.id : L"(null)");
        for (size_t i = 0; i < c.pieces.size(); ++i)
            EXPECT_EQ(c.pieces[i], pieces[static_cast<int>(i)].c_str());
    }
}

TEST(ResourceName, AppendsAndAnswersTheArrayCount)
{
    SDynArray<SStringW> pieces;
    pieces.Add(SStringW(L"kept"));
    EXPECT_EQ(3, SplitResourceName(L"x:y", pieces));
    EXPECT_STREQ(L"kept", pieces[0].c_str());
    EXPECT_STREQ(L"y", pieces[2].c_str());
}

TEST(ResourceKey, IgnoresCaseInTypeAndName)
{
    SResourceKey a, b;
    ASSERT_TRUE(a.Assign(L"LAYOUT", L"Main"));
    ASSERT_TRUE(b.Assign(L"layout", L"mAIN"));
    EXPECT_TRUE(a == b);
    EXPECT_EQ(a.Hash(), b.Hash());
    ASSERT_TRUE(b.Assign(L"layout", L"main2"));
    EXPECT_FALSE(a == b);
    // The hash runs over the type, then the name.
    ASSERT_TRUE(a.Assign(L"ab", L"c"));
    EXPECT_EQ(((97u * 33 + 98u) * 33) + 99u, a.Hash());
}

TEST(ResourceKey, LongTextsAreRefusedNotCut)
{
    const std::wstring type29(29, L't'), name99(99, L'n');
    SResourceKey fits, tooLong, prefix;
    EXPECT_TRUE(fits.Assign(type29.c_str(), name99.c_str()));
    EXPECT_FALSE(tooLong.Assign((type29 + L"t").c_str(), L"x"));
    EXPECT_FALSE(tooLong.Assign(L"x", (name99 + L"n").c_str()));
    // A refused key is left empty, so it can't stand in for its 99-character prefix.
    ASSERT_TRUE(prefix.Assign(L"x", name99.c_str()));
    EXPECT_FALSE(tooLong == prefix);
    EXPECT_TRUE(tooLong == SResourceKey());
}

TEST(ResProviderMgr, NewestProviderShadowsAndRemovalUncovers)
{
    SResProviderMgr mgr;
    ProviderRef older, newer;
    older->Put(L"LAYOUT", L"main", "older");
    older->Put(L"LAYOUT", L"only_old", "old only");
    newer->Put(L"LAYOUT", L"main", "newer");
    mgr.AddProvider(older);
    mgr.AddProvider(newer);

    EXPECT_EQ("newer", ReadAll(mgr, L"layout", L"main"));
    EXPECT_EQ("old only", ReadAll(mgr, L"LAYOUT", L"only_old"));
    EXPECT_EQ("<none>", ReadAll(mgr, L"LAYOUT", L"absent"));
    EXPECT_EQ(newer.p, mgr.FindResProvider(L"LAYOUT", L"main").Get());
    EXPECT_EQ(nullptr, mgr.FindResProvider(nullptr, L"main").Get());

    ProviderRef stranger;
    mgr.RemoveProvider(stranger); // not listed: ignored
    EXPECT_EQ("newer", ReadAll(mgr, L"LAYOUT", L"main"));
    mgr.RemoveProvider(newer);
    EXPECT_EQ("older", ReadAll(mgr, L"LAYOUT", L"main"));
    mgr.RemoveProvider(older);
    EXPECT_EQ("<none>", ReadAll(mgr, L"LAYOUT", L"main"));
}

TEST(ResProviderMgr, RemovingTakesOnlyTheNewestEntryOfAProvider)
{
    SResProviderMgr mgr;
    ProviderRef a, b;
    a->Put(L"T", L"n", "a");
    b->Put(L"T", L"n", "b");
    mgr.AddProvider(a);
    mgr.AddProvider(b);
    mgr.AddProvider(a); // a listed twice: oldest and newest
    EXPECT_EQ("a", ReadAll(mgr, L"T", L"n"));
    mgr.RemoveProvider(a);
    EXPECT_EQ("b", ReadAll(mgr, L"T", L"n"));
    mgr.RemoveProvider(b);
    EXPECT_EQ("a", ReadAll(mgr, L"T", L"n"));
}

TEST(ResProviderMgr, ProvidersAreReleasedWithTheManager)
{
    bool destroyed = false;
    FakeProvider* provider = new FakeProvider(&destroyed);
    {
        SResProviderMgr mgr;
        mgr.AddProvider(provider);
        mgr.AddProvider(provider);
        provider->Release();
        EXPECT_FALSE(destroyed);
    }
    EXPECT_TRUE(destroyed);
}

TEST(ResProviderMgr, FoundProviderOutlivesItsRemoval)
{
    bool destroyed = false;
    SResProviderMgr mgr;
    FakeProvider* provider = new FakeProvider(&destroyed);
    provider->Put(L"XML", L"doc", "<a/>");
    mgr.AddProvider(provider);
    provider->Release();

    SRefPtr<IResProvider> found = mgr.FindResProvider(L"XML", L"doc");
    ASSERT_TRUE(found);
    mgr.RemoveProvider(provider);
    EXPECT_FALSE(destroyed);
    EXPECT_EQ(4u, found->RawSize(L"XML", L"doc"));
    found = nullptr;
    EXPECT_TRUE(destroyed);
}

TEST(ResProviderMgr, ConcurrentLookupsNeverReachAReleasedProvider)
{
    SResProviderMgr mgr;
    g_deadCalls = 0;
    std::atomic<bool> stop{false};
    std::thread churn([&] {
        while (!stop) {
            FakeProvider* provider = new FakeProvider();
            provider->Put(L"XML", L"doc", "<a/>");
            mgr.AddProvider(provider);
            provider->Release();
            mgr.RemoveProvider(provider);
        }
    });
    int found = 0;
    DWORD start = GetTickCount();
    for (int i = 0; (i < 3000 || found < 20) && GetTickCount() - start < 5000; ++i) {
        SRefPtr<IResProvider> provider = mgr.FindResProvider(L"XML", L"doc");
        if (provider) {
            Sleep(0); // give the other thread time to remove and release it
            EXPECT_EQ(4u, provider->RawSize(L"XML", L"doc"));
            ++found;
        }
        mgr.GetResDataSize(L"XML", L"doc");
    }
    stop = true;
    churn.join();
    EXPECT_EQ(0, g_deadCalls.load());
    EXPECT_GE(found, 20);
}

TEST(ResProviderMgr, FileTypeReadsTheDiskFileInAnyCase)
{
    TempFolder folder;
    std::wstring path = folder.Write(L"data.bin", "0123456789");
    SResProviderMgr mgr;
    ProviderRef everything;
    everything->Put(L"file", path, "not from disk");
    mgr.AddProvider(everything);

    for (const wchar_t* type : {L"file", L"FILE", L"File"}) {
        EXPECT_EQ(10u, mgr.GetResDataSize(type, path.c_str())) << type;
        EXPECT_EQ("0123456789", ReadAll(mgr, type, path.c_str())) << type;
    }
    EXPECT_EQ(0, everything->containsCalls); // providers are never asked for "file"

    EXPECT_EQ(0u, mgr.GetResDataSize(L"file", folder.File(L"missing.bin").c_str()));
    EXPECT_EQ(0u, mgr.GetResDataSize(L"file", folder.Path().c_str())); // a folder is no file
    char buffer[16];
    EXPECT_FALSE(mgr.ReadResData(L"file", folder.File(L"missing.bin").c_str(), buffer, sizeof(buffer)));
    EXPECT_TRUE(SResProviderMgr::IsFileType(L"fILE"));
    EXPECT_FALSE(SResProviderMgr::IsFileType(L"files"));
    EXPECT_FALSE(SResProviderMgr::IsFileType(nullptr));
}

TEST(ResProviderMgr, FileReadIntoAShortBufferFails)
{
    TempFolder folder;
    std::wstring path = folder.Write(L"data.bin", "0123456789");
    SResProviderMgr mgr;
    char buffer[10] = {};
    SetLastError(0);
    EXPECT_FALSE(mgr.ReadResData(L"file", path.c_str(), buffer, 9));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
    EXPECT_EQ(0, buffer[0]); // nothing written
    EXPECT_TRUE(mgr.ReadResData(L"file", path.c_str(), buffer, 10));
    EXPECT_EQ('9', buffer[9]);
}

TEST(ResProviderMgr, IconIdsCarryTheSizeAfterTheColon)
{
    SResProviderMgr mgr;
    ProviderRef icons;
    icons->Put(L"ICON", L"ICON_LOGO", "x");
    icons->Put(L"ICON", L"a", "x");
    mgr.AddProvider(icons);
    struct Case {
        const wchar_t* id;
        const wchar_t* request;
    } cases[] = {
        {L"ICON_LOGO:16", L"ICON_LOGO@16x16"},
        {L"ICON_LOGO", L"ICON_LOGO@0x0"},
        {L"a:b:c", L"a@0x0"},
        {L"a:24:7", L"a@24x24"},
    };
    for (const Case& c : cases) {
        icons->iconRequest.clear();
        mgr.LoadIconFromId(c.id);
        EXPECT_EQ(c.request, icons->iconRequest) << c.id;
    }
}

TEST(ResProviderMgr, ImageIdsNeedTypeAndName)
{
    SResProviderMgr mgr;
    ProviderRef images;
    images->Put(L"IMG", L"IMG", "x");
    mgr.AddProvider(images);
    EXPECT_EQ(nullptr, mgr.LoadImageFromId(L"IMG"));
    EXPECT_EQ(0, images->containsCalls);
    EXPECT_EQ(nullptr, mgr.LoadImageFromId(L"IMG:absent"));
    EXPECT_EQ(1, images->containsCalls);
}

TEST(ResProviderMgr, SystemCursorsComeFromTheSystemAndAreNotCached)
{
    SResProviderMgr mgr;
    ProviderRef cursors;
    cursors->Put(L"CURSOR", L"HAND", "x");
    mgr.AddProvider(cursors);
    HCURSOR hand = mgr.LoadCursorRes(L"HAND");
    EXPECT_EQ(LoadCursorW(nullptr, IDC_HAND), hand);
    EXPECT_EQ(LoadCursorW(nullptr, IDC_IBEAM), mgr.LoadCursorRes(L"IBeam"));
    EXPECT_EQ(LoadCursorW(nullptr, IDC_ARROW), mgr.LoadCursorRes(MAKEINTRESOURCEW(32512)));
    EXPECT_EQ(0, cursors->cursorLoads);
    mgr.RemoveAllProviders(); // destroys cached cursors only
    ICONINFO info;
    ASSERT_TRUE(GetIconInfo(hand, &info));
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
}

TEST(ResProviderMgr, ProviderCursorsAreCachedByExactNameUntilRemoveAll)
{
    SResProviderMgr mgr;
    FakeProvider* cursors = new FakeProvider();
    cursors->Put(L"CURSOR", L"busy", "x");
    cursors->Put(L"CURSOR", L"Busy", "x");
    mgr.AddProvider(cursors);

    HCURSOR first = mgr.LoadCursorRes(L"busy");
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(1, cursors->cursorLoads);
    mgr.RemoveProvider(cursors);
    EXPECT_EQ(first, mgr.LoadCursorRes(L"busy")); // served from the cache
    EXPECT_EQ(nullptr, mgr.LoadCursorRes(L"Busy")); // another key; no provider left
    EXPECT_EQ(nullptr, mgr.LoadCursorRes(L"Busy")); // failures are not cached
    mgr.AddProvider(cursors);
    HCURSOR second = mgr.LoadCursorRes(L"Busy");
    EXPECT_NE(nullptr, second);
    EXPECT_NE(first, second);
    EXPECT_EQ(2, cursors->cursorLoads);
    cursors->Release();

    mgr.RemoveAllProviders();
    ICONINFO info;
    EXPECT_FALSE(GetIconInfo(first, &info));
    EXPECT_FALSE(GetIconInfo(second, &info));
}

TEST(ResProviderMgr, IconsAndCursorsFromFiles)
{
    TempFolder folder;
    std::wstring cursorPath = folder.Write(L"arrow.cur", restest::ProgramResource(L"RAW", L"ARROW_CUR"));
    std::wstring iconPath = folder.Write(L"logo.ico", restest::ProgramResource(L"RAW", L"LOGO_ICO"));
    SResProviderMgr mgr;
    HICON icon = mgr.LoadIconRes(iconPath.c_str(), 16, 16, TRUE);
    EXPECT_NE(nullptr, icon);
    DestroyIcon(icon);
    EXPECT_EQ(nullptr, mgr.LoadIconRes(iconPath.c_str(), 16, 16, FALSE)); // no provider has it

    HCURSOR cursor = mgr.LoadCursorRes(cursorPath.c_str(), TRUE);
    ASSERT_NE(nullptr, cursor);
    DeleteFileW(cursorPath.c_str());
    EXPECT_EQ(cursor, mgr.LoadCursorRes(cursorPath.c_str(), TRUE)); // cached
    EXPECT_EQ(nullptr, mgr.LoadCursorRes(folder.File(L"missing.cur").c_str(), TRUE));
}

namespace {

// A manager whose UI-definition hook records what it was given.
class HookedMgr : public SResProviderMgr {
public:
    std::wstring id;
    IResProvider* provider = nullptr;
    bool listedDuringHook = false;

protected:
    void LoadUiDefFromProvider(IResProvider* p, const wchar_t* uidefId) override
    {
        provider = p;
        id = uidefId;
        listedDuringHook = FindResProvider(L"UIDEF", L"xml_init").Get() == p;
    }
};

} // namespace

TEST(ResProviderMgr, UiDefinitionHookRunsOnlyWithAnId)
{
    HookedMgr mgr;
    ProviderRef plain, withDef;
    withDef->Put(L"UIDEF", L"xml_init", "<uidef/>");
    mgr.AddProvider(plain);
    EXPECT_EQ(nullptr, mgr.provider);
    mgr.AddProvider(withDef, L"uidef:xml_init");
    EXPECT_EQ(withDef.p, mgr.provider);
    EXPECT_EQ(L"uidef:xml_init", mgr.id);
    EXPECT_TRUE(mgr.listedDuringHook);
}
