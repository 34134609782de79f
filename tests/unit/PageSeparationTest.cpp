#include <fcntl.h>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "TestApp.h"
#include "TestPort.h"
#include "convert/ConversionState.h"
#include "convert/PageSeparation.h"
#include "convert/PagesAhead.h"
#include "framework/Cp932.h"
#include "framework/FileSystem.h"

namespace zavio::test {
namespace {

const std::string kHyou = "\x95\x5C";  // 表: trail byte 0x5C
const std::string kPo = "\x83\x7C";    // ポ: trail byte 0x7C

// The note-line list of one "#" footnote, one tag or text run per line.
LineList HashFootnote(const std::string& id, const std::string& topic)
{
    return {"<div style='mso-element:footnote' id=" + id + ">",
            "",
            "<p class=MsoFootnoteText><a style='mso-footnote-id:" + id + "' href=\"#_" + id + "ref\" name=\"_" + id +
                "\" title=\"\">",
            "<span class=MsoFootnoteReference><span lang=EN-US>",
            "#",
            "</span></span></a>",
            topic,
            "</p>",
            "",
            "</div>"};
}

// One page of a cleaned manuscript: its opening line (the body start or a
// page break), the title paragraph with the "#" footnote anchor, an empty
// paragraph, and the empty line that ends the page.
LineList PageLines(const std::string& opening, const std::string& id, const std::string& title)
{
    return {opening,
            "<p class=MsoNormal>",
            "<a style='mso-footnote-id:" + id + "' href=\"#_" + id + "\" name=\"_" + id + "ref\" title=\"\">",
            "<span class=MsoFootnoteReference><span lang=EN-US>",
            "#",
            "</span></span></a>",
            title,
            "</p>",
            "<p class=MsoNormal>",
            "&nbsp;",
            "</p>",
            ""};
}

const std::string kBodyStart = "<div class=Section1 style='layout-grid:18.0pt'>";
const std::string kPageBreak = "<br clear=all style='page-break-before:always'>";

class PageSeparationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        MakeFolder(At("conv"));
        MakeFolder(At("Finished"));
        m_run.m_saHeaderLines = {"<html>", "<body lang=JA>"};
        m_manuscript.source = {At("conv/manual.htm"), "manual", "htm"};
    }

    std::string At(const std::string& relativePath) const { return m_folder.Path() + relativePath; }

    void AddLines(const LineList& lines)
    {
        for (const std::string& line : lines) m_manuscript.body.Append(line);
    }

    void AddPage(const std::string& id, const std::string& topic, const std::string& title)
    {
        AddLines(PageLines(m_manuscript.body.empty() ? kBodyStart : kPageBreak, id, title));
        for (const std::string& line : HashFootnote(id, topic)) m_run.m_notes.Append(line);
    }

    // The steps a run takes for its manuscripts, for this one alone.
    int Separate(const std::string& finished = "Finished/")
    {
        std::vector<SeparatedManuscript> all(1);
        SeparatePages(m_run, "toc", m_manuscript, all[0]);
        NamePages(m_run, m_port, all, At(finished));
        MakePageFiles(m_run, TopicTable(m_run, all), all[0]);
        const int written = WritePages(m_run, m_port, all[0], m_list);
        m_run.SettlePageLists();
        return written;
    }

    // A file of the run's sources, at its place in the conversion folder.
    void AddSource(const std::string& name, const std::string& bytes)
    {
        WriteFile(At("conv/" + name), bytes);
        RunSource source;
        source.openedPath = source.path = At("conv/" + name);
        source.finishedName = name;
        m_run.m_sources.push_back(source);
    }

    // What a page file holds: header, contents link (HP type), body start,
    // then the page's lines with the page break and the "#" mark gone, as
    // one line, as no source line break stood between them.
    // The first page opens with the body start twice.
    std::string ExpectedPage(const std::string& id, const std::string& title, bool contentsLink, bool firstPage) const
    {
        LineList lines = m_run.m_saHeaderLines;
        if (contentsLink) {
            lines.push_back("<p class=MsoNormal style='line-height:12.0pt'><span style='font-size:12.0pt;");
            lines.push_back(
                J("font-family:\"ＭＳ ゴシック\"'><a href=\"toc.htm\">目次</a><span "
                  "lang=EN-US><o:p></o:p></span></span></p></p>"));
        }
        LineList page = PageLines(kBodyStart, id, title);
        page[4].clear();
        std::string bytes;
        for (const std::string& line : lines) bytes += line + "\r\n";
        bytes += kBodyStart;
        if (firstPage) bytes += kBodyStart;
        for (auto line = page.begin() + 1; line != page.end(); ++line) bytes += *line;
        return bytes + "\r\n";
    }

