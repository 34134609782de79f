// A project's contents file with the contents files it includes.
#include <algorithm>
#include <set>

#include "framework/Cp932.h"
#include "framework/Path.h"
#include "project/HelpProject.h"
#include "project/ProjectFiles.h"

namespace zavio {
namespace {

// Deeper than any real contents file nests; it bounds the recursion.
constexpr std::size_t kMaxIncludeDepth = 32;

// ":Include other.cnt": the name of the file, else empty.
std::string IncludedContentsName(std::string_view line)
{
    static constexpr std::string_view kInclude = ":include";
    const std::string_view text = TrimLeftView(line);
    if (text.size() <= kInclude.size() || MbLowerAscii(text.substr(0, kInclude.size())) != kInclude) return {};
    const std::string_view rest = text.substr(kInclude.size());
    if (!IsAsciiSpace(static_cast<unsigned char>(rest[0]))) return {};
    return Trim(rest);
}

class ContentsReader {
public:
    ContentsReader(const HelpProject& project, LineList& problems)
        : m_project(project), m_folder(GetFolderOfPath(project.path)), m_problems(problems)
    {
    }

    // The lines of `path` into `out`, its inclusions replaced.
    void Append(const std::string& path, LineList& lines, LineList& out)
    {
        m_read.insert(path);
        m_stack.push_back(path);
        const std::string shown = ShownPath(m_folder, path);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const std::string name = IncludedContentsName(lines[i]);
            LineList included;
            const std::optional<std::string> found =
                name.empty() ? std::nullopt : Include(name, path, shown + ":" + std::to_string(i + 1), included);
            if (found)
                Append(*found, included, out);
            else
                out.push_back(std::move(lines[i]));
        }
        m_stack.pop_back();
    }

    void Problem(std::string text)
    {
        if (m_said.insert(text).second) m_problems.push_back(std::move(text));
    }

private:
    // The file an ":Include" names and its lines, when it is to be included.
    std::optional<std::string> Include(const std::string& name, const std::string& includer, const std::string& source,
                                       LineList& lines)
    {
        const auto path = FindInFolders(
            ProjectSearchFolders(GetFolderOfPath(includer), m_folder, m_project.rootFolders), name, EntryKind::File);
        const char* fault = nullptr;
        if (!path)
            fault = " が見つかりません";
        else if (std::find(m_stack.begin(), m_stack.end(), *path) != m_stack.end())
            fault = " のインクルードが循環しています";
        // A file's entries once: a second inclusion would only repeat them,
        // and inclusions in inclusions could repeat them without bound.
        else if (m_read.count(*path))
            fault = " は既にインクルードされています";
        else if (m_stack.size() > kMaxIncludeDepth)
            fault = " はインクルードの入れ子が深すぎます";
        else if (const TextReadResult read = ReadProjectText(*path, m_project.codePage, lines);
                 read != TextReadResult::Read)
            fault = read == TextReadResult::NotText ? " はテキストファイルではありません" : " を読めません";
        if (!fault) return path;
        Problem(source + ": " + name + ToCp932(fault));
        return std::nullopt;
    }

    const HelpProject& m_project;
    const std::string m_folder;
    LineList& m_problems;
    std::set<std::string> m_said;
    std::set<std::string> m_read;
    std::vector<std::string> m_stack;
};

}  // namespace

LineList ReadProjectContents(const HelpProject& project, LineList& problems)
{
    LineList out;
    if (project.contentsFile.empty()) return out;
    ContentsReader reader(project, problems);
    LineList lines;
    const TextReadResult read = ReadProjectText(project.contentsFile, project.codePage, lines);
    if (read != TextReadResult::Read) {
        reader.Problem(project.contentsFile + ToCp932(read == TextReadResult::NotText
                                                          ? " はテキストファイルではありません"
                                                          : " を読めません"));
        return out;
    }
    reader.Append(project.contentsFile, lines, out);
    return out;
}

}  // namespace zavio
