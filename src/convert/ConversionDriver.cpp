#include "convert/ConversionDriver.h"

#include <algorithm>

#include "convert/ContentsEntry.h"
#include "convert/ConversionState.h"
#include "convert/HeaderSimplification.h"
#include "convert/HomepageContents.h"
#include "convert/HtmlHelpProject.h"
#include "convert/IntegrationNotes.h"
#include "convert/KeywordIndex.h"
#include "convert/PageSeparation.h"
#include "convert/RunFiles.h"
#include "convert/WordHtmlCleanup.h"
#include "framework/Cp932.h"
#include "framework/FileSystem.h"
#include "framework/Path.h"
#include "res/FileKinds.h"

namespace zavio {
namespace {

// The text before the last separator; empty when there is none. A trail
// byte is never taken for a separator.
std::string CutBeforeLastSeparator(const std::string& path)
{
    std::size_t pos = MbReverseFind(path, kPathSep);
    return pos == std::string::npos ? std::string() : path.substr(0, pos);
}

// Moves a source into Finished and lets it go; what the list of pages says
// about the move goes to `at` in its lines.
void MoveIntoFinished(CConversionState& run, ConversionPort& port, const SourceFile& file,
                      const std::string& finishedFolder, LineList& listLines, std::size_t at)
{
    if (RunSource* source = run.SourceOpenedAt(file.path)) {
        const std::string said = MoveSourceToFinished(run, port, *source, finishedFolder);
        if (!said.empty()) listLines.insert(listLines.begin() + std::min(at, listLines.size()), ListRemark(said));
    }
    port.ReleaseSource(file);
}

// A source's text, read where it lies now: a page that took a manuscript's
// name may have sent it into Finished before its own pass.
bool ReadSourceWhereItLies(CConversionState& run, ConversionPort& port, const SourceFile& source, SourceText& text)
{
    SourceFile now = source;
    if (const RunSource* lying = run.SourceOpenedAt(source.path)) now.path = lying->path;
    return port.ReadSource(now, text);
}

// The contents file's lines in CP932; nullopt when it cannot be read.
std::optional<ContentsFile> ReadContentsFile(CConversionState& run, ConversionPort& port, const SourceFile& source)
{
    SourceText text;
    if (!ReadSourceWhereItLies(run, port, source, text)) return std::nullopt;
    ContentsFile contents{source.path, source.baseName, {}};
    SplitViewText(text.bytes, contents.lines);
    if (text.encoding == TextEncoding::Utf8) Utf8LinesToCp932(contents.lines, 0);
    return contents;
}

}  // namespace

const std::string& ConversionQuestion(ConversionKind kind)
{
    static const std::string hpType = ToCp932("目次つきホームページタイプのヘルプを生成します。\n\n") +
                                      ToCp932("ヘッダーを簡易化して行間が異常に広いなどの不具合が起きた場合は\n") +
                                      ToCp932("[ いいえ ] を選択してください。\n\n") +
                                      ToCp932("ヘッダーを簡易化しますか？");
    return kind == ConversionKind::HtmlHelp ? ToCp932("HTML Help のプロジェクトを生成します。") : hpType;
}

ConversionSources CollectSources(const std::vector<SourceFile>& openInOrder)
{
    ConversionSources sources;
    for (const SourceFile& file : openInOrder) {
        if (IsManuscriptExtension(file.extension)) {
            sources.lastManuscriptPath = file.path;
            // Ascending base names; of two equal names the later one first.
            auto before = std::find_if(sources.manuscripts.begin(), sources.manuscripts.end(),
                                       [&](const SourceFile& m) { return MbCompare(m.baseName, file.baseName) >= 0; });
            sources.manuscripts.insert(before, file);
        } else if (IsContentsExtension(file.extension)) {
            sources.contents = file;
        }
    }
    return sources;
}

void RunConversion(CConversionState& run, ConversionPort& port, const ConversionSources& sources)
{
    if (sources.manuscripts.empty()) {
        port.Say(ToCp932("原稿のHTMLファイルが開いていません"));
        return;
    }
    if (!port.BeginRun()) return;
    const std::optional<SourceFile>& contents = sources.contents;
    const std::string contentsName = contents ? contents->baseName : std::string("Contents");
    const std::string contentsPagePath = GetFolderOfPath(sources.lastManuscriptPath) + contentsName + ".htm";
    // Nothing the run writes may take a source's place; and every page links
    // to the contents page, so no page takes that name either.
    for (const SourceFile& file : sources.manuscripts)
        run.m_sources.push_back({file.path, file.path, file.baseName + "." + file.extension});
    if (contents)
        run.m_sources.push_back({contents->path, contents->path, contents->baseName + "." + contents->extension});
    if (!run.HtmlHelp()) run.m_strContentsPagePath = contentsPagePath;

    LineList listLines;
    std::string manuscriptPath = sources.lastManuscriptPath;
    std::string finishedFolder;
    for (std::size_t i = sources.manuscripts.size(); i-- > 0;) {
        Manuscript manuscript{sources.manuscripts[i], {}, {}};
        run.BeginManuscript();
        manuscriptPath = manuscript.source.path;
        // Every manuscript of the run goes to the Finished folder of the first.
        if (i + 1 == sources.manuscripts.size()) finishedFolder = PrepareFinishedFolder(manuscriptPath);

        SourceText text;
        if (!ReadSourceWhereItLies(run, port, manuscript.source, text)) return;
        LoadHtmlSource(manuscript, std::move(text));
        if (!SplitOffWordHeader(run, manuscript)) {
            port.Say(ToCp932("ヘッダーが取得できません\n\n") + manuscript.source.baseName);
            return;
        }
        if (!run.m_bKeepHeader) SimplifyHeader(run);
        CleanUpBody(run, manuscript);

        port.NamePageList(finishedFolder + "ListTitl.txt");
        SeparatePages(run, port, contentsName, manuscript, listLines, finishedFolder);
        // Said under the manuscript's line, which heads the block just listed.
        MoveIntoFinished(run, port, manuscript.source, finishedFolder, listLines, 2);
    }
    // Every page is written: the contents writers match their entries against this.
    run.IndexPages();

    std::optional<ContentsFile> contentsFile;
    if (contents) contentsFile = ReadContentsFile(run, port, *contents);
    if (run.HtmlHelp())
        WriteHtmlHelpProject(run, port, contentsFile ? &*contentsFile : nullptr, manuscriptPath);
    else
        WriteHomepageContents(run, port, contentsFile ? &*contentsFile : nullptr, contentsName, contentsPagePath);
    // The index lies beside the project, or beside the contents page.
    WriteKeywordIndex(run, port, GetFolderOfPath(run.HtmlHelp() ? manuscriptPath : contentsPagePath), contentsName,
                      listLines);
    if (contents) MoveIntoFinished(run, port, *contents, finishedFolder, listLines, listLines.size());
    WriteIntegrationNote(run, port, finishedFolder, manuscriptPath, contentsName);

    WriteGeneratedFile(
        run, port,
        {OutputRole::PageList, finishedFolder + "ListTitl.txt", "txt", "ListTitl", JoinTextLines(listLines), false});
    port.EndRun();
    run.m_bConversionFinished = true;
}

std::string PrepareFinishedFolder(const std::string& manuscriptPath)
{
    // The folder, then its parent: the first cut drops the trailing
    // separator, the second the conversion folder's own name.
    std::string parent = CutBeforeLastSeparator(CutBeforeLastSeparator(GetFolderOfPath(manuscriptPath)));
    parent += kPathSep;
    // A parent that cannot be listed gets no Finished folder, and nothing is
    // said here: the moves into it then leave the sources where they are,
    // and each file meant for it is reported where it is not written. The
    // run goes on, so the pages are written.
    (void)EnsureSubfolder(parent, "Finished");
    return parent + "Finished" + kPathSep;
}

bool EnsureSubfolder(const std::string& parentFolder, const std::string& name)
{
    std::optional<std::vector<FolderEntry>> entries = ListFolder(parentFolder);
    if (!entries) return false;
    // The listing's first entry is the folder itself.
    bool exists = false;
    for (std::size_t i = 1; i < entries->size() && !exists; ++i)
        exists = (*entries)[i].isDirectory && MbCompare((*entries)[i].name, name) == 0;
    // Made by its whole path: the process's current folder stays as it is.
    if (!exists) MakeFolder(parentFolder + name);
    return true;
}

}  // namespace zavio
