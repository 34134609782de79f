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
    // Room is made once and filled in place; nothing is written twice. The
    // line break goes in a byte at a time, as a call to append two bytes
    // cost more than the bytes.
    text.reserve(total);
    for (const auto& line : lines) {
        text.append(line);
        text += '\r';
        text += '\n';
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
    // Room for every line at once: a view's lines end in CR LF.
    std::size_t breaks = 0;
    for (std::size_t lf = text.find('\n'); lf != std::string_view::npos; lf = text.find('\n', lf + 1)) ++breaks;
    lines.reserve(lines.size() + breaks + 1);
    ViewTextLines reader(text);
    for (std::string_view line; reader.Next(line);) lines.emplace_back(line);
}

ViewTextLines::ViewTextLines(std::string_view text)
    : m_text(text), m_nextCr(text.find('\r')), m_nextLf(text.find('\n')), m_nextZero(text.find('\0'))
{
}

bool ViewTextLines::Next(std::string_view& line)
{
    if (m_piecesGiven) {
        m_pieces.clear();
        m_piecesGiven = false;
    }
    // Runs of ordinary bytes are taken whole; only CR, LF and zero bytes need
    // a decision of their own.
    const std::size_t size = m_text.size();
    while (m_at < size) {
        const std::size_t i = m_at;
        if (m_nextCr < i) m_nextCr = m_text.find('\r', i);
        if (m_nextLf < i) m_nextLf = m_text.find('\n', i);
        if (m_nextZero < i) m_nextZero = m_text.find('\0', i);
        const std::size_t end = std::min({m_nextCr, m_nextLf, m_nextZero, size});
        const char c = end == size ? '\0' : m_text[end];
        // A whole line in one run, as nearly every line is, is the text
        // itself; the LF of its CR LF ends nothing more.
        if (m_pieces.empty() && (c == '\r' || c == '\n')) {
            m_at = end + 1;
            if (c == '\r' && m_at < size && m_text[m_at] == '\n') ++m_at;
            if (c == '\r' || end > i) {
                line = m_text.substr(i, end - i);
                return true;
            }
            continue;
        }
        m_pieces.append(m_text, i, end - i);
        m_at = end == size ? size : end + 1;
        // CR LF ends a line once; a bare LF on an empty line ends nothing.
        if (c == '\r' || (c == '\n' && !m_pieces.empty())) {
            line = m_pieces;
            m_piecesGiven = true;
            return true;
        }
    }
    if (m_pieces.empty()) return false;
    line = m_pieces;
    m_piecesGiven = true;
    return true;
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
