// The four records in their automatic files: the default images byte for byte, round trips,
// layer selection, and a table of hostile files that the load refuses silently and the import
// refuses with the right box.
#include <functional>
#include <memory>
#include "files_test_env.h"
#include "models/ZVK6840/ModelFiles6840.h"
#include "models/ZVK6852/ModelFiles6852.h"
#include "models/ZVK6867/ModelFiles6867.h"
#include "models/ZVK6891/CFileJoySetting6891.h"
#include "models/ZVK6891/CProfile6891.h"

using namespace filestest;

namespace {

const UINT32 kButtonCode = 0xF10000;
const UINT32 kAxisCode = 0xF30000;

void PutName(Bytes& bytes, const wchar_t* name)
{
    for (size_t i = 0; name[i]; ++i)
        PutU16(bytes, 8 + 2 * i, name[i]);
}

// Default layer of the button codes and turbo speeds at layerAt, axis codes at axesAt.
void PutDefaultLayer(Bytes& bytes, size_t layerAt, size_t axesAt, const std::vector<UINT32>& axes)
{
    for (UINT32 n = 1; n <= 26; ++n)
        PutU32(bytes, layerAt + 4 * (n - 1), kButtonCode | n);
    for (size_t slot = 0; slot < axes.size(); ++slot)
        PutU32(bytes, axesAt + 4 * slot, kAxisCode | axes[slot]);
}

// The default files, written out from the record descriptions.
Bytes OlderProfileDefaults(UINT16 product, const wchar_t* name)
{
    Bytes bytes(388, '\0');
    PutName(bytes, name);
    PutU16(bytes, 108, 0x2E7A);
    PutU16(bytes, 110, product);
    PutDefaultLayer(bytes, 112, 112 + 240, {0x21, 0x21, 0x23, 0x23, 0x26, 0x26, 0x25});
    bytes[4] = static_cast<char>(SumOf(bytes, 8, 380));
    return bytes;
}

Bytes Profile6891Defaults()
{
    Bytes bytes(864, '\0');
    PutName(bytes, L"ZVK689Profile");
    PutU16(bytes, 108, 0x2E7A);
    PutU16(bytes, 110, 6891);
    for (size_t layer = 0; layer < 3; ++layer)
        PutDefaultLayer(bytes, 112 + 248 * layer, 112 + 248 * layer + 208,
                        {0x21, 0x21, 0x23, 0x23, 0x26, 0x26, 0x28, 0x29, 0x25, 0x2A});
    bytes[4] = static_cast<char>(SumOf(bytes, 8, 856));
    return bytes;
}

Bytes OlderSettingsDefaults()
{
    Bytes bytes(24, '\0');
    PutU32(bytes, 20, 95);
    bytes[0] = static_cast<char>(SumOf(bytes, 4, 24));
    return bytes;
}

Bytes Settings6891Defaults()
{
    Bytes bytes(44, '\0');
    PutU32(bytes, 36, 95);
    PutU32(bytes, 40, 95);
    bytes[4] = static_cast<char>(SumOf(bytes, 8, 44));
    return bytes;
}

// One record kind as the tests see it: where its parts lie (from the record descriptions, not
// from the code), a fresh object, its live bytes, and its default file.
struct RecordKind {
    const char* name;
    const wchar_t* model;
    const wchar_t* fileName;
    size_t size;
    size_t checksumAt, sumBegin, sumEnd;
    size_t copyBegin, copyEnd;
    size_t productAt;                 // 0: no ids
    UINT16 productId;
    size_t valueAt;                   // a 32-bit value inside the checksum range
    std::function<std::unique_ptr<CRecordFile>()> make;
    std::function<Bytes(const CRecordFile&)> live;
    std::function<Bytes()> defaults;
    std::function<Bytes()> otherModel;
    bool isProfile;
};

template <class File>
std::function<Bytes(const CRecordFile&)> LiveOf()
{
    return [](const CRecordFile& file) { return ImageOf(static_cast<const File&>(file).Record()); };
}

template <class File>
std::function<std::unique_ptr<CRecordFile>()> Maker()
{
    return [] { return std::unique_ptr<CRecordFile>(new File()); };
}

// The older settings object has no per-model type; its maker names the model folder.
std::function<std::unique_ptr<CRecordFile>()> OlderSettingsMaker(const wchar_t* model)
{
    return [model] { return std::unique_ptr<CRecordFile>(new COlderJoySetting(model)); };
}

const RecordKind& OlderProfileKind()
{
    static const RecordKind kind = {
        "older profile", L"6840", L"Profile.qmj", 388, 4, 8, 380, 8, 380, 110, 6840, 112 + 4 * 3,
        Maker<ZVK6840::CProfile6840>(), LiveOf<COlderProfile>(), [] { return OlderProfileDefaults(6840, L"ZVK6840Profile"); },
        [] { return OlderProfileDefaults(6852, L"ZVK6852Profile"); }, true};
    return kind;
}

const RecordKind& Profile6891Kind()
{
    static const RecordKind kind = {
        "6891 profile", L"6891", L"Profile.qmj", 864, 4, 8, 856, 8, 856, 110, 6891, 360 + 4 * 3,
        Maker<ZVK6891::CProfile6891>(), LiveOf<ZVK6891::CProfile6891>(), Profile6891Defaults,
        [] { return OlderProfileDefaults(6840, L"ZVK6840Profile"); }, true};
    return kind;
}

const RecordKind& OlderSettingsKind()
{
    static const RecordKind kind = {
        "older settings", L"6840", L"JoySetting.qmj", 24, 0, 4, 24, 0, 24, 0, 0, 8,
        OlderSettingsMaker(L"6840"), LiveOf<COlderJoySetting>(), OlderSettingsDefaults, Settings6891Defaults, false};
    return kind;
}

const RecordKind& Settings6891Kind()
{
    static const RecordKind kind = {
        "6891 settings", L"6891", L"JoySetting.qmj", 44, 4, 8, 44, 4, 44, 0, 0, 20,
        Maker<ZVK6891::CFileJoySetting6891>(), LiveOf<ZVK6891::CFileJoySetting6891>(), Settings6891Defaults,
        OlderSettingsDefaults, false};
    return kind;
}

void Restamp(const RecordKind& kind, Bytes& bytes)
{
    bytes[kind.checksumAt] = static_cast<char>(SumOf(bytes, kind.sumBegin, kind.sumEnd));
}

// A valid file that differs from the defaults.
Bytes EditedFile(const RecordKind& kind)
{
    Bytes bytes = kind.defaults();
    PutU32(bytes, kind.valueAt, 77);
    Restamp(kind, bytes);
    return bytes;
}

Bytes RandomBytes(const RecordKind& kind)
{
    Bytes bytes(kind.size, '\0');
    UINT32 seed = static_cast<UINT32>(kind.size) * 2654435761u;
    for (char& byte : bytes) {
        seed = seed * 1103515245u + 12345u;
        byte = static_cast<char>(seed >> 16);
    }
    bytes[kind.checksumAt] = static_cast<char>(SumOf(bytes, kind.sumBegin, kind.sumEnd) + 1);
    return bytes;
}

enum class Place { File, Folder, Nothing };

struct HostileCase {
    const char* what;
    bool profilesOnly;
    Place place;
    std::function<Bytes(const RecordKind&)> bytes;
    bool accepted;
    const char* importBox; // "" none, else the role of the expected text
};

const std::vector<HostileCase>& HostileCases()
{
    static const std::vector<HostileCase> cases = {
        {"valid", false, Place::File, EditedFile, true, ""},
        {"one byte long", false, Place::File, [](const RecordKind& k) { return EditedFile(k) + '\x5A'; }, true, ""},
        {"memory-only and pad bytes set",
         false, Place::File,
         [](const RecordKind& k) {
             Bytes bytes = EditedFile(k);
             for (size_t i = 0; i < k.sumBegin; ++i)
                 if (i != k.checksumAt)
                     bytes[i] = '\x5A';
             for (size_t i = k.sumEnd; i < k.size; ++i)
                 bytes[i] = '\x02';
             return bytes;
         },
         true, ""},
        {"one byte short", false, Place::File, [](const RecordKind& k) { return EditedFile(k).substr(0, k.size - 1); },
         false, "short"},
        {"empty", false, Place::File, [](const RecordKind&) { return Bytes(); }, false, "short"},
        {"bad checksum", false, Place::File,
         [](const RecordKind& k) {
             Bytes bytes = EditedFile(k);
             bytes[k.checksumAt] = static_cast<char>(bytes[k.checksumAt] + 1);
             return bytes;
         },
         false, "invalid"},
        {"value changed, checksum not", false, Place::File,
         [](const RecordKind& k) {
             Bytes bytes = EditedFile(k);
             PutU32(bytes, k.valueAt, 78);
             return bytes;
         },
         false, "invalid"},
        {"wrong vendor", true, Place::File,
         [](const RecordKind& k) {
             Bytes bytes = EditedFile(k);
             PutU16(bytes, k.productAt - 2, 0x2E7B);
             Restamp(k, bytes);
             return bytes;
         },
         false, "invalid"},
        {"wrong product", true, Place::File,
         [](const RecordKind& k) {
             Bytes bytes = EditedFile(k);
             PutU16(bytes, k.productAt, static_cast<UINT16>(k.productId + 1));
             Restamp(k, bytes);
             return bytes;
         },
         false, "invalid"},
        {"random bytes", false, Place::File, RandomBytes, false, "invalid"},
        {"folder in place of the file", false, Place::Folder, nullptr, false, "open"},
        {"no file", false, Place::Nothing, nullptr, false, "open"},
    };
    return cases;
}

const wchar_t* ExpectedBox(const RecordKind& kind, const std::string& role)
{
    const TransferTexts& texts = kind.isProfile ? kProfileTransfer : kSettingsTransfer;
    if (role == "short")
        return texts.tooShort;
    if (role == "invalid")
        return texts.invalid;
    if (role == "open")
        return texts.openFailed;
    return nullptr;
}

class RecordFilesTest : public FilesTest {
protected:
    // Puts the case's file (or folder) at path.
    void PutCase(const HostileCase& c, const std::wstring& path, const Bytes& bytes)
    {
        if (c.place == Place::Folder)
            CreateDirectoryW(path.c_str(), nullptr);
        else if (c.place == Place::File)
            WriteBytes(path, bytes);
    }

