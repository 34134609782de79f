#include "framework/Path.h"

#include "framework/Cp932.h"

namespace zavio {

PathParts SplitPath(std::string_view path)
{
    PathParts parts;
#ifdef _WIN32
    if (path.size() >= 2 && path[1] == ':') {
        parts.drive = std::string(path.substr(0, 2));
        path.remove_prefix(2);
    }
#endif
    // The last separator and the last dot after it, on character boundaries
    // (a trail byte 0x5C is not a backslash).
    std::size_t lastSep = std::string_view::npos;
    std::size_t lastDot = std::string_view::npos;
    for (std::size_t i = 0; i < path.size(); i += CharLength(path, i)) {
        char c = path[i];
        if (c == kPathSep || c == '/') {
            lastSep = i;
            lastDot = std::string_view::npos;
        } else if (c == '.') {
            lastDot = i;
        }
    }
    std::size_t nameStart = lastSep == std::string_view::npos ? 0 : lastSep + 1;
    parts.dir = std::string(path.substr(0, nameStart));
    if (lastDot == std::string_view::npos) {
        parts.fname = std::string(path.substr(nameStart));
    } else {
        parts.fname = std::string(path.substr(nameStart, lastDot - nameStart));
        parts.ext = std::string(path.substr(lastDot));
    }
    return parts;
}

std::string JoinRelative(std::string_view folder, std::string_view name)
{
    std::string out(folder);
    out += kPathSep;
    out += name;
    return out;
}

std::string GetFolderOfPath(std::string_view path)
{
    PathParts parts = SplitPath(path);
    return parts.drive + parts.dir;
}

}  // namespace zavio
