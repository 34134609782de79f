// The HTML Help project file and its sitemap contents file.
#pragma once

#include <string>

#include "convert/ConversionPort.h"

namespace zavio {

class CConversionState;
class PageIndex;
struct ContentsFile;

// Writes NAME.hhp and "Table of Contents.hhc" into the manuscript's folder,
// NAME being the contents file's name (else the manuscript's); nothing when
// that name has no dot. The tree comes from the contents file, else a flat
// list of the pages.
// `sitemapBody`, when given, is SitemapContentsBody of the run's pages and
// this contents file.
void WriteHtmlHelpProject(CConversionState& run, ConversionPort& port, const ContentsFile* contents,
                          const std::string& manuscriptPath, const std::string* sitemapBody = nullptr);

// "Table of Contents.hhc" after its header, made of the pages alone: it may
// be made on another core.
std::string SitemapContentsBody(PageIndex& pages, const LineList& titles, const LineList& files,
                                const ContentsFile* contents);

// The contents file's entries as a nested sitemap list, each topic linked to
// the page that fits it best.
void AppendHhcTreeFromCnt(PageIndex& pages, const LineList& cntLines, LineList& out);

}  // namespace zavio
