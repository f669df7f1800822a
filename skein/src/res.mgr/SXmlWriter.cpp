#include "res.mgr/SXmlWriter.h"
#include <string.h>

namespace pugi {

void xml_writer_buff::write(const void* data, size_t size)
{
    size_t count = size / sizeof(wchar_t);
    size_t length = static_cast<size_t>(m_text.Length());
    if (count == 0 || !m_complete)
        return;
    if (count > static_cast<size_t>(INT_MAX) - length) {
        m_complete = false;
        return;
    }
    int needed = static_cast<int>(length + count);
    // Room doubles so that many small chunks cost few reallocations.
    int room = needed;
    if (needed > m_capacity && length <= static_cast<size_t>(INT_MAX / 2) && static_cast<int>(length * 2) > needed)
        room = static_cast<int>(length * 2);
    wchar_t* chars = m_text.WritableBuffer(room);
    if (!chars) {
        m_complete = false;
        return;
    }
    if (room > m_capacity)
        m_capacity = room;
    memcpy(chars + length, data, count * sizeof(wchar_t));
    m_text.CommitBuffer(needed);
}

} // namespace pugi

namespace SKEIN {

SStringW PrintXmlNode(const pugi::xml_node& node, const wchar_t* indent)
{
    pugi::xml_writer_buff writer;
    node.print(writer, indent, pugi::format_indent, pugi::encoding_wchar);
    return writer.complete() ? writer.text() : SStringW();
}

} // namespace SKEIN
