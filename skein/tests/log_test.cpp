#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "helper/SLog.h"

using namespace SKEIN;

namespace {

// Lines sent to the debugger output, caught from the exception OutputDebugStringA raises.
class DebugOutputCapture {
public:
    DebugOutputCapture() { m_handler = AddVectoredExceptionHandler(1, &DebugOutputCapture::Handler); }
    ~DebugOutputCapture() { RemoveVectoredExceptionHandler(m_handler); }
    static std::vector<std::string>& Lines()
    {
        static std::vector<std::string> lines;
        return lines;
    }

private:
    static LONG CALLBACK Handler(EXCEPTION_POINTERS* info)
    {
        if (info->ExceptionRecord->ExceptionCode != DBG_PRINTEXCEPTION_C)
            return EXCEPTION_CONTINUE_SEARCH;
        Lines().push_back(reinterpret_cast<const char*>(info->ExceptionRecord->ExceptionInformation[1]));
        return EXCEPTION_CONTINUE_EXECUTION;
    }
    PVOID m_handler;
};

struct RecordedLine {
    int loggerId, level, line;
    std::string tag, text, file, function;
};

class FakeLogManager : public TObjRefImpl<ILogManager> {
public:
    BOOL Accepts(int loggerId, int level) override { return level >= minLevel; }
    void Write(int loggerId, int level, const char* tag, const char* text, const char* file, int line,
               const char* function, void* returnAddress) override
    {
        lines.push_back({loggerId, level, line, tag, text, file, function});
        lastReturnAddress = returnAddress;
    }
    int minLevel = 0;
    std::vector<RecordedLine> lines;
    void* lastReturnAddress = nullptr;
};

FakeLogManager* g_manager = nullptr;
ILogManager* CurrentManager() { return g_manager; }

class LogTest : public ::testing::Test {
protected:
    void SetUp() override { DebugOutputCapture::Lines().clear(); }
    void TearDown() override
    {
        SetLogManagerSource(nullptr);
        g_manager = nullptr;
    }
};

} // namespace

TEST_F(LogTest, AppendsChain)
{
    char buffer[64];
    SLogLineBuffer line;
    line.Attach(buffer, sizeof(buffer));
    EXPECT_STREQ(line.Text(), "");
    line.AppendText("count=").AppendInt(-12).AppendText(" name=").AppendWide(L"caf\u00e9");
    EXPECT_STREQ(line.Text(), "count=-12 name=caf\xe9");
}

TEST_F(LogTest, TruncationStaysInsideTheBuffer)
{
    struct Case {
        std::vector<const char*> pieces;
        const char* want;
    } cases[] = {
        {{"abcdefghij"}, "abcdefg"},          // longer than the room
        {{"abcdefgh"}, "abcdefg"},            // exactly the room: no place for the terminator
        {{"abcdefg"}, "abcdefg"},             // fits with its terminator
        {{"abcd", "efgh", "ijk"}, "abcdefg"}, // later pieces after the line is full
        {{"ab", "", "cd"}, "abcd"},
    };
    for (const Case& c : cases) {
        char buffer[9];
        memset(buffer, 'Z', sizeof(buffer));
        SLogLineBuffer line;
        line.Attach(buffer, 8);
        for (const char* piece : c.pieces)
            line.AppendText(piece);
        EXPECT_STREQ(line.Text(), c.want);
        EXPECT_EQ(buffer[8], 'Z'); // nothing written past the buffer
    }
}

TEST_F(LogTest, WidePiecesOfTheLineSizeAreLeftOut)
{
    std::vector<char> buffer(kLogLineSize * 2);
    SLogLineBuffer line;
    line.Attach(buffer.data(), buffer.size());
    std::wstring fits(kLogLineSize - 1, L'w');
    std::wstring tooLong(kLogLineSize, L'x');
    line.AppendText("[").AppendWide(tooLong.c_str()).AppendText("]");
    EXPECT_STREQ(line.Text(), "[]");
    line.AppendWide(fits.c_str());
    EXPECT_EQ(strlen(line.Text()), static_cast<size_t>(kLogLineSize + 1));
}

TEST_F(LogTest, WithoutManagerTheLineGoesToTheDebugger)
{
    DebugOutputCapture capture;
    SKEIN_LOG(3, "SKEIN::Test::Site").Line().AppendText("value ").AppendInt(5);
    int expectedLine = __LINE__ - 1;
    ASSERT_EQ(DebugOutputCapture::Lines().size(), 1u);
    EXPECT_EQ(DebugOutputCapture::Lines()[0],
              "value 5 SKEIN::Test::Site " + std::string(__FILE__) + ":" + std::to_string(expectedLine) + "\n");
}

TEST_F(LogTest, InstalledManagerReceivesTheLine)
{
    DebugOutputCapture capture;
    FakeLogManager manager;
    manager.minLevel = 2;
    g_manager = &manager;
    SetLogManagerSource(&CurrentManager);

    SKEIN_LOG(4, "SKEIN::Test::Accepted").FormatW(L"Warning: no object %s of type:%d in SKEIN!!", L"knob", 1);
    ASSERT_EQ(manager.lines.size(), 1u);
    const RecordedLine& got = manager.lines[0];
    EXPECT_EQ(got.loggerId, 0);
    EXPECT_EQ(got.level, 4);
    EXPECT_EQ(got.tag, "skein");
    EXPECT_EQ(got.text, "Warning: no object knob of type:1 in SKEIN!!");
    EXPECT_EQ(got.function, "SKEIN::Test::Accepted");
    EXPECT_EQ(got.file, __FILE__);
    EXPECT_NE(manager.lastReturnAddress, nullptr);

    SKEIN_LOG(0, "SKEIN::Test::Filtered").Line().AppendText("quiet"); // below the filter
    EXPECT_EQ(manager.lines.size(), 1u);
    ASSERT_EQ(DebugOutputCapture::Lines().size(), 1u);
    EXPECT_EQ(DebugOutputCapture::Lines()[0].rfind("quiet SKEIN::Test::Filtered ", 0), 0u);
}

TEST_F(LogTest, LongFormattedMessageIsCutToTheLine)
{
    DebugOutputCapture capture;
    std::wstring longName(kLogLineSize + 100, L'n');
    SKEIN_LOG(3, "f").FormatW(L"%s", longName.c_str());
    ASSERT_EQ(DebugOutputCapture::Lines().size(), 1u);
    const std::string& got = DebugOutputCapture::Lines()[0];
    EXPECT_EQ(got.size(), static_cast<size_t>(kLogLineSize - 1)); // the location did not fit either
    EXPECT_EQ(got.find_first_not_of('n'), std::string::npos);
}
