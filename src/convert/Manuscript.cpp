#include "convert/Manuscript.h"

#include <algorithm>
#include <functional>
#include <iterator>

namespace zavio {
namespace {

std::vector<LineMark>::iterator FirstMarkFrom(std::vector<LineMark>& marks, std::size_t line)
{
    return std::lower_bound(marks.begin(), marks.end(), line,
                            [](const LineMark& mark, std::size_t at) { return mark.line < at; });
}

// Made lines are copied into blocks of this size; a longer one gets its own.
constexpr std::size_t kTextBlock = 64 * 1024;

}  // namespace

std::string_view LineTexts::Hold(std::string text)
{
    m_text = std::move(text);
    return m_text;
}

bool LineTexts::Holds(std::string_view line) const
{
    const std::less<const char*> before;
    const char* const start = m_text.data();
    return !before(line.data(), start) && !before(start + m_text.size(), line.data() + line.size());
}

std::string_view LineTexts::Copy(std::string_view line)
{
    if (line.empty()) return {};
    if (line.size() > m_room) {
        const std::size_t size = std::max(line.size(), kTextBlock);
        m_blocks.push_back(std::make_unique_for_overwrite<char[]>(size));
        // A long line takes a block of its own; the last block keeps its room.
        if (size > kTextBlock) {
            std::copy(line.begin(), line.end(), m_blocks.back().get());
            return {m_blocks.back().get(), line.size()};
        }
        m_free = m_blocks.back().get();
        m_room = size;
    }
    char* const at = m_free;
    std::copy(line.begin(), line.end(), at);
    m_free += line.size();
    m_room -= line.size();
    return {at, line.size()};
}

std::string_view ManuscriptLines::HoldText(std::string text)
{
    // Texts already held stay, for the lines that view them.
    m_texts.insert(m_texts.begin(), std::make_shared<LineTexts>());
    return m_texts.front()->Hold(std::move(text));
}

std::string_view ManuscriptLines::Keep(std::string_view line)
{
    if (line.empty()) return {};
    if (m_texts.empty()) m_texts.push_back(std::make_shared<LineTexts>());
    LineTexts& own = *m_texts.front();
    return own.Holds(line) ? line : own.Copy(line);
}

void ManuscriptLines::ShareTextsWith(ManuscriptLines& to) const
{
    for (const std::shared_ptr<LineTexts>& texts : m_texts)
        if (std::find(to.m_texts.begin(), to.m_texts.end(), texts) == to.m_texts.end()) {
            // `to`'s own texts stay first: its made lines go there.
            if (to.m_texts.empty()) to.m_texts.push_back(std::make_shared<LineTexts>());
            to.m_texts.push_back(texts);
        }
}

void ManuscriptLines::AddMarks(std::vector<LineMark> marks)
{
    const auto middle = static_cast<std::ptrdiff_t>(m_marks.size());
    m_marks.insert(m_marks.end(), std::make_move_iterator(marks.begin()), std::make_move_iterator(marks.end()));
    std::inplace_merge(m_marks.begin(), m_marks.begin() + middle, m_marks.end(),
                       [](const LineMark& a, const LineMark& b) { return a.line < b.line; });
}

void ManuscriptLines::InsertLine(std::size_t at, std::string_view line)
{
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(at), Keep(line));
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
        if (kept != i) m_lines[kept] = m_lines[i];
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

void ManuscriptLines::MoveTailBehind(ManuscriptLines& to, std::size_t first, std::size_t dropped,
                                     std::string_view front)
{
    const std::size_t at = to.m_lines.size();
    to.m_lines.reserve(at + 1 + (m_lines.size() - first - dropped));
    to.m_lines.push_back(to.Keep(front));
    // What stood where `to` ended now follows `front`.
    to.m_breaks.InsertLines(at, 1);
    for (auto mark = FirstMarkFrom(to.m_marks, at); mark != to.m_marks.end(); ++mark) ++mark->line;
    MoveLinesTo(to, first, dropped);
}

void ManuscriptLines::MoveLinesTo(ManuscriptLines& to, std::size_t first, std::size_t dropped)
{
    const std::size_t at = to.m_lines.size();
    const std::size_t kept = first + dropped;
    ShareTextsWith(to);
    // One block: the page keeps its order, with room for a line in front.
    to.m_lines.reserve(at + (m_lines.size() - kept) + 1);
    to.m_lines.insert(to.m_lines.end(), m_lines.begin() + static_cast<std::ptrdiff_t>(kept), m_lines.end());
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
    ShareTextsWith(to);
    to.m_lines.insert(to.m_lines.begin(), from, m_lines.end());
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
