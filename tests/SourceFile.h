#pragma once
// A file of the source tree as the skin builder reads texts: in the ANSI code page, the
// file's UTF-8 converted as a skin file's would be and its byte-order mark gone. Shared by
// the tests and the benchmarks that take the sample skins as they stand; the including
// target defines LORVIK_SOURCE_DIR.

#include <cstdio>
#include <string>

#include "ui/core/base/CodePage.h"
#include "ui/core/base/Heap.h"

namespace VeneerTest {

// The text of LORVIK_SOURCE_DIR/path; empty when the file cannot be read.
inline std::string SourceFile(const char* path)
{
    std::string text;
    std::FILE* file = std::fopen((std::string(LORVIK_SOURCE_DIR "/") + path).c_str(), "rb");
    if (file == nullptr)
        return text;
    char block[4096];
    std::size_t read;
    while ((read = std::fread(block, 1, sizeof(block), file)) > 0)
        text.append(block, read);
    std::fclose(file);
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0)
        text.erase(0, 3);
    std::size_t length = 0;
    char* ansi = Veneer::Utf8ToAnsi(text.data(), text.size(), &length);
    text.assign(ansi != nullptr ? ansi : "", ansi != nullptr ? length : 0);
    Veneer::Heap::Release(ansi);
    return text;
}

}  // namespace VeneerTest
