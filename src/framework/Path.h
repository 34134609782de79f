// Paths: the one splitter, and the native separator.
#pragma once

#include <string>
#include <string_view>

namespace zavio {

#ifdef _WIN32
constexpr char kPathSep = '\\';
#else
constexpr char kPathSep = '/';
#endif

// The parts of a path in the manner of the C run-time's splitter: drive
// ("C:" on Windows, always empty elsewhere), directory (up to and including
// its last separator), file name, and extension with its dot.
struct PathParts {
    std::string drive;
    std::string dir;
    std::string fname;
    std::string ext;
};

PathParts SplitPath(std::string_view path);

// Drive and directory of a path, ending in a separator; empty for a path
// without either.
std::string GetFolderOfPath(std::string_view path);

// "Help" + separator + name: a path relative to the program folder.
std::string JoinRelative(std::string_view folder, std::string_view name);

}  // namespace zavio
