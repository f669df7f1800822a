// Profiles moved through the key-mapping pages' import and export buttons on both designs (the
// one-layer page of model 6840, pages A and B of model 6891), with the scripted file dialogs;
// and a model's language file beside the program.
#include "keymap_test_env.h"
#include "protocol/MappingCode.h"
#include "texts/ModelTexts.h"

namespace {

using namespace keymaptest;
using filestest::Bytes;

const UINT32 kKeyA = 0xF10104; // keyboard "A " on a button
const wchar_t kImport[] = L"btn_loadcfg";
const wchar_t kExport[] = L"btn_savecfg";

// A design's profile file and the buttons the tests look at.
struct Design {
    USHORT product;
    const wchar_t* model;
    size_t size;       // bytes of the record
    size_t dataEnd;    // end of the bytes the checksum covers
    int exportPage;    // the sub-pages whose buttons are clicked
    int importPage;
    const wchar_t* key; // a mapping button of the import page, showing the edited button
    int button;         // its index
};

const Design kDesigns[] = {
    {6840, L"6840", 388, 380, 0, 0, L"btn_Keymap_12", 11},
    {6891, L"6891", 864, 856, 0, 1, L"btn_Keymap_13", 12},
};

class ProfileTransfer : public KeymapTest {
protected:

    void Show(const Design& design, int subPage)
    {
        if (design.product == 6891)
            m_6891.SelectSubPage(subPage);
        hosttest::HostTest::Pump();
    }
    CKeymapPageHandler& Page(const Design& design, int subPage)
    {
        if (design.product == 6840)
            return m_6840.KeymapPage();
        return subPage == 0 ? m_6891.KeymapPageA() : m_6891.KeymapPageB();
    }
    // Clicks a page's button with the next dialog answered by path (empty: cancelled).
    void ClickWithFile(const Design& design, int subPage, const wchar_t* button, const std::wstring& path)
    {
        Show(design, subPage);
        if (path.empty())
            m_prompt.QueueCancel();
        else
            m_prompt.QueueFile(path);
        Click(Page(design, subPage), button);
    }
    Bytes Image(const Design& design)
    {
        return design.product == 6840 ? filestest::ImageOf(ZVK6840::Profile().Record())
                                      : filestest::ImageOf(ZVK6891::Profile().Record());
    }
    // Edits of every part of the record: keys, turbo, axes, and for 6891 every layer.
    void Edit(const Design& design)
    {
        if (design.product == 6840) {
            OlderLayer& layer = Layer();
            layer.keyCode[design.button] = kKeyA;
            layer.turbo[4] = 20;
            layer.axisCode[6] = MakeMappingCode(kClassAxis, kSubMouseMove, 0x25);
            return;
        }
        ZVK6891::CProfile6891& profile = ZVK6891::Profile();
        for (UINT index = 0; index < 3; ++index) {
            profile.SelectLayer(index);
            profile.CurrentLayer().keyCode[design.button] = kKeyA + index;
            profile.CurrentLayer().turbo[index] = 20;
            profile.CurrentLayer().axisCode[9 - index] = MakeMappingCode(kClassAxis, kSubMouseButton, 1 + index);
        }
    }
    void RestoreDefaults(const Design& design)
    {
        if (design.product == 6840)
            ZVK6840::Profile().RestoreDefaults();
        else
            ZVK6891::Profile().ResetDefaults();
    }
    std::wstring Label(const Design& design)
    {
        return TextOf(Page(design, design.importPage), design.key).c_str();
    }

