#include <gtest/gtest.h>

#include "TestApp.h"
#include "convert/ConversionState.h"
#include "convert/HeaderSimplification.h"

namespace zavio::test {
namespace {

// Word 2000's header, numbered by line. The MsoNormal rule has eight body lines.
LineList WordHeader()
{
    return {
        "<html xmlns:o=\"urn:schemas-microsoft-com:office:office\">",  // 0
        "<head>",
        "<meta http-equiv=Content-Type content=\"text/html; charset=shift_jis\">",
        J("<title>マニュアル</title>"),
        "<style>",
        "<!--",  // 5
        " /* Font Definitions */",
        "@font-face",
        J("\t{font-family:\"ＭＳ ゴシック\";"),
        "\tpanose-1:2 11 6 9 7 2 5 8 2 4;}",
        " /* Style Definitions */",  // 10
        "p.MsoNormal, li.MsoNormal, div.MsoNormal",
        "\t{mso-style-parent:\"\";",
        "\tmargin:0mm;",
        "\tmargin-bottom:.0001pt;",
        "\ttext-align:justify;",  // 15
        "\ttext-justify:inter-ideograph;",
        "\tmso-pagination:none;",
        "\tfont-size:10.5pt;",
        "\tfont-family:Century;}",
        "h1",  // 20
        "\t{margin-top:17.0pt;",
        "\tfont-size:12.0pt;}",
        "@page Section1",
        "\t{size:595.3pt 841.9pt;",
        "\tmargin:99.25pt 85.05pt 85.05pt 85.05pt;}",  // 25
        "div.Section1",
        "\t{page:Section1;}",
        "-->",
        "</style>",
        "</head>",  // 30
        "",
        "<body lang=JA style='tab-interval:42.0pt'>",
        "",
    };
}

LineList Pick(const LineList& lines, std::initializer_list<std::pair<int, int>> ranges)
{
    LineList out;
    for (auto [from, to] : ranges)
        for (int i = from; i <= to; ++i) out.push_back(lines[i]);
    return out;
}

LineList Simplified(LineList header)
{
    CConversionState run;
    run.m_saHeaderLines = std::move(header);
    SimplifyHeader(run);
    return run.m_saHeaderLines;
}

TEST(HeaderSimplification, WordLayoutKeepsHeadNormalRuleAndTail)
{
    const LineList header = WordHeader();
    EXPECT_EQ(Simplified(header), Pick(header, {{0, 5}, {10, 19}, {28, 33}}));
}

TEST(HeaderSimplification, NormalRuleIndentedByBlanksEndsAtItsFirstBodyLine)
{
    LineList header = WordHeader();
    for (int i = 12; i <= 19; ++i) header[i][0] = ' ';
    EXPECT_EQ(Simplified(header), Pick(header, {{0, 5}, {10, 11}, {28, 33}}));
}

TEST(HeaderSimplification, WithoutSectionRuleOnlyFontDefinitionsGo)
{
    LineList header = WordHeader();
    header[26] = "div.Main";
    header[27] = "\t{page:Main;}";
    EXPECT_EQ(Simplified(header), Pick(header, {{0, 5}, {10, 33}}));
}

// Word 2002 and later: indented first lines, the page and list definitions,
// WordSection1, and a second style sheet for Word alone after the first.
TEST(HeaderSimplification, LaterWordHeadTakesTheSameShape)
{
    LineList header = WordHeader();
    header[7] = " @font-face";
    header[11] = " p.MsoNormal, li.MsoNormal, div.MsoNormal";
    header[23] = "@page WordSection1";
    header[26] = "div.WordSection1";
    header[27] = "\t{page:WordSection1;}";
    header.insert(header.begin() + 28, {" /* List Definitions */", " @list l0", "\t{mso-list-id:1;}", "ol", "\t{}"});
    header.insert(header.begin() + 35, {"<!--[if gte mso 10]>", "<style>", " /* Style Definitions */",
                                        " table.MsoNormalTable", "\t{font-size:10.0pt;}", "</style>", "<![endif]-->"});
    header.insert(header.begin() + 23,
                  {" /* Page Definitions */", " @page", "\t{mso-page-border-surround-header:no;}"});
    // Kept: the head, the style comment with the normal rule, "-->" and "</style>", the rest.
    EXPECT_EQ(Simplified(header), Pick(header, {{0, 5}, {10, 19}, {36, 37}, {45, 48}}));
}

TEST(HeaderSimplification, WithoutStyleCommentEverythingUpToTheFontCommentGoes)
{
    LineList header = WordHeader();
    header[10] = "";
    EXPECT_EQ(Simplified(header), Pick(header, {{0, 5}, {28, 33}}));
}

TEST(HeaderSimplification, WithoutFontCommentTheRemovalRunsUpToTheSecondLine)
{
    LineList header = WordHeader();
    header[6] = "";
    header[10] = "";
    EXPECT_EQ(Simplified(header), Pick(header, {{0, 0}, {28, 33}}));
}

TEST(HeaderSimplification, NormalRuleIsLookedForInNineteenLinesAfterTheStyleComment)
{
    const auto header = [](int bodyLines) {
        LineList lines = {"<style>", " /* Font Definitions */", "@font-face", " /* Style Definitions */",
                          "p.MsoNormal"};
        for (int i = 0; i < bodyLines; ++i) lines.push_back("\tx;");
        for (const char* line : {"h1", "\t{page:Section1;}", "</style>"}) lines.push_back(line);
        return lines;
    };
    // Selector and 17 body lines: "h1" is the 19th line and ends the rule.
    const LineList fits = header(17);
    EXPECT_EQ(Simplified(fits), Pick(fits, {{0, 0}, {3, 21}, {24, 24}}));
    // Selector and 18 body lines fill all 19: the style definitions go as well.
    const LineList overflows = header(18);
    EXPECT_EQ(Simplified(overflows), Pick(overflows, {{0, 0}, {25, 25}}));
}

TEST(HeaderSimplification, TheFirstLineIsNeverRemoved)
{
    EXPECT_EQ(Simplified({" /* Font Definitions */ {page:Section1;}", "a"}),
              (LineList{" /* Font Definitions */ {page:Section1;}", "a"}));
    EXPECT_EQ(Simplified({"{page:Section1;}"}), (LineList{"{page:Section1;}"}));
    EXPECT_EQ(Simplified({}), LineList{});
}

TEST(HeaderSimplification, HeaderWithoutMarkersStaysAsItIs)
{
    const LineList header = {"<html>", "<head>", "<style>", "h1 {font-size:12pt}", "</style>", "</head>"};
    EXPECT_EQ(Simplified(header), header);
}

}  // namespace
}  // namespace zavio::test