    static void WriteBytes(const std::wstring& path, const Bytes& bytes)
    {
        HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(file);
    }

    static void Remove(const std::wstring& path)
    {
        DeleteFileW(path.c_str());
        RemoveDirectoryW(path.c_str());
    }

    // What an accepted file leaves in the live record: its copy range over the old image, with
    // the checksum brought up to date.
    static Bytes AfterTakeOver(const RecordKind& kind, Bytes live, const Bytes& file)
    {
        live.replace(kind.copyBegin, kind.copyEnd - kind.copyBegin, file, kind.copyBegin, kind.copyEnd - kind.copyBegin);
        Restamp(kind, live);
        return live;
    }

    void CheckHostileFiles(const RecordKind& kind)
    {
        std::wstring automatic = ModelFile(kind.model, kind.fileName);
        std::wstring chosen = m_elsewhere.File(L"chosen.file");
        for (const HostileCase& c : HostileCases()) {
            if (c.profilesOnly && !kind.productAt)
                continue;
            SCOPED_TRACE(c.what);
            Bytes bytes = c.bytes ? c.bytes(kind) : Bytes();

            std::unique_ptr<CRecordFile> loaded = kind.make();
            Bytes before = kind.live(*loaded);
            ModelDataFolder(kind.model);
            PutCase(c, automatic, bytes);
            loaded->Load();
            Bytes expected = c.accepted ? AfterTakeOver(kind, before, bytes) : before;
            EXPECT_EQ(expected, kind.live(*loaded)) << "load";
            Remove(automatic);

            std::unique_ptr<CRecordFile> imported = kind.make();
            m_prompt.Clear();
            m_prompt.QueueFile(chosen);
            PutCase(c, chosen, bytes);
            EXPECT_EQ(c.accepted, imported->ImportRecord());
            EXPECT_EQ(expected, kind.live(*imported)) << "import";
            const wchar_t* box = ExpectedBox(kind, c.importBox);
            EXPECT_EQ(box ? std::vector<std::wstring>{box} : std::vector<std::wstring>{}, m_prompt.MessageTexts());
            if (box) {
                EXPECT_FALSE(m_prompt.Messages()[0].caption.has_value());
                EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), m_prompt.Messages()[0].type);
            }
            Remove(chosen);
        }
    }

    // Saves a fresh object and compares the file with the default image.
    void CheckDefaultFile(const RecordKind& kind)
    {
        SCOPED_TRACE(kind.name);
        std::unique_ptr<CRecordFile> file = kind.make();
        ASSERT_TRUE(file->Save());
        EXPECT_EQ(kind.defaults(), ReadAll(ModelFile(kind.model, kind.fileName)));
    }
};

} // namespace

