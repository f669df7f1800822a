// The module provider over this program's own resources (data/res/res_test.rc), the folder
// provider over real folders, the system-resource library and the image loaders.
#include <gtest/gtest.h>
#include <pugixml.hpp>
#include <string>
#include "app_test_support.h"
#include "interface/SImgDecoder-i.h"
#include "interface/SRender-i.h"
#include "res.mgr/SBuiltinResProvider.h"
#include "res.mgr/SResLoaders.h"
#include "res.mgr/SResProviderFiles.h"
#include "res.mgr/SResProviderMgr.h"
#include "res.mgr/SResProviderPE.h"
#include "res_test_util.h"

using namespace SKEIN;
using restest::ProgramResource;
using restest::TempFolder;

namespace {

const char kLayout[] = "<window layout=\"vbox\"/>";

IRenderFactory* g_factory = nullptr;

IRenderFactory* TestRenderFactory()
{
    return g_factory;
}

// Installs a GDI render factory with the stb decoder as the loaders' factory.
class ResProviderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(CreateRenderFactory_GDI(&g_factory));
        IImgDecoderFactory* decoders = nullptr;
        ASSERT_TRUE(CreateImgDecoderFactory_STB(&decoders));
        g_factory->SetImgDecoderFactory(decoders);
        decoders->Release();
        SetResRenderFactorySource(TestRenderFactory);
    }
    void TearDown() override
    {
        SetResRenderFactorySource(nullptr);
        g_factory->Release();
        g_factory = nullptr;
    }
};

SIZE IconSize(HICON icon)
{
    ICONINFO info = {};
    SIZE size = {0, 0};
    if (!icon || !GetIconInfo(icon, &info))
        return size;
    BITMAP bm = {};
    GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bm), &bm);
    size.cx = bm.bmWidth;
    size.cy = info.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return size;
}

POINT Hotspot(HCURSOR cursor)
{
    ICONINFO info = {};
    POINT spot = {-1, -1};
    if (cursor && GetIconInfo(cursor, &info)) {
        spot.x = static_cast<LONG>(info.xHotspot);
        spot.y = static_cast<LONG>(info.yHotspot);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }
    return spot;
}

// The first pixel of a bitmap as premultiplied blue, green, red, alpha.
UINT32 FirstPixel(IBitmap* bitmap)
{
    return *static_cast<const UINT32*>(bitmap->GetPixelBits());
}

std::string Read(IResProvider* provider, const wchar_t* type, const wchar_t* name)
{
    size_t size = provider->RawSize(type, name);
    std::string bytes(size, '\0');
    if (size == 0 || !provider->ReadRawData(type, name, &bytes[0], size))
        return "<none>";
    return bytes;
}

SRefPtr<IResProvider> ProgramProvider()
{
    SRefPtr<IResProvider> provider(new SResProviderPE(), false);
    provider->Init(GetModuleHandleW(nullptr));
    return provider;
}

} // namespace

TEST_F(ResProviderTest, ModuleNamedTypesIgnoreCase)
{
    SRefPtr<IResProvider> pe = ProgramProvider();
    EXPECT_TRUE(pe->Contains(L"LAYOUT", L"XML_MAIN"));
    EXPECT_TRUE(pe->Contains(L"layout", L"xml_main"));
    EXPECT_FALSE(pe->Contains(L"LAYOUT", L"absent"));
    EXPECT_FALSE(pe->Contains(L"XML", L"XML_MAIN"));
    EXPECT_EQ(sizeof(kLayout) - 1, pe->RawSize(L"Layout", L"Xml_Main"));
    EXPECT_EQ(kLayout, Read(pe, L"LAYOUT", L"XML_MAIN"));
    EXPECT_TRUE(pe->Contains(L"html", L"PAGE")); // HTML is the system's type 23
    EXPECT_EQ("<html><body>page</body></html>", Read(pe, L"HTML", L"page"));
    EXPECT_EQ(0u, pe->RawSize(L"LAYOUT", L"absent"));
}

