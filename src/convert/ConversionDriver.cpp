#include "convert/ConversionDriver.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "convert/ContentsEntry.h"
#include "convert/ConversionState.h"
#include "convert/HeaderSimplification.h"
#include "convert/HomepageContents.h"
#include "convert/HtmlHelpProject.h"
#include "convert/IntegrationNotes.h"
#include "convert/KeywordIndex.h"
#include "convert/PageSeparation.h"
#include "convert/PagesAhead.h"
#include "convert/ProjectConversion.h"
#include "convert/RunFiles.h"
#include "convert/WordHtmlCleanup.h"
#include "framework/Cp932.h"
#include "framework/FileEncoding.h"
#include "framework/FileError.h"
#include "framework/FileSystem.h"
#include "framework/JobGroup.h"
#include "framework/Path.h"
#include "res/FileKinds.h"
#include "rtf/RtfReader.h"

namespace zavio {
namespace {

// Manuscripts cleaned up and waiting to be cut into pages. Whoever cleaned
// one up cuts what waits (near the end the driver first hands out the next
// manuscript), and so does the driver once every manuscript is read: a free
// core takes the next manuscript's clean-up first, so that the last clean-up
// does not start behind the others' cuts.
class CutsWaiting {
public:
    void Add(std::function<void()> cut)
    {
        std::lock_guard lock(m_mutex);
        m_waiting.push_back(std::move(cut));
    }
    void RunAll()
    {
        for (;;) {
            std::function<void()> cut;
            {
                std::lock_guard lock(m_mutex);
                if (m_waiting.empty()) return;
                cut = std::move(m_waiting.back());
                m_waiting.pop_back();
            }
            cut();
        }
    }

private:
    std::mutex m_mutex;
    std::vector<std::function<void()>> m_waiting;
};

// What the writes use, made on a free core while the pages are written: the
// page files of each manuscript but the first (the writes make those while
// this core wakes), in the order they are written, a few manuscripts ahead
// at most; and, guessing that every page will be written, the run's
// page lists with their index, the contents made of them and the keyword
// index's text. A guess serves only where it came true. Where the port lets
// it, the core then writes the bytes of the pages the writes have not come
// to yet, for the writes to name. The files written are freed here too: a
// heap's blocks are best freed by the thread that took them, and a large
// run never holds all its pages' files at once.
class MadeAhead {
public:
    // Before the making begins: where pages are to be written ahead.
    void WriteAheadOf(const std::vector<SeparatedManuscript>& separated)
    {
        for (const SeparatedManuscript& manuscript : separated)
            m_pages.push_back(std::make_unique<PagesAhead>(manuscript.pages.size()));
    }
    // What was written ahead of the manuscript's pages; null where nothing is.
    PagesAhead* PagesOf(std::size_t manuscript) const { return m_pages.empty() ? nullptr : m_pages[manuscript].get(); }

