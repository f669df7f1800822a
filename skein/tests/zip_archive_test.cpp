// The archive reader over archives written by the packer's writer: both methods with and
// without the password, name matching, and a table of damaged archives that must fail cleanly.
#include <gtest/gtest.h>
#include <string>
#include "res.mgr/SZipArchive.h"
#include "zip_test_util.h"

using namespace SKEIN;
using namespace ziptest;
using respack::Method;

namespace {

const char kPassword[] = "wmt741";

std::string Read(SZipArchive& zip, const wchar_t* name)
{
    SZipBuffer out;
    if (!zip.GetFile(name, out))
        return "<none>";
    return std::string(reinterpret_cast<const char*>(out.Data()), out.Size());
}

struct RoundTrip {
    Method method;
    const char* password;
};

class ZipArchiveRoundTrip : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(ZipArchiveRoundTrip, ReadsEveryMemberBack)
{
    const std::string text = Compressible(200);
    const std::string empty;
    const std::string small = "abc";
    respack::ZipWriter writer;
    ASSERT_TRUE(writer.Add("Layout/Main.xml", text, GetParam().method, GetParam().password));
    ASSERT_TRUE(writer.Add("empty.txt", empty, GetParam().method, GetParam().password));
    ASSERT_TRUE(writer.Add("small.bin", small, GetParam().method, GetParam().password));
    std::string archive = writer.Finish();

