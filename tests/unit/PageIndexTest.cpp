#include <gtest/gtest.h>

#include "convert/PageIndex.h"

namespace zavio::test {
namespace {

// Each case runs on 40 pages, where every pair the pages hold is counted by
// its bitset, and on 3,000, where the placed titles' own pairs are rare and
// the pages span three blocks of the bitset count.
class PageIndexTest : public ::testing::TestWithParam<std::size_t> {
protected:
    // Filler pages titled `filler`, then `placed` titles put at their pages.
    void MakePages(const std::string& filler, const std::vector<std::pair<std::size_t, std::string>>& placed)
    {
        const std::size_t pages = GetParam();
        for (std::size_t i = 0; i < pages; ++i) {
            m_titles.push_back(filler);
            m_files.push_back("p" + std::to_string(i));
        }
        for (const auto& [page, title] : placed) m_titles[page] = title;
        m_index = PageIndex(m_titles, m_files);
    }

    LineList m_titles, m_files;
    PageIndex m_index;
};

// "abcdef" probes ab, bc, cd and de: the fillers score 25, "abcd" 75, and
// "abcde" 100 three times, twice in one block and once in the last.
TEST_P(PageIndexTest, FirstOfTheBestPagesWins)
{
    const std::size_t n = GetParam();
    MakePages("ab", {{n / 3, "abcd"}, {n / 2, "abcde"}, {n / 2 + 1, "abcde"}, {n - 1, "abcdef"}});
    int score = -1;
    EXPECT_EQ(m_index.FindSimilar("abcdef", score), n / 2);
    EXPECT_EQ(score, 100);
    EXPECT_EQ(m_index.FindSimilar("xbcx", score), n / 3);
    EXPECT_EQ(score, 50);
}

// Distinct double-byte characters whose trail bytes (40-5D) begin no pair a
// page holds, so only whole characters match.
std::string Kanji(int first, int count)
{
    std::string s;
    for (int k = first; k < first + count; ++k)
        s += {static_cast<char>(0x88 + k / 30), static_cast<char>(0x40 + k % 30)};
    return s;
}

// 600 probes: a page of "ab" and the first k of the 300 characters matches
// k + 2 ("ab", "b" and the first lead byte, k characters), and 294 to 299
// matches all score 49: the earlier page wins with fewer. The last page
// holds the two characters the others lack, so that 50 stays reachable and
// every page is looked at. The fillers' one match scores 0, which never wins.
TEST_P(PageIndexTest, CountsSharingAScoreTieByPage)
{
    const std::size_t n = GetParam();
    const std::string title = "ab" + Kanji(0, 300);
    MakePages("ab", {{n / 4, "ab" + Kanji(0, 292)}, {n / 2, "ab" + Kanji(0, 297)}, {n - 1, Kanji(297, 2)}});
    int score = -1;
    EXPECT_EQ(m_index.FindSimilar(title, score), n / 4);
    EXPECT_EQ(score, 49);
    EXPECT_EQ(m_index.FindSimilar("ab" + Kanji(300, 300), score), PageIndex::npos);
    EXPECT_EQ(score, 0);
}

INSTANTIATE_TEST_SUITE_P(PageCounts, PageIndexTest, ::testing::Values(40, 3000));

}  // namespace
}  // namespace zavio::test
