#include <gtest/gtest.h>

#include "Lines.h"
#include "TestApp.h"
#include "convert/ConversionState.h"
#include "convert/WordHtmlCleanup.h"
#include "framework/Cp932.h"

namespace zavio::test {
namespace {

// 表 = 95 5C and ソ = 83 5C carry a backslash as trail byte, ポ = 83 7C a
// vertical bar.
const std::string kHyou = "\x95\x5C";
const std::string kSo = "\x83\x5C";
const std::string kPo = "\x83\x7C";

ManuscriptLines Lines(const LineList& lines)
{
    ManuscriptLines out;
    for (const std::string& line : lines) out.Append(line);
    return out;
}

Manuscript Source(LineList source)
{
    return {{"/conv/manual.htm", "manual", "htm"}, std::move(source), {}};
}

LineList Split(LineList source)
{
    Manuscript manuscript = Source(std::move(source));
    SplitTagsIntoLines(manuscript);
    return Copied(manuscript.body.Lines());
}

// The lines with each hotspot shown as "[target|" before its first line and
// "|]" after its last, the hidden targets gone.
LineList Jumps(const LineList& lines, const CharacterStyles& styles = {})
{
    ManuscriptLines body = Lines(lines);
    ConvertJumpLinks(body, styles);
    LineList shown = Copied(body.Lines());
    for (const LineMark& mark : body.Marks()) {
        if (mark.kind == MarkKind::LinkStart) shown[mark.line] = "[" + mark.value + "|" + shown[mark.line];
        if (mark.kind == MarkKind::LinkEnd) shown[mark.line] += "|]";
    }
    return shown;
}

// Reading the manuscript

TEST(WordHtmlCleanup, Utf8ManuscriptsAreReadInCp932AndDeclareShiftJis)
{
    Manuscript manuscript = Source({});
    LoadHtmlSource(manuscript,
                   {"\xEF\xBB\xBF<meta content=\"text/html; charset=utf-8\">\r\n\xE8\xA1\xA8\r\n", TextEncoding::Utf8});
    EXPECT_EQ(manuscript.sourceLines, (LineList{"<meta content=\"text/html; charset=shift_jis\">", kHyou}));
}

// A Word manuscript's body stays in its text until it is split; the header,
// the body's lines and where the source broke them are those of a manuscript
// read into lines whole (a zero byte and a lone CR included).
TEST(WordHtmlCleanup, TheBodyIsSplitFromTheTextAsFromItsLines)
{
    const std::string text = "<html>\r\n<head></head>\r\n<div class=Section1>\r\n<p class=MsoNormal>Registering\r\n" +
                             std::string("Your") + '\0' + " Copy</p>\rx\r\n\r\n<b>bold</b>\r\n";
    Manuscript fromText = Source({});
    LoadHtmlSource(fromText, {text, TextEncoding::Cp932});
    EXPECT_EQ(fromText.sourceLines, (LineList{"<html>", "<head></head>", "<div class=Section1>"}));
    Manuscript fromLines = Source({});
    SplitViewText(text, fromLines.sourceLines);
    for (Manuscript* manuscript : {&fromText, &fromLines}) {
        CConversionState run;
        ASSERT_TRUE(SplitOffWordHeader(run, *manuscript));
        EXPECT_EQ(run.m_saHeaderLines, (LineList{"<html>", "<head></head>"}));
        SplitTagsIntoLines(*manuscript);
    }
    EXPECT_EQ(Copied(fromText.body.Lines()), Copied(fromLines.body.Lines()));
    for (std::size_t line = 1; line < fromLines.body.size(); ++line)
        EXPECT_EQ(fromText.body.Breaks().Between(line - 1, line), fromLines.body.Breaks().Between(line - 1, line));
}

// Splitting off the header

TEST(WordHtmlCleanup, LinesAboveTheSectionDivBecomeTheHeader)
{
    CConversionState run;
    run.m_saHeaderLines = {"earlier"};
    Manuscript manuscript =
        Source({"<html>", "<head>", "</head>", "<div class=Section1 style='layout-grid:18.0pt'>", "x"});
    EXPECT_TRUE(SplitOffWordHeader(run, manuscript));
    EXPECT_EQ(run.m_saHeaderLines, (LineList{"earlier", "<html>", "<head>", "</head>"}));
    EXPECT_EQ(manuscript.sourceLines, (LineList{"<div class=Section1 style='layout-grid:18.0pt'>", "x"}));
}

TEST(WordHtmlCleanup, BodyStartOnAnyLineAndInLaterWordsSucceeds)
{
    for (const char* start : {"<div class=Section1>", "<div class=WordSection1>", "<div class=\"Section1\">",
                              "<p>div class Section1</p>"}) {
        for (const LineList& above : {LineList{}, LineList{"<head>"}, LineList{"<html>", "<head>"}}) {
            CConversionState run;
            LineList source = above;
            source.push_back(start);
            Manuscript manuscript = Source(source);
            EXPECT_TRUE(SplitOffWordHeader(run, manuscript)) << start;
            EXPECT_EQ(run.m_saHeaderLines, above);
            EXPECT_EQ(manuscript.sourceLines, (LineList{start}));
        }
    }
}

TEST(WordHtmlCleanup, WithoutBodyStartEveryLineGoesToTheHeaderAndTheSourceStays)
{
    // "Section 1" and a div of another class are not Word's body section.
    CConversionState run;
    LineList source = {"<html>", "<div class=Section 1>", "<div class=Main>", J("表")};
    Manuscript manuscript = Source(source);
    EXPECT_FALSE(SplitOffWordHeader(run, manuscript));
    EXPECT_EQ(run.m_saHeaderLines, source);
    EXPECT_EQ(manuscript.sourceLines, source);
}

// Splitting tags and text into lines

TEST(WordHtmlCleanup, LongTagTextAndShortClosingTagStandAlone)
{
    // The short "</p>" waits until an empty line lets it out.
    EXPECT_EQ(Split({"<p class=MsoNormal>Word</p>", ""}), (LineList{"<p class=MsoNormal>", "Word", "</p>", ""}));
}

TEST(WordHtmlCleanup, ShortTagBeforeTextGetsItsOwnLine)
{
    EXPECT_EQ(Split({"<b>bold</b>", ""}), (LineList{"<b>", "bold", "</b>", ""}));
}

TEST(WordHtmlCleanup, RunsOfShortTagsShareALine)
{
    EXPECT_EQ(Split({"<p class=MsoNormal><span lang=EN-US><o:p></o:p></span></p>", ""}),
              (LineList{"<p class=MsoNormal>", "<span lang=EN-US>", "<o:p></o:p></span></p>", ""}));
}

TEST(WordHtmlCleanup, TagWrappedOverTwoLinesIsJoinedByOneBlank)
{
    EXPECT_EQ(Split({"<span lang=EN-US", "style='x'>Text</span>", ""}),
              (LineList{"<span lang=EN-US style='x'>", "Text", "</span>", ""}));
}

TEST(WordHtmlCleanup, TextWrappedOverLinesKeepsOneLinePerPiece)
{
    EXPECT_EQ(Split({"<p class=MsoNormal>one two", "three</p>", ""}),
              (LineList{"<p class=MsoNormal>", "one two", "three", "</p>", ""}));
}

TEST(WordHtmlCleanup, TextAfterAShortRunLetsTheRunOutFirst)
{
    EXPECT_EQ(Split({"<p class=MsoNormal>a</span><b>b", ""}),
              (LineList{"<p class=MsoNormal>", "a", "</span><b>", "b", ""}));
}

TEST(WordHtmlCleanup, DoubleByteTextWithTrailBytesPassesUnchanged)
{
    const std::string text = kSo + kHyou + "\\" + kPo + "|";
    EXPECT_EQ(Split({"<p class=MsoNormal>" + text + "</p>", ""}), (LineList{"<p class=MsoNormal>", text, "</p>", ""}));
}

TEST(WordHtmlCleanup, ShortRunStillWaitingAtTheEndIsDropped)
{
    EXPECT_EQ(Split({"<p class=MsoNormal>x</p>"}), (LineList{"<p class=MsoNormal>", "x"}));
}

TEST(WordHtmlCleanup, StrayBytesBeforeTheFirstTagWaitThenGoOutOneByOne)
{
    // Ten bytes join the waiting run; each byte beyond stands alone.
    EXPECT_EQ(Split({"abc", "", "abcdefghijkl"}), (LineList{"abc", "", "abcdefghij", "k", "l"}));
}

TEST(WordHtmlCleanup, EmptyLineCutsATagShort)
{
    // The rest of the cut tag is handled like stray bytes and joins what waits.
    EXPECT_EQ(Split({"<span", "", "x>", ""}), (LineList{"", "<span x>", ""}));
}

// Moving the note list

TEST(WordHtmlCleanup, NoteListMovesWithTheBodyClosingDivInFrontOfEarlierNotes)
{
    CConversionState run;
    run.m_notes.Append("earlier");
    ManuscriptLines body = Lines({"<p class=MsoNormal>", "text", "</div>", "",
                                  "<div style='mso-element:footnote-list'>", "</div>", "note", "</div>"});
    MoveNoteListToRun(run, body);
    EXPECT_EQ(Copied(body.Lines()), (LineList{"<p class=MsoNormal>", "text"}));
    EXPECT_EQ(Copied(run.m_notes.Lines()), (LineList{"</div>", "", "<div style='mso-element:footnote-list'>", "</div>",
                                                     "note", "</div>", "earlier"}));
}

TEST(WordHtmlCleanup, FootnoteAndEndnoteListsMoveTogether)
{
    CConversionState run;
    ManuscriptLines body = Lines({"body", "</div>", "<div style='mso-element:footnote-list'>", "fn", "</div>",
                                  "<div style='mso-element:endnote-list'>", "en", "</div>"});
    MoveNoteListToRun(run, body);
    EXPECT_EQ(Copied(body.Lines()), (LineList{"body"}));
    EXPECT_EQ(run.m_notes.size(), 7u);
}

TEST(WordHtmlCleanup, WithoutNoteListTheLinesAfterTheLastPageBreakMove)
{
    CConversionState run;
    const std::string pageBreak = "<br clear=all style='page-break-before:always'>";
    ManuscriptLines body = Lines({"a", pageBreak, "b", "</div>", "c"});
    MoveNoteListToRun(run, body);
    EXPECT_EQ(Copied(body.Lines()), (LineList{"a", pageBreak}));
    EXPECT_EQ(Copied(run.m_notes.Lines()), (LineList{"b", "</div>", "c"}));

    CConversionState again;
    ManuscriptLines unbroken = Lines({"a", "b"});
    MoveNoteListToRun(again, unbroken);
    EXPECT_TRUE(unbroken.empty());
    EXPECT_EQ(Copied(again.m_notes.Lines()), (LineList{"a", "b"}));
}

// Footnote marks

TEST(WordHtmlCleanup, WinHelpMarksGoAndTheTopicMarkStays)
{
    ManuscriptLines body = Lines({"K", "$", "#", "+", "A", "KK", " K", "a", ""});
    RemoveFootnoteMarks(body);
    EXPECT_EQ(Copied(body.Lines()), (LineList{"#", "KK", " K", "a", ""}));
}

// Build-tag, macro, window and comment marks go only from inside a note
// reference: body text may read "*" or "!". A "K" there leaves its note's id
// at the line after it.
TEST(WordHtmlCleanup, OtherMarksGoOnlyFromNoteReferencesAndKeywordMarksStay)
{
    const std::string anchor = "<a style='mso-endnote-id:edn2' href=\"#_edn2\">";
    ManuscriptLines body =
        Lines({"*", anchor, "<span lang=EN-US>", "*", "!", "&gt;", "@", "K", "#", "</span></a>", "!", "@"});
    RemoveFootnoteMarks(body);
    EXPECT_EQ(Copied(body.Lines()), (LineList{"*", anchor, "<span lang=EN-US>", "#", "</span></a>", "!", "@"}));
    ASSERT_EQ(body.Marks().size(), 1u);
    EXPECT_EQ(body.Marks()[0].line, 3u);
    EXPECT_EQ(body.Marks()[0].value, "edn2");
}

// Jump links

const std::string kHidden = "<span lang=EN-US style='display:none;mso-hide:all'>";

TEST(WordHtmlCleanup, DoubleUnderlinedHotspotBeforeHiddenTextIsAJump)
{
    const std::string text = J("ファイルを開く");
    EXPECT_EQ(Jumps({"<u style='text-underline:double'>", J("<span style='font-family:\"ＭＳ ゴシック\"'>"), text,
                     "</span></u>", kHidden, "IDH_FILE_OPEN", "</span>"}),
              (LineList{"<u style='text-underline:double'>", J("<span style='font-family:\"ＭＳ ゴシック\"'>"),
                        "[IDH_FILE_OPEN|" + text + "|]", "</span></u>", kHidden, "", "</span>"}));
}

// Word wraps a hotspot where it likes, single underline (a pop-up) too; a
// blank between hotspot and target belongs to neither.
TEST(WordHtmlCleanup, TheWholeUnderlinedRunIsTheHotspotWhereverWordBrokeIt)
{
    EXPECT_EQ(Jumps({"before", "<u>", J("ショートカット"), "</u>", "<u>", J("キー"), "</u>", "<span lang=EN-US>", " ",
                     "</span>", "<span style = 'display: none; mso-hide: all'>", "T", "</span>"}),
              (LineList{"before", "<u>", "[T|" + J("ショートカット"), "</u>", "<u>", J("キー") + "|]", "</u>",
                        "<span lang=EN-US>", " ", "</span>", "<span style = 'display: none; mso-hide: all'>", "",
                        "</span>"}));
}

// The templates give hotspots and targets character styles of their own.
TEST(WordHtmlCleanup, CharacterStylesMakeHotspotsAndHideTargetsSplitOrNot)
{
    const CharacterStyles styles =
        ReadCharacterStyles({"<style>", "<!--", "span.a", "\t{mso-style-name:Jump;", "\ttext-decoration:underline;",
                             "\ttext-underline:double;}", "span.a0, li.a0", "\t{display:none;", "\tmso-hide:all;}",
                             "span.a1", "\t{text-underline:single;}", "-->", "</style>"});
    EXPECT_EQ(Jumps({"<span class=a>", "Printing", "</span>", "<span class=a0>", " IDH_", "</span>", "<span class=a0>",
                     "PRINT&gt;main", "</span>", "<span class=a1>", "term", "</span>", "<span class=\"a0\">",
                     "GLOSSARY", "</span>"},
                    styles),
              (LineList{"<span class=a>", "[IDH_PRINT>main|Printing|]", "</span>", "<span class=a0>", "", "</span>",
                        "<span class=a0>", "", "</span>", "<span class=a1>", "[GLOSSARY|term|]", "</span>",
                        "<span class=\"a0\">", "", "</span>"}));
}

// Hidden text is no page's text whatever hides it; without a hotspot before
// it, as WinHelp reads it, it is no jump either; visible text between a
// hotspot and hidden text parts them.
TEST(WordHtmlCleanup, HiddenTextGoesAndMakesAJumpOnlyRightAfterAHotspot)
{
    EXPECT_EQ(Jumps({"go", kHidden, "P", "</span>", "<u>", "u", "</u>", "x", kHidden, "Q", "</span>", "after"}),
              (LineList{"go", kHidden, "", "</span>", "<u>", "u", "</u>", "x", kHidden, "", "</span>", "after"}));
    // A paragraph ends a hotspot.
    EXPECT_EQ(Jumps({"<u>", "u", "</u>", "</p>", "<p class=MsoNormal>", kHidden, "Q", "</span>"}),
              (LineList{"<u>", "u", "</u>", "</p>", "<p class=MsoNormal>", kHidden, "", "</span>"}));
}

TEST(WordHtmlCleanup, EachHiddenTargetEndsItsHotspot)
{
    EXPECT_EQ(Jumps({"<u style='text-underline:double'>", "A", "</u>", kHidden, "TA", "</span>", "<s>", "B", "</s>",
                     kHidden, "TB", "</span>"}),
              (LineList{"<u style='text-underline:double'>", "[TA|A|]", "</u>", kHidden, "", "</span>", "<s>",
                        "[TB|B|]", "</s>", kHidden, "", "</span>"}));
}

}  // namespace
}  // namespace zavio::test
