// Taking one page at a time off the end of a cleaned manuscript: the page's
// lines, the id of its topic footnote and its title; and the lines every
// page begins with.
#pragma once

#include <cstddef>
#include <string>

#include "convert/Manuscript.h"

namespace zavio {

class CConversionState;

// The manuscript's header lines, as every page and the contents page begin.
void AppendHeaderLines(const CConversionState& run, LineList& out);
// The paragraph that links a homepage-type page back to its contents page.
void AppendContentsLink(LineList& out, const std::string& contentsName);

// Moves the manuscript's last page (from its last page break, or from the
// body's opening division, to the end) behind the page's lines, with a copy
// of the body's opening line in front, and reads the id of its "#" note and
// its title. False when the page taken was the first page or the manuscript
// had no lines left.
bool TakeLastPage(ManuscriptLines& manuscript, ManuscriptLines& page, std::string& noteReference, std::string& title);
// From the page's start: drops what leads up to the first note anchor after
// a page break, and reads the id of the reference whose mark is "#".
void FindNoteReference(ManuscriptLines& page, std::size_t pageStart, std::string& noteReference, bool pageBreakStart);
// Drops the few loose opening tags of Word's page-break span at the end.
void TrimPageTail(ManuscriptLines& page);
// The text of the page's first paragraph that shows text.
void ReadPageTitle(const ManuscriptLines& page, std::size_t pageStart, std::string& title);

}  // namespace zavio
