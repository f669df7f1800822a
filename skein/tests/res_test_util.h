#pragma once
// Shared by the resource tests: a scratch folder on disk and the program's own raw resources.
#include <windows.h>
#include <string>

namespace restest {

// A fresh folder under the temp directory, removed with everything in it.
class TempFolder {
public:
    TempFolder()
    {
        wchar_t base[MAX_PATH];
        GetTempPathW(MAX_PATH, base);
        static int serial = 0;
        m_path = std::wstring(base) + L"skein_res_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                 std::to_wstring(++serial);
        CreateDirectoryW(m_path.c_str(), nullptr);
    }
    ~TempFolder() { RemoveTree(m_path); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::wstring& Path() const { return m_path; }
    std::wstring File(const std::wstring& relative) const { return m_path + L"\\" + relative; }

    // Writes bytes to a file below the folder (subfolders are created).
    std::wstring Write(const std::wstring& relative, const std::string& bytes) const
    {
        std::wstring path = File(relative);
        size_t slash = relative.rfind(L'\\');
        if (slash != std::wstring::npos)
            CreateDirectoryW(File(relative.substr(0, slash)).c_str(), nullptr);
        HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(file);
        return path;
    }

private:
    static void RemoveTree(const std::wstring& folder)
    {
        WIN32_FIND_DATAW data;
        HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                std::wstring name = data.cFileName;
                if (name == L"." || name == L"..")
                    continue;
                std::wstring path = folder + L"\\" + name;
                if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveTree(path);
                else
                    DeleteFileW(path.c_str());
            } while (FindNextFileW(find, &data));
            FindClose(find);
        }
        RemoveDirectoryW(folder.c_str());
    }

    std::wstring m_path;
};

// The bytes of a resource compiled into the test program; empty when it is missing.
inline std::string ProgramResource(const wchar_t* type, const wchar_t* name)
{
    HRSRC resource = FindResourceW(nullptr, name, type);
    if (!resource)
        return std::string();
    const char* data = static_cast<const char*>(LockResource(LoadResource(nullptr, resource)));
    return std::string(data, SizeofResource(nullptr, resource));
}

} // namespace restest
