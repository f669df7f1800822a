#include "res.mgr/SZipCrypt.h"
#include <zlib.h>

namespace SKEIN {

SZipCrypt::SZipCrypt(const char* password)
    : m_crcTable(reinterpret_cast<const UINT32*>(get_crc_table())), m_keys{0x12345678u, 0x23456789u, 0x34567890u}
{
    static_assert(sizeof(z_crc_t) == sizeof(UINT32), "zlib's CRC table holds 32-bit entries");
    for (const char* c = password; *c; ++c)
        UpdateKeys(static_cast<BYTE>(*c));
}

bool SZipCrypt::CheckHeader(BYTE* header, BYTE checkByte)
{
    Decrypt(header, kHeaderSize);
    return header[kHeaderSize - 1] == checkByte;
}

void SZipCrypt::Decrypt(BYTE* data, size_t size)
{
    for (size_t i = 0; i < size; ++i)
        data[i] = DecryptByte(data[i]);
}

BYTE SZipCrypt::DecryptByte(BYTE cipher)
{
    UINT32 temp = (m_keys[2] | 2) & 0xFFFF;
    BYTE plain = cipher ^ static_cast<BYTE>((temp * (temp ^ 1)) >> 8);
    UpdateKeys(plain);
    return plain;
}

void SZipCrypt::UpdateKeys(BYTE plain)
{
    m_keys[0] = m_crcTable[(m_keys[0] ^ plain) & 0xFF] ^ (m_keys[0] >> 8);
    m_keys[1] = (m_keys[1] + (m_keys[0] & 0xFF)) * 134775813u + 1;
    m_keys[2] = m_crcTable[(m_keys[2] ^ (m_keys[1] >> 24)) & 0xFF] ^ (m_keys[2] >> 8);
}

} // namespace SKEIN
