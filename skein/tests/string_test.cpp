#include <gtest/gtest.h>
#include <functional>
#include <thread>
#include <vector>
#include "core/SString.h"

using namespace SKEIN;

namespace {

const SStringHeader* HeaderOf(const SStringW& s)
{
    return reinterpret_cast<const SStringHeader*>(s.c_str()) - 1;
}

} // namespace

TEST(String, EmptyStringsShareTheLockedBuffer)
{
    SStringW a;
    SStringW b(a);
    SStringW c(L"");
    SStringW d(nullptr, 5);
    SStringW e(L"abc", 0);
    EXPECT_EQ(a.c_str(), b.c_str());
    EXPECT_EQ(a.c_str(), c.c_str());
    EXPECT_EQ(a.c_str(), d.c_str());
    EXPECT_EQ(a.c_str(), e.c_str());
    EXPECT_EQ(HeaderOf(a)->refCount, -1);
    b = a;
    EXPECT_EQ(HeaderOf(a)->refCount, -1);
    EXPECT_TRUE(a.IsEmptyText());
    EXPECT_EQ(a.c_str()[0], L'\0');
}

TEST(String, CopiesShareUntilWritten)
{
    const std::function<void(SStringW&)> writes[] = {
        [](SStringW& s) { s += L" world"; },
        [](SStringW& s) { s.LowerInPlace(); },
        [](SStringW& s) {
            wchar_t* p = s.WritableBuffer(8);
            p[0] = L'X';
            s.CommitBuffer(1);
        },
        [](SStringW& s) { s.CommitBuffer(2); },
        [](SStringW& s) { s.Replace(L"L", L"l"); },
        [](SStringW& s) { s.TrimSpaces(); },
        [](SStringW& s) { s = L"other"; },
        [](SStringW& s) { s.Empty(); },
    };
    int index = 0;
    for (const auto& write : writes) {
        SCOPED_TRACE(index++);
        SStringW a(L" HeLLo ");
        SStringW b = a;
        ASSERT_EQ(a.c_str(), b.c_str());
        EXPECT_EQ(HeaderOf(a)->refCount, 2);
        write(b);
        EXPECT_STREQ(a.c_str(), L" HeLLo ");
        EXPECT_NE(a.c_str(), b.c_str());
        EXPECT_EQ(HeaderOf(a)->refCount, 1);
    }
}

TEST(String, AssignmentFromItself)
{
    SStringW s(L"hello");
    const wchar_t* before = s.c_str();
    s = s;
    EXPECT_EQ(s.c_str(), before);
    EXPECT_STREQ(s.c_str(), L"hello");

    s = s.c_str() + 2; // text inside the string's own buffer
    EXPECT_STREQ(s.c_str(), L"llo");

    SStringW shared(L"abcdef");
    SStringW other = shared;
    shared = shared.c_str() + 3;
    EXPECT_STREQ(shared.c_str(), L"def");
    EXPECT_STREQ(other.c_str(), L"abcdef");

    SStringW twice(L"ab");
    twice += twice;
    EXPECT_STREQ(twice.c_str(), L"abab");
    twice.Append(twice.c_str() + 1);
    EXPECT_STREQ(twice.c_str(), L"ababbab");
}

TEST(String, AppendGrowsToTheExactLength)
{
    SStringW s(L"ab");
    s += L"cde";
    EXPECT_EQ(HeaderOf(s)->capacity, 5);
    EXPECT_EQ(s.Length(), 5);
    s.AppendChars(0, L"zzz");
    s.Append(nullptr);
    EXPECT_STREQ(s.c_str(), L"abcde");
    s.SetChars(2, L"xy");
    EXPECT_STREQ(s.c_str(), L"xy");
    EXPECT_EQ(HeaderOf(s)->capacity, 5); // a big enough private buffer is kept
}

TEST(String, SizeArithmeticOverflowFailsCleanly)
{
    SStringW s(L"abc");
    s.AppendChars(INT_MAX, L"x"); // length + count overflows int
    EXPECT_STREQ(s.c_str(), L"abc");

    SStringW big;
    EXPECT_EQ(big.WritableBuffer(INT_MAX), nullptr);    // block size overflows 32 bits
    EXPECT_EQ(big.WritableBuffer(0x7FFFFFF8), nullptr); // larger than any object
    EXPECT_TRUE(big.IsEmptyText());
    EXPECT_EQ(big.WritableBuffer(-1), nullptr);

    SStringW shared(L"keep");
    SStringW copy = shared;
    EXPECT_EQ(copy.WritableBuffer(0x7FFFFFF8), nullptr);
    EXPECT_STREQ(copy.c_str(), L"keep"); // a shared buffer is left as it was
}

TEST(String, WritableBufferAndCommit)
{
    SStringW s;
    EXPECT_EQ(s.WritableBuffer(0), nullptr); // the shared empty buffer is never handed out
    s.CommitBuffer(3);
    EXPECT_TRUE(s.IsEmptyText());

    wchar_t* p = s.WritableBuffer(10);
    ASSERT_NE(p, nullptr);
    wcscpy(p, L"abc");
    s.CommitBuffer();
    EXPECT_EQ(s.Length(), 3);
    EXPECT_STREQ(s.c_str(), L"abc");
    s.CommitBuffer(100); // beyond the capacity: cut to it
    EXPECT_EQ(s.Length(), 10);
}

