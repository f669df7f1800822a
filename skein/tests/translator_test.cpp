#include <gtest/gtest.h>
#include "core/SObjRef.h"
#include "translator/STranslator.h"
#include "translator/STranslatorMgr.h"

using namespace SKEIN;

namespace {

// Simplified Chinese, with a message in the global context, one in "dlg_main", a repeated
// source (the first one counts) and font overrides.
const wchar_t kChinese[] =
    L"<language name='\x7B80\x4F53\x4E2D\x6587' guid='{6B3A1C2D-0E4F-4A5B-8C6D-7E8F90A1B2C3}'>"
    L"  <context name='dlg_main'>"
    L"    <message><source>Apply</source><translation>\x5E94\x7528</translation></message>"
    L"    <message><source>Cancel</source><translation>first</translation></message>"
    L"    <message><source>Cancel</source><translation>second</translation></message>"
    L"  </context>"
    L"  <context>"
    L"    <message><source>ok</source><translation>\x786E\x5B9A</translation></message>"
    L"  </context>"
    L"  <fonts>"
    L"    <font name='title' charset='gb2312' face='Tahoma'/>"
    L"    <font name='body' charset='238' face='Arial'/>"
    L"    <font name='body' charset='RUSSIAN' face='Courier New'/>"
    L"  </fonts>"
    L"</language>";

const wchar_t kJapanese[] = L"<language name='\x65E5\x672C\x8BED' guid='{11111111-2222-3333-4444-555555555555}'/>";

// A translator loaded from text (one reference for the caller).
SRefPtr<ITranslator> LoadTranslator(const wchar_t* xml)
{
    pugi::xml_document doc;
    EXPECT_TRUE(doc.load_string(xml));
    SRefPtr<ITranslator> translator(new STranslator, false);
    pugi::xml_node language = doc.child(L"language");
    EXPECT_TRUE(translator->Load(&language, kTranslatorLoadXml));
    return translator;
}

std::wstring Translated(const ITranslatorMgr& mgr, const wchar_t* source, const wchar_t* context)
{
    int size = mgr.Translate(source, context, nullptr, 0);
    if (size <= 0)
        return L"<none>";
    std::wstring text(size, L'?');
    EXPECT_EQ(mgr.Translate(source, context, &text[0], size), size);
    text.resize(size - 1);
    return text;
}

} // namespace

TEST(Translator, TranslatesByContextThenGlobal)
{
    SRefPtr<ITranslatorMgr> mgr(new STranslatorMgr, false);
    ASSERT_TRUE(mgr->InstallTranslator(LoadTranslator(kChinese)));
    EXPECT_EQ(Translated(*mgr, L"Apply", L"dlg_main"), L"\x5E94\x7528");
    EXPECT_EQ(Translated(*mgr, L"Apply", L"messagebox"), L"<none>");
    EXPECT_EQ(Translated(*mgr, L"Apply", L""), L"<none>");
    EXPECT_EQ(Translated(*mgr, L"ok", L"messagebox"), L"\x786E\x5B9A");
    EXPECT_EQ(Translated(*mgr, L"ok", L"dlg_main"), L"\x786E\x5B9A");
    EXPECT_EQ(Translated(*mgr, L"ok", nullptr), L"\x786E\x5B9A");
    EXPECT_EQ(Translated(*mgr, L"OK", L""), L"<none>"); // sources compare exactly
    EXPECT_EQ(Translated(*mgr, L"Cancel", L"dlg_main"), L"first");
    EXPECT_EQ(mgr->Translate(L"", L"", nullptr, 0), 0);
}

TEST(Translator, BufferSizes)
{
    SRefPtr<ITranslator> translator = LoadTranslator(kChinese);
    wchar_t buffer[3] = {L'x', L'x', L'x'};
    EXPECT_EQ(translator->Translate(L"ok", L"", nullptr, 0), 3);
    EXPECT_EQ(translator->Translate(L"ok", L"", buffer, 2), -1);
    EXPECT_EQ(buffer[0], L'x');
    EXPECT_EQ(translator->Translate(L"ok", L"", buffer, 3), 3);
    EXPECT_STREQ(buffer, L"\x786E\x5B9A");

    // -1 stops the search: an older translator is not asked.
    SRefPtr<ITranslatorMgr> mgr(new STranslatorMgr, false);
    SRefPtr<ITranslator> older = LoadTranslator(
        L"<language name='\x7B80\x4F53\x4E2D\x6587' guid='{22222222-2222-3333-4444-555555555555}'>"
        L"<context><message><source>ok</source><translation>k</translation></message></context></language>");
    ASSERT_TRUE(mgr->InstallTranslator(older));
    ASSERT_TRUE(mgr->InstallTranslator(translator));
    EXPECT_EQ(mgr->Translate(L"ok", L"", buffer, 2), -1);
    EXPECT_EQ(Translated(*mgr, L"ok", L""), L"\x786E\x5B9A"); // the newest answers
}

