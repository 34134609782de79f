// Reducing Word's style sheet to its normal paragraph style. Copied into small
// pages, Word's font, heading and page rules make them look wrong (line
// spacing far too wide), so only the rule of p.MsoNormal stays.
#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

#include "app/ZavioApp.h"
#include "framework/Cp932.h"

namespace zavio {

namespace {

constexpr std::string_view kFontDefinitions = "/* Font Definitions */";
constexpr std::string_view kStyleDefinitions = "/* Style Definitions */";
constexpr std::string_view kNormalSelector = "p.MsoNormal";
constexpr std::string_view kSectionRuleBody = "{page:Section1;}";

// Word lists the rule's selectors, then its body lines, each indented by a tab.
constexpr std::size_t kNormalRuleLookahead = 19;

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

void CZavioApp::SimplifyHeader(CConversionState& run)
{
    LineList& header = run.m_saHeaderLines;
    if (header.size() < 2) return;
    const std::size_t endOfNormalRule = FindEndOfNormalRule(header);

    // Read from the bottom: the section's rules go up to the end of the normal
    // rule, which stays with its style comment; the font definitions above go.
    enum class State { Keep, Remove, EndOfRules, StyleComment };
    State state = State::Keep;
    std::vector<bool> removed(header.size(), false);
    for (std::size_t j = header.size() - 1; j >= 1; --j) {
        const std::string& line = header[j];
        if (MbContains(line, kSectionRuleBody)) state = State::Remove;
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
