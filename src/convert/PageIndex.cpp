#include "convert/PageIndex.h"

#include <algorithm>

#include "framework/Cp932.h"

namespace zavio {
namespace {

std::uint16_t PairAt(std::string_view s, std::size_t p)
{
    return static_cast<std::uint16_t>((static_cast<unsigned char>(s[p]) << 8) | static_cast<unsigned char>(s[p + 1]));
}

// Calls visit(page, pair) once for every distinct pair that begins on a
// character boundary of the page's title.
template <typename Visit>
void ForEachTitlePair(const LineList& titles, std::size_t count, Visit visit)
{
    std::vector<std::uint32_t> lastPage(65536, 0);
    for (std::size_t page = 0; page < count; ++page) {
        const std::string& t = titles[page];
        for (std::size_t q = 0; q + 1 < t.size(); q += CharLength(t, q)) {
            const std::uint16_t pair = PairAt(t, q);
            if (lastPage[pair] == page + 1) continue;
            lastPage[pair] = static_cast<std::uint32_t>(page + 1);
            visit(static_cast<std::uint32_t>(page), pair);
        }
    }
}

}  // namespace

PageIndex::PageIndex(const LineList& titles, const LineList& files)
    : m_titles(titles), m_files(files), m_count(std::min(titles.size(), files.size()))
{
    m_firstByFile.reserve(m_count);
    for (std::size_t i = 0; i < m_count; ++i) m_firstByFile.try_emplace(m_files[i], i);
    BuildPairPostings();
    m_pairCounts.assign(m_count, 0);
}

void PageIndex::BuildPairPostings()
{
    m_pairStart.assign(65537, 0);
    ForEachTitlePair(m_titles, m_count, [&](std::uint32_t, std::uint16_t pair) { ++m_pairStart[pair + 1]; });
    for (std::size_t k = 1; k < m_pairStart.size(); ++k) m_pairStart[k] += m_pairStart[k - 1];
    m_postings.assign(m_pairStart.back(), 0);
    std::vector<std::uint32_t> next(m_pairStart.begin(), m_pairStart.end() - 1);
    // Pages are visited in order, so each posting list is in page order.
    ForEachTitlePair(m_titles, m_count,
                     [&](std::uint32_t page, std::uint16_t pair) { m_postings[next[pair]++] = page; });
}

std::size_t PageIndex::FindFile(const std::string& topic) const
{
    auto it = m_firstByFile.find(topic);
    return it == m_firstByFile.end() ? npos : it->second;
}

std::size_t PageIndex::FindSimilar(std::string_view title, int& bestScore)
{
    bestScore = 0;
    if (title.size() < 3 || m_count == 0) return npos;
    const std::size_t probeCount = title.size() - 2;
    m_probes.clear();
    for (std::size_t p = 0; p < probeCount; ++p) m_probes.push_back(PairAt(title, p));
    std::sort(m_probes.begin(), m_probes.end());

    m_touched.clear();
    for (std::size_t k = 0; k < m_probes.size();) {
        const std::uint16_t pair = m_probes[k];
        std::size_t same = k;
        while (same < m_probes.size() && m_probes[same] == pair) ++same;
        const auto times = static_cast<std::uint32_t>(same - k);
        for (std::uint32_t at = m_pairStart[pair]; at < m_pairStart[pair + 1]; ++at) {
            const std::uint32_t page = m_postings[at];
            if (m_pairCounts[page] == 0) m_touched.push_back(page);
            m_pairCounts[page] += times;
        }
        k = same;
    }

    std::size_t best = npos;
    for (std::uint32_t page : m_touched) {
        const auto score = static_cast<std::uint16_t>(std::uint64_t{m_pairCounts[page]} * 100 / probeCount);
        if (score > bestScore || (score == bestScore && score > 0 && page < best)) {
            bestScore = score;
            best = page;
        }
        m_pairCounts[page] = 0;
    }
    return best;
}

}  // namespace zavio
