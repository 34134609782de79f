// The HTML Help project file and its sitemap contents file.
#pragma once

#include <string>

#include "convert/ConversionPort.h"

namespace zavio {

class CConversionState;
struct ContentsFile;

// Writes NAME.hhp and "Table of Contents.hhc" into the manuscript's folder,
// NAME being the contents file's name (else the manuscript's); nothing when
// that name has no dot. The tree comes from the contents file, else a flat
// list of the pages.
void WriteHtmlHelpProject(CConversionState& run, ConversionPort& port, const ContentsFile* contents,
                          const std::string& manuscriptPath);

// The contents file's entries as a nested sitemap list, each topic linked to
// the page that fits it best.
void AppendHhcTreeFromCnt(CConversionState& run, const LineList& cntLines, LineList& out);

}  // namespace zavio
