// The program's resources and start-up pieces without a main window: the named-id table
// against the layouts of the archive it was generated from, the texts of "mainlang.xml", and
// skins from a folder beside the program.
#include <gtest/gtest.h>
#include <algorithm>
#include <map>
#include <set>
#include "MainTexts.h"
#include "NamedIdTable.h"
#include "ProgramFolder.h"
#include "SSkinLoader.h"
#include "app_test_support.h"
#include "res.mgr/SSkinPoolMgr.h"
#include "res.mgr/SZipArchive.h"
#include "res_test_util.h"
#include "texts/KeyboardTable.h"
#include "shell_test_env.h"
#include "texts/LanguageFile.h"
#include "texts/ModelTexts.h"

namespace {

using namespace SKEIN;

const int kStartId = 65535;
const int kFirstGeneratedId = 65536;

std::string Member(SZipArchive& zip, const std::wstring& name)
{
    SZipBuffer bytes;
    if (!zip.GetFile(name.c_str(), bytes))
        return std::string();
    return std::string(reinterpret_cast<const char*>(bytes.Data()), bytes.Size());
}

bool IsWindowTree(const pugi::xml_node& root)
{
    for (const wchar_t* kind : {L"SKEIN", L"include", L"template"}) {
        if (_wcsicmp(root.name(), kind) == 0)
            return true;
    }
    return false;
}

// Every element with a name below the node, with its explicit id (0 when it has none); skins and
// styles have names of another kind.
void CollectNames(const pugi::xml_node& node, std::map<std::wstring, int>& names)
{
    for (pugi::xml_node child : node.children()) {
        if (child.type() != pugi::node_element || _wcsicmp(child.name(), L"skin") == 0 ||
            _wcsicmp(child.name(), L"style") == 0)
            continue;
        if (const wchar_t* name = child.attribute(L"name").value(); *name) {
            int id = child.attribute(L"id").as_int();
            if (id != 0 || !names.count(name))
                names[name] = id;
        }
        CollectNames(child, names);
    }
}

// The names of the window trees in the archive beside the test, as its index lists them.
std::map<std::wstring, int> NamesOfTheArchive()
{
    std::map<std::wstring, int> names;
    SZipArchive zip;
    std::wstring path = shelltest::TestFolder() + L"\\uires.zip";
    if (!zip.OpenFile(path.c_str()) || !zip.SetPassword(SKEIN_ARCHIVE_PASSWORD))
        return names;
    pugi::xml_document index;
    std::string indexText = Member(zip, L"uires.idx");
    index.load_buffer(indexText.data(), indexText.size());
    for (pugi::xml_node type : index.child(L"resource").children()) {
        for (pugi::xml_node file : type.children(L"file")) {
            pugi::xml_document document;
            std::string text = Member(zip, file.attribute(L"path").value());
            if (document.load_buffer(text.data(), text.size()) && IsWindowTree(document.document_element()))
                CollectNames(document.document_element(), names);
        }
    }
    return names;
}

TEST(NamedIdTable, MatchesTheLayoutsItWasGeneratedFrom)
{
    std::map<std::wstring, int> names = NamesOfTheArchive();
    ASSERT_GT(names.size(), 10u);
    ASSERT_EQ(static_cast<int>(names.size()) + 1, kNamedIdCount);
    std::set<int> generated;
    for (int i = 0; i < kNamedIdCount; ++i) {
        const SNamedID::Record& record = kNamedIdTable[i];
        std::wstring name = record.name;
        SCOPED_TRACE(name);
        EXPECT_LE(name.size(), 49u);
        for (size_t unit = name.size(); unit < kNamedValueNameSize; ++unit)
            EXPECT_EQ(0, record.name[unit]);
        if (i > 0) {
            EXPECT_LT(wcscmp(kNamedIdTable[i - 1].name, record.name), 0); // ordinal order, no repeats
        }
        if (name == L"_name_start") {
            EXPECT_EQ(kStartId, record.value);
            continue;
        }
        ASSERT_EQ(1u, names.count(name));
        if (names[name] != 0) {
            EXPECT_EQ(names[name], record.value);
        }
        if (record.value >= kFirstGeneratedId) {
            EXPECT_TRUE(generated.insert(record.value).second);
        }
    }
    // The ids from 65536 up are one per name, without gaps.
    EXPECT_EQ(kFirstGeneratedId, *generated.begin());
    EXPECT_EQ(kFirstGeneratedId + static_cast<int>(generated.size()) - 1, *generated.rbegin());
}

int IdOf(const wchar_t* name)
{
    for (int i = 0; i < kNamedIdCount; ++i) {
        if (wcscmp(kNamedIdTable[i].name, name) == 0)
            return kNamedIdTable[i].value;
    }
    return 0;
}

// Every id the table states by value, its size, and how many distinct ids it holds.
TEST(NamedIdTable, HoldsTheStatedIds)
{
    EXPECT_EQ(245, kNamedIdCount);
    std::set<int> distinct;
    for (int i = 0; i < kNamedIdCount; ++i)
        distinct.insert(kNamedIdTable[i].value);
    EXPECT_EQ(232u, distinct.size());
    EXPECT_EQ(65663, *distinct.rbegin());

    const struct {
        const wchar_t* name;
        int id;
    } kStated[] = {
        {L"_name_start", 65535},        {L"AixctrXY", 100},           {L"Enterx", 101},
        {L"lamp1", 101},                {L"tabctrl_devices", 65536},  {L"caption", 65537},
        {L"img_logo", 65538},           {L"btn_keymapPage", 65539},   {L"btn_joystickSetting", 65540},
        {L"btn_functionTest", 65541},   {L"btn_about", 65542},        {L"btn_min", 65543},
        {L"btn_close", 65544},          {L"msdlg_close", 65663},      {L"msdlg_leftkey", 1},
        {L"msdlg_rightkey", 2},         {L"msdlg_middle_key", 3},     {L"msdlg_4key", 4},
        {L"msdlg_5key", 5},             {L"msdlg_x_left", 33},        {L"msdlg_x_right", 34},
        {L"msdlg_y_up", 35},            {L"msdlg_y_down", 36},        {L"msdlg_wheelup", 37},
        {L"msdlg_wheeldown", 38},
    };
    for (const auto& stated : kStated)
        EXPECT_EQ(stated.id, IdOf(stated.name)) << stated.name;

    // Below 65535: the on-screen keyboard's keys 1..103, and 13 names that share their values.
    std::set<int> low;
    int lowNames = 0;
    for (int i = 0; i < kNamedIdCount; ++i) {
        if (kNamedIdTable[i].value < kStartId) {
            low.insert(kNamedIdTable[i].value);
            ++lowNames;
        }
    }
    EXPECT_EQ(static_cast<size_t>(KeyCount()), low.size());
    EXPECT_EQ(1, *low.begin());
    EXPECT_EQ(KeyCount(), *low.rbegin());
    EXPECT_EQ(KeyCount() + 13, lowNames);
}

TEST(MainTextsFile, ElementsReplaceTheDefaultsAndMissingOnesLeaveNothing)
{
    restest::TempFolder folder;
    const struct {
        const char* file; // null: no file
        bool loaded;
        const wchar_t* title;
        const wchar_t* applied;
    } kCases[] = {
        {nullptr, false, L"Corvane映射软件", L"应用成功!"},
        {"<root><TilteName name='T'/><applayOK name='A'/></root>", true, L"T", L"A"},
        {"<root><TilteName name='T'/></root>", true, L"T", L""},
        {"<root><TilteName/><applayOK name='A'/></root>", true, L"", L"A"},
        {"<other/>", true, L"", L""},
        {"<root><TilteName name='T'", false, L"Corvane映射软件", L"应用成功!"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.file ? c.file : "no file");
        std::wstring path = folder.File(L"mainlang.xml");
        ::DeleteFileW(path.c_str());
        if (c.file)
            folder.Write(L"mainlang.xml", c.file);
        MainTexts texts;
        texts.LoadFrom(path.c_str());
        EXPECT_EQ(c.loaded, texts.loaded);
        EXPECT_STREQ(c.title, texts.title.c_str());
        EXPECT_STREQ(c.applied, texts.applied.c_str());
    }
}

// The models' language files' size check: one byte above it and "mainlang.xml" is refused unread.
TEST(MainTextsFile, FileAboveTheLanguageFileLimitIsRefused)
{
    restest::TempFolder folder;
    const std::string xml = "<root><TilteName name='T'/></root>";
    std::wstring path = folder.Write(L"mainlang.xml", xml + std::string(kMaxLanguageFileBytes + 1 - xml.size(), ' '));
    skein_test::ScopedLogRecorder log;
    MainTexts texts;
    texts.LoadFrom(path.c_str());
    EXPECT_FALSE(texts.loaded);
    EXPECT_STREQ(L"Corvane映射软件", texts.title.c_str());
    ASSERT_EQ(1u, log.lines.size());
    EXPECT_EQ(0u, log.lines[0].find("3|LoadLanguageFile|language file refused")) << log.lines[0];
}

// An editor holds the language files open for writing: "mainlang.xml" and a model's file are
// still read and their texts taken; a file above the size limit is still refused unread.
TEST(LanguageFiles, FilesHeldOpenForWritingAreRead)
{
    restest::TempFolder folder;
    const std::string xml = "<root><TilteName name='T'/><str_menu_Mouse name='M'/></root>";
    const DWORD kReadWrite = FILE_SHARE_READ | FILE_SHARE_WRITE;
    const struct {
        const char* holder;
        DWORD access, share;
        size_t size;
    } kCases[] = {
        {"writer sharing read and write", GENERIC_WRITE, kReadWrite, xml.size()},
        {"writer sharing read, write and delete", GENERIC_READ | GENERIC_WRITE | DELETE,
         kReadWrite | FILE_SHARE_DELETE, xml.size()},
        {"writer of a file above the limit", GENERIC_WRITE, kReadWrite, kMaxLanguageFileBytes + 1},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.holder);
        const bool read = c.size <= kMaxLanguageFileBytes;
        for (const wchar_t* name : {L"mainlang.xml", L"lang6891.xml"}) {
            std::wstring path = folder.Write(name, xml + std::string(c.size - xml.size(), ' '));
            HANDLE holder = ::CreateFileW(path.c_str(), c.access, c.share, nullptr, OPEN_EXISTING, 0, nullptr);
            ASSERT_NE(INVALID_HANDLE_VALUE, holder);
            skein_test::ScopedLogRecorder log;
            MainTexts main;
            main.LoadFrom(path.c_str());
            ModelTexts model(name);
            model.LoadFrom(path.c_str());
            ::CloseHandle(holder);
            EXPECT_EQ(read, main.loaded);
            EXPECT_STREQ(read ? L"T" : L"Corvane映射软件", main.title.c_str());
            EXPECT_EQ(read, model.Loaded());
            EXPECT_STREQ(read ? L"M" : L"鼠标", model.Text(kTextMouse).c_str());
            EXPECT_EQ(read ? 0u : 2u, log.lines.size()); // a refusal is logged, once per read
        }
    }
}

