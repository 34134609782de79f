#include "project/ProjectFiles.h"

#include <algorithm>
#include <filesystem>

#include "framework/CodePages.h"
#include "framework/Cp932.h"
#include "framework/FileSystem.h"
#include "framework/Path.h"

namespace zavio {
namespace {

bool IsNameSeparator(char c)
{
    return c == '\\' || c == '/';
}

// The components of a name between its separators, on character boundaries:
// the trail byte 0x5C of 表 does not cut a name.
std::vector<std::string_view> NameComponents(std::string_view name)
{
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= name.size(); i += i < name.size() ? CharLength(name, i) : 1) {
        if (i < name.size() && !IsNameSeparator(name[i])) continue;
        if (i > start) parts.push_back(name.substr(start, i - start));
        start = i + 1;
    }
    return parts;
}

// The folder above `folder` (ending in a separator) by its text, as the
// system the names come from reads "..".
std::string ParentFolder(const std::string& folder)
{
    if (folder.empty()) return std::string("..") + kPathSep;
    if (folder.size() == 1) return folder;  // the root has no parent
    const std::size_t sep = MbReverseFind(std::string_view(folder).substr(0, folder.size() - 1), kPathSep);
    const std::size_t start = sep == std::string::npos ? 0 : sep + 1;
    if (folder.compare(start, folder.size() - 1 - start, "..") == 0) return folder + ".." + kPathSep;
    return folder.substr(0, start);
}

// The entry of `folder` named `part`, as written or else without regard to
// ASCII case; of several such, the first by its bytes, so the choice does
// not hang on the order of the listing.
std::optional<std::string> FindEntry(const std::string& folder, std::string_view part)
{
    std::string exact = folder + std::string(part);
    if (FileExists(exact)) return std::string(part);
    auto entries = ListFolder(folder);
    if (!entries) return std::nullopt;
    const std::string wanted = MbLowerAscii(part);
    std::optional<std::string> found;
    for (const FolderEntry& entry : *entries) {
        if (entry.name == "." || entry.name == ".." || MbLowerAscii(entry.name) != wanted) continue;
        if (!found || entry.name < *found) found = entry.name;
    }
    return found;
}

bool IsKind(const std::string& path, EntryKind kind)
{
    return kind == EntryKind::Folder ? IsDirectory(path) : FileExists(path) && !IsDirectory(path);
}

}  // namespace

std::optional<std::string> FindNamedEntry(std::string_view folder, std::string_view name, EntryKind kind)
{
    const bool drive = name.size() >= 2 && name[1] == ':';
    const bool server = name.size() >= 2 && IsNameSeparator(name[0]) && IsNameSeparator(name[1]);
    if (drive || server) return std::nullopt;
    std::string current = !name.empty() && IsNameSeparator(name[0]) ? std::string(1, kPathSep) : std::string(folder);
    const auto parts = NameComponents(name);
    if (parts.empty()) return std::nullopt;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::string_view part = parts[i];
        if (part == ".") continue;
        if (part == "..") {
            current = ParentFolder(current);
            continue;
        }
        auto entry = FindEntry(current, part);
        if (!entry) return std::nullopt;
        current += *entry;
        if (i + 1 < parts.size()) current += kPathSep;
    }
    if (current.empty() || current.back() == kPathSep) {
        // The name ended in "." or "..": it names a folder.
        if (kind == EntryKind::Folder && IsDirectory(current.empty() ? "." : current)) return current;
        return std::nullopt;
    }
    if (!IsKind(current, kind)) return std::nullopt;
    if (kind == EntryKind::Folder) current += kPathSep;
    return current;
}

std::optional<std::string> FindInFolders(const std::vector<std::string>& folders, std::string_view name, EntryKind kind)
{
    for (const std::string& folder : folders) {
        if (auto found = FindNamedEntry(folder, name, kind)) return found;
    }
    return std::nullopt;
}

std::string ShownPath(std::string_view folder, std::string_view path)
{
    if (folder.empty()) return std::string(path);
    if (path.starts_with(folder)) return std::string(path.substr(folder.size()));
    // Above or beside the project: "../include/ids.h", as the author would
    // write it, never where this machine keeps the tree.
    const std::filesystem::path relative =
        std::filesystem::path(path).lexically_relative(std::filesystem::path(folder));
    return relative.empty() ? std::string(path) : relative.string();
}

std::vector<std::string> ProjectSearchFolders(std::string_view first, std::string_view projectFolder,
                                              const std::vector<std::string>& rootFolders)
{
    std::vector<std::string> folders;
    const auto add = [&folders](std::string_view folder) {
        if (std::find(folders.begin(), folders.end(), folder) == folders.end()) folders.emplace_back(folder);
    };
    if (!first.empty()) add(first);
    add(projectFolder);
    for (const std::string& root : rootFolders) add(root);
    return folders;
}

bool DecodeProjectText(std::string_view bytes, unsigned codePage, LineList& lines)
{
    if (bytes.find('\0') != std::string_view::npos) return false;
    std::string text;
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        text = Utf8ToCp932WithReferences(bytes.substr(3));
    } else {
        auto converted = CodePageToCp932(bytes, codePage);
        text = converted ? std::move(*converted) : *CodePageToCp932(bytes, 1252);
    }
    SplitTextLines(text, lines);
    return true;
}

TextReadResult ReadProjectText(std::string_view path, unsigned codePage, LineList& lines)
{
    auto bytes = ReadFileBytes(path);
    if (!bytes) return TextReadResult::Unreadable;
    return DecodeProjectText(*bytes, codePage, lines) ? TextReadResult::Read : TextReadResult::NotText;
}

}  // namespace zavio
