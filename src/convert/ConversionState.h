// What one conversion run carries from stage to stage, from its command to its
// last file. The application makes it fresh when a conversion command starts
// and hands it to every stage that reads or writes it; the stages keep no
// state of their own between calls.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "convert/ConversionPort.h"
#include "convert/KeywordIndex.h"
#include "convert/Manuscript.h"
#include "convert/PageIndex.h"
#include "convert/PageSeparation.h"
#include "convert/StringNumbers.h"
#include "convert/TextStyles.h"
#include "framework/FileSystem.h"
#include "framework/TextFile.h"
#include "project/HelpProject.h"

namespace zavio {

// A source of the run (a manuscript or the contents file) and where it lies.
struct RunSource {
    std::string openedPath;    // where it was opened
    std::string path;          // where it lies now
    std::string finishedName;  // its name in Finished: base name + "." + extension
    bool inFinished = false;   // moved there, or opened from there
    // The file it is, links followed, when the run began: another name of
    // that file (a link, or the name in other letter case on a disk that
    // ignores case) is this source too.
    std::optional<FileIdentity> identity;
    bool gone = false;  // found missing when it was to move (said once)
};

// A whole WinHelp project's run: its output goes into a folder of its own,
// and the project keeps every file as it was.
struct ProjectRun {
    HelpProject project;
    std::string name;          // the .hpj's base name: the HTML Help project's and compiled help's
    std::string outputFolder;  // NAME-html/ beside the .hpj, ending in a separator
    LineList problems;         // what reading the project found, said and listed
    LineList remarks;          // listed only: what is allowed but worth knowing
    LineList contentsLines;    // its contents file, inclusions made, in CP932
};

class CConversionState {
public:
    CConversionState() = default;
    explicit CConversionState(ConversionKind kind) : m_kind(kind) {}

    // A state of its own for one manuscript's clean-up and cut into pages,
    // which may run beside another's: the settings those stages read (the
    // kind, the header choice, the project, the help folder), nothing else.
    CConversionState ForOneManuscript() const;
    // The manuscript in hand becomes the one `cut` had in hand: its header
    // and character styles. Its notes have served once its pages are cut.
    void TakeManuscriptInHand(CConversionState& cut);

    // The pages written from one manuscript, in reading order. Manuscripts are
    // taken from the last to the first, so each block goes in front and the
    // lists end in reading order. The blocks wait until SettlePageLists puts
    // them there, all at once: inserting each in front would move every
    // earlier page again, manuscript after manuscript.
    void InsertPagesAtFront(LineList titles, LineList files);
    void SettlePageLists();

    // Indexes the page lists for FindPageForTitle. The driver does it once the
    // last page is separated; the index answers for the lists as they were then.
    // `ahead`, lists indexed beforehand on another core, serves instead where
    // the lists came out equal to them: then true.
    bool IndexPages(IndexedPageLists* ahead = nullptr);
    PageIndex& Pages() { return m_pageIndex; }

    bool HtmlHelp() const { return m_kind == ConversionKind::HtmlHelp; }

    // Where a manuscript's pages go: beside it, or in a project's output folder.
    std::string PagesFolder(const SourceFile& manuscript) const;

    // The kind. Set by the command; read by the driver, the page separation
    // and the writers.
    ConversionKind m_kind = ConversionKind::HpType;
    // Leaves Word's style header as it is. Set by the command (its question,
    // or the converter's option); read by the driver.
    bool m_bKeepHeader = false;

    // The manuscript in hand: the lines above its body (SplitOffWordHeader;
    // shortened by SimplifyHeader; copied into every page and the contents
    // page) and its footnote and endnote block with the source's line breaks
    // (MoveNoteListToRun; searched for topic names and keywords by
    // SeparatePages). Each manuscript is cut in a state of its own
    // (ForOneManuscript); the run keeps the first manuscript's header and
    // character styles.
    LineList m_saHeaderLines;
    ManuscriptLines m_notes;
    // The character styles of its head's style sheets (SplitOffWordHeader),
    // which make hotspots and hide their targets (ConvertJumpLinks).
    CharacterStyles m_characterStyles;

