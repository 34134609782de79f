// The text a reader sees in a paragraph of a manuscript's cleaned lines
// (one tag run or text run per line). A page's title and a note's text are
// read alike.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "convert/SourceLineBreaks.h"
#include "framework/TextFile.h"

namespace zavio {

// The text of the first paragraph or heading ("<p>", "<h1>"-"<h6>") among
// lines [first, last) that shows text once the note references are set
// aside: character references decoded, a source line break between two
// pieces of text and a "<br>" each a blank, every run of white space one
// blank, none at either end. A paragraph still open at `last` gives its text
// up to there. `breaks` tells where the source broke a line between `lines`.
std::string FirstParagraphText(const std::vector<std::string_view>& lines, const SourceLineBreaks& breaks,
                               std::size_t first, std::size_t last);

}  // namespace zavio
