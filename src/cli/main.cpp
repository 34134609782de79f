// zavio-convert: opens the given files as the Open command does and runs one
// conversion on them, without windows.
#include <malloc.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "BatchConversion.h"
#include "framework/FileError.h"
#include "framework/FileSystem.h"
#include "res/Version.h"

namespace {

using namespace zavio;

constexpr const char* kUsage =
    "Usage: zavio-convert (--html-help | --hp-type) [--keep-header] FILE...\n"
    "       zavio-convert --help | --version\n"
    "\n"
    "Opens each FILE (a help manuscript: Word's Web page, .htm or .html, or the\n"
    "RTF itself, .rtf; optionally the WinHelp contents file .cnt) in the order\n"
    "given, then converts. Given a WinHelp project, .hpj, it converts the whole\n"
    "project: its RTF files, contents file, pictures and help ids.\n"
    "\n"
    "  --html-help    make an HTML Help project (.hhp, Table of Contents.hhc, pages,\n"
    "                 and the keyword index Index.hhk when topics carry keywords)\n"
    "  --hp-type      make homepage-type help (pages, a contents page, and the\n"
    "                 index page Index.htm when topics carry keywords); the\n"
    "                 style header of the pages is simplified\n"
    "  --keep-header  with --hp-type: keep the style header as Word wrote it\n"
    "  --help         show this text\n"
    "  --version      show the version\n"
    "\n"
    "The pages are written beside the manuscripts; the sources, ListTitl.txt and\n"
    "the integration note go to the folder Finished beside the conversion folder.\n"
    "A source never replaces a file there: it takes a free name such as\n"
    "manual(2).htm. Every message is written to standard error, every file\n"
    "written is named on standard output.\n"
    "\n"
    "A project is left exactly as it was: everything goes into a new folder\n"
    "beside the .hpj, NAME-html (or NAME-html(2), ... when that exists).\n"
    "\n"
    "Exit status:\n"
    "  0  the conversion ran to its end and wrote every file it meant to\n"
    "  1  nothing was converted, or the conversion ended early: a FILE could not\n"
    "     be opened, no manuscript was named, a manuscript lacks Word's body\n"
    "  2  usage error\n"
    "  3  the conversion ran to its end, but some files could not be written,\n"
    "     some sources not moved, a manuscript held no topic, or the project\n"
    "     named what could not be read; each is named on standard error\n";

struct Options {
    std::optional<ConversionKind> kind;
    bool keepHeader = false;
    bool help = false;
    bool version = false;
    std::vector<std::string> files;  // as given
};

// The arguments, or an error text.
std::optional<std::string> ParseArguments(int argc, char** argv, Options& options)
{
    bool filesOnly = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (filesOnly || arg.empty() || arg[0] != '-' || arg == "-") {
            options.files.push_back(arg);
        } else if (arg == "--") {
            filesOnly = true;
        } else if (arg == "--help") {
            options.help = true;
        } else if (arg == "--version") {
            options.version = true;
        } else if (arg == "--html-help" || arg == "--hp-type") {
            const ConversionKind kind = arg == "--html-help" ? ConversionKind::HtmlHelp : ConversionKind::HpType;
            if (options.kind && *options.kind != kind) return std::string("choose one of --html-help and --hp-type");
            options.kind = kind;
        } else if (arg == "--keep-header") {
            options.keepHeader = true;
        } else {
            return "unknown option " + arg;
        }
    }
    if (options.help || options.version) return std::nullopt;
    if (!options.kind) return std::string("choose --html-help or --hp-type");
    if (options.files.empty()) return std::string("name at least one FILE");
    return std::nullopt;
}

// A FILE as a file dialog would return it: absolute, in CP932.
std::optional<std::string> DialogPath(const std::string& file)
{
    std::error_code ec;
    std::filesystem::path path = std::filesystem::absolute(file, ec);
    if (ec) return std::nullopt;
    return FromNativePath(path.lexically_normal().string());
}

}  // namespace

int main(int argc, char** argv)
{
    // A conversion allocates and frees buffers of a manuscript's size again
    // and again. Left to glibc's defaults each one is a fresh mapping whose
    // pages fault in anew (a tenth of a large conversion's time); kept in the
    // heap they are reused, and the process ends soon anyway.
    mallopt(M_MMAP_THRESHOLD, 32 << 20);  // the most glibc takes
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
    // Manuscripts are cut on several threads, each with a heap of its own
    // (glibc's default). With one heap for all, a thread that waits for
    // another's allocation is woken on that thread's core, and may wait
    // there for milliseconds while that one goes on.

    Options options;
    if (std::optional<std::string> error = ParseArguments(argc, argv, options)) {
        std::cerr << "zavio-convert: " << *error << "\n\n" << kUsage;
        return kExitUsage;
    }
    if (options.help) {
        std::cout << kUsage;
        return kExitCompleted;
    }
    if (options.version) {
        std::cout << "zavio-convert (Zavio) " ZAVIO_VERSION "\n";
        return kExitCompleted;
    }

    BatchRequest request;
    for (const std::string& file : options.files) {
        std::optional<std::string> path = DialogPath(file);
        if (!path) {
            const bool lacking = LastFileError().cause == FileErrorCause::NameWithoutCp932Form;
            std::cerr << "zavio-convert: " << file
                      << (lacking ? ": the name has a character Shift-JIS (CP932) lacks\n"
                                  : ": the name is neither UTF-8 nor Shift-JIS (CP932)\n");
            return kExitUsage;
        }
        request.paths.push_back(*path);
    }

    request.kind = *options.kind;
    request.keepHeader = options.keepHeader;
    request.processEndsAfter = true;
    // A person watching a terminal sees how far a long run is; a script
    // that keeps the messages gets them alone.
    if (::isatty(STDERR_FILENO)) {
        winsize size{};
        request.progressColumns = ::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0 ? size.ws_col : 80;
    }
    return ConvertFiles(request, std::cerr, std::cout);
}
