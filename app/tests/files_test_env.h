#pragma once
// What the record-file tests share: a scratch data root standing in for the common
// application-data folder, scripted prompts, and byte helpers for building and reading files.
#include <gtest/gtest.h>
#include <windows.h>
#include <algorithm>
#include <string>
#include <vector>
#include "files/ModelDataFolder.h"
#include "res_test_util.h"
#include "support/ScriptedPrompt.h"

namespace filestest {

using Bytes = std::string;

inline Bytes ReadAll(const std::wstring& path)
{
    Bytes bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read)
        bytes.append(buffer, read);
    CloseHandle(file);
    return bytes;
}

inline bool Exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The names in a folder (files and subfolders), sorted.
inline std::vector<std::wstring> FolderNames(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::wstring name = data.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(name);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

inline void PutU16(Bytes& bytes, size_t at, UINT16 value)
{
    bytes[at] = static_cast<char>(value & 0xFF);
    bytes[at + 1] = static_cast<char>(value >> 8);
}

inline void PutU32(Bytes& bytes, size_t at, UINT32 value)
{
    PutU16(bytes, at, static_cast<UINT16>(value));
    PutU16(bytes, at + 2, static_cast<UINT16>(value >> 16));
}

inline UINT32 GetU32(const Bytes& bytes, size_t at)
{
    UINT32 value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<BYTE>(bytes[at + i]);
    return value;
}

inline BYTE SumOf(const Bytes& bytes, size_t begin, size_t end)
{
    unsigned sum = 0;
    for (size_t i = begin; i < end; ++i)
        sum += static_cast<BYTE>(bytes[i]);
    return static_cast<BYTE>(sum);
}

// Bytes of a record object, for comparing states.
template <class Record>
Bytes ImageOf(const Record& record)
{
    return Bytes(reinterpret_cast<const char*>(&record), sizeof(record));
}

// A scratch folder as the data root, and scripted prompts, for each test.
class FilesTest : public ::testing::Test {
protected:
    void SetUp() override { SetModelDataRoot(m_root.Path()); }
    void TearDown() override { SetModelDataRoot(std::wstring()); }

    std::wstring ModelFolder(const wchar_t* model) const { return m_root.Path() + L"\\ZVK\\" + model; }
    std::wstring ModelFile(const wchar_t* model, const wchar_t* name) const { return ModelFolder(model) + L"\\" + name; }
    // Writes bytes to a model's folder (created on the way).
    void PutModelFile(const wchar_t* model, const wchar_t* name, const Bytes& bytes)
    {
        CreateDirectoryW((m_root.Path() + L"\\ZVK").c_str(), nullptr);
        CreateDirectoryW(ModelFolder(model).c_str(), nullptr);
        m_root.Write(std::wstring(L"ZVK\\") + model + L"\\" + name, bytes);
    }

    restest::TempFolder m_root;
    restest::TempFolder m_elsewhere; // files the user picks
    ScriptedPrompt m_prompt;
};

} // namespace filestest
