// Hostile and huge manuscripts through the clean-up and page stages: they
// must end, and without touching memory they do not own (the sanitizer build
// runs these too). Sizes are bounded so the whole file stays quick.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "TestApp.h"
#include "WordManuscript.h"
#include "convert/ConversionState.h"
#include "convert/HeaderSimplification.h"
#include "convert/PageExtraction.h"
#include "convert/WordHtmlCleanup.h"
#include "framework/Cp932.h"
#include "framework/TextFile.h"

namespace zavio::test {
namespace {

class ConversionStressTest : public ::testing::Test {
protected:
    // Runs every stage the way a conversion does, whatever the header search
    // says, and takes pages until none is left. Returns the pages taken.
    int RunStages(std::string_view text)
    {
        CConversionState run;
        m_manuscript = Manuscript();
        SplitTextLines(text, m_manuscript.sourceLines);

        SplitOffWordHeader(run, m_manuscript);
        SimplifyHeader(run);
        CleanUpBody(run, m_manuscript);

        // Every call takes at least one line, so this many calls always suffice.
        const std::size_t limit = m_manuscript.body.size() + 1;
        m_notes.clear();
        int pages = 0;
        bool more = true;
        while (more) {
            EXPECT_LE(static_cast<std::size_t>(pages), limit);
            if (static_cast<std::size_t>(pages) > limit) break;
            m_page = ManuscriptLines();
            std::string note, title;
            more = TakeLastPage(m_manuscript.body, m_page, note, title);
            m_notes.push_back(note);
            ++pages;
        }
        return pages;
    }

    Manuscript m_manuscript;
    ManuscriptLines m_page;
    std::vector<std::string> m_notes;  // of the pages taken, last page first
};

// Pieces that steer the stages into their branches, mixed with raw bytes.
std::string RandomManuscript(std::mt19937& random, std::size_t size)
{
    static const char* const kPieces[] = {
        "<div class=Section1>",
        "<div class=WordSection1>",
        "<br clear=all style='page-break-before:always'>",
        "<div style='mso-element:footnote-list'>",
        "<div style='mso-element:endnote-list'>",
        "</div>",
        "<a style='mso-footnote-id:ftn1' href=\"#_ftn1\">",
        "<a style='mso-endnote-id:edn",
        "#",
        "K",
        "$",
        "</p>",
        "</table>",
        "<span lang=EN-US>",
        "<![endif]>",
        "<u style='text-underline:double'>",
        "</u>",
        "</span><b>",
        "<span style='display:none;mso-hide:all'>",
        "&gt;",
        "&lt;",
        "&nbsp;",
        ".htm\">",
        "</a>",
        " /* Font Definitions */",
        " /* Style Definitions */",
        "p.MsoNormal",
        "{page:Section1;}",
        "\t",
        "\r\n",
        "\r\n\r\n",
        "\n",
        "\r",
        "<",
        ">",
        "'",
        " ",
        "\x83\x5C",
        "\x95\x5C",
        "\x83\x7C",
        "\x83",
    };
    constexpr std::size_t kPieceCount = sizeof(kPieces) / sizeof(kPieces[0]);
    std::uniform_int_distribution<int> choice(0, 2 * static_cast<int>(kPieceCount));
    std::uniform_int_distribution<int> byte(0, 255);
    std::string text;
    while (text.size() < size) {
        const int pick = choice(random);
        if (pick < static_cast<int>(kPieceCount))
            text += kPieces[pick];
        else
            text += static_cast<char>(byte(random));
    }
    return text;
}

std::vector<WordTopic> ThreeTopics()
{
    return {{"IDH_START", "はじめに", "最初のページ。"},
            {"IDH_ソフト", "表示", "表示の説明。", "はじめに", "IDH_START"},
            {"IDH_END", "終わり", "最後のページ。", "ソフト", "IDH_ソフト&gt;main"}};
}

TEST_F(ConversionStressTest, RandomBytesEndWithoutHarm)
{
    std::mt19937 random(20261207);
    std::uniform_int_distribution<std::size_t> size(0, 3000);
    for (int round = 0; round < 300; ++round) RunStages(RandomManuscript(random, size(random)));
}

TEST_F(ConversionStressTest, EveryPrefixOfAManuscriptEndsWithoutHarm)
{
    const std::string manuscript = WordManuscript({ThreeTopics()[1], ThreeTopics()[2]});
    for (std::size_t length = 0; length <= manuscript.size(); ++length) RunStages(manuscript.substr(0, length));
    // The whole manuscript still gives its two pages and nothing is left.
    EXPECT_EQ(RunStages(manuscript), 2);
    EXPECT_EQ(m_notes, (std::vector<std::string>{"ftn4", "ftn1"}));
    EXPECT_TRUE(m_manuscript.body.empty());
}

TEST_F(ConversionStressTest, OnePageOfTwoMegabytes)
{
    WordTopic topic{"IDH_BIG", "大きなページ", ""};
    const std::string paragraph = "ソフトウェアの表示を説明する長い段落です。";  // 21 characters, 63 UTF-8 bytes
    topic.body.reserve(2'100'000);
    // Word keeps a Japanese run without blanks on one line and wraps at blanks.
    for (int i = 0; topic.body.size() < 3'000'000; ++i) topic.body += paragraph + (i % 4 == 3 ? "\r\n" : "");
    const std::string text = WordManuscript({topic});
    ASSERT_GT(text.size(), 2'000'000u);

    EXPECT_EQ(RunStages(text), 1);
    EXPECT_EQ(m_notes, std::vector<std::string>{"ftn1"});
    EXPECT_GT(m_page.size(), 11'000u);  // a text line per wrapped piece
    EXPECT_TRUE(m_manuscript.body.empty());
}

TEST_F(ConversionStressTest, SixtyFiveThousandEmptyParagraphs)
{
    std::string text = WordManuscript({{"IDH_EMPTY", "空", "x"}});
    const std::string emptyParagraph =
        "<p class=MsoNormal><![if !supportEmptyParas]>&nbsp;<![endif]><o:p></o:p></p>\r\n\r\n";
    std::string paragraphs;
    for (int i = 0; i < 65'000; ++i) paragraphs += emptyParagraph;
    // Before the body's closing div, so they belong to the one page.
    text.insert(text.find("</div>\r\n\r\n<div style='mso-element:footnote-list'>"), paragraphs);

    EXPECT_EQ(RunStages(text), 1);
    EXPECT_EQ(m_notes, std::vector<std::string>{"ftn1"});
    EXPECT_GT(m_page.size(), 5u * 65'000u);  // five lines per paragraph
    EXPECT_TRUE(m_manuscript.body.empty());
}

TEST_F(ConversionStressTest, ManyShortPages)
{
    std::vector<WordTopic> topics;
    for (int i = 0; i < 500; ++i) topics.push_back({"IDH_" + std::to_string(i), "題" + std::to_string(i), "本文"});
    EXPECT_EQ(RunStages(WordManuscript(topics)), 500);
    EXPECT_EQ(m_notes.front(), "ftn1498");
    EXPECT_EQ(m_notes.back(), "ftn1");
}

}  // namespace
}  // namespace zavio::test
