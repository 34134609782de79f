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
// boundary (the only places a multibyte-aware search can match it): scoring a
// title then costs the pages its probes actually meet, not every page times
// every probe.
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
    void BuildPairPostings();

    LineList m_titles;
    LineList m_files;
    std::size_t m_count = 0;
    std::unordered_map<std::string_view, std::size_t> m_firstByFile;
    // The pairs that occur, ascending; the pages of m_pairs[i] are
    // m_postings[m_pairStart[i]] up to m_postings[m_pairStart[i + 1]], ascending.
    std::vector<std::uint16_t> m_pairs;
    std::vector<std::uint32_t> m_pairStart;
    std::vector<std::uint32_t> m_postings;
    // Scratch space of FindSimilar, kept to spare an allocation per entry.
    std::vector<std::uint32_t> m_pairCounts;
    std::vector<std::uint32_t> m_touched;
    std::vector<std::uint16_t> m_probes;
};

}  // namespace zavio