    void Make(const CConversionState& run, const TopicTable& topics, std::vector<SeparatedManuscript>& separated,
              const ContentsFile* contents)
    {
        try {
            m_freed = 1;  // the writes make and free the first manuscript's files
            if (Stopped()) return;
            // While the first manuscript's pages are written: the writes
            // never wait for the guesses at their end.
            GuessLists(run, separated);
            contentsBody = run.HtmlHelp() ? SitemapContentsBody(lists.index, lists.titles, lists.files, contents)
                                          : HomepageContentsBody(lists.index, lists.titles, lists.files, contents);
            GuessKeywordIndex(run, separated);
            guessed = true;
            if (!WaitUntilMade(1)) return;
            for (std::size_t next = 0; next < separated.size(); ++next) {
                if (next + 1 < separated.size() && !MakeFilesOf(run, topics, separated, next + 1)) return;
                if (PagesAhead* pages = PagesOf(next)) WritePagesAhead(run, separated[next], *pages);
            }
            FreeWritten(separated);
        } catch (...) {
            std::lock_guard lock(m_mutex);
            m_failure = std::current_exception();
            m_changed.notify_all();
        }
    }
    // Waits until the page files of the first `count` manuscripts are made;
    // what failed in the making is thrown here.
    void WaitForFiles(std::size_t count)
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_made >= count || m_failure; });
        if (m_made < count) std::rethrow_exception(m_failure);
    }
    // The writes made the first manuscript's files themselves.
    void FirstMade()
    {
        std::lock_guard lock(m_mutex);
        m_made = 1;
        m_changed.notify_all();
    }
    // The writes are done with the first `count` manuscripts' files.
    void Written(std::size_t count)
    {
        std::lock_guard lock(m_mutex);
        m_written = count;
        m_changed.notify_all();
    }
    // What failed in the making, thrown once it is over: a guess cut short
    // must not serve.
    void ThrowFailure()
    {
        if (m_failure) std::rethrow_exception(m_failure);
    }
    // The writes end, however: no more files are made for them.
    void Stop()
    {
        {
            std::lock_guard lock(m_mutex);
            m_stopped = true;
            m_changed.notify_all();
        }
        for (const std::unique_ptr<PagesAhead>& pages : m_pages) pages->Stop();
    }

    bool guessed = false;  // what follows was made whole
    IndexedPageLists lists;
    std::string contentsBody;      // what the contents writer makes of the lists
    std::size_t keywordPages = 0;  // the pages the guessed keyword index holds
    std::string keywordEntries;

private:
    static constexpr std::size_t kManuscriptsAhead = 2;
    // Page files written ahead and not yet named, each an open descriptor.
    static constexpr std::size_t kPagesHeld = 32;

    // False once the writes have stopped.
    bool MakeFilesOf(const CConversionState& run, const TopicTable& topics, std::vector<SeparatedManuscript>& separated,
                     std::size_t manuscript)
    {
        if (!WaitForRoom(manuscript)) return false;
        FreeWritten(separated);
        MakePageFiles(run, topics, separated[manuscript]);
        std::lock_guard lock(m_mutex);
        ++m_made;
        m_changed.notify_all();
        return true;
    }
    // The bytes of each page the writes have not taken yet, in their order.
    void WritePagesAhead(const CConversionState& run, const SeparatedManuscript& manuscript, PagesAhead& pages)
    {
        const std::string folder = run.PagesFolder(manuscript.source);
        for (std::size_t k = 0; k < pages.size() && !Stopped(); ++k) {
            pages.WaitForRoom(kPagesHeld);
            if (!pages.TakeAhead(k)) continue;
            const TakenPage& page = manuscript.pages[manuscript.pages.size() - 1 - k];
            std::optional<PreparedFile> file;
            try {
                file = PrepareFileBytes(folder + page.fileName + ".htm", page.file);
            } catch (...) {
                pages.Prepared(k, std::nullopt);  // the writes write it
                throw;
            }
            pages.Prepared(k, std::move(file));
        }
    }

    bool Stopped()
    {
        std::lock_guard lock(m_mutex);
        return m_stopped;
    }
    // The making's own wait for the files the writes made: false once they stopped.
    bool WaitUntilMade(std::size_t count)
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_stopped || m_made >= count; });
        return !m_stopped;
    }
    // False once the writes have stopped.
    bool WaitForRoom(std::size_t manuscript)
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_stopped || manuscript < m_written + kManuscriptsAhead; });
        return !m_stopped;
    }
    void FreeWritten(std::vector<SeparatedManuscript>& separated)
    {
        std::size_t written = 0;
        {
            std::lock_guard lock(m_mutex);
            written = m_written;
        }
        for (; m_freed < written; ++m_freed) ReleasePageFiles(separated[m_freed]);
    }
    // As SettlePageLists leaves them: each manuscript's pages in reading
    // order, the manuscript written last first.
    void GuessLists(const CConversionState& run, const std::vector<SeparatedManuscript>& separated)
    {
        for (auto manuscript = separated.rbegin(); manuscript != separated.rend(); ++manuscript) {
            const std::string folder = run.PagesFolder(manuscript->source);
            for (const TakenPage& page : manuscript->pages) {
                lists.titles.push_back(page.title);
                lists.files.push_back(LinkBetween(run.m_helpFolder, folder, page.fileName));
            }
        }
        lists.index = PageIndex(lists.titles, lists.files);
    }
    // The pages added as WritePages adds those it wrote, in the same order:
    // the run's index holds these pages when it holds as many.
    void GuessKeywordIndex(const CConversionState& run, const std::vector<SeparatedManuscript>& separated)
    {
        KeywordIndex index;
        for (const SeparatedManuscript& manuscript : separated) {
            const std::string folder = run.PagesFolder(manuscript.source);
            for (auto page = manuscript.pages.rbegin(); page != manuscript.pages.rend(); ++page)
                index.AddPage(LinkBetween(run.m_helpFolder, folder, page->fileName), page->title, page->keywords);
        }
        keywordPages = index.PageCount();
        if (!index.empty()) keywordEntries = KeywordIndexEntriesText(index, run.HtmlHelp());
    }

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::size_t m_made = 0;     // manuscripts whose files are made
    std::size_t m_written = 0;  // manuscripts the writes are done with
    std::size_t m_freed = 0;    // the making's own count: whose files it freed
    bool m_stopped = false;
    std::exception_ptr m_failure;
    std::vector<std::unique_ptr<PagesAhead>> m_pages;
};

