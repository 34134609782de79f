// The files of a conversion run: its sources move into the Finished folder
// without ever removing a file there, and the files it makes never take the
// place of a source, wherever that source lies by then. Everything goes
// through the run's port.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "convert/ConversionPort.h"
#include "framework/FileSystem.h"

namespace zavio {

class CConversionState;
struct RunSource;

// A line of the list of pages that says something about a file: "///// " and the text.
std::string ListRemark(std::string_view said);

// A source as the list of pages names it: its folder's name and its own,
// which tell apart two sources of one name without the whole path.
std::string FolderAndName(const std::string& path);

// The free-name rule every file of a run follows: the name itself, else
// "stem(2)ext", "stem(3)ext", ... The first name `take` accepts (it takes
// the name when it can) is returned; after the name itself the numbers
// start at `resumeAt`, where an earlier search ended, and end after
// `lastNumber`, when no name was taken (an empty result).
std::string TakeFreeName(std::string_view stem, std::string_view ext,
                         const std::function<bool(const std::string& name, int number)>& take, int resumeAt = 2,
                         int lastNumber = 1 << 30);

// Moves a source into `finishedFolder` under its name or the first free one.
// Nothing happens to a source already in Finished or no longer where it was.
// A new name, or a move that failed (recorded in the run as not written),
// is said and returned for the list of pages, which names the source by its
// folder and file name; else nothing is returned.
std::string MoveSourceToFinished(CConversionState& run, ConversionPort& port, RunSource& source,
                                 const std::string& finishedFolder);

// A source no window or earlier reading holds (a project's manuscripts and
// contents file), read from its file as the Open command reads one: its
// text with CR LF between lines, in its encoding. nullopt when it cannot be
// read as text.
std::optional<SourceText> ReadSourceFile(const SourceFile& source);

// Writes a generated file straight to the disk, all or nothing, an earlier
// file of its name kept as its backup where asked: how a port without
// windows writes. False when it was not written; `onlyIfNew`, where a file
// of its name stands (the failure is then EEXIST).
bool WriteOutputFileBytes(const OutputFile& file, bool onlyIfNew = false);

// How a file in `fromFolder` links to `name` in `toFolder`: the name itself
// in the same folder, else through the folders between ("../conv2/name").
// Both folders end in a separator.
std::string LinkBetween(const std::string& fromFolder, const std::string& toFolder, const std::string& name);

// Whether a link stands at `path` (as LookUpPath found it) that a file
// written there would go through into another folder, or to nothing.
bool LinkLeadsAway(const std::string& path, const PathLookup& at);

// Writes a file of the run through the port, unless a source of the run lies
// at its path (by any name of it) or a link there leads away; false,
// recorded in the run and said, when it was not written. A written file is
// marked written in the run, except a page: its name was marked when given.
bool WriteGeneratedFile(CConversionState& run, ConversionPort& port, const OutputFile& file);

}  // namespace zavio