    TempFolder m_folder;
    CConversionState m_run{ConversionKind::HtmlHelp};
    TestPort m_port;
    Manuscript m_manuscript;
    LineList m_list;
};

TEST_F(PageSeparationTest, ThreePagesBecomeThreeFilesListedInReadingOrder)
{
    AddPage("ftn1", "t1", "First");
    AddPage("ftn2", "t2", "Second");
    AddPage("ftn3", "t3", "Third");
    m_run.m_saPageFiles = {"older"};
    m_run.m_saPageTitles = {"Older"};

    EXPECT_EQ(Separate(), 3);
    EXPECT_EQ(m_run.m_saPageFiles, (LineList{"t1", "t2", "t3", "older"}));
    EXPECT_EQ(m_run.m_saPageTitles, (LineList{"First", "Second", "Third", "Older"}));
    EXPECT_EQ(ReadFile(At("conv/t1.htm")), ExpectedPage("ftn1", "First", false, true));
    EXPECT_EQ(ReadFile(At("conv/t3.htm")), ExpectedPage("ftn3", "Third", false, false));
    EXPECT_EQ(m_list, (LineList{"", "///// Separated from manual.htm : 3 pages", J("First ･･･ t1.htm"),
                                J("Second ･･･ t2.htm"), J("Third ･･･ t3.htm")}));
    EXPECT_TRUE(m_manuscript.body.empty());
}

TEST_F(PageSeparationTest, HpTypePagesLinkBackToTheContentsPage)
{
    m_run.m_kind = ConversionKind::HpType;
    AddPage("ftn1", "only", "Only");
    EXPECT_EQ(Separate(), 1);
    EXPECT_EQ(ReadFile(At("conv/only.htm")), ExpectedPage("ftn1", "Only", true, true));
}

TEST_F(PageSeparationTest, APageWithoutHashFootnoteIsDropped)
{
    AddPage("ftn1", "t1", "First");
    // A second page whose anchor has no "#" mark: no note reference.
    LineList page = PageLines(kPageBreak, "ftn2", "Loose");
    page[4] = "K";
    AddLines(page);

    EXPECT_EQ(Separate(), 1);
    EXPECT_EQ(m_run.m_saPageFiles, LineList{"t1"});
    EXPECT_EQ(m_list.size(), 3u);
    EXPECT_EQ(m_list[1], "///// Separated from manual.htm : 1 pages");
}

TEST_F(PageSeparationTest, AnEmptyManuscriptCountsNoPage)
{
    EXPECT_EQ(Separate(), 0);
    EXPECT_EQ(m_list, (LineList{"", "///// Separated from manual.htm : 0 pages"}));
}

TEST_F(PageSeparationTest, TheListShowsThirtyBytesOfALongTitle)
{
    // 15 double-byte characters, then more: the cut falls after the 15th.
    std::string title = J("あいうえおかきくけこさしすせそたち");
    AddPage("ftn1", "long", title);
    Separate();
    EXPECT_EQ(m_run.m_saPageTitles, LineList{title});
    EXPECT_EQ(m_list[2], title.substr(0, 30) + J(" ･･･ long.htm"));
    // A cut never splits a double-byte character: the one that would cross
    // byte 30 is left out whole.
    std::string odd = "x" + J("あいうえおかきくけこさしすせそ");
    EXPECT_EQ(odd.size(), 31u);
    AddPage("ftn2", "odd", odd);
    Separate();
    EXPECT_EQ(m_list[2], odd.substr(0, 29) + J(" ･･･ odd.htm"));
}

