#include <gtest/gtest.h>
#include "helper/SStringConv.h"

using namespace SKEIN;

TEST(StringConv, Utf8RoundTrip)
{
    const char* utf8 = "\xe4\xb8\x8b\xe5\x8f\x91 axis"; // 下发 axis
    SStringW wide = StringA2W(utf8, CP_UTF8);
    EXPECT_STREQ(wide.c_str(), L"\u4e0b\u53d1 axis");
    EXPECT_STREQ(StringW2A(wide, CP_UTF8).c_str(), utf8);
    EXPECT_STREQ(StringW2W(wide, CP_UTF8).c_str(), wide.c_str());
}

TEST(StringConv, LongTextsAndEmbeddedNuls)
{
    SStringA longText;
    char* p = longText.WritableBuffer(5000);
    for (int i = 0; i < 5000; ++i)
        p[i] = static_cast<char>('a' + i % 26);
    longText.CommitBuffer(5000);
    SStringW wide = StringA2W(longText, CP_ACP); // beyond the 1024-character stack buffer
    ASSERT_EQ(wide.Length(), 5000);
    EXPECT_EQ(wide[4999], L'a' + 4999 % 26);
    EXPECT_TRUE(StringW2A(wide, CP_ACP) == longText);

    SStringW withNul(L"a\0b", 3);
    SStringA narrow = StringW2A(withNul, CP_ACP);
    ASSERT_EQ(narrow.Length(), 3);
    EXPECT_EQ(narrow[2], 'b');
}

TEST(StringConv, FailuresGiveTheEmptyString)
{
    EXPECT_TRUE(StringA2W(SStringA(), CP_ACP).IsEmptyText());
    EXPECT_TRUE(StringW2A(SStringW(), CP_UTF8).IsEmptyText());
    EXPECT_TRUE(StringA2W("text", 12345).IsEmptyText()); // no such code page
}

TEST(StringConv, SplitByCharSkipsEmptyPieces)
{
    struct Case {
        const wchar_t* text;
        std::vector<const wchar_t*> pieces;
    } cases[] = {
        {L";a;;b;", {L"a", L"b"}},
        {L"a", {L"a"}},
        {L"", {}},
        {L";;;", {}},
        {L"x;yy;z", {L"x", L"yy", L"z"}},
    };
    for (const Case& c : cases) {
        SDynArray<SStringW> out;
        ASSERT_EQ(SplitByChar(c.text, L';', out), static_cast<int>(c.pieces.size())) << c.text;
        for (size_t i = 0; i < c.pieces.size(); ++i)
            EXPECT_STREQ(out[static_cast<int>(i)].c_str(), c.pieces[i]);
    }

    SDynArray<SStringW> out;
    out.Add(L"kept");
    EXPECT_EQ(SplitByChar(L"p,q", L',', out), 3); // appends and answers the array's count
    EXPECT_STREQ(out[0].c_str(), L"kept");
}
