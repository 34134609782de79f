#include <gtest/gtest.h>

#include <algorithm>

#include "Lines.h"
#include "TestApp.h"
#include "WordManuscript.h"
#include "convert/ConversionState.h"
#include "convert/PageExtraction.h"
#include "convert/WordHtmlCleanup.h"
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

ManuscriptLines Page(const LineList& lines = {})
{
    ManuscriptLines out;
    for (const std::string& line : lines) out.Append(line);
    return out;
}

// The page's opening lines

TEST(PageExtraction, HeaderLinesAreAppended)
{
    CConversionState run;
    run.m_saHeaderLines = {"<html>", J("<title>表</title>")};
    LineList page = {"x"};
    AppendHeaderLines(run, page);
    EXPECT_EQ(page, (LineList{"x", "<html>", J("<title>表</title>")}));
}

TEST(PageExtraction, ContentsLinkIsAParagraphOfTwoLines)
{
    LineList page;
    AppendContentsLink(page, kSo + kPo);
    EXPECT_EQ(page, (LineList{"<p class=MsoNormal style='line-height:12.0pt'><span style='font-size:12.0pt;",
                              J("font-family:\"ＭＳ ゴシック\"'><a href=\"") + kSo + kPo +
                                  J(".htm\">目次</a><span lang=EN-US><o:p></o:p></span></span></p></p>")}));
}

// Taking pages

TEST(PageExtraction, EmptyManuscriptGivesNoPage)
{
    ManuscriptLines page = Page({"<html>"});
    ManuscriptLines empty;
    std::string note, title;
    EXPECT_FALSE(TakeLastPage(empty, page, note, title));
    EXPECT_EQ(Copied(page.Lines()), (LineList{"<html>"}));
    EXPECT_EQ(note, "");
    EXPECT_EQ(title, "");
}

TEST(PageExtraction, PagesComeOffTheEndWithNoteAndTitle)
{
    const LineList m = TwoPages();
    ManuscriptLines manuscript = Page(m);
    const LineList header = {"<html>", "<body>"};

    ManuscriptLines last = Page(header);
    std::string note, title;
    EXPECT_TRUE(TakeLastPage(manuscript, last, note, title));
    EXPECT_EQ(note, "ftn2");
    EXPECT_EQ(title, J("ソフト"));
    // The break and the empty lines before the anchor's paragraph are dropped,
    // the mark is cleared and the body's opening div leads the page.
    EXPECT_EQ(Copied(last.Lines()), Concat({header, {kBodyStart}, Lines(m, 17, 20), {""}, Lines(m, 22, 28)}));
    EXPECT_EQ(Copied(manuscript.Lines()), Lines(m, 0, 13));

    ManuscriptLines first = Page(header);
    note.clear();
    title.clear();
    EXPECT_FALSE(TakeLastPage(manuscript, first, note, title));
    EXPECT_EQ(note, "ftn1");
    EXPECT_EQ(title, J("表示"));
    EXPECT_EQ(Copied(first.Lines()), Concat({header, {kBodyStart}, Lines(m, 0, 4), {""}, Lines(m, 6, 13)}));
    EXPECT_TRUE(manuscript.Lines().empty());

    ManuscriptLines none = Page();
    EXPECT_FALSE(TakeLastPage(manuscript, none, note, title));
    EXPECT_TRUE(none.Lines().empty());
}

TEST(PageExtraction, PageBreakIsFoundWithBlanksInsideButNotInText)
{
    ManuscriptLines manuscript = Page({kBodyStart, "a", "<br clear=all style='page-break-before: always'>", "b",
                                       "text page-break-before:always'", "c"});
    ManuscriptLines page = Page();
    std::string note, title;
    EXPECT_TRUE(TakeLastPage(manuscript, page, note, title));
    EXPECT_EQ(Copied(manuscript.Lines()), (LineList{kBodyStart, "a"}));
}

