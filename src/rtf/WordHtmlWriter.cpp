#include "rtf/WordHtmlWriter.h"

#include <algorithm>
#include <cstdlib>

#include "framework/Cp932.h"

namespace zavio::rtf {
namespace {

constexpr std::string_view kHiddenStart = "<span style='display:none;mso-hide:all'>";
constexpr std::string_view kBreakSpan = "<span style='font-size:10.0pt;font-family:\"Times New Roman\"'>";
// Word fills an empty paragraph so that browsers give it its height.
constexpr std::string_view kEmptyParagraphText = "<![if !supportEmptyParas]>&nbsp;<![endif]><o:p></o:p>";
constexpr std::size_t kNone = std::string::npos;
// WinHelp's footnote marks: the text just before a note.
constexpr std::string_view kMarks = "#$K+A!*@>";

// Twips as points with one decimal, as Word writes lengths ("18.0pt").
std::string Points(int twips)
{
    const long long tenths = (std::llabs(static_cast<long long>(twips)) + 1) / 2;
    std::string text = twips < 0 && tenths > 0 ? "-" : "";
    return text + std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + "pt";
}

// Twips as screen pixels (96 per inch).
int Pixels(long long twips)
{
    return static_cast<int>(std::clamp<long long>(twips / 15, 0, 1000000));
}

}  // namespace

enum class WordHtmlWriter::Tag : unsigned char { Link, Bold, Italic, Underline, DoubleUnderline };

namespace {
// By Tag; a link's start carries its address.
constexpr std::string_view kOpenTags[] = {"", "<b>", "<i>", "<u>", "<u style='text-underline:double'>"};
constexpr std::string_view kCloseTags[] = {"</a>", "</b>", "</i>", "</u>", "</u>"};
}  // namespace

// One flow of paragraphs being written, and the inline state of its open
// paragraph.
struct WordHtmlWriter::FlowState {
    std::string out;
    bool open = false;
    // A break cut the open paragraph: its paragraph mark, when nothing
    // follows it, adds no empty paragraph.
    bool continues = false;
    bool inCell = false;
    int paragraphs = 0;
    std::string closeTag;
    std::vector<Tag> tags;  // open inline tags, the outermost first
    std::string openHref;
    bool linkWanted = false;
    std::string linkHref;
    std::string hidden;  // a hotspot's target, waiting for the hotspot's end
    bool hotspotLast = false;
    std::size_t lastTextStart = kNone;  // where the text written last lies, while nothing follows it
    std::size_t lastTextEnd = kNone;
    std::string label;
    bool autoMark = false;
    std::string text;  // the text written, for a note's topic name
};

struct WordHtmlWriter::TableLevel {
    bool rowOpen = false;
    bool cellOpen = false;
    bool cellHasContent = false;
    bool bordered = false;
    std::size_t cellIndex = 0;
};

WordHtmlWriter::WordHtmlWriter() : m_body(std::make_unique<FlowState>()), m_note(std::make_unique<FlowState>()) {}
WordHtmlWriter::~WordHtmlWriter() = default;

WordHtmlWriter::FlowState& WordHtmlWriter::Of(Flow flow)
{
    return flow == Flow::Body ? *m_body : *m_note;
}

void WordHtmlWriter::Text(Flow flow, std::string_view html, const CharFormat& chars, const ParaFormat& para)
{
    if (html.empty()) return;
    FlowState& f = Of(flow);
    if (chars.hidden) {
        // A hotspot's target; hidden text anywhere else shows nothing in
        // WinHelp either, and would turn the text before it into a link.
        if (f.hotspotLast || !f.hidden.empty()) f.hidden += html;
        return;
    }
    StartInline(f, chars, para);
    f.lastTextStart = f.out.size();
    f.out += html;
    f.lastTextEnd = f.out.size();
    f.hotspotLast = chars.underline != Underline::None;
    f.autoMark = false;
    if (flow == Flow::Note) f.text += html;
}

// Visible inline content goes after the hotspot target waiting before it,
// in an open paragraph, inside the tags of its formatting.
void WordHtmlWriter::StartInline(FlowState& f, const CharFormat& chars, const ParaFormat& para)
{
    FlushHidden(f);
    Open(f, para);
    SyncTags(f, chars);
}

void WordHtmlWriter::LineBreak(Flow flow, const CharFormat& chars, const ParaFormat& para)
{
    if (chars.hidden) return;
    FlowState& f = Of(flow);
    StartInline(f, chars, para);
    f.out += "<br>";
    f.lastTextEnd = kNone;
    f.hotspotLast = false;
}

void WordHtmlWriter::Picture(Flow flow, std::string_view source, int width, int height, const CharFormat& chars,
                             const ParaFormat& para)
{
    if (chars.hidden) return;
    FlowState& f = Of(flow);
    StartInline(f, chars, para);
    f.out += "<img";
    if (width > 0 && height > 0) f.out += " width=" + std::to_string(width) + " height=" + std::to_string(height);
    f.out += " src=\"";
    f.out += source;
    f.out += "\">";
    f.lastTextEnd = kNone;
    f.hotspotLast = chars.underline != Underline::None;
}

void WordHtmlWriter::ListLabel(Flow flow, std::string_view html)
{
    FlowState& f = Of(flow);
    if (!f.open) {
        f.label += html;
        return;
    }
    FlushHidden(f);
    f.out += html;
    f.lastTextEnd = kNone;
}

void WordHtmlWriter::EndParagraph(Flow flow, const ParaFormat& para)
{
    FlowState& f = Of(flow);
    FlushHidden(f);
    if (!f.open && f.continues) {
        f.continues = false;
        return;
    }
    if (!f.open) WriteEmptyParagraph(f, para);
    CloseParagraph(f);
}

void WordHtmlWriter::BeginLink(Flow flow, std::string href)
{
    FlowState& f = Of(flow);
    f.linkWanted = true;
    f.linkHref = std::move(href);
}

void WordHtmlWriter::EndLink(Flow flow)
{
    Of(flow).linkWanted = false;
}

void WordHtmlWriter::PageBreak()
{
    FlushHidden(*m_body);
    if (m_body->open) {
        CloseParagraph(*m_body);
        m_body->continues = true;
    }
    m_pageBreakPending = true;
}

void WordHtmlWriter::SectionEnd()
{
    FlushHidden(*m_body);
    if (m_body->open) CloseParagraph(*m_body);
    m_sectionPending = true;
}

void WordHtmlWriter::SetSectionsBreakPages(bool breakPages)
{
    m_sectionsBreakPages = breakPages;
}

void WordHtmlWriter::AutoNoteMark()
{
    m_body->autoMark = true;
}

char WordHtmlWriter::BeginNote(const ParaFormat& bodyPara)
{
    FlowState& body = *m_body;
    FlushHidden(body);
    const char mark = body.autoMark ? 0 : TakeMark(body);
    body.autoMark = false;
    Open(body, bodyPara);
    const int number = ++m_notesWritten;
    if (mark == 0) ++m_numberedNotes;
    body.out += NoteAnchor(number, mark, true);
    body.lastTextEnd = kNone;
    body.hotspotLast = false;

    *m_note = FlowState{};
    m_note->out = "<div style='mso-element:footnote' id=ftn" + std::to_string(number) + ">\r\n\r\n";
    m_noteAnchor = NoteAnchor(number, mark, false);
    return mark;
}

std::string WordHtmlWriter::EndNote()
{
    FlowState& note = *m_note;
    FlushHidden(note);
    if (!note.open && note.paragraphs == 0) WriteEmptyParagraph(note, ParaFormat{});
    if (note.open) CloseParagraph(note);
    note.out += "</div>\r\n\r\n";
    m_notes += note.out;
    return Trim(note.text);
}

// Word's anchor of a note: in the body it leads to the note, in the note
// back to the body. A WinHelp mark shows as text; a numbered note shows
// its number.
std::string WordHtmlWriter::NoteAnchor(int number, char mark, bool toNote) const
{
    const std::string n = std::to_string(number);
    std::string anchor = "<a style='mso-footnote-id:ftn" + n + "' href=\"#_ftn" + (toNote ? "" : "ref") + n +
                         "\" name=\"_ftn" + (toNote ? "ref" : "") + n + "\" title=\"\">";
    anchor += "<span class=MsoFootnoteReference>";
    if (mark == 0) {
        anchor += "<span style='mso-special-character:footnote'><![if !supportFootnotes]>[" +
                  std::to_string(m_numberedNotes) + "]<![endif]></span>";
    } else {
        anchor += "<span lang=EN-US>";
        anchor += mark == '>' ? std::string("&gt;") : std::string(1, mark);
        anchor += "</span>";
    }
    return anchor + "</span></a>";
}

// The WinHelp mark just written before a note, taken back out of the text:
// the last character of the text written last, when nothing followed it.
char WordHtmlWriter::TakeMark(FlowState& f)
{
    if (f.lastTextEnd != f.out.size() || f.lastTextStart >= f.out.size()) return 0;
    // Only a mark that stands as a character of its own counts: "K" and "A"
    // are also trail bytes of double-byte characters.
    const std::size_t end = f.out.size();
    bool lastIsCharacter = false;
    bool gtIsCharacter = false;
    for (std::size_t i = f.lastTextStart; i < end; i += CharLength(f.out, i)) {
        if (i == end - 1) lastIsCharacter = true;
        if (end >= 4 && i == end - 4) gtIsCharacter = true;
    }
    std::size_t at = kNone;
    char mark = 0;
    if (gtIsCharacter && f.out.compare(end - 4, 4, "&gt;") == 0) {
        at = end - 4;
        mark = '>';
    } else if (lastIsCharacter && f.out.back() != '>' && kMarks.find(f.out.back()) != std::string_view::npos) {
        at = end - 1;
        mark = f.out.back();
    }
    if (at == kNone) return 0;
    f.out.erase(at);
    f.lastTextEnd = kNone;
    return mark;
}

void WordHtmlWriter::Open(FlowState& f, const ParaFormat& para)
{
    if (f.open) return;
    if (&f == m_body.get()) {
        OpenBodyParagraph(para);
    } else {
        WriteParagraphStart(f, para, "MsoFootnoteText");
        if (f.paragraphs == 1) f.out += m_noteAnchor;
    }
    if (!f.label.empty()) {
        f.out += f.label;
        f.label.clear();
    }
}

void WordHtmlWriter::OpenBodyParagraph(const ParaFormat& para)
{
    // A break waits for the next paragraph, so that it stands between
    // blocks, and one at the very end makes no empty page.
    if (m_sectionPending && m_sectionsBreakPages) {
        AdjustTables(0);
        m_body->out += "</div>\r\n\r\n";
        m_body->out += kBreakSpan;
        m_body->out +=
            "<br clear=all style='page-break-before:always;mso-break-type:section-break'>\r\n</span>\r\n\r\n";
        m_body->out += "<div class=Section" + std::to_string(++m_sections) + " style='layout-grid:18.0pt'>\r\n\r\n";
    } else if (m_pageBreakPending) {
        AdjustTables(0);
        m_body->out += kBreakSpan;
        m_body->out += "<br clear=all style='page-break-before:always'>\r\n</span>\r\n\r\n";
    }
    m_sectionPending = m_pageBreakPending = false;
    AdjustTables(para.tableLevel);
    m_body->inCell = !m_tables.empty();
    if (m_body->inCell) {
        m_body->out += Indent(2);
        m_tables.back().cellHasContent = true;
    }
    WriteParagraphStart(*m_body, para, "MsoNormal");
}

void WordHtmlWriter::WriteParagraphStart(FlowState& f, const ParaFormat& para, std::string_view className)
{
    std::string style;
    if (para.leftIndent != 0) style += "margin-left:" + Points(para.leftIndent);
    if (para.firstIndent != 0)
        style += (style.empty() ? "" : ";") + std::string("text-indent:") + Points(para.firstIndent);

    if (para.heading >= 1 && para.heading <= 6) {
        f.out += "<h" + std::to_string(para.heading);
        f.closeTag = "</h" + std::to_string(para.heading) + ">";
    } else {
        f.out += "<p class=";
        f.out += para.heading > 6 ? "MsoHeading" + std::to_string(para.heading) : std::string(className);
        f.closeTag = "</p>";
    }
    if (para.alignment == Alignment::Center) f.out += " align=center";
    if (para.alignment == Alignment::Right) f.out += " align=right";
    if (!style.empty()) f.out += " style='" + style + "'";
    f.out += '>';
    f.open = true;
    f.continues = false;
    ++f.paragraphs;
}

void WordHtmlWriter::WriteEmptyParagraph(FlowState& f, const ParaFormat& para)
{
    Open(f, para);
    f.out += kEmptyParagraphText;
}

void WordHtmlWriter::CloseParagraph(FlowState& f)
{
    CloseTags(f, 0);
    f.out += f.closeTag;
    // Word leaves an empty line between blocks, not between a cell's paragraphs.
    f.out += f.inCell ? "\r\n" : "\r\n\r\n";
    f.open = false;
    f.hotspotLast = false;
    f.lastTextEnd = kNone;
}

// Opens and closes inline tags so that the open ones match the formatting:
// a link outermost, then bold, italic and underline.
void WordHtmlWriter::SyncTags(FlowState& f, const CharFormat& chars)
{
    Tag want[4];
    std::size_t count = 0;
    if (f.linkWanted) want[count++] = Tag::Link;
    if (chars.bold) want[count++] = Tag::Bold;
    if (chars.italic) want[count++] = Tag::Italic;
    if (chars.underline == Underline::Single) want[count++] = Tag::Underline;
    if (chars.underline == Underline::Double) want[count++] = Tag::DoubleUnderline;

    std::size_t keep = 0;
    while (keep < f.tags.size() && keep < count && f.tags[keep] == want[keep] &&
           (want[keep] != Tag::Link || f.openHref == f.linkHref))
        ++keep;
    CloseTags(f, keep);
    for (std::size_t i = keep; i < count; ++i) {
        if (want[i] == Tag::Link) {
            f.out += "<a href=\"" + f.linkHref + "\">";
            f.openHref = f.linkHref;
        } else {
            f.out += kOpenTags[static_cast<int>(want[i])];
        }
        f.tags.push_back(want[i]);
    }
}

void WordHtmlWriter::CloseTags(FlowState& f, std::size_t keep)
{
    while (f.tags.size() > keep) {
        f.out += kCloseTags[static_cast<int>(f.tags.back())];
        f.tags.pop_back();
    }
}

// The target of the hotspot before it, as one hidden run: the clean-up takes
// the run's text as the name of the page to link to.
void WordHtmlWriter::FlushHidden(FlowState& f)
{
    if (f.hidden.empty()) return;
    const std::string_view target = TrimRightView(TrimLeftView(f.hidden));
    if (!target.empty() && f.open) {
        CloseTags(f, 0);
        f.out += kHiddenStart;
        f.out += target;
        f.out += "</span>";
        f.lastTextEnd = kNone;
    }
    f.hidden.clear();
    f.hotspotLast = false;
}

void WordHtmlWriter::BeginRowDefinition()
{
    m_cellEdges.clear();
    m_rowLeft = 0;
    m_rowBorders = false;
}

void WordHtmlWriter::RowLeftEdge(int twips)
{
    m_rowLeft = twips;
}

void WordHtmlWriter::CellRightEdge(int twips)
{
    m_cellEdges.push_back(twips);
}

void WordHtmlWriter::RowHasBorders()
{
    m_rowBorders = true;
}

void WordHtmlWriter::EndCell(int level, const ParaFormat& para)
{
    FlushHidden(*m_body);
    if (m_body->open) CloseParagraph(*m_body);
    m_body->continues = false;
    AdjustTables(std::max(level, 1));
    if (!m_tables.back().cellHasContent) {
        ParaFormat empty = para;
        empty.tableLevel = static_cast<int>(m_tables.size());
        WriteEmptyParagraph(*m_body, empty);
        CloseParagraph(*m_body);
    }
    CloseCell();
}

void WordHtmlWriter::EndRow(int level)
{
    level = std::max(level, 1);
    if (static_cast<int>(m_tables.size()) < level) return;
    FlushHidden(*m_body);
    if (m_body->open) CloseParagraph(*m_body);
    while (static_cast<int>(m_tables.size()) > level) CloseTable();
    if (m_tables.back().cellOpen) CloseCell();
    if (m_tables.back().rowOpen) CloseRow();
}

// Closes tables nested deeper than `level` and opens tables, rows and cells
// down to it.
void WordHtmlWriter::AdjustTables(int level)
{
    if (level < 0) level = 0;
    if (static_cast<int>(m_tables.size()) > level && m_body->open) CloseParagraph(*m_body);
    while (static_cast<int>(m_tables.size()) > level) CloseTable();
    while (static_cast<int>(m_tables.size()) < level) {
        if (!m_tables.empty()) {
            if (!m_tables.back().rowOpen) OpenRow();
            if (!m_tables.back().cellOpen) OpenCell();
            m_tables.back().cellHasContent = true;
        }
        OpenTable();
    }
    if (m_tables.empty()) return;
    if (!m_tables.back().rowOpen) OpenRow();
    if (!m_tables.back().cellOpen) OpenCell();
}

std::string WordHtmlWriter::Indent(int extra) const
{
    return std::string(2 * (m_tables.size() - 1) + extra, ' ');
}

void WordHtmlWriter::OpenTable()
{
    const bool bordered = m_rowBorders;
    m_tables.push_back(TableLevel{});
    m_tables.back().bordered = bordered;
    m_body->out += Indent(0);
    m_body->out += bordered
                       ? "<table border=1 cellspacing=0 cellpadding=0 style='border-collapse:collapse;border:none'>"
                       : "<table border=0 cellspacing=0 cellpadding=0 style='border-collapse:collapse'>";
    m_body->out += "\r\n";
}

void WordHtmlWriter::OpenRow()
{
    m_body->out += Indent(1) + "<tr>\r\n";
    m_tables.back().rowOpen = true;
    m_tables.back().cellIndex = 0;
}

void WordHtmlWriter::OpenCell()
{
    TableLevel& table = m_tables.back();
    std::string style;
    std::string width;
    // The row definition describes the outer table's rows.
    const std::size_t cell = table.cellIndex;
    if (m_tables.size() == 1 && cell < m_cellEdges.size()) {
        const long long left = cell == 0 ? m_rowLeft : m_cellEdges[cell - 1];
        const long long twips = std::clamp<long long>(m_cellEdges[cell] - left, 0, 1000000);
        width = " width=" + std::to_string(Pixels(twips));
        style = "width:" + Points(static_cast<int>(twips)) + ";";
    }
    if (table.bordered) style += "border:solid windowtext 1.0pt;";
    style += "padding:0mm 5.4pt 0mm 5.4pt";
    m_body->out += Indent(2) + "<td" + width + " valign=top style='" + style + "'>\r\n";
    table.cellOpen = true;
    table.cellHasContent = false;
}

void WordHtmlWriter::CloseCell()
{
    m_body->out += Indent(2) + "</td>\r\n";
    m_tables.back().cellOpen = false;
    ++m_tables.back().cellIndex;
}

void WordHtmlWriter::CloseRow()
{
    m_body->out += Indent(1) + "</tr>\r\n";
    m_tables.back().rowOpen = false;
}

void WordHtmlWriter::CloseTable()
{
    TableLevel& table = m_tables.back();
    if (table.cellOpen) {
        if (!table.cellHasContent) {
            m_body->out += Indent(2) + "<p class=MsoNormal>";
            m_body->out += kEmptyParagraphText;
            m_body->out += "</p>\r\n";
        }
        CloseCell();
    }
    if (table.rowOpen) CloseRow();
    m_body->out += Indent(0) + "</table>\r\n";
    m_tables.pop_back();
    m_body->out += m_tables.empty() ? "\r\n" : "";
    m_body->inCell = !m_tables.empty();
}

std::string WordHtmlWriter::Finish(const PageHead& head)
{
    FlowState& body = *m_body;
    FlushHidden(body);
    if (body.open) CloseParagraph(body);
    AdjustTables(0);

    std::string html = Head(head);
    html.reserve(html.size() + body.out.size() + m_notes.size() + 512);
    html += "<div class=Section1 style='layout-grid:18.0pt'>\r\n\r\n";
    html += body.out;
    html += "</div>\r\n\r\n";
    if (m_notesWritten > 0) {
        html += "<div style='mso-element:footnote-list'><![if !supportFootnotes]><br clear=all>\r\n\r\n";
        html += "<hr align=left size=1 width=\"33%\">\r\n\r\n<![endif]>\r\n\r\n";
        html += m_notes;
        html += "</div>\r\n\r\n";
    }
    html += "</body>\r\n\r\n</html>\r\n";
    return html;
}

std::string WordHtmlWriter::Head(const PageHead& head) const
{
    std::string font = MbRemoveAscii(head.fontName, "\"';{}");
    if (font.empty()) font = head.japanese ? ToCp932("ＭＳ 明朝") : "Times New Roman";
    const std::string family = "\tfont-family:\"" + font + "\";}\r\n";

    std::string css = " /* Font Definitions */\r\n@font-face\r\n\t{font-family:\"" + font + "\";}\r\n";
    css += " /* Style Definitions */\r\np.MsoNormal, li.MsoNormal, div.MsoNormal\r\n";
    css += "\t{mso-style-parent:\"\";\r\n\tmargin:0mm;\r\n\tmargin-bottom:.0001pt;\r\n\tfont-size:10.0pt;\r\n" + family;
    static constexpr const char* kHeadingSizes[] = {"16.0", "14.0", "13.0", "12.0", "11.0", "10.0"};
    for (int level = 1; level <= 6; ++level) {
        css += "h" + std::to_string(level) + "\r\n\t{margin-top:12.0pt;\r\n\tmargin-right:0mm;\r\n";
        css += "\tmargin-bottom:3.0pt;\r\n\tmargin-left:0mm;\r\n\tpage-break-after:avoid;\r\n";
        css += std::string("\tfont-size:") + kHeadingSizes[level - 1] + "pt;\r\n" + family;
    }
    css += "p.MsoFootnoteText, li.MsoFootnoteText, div.MsoFootnoteText\r\n";
    css += "\t{margin:0mm;\r\n\tmargin-bottom:.0001pt;\r\n\tfont-size:10.0pt;\r\n" + family;
    css += "span.MsoFootnoteReference\r\n\t{vertical-align:super;}\r\n";
    for (int section = 1; section <= m_sections; ++section) {
        const std::string name = "Section" + std::to_string(section);
        css += "@page " + name + "\r\n\t{size:595.3pt 841.9pt;\r\n\tmargin:72.0pt 90.0pt 72.0pt 90.0pt;}\r\n";
        css += "div." + name + "\r\n\t{page:" + name + ";}\r\n";
    }

    std::string html = "<html xmlns:o=\"urn:schemas-microsoft-com:office:office\"\r\n";
    html += "xmlns:w=\"urn:schemas-microsoft-com:office:word\"\r\n";
    html += "xmlns=\"http://www.w3.org/TR/REC-html40\">\r\n\r\n<head>\r\n";
    html += "<meta http-equiv=Content-Type content=\"text/html; charset=shift_jis\">\r\n";
    html += "<title>" + head.title + "</title>\r\n<style>\r\n<!--\r\n" + css + "-->\r\n</style>\r\n</head>\r\n\r\n";
    html += head.japanese ? "<body lang=JA style='tab-interval:42.0pt'>\r\n\r\n"
                          : "<body lang=EN-US style='tab-interval:36.0pt'>\r\n\r\n";
    return html;
}

}  // namespace zavio::rtf