    void RoundTrip(const Design& design);
    void RefusedFiles(const Design& design);
};

// Export then import through the buttons: the second export is the first byte for byte, the
// page shows what came in, and nothing is sent or stored automatically.
void ProfileTransfer::RoundTrip(const Design& design)
{
    OpenWith(design.product);
    Edit(design);
    if (design.product == 6891)
        ZVK6891::Profile().SelectLayer(1); // written, never taken over
    const Bytes edited = Image(design);
    std::wstring first = m_elsewhere.File(std::wstring(L"first") + design.model + L".qmf");
    ClickWithFile(design, design.exportPage, kExport, first);

    Bytes file = filestest::ReadAll(first);
    ASSERT_EQ(design.size, file.size());
    EXPECT_EQ(filestest::SumOf(file, 8, design.dataEnd), static_cast<BYTE>(file[4]));
    EXPECT_EQ(edited.substr(8, design.dataEnd - 8), file.substr(8, design.dataEnd - 8));

    RestoreDefaults(design);
    if (design.product == 6891)
        ZVK6891::Profile().SelectLayer(0);
    Page(design, design.importPage).Relabel();
    EXPECT_NE(L"A ", Label(design));
    ClickWithFile(design, design.importPage, kImport, first);
    EXPECT_EQ(L"A ", Label(design));
    EXPECT_EQ(edited.substr(8, design.dataEnd - 8), Image(design).substr(8, design.dataEnd - 8));
    if (design.product == 6891) {
        EXPECT_EQ(0u, ZVK6891::Profile().CurrentLayerIndex());
        ZVK6891::Profile().SelectLayer(1);
    }

    std::wstring second = m_elsewhere.File(std::wstring(L"second") + design.model + L".qmf");
    ClickWithFile(design, design.exportPage, kExport, second);
    EXPECT_EQ(file, filestest::ReadAll(second));

    ASSERT_EQ(3u, m_prompt.Dialogs().size());
    EXPECT_TRUE(m_prompt.Dialogs()[0].save);
    EXPECT_FALSE(m_prompt.Dialogs()[1].save);
    EXPECT_EQ((std::vector<std::wstring>{L"qmf files(*.qmf)", L"*.qmf"}), m_prompt.Dialogs()[1].filter);
    EXPECT_TRUE(m_prompt.Messages().empty());
    EXPECT_TRUE(m_sim.Reports().empty());
    EXPECT_FALSE(filestest::Exists(ModelFile(design.model, L"Profile.qmj")));
}

// A file the import refuses changes nothing, on the page either, and names its fault; a
// cancelled dialog says nothing. An export that cannot create its file says so.
void ProfileTransfer::RefusedFiles(const Design& design)
{
    OpenWith(design.product);
    std::wstring valid = m_elsewhere.File(std::wstring(L"valid") + design.model + L".qmf");
    ClickWithFile(design, design.exportPage, kExport, valid);
    const Bytes good = filestest::ReadAll(valid);
    ASSERT_EQ(design.size, good.size());
    Edit(design);
    Page(design, design.importPage).Relabel();
    const Bytes before = Image(design);
    const std::wstring label = Label(design);

    Bytes foreign = good;
    filestest::PutU16(foreign, 110, design.product == 6840 ? 6852 : 6840);
    foreign[4] = static_cast<char>(filestest::SumOf(foreign, 8, design.dataEnd));
    Bytes damaged = good;
    damaged[200] ^= 1;
    const Bytes shortFile = good.substr(0, design.size - 1);
    const struct {
        const char* label;
        const Bytes* bytes;  // null: the chosen path names no file
        const wchar_t* text; // null: the dialog is cancelled
    } kCases[] = {
        {"one byte short", &shortFile, L"File invalid"},
        {"another model's", &foreign, L"Profile does not match current device"},
        {"damaged", &damaged, L"Profile does not match current device"},
        {"missing", nullptr, L"CreateFile error"},
        {"cancelled", nullptr, nullptr},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.label);
        m_prompt.Clear();
        std::wstring name = std::wstring(L"refused_") + design.model + L"_" +
                            std::wstring(c.label, c.label + strlen(c.label)) + L".qmf";
        std::wstring path = c.text ? m_elsewhere.File(name) : std::wstring();
        if (c.bytes)
            m_elsewhere.Write(name, *c.bytes);
        ClickWithFile(design, design.importPage, kImport, path);
        EXPECT_EQ(before, Image(design));
        EXPECT_EQ(label, Label(design));
        if (!c.text) {
            EXPECT_TRUE(m_prompt.Messages().empty());
            continue;
        }
        ASSERT_EQ(1u, m_prompt.Messages().size());
        EXPECT_EQ(c.text, m_prompt.Messages()[0].text);
        EXPECT_FALSE(m_prompt.Messages()[0].caption.has_value());
        EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), m_prompt.Messages()[0].type);
    }

    m_prompt.Clear();
    ClickWithFile(design, design.exportPage, kExport, m_elsewhere.File(L"no folder\\out.qmf"));
    EXPECT_EQ(std::vector<std::wstring>{L"Create Profile error"}, m_prompt.MessageTexts());
    EXPECT_EQ(good, filestest::ReadAll(valid));
    EXPECT_TRUE(m_sim.Reports().empty());
    EXPECT_FALSE(filestest::Exists(ModelFile(design.model, L"Profile.qmj")));
}