TEST_F(ResProviderTest, ModuleReadIntoAShortBufferFails)
{
    SRefPtr<IResProvider> pe = ProgramProvider();
    char buffer[sizeof(kLayout)] = {};
    SetLastError(0);
    EXPECT_FALSE(pe->ReadRawData(L"LAYOUT", L"XML_MAIN", buffer, sizeof(kLayout) - 2));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
    EXPECT_EQ(0, buffer[0]);
    EXPECT_TRUE(pe->ReadRawData(L"LAYOUT", L"XML_MAIN", buffer, sizeof(kLayout) - 1));
    EXPECT_FALSE(pe->ReadRawData(L"LAYOUT", L"absent", buffer, sizeof(buffer)));
}

TEST_F(ResProviderTest, ModuleIconsBitmapsAndCursors)
{
    SRefPtr<IResProvider> pe = ProgramProvider();
    EXPECT_TRUE(pe->Contains(L"icon", L"ICON_LOGO"));
    HICON icon = pe->LoadIconRes(L"ICON_LOGO", 16, 16);
    EXPECT_EQ(16, IconSize(icon).cx);
    DestroyIcon(icon);
    icon = pe->LoadIconRes(L"ICON_LOGO", 32, 32);
    EXPECT_EQ(32, IconSize(icon).cx);
    DestroyIcon(icon);

    EXPECT_TRUE(pe->Contains(L"BITMAP", L"BMP_TEST"));
    HBITMAP bitmap = pe->LoadBitmapRes(L"BMP_TEST");
    BITMAP bm = {};
    ASSERT_TRUE(GetObjectW(bitmap, sizeof(bm), &bm));
    EXPECT_EQ(4, bm.bmWidth);
    EXPECT_EQ(2, bm.bmHeight);
    DeleteObject(bitmap);

    EXPECT_TRUE(pe->Contains(L"CURSOR", L"CUR_ARROW"));
    POINT spot = Hotspot(pe->LoadCursorRes(L"CUR_ARROW"));
    EXPECT_EQ(3, spot.x);
    EXPECT_EQ(4, spot.y);
    // Held only as an animated cursor (type 21): found under CURSOR and built from its data.
    EXPECT_TRUE(pe->Contains(L"CURSOR", L"ANI_BUSY"));
    HCURSOR busy = pe->LoadCursorRes(L"ANI_BUSY");
    EXPECT_NE(nullptr, busy);
    DestroyCursor(busy);
}

TEST_F(ResProviderTest, ModuleImagesDecodeThroughTheRenderFactory)
{
    SRefPtr<IResProvider> pe = ProgramProvider();
    SRefPtr<IBitmap> image(pe->LoadImageRes(L"img", L"dot_png"), false);
    ASSERT_TRUE(image);
    EXPECT_EQ(3, image->Width());
    EXPECT_EQ(2, image->Height());
    EXPECT_EQ(0xFFFF0000u, FirstPixel(image));
    SRefPtr<IImgX> frames(pe->LoadImageX(L"IMG", L"DOT_PNG"), false);
    ASSERT_TRUE(frames);
    EXPECT_EQ(1u, frames->GetFrameCount());
    // Present but not an image, and absent: no object at all.
    EXPECT_EQ(nullptr, pe->LoadImageRes(L"LAYOUT", L"XML_MAIN"));
    EXPECT_EQ(nullptr, pe->LoadImageX(L"LAYOUT", L"XML_MAIN"));
    EXPECT_EQ(nullptr, pe->LoadImageRes(L"IMG", L"absent"));
}

TEST_F(ResProviderTest, ManagerOverTheModuleProvider)
{
    SResProviderMgr mgr;
    mgr.AddProvider(ProgramProvider());
    HICON icon = mgr.LoadIconFromId(L"ICON_LOGO:32");
    EXPECT_EQ(32, IconSize(icon).cx);
    DestroyIcon(icon);
    SRefPtr<IBitmap> image(mgr.LoadImageFromId(L"IMG:DOT_PNG"), false);
    ASSERT_TRUE(image);
    EXPECT_EQ(3, image->Width());
    HCURSOR busy = mgr.LoadCursorRes(L"ANI_BUSY");
    EXPECT_NE(nullptr, busy);
    EXPECT_EQ(busy, mgr.LoadCursorRes(L"ANI_BUSY"));
}

