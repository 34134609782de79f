// Taking one page at a time off the end of a cleaned manuscript into a page
// document: the page's lines, the id of its topic footnote and its title.
#include <algorithm>
#include <cstddef>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

#include "convert/ConversionState.h"
#include "convert/WordHtmlLines.h"
#include "doc/ZavioDoc.h"
#include "framework/Cp932.h"

namespace zavio {

namespace {

// The anchor of the "#" footnote is at most this many lines after a page break.
constexpr int kMaxLeadingLinesDropped = 50;
// The "#" mark follows the page start within this many lines.
constexpr int kNoteMarkSearchLines = 21;
// The footnote anchor tag precedes its mark within this many lines.
constexpr int kAnchorLookBack = 5;
// Word's closing table of a page lies within its last lines.
constexpr int kTableTailLines = 50;
constexpr int kLooseTailLines = 5;

// Word's page break, a tag whose attributes may carry blanks.
bool IsPageBreakTag(const std::string& line)
{
    const std::size_t first = line.find_first_not_of(' ');
    return first != std::string::npos && line[first] == '<' && ContainsWithoutBlanks(line, "page-break-before:always'");
}

bool MentionsNoteId(const std::string& line)
{
    return MbContains(line, "mso-footnote-id:") || MbContains(line, "mso-endnote-id:");
}

// The id that follows `marker` up to the next apostrophe; nullopt without the marker.
std::optional<std::string> NoteIdAfter(const std::string& anchor, std::string_view marker)
{
    std::size_t at = MbFind(anchor, marker);
    if (at == std::string::npos) return std::nullopt;
    at += marker.size();
    const std::size_t end = MbFind(anchor, "'", at);
    return anchor.substr(at, end == std::string::npos ? 0 : end - at);
}

// One line's part of the title, or the empty string when it adds nothing.
std::string TitlePiece(std::string_view line)
{
    static constexpr std::string_view kLinkStartEnd = ".htm\">";
    if (line.empty()) return {};
    // Only the text of a link made from a jump hotspot counts.
    std::size_t at = MbFind(line, kLinkStartEnd);
    if (at != std::string_view::npos) line.remove_prefix(at + kLinkStartEnd.size());
    if (!line.empty() && line[0] == '<') return {};
    at = MbFind(line, "</a>");
    if (at != std::string_view::npos) line = line.substr(0, at);
    line = TrimRightView(TrimLeftView(line));
    if (line == "&nbsp;") return {};
    // Entities are rare in titles: most lines need no replacing at all.
    if (line.find('&') == std::string_view::npos) return std::string(line);
    std::string piece = MbReplaceAll(line, "&lt;", "<");
    piece = MbReplaceAll(piece, "&gt;", ">");
    return MbReplaceAll(piece, "&nbsp;", "");
}

}  // namespace

void CZavioDoc::AppendHeaderLines(const CConversionState& run)
{
    const LineList& header = run.m_saHeaderLines;
    m_saOutputLines.insert(m_saOutputLines.end(), header.begin(), header.end());
}

void CZavioDoc::AppendContentsLink(const std::string& contentsName)
{
    static const std::string& linkStart = ToCp932("font-family:\"ＭＳ ゴシック\"'><a href=\"");
    static const std::string& linkEnd = ToCp932(".htm\">目次</a><span lang=EN-US><o:p></o:p></span></span></p></p>");
    m_saOutputLines.push_back("<p class=MsoNormal style='line-height:12.0pt'><span style='font-size:12.0pt;");
    std::string link;
    link.reserve(linkStart.size() + contentsName.size() + linkEnd.size());
    link.append(linkStart).append(contentsName).append(linkEnd);
    m_saOutputLines.push_back(std::move(link));
}

bool CZavioDoc::TakeLastPage(CZavioDoc* manuscript, std::string& noteReference, std::string& title)
{
    if (!manuscript || manuscript == this) return false;
    LineList& source = manuscript->m_saOutputLines;
    if (source.empty()) return false;
    const int pageStart = static_cast<int>(m_saOutputLines.size());

    auto copyLine = std::find_if(source.begin(), source.end(), IsBodyStartCopyLine);
    const std::string bodyStartCopy = copyLine == source.end() ? std::string() : *copyLine;

    // Walk up from the end to the page break that opens the last page, or to
    // the body's opening div; the lines met are the page.
    enum class Opening { None, PageBreak, FirstPage };
    Opening opening = Opening::None;
    std::size_t first = source.size();
    while (first > 0) {
        const std::string& line = source[--first];
        if (line.empty()) continue;
        if (IsPageBreakTag(line)) {
            opening = Opening::PageBreak;
            break;
        }
        if (IsFirstPageLine(line)) {
            opening = Opening::FirstPage;
            break;
        }
    }

    // Moved as one block: the page keeps its order behind what is already here.
    auto from = source.begin() + static_cast<std::ptrdiff_t>(first);
    m_saOutputLines.insert(m_saOutputLines.end(), std::make_move_iterator(from), std::make_move_iterator(source.end()));
    source.erase(from, source.end());

    if (opening != Opening::None) FindNoteReference(pageStart, noteReference, opening == Opening::PageBreak);
    // Every page opens Word's body section, the first page then twice.
    m_saOutputLines.insert(m_saOutputLines.begin() + pageStart, bodyStartCopy);
    TrimPageTail(pageStart);
    ReadPageTitle(pageStart, title);
    return opening != Opening::FirstPage;
}

void CZavioDoc::FindNoteReference(int pageStart, std::string& noteReference, bool pageBreakStart)
{
    LineList& lines = m_saOutputLines;
    const int b = pageStart;
    if (b < 0) return;

    // After a page break Word writes empty paragraphs and the like before the
    // title; drop them up to the line before the topic footnote's anchor.
    if (pageBreakStart) {
        int dropped = 0;
        const int count = static_cast<int>(lines.size());
        std::string joined;
        for (int pass = 1; pass <= kMaxLeadingLinesDropped && b + pass < count - dropped; ++pass) {
            joined.assign(lines[b + dropped]).append(lines[b + dropped + 1]);
            if (MbContains(joined, "'mso-footnote-id:") || MbContains(joined, "'mso-endnote-id:")) break;
            ++dropped;
        }
        lines.erase(lines.begin() + b, lines.begin() + b + dropped);
    }

    const int end = std::min(static_cast<int>(lines.size()), b + kNoteMarkSearchLines);
    for (int mark = b; mark < end; ++mark) {
        if (lines[mark] != "#") continue;
        // The anchor tag stands a few lines above its mark; failing that, the
        // farthest line looked at is taken.
        std::string anchor;
        for (int k = mark - 1; k >= 0 && k >= mark - kAnchorLookBack; --k) {
            anchor = lines[k];
            if (MentionsNoteId(anchor)) break;
        }
        StripBlanks(anchor);
        lines[mark].clear();  // the mark itself must not show on the page
        if (auto id = NoteIdAfter(anchor, "<astyle='mso-footnote-id:")) {
            noteReference = *id;
            return;
        }
        if (auto id = NoteIdAfter(anchor, "<astyle='mso-endnote-id:")) {
            noteReference = *id;
            return;
        }
    }
}

void CZavioDoc::TrimPageTail(int pageStart)
{
    LineList& lines = m_saOutputLines;
    const int count = static_cast<int>(lines.size());

    // A page that ends in a table loses the table's end and Word's tail after it.
    for (int i = count - 1; i > pageStart && i > count - kTableTailLines; --i) {
        if (MbContains(lines[i], "</table>")) {
            lines.erase(lines.begin() + i, lines.end());
            return;
        }
    }
    // Otherwise a few loose lines at the very end go, up to an empty line, the
    // opening span of a page break or the end of a conditional comment.
    for (int i = count - 1; i >= 0 && i > count - kLooseTailLines; --i) {
        const std::string& line = lines[i];
        if (line.empty() || line == "<![endif]>" || MbContains(line, "<span lang=EN-US")) break;
        lines.pop_back();
    }
}

void CZavioDoc::ReadPageTitle(int pageStart, std::string& title)
{
    const LineList& lines = m_saOutputLines;
    if (pageStart < 0) return;
    // The title is in the page's first two paragraphs; with fewer than two
    // paragraph ends the rest of the page counts.
    int paragraphEnds = 0;
    for (std::size_t i = static_cast<std::size_t>(pageStart) + 1; i < lines.size(); ++i) {
        title += TitlePiece(lines[i]);
        if (MbContains(lines[i], "</p>") && ++paragraphEnds == 2) break;
    }
}

}  // namespace zavio
