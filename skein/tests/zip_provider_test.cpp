// The zip provider over the archive the host packer made from data/zip/packed (password
// "zip-test"), over archives made in memory, and over the program's own packed resources.
#include <gtest/gtest.h>
#include <string>
#include "interface/SImgDecoder-i.h"
#include "interface/SRender-i.h"
#include "app_test_support.h"
#include "res.mgr/SResLoaders.h"
#include "res.mgr/SResProviderZip.h"
#include "res.mgr/SXmlResource.h"
#include "res.mgr/SZipArchive.h"
#include "zip_test_util.h"

using namespace SKEIN;
using namespace ziptest;
using respack::Method;

namespace {

const char kFixturePassword[] = "zip-test";

std::wstring BesideProgram(const wchar_t* file)
{
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.rfind(L'\\') + 1) + file;
}

std::string FileBytes(const std::wstring& path)
{
    std::string bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    bytes.resize(GetFileSize(file, nullptr));
    DWORD read = 0;
    ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    return bytes;
}

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

// The colour (0x00RRGGBB) in the middle of an icon's colour bitmap; tells which entry was taken.
UINT32 IconCenterColor(HICON icon)
{
    ICONINFO info = {};
    if (!icon || !GetIconInfo(icon, &info))
        return 0xFFFFFFFFu;
    BITMAP bm = {};
    GetObjectW(info.hbmColor, sizeof(bm), &bm);
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    format.bmiHeader.biWidth = bm.bmWidth;
    format.bmiHeader.biHeight = -bm.bmHeight;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    std::string pixels(static_cast<size_t>(bm.bmWidth) * bm.bmHeight * 4, '\0');
    HDC dc = GetDC(nullptr);
    GetDIBits(dc, info.hbmColor, 0, bm.bmHeight, &pixels[0], &format, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return Get32(pixels, (static_cast<size_t>(bm.bmHeight / 2) * bm.bmWidth + bm.bmWidth / 2) * 4) & 0xFFFFFF;
}

class ZipProviderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(CreateRenderFactory_GDI(&m_render));
        IImgDecoderFactory* decoders = nullptr;
        ASSERT_TRUE(CreateImgDecoderFactory_STB(&decoders));
        m_render->SetImgDecoderFactory(decoders);
        decoders->Release();
        m_provider = new SResProviderZip;
    }
    void TearDown() override
    {
        m_provider->Release();
        m_render->Release();
    }

    SZipInitParam FileParam(const std::wstring& path, const char* password, const wchar_t* child = nullptr)
    {
        m_path = path;
        SZipInitParam param = {};
        param.kind = SZipInitParam::kFile;
        param.renderFactory = m_render;
        param.path = m_path.c_str();
        param.password = password;
        param.childFolder = child;
        return param;
    }
    SZipInitParam MemoryParam(const std::string& bytes, const char* password, const wchar_t* child = nullptr)
    {
        m_bytes = bytes;
        SZipInitParam param = {};
        param.kind = SZipInitParam::kMemory;
        param.renderFactory = m_render;
        param.bytes = m_bytes.data();
        param.byteCount = m_bytes.size();
        param.password = password;
        param.childFolder = child;
        return param;
    }
    bool OpenFixture()
    {
        SZipInitParam param = FileParam(BesideProgram(L"zip_fixture.zip"), kFixturePassword);
        return m_provider->Init(&param) != FALSE;
    }
    std::string Raw(const wchar_t* type, const wchar_t* name)
    {
        std::string bytes(m_provider->RawSize(type, name), '\0');
        if (!m_provider->ReadRawData(type, name, &bytes[0], bytes.size()))
            return "<none>";
        return bytes;
    }

    IRenderFactory* m_render = nullptr;
    SResProviderZip* m_provider = nullptr;
    std::wstring m_path;
    std::string m_bytes;
};