TEST_F(ResProviderTest, ManagerLoadsImageFilesByFileId)
{
    TempFolder folder;
    std::wstring path = folder.Write(L"dot.png", ProgramResource(L"IMG", L"DOT_PNG"));
    SResProviderMgr mgr;
    SRefPtr<IBitmap> image(mgr.LoadImageFromId((L"file:" + path).c_str()), false);
    ASSERT_TRUE(image);
    EXPECT_EQ(2, image->Height());
    EXPECT_EQ(nullptr, mgr.LoadImageFromId((L"FILE:" + folder.File(L"missing.png")).c_str()));
}

namespace {

// A folder with the program's fixture files and the given index.
struct FolderFixture {
    explicit FolderFixture(const std::string& index)
    {
        folder.Write(L"uires.idx", index);
        folder.Write(L"layout\\main.xml", kLayout);
        folder.Write(L"layout\\other.xml", "<other/>");
        folder.Write(L"img\\dot.png", ProgramResource(L"IMG", L"DOT_PNG"));
        folder.Write(L"logo.ico", ProgramResource(L"RAW", L"LOGO_ICO"));
        folder.Write(L"arrow.cur", ProgramResource(L"RAW", L"ARROW_CUR"));
        folder.Write(L"test.bmp", ProgramResource(L"RAW", L"TEST_BMP"));
    }
    SRefPtr<IResProvider> Provider() const
    {
        SRefPtr<IResProvider> provider(new SResProviderFiles(), false);
        ok = provider->Init(folder.Path().c_str());
        return provider;
    }
    TempFolder folder;
    mutable BOOL ok = FALSE;
};

const char kIndex[] =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
    "<Resource>\n"
    "  <Layout><FILE Name=\"Main\" PATH=\"layout\\main.xml\"/></Layout>\n"
    "  <LAYOUT><file name=\"dup\" path=\"layout\\main.xml\"/><file name=\"DUP\" path=\"layout\\other.xml\"/></LAYOUT>\n"
    "  <IMG><image name=\"skipped\" path=\"img\\dot.png\"/><file name=\"dot\" path=\"img\\dot.png\"/></IMG>\n"
    "  <ICON><file name=\"logo\" path=\"logo.ico\"/></ICON>\n"
    "  <CURSOR><file name=\"arrow\" path=\"arrow.cur\"/></CURSOR>\n"
    "  <BITMAP><file name=\"test\" path=\"test.bmp\"/></BITMAP>\n"
    "</Resource>\n";

} // namespace

TEST_F(ResProviderTest, FolderIndexIgnoresCaseAndLaterEntriesWin)
{
    FolderFixture fixture(kIndex);
    SRefPtr<IResProvider> files = fixture.Provider();
    ASSERT_TRUE(fixture.ok);
    EXPECT_TRUE(files->Contains(L"LAYOUT", L"main"));
    EXPECT_EQ(kLayout, Read(files, L"layout", L"MAIN"));
    EXPECT_EQ("<other/>", Read(files, L"LAYOUT", L"dup"));
    EXPECT_TRUE(files->Contains(L"IMG", L"dot"));
    EXPECT_FALSE(files->Contains(L"IMG", L"skipped")); // only "file" children count
    EXPECT_FALSE(files->Contains(L"LAYOUT", L"absent"));
    EXPECT_FALSE(files->Contains(L"IMG", L"main"));
}

TEST_F(ResProviderTest, FolderReadIntoAShortBufferFails)
{
    FolderFixture fixture(kIndex);
    SRefPtr<IResProvider> files = fixture.Provider();
    char buffer[sizeof(kLayout)] = {};
    SetLastError(0);
    EXPECT_FALSE(files->ReadRawData(L"LAYOUT", L"main", buffer, sizeof(kLayout) - 2));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
    EXPECT_EQ(0, buffer[0]);
    EXPECT_FALSE(files->ReadRawData(L"LAYOUT", L"absent", buffer, sizeof(buffer)));
}