TEST_F(PageSeparationTest, APageNamedLikeItsManuscriptMovesItFirstAndTwinsTakeFreeNames)
{
    const std::string source = "<html>original manuscript</html>\r\n";
    AddSource("manual.htm", source);
    AddPage("ftn1", "manual", "Manual");
    AddPage("ftn2", "manual", "Again");

    EXPECT_EQ(Separate(), 2);
    EXPECT_EQ(ReadFile(At("Finished/manual.htm")), source);
    // Pages are written from the end: the first written keeps the name.
    EXPECT_EQ(ReadFile(At("conv/manual.htm")), ExpectedPage("ftn2", "Again", false, false));
    EXPECT_EQ(ReadFile(At("conv/manual(2).htm")), ExpectedPage("ftn1", "Manual", false, true));
    const std::string said =
        J("ページ「Manual」のページ名 manual は別のページと同じため、manual(2).htm に書き出しました");
    EXPECT_EQ(m_port.m_messages.back(), DecodeCp932Lossless(said));
    EXPECT_EQ(m_list, (LineList{"", "///// Separated from manual.htm : 2 pages", J("Manual ･･･ manual(2).htm"),
                                "///// " + said, J("Again ･･･ manual.htm")}));
    EXPECT_EQ(m_run.m_saPageFiles, (LineList{"manual(2)", "manual"}));
    EXPECT_TRUE(m_run.m_saNotWritten.empty());
}

TEST_F(PageSeparationTest, APageNamedLikeAnotherSourceMovesThatOneFirst)
{
    AddSource("intro.htm", "intro source");
    AddPage("ftn1", "intro", "Intro");
    Separate();
    EXPECT_EQ(ReadFile(At("Finished/intro.htm")), "intro source");
    EXPECT_EQ(ReadFile(At("conv/intro.htm")), ExpectedPage("ftn1", "Intro", false, true));
    EXPECT_EQ(m_run.m_sources[0].path, At("Finished/intro.htm"));
}

TEST_F(PageSeparationTest, AFileLeftWhereAPageGoesIsWrittenOverNotMovedToFinished)
{
    WriteFile(At("conv/t1.htm"), "a page of an earlier conversion");
    WriteFile(At("Finished/t1.htm"), "kept");
    AddPage("ftn1", "t1", "First");
    Separate();
    EXPECT_EQ(ReadFile(At("conv/t1.htm")), ExpectedPage("ftn1", "First", false, true));
    EXPECT_EQ(ReadFile(At("Finished/t1.htm")), "kept");
}

TEST_F(PageSeparationTest, ASourceThatCannotMoveKeepsItsPlaceAndThePageTakesAFreeName)
{
    AddSource("manual.htm", "source");
    AddPage("ftn1", "manual", "Manual");
    Separate("NoSuchFolder/");
    EXPECT_EQ(ReadFile(At("conv/manual.htm")), "source");
    EXPECT_EQ(ReadFile(At("conv/manual(2).htm")), ExpectedPage("ftn1", "Manual", false, true));
    EXPECT_EQ(m_port.m_messages,
              (std::vector<std::string>{
                  DecodeCp932Lossless(At("conv/manual.htm")) +
                      " を Finished フォルダに移動できませんでした\nファイルまたはフォルダが見つかりません。",
                  "ページ「Manual」のページ名 manual は変換元のファイルと同じため、manual(2).htm に書き出しました"}));
    EXPECT_EQ(m_run.m_saNotWritten, LineList{At("conv/manual.htm")});
    EXPECT_EQ(m_run.m_saPageFiles, LineList{"manual(2)"});
}

// The helper and the writer never both take a page: the writer gets what
// the helper wrote, waiting while it writes, and nothing where it came first.
TEST(PagesAhead, EachPageIsTakenOnceAndTheWriterGetsWhatTheHelperWrote)
{
    PagesAhead pages(3);
    EXPECT_FALSE(pages.TakeForWriting(0));
    EXPECT_FALSE(pages.TakeAhead(0));
    ASSERT_TRUE(pages.TakeAhead(2));
    EXPECT_FALSE(pages.TakeAhead(2));
    std::thread helper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        pages.Prepared(2, PreparedFile(::open("/dev/null", O_WRONLY | O_CLOEXEC)));
    });
    EXPECT_FALSE(pages.TakeForWriting(1));
    std::optional<PreparedFile> file = pages.TakeForWriting(2);
    helper.join();
    ASSERT_TRUE(file);
    EXPECT_GE(file->Release(), 0);
    EXPECT_EQ(pages.Held(), 0u);

    // A helper held back by the files it holds goes on once stopped.
    PagesAhead held(1);
    ASSERT_TRUE(held.TakeAhead(0));
    held.Prepared(0, PreparedFile(::open("/dev/null", O_WRONLY | O_CLOEXEC)));
    std::thread waiting([&] { held.WaitForRoom(1); });
    held.Stop();
    waiting.join();
}

}  // namespace
}  // namespace zavio::test
