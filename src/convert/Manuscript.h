// What the pipeline works on: a source of the run as the front end names it,
// and a manuscript's lines, which carry where the source broke them and the
// marks the clean-up leaves at lines (keywords, links, places a jump may
// reach), so that every stage that removes, inserts or moves lines keeps all
// three in step.
#pragma once

#include <cstddef>
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

// Lines of a manuscript or a page: one tag run or text run per line once
// split, with the positions between them where the source broke a line
// (SourceLineBreaks) and the marks, each at its line.
class ManuscriptLines {
public:
    std::size_t size() const { return m_lines.size(); }
    bool empty() const { return m_lines.empty(); }
    const std::string& operator[](std::size_t i) const { return m_lines[i]; }
    // A line's text may change; lines come and go only through the members.
    std::string& operator[](std::size_t i) { return m_lines[i]; }
    const LineList& Lines() const { return m_lines; }
    const SourceLineBreaks& Breaks() const { return m_breaks; }
    // In line order; of one line, in the order they were added.
    const std::vector<LineMark>& Marks() const { return m_marks; }

    void Reserve(std::size_t lines) { m_lines.reserve(lines); }
    // Made in place: a short line's bytes are copied once.
    void Append(std::string_view line) { m_lines.emplace_back(line); }
    // The source broke a line after the lines appended so far.
    void MarkSourceBreak() { m_breaks.Add(m_lines.size()); }
    // Marks at their lines, in line order among themselves; they join those
    // already there.
    void AddMarks(std::vector<LineMark> marks);

    void InsertLine(std::size_t at, std::string line);
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
    void MoveTailBehind(ManuscriptLines& to, std::size_t first, std::size_t dropped, std::string front);
    // Lines [first, end) move in front of the lines of `to`.
    void MoveTailToFront(ManuscriptLines& to, std::size_t first);

private:
    // Lines [first + dropped, end) go to the end of `to`, the dropped ones
    // before them are erased; what stood at or among these lands on the
    // first line moved.
    void MoveLinesTo(ManuscriptLines& to, std::size_t first, std::size_t dropped);

    LineList m_lines;
    SourceLineBreaks m_breaks;
    std::vector<LineMark> m_marks;  // ascending lines
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