TEST(PageExtraction, SectionBreakOpensAPageAndLaterSectionsAreNoFirstPage)
{
    ManuscriptLines manuscript =
        Page({kBodyStart, "a", "</div>", "<span lang=EN-US style='font-size:10.5pt'>",
              "<br clear=all style='page-break-before:always; mso-break-type:section-break'>", "</span>", "",
              "<div class=Section10 style='layout-grid:18.0pt'>", "", "<p class=MsoNormal>", FootnoteAnchor(9),
              "<span>", "#", "</span></a>", J("十"), "</p>", ""});
    ManuscriptLines page = Page();
    std::string note, title;
    EXPECT_TRUE(TakeLastPage(manuscript, page, note, title));
    EXPECT_EQ(note, "ftn9");
    EXPECT_EQ(title, J("十"));
    // The section's own div goes with the break, before the anchor's paragraph.
    EXPECT_EQ(page.Lines()[1], "<p class=MsoNormal>");
    EXPECT_EQ(manuscript.Lines().size(), 4u);
}

TEST(PageExtraction, ManuscriptWithoutBodyStartOrBreakIsOnePageWithoutNote)
{
    ManuscriptLines manuscript = Page({"<p>", "#", "x", ""});
    ManuscriptLines page = Page();
    std::string note, title;
    EXPECT_TRUE(TakeLastPage(manuscript, page, note, title));
    EXPECT_EQ(note, "");
    // No opening div to copy: an empty line leads the page; "#" is not looked for.
    EXPECT_EQ(Copied(page.Lines()), (LineList{"", "<p>", "#", "x", ""}));
    ManuscriptLines next;
    EXPECT_FALSE(TakeLastPage(manuscript, next, note, title));
}

TEST(PageExtraction, WordSectionNameOpensTheFirstPage)
{
    ManuscriptLines manuscript = Page({"<div class=WordSection1>", "<p>", "x", "</p>", ""});
    ManuscriptLines page = Page();
    std::string note, title;
    EXPECT_FALSE(TakeLastPage(manuscript, page, note, title));
    EXPECT_EQ(page.Lines()[0], "<div class=WordSection1>");
    EXPECT_EQ(page.Lines()[1], "<div class=WordSection1>");
}

// The topic footnote

TEST(PageExtraction, EndnoteAnchorGivesTheReference)
{
    ManuscriptLines page =
        Page({"copy", "<a style='mso-endnote-id:edn3' href=\"#_edn3\" name=\"_ednref3\" title=\"\">", "<span>", "#"});
    std::string note;
    FindNoteReference(page, 1, note, false);
    EXPECT_EQ(note, "edn3");
    EXPECT_EQ(page.Lines()[3], "");
}

// Seven marks before "#" put it far beyond the page's first lines; a "#" is a
// mark only inside a reference, and the first one names the page.
TEST(PageExtraction, MarkIsFoundHoweverManyAnchorsPrecedeIt)
{
    LineList lines = {"<p class=MsoNormal>"};
    for (int n = 1; n <= 8; ++n) {
        for (const std::string& line :
             {FootnoteAnchor(n), std::string("<span class=MsoFootnoteReference>"), std::string("<span lang=EN-US>"),
              std::string(n == 8 ? "#" : "*"), std::string("</span></span></a>"), std::string("&nbsp;")})
            lines.push_back(line);
    }
    lines.insert(lines.end(), {J("題"), "</p>", "#", FootnoteAnchor(9), "<span>", "#", "</span></a>"});
    ManuscriptLines page = Page(lines);
    std::string note;
    FindNoteReference(page, 0, note, false);
    EXPECT_EQ(note, "ftn8");
    const LineList after = Copied(page.Lines());
    EXPECT_EQ(after[8 * 6 - 2], "");
    // Body text "#" stays; a later "#" footnote (another name of the topic) goes.
    EXPECT_EQ(after[after.size() - 5], "#");
    EXPECT_EQ(after[after.size() - 2], "");
}

TEST(PageExtraction, FootnotesAfterTheTitleStillNameThePage)
{
    ManuscriptLines page = Page({"<p>", J("題"), FootnoteAnchor(1), "<span>", "#", "</span></a>", "</p>"});
    std::string note;
    FindNoteReference(page, 0, note, false);
    EXPECT_EQ(note, "ftn1");
    EXPECT_EQ(page.Lines()[4], "");
}

