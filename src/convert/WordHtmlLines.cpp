#include "convert/WordHtmlLines.h"

#include "framework/Cp932.h"

namespace zavio {
namespace {

// The id that follows `marker` up to the next apostrophe; nullopt without the marker.
std::optional<std::string> NoteIdAfter(const std::string& anchor, std::string_view marker)
{
    std::size_t at = MbFind(anchor, marker);
    if (at == std::string::npos) return std::nullopt;
    at += marker.size();
    const std::size_t end = MbFind(anchor, "'", at);
    return anchor.substr(at, end == std::string::npos ? 0 : end - at);
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Whether `name`, which ends in "Section1", stands in the line as a whole:
// Word numbers later sections on, and Section10 begins with "Section1".
bool ContainsSection1Name(std::string_view line, std::string_view name)
{
    for (std::size_t at = MbFind(line, name); at != std::string_view::npos;) {
        const std::size_t end = at + name.size();
        if (end == line.size() || !IsDigit(line[end])) return true;
        at = MbFind(line, name, end);
    }
    return false;
}

// The loose form finds a div whose class comes after other attributes;
// `looseDiv` is how each test has always spelled that div, so no manuscript
// splits differently than it did.
bool NamesBodyDivision(std::string_view line, std::string_view looseDiv)
{
    // Each form names Section1: most lines are passed over with one search.
    if (line.find("Section1") == std::string_view::npos) return false;
    return ContainsSection1Name(line, "<div class=Section1") || ContainsSection1Name(line, "<div class=WordSection1") ||
           (MbContains(line, looseDiv) && ContainsSection1Name(line, "Section1"));
}

// Whether `what` stands at `at` once the blanks from there on are taken out.
bool MatchesSkippingBlanks(std::string_view line, std::size_t at, std::string_view what)
{
    std::size_t k = 0;
    for (std::size_t j = at; k < what.size(); ++j) {
        if (j == line.size()) return false;
        if (line[j] == ' ') continue;
        if (line[j] != what[k]) return false;
        ++k;
    }
    return true;
}

// Whether `what` ends right before `at` once the blanks before it are taken
// out; `start` then gets where it begins.
bool MatchesBackSkippingBlanks(std::string_view line, std::size_t at, std::string_view what, std::size_t& start)
{
    std::size_t j = at;
    for (std::size_t k = what.size(); k-- > 0;) {
        do {
            if (j == 0) return false;
            --j;
        } while (line[j] == ' ');
        if (line[j] != what[k]) return false;
    }
    start = j;
    return true;
}

// Whether the byte at `at` (not a blank) begins a character of the line with
// its blanks taken out: a lead byte takes the next byte that is not a blank
// as its trail, as it would in the shortened line.
bool StartsCharacterWithoutBlanks(std::string_view line, std::size_t at)
{
    bool trail = false;
    for (std::size_t i = 0; i < at; ++i) {
        if (line[i] == ' ') continue;
        trail = !trail && IsLeadByte(static_cast<unsigned char>(line[i]));
    }
    return !trail;
}

// Whether the line holds "page-break-before" anywhere. Word's tags are full
// of "p" (span, pt, padding): the name is looked for at its "k", which
// they seldom hold, and read around it.
bool HoldsPageBreakProperty(std::string_view line)
{
    static constexpr std::string_view kProperty = "page-break-before";
    static constexpr std::size_t kAt = kProperty.find('k');
    for (std::size_t k = line.find('k', kAt); k != std::string_view::npos; k = line.find('k', k + 1))
        if (line.compare(k - kAt, kProperty.size(), kProperty) == 0) return true;
    return false;
}

bool StartsWithTag(std::string_view line)
{
    return !line.empty() && line[0] == '<';
}

}  // namespace

bool ContainsWithoutBlanks(std::string_view line, std::string_view what)
{
    if (what.empty()) return true;
    // Without its blanks the line holds no blank.
    if (what.find(' ') != std::string_view::npos) return false;
    // Jump from one occurrence of a byte of `what` to the next: its first
    // colon when it has one, as the style values looked for do and as a tag
    // holds once per property, else its first byte. The character boundary
    // is worked out only for a match, which is rare.
    const std::size_t colon = what.find(':');
    const std::size_t anchor = colon == std::string_view::npos ? 0 : colon;
    for (std::size_t at = line.find(what[anchor]); at != std::string_view::npos; at = line.find(what[anchor], at + 1)) {
        std::size_t start = at;
        if (MatchesBackSkippingBlanks(line, at, what.substr(0, anchor), start) &&
            MatchesSkippingBlanks(line, at, what.substr(anchor)) && StartsCharacterWithoutBlanks(line, start))
            return true;
    }
    return false;
}

bool IsBodyStartLine(std::string_view line)
{
    return NamesBodyDivision(line, "div class");
}

bool IsBodyStartCopyLine(std::string_view line)
{
    return StartsWithTag(line) && NamesBodyDivision(line, "<div class=");
}

bool IsFirstPageLine(std::string_view line)
{
    return StartsWithTag(line) && NamesBodyDivision(line, "div class=");
}

bool IsPageBreakTag(std::string_view line)
{
    // Only a tag breaks a page. Word wraps a style value after ":" or ";",
    // never inside a property's name, so one search passes over every other tag.
    const std::size_t first = line.find_first_not_of(' ');
    if (first == std::string_view::npos || line[first] != '<') return false;
    if (!HoldsPageBreakProperty(line)) return false;
    // A section break goes on with its kind: "always;mso-break-type:section-break'".
    return ContainsWithoutBlanks(line, "page-break-before:always'") ||
           ContainsWithoutBlanks(line, "page-break-before:always;");
}

bool IsNoteAnchorTag(std::string_view tag)
{
    if (tag.size() < 3 || tag[0] != '<' || (tag[1] != 'a' && tag[1] != 'A')) return false;
    if (tag[2] != ' ' && tag[2] != '\t') return false;
    return ContainsWithoutBlanks(tag, "mso-footnote-id:") || ContainsWithoutBlanks(tag, "mso-endnote-id:");
}

bool InNoteReferenceAfter(std::string_view line, bool inside, std::string_view* anchor)
{
    // Only "<a ...>" and "</a>" change it; every other tag is passed over at
    // its "<" ("<" is never a trail byte). Most lines begin with their tag.
    const std::size_t first = !line.empty() && line[0] == '<' ? 0 : line.find('<');
    for (std::size_t open = first; open != std::string_view::npos; open = line.find('<', open + 1)) {
        const std::string_view rest = line.substr(open + 1);
        if (rest.size() >= 3 && rest[0] == '/' && (rest[1] == 'a' || rest[1] == 'A') && rest[2] == '>') {
            inside = false;
        } else if (!rest.empty() && (rest[0] == 'a' || rest[0] == 'A')) {
            const std::size_t close = line.find('>', open);
            const std::string_view tag = line.substr(open, close == std::string_view::npos ? close : close - open + 1);
            if (IsNoteAnchorTag(tag)) {
                inside = true;
                if (anchor) *anchor = tag;
            }
        }
    }
    return inside;
}

std::optional<std::string> NoteIdOfAnchor(std::string_view anchor)
{
    std::string stripped;
    stripped.reserve(anchor.size());
    for (char c : anchor)
        if (c != ' ') stripped += c;
    if (auto id = NoteIdAfter(stripped, "<astyle='mso-footnote-id:")) return id;
    return NoteIdAfter(stripped, "<astyle='mso-endnote-id:");
}

}  // namespace zavio
