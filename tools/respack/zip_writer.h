#pragma once
// Writes zip archives in the one form the framework's archive reader takes: local headers with
// the real CRC-32 and both sizes (no data descriptors), stored or raw-deflated members, optional
// traditional (PKWARE) encryption per member, the central directory right before a 22-byte end
// record, no archive comment, one disk, no ZIP64.
#include <stdint.h>
#include <string>

namespace respack {

enum class Method {
    Store,   // the bytes as they are
    Deflate, // raw deflate
    Smaller, // deflate when that is smaller, else store
};

uint32_t Crc32(const std::string& bytes);

class ZipWriter {
public:
    // The password (at most 62 bytes) encrypts the member when not empty. False, with nothing
    // added, when the member can't be written (a name or size the format can't hold, a password
    // too long, deflate failed).
    bool Add(const std::string& name, const std::string& bytes, Method method, const std::string& password);
    // The finished archive; the writer is empty again afterwards.
    std::string Finish();

private:
    std::string m_locals;
    std::string m_directory;
    uint16_t m_count = 0;
};

} // namespace respack