std::vector<std::wstring> Lines(const SStringW& text)
{
    std::vector<std::wstring> lines(1);
    for (const wchar_t* c = text.c_str(); *c; ++c) {
        if (*c == L'\n')
            lines.emplace_back();
        else
            lines.back() += *c;
    }
    return lines;
}

// Paths in lines that a message box shows within the screen: each line ends after its last
// backslash, a name longer than a line is cut, and a path of more lines than a box shows keeps
// its first and last lines around "...".
TEST(ShownPath, BreaksPathsIntoLinesThatFitTheScreen)
{
    const std::wstring name(150, L'n');
    const std::wstring folder = L"C:\\" + std::wstring(40, L'a') + L"\\" + std::wstring(30, L'b') + L"\\";
    const struct {
        std::wstring path;
        std::vector<std::wstring> lines;
    } cases[] = {
        {L"C:\\Corvane\\uires.zip", {L"C:\\Corvane\\uires.zip"}},
        {std::wstring(64, L'x'), {std::wstring(64, L'x')}},
        {folder + L"uires.zip", {L"C:\\" + std::wstring(40, L'a') + L"\\", std::wstring(30, L'b') + L"\\uires.zip"}},
        {L"C:\\" + name, {L"C:\\", name.substr(0, 64), name.substr(64, 64), name.substr(128)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.path));
        EXPECT_EQ(c.lines, Lines(ShownPath(c.path.c_str())));
    }

    std::wstring deep = L"C:\\";
    while (deep.size() < 3000)
        deep += std::wstring(37, L'a' + deep.size() % 26) + L"\\";
    for (size_t length : {374u, 3000u}) {
        SCOPED_TRACE(length);
        std::wstring path = deep.substr(0, length);
        std::vector<std::wstring> lines = Lines(ShownPath(path.c_str()));
        ASSERT_LE(lines.size(), static_cast<size_t>(kShownPathLines));
        std::wstring joined;
        for (const std::wstring& line : lines) {
            EXPECT_LE(line.size(), static_cast<size_t>(kShownPathLineChars));
            joined += line;
        }
        auto elision = std::find(lines.begin(), lines.end(), L"...");
        if (length == 374) {
            EXPECT_EQ(path, joined);
            EXPECT_EQ(lines.end(), elision);
        } else {
            ASSERT_EQ(static_cast<size_t>(kShownPathLines), lines.size());
            ASSERT_NE(lines.end(), elision);
            std::wstring head, tail;
            for (auto line = lines.begin(); line != elision; ++line)
                head += *line;
            for (auto line = elision + 1; line != lines.end(); ++line)
                tail += *line;
            EXPECT_EQ(0u, path.find(head));
            EXPECT_EQ(path.size() - tail.size(), path.rfind(tail));
        }
    }
}

