#include "convert/WordHtmlLines.h"

#include "framework/Cp932.h"

namespace zavio {
namespace {

// The loose form finds a div whose class comes after other attributes;
// `looseDiv` is how each test has always spelled that div, so no manuscript
// splits differently than it did.
bool NamesBodyDivision(std::string_view line, std::string_view looseDiv)
{
    // Each form names Section1: most lines are passed over with one search.
    if (line.find("Section1") == std::string_view::npos) return false;
    return MbContains(line, "<div class=Section1") || MbContains(line, "<div class=WordSection1") ||
           (MbContains(line, looseDiv) && MbContains(line, "Section1"));
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

bool StartsWithTag(std::string_view line)
{
    return !line.empty() && line[0] == '<';
}

}  // namespace

bool ContainsWithoutBlanks(std::string_view line, std::string_view what)
{
    if (line.find(' ') == std::string_view::npos) return MbContains(line, what);
    if (what.empty()) return true;
    if (what.find(' ') != std::string_view::npos) return false;
    // Jump from one occurrence of the first byte to the next; the character
    // boundary is worked out only for a match, which is rare.
    for (std::size_t at = line.find(what[0]); at != std::string_view::npos; at = line.find(what[0], at + 1))
        if (MatchesSkippingBlanks(line, at, what) && StartsCharacterWithoutBlanks(line, at)) return true;
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

}  // namespace zavio
