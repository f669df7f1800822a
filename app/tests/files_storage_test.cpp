// The checksum, the data folders, and the writes that must never destroy a stored file: the
// atomic save, the export with its boxes and dialog options, the import that saves nothing.
#include <shlobj.h>
#include "files/Checksum8.h"
#include "files_test_env.h"
#include "models/ZVK6840/ModelFiles6840.h"
#include "models/ZVK6891/CFileJoySetting6891.h"
#include "models/ZVK6891/CProfile6891.h"

using namespace filestest;

namespace {

std::wstring Documents()
{
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

class StorageTest : public FilesTest {
protected:
    // A stored profile of model 6840 that differs from what the live object holds.
    Bytes StoreDistinctProfile()
    {
        ZVK6840::CProfile6840 stored;
        stored.CurrentLayer().turbo[0] = 20;
        EXPECT_TRUE(stored.Save());
        return ReadAll(ModelFile(L"6840", L"Profile.qmj"));
    }
};

} // namespace

TEST(Checksum, SumsBytesModulo256)
{
    const BYTE abc[] = {'a', 'b', 'c'};
    EXPECT_EQ(0x26, Checksum8(abc, 3));
    EXPECT_EQ(0, Checksum8(abc, 0));
    const BYTE wraps[] = {0x80, 0x80, 0xFF};
    EXPECT_EQ(0xFF, Checksum8(wraps, 3));
}

TEST_F(StorageTest, DataFolderIsCreatedBelowTheRoot)
{
    std::wstring folder = ModelDataFolder(L"6840");
    EXPECT_EQ(m_root.Path() + L"\\ZVK\\6840", folder);
    EXPECT_TRUE(Exists(folder));
    EXPECT_EQ(m_root.Path() + L"\\ZVK", ModelDataFolder(L""));
}

TEST(DataFolder, DefaultsToTheCommonApplicationDataFolder)
{
    wchar_t common[MAX_PATH] = {};
    ASSERT_TRUE(SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, common)));
    EXPECT_EQ(std::wstring(common) + L"\\ZVK\\6867", ModelDataFolder(L"6867"));
}

// A root that cannot hold folders gives no data folder: nothing is read or written, nowhere.
TEST_F(StorageTest, NoDataFolderDisablesTheAutomaticFiles)
{
    std::wstring blocked = m_elsewhere.Write(L"not-a-folder", "x");
    SetModelDataRoot(blocked);
    EXPECT_EQ(L"", ModelDataFolder(L"6840"));
    ZVK6840::CProfile6840 profile;
    Bytes before = ImageOf(profile.Record());
    EXPECT_EQ(L"", profile.AutomaticPath());
    EXPECT_FALSE(profile.Save());
    profile.Load();
    EXPECT_EQ(before, ImageOf(profile.Record()));
    EXPECT_EQ("x", ReadAll(blocked));
}

// A save that cannot replace the stored file reports it and leaves the file and its folder as
// they were.
TEST_F(StorageTest, FailedSaveLeavesTheStoredFileByteIdentical)
{
    std::wstring path = ModelFile(L"6840", L"Profile.qmj");
    struct Block {
        const char* what;
        std::function<void()> apply;
        std::function<void()> release;
    };
    HANDLE lock = INVALID_HANDLE_VALUE;
    const Block blocks[] = {
        {"read-only target", [&] { SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY); },
         [&] { SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL); }},
        {"target held open without sharing",
         [&] { lock = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr); },
         [&] { CloseHandle(lock); }},
    };
    for (const Block& block : blocks) {
        SCOPED_TRACE(block.what);
        Bytes stored = StoreDistinctProfile();
        ZVK6840::CProfile6840 live;
        block.apply();
        EXPECT_FALSE(live.Save());
        block.release();
        EXPECT_EQ(stored, ReadAll(path));
        EXPECT_EQ((std::vector<std::wstring>{L"Profile.qmj"}), FolderNames(ModelFolder(L"6840")));
    }
}