TEST(String, SearchAndPartsClampTheirArguments)
{
    SStringW s(L"abc");
    EXPECT_EQ(s.FindChar(L'c'), 2);
    EXPECT_EQ(s.FindChar(L'c', 3), -1);
    EXPECT_EQ(s.FindChar(L'a', 1), -1);
    EXPECT_EQ(s.FindText(L"", 3), 3);
    EXPECT_EQ(s.FindText(L"bc"), 1);
    EXPECT_EQ(s.FindText(L"bc", 2), -1);
    EXPECT_EQ(s.FindText(L"a", 4), -1);

    struct Case {
        SStringW got;
        const wchar_t* want;
    } cases[] = {
        {s.Substring(5, 10), L""},  {s.Substring(-2, 2), L"ab"}, {s.Substring(1, 100), L"bc"},
        {s.Substring(1, 0), L""},   {s.Substring(3, 1), L""},    {s.LeftPart(-1), L""},
        {s.LeftPart(2), L"ab"},     {s.LeftPart(9), L"abc"},     {s.RightPart(100), L"abc"},
        {s.RightPart(1), L"c"},     {s.RightPart(-3), L""},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(c.got.c_str(), c.want);
}

TEST(String, ReplaceCountsAndRewrites)
{
    struct Case {
        const wchar_t* text;
        const wchar_t* from;
        const wchar_t* to;
        int count;
        const wchar_t* want;
    } cases[] = {
        {L"a-b-c", L"-", L"+++", 2, L"a+++b+++c"},
        {L"aaaa", L"aa", L"b", 2, L"bb"},
        {L"abc", L"abc", nullptr, 1, L""},
        {L"abc", L"x", L"y", 0, L"abc"},
        {L"abc", L"", L"y", 0, L"abc"},
        {L"abc", nullptr, L"y", 0, L"abc"},
    };
    for (const Case& c : cases) {
        SStringW s(c.text);
        EXPECT_EQ(s.Replace(c.from, c.to), c.count) << c.text;
        EXPECT_STREQ(s.c_str(), c.want);
    }

    SStringW withNul(L"a\0a\0a", 5); // the search runs past embedded NULs
    EXPECT_EQ(withNul.Replace(L"a", L"bb"), 3);
    EXPECT_EQ(withNul.Length(), 8);
    EXPECT_EQ(withNul.FindText(L"bb", 4), 6);
}

TEST(String, TrimSpacesRemovesOnlyTheFourSpaceCharacters)
{
    struct Case {
        const wchar_t* text;
        const wchar_t* want;
    } cases[] = {
        {L" \t\r\nab c\n\r\t ", L"ab c"},
        {L"\fab\f", L"\fab\f"},
        {L"\u00a0x\u00a0", L"\u00a0x\u00a0"},
        {L" \t\r\n", L""},
        {L"", L""},
    };
    for (const Case& c : cases) {
        SStringW s(c.text);
        s.TrimSpaces();
        EXPECT_STREQ(s.c_str(), c.want);
    }
}

TEST(String, CaseOperations)
{
    SStringW s(L"MixedCase");
    EXPECT_TRUE(s.StartsWith(L"Mixed"));
    EXPECT_FALSE(s.StartsWith(L"mixed"));
    EXPECT_TRUE(s.StartsWith(L"mIXED", true));
    EXPECT_FALSE(s.StartsWith(L"MixedCaseLonger", true));
    EXPECT_EQ(s.CompareIgnoringCase(L"MIXEDCASE"), 0);
    EXPECT_LT(s.CompareIgnoringCase(L"nothing"), 0);
    EXPECT_GT(s.CompareIgnoringCase(nullptr), 0);
    s.LowerInPlace();
    EXPECT_STREQ(s.c_str(), L"mixedcase");
}

TEST(String, Formatting)
{
    SStringW s;
    SStringW copy = s.Printf(L"%s:%d/%02x", L"id", 42, 10);
    EXPECT_STREQ(s.c_str(), L"id:42/0a");
    EXPECT_STREQ(copy.c_str(), L"id:42/0a");

    s.Printf(L"%s", L""); // produces no characters
    EXPECT_TRUE(s.IsEmptyText());
    s = L"x";
    s.Printf(nullptr);
    EXPECT_TRUE(s.IsEmptyText());

    SStringA narrow;
    narrow.Printf("%s-%d", "n", -5);
    EXPECT_STREQ(narrow.c_str(), "n--5");

    SStringW longText;
    longText.Printf(L"%3000d", 7);
    EXPECT_EQ(longText.Length(), 3000);
    EXPECT_EQ(longText[2999], L'7');
}

TEST(String, NarrowStringFollowsTheSameRules)
{
    SStringA a("text");
    SStringA b = a;
    EXPECT_EQ(a.c_str(), b.c_str());
    b += "!";
    EXPECT_STREQ(a.c_str(), "text");
    EXPECT_STREQ(b.c_str(), "text!");
    EXPECT_TRUE(a == "text");
    EXPECT_TRUE(a != b);
}

TEST(String, EqualityComparesTheWholeLength)
{
    SStringW withNul(L"a\0b", 3);
    EXPECT_FALSE(withNul == SStringW(L"a"));
    EXPECT_FALSE(withNul == L"a");
    EXPECT_TRUE(withNul == SStringW(L"a\0b", 3));
    EXPECT_TRUE(SStringW() == static_cast<const wchar_t*>(nullptr));
}

TEST(String, SharedBuffersSurviveCopiesOnOtherThreads)
{
    SStringW source(L"shared between threads");
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&source] {
            for (int i = 0; i < 100000; ++i) {
                SStringW copy = source;
                SStringW second(copy);
            }
        });
    }
    for (std::thread& t : threads)
        t.join();
    EXPECT_EQ(HeaderOf(source)->refCount, 1);
}
