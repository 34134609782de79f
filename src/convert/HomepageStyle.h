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

// A 12-point paragraph indented by `tabs` Word tab stops whose text (escaped,
// after one blank) is a double-underlined link to pageFile + ".htm", then
// an empty line, a thin gap and an empty line: seven lines.
void AppendLinkParagraph(LineList& out, int tabs, const std::string& pageFile, std::string_view text);

// The same paragraph with its text and no link.
void AppendTextParagraph(LineList& out, int tabs, std::string_view text);

}  // namespace zavio
