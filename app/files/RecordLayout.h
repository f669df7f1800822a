#pragma once
// Where the parts of a fixed-size record lie, and the checks every record shares. A record is
// one little-endian image, the same in memory and in its file.
#include <windows.h>
#include <vector>

const UINT16 kVendorId = 0x2E7A;
const DWORD kNoIds = 0xFFFFFFFF;
const DWORD kMaxMemoryOnlyFields = 2;

struct RecordLayout {
    DWORD size;
    DWORD checksumAt;                          // one byte: Checksum8 of [sumBegin, sumEnd)
    DWORD sumBegin, sumEnd;
    DWORD copyBegin, copyEnd;                  // what a valid file gives the live record
    DWORD memoryOnly[kMaxMemoryOnlyFields];    // 32-bit fields meaningless in a file: written 0
    DWORD memoryOnlyCount;
    DWORD vendorAt, productAt;                 // 16-bit ids a file must carry; kNoIds: none
};

// The checksum byte matches its range and, where the record has ids, they are ours.
bool IsValidRecord(const BYTE* image, const RecordLayout& layout, UINT16 productId);
void StampChecksum(BYTE* image, const RecordLayout& layout);
// What a writer stores: a copy with a fresh checksum and the memory-only fields zeroed.
std::vector<BYTE> FileImage(const BYTE* image, const RecordLayout& layout);
// Takes the copy range of a valid file image into the live record and restamps its checksum.
void TakeOver(BYTE* live, const BYTE* read, const RecordLayout& layout);
