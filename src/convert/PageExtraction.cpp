// Taking one page at a time off the end of a cleaned manuscript into a page
// document: the page's lines, the id of its topic footnote and its title.
#include <algorithm>
#include <cstddef>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

#include "convert/ConversionState.h"
#include "convert/ParagraphText.h"
#include "convert/SourceLineBreaks.h"
#include "convert/WordHtmlLines.h"
#include "doc/ZavioDoc.h"
#include "framework/Cp932.h"

namespace zavio {

namespace {

// The anchor of the "#" footnote is at most this many lines after a page break.
constexpr int kMaxLeadingLinesDropped = 50;
// A mark's anchor tag precedes it within this many lines.
constexpr std::size_t kAnchorLookBack = 5;
constexpr int kLooseTailLines = 5;

// WinHelp's mark of the footnote that names the topic.
bool IsTopicMark(const std::string& line)
{
    return line.size() == 1 && line[0] == '#';
}

// Whether a reference's anchor opens in the few lines above line `mark` (Word
// writes the anchor, the reference's span, the mark's span, the mark) with
// no "</a>" after it, never above line `first`. `anchor` gets the anchor tag.
bool OpensReferenceAbove(const LineList& lines, std::size_t first, std::size_t mark, std::string_view& anchor)
{
    for (std::size_t k = mark; k-- > first && k + kAnchorLookBack >= mark;) {
        if (InNoteReferenceAfter(lines[k], false, &anchor)) return true;
        if (!InNoteReferenceAfter(lines[k], true)) return false;  // a reference ends there
    }
    return false;
}

// The marks of the lines from `first` on go with those lines, where `first`
// became line `at`.
void MoveKeywordMarks(std::vector<KeywordMark>& from, std::vector<KeywordMark>& to, std::size_t first, std::size_t at)
{
    auto moved = std::lower_bound(from.begin(), from.end(), first,
                                  [](const KeywordMark& mark, std::size_t line) { return mark.line < line; });
    for (auto mark = moved; mark != from.end(); ++mark)
        to.push_back({mark->line - first + at, std::move(mark->noteReference)});
    from.erase(moved, from.end());
}

}  // namespace

void CZavioDoc::AppendHeaderLines(const CConversionState& run)
{
    const LineList& header = run.m_saHeaderLines;
    // Room for the contents link too, which most pages take next: the list
    // grows once here and once for the page's lines.
    m_saOutputLines.reserve(m_saOutputLines.size() + header.size() + 2);
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
    std::string bodyStartCopy = copyLine == source.end() ? std::string() : *copyLine;

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

    // Moved as one block: the page keeps its order behind what is already here,
    // with room for the body-start copy that goes in front of it.
    m_saOutputLines.reserve(m_saOutputLines.size() + (source.size() - first) + 1);
    auto from = source.begin() + static_cast<std::ptrdiff_t>(first);
    m_saOutputLines.insert(m_saOutputLines.end(), std::make_move_iterator(from), std::make_move_iterator(source.end()));
    source.erase(from, source.end());
    manuscript->m_sourceBreaks.MoveTo(m_sourceBreaks, first, static_cast<std::size_t>(pageStart));
    MoveKeywordMarks(manuscript->m_keywordMarks, m_keywordMarks, first, static_cast<std::size_t>(pageStart));

    if (opening != Opening::None) FindNoteReference(pageStart, noteReference, opening == Opening::PageBreak);
    // Every page opens Word's body section, the first page then twice.
    m_saOutputLines.insert(m_saOutputLines.begin() + pageStart, std::move(bodyStartCopy));
    m_sourceBreaks.InsertLines(static_cast<std::size_t>(pageStart), 1);
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
        m_sourceBreaks.RemoveLines(static_cast<std::size_t>(b), static_cast<std::size_t>(b + dropped));
    }

    // The topic's footnotes lead the page, and "#" stands among their anchors
    // however many marks come before it; the first "#" inside a note
    // reference names the page (an author may have put the footnotes after
    // the title, too). Every "#" there has served and leaves the page; a
    // line "#" outside a reference is text.
    for (std::size_t i = static_cast<std::size_t>(b); i < lines.size(); ++i) {
        if (!IsTopicMark(lines[i])) continue;
        std::string_view anchor;
        if (!OpensReferenceAbove(lines, static_cast<std::size_t>(b), i, anchor)) continue;
        if (noteReference.empty()) {
            if (std::optional<std::string> id = NoteIdOfAnchor(anchor)) noteReference = std::move(*id);
        }
        lines[i].clear();
    }
}

void CZavioDoc::TrimPageTail(int pageStart)
{
    (void)pageStart;  // the loose tail is looked for whatever the page's length
    LineList& lines = m_saOutputLines;
    const int count = static_cast<int>(lines.size());
    // A few loose lines at the very end go: the opening tags of Word's page
    // break span. Nothing the page shows or closes goes: the walk stops at an
    // empty line, at text, at a closing tag, at the page break's own span or
    // at the end of a conditional comment.
    for (int i = count - 1; i >= 0 && i > count - kLooseTailLines; --i) {
        const std::string& line = lines[i];
        if (line.empty() || line[0] != '<' || line == "<![endif]>" || line.find("</") != std::string::npos ||
            MbContains(line, "<span lang=EN-US"))
            break;
        lines.pop_back();
    }
}

void CZavioDoc::ReadPageTitle(int pageStart, std::string& title)
{
    if (pageStart < 0) return;
    title += FirstParagraphText(m_saOutputLines, m_sourceBreaks, static_cast<std::size_t>(pageStart) + 1,
                                m_saOutputLines.size());
}

}  // namespace zavio
