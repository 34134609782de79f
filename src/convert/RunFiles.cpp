#include "convert/RunFiles.h"

#include <filesystem>
#include <system_error>

#include "convert/ConversionState.h"
#include "framework/Cp932.h"
#include "framework/FileEncoding.h"
#include "framework/FileError.h"
#include "framework/FileSystem.h"
#include "framework/Path.h"
#include "res/FileKinds.h"
#include "res/Messages.h"

namespace zavio {
namespace {

// How many names a source may try in Finished before the move is given up.
constexpr int kMaxFinishedNames = 9999;

// Whether two paths name one file: a manuscript opened from the Finished
// folder itself is already where it would go.
bool SameFile(const std::string& a, const std::string& b)
{
    if (a == b) return true;
    auto na = ToNativePath(a);
    auto nb = ToNativePath(b);
    if (!na || !nb) return false;
    std::error_code ec;
    return std::filesystem::equivalent(*na, *nb, ec) && !ec;
}

}  // namespace

std::string FolderAndName(const std::string& path)
{
    const PathParts parts = SplitPath(path);
    std::string folder = parts.dir;
    if (!folder.empty()) folder.pop_back();
    const std::size_t sep = MbReverseFind(folder, kPathSep);
    if (sep != std::string::npos) folder.erase(0, sep + 1);
    return (folder.empty() ? std::string() : folder + kPathSep) + parts.fname + parts.ext;
}

std::string ListRemark(std::string_view said)
{
    return "///// " + std::string(said);
}

std::string TakeFreeName(std::string_view stem, std::string_view ext,
                         const std::function<bool(const std::string& name, int number)>& take, int resumeAt,
                         int lastNumber)
{
    for (int n = 1; n <= lastNumber; n = n == 1 ? std::max(2, resumeAt) : n + 1) {
        std::string name(stem);
        if (n > 1) name += "(" + std::to_string(n) + ")";
        name += ext;
        if (take(name, n)) return name;
    }
    return {};
}

std::string MoveSourceToFinished(CConversionState& run, ConversionPort& port, RunSource& source,
                                 const std::string& finishedFolder)
{
    if (source.inFinished || source.gone) return {};
    // One that is no longer where it was read from is not silently skipped.
    if (!LookUpPath(source.path).present) {
        source.gone = true;
        const std::string why = ToCp932(" がなくなっていたため、Finished フォルダに移動できませんでした");
        port.Say(source.path + why);
        run.m_saNotWritten.push_back(source.path);
        return FolderAndName(source.path) + why;
    }
    if (SameFile(source.path, finishedFolder + source.finishedName)) {
        source.inFinished = true;
        return {};
    }
    const PathParts parts = SplitPath(source.finishedName);
    // A name is taken by the move itself: only a file standing there refuses it.
    bool failed = false;
    const std::string name = TakeFreeName(
        parts.fname, parts.ext,
        [&](const std::string& candidate, int) {
            bool taken = false;
            if (port.MoveSource(source.path, finishedFolder + candidate, taken)) return true;
            failed = !taken;
            return failed;
        },
        2, kMaxFinishedNames);
    if (!failed && !name.empty()) {
        const std::string from = source.path;
        run.SetSourcePath(source, finishedFolder + name);
        source.inFinished = true;
        if (name == source.finishedName) return {};
        const std::string why =
            ToCp932(" は Finished フォルダに同じ名前のファイルがあるため、") + name + ToCp932(" として移動しました");
        port.Say(from + why);
        return FolderAndName(from) + why;
    }
    const std::string why = ToCp932(" を Finished フォルダに移動できませんでした");
    port.Say(WithLastFileErrorReason(source.path + why));
    run.m_saNotWritten.push_back(source.path);
    return FolderAndName(source.path) + why;
}

std::optional<SourceText> ReadSourceFile(const SourceFile& source)
{
    std::optional<HeldText> text = ReadHeldText(source.path, IsWebPageExtension(source.extension));
    if (!text) return std::nullopt;
    return SourceText{std::move(text->bytes), HeldEncoding(text->encoding)};
}

bool WriteOutputFileBytes(const OutputFile& file, bool onlyIfNew)
{
    FileWriteOptions how;
    how.onlyIfNew = onlyIfNew;
    how.flushToDisk = false;  // made again from the sources if need be
    if (file.keepBackup) {
        const PathParts parts = SplitPath(file.path);
        how.backupPath = parts.drive + parts.dir + parts.fname + "-Back" + parts.ext;
    }
    how.prepared = file.prepared;
    return WriteFileBytes(file.path, file.text, how);
}

std::string LinkBetween(const std::string& fromFolder, const std::string& toFolder, const std::string& name)
{
    if (fromFolder == toFolder || fromFolder.empty() || toFolder.empty()) return name;
    // Without their final separators: "a/b/" is a folder "b" to the library
    // only when written "a/b".
    const auto folder = [](const std::string& path) {
        return std::filesystem::path(std::string_view(path).substr(0, path.find_last_not_of(kPathSep) + 1));
    };
    const std::string link = folder(toFolder).lexically_relative(folder(fromFolder)).generic_string();
    if (link.empty() || link == ".") return name;
    return link + "/" + name;
}

bool LinkLeadsAway(const std::string& path, const PathLookup& at)
{
    if (!at.link) return false;
    const std::optional<std::string> file = ResolvedPath(path);
    const std::optional<std::string> folder = ResolvedPath(GetFolderOfPath(path));
    return !file || !folder || GetFolderOfPath(*file) != *folder + kPathSep;
}

bool WriteGeneratedFile(CConversionState& run, ConversionPort& port, const OutputFile& file)
{
    const std::string path = file.path;
    const bool page = file.role == OutputRole::Page;
    // Nearly every file is new. Where none stands, the new one is over no
    // source and through no link: it is written without a look first. A
    // source the run knows by this name is never written over, there or not.
    if (!run.SourceLyingAt(path, PathLookup{})) {
        switch (port.WriteNewFile(file)) {
            case ConversionPort::NewFile::Written:
                if (!page) run.MarkWritten(path);
                return true;
            case ConversionPort::NewFile::Failed:
                run.m_saNotWritten.push_back(path);  // the port said so
                return false;
            case ConversionPort::NewFile::Taken:
                break;
        }
    }
    // Never over a source, by any name of it, nor through a link out of the folder.
    const PathLookup at = LookUpPath(path);
    const bool source = run.SourceLyingAt(path, at) != nullptr;
    if (source || LinkLeadsAway(path, at)) {
        port.Say(res::NotOpenedMessage(path, res::NotOpenedWhile::Writing) + "\n" +
                 ToCp932(source ? "変換元のファイル (原稿または目次ファイル) がこの場所にあります。"
                                : "この場所のリンクはフォルダの外か、ないファイルを指しています。"));
        run.m_saNotWritten.push_back(path);
        return false;
    }
    if (!port.WriteFile(file)) {
        run.m_saNotWritten.push_back(path);  // the port said so
        return false;
    }
    if (!page) run.MarkWritten(path);
    return true;
}

}  // namespace zavio