TEST_F(RecordFilesTest, DefaultsAreWrittenByteForByte)
{
    for (const RecordKind* kind : {&OlderProfileKind(), &Profile6891Kind(), &OlderSettingsKind(), &Settings6891Kind()})
        CheckDefaultFile(*kind);
    ZVK6852::CProfile6852 profile6852;
    ZVK6867::CProfile6867 profile6867;
    ASSERT_TRUE(profile6852.Save());
    ASSERT_TRUE(profile6867.Save());
    EXPECT_EQ(OlderProfileDefaults(6852, L"ZVK6852Profile"), ReadAll(ModelFile(L"6852", L"Profile.qmj")));
    EXPECT_EQ(OlderProfileDefaults(6867, L"ZVK6867Profile"), ReadAll(ModelFile(L"6867", L"Profile.qmj")));
}

TEST_F(RecordFilesTest, HostileOlderProfiles)
{
    CheckHostileFiles(OlderProfileKind());
}

TEST_F(RecordFilesTest, HostileProfiles6891)
{
    CheckHostileFiles(Profile6891Kind());
}

TEST_F(RecordFilesTest, HostileOlderSettings)
{
    CheckHostileFiles(OlderSettingsKind());
}

TEST_F(RecordFilesTest, HostileSettings6891)
{
    CheckHostileFiles(Settings6891Kind());
}

