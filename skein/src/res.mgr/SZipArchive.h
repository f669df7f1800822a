#pragma once
// The zip archive reader of the zip resource provider: the end record and the central directory
// read once at open, members found by name (OEM code page, "/" read as "\", case ignored) and
// read stored or raw-deflated, optionally with the traditional (PKWARE) encryption.
// Everything read is bounded by the source: a damaged or hostile archive fails to open or fails
// the member read, a member whose stated sizes a read could not deliver is refused when the
// directory is read (so no size query reports more), and a member whose CRC-32 does not match
// (wrong password, corrupt data) yields no data. A deflated member's output grows with what its
// stream delivers, so a stated size that the data does not fill is never reserved whole.
#include <windows.h>
#include <vector>
#include "core/SString.h"

namespace SKEIN {

// A member's bytes; owns them.
class SZipBuffer {
public:
    SZipBuffer() : m_data(nullptr), m_size(0) {}
    ~SZipBuffer() { free(m_data); }
    SZipBuffer(const SZipBuffer&) = delete;
    SZipBuffer& operator=(const SZipBuffer&) = delete;

    const BYTE* Data() const { return m_data; }
    size_t Size() const { return m_size; }

    // A block of size bytes (at least one allocated); false when memory runs out.
    bool Allocate(size_t size);
    // The block made size bytes long, its first bytes kept; false (the block unchanged) when
    // memory runs out.
    bool Resize(size_t size);
    // Keeps the first size bytes (size <= Size()).
    void Shrink(size_t size) { m_size = size; }
    BYTE* Writable() { return m_data; }
    void Free();
    void Swap(SZipBuffer& other)
    {
        BYTE* data = m_data;
        size_t size = m_size;
        m_data = other.m_data;
        m_size = other.m_size;
        other.m_data = data;
        other.m_size = size;
    }

private:
    BYTE* m_data;
    size_t m_size;
};

class SZipArchive {
public:
    enum { kMaxNameChars = 259, kMaxPassword = 62 };

    struct EntryInfo {
        UINT32 compressedSize;
        UINT32 size;
        FILETIME time;
        DWORD attributes;
    };

    SZipArchive();
    ~SZipArchive();
    SZipArchive(const SZipArchive&) = delete;
    SZipArchive& operator=(const SZipArchive&) = delete;

    BOOL OpenFile(const wchar_t* path);
    // The bytes of a module resource (they stay mapped with the module).
    BOOL OpenResource(HMODULE module, const wchar_t* name, const wchar_t* type);
    // The caller's bytes, which must outlive the archive.
    BOOL OpenMemory(const void* bytes, size_t size);
    void Close();
    bool IsOpen() const { return m_file != INVALID_HANDLE_VALUE || m_memory != nullptr; }

    // Null or longer than kMaxPassword bytes: refused, the previous password stays.
    BOOL SetPassword(const char* password);

    int EntryCount() const { return static_cast<int>(m_entries.size()); }
    // Index of the member named name (case ignored), -1 when absent; info is filled when given.
    int FindEntry(const wchar_t* name, EntryInfo* info = nullptr) const;
    BOOL ReadEntry(int index, SZipBuffer& out);
    BOOL GetFile(const wchar_t* name, SZipBuffer& out);

private:
    struct Entry {
        SStringW name;
        UINT32 offset; // of the entry in the directory
        bool sizesFit; // false: refused, as if absent
    };

    bool ReadDirectory();
    bool ParseEntries(UINT32 count, UINT64 dataEnd);
    static bool StatedSizesFit(const BYTE* entry, UINT64 dataEnd);
    UINT64 SourceSize() const;
    bool ReadAt(UINT64 offset, void* buffer, size_t size);
    bool ReadMemberData(int index, SZipBuffer& raw, UINT16& flags, UINT16& method, UINT32& crc, UINT32& size);
    bool Decrypt(SZipBuffer& raw, UINT32 crc);
    bool Expand(SZipBuffer& raw, UINT16 method, UINT32 size, SZipBuffer& out);
    const BYTE* EntryBytes(int index) const { return m_directory.data() + m_entries[index].offset; }

    HANDLE m_file;
    const BYTE* m_memory;
    size_t m_memorySize;
    std::vector<BYTE> m_directory;
    std::vector<Entry> m_entries;
    char m_password[kMaxPassword + 1];
};

} // namespace SKEIN
