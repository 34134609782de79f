#include "framework/TextFile.h"

#include <algorithm>

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
    std::size_t total = spare;
    for (const auto& line : lines) total += line.size() + 2;
    // Room is made once and filled in place; nothing is written twice.
    std::string out;
    out.reserve(total);
    for (const auto& line : lines) {
        out.append(line);
        out.append("\r\n", 2);
    }
    return out;
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

bool WriteTextLines(std::string_view path, const LineList& lines)
{
    return WriteFileBytes(path, JoinTextLines(lines));
}

}  // namespace zavio
