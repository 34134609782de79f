// The Word-style paragraphs of homepage-type help, in the manuscript's own
// dialect ("MsoNormal", "ＭＳ ゴシック", Word's tab spans), so that the pages
// that list others open and edit in Word like the pages themselves. The
// contents page and the index page are made of them.
#pragma once

#include <string>
#include <string_view>

#include "framework/TextFile.h"

namespace zavio {

// An empty paragraph of 2-point line height: a thin gap between entries.
void AppendThinGap(LineList& out);

// The first two lines of a 12-point paragraph, the second ending after
// `tabs` Word tab stops: the paragraph's text follows on that line.
void AppendParagraphStart(LineList& out, int tabs);

// The line that carries a double-underlined link (its "<u" ends the line
// before): the text, escaped, links to pageFile + ".htm"; `after` follows
// the link on its line.
std::string DoubleUnderlinedLink(const std::string& pageFile, std::string_view text, std::string_view after = {});

// What closes a 12-point paragraph.
constexpr std::string_view kParagraphEnd = "<o:p></o:p></span></p>";

}  // namespace zavio
