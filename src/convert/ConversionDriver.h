// The conversion driver: the order of a run, from its sources to its last
// file. Whoever starts a run (the desktop's commands, the batch converter)
// makes its state, collects its sources and hands it a port.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "convert/ConversionPort.h"
#include "convert/Manuscript.h"

namespace zavio {

class CConversionState;

// The sources of a run as the driver takes them.
struct ConversionSources {
    // Manuscripts (htm, html) in ascending base-name order; of two equal
    // names the one met later stands first.
    std::vector<SourceFile> manuscripts;
    // The path of the manuscript met last: the contents page goes beside it.
    std::string lastManuscriptPath;
    // The contents file met last.
    std::optional<SourceFile> contents;
    // A WinHelp project (.hpj) met last: the run converts the whole project
    // instead, into a folder of its own, and leaves the project as it was.
    std::optional<SourceFile> project;
};

// The question a conversion command asks before it runs: OK/Cancel for HTML
// Help; Yes/No/Cancel for homepage-type help, Yes simplifying the header.
const std::string& ConversionQuestion(ConversionKind kind);

// Sorts the open files, in the order they were opened, into the run's
// sources; every other kind of file is passed over.
ConversionSources CollectSources(const std::vector<SourceFile>& openInOrder);

// Runs the conversion the state's kind names: every manuscript split into
// pages, the contents page or the HTML Help project, the index, the sources
// moved into Finished, the integration note and the list of pages; or, for
// a WinHelp project, its manuscripts and contents file into NAME-html/ beside
// it, with its context ids. The state records what was written, what was
// not, and whether the run reached its end.
void RunConversion(CConversionState& run, ConversionPort& port, const ConversionSources& sources);

// The Finished folder beside the manuscript's folder, made when missing; its
// path ends in a separator.
std::string PrepareFinishedFolder(const std::string& manuscriptPath);
// Makes the named folder in the parent unless it is there; false when the
// parent cannot be listed.
bool EnsureSubfolder(const std::string& parentFolder, const std::string& name);

}  // namespace zavio
