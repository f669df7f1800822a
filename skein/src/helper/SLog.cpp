#include "helper/SLog.h"
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>

namespace SKEIN {

namespace {

SLogManagerSource g_logManagerSource = nullptr;

} // namespace

void SLogLineBuffer::Attach(char* buffer, size_t size)
{
    m_begin = m_cursor = buffer;
    m_end = buffer + size;
    if (size > 0)
        *buffer = 0;
}

SLogLineBuffer& SLogLineBuffer::AppendText(const char* text)
{
    return AppendFormat("%s", text);
}

SLogLineBuffer& SLogLineBuffer::AppendInt(int value)
{
    return AppendFormat("%d", value);
}

SLogLineBuffer& SLogLineBuffer::AppendWide(const wchar_t* text)
{
    if (!text)
        return *this;
    char converted[kLogLineSize];
    if (WideCharToMultiByte(CP_ACP, 0, text, -1, converted, kLogLineSize, nullptr, nullptr) > 0)
        AppendFormat("%s", converted);
    return *this;
}

// msvcrt's _vsnprintf returns -1 when the text is longer than the room and the room itself
// when it fits without its terminator; the counting formatter tells truncation from a
// formatting error.
SLogLineBuffer& SLogLineBuffer::AppendFormat(const char* format, ...)
{
    if (m_cursor >= m_end)
        return *this;
    size_t room = static_cast<size_t>(m_end - m_cursor);
    va_list args;
    va_start(args, format);
    va_list counting;
    va_copy(counting, args);
    int written = _vsnprintf(m_cursor, room, format, args);
    va_end(args);
    int needed = written >= 0 ? written : _vscprintf(format, counting);
    bool truncated = needed >= 0 && static_cast<size_t>(needed) >= room;
    va_end(counting);
    if (truncated) {
        m_end[-1] = 0;
        m_cursor = m_end;
    } else if (written < 0) {
        *m_cursor = 0;
    } else {
        m_cursor += written;
    }
    return *this;
}

void SetLogManagerSource(SLogManagerSource source)
{
    g_logManagerSource = source;
}

SLogEntry::SLogEntry(int level, const char* function, const char* file, int line, void* returnAddress)
    : m_level(level), m_function(function), m_file(file), m_lineNumber(line), m_returnAddress(returnAddress),
      m_buffer(static_cast<char*>(malloc(kLogLineSize)))
{
    m_line.Attach(m_buffer, m_buffer ? kLogLineSize : 0);
}

SLogEntry::~SLogEntry()
{
    if (m_buffer)
        Emit();
    free(m_buffer);
}

void SLogEntry::FormatW(const wchar_t* format, ...)
{
    if (!m_buffer || m_line.m_cursor >= m_line.m_end)
        return;
    wchar_t* message = static_cast<wchar_t*>(malloc(kLogLineSize * sizeof(wchar_t)));
    if (!message)
        return;
    va_list args;
    va_start(args, format);
    int written = _vsnwprintf(message, kLogLineSize, format, args);
    va_end(args);
    if (written < 0 || written >= kLogLineSize)
        message[kLogLineSize - 1] = 0;
    int room = static_cast<int>(m_line.m_end - m_line.m_cursor);
    int converted = WideCharToMultiByte(CP_ACP, 0, message, -1, m_line.m_cursor, room, nullptr, nullptr);
    if (converted > 0)
        m_line.m_cursor += converted - 1;
    else
        *m_line.m_cursor = 0;
    free(message);
}

void SLogEntry::Emit()
{
    ILogManager* manager = g_logManagerSource ? g_logManagerSource() : nullptr;
    if (manager && manager->Accepts(0, m_level)) {
        manager->Write(0, m_level, "skein", m_buffer, m_file, m_lineNumber, m_function, m_returnAddress);
        return;
    }
    m_line.AppendText(" ").AppendText(m_function).AppendText(" ").AppendText(m_file).AppendText(":");
    m_line.AppendInt(m_lineNumber).AppendText("\n");
    OutputDebugStringA(m_buffer);
}

} // namespace SKEIN