TEST_F(RecordFilesTest, OtherModelsFilesAreRefused)
{
    for (const RecordKind* kind : {&OlderProfileKind(), &Profile6891Kind(), &OlderSettingsKind(), &Settings6891Kind()}) {
        SCOPED_TRACE(kind->name);
        PutModelFile(kind->model, kind->fileName, kind->otherModel());
        std::unique_ptr<CRecordFile> file = kind->make();
        Bytes before = kind->live(*file);
        file->Load();
        EXPECT_EQ(before, kind->live(*file));
    }
    // A 6852 profile is refused by the 6840 and 6867 imports and taken by the 6852 one.
    std::wstring exported = m_elsewhere.Write(L"from6852.qmf", OlderProfileDefaults(6852, L"ZVK6852Profile"));
    ZVK6840::CProfile6840 profile6840;
    ZVK6852::CProfile6852 profile6852;
    ZVK6867::CProfile6867 profile6867;
    for (int i = 0; i < 3; ++i)
        m_prompt.QueueFile(exported);
    EXPECT_FALSE(profile6840.ImportFromFile());
    EXPECT_TRUE(profile6852.ImportFromFile());
    EXPECT_FALSE(profile6867.ImportFromFile());
    EXPECT_EQ((std::vector<std::wstring>{L"Profile does not match current device", L"Profile does not match current device"}),
              m_prompt.MessageTexts());
}

// Edited values, including ones only the checksum protects, come back unchanged.
TEST_F(RecordFilesTest, EditedRecordsRoundTrip)
{
    ZVK6840::CProfile6840 profile;
    profile.CurrentLayer().keyCode[4] = 0xF10104;
    profile.CurrentLayer().turbo[25] = 20;
    profile.CurrentLayer().axisCode[6] = 0xF30326;
    ASSERT_TRUE(profile.Save());
    ZVK6840::CProfile6840 profileBack;
    profileBack.Load();
    profile.UpdateChecksum();
    EXPECT_EQ(ImageOf(profile.Record()), ImageOf(profileBack.Record()));

    ZVK6891::CProfile6891 profile6891;
    profile6891.SelectLayer(2);
    profile6891.CurrentLayer().keyCode[25] = 0xF1022F;
    profile6891.CurrentLayer().axisCode[9] = 0xF30101;
    ASSERT_TRUE(profile6891.Save());
    ZVK6891::CProfile6891 profile6891Back;
    profile6891Back.SelectLayer(2);
    profile6891Back.Load();
    profile6891.UpdateChecksum();
    EXPECT_EQ(ImageOf(profile6891.Record()), ImageOf(profile6891Back.Record()));

    COlderJoySetting settings(L"6840");
    settings.Record() = {0, {}, {250, -3, 100, 7}, 101};
    ASSERT_TRUE(settings.Save());
    COlderJoySetting settingsBack(L"6840");
    settingsBack.Load();
    EXPECT_EQ(250, settingsBack.Record().deadZones[kOlderDeadZoneX]);
    EXPECT_EQ(-3, settingsBack.Record().deadZones[kOlderDeadZoneY]);
    EXPECT_EQ(101u, settingsBack.Record().strength);

    ZVK6891::CFileJoySetting6891 settings6891;
    settings6891.Record().header = 0x12345678; // memory only: written as 0
    settings6891.Record().deadZones[kDeadZoneSlider6891] = 300;
    settings6891.Record().leftAmplify = 101;
    settings6891.Record().rightAmplify = 0;
    ASSERT_TRUE(settings6891.Save());
    EXPECT_EQ(0u, GetU32(ReadAll(ModelFile(L"6891", L"JoySetting.qmj")), 0));
    ZVK6891::CFileJoySetting6891 settings6891Back;
    settings6891Back.Load();
    EXPECT_EQ(ImageOf(settings6891.Record()).substr(8), ImageOf(settings6891Back.Record()).substr(8));
    EXPECT_TRUE(settings6891Back.CheckSettings());
}

