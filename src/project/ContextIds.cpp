// The context ids of a project: its [MAP] lines and the C headers they
// include, read as the help compiler read them.
#include <algorithm>
#include <charconv>

#include "framework/Cp932.h"
#include "framework/Path.h"
#include "project/ProjectFiles.h"
#include "project/ProjectReader.h"

namespace zavio {
namespace {

// Deeper than any real project nests its headers; it only stops a chain of
// links that makes every path new.
constexpr std::size_t kMaxIncludeDepth = 32;

// The first word of `text` (up to a blank or a tab), and what follows it.
std::string_view TakeWord(std::string_view& text)
{
    std::size_t end = 0;
    while (end < text.size() && text[end] != ' ' && text[end] != '\t') ++end;
    const std::string_view word = text.substr(0, end);
    text = TrimLeftView(text.substr(end));
    return word;
}

enum class NumberRead { Number, NotANumber, TooLarge };

// A context number as the help compiler takes it: decimal or C hexadecimal
// ("0x3EA"), fitting the 32 bits WinHelp passes.
NumberRead ReadContextNumber(std::string_view text, unsigned long& value)
{
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    unsigned long long parsed = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed, base);
    if (text.empty() || end != text.data() + text.size()) return NumberRead::NotANumber;
    if (error == std::errc::result_out_of_range || parsed > 0xFFFFFFFFull) return NumberRead::TooLarge;
    if (error != std::errc()) return NumberRead::NotANumber;
    value = static_cast<unsigned long>(parsed);
    return NumberRead::Number;
}

// The file an #include names: <file.h>, "file.h" or file.h.
std::string_view IncludedName(std::string_view operand)
{
    operand = TrimLeftView(operand);
    if (!operand.empty() && (operand[0] == '<' || operand[0] == '"')) {
        const std::string_view close = operand[0] == '<' ? ">" : "\"";
        const std::size_t end = MbFind(operand, close, 1);
        return operand.substr(1, end == std::string_view::npos ? std::string_view::npos : end - 1);
    }
    return TakeWord(operand);
}

}  // namespace

void ProjectReader::ReadContextIds()
{
    bool inComment = false;
    for (const ProjectLine& line : m_lines) {
        if (line.section == "MAP") ReadMapLine(line.text, line.source, m_folder, false, inComment);
    }
}

// Project lines and header lines take the same forms: "#define NAME NUMBER",
// "NAME NUMBER", "NAME=NUMBER" and #include. A header is C, so what it holds
// besides is passed over; in the project such a line is a fault.
void ProjectReader::ReadMapLine(std::string_view raw, const std::string& source, const std::string& folder,
                                bool inHeader, bool& inComment)
{
    const std::string text = StripComments(raw, &inComment);
    if (text.empty()) return;
    std::string_view rest = text;
    if (rest[0] == '#') {
        rest = TrimLeftView(rest.substr(1));
        const std::string directive = MbLowerAscii(TakeWord(rest));
        if (directive == "include") IncludeHeader(rest, folder, source);
        if (directive != "define") return;
        const std::string_view name = TakeWord(rest);
        // A header's guard macros have no number.
        if (!rest.empty())
            AddId(name, rest, source, inHeader);
        else if (!inHeader)
            Problem(source, ToCp932("番号のない行です: ") + text);
        return;
    }
    std::string_view name;
    const std::size_t eq = MbFind(rest, "=");
    if (eq != std::string_view::npos) {
        name = TrimRightView(rest.substr(0, eq));
        rest = TrimLeftView(rest.substr(eq + 1));
    } else {
        name = TakeWord(rest);
    }
    if (!name.empty() && !rest.empty())
        AddId(name, rest, source, inHeader);
    else if (!inHeader)
        Problem(source, ToCp932("読めない行です: ") + text);
}

void ProjectReader::AddId(std::string_view context, std::string_view number, const std::string& source, bool inHeader)
{
    unsigned long value = 0;
    const NumberRead read = ReadContextNumber(number, value);
    if (read == NumberRead::NotANumber) {
        if (!inHeader)
            Problem(source,
                    std::string(context) + ToCp932(" の番号 ") + std::string(number) + ToCp932(" は数ではありません"));
        return;
    }
    if (read == NumberRead::TooLarge) {
        Problem(source, std::string(context) + ToCp932(" の番号 ") + std::string(number) + ToCp932(" は大きすぎます"));
        return;
    }

    std::vector<ContextId>& ids = m_project.ids;
    const auto known = m_idOfContext.find(ContextKey(context));
    if (known != m_idOfContext.end()) {
        const ContextId& first = ids[known->second];
        if (first.value != value) {
            Problem(source, std::string(context) + ToCp932(" の番号が二つあります: ") + std::string(number) +
                                ToCp932(" と ") + first.number + " (" + first.source +
                                ToCp932(")。初めの番号を使います"));
        }
        return;
    }
    const auto sameNumber = m_idOfValue.find(value);
    if (sameNumber != m_idOfValue.end()) {
        const ContextId& first = ids[sameNumber->second];
        Problem(source, ToCp932("番号 ") + std::string(number) + ToCp932(" が ") + first.context + " (" + first.source +
                            ToCp932(") と ") + std::string(context) + ToCp932(" の二つに付いています"));
    } else {
        m_idOfValue.emplace(value, ids.size());
    }
    m_idOfContext.emplace(ContextKey(context), ids.size());
    ids.push_back({std::string(context), std::string(number), value, source});
}

void ProjectReader::IncludeHeader(std::string_view operand, const std::string& includer, const std::string& source)
{
    const std::string name(IncludedName(operand));
    if (name.empty()) {
        Problem(source, ToCp932("#include にファイル名がありません"));
        return;
    }
    const auto path = FindInFolders(SearchFolders(includer), name, EntryKind::File);
    if (!path) {
        Problem(source, ToCp932("インクルードファイル ") + name + ToCp932(" が見つかりません"));
        return;
    }
    if (std::find(m_includeStack.begin(), m_includeStack.end(), *path) != m_includeStack.end()) {
        Problem(source, name + ToCp932(" のインクルードが循環しています"));
        return;
    }
    // A header read once gives nothing new the second time.
    if (std::find(m_project.includes.begin(), m_project.includes.end(), *path) != m_project.includes.end()) return;
    if (m_includeStack.size() > kMaxIncludeDepth) {
        Problem(source, ToCp932("インクルードの入れ子が深すぎます: ") + name);
        return;
    }
    LineList lines;
    const TextReadResult read = ReadProjectText(*path, m_project.codePage, lines);
    if (read != TextReadResult::Read) {
        Problem(source, name + ToCp932(read == TextReadResult::NotText ? " はテキストファイルではありません"
                                                                       : " を読めません"));
        return;
    }

    m_project.includes.push_back(*path);
    m_includeStack.push_back(*path);
    const std::string shown = ShownName(*path);
    const std::string folder = GetFolderOfPath(*path);
    bool inComment = false;
    for (std::size_t i = 0; i < lines.size(); ++i)
        ReadMapLine(lines[i], shown + ":" + std::to_string(i + 1), folder, true, inComment);
    m_includeStack.pop_back();
}

}  // namespace zavio
