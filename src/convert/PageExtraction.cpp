#include "convert/PageExtraction.h"

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "convert/ConversionState.h"
#include "convert/ParagraphText.h"
#include "convert/WordHtmlLines.h"
#include "framework/Cp932.h"

namespace zavio {

namespace {

// The anchor of the "#" footnote is at most this many lines after a page break.
constexpr std::size_t kMaxLeadingLinesDropped = 50;
// A mark's anchor tag precedes it within this many lines.
constexpr std::size_t kAnchorLookBack = 5;
constexpr std::size_t kLooseTailLines = 5;

// WinHelp's mark of the footnote that names the topic.
bool IsTopicMark(std::string_view line)
{
    return line.size() == 1 && line[0] == '#';
}

// Whether a reference's anchor opens in the few lines above line `mark` (Word
// writes the anchor, the reference's span, the mark's span, the mark) with
// no "</a>" after it, never above line `first`. `anchor` gets the anchor tag
// and `anchorLine` its line.
bool OpensReferenceAbove(const LineViews& lines, std::size_t first, std::size_t mark, std::string_view& anchor,
                         std::size_t& anchorLine)
{
    for (std::size_t k = mark; k-- > first && k + kAnchorLookBack >= mark;) {
        if (InNoteReferenceAfter(lines[k], false, &anchor)) {
            anchorLine = k;
            return true;
        }
        if (!InNoteReferenceAfter(lines[k], true)) return false;  // a reference ends there
    }
    return false;
}

// After a page break Word writes empty paragraphs and the like before the
// title: how many of the lines from `from` on go, up to the line before the
// topic footnote's anchor.
std::size_t LeadingLinesBeforeAnchor(const LineViews& lines, std::size_t from)
{
    std::size_t dropped = 0;
    const std::size_t count = lines.size();
    std::string joined;
    for (std::size_t pass = 1; pass <= kMaxLeadingLinesDropped && from + pass < count - dropped; ++pass) {
        joined.assign(lines[from + dropped]).append(lines[from + dropped + 1]);
        if (MbContains(joined, "'mso-footnote-id:") || MbContains(joined, "'mso-endnote-id:")) break;
        ++dropped;
    }
    return dropped;
}

// The topic's footnotes lead the page, and "#" stands among their anchors
// however many marks come before it; the first "#" inside a note reference
// names the page (an author may have put the footnotes after the title,
// too); each later one is another context string of the topic, a place a
// jump may reach, marked at its reference's anchor. Every "#" there has
// served and leaves the page; a line "#" outside a reference is text. No
// anchor is looked for above line `first`. `marks` are the page's lines "#"
// from `first` on, ascending.
void ReadTopicMark(ManuscriptLines& page, std::size_t first, const std::vector<std::size_t>& marks,
                   std::string& noteReference)
{
    std::vector<LineMark> places;
    for (std::size_t i : marks) {
        std::string_view anchor;
        std::size_t anchorLine = i;
        if (!OpensReferenceAbove(page.Lines(), first, i, anchor, anchorLine)) continue;
        std::optional<std::string> id = NoteIdOfAnchor(anchor);
        if (noteReference.empty()) {
            if (id) noteReference = std::move(*id);
        } else if (id) {
            places.push_back({anchorLine, MarkKind::Place, std::move(*id)});  // anchors do not nest
        }
        page.Clear(i);
    }
    page.AddMarks(std::move(places));
}

}  // namespace

void AppendHeaderLines(const CConversionState& run, LineList& out)
{
    const LineList& header = run.m_saHeaderLines;
    out.insert(out.end(), header.begin(), header.end());
}

void AppendContentsLink(LineList& out, const std::string& contentsName)
{
    static const std::string& linkStart = ToCp932("font-family:\"ＭＳ ゴシック\"'><a href=\"");
    static const std::string& linkEnd = ToCp932(".htm\">目次</a><span lang=EN-US><o:p></o:p></span></span></p></p>");
    out.push_back("<p class=MsoNormal style='line-height:12.0pt'><span style='font-size:12.0pt;");
    std::string link;
    link.reserve(linkStart.size() + contentsName.size() + linkEnd.size());
    link.append(linkStart).append(contentsName).append(linkEnd);
    out.push_back(std::move(link));
}

bool TakeLastPage(ManuscriptLines& manuscript, ManuscriptLines& page, std::string& noteReference, std::string& title)
{
    if (manuscript.empty()) return false;
    const std::size_t pageStart = page.size();

    const LineViews& source = manuscript.Lines();
    auto copyLine = std::find_if(source.begin(), source.end(), IsBodyStartCopyLine);
    const std::string_view bodyStartCopy = copyLine == source.end() ? std::string_view() : *copyLine;

    // Walk up from the end to the page break that opens the last page, or to
    // the body's opening div; the lines met are the page, and its marks "#"
    // are noted on the way.
    enum class Opening { None, PageBreak, FirstPage };
    Opening opening = Opening::None;
    std::size_t first = manuscript.size();
    std::vector<std::size_t> marks;  // from the last up
    while (first > 0) {
        const std::string_view line = manuscript[--first];
        if (line.empty()) continue;
        if (IsTopicMark(line)) {
            marks.push_back(first);
            continue;
        }
        if (IsPageBreakTag(line)) {
            opening = Opening::PageBreak;
            break;
        }
        if (IsFirstPageLine(line)) {
            opening = Opening::FirstPage;
            break;
        }
    }
    // Every page opens Word's body section, the first page then twice; the
    // lines that lead up to the topic's footnotes after a page break go. The
    // rest moves as one block behind what is already here.
    const std::size_t dropped = opening == Opening::PageBreak ? LeadingLinesBeforeAnchor(source, first) : 0;
    manuscript.MoveTailBehind(page, first, dropped, bodyStartCopy);

    if (opening != Opening::None) {
        // Where the marks that were not dropped stand on the page, ascending.
        std::vector<std::size_t> onPage;
        for (auto mark = marks.rbegin(); mark != marks.rend(); ++mark)
            if (*mark >= first + dropped) onPage.push_back(*mark - first - dropped + pageStart + 1);
        ReadTopicMark(page, pageStart + 1, onPage, noteReference);
    }
    TrimPageTail(page);
    ReadPageTitle(page, pageStart, title);
    return opening != Opening::FirstPage;
}

void FindNoteReference(ManuscriptLines& page, std::size_t pageStart, std::string& noteReference, bool pageBreakStart)
{
    if (pageBreakStart) page.EraseLines(pageStart, pageStart + LeadingLinesBeforeAnchor(page.Lines(), pageStart));
    std::vector<std::size_t> marks;
    for (std::size_t i = pageStart; i < page.size(); ++i)
        if (IsTopicMark(page[i])) marks.push_back(i);
    ReadTopicMark(page, pageStart, marks, noteReference);
}

void TrimPageTail(ManuscriptLines& page)
{
    // A few loose lines at the very end go: the opening tags of Word's page
    // break span. Nothing the page shows or closes goes: the walk stops at an
    // empty line, at text, at a closing tag, at the page break's own span or
    // at the end of a conditional comment.
    std::size_t end = page.size();
    while (end > 0 && end + kLooseTailLines > page.size() + 1) {
        const std::string_view line = page[end - 1];
        if (line.empty() || line[0] != '<' || line == "<![endif]>" || line.find("</") != std::string::npos ||
            MbContains(line, "<span lang=EN-US"))
            break;
        --end;
    }
    page.EraseLines(end, page.size());
}

void ReadPageTitle(const ManuscriptLines& page, std::size_t pageStart, std::string& title)
{
    title += FirstParagraphText(page.Lines(), page.Breaks(), pageStart + 1, page.size());
}

}  // namespace zavio
