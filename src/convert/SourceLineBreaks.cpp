#include "convert/SourceLineBreaks.h"

#include <algorithm>
#include <iterator>

namespace zavio {

void SourceLineBreaks::Add(std::size_t position)
{
    if (m_positions.empty() || m_positions.back() < position)
        m_positions.push_back(static_cast<std::uint32_t>(position));
}

bool SourceLineBreaks::Between(std::size_t before, std::size_t after) const
{
    auto next = std::upper_bound(m_positions.begin(), m_positions.end(), before);
    return next != m_positions.end() && *next <= after;
}

void SourceLineBreaks::RemoveLines(std::size_t first, std::size_t last)
{
    if (last <= first) return;
    const std::size_t count = last - first;
    for (std::uint32_t& p : m_positions) {
        if (p > last)
            p -= static_cast<std::uint32_t>(count);
        else if (p > first)
            p = static_cast<std::uint32_t>(first);
    }
    m_positions.erase(std::unique(m_positions.begin(), m_positions.end()), m_positions.end());
}

void SourceLineBreaks::RemoveLines(const std::vector<std::size_t>& removed)
{
    if (removed.empty()) return;
    // A position moves back by the removed lines that stood before it.
    std::size_t before = 0;
    for (std::uint32_t& p : m_positions) {
        while (before < removed.size() && removed[before] < p) ++before;
        p -= static_cast<std::uint32_t>(before);
    }
    m_positions.erase(std::unique(m_positions.begin(), m_positions.end()), m_positions.end());
}

void SourceLineBreaks::InsertLines(std::size_t at, std::size_t count)
{
    for (auto p = std::lower_bound(m_positions.begin(), m_positions.end(), at); p != m_positions.end(); ++p)
        *p += static_cast<std::uint32_t>(count);
}

void SourceLineBreaks::MoveTo(SourceLineBreaks& other, std::size_t first, std::size_t to, std::size_t dropped)
{
    auto from = std::lower_bound(m_positions.begin(), m_positions.end(), first);
    for (auto p = from; p != m_positions.end(); ++p) {
        const std::size_t offset = *p - first;
        other.Add(offset <= dropped ? to : offset - dropped + to);
    }
    m_positions.erase(from, m_positions.end());
}

SourceLineBreaks SourceLineBreaks::From(std::size_t first) const
{
    SourceLineBreaks from;
    for (auto p = std::lower_bound(m_positions.begin(), m_positions.end(), first); p != m_positions.end(); ++p)
        from.m_positions.push_back(static_cast<std::uint32_t>(*p - first));
    return from;
}

void SourceLineBreaks::PrependLines(const SourceLineBreaks& front, std::size_t count)
{
    InsertLines(0, count);
    std::vector<std::uint32_t> joined;
    joined.reserve(front.m_positions.size() + m_positions.size());
    for (std::uint32_t p : front.m_positions)
        if (p < count) joined.push_back(p);
    joined.insert(joined.end(), m_positions.begin(), m_positions.end());
    m_positions = std::move(joined);
}

}  // namespace zavio