TEST_F(StorageTest, SaveOverAFolderFailsAndLeavesIt)
{
    ZVK6891::CFileJoySetting6891 settings;
    std::wstring path = ModelFile(L"6891", L"JoySetting.qmj");
    ModelDataFolder(L"6891");
    ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr));
    EXPECT_FALSE(settings.Save());
    EXPECT_TRUE(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ((std::vector<std::wstring>{L"JoySetting.qmj"}), FolderNames(ModelFolder(L"6891")));
}

TEST_F(StorageTest, SaveReplacesTheStoredFile)
{
    StoreDistinctProfile();
    ZVK6840::CProfile6840 live;
    ASSERT_TRUE(live.Save());
    ZVK6840::CProfile6840 back;
    back.CurrentLayer().turbo[0] = 20;
    back.Load();
    EXPECT_EQ(0u, back.CurrentLayer().turbo[0]);
    EXPECT_EQ((std::vector<std::wstring>{L"Profile.qmj"}), FolderNames(ModelFolder(L"6840")));
}

// Export writes the live record with a fresh checksum and zeroed memory-only fields; it is the
// same image the automatic save writes.
TEST_F(StorageTest, ExportWritesAFreshChecksumAndZeroedMemoryFields)
{
    ZVK6891::CProfile6891 profile;
    profile.SelectLayer(2);
    profile.CurrentLayer().keyCode[3] = 0xF1011E;
    EXPECT_FALSE(profile.CheckProfile()); // the checksum in memory is stale
    std::wstring chosen = m_elsewhere.File(L"mine");
    m_prompt.QueueFile(chosen);
    ASSERT_TRUE(profile.ExportToFile());
    EXPECT_TRUE(m_prompt.Messages().empty());
    Bytes exported = ReadAll(chosen + L".qmf");
    ASSERT_EQ(864u, exported.size());
    EXPECT_EQ(static_cast<BYTE>(exported[4]), SumOf(exported, 8, 856));
    EXPECT_EQ(0u, GetU32(exported, 0));
    EXPECT_EQ(2u, GetU32(exported, 856));
    EXPECT_EQ(0u, GetU32(exported, 860));
    EXPECT_EQ(0xF1011Eu, GetU32(exported, 608 + 12));
    ASSERT_TRUE(profile.Save());
    EXPECT_EQ(exported, ReadAll(ModelFile(L"6891", L"Profile.qmj")));

    ZVK6840::CProfile6840 older;
    m_prompt.QueueFile(m_elsewhere.File(L"older.qmf"));
    ASSERT_TRUE(older.ExportToFile());
    Bytes olderBytes = ReadAll(m_elsewhere.File(L"older.qmf"));
    ASSERT_EQ(388u, olderBytes.size());
    EXPECT_EQ(0u, GetU32(olderBytes, 0));
    EXPECT_EQ(0u, GetU32(olderBytes, 384));
}

TEST_F(StorageTest, ExportFailuresAreReportedAndLeaveTheTargetAlone)
{
    ZVK6840::CProfile6840 profile;
    std::wstring readOnly = m_elsewhere.Write(L"kept.qmf", "old contents");
    SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
    m_prompt.QueueFile(readOnly);
    m_prompt.QueueFile(m_elsewhere.File(L"missing\\folder.qmf"));
    EXPECT_FALSE(profile.ExportToFile());
    EXPECT_FALSE(profile.ExportToFile());
    SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ((std::vector<std::wstring>{L"Create Profile error", L"Create Profile error"}), m_prompt.MessageTexts());
    EXPECT_EQ("old contents", ReadAll(readOnly));
    EXPECT_EQ((std::vector<std::wstring>{L"kept.qmf"}), FolderNames(m_elsewhere.Path()));
}

