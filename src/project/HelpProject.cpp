// Reading a WinHelp project file: its sections, its options and the files it
// names. The context ids of [MAP] are read in ContextIds.cpp.
#include "project/HelpProject.h"

#include <algorithm>
#include <cstdlib>

#include "framework/CodePages.h"
#include "framework/Cp932.h"
#include "framework/FileSystem.h"
#include "framework/Path.h"
#include "project/ProjectFiles.h"
#include "project/ProjectReader.h"

namespace zavio {
namespace {

// "KEY=value": the key in upper case without blanks, the value as written.
bool SplitKeyValue(std::string_view text, std::string& key, std::string_view& value)
{
    const std::size_t eq = MbFind(text, "=");
    if (eq == std::string_view::npos) return false;
    key = MbUpperAscii(Trim(text.substr(0, eq)));
    value = text.substr(eq + 1);
    return !key.empty();
}

// The lines of a project file in their sections, whole-line comments and
// blank lines left out. Lines before the first section belong to none.
std::vector<ProjectLine> SectionLines(const LineList& lines, const std::string& fileName)
{
    std::vector<ProjectLine> out;
    std::string section;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view text = TrimLeftView(lines[i]);
        if (text.empty() || text[0] == ';') continue;
        const std::size_t close = MbFind(text, "]");
        if (text[0] == '[' && close != std::string_view::npos) {
            section = MbUpperAscii(Trim(text.substr(1, close - 1)));
            continue;
        }
        out.push_back({section, lines[i], fileName + ":" + std::to_string(i + 1)});
    }
    return out;
}

// CHARSET= names the code page of the project's text; without it (or with a
// set that has none, such as 1 = default) LCID= does, else it is 1252.
unsigned ProjectCodePage(const std::vector<ProjectLine>& lines)
{
    unsigned fromCharset = 0;
    unsigned fromLanguage = 0;
    for (const ProjectLine& line : lines) {
        std::string key;
        std::string_view value;
        if (line.section != "OPTIONS" || !SplitKeyValue(line.text, key, value)) continue;
        // LCID= has three numbers; the first is the language.
        const std::string number = StripComments(value, nullptr);
        char* end = nullptr;
        const unsigned long parsed = std::strtoul(number.c_str(), &end, 0);
        if (end == number.c_str() || (*end != '\0' && !IsAsciiSpace(static_cast<unsigned char>(*end)))) continue;
        if (key == "CHARSET" && parsed <= 255) fromCharset = CodePageOfCharset(static_cast<int>(parsed));
        if (key == "LCID") fromLanguage = CodePageOfLanguage(static_cast<unsigned>(parsed));
    }
    for (unsigned codePage : {fromCharset, fromLanguage}) {
        if (codePage != 0 && IsKnownCodePage(codePage)) return codePage;
    }
    return 1252;
}

// ROOT= and BMROOT= list folders with ',' or ';' between them; a ';' at the
// start or after a blank starts a comment, as it does on every other line.
std::vector<std::string> FolderNames(std::string_view value)
{
    std::vector<std::string> names;
    std::string name;
    for (std::size_t i = 0; i <= value.size(); i += i < value.size() ? CharLength(value, i) : 1) {
        const bool end = i == value.size();
        const char c = end ? '\0' : value[i];
        const bool comment = c == ';' && (i == 0 || IsAsciiSpace(static_cast<unsigned char>(value[i - 1])));
        if (end || comment || c == ',' || c == ';') {
            std::string trimmed = Unquoted(Trim(name));
            if (!trimmed.empty()) names.push_back(std::move(trimmed));
            name.clear();
            if (end || comment) break;
            continue;
        }
        name.append(value.substr(i, CharLength(value, i)));
    }
    return names;
}

void AddOnce(std::vector<std::string>& list, const std::string& item)
{
    if (std::find(list.begin(), list.end(), item) == list.end()) list.push_back(item);
}

}  // namespace

std::string StripComments(std::string_view text, bool* inCComment)
{
    std::string out;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size();) {
        if (inCComment && *inCComment) {
            const std::size_t end = text.find("*/", i);
            if (end == std::string_view::npos) break;
            *inCComment = false;
            out += ' ';
            i = end + 2;
            continue;
        }
        const std::string_view rest = text.substr(i);
        if (!quoted && (rest[0] == ';' || (inCComment && rest.starts_with("//")))) break;
        if (!quoted && inCComment && rest.starts_with("/*")) {
            *inCComment = true;
            i += 2;
            continue;
        }
        if (rest[0] == '"') quoted = !quoted;
        const std::size_t length = CharLength(text, i);
        out.append(text.substr(i, length));
        i += length;
    }
    return Trim(out);
}

std::string Unquoted(std::string_view text)
{
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
        return std::string(text.substr(1, text.size() - 2));
    return std::string(text);
}

std::string ContextKey(std::string_view context)
{
    return MbUpperAscii(context);
}

ProjectReader::ProjectReader(HelpProject& project) : m_project(project), m_folder(GetFolderOfPath(project.path))
{
    m_includeStack.push_back(project.path);
}

std::string ProjectReader::ShownName(std::string_view path) const
{
    return ShownPath(m_folder, path);
}

void ProjectReader::Problem(const std::string& source, const std::string& text)
{
    std::string line = source + ": " + text;
    if (m_said.insert(line).second) m_project.problems.push_back(std::move(line));
}

std::vector<std::string> ProjectReader::SearchFolders(std::string_view firstFolder) const
{
    return ProjectSearchFolders(firstFolder, m_folder, m_project.rootFolders);
}