// The packed fixture holds deflated members and one stored (incompressible) member, all encrypted.
TEST_F(ZipProviderTest, PackedFixtureHoldsBothMethodsEncrypted)
{
    std::string zip = FileBytes(BesideProgram(L"zip_fixture.zip"));
    ASSERT_GT(zip.size(), 22u);
    Layout at(zip);
    int stored = 0, deflated = 0, encrypted = 0, entries = Get16(zip, at.end + 8);
    for (size_t entry = at.directory, i = 0; i < static_cast<size_t>(entries); ++i) {
        stored += Get16(zip, entry + 10) == 0;
        deflated += Get16(zip, entry + 10) == 8;
        encrypted += Get16(zip, entry + 8) & 1;
        entry += 46 + Get16(zip, entry + 28) + Get16(zip, entry + 30) + Get16(zip, entry + 32);
    }
    EXPECT_GE(stored, 1);
    EXPECT_GE(deflated, 1);
    EXPECT_EQ(entries, encrypted);
}

TEST_F(ZipProviderTest, ServesIndexedMembersOfThePackedFixture)
{
    ASSERT_TRUE(OpenFixture());
    EXPECT_TRUE(m_provider->Contains(L"layout", L"xml_main"));
    EXPECT_FALSE(m_provider->Contains(L"layout", L"absent"));
    std::string layout = Raw(L"LAYOUT", L"XML_MAIN");
    EXPECT_EQ(0u, layout.find("<window layout=\"vbox\">"));
    EXPECT_EQ(layout, Raw(L"LAYOUT", L"xml_upper")); // capitals with backslashes find the member
    // A forward-slash index path names no member: indexed, but nothing to read.
    EXPECT_TRUE(m_provider->Contains(L"LAYOUT", L"xml_slash"));
    EXPECT_EQ(0u, m_provider->RawSize(L"LAYOUT", L"xml_slash"));
    EXPECT_EQ(64u, Raw(L"RAW", L"blob").size());

    std::string buffer(m_provider->RawSize(L"LAYOUT", L"XML_MAIN") - 1, '\0');
    SetLastError(0);
    EXPECT_FALSE(m_provider->ReadRawData(L"LAYOUT", L"XML_MAIN", &buffer[0], buffer.size()));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
}

