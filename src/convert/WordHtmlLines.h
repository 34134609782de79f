// Tests on the lines of a Word manuscript that the clean-up and the page
// extraction share.
#pragma once

#include <string_view>

namespace zavio {

// Whether the line with every blank removed contains `what` where one of its
// characters begins. Word breaks the attributes of a long tag at blanks, so
// style values are compared without them.
bool ContainsWithoutBlanks(std::string_view line, std::string_view what);

// Word's body division: the div of class Section1 (Word 2000) or WordSection1
// (later versions), or a div that names Section1 after other attributes.
// A raw manuscript line where the header ends.
bool IsBodyStartLine(std::string_view line);
// A tag line of the cleaned body: the copy that opens every page.
bool IsBodyStartCopyLine(std::string_view line);
// A tag line of the cleaned body: the walk up a page has reached the first page.
bool IsFirstPageLine(std::string_view line);

}  // namespace zavio