// However the writes end, the making stops and is over before what it reads
// goes; it throws nothing itself, so the wait throws nothing either.
struct StopMakingAtEnd {
    MadeAhead& ahead;
    JobGroup& making;
    ~StopMakingAtEnd()
    {
        ahead.Stop();
        making.Wait();
    }
};

// One manuscript being cleaned up and cut into pages, with its own state.
struct ManuscriptCut {
    ManuscriptCut(CConversionState own, const SourceFile& source) : state(std::move(own)), manuscript{source, {}, {}} {}
    CConversionState state;
    Manuscript manuscript;
};

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

// A manuscript the stopped run did not write whole goes back where it was
// opened, when that place is free, for the next run to take.
void PutBackUnwritten(CConversionState& run, ConversionPort& port, const SourceFile& file, LineList& listLines)
{
    RunSource* source = run.SourceOpenedAt(file.path);
    if (!source || !source->inFinished || source->path == source->openedPath) return;
    bool taken = false;
    if (!port.MoveSource(source->path, source->openedPath, taken)) return;
    listLines.push_back(
        ListRemark(source->openedPath + ToCp932(" は書き出しが終わっていないため、元の場所に戻しました")));
    run.SetSourcePath(*source, source->openedPath);
    source->inFinished = false;
}

// An RTF manuscript's text as Word's HTML; false, said, when it is no RTF
// this program reads (nothing has been written then).
bool ReadRtfSource(ConversionPort& port, const SourceFile& source, SourceText& text, SeparatedManuscript& cut)
{
    std::string why;
    std::optional<RtfManuscript> read = ReadRtfManuscript(text.bytes, source.baseName, why);
    if (!read) {
        port.Say(source.path + ToCp932(" は RTF の原稿として読めません\n") + why);
        return false;
    }
    text = {std::move(read->html), TextEncoding::Cp932};
    for (RtfPicture& picture : read->pictures) cut.pictures.push_back({picture.fileName, {}, std::move(picture.bytes)});
    for (const std::string& line : read->notShown)
        cut.remarks.push_back(ListRemark(source.baseName + "." + source.extension + " : " + line));
    return true;
}