TEST(PageExtraction, LeadingLinesAfterABreakAreDroppedAtMostFifty)
{
    LineList lines = {"h", kPageBreak};
    for (int i = 0; i < 200; ++i) lines.push_back("");
    lines.push_back(FootnoteAnchor(1));
    lines.push_back("#");
    ManuscriptLines page = Page(lines);
    std::string note;
    FindNoteReference(page, 1, note, true);
    EXPECT_EQ(page.Lines().size(), lines.size() - 50);
    EXPECT_EQ(note, "ftn1");  // empty lines show nothing: the anchor still leads the page
}

TEST(PageExtraction, DroppingStopsWhenThePassesMeetTheShrinkingEnd)
{
    // Pass r runs while page start + r is below the current count.
    ManuscriptLines page = Page({"h", kPageBreak, "", "", "", "x"});
    std::string note;
    FindNoteReference(page, 1, note, true);
    EXPECT_EQ(Copied(page.Lines()), (LineList{"h", "", "", "x"}));
}

TEST(PageExtraction, AnchorTagSplitAcrossTwoLinesStopsTheDropping)
{
    ManuscriptLines page =
        Page({"h", kPageBreak, "", "<a style='mso-foot", "note-id:ftn4' href=\"#_ftn4\">", "#", "x", "x", "x"});
    std::string note;
    FindNoteReference(page, 1, note, true);
    EXPECT_EQ(Copied(page.Lines()),
              (LineList{"h", "<a style='mso-foot", "note-id:ftn4' href=\"#_ftn4\">", "#", "x", "x", "x"}));
    EXPECT_EQ(note, "");  // no line holds the whole anchor: the "#" is no mark
}

// The page's tail

TEST(PageExtraction, LooseTailLosesOnlyOpeningTags)
{
    const auto trimmed = [&](LineList lines) {
        ManuscriptLines page = Page(lines);
        TrimPageTail(page);
        return Copied(page.Lines());
    };
    // A table near the end keeps its end and the paragraph after it.
    const LineList table = {"<table>", "<tr>", "<td>", "a", "</td></tr>", "</table>", "<p class=MsoNormal>",
                            J("終"),   "</p>"};
    EXPECT_EQ(trimmed(table), table);
    EXPECT_EQ(trimmed({"p", "</p>", "", "<span style='font-size:10.5pt'>"}), (LineList{"p", "</p>", ""}));
    EXPECT_EQ(trimmed({"x", "<b>", "<i>", "<u>", "<s>"}), LineList{"x"});
    for (const LineList& kept : {LineList{"p", "<span lang=EN-US style='x'>"}, LineList{"p", "<![endif]>"},
                                 LineList{"p", "1", "2", "3", "4", "5"}, LineList{"<p>", "</span></p>"}})
        EXPECT_EQ(trimmed(kept), kept);
}

// The title, from Word's source lines through the splitting into lines

TEST(PageExtraction, TitleIsTheTextOfTheFirstParagraphThatShowsAny)
{
    const auto title = [&](LineList body) {
        Manuscript manuscript{{}, {kBodyStart, ""}, {}};
        manuscript.sourceLines.insert(manuscript.sourceLines.end(), body.begin(), body.end());
        SplitTagsIntoLines(manuscript);
        RemoveFootnoteMarks(manuscript.body);
        ConvertJumpLinks(manuscript.body, {});
        ManuscriptLines page;
        std::string note, text;
        TakeLastPage(manuscript.body, page, note, text);
        return text;
    };
    // Marks in a paragraph of their own, an empty paragraph, then a heading.
    EXPECT_EQ(title({"<p class=MsoNormal><a style='mso-footnote-id:ftn1'><span lang=EN-US>*</span></a></p>", "",
                     "<p class=MsoNormal><![if !supportEmptyParas]>&nbsp;<![endif]><o:p></o:p></p>", "",
                     J("<h1><b><span style='font-size:12.0pt'>レコードの編集</span></b><span"),
                     "lang=EN-US><o:p></o:p></span></h1>", "", J("<p class=MsoNormal>本文</p>")}),
              J("レコードの編集"));
    // Marks and title in one paragraph, the body right after it; Word wrapped
    // the title at its blank.
    EXPECT_EQ(title({"<p class=MsoNormal><a", "style='mso-footnote-id:ftn1' href=\"#_ftn1\"><span",
                     "lang=EN-US>#</span></a><b>Registering", "Your Copy</b></p>", J("<p class=MsoNormal>本文</p>")}),
              "Registering Your Copy");
    // Word wrapped at the blank of a blank's own run, right beside its tags.
    EXPECT_EQ(title({J("<p class=MsoNormal>ツール<span lang=EN-US>"), J("</span>バー</p>")}), J("ツール バー"));
    EXPECT_EQ(title({J("<p class=MsoNormal>ツール<span lang=EN-US> </span>バー</p>")}), J("ツール バー"));
    EXPECT_EQ(title({"<p class=MsoNormal>Using <i>the</i>&nbsp;&nbsp;Toolbar </p>"}), "Using the Toolbar");
    // References are decoded; one to a character CP932 lacks stays as written.
    EXPECT_EQ(title({"<p class=MsoNormal>a &lt;b&gt; &amp; &#233;&#x8868;&quot;</p>"}),
              "a <b> & &#233;" + kHyou + "\"");
    // A paragraph that never ends gives the text to the end of the page.
    EXPECT_EQ(title({"<p class=MsoNormal>open", "end"}), "open end");
}

