#include "res.mgr/SZipArchive.h"
#include <string.h>
#include <wchar.h>
#include <zlib.h>
#include "res.mgr/SZipCrypt.h"
#include "res.mgr/SLittleEndian.h"

namespace SKEIN {

namespace {

const UINT32 kEndSignature = 0x06054b50;
const UINT32 kEntrySignature = 0x02014b50;
const UINT32 kLocalSignature = 0x04034b50;
const size_t kEndSize = 22;
const size_t kEntrySize = 46;
const size_t kLocalSize = 30;
const UINT16 kFlagEncrypted = 1;
const UINT16 kMethodStored = 0;
const UINT16 kMethodDeflated = 8;
// Raw deflate expands at most about 1032 times; larger stated sizes are refused before allocating.
const UINT64 kMaxInflateRatio = 1032;
// The first output block of an inflate; it doubles while the stream fills it.
const size_t kFirstInflateBlock = 64 * 1024;

bool WithinInflateRatio(UINT64 size, UINT64 packed)
{
    return size <= packed * kMaxInflateRatio + 16;
}

// The attribute bits the search reports besides the sizes and time.
DWORD EntryAttributes(UINT16 flags, UINT16 method)
{
    DWORD attributes = 0;
    if (flags & kFlagEncrypted)
        attributes |= 0x4000;
    if (flags & 0x06)
        attributes |= 0x800;
    if (flags & 0x70)
        attributes |= 0x1000;
    if (!attributes)
        attributes = method ? 128 : 16;
    return attributes;
}

// Inflates into out, which grows to kFirstInflateBlock (at most size) and doubles each time the
// stream fills it, up to size; true when the stream ends with exactly size bytes.
bool Inflate(z_stream& stream, UINT32 size, SZipBuffer& out)
{
    if (!out.Allocate(0))
        return false;
    stream.next_out = out.Writable(); // zlib wants a block even for an empty member
    stream.avail_out = 0;
    for (;;) {
        size_t produced = stream.total_out;
        if (stream.avail_out == 0 && produced < size) {
            size_t grown = produced ? produced * 2 : kFirstInflateBlock;
            if (!out.Resize(grown < size ? grown : size))
                return false;
            stream.next_out = out.Writable() + produced;
            stream.avail_out = static_cast<uInt>(out.Size() - produced);
        }
        int result = inflate(&stream, Z_NO_FLUSH);
        if (result == Z_STREAM_END)
            return stream.total_out == size;
        if (result != Z_OK)
            return false; // a damaged stream, or one that ends early or runs past size
    }
}

} // namespace

bool SZipBuffer::Allocate(size_t size)
{
    Free();
    m_data = static_cast<BYTE*>(malloc(size ? size : 1));
    if (!m_data)
        return false;
    m_size = size;
    return true;
}

bool SZipBuffer::Resize(size_t size)
{
    BYTE* data = static_cast<BYTE*>(realloc(m_data, size ? size : 1));
    if (!data)
        return false;
    m_data = data;
    m_size = size;
    return true;
}

void SZipBuffer::Free()
{
    free(m_data);
    m_data = nullptr;
    m_size = 0;
}

SZipArchive::SZipArchive() : m_file(INVALID_HANDLE_VALUE), m_memory(nullptr), m_memorySize(0)
{
    m_password[0] = 0;
}

SZipArchive::~SZipArchive()
{
    Close();
}

void SZipArchive::Close()
{
    if (m_file != INVALID_HANDLE_VALUE)
        CloseHandle(m_file);
    m_file = INVALID_HANDLE_VALUE;
    m_memory = nullptr;
    m_memorySize = 0;
    m_directory.clear();
    m_entries.clear();
    m_password[0] = 0;
}

BOOL SZipArchive::OpenFile(const wchar_t* path)
{
    HANDLE file = path ? CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr)
                       : INVALID_HANDLE_VALUE;
    if (file == INVALID_HANDLE_VALUE)
        return FALSE;
    Close();
    m_file = file;
    if (ReadDirectory())
        return TRUE;
    Close();
    return FALSE;
}

BOOL SZipArchive::OpenResource(HMODULE module, const wchar_t* name, const wchar_t* type)
{
    HRSRC resource = FindResourceW(module, name, type);
    DWORD size = resource ? SizeofResource(module, resource) : 0;
    HGLOBAL loaded = size ? LoadResource(module, resource) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    return bytes ? OpenMemory(bytes, size) : FALSE;
}