void ProjectReader::ReadSections(const LineList& lines)
{
    m_lines = SectionLines(lines, ShownName(m_project.path));
    // Windows and start-up macros mean nothing to the conversion yet.
    for (const ProjectLine& line : m_lines) {
        LineList* kept = line.section == "WINDOWS"  ? &m_project.windows
                         : line.section == "CONFIG" ? &m_project.config
                                                    : nullptr;
        std::string text = StripComments(line.text, nullptr);
        if (kept && !text.empty()) kept->push_back(std::move(text));
    }
}

void ProjectReader::FindFolders(const std::vector<std::string>& names, const std::string& source, const char* key,
                                std::vector<std::string>& found)
{
    for (const std::string& name : names) {
        if (auto folder = FindNamedEntry(m_folder, name, EntryKind::Folder))
            AddOnce(found, *folder);
        else
            Problem(source, std::string(key) + ToCp932(" のフォルダ ") + name + ToCp932(" が見つかりません"));
    }
}

void ProjectReader::ReadOptions()
{
    std::vector<std::string> bitmapRoots;
    for (const ProjectLine& line : m_lines) {
        if (line.section != "OPTIONS") continue;
        std::string key;
        std::string_view value;
        if (!SplitKeyValue(line.text, key, value)) {
            Problem(line.source, ToCp932("読めない行です: ") + Trim(line.text));
            continue;
        }
        const std::string text = Unquoted(StripComments(value, nullptr));
        if (key == "TITLE") m_project.title = text;
        // INDEX is the first topic's name in the oldest compilers.
        if (key == "CONTENTS" || (key == "INDEX" && m_project.contentsTopic.empty())) m_project.contentsTopic = text;
        if (key == "CNT") {
            m_contentsName = text;
            m_contentsSource = line.source;
        }
        if (key == "HLP") m_helpFileName = m_project.helpFile = text;
        if (key == "ROOT") FindFolders(FolderNames(value), line.source, "ROOT", m_project.rootFolders);
        if (key == "BMROOT") FindFolders(FolderNames(value), line.source, "BMROOT", bitmapRoots);
    }
    m_project.bitmapFolders = bitmapRoots;
    for (const std::string& root : m_project.rootFolders) AddOnce(m_project.bitmapFolders, root);
    AddOnce(m_project.bitmapFolders, m_folder);
}

void ProjectReader::ReadFiles()
{
    for (const ProjectLine& line : m_lines) {
        if (line.section != "FILES") continue;
        const std::string name = Unquoted(StripComments(line.text, nullptr));
        if (name.empty()) continue;
        if (auto path = FindInFolders(SearchFolders(), name, EntryKind::File))
            AddOnce(m_project.manuscripts, *path);
        else
            Problem(line.source, ToCp932("原稿 ") + name + ToCp932(" が見つかりません"));
    }

    // The contents file: as CNT= names it, else the one WinHelp would look
    // for beside the help file, named like the project or the help file.
    if (!m_contentsName.empty()) {
        if (auto path = FindInFolders(SearchFolders(), m_contentsName, EntryKind::File))
            m_project.contentsFile = *path;
        else
            Problem(m_contentsSource, ToCp932("目次ファイル ") + m_contentsName + ToCp932(" が見つかりません"));
    }
    for (const std::string& named : {m_project.path, m_helpFileName}) {
        if (!m_project.contentsFile.empty() || named.empty()) break;
        const PathParts parts = SplitPath(named);
        if (auto path = FindNamedEntry(m_folder, parts.fname + ".cnt", EntryKind::File)) m_project.contentsFile = *path;
    }
}

void ProjectReader::ReadAliases()
{
    for (const ProjectLine& line : m_lines) {
        if (line.section != "ALIAS") continue;
        const std::string text = StripComments(line.text, nullptr);
        const std::size_t eq = MbFind(text, "=");
        std::string alias = eq == std::string::npos ? std::string() : Trim(std::string_view(text).substr(0, eq));
        std::string target = eq == std::string::npos ? std::string() : Trim(std::string_view(text).substr(eq + 1));
        if (text.empty()) continue;
        if (alias.empty() || target.empty())
            Problem(line.source, ToCp932("読めない行です: ") + text);
        else
            m_project.aliases.emplace_back(std::move(alias), std::move(target));
    }
}

std::optional<HelpProject> ReadHelpProject(const std::string& hpjPath, std::string& why)
{
    auto bytes = ReadFileBytes(hpjPath);
    if (!bytes) {
        why = hpjPath + ToCp932(FileExists(hpjPath) ? " を読めません" : " が見つかりません");
        return std::nullopt;
    }
    LineList raw;
    SplitTextLines(*bytes, raw);
    HelpProject project;
    project.path = hpjPath;
    project.codePage = ProjectCodePage(SectionLines(raw, hpjPath));
    LineList lines;
    if (!DecodeProjectText(*bytes, project.codePage, lines)) {
        why = hpjPath + ToCp932(" はテキストファイルではありません");
        return std::nullopt;
    }

    ProjectReader reader(project);
    reader.ReadSections(lines);
    reader.ReadOptions();
    reader.ReadFiles();
    reader.ReadAliases();
    reader.ReadContextIds();

    if (project.manuscripts.empty()) {
        why = hpjPath + ToCp932(" には見つかる原稿がありません ([FILES])");
        for (const std::string& problem : project.problems) why += "\n" + problem;
        return std::nullopt;
    }
    return project;
}

}  // namespace zavio
