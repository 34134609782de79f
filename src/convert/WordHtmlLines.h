// Tests on the lines of a Word manuscript that the clean-up and the page
// extraction share.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zavio {

// Whether the line with every blank removed contains `what` where one of its
// characters begins. Word breaks the attributes of a long tag at blanks, so
// style values are compared without them.
bool ContainsWithoutBlanks(std::string_view line, std::string_view what);

// Word's body division: the div of class Section1 (Word 2000) or WordSection1
// (later versions), or a div that names Section1 after other attributes.
// Section10, Section11, ... are later sections, never the body's start.
// A raw manuscript line where the header ends.
bool IsBodyStartLine(std::string_view line);
// A tag line of the cleaned body: the copy that opens every page.
bool IsBodyStartCopyLine(std::string_view line);
// A tag line of the cleaned body: the walk up a page has reached the first page.
bool IsFirstPageLine(std::string_view line);

// Word's page break, and its section break, which starts a new page too:
// a tag (blanks may lead) whose style says "page-break-before:always" before
// its end or its next property.
bool IsPageBreakTag(std::string_view line);

// Word's anchor of a footnote or endnote reference: an "a" tag whose style
// names its note ("mso-footnote-id:ftn1", "mso-endnote-id:edn1"). The
// reference, with the mark or number it shows, ends at "</a>".
bool IsNoteAnchorTag(std::string_view tag);
// Whether the walk is inside a note reference after a cleaned line, given
// whether it was before the line; `anchor`, when given, receives each anchor
// tag the line opens.
bool InNoteReferenceAfter(std::string_view line, bool inside, std::string_view* anchor = nullptr);
// The note id an anchor tag names ("ftn1" of "mso-footnote-id:ftn1"), read
// with its blanks taken out, the footnote style first; nullopt when it names
// none. The notes are looked up by it.
std::optional<std::string> NoteIdOfAnchor(std::string_view anchor);

}  // namespace zavio
