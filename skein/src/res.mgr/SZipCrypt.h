#pragma once
// The traditional (PKWARE) zip decryption: three 32-bit keys driven by the CRC-32 table.
#include <windows.h>

namespace SKEIN {

class SZipCrypt {
public:
    enum { kHeaderSize = 12 };

    // Keys set from the password (non-empty, NUL-terminated).
    explicit SZipCrypt(const char* password);

    // Decrypts the 12-byte encryption header; true when its last byte equals checkByte (the
    // high byte of the member's CRC-32).
    bool CheckHeader(BYTE* header, BYTE checkByte);
    void Decrypt(BYTE* data, size_t size);

private:
    BYTE DecryptByte(BYTE cipher);
    void UpdateKeys(BYTE plain);

    const UINT32* m_crcTable;
    UINT32 m_keys[3];
};

} // namespace SKEIN
