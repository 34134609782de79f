// The files of a conversion run: its sources move into the Finished folder
// without ever removing a file there, and the files it makes never take the
// place of a source, wherever that source lies by then.
#pragma once

#include <string>

namespace zavio {

class CConversionState;
class CZavioDoc;
struct RunSource;

// Moves a source into `finishedFolder` under its name or, when a file of that
// name is there already (a source of this run or of an earlier one), under
// the first free name of "name(2).ext", "name(3).ext", ... Nothing happens to
// a source already in Finished or no longer where it was. A new name, or a
// move that failed (recorded in the run as not written), is said in a
// message and returned for the list of pages, which names the source by its
// folder and file name; else nothing is returned.
std::string MoveSourceToFinished(CConversionState& run, RunSource& source, const std::string& finishedFolder);

// Loads the document's output lines into its view and saves the view to the
// document's path, without flushing it to the disk: it can be made again.
// Not written, and said so, where a source of the run lies or when the
// transfer failed (an empty view must not replace a file). False, and
// recorded in the run, when the file was not written.
bool WriteGeneratedFile(CConversionState& run, CZavioDoc* doc, bool keepBackup);

}  // namespace zavio
