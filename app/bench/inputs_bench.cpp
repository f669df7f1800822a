// Figures of Corvane's oversized inputs: language files beside the program and members of the
// resource archive far above the size limits, against the largest ones still read, and PNG files
// whose chunks state huge lengths. Each case runs in a process of its own, so that its peak
// memory is its own.
// Usage: corvane_bench_inputs
//   Writes the fixtures into a scratch folder (five sparse language files of 1 GiB, a model
//   language file of the size limit, an archive holding a member that states 1 GiB in 1.1 MB of
//   data, a member of 1 GiB of zeros and a member of the resource size limit), then runs each
//   case as "corvane_bench_inputs --case <n> <folder>", which prints its time, whether the input
//   was read, and how far the load raised the process's peak resident memory. The PNG files are
//   libpng's own crashers, which the build copies into png_crashers beside the program.
#include <windows.h>
#include <psapi.h>
#include <stdio.h>
#include <zlib.h>
#include <string>
#include <vector>
#include "LaunchTiming.h"
#include "MainTexts.h"
#include "interface/SImgDecoder-i.h"
#include "res.mgr/SResLoaders.h"
#include "res.mgr/SResProviderZip.h"
#include "res.mgr/SXmlResource.h"
#include "texts/LanguageFile.h"
#include "texts/ModelTexts.h"
#include "zip_test_util.h"

using namespace SKEIN;
using namespace benchtiming;

namespace {

const UINT64 kHuge = 1ull << 30;
const size_t kNoiseBytes = 1100 * 1000;
const wchar_t* const kLanguageFiles[] = {L"mainlang.xml", L"lang6840.xml", L"lang6852.xml", L"lang6867.xml",
                                         L"lang6891.xml"};
const wchar_t kArchive[] = L"inputs.zip";
const wchar_t kLimitFolder[] = L"limit";

std::wstring In(const std::wstring& folder, const std::wstring& name)
{
    return folder + L"\\" + name;
}

// The process's resident memory, or its peak so far (under Wine the peak of the working set is
// kept, the peak of the committed memory is not).
SIZE_T ResidentBytes(bool peak)
{
    PROCESS_MEMORY_COUNTERS counters = {sizeof(counters)};
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return peak ? counters.PeakWorkingSetSize : counters.WorkingSetSize;
}

// ---- the cases, run in the child ----

bool LoadFiveLanguageFiles(const std::wstring& folder)
{
    MainTexts main;
    main.LoadFrom(In(folder, kLanguageFiles[0]).c_str());
    bool loaded = main.loaded;
    for (int file = 1; file < 5; ++file) {
        ModelTexts texts(kLanguageFiles[file]);
        texts.LoadFrom(In(folder, kLanguageFiles[file]).c_str());
        loaded = loaded || texts.Loaded();
    }
    return loaded;
}

bool LoadLanguageFileAtTheLimit(const std::wstring& folder)
{
    ModelTexts texts(L"lang6840.xml");
    texts.LoadFrom(In(In(folder, kLimitFolder), L"lang6840.xml").c_str());
    return texts.Loaded();
}

bool LoadMember(const std::wstring& folder, const wchar_t* name)
{
    std::wstring path = In(folder, kArchive);
    SZipInitParam param = {};
    param.kind = SZipInitParam::kFile;
    param.path = path.c_str();
    SRefPtr<SResProviderZip> provider(new SResProviderZip, false);
    pugi::xml_document document;
    return provider->Init(&param) && LoadXmlResource(provider, L"LAYOUT", name, document) == kXmlResourceLoaded;
}

// Each through the framework's libpng decoder; true when any decoded.
bool DecodePngCrashers(const std::wstring&)
{
    const wchar_t* const names[] = {L"huge_iTXt_chunk.png", L"huge_tEXt_chunk.png", L"huge_zTXt_chunk.png",
                                    L"huge_pCAL_chunk.png", L"huge_sCAL_chunk.png", L"huge_sPLT_chunk.png"};
    IImgDecoderFactory* decoders = nullptr;
    CreateImgDecoderFactory_PNG(&decoders);
    bool decoded = false;
    for (const wchar_t* name : names) {
        std::wstring path = BesideProgram((std::wstring(L"png_crashers\\") + name).c_str());
        if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES)
            printf("missing: %ls\n", path.c_str());
        IImgX* image = nullptr;
        decoders->CreateImgX(&image);
        decoded = image->LoadFromFileW(path.c_str()) > 0 || decoded;
        image->Release();
    }
    decoders->Release();
    return decoded;
}