TEST_F(StorageTest, CancelledTransfersDoNothing)
{
    ZVK6840::CProfile6840 profile;
    profile.CurrentLayer().turbo[2] = 20;
    Bytes before = ImageOf(profile.Record());
    m_prompt.QueueCancel();
    m_prompt.QueueCancel();
    EXPECT_FALSE(profile.ExportToFile());
    EXPECT_FALSE(profile.ImportFromFile());
    EXPECT_EQ(before, ImageOf(profile.Record()));
    EXPECT_TRUE(m_prompt.Messages().empty());
    EXPECT_EQ(2u, m_prompt.Dialogs().size());
}

// An import changes the live record only: no automatic file is written.
TEST_F(StorageTest, ImportSavesNothing)
{
    ZVK6840::CProfile6840 source;
    source.CurrentLayer().keyCode[0] = 0xF10104;
    m_prompt.QueueFile(m_elsewhere.File(L"a.qmf"));
    ASSERT_TRUE(source.ExportToFile());
    ZVK6840::CProfile6840 profile;
    m_prompt.QueueFile(m_elsewhere.File(L"a.qmf"));
    ASSERT_TRUE(profile.ImportFromFile());
    EXPECT_EQ(0xF10104u, profile.CurrentLayer().keyCode[0]);
    EXPECT_FALSE(Exists(ModelFile(L"6840", L"Profile.qmj")));
}

// The dialogs: save for export, open (existing files only) for import, both starting in
// Documents over the active window, without a hook flag; profiles as "qmf", settings as "qmj".
TEST_F(StorageTest, TransferDialogOptions)
{
    HWND window = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                                  nullptr, nullptr, nullptr);
    SetActiveWindow(window);
    ZVK6840::CProfile6840 profile;
    ZVK6891::CFileJoySetting6891 settings;
    COlderJoySetting olderSettings(L"6840");
    profile.ExportToFile();
    profile.ImportFromFile();
    settings.ExportSettings();
    settings.ImportSettings();
    olderSettings.ExportRecord();
    olderSettings.ImportRecord();
    const DWORD common = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_EXPLORER | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
    const std::vector<std::wstring> qmf = {L"qmf files(*.qmf)", L"*.qmf"};
    const std::vector<std::wstring> qmj = {L"qmj files(*.qmj)", L"*.qmj"};
    ASSERT_EQ(6u, m_prompt.Dialogs().size());
    for (size_t i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        const ScriptedPrompt::Dialog& dialog = m_prompt.Dialogs()[i];
        bool save = i % 2 == 0;
        EXPECT_EQ(save, dialog.save);
        EXPECT_EQ(i < 2 ? qmf : qmj, dialog.filter);
        EXPECT_EQ(i < 2 ? L"qmf" : L"qmj", dialog.defaultExtension);
        EXPECT_EQ(save ? common : common | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST, dialog.flags);
        EXPECT_EQ(Documents(), dialog.initialDir);
        EXPECT_EQ(static_cast<DWORD>(MAX_PATH), dialog.fileBufferSize);
        EXPECT_EQ(256u, dialog.fileTitleSize);
        EXPECT_EQ(sizeof(OPENFILENAMEW), dialog.structSize);
        EXPECT_EQ(window, dialog.owner);
    }
    DestroyWindow(window);
}

TEST_F(StorageTest, SettingsTransfersUseTheSettingsTexts)
{
    ZVK6891::CFileJoySetting6891 settings;
    settings.Record().leftAmplify = 101;
    m_prompt.QueueFile(m_elsewhere.File(L"s"));
    ASSERT_TRUE(settings.ExportSettings());
    ZVK6891::CFileJoySetting6891 back;
    m_prompt.QueueFile(m_elsewhere.File(L"s.qmj"));
    ASSERT_TRUE(back.ImportSettings());
    EXPECT_EQ(101u, back.Record().leftAmplify);
    m_prompt.QueueFile(m_elsewhere.File(L"missing\\s.qmj"));
    m_prompt.QueueFile(m_elsewhere.File(L"missing.qmj"));
    EXPECT_FALSE(back.ExportSettings());
    EXPECT_FALSE(back.ImportSettings());
    EXPECT_EQ((std::vector<std::wstring>{L"Create setting file error", L"Create setting File error"}),
              m_prompt.MessageTexts());
}
