#include "convert/PageSeparation.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "convert/ConversionState.h"
#include "convert/KeywordIndex.h"
#include "convert/NoteLineIndex.h"
#include "convert/PageExtraction.h"
#include "convert/PageNames.h"
#include "convert/PagesAhead.h"
#include "convert/RunFiles.h"
#include "convert/WordHtmlLines.h"
#include "framework/Cp932.h"
#include "framework/FileSystem.h"
#include "framework/Path.h"
#include "res/FileKinds.h"

namespace zavio {
namespace {

// The longest title the page list shows, in bytes.
constexpr std::size_t kListedTitleBytes = 30;

std::string PageFileNameFromNote(const LineViews& notes, const NoteLineIndex& index, std::string_view noteReference)
{
    std::string pageName = NoteTextAfterMark(notes, index, noteReference, "#");
    ReplaceUnsafeBytes(pageName);
    return pageName;
}

std::string PageLine(const std::string& title, const std::string& pageName)
{
    // Cut on a character boundary: a lone lead byte would make the list
    // unreadable as Shift-JIS.
    static const std::string& separator = ToCp932(" ･･･ ");
    return std::string(MbCutToBytes(title, kListedTitleBytes)) + separator + pageName + ".htm";
}

// Why a page does not carry its topic's name.
enum NameClash { kNone, kEmpty, kOtherPage, kContentsPage, kSource, kLinkAway };

// The names of the files in the pages folders, in lower case, each folder
// listed once when its first page is named: a plain name that is not among
// them stands for no file in any letter case, and is looked up no further.
// A source moved while pages are named may bring a file into a folder: the
// lists are made again after a move.
class FolderNames {
public:
    // What stands at `folder` + `name`, looked up only where a file may.
    PathLookup LookUp(const std::string& folder, const std::string& name)
    {
        const std::string path = folder + name;
        if (!IsAscii(name)) return LookUpPath(path);
        auto listed = m_folders.find(folder);
        if (listed == m_folders.end()) listed = m_folders.emplace(folder, List(folder)).first;
        if (listed->second && !listed->second->contains(MbLowerAscii(name))) return PathLookup{};
        return LookUpPath(path);
    }
    void Forget() { m_folders.clear(); }

private:
    // nullopt where the folder cannot be listed: every name is looked up.
    static std::optional<std::unordered_set<std::string>> List(const std::string& folder)
    {
        std::optional<std::vector<FolderEntry>> entries = ListFolder(folder);
        if (!entries) return std::nullopt;
        std::unordered_set<std::string> names;
        names.reserve(entries->size());
        for (const FolderEntry& entry : *entries) names.insert(MbLowerAscii(entry.name));
        return names;
    }

