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
constexpr int kRtfFileType = 7;       // rtf: a WinHelp manuscript as its author keeps it
constexpr int kHelpProjectFileType = 8;  // hpj: a WinHelp project

int FileTypeNumber(std::string_view extension);
// The type number of a path's extension in any letter case, as a save
// compares it.
int FileTypeOfPath(std::string_view path);

// A Web page: its head may declare its encoding.
inline bool IsWebPageExtension(std::string_view extension)
{
    return FileTypeNumber(extension) == kHtmlFileType;
}

// A manuscript a conversion takes: Word's Web page or the RTF itself.
inline bool IsManuscriptExtension(std::string_view extension)
{
    const int type = FileTypeNumber(extension);
    return type == kHtmlFileType || type == kRtfFileType;
}

inline bool IsRtfExtension(std::string_view extension)
{
    return FileTypeNumber(extension) == kRtfFileType;
}

inline bool IsHelpProjectExtension(std::string_view extension)
{
    return FileTypeNumber(extension) == kHelpProjectFileType;
}

inline bool IsContentsExtension(std::string_view extension)
{
    return FileTypeNumber(extension) == kContentsFileType;
}

}  // namespace zavio
