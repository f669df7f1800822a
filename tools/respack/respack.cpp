// respack: packs a folder into a resource archive for the framework's zip provider.
//   respack [-p password] [-s] <folder> <archive>
// Every file below the folder becomes a member named by its path relative to the folder
// (separators written as "/"), in sorted order. -s stores every member; otherwise a member is
// deflated when that makes it smaller. With -p every member is encrypted with the password.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>
#include "zip_writer.h"

namespace fs = std::filesystem;

namespace {

struct Options {
    std::string password;
    respack::Method method = respack::Method::Smaller;
    fs::path folder;
    fs::path archive;
};

bool ParseArguments(int argc, char** argv, Options& options)
{
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "-p" && i + 1 < argc)
            options.password = argv[++i];
        else if (arg == "-s")
            options.method = respack::Method::Store;
        else if (!arg.empty() && arg[0] == '-')
            return false;
        else
            positional.push_back(arg);
    }
    if (positional.size() != 2)
        return false;
    options.folder = positional[0];
    options.archive = positional[1];
    return true;
}

bool ReadFile(const fs::path& path, std::string& bytes)
{
    std::ifstream in(path, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

int Pack(const Options& options)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(options.folder)) {
        if (entry.is_regular_file())
            names.push_back(fs::relative(entry.path(), options.folder).generic_string());
    }
    std::sort(names.begin(), names.end());
    respack::ZipWriter writer;
    for (const std::string& name : names) {
        std::string bytes;
        if (!ReadFile(options.folder / name, bytes) || !writer.Add(name, bytes, options.method, options.password)) {
            std::cerr << "respack: cannot pack " << name << "\n";
            return 1;
        }
    }
    std::string archive = writer.Finish();
    fs::path temporary = options.archive;
    temporary += ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(archive.data(), static_cast<std::streamsize>(archive.size()));
        if (!out) {
            std::cerr << "respack: cannot write " << temporary << "\n";
            return 1;
        }
    }
    fs::rename(temporary, options.archive);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!ParseArguments(argc, argv, options)) {
        std::cerr << "usage: respack [-p password] [-s] <folder> <archive>\n";
        return 2;
    }
    try {
        return Pack(options);
    } catch (const fs::filesystem_error& error) {
        std::cerr << "respack: " << error.what() << "\n";
        return 1;
    }
}
