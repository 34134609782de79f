// The contents page of homepage-type help: a Word-style HTML page in the
// manuscript's own dialect, so that it opens and edits in Word like the pages.
#pragma once

#include <string>

#include "convert/ConversionPort.h"

namespace zavio {

class CConversionState;
struct ContentsFile;

// Writes the contents page at `contentsPagePath`: the header lines, then a
// block per entry of the contents file, else a link per page.
void WriteHomepageContents(CConversionState& run, ConversionPort& port, const ContentsFile* contents,
                           const std::string& contentsName, const std::string& contentsPagePath);
void AppendContentsFromCnt(CConversionState& run, const LineList& cntLines, LineList& out);
void AppendContentsFromPages(const CConversionState& run, LineList& out);

}  // namespace zavio
