// A whole conversion in process, as zavio-convert runs it: the input becomes
// a conversion folder of its own, its files are opened with the Open command
// and converted with one of the two conversion commands. Afterwards every
// source must still exist byte for byte (at its place, or moved into a
// Finished folder under its name or a free name made from it), nothing may
// have been written outside the sandbox, every file reported written must
// exist, and ListTitl.txt may list only pages that exist.
//
// Input: a first line of options ("--html-help", "--hp-type", "--keep-header",
// as zavio-convert takes them, and "--again": the same sources are made and
// converted a second time in the same sandbox, where the first run's sources
// wait in Finished), then one section per file, each opened by the line
// "@@FILE " + a relative path in CP932 ("conv/manual.htm"), followed by the
// file's bytes. Files are opened in the order given. An encoding before the
// path ("@@FILE utf-16le:conv/manual.htm"; also utf-8 and utf-16be) makes
// the file from the section's bytes read as CP932 in that encoding, as an
// editor saves it: UTF-8 without a byte-order mark, UTF-16 with one.
// A section "@@LINK path=target" makes a symbolic link at the path (not
// opened) to the target as written; a section "@@BAIT name" a file of the
// section's bytes in the folder "bait", where no source may lie. Links must
// never be replaced, nor bait changed: no page is written through a link out
// of its folder. Sources whose names differ in letter case alone (and topics
// like them) are made as given.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "BatchConversion.h"
#include "framework/Cp932.h"
#include "framework/FileEncoding.h"
#include "framework/FileSystem.h"

