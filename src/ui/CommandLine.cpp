#include "ui/CommandLine.h"

#include <string_view>

#include "res/Version.h"

namespace zavio {
namespace {

constexpr const char* kUsage =
    "Usage: zavio [FILE...]\n"
    "       zavio --help | --version\n"
    "\n"
    "Starts Zavio, the desktop program that converts WinHelp manuscripts (Word\n"
    "\"Web page\" files with the .cnt contents file) into homepage-type help or an\n"
    "HTML Help project, and edits their text. Each FILE opens in a window of its\n"
    "own; when Zavio already runs for this user, the FILEs are handed to it.\n"
    "\n"
    "  --help     show this text\n"
    "  --version  show the version\n"
    "\n"
    "Qt's own options (-platform NAME, -style NAME, ...) are understood too.\n"
    "The same conversion without windows: zavio-convert (zavio-convert --help).\n";

}  // namespace

std::optional<int> AnswerInfoOption(int argc, char** argv, std::ostream& out)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help") {
            out << kUsage;
            return 0;
        }
        if (arg == "--version") {
            out << "zavio (Zavio) " ZAVIO_VERSION "\n";
            return 0;
        }
    }
    return std::nullopt;
}

}  // namespace zavio
