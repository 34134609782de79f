#include "convert/HtmlText.h"

#include <optional>

#include "framework/Cp932.h"

namespace zavio {
namespace {

enum class ReferenceKind { None, Decoded, Kept };

struct Reference {
    ReferenceKind kind = ReferenceKind::None;
    std::size_t length = 0;  // from "&" to ";" included
    std::string text;        // what a decoded reference stands for
};

bool IsAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsAsciiDigit(char c)
{
    return c >= '0' && c <= '9';
}
int HexValue(char c)
{
    if (IsAsciiDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::optional<std::string> NamedCharacter(std::string_view name)
{
    if (name == "amp") return "&";
    if (name == "lt") return "<";
    if (name == "gt") return ">";
    if (name == "quot") return "\"";
    if (name == "apos") return "'";
    if (name == "nbsp") return " ";
    return std::nullopt;
}

// "&#NNN;" or "&#xHHH;" at `at` (which holds "&#"); its code point, or none.
std::optional<char32_t> NumericReference(std::string_view s, std::size_t at, std::size_t& length)
{
    std::size_t i = at + 2;
    const bool hex = i < s.size() && (s[i] == 'x' || s[i] == 'X');
    if (hex) ++i;
    const std::size_t digits = i;
    char32_t value = 0;
    for (; i < s.size() && i - digits < 8; ++i) {
        const int d = hex ? HexValue(s[i]) : (IsAsciiDigit(s[i]) ? s[i] - '0' : -1);
        if (d < 0) break;
        value = value * (hex ? 16 : 10) + static_cast<char32_t>(d);
    }
    if (i == digits || i >= s.size() || s[i] != ';') return std::nullopt;
    length = i + 1 - at;
    return value;
}

// The reference that begins at `at` (an "&"), and what decoding makes of it.
Reference ReadReference(std::string_view s, std::size_t at)
{
    Reference ref;
    if (at + 1 < s.size() && s[at + 1] == '#') {
        std::size_t length = 0;
        const std::optional<char32_t> cp = NumericReference(s, at, length);
        if (!cp) return ref;
        ref.length = length;
        std::optional<std::string> bytes = *cp == 0xA0 ? std::optional<std::string>(" ") : std::nullopt;
        if (!bytes && *cp != 0) bytes = CodePointToCp932(*cp);
        ref.kind = bytes ? ReferenceKind::Decoded : ReferenceKind::Kept;
        if (bytes) ref.text = std::move(*bytes);
        return ref;
    }
    std::size_t i = at + 1;
    while (i < s.size() && i - at <= 32 && (IsAsciiLetter(s[i]) || (i > at + 1 && IsAsciiDigit(s[i])))) ++i;
    if (i == at + 1 || i >= s.size() || s[i] != ';') return ref;
    ref.length = i + 1 - at;
    std::optional<std::string> named = NamedCharacter(s.substr(at + 1, i - at - 1));
    ref.kind = named ? ReferenceKind::Decoded : ReferenceKind::Kept;
    if (named) ref.text = std::move(*named);
    return ref;
}

void AppendEscaped(std::string& out, std::string_view text, bool attribute)
{
    // None of "&<>\"" is ever a trail byte (trail bytes are 0x40 and above),
    // so the text is read byte by byte; the bytes between them go whole.
    const auto special = [attribute](char c) { return c == '&' || c == '<' || c == '>' || (c == '"' && attribute); };
    for (std::size_t i = 0; i < text.size();) {
        std::size_t end = i;
        while (end < text.size() && !special(text[end])) ++end;
        out.append(text, i, end - i);
        if (end == text.size()) return;
        const char c = text[end];
        if (c == '&') {
            out += ReadReference(text, end).kind == ReferenceKind::Kept ? "&" : "&amp;";
        } else if (c == '<') {
            out += "&lt;";
        } else if (c == '>') {
            out += "&gt;";
        } else {
            out += "&quot;";
        }
        i = end + 1;
    }
}

}  // namespace

std::string DecodeCharacterReferences(std::string_view html)
{
    if (html.find('&') == std::string_view::npos) return std::string(html);
    std::string out;
    out.reserve(html.size());
    for (std::size_t i = 0; i < html.size();) {
        const std::size_t amp = html.find('&', i);
        out.append(html.substr(i, amp == std::string_view::npos ? amp : amp - i));
        if (amp == std::string_view::npos) break;
        const Reference ref = ReadReference(html, amp);
        if (ref.kind == ReferenceKind::Decoded) {
            out += ref.text;
            i = amp + ref.length;
        } else {
            out += '&';
            i = amp + 1;
        }
    }
    return out;
}

std::string EscapeHtmlText(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    AppendEscaped(out, text, false);
    return out;
}

void AppendEscapedHtmlText(std::string& out, std::string_view text)
{
    AppendEscaped(out, text, false);
}

void AppendEscapedHtmlAttribute(std::string& out, std::string_view text)
{
    AppendEscaped(out, text, true);
}

std::string EscapeHtmlAttribute(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    AppendEscaped(out, text, true);
    return out;
}

}  // namespace zavio