// A Word manuscript through every stage

TEST(PageExtraction, WordManuscriptThroughTheStages)
{
    CConversionState run;
    Manuscript manuscript;
    LoadHtmlSource(manuscript, {WordManuscript({{"IDH_START", "はじめに", "最初のページ。"},
                                                {"IDH_ソフト", "表示", "表示の説明。", "はじめに", "IDH_START"},
                                                {"IDH_END", "終わり", "最後のページ。", "ソフト", "IDH_ソフト"}}),
                                TextEncoding::Cp932});
    ASSERT_TRUE(SplitOffWordHeader(run, manuscript));
    EXPECT_EQ(run.m_saHeaderLines.back(), "");
    EXPECT_EQ(run.m_saHeaderLines.size(), 46u);
    CleanUpBody(run, manuscript);
    EXPECT_EQ(run.m_notes[0], "</div>");
    EXPECT_EQ(run.m_notes[2], "<div style='mso-element:footnote-list'>");

    struct Expected {
        bool more;
        const char* note;
        const char* title;
        const char* jumpText;  // the hotspot's one line, and the target it names
        const char* target;
    };
    const Expected pages[] = {
        {true, "ftn7", "終わり", "ソフト", "IDH_ソフト"},
        {true, "ftn4", "表示", "はじめに", "IDH_START"},
        {false, "ftn1", "はじめに", nullptr, nullptr},
    };
    for (const Expected& expected : pages) {
        ManuscriptLines page;
        std::string note, title;
        EXPECT_EQ(TakeLastPage(manuscript.body, page, note, title), expected.more);
        EXPECT_EQ(note, expected.note);
        EXPECT_EQ(title, J(expected.title));
        const LineList lines = Copied(page.Lines());
        EXPECT_EQ(lines[0], kBodyStart);
        EXPECT_EQ(lines[1], expected.more ? "<p class=MsoNormal>" : kBodyStart);
        for (const char* mark : {"#", "$", "K"}) EXPECT_EQ(std::count(lines.begin(), lines.end(), mark), 0) << mark;
        // The jump came with its lines, marked at its hotspot.
        std::vector<std::string> jumps;
        for (const LineMark& mark : page.Marks())
            if (mark.kind == MarkKind::LinkStart) jumps.push_back(lines[mark.line] + " > " + mark.value);
        EXPECT_EQ(jumps, expected.target ? std::vector<std::string>{J(expected.jumpText) + " > " + J(expected.target)}
                                         : std::vector<std::string>{});
        // The hidden topic names are gone from the page.
        EXPECT_EQ(std::count(lines.begin(), lines.end(), "IDH_START"), 0);
        EXPECT_EQ(std::count(lines.begin(), lines.end(), J("IDH_ソフト")), 0);
    }
    EXPECT_TRUE(manuscript.body.empty());
}

}  // namespace
}  // namespace zavio::test