    // One title and one file base name per page written, in reading order
    // (InsertPagesAtFront, from SeparatePages); the writers list them and match
    // contents entries against them through the page index.
    LineList m_saPageTitles;
    LineList m_saPageFiles;
    std::vector<std::pair<LineList, LineList>> m_pageBlocks;  // waiting for SettlePageLists, last first
    // The pictures the run put or found beside its pages (embedded in an RTF,
    // or bitmaps): the HTML Help project lists them, as not every compiler
    // follows the pages' <img> to them.
    LineList m_saPictureFiles;

    // The run's sources, registered by the driver when the run starts and
    // moved into Finished by it (convert/RunFiles.h); no file the run writes
    // takes the place of one, wherever it lies.
    std::vector<RunSource> m_sources;
    void AddSource(const std::string& path, std::string finishedName);
    // Where a source lies now, after a move: every change of a source's path
    // goes through here, so the lookups below stay right.
    void SetSourcePath(RunSource& source, std::string path);
    RunSource* SourceOpenedAt(const std::string& path);
    // The source at `path`: named so, letter case aside, or the file `at`
    // resolves to (LookUpPath of the path).
    RunSource* SourceLyingAt(const std::string& path, const PathLookup& at);
    RunSource* SourceLyingAt(const std::string& path) { return SourceLyingAt(path, LookUpPath(path)); }

    // Every file the run wrote (or named a page of), and in HP type Help the
    // contents page's path, reserved from the start since every page links
    // to it: a page never takes the place of one of them. Names are compared
    // without regard to letter case, as a case-blind disk and a compiled help
    // compare them; a link at a name counts as the file it leads to.
    void MarkWritten(const std::string& path);
    // Room for the names of `pages` more pages, in the tables that take one
    // each: grown once, not through a rehash every doubling.
    void ReservePages(std::size_t pages);
    bool WasWritten(const std::string& path, const PathLookup& at) const;
    bool IsContentsPage(const std::string& path) const;
    std::string m_strContentsPagePath;
    // Where the contents page (or the HTML Help project) lies, ending in a
    // separator: pages elsewhere link to it, and it to them, through the
    // folders between.
    std::string m_helpFolder;
    // The last number a page name took, by folder and name ("(2)" = 2), so
    // that a thousand pages of one name do not each try every number again;
    // a name that took none is not here.
    std::unordered_map<std::string, int> m_lastPageNameNumber;  // by lower-case folder and name

private:
    StringNumbers m_writtenNames;  // lower case
    // The sources by lower-case path and by identity, the first of each:
    // made again when sources come or move (a run may have hundreds, and
    // every page name asks).
    void IndexSources();
    std::size_t m_indexedSources = static_cast<std::size_t>(-1);
    std::unordered_map<std::string, std::size_t> m_sourceByPath;
    std::map<std::pair<std::uint64_t, std::uint64_t>, std::size_t> m_sourceByIdentity;

public:
    // The files the run meant to write but could not, and the sources it
    // could not move into Finished, each reported where it happened. The
    // batch converter's exit status 3.
    LineList m_saNotWritten;

    // The manuscripts in which no topic was found: said, left where they
    // are, and a reason for the batch converter's exit status 3.
    LineList m_saWithoutTopics;
    // What the run said it could not do as asked (a contents file without
    // entries): also a reason for exit status 3.
    LineList m_saIncomplete;
    // Jumps whose target no page of the run has (or another help file's, in
    // homepage-type help): left as text, listed, said once at the end.
    int m_nJumpsNotLinked = 0;

    // The keywords of every page written (IndexPageKeywords, from
    // SeparatePages); the index writer makes the run's index of them.
    KeywordIndex m_keywordIndex;

    // The HTML Help project name: written by WriteHtmlHelpProject, read by the
    // HTML Help integration note.
    std::string m_strProjectName;

    // Set for the conversion of a whole WinHelp project (the driver, from the
    // .hpj); read by every stage that places or names a file.
    std::optional<ProjectRun> m_project;
    // The pages a jump or a context id reaches, once every page is named.
    std::optional<TopicTable> m_topics;

    // Set when the driver reached its last step.
    bool m_bConversionFinished = false;
    // Set when the user stopped the run between two pages (the port's
    // Progress); the pages written so far stay, and are listed.
    bool m_bCancelled = false;
    // The pages the run means to write, and those written so far.
    std::size_t m_nPagesToWrite = 0;
    std::size_t m_nPagesWritten = 0;

private:
    PageIndex m_pageIndex;
};

}  // namespace zavio