TEST_F(ResProviderTest, FolderIconsCursorsBitmapsAndImages)
{
    FolderFixture fixture(kIndex);
    SRefPtr<IResProvider> files = fixture.Provider();
    HICON icon = files->LoadIconRes(L"LOGO", 16, 16);
    EXPECT_EQ(16, IconSize(icon).cx);
    DestroyIcon(icon);
    HCURSOR cursor = files->LoadCursorRes(L"arrow");
    EXPECT_EQ(3, Hotspot(cursor).x);
    DestroyCursor(cursor);
    HBITMAP bitmap = files->LoadBitmapRes(L"test");
    DIBSECTION dib = {};
    EXPECT_EQ(static_cast<int>(sizeof(dib)), GetObjectW(bitmap, sizeof(dib), &dib)); // a DIB section
    EXPECT_EQ(4, dib.dsBm.bmWidth);
    DeleteObject(bitmap);
    SRefPtr<IBitmap> image(files->LoadImageRes(L"img", L"DOT"), false);
    ASSERT_TRUE(image);
    EXPECT_EQ(3, image->Width());
    SRefPtr<IImgX> frames(files->LoadImageX(L"img", L"dot"), false);
    ASSERT_TRUE(frames);
    EXPECT_EQ(1u, frames->GetFrameCount());
    EXPECT_EQ(nullptr, files->LoadIconRes(L"absent", 16, 16));
    EXPECT_EQ(nullptr, files->LoadImageRes(L"LAYOUT", L"main")); // not an image
}

TEST_F(ResProviderTest, FolderKeysBeyondTheFieldsAreNotFound)
{
    const std::string name99(99, 'n');
    const std::string type30(30, 't');
    std::string index = "<resource><LAYOUT>"
                        "<file name=\"" + name99 + "\" path=\"layout\\main.xml\"/>"
                        "<file name=\"" + name99 + "X\" path=\"layout\\other.xml\"/>"
                        "</LAYOUT><" + type30 + "><file name=\"a\" path=\"layout\\other.xml\"/></" + type30 + ">"
                        "</resource>";
    FolderFixture fixture(index);
    SRefPtr<IResProvider> files = fixture.Provider();
    ASSERT_TRUE(fixture.ok);
    std::wstring wide99(99, L'n');
    EXPECT_EQ(kLayout, Read(files, L"LAYOUT", wide99.c_str())); // not replaced by the longer entry
    EXPECT_FALSE(files->Contains(L"LAYOUT", (wide99 + L"X").c_str()));
    EXPECT_FALSE(files->Contains(L"LAYOUT", (wide99 + L"Y").c_str()));
    EXPECT_EQ(0u, files->RawSize(L"LAYOUT", (wide99 + L"X").c_str()));
    EXPECT_FALSE(files->Contains(std::wstring(30, L't').c_str(), L"a"));
    EXPECT_FALSE(files->Contains(std::wstring(29, L't').c_str(), L"a"));
}

TEST_F(ResProviderTest, FolderInitNeedsAParsedIndexWithTheResourceRoot)
{
    struct Case {
        const char* index;
        BOOL ok;
    } cases[] = {
        {"<resource/>", TRUE},
        {"<RESOURCE><LAYOUT><file name=\"main\" path=\"layout\\main.xml\"/></LAYOUT></RESOURCE>", TRUE},
        {"<resources><LAYOUT><file name=\"main\" path=\"layout\\main.xml\"/></LAYOUT></resources>", FALSE},
        {"<resource><LAYOUT><file name=\"main\" path=\"layout\\main.xml\"/>", FALSE},
        {"", FALSE},
    };
    for (const Case& c : cases) {
        FolderFixture fixture(c.index);
        SRefPtr<IResProvider> files = fixture.Provider();
        EXPECT_EQ(c.ok, fixture.ok) << c.index;
    }
    TempFolder empty;
    SRefPtr<IResProvider> files(new SResProviderFiles(), false);
    EXPECT_FALSE(files->Init(empty.Path().c_str()));
    EXPECT_FALSE(files->Init(L""));
    EXPECT_FALSE(files->Init(nullptr));
}

