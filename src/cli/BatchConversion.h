// The batch converter's run: the files opened as the Open command opens them,
// then one conversion through a port that writes the files directly, with no
// windows, no working file and no change of the current folder.
#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

#include "convert/ConversionPort.h"

namespace zavio {

// The converter's exit statuses.
enum BatchExit : int {
    kExitCompleted = 0,     // ran to its end and wrote every file it meant to
    kExitEndedEarly = 1,    // nothing converted, or the run ended early
    kExitUsage = 2,         // the command line was wrong
    kExitNotAllWritten = 3  // ran to its end, but some files were not written or moved
};

struct BatchRequest {
    ConversionKind kind = ConversionKind::HpType;
    bool keepHeader = false;         // homepage-type help keeps Word's header
    std::vector<std::string> paths;  // absolute, CP932, in the order to open them
    // Standard error is a terminal this wide: a line shows how far the run
    // is. 0: no progress is shown (a redirected stream gets the messages only).
    std::size_t progressColumns = 0;
    // The process ends with the run: the run's tables (for a large project,
    // hundreds of thousands of blocks) are left to go with it instead of
    // being freed one by one.
    bool processEndsAfter = false;
};

// Runs the request; every message goes to `messages` (UTF-8, one per line),
// and so does the progress line if asked for; every file written is named on
// `written`.
BatchExit ConvertFiles(const BatchRequest& request, std::ostream& messages, std::ostream& written);

}  // namespace zavio
