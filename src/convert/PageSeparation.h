// Page separation: a cleaned manuscript is cut into one file per topic,
// taken from its end, each named after the topic's "#" footnote.
#pragma once

#include <string>

#include "convert/ConversionPort.h"
#include "convert/Manuscript.h"

namespace zavio {

class CConversionState;

// Writes every topic of the manuscript as a page in the manuscript's folder,
// puts the pages in front of the run's page lists, and the manuscript's block
// of the list of pages in front of `listLines`. The number of pages written.
int SeparatePages(CConversionState& run, ConversionPort& port, const std::string& contentsName, Manuscript& manuscript,
                  LineList& listLines, const std::string& finishedFolder);

}  // namespace zavio
