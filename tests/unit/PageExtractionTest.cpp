#include <gtest/gtest.h>

#include <algorithm>

#include "TestApp.h"
#include "WordManuscript.h"
#include "framework/Cp932.h"
#include "framework/TextFile.h"

namespace zavio::test {
namespace {

const std::string kHyou = "\x95\x5C";
const std::string kSo = "\x83\x5C";
const std::string kPo = "\x83\x7C";

const std::string kBodyStart = "<div class=Section1 style='layout-grid:18.0pt'>";
const std::string kPageBreak = "<br clear=all style='page-break-before:always'>";

std::string FootnoteAnchor(int n)
{
    const std::string id = std::to_string(n);
    return "<a style='mso-footnote-id:ftn" + id + "' href=\"#_ftn" + id + "\" name=\"_ftnref" + id + "\" title=\"\">";
}

// A cleaned manuscript of two pages, numbered by line.
LineList TwoPages()
{
    return {
        kBodyStart,  // 0
        "<p class=MsoNormal>",
        FootnoteAnchor(1),
        "<span class=MsoFootnoteReference>",
        "<span lang=EN-US>",
        "#",  // 5
        "</span></span></a>",
        J("表示"),
        "</p>",
        "<p class=MsoNormal>",
        J("本文"),  // 10
        "</p>",
        "",
        "<span lang=EN-US style='font-size:10.5pt'>",
        kPageBreak,
        "</span>",  // 15
        "",
        "<p class=MsoNormal>",
        FootnoteAnchor(2),
        "<span class=MsoFootnoteReference>",
        "<span lang=EN-US>",  // 20
        "#",
        "</span></span></a>",
        J("ソフト"),
        "</p>",
        "<p class=MsoNormal>",  // 25
        J("説明"),
        "</p>",
        "",
    };
}

LineList Lines(const LineList& lines, int from, int to)
{
    return LineList(lines.begin() + from, lines.begin() + to + 1);
}

LineList Concat(std::initializer_list<LineList> parts)
{
    LineList out;
    for (const LineList& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

class PageExtractionTest : public AppTest {
protected:
    CZavioDoc* Manuscript(LineList output)
    {
        CZavioDoc* doc = NewDocument();
        doc->m_strExtension = "htm";
        doc->m_saOutputLines = std::move(output);
        return doc;
    }

    CZavioDoc* Page(LineList output = {})
    {
        CZavioDoc* doc = NewDocument();
        doc->m_saOutputLines = std::move(output);
        return doc;
    }
};

// The page's opening lines

TEST_F(PageExtractionTest, HeaderLinesAreAppended)
{
    m_run.m_saHeaderLines = {"<html>", J("<title>表</title>")};
    CZavioDoc* page = Page({"x"});
    page->AppendHeaderLines(m_run);
    EXPECT_EQ(page->m_saOutputLines, (LineList{"x", "<html>", J("<title>表</title>")}));
}

TEST_F(PageExtractionTest, ContentsLinkIsAParagraphOfTwoLines)
{
    CZavioDoc* page = Page();
    page->AppendContentsLink(kSo + kPo);
    EXPECT_EQ(page->m_saOutputLines,
              (LineList{"<p class=MsoNormal style='line-height:12.0pt'><span style='font-size:12.0pt;",
                        J("font-family:\"ＭＳ ゴシック\"'><a href=\"") + kSo + kPo +
                            J(".htm\">目次</a><span lang=EN-US><o:p></o:p></span></span></p></p>")}));
}

// Taking pages

TEST_F(PageExtractionTest, EmptyManuscriptGivesNoPage)
{
    CZavioDoc* page = Page({"<html>"});
    std::string note, title;
    EXPECT_FALSE(page->TakeLastPage(Manuscript({}), note, title));
    EXPECT_EQ(page->m_saOutputLines, (LineList{"<html>"}));
    EXPECT_EQ(note, "");
    EXPECT_EQ(title, "");
}

TEST_F(PageExtractionTest, PagesComeOffTheEndWithNoteAndTitle)
{
    const LineList m = TwoPages();
    CZavioDoc* manuscript = Manuscript(m);
    const LineList header = {"<html>", "<body>"};

    CZavioDoc* last = Page(header);
    std::string note, title;
    EXPECT_TRUE(last->TakeLastPage(manuscript, note, title));
    EXPECT_EQ(note, "ftn2");
    EXPECT_EQ(title, J("ソフト説明"));
    // The break and the empty lines before the anchor's paragraph are dropped,
    // the mark is cleared and the body's opening div leads the page.
    EXPECT_EQ(last->m_saOutputLines, Concat({header, {kBodyStart}, Lines(m, 17, 20), {""}, Lines(m, 22, 28)}));
    EXPECT_EQ(manuscript->m_saOutputLines, Lines(m, 0, 13));

    CZavioDoc* first = Page(header);
    note.clear();
    title.clear();
    EXPECT_FALSE(first->TakeLastPage(manuscript, note, title));
    EXPECT_EQ(note, "ftn1");
    EXPECT_EQ(title, J("表示本文"));
    EXPECT_EQ(first->m_saOutputLines, Concat({header, {kBodyStart}, Lines(m, 0, 4), {""}, Lines(m, 6, 13)}));
    EXPECT_TRUE(manuscript->m_saOutputLines.empty());

    CZavioDoc* none = Page();
    EXPECT_FALSE(none->TakeLastPage(manuscript, note, title));
    EXPECT_TRUE(none->m_saOutputLines.empty());
}

TEST_F(PageExtractionTest, PageBreakIsFoundWithBlanksInsideButNotInText)
{
    CZavioDoc* manuscript = Manuscript({kBodyStart, "a", "<br clear=all style='page-break-before: always'>", "b",
                                        "text page-break-before:always'", "c"});
    CZavioDoc* page = Page();
    std::string note, title;
    EXPECT_TRUE(page->TakeLastPage(manuscript, note, title));
    EXPECT_EQ(manuscript->m_saOutputLines, (LineList{kBodyStart, "a"}));
}

TEST_F(PageExtractionTest, ManuscriptWithoutBodyStartOrBreakIsOnePageWithoutNote)
{
    CZavioDoc* manuscript = Manuscript({"<p>", "#", "x", ""});
    CZavioDoc* page = Page();
    std::string note, title;
    EXPECT_TRUE(page->TakeLastPage(manuscript, note, title));
    EXPECT_EQ(note, "");
    // No opening div to copy: an empty line leads the page; "#" is not looked for.
    EXPECT_EQ(page->m_saOutputLines, (LineList{"", "<p>", "#", "x", ""}));
    EXPECT_FALSE(Page()->TakeLastPage(manuscript, note, title));
}

TEST_F(PageExtractionTest, WordSectionNameOpensTheFirstPage)
{
    CZavioDoc* manuscript = Manuscript({"<div class=WordSection1>", "<p>", "x", "</p>", ""});
    CZavioDoc* page = Page();
    std::string note, title;
    EXPECT_FALSE(page->TakeLastPage(manuscript, note, title));
    EXPECT_EQ(page->m_saOutputLines[0], "<div class=WordSection1>");
    EXPECT_EQ(page->m_saOutputLines[1], "<div class=WordSection1>");
}

// The topic footnote

TEST_F(PageExtractionTest, EndnoteAnchorGivesTheReference)
{
    CZavioDoc* page =
        Page({"copy", "<a style='mso-endnote-id:edn3' href=\"#_edn3\" name=\"_ednref3\" title=\"\">", "<span>", "#"});
    std::string note;
    page->FindNoteReference(0, note, false);
    EXPECT_EQ(note, "edn3");
    EXPECT_EQ(page->m_saOutputLines[3], "");
}

TEST_F(PageExtractionTest, MarkIsLookedForWithinTwentyOneLinesOfThePageStart)
{
    LineList lines(25, "x");
    lines[0] = "h";
    lines[20] = FootnoteAnchor(7);
    lines[22] = "#";  // page start 1: line 22 is the 22nd line
    CZavioDoc* page = Page(lines);
    std::string note;
    page->FindNoteReference(1, note, false);
    EXPECT_EQ(note, "");
    EXPECT_EQ(page->m_saOutputLines[22], "#");

    page->FindNoteReference(2, note, false);
    EXPECT_EQ(note, "ftn7");
    EXPECT_EQ(page->m_saOutputLines[22], "");
}

TEST_F(PageExtractionTest, AnchorIsLookedForInTheFiveLinesAboveTheMark)
{
    CZavioDoc* page = Page({FootnoteAnchor(1), "a", "b", "c", "d", "#"});
    std::string note;
    page->FindNoteReference(0, note, false);
    EXPECT_EQ(note, "ftn1");
}

TEST_F(PageExtractionTest, MarkWithoutAnchorNearbyIsClearedAndTheNextMarkCounts)
{
    CZavioDoc* page = Page({FootnoteAnchor(1), "a", "b", "c", "d", "e", "#", FootnoteAnchor(2), "#"});
    std::string note;
    page->FindNoteReference(0, note, false);
    EXPECT_EQ(note, "ftn2");
    EXPECT_EQ(page->m_saOutputLines[6], "");
    EXPECT_EQ(page->m_saOutputLines[8], "");
}

TEST_F(PageExtractionTest, LeadingLinesAfterABreakAreDroppedAtMostFifty)
{
    LineList lines = {"h", kPageBreak};
    for (int i = 0; i < 200; ++i) lines.push_back("");
    lines.push_back(FootnoteAnchor(1));
    lines.push_back("#");
    CZavioDoc* page = Page(lines);
    std::string note;
    page->FindNoteReference(1, note, true);
    EXPECT_EQ(page->m_saOutputLines.size(), lines.size() - 50);
    EXPECT_EQ(note, "");  // the mark is still far beyond the page's first 21 lines
}

TEST_F(PageExtractionTest, DroppingStopsWhenThePassesMeetTheShrinkingEnd)
{
    // Pass r runs while page start + r is below the current count.
    CZavioDoc* page = Page({"h", kPageBreak, "", "", "", "x"});
    std::string note;
    page->FindNoteReference(1, note, true);
    EXPECT_EQ(page->m_saOutputLines, (LineList{"h", "", "", "x"}));
}

TEST_F(PageExtractionTest, AnchorTagSplitAcrossTwoLinesStopsTheDropping)
{
    CZavioDoc* page =
        Page({"h", kPageBreak, "", "<a style='mso-foot", "note-id:ftn4' href=\"#_ftn4\">", "#", "x", "x", "x"});
    std::string note;
    page->FindNoteReference(1, note, true);
    EXPECT_EQ(page->m_saOutputLines,
              (LineList{"h", "<a style='mso-foot", "note-id:ftn4' href=\"#_ftn4\">", "", "x", "x", "x"}));
    EXPECT_EQ(note, "");  // the id is only read from a line that holds the whole marker
}

// The page's tail

TEST_F(PageExtractionTest, TableWithinTheLastFortyNineLinesIsCutWithWhatFollows)
{
    LineList lines(60, "x");
    lines[11] = "</table>";  // N - 49
    CZavioDoc* page = Page(lines);
    page->TrimPageTail(0);
    EXPECT_EQ(page->m_saOutputLines.size(), 11u);

    lines[11] = "x";
    lines[10] = "</table>";  // N - 50: too far, only four loose lines go
    page = Page(lines);
    page->TrimPageTail(0);
    EXPECT_EQ(page->m_saOutputLines.size(), 56u);
}

TEST_F(PageExtractionTest, TableAtThePageStartIsNotCut)
{
    CZavioDoc* page = Page({"</table>", "a", "", "b"});
    page->TrimPageTail(0);
    EXPECT_EQ(page->m_saOutputLines, (LineList{"</table>", "a", ""}));
}

TEST_F(PageExtractionTest, LooseTailStopsAtSpanEmptyLineOrEndif)
{
    const auto trimmed = [&](LineList lines) {
        CZavioDoc* page = Page(std::move(lines));
        page->TrimPageTail(0);
        return page->m_saOutputLines;
    };
    EXPECT_EQ(trimmed({"p", "<span lang=EN-US style='x'>", "</span>", "</p>"}),
              (LineList{"p", "<span lang=EN-US style='x'>"}));
    EXPECT_EQ(trimmed({"p", "<![endif]>", "a"}), (LineList{"p", "<![endif]>"}));
    EXPECT_EQ(trimmed({"p", "1", "2", "3", "4", "5"}), (LineList{"p", "1"}));
    // Four lines go whatever the page start is, even all of a short list.
    EXPECT_EQ(trimmed({"1", "2", "3"}), LineList{});
}

// The title

TEST_F(PageExtractionTest, TitleComesFromTheFirstTwoParagraphs)
{
    CZavioDoc* page = Page({"h", "copy", "<p>", J("  第1章  "), "</p>", "<p>", "&nbsp;", "</p>", "after", "</p>"});
    std::string title;
    page->ReadPageTitle(1, title);
    EXPECT_EQ(title, J("第1章"));
}

TEST_F(PageExtractionTest, TitleTakesLinkTextAndDecodesEntities)
{
    CZavioDoc* page = Page({"copy", "<a href=\"" + kSo + ".htm\">" + J("リンク") + "</a>", "&lt;" + kHyou + "&gt;",
                            "a&nbsp;b", "<b>", "</p>", "</p>"});
    std::string title;
    page->ReadPageTitle(0, title);
    EXPECT_EQ(title, J("リンク") + "<" + kHyou + ">ab");
}

TEST_F(PageExtractionTest, TitleWithFewerThanTwoParagraphEndsRunsToTheEnd)
{
    CZavioDoc* page = Page({"copy", "a", "</p>", "b", "c"});
    std::string title;
    page->ReadPageTitle(0, title);
    EXPECT_EQ(title, "abc");
}

// A Word manuscript through every stage

TEST_F(PageExtractionTest, WordManuscriptThroughTheStages)
{
    CZavioDoc* manuscript = NewDocument();
    manuscript->m_strExtension = "htm";
    SetViewText(manuscript, WordManuscript({{"IDH_START", "はじめに", "最初のページ。"},
                                            {"IDH_ソフト", "表示", "表示の説明。", "はじめに", "IDH_START"},
                                            {"IDH_END", "終わり", "最後のページ。", "ソフト", "IDH_ソフト"}}));
    ASSERT_TRUE(manuscript->LoadHtmlSource());
    ASSERT_TRUE(manuscript->SplitOffWordHeader(m_run));
    EXPECT_EQ(m_run.m_saHeaderLines.back(), "");
    EXPECT_EQ(m_run.m_saHeaderLines.size(), 46u);
    manuscript->SplitTagsIntoLines();
    manuscript->MoveNoteListToApp(m_run);
    EXPECT_EQ(m_run.m_saNoteLines.front(), "</div>");
    EXPECT_EQ(m_run.m_saNoteLines[2], "<div style='mso-element:footnote-list'>");
    manuscript->RemoveFootnoteMarks();
    manuscript->ConvertJumpLinks();

    struct Expected {
        bool more;
        const char* note;
        const char* title;
        std::string link;
    };
    const Expected pages[] = {
        {true, "ftn7", "終わり", "<a href=\"" + J("IDH_ソフト") + ".htm\">" + J("ソフト") + "</a>"},
        {true, "ftn4", "表示", "<a href=\"IDH_START.htm\">" + J("はじめに") + "</a>"},
        {false, "ftn1", "はじめに", ""},
    };
    for (const Expected& expected : pages) {
        CZavioDoc* page = Page();
        std::string note, title;
        EXPECT_EQ(page->TakeLastPage(manuscript, note, title), expected.more);
        EXPECT_EQ(note, expected.note);
        EXPECT_EQ(title, J(expected.title));
        const LineList& lines = page->m_saOutputLines;
        EXPECT_EQ(lines[0], kBodyStart);
        EXPECT_EQ(lines[1], expected.more ? "<p class=MsoNormal>" : kBodyStart);
        for (const char* mark : {"#", "$", "K"}) EXPECT_EQ(std::count(lines.begin(), lines.end(), mark), 0) << mark;
        if (!expected.link.empty()) {
            EXPECT_EQ(std::count(lines.begin(), lines.end(), expected.link), 1);
        }
        // The hidden topic names are gone from the page.
        EXPECT_EQ(std::count(lines.begin(), lines.end(), "IDH_START"), 0);
        EXPECT_EQ(std::count(lines.begin(), lines.end(), J("IDH_ソフト")), 0);
    }
    EXPECT_TRUE(manuscript->m_saOutputLines.empty());
}

}  // namespace
}  // namespace zavio::test
