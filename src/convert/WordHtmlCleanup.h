// Turning a Word "Save as Web Page" manuscript into lines the page extraction
// can cut: the header set aside, one tag run or text run per line, the
// footnote list moved into the run's state, WinHelp's footnote marks dropped
// and jump hotspots turned into links to the page files.
#pragma once

#include "convert/Manuscript.h"
#include "convert/TextStyles.h"

namespace zavio {

class CConversionState;

// Reads the source's text into the manuscript's source lines. A UTF-8
// manuscript's lines come in CP932, and its head, which every page and the
// contents page copy, says so. The lines after Word's body division stay in
// the text the manuscript keeps, where the splitting reads them.
void LoadHtmlSource(Manuscript& manuscript, SourceText text);

// Moves the lines above Word's body division into the run's header lines;
// false when there is no such division (every line has then gone into the
// header lines, and the source lines are as they were).
bool SplitOffWordHeader(CConversionState& run, Manuscript& manuscript);

// Rebuilds the source lines into the body, one tag run or text run per line,
// keeping where the source broke a line between text.
void SplitTagsIntoLines(Manuscript& manuscript);

// Moves the footnote and endnote block from the end of the body in front of
// the run's note lines.
void MoveNoteListToRun(CConversionState& run, ManuscriptLines& body);

// Removes WinHelp's footnote-mark lines but "#"; a "K" mark leaves its
// note's id at the line where it stood.
void RemoveFootnoteMarks(ManuscriptLines& body);

// Finds the hotspots (double-underlined or struck-through jumps, underlined
// pop-ups, by their tags' styles or their character styles) and the hidden
// text after each that names its target: the hidden text goes from the
// page, and the hotspot's lines are marked for the link (LinkStart with the
// target, LinkEnd), made once the run's topics are known.
void ConvertJumpLinks(ManuscriptLines& body, const CharacterStyles& styles);

// The body's clean-up once the header is split off, in the order a
// conversion runs it: split into lines, notes moved aside, marks removed,
// jumps linked.
void CleanUpBody(CConversionState& run, Manuscript& manuscript);

}  // namespace zavio
