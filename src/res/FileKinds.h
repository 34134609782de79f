// The kinds of file the program opens, saves and converts, told by their
// extension (lower case, without the dot).
#pragma once

#include <string_view>

namespace zavio {

// Type numbers, as the Save As dialog knows them; 0 is any other kind.
constexpr int kTextFileType = 1;      // txt
constexpr int kHtmlFileType = 2;      // htm, html: manuscripts and pages
constexpr int kContentsFileType = 3;  // cnt: a WinHelp contents file
constexpr int kProjectFileType = 4;   // hhp
constexpr int kSitemapFileType = 5;   // hhc
constexpr int kIndexFileType = 6;     // hhk: the HTML Help index a conversion writes

int FileTypeNumber(std::string_view extension);
// The type number of a path's extension in any letter case, as a save
// compares it.
int FileTypeOfPath(std::string_view path);

inline bool IsManuscriptExtension(std::string_view extension)
{
    return FileTypeNumber(extension) == kHtmlFileType;
}

inline bool IsContentsExtension(std::string_view extension)
{
    return FileTypeNumber(extension) == kContentsFileType;
}

}  // namespace zavio