TEST(Translator, InstallRules)
{
    SRefPtr<ITranslatorMgr> mgr(new STranslatorMgr, false);
    mgr->SetLanguage(L"\x7B80\x4F53\x4E2D\x6587");
    SRefPtr<ITranslator> japanese = LoadTranslator(kJapanese);
    EXPECT_FALSE(mgr->InstallTranslator(japanese));

    SRefPtr<ITranslatorMgr> fresh(new STranslatorMgr, false);
    EXPECT_TRUE(fresh->InstallTranslator(japanese));
    wchar_t language[kTranslatorNameSize];
    EXPECT_EQ(fresh->GetLanguage(language), 3);
    EXPECT_STREQ(language, L"\x65E5\x672C\x8BED");
    EXPECT_FALSE(fresh->InstallTranslator(LoadTranslator(kJapanese))); // same GUID

    ASSERT_TRUE(mgr->InstallTranslator(LoadTranslator(kChinese)));
    mgr->SetLanguage(L"\x7B80\x4F53\x4E2D\x6587");
    EXPECT_EQ(Translated(*mgr, L"ok", L""), L"\x786E\x5B9A"); // same name keeps them
    mgr->SetLanguage(L"English");
    EXPECT_EQ(Translated(*mgr, L"ok", L""), L"<none>");

    ITranslator* created = nullptr;
    ASSERT_TRUE(mgr->CreateTranslator(&created));
    EXPECT_TRUE(created->NameEquals(L""));
    pugi::xml_document doc;
    doc.load_string(kJapanese);
    pugi::xml_node element = doc.child(L"language");
    EXPECT_FALSE(created->Load(&element, 2)); // only XML is understood
    EXPECT_TRUE(created->NameEquals(L""));
    created->Release();
}

TEST(Translator, UninstallByGuid)
{
    SRefPtr<ITranslatorMgr> mgr(new STranslatorMgr, false);
    SRefPtr<ITranslator> chinese = LoadTranslator(kChinese);
    ASSERT_TRUE(mgr->InstallTranslator(chinese));
    GUID id = chinese->GetGuid();
    EXPECT_EQ(id.Data1, 0x6B3A1C2Du);
    EXPECT_TRUE(mgr->UninstallTranslator(id));
    EXPECT_FALSE(mgr->UninstallTranslator(id));
    EXPECT_EQ(Translated(*mgr, L"ok", L""), L"<none>");
}

TEST(Translator, FontOverrides)
{
    SRefPtr<ITranslator> translator = LoadTranslator(kChinese);
    SRefPtr<ITranslatorMgr> mgr(new STranslatorMgr, false);
    LOGFONTW logFont = {};
    logFont.lfCharSet = 1;
    lstrcpyW(logFont.lfFaceName, L"SimSun");
    EXPECT_FALSE(mgr->UpdateFont(L"title", &logFont)); // nothing installed
    ASSERT_TRUE(mgr->InstallTranslator(translator));

    EXPECT_FALSE(mgr->UpdateFont(L"caption", &logFont));
    EXPECT_EQ(logFont.lfCharSet, 1);
    EXPECT_STREQ(logFont.lfFaceName, L"SimSun");
    EXPECT_TRUE(mgr->UpdateFont(L"title", &logFont));
    EXPECT_EQ(logFont.lfCharSet, 134);
    EXPECT_STREQ(logFont.lfFaceName, L"Tahoma");
    EXPECT_TRUE(mgr->UpdateFont(L"body", &logFont)); // the later entry replaces the earlier
    EXPECT_EQ(logFont.lfCharSet, 204);
    EXPECT_STREQ(logFont.lfFaceName, L"Courier New");
}

TEST(Translator, CharsetNamesAndLimits)
{
    STranslator translator;
    EXPECT_EQ(translator.CharsetFromName(L"gb2312"), 134);
    EXPECT_EQ(translator.CharsetFromName(L"Mac"), 77);
    EXPECT_EQ(translator.CharsetFromName(L"238"), 238);
    EXPECT_EQ(translator.CharsetFromName(L"klingon"), 0);

    // Overlong name, GUID text and face are cut safely; a bad GUID is all zeros.
    std::wstring longName(100, L'n');
    std::wstring longFace(60, L'f');
    std::wstring xml = L"<language name='" + longName + L"' guid='{" + std::wstring(200, L'9') +
                       L"}'><fonts><font name='x' face='" + longFace + L"'/></fonts></language>";
    SRefPtr<ITranslator> loaded = LoadTranslator(xml.c_str());
    wchar_t name[kTranslatorNameSize];
    loaded->GetName(name);
    EXPECT_EQ(std::wstring(name), longName.substr(0, 63));
    GUID zero = {};
    GUID guid = loaded->GetGuid();
    EXPECT_EQ(memcmp(&zero, &guid, sizeof(GUID)), 0);
    LOGFONTW logFont = {};
    EXPECT_TRUE(loaded->UpdateFont(L"x", &logFont));
    EXPECT_EQ(std::wstring(logFont.lfFaceName), longFace.substr(0, 31));
}
