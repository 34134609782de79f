// zavio-convert: opens the given files as the Open command does and runs one
// conversion command on them, without windows.
#include <malloc.h>

#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "HeadlessHost.h"
#include "app/ZavioApp.h"
#include "doc/ZavioDoc.h"
#include "framework/DocTemplate.h"
#include "framework/FileSystem.h"
#include "res/CommandIds.h"
#include "res/Version.h"

namespace {

using namespace zavio;

constexpr int kExitCompleted = 0;
constexpr int kExitEndedEarly = 1;
constexpr int kExitUsage = 2;
constexpr int kExitNotAllWritten = 3;

constexpr const char* kUsage =
    "Usage: zavio-convert (--html-help | --hp-type) [--keep-header] FILE...\n"
    "       zavio-convert --help | --version\n"
    "\n"
    "Opens each FILE (a Word manuscript saved as a Web page, .htm or .html, and\n"
    "optionally the WinHelp contents file .cnt) in the order given, then converts:\n"
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
    "Exit status:\n"
    "  0  the conversion ran to its end and wrote every file it meant to\n"
    "  1  nothing was converted, or the conversion ended early: a FILE could not\n"
    "     be opened, no manuscript was named, a manuscript lacks Word's body\n"
    "  2  usage error\n"
    "  3  the conversion ran to its end, but some files could not be written or\n"
    "     some sources not moved; each is named on standard error\n";

struct Options {
    unsigned command = 0;
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
            unsigned command = arg == "--html-help" ? ID_SEPARATE_HTML_HELP : ID_SEPARATE_HP_TYPE;
            if (options.command != 0 && options.command != command)
                return std::string("choose one of --html-help and --hp-type");
            options.command = command;
        } else if (arg == "--keep-header") {
            options.keepHeader = true;
        } else {
            return "unknown option " + arg;
        }
    }
    if (options.help || options.version) return std::nullopt;
    if (options.command == 0) return std::string("choose --html-help or --hp-type");
    if (options.files.empty()) return std::string("name at least one FILE");
    return std::nullopt;
}

// The folder of this executable: the program folder, where the working file lives.
std::string ProgramFolder()
{
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    std::filesystem::path folder = ec ? std::filesystem::current_path() : exe.parent_path();
    return FromNativePath(folder.string()).value_or(std::string("."));
}

// Whether every FILE was opened and read: a script must not convert half a
// project because one of its files could not be read.
bool OpenedEvery(const CZavioApp& app, const std::vector<std::string>& paths)
{
    for (const std::string& path : paths) {
        bool opened = false;
        for (const CDocument* open : app.m_pDocTemplate->GetDocuments()) {
            const auto* doc = static_cast<const CZavioDoc*>(open);
            opened = opened || (doc->m_strPath == path && !doc->m_bFileNotRead);
        }
        if (!opened) return false;
    }
    return true;
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

    std::vector<std::string> paths;
    for (const std::string& file : options.files) {
        std::optional<std::string> path = DialogPath(file);
        if (!path) {
            std::cerr << "zavio-convert: " << file << ": the name has no Shift-JIS (CP932) form\n";
            return kExitUsage;
        }
        paths.push_back(*path);
    }

    HeadlessHost host(std::cerr, std::cout);
    // --html-help answers OK; --hp-type answers Yes, or No to keep the header.
    host.AnswerYes(!options.keepHeader);
    CZavioApp app(host);
    app.InitState(ProgramFolder());

    // Opening the manuscripts and converting them are transfers all: they
    // share one working file.
    const CZavioApp::WorkingFileHold hold(app);
    host.PickFiles(paths);
    app.ExecuteCommand(ID_FILE_OPEN);
    if (!OpenedEvery(app, paths)) return kExitEndedEarly;  // the Open command said why
    app.ExecuteCommand(options.command);
    const CConversionState& run = app.Conversion();
    if (!run.m_bConversionFinished) return kExitEndedEarly;
    return run.m_saNotWritten.empty() ? kExitCompleted : kExitNotAllWritten;
}
