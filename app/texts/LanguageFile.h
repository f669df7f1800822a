#pragma once
// The program's language files beside it ("mainlang.xml" and the models' "lang<model>.xml"):
// small XML files that replace built-in texts. Each is read whole, so one that is larger than
// any real language file could be is refused unread, with a log line, as if it were missing.
#include <stddef.h>
#include <pugixml.hpp>

// The largest language file read, in bytes. A full model file of 58 texts is about 3 KB.
const size_t kMaxLanguageFileBytes = 1024 * 1024;

// Parses the file at path (default options, encoding detected), also while another program
// holds it open for writing; false when it is missing, larger than kMaxLanguageFileBytes,
// unreadable or not well-formed.
bool LoadLanguageFile(pugi::xml_document& document, const wchar_t* path);
