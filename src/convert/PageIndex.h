// The pages of a run as the contents writers look them up: by file name, and
// by how many byte pairs of a contents entry's name occur in a page title.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "framework/TextFile.h"

namespace zavio {

// Built from copies of the page lists, so it answers for the lists as they
// were when it was built and never reads past what it holds. For every byte
// pair it keeps the pages in whose title the pair begins on a character
// boundary (the only places a multibyte-aware search can match it): a pair
// of few pages as their numbers, a pair of many (one page in 64 or more) as
// a bitset over all pages. Scoring a title then costs the pages its rare
// probes meet, plus a pass over the bitsets of its common probes that
// counts 64 pages a word. A title some page bears itself (the usual entry
// whose topic was renamed) mostly needs no count: only the pages up to that
// page that hold every probe it holds.
class PageIndex {
public:
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    PageIndex() = default;
    // Lists of unequal length (never made by the conversion) count for the shorter one.
    PageIndex(const LineList& titles, const LineList& files);
    // The file-name map points into the index's own lists.
    PageIndex(const PageIndex&) = delete;
    PageIndex& operator=(const PageIndex&) = delete;
    PageIndex(PageIndex&&) = default;
    PageIndex& operator=(PageIndex&&) = default;

    // Exact stage: the first page whose file name is the topic.
    std::size_t FindFile(const std::string& topic) const;
    // Similarity stage: each byte pair of the title but the last is a probe;
    // a page scores the share of probes found in its title (0 to 100), and
    // the first of the best pages wins, never one that scores 0.
    std::size_t FindSimilar(std::string_view title, int& bestScore);

    const std::string& Title(std::size_t page) const { return m_titles[page]; }
    const std::string& File(std::size_t page) const { return m_files[page]; }

private:
    struct CommonProbe {
        const std::uint64_t* pages;
        std::uint64_t times;
    };

    void BuildPairPostings();
    std::size_t FindSimilarAmongRare(std::size_t probeCount, int& bestScore);
    // The first page up to `last` (which must be one) holding every probe.
    std::size_t FirstHoldingEvery(std::size_t last, std::uint64_t rareReachable) const;
    // The probes `page` holds, once the rare ones are counted.
    std::uint64_t CountOf(std::size_t page) const;
    std::size_t FindSimilarByBitsets(std::size_t probeCount, std::uint64_t reachable, std::uint64_t rareReachable,
                                     int& bestScore);
    void ClearRareCounts();

    LineList m_titles;
    LineList m_files;
    std::size_t m_count = 0;
    std::unordered_map<std::string_view, std::size_t> m_firstByFile;
    std::unordered_map<std::string_view, std::size_t> m_firstByTitle;
    // The pairs that occur, ascending. A rare pair m_pairs[i] has the pages
    // m_postings[m_pairStart[i]] up to m_postings[m_pairStart[i + 1]],
    // ascending; a common one none there but the bitset m_bitsetOf[i]: its
    // m_words words from m_bitsets[m_bitsetOf[i] * m_words], bit p % 64 of
    // word p / 64 set for page p.
    std::vector<std::uint16_t> m_pairs;
    std::vector<std::uint32_t> m_pairStart;
    std::vector<std::uint32_t> m_postings;
    std::vector<std::uint32_t> m_bitsetOf;
    std::vector<std::uint64_t> m_bitsets;
    std::size_t m_words = 0;
    // Scratch space of FindSimilar, kept to spare an allocation per entry:
    // what the rare probes count for each page they meet, and those pages
    // as numbers and as bits.
    std::vector<std::uint32_t> m_pairCounts;
    std::vector<std::uint32_t> m_touched;
    std::vector<std::uint64_t> m_touchedBits;
    std::vector<std::uint16_t> m_probes;
    // The title's common probes: each pair's bitset and how often it is probed.
    std::vector<CommonProbe> m_common;
};

// A run's page lists as they are expected to end, indexed beforehand.
struct IndexedPageLists {
    LineList titles;
    LineList files;
    PageIndex index;
};

}  // namespace zavio
