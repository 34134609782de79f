// Taking one page at a time off the end of a cleaned manuscript into a page
// document: the page's lines, the id of its topic footnote and its title.
#include <algorithm>
#include <cstddef>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

#include "convert/ConversionState.h"
#include "convert/HtmlText.h"
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

// The id that follows `marker` up to the next apostrophe; nullopt without the marker.
std::optional<std::string> NoteIdAfter(const std::string& anchor, std::string_view marker)
{
    std::size_t at = MbFind(anchor, marker);
    if (at == std::string::npos) return std::nullopt;
    at += marker.size();
    const std::size_t end = MbFind(anchor, "'", at);
    return anchor.substr(at, end == std::string::npos ? 0 : end - at);
}

// The note id of a reference's anchor tag, read as the written rule reads it:
// blanks taken out, the style first.
std::optional<std::string> NoteIdOfAnchor(std::string anchor)
{
    CZavioDoc::StripBlanks(anchor);
    if (auto id = NoteIdAfter(anchor, "<astyle='mso-footnote-id:")) return id;
    return NoteIdAfter(anchor, "<astyle='mso-endnote-id:");
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

// Calls onTag for every tag of a cleaned line and onText for the text between.
template <class OnTag, class OnText>
void ForEachTagAndText(std::string_view line, OnTag onTag, OnText onText)
{
    for (std::size_t i = 0; i < line.size();) {
        // Neither "<" nor ">" is ever a trail byte.
        if (line[i] == '<') {
            const std::size_t close = line.find('>', i);
            const std::size_t end = close == std::string_view::npos ? line.size() : close + 1;
            onTag(line.substr(i, end - i));
            i = end;
        } else {
            const std::size_t end = std::min(line.find('<', i), line.size());
            onText(line.substr(i, end - i));
            i = end;
        }
    }
}

char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// "<p ...>", "<h1>" ... "<h6 ...>": Word's paragraphs, headings included.
// `closing` asks for "</p>" and "</h1>" ... "</h6>" instead.
bool IsParagraphTag(std::string_view tag, bool closing)
{
    std::size_t i = closing ? 2 : 1;
    if (tag.size() <= i || tag[0] != '<' || (closing && tag[1] != '/')) return false;
    const char name = LowerAscii(tag[i]);
    if (name == 'h') {
        if (tag.size() <= i + 1 || tag[i + 1] < '1' || tag[i + 1] > '6') return false;
        ++i;
    } else if (name != 'p') {
        return false;
    }
    ++i;
    return i < tag.size() && (tag[i] == '>' || (!closing && (tag[i] == ' ' || tag[i] == '\t')));
}

bool IsLineBreakTag(std::string_view tag)
{
    return tag.size() >= 3 && tag[0] == '<' && LowerAscii(tag[1]) == 'b' && LowerAscii(tag[2]) == 'r' &&
           (tag.size() == 3 || tag[3] == '>' || tag[3] == ' ' || tag[3] == '/');
}

// Text as a reader sees it: references decoded, every run of white space
// one blank, no blank at either end.
std::string VisibleText(std::string_view raw)
{
    const std::string decoded = DecodeCharacterReferences(raw);
    std::string out;
    out.reserve(decoded.size());
    bool blank = false;
    // White space bytes are never trail bytes: the text is read byte by byte.
    for (char c : decoded) {
        if (IsAsciiSpace(static_cast<unsigned char>(c))) {
            blank = !out.empty();
            continue;
        }
        if (blank) out += ' ';
        blank = false;
        out += c;
    }
    return out;
}

// Whether a piece of text shows anything: Word fills empty paragraphs with
// "&nbsp;" and pads with blanks.
bool ShowsText(std::string_view text)
{
    while (!text.empty()) {
        if (IsAsciiSpace(static_cast<unsigned char>(text[0]))) {
            text.remove_prefix(1);
        } else if (text.substr(0, 6) == "&nbsp;") {
            text.remove_prefix(6);
        } else {
            return true;
        }
    }
    return false;
}

// Reads a page's title: the text of its first paragraph (or heading) that
// shows text once the note references (WinHelp's marks, note numbers) are set
// aside. A source line break between two pieces of text was a blank.
class PageTitleReader {
public:
    explicit PageTitleReader(const SourceLineBreaks& breaks) : m_breaks(breaks) {}

    void ReadLine(std::size_t index, std::string_view line)
    {
        ForEachTagAndText(
            line, [&](std::string_view tag) { OnTag(tag); }, [&](std::string_view text) { OnText(index, text); });
    }
    bool Done() const { return m_done; }
    // The title; a page whose paragraph never ends gives the text to its end.
    std::string Title() const { return m_done ? m_title : VisibleText(m_text); }

private:
    void OnTag(std::string_view tag)
    {
        if (m_done) return;
        const bool inReference = InNoteReferenceAfter(tag, m_inReference);
        if (inReference != m_inReference) {
            m_inReference = inReference;
        } else if (IsParagraphTag(tag, false)) {
            StartParagraph();
        } else if (IsParagraphTag(tag, true)) {
            // Most paragraphs before the title show nothing at all.
            if (ShowsText(m_text)) {
                m_title = VisibleText(m_text);
                m_done = !m_title.empty();
            }
            StartParagraph();
        } else if (IsLineBreakTag(tag)) {
            m_text += ' ';
        }
    }

    void OnText(std::size_t index, std::string_view text)
    {
        if (m_done || m_inReference) return;
        if (m_lastTextLine != kNone && m_lastTextLine < index && m_breaks.Between(m_lastTextLine, index)) m_text += ' ';
        m_text += text;
        m_lastTextLine = index;
    }

    void StartParagraph()
    {
        m_text.clear();
        m_lastTextLine = kNone;
    }

    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    const SourceLineBreaks& m_breaks;
    bool m_inReference = false;
    std::string m_text;
    std::size_t m_lastTextLine = kNone;
    std::string m_title;
    bool m_done = false;
};

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
    manuscript->m_sourceBreaks.MoveTo(m_sourceBreaks, first, static_cast<std::size_t>(pageStart));

    if (opening != Opening::None) FindNoteReference(pageStart, noteReference, opening == Opening::PageBreak);
    // Every page opens Word's body section, the first page then twice.
    m_saOutputLines.insert(m_saOutputLines.begin() + pageStart, bodyStartCopy);
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
            if (std::optional<std::string> id = NoteIdOfAnchor(std::string(anchor))) noteReference = std::move(*id);
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
    const LineList& lines = m_saOutputLines;
    if (pageStart < 0) return;
    PageTitleReader reader(m_sourceBreaks);
    for (std::size_t i = static_cast<std::size_t>(pageStart) + 1; i < lines.size() && !reader.Done(); ++i)
        reader.ReadLine(i, lines[i]);
    title += reader.Title();
}

}  // namespace zavio