TEST_F(RecordFilesTest, LayerSelection)
{
    ZVK6891::CProfile6891 profile;
    for (UINT ignored : {3u, 0xFFFFFFFFu}) {
        profile.SelectLayer(1);
        profile.SelectLayer(ignored);
        EXPECT_EQ(1u, profile.CurrentLayerIndex());
    }
    profile.CurrentLayer().turbo[0] = 20;
    EXPECT_EQ(20u, profile.Record().layers[1].turbo[0]);
    EXPECT_EQ(0u, profile.Record().layers[0].turbo[0]);

    // A stored file naming layer 2 neither changes the current layer on load nor on import.
    Bytes stored = Profile6891Defaults();
    PutU32(stored, 856, 2);
    PutModelFile(L"6891", L"Profile.qmj", stored);
    profile.Load();
    EXPECT_EQ(1u, profile.CurrentLayerIndex());
    m_prompt.QueueFile(ModelFile(L"6891", L"Profile.qmj"));
    EXPECT_TRUE(profile.ImportFromFile());
    EXPECT_EQ(1u, profile.CurrentLayerIndex());
    EXPECT_EQ(0u, profile.Record().layers[1].turbo[0]);

    ZVK6840::CProfile6840 older;
    older.SelectLayer(1);
    EXPECT_EQ(0, older.Record().currentLayer);
    EXPECT_EQ(&older.CurrentLayer(), &older.Record().layer);
}

// Restoring defaults after edits; the stored checksum is fresh on every write.
TEST_F(RecordFilesTest, RestoredDefaultsSaveAsTheDefaultImage)
{
    ZVK6891::CProfile6891 profile;
    profile.SelectLayer(1);
    profile.CurrentLayer().keyCode[0] = 0xF10104;
    profile.ResetDefaults();
    profile.SelectLayer(0);
    ASSERT_TRUE(profile.Save());
    EXPECT_EQ(Profile6891Defaults(), ReadAll(ModelFile(L"6891", L"Profile.qmj")));

    COlderJoySetting settings(L"6852");
    settings.Record().deadZones[kOlderDeadZoneZ] = 40;
    settings.Record().strength = 10;
    settings.RestoreDefaults();
    ASSERT_TRUE(settings.Save());
    EXPECT_EQ(OlderSettingsDefaults(), ReadAll(ModelFile(L"6852", L"JoySetting.qmj")));
}

// The models keep their files apart; the program-wide objects are one per model.
TEST_F(RecordFilesTest, ModelsKeepSeparateFiles)
{
    EXPECT_EQ(&ZVK6840::Profile(), &ZVK6840::Profile());
    EXPECT_NE(static_cast<void*>(&ZVK6840::JoySetting()), static_cast<void*>(&ZVK6852::JoySetting()));
    ASSERT_TRUE(ZVK6852::Profile().Save());
    ASSERT_TRUE(ZVK6852::JoySetting().Save());
    EXPECT_EQ((std::vector<std::wstring>{L"6852"}), FolderNames(m_root.Path() + L"\\ZVK"));
    EXPECT_EQ((std::vector<std::wstring>{L"JoySetting.qmj", L"Profile.qmj"}), FolderNames(ModelFolder(L"6852")));
    EXPECT_EQ(ModelFile(L"6891", L"JoySetting.qmj"), ZVK6891::JoySetting().AutomaticPath());
    EXPECT_EQ(ModelFile(L"6867", L"Profile.qmj"), ZVK6867::Profile().AutomaticPath());
}
