// The program's version record: file and product version, file type and one block of strings.
#pragma once

#include <array>
#include <span>

namespace gyrodesk {

struct VersionString {
    const char* key;
    const char* value;
};

struct VersionRecord {
    std::array<unsigned short, 4> fileVersion;
    std::array<unsigned short, 4> productVersion;
    const char* fileType;     // what the program file is
    const char* stringBlock;  // language and code page of the strings: US English, Unicode
    std::span<const VersionString> strings;
};

// The record of this program.
const VersionRecord& Version();

}  // namespace gyrodesk