TEST_F(ResProviderTest, FolderInitAgainReplacesTheIndexAndKeepsTheFullPath)
{
    FolderFixture first(kIndex);
    FolderFixture second("<resource><XML><file name=\"doc\" path=\"layout\\other.xml\"/></XML></resource>");
    SRefPtr<IResProvider> files = first.Provider();
    ASSERT_TRUE(files->Contains(L"LAYOUT", L"main"));

    // A relative folder is kept as its full path.
    wchar_t previous[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    const std::wstring& path = second.folder.Path();
    size_t slash = path.rfind(L'\\');
    SetCurrentDirectoryW(path.substr(0, slash).c_str());
    BOOL ok = files->Init(path.substr(slash + 1).c_str());
    SetCurrentDirectoryW(previous);
    ASSERT_TRUE(ok);
    EXPECT_FALSE(files->Contains(L"LAYOUT", L"main"));
    EXPECT_EQ("<other/>", Read(files, L"XML", L"doc"));

    EXPECT_FALSE(files->Init(L"no such folder"));
    EXPECT_FALSE(files->Contains(L"XML", L"doc"));
}

TEST(BuiltinResProvider, MakesModuleAndFolderProviders)
{
    IResProvider* provider = nullptr;
    ASSERT_TRUE(MakeBuiltinResProvider(kResProviderPE, &provider));
    EXPECT_NE(nullptr, dynamic_cast<SResProviderPE*>(provider));
    provider->Release();
    provider = nullptr;
    ASSERT_TRUE(MakeBuiltinResProvider(kResProviderFiles, &provider));
    EXPECT_NE(nullptr, dynamic_cast<SResProviderFiles*>(provider));
    provider->Release();
    provider = nullptr;
    EXPECT_FALSE(MakeBuiltinResProvider(2, &provider));
    EXPECT_FALSE(MakeBuiltinResProvider(-1, &provider));
    EXPECT_EQ(nullptr, provider);
}

TEST(ResLoaders, NoRenderFactoryLoadsNothing)
{
    SetResRenderFactorySource(nullptr);
    std::string png = ProgramResource(L"IMG", L"DOT_PNG");
    EXPECT_EQ(nullptr, LoadBitmapFromMemory(png.data(), png.size()));
    EXPECT_EQ(nullptr, LoadImageXFromMemory(png.data(), png.size()));
}

TEST_F(ResProviderTest, LoadersGiveNullForUndecodableBytes)
{
    const char garbage[] = "not an image at all";
    EXPECT_EQ(nullptr, LoadBitmapFromMemory(garbage, sizeof(garbage)));
    EXPECT_EQ(nullptr, LoadImageXFromMemory(garbage, sizeof(garbage)));
    EXPECT_EQ(nullptr, LoadBitmapFromFile(L"C:\\no\\such\\file.png"));
    EXPECT_EQ(nullptr, LoadImageXFromFile(L"C:\\no\\such\\file.png"));
}

TEST(SysResourceLibrary, HoldsTheThreeXmlDocuments)
{
    HMODULE module = skein_test::LoadSysResourceLibrary();
    ASSERT_NE(nullptr, module);
    SRefPtr<IResProvider> provider(new SResProviderPE(), false);
    provider->Init(module);

    struct Doc {
        const wchar_t* name;
        const wchar_t* root;
    } docs[] = {{L"SYS_XML_SKIN", L"skin"}, {L"SYS_XML_EDITMENU", L"editmenu"}, {L"SYS_XML_MSGBOX", L"SKEIN"}};
    pugi::xml_document parsed[3];
    for (int i = 0; i < 3; ++i) {
        std::string bytes = Read(provider, L"XML", docs[i].name);
        ASSERT_TRUE(parsed[i].load_buffer(bytes.data(), bytes.size(), pugi::parse_default, pugi::encoding_utf8))
            << docs[i].name;
        EXPECT_STREQ(docs[i].root, parsed[i].document_element().name());
    }
    for (pugi::xml_node skin : parsed[0].document_element().children())
        EXPECT_EQ(0, wcsncmp(skin.attribute(L"name").value(), L"_skin.sys.", 10)) << skin.attribute(L"name").value();
    int ids = 0;
    for (pugi::xml_node item : parsed[1].document_element().children(L"item"))
        ids |= 1 << item.attribute(L"id").as_int();
    EXPECT_EQ(0x3E, ids); // the edit commands 1 to 5
    EXPECT_STRNE(L"", parsed[2].document_element().attribute(L"minSize").value());
    provider = nullptr;
    FreeLibrary(module);
}
