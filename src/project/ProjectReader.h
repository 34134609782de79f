// The state of reading one project, shared by the reading of its sections
// (HelpProject.cpp) and of its context ids and their headers (ContextIds.cpp).
#pragma once

#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "project/HelpProject.h"

namespace zavio {

// One line of a project's text, where it stands.
struct ProjectLine {
    std::string section;  // upper case, without brackets
    std::string text;
    std::string source;  // "file:line"
};

class ProjectReader {
public:
    explicit ProjectReader(HelpProject& project);

    // The .hpj's lines in CP932, sorted into their sections.
    void ReadSections(const LineList& lines);
    void ReadOptions();
    void ReadFiles();
    void ReadContextIds();  // [MAP] and its headers
    void ReadAliases();

    // Where the project's named files are looked for: its folder, then ROOT's.
    std::vector<std::string> SearchFolders(std::string_view firstFolder = {}) const;
    // The path as messages name it: below the project folder, from there.
    std::string ShownName(std::string_view path) const;
    // Said once, however often it comes.
    void Problem(const std::string& source, const std::string& text);

private:
    void ReadMapLine(std::string_view raw, const std::string& source, const std::string& folder, bool inHeader,
                     bool& inComment);
    void IncludeHeader(std::string_view operand, const std::string& includer, const std::string& source);
    void AddId(std::string_view context, std::string_view number, const std::string& source, bool inHeader);
    void FindFolders(const std::vector<std::string>& names, const std::string& source, const char* key,
                     std::vector<std::string>& found);

    HelpProject& m_project;
    std::string m_folder;  // the project's folder, ending in a separator (empty: the current folder)
    std::vector<ProjectLine> m_lines;
    std::set<std::string> m_said;
    std::vector<std::string> m_includeStack;                     // the .hpj, then the headers being read
    std::unordered_map<std::string, std::size_t> m_idOfContext;  // ContextKey -> index in ids
    std::unordered_map<unsigned long, std::size_t> m_idOfValue;
    // Options that name files, read before the files are looked for.
    std::string m_contentsName;
    std::string m_contentsSource;  // where CNT= stands
    std::string m_helpFileName;
};

// The text without its comment, trimmed: from a ';' outside quotes, as in a
// project file; with `inCComment`, also "//" and "/* */" as in a C header,
// `*inCComment` carrying a "/*" on to the next lines.
std::string StripComments(std::string_view text, bool* inCComment);
// The text without the double quotes around it.
std::string Unquoted(std::string_view text);

}  // namespace zavio