namespace {

namespace fs = std::filesystem;
using namespace zavio;

constexpr std::string_view kFileMarker = "\n@@FILE ";
constexpr std::size_t kMaxFiles = 6;
constexpr std::size_t kMaxDepth = 4;       // folders and file name
constexpr std::size_t kMaxNameBytes = 64;  // one path component

// The folders around the sandbox: the program folder (working file), the
// folder the process starts each run in, and the sandbox itself. Nothing but
// these three may ever appear in the fence. Between runs the process is back
// in the folder it was started in, where libFuzzer reads and writes inputs.
struct Fence {
    fs::path home;
    fs::path root;
    fs::path program;
    fs::path start;
    fs::path box;
};

Fence& TheFence()
{
    static Fence fence;
    return fence;
}

struct Source {
    std::string relative;  // CP932, '/' between components
    fs::path native;       // inside the box
    std::string bytes;
};

struct Link {
    fs::path native;  // inside the box
    std::string target;
};

struct Run {
    ConversionKind kind = ConversionKind::HpType;
    bool keepHeader = false;
    bool again = false;
    std::vector<Source> sources;
    std::vector<Link> links;
    std::vector<Source> bait;
};

[[noreturn]] void Fail(const std::string& what, const std::ostringstream& messages, const std::ostringstream& written)
{
    std::fprintf(stderr, "conversion fuzzer: %s\n--- messages ---\n%s--- files written ---\n%s", what.c_str(),
                 messages.str().c_str(), written.str().c_str());
    std::abort();
}

std::string LowerAscii(std::string s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

std::vector<std::string_view> SplitComponents(std::string_view path)
{
    std::vector<std::string_view> parts;
    std::size_t begin = 0;
    while (true) {
        std::size_t end = path.find('/', begin);
        parts.push_back(path.substr(begin, end == std::string_view::npos ? std::string_view::npos : end - begin));
        if (end == std::string_view::npos) return parts;
        begin = end + 1;
    }
}

// The native path of a section's file, or nothing when the name cannot stand
// for a source of a conversion: not below a folder of its own (Finished would
// lie outside the sandbox), not a conversion's file kind, or not a name.
std::optional<fs::path> SourcePath(const std::string& relative)
{
    std::vector<std::string_view> parts = SplitComponents(relative);
    if (parts.size() < 2 || parts.size() > kMaxDepth) return std::nullopt;
    for (std::string_view part : parts)
        if (part.empty() || part == "." || part == ".." || part.size() > kMaxNameBytes) return std::nullopt;
    if (parts[0] == "bait") return std::nullopt;
    const std::string ext = LowerAscii(fs::path(relative).extension().string());
    if (ext != ".htm" && ext != ".html" && ext != ".cnt") return std::nullopt;
    std::optional<std::string> native = ToNativePath(relative);
    if (!native) return std::nullopt;
    return TheFence().box / *native;
}

// Where the driver moves a source: Finished + its name, extension lower-cased.
std::string FinishedName(const fs::path& native)
{
    return native.stem().string() + LowerAscii(native.extension().string());
}

// The section's bytes as the file to make: as they are, or their text (CP932,
// bytes it lacks as the reserved characters that keep them) in the encoding
// named before the path, which is taken off.
std::string FileBytes(std::string& relative, const std::string& bytes)
{
    static const struct {
        std::string_view tag;
        FileEncoding encoding;
    } kTags[] = {{"utf-8:", FileEncoding::Utf8},
                 {"utf-16le:", FileEncoding::Utf16LittleEndian},
                 {"utf-16be:", FileEncoding::Utf16BigEndian}};
    for (const auto& [tag, encoding] : kTags) {
        if (!relative.starts_with(tag)) continue;
        relative.erase(0, tag.size());
        const std::string text = DecodeCp932Lossless(bytes);
        if (encoding == FileEncoding::Utf8) return text;
        return FileBytesOfHeldText("\xEF\xBB\xBF" + text, encoding);
    }
    return bytes;
}

// A link or a bait section; false for any other.
bool ReadLinkOrBait(std::string_view section, Run& run)
{
    static constexpr std::string_view kLink = "\n@@LINK ", kBait = "\n@@BAIT ";
    const bool link = section.starts_with(kLink);
    if (!link && !section.starts_with(kBait)) return false;
    section.remove_prefix(kLink.size());
    const std::size_t lineEnd = section.find('\n');
    const std::string line(section.substr(0, lineEnd));
    if (run.links.size() + run.bait.size() >= kMaxFiles) return true;
    if (link) {
        const std::size_t equals = line.find('=');
        const std::vector<std::string_view> parts = SplitComponents(std::string_view(line).substr(0, equals));
        if (equals == std::string::npos || equals == line.size() - 1 || parts.size() > kMaxDepth || parts[0] == "bait")
            return true;
        for (std::string_view part : parts)
            if (part.empty() || part == "." || part == ".." || part.size() > kMaxNameBytes) return true;
        const std::optional<std::string> name = ToNativePath(line.substr(0, equals));
        const std::optional<std::string> target = ToNativePath(line.substr(equals + 1));
        if (name && target) run.links.push_back({TheFence().box / *name, *target});
        return true;
    }
    const std::optional<std::string> name = ToNativePath(line);
    if (!name || name->empty() || name->find('/') != std::string::npos || *name == "." || *name == ".." ||
        name->size() > kMaxNameBytes)
        return true;
    run.bait.push_back({line, TheFence().box / "bait" / *name,
                        lineEnd == std::string_view::npos ? std::string() : std::string(section.substr(lineEnd + 1))});
    return true;
}

Run ReadRun(std::string_view input)
{
    Run run;
    const std::string text = "\n" + std::string(input);
    std::vector<std::string_view> sections;
    std::size_t at = 0;
    // Sections begin at "\n@@FILE ", "\n@@LINK " or "\n@@BAIT ".
    const auto nextSection = [&text](std::size_t from) {
        std::size_t next = std::string::npos;
        for (std::string_view marker : {kFileMarker, std::string_view("\n@@LINK "), std::string_view("\n@@BAIT ")})
            next = std::min(next, text.find(marker, from));
        return next;
    };
    while (true) {
        std::size_t next = nextSection(at + 1);
        sections.push_back(std::string_view(text).substr(at, next == std::string::npos ? next : next - at));
        if (next == std::string::npos) break;
        at = next;
    }
    const std::string_view options = sections[0].substr(0, sections[0].find('\n', 1));
    if (options.find("--html-help") != std::string_view::npos) run.kind = ConversionKind::HtmlHelp;
    run.keepHeader = options.find("--keep-header") != std::string_view::npos;
    run.again = options.find("--again") != std::string_view::npos;

    for (std::size_t i = 1; i < sections.size() && run.sources.size() < kMaxFiles; ++i) {
        std::string_view section = sections[i].substr(kFileMarker.size());
        if (ReadLinkOrBait(sections[i], run)) continue;
        const std::size_t lineEnd = section.find('\n');
        Source source;
        source.relative = std::string(section.substr(0, lineEnd));
        source.bytes =
            FileBytes(source.relative,
                      lineEnd == std::string_view::npos ? std::string() : std::string(section.substr(lineEnd + 1)));
        std::optional<fs::path> native = SourcePath(source.relative);
        if (!native) continue;
        source.native = *native;
        run.sources.push_back(std::move(source));
    }
    return run;
}

// Makes the bait and the links that can be made, before the sources: a
// source whose place a link took is dropped like any other that cannot be made.
void MakeLinksAndBait(Run& run)
{
    std::error_code ec;
    std::vector<Source> bait;
    for (Source& file : run.bait) {
        fs::create_directories(file.native.parent_path(), ec);
        if (fs::exists(fs::symlink_status(file.native, ec))) continue;
        std::ofstream(file.native, std::ios::binary) << file.bytes;
        bait.push_back(std::move(file));
    }
    run.bait = std::move(bait);
    std::vector<Link> links;
    for (Link& link : run.links) {
        fs::create_directories(link.native.parent_path(), ec);
        if (ec) continue;
        fs::create_symlink(link.target, link.native, ec);
        if (!ec) links.push_back(std::move(link));
    }
    run.links = std::move(links);
}

// Creates the sources that can be made; the others (a name taken, a folder
// where a file stands) are dropped from the run.
void MakeSources(Run& run)
{
    std::vector<Source> made;
    for (Source& source : run.sources) {
        std::error_code ec;
        fs::create_directories(source.native.parent_path(), ec);
        if (ec || fs::exists(fs::symlink_status(source.native, ec))) continue;
        std::ofstream out(source.native, std::ios::binary);
        out.write(source.bytes.data(), static_cast<std::streamsize>(source.bytes.size()));
        if (!out.flush()) continue;
        made.push_back(std::move(source));
    }
    run.sources = std::move(made);
}

std::optional<std::string> ReadAll(const fs::path& path)
{
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Every link is still the link it was, and every bait file as it was.
void CheckLinksAndBait(const Run& run, const std::ostringstream& messages, const std::ostringstream& written)
{
    std::error_code ec;
    for (const Link& link : run.links)
        if (!fs::is_symlink(fs::symlink_status(link.native, ec)) || fs::read_symlink(link.native, ec) != link.target)
            Fail("a link was replaced: " + link.native.string(), messages, written);
    for (const Source& file : run.bait)
        if (ReadAll(file.native) != file.bytes)
            Fail("written through a link: " + file.native.string(), messages, written);
}

bool IsInside(const fs::path& path, const fs::path& folder)
{
    const fs::path relative = path.lexically_normal().lexically_relative(folder);
    return !relative.empty() && *relative.begin() != ".." && *relative.begin() != ".";
}

// Whether `name` is the name a source takes in Finished, or a free name made
// from it: stem + "(N)" + extension.
bool IsFinishedNameOf(const std::string& name, const fs::path& source)
{
    const std::string wanted = FinishedName(source);
    if (name == wanted) return true;
    const std::string stem = source.stem().string() + "(";
    const std::string ext = LowerAscii(source.extension().string());
    if (name.size() <= stem.size() + ext.size() + 1 || name.compare(0, stem.size(), stem) != 0 ||
        name.compare(name.size() - ext.size() - 1, std::string::npos, ")" + ext) != 0)
        return false;
    const std::string number = name.substr(stem.size(), name.size() - stem.size() - ext.size() - 1);
    return number.find_first_not_of("0123456789") == std::string::npos && number[0] != '0';
}

// Every source is found whole, each in a file of its own: at its place, or in
// a Finished folder under its name or a free name made from it.
void CheckSourcesKept(const std::vector<Source>& sources, const std::ostringstream& messages,
                      const std::ostringstream& written)
{
    const Fence& fence = TheFence();
    std::vector<fs::path> files;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(fence.box, ec); it != fs::end(it); it.increment(ec))
        if (!it->is_symlink(ec) && it->is_regular_file(ec)) files.push_back(it->path());
    std::vector<std::optional<std::string>> bytes(files.size());
    auto holds = [&](std::size_t file, const Source& source) {
        const fs::path& path = files[file];
        const bool named = path == source.native || (path.parent_path().filename() == "Finished" &&
                                                     IsFinishedNameOf(path.filename().string(), source.native));
        if (!named) return false;
        if (!bytes[file]) bytes[file] = ReadAll(path);
        return bytes[file] == source.bytes;
    };
    // Each file stands for one source only: a matching of sources to files.
    std::vector<int> owner(files.size(), -1);
    for (std::size_t s = 0; s < sources.size(); ++s) {
        std::vector<bool> seen(files.size(), false);
        std::function<bool(std::size_t)> place = [&](std::size_t source) {
            for (std::size_t f = 0; f < files.size(); ++f) {
                if (seen[f] || !holds(f, sources[source])) continue;
                seen[f] = true;
                if (owner[f] < 0 || place(static_cast<std::size_t>(owner[f]))) {
                    owner[f] = static_cast<int>(source);
                    return true;
                }
            }
            return false;
        };
        if (!place(s)) Fail("source lost or changed: " + sources[s].native.string(), messages, written);
    }
}

// Every file reported written exists, and every page the ListTitl.txt this
// run wrote lists is one of them.
void CheckWrittenFilesExist(const std::ostringstream& messages, const std::ostringstream& written)
{
    std::vector<std::string> pageNames;  // UTF-8, as written on standard output
    std::vector<fs::path> lists;
    std::istringstream lines(written.str());
    for (std::string line; std::getline(lines, line);) {
        std::error_code ec;
        const fs::path path(line);
        if (!fs::is_regular_file(path, ec)) Fail("reported written but missing: " + line, messages, written);
        if (path.extension() == ".htm") pageNames.push_back(path.filename().string());
        if (path.filename() == "ListTitl.txt") lists.push_back(path);
    }
    static const std::string kSeparator = " \xEF\xBD\xA5\xEF\xBD\xA5\xEF\xBD\xA5 ";  // " ･･･ "
    for (const fs::path& path : lists) {
        std::istringstream list(ReadAll(path).value_or(std::string()));
        for (std::string line; std::getline(list, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line.empty() || line.rfind("/////", 0) == 0) continue;
            const std::string shown = DecodeCp932Lossless(line);
            bool listed = false;
            for (const std::string& name : pageNames) {
                const std::string tail = kSeparator + name;
                listed = listed || (shown.size() >= tail.size() &&
                                    shown.compare(shown.size() - tail.size(), std::string::npos, tail) == 0);
            }
            if (!listed) Fail("ListTitl.txt lists a page not written: " + shown, messages, written);
        }
    }
}

void CheckNothingOutside(const std::ostringstream& messages, const std::ostringstream& written)
{
    const Fence& fence = TheFence();
    std::istringstream lines(written.str());
    for (std::string line; std::getline(lines, line);)
        if (!IsInside(line, fence.box)) Fail("file written outside the sandbox: " + line, messages, written);

    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(fence.root, ec)) {
        const fs::path& path = entry.path();
        if (path != fence.program && path != fence.start && path != fence.box)
            Fail("written beside the sandbox: " + path.string(), messages, written);
    }
    if (!fs::is_empty(fence.program, ec)) Fail("left in the program folder", messages, written);
    if (!fs::is_empty(fence.start, ec)) Fail("written into the current folder", messages, written);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    Fence& fence = TheFence();
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/zavio-fuzz-XXXXXX";
    if (!::mkdtemp(pattern.data())) {
        std::perror("conversion fuzzer: cannot make its folder");
        std::abort();
    }
    fence.home = fs::current_path();
    fence.root = pattern;
    fence.program = fence.root / "program";
    fence.start = fence.root / "start";
    fence.box = fence.root / "box";
    fs::create_directory(fence.program);
    fs::create_directory(fence.start);
    std::atexit([] {
        std::error_code ec;
        fs::remove_all(TheFence().root, ec);
    });
    return 0;
}

namespace {

// One conversion of the run's sources, as zavio-convert runs it, and the checks
// of what it left. `kept`: every source made so far, which must all survive.
void ConvertAndCheck(const Run& run, const std::vector<Source>& kept)
{
    const Fence& fence = TheFence();
    fs::current_path(fence.start);
    BatchRequest request{run.kind, run.keepHeader, {}};
    for (const Source& source : run.sources)
        request.paths.push_back(*FromNativePath(fence.box.string()) + "/" + source.relative);

    std::ostringstream messages;
    std::ostringstream written;
    ConvertFiles(request, messages, written);

    fs::current_path(fence.start);
    CheckNothingOutside(messages, written);
    CheckSourcesKept(kept, messages, written);
    CheckWrittenFilesExist(messages, written);
    CheckLinksAndBait(run, messages, written);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const Fence& fence = TheFence();
    fs::create_directory(fence.box);

    Run run = ReadRun(std::string_view(reinterpret_cast<const char*>(data), size));
    MakeLinksAndBait(run);
    MakeSources(run);
    std::vector<Source> kept = run.sources;
    ConvertAndCheck(run, kept);
    if (run.again) {
        // The same sources once more, where their places are free again: the
        // first run's sources wait in Finished under the same names.
        MakeSources(run);
        kept.insert(kept.end(), run.sources.begin(), run.sources.end());
        ConvertAndCheck(run, kept);
    }
    fs::remove_all(fence.box);
    fs::current_path(fence.home);
    return 0;
}
