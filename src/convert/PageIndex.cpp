#include "convert/PageIndex.h"

#include <algorithm>
#include <array>
#include <bit>

#include "framework/Cp932.h"

namespace zavio {
namespace {

std::uint16_t PairAt(std::string_view s, std::size_t p)
{
    return static_cast<std::uint16_t>((static_cast<unsigned char>(s[p]) << 8) | static_cast<unsigned char>(s[p + 1]));
}

constexpr std::uint32_t kRarePair = static_cast<std::uint32_t>(-1);
// A pair goes into a bitset once it is in one title of 64: a pass over its
// bits then costs less than adding its pages one by one, and the bitset
// takes at most twice the room of its page numbers.
constexpr std::size_t kCommonShare = 64;
// Pages are counted 1,024 at a time: two cache lines of every bitset.
constexpr std::size_t kBlockWords = 16;
using Block = std::array<std::uint64_t, kBlockWords>;

// The counts of a block of pages, bit-sliced: level k holds bit k of every
// page's count. An input joins its level through a carry-save adder: each
// level keeps its bits and at most one input waiting for a second, so an
// input costs about one full adder however many levels the counts have.
class SlicedCounts {
public:
    // Every count of the block stays below 2 ^ levels.
    void Reset(std::size_t levels)
    {
        m_levels = levels;
        std::fill_n(m_state.begin(), levels, kEmpty);
    }

    // Adds 2 ^ level to the count of every page whose bit x holds.
    void Add(std::size_t level, Block x)
    {
        for (; level < m_levels; ++level) {
            if (m_state[level] == kEmpty) {
                m_sum[level] = x;
                m_state[level] = kSum;
                return;
            }
            if (m_state[level] == kSum) {
                m_waiting[level] = x;
                m_state[level] = kSumAndWaiting;
                return;
            }
            Block& sum = m_sum[level];
            const Block& waiting = m_waiting[level];
            for (std::size_t i = 0; i < kBlockWords; ++i) {
                const std::uint64_t odd = sum[i] ^ waiting[i];
                const std::uint64_t carry = (sum[i] & waiting[i]) | (odd & x[i]);
                sum[i] = odd ^ x[i];
                x[i] = carry;
            }
            m_state[level] = kSum;
        }
        // A carry past the top level is empty: no count reaches 2 ^ levels.
    }

    // Adds the inputs still waiting, so that level k is bit k of the counts.
    void Finish()
    {
        for (std::size_t level = 0; level < m_levels; ++level) {
            if (m_state[level] == kEmpty) m_sum[level] = Block{};
            if (m_state[level] != kSumAndWaiting) continue;
            Block carry;
            for (std::size_t i = 0; i < kBlockWords; ++i) {
                carry[i] = m_sum[level][i] & m_waiting[level][i];
                m_sum[level][i] ^= m_waiting[level][i];
            }
            m_state[level] = kSum;
            Add(level + 1, carry);
        }
    }

    // The pages whose count is `count` or more; false when there are none.
    bool AtLeast(std::uint64_t count, Block& pages) const
    {
        if (m_levels < 64 && count >> m_levels != 0) return false;
        std::uint64_t any = 0;
        for (std::size_t i = 0; i < kBlockWords; ++i) {
            std::uint64_t greater = 0, equal = ~std::uint64_t{0};
            for (std::size_t level = m_levels; level-- > 0;) {
                if ((count >> level) & 1)
                    equal &= m_sum[level][i];
                else
                    greater |= equal & m_sum[level][i];
            }
            pages[i] = greater | equal;
            any |= pages[i];
        }
        return any != 0;
    }

    // The highest count of the block, a level at a time from the top.
    std::uint64_t Max() const
    {
        Block candidates;
        candidates.fill(~std::uint64_t{0});
        std::uint64_t max = 0;
        for (std::size_t level = m_levels; level-- > 0;) {
            Block kept;
            std::uint64_t any = 0;
            for (std::size_t i = 0; i < kBlockWords; ++i) any |= kept[i] = candidates[i] & m_sum[level][i];
            if (any == 0) continue;
            candidates = kept;
            max |= std::uint64_t{1} << level;
        }
        return max;
    }

private:
    enum State : std::uint8_t { kEmpty, kSum, kSumAndWaiting };

