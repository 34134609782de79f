#include "convert/PageIndex.h"

#include <algorithm>
#include <array>

#include "framework/Cp932.h"

namespace zavio {
namespace {

std::uint16_t PairAt(std::string_view s, std::size_t p)
{
    return static_cast<std::uint16_t>((static_cast<unsigned char>(s[p]) << 8) | static_cast<unsigned char>(s[p + 1]));
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
    // Every distinct pair that begins on a character boundary of a title,
    // with its page, in page order.
    struct Entry {
        std::uint16_t pair;
        std::uint32_t page;
    };
    std::vector<Entry> entries;
    std::vector<std::uint16_t> pairs;
    for (std::size_t page = 0; page < m_count; ++page) {
        const std::string& t = m_titles[page];
        pairs.clear();
        for (std::size_t q = 0; q + 1 < t.size(); q += CharLength(t, q)) pairs.push_back(PairAt(t, q));
        std::sort(pairs.begin(), pairs.end());
        pairs.erase(std::unique(pairs.begin(), pairs.end()), pairs.end());
        for (std::uint16_t pair : pairs) entries.push_back({pair, static_cast<std::uint32_t>(page)});
    }
    // Sorted by pair, a byte at a time from the low one: each pass keeps
    // the order of equal bytes, so the pages of a pair stay ascending. Two
    // passes over the entries cost less than comparing them.
    std::vector<Entry> sorted(entries.size());
    for (const int shift : {0, 8}) {
        std::array<std::uint32_t, 257> start{};
        for (const Entry& e : entries) ++start[((e.pair >> shift) & 0xFF) + 1];
        for (std::size_t b = 1; b < start.size(); ++b) start[b] += start[b - 1];
        for (const Entry& e : entries) sorted[start[(e.pair >> shift) & 0xFF]++] = e;
        entries.swap(sorted);
    }

    m_pairs.clear();
    m_pairStart.clear();
    m_postings.clear();
    m_postings.reserve(entries.size());
    for (const Entry& entry : entries) {
        if (m_pairs.empty() || m_pairs.back() != entry.pair) {
            m_pairs.push_back(entry.pair);
            m_pairStart.push_back(static_cast<std::uint32_t>(m_postings.size()));
        }
        m_postings.push_back(entry.page);
    }
    m_pairStart.push_back(static_cast<std::uint32_t>(m_postings.size()));
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
        k = same;
        auto found = std::lower_bound(m_pairs.begin(), m_pairs.end(), pair);
        if (found == m_pairs.end() || *found != pair) continue;
        const auto index = static_cast<std::size_t>(found - m_pairs.begin());
        for (std::uint32_t at = m_pairStart[index]; at < m_pairStart[index + 1]; ++at) {
            const std::uint32_t page = m_postings[at];
            if (m_pairCounts[page] == 0) m_touched.push_back(page);
            m_pairCounts[page] += times;
        }
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
