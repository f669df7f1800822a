#pragma once
// Sorted name tables of the UI definition (strings, colours, dimensions) and of the program's
// control ids. A record is a name field of 52 wide characters followed by the value; names of
// 50 or more characters are outside every table.
#include <windows.h>
#include <pugixml.hpp>
#include <stdlib.h>
#include <wchar.h>
#include "core/SDynArray.h"
#include "core/SString.h"
#include "layout/SLayoutSize.h"

namespace SKEIN {

enum {
    kNamedValueNameSize = 52,
    kNamedValueMaxName = 49,
};

// 0x00FFFFFF: white with alpha 0, the colour that means "no colour".
enum : UINT32 { kNoColor = 0x00FFFFFF };

template <class T>
struct SNamedRecord {
    typedef void SRelocatable; // T is relocatable, and the name is plain characters

    wchar_t name[kNamedValueNameSize];
    T value;
};

// Colour texts: "#" with up to four two-digit hexadecimal components (red, green, blue,
// alpha), "rgb(r,g,b)" and "rgba(r,g,b,a)" with decimal components. Three or four components
// must be read; a missing alpha is 255 and each component keeps its low 8 bits.
struct SColorParser {
    static bool Parse(const wchar_t* text, UINT32& color);
    static UINT32 Missing() { return kNoColor; }
};

struct SStringParser {
    static bool Parse(const wchar_t* text, SStringW& value);
    static SStringW Missing() { return SStringW(); }
};

struct SDimensionParser {
    static bool Parse(const wchar_t* text, SLayoutSize& value);
    // Value 0 in the default unit current at the lookup.
    static SLayoutSize Missing() { return SLayoutSize(); }
};

struct SIntParser {
    static bool Parse(const wchar_t* text, int& value);
    static int Missing() { return 0; }
};

template <class T, class Parser>
class SNamedValue {
public:
    typedef SNamedRecord<T> Record;

    SNamedValue() {}
    SNamedValue(const SNamedValue&) = delete;
    SNamedValue& operator=(const SNamedValue&) = delete;

    // Replaces the records by the element's children: each child's name with its "value"
    // attribute, parsed; children that do not parse or whose name is too long are left out.
    // FALSE for an empty element.
    BOOL InitFromXml(const pugi::xml_node& element)
    {
        if (!element)
            return FALSE;
        m_records.Resize(0);
        for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling()) {
            Record record;
            if (child.type() != pugi::node_element || !CopyName(record.name, child.name()))
                continue;
            if (Parser::Parse(child.attribute(L"value").value(), record.value))
                m_records.Add(record);
        }
        Sort();
        return TRUE;
    }

    // Replaces the records by a copy of count records, sorting them unless they already are.
    void InitFromArray(const Record* records, int count, BOOL sorted)
    {
        m_records.Resize(0);
        if (!records || count <= 0 || !m_records.GrowTo(count))
            return;
        for (int i = 0; i < count; ++i)
            m_records.Add(records[i]);
        if (!sorted)
            Sort();
    }

    // The value stored under name, or the table's default.
    T Find(const wchar_t* name) const
    {
        const Record* record = Lookup(name);
        return record ? record->value : Parser::Missing();
    }

    int Count() const { return m_records.Count(); }

private:
    static bool CopyName(wchar_t (&field)[kNamedValueNameSize], const wchar_t* name)
    {
        size_t length = name ? wcslen(name) : 0;
        if (length > kNamedValueMaxName)
            return false;
        wmemset(field, 0, kNamedValueNameSize);
        if (length)
            wmemcpy(field, name, length);
        return true;
    }

    static int CompareNames(const void* a, const void* b)
    {
        return wcscmp(static_cast<const Record*>(a)->name, static_cast<const Record*>(b)->name);
    }

    void Sort()
    {
        if (m_records.Count() > 1)
            qsort(m_records.ItemAt(0), m_records.Count(), sizeof(Record), &CompareNames);
    }

    const Record* Lookup(const wchar_t* name) const
    {
        Record key;
        if (m_records.Count() == 0 || !CopyName(key.name, name))
            return nullptr;
        return static_cast<const Record*>(
            bsearch(&key, m_records.ItemAt(0), m_records.Count(), sizeof(Record), &CompareNames));
    }

    SDynArray<Record> m_records;
};

// "@string/name" gives the named string (empty when missing); other texts are themselves.
class SNamedString : public SNamedValue<SStringW, SStringParser> {
public:
    SStringW Resolve(const wchar_t* text) const;
};

// "@color/name" gives the named colour; other texts are parsed, kNoColor when they don't parse.
class SNamedColor : public SNamedValue<UINT32, SColorParser> {
public:
    UINT32 Resolve(const wchar_t* text) const;
};

// "@dim/name" gives the named size; other texts are parsed as a size.
class SNamedDimension : public SNamedValue<SLayoutSize, SDimensionParser> {
public:
    SLayoutSize Resolve(const wchar_t* text) const;
};

// Control names to numeric ids. The program's generated table has exactly this record layout.
class SNamedID : public SNamedValue<int, SIntParser> {};

static_assert(sizeof(SNamedID::Record) == 108, "id records are 104 bytes of name and an int32");

} // namespace SKEIN
