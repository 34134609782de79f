#include "convert/WordHtmlLines.h"

#include <string>

#include "framework/Cp932.h"

namespace zavio {
namespace {

// The loose form finds a div whose class comes after other attributes;
// `looseDiv` is how each test has always spelled that div, so no manuscript
// splits differently than it did.
bool NamesBodyDivision(std::string_view line, std::string_view looseDiv)
{
    return MbContains(line, "<div class=Section1") || MbContains(line, "<div class=WordSection1") ||
           (MbContains(line, looseDiv) && MbContains(line, "Section1"));
}

bool StartsWithTag(std::string_view line)
{
    return !line.empty() && line[0] == '<';
}

}  // namespace

bool ContainsWithoutBlanks(std::string_view line, std::string_view what)
{
    // A blank is never a trail byte, so removing blanks keeps every character
    // whole; lines without a blank are searched as they are.
    if (line.find(' ') == std::string_view::npos) return MbContains(line, what);
    std::string stripped;
    stripped.reserve(line.size());
    for (char c : line)
        if (c != ' ') stripped += c;
    return MbContains(stripped, what);
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
