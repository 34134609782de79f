#include <gtest/gtest.h>

#include "TestApp.h"
#include "framework/Cp932.h"

namespace zavio::test {
namespace {

// 表 = 95 5C and ソ = 83 5C carry a backslash as trail byte, ポ = 83 7C a
// vertical bar.
const std::string kHyou = "\x95\x5C";
const std::string kSo = "\x83\x5C";
const std::string kPo = "\x83\x7C";

class WordHtmlCleanupTest : public AppTest {
protected:
    CZavioDoc* Manuscript(LineList source = {})
    {
        CZavioDoc* doc = NewDocument();
        doc->m_strExtension = "htm";
        doc->m_saSourceLines = std::move(source);
        return doc;
    }

    LineList Split(LineList source)
    {
        CZavioDoc* doc = Manuscript(std::move(source));
        doc->SplitTagsIntoLines();
        return doc->m_saOutputLines;
    }

    LineList Jumps(LineList output)
    {
        CZavioDoc* doc = Manuscript();
        doc->m_saOutputLines = std::move(output);
        doc->ConvertJumpLinks();
        return doc->m_saOutputLines;
    }
};

// Reading the manuscript

TEST_F(WordHtmlCleanupTest, HtmlDocumentsAreReadAndOthersAreNot)
{
    CZavioDoc* html = Manuscript({"kept"});
    html->m_strExtension = "html";
    SetViewText(html, "<html>\r\n<body>\r\n");
    EXPECT_TRUE(html->LoadHtmlSource());
    EXPECT_EQ(html->m_saSourceLines, (LineList{"kept", "<html>", "<body>"}));

    CZavioDoc* text = Manuscript();
    text->m_strExtension = "txt";
    SetViewText(text, "<html>\r\n");
    EXPECT_FALSE(text->LoadHtmlSource());
    EXPECT_TRUE(text->m_saSourceLines.empty());
}

// Splitting off the header

TEST_F(WordHtmlCleanupTest, LinesAboveTheSectionDivBecomeTheHeader)
{
    m_run.m_saHeaderLines = {"earlier"};
    CZavioDoc* doc =
        Manuscript({"<html>", "<head>", "</head>", "<div class=Section1 style='layout-grid:18.0pt'>", "x"});
    EXPECT_TRUE(doc->SplitOffWordHeader(m_run));
    EXPECT_EQ(m_run.m_saHeaderLines, (LineList{"earlier", "<html>", "<head>", "</head>"}));
    EXPECT_EQ(doc->m_saSourceLines, (LineList{"<div class=Section1 style='layout-grid:18.0pt'>", "x"}));
}

TEST_F(WordHtmlCleanupTest, BodyStartOnAnyLineSucceeds)
{
    CZavioDoc* first = Manuscript({"<div class=Section1>", "x"});
    EXPECT_TRUE(first->SplitOffWordHeader(m_run));
    EXPECT_TRUE(m_run.m_saHeaderLines.empty());
    EXPECT_EQ(first->m_saSourceLines, (LineList{"<div class=Section1>", "x"}));

    CZavioDoc* second = Manuscript({"<html>", "<div class=Section1>", "x"});
    EXPECT_TRUE(second->SplitOffWordHeader(m_run));
    EXPECT_EQ(m_run.m_saHeaderLines, (LineList{"<html>"}));
    EXPECT_EQ(second->m_saSourceLines, (LineList{"<div class=Section1>", "x"}));
}

TEST_F(WordHtmlCleanupTest, LaterWordSectionNamesAreBodyStarts)
{
    for (const char* start : {"<div class=WordSection1>", "<div class=\"Section1\">", "<p>div class Section1</p>"}) {
        m_run.m_saHeaderLines.clear();
        CZavioDoc* doc = Manuscript({"<head>", start});
        EXPECT_TRUE(doc->SplitOffWordHeader(m_run)) << start;
        EXPECT_EQ(doc->m_saSourceLines, (LineList{start}));
    }
}

TEST_F(WordHtmlCleanupTest, WithoutBodyStartEveryLineGoesToTheHeaderAndTheSourceStays)
{
    // "Section 1" and a div of another class are not Word's body section.
    LineList source = {"<html>", "<div class=Section 1>", "<div class=Main>", J("表")};
    CZavioDoc* doc = Manuscript(source);
    EXPECT_FALSE(doc->SplitOffWordHeader(m_run));
    EXPECT_EQ(m_run.m_saHeaderLines, source);
    EXPECT_EQ(doc->m_saSourceLines, source);
}

// Splitting tags and text into lines

TEST_F(WordHtmlCleanupTest, LongTagTextAndShortClosingTagStandAlone)
{
    // The short "</p>" waits until an empty line lets it out.
    EXPECT_EQ(Split({"<p class=MsoNormal>Word</p>", ""}), (LineList{"<p class=MsoNormal>", "Word", "</p>", ""}));
}

TEST_F(WordHtmlCleanupTest, ShortTagBeforeTextGetsItsOwnLine)
{
    EXPECT_EQ(Split({"<b>bold</b>", ""}), (LineList{"<b>", "bold", "</b>", ""}));
}

TEST_F(WordHtmlCleanupTest, RunsOfShortTagsShareALine)
{
    EXPECT_EQ(Split({"<p class=MsoNormal><span lang=EN-US><o:p></o:p></span></p>", ""}),
              (LineList{"<p class=MsoNormal>", "<span lang=EN-US>", "<o:p></o:p></span></p>", ""}));
}

TEST_F(WordHtmlCleanupTest, TagWrappedOverTwoLinesIsJoinedByOneBlank)
{
    EXPECT_EQ(Split({"<span lang=EN-US", "style='x'>Text</span>", ""}),
              (LineList{"<span lang=EN-US style='x'>", "Text", "</span>", ""}));
}

TEST_F(WordHtmlCleanupTest, TextWrappedOverLinesKeepsOneLinePerPiece)
{
    EXPECT_EQ(Split({"<p class=MsoNormal>one two", "three</p>", ""}),
              (LineList{"<p class=MsoNormal>", "one two", "three", "</p>", ""}));
}

TEST_F(WordHtmlCleanupTest, TextAfterAShortRunLetsTheRunOutFirst)
{
    EXPECT_EQ(Split({"<p class=MsoNormal>a</span><b>b", ""}),
              (LineList{"<p class=MsoNormal>", "a", "</span><b>", "b", ""}));
}

TEST_F(WordHtmlCleanupTest, DoubleByteTextWithTrailBytesPassesUnchanged)
{
    const std::string text = kSo + kHyou + "\\" + kPo + "|";
    EXPECT_EQ(Split({"<p class=MsoNormal>" + text + "</p>", ""}), (LineList{"<p class=MsoNormal>", text, "</p>", ""}));
}

TEST_F(WordHtmlCleanupTest, ShortRunStillWaitingAtTheEndIsDropped)
{
    EXPECT_EQ(Split({"<p class=MsoNormal>x</p>"}), (LineList{"<p class=MsoNormal>", "x"}));
}

TEST_F(WordHtmlCleanupTest, StrayBytesBeforeTheFirstTagWaitThenGoOutOneByOne)
{
    // Ten bytes join the waiting run; each byte beyond stands alone.
    EXPECT_EQ(Split({"abc", "", "abcdefghijkl"}), (LineList{"abc", "", "abcdefghij", "k", "l"}));
}

TEST_F(WordHtmlCleanupTest, EmptyLineCutsATagShort)
{
    // The rest of the cut tag is handled like stray bytes and joins what waits.
    EXPECT_EQ(Split({"<span", "", "x>", ""}), (LineList{"", "<span x>", ""}));
}

// Moving the note list

TEST_F(WordHtmlCleanupTest, NoteListMovesWithTheBodyClosingDivInFrontOfEarlierNotes)
{
    m_run.m_saNoteLines = {"earlier"};
    CZavioDoc* doc = Manuscript();
    doc->m_saOutputLines = {"<p class=MsoNormal>",
                            "text",
                            "</div>",
                            "",
                            "<div style='mso-element:footnote-list'>",
                            "</div>",
                            "note",
                            "</div>"};
    doc->MoveNoteListToApp(m_run);
    EXPECT_EQ(doc->m_saOutputLines, (LineList{"<p class=MsoNormal>", "text"}));
    EXPECT_EQ(m_run.m_saNoteLines, (LineList{"</div>", "", "<div style='mso-element:footnote-list'>", "</div>", "note",
                                             "</div>", "earlier"}));
}

TEST_F(WordHtmlCleanupTest, FootnoteAndEndnoteListsMoveTogether)
{
    CZavioDoc* doc = Manuscript();
    doc->m_saOutputLines = {"body", "</div>", "<div style='mso-element:footnote-list'>",
                            "fn",   "</div>", "<div style='mso-element:endnote-list'>",
                            "en",   "</div>"};
    doc->MoveNoteListToApp(m_run);
    EXPECT_EQ(doc->m_saOutputLines, (LineList{"body"}));
    EXPECT_EQ(m_run.m_saNoteLines.size(), 7u);
}

TEST_F(WordHtmlCleanupTest, WithoutNoteListTheLinesAfterTheLastPageBreakMove)
{
    CZavioDoc* doc = Manuscript();
    const std::string pageBreak = "<br clear=all style='page-break-before:always'>";
    doc->m_saOutputLines = {"a", pageBreak, "b", "</div>", "c"};
    doc->MoveNoteListToApp(m_run);
    EXPECT_EQ(doc->m_saOutputLines, (LineList{"a", pageBreak}));
    EXPECT_EQ(m_run.m_saNoteLines, (LineList{"b", "</div>", "c"}));

    m_run.m_saNoteLines.clear();
    CZavioDoc* unbroken = Manuscript();
    unbroken->m_saOutputLines = {"a", "b"};
    unbroken->MoveNoteListToApp(m_run);
    EXPECT_TRUE(unbroken->m_saOutputLines.empty());
    EXPECT_EQ(m_run.m_saNoteLines, (LineList{"a", "b"}));
}

// Footnote marks

TEST_F(WordHtmlCleanupTest, WinHelpMarksGoAndTheTopicMarkStays)
{
    CZavioDoc* doc = Manuscript();
    doc->m_saOutputLines = {"K", "$", "#", "+", "A", "KK", " K", "a", ""};
    doc->RemoveFootnoteMarks();
    EXPECT_EQ(doc->m_saOutputLines, (LineList{"#", "KK", " K", "a", ""}));
}

// Build-tag, macro, window and comment marks go only from inside a note
// reference: body text may read "*" or "!".
TEST_F(WordHtmlCleanupTest, OtherMarksGoOnlyFromNoteReferences)
{
    const std::string anchor = "<a style='mso-endnote-id:edn2' href=\"#_edn2\">";
    CZavioDoc* doc = Manuscript();
    doc->m_saOutputLines = {"*", anchor, "<span lang=EN-US>", "*", "!", "&gt;", "@", "#", "</span></a>", "!", "@"};
    doc->RemoveFootnoteMarks();
    EXPECT_EQ(doc->m_saOutputLines, (LineList{"*", anchor, "<span lang=EN-US>", "#", "</span></a>", "!", "@"}));
}

// Jump links

TEST_F(WordHtmlCleanupTest, DoubleUnderlinedHotspotLinksToTheHiddenTopic)
{
    const std::string text = J("ファイルを開く");
    EXPECT_EQ(Jumps({"<u style='text-underline:double'>", J("<span style='font-family:\"ＭＳ ゴシック\"'>"), text,
                     "</span></u>", "<span lang=EN-US style='display:none;mso-hide:all'>", "IDH_FILE_OPEN", "</span>"}),
              (LineList{"<u style='text-underline:double'>", J("<span style='font-family:\"ＭＳ ゴシック\"'>"),
                        "<a href=\"IDH_FILE_OPEN.htm\">" + text + "</a>", "</span></u>",
                        "<span lang=EN-US style='display:none;mso-hide:all'>", "", "</span>"}));
}

TEST_F(WordHtmlCleanupTest, HotspotOverSeveralTextLinesBecomesOneLink)
{
    EXPECT_EQ(Jumps({"before", "<u style='text-underline:double'>", "one", "", "two", "</u>",
                     "<span style = 'display: none; mso-hide: all'>", "T", "</span>"}),
              (LineList{"before", "<u style='text-underline:double'>", "<a href=\"T.htm\">one", "", "two</a>", "</u>",
                        "<span style = 'display: none; mso-hide: all'>", "", "</span>"}));
}

TEST_F(WordHtmlCleanupTest, PopupHotspotLinksTheLastTextLineBeforeTheHiddenTopic)
{
    EXPECT_EQ(Jumps({"first", "<u>", "popup", "</u>", "<span style='display:none;mso-hide:all'>", "P", "</span>"}),
              (LineList{"first", "<u>", "<a href=\"P.htm\">popup</a>", "</u>",
                        "<span style='display:none;mso-hide:all'>", "", "</span>"}));
}

TEST_F(WordHtmlCleanupTest, HiddenTopicWithoutTextBeforeItIsOnlyRemoved)
{
    EXPECT_EQ(Jumps({"<span style='display:none;mso-hide:all'>", "P", "</span>", "after"}),
              (LineList{"<span style='display:none;mso-hide:all'>", "", "</span>", "after"}));
}

TEST_F(WordHtmlCleanupTest, WindowNameIsCutAndUnsafeCharactersBecomeUnderscores)
{
    EXPECT_EQ(Jumps({"go", "<span style='display:none;mso-hide:all'>", "IDH_X.1&gt;main", "</span>"})[0],
              "<a href=\"IDH_X_1.htm\">go</a>");
    EXPECT_EQ(Jumps({"go", "<span style='display:none;mso-hide:all'>", "a.b/c\\d:e*f?g\"h|i", "</span>"})[0],
              "<a href=\"a_b_c_d_e_f_g_h_i.htm\">go</a>");
}

TEST_F(WordHtmlCleanupTest, TargetIsMadeSafeCharacterByCharacterLikeThePageFileNames)
{
    // The trail bytes 5C and 7C belong to their characters, as in the page
    // file's name, so the link finds the file; a real backslash becomes "_".
    const std::string target = kSo + kHyou + kPo + "\\" + J("ア");
    EXPECT_EQ(Jumps({J("ソフト"), "<span style='display:none;mso-hide:all'>", target, "</span>"})[0],
              "<a href=\"" + kSo + kHyou + kPo + "_" + J("ア") + ".htm\">" + J("ソフト") + "</a>");
}

TEST_F(WordHtmlCleanupTest, EachHiddenTopicEndsItsLink)
{
    EXPECT_EQ(
        Jumps({"<u style='text-underline:double'>", "A", "</u>", "<span style='display:none;mso-hide:all'>", "TA",
               "</span>", "<u style='text-underline:double'>", "B", "</u>", "<span style='display:none;mso-hide:all'>",
               "TB", "</span>"}),
        (LineList{"<u style='text-underline:double'>", "<a href=\"TA.htm\">A</a>", "</u>",
                  "<span style='display:none;mso-hide:all'>", "", "</span>", "<u style='text-underline:double'>",
                  "<a href=\"TB.htm\">B</a>", "</u>", "<span style='display:none;mso-hide:all'>", "", "</span>"}));
}

// The small line operations

TEST_F(WordHtmlCleanupTest, LineOperationsIgnoreTheNoLineIndex)
{
    CZavioDoc* doc = Manuscript();
    doc->m_saOutputLines = {"x", "<span style='display: none; mso-hide: all'>"};
    doc->OpenLinkAt(-1, "T");
    doc->CloseLinkAt(-1);
    doc->ClearLine(-1);
    EXPECT_EQ(doc->m_saOutputLines[0], "x");
    EXPECT_FALSE(doc->IsHiddenLine(-1));
    EXPECT_FALSE(doc->IsHiddenLine(0));
    EXPECT_TRUE(doc->IsHiddenLine(1));

    std::string s = "a b\tc  d";
    CZavioDoc::StripBlanks(s);
    EXPECT_EQ(s, "ab\tcd");
}

}  // namespace
}  // namespace zavio::test
