// Where the manuscript's source broke a line outside a tag. Word wraps text
// at a blank and the line break takes the blank's place, also right beside a
// tag ("ツール<span lang=EN-US>" and "</span>バー" on the next line); once the
// body stands one tag run or text run per line, only this record still says
// where those blanks were. The page title reads it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zavio {

// A break is kept as a position between output lines: position p lies between
// line p - 1 and line p. The stages that remove, insert or move output lines
// keep the positions in step; a position out of step only costs a blank in a
// title, never more.
class SourceLineBreaks {
public:
    // A break after the lines emitted so far; positions come in ascending order.
    void Add(std::size_t position);
    // Whether the source broke a line between line `before` and line `after`
    // (before < after): after the one and not after the start of the other.
    bool Between(std::size_t before, std::size_t after) const;

    // Lines [first, last) were removed; the breaks around them meet.
    void RemoveLines(std::size_t first, std::size_t last);
    // Lines at the given ascending indexes were removed.
    void RemoveLines(const std::vector<std::size_t>& removed);
    // `count` lines were inserted before line `at`.
    void InsertLines(std::size_t at, std::size_t count);
    // The lines from `first` on moved to the end of another list, where
    // `first` became line `to`: their breaks go with them. With `dropped`, the
    // lines [first, first + dropped) were erased instead and line
    // `first + dropped` became line `to`; the breaks among them meet there.
    void MoveTo(SourceLineBreaks& other, std::size_t first, std::size_t to, std::size_t dropped = 0);
    // The breaks from line `first` on, counted from there.
    SourceLineBreaks From(std::size_t first) const;
    // `count` lines whose breaks are `front` were put before these lines.
    void PrependLines(const SourceLineBreaks& front, std::size_t count);

    bool empty() const { return m_positions.empty(); }
    // The lines the source broke before, ascending: for a walk over every line.
    const std::vector<std::uint32_t>& Positions() const { return m_positions; }

private:
    // Ascending, no repeats. A view's text holds far fewer than 2^32 lines.
    std::vector<std::uint32_t> m_positions;
};

}  // namespace zavio