// Why a manuscript gave no page: it has no "#" note, or no Word note at all
// (an RTF is one whatever its notes).
const std::string& WithoutTopicsReason(const SeparatedManuscript& manuscript)
{
    return ToCp932(manuscript.noteAnchors || IsRtfExtension(manuscript.source.extension)
                       ? "トピック名を表す「#」の脚注がありません"
                       : "Word の脚注がありません（Word で Web ページとして保存した原稿ではありません）");
}

// What is said of a manuscript that gave no page, and how the list of pages
// names it, on one line.
std::string WithoutTopicsMessage(const std::string& path, const SeparatedManuscript& manuscript, bool inList)
{
    static const std::string& found = ToCp932(" にはトピックが見つかりません");
    return inList ? FolderAndName(path) + found + ToCp932(" : ") + WithoutTopicsReason(manuscript)
                  : path + found + "\n" + WithoutTopicsReason(manuscript);
}

// Why a manuscript has no Word body division: what its bytes are, where
// they are no Web page at all, else the division that is missing.
std::string WhyNoWordBody(std::string_view bytes)
{
    const FileErrorCause foreign = ForeignContent(bytes);
    if (foreign != FileErrorCause::None) return FileErrorReason({foreign});
    return ToCp932(
        "Word の本文の区分 (<div class=Section1> または WordSection1) がありません。"
        "Word で Web ページとして保存した原稿ではありません。");
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
        } else if (IsHelpProjectExtension(file.extension)) {
            sources.project = file;
        }
    }
    return sources;
}

