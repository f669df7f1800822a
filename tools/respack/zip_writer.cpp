#include "zip_writer.h"
#include <random>
#include <zlib.h>

namespace respack {

namespace {

const uint16_t kFlagEncrypted = 1;
const uint16_t kDosDate1980 = (0 << 9) | (1 << 5) | 1; // 1 January 1980
const size_t kEncryptionHeader = 12;
const size_t kMaxPassword = 62;

void Put16(std::string& out, uint32_t value)
{
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void Put32(std::string& out, uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

bool DeflateRaw(const std::string& in, std::string& out)
{
    z_stream stream = {};
    if (deflateInit2(&stream, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return false;
    out.resize(deflateBound(&stream, static_cast<uLong>(in.size())));
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
    stream.avail_in = static_cast<uInt>(in.size());
    stream.next_out = reinterpret_cast<Bytef*>(&out[0]);
    stream.avail_out = static_cast<uInt>(out.size());
    int result = deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return result == Z_STREAM_END;
}

// The traditional encryption's key state (ZIP application note, section 6.1).
class Cipher {
public:
    explicit Cipher(const std::string& password)
    {
        for (char c : password)
            Update(static_cast<uint8_t>(c));
    }
    uint8_t Encrypt(uint8_t plain)
    {
        uint8_t cipher = plain ^ KeyByte();
        Update(plain);
        return cipher;
    }

private:
    static uint32_t CrcByte(uint32_t crc, uint8_t b) { return get_crc_table()[(crc ^ b) & 0xFF] ^ (crc >> 8); }
    uint8_t KeyByte() const
    {
        uint32_t temp = (m_keys[2] | 2) & 0xFFFF;
        return static_cast<uint8_t>((temp * (temp ^ 1)) >> 8);
    }
    void Update(uint8_t plain)
    {
        m_keys[0] = CrcByte(m_keys[0], plain);
        m_keys[1] = (m_keys[1] + (m_keys[0] & 0xFF)) * 134775813u + 1;
        m_keys[2] = CrcByte(m_keys[2], static_cast<uint8_t>(m_keys[1] >> 24));
    }

    uint32_t m_keys[3] = {0x12345678u, 0x23456789u, 0x34567890u};
};

// Header of 11 random bytes and the CRC's high byte, then the data, all encrypted.
std::string Encrypt(const std::string& data, const std::string& password, uint32_t crc)
{
    std::random_device random;
    std::string plain;
    for (size_t i = 0; i + 1 < kEncryptionHeader; ++i)
        plain += static_cast<char>(random() & 0xFF);
    plain += static_cast<char>(crc >> 24);
    plain += data;
    Cipher cipher(password);
    for (char& c : plain)
        c = static_cast<char>(cipher.Encrypt(static_cast<uint8_t>(c)));
    return plain;
}

// The fields local header and central entry share, from "version needed" to the name length.
std::string CommonFields(uint16_t flags, uint16_t method, uint32_t crc, size_t packed, size_t size, size_t nameLength)
{
    std::string out;
    Put16(out, 20);
    Put16(out, flags);
    Put16(out, method);
    Put16(out, 0); // time
    Put16(out, kDosDate1980);
    Put32(out, crc);
    Put32(out, static_cast<uint32_t>(packed));
    Put32(out, static_cast<uint32_t>(size));
    Put16(out, static_cast<uint32_t>(nameLength));
    Put16(out, 0); // extra length
    return out;
}

} // namespace

uint32_t Crc32(const std::string& bytes)
{
    return static_cast<uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size())));
}

bool ZipWriter::Add(const std::string& name, const std::string& bytes, Method method, const std::string& password)
{
    if (name.empty() || name.size() > 0xFFFF || bytes.size() > 0xFFFFFFF0u || password.size() > kMaxPassword ||
        m_count == 0xFFFF)
        return false;
    std::string data = bytes;
    uint16_t methodCode = 0;
    if (method != Method::Store) {
        std::string packed;
        if (!DeflateRaw(bytes, packed))
            return false;
        if (method == Method::Deflate || packed.size() < bytes.size()) {
            data.swap(packed);
            methodCode = 8;
        }
    }
    uint32_t crc = Crc32(bytes);
    uint16_t flags = 0;
    if (!password.empty()) {
        data = Encrypt(data, password, crc);
        flags = kFlagEncrypted;
    }
    uint64_t offset = m_locals.size();
    if (offset + 30 + name.size() + data.size() > 0xFFFFFFFFu)
        return false;
    std::string common = CommonFields(flags, methodCode, crc, data.size(), bytes.size(), name.size());
    Put32(m_locals, 0x04034b50);
    m_locals += common + name + data;

    Put32(m_directory, 0x02014b50);
    Put16(m_directory, 20); // version made by
    m_directory += common;
    Put16(m_directory, 0); // comment length
    Put16(m_directory, 0); // disk
    Put16(m_directory, 0); // internal attributes
    Put32(m_directory, 0); // external attributes
    Put32(m_directory, static_cast<uint32_t>(offset));
    m_directory += name;
    ++m_count;
    return true;
}

std::string ZipWriter::Finish()
{
    std::string archive = m_locals + m_directory;
    Put32(archive, 0x06054b50);
    Put16(archive, 0);
    Put16(archive, 0);
    Put16(archive, m_count);
    Put16(archive, m_count);
    Put32(archive, static_cast<uint32_t>(m_directory.size()));
    Put32(archive, static_cast<uint32_t>(m_locals.size()));
    Put16(archive, 0);
    m_locals.clear();
    m_directory.clear();
    m_count = 0;
    return archive;
}

} // namespace respack
