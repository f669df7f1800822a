#pragma once
// The framework's log line: a fixed-size line builder, and the rule for where a finished line
// goes (the installed log manager, else the debugger output).
#include <windows.h>
#include "core/SObjRef.h"

namespace SKEIN {

enum { kLogLineSize = 10240 };

// Appends into a caller-supplied buffer; silently truncates, the text always NUL-terminated.
class SLogLineBuffer {
public:
    SLogLineBuffer() : m_begin(nullptr), m_end(nullptr), m_cursor(nullptr) {}

    void Attach(char* buffer, size_t size);

    SLogLineBuffer& AppendText(const char* text);
    SLogLineBuffer& AppendInt(int value);
    // Converted to the ANSI code page; left out when it needs kLogLineSize bytes or more.
    SLogLineBuffer& AppendWide(const wchar_t* text);
    // Formats one value with a narrow printf format.
    SLogLineBuffer& AppendFormat(const char* format, ...);

    const char* Text() const { return m_begin; }

private:
    friend class SLogEntry;

    char* m_begin;
    char* m_end;
    char* m_cursor;
};

// Optional log sink kept by the application object.
struct ILogManager : IObjRef {
    virtual BOOL Accepts(int loggerId, int level) = 0;
    virtual void Write(int loggerId, int level, const char* tag, const char* text, const char* file, int line,
                       const char* function, void* returnAddress) = 0;
};

// Where the current log manager comes from (the application object installs this once it
// exists); none installed, or a source that answers null, sends lines to the debugger output.
typedef ILogManager* (*SLogManagerSource)();
void SetLogManagerSource(SLogManagerSource source);

// One log line: the pieces go into Line(); the line is emitted when the entry is destroyed.
class SLogEntry {
public:
    SLogEntry(int level, const char* function, const char* file, int line, void* returnAddress);
    ~SLogEntry();
    SLogEntry(const SLogEntry&) = delete;
    SLogEntry& operator=(const SLogEntry&) = delete;

    SLogLineBuffer& Line() { return m_line; }
    // The message from a wide format; left empty when it converts to kLogLineSize bytes or more.
    void FormatW(const wchar_t* format, ...);

private:
    void Emit();

    int m_level;
    const char* m_function;
    const char* m_file;
    int m_lineNumber;
    void* m_returnAddress;
    char* m_buffer;
    SLogLineBuffer m_line;
};

} // namespace SKEIN

// SKEIN_LOG(3, "SKEIN::SWindow::FindChildByName2").Line().AppendText("...").AppendInt(n);
#define SKEIN_LOG(level, function) \
    ::SKEIN::SLogEntry((level), (function), __FILE__, __LINE__, __builtin_return_address(0))
