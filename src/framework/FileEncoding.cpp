#include "framework/FileEncoding.h"

namespace zavio {
namespace {

// Finds `what` (lower-case ASCII) with ASCII letters compared in either case.
// The declarations looked for stand in a Web page's ASCII head; a match
// beginning on a trail byte would need a double-byte character followed by the
// rest of an ASCII keyword.
std::size_t FindIgnoringCase(std::string_view text, std::string_view what, std::size_t from = 0)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    for (std::size_t at = from; at + what.size() <= text.size(); ++at) {
        std::size_t k = 0;
        while (k < what.size() && lower(text[at + k]) == what[k]) ++k;
        if (k == what.size()) return at;
    }
    return std::string_view::npos;
}

}  // namespace

std::size_t FindUtf8CharsetValue(std::string_view line)
{
    for (std::size_t at = FindIgnoringCase(line, "charset="); at != std::string_view::npos;
         at = FindIgnoringCase(line, "charset=", at + 1)) {
        std::size_t value = at + 8;
        if (value < line.size() && (line[value] == '"' || line[value] == '\'')) ++value;
        if (FindIgnoringCase(line.substr(value, 5), "utf-8") == 0) return value;
    }
    return std::string_view::npos;
}

TextEncoding DetectFileEncoding(std::string_view text, bool webPage)
{
    if (text.substr(0, 3) == "\xEF\xBB\xBF") return TextEncoding::Utf8;
    if (!webPage) return TextEncoding::Cp932;
    // The declaration stands in the head, before the body starts: its lines
    // are read as far as that, as a text file's lines are.
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t lf = text.find('\n', start);
        std::string_view line = text.substr(start, lf == std::string_view::npos ? lf : lf - start);
        if (lf != std::string_view::npos && !line.empty() && line.back() == '\r') line.remove_suffix(1);
        start = lf == std::string_view::npos ? text.size() : lf + 1;
        if (FindIgnoringCase(line, "<body") != std::string_view::npos) break;
        if (FindIgnoringCase(line, "<meta") != std::string_view::npos &&
            FindUtf8CharsetValue(line) != std::string_view::npos)
            return TextEncoding::Utf8;
    }
    return TextEncoding::Cp932;
}

}  // namespace zavio
