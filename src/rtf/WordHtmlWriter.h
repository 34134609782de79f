// Writes a manuscript in the shape Word 2000 gives a WinHelp manuscript that
// it saves as a Web page: the head, the Section1 division, paragraphs and
// headings, Word's page and section breaks, footnote anchors and the
// footnote list, jumps as double underline followed by hidden text, tables.
// Line breaks stand only between block-level elements and Word's structural
// lines, never inside text: the clean-up reads a source line break outside a
// tag as a blank.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zavio::rtf {

enum class Underline : unsigned char { None, Single, Double };

// The character formatting a page shows. Double underline is a jump's
// hotspot, single underline a pop-up's; hidden text is a hotspot's target.
struct CharFormat {
    bool bold = false;
    bool italic = false;
    bool hidden = false;
    Underline underline = Underline::None;
};

enum class Alignment : unsigned char { Left, Center, Right, Justified };

struct ParaFormat {
    int heading = 0;  // 1 to 9 for the styles "heading 1" to "heading 9"
    Alignment alignment = Alignment::Left;
    int leftIndent = 0;   // twips
    int firstIndent = 0;  // twips
    int tableLevel = 0;   // 0 outside tables, 2 in a table nested in a table's cell
};

// The body of the manuscript, or the text of the footnote being read.
enum class Flow { Body, Note };

struct PageHead {
    std::string title;     // HTML text
    std::string fontName;  // the default font, CP932
    bool japanese = false;
};

class WordHtmlWriter {
public:
    WordHtmlWriter();
    ~WordHtmlWriter();
    WordHtmlWriter(const WordHtmlWriter&) = delete;
    WordHtmlWriter& operator=(const WordHtmlWriter&) = delete;

    // Text already in HTML form (CP932, escaped). Hidden text is kept only
    // right after a hotspot, where it names the hotspot's target; the
    // pieces of one target join into one hidden run without blanks at its
    // ends.
    void Text(Flow flow, std::string_view html, const CharFormat& chars, const ParaFormat& para);
    void LineBreak(Flow flow, const CharFormat& chars, const ParaFormat& para);
    void Picture(Flow flow, std::string_view source, int width, int height, const CharFormat& chars,
                 const ParaFormat& para);
    // The visible bullet or number of the next list paragraph.
    void ListLabel(Flow flow, std::string_view html);
    void EndParagraph(Flow flow, const ParaFormat& para);
    void BeginLink(Flow flow, std::string href);
    void EndLink(Flow flow);

    // Topics: a page break, or the end of a section, which starts a page
    // when the next section breaks pages. Either takes effect before the
    // next paragraph, so a break at the end changes nothing.
    void PageBreak();
    void SectionEnd();
    void SetSectionsBreakPages(bool breakPages);

    // Footnotes. The mark is the text just before the note (a WinHelp mark
    // such as "#", "$" or "K"), taken back from the body; after
    // AutoNoteMark, or without such a mark, the note is numbered. BeginNote
    // gives the mark, or 0 for a numbered note; EndNote gives the note's
    // text with its ends trimmed.
    void AutoNoteMark();
    char BeginNote(const ParaFormat& bodyPara);
    std::string EndNote();

    // Tables: the row definition (\trowd, \cellx) gives the cells' widths.
    void BeginRowDefinition();
    void RowLeftEdge(int twips);
    void CellRightEdge(int twips);
    void RowHasBorders();
    void EndCell(int level, const ParaFormat& para);
    void EndRow(int level);

    // The whole page, every line ended with CR LF.
    std::string Finish(const PageHead& head);

private:
    struct FlowState;
    struct TableLevel;
    enum class Tag : unsigned char;

    FlowState& Of(Flow flow);
    void StartInline(FlowState& f, const CharFormat& chars, const ParaFormat& para);
    void Open(FlowState& f, const ParaFormat& para);
    void OpenBodyParagraph(const ParaFormat& para);
    void WriteParagraphStart(FlowState& f, const ParaFormat& para, std::string_view className);
    void CloseParagraph(FlowState& f);
    void WriteEmptyParagraph(FlowState& f, const ParaFormat& para);
    void SyncTags(FlowState& f, const CharFormat& chars);
    void CloseTags(FlowState& f, std::size_t keep);
    void FlushHidden(FlowState& f);
    char TakeMark(FlowState& f);
    std::string NoteAnchor(int number, char mark, bool toNote) const;

    void AdjustTables(int level);
    void OpenTable();
    void OpenRow();
    void OpenCell();
    void CloseCell();
    void CloseRow();
    void CloseTable();
    std::string Indent(int extra) const;

    std::string Head(const PageHead& head) const;

    std::unique_ptr<FlowState> m_body;
    std::unique_ptr<FlowState> m_note;
    std::string m_notes;  // the footnote list's entries
    std::string m_noteAnchor;
    int m_notesWritten = 0;
    int m_numberedNotes = 0;

    bool m_pageBreakPending = false;
    bool m_sectionPending = false;
    bool m_sectionsBreakPages = true;
    int m_sections = 1;

    std::vector<TableLevel> m_tables;
    std::vector<int> m_cellEdges;
    int m_rowLeft = 0;
    bool m_rowBorders = false;
};

}  // namespace zavio::rtf
