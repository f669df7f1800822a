#pragma once
// Shared by the zip tests: archives made in memory with the packer's writer, and the field
// offsets of the one archive shape it writes, for corrupting them on purpose.
#include <stdint.h>
#include <string>
#include "zip_writer.h"

namespace ziptest {

inline uint32_t Get32(const std::string& s, size_t at)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(s.data()) + at;
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

inline uint16_t Get16(const std::string& s, size_t at)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(s.data()) + at;
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

inline void Set16(std::string& s, size_t at, uint32_t value)
{
    s[at] = static_cast<char>(value & 0xFF);
    s[at + 1] = static_cast<char>((value >> 8) & 0xFF);
}

inline void Set32(std::string& s, size_t at, uint32_t value)
{
    Set16(s, at, value & 0xFFFF);
    Set16(s, at + 2, value >> 16);
}

// Offsets inside an archive as the writer lays it out.
struct Layout {
    explicit Layout(const std::string& zip)
        : end(zip.size() - 22), directory(end - Get32(zip, end + 12)), firstEntry(directory),
          firstLocal(Get32(zip, directory + 42)), firstData(firstLocal + 30 + Get16(zip, firstLocal + 26))
    {
    }
    size_t end;
    size_t directory;
    size_t firstEntry;
    size_t firstLocal;
    size_t firstData;
};

// Sets a size field (offset 18 compressed, 22 uncompressed in the local header; +2 in the
// directory entry) of the first member in both places.
inline void SetFirstSize(std::string& zip, size_t localField, uint32_t value)
{
    Layout at(zip);
    Set32(zip, at.firstLocal + localField, value);
    Set32(zip, at.firstEntry + localField + 2, value);
}

inline std::string OneMember(const std::string& name, const std::string& bytes, respack::Method method,
                             const std::string& password = std::string())
{
    respack::ZipWriter writer;
    writer.Add(name, bytes, method, password);
    return writer.Finish();
}

// Text that deflates well.
inline std::string Compressible(size_t lines)
{
    std::string text;
    for (size_t i = 0; i < lines; ++i)
        text += "<item name=\"entry_" + std::to_string(i % 17) + "\" value=\"" + std::to_string(i) + "\"/>\n";
    return text;
}

} // namespace ziptest
