// namedids: writes the program's table of named control ids from its layouts.
//   namedids <index> <output.cpp>
// Reads the resource index (uires.idx) and every XML file it lists whose root is a host layout
// ("SKEIN"), an included layout ("include") or a set of templates ("template"); skin and style
// sections are passed over. Every element with a "name" gives one entry: the element's decimal
// "id" when it has one, otherwise the next id from 65536 up that no entry holds, in order of
// first appearance (files in index order, elements in document order). "_name_start" is 65535.
// The records are written sorted by name in ordinal order, as the program installs them without
// sorting.
#include <pugixml.hpp>
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const int kFirstGeneratedId = 65536;
const char kStartName[] = "_name_start";
const int kStartId = 65535;
const size_t kMaxNameLength = 49; // a record holds 52 UTF-16 units with the terminator

struct Entry {
    std::string name;
    bool hasExplicitId = false;
    long id = 0;
};

bool SameIgnoringCase(const char* a, const char* b)
{
    for (; *a && *b; ++a, ++b) {
        if (std::tolower(static_cast<unsigned char>(*a)) != std::tolower(static_cast<unsigned char>(*b)))
            return false;
    }
    return *a == *b;
}

pugi::xml_attribute AttributeIgnoringCase(const pugi::xml_node& element, const char* name)
{
    for (pugi::xml_attribute attribute : element.attributes()) {
        if (SameIgnoringCase(attribute.name(), name))
            return attribute;
    }
    return pugi::xml_attribute();
}

bool IsWindowTree(const pugi::xml_node& root)
{
    for (const char* kind : {"SKEIN", "include", "template"}) {
        if (SameIgnoringCase(root.name(), kind))
            return true;
    }
    return false;
}

bool IsDecimal(const std::string& text)
{
    size_t start = (!text.empty() && text[0] == '-') ? 1 : 0;
    return text.size() > start && std::all_of(text.begin() + start, text.end(), [](char c) {
               return std::isdigit(static_cast<unsigned char>(c)) != 0;
           });
}

class Collector {
public:
    bool Collect(const pugi::xml_node& element, const std::string& file)
    {
        for (pugi::xml_node child : element.children()) {
            if (child.type() != pugi::node_element)
                continue;
            if (SameIgnoringCase(child.name(), "skin") || SameIgnoringCase(child.name(), "style"))
                continue;
            if (!Add(child, file) || !Collect(child, file))
                return false;
        }
        return true;
    }

    // The names with their ids, _name_start included, sorted by name.
    std::vector<Entry> Table() const
    {
        std::vector<Entry> table = m_entries;
        table.push_back(Entry{kStartName, true, kStartId});
        std::set<long> taken;
        for (const Entry& entry : table) {
            if (entry.hasExplicitId)
                taken.insert(entry.id);
        }
        long next = kFirstGeneratedId;
        for (Entry& entry : table) {
            if (entry.hasExplicitId)
                continue;
            while (taken.count(next))
                ++next;
            entry.id = next++;
        }
        std::sort(table.begin(), table.end(), [](const Entry& a, const Entry& b) { return a.name < b.name; });
        return table;
    }

private:
    bool Add(const pugi::xml_node& element, const std::string& file)
    {
        pugi::xml_attribute nameAttribute = AttributeIgnoringCase(element, "name");
        if (!nameAttribute)
            return true;
        std::string name = nameAttribute.value();
        if (!Valid(name, file))
            return false;
        Entry entry{name};
        std::string idText = AttributeIgnoringCase(element, "id").value();
        if (!idText.empty()) {
            if (!IsDecimal(idText))
                return Fail(file, "the id of \"" + name + "\" is not a decimal number: " + idText);
            entry.hasExplicitId = true;
            entry.id = std::stol(idText);
        }
        auto found = m_index.find(name);
        if (found == m_index.end()) {
            m_index[name] = m_entries.size();
            m_entries.push_back(entry);
            return true;
        }
        Entry& known = m_entries[found->second];
        if (!entry.hasExplicitId)
            return true;
        if (known.hasExplicitId && known.id != entry.id)
            return Fail(file, "\"" + name + "\" has two ids");
        known.hasExplicitId = true;
        known.id = entry.id;
        return true;
    }

    static bool Valid(const std::string& name, const std::string& file)
    {
        if (name.empty() || name.size() > kMaxNameLength)
            return Fail(file, "a name must have 1 to 49 characters: \"" + name + "\"");
        if (name.find("{{") != std::string::npos)
            return Fail(file, "a name cannot be a template placeholder: \"" + name + "\"");
        for (unsigned char c : name) {
            if (c < 0x20 || c > 0x7E || c == '"' || c == '\\')
                return Fail(file, "a name must be printable ASCII without quotes: \"" + name + "\"");
        }
        return true;
    }

    static bool Fail(const std::string& file, const std::string& message)
    {
        std::cerr << "namedids: " << file << ": " << message << "\n";
        return false;
    }

    std::vector<Entry> m_entries;
    std::map<std::string, size_t> m_index;
};

bool CollectFile(Collector& collector, const fs::path& path)
{
    pugi::xml_document document;
    pugi::xml_parse_result parsed = document.load_file(path.c_str());
    if (!parsed) {
        std::cerr << "namedids: " << path << ": " << parsed.description() << "\n";
        return false;
    }
    pugi::xml_node root = document.document_element();
    return !IsWindowTree(root) || collector.Collect(root, path.string());
}

bool Write(const std::vector<Entry>& table, const fs::path& output)
{
    std::ofstream out(output, std::ios::binary);
    out << "// Generated by tools/namedids from the program's layouts; not to be edited.\n"
           "#include \"NamedIdTable.h\"\n\n"
           "const SKEIN::SNamedID::Record kNamedIdTable[] = {\n";
    for (const Entry& entry : table)
        out << "    {L\"" << entry.name << "\", " << entry.id << "},\n";
    out << "};\n\nconst int kNamedIdCount = " << table.size() << ";\n";
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: namedids <index> <output.cpp>\n";
        return 2;
    }
    fs::path index = argv[1];
    pugi::xml_document document;
    pugi::xml_parse_result parsed = document.load_file(index.c_str());
    if (!parsed) {
        std::cerr << "namedids: " << index << ": " << parsed.description() << "\n";
        return 1;
    }
    Collector collector;
    for (pugi::xml_node type : document.document_element().children()) {
        for (pugi::xml_node file : type.children("file")) {
            std::string relative = file.attribute("path").value();
            std::replace(relative.begin(), relative.end(), '\\', '/');
            fs::path path = index.parent_path() / relative;
            if (path.extension() == ".xml" && !CollectFile(collector, path))
                return 1;
        }
    }
    return Write(collector.Table(), argv[2]) ? 0 : 1;
}