    SZipArchive zip;
    ASSERT_TRUE(zip.OpenMemory(archive.data(), archive.size()));
    ASSERT_TRUE(zip.SetPassword(GetParam().password));
    EXPECT_EQ(3, zip.EntryCount());
    SZipArchive::EntryInfo info;
    EXPECT_EQ(0, zip.FindEntry(L"LAYOUT\\main.XML", &info));
    EXPECT_EQ(text.size(), info.size);
    EXPECT_EQ(-1, zip.FindEntry(L"Layout/Main.xml")); // stored names read "/" as "\"
    EXPECT_EQ(text, Read(zip, L"layout\\main.xml"));
    EXPECT_EQ(empty, Read(zip, L"empty.txt"));
    EXPECT_EQ(small, Read(zip, L"small.bin"));
    EXPECT_EQ("<none>", Read(zip, L"missing.txt"));
}

INSTANTIATE_TEST_SUITE_P(MethodsAndPasswords, ZipArchiveRoundTrip,
                         ::testing::Values(RoundTrip{Method::Store, ""}, RoundTrip{Method::Deflate, ""},
                                           RoundTrip{Method::Store, kPassword},
                                           RoundTrip{Method::Deflate, kPassword}));

TEST(ZipArchive, EncryptedMemberNeedsTheRightPassword)
{
    std::string archive = OneMember("a.txt", Compressible(50), Method::Deflate, kPassword);
    SZipArchive zip;
    ASSERT_TRUE(zip.OpenMemory(archive.data(), archive.size()));
    EXPECT_EQ("<none>", Read(zip, L"a.txt")); // no password set
    EXPECT_FALSE(zip.SetPassword(nullptr));
    EXPECT_FALSE(zip.SetPassword(std::string(63, 'x').c_str()));
    EXPECT_TRUE(zip.SetPassword(std::string(62, 'x').c_str()));
    EXPECT_EQ("<none>", Read(zip, L"a.txt"));
    EXPECT_TRUE(zip.SetPassword(kPassword));
    EXPECT_FALSE(zip.SetPassword(std::string(63, 'x').c_str())); // refused: the password stays
    EXPECT_EQ(Compressible(50), Read(zip, L"a.txt"));
}

// About one wrong password in 256 passes the header's check byte; the CRC-32 must still
// refuse it, for stored members (no inflate to trip over) as for deflated ones.
TEST(ZipArchive, NoWrongPasswordYieldsData)
{
    for (Method method : {Method::Store, Method::Deflate}) {
        std::string archive = OneMember("a.bin", Compressible(20), method, kPassword);
        SZipArchive zip;
        ASSERT_TRUE(zip.OpenMemory(archive.data(), archive.size()));
        int yielded = 0;
        for (int i = 0; i < 4000; ++i) {
            zip.SetPassword(("pw" + std::to_string(i)).c_str());
            SZipBuffer out;
            yielded += zip.ReadEntry(0, out) ? 1 : 0;
            EXPECT_EQ(nullptr, out.Data());
        }
        EXPECT_EQ(0, yielded);
    }
}

TEST(ZipArchive, OpensFromFileAndClosesCleanly)
{
    std::string archive = OneMember("x\\y.txt", "hello", Method::Store);
    wchar_t folder[MAX_PATH], path[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    GetTempFileNameW(folder, L"zip", 0, path);
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, archive.data(), static_cast<DWORD>(archive.size()), &written, nullptr);
    CloseHandle(file);
    {
        SZipArchive zip;
        EXPECT_FALSE(zip.OpenFile(L"no_such_archive.zip"));
        ASSERT_TRUE(zip.OpenFile(path));
        EXPECT_EQ("hello", Read(zip, L"X\\Y.TXT"));
        zip.Close();
        EXPECT_FALSE(zip.IsOpen());
        EXPECT_EQ("<none>", Read(zip, L"x\\y.txt"));
    }
    EXPECT_TRUE(DeleteFileW(path)); // the archive let go of the file
}

// What a damaged archive must do: fail to open; open with the member refused when the
// directory is read (its stated sizes are more than a read could deliver, so no size query
// reports them); or open, list the member and fail its read.
enum Outcome { kNoOpen, kRefused, kNoRead };

struct Damage {
    const char* what;
    Outcome outcome;
    Method method;
    const char* password;
    void (*apply)(std::string& zip);
};

const Damage kDamages[] = {
    {"truncated end record", kNoOpen, Method::Store, "", [](std::string& z) { z.pop_back(); }},
    {"archive comment", kNoOpen, Method::Store, "",
     [](std::string& z) {
         Set16(z, z.size() - 2, 4);
         z += "note";
     }},
    {"bad end signature", kNoOpen, Method::Store, "", [](std::string& z) { z[z.size() - 22] = 'X'; }},
    {"directory larger than the file", kNoOpen, Method::Store, "",
     [](std::string& z) { Set32(z, z.size() - 10, static_cast<uint32_t>(z.size())); }},
    {"directory size wraps", kNoOpen, Method::Store, "",
     [](std::string& z) { Set32(z, z.size() - 10, 0xFFFFFFF0u); }},
    {"more entries than the directory holds", kNoOpen, Method::Store, "",
     [](std::string& z) { Set16(z, z.size() - 14, 2); }},
    {"name running past the directory", kNoOpen, Method::Store, "",
     [](std::string& z) { Set16(z, Layout(z).firstEntry + 28, 0x4000); }},
    {"extra field running past the directory", kNoOpen, Method::Store, "",
     [](std::string& z) { Set16(z, Layout(z).firstEntry + 30, 0xFFFF); }},
    {"bad entry signature", kNoOpen, Method::Store, "", [](std::string& z) { z[Layout(z).firstEntry] = 'Q'; }},
    {"local header past the end", kRefused, Method::Store, "",
     [](std::string& z) { Set32(z, Layout(z).firstEntry + 42, 0xFFFFFFF0u); }},
    {"bad local signature", kNoRead, Method::Store, "", [](std::string& z) { z[Layout(z).firstLocal] = 'Q'; }},
    {"local size differs from the directory", kNoRead, Method::Store, "",
     [](std::string& z) { Set32(z, Layout(z).firstLocal + 22, 1); }},
    {"compressed size past the end", kRefused, Method::Store, "",
     [](std::string& z) { SetFirstSize(z, 18, 0x7FFFFFFFu); }},
    {"stored size longer than the data", kRefused, Method::Store, "",
     [](std::string& z) { SetFirstSize(z, 22, Get32(z, Layout(z).firstLocal + 22) + 1); }},
    {"stored size shorter than the data", kRefused, Method::Store, "",
     [](std::string& z) { SetFirstSize(z, 22, Get32(z, Layout(z).firstLocal + 22) - 1); }},
    {"stored byte corrupt", kNoRead, Method::Store, "", [](std::string& z) { z[Layout(z).firstData + 5] ^= 0x20; }},
    {"encrypted stored byte corrupt", kNoRead, Method::Store, "wmt741",
     [](std::string& z) { z[Layout(z).firstData + 20] ^= 0x20; }},
    {"encrypted data shorter than its header", kRefused, Method::Store, "wmt741",
     [](std::string& z) { SetFirstSize(z, 18, 11); }},
    {"deflate data truncated", kNoRead, Method::Deflate, "",
     [](std::string& z) { SetFirstSize(z, 18, Get32(z, Layout(z).firstLocal + 18) / 2); }},
    {"deflated size stated larger", kNoRead, Method::Deflate, "",
     [](std::string& z) { SetFirstSize(z, 22, Get32(z, Layout(z).firstLocal + 22) + 1); }},
    {"deflated size stated smaller", kNoRead, Method::Deflate, "",
     [](std::string& z) { SetFirstSize(z, 22, Get32(z, Layout(z).firstLocal + 22) - 1); }},
    {"deflated size beyond any ratio", kRefused, Method::Deflate, "",
     [](std::string& z) { SetFirstSize(z, 22, 0xFFFFFFF0u); }},
    {"deflate stream corrupt", kNoRead, Method::Deflate, "",
     [](std::string& z) { z[Layout(z).firstData + 3] ^= 0x55; }},
    {"unknown method", kNoRead, Method::Store, "",
     [](std::string& z) { Set16(z, Layout(z).firstLocal + 8, 12); }},
    {"unknown method in the directory", kRefused, Method::Store, "",
     [](std::string& z) { Set16(z, Layout(z).firstEntry + 10, 12); }},
    {"stored size of 4 GiB", kRefused, Method::Store, "", [](std::string& z) { SetFirstSize(z, 22, 0xFFFFFFF0u); }},
    {"encrypted stored size counting its header", kRefused, Method::Store, "wmt741",
     [](std::string& z) { SetFirstSize(z, 22, Get32(z, Layout(z).firstLocal + 18)); }},
};

TEST(ZipArchive, DamagedArchivesFailCleanly)
{
    for (const Damage& damage : kDamages) {
        SCOPED_TRACE(damage.what);
        std::string archive = OneMember("data.txt", Compressible(40), damage.method, damage.password);
        damage.apply(archive);
        SZipArchive zip;
        BOOL opened = zip.OpenMemory(archive.data(), archive.size());
        EXPECT_EQ(damage.outcome != kNoOpen, opened != FALSE);
        EXPECT_EQ(damage.outcome == kNoRead ? 0 : -1, zip.FindEntry(L"data.txt"));
        zip.SetPassword(damage.password);
        SZipBuffer out;
        EXPECT_FALSE(zip.ReadEntry(0, out));
        EXPECT_EQ(nullptr, out.Data());
        EXPECT_EQ(0u, out.Size());
    }
}

TEST(ZipArchive, RefusesNamesLongerThanTheNameBuffer)
{
    std::string longest(SZipArchive::kMaxNameChars, 'n');
    std::string archive = OneMember(longest, "x", Method::Store);
    SZipArchive zip;
    ASSERT_TRUE(zip.OpenMemory(archive.data(), archive.size()));
    EXPECT_EQ(0, zip.FindEntry(std::wstring(longest.begin(), longest.end()).c_str()));
    EXPECT_EQ(-1, zip.FindEntry(std::wstring(SZipArchive::kMaxNameChars + 1, L'n').c_str()));

    archive = OneMember(longest + "n", "x", Method::Store);
    EXPECT_FALSE(zip.OpenMemory(archive.data(), archive.size()));
    EXPECT_FALSE(zip.IsOpen());
}

} // namespace