// The first load of the skin folder fills the loader's pool, above the program's skins; later
// loads give the skins already there new attributes and add none.
TEST(SkinFolder, FirstLoadAddsSkinsLaterLoadsChangeThem)
{
    restest::TempFolder folder;
    folder.Write(L"uires.idx", "<resource><SkinXml><file name='LoadSkinXml' path='skins.xml'/></SkinXml>"
                               "<XML><file name='more' path='more.xml'/></XML></resource>");
    folder.Write(L"skins.xml", "<skin><colorrect name='skin_logo' normal='#ff0000'/></skin>");
    folder.Write(L"more.xml", "<skin><colorrect name='skin_logo' normal='#00ff00'/>"
                              "<colorrect name='skin_new' normal='#0000ff'/><colorrect normal='#0000ff'/></skin>");
    IRenderFactory* render = nullptr;
    ASSERT_TRUE(CreateRenderFactory_GDI(&render));
    SRefPtr<IRenderFactory> factory(render, false);
    SApplication app(factory, ::GetModuleHandleW(nullptr), L"SKEINHOST", SObjectDefaultRegister());
    SSkinLoader loader(app);
    auto drawn = [&](const wchar_t* name) -> UINT32 {
        ISkinObj* skin = SSkinPoolMgr::Instance()->FindSkin(SStringW(name), 100);
        IRenderTarget* target = nullptr;
        if (!skin || !factory->CreateRenderTarget(&target, 1, 1))
            return 0;
        RECT rect = {0, 0, 1, 1};
        skin->DrawByState(target, &rect, 0);
        UINT32 pixel = target->GetPixel(0, 0) & 0xFFFFFF;
        target->Release();
        return pixel;
    };
    loader.LoadSkin(folder.Path().c_str(), L"LoadSkinXml");
    EXPECT_EQ(0xFF0000u, drawn(L"skin_logo"));
    loader.LoadSkin(folder.Path().c_str(), L"XML:more");
    EXPECT_EQ(0x00FF00u, drawn(L"skin_logo"));
    EXPECT_EQ(nullptr, SSkinPoolMgr::Instance()->FindSkin(SStringW(L"skin_new"), 100));
}

} // namespace