    std::size_t m_levels = 0;
    std::array<State, 64> m_state{};
    std::array<Block, 64> m_sum;
    std::array<Block, 64> m_waiting;
};

std::size_t FirstPage(const Block& pages)
{
    for (std::size_t i = 0; i < kBlockWords; ++i)
        if (pages[i] != 0) return i * 64 + static_cast<std::size_t>(std::countr_zero(pages[i]));
    return kBlockWords * 64;
}

}  // namespace

PageIndex::PageIndex(const LineList& titles, const LineList& files)
    : m_titles(titles), m_files(files), m_count(std::min(titles.size(), files.size()))
{
    m_firstByFile.reserve(m_count);
    m_firstByTitle.reserve(m_count);
    for (std::size_t i = 0; i < m_count; ++i) {
        m_firstByFile.try_emplace(m_files[i], i);
        m_firstByTitle.try_emplace(m_titles[i], i);
    }
    BuildPairPostings();
    m_pairCounts.assign(m_count, 0);
    m_touchedBits.assign(m_words, 0);
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
    m_bitsetOf.clear();
    constexpr std::size_t kBlockPages = kBlockWords * 64;
    m_words = (m_count + kBlockPages - 1) / kBlockPages * kBlockWords;
    std::size_t bitsets = 0;
    for (std::size_t begin = 0, end = 0; begin < entries.size(); begin = end) {
        while (end < entries.size() && entries[end].pair == entries[begin].pair) ++end;
        if ((end - begin) * kCommonShare >= m_count) ++bitsets;
    }
    m_bitsets.assign(bitsets * m_words, 0);
    bitsets = 0;
    for (std::size_t begin = 0, end = 0; begin < entries.size(); begin = end) {
        while (end < entries.size() && entries[end].pair == entries[begin].pair) ++end;
        m_pairs.push_back(entries[begin].pair);
        m_pairStart.push_back(static_cast<std::uint32_t>(m_postings.size()));
        if ((end - begin) * kCommonShare < m_count) {
            m_bitsetOf.push_back(kRarePair);
            for (std::size_t k = begin; k < end; ++k) m_postings.push_back(entries[k].page);
            continue;
        }
        m_bitsetOf.push_back(static_cast<std::uint32_t>(bitsets));
        std::uint64_t* bits = &m_bitsets[bitsets++ * m_words];
        for (std::size_t k = begin; k < end; ++k)
            bits[entries[k].page / 64] |= std::uint64_t{1} << (entries[k].page % 64);
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

    // Rare probes count into m_pairCounts now; common ones are counted by
    // their bitsets, a block of pages at a time.
    m_common.clear();
    m_touched.clear();
    std::uint64_t reachable = 0, rareReachable = 0;
    for (std::size_t k = 0; k < m_probes.size();) {
        const std::uint16_t pair = m_probes[k];
        std::size_t same = k;
        while (same < m_probes.size() && m_probes[same] == pair) ++same;
        const auto times = static_cast<std::uint32_t>(same - k);
        k = same;
        auto found = std::lower_bound(m_pairs.begin(), m_pairs.end(), pair);
        if (found == m_pairs.end() || *found != pair) continue;
        const auto index = static_cast<std::size_t>(found - m_pairs.begin());
        reachable += times;
        if (m_bitsetOf[index] != kRarePair) {
            m_common.push_back({&m_bitsets[m_bitsetOf[index] * m_words], times});
            continue;
        }
        rareReachable += times;
        for (std::uint32_t at = m_pairStart[index]; at < m_pairStart[index + 1]; ++at) {
            const std::uint32_t page = m_postings[at];
            if (m_pairCounts[page] == 0) {
                m_touched.push_back(page);
                m_touchedBits[page / 64] |= std::uint64_t{1} << (page % 64);
            }
            m_pairCounts[page] += times;
        }
    }

    std::size_t best = npos;
    if (m_common.empty()) {
        best = FindSimilarAmongRare(probeCount, bestScore);
    } else if (auto same = m_firstByTitle.find(title);
               same != m_firstByTitle.end() && CountOf(same->second) == reachable &&
               (reachable * 100 / probeCount) * probeCount > (reachable - 1) * 100) {
        // A page of this very title that holds every probe any page holds
        // scores the most, and no fewer probes score as much: the first page
        // that holds them all wins, and none lies after that page.
        best = FirstHoldingEvery(same->second, rareReachable);
        bestScore = static_cast<int>(reachable * 100 / probeCount);
    } else {
        best = FindSimilarByBitsets(probeCount, reachable, rareReachable, bestScore);
    }
    ClearRareCounts();
    return best;
}

std::uint64_t PageIndex::CountOf(std::size_t page) const
{
    std::uint64_t count = m_pairCounts[page];
    for (const CommonProbe& probe : m_common)
        if ((probe.pages[page / 64] >> (page % 64)) & 1) count += probe.times;
    return count;
}

std::size_t PageIndex::FirstHoldingEvery(std::size_t last, std::uint64_t rareReachable) const
{
    for (std::size_t word = 0; word <= last / 64; ++word) {
        std::uint64_t pages = rareReachable == 0 ? ~std::uint64_t{0} : m_touchedBits[word];
        for (const CommonProbe& probe : m_common) {
            if (pages == 0) break;
            pages &= probe.pages[word];
        }
        for (; pages != 0; pages &= pages - 1) {
            const std::size_t page = word * 64 + static_cast<std::size_t>(std::countr_zero(pages));
            if (m_pairCounts[page] == rareReachable) return page;
        }
    }
    return last;
}

std::size_t PageIndex::FindSimilarAmongRare(std::size_t probeCount, int& bestScore)
{
    std::size_t best = npos;
    for (std::uint32_t page : m_touched) {
        const auto score = static_cast<std::uint16_t>(std::uint64_t{m_pairCounts[page]} * 100 / probeCount);
        if (score > bestScore || (score == bestScore && score > 0 && page < best)) {
            bestScore = score;
            best = page;
        }
    }
    return best;
}

// Blocks are met in page order, so the first block that holds a higher score
// than the blocks before holds the first page of that score: a later block
// must score higher still to win.
std::size_t PageIndex::FindSimilarByBitsets(std::size_t probeCount, std::uint64_t reachable,
                                            std::uint64_t rareReachable, int& bestScore)
{
    // The smallest count that scores `score`; distinct counts may share a
    // score when there are more than 100 probes.
    const auto countFor = [probeCount](std::uint64_t score) { return (score * probeCount + 99) / 100; };
    const std::uint64_t topScore = reachable * 100 / probeCount;
    const auto levels = static_cast<std::size_t>(std::bit_width(reachable));
    const auto rareLevels = static_cast<std::size_t>(std::bit_width(rareReachable));
    SlicedCounts counts;
    std::array<Block, 64> rare;
    std::uint64_t needed = countFor(1);
    std::size_t best = npos;
    for (std::size_t word = 0; word < m_words; word += kBlockWords) {
        counts.Reset(levels);
        for (const CommonProbe& probe : m_common) {
            Block pages;
            std::copy_n(probe.pages + word, kBlockWords, pages.begin());
            for (std::size_t level = 0; probe.times >> level != 0; ++level)
                if ((probe.times >> level) & 1) counts.Add(level, pages);
        }
        // The rare probes' counts of the block's pages, bit-sliced.
        std::uint64_t touched = 0;
        for (std::size_t i = 0; i < kBlockWords; ++i) touched |= m_touchedBits[word + i];
        if (touched != 0) {
            std::fill_n(rare.begin(), rareLevels, Block{});
            for (std::size_t i = 0; i < kBlockWords; ++i) {
                for (std::uint64_t bits = m_touchedBits[word + i]; bits != 0; bits &= bits - 1) {
                    const std::uint64_t bit = bits & -bits;
                    const std::uint32_t count = m_pairCounts[(word + i) * 64 + std::countr_zero(bits)];
                    for (std::size_t level = 0; count >> level != 0; ++level)
                        if ((count >> level) & 1) rare[level][i] |= bit;
                }
            }
            for (std::size_t level = 0; level < rareLevels; ++level) counts.Add(level, rare[level]);
        }
        counts.Finish();

        Block pages;
        if (!counts.AtLeast(needed, pages)) continue;
        bestScore = static_cast<int>(counts.Max() * 100 / probeCount);
        counts.AtLeast(countFor(static_cast<std::uint64_t>(bestScore)), pages);
        best = word * 64 + FirstPage(pages);
        // No page scores more than all the probes any page holds.
        if (static_cast<std::uint64_t>(bestScore) == topScore) break;
        needed = countFor(static_cast<std::uint64_t>(bestScore) + 1);
    }
    return best;
}

void PageIndex::ClearRareCounts()
{
    for (std::uint32_t page : m_touched) {
        m_pairCounts[page] = 0;
        m_touchedBits[page / 64] = 0;
    }
}

}  // namespace zavio