TEST_F(ProfileTransfer, TheOlderPageRoundTripsTheProfileByteExact)
{
    RoundTrip(kDesigns[0]);
}

TEST_F(ProfileTransfer, Pages6891RoundTripTheProfileByteExact)
{
    RoundTrip(kDesigns[1]);
}

TEST_F(ProfileTransfer, TheOlderPageRefusesFilesWithoutAChange)
{
    RefusedFiles(kDesigns[0]);
}

TEST_F(ProfileTransfer, Pages6891RefuseFilesWithoutAChange)
{
    RefusedFiles(kDesigns[1]);
}

// A language file that renames every text with "!" appended.
std::string RenamingLanguageFile()
{
    std::string xml = "<?xml version='1.0' encoding='utf-8'?>\n<root>\n";
    for (int index = 0; index < kModelTextCount; ++index) {
        std::wstring key = ModelTexts::Key(index);
        std::string narrow(key.begin(), key.end());
        xml += "  <" + narrow + " name='" + narrow + "!'/>\n";
    }
    return xml + "</root>\n";
}

class LanguageFile : public KeymapTest {
protected:
    void TearDown() override
    {
        // The texts of 6852 back to their defaults for the rest of the process.
        std::string xml = "<?xml version='1.0' encoding='utf-8'?>\n<root>\n";
        for (int index = 0; index < kModelTextCount; ++index) {
            std::wstring key = ModelTexts::Key(index), text = ModelTexts::DefaultText(index);
            xml += "<" + Utf8(key) + " name='" + Utf8(text) + "'/>\n";
        }
        ModelTexts& texts = ModelTextsOf(6852);
        texts.LoadFrom(m_elsewhere.Write(L"defaults.xml", xml + "</root>\n").c_str());
        texts.BuildMouseNames();
        texts.BuildDeviceNames();
        KeymapTest::TearDown();
    }
    static std::string Utf8(const std::wstring& text)
    {
        std::string bytes(::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr), '\0');
        ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &bytes[0], static_cast<int>(bytes.size()), nullptr, nullptr);
        bytes.pop_back();
        return bytes;
    }
};

// "lang6852.xml" beside the program renames the texts of model 6852, on its page and in its
// pop-ups; the other models keep theirs.
TEST_F(LanguageFile, ChangesTheTextsOfItsModelOnly)
{
    shelltest::FileBesideProgram file(L"lang6852.xml", RenamingLanguageFile());
    OpenWith(6852);
    EXPECT_EQ(L"str_menu_joy_value_key1!", std::wstring(TextOf(m_6852.KeymapPage(), L"btn_Keymap_1").c_str()));
    EXPECT_EQ(L"str_menu_joy_value_x_aix!", std::wstring(TextOf(m_6852.KeymapPage(), L"btn_Aixymap_X").c_str()));
    for (CMyHandlerBase* page : {static_cast<CMyHandlerBase*>(&m_6840.KeymapPage()),
                                 static_cast<CMyHandlerBase*>(&m_6867.KeymapPage()),
                                 static_cast<CMyHandlerBase*>(&m_6891.KeymapPageA())}) {
        EXPECT_EQ(L"1号键", std::wstring(TextOf(*page, L"btn_Keymap_1").c_str()));
        EXPECT_EQ(L"X axes", std::wstring(TextOf(*page, L"btn_Aixymap_X").c_str()));
    }

    Click(m_6852.KeymapPage(), L"btn_Keymap_3");
    m_window->ShowDevicePage(3);
    Click(m_6840.KeymapPage(), L"btn_Keymap_3");
    ASSERT_EQ(2u, m_chooser.menus.size());
    const MappingMenu& renamed = m_chooser.menus[0].menu;
    const MappingMenu& kept = m_chooser.menus[1].menu;
    const wchar_t* const kRenamed[] = {L"str_menu_keyboard!", L"str_menu_Mouse!", L"str_menu_joystick!",
                                       L"str_menu_default!"};
    const wchar_t* const kKept[] = {L"键盘", L"鼠标", L"按键", L"默认"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(kRenamed[i], std::wstring(renamed.items[i].text.c_str()));
        EXPECT_EQ(kKept[i], std::wstring(kept.items[i].text.c_str()));
    }
    EXPECT_EQ(L"str_menu_joy_value_key12!", std::wstring(renamed.subItems[11].text.c_str()));
    EXPECT_EQ(L"12号键", std::wstring(kept.subItems[11].text.c_str()));
}

} // namespace
