#include "convert/Manuscript.h"

#include <algorithm>
#include <iterator>

namespace zavio {
namespace {

std::vector<LineMark>::iterator FirstMarkFrom(std::vector<LineMark>& marks, std::size_t line)
{
    return std::lower_bound(marks.begin(), marks.end(), line,
                            [](const LineMark& mark, std::size_t at) { return mark.line < at; });
}

}  // namespace

void ManuscriptLines::AddMarks(std::vector<LineMark> marks)
{
    const auto middle = static_cast<std::ptrdiff_t>(m_marks.size());
    m_marks.insert(m_marks.end(), std::make_move_iterator(marks.begin()), std::make_move_iterator(marks.end()));
    std::inplace_merge(m_marks.begin(), m_marks.begin() + middle, m_marks.end(),
                       [](const LineMark& a, const LineMark& b) { return a.line < b.line; });
}

void ManuscriptLines::InsertLine(std::size_t at, std::string line)
{
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
    m_breaks.InsertLines(at, 1);
    for (auto mark = FirstMarkFrom(m_marks, at); mark != m_marks.end(); ++mark) ++mark->line;
}

void ManuscriptLines::EraseLines(std::size_t first, std::size_t last)
{
    if (last <= first) return;
    m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(first),
                  m_lines.begin() + static_cast<std::ptrdiff_t>(last));
    m_breaks.RemoveLines(first, last);
    for (auto mark = FirstMarkFrom(m_marks, first); mark != m_marks.end(); ++mark)
        mark->line = mark->line >= last ? mark->line - (last - first) : first;
}

void ManuscriptLines::EraseLines(const std::vector<std::size_t>& ascending)
{
    if (ascending.empty()) return;
    std::size_t kept = 0;
    auto removed = ascending.begin();
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        if (removed != ascending.end() && *removed == i) {
            ++removed;
            continue;
        }
        if (kept != i) m_lines[kept] = std::move(m_lines[i]);
        ++kept;
    }
    m_lines.resize(kept);
    m_breaks.RemoveLines(ascending);
    // A mark moves back by the removed lines before it; one on a removed
    // line lands on the line after.
    std::size_t before = 0;
    for (LineMark& mark : m_marks) {
        while (before < ascending.size() && ascending[before] < mark.line) ++before;
        mark.line -= before;
    }
}

void ManuscriptLines::MoveTailTo(ManuscriptLines& to, std::size_t first)
{
    MoveLinesTo(to, first, 0);
}

void ManuscriptLines::MoveTailBehind(ManuscriptLines& to, std::size_t first, std::size_t dropped, std::string front)
{
    const std::size_t at = to.m_lines.size();
    to.m_lines.reserve(at + 1 + (m_lines.size() - first - dropped));
    to.m_lines.push_back(std::move(front));
    // What stood where `to` ended now follows `front`.
    to.m_breaks.InsertLines(at, 1);
    for (auto mark = FirstMarkFrom(to.m_marks, at); mark != to.m_marks.end(); ++mark) ++mark->line;
    MoveLinesTo(to, first, dropped);
}

void ManuscriptLines::MoveLinesTo(ManuscriptLines& to, std::size_t first, std::size_t dropped)
{
    const std::size_t at = to.m_lines.size();
    const std::size_t kept = first + dropped;
    // One block: the page keeps its order, with room for a line in front.
    to.m_lines.reserve(at + (m_lines.size() - kept) + 1);
    to.m_lines.insert(to.m_lines.end(), std::make_move_iterator(m_lines.begin() + static_cast<std::ptrdiff_t>(kept)),
                      std::make_move_iterator(m_lines.end()));
    m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(first), m_lines.end());
    m_breaks.MoveTo(to.m_breaks, first, at, dropped);
    auto moved = FirstMarkFrom(m_marks, first);
    for (auto mark = moved; mark != m_marks.end(); ++mark) {
        const std::size_t offset = mark->line - first;
        to.m_marks.push_back({offset < dropped ? at : offset - dropped + at, mark->kind, std::move(mark->value)});
    }
    m_marks.erase(moved, m_marks.end());
}

void ManuscriptLines::MoveTailToFront(ManuscriptLines& to, std::size_t first)
{
    const std::size_t count = m_lines.size() - first;
    auto from = m_lines.begin() + static_cast<std::ptrdiff_t>(first);
    to.m_lines.insert(to.m_lines.begin(), std::make_move_iterator(from), std::make_move_iterator(m_lines.end()));
    to.m_breaks.PrependLines(m_breaks.From(first), count);
    for (LineMark& mark : to.m_marks) mark.line += count;
    auto moved = FirstMarkFrom(m_marks, first);
    std::vector<LineMark> front;
    for (auto mark = moved; mark != m_marks.end(); ++mark)
        front.push_back({mark->line - first, mark->kind, std::move(mark->value)});
    to.m_marks.insert(to.m_marks.begin(), std::make_move_iterator(front.begin()), std::make_move_iterator(front.end()));
    m_marks.erase(moved, m_marks.end());
    m_breaks.RemoveLines(first, m_lines.size());
    m_lines.erase(from, m_lines.end());
}

}  // namespace zavio
