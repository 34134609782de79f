#include "convert/TextStyles.h"

#include <optional>

#include "framework/Cp932.h"

namespace zavio {
namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

// The text with its ASCII letters lower-cased and its white space gone: how
// style values compare, as Word breaks them anywhere between properties.
// Made in `out`, whose room serves the next call too: every styled tag of a
// manuscript comes here.
std::string_view Compact(std::string_view text, std::string& out)
{
    out.clear();
    for (char c : text) {
        if (IsBlank(c)) continue;
        out += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return out;
}

std::string_view TrimBlanks(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    return MbEqualsIgnoringAsciiCase(a, b);
}

// Removes "/* ... */" comments and the "<!--" "-->" that hide a style sheet
// from old browsers.
std::string WithoutComments(std::string_view css)
{
    std::string out;
    out.reserve(css.size());
    for (std::size_t i = 0; i < css.size();) {
        if (css.compare(i, 2, "/*") == 0) {
            const std::size_t end = css.find("*/", i + 2);
            i = end == std::string_view::npos ? css.size() : end + 2;
        } else if (css.compare(i, 4, "<!--") == 0) {
            i += 4;
        } else if (css.compare(i, 3, "-->") == 0) {
            i += 3;
        } else {
            out += css[i++];
        }
    }
    return out;
}

// The class a selector names for inline text ("span.a", ".a"); empty for
// any other selector.
std::string_view ClassOfSelector(std::string_view selector)
{
    selector = TrimBlanks(selector);
    const std::size_t dot = selector.find('.');
    if (dot == std::string_view::npos) return {};
    const std::string_view element = selector.substr(0, dot);
    if (!element.empty() && !EqualsIgnoringCase(element, "span")) return {};
    std::string_view name = selector.substr(dot + 1);
    std::size_t end = 0;
    while (end < name.size() && !IsBlank(name[end]) && name[end] != ':' && name[end] != '.' && name[end] != '[') ++end;
    return name.substr(0, end);
}

void ReadRules(std::string_view css, CharacterStyles& styles)
{
    const std::string text = WithoutComments(css);
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t open = text.find('{', at);
        if (open == std::string::npos) return;
        const std::size_t close = text.find('}', open + 1);
        if (close == std::string::npos) return;
        const std::string_view selectors = std::string_view(text).substr(at, open - at);
        const TextStyle style = StyleOfDeclarations(std::string_view(text).substr(open + 1, close - open - 1));
        at = close + 1;
        if (TrimBlanks(selectors).starts_with("@")) continue;  // fonts and pages
        for (std::size_t from = 0; from <= selectors.size();) {
            std::size_t comma = selectors.find(',', from);
            if (comma == std::string_view::npos) comma = selectors.size();
            const std::string_view name = ClassOfSelector(selectors.substr(from, comma - from));
            if (!name.empty()) styles[std::string(name)].Add(style);
            from = comma + 1;
        }
    }
}

// The values of a tag's "style" and "class" attributes, quoted or not,
// read in one pass; nullopt for one the tag lacks.
void StyleAndClassOf(std::string_view tag, std::optional<std::string_view>& style,
                     std::optional<std::string_view>& classes)
{
    std::size_t i = tag.find_first_of(" \t\r\n>");
    while (i != std::string_view::npos && i < tag.size()) {
        while (i < tag.size() && IsBlank(tag[i])) ++i;
        const std::size_t nameStart = i;
        while (i < tag.size() && !IsBlank(tag[i]) && tag[i] != '=' && tag[i] != '>') ++i;
        const std::string_view attribute = tag.substr(nameStart, i - nameStart);
        while (i < tag.size() && IsBlank(tag[i])) ++i;
        std::string_view value;
        if (i < tag.size() && tag[i] == '=') {
            ++i;
            while (i < tag.size() && IsBlank(tag[i])) ++i;
            if (i < tag.size() && (tag[i] == '\'' || tag[i] == '"')) {
                const char quote = tag[i++];
                const std::size_t end = tag.find(quote, i);
                value = tag.substr(i, (end == std::string_view::npos ? tag.size() : end) - i);
                i = end == std::string_view::npos ? tag.size() : end + 1;
            } else {
                const std::size_t start = i;
                while (i < tag.size() && !IsBlank(tag[i]) && tag[i] != '>') ++i;
                value = tag.substr(start, i - start);
            }
        }
        if (attribute.empty()) {
            if (i < tag.size()) ++i;  // a stray byte
            continue;
        }
        // The first of each counts, as a browser takes it.
        if (!style && EqualsIgnoringCase(attribute, "style")) style = value;
        if (!classes && EqualsIgnoringCase(attribute, "class")) classes = value;
    }
}

}  // namespace

TextStyle StyleOfDeclarations(std::string_view declarations)
{
    thread_local std::string compacted;
    const std::string_view d = Compact(declarations, compacted);
    TextStyle style;
    style.jump =
        d.find("text-underline:double") != std::string_view::npos || d.find("line-through") != std::string_view::npos;
    style.popup = !style.jump && (d.find("text-underline:single") != std::string_view::npos ||
                                  d.find("text-decoration:underline") != std::string_view::npos);
    style.hidden = d.find("display:none") != std::string_view::npos;
    return style;
}

CharacterStyles ReadCharacterStyles(const LineList& header)
{
    std::string head;
    for (const std::string& line : header) head.append(line).append("\n");
    const std::string lower = MbLowerAscii(head);
    CharacterStyles styles;
    for (std::size_t at = lower.find("<style"); at != std::string::npos; at = lower.find("<style", at + 1)) {
        const std::size_t start = lower.find('>', at);
        if (start == std::string::npos) break;
        std::size_t end = lower.find("</style", start);
        if (end == std::string::npos) end = lower.size();
        ReadRules(std::string_view(head).substr(start + 1, end - start - 1), styles);
        at = end;
    }
    return styles;
}

TextStyle StyleOfTag(std::string_view tag, const CharacterStyles& classes)
{
    TextStyle style;
    std::size_t nameEnd = 1;
    while (nameEnd < tag.size() && !IsBlank(tag[nameEnd]) && tag[nameEnd] != '>' && tag[nameEnd] != '/') ++nameEnd;
    const std::string_view element = tag.substr(1, nameEnd - 1);
    if (EqualsIgnoringCase(element, "u")) style.popup = true;
    if (EqualsIgnoringCase(element, "s") || EqualsIgnoringCase(element, "strike")) style.jump = true;
    std::optional<std::string_view> declarations, names;
    StyleAndClassOf(tag, declarations, names);
    if (declarations) {
        const TextStyle own = StyleOfDeclarations(*declarations);
        style.Add(own);
        if (own.jump) style.popup = false;
    }
    if (names) {
        std::string_view rest = *names;
        while (!rest.empty()) {
            rest = TrimBlanks(rest);
            std::size_t end = 0;
            while (end < rest.size() && !IsBlank(rest[end])) ++end;
            auto found = classes.find(std::string(rest.substr(0, end)));
            if (found != classes.end()) style.Add(found->second);
            rest.remove_prefix(end);
        }
    }
    if (style.jump) style.popup = false;
    return style;
}

}  // namespace zavio
