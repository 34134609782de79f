#include "framework/TextFile.h"

#include <algorithm>

#include "framework/Cp932.h"
#include "framework/FileSystem.h"

namespace zavio {

void SplitTextLines(std::string_view bytes, LineList& lines)
{
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t lf = bytes.find('\n', start);
        if (lf == std::string_view::npos) {
            lines.emplace_back(bytes.substr(start));
            return;
        }
        std::size_t end = (lf > start && bytes[lf - 1] == '\r') ? lf - 1 : lf;
        lines.emplace_back(bytes.substr(start, end - start));
        start = lf + 1;
    }
}

bool ReadTextLines(std::string_view path, LineList& lines)
{
    auto bytes = ReadFileBytes(path);
    if (!bytes) return false;
    SplitTextLines(*bytes, lines);
    return true;
}

std::string JoinTextLines(const LineList& lines, std::size_t spare)
{
    std::string out;
    std::size_t total = spare;
    for (const auto& line : lines) total += line.size() + 2;
    out.reserve(total);
    AppendJoinedLines(out, lines);
    return out;
}

void AppendJoinedLines(std::string& text, const LineList& lines)
{
    std::size_t total = text.size();
    for (const auto& line : lines) total += line.size() + 2;
    // Room is made once and filled in place; nothing is written twice.
    text.reserve(total);
    for (const auto& line : lines) {
        text.append(line);
        text.append("\r\n", 2);
    }
}

std::string CrLfText(std::string bytes)
{
    // A bare LF anywhere needs a CR put in front: the text is made anew.
    for (std::size_t lf = bytes.find('\n'); lf != std::string::npos; lf = bytes.find('\n', lf + 1)) {
        if (lf == 0 || bytes[lf - 1] != '\r') {
            LineList lines;
            SplitTextLines(bytes, lines);
            return JoinTextLines(lines);
        }
    }
    // A last line without its line break gets one.
    if (!bytes.empty() && bytes.back() != '\n') bytes.append("\r\n", 2);
    return bytes;
}

void SplitViewText(std::string_view text, LineList& lines)
{
    // Runs of ordinary bytes are taken whole; only CR, LF and zero bytes need
    // a decision of their own.
    std::string line;
    const std::size_t size = text.size();
    // Where the next CR, LF and zero byte stand; each is looked for again
    // only once it has been passed.
    std::size_t nextCr = text.find('\r'), nextLf = text.find('\n'), nextZero = text.find('\0');
    for (std::size_t i = 0; i < size;) {
        if (nextCr < i) nextCr = text.find('\r', i);
        if (nextLf < i) nextLf = text.find('\n', i);
        if (nextZero < i) nextZero = text.find('\0', i);
        const std::size_t end = std::min({nextCr, nextLf, nextZero, size});
        const char c = end == size ? '\0' : text[end];
        // A whole line in one run, as nearly every line is, is made in place.
        if (line.empty() && end > i && (c == '\r' || c == '\n')) {
            lines.emplace_back(text, i, end - i);
            i = end + 1;
            continue;
        }
        line.append(text, i, end - i);
        if (end == size) break;
        i = end + 1;
        // CR LF ends a line once; a bare LF on an empty line ends nothing.
        if (c == '\r' || (c == '\n' && !line.empty())) {
            lines.push_back(std::move(line));
            line.clear();
        }
    }
    if (!line.empty()) lines.push_back(std::move(line));
}

void Utf8LinesToCp932(LineList& lines, std::size_t first)
{
    static constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (first < lines.size() && std::string_view(lines[first]).substr(0, 3) == kByteOrderMark)
        lines[first].erase(0, kByteOrderMark.size());
    for (std::size_t i = first; i < lines.size(); ++i) lines[i] = Utf8ToCp932WithReferences(lines[i]);
}

bool WriteTextLines(std::string_view path, const LineList& lines)
{
    return WriteFileBytes(path, JoinTextLines(lines));
}

}  // namespace zavio
