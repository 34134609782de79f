// Reducing Word's style sheet to its normal paragraph style. Copied into small
// pages, Word's font, heading and page rules make them look wrong (line
// spacing far too wide), so only the rule of p.MsoNormal stays. Word 2002 and
// later add list definitions after the section rules and a second, Word-only
// style sheet after the first: both go as well, so the head that remains has
// the same shape whatever Word wrote it.
#include "convert/HeaderSimplification.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

#include "convert/ConversionState.h"
#include "framework/Cp932.h"

namespace zavio {

namespace {

constexpr std::string_view kFontDefinitions = "/* Font Definitions */";
constexpr std::string_view kStyleDefinitions = "/* Style Definitions */";
constexpr std::string_view kNormalSelector = "p.MsoNormal";
constexpr std::string_view kListDefinitions = "/* List Definitions */";

// Word lists the rule's selectors, then its body lines, each indented by a tab.
constexpr std::size_t kNormalRuleLookahead = 19;

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The body of a section's rule, "{page:Section1;}" or "{page:WordSection2;}":
// Word's style sheet ends with its sections' rules.
bool IsSectionRule(const std::string& line)
{
    static constexpr std::string_view kPage = "{page:";
    for (std::size_t at = MbFind(line, kPage); at != std::string::npos; at = MbFind(line, kPage, at + 1)) {
        std::size_t i = at + kPage.size();
        if (line.compare(i, 4, "Word") == 0) i += 4;
        if (line.compare(i, 7, "Section") != 0) continue;
        i += 7;
        const std::size_t digits = i;
        while (i < line.size() && IsDigit(line[i])) ++i;
        if (i > digits && line.compare(i, 2, ";}") == 0) return true;
    }
    return false;
}

// Word 2002 and later write a second style sheet for Word alone after the
// first: "<!--[if gte mso 10]>", "<style>", its rules, "</style>",
// "<![endif]-->". The whole conditional block goes (never the first line).
void SetAsideWordOnlyStyleSheets(const LineList& header, std::vector<bool>& removed)
{
    for (std::size_t j = 1; j < header.size(); ++j) {
        if (!MbContains(header[j], "<!--[if gte mso")) continue;
        std::size_t end = j;
        bool style = false;
        for (; end < header.size(); ++end) {
            style = style || MbContains(header[end], "<style");
            if (MbContains(header[end], "<![endif]-->")) break;
        }
        if (end == header.size()) return;  // never closed: left as it is
        if (style) std::fill(removed.begin() + static_cast<std::ptrdiff_t>(j), removed.begin() + end + 1, true);
        j = end;
    }
}

// Word 2002 and later follow the last section rule with its list
// definitions, up to the end of the style sheet's comment: they go with the
// rules above them.
void SetAsideListDefinitions(const LineList& header, std::vector<bool>& removed)
{
    std::size_t last = header.size();
    for (std::size_t j = header.size(); j-- > 1;) {
        if (IsSectionRule(header[j])) {
            last = j;
            break;
        }
    }
    if (last == header.size()) return;
    std::size_t j = last + 1;
    while (j < header.size() && Trim(header[j]).empty()) ++j;
    if (j == header.size() || !MbContains(header[j], kListDefinitions)) return;
    std::size_t end = j;
    while (end < header.size() && !MbContains(header[end], "-->") && !MbContains(header[end], "</style>")) ++end;
    if (end == header.size()) return;
    std::fill(removed.begin() + static_cast<std::ptrdiff_t>(last + 1), removed.begin() + end, true);
}

bool BelongsToNormalRule(const std::string& line)
{
    return MbContains(line, kNormalSelector) || (!line.empty() && line[0] == '\t');
}

// Index of the first line after the MsoNormal rule (the selector of the next
// rule), or 0 when no style comment is followed by such a line soon enough.
std::size_t FindEndOfNormalRule(const LineList& header)
{
    for (std::size_t i = 0; i < header.size(); ++i) {
        if (!MbContains(header[i], kStyleDefinitions)) continue;
        const std::size_t last = std::min(header.size() - 1, i + kNormalRuleLookahead);
        for (std::size_t j = i + 1; j <= last; ++j)
            if (!BelongsToNormalRule(header[j])) return j;
    }
    return 0;
}

}  // namespace

void SimplifyHeader(CConversionState& run)
{
    LineList& header = run.m_saHeaderLines;
    if (header.size() < 2) return;
    const std::size_t endOfNormalRule = FindEndOfNormalRule(header);

    // Read from the bottom: the section's rules go up to the end of the normal
    // rule, which stays with its style comment; the font definitions above go.
    enum class State { Keep, Remove, EndOfRules, StyleComment };
    State state = State::Keep;
    std::vector<bool> removed(header.size(), false);
    SetAsideWordOnlyStyleSheets(header, removed);
    SetAsideListDefinitions(header, removed);
    for (std::size_t j = header.size() - 1; j >= 1; --j) {
        if (removed[j]) continue;  // already set aside: it changes nothing below
        const std::string& line = header[j];
        if (IsSectionRule(line)) state = State::Remove;
        if (j == endOfNormalRule && state == State::Remove) state = State::EndOfRules;
        if (MbContains(line, kStyleDefinitions) && state == State::Keep) state = State::StyleComment;

        if (MbContains(line, kFontDefinitions)) {
            removed[j] = true;
            state = State::Keep;
            continue;
        }
        switch (state) {
            case State::Remove:
                removed[j] = true;
                break;
            case State::EndOfRules:
                removed[j] = true;
                state = State::Keep;
                break;
            case State::StyleComment:
                state = State::Remove;
                break;
            case State::Keep:
                break;
        }
    }

    // One compaction instead of a removal per line.
    std::size_t kept = 0;
    for (std::size_t j = 0; j < header.size(); ++j) {
        if (removed[j]) continue;
        if (kept != j) header[kept] = std::move(header[j]);
        ++kept;
    }
    header.resize(kept);
}

}  // namespace zavio
