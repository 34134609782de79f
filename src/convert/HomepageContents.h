// The contents page of homepage-type help: a Word-style HTML page in the
// manuscript's own dialect, so that it opens and edits in Word like the pages.
#pragma once

#include <string>

#include "convert/ConversionPort.h"

namespace zavio {

class CConversionState;
struct ContentsFile;

class PageIndex;

// Writes the contents page at `contentsPagePath`: the header lines, then a
// block per entry of the contents file, else a link per page. `body`, when
// given, is HomepageContentsBody of the run's pages and this contents file.
void WriteHomepageContents(CConversionState& run, ConversionPort& port, const ContentsFile* contents,
                           const std::string& contentsName, const std::string& contentsPagePath,
                           const std::string* body = nullptr);
// The contents page after the header lines, made of the pages alone: it may
// be made on another core.
std::string HomepageContentsBody(PageIndex& pages, const LineList& titles, const LineList& files,
                                 const ContentsFile* contents);
void AppendContentsFromCnt(PageIndex& pages, const LineList& cntLines, LineList& out);
void AppendContentsFromPages(const LineList& titles, const LineList& files, LineList& out);

}  // namespace zavio