struct Case {
    const char* what;
    bool (*load)(const std::wstring& folder);
};

const Case kCases[] = {
    {"five language files of 1 GiB (mainlang.xml and the four model files)", LoadFiveLanguageFiles},
    {"model language file of the limit (1 MiB)", LoadLanguageFileAtTheLimit},
    {"archive member stating 1 GiB in 1.1 MB of data", [](const std::wstring& f) { return LoadMember(f, L"stated"); }},
    {"archive member of 1 GiB of zeros (1 MB of deflate data)",
     [](const std::wstring& f) { return LoadMember(f, L"zeros"); }},
    {"archive member of the limit (16 MiB of XML)", [](const std::wstring& f) { return LoadMember(f, L"limit"); }},
    {"six PNG files of 57 bytes, a text or parameter chunk stating 1 GiB", DecodePngCrashers},
};
const int kCaseCount = sizeof(kCases) / sizeof(kCases[0]);

int RunCase(int index, const std::wstring& folder)
{
    SIZE_T before = ResidentBytes(true);
    double start = Now();
    bool read = kCases[index].load(folder);
    double elapsed = Now() - start;
    SIZE_T peak = ResidentBytes(true);
    printf("%-72s %9.2f ms  %-7s peak memory +%.1f MB\n", kCases[index].what, elapsed, read ? "read" : "refused",
           peak > before ? (peak - before) / 1e6 : 0.0);
    fflush(stdout);
    return 0;
}

// ---- the fixtures, written by the parent ----

void WriteFile(const std::wstring& path, const std::string& bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

// A file of size bytes that holds no data (its end set, nothing written).
void WriteSparseFile(const std::wstring& path, UINT64 size)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(size);
    SetFilePointerEx(file, end, nullptr, FILE_BEGIN);
    SetEndOfFile(file);
    CloseHandle(file);
}

// A model language file naming every text, padded to kMaxLanguageFileBytes.
std::string LanguageFileOfTheLimit()
{
    std::string xml = "<root>\n";
    for (int index = 0; index < kModelTextCount; ++index) {
        std::wstring key = ModelTexts::Key(index);
        std::string narrow(key.begin(), key.end());
        xml += "<" + narrow + " name='" + narrow + "'/>\n";
    }
    xml += "</root>\n";
    return xml + std::string(kMaxLanguageFileBytes - xml.size(), '\n');
}