    std::unordered_map<std::string, std::optional<std::unordered_set<std::string>>> m_folders;
};

// The first free page name in `folder` for a topic: its own name, else that
// name followed by (2), (3), ...; an empty name is "_". A name is taken by a
// file the run wrote, by the contents page, or by a source of the run, each
// by its name in any letter case or by the file the name resolves to; and by
// a link that leads out of the folder. A source still at its place goes into
// Finished first, as it would after its pass, so that a topic named like its
// manuscript keeps its name; what the list of pages says about such a move
// is added to `said`.
std::string FreePageName(CConversionState& run, ConversionPort& port, FolderNames& names, const std::string& folder,
                         const std::string& topicName, const std::string& finishedFolder, int& clash, LineList& said)
{
    const std::string base = topicName.empty() ? std::string("_") : topicName;
    clash = topicName.empty() ? kEmpty : kNone;
    // The name itself first, for the reason it is taken; then on from the
    // last number it took. Only a number is kept: a name taken as it is
    // resumes at (2) anyway, and most topics' names are their own.
    std::string key;  // made only once a number is kept or looked for
    const auto keyOf = [&]() -> const std::string& {
        if (key.empty()) key = MbLowerAscii(folder + base);
        return key;
    };
    int resumeAt = 2;
    if (!run.m_lastPageNameNumber.empty()) {
        const auto known = run.m_lastPageNameNumber.find(keyOf());
        if (known != run.m_lastPageNameNumber.end()) resumeAt = known->second;
    }
    return TakeFreeName(
        base, "",
        [&](const std::string& name, int number) {
            const std::string path = folder + name + ".htm";
            const PathLookup at = names.LookUp(folder, name + ".htm");
            int here = kNone;
            if (run.WasWritten(path, at)) {
                here = kOtherPage;
            } else if (run.IsContentsPage(path)) {
                here = kContentsPage;
            } else if (RunSource* source = run.SourceLyingAt(path, at)) {
                std::string moved = MoveSourceToFinished(run, port, *source, finishedFolder);
                names.Forget();
                if (!moved.empty()) said.push_back(std::move(moved));
                if (run.SourceLyingAt(path)) here = kSource;
            } else if (LinkLeadsAway(path, at)) {
                here = kLinkAway;
            }
            if (here == kNone) {
                if (number > 1) run.m_lastPageNameNumber[keyOf()] = number;
                return true;
            }
            if (clash == kNone) clash = here;
            return false;
        },
        resumeAt);
}

// What the user is told about a page written under another name.
std::string RenamedPageMessage(int clash, const std::string& title, const std::string& topicName,
                               const std::string& pageName)
{
    const std::string page = ToCp932("ページ「") + title + ToCp932("」");
    const std::string named = page + ToCp932("のページ名 ") + topicName;
    const std::string written = ToCp932("、") + pageName + ToCp932(".htm に書き出しました");
    switch (clash) {
        case kEmpty:
            return page + ToCp932("にはページ名がないため") + written;
        case kOtherPage:
            return named + ToCp932(" は別のページと同じため") + written;
        case kContentsPage:
            return named + ToCp932(" は目次ページと同じため") + written;
        case kLinkAway:
            return named + ToCp932(" はフォルダの外を指すリンクのため") + written;
        default:
            return named + ToCp932(" は変換元のファイルと同じため") + written;
    }
}

// The page's lines joined as the source broke them: a line break only where
// Word broke a source line outside a tag (in text, where a blank stood), so
// the page shows the blanks its manuscript showed and no others. The marks
// become places in the text.
void JoinAsTheSourceBrokeThem(const ManuscriptLines& page, const LineViews& notes, const NoteLineIndex& index,
                              TakenPage& taken)
{
    std::size_t total = 2;
    for (const std::string_view line : page.Lines()) total += line.size() + 2;
    std::string& text = taken.text;
    text.reserve(total);
    const std::vector<LineMark>& marks = page.Marks();
    auto mark = marks.begin();
    const std::vector<std::uint32_t>& breaks = page.Breaks().Positions();
    auto nextBreak = breaks.begin();
    for (std::size_t i = 0; i < page.size(); ++i) {
        for (; mark != marks.end() && mark->line == i && mark->kind != MarkKind::LinkEnd; ++mark) {
            if (mark->kind == MarkKind::LinkStart)
                taken.marks.push_back({text.size(), MarkKind::LinkStart, mark->value});
            if (mark->kind == MarkKind::Place) {
                std::string place = NoteTextAfterMark(notes, index, mark->value, "#");
                ReplaceUnsafeBytes(place);
                if (!place.empty()) taken.marks.push_back({text.size(), MarkKind::Place, std::move(place)});
            }
        }
        text += page[i];
        for (; mark != marks.end() && mark->line == i; ++mark)
            if (mark->kind == MarkKind::LinkEnd) taken.marks.push_back({text.size(), MarkKind::LinkEnd, std::string()});
        // The source broke the lines where a break stands before the next one.
        while (nextBreak != breaks.end() && *nextBreak <= i) ++nextBreak;
        if (i + 1 < page.size() && nextBreak != breaks.end() && *nextBreak == i + 1) text += "\r\n";
    }
    text += "\r\n";
}

// Whether any line holds Word's anchor of a note reference.
bool HoldsNoteAnchors(const ManuscriptLines& body)
{
    for (const std::string_view line : body.Lines())
        if (line.size() > 2 && line[0] == '<' && (line[1] == 'a' || line[1] == 'A') && IsNoteAnchorTag(line))
            return true;
    return false;
}

// What a jump's hidden target makes of its hotspot: the href of the page it
// reaches, or nothing with the reason said in the list of pages.
std::string JumpHref(const CConversionState& run, const TopicTable& topics, const std::string& folder,
                     const std::string& target, std::string& remark)
{
    // A macro hotspot runs WinHelp's macros: nothing a page can do.
    if (target.starts_with("!")) return {};
    // "topic>window" opens the topic in a named window: the topic counts.
    std::string context = Trim(std::string_view(target).substr(0, target.find('>')));
    const std::size_t at = context.find('@');
    if (at != std::string::npos) {
        // "topic@file.hlp": a topic of another help file, whose compiled help
        // lies beside this one when both are installed.
        std::string topic = Trim(std::string_view(context).substr(0, at));
        std::string file = Trim(std::string_view(context).substr(at + 1));
        if (run.HtmlHelp() && !topic.empty() && !file.empty()) {
            file = SplitPath(file).fname;
            ReplaceUnsafeBytes(file);
            ReplaceUnsafeBytes(topic);
            return file + ".chm::/" + topic + ".htm";
        }
        remark =
            ToCp932("ジャンプ先 ") + target + ToCp932(" は別のヘルプファイルのトピックのため、リンクにしませんでした");
        return {};
    }
    std::string href = topics.Find(context, folder);
    if (href.empty())
        remark = ToCp932("ジャンプ先 ") + target + ToCp932(" のトピックがこの変換にないため、リンクにしませんでした");
    return href;
}

// The page's file: its opening, then its text with its links and places
// made, in one piece.
std::string WithLinks(const CConversionState& run, const TopicTable& topics, const std::string& folder,
                      const std::string& opening, const TakenPage& page, LineList& remarks, int& notLinked)
{
    std::string out;
    out.reserve(opening.size() + page.text.size() + page.marks.size() * 32);
    out = opening;
    std::size_t from = 0;
    bool linkOpen = false;
    for (const TextMark& mark : page.marks) {
        out.append(page.text, from, mark.offset - from);
        from = mark.offset;
        switch (mark.kind) {
            case MarkKind::LinkStart: {
                std::string remark;
                const std::string href = JumpHref(run, topics, folder, mark.value, remark);
                if (!remark.empty()) {
                    remarks.push_back(std::move(remark));
                    ++notLinked;
                }
                if (!href.empty()) out += "<a href=\"" + href + "\">";
                linkOpen = !href.empty();
                break;
            }
            case MarkKind::LinkEnd:
                if (linkOpen) out += "</a>";
                linkOpen = false;
                break;
            case MarkKind::Place:
                out += "<a name=\"" + mark.value + "\"></a>";
                break;
            default:
                break;
        }
    }
    out.append(page.text, from, std::string::npos);
    return out;
}

}  // namespace

void SeparatePages(CConversionState& run, const std::string& contentsName, Manuscript& manuscript,
                   SeparatedManuscript& out)
{
    out.source = manuscript.source;
    out.noteAnchors = HoldsNoteAnchors(manuscript.body);
    // Every page begins alike: the header and, for homepage-type help, the
    // link to the contents page, joined once.
    LineList opening;
    AppendHeaderLines(run, opening);
    if (!run.HtmlHelp())
        AppendContentsLink(opening, LinkBetween(run.PagesFolder(manuscript.source), run.m_helpFolder, contentsName));
    out.pageOpening = JoinTextLines(opening);

    const std::string folder = run.PagesFolder(manuscript.source);
    // Bitmaps lie beside the manuscript, or in a project's bitmap folders.
    std::vector<std::string> pictureFolders;
    if (run.m_project) pictureFolders = run.m_project->project.bitmapFolders;
    pictureFolders.push_back(GetFolderOfPath(manuscript.source.path));
    const LineViews& noteLines = run.m_notes.Lines();
    const NoteLineIndex notes(noteLines);  // the note lines stay as they are while pages are taken
    bool more = true;
    do {
        ManuscriptLines page;
        std::string noteReference;
        TakenPage taken;
        more = TakeLastPage(manuscript.body, page, noteReference, taken.title);
        // Not a topic: its lines are dropped.
        if (noteReference.empty()) continue;
        taken.topicName = PageFileNameFromNote(noteLines, notes, noteReference);
        taken.keywords = PageKeywords(run, notes, page);
        ConvertBitmapReferences(page, pictureFolders, out.pictures, taken.remarks);
        JoinAsTheSourceBrokeThem(page, noteLines, notes, taken);
        out.pages.push_back(std::move(taken));
    } while (more);
    // Taken from the end: in reading order once reversed.
    std::reverse(out.pages.begin(), out.pages.end());
}

void NamePages(CConversionState& run, ConversionPort& port, std::vector<SeparatedManuscript>& manuscripts,
               const std::string& finishedFolder)
{
    // In the order they are written: manuscripts as taken, pages from the
    // end; the page nearest the end keeps a name several topics share.
    FolderNames names;
    for (SeparatedManuscript& manuscript : manuscripts) {
        const std::string folder = run.PagesFolder(manuscript.source);
        for (auto page = manuscript.pages.rbegin(); page != manuscript.pages.rend(); ++page) {
            page->fileName =
                FreePageName(run, port, names, folder, page->topicName, finishedFolder, page->clash, page->said);
            // The name is the page's from now on, written or not.
            run.MarkWritten(folder + page->fileName + ".htm");
        }
    }
}

TopicTable::TopicTable(const CConversionState& run, const std::vector<SeparatedManuscript>& manuscripts)
{
    m_folders.reserve(manuscripts.size());  // the targets point into it
    std::size_t pages = 0;
    for (const SeparatedManuscript& manuscript : manuscripts) {
        m_folders.push_back(run.PagesFolder(manuscript.source));
        pages += manuscript.pages.size();
    }
    m_links.reserve(pages);
    // The page that keeps a shared name is the one a jump reaches; a topic's
    // own name goes before a place of the same name in another topic.
    for (std::size_t i = 0; i < manuscripts.size(); ++i)
        for (auto page = manuscripts[i].pages.rbegin(); page != manuscripts[i].pages.rend(); ++page)
            if (!page->topicName.empty())
                m_links.emplace(MbLowerAscii(page->topicName), Target{&m_folders[i], page->fileName + ".htm"});
    for (std::size_t i = 0; i < manuscripts.size(); ++i)
        for (auto page = manuscripts[i].pages.rbegin(); page != manuscripts[i].pages.rend(); ++page)
            for (const TextMark& mark : page->marks)
                if (mark.kind == MarkKind::Place)
                    m_links.emplace(MbLowerAscii(mark.value),
                                    Target{&m_folders[i], page->fileName + ".htm#" + mark.value});
}

std::string TopicTable::Find(const std::string& context, const std::string& fromFolder) const
{
    std::string key = context;
    ReplaceUnsafeBytes(key);
    auto found = m_links.find(MbLowerAscii(key));
    if (found == m_links.end()) return {};
    return LinkBetween(fromFolder, *found->second.folder, found->second.href);
}

void MakePageFiles(const CConversionState& run, const TopicTable& topics, SeparatedManuscript& manuscript)
{
    const std::string folder = run.PagesFolder(manuscript.source);
    for (TakenPage& page : manuscript.pages) {
        page.file = WithLinks(run, topics, folder, manuscript.pageOpening, page, page.remarks, page.jumpsNotLinked);
        // The file holds them now: a large run's pages need not be held twice.
        std::string().swap(page.text);
        std::vector<TextMark>().swap(page.marks);
    }
}

void ReleasePageFiles(SeparatedManuscript& manuscript)
{
    for (TakenPage& page : manuscript.pages) std::string().swap(page.file);
}

int WritePages(CConversionState& run, ConversionPort& port, SeparatedManuscript& manuscript, LineList& listLines,
               PagesAhead* ahead)
{
    const std::string folder = run.PagesFolder(manuscript.source);
    // The pictures first: a page may show them once it is written.
    for (PictureFile& picture : manuscript.pictures) {
        const std::string path = folder + picture.name;
        if (picture.from != path) {
            std::optional<std::string> bytes =
                picture.from.empty() ? std::move(picture.bytes) : ReadFileBytes(picture.from);
            if (!bytes) continue;
            const PathParts parts = SplitPath(picture.name);
            const std::string extension = parts.ext.empty() ? parts.ext : MbLowerAscii(parts.ext.substr(1));
            if (!WriteGeneratedFile(run, port,
                                    {OutputRole::Picture, path, extension, parts.fname, std::move(*bytes), false}))
                continue;
        }
        if (std::find(run.m_saPictureFiles.begin(), run.m_saPictureFiles.end(), picture.name) ==
            run.m_saPictureFiles.end())
            run.m_saPictureFiles.push_back(picture.name);
    }
    int pageCount = 0;
    LineList titles, files, pageLines;  // this manuscript's pages, last page first
    std::size_t k = 0;                  // the page's place in writing order
    for (auto page = manuscript.pages.rbegin(); page != manuscript.pages.rend(); ++page, ++k) {
        if (!port.Progress({ConversionProgress::Stage::Writing, run.m_nPagesWritten, run.m_nPagesToWrite,
                            page->fileName + ".htm"})) {
            run.m_bCancelled = true;
            break;
        }
        ++run.m_nPagesWritten;
        run.m_nJumpsNotLinked += page->jumpsNotLinked;
        LineList remarks = std::move(page->remarks);
        std::optional<PreparedFile> prepared = ahead ? ahead->TakeForWriting(k) : std::nullopt;
        OutputFile file{OutputRole::Page,
                        folder + page->fileName + ".htm",
                        "htm",
                        page->fileName,
                        std::move(page->file),
                        false,
                        prepared ? &*prepared : nullptr};
        const bool written = WriteGeneratedFile(run, port, file);
        // Left for the thread that made it to free (ReleasePageFiles): a free
        // into another thread's heap waits for it while it is at work.
        page->file = std::move(file.text);
        // The index lists only pages that exist, under the names they got.
        // The contents, index and project name it as they reach it from their folder.
        const std::string listed = LinkBetween(run.m_helpFolder, folder, page->fileName);
        if (written) run.m_keywordIndex.AddPage(listed, page->title, page->keywords);

        // The list goes in reading order once reversed: the page's line, what
        // was said about it, then what naming it said.
        for (std::string& line : page->said) pageLines.push_back(ListRemark(line));
        if (!written) continue;  // the list names only pages that exist
        for (auto remark = remarks.rbegin(); remark != remarks.rend(); ++remark)
            pageLines.push_back(ListRemark(page->fileName + ".htm : " + *remark));
        if (page->clash != kNone) {
            const std::string message = RenamedPageMessage(page->clash, page->title, page->topicName, page->fileName);
            port.SayAbout(folder + page->fileName + ".htm", message);
            pageLines.push_back(ListRemark(message));
        }
        ++pageCount;
        pageLines.push_back(PageLine(page->title, page->fileName));
        titles.push_back(page->title);
        files.push_back(listed);
    }

    // The pages came from the end; the manuscript's block goes in front of
    // what earlier passes (later manuscripts) listed, once.
    std::reverse(titles.begin(), titles.end());
    std::reverse(files.begin(), files.end());
    run.InsertPagesAtFront(std::move(titles), std::move(files));
    pageLines.push_back(ListRemark("Separated from " + manuscript.source.baseName +
                                   (IsRtfExtension(manuscript.source.extension) ? ".rtf" : ".htm") + " : " +
                                   std::to_string(pageCount) + " pages"));
    pageLines.emplace_back();
    listLines.insert(listLines.begin(), std::make_move_iterator(pageLines.rbegin()),
                     std::make_move_iterator(pageLines.rend()));
    return pageCount;
}

}  // namespace zavio
