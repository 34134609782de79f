#include "convert/RunFiles.h"

#include <filesystem>
#include <system_error>

#include "convert/ConversionState.h"
#include "doc/ZavioDoc.h"
#include "framework/Cp932.h"
#include "framework/FileSystem.h"
#include "framework/Path.h"
#include "framework/WinApp.h"

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

// A source as the list of pages names it: its folder's name and its own,
// which tell apart two sources of one name without the whole path.
std::string FolderAndName(const std::string& path)
{
    const PathParts parts = SplitPath(path);
    std::string folder = parts.dir;
    if (!folder.empty()) folder.pop_back();
    const std::size_t sep = MbReverseFind(folder, kPathSep);
    if (sep != std::string::npos) folder.erase(0, sep + 1);
    return (folder.empty() ? std::string() : folder + kPathSep) + parts.fname + parts.ext;
}

// Said where a file of the run is not written, in the words of a save that failed.
void ReportNotWritten(CConversionState& run, const std::string& path)
{
    AfxMessageBox(path + ToCp932(" はオープンできませんでした"));
    run.m_saNotWritten.push_back(path);
}

}  // namespace

std::string MoveSourceToFinished(CConversionState& run, RunSource& source, const std::string& finishedFolder)
{
    if (source.inFinished || !FileExists(source.path)) return {};
    if (SameFile(source.path, finishedFolder + source.finishedName)) {
        source.inFinished = true;
        return {};
    }
    const PathParts parts = SplitPath(source.finishedName);
    for (int n = 1; n <= kMaxFinishedNames; ++n) {
        const std::string name = n == 1 ? source.finishedName : parts.fname + "(" + std::to_string(n) + ")" + parts.ext;
        bool taken = false;
        if (MoveFile(source.path, finishedFolder + name, &taken)) {
            const std::string from = source.path;
            source.path = finishedFolder + name;
            source.inFinished = true;
            if (n == 1) return {};
            const std::string why = ToCp932(" は Finished フォルダに同じ名前のファイルがあるため、") + name +
                                    ToCp932(" として移動しました");
            AfxMessageBox(from + why);
            return FolderAndName(from) + why;
        }
        if (!taken) break;
    }
    const std::string why = ToCp932(" を Finished フォルダに移動できませんでした");
    AfxMessageBox(source.path + why);
    run.m_saNotWritten.push_back(source.path);
    return FolderAndName(source.path) + why;
}

bool WriteGeneratedFile(CConversionState& run, CZavioDoc* doc, bool keepBackup)
{
    const std::string& path = doc->m_strPath;
    if (run.SourceLyingAt(path) || !doc->LoadLinesIntoView(doc->m_saOutputLines)) {
        ReportNotWritten(run, path);
        return false;
    }
    if (!doc->SaveDocument(keepBackup, false)) {
        run.m_saNotWritten.push_back(path);  // the save said so
        return false;
    }
    run.m_writtenPaths.insert(path);
    return true;
}

}  // namespace zavio
