// A WinHelp project (.hpj) and everything it names: its manuscripts, its
// contents file, its bitmap folders and the numbers by which an application
// asks for its topics. All strings are CP932; paths use the native separator.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "framework/TextFile.h"

namespace zavio {

// One context-sensitive help id: a context string and the number an
// application asks for it by.
struct ContextId {
    std::string context;
    std::string number;       // as written: "1001", "0x3EA"
    unsigned long value = 0;  // 0 to 0xFFFFFFFF
    std::string source;       // "file:line", the file as the project names it
};

struct HelpProject {
    std::string path;                        // the .hpj
    unsigned codePage = 1252;                // of the .hpj, its headers and its .cnt: CHARSET=, else LCID=, else 1252
    std::string title;                       // TITLE
    std::string contentsTopic;               // CONTENTS (or INDEX, its old name): a context string, may be empty
    std::string helpFile;                    // HLP, as written: the compiled help's name, may be empty
    std::string contentsFile;                // CNT found, else NAME.cnt beside the .hpj if present, else empty
    std::vector<std::string> manuscripts;    // [FILES] found, in order, each once
    std::vector<std::string> bitmapFolders;  // BMROOT folders, then ROOT folders, then the project folder
    std::vector<std::string>
        rootFolders;             // ROOT folders found: where named files are looked for after the project folder
    std::vector<ContextId> ids;  // [MAP] lines and the #defines of its headers, in order, each context once
    std::vector<std::pair<std::string, std::string>> aliases;  // [ALIAS] context=context
    std::vector<std::string> includes;  // the headers read, each once, in the order first included
    LineList windows;                   // [WINDOWS] lines, comments removed: kept for later use
    LineList config;                    // [CONFIG] lines, the same
    std::vector<std::string> problems;  // each said once, naming its file (and line)
};

// Reads the project and every file it names. nullopt, with `why` naming the
// file, when the .hpj cannot be read or is not text, or when it yields no
// manuscript to convert; every other fault is a line of `problems` and the
// rest of the project is still read.
std::optional<HelpProject> ReadHelpProject(const std::string& hpjPath, std::string& why);

// The lines of the project's contents file in CP932, each ":Include other.cnt"
// replaced by the lines of that file (found as the project's files are);
// nothing else changed. One that cannot be included stays as it is, and is
// said in `problems`. Empty when the project has no contents file.
LineList ReadProjectContents(const HelpProject& project, LineList& problems);

// Context strings are the same without regard to ASCII letter case, as
// WinHelp takes them: two strings are the same context when their keys are.
std::string ContextKey(std::string_view context);

}  // namespace zavio
