#include "convert/PageSeparation.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "convert/ConversionState.h"
#include "convert/KeywordIndex.h"
#include "convert/NoteLineIndex.h"
#include "convert/PageExtraction.h"
#include "convert/PageNames.h"
#include "convert/RunFiles.h"
#include "framework/Cp932.h"
#include "framework/Path.h"

namespace zavio {
namespace {

// The longest title the page list shows, in bytes.
constexpr std::size_t kListedTitleBytes = 30;

std::string PageFileNameFromNote(const LineList& notes, const NoteLineIndex& index, std::string_view noteReference)
{
    std::string pageName = NoteTextAfterMark(notes, index, noteReference, "#");
    ReplaceUnsafeBytes(pageName);
    return pageName;
}

std::string PageLine(const std::string& title, const std::string& pageName)
{
    std::string shown = title.size() > kListedTitleBytes ? title.substr(0, kListedTitleBytes) : title;
    static const std::string& separator = ToCp932(" ･･･ ");
    return shown + separator + pageName + ".htm";
}

// Why a page does not carry its topic's name.
enum class NameClash { kNone, kEmpty, kOtherPage, kContentsPage, kSource };

// The first free page name in `folder` for a topic: its own name, else that
// name followed by (2), (3), ...; an empty name is "_". A name is taken by a
// file the run wrote, by the contents page, or by a source of the run. A
// source still at its place goes into Finished first, as it would after its
// pass, so that a topic named like its manuscript keeps its name; what the
// list of pages says about such a move is added to `said`.
std::string FreePageName(CConversionState& run, ConversionPort& port, const std::string& folder,
                         const std::string& topicName, const std::string& finishedFolder, NameClash& clash,
                         LineList& said)
{
    const std::string base = topicName.empty() ? std::string("_") : topicName;
    clash = topicName.empty() ? NameClash::kEmpty : NameClash::kNone;
    // The name itself first, for the reason it is taken; then on from the
    // last number it took.
    int& last = run.m_lastPageNameNumber[folder + base];
    return TakeFreeName(
        base, "",
        [&](const std::string& name, int number) {
            const std::string path = folder + name + ".htm";
            NameClash here = NameClash::kNone;
            if (run.m_writtenPaths.count(path) != 0) {
                here = NameClash::kOtherPage;
            } else if (path == run.m_strContentsPagePath) {
                here = NameClash::kContentsPage;
            } else if (RunSource* source = run.SourceLyingAt(path)) {
                std::string moved = MoveSourceToFinished(run, port, *source, finishedFolder);
                if (!moved.empty()) said.push_back(std::move(moved));
                if (run.SourceLyingAt(path)) here = NameClash::kSource;
            }
            if (here == NameClash::kNone) {
                last = number;
                return true;
            }
            if (clash == NameClash::kNone) clash = here;
            return false;
        },
        last);
}

// What the user is told about a page written under another name.
std::string RenamedPageMessage(NameClash clash, const std::string& title, const std::string& topicName,
                               const std::string& pageName)
{
    const std::string page = ToCp932("ページ「") + title + ToCp932("」");
    const std::string named = page + ToCp932("のページ名 ") + topicName;
    const std::string written = ToCp932("、") + pageName + ToCp932(".htm に書き出しました");
    switch (clash) {
        case NameClash::kEmpty:
            return page + ToCp932("にはページ名がないため") + written;
        case NameClash::kOtherPage:
            return named + ToCp932(" は別のページと同じため") + written;
        case NameClash::kContentsPage:
            return named + ToCp932(" は目次ページと同じため") + written;
        default:
            return named + ToCp932(" は変換元のファイルと同じため") + written;
    }
}

}  // namespace

int SeparatePages(CConversionState& run, ConversionPort& port, const std::string& contentsName, Manuscript& manuscript,
                  LineList& listLines, const std::string& finishedFolder)
{
    const std::string folder = GetFolderOfPath(manuscript.source.path);
    const NoteLineIndex notes(run.m_notes.Lines());  // the note lines stay as they are while pages are taken
    // Every page begins alike: the header and, for homepage-type help, the
    // link to the contents page, joined once.
    LineList opening;
    AppendHeaderLines(run, opening);
    if (!run.HtmlHelp()) AppendContentsLink(opening, contentsName);
    const std::string pageStart = JoinTextLines(opening);
    int pageCount = 0;
    LineList titles, files, pageLines;  // this manuscript's pages, last page first
    bool more = true;
    do {
        ManuscriptLines page;
        std::string noteReference;
        std::string title;
        more = TakeLastPage(manuscript.body, page, noteReference, title);
        // Not a topic: its lines are dropped.
        if (noteReference.empty()) continue;

        const std::string topicName = PageFileNameFromNote(run.m_notes.Lines(), notes, noteReference);
        NameClash clash = NameClash::kNone;
        LineList said;
        std::string pageName = FreePageName(run, port, folder, topicName, finishedFolder, clash, said);
        // The keywords of the page's "K" notes, read before its lines go.
        const std::vector<Keyword> keywords = PageKeywords(run, notes, page);
        OutputFile file{OutputRole::Page, folder + pageName + ".htm", "htm", pageName, pageStart, false};
        AppendJoinedLines(file.text, page.Lines());
        const bool written = WriteGeneratedFile(run, port, std::move(file));
        // The index lists only pages that exist, under the names they got.
        if (written) run.m_keywordIndex.AddPage(pageName, title, keywords);

        // The list goes in reading order once reversed: the page's line, then
        // what was said about it.
        for (std::string& line : said) pageLines.push_back(ListRemark(line));
        if (!written) continue;  // the list names only pages that exist
        if (clash != NameClash::kNone) {
            const std::string message = RenamedPageMessage(clash, title, topicName, pageName);
            port.Say(message);
            pageLines.push_back(ListRemark(message));
        }
        ++pageCount;
        pageLines.push_back(PageLine(title, pageName));
        titles.push_back(std::move(title));
        files.push_back(std::move(pageName));
    } while (more);

    // The pages came from the end; the manuscript's block goes in front of
    // what earlier passes (later manuscripts) listed, once.
    std::reverse(titles.begin(), titles.end());
    std::reverse(files.begin(), files.end());
    run.InsertPagesAtFront(std::move(titles), std::move(files));
    pageLines.push_back(
        ListRemark("Separated from " + manuscript.source.baseName + ".htm : " + std::to_string(pageCount) + " pages"));
    pageLines.emplace_back();
    listLines.insert(listLines.begin(), std::make_move_iterator(pageLines.rbegin()),
                     std::make_move_iterator(pageLines.rend()));
    return pageCount;
}

}  // namespace zavio