void RunConversion(CConversionState& run, ConversionPort& port, const ConversionSources& opened)
{
    // A project names its own sources; the windows open beside it do not count.
    ConversionSources projectSources;
    if (opened.project && !ReadProjectSources(run, port, *opened.project, projectSources)) return;
    const ConversionSources& sources = opened.project ? projectSources : opened;
    if (sources.manuscripts.empty()) {
        port.Say(ToCp932("原稿のHTMLファイルが開いていません"));
        return;
    }
    const std::optional<SourceFile>& contents = sources.contents;
    const std::string contentsName = contents ? contents->baseName : std::string("Contents");
    // A project's output all goes into its folder; else the contents page and
    // the HTML Help files go beside the manuscripts, the rest into Finished.
    const std::string contentsPagePath =
        (run.m_project ? run.m_project->outputFolder : GetFolderOfPath(sources.lastManuscriptPath)) + contentsName +
        ".htm";
    // Nothing the run writes may take a source's place; and every page links
    // to the contents page, so no page takes that name either.
    for (const SourceFile& file : sources.manuscripts) run.AddSource(file.path, file.baseName + "." + file.extension);
    if (contents) run.AddSource(contents->path, contents->baseName + "." + contents->extension);
    if (!run.HtmlHelp()) run.m_strContentsPagePath = contentsPagePath;
    run.m_helpFolder = run.m_project    ? run.m_project->outputFolder
                       : run.HtmlHelp() ? GetFolderOfPath(sources.manuscripts.front().path)
                                        : GetFolderOfPath(contentsPagePath);

    // Every manuscript is read and cut into pages before anything is written
    // or moved: one that is no Word manuscript ends the run with nothing
    // changed, and the pages know every topic a jump may reach. What the
    // user sees of the reading (progress, a file that cannot be read, one
    // that is no Word manuscript) happens here in order; a manuscript's
    // clean-up and cut touch only a state of its own, and run beside the
    // reading of the next manuscript.
    const std::size_t count = sources.manuscripts.size();
    std::vector<SeparatedManuscript> separated(count);
    std::vector<std::unique_ptr<ManuscriptCut>> cuts(count);
    CutsWaiting waiting;
    const std::size_t workers = JobGroup::WorkersFor(count);
    const std::thread::id driver = std::this_thread::get_id();
    MadeAhead ahead;            // what the writes use, made beside them
    JobGroup cutting(workers);  // ends before what its jobs work on
    for (std::size_t k = 0; k < count; ++k) {
        const SourceFile& source = sources.manuscripts[count - 1 - k];
        if (!port.Progress({ConversionProgress::Stage::Reading, k, count, source.baseName + "." + source.extension}))
            return;
        ManuscriptCut& job = *(cuts[k] = std::make_unique<ManuscriptCut>(run.ForOneManuscript(), source));
        SourceText text;
        if (!ReadSourceWhereItLies(run, port, source, text)) return;
        SeparatedManuscript& cut = separated[k];
        // An RTF manuscript is read into Word's HTML shape, which the rest
        // takes as it comes; the pictures it embeds go beside its pages.
        if (IsRtfExtension(source.extension) && !ReadRtfSource(port, source, text, cut)) return;
        LoadHtmlSource(job.manuscript, std::move(text));
        if (!SplitOffWordHeader(job.state, job.manuscript)) {
            port.SayAbout(source.path,
                          ToCp932("ヘッダーが取得できません\n\n") + source.baseName + "\n" +
                              WhyNoWordBody(JoinTextLines(job.manuscript.sourceLines) +
                                            job.manuscript.sourceText.substr(job.manuscript.sourceTextRead)));
            return;
        }
        // Near the end, the driver reads and hands out the next manuscript
        // before it cuts one it cleaned up itself (no worker was free, or none
        // had begun it), so that the last clean-ups run beside the cuts, not
        // behind them. Before that it cuts at once: the thread that cleans a
        // manuscript up then gives back the blocks it took, for its next.
        const bool cutLater = count - 1 - k <= workers;
        cutting.Run([&job, &cut, &contentsName, &waiting, cutLater, driver] {
            if (!job.state.m_bKeepHeader) SimplifyHeader(job.state);
            CleanUpBody(job.state, job.manuscript);
            waiting.Add([&job, &cut, &contentsName] {
                SeparatePages(job.state, contentsName, job.manuscript, cut);
                // Its lines are the pages' now, and its notes have served.
                job.manuscript = Manuscript{};
                job.state.m_notes = ManuscriptLines{};
            });
            if (!cutLater || std::this_thread::get_id() != driver) waiting.RunAll();
        });
    }
    waiting.RunAll();
    cutting.Wait();
    waiting.RunAll();  // those of clean-ups the driver took back from a worker
    // The contents page and the index are made with the first manuscript's header.
    run.TakeManuscriptInHand(cuts.back()->state);
    cuts.clear();

    // A project without a single topic would give a folder of empty lists.
    if (run.m_project && std::all_of(separated.begin(), separated.end(),
                                     [](const SeparatedManuscript& cut) { return cut.pages.empty(); })) {
        LineList unlisted;
        SayProjectProblems(run, port, unlisted);
        for (const SeparatedManuscript& manuscript : separated)
            port.Say(WithoutTopicsMessage(manuscript.source.path, manuscript, false));
        port.Say(run.m_project->project.path + ToCp932(" には変換するトピックがありません"));
        return;
    }
    // A project's run writes into a folder of its own, made now; another
    // run's writes into the Finished folder beside the first manuscript's.
    if (run.m_project && !MakeFolder(run.m_project->outputFolder)) {
        port.Say(run.m_project->outputFolder + ToCp932(" を作れませんでした"));
        return;
    }
    if (!port.BeginRun()) return;
    const std::string finishedFolder =
        run.m_project ? run.m_project->outputFolder : PrepareFinishedFolder(sources.manuscripts.back().path);
    port.NamePageList(finishedFolder + "ListTitl.txt");
    LineList listLines;
    if (run.m_project) SayProjectProblems(run, port, listLines);
    // Every manuscript's text is read: each goes into Finished before any
    // page is named, so that the pages see where every source lies. One
    // without topics is said and stays where it is. A project's stay.
    LineList moved(separated.size());
    for (std::size_t i = 0; i < separated.size(); ++i) {
        SeparatedManuscript& manuscript = separated[i];
        if (manuscript.pages.empty()) {
            port.Say(WithoutTopicsMessage(manuscript.source.path, manuscript, false));
            run.m_saWithoutTopics.push_back(manuscript.source.path);
            continue;
        }
        run.m_nPagesToWrite += manuscript.pages.size();
        if (run.PagesFolder(manuscript.source) != run.m_helpFolder) {
            const std::string said =
                ToCp932(" のページは目次と別のフォルダに書き出します。目次とページは互いに相対パスでリンクします");
            port.Say(manuscript.source.path + said);
            manuscript.remarks.push_back(ListRemark(FolderAndName(manuscript.source.path) + said));
        }
        if (run.m_project) continue;
        if (RunSource* source = run.SourceOpenedAt(manuscript.source.path))
            moved[i] = MoveSourceToFinished(run, port, *source, finishedFolder);
        port.ReleaseSource(manuscript.source);
    }
    run.ReservePages(run.m_nPagesToWrite);
    NamePages(run, port, separated, finishedFolder);
    const TopicTable& topics = run.m_topics.emplace(run, separated);
    // The HTML Help files lie beside the project's or the first manuscript,
    // the index beside them or beside the contents page.
    const std::string manuscriptPath =
        run.m_project ? run.m_project->outputFolder + run.m_project->name + ".hpj" : sources.manuscripts.front().path;
    std::optional<ContentsFile> contentsFile;
    if (contents)
        contentsFile = run.m_project ? ReadProjectContentsFile(run, *contents) : ReadContentsFile(run, port, *contents);
    const ContentsFile* contentsEntries =
        contentsFile && std::any_of(contentsFile->lines.begin(), contentsFile->lines.end(),
                                    [](const std::string& line) {
                                        ContentsEntry entry;
                                        return ReadContentsEntry(line, entry);
                                    })
            ? &*contentsFile
            : nullptr;
    // The core that cut beside the driver makes what the writes use while
    // the driver writes; with one manuscript none did, and one starts now.
    // Where no other core takes the job, the driver makes each manuscript's
    // files itself as it comes to them, and nothing is guessed.
    std::optional<JobGroup> aside;
    JobGroup& making = workers > 0 ? cutting : aside.emplace(JobGroup::WorkersFor(2));
    bool madeBeside = true;
    if (port.WritesFilesAhead()) ahead.WriteAheadOf(separated);
    making.Run([&run, &topics, &separated, &ahead, contentsEntries, &madeBeside, driver] {
        if (std::this_thread::get_id() == driver)
            madeBeside = false;
        else
            ahead.Make(run, topics, separated, contentsEntries);
    });
    const StopMakingAtEnd stopMaking{ahead, making};
    // The first manuscript's files are made here while the other core
    // begins (waking it may take a while), and freed here once written.
    MakePageFiles(run, topics, separated.front());
    ahead.FirstMade();
    // Each manuscript's block of the list, the last manuscript's first: put
    // in reading order once, before what was listed so far.
    std::vector<LineList> blocks;
    for (std::size_t i = 0; i < separated.size(); ++i) {
        ahead.Written(i);
        SeparatedManuscript& manuscript = separated[i];
        LineList& block = blocks.emplace_back();
        if (manuscript.pages.empty()) {
            block = {std::string(), ListRemark(WithoutTopicsMessage(manuscript.source.path, manuscript, true))};
            continue;
        }
        if (run.m_bCancelled) {
            PutBackUnwritten(run, port, manuscript.source, listLines);
            continue;
        }
        const std::size_t pagesWritten = run.m_nPagesWritten;
        // The writes make and free the first manuscript's files, and every
        // one's where no other core makes them.
        const bool ownFiles = i == 0 || !madeBeside;
        if (!ownFiles)
            ahead.WaitForFiles(i + 1);
        else if (i > 0)
            MakePageFiles(run, topics, manuscript);
        WritePages(run, port, manuscript, block, madeBeside ? ahead.PagesOf(i) : nullptr);
        if (ownFiles) ReleasePageFiles(manuscript);
        // Said under the manuscript's line, which heads its block.
        block.insert(block.begin() + 2, manuscript.remarks.begin(), manuscript.remarks.end());
        if (!moved[i].empty()) block.insert(block.begin() + 2, ListRemark(moved[i]));
        if (run.m_bCancelled && run.m_nPagesWritten - pagesWritten < manuscript.pages.size())
            PutBackUnwritten(run, port, manuscript.source, listLines);
    }
    ahead.Written(separated.size());
    run.SettlePageLists();
    LineList ordered;
    for (auto block = blocks.rbegin(); block != blocks.rend(); ++block)
        ordered.insert(ordered.end(), std::make_move_iterator(block->begin()), std::make_move_iterator(block->end()));
    ordered.insert(ordered.end(), std::make_move_iterator(listLines.begin()), std::make_move_iterator(listLines.end()));
    listLines = std::move(ordered);
    if (run.m_bCancelled) ahead.Stop();  // what is not written needs no files
    making.Wait();
    ahead.ThrowFailure();
    separated.clear();
    if (run.m_bCancelled) {
        // What is written stays whole and is listed; nothing is made of it.
        const std::string said = ToCp932("変換を中止しました。書き出したページは ListTitl.txt に一覧があります");
        listLines.push_back(ListRemark(said));
        WriteGeneratedFile(run, port,
                           {OutputRole::PageList, finishedFolder + "ListTitl.txt", "txt", "ListTitl",
                            JoinTextLines(listLines), false});
        port.Say(said);
        port.EndRun();
        return;
    }
    // Every page is written: the contents writers match their entries against this.
    const bool guessHeld = run.IndexPages(ahead.guessed ? &ahead.lists : nullptr);

    // A contents file without one entry would give empty contents: the pages
    // are listed instead, as without a contents file, and that is said.
    if (contentsFile && !contentsEntries) {
        const std::string said = ToCp932(" には目次の項目がないため、目次にはすべてのページを並べました");
        port.Say(contentsFile->path + said);
        listLines.push_back(ListRemark(FolderAndName(contentsFile->path) + said));
        run.m_saIncomplete.push_back(contentsFile->path);
    }
    const std::string* contentsBody = guessHeld ? &ahead.contentsBody : nullptr;
    if (run.HtmlHelp())
        WriteHtmlHelpProject(run, port, contentsEntries, manuscriptPath, contentsBody);
    else
        WriteHomepageContents(run, port, contentsEntries, contentsName, contentsPagePath, contentsBody);
    std::string().swap(ahead.contentsBody);  // a large run's contents are large
    WriteKeywordIndex(
        run, port, GetFolderOfPath(run.HtmlHelp() ? manuscriptPath : contentsPagePath), contentsName, listLines,
        ahead.guessed && ahead.keywordPages == run.m_keywordIndex.PageCount() ? &ahead.keywordEntries : nullptr);
    std::string().swap(ahead.keywordEntries);
    if (run.m_project)
        WriteContextIds(run, port, listLines);
    else if (contents)
        MoveIntoFinished(run, port, *contents, finishedFolder, listLines, listLines.size());
    WriteIntegrationNote(run, port, finishedFolder, manuscriptPath, contentsName);

    WriteGeneratedFile(
        run, port,
        {OutputRole::PageList, finishedFolder + "ListTitl.txt", "txt", "ListTitl", JoinTextLines(listLines), false});
    if (run.m_nJumpsNotLinked > 0)
        port.Say(ToCp932("リンクにしなかったジャンプが ") + std::to_string(run.m_nJumpsNotLinked) +
                 ToCp932(" 個あります。ジャンプ先は ListTitl.txt に書き出しました"));
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
