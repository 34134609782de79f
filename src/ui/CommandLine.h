// The desktop program's own options, read before Qt starts so that they
// answer on a machine without a display.
#pragma once

#include <optional>
#include <ostream>

namespace zavio {

// Answers --help or --version on `out` and gives the exit status; nothing
// when the program is to start (every other argument is a file or Qt's).
std::optional<int> AnswerInfoOption(int argc, char** argv, std::ostream& out);

}  // namespace zavio
