#pragma once
// Prints XML into a wide-character memory buffer that grows as needed, so any text is kept
// whole. Meant for documents printed with pugi::encoding_wchar.
#include <pugixml.hpp>
#include "core/SString.h"

namespace pugi {

class xml_writer_buff : public xml_writer {
public:
    // Appends size / 2 wide characters; the text stays NUL-terminated.
    void write(const void* data, size_t size) override;

    const wchar_t* buffer() const { return m_text.c_str(); }
    // Length in characters.
    size_t size() const { return static_cast<size_t>(m_text.Length()); }
    // False once a chunk could not be stored (out of memory): the text is then incomplete.
    bool complete() const { return m_complete; }
    const SKEIN::SStringW& text() const { return m_text; }

private:
    SKEIN::SStringW m_text;
    int m_capacity = 0;
    bool m_complete = true;
};

} // namespace pugi

namespace SKEIN {

// The node printed as wide text with the given indent (indenting and new lines on); empty
// when the text could not be stored whole.
SStringW PrintXmlNode(const pugi::xml_node& node, const wchar_t* indent);

} // namespace SKEIN