BOOL SZipArchive::OpenMemory(const void* bytes, size_t size)
{
    if (!bytes)
        return FALSE;
    Close();
    m_memory = static_cast<const BYTE*>(bytes);
    m_memorySize = size;
    if (ReadDirectory())
        return TRUE;
    Close();
    return FALSE;
}

BOOL SZipArchive::SetPassword(const char* password)
{
    if (!password || strlen(password) > kMaxPassword)
        return FALSE;
    strcpy(m_password, password);
    return TRUE;
}

UINT64 SZipArchive::SourceSize() const
{
    if (m_memory)
        return m_memorySize;
    LARGE_INTEGER size;
    return GetFileSizeEx(m_file, &size) ? static_cast<UINT64>(size.QuadPart) : 0;
}

bool SZipArchive::ReadAt(UINT64 offset, void* buffer, size_t size)
{
    UINT64 total = SourceSize();
    if (offset > total || size > total - offset)
        return false;
    if (m_memory) {
        memcpy(buffer, m_memory + offset, size);
        return true;
    }
    LARGE_INTEGER position;
    position.QuadPart = static_cast<LONGLONG>(offset);
    if (!SetFilePointerEx(m_file, position, nullptr, FILE_BEGIN))
        return false;
    BYTE* out = static_cast<BYTE*>(buffer);
    while (size > 0) {
        DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
        DWORD read = 0;
        if (!ReadFile(m_file, out, chunk, &read, nullptr) || read != chunk)
            return false;
        out += read;
        size -= read;
    }
    return true;
}

// The end record is the last 22 bytes (no archive comment) and the directory lies right
// before it; the directory's recorded offset is not used.
bool SZipArchive::ReadDirectory()
{
    UINT64 total = SourceSize();
    BYTE end[kEndSize];
    if (total < kEndSize || !ReadAt(total - kEndSize, end, kEndSize) || U32(end) != kEndSignature)
        return false;
    UINT32 count = U16(end + 8);
    UINT32 directorySize = U32(end + 12);
    if (directorySize > total - kEndSize || static_cast<UINT64>(count) * kEntrySize > directorySize)
        return false;
    UINT64 directoryStart = total - kEndSize - directorySize;
    m_directory.resize(directorySize);
    if (directorySize && !ReadAt(directoryStart, m_directory.data(), directorySize))
        return false;
    if (!ParseEntries(count, directoryStart))
        return false;
    m_password[0] = 0;
    return true;
}

// Whether a read could deliver what the entry states: its header and data lie before the
// directory, a stored member is exactly as long as its data (less the encryption header), a
// deflated one within the inflate ratio of its data; other methods never read.
bool SZipArchive::StatedSizesFit(const BYTE* entry, UINT64 dataEnd)
{
    UINT64 packed = U32(entry + 20);
    UINT64 size = U32(entry + 24);
    UINT64 offset = U32(entry + 42);
    if (offset + kLocalSize + packed > dataEnd)
        return false;
    if (U16(entry + 8) & kFlagEncrypted) {
        if (packed < SZipCrypt::kHeaderSize)
            return false;
        packed -= SZipCrypt::kHeaderSize;
    }
    switch (U16(entry + 10)) {
    case kMethodStored: return size == packed;
    case kMethodDeflated: return WithinInflateRatio(size, packed);
    default: return false;
    }
}

// Each entry, its name, extra and comment must lie inside the directory; names longer than
// kMaxNameChars characters are refused. Entries whose stated sizes do not fit the archive stay
// listed but are never found or read.
bool SZipArchive::ParseEntries(UINT32 count, UINT64 dataEnd)
{
    m_entries.resize(count);
    size_t offset = 0;
    for (UINT32 i = 0; i < count; ++i) {
        if (m_directory.size() - offset < kEntrySize)
            return false;
        BYTE* entry = m_directory.data() + offset;
        size_t nameLength = U16(entry + 28);
        size_t length = kEntrySize + nameLength + U16(entry + 30) + U16(entry + 32);
        if (U32(entry) != kEntrySignature || length > m_directory.size() - offset || nameLength > kMaxNameChars)
            return false;
        char* name = reinterpret_cast<char*>(entry + kEntrySize);
        for (size_t c = 0; c < nameLength; ++c) {
            if (name[c] == '/')
                name[c] = '\\';
        }
        wchar_t wide[kMaxNameChars + 1] = {};
        if (nameLength)
            OemToCharBuffW(name, wide, static_cast<DWORD>(nameLength));
        m_entries[i].name = SStringW(wide);
        m_entries[i].offset = static_cast<UINT32>(offset);
        m_entries[i].sizesFit = StatedSizesFit(entry, dataEnd);
        offset += length;
    }
    return true;
}

