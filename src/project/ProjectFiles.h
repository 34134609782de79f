// The files a WinHelp project names: found on disk as the help compiler found
// them on a case-blind file system, and read as text in the project's code
// page.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/TextFile.h"

namespace zavio {

enum class EntryKind { File, Folder };

// Where `name` (written with '\' or '/', "." and "..") lies below `folder`
// (a path ending in a separator, or empty for the current folder): each
// component as written, else the one entry whose name is the same without
// regard to ASCII letter case. ".." takes away the component before it, as
// the names' own system does. nullopt when any component is missing, or for
// a name that starts with a drive ("C:") or a server ("\\host").
std::optional<std::string> FindNamedEntry(std::string_view folder, std::string_view name, EntryKind kind);

// The first of `folders` below which `name` is found.
std::optional<std::string> FindInFolders(const std::vector<std::string>& folders, std::string_view name,
                                         EntryKind kind);

// A path as messages name it: relative to `folder` (with ".." where it lies
// outside), so that no message or file shows where this machine keeps it.
std::string ShownPath(std::string_view folder, std::string_view path);

// Where the files a project names are looked for: `first` (the folder of
// the file that names them, when it has one), the project's folder, then
// its ROOT folders, each once.
std::vector<std::string> ProjectSearchFolders(std::string_view first, std::string_view projectFolder,
                                              const std::vector<std::string>& rootFolders);

// A project's text in CP932: its bytes converted from `codePage` (from UTF-8
// when they start with a byte-order mark), then split into lines. False,
// with no lines, for bytes that are not text (a NUL byte).
bool DecodeProjectText(std::string_view bytes, unsigned codePage, LineList& lines);

// The same for a project's file.
enum class TextReadResult { Read, Unreadable, NotText };
TextReadResult ReadProjectText(std::string_view path, unsigned codePage, LineList& lines);

}  // namespace zavio
