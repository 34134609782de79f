// What the pipeline works on: a source of the run as the front end names it,
// and a manuscript's lines, which carry where the source broke them and the
// marks the clean-up leaves at lines (keywords, links, places a jump may
// reach), so that every stage that removes, inserts or moves lines keeps all
// three in step.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "convert/SourceLineBreaks.h"
#include "framework/Cp932.h"
#include "framework/TextFile.h"

namespace zavio {

// A file the run converts or moves (a manuscript or the contents file), named
// as it was opened. `handle` is the front end's own: the desktop's document,
// the converter's index.
struct SourceFile {
    std::string path;       // CP932, as opened
    std::string baseName;   // file name without folder and extension
    std::string extension;  // lower case, without the dot
    const void* handle = nullptr;
};

// A source's text as its window or file holds it: lines end with CR LF, and
// a UTF-8 manuscript keeps its own bytes.
struct SourceText {
    std::string bytes;
    TextEncoding encoding = TextEncoding::Cp932;
};

// What the clean-up left at a line of the body.
enum class MarkKind {
    Keyword,    // a "K" note whose mark stood before the line; value: the note's id
    LinkStart,  // a jump's hotspot begins with the line; value: the target as hidden
    LinkEnd,    // the hotspot ends with the line
    Place,      // a "#" note inside a topic names this place; value: the note's id
};

struct LineMark {
    std::size_t line;
    MarkKind kind;
    std::string value;
};

// Lines that view text held elsewhere: a manuscript's lines point into its
// text, so that the lines it splits into cost no copy of their own.
using LineViews = std::vector<std::string_view>;

// The text a manuscript's lines view: the manuscript's own, and the lines
// made anew (joined from pieces, or given), each copied in once. Shared by
// every ManuscriptLines that holds a line of it, so a line moved to a page
// or to the notes keeps its text.
class LineTexts {
public:
    // The manuscript's text, held from now on; the view is its.
    std::string_view Hold(std::string text);
    bool Holds(std::string_view line) const;
    // A copy of `line` that lives as long as this.
    std::string_view Copy(std::string_view line);

private:
    std::string m_text;
    std::vector<std::unique_ptr<char[]>> m_blocks;
    char* m_free = nullptr;  // room left in the last block
    std::size_t m_room = 0;
};

// Lines of a manuscript or a page: one tag run or text run per line once
// split, with the positions between them where the source broke a line
// (SourceLineBreaks) and the marks, each at its line.
class ManuscriptLines {
public:
    std::size_t size() const { return m_lines.size(); }
    bool empty() const { return m_lines.empty(); }
    std::string_view operator[](std::size_t i) const { return m_lines[i]; }
    const LineViews& Lines() const { return m_lines; }
    const SourceLineBreaks& Breaks() const { return m_breaks; }
    // In line order; of one line, in the order they were added.
    const std::vector<LineMark>& Marks() const { return m_marks; }

    // The manuscript's text, which lines appended from it view rather than copy.
    std::string_view HoldText(std::string text);
    void Reserve(std::size_t lines) { m_lines.reserve(lines); }
    // A line of the held text is viewed where it lies; any other is copied.
    void Append(std::string_view line) { m_lines.push_back(Keep(line)); }
    // A line's text changes; it may be any text.
    void Set(std::size_t i, std::string_view text) { m_lines[i] = Keep(text); }
    void Clear(std::size_t i) { m_lines[i] = {}; }
    // The source broke a line after the lines appended so far.
    void MarkSourceBreak() { m_breaks.Add(m_lines.size()); }
    // Marks at their lines, in line order among themselves; they join those
    // already there.
    void AddMarks(std::vector<LineMark> marks);

    void InsertLine(std::size_t at, std::string_view line);
    // Lines [first, last) go; marks among them stay with the line after.
    void EraseLines(std::size_t first, std::size_t last);
    // The lines at the given ascending indexes go, as above.
    void EraseLines(const std::vector<std::size_t>& ascending);
    // Lines [first, end) move to the end of `to`, breaks and marks with them.
    void MoveTailTo(ManuscriptLines& to, std::size_t first);
    // Lines [first + dropped, end) move to the end of `to` behind `front`, and
    // the `dropped` lines before them go: as if all had moved, the dropped
    // ones had been erased and `front` inserted before the rest, each line
    // moved once. Breaks and marks at or among the dropped lines, and where
    // `to` ended, land on the first line after `front`.
    void MoveTailBehind(ManuscriptLines& to, std::size_t first, std::size_t dropped, std::string_view front);
    // Lines [first, end) move in front of the lines of `to`.
    void MoveTailToFront(ManuscriptLines& to, std::size_t first);

private:
    std::string_view Keep(std::string_view line);
    // `to` keeps the texts these lines view.
    void ShareTextsWith(ManuscriptLines& to) const;
    // Lines [first + dropped, end) go to the end of `to`, the dropped ones
    // before them are erased; what stood at or among these lands on the
    // first line moved.
    void MoveLinesTo(ManuscriptLines& to, std::size_t first, std::size_t dropped);

    LineViews m_lines;
    SourceLineBreaks m_breaks;
    std::vector<LineMark> m_marks;  // ascending lines
    // The texts the lines view: the first is these lines' own, made when first needed.
    std::vector<std::shared_ptr<LineTexts>> m_texts;
};

// One manuscript of the run: its source, its text read into lines, and the
// body the clean-up makes of them.
struct Manuscript {
    SourceFile source;
    LineList sourceLines;  // as read, until SplitTagsIntoLines
    ManuscriptLines body;  // one tag run or text run per line
    // Word's body as LoadHtmlSource leaves it: the lines of the text from
    // `sourceTextRead` on follow `sourceLines`, and SplitTagsIntoLines reads
    // them there, without a string of each.
    std::string sourceText = {};
    std::size_t sourceTextRead = 0;
};

}  // namespace zavio