int SZipArchive::FindEntry(const wchar_t* name, EntryInfo* info) const
{
    if (!name || wcslen(name) > kMaxNameChars)
        return -1;
    for (int i = 0; i < EntryCount(); ++i) {
        if (!m_entries[i].sizesFit || _wcsicmp(m_entries[i].name, name) != 0)
            continue;
        if (info) {
            const BYTE* entry = EntryBytes(i);
            info->compressedSize = U32(entry + 20);
            info->size = U32(entry + 24);
            DosDateTimeToFileTime(U16(entry + 14), U16(entry + 12), &info->time);
            info->attributes = EntryAttributes(U16(entry + 8), U16(entry + 10));
        }
        return i;
    }
    return -1;
}

BOOL SZipArchive::GetFile(const wchar_t* name, SZipBuffer& out)
{
    int index = FindEntry(name);
    return index >= 0 && ReadEntry(index, out);
}

BOOL SZipArchive::ReadEntry(int index, SZipBuffer& out)
{
    out.Free();
    if (!IsOpen() || index < 0 || index >= EntryCount() || !m_entries[index].sizesFit)
        return FALSE;
    SZipBuffer raw;
    UINT16 flags, method;
    UINT32 crc, size;
    if (!ReadMemberData(index, raw, flags, method, crc, size))
        return FALSE;
    if ((flags & kFlagEncrypted) && !Decrypt(raw, crc))
        return FALSE;
    if (!Expand(raw, method, size, out))
        return FALSE;
    if (crc32(0, out.Data(), static_cast<uInt>(out.Size())) != crc) {
        out.Free();
        return FALSE;
    }
    return TRUE;
}

// The member's stored bytes after its local header; the local header must agree with the
// directory entry on both sizes.
bool SZipArchive::ReadMemberData(int index, SZipBuffer& raw, UINT16& flags, UINT16& method, UINT32& crc,
                                 UINT32& size)
{
    const BYTE* entry = EntryBytes(index);
    UINT64 offset = U32(entry + 42);
    BYTE local[kLocalSize];
    if (!ReadAt(offset, local, kLocalSize) || U32(local) != kLocalSignature)
        return false;
    flags = U16(local + 6);
    method = U16(local + 8);
    crc = U32(local + 14);
    UINT32 packed = U32(local + 18);
    size = U32(local + 22);
    if (packed != U32(entry + 20) || size != U32(entry + 24))
        return false;
    offset += kLocalSize + U16(local + 26) + U16(local + 28);
    if (offset > SourceSize() || packed > SourceSize() - offset)
        return false;
    return raw.Allocate(packed) && ReadAt(offset, raw.Writable(), packed);
}

// Decrypts in place and drops the 12-byte encryption header.
bool SZipArchive::Decrypt(SZipBuffer& raw, UINT32 crc)
{
    if (!m_password[0] || raw.Size() < SZipCrypt::kHeaderSize)
        return false;
    SZipCrypt crypt(m_password);
    if (!crypt.CheckHeader(raw.Writable(), static_cast<BYTE>(crc >> 24)))
        return false;
    size_t size = raw.Size() - SZipCrypt::kHeaderSize;
    memmove(raw.Writable(), raw.Writable() + SZipCrypt::kHeaderSize, size);
    raw.Shrink(size);
    crypt.Decrypt(raw.Writable(), size);
    return true;
}

// Stored data must have exactly the stated size; deflated data must inflate to the end of its
// stream with exactly the stated size.
bool SZipArchive::Expand(SZipBuffer& raw, UINT16 method, UINT32 size, SZipBuffer& out)
{
    if (method == kMethodStored) {
        if (raw.Size() != size)
            return false;
        out.Swap(raw);
        return true;
    }
    if (method != kMethodDeflated || !WithinInflateRatio(size, raw.Size()))
        return false;
    z_stream stream = {};
    if (inflateInit2(&stream, -15) != Z_OK)
        return false;
    stream.next_in = const_cast<BYTE*>(raw.Data());
    stream.avail_in = static_cast<uInt>(raw.Size());
    bool complete = Inflate(stream, size, out);
    inflateEnd(&stream);
    raw.Free();
    if (!complete)
        out.Free();
    return complete;
}

} // namespace SKEIN