TEST_F(ZipProviderTest, MakesImagesIconsCursorsAndBitmapsFromMemberBytes)
{
    ASSERT_TRUE(OpenFixture());
    IBitmap* image = m_provider->LoadImageRes(L"IMG", L"dot_png");
    ASSERT_NE(nullptr, image);
    EXPECT_EQ(3, image->Width());
    EXPECT_EQ(2, image->Height());
    image->Release();
    EXPECT_EQ(nullptr, m_provider->LoadImageRes(L"LAYOUT", L"XML_MAIN")); // undecodable: no bitmap
    IImgX* imageX = m_provider->LoadImageX(L"IMG", L"dot_png");
    ASSERT_NE(nullptr, imageX);
    EXPECT_EQ(1u, imageX->GetFrameCount());
    imageX->Release();

    // logo.ico: a red 16x16 entry and a green 32x32 one.
    const UINT32 kRed = 0xFF0000, kGreen = 0x00FF00;
    for (int size : {16, 32, 20, 30}) {
        SCOPED_TRACE(size);
        HICON icon = m_provider->LoadIconRes(L"icon_logo", size, size);
        EXPECT_EQ(size, IconSize(icon).cx);
        EXPECT_EQ(size < 24 ? kRed : kGreen, IconCenterColor(icon));
        DestroyIcon(icon);
    }
    HICON byDefault = m_provider->LoadIconRes(L"ICON_LOGO", 0, 0); // the system icon size
    EXPECT_EQ(GetSystemMetrics(SM_CXICON), IconSize(byDefault).cx);
    EXPECT_EQ(GetSystemMetrics(SM_CXICON) < 24 ? kRed : kGreen, IconCenterColor(byDefault));
    DestroyIcon(byDefault);

    HCURSOR cursor = m_provider->LoadCursorRes(L"arrow");
    ICONINFO info = {};
    ASSERT_TRUE(cursor && GetIconInfo(cursor, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(3u, info.xHotspot);
    EXPECT_EQ(4u, info.yHotspot);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyCursor(cursor);
    HCURSOR animated = m_provider->LoadCursorRes(L"busy"); // "RIFF" bytes
    EXPECT_NE(nullptr, animated);
    DestroyCursor(animated);

    HBITMAP bitmap = m_provider->LoadBitmapRes(L"test");
    BITMAP bm = {};
    ASSERT_NE(nullptr, bitmap);
    GetObjectW(bitmap, sizeof(bm), &bm);
    EXPECT_EQ(4, bm.bmWidth);
    EXPECT_EQ(2, bm.bmHeight);
    DeleteObject(bitmap);
    EXPECT_EQ(nullptr, m_provider->LoadBitmapRes(L"png")); // only "BM" data makes a bitmap
}

TEST_F(ZipProviderTest, OpensAnArchiveInAModuleResource)
{
    SZipInitParam param = {};
    param.kind = SZipInitParam::kResource;
    param.renderFactory = m_render;
    param.module = GetModuleHandleW(nullptr);
    param.resName = L"ZIP_FIXTURE";
    param.resType = L"ZIPARCHIVE";
    param.password = kFixturePassword;
    ASSERT_TRUE(m_provider->Init(&param));
    EXPECT_EQ(0u, Raw(L"LAYOUT", L"XML_MAIN").find("<window layout=\"vbox\">"));
    param.resName = L"NO_SUCH_ZIP";
    EXPECT_FALSE(m_provider->Init(&param));
}

TEST_F(ZipProviderTest, WrongOrMissingPasswordOpensNoIndex)
{
    for (const char* password : {"zip-tesT", "", static_cast<const char*>(nullptr)}) {
        SZipInitParam param = FileParam(BesideProgram(L"zip_fixture.zip"), password);
        EXPECT_FALSE(m_provider->Init(&param));
        EXPECT_FALSE(m_provider->Contains(L"LAYOUT", L"XML_MAIN"));
    }
}

TEST_F(ZipProviderTest, RefusesMissingArchivesAndUnknownKinds)
{
    SZipInitParam param = FileParam(BesideProgram(L"no_such.zip"), kFixturePassword);
    EXPECT_FALSE(m_provider->Init(&param));
    param = MemoryParam(OneMember("uires.idx", "<resource/>", Method::Store), nullptr);
    EXPECT_TRUE(m_provider->Init(&param)); // an empty index is fine
    param.kind = 3;
    EXPECT_FALSE(m_provider->Init(&param));
    param = MemoryParam(OneMember("uires.idx", "<other/>", Method::Store), nullptr);
    EXPECT_FALSE(m_provider->Init(&param));
    param = MemoryParam(OneMember("uires.idx", "<resource>", Method::Store), nullptr);
    EXPECT_FALSE(m_provider->Init(&param));
}

struct ChildCase {
    const wchar_t* child;
    bool indexed; // the index under the normalised folder was found
    bool found;   // ... and is the one that holds "main"
};

// The index and members lie under "sub/": trailing "\" then "/" are trimmed and one "\" added.
TEST_F(ZipProviderTest, NormalisesTheChildFolder)
{
    respack::ZipWriter writer;
    writer.Add("sub/uires.idx", "<resource><LAYOUT><any name=\"main\" path=\"page.xml\"/></LAYOUT></resource>",
               Method::Deflate, "pw");
    writer.Add("sub/page.xml", "<page/>", Method::Store, "pw");
    writer.Add("uires.idx", "<resource/>", Method::Store, "");
    std::string archive = writer.Finish();
    const ChildCase cases[] = {{L"sub", true, true},       {L"sub\\", true, true},  {L"sub/\\", true, true},
                               {L"sub\\\\//", false, false}, {L"sub\\/", false, false}, {L"", true, false},
                               {nullptr, true, false}};
    for (const ChildCase& test : cases) {
        SCOPED_TRACE(testing::Message() << (test.child ? test.child : L"(null)"));
        SZipInitParam param = MemoryParam(archive, "pw", test.child);
        EXPECT_EQ(test.indexed, m_provider->Init(&param) != FALSE);
        EXPECT_EQ(test.found, m_provider->Contains(L"layout", L"MAIN") != FALSE);
        EXPECT_EQ(test.found ? "<page/>" : "<none>", Raw(L"LAYOUT", L"main"));
    }
}

TEST_F(ZipProviderTest, DamagedMemberGivesNothing)
{
    respack::ZipWriter writer;
    writer.Add("page.xml", Compressible(30), Method::Store, "pw");
    writer.Add("uires.idx", "<resource><LAYOUT><file name=\"p\" path=\"page.xml\"/></LAYOUT>"
                            "<ICON><file name=\"i\" path=\"page.xml\"/></ICON></resource>", Method::Store, "pw");
    std::string archive = writer.Finish();
    archive[Layout(archive).firstData + 40] ^= 1;
    SZipInitParam param = MemoryParam(archive, "pw");
    ASSERT_TRUE(m_provider->Init(&param));
    EXPECT_TRUE(m_provider->Contains(L"LAYOUT", L"p"));
    EXPECT_EQ("<none>", Raw(L"LAYOUT", L"p"));
    EXPECT_EQ(nullptr, m_provider->LoadIconRes(L"i", 16, 16));
    EXPECT_EQ(nullptr, m_provider->LoadImageRes(L"LAYOUT", L"p"));
}

// Members stating more than the archive could deliver (4 GiB stored in an archive of a few
// hundred bytes, a deflated size beyond any ratio) are listed by the index but refused: no size
// query reports them, no read delivers them, and loading them as XML allocates nothing.
TEST_F(ZipProviderTest, MembersStatingMoreThanTheArchiveHoldsAreRefused)
{
    respack::ZipWriter writer;
    writer.Add("stored.xml", "<page/>", Method::Store, "pw");
    writer.Add("deflated.xml", Compressible(30), Method::Deflate, "pw");
    writer.Add("uires.idx", "<resource><LAYOUT><file name=\"s\" path=\"stored.xml\"/>"
                            "<file name=\"d\" path=\"deflated.xml\"/></LAYOUT></resource>", Method::Store, "pw");
    std::string archive = writer.Finish();
    SetFirstSize(archive, 22, 0xFFFFFFF0u);
    size_t second = Layout(archive).firstEntry + 46 + Get16(archive, Layout(archive).firstEntry + 28);
    Set32(archive, second + 24, 0x7FFFFFF0u); // the directory's word is what size queries report
    SZipInitParam param = MemoryParam(archive, "pw");
    ASSERT_TRUE(m_provider->Init(&param));
    for (const wchar_t* name : {L"s", L"d"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(name)));
        EXPECT_TRUE(m_provider->Contains(L"LAYOUT", name));
        EXPECT_EQ(0u, m_provider->RawSize(L"LAYOUT", name));
        char buffer[4096];
        EXPECT_FALSE(m_provider->ReadRawData(L"LAYOUT", name, buffer, sizeof(buffer)));
        pugi::xml_document document;
        EXPECT_EQ(kXmlResourceMissing, LoadXmlResource(m_provider, L"LAYOUT", name, document));
    }
}

// Loads refuse a member above the resource size limit, with a log line naming it, and read none
// of it: 1.1 MB of data stating 1 GiB (which the stream's ratio would allow) and a real stream of
// one byte more than the limit. A member of exactly the limit is read whole; one whose stream
// delivers less than it states has no size, so no load reserves the stated size.
TEST_F(ZipProviderTest, MembersAboveTheResourceLimitAreRefusedWithALogLine)
{
    const size_t limit = static_cast<size_t>(kMaxResourceBytes);
    std::string noise(1100 * 1000, '\0');
    for (size_t i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<char>((i * 2654435761u) >> 13);
    const std::string text = Compressible(300);
    respack::ZipWriter writer;
    writer.Add("stated.xml", noise, Method::Store, "");
    writer.Add("over.xml", std::string(limit + 1, '\0'), Method::Deflate, "");
    writer.Add("limit.xml", std::string(limit, '\0'), Method::Deflate, "");
    writer.Add("short.xml", text, Method::Deflate, "");
    writer.Add("uires.idx", "<resource><LAYOUT><file name='stated' path='stated.xml'/>"
                            "<file name='over' path='over.xml'/><file name='limit' path='limit.xml'/>"
                            "<file name='short' path='short.xml'/></LAYOUT>"
                            "<IMG><file name='stated' path='stated.xml'/></IMG></resource>", Method::Store, "");
    std::string archive = writer.Finish();
    Layout at(archive);
    Set16(archive, at.firstLocal + 8, 8); // the noise becomes deflate data stating 1 GiB
    Set16(archive, at.firstEntry + 10, 8);
    SetFirstSize(archive, 22, 1u << 30);
    size_t entry = at.firstEntry;
    for (int skip = 0; skip < 3; ++skip)
        entry += 46 + Get16(archive, entry + 28);
    Set32(archive, entry + 24, static_cast<uint32_t>(text.size() * 2)); // short.xml states twice its bytes
    Set32(archive, Get32(archive, entry + 42) + 22, static_cast<uint32_t>(text.size() * 2));
    SZipInitParam param = MemoryParam(archive, "");
    ASSERT_TRUE(m_provider->Init(&param));

    skein_test::ScopedLogRecorder log;
    for (const wchar_t* name : {L"stated", L"over"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(name)));
        std::string line = "3|SKEIN::WithinResourceLimit|resource refused, larger than 16777216 bytes: " +
                           std::string(name, name + wcslen(name)) + ".xml";
        EXPECT_EQ(0u, m_provider->RawSize(L"LAYOUT", name));
        char buffer[16];
        EXPECT_FALSE(m_provider->ReadRawData(L"LAYOUT", name, buffer, sizeof(buffer)));
        pugi::xml_document document;
        EXPECT_EQ(kXmlResourceMissing, LoadXmlResource(m_provider, L"LAYOUT", name, document));
        EXPECT_EQ(std::vector<std::string>(3, line), log.lines);
        log.lines.clear();
    }
    EXPECT_EQ(nullptr, m_provider->LoadImageRes(L"IMG", L"stated"));
    EXPECT_EQ(1u, log.lines.size());
    log.lines.clear();

    EXPECT_EQ(limit, m_provider->RawSize(L"LAYOUT", L"limit"));
    std::string bytes(limit, 'x');
    EXPECT_TRUE(m_provider->ReadRawData(L"LAYOUT", L"limit", &bytes[0], bytes.size()));
    EXPECT_EQ(std::string::npos, bytes.find_first_not_of('\0'));
    EXPECT_EQ(0u, m_provider->RawSize(L"LAYOUT", L"short"));
    EXPECT_TRUE(log.lines.empty());
}

// A size query reads the member and hands its bytes to the read that follows; a buffer too small
// fails that read and keeps them for a second one.
TEST_F(ZipProviderTest, SizeQueryKeepsTheBytesForTheNextRead)
{
    const std::string text = Compressible(50);
    respack::ZipWriter writer;
    writer.Add("a.xml", text, Method::Deflate, "pw");
    writer.Add("b.xml", "<b/>", Method::Store, "pw");
    writer.Add("uires.idx", "<resource><LAYOUT><file name='a' path='a.xml'/><file name='b' path='b.xml'/></LAYOUT>"
                            "</resource>", Method::Store, "pw");
    SZipInitParam param = MemoryParam(writer.Finish(), "pw");
    ASSERT_TRUE(m_provider->Init(&param));
    ASSERT_EQ(text.size(), m_provider->RawSize(L"LAYOUT", L"a"));
    std::string bytes(text.size() - 1, '\0');
    SetLastError(0);
    EXPECT_FALSE(m_provider->ReadRawData(L"LAYOUT", L"a", &bytes[0], bytes.size()));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
    EXPECT_EQ("<b/>", Raw(L"LAYOUT", L"b")); // another member between
    bytes.resize(text.size());
    EXPECT_TRUE(m_provider->ReadRawData(L"LAYOUT", L"a", &bytes[0], bytes.size()));
    EXPECT_EQ(text, bytes);
    EXPECT_EQ(text, Raw(L"LAYOUT", L"a"));
}

TEST_F(ZipProviderTest, OpensTheProgramsPackedResources)
{
    SZipInitParam param = FileParam(BesideProgram(L"uires.zip"), SKEIN_ARCHIVE_PASSWORD);
    EXPECT_TRUE(m_provider->Init(&param));
}

} // namespace