// Raw deflate of size zero bytes, streamed; crc gets their CRC-32.
std::string DeflatedZeros(UINT64 size, uLong& crc)
{
    std::vector<Bytef> zeros(1 << 20, 0);
    std::vector<Bytef> out(1 << 16);
    std::string stream;
    z_stream deflater = {};
    deflateInit2(&deflater, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    crc = crc32(0, nullptr, 0);
    for (UINT64 left = size;;) {
        uInt chunk = static_cast<uInt>(left < zeros.size() ? left : zeros.size());
        left -= chunk;
        crc = crc32(crc, zeros.data(), chunk);
        deflater.next_in = zeros.data();
        deflater.avail_in = chunk;
        do {
            deflater.next_out = out.data();
            deflater.avail_out = static_cast<uInt>(out.size());
            deflate(&deflater, left ? Z_NO_FLUSH : Z_FINISH);
            stream.append(reinterpret_cast<char*>(out.data()), out.size() - deflater.avail_out);
        } while (deflater.avail_out == 0);
        if (!left)
            break;
    }
    deflateEnd(&deflater);
    return stream;
}

// Makes the stored member whose directory entry is at entry a deflated one of size bytes.
void RestateAsDeflated(std::string& zip, size_t entry, UINT64 size, uLong crc)
{
    size_t local = ziptest::Get32(zip, entry + 42);
    ziptest::Set16(zip, local + 8, 8);
    ziptest::Set16(zip, entry + 10, 8);
    ziptest::Set32(zip, local + 14, static_cast<uint32_t>(crc));
    ziptest::Set32(zip, entry + 16, static_cast<uint32_t>(crc));
    ziptest::Set32(zip, local + 22, static_cast<uint32_t>(size));
    ziptest::Set32(zip, entry + 24, static_cast<uint32_t>(size));
}

void WriteArchive(const std::wstring& path)
{
    std::string noise(kNoiseBytes, '\0');
    for (size_t i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<char>((i * 2654435761u) >> 13);
    uLong zerosCrc = 0;
    std::string zeros = DeflatedZeros(kHuge, zerosCrc);
    std::string limit = "<page/>";
    limit += std::string(static_cast<size_t>(kMaxResourceBytes) - limit.size(), ' ');
    respack::ZipWriter writer;
    writer.Add("stated.xml", noise, respack::Method::Store, "");
    writer.Add("zeros.xml", zeros, respack::Method::Store, "");
    writer.Add("limit.xml", limit, respack::Method::Deflate, "");
    writer.Add("uires.idx", "<resource><LAYOUT><file name='stated' path='stated.xml'/>"
                            "<file name='zeros' path='zeros.xml'/><file name='limit' path='limit.xml'/></LAYOUT>"
                            "</resource>",
               respack::Method::Store, "");
    std::string zip = writer.Finish();
    size_t first = ziptest::Layout(zip).firstEntry;
    size_t second = first + 46 + ziptest::Get16(zip, first + 28);
    RestateAsDeflated(zip, first, kHuge, crc32(0, reinterpret_cast<const Bytef*>(noise.data()), kNoiseBytes));
    RestateAsDeflated(zip, second, kHuge, zerosCrc);
    WriteFile(path, zip);
}

void WriteFixtures(const std::wstring& folder)
{
    CreateDirectoryW(folder.c_str(), nullptr);
    CreateDirectoryW(In(folder, kLimitFolder).c_str(), nullptr);
    for (const wchar_t* file : kLanguageFiles)
        WriteSparseFile(In(folder, file), kHuge);
    WriteFile(In(In(folder, kLimitFolder), L"lang6840.xml"), LanguageFileOfTheLimit());
    WriteArchive(In(folder, kArchive));
}

void RemoveFixtures(const std::wstring& folder)
{
    for (const wchar_t* file : kLanguageFiles)
        DeleteFileW(In(folder, file).c_str());
    DeleteFileW(In(In(folder, kLimitFolder), L"lang6840.xml").c_str());
    RemoveDirectoryW(In(folder, kLimitFolder).c_str());
    DeleteFileW(In(folder, kArchive).c_str());
    RemoveDirectoryW(folder.c_str());
}

bool RunChild(int index, const std::wstring& folder)
{
    std::wstring program = BesideProgram(L"corvane_bench_inputs.exe");
    std::wstring command = L"\"" + program + L"\" --case " + std::to_wstring(index) + L" \"" + folder + L"\"";
    STARTUPINFOW startup = {sizeof(startup)};
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(program.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return false;
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc == 4 && wcscmp(argv[1], L"--case") == 0)
        return RunCase(_wtoi(argv[2]) % kCaseCount, argv[3]);
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + L"corvane_bench_inputs_" + std::to_wstring(GetCurrentProcessId());
    printf("writing the fixtures...\n");
    fflush(stdout);
    WriteFixtures(folder);
    printf("limits: language files %lu bytes, resources %lu bytes\n", static_cast<unsigned long>(kMaxLanguageFileBytes),
           static_cast<unsigned long>(kMaxResourceBytes));
    fflush(stdout);
    int failed = 0;
    for (int index = 0; index < kCaseCount; ++index)
        failed += RunChild(index, folder) ? 0 : 1;
    RemoveFixtures(folder);
    return failed;
}
