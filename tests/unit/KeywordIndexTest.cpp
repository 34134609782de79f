#include <gtest/gtest.h>

#include "TestApp.h"
#include "convert/KeywordIndex.h"

namespace zavio::test {
namespace {

std::vector<std::pair<std::string, std::string>> Pairs(const std::vector<Keyword>& keywords)
{
    std::vector<std::pair<std::string, std::string>> pairs;
    for (const Keyword& k : keywords) pairs.emplace_back(k.first, k.second);
    return pairs;
}

std::vector<std::string> Files(const KeywordIndex::Entry& entry)
{
    std::vector<std::string> files;
    for (const KeywordIndex::Page* page : entry.pages) files.push_back(page->file);
    return files;
}

// Blanks around the separators go, empty keywords go, only the first comma
// divides the levels, and a second level with nothing before its comma
// stands at the first level. 表 (95 5C) keeps its trail byte.
TEST(ParseKeywords, SemicolonsSeparateAndTheFirstCommaDividesTheLevels)
{
    using P = std::pair<std::string, std::string>;
    EXPECT_EQ(Pairs(ParseKeywords(J(" 印刷 ;印刷, プレビュー;;printing ,  ;  , 表示 ;a, b, c;"))),
              (std::vector<P>{
                  {J("印刷"), ""}, {J("印刷"), J("プレビュー")}, {"printing", ""}, {J("表示"), ""}, {"a", "b, c"}}));
    EXPECT_TRUE(ParseKeywords(" ; , ;").empty());
}

// Pages arrive last first, as the separation takes them; the index lists
// them in reading order, each file once, under keywords in CP932 byte order
// (ア 83 41 before ｱ B1, which character order would put first).
TEST(KeywordIndex, KeywordsInByteOrderWithTheirPagesInReadingOrder)
{
    KeywordIndex index;
    EXPECT_TRUE(index.empty());
    index.AddPage("p3", "Three", {{J("ｱ"), ""}, {"print", J("ア")}});
    index.AddPage("p2", "Two", {{J("ア"), ""}, {J("ア"), ""}, {"print", ""}});
    index.AddPage("p1", "One", {{"print", ""}, {J("ア"), ""}, {"print", "b"}});
    index.AddPage("p2", "Two again", {{"print", ""}});
    index.AddPage("p0", "Zero", {});

    const std::vector<KeywordIndex::Entry> entries = index.Entries();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].keyword, "print");
    EXPECT_EQ(Files(entries[0]), (std::vector<std::string>{"p2", "p1"}));  // the earlier p2 is the one listed
    EXPECT_EQ(entries[0].pages[0]->title, "Two again");
    ASSERT_EQ(entries[0].subentries.size(), 2u);
    EXPECT_EQ(entries[0].subentries[0].keyword, "b");
    EXPECT_EQ(entries[0].subentries[1].keyword, J("ア"));
    EXPECT_EQ(Files(entries[0].subentries[1]), (std::vector<std::string>{"p3"}));
    EXPECT_EQ(entries[1].keyword, J("ア"));
    EXPECT_EQ(Files(entries[1]), (std::vector<std::string>{"p1", "p2"}));
    EXPECT_EQ(entries[2].keyword, J("ｱ"));
    EXPECT_EQ(index.KeywordCount(), 5u);
}

// A second level whose first level no page names alone still stands under
// it: the first level is listed with no page of its own.
TEST(KeywordIndex, SecondLevelWithoutItsFirstLevelStandsUnderIt)
{
    KeywordIndex index;
    index.AddPage("p1", "One", {{J("ファイル"), J("開く")}});
    const std::vector<KeywordIndex::Entry> entries = index.Entries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].keyword, J("ファイル"));
    EXPECT_TRUE(entries[0].pages.empty());
    ASSERT_EQ(entries[0].subentries.size(), 1u);
    EXPECT_EQ(Files(entries[0].subentries[0]), (std::vector<std::string>{"p1"}));
    EXPECT_EQ(index.KeywordCount(), 2u);
}

}  // namespace
}  // namespace zavio::test
