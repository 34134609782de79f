// A whole WinHelp project through the pipeline: its .hpj names the
// manuscripts, the contents file and the bitmap folders; its output goes
// into a folder of its own beside it, and its context ids are kept.
#pragma once

#include <optional>

#include "convert/ContentsEntry.h"
#include "convert/ConversionDriver.h"
#include "project/ContextMap.h"

namespace zavio {

class CConversionState;

// Reads the project into the run (CConversionState::m_project) and its
// sources; false, said, when the project cannot be read or names no
// manuscript. Nothing is written yet: the output folder, the first free of
// NAME-html, NAME-html(2), ... beside the .hpj, is only named.
bool ReadProjectSources(CConversionState& run, ConversionPort& port, const SourceFile& hpj,
                        ConversionSources& sources);

// What reading the project found wrong (a manuscript or header missing, an
// #include cycle, ...): said once, and listed; what is only worth knowing (a
// manuscript outside the project's folder) is listed.
void SayProjectProblems(CConversionState& run, ConversionPort& port, LineList& listLines);

// The project's contents file in CP932 with its inclusions, each topic's
// context string (its window or this help's file cut off) made the name of
// the page that shows it, once every page is named.
std::optional<ContentsFile> ReadProjectContentsFile(CConversionState& run, const SourceFile& contents);

// The .hhp's [ALIAS] and [MAP] sections for the project's ids. chmcmd takes
// one context per file, and a whole file, never a place in one: an id that
// shares its page with an earlier one, or that reaches a place inside a page,
// is given a small page of its own that forwards to it, written here into
// the output folder and added to `pages` (with ".htm").
HhpContextSections WriteProjectContextSections(CConversionState& run, ConversionPort& port, LineList& pages);

// The context ids the project maps: listed where no page shows their topic;
// for homepage-type help, ContextIds.txt beside the pages.
void WriteContextIds(CConversionState& run, ConversionPort& port, LineList& listLines);

// The page (with ".htm", and "#place" for a place inside a page) a context
// string reaches in the run, or nothing.
std::optional<std::string> PageOfContextString(const CConversionState& run, const std::string& context);

}  // namespace zavio
