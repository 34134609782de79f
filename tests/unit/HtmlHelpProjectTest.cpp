#include <gtest/gtest.h>

#include <random>

#include "TestApp.h"
#include "TestPort.h"
#include "convert/ContentsEntry.h"
#include "convert/ConversionState.h"
#include "convert/HtmlHelpProject.h"
#include "framework/Cp932.h"
#include "framework/FileSystem.h"

namespace zavio::test {
namespace {

// Lines joined as they stand in a saved file.
std::string FileText(const std::vector<std::string>& utf8Lines)
{
    std::string out;
    for (const auto& line : utf8Lines) out += J(line) + "\r\n";
    return out;
}

class HtmlHelpProjectTest : public ::testing::Test {
protected:
    // A page written in the run, indexed as the driver does once its last page is written.
    void AddPage(std::string_view titleUtf8, std::string_view file)
    {
        m_run.m_saPageTitles.push_back(J(titleUtf8));
        m_run.m_saPageFiles.push_back(J(file));
        m_run.IndexPages();
    }

    std::vector<std::string> Tree(const std::vector<std::string>& utf8Lines)
    {
        LineList out;
        AppendHhcTreeFromCnt(m_run.Pages(), Cp932Lines(utf8Lines), out);
        return out;
    }

    static std::vector<std::string> Cp932Lines(const std::vector<std::string>& utf8Lines)
    {
        std::vector<std::string> out;
        for (const auto& line : utf8Lines) out.push_back(J(line));
        return out;
    }

    struct Match {
        std::string title, topic;
        int score = 0;
    };
    // Title and topic in CP932.
    Match Find(std::string title, std::string topic)
    {
        Match m{std::move(title), std::move(topic), 0};
        FindPageForTitle(m_run.Pages(), m.title, m.topic, m.score);
        return m;
    }

    std::string Folder(std::string_view name)
    {
        std::string folder = m_folder.Path() + J(name) + "/";
        MakeFolder(folder);
        return folder;
    }

    TempFolder m_folder;
    CConversionState m_run{ConversionKind::HtmlHelp};
    TestPort m_port;
};

TEST_F(HtmlHelpProjectTest, LevelIsTheFirstDigitAfterBlanksAndTabs)
{
    int level = 7;
    EXPECT_EQ(GetCntLevel("  3  Title=topic ", level), 2);
    EXPECT_EQ(level, 3);
    EXPECT_EQ(GetCntLevel("\t 9x", level), 2);
    EXPECT_EQ(level, 9);
    EXPECT_EQ(GetCntLevel("10 Ten", level), 0);  // only the one digit counts
    EXPECT_EQ(level, 1);

    for (const std::string& line :
         std::vector<std::string>{"", "   \t", "0 Zero", ":Base help.hlp", "x1", J("　1 wide blank"), J("表1")}) {
        level = 7;
        EXPECT_EQ(GetCntLevel(line, level), 0) << line;
        EXPECT_EQ(level, 7) << line;
    }
}

TEST_F(HtmlHelpProjectTest, EntryNamesAndTopicsAreTrimmedAsTheContentsFileIsRead)
{
    auto lines = Tree({"  3  Title=topic ", "1 Title =topic", "10 Ten", ":Title Old help", "", "\t"});
    EXPECT_EQ(lines, Cp932Lines({
                         "\t\t\t<UL>",
                         "\t\t\t\t<LI> <OBJECT type=\"text/sitemap\">",
                         "\t\t\t\t\t<param name=\"Name\" value=\"★Title\">",
                         "\t\t\t\t\t<param name=\"Local\" value=\"topic.htm\">",
                         "\t\t\t\t\t</OBJECT>",
                         "\t\t<LI> <OBJECT type=\"text/sitemap\">",
                         "\t\t\t<param name=\"Name\" value=\"★Title \">",
                         "\t\t\t<param name=\"Local\" value=\"topic.htm\">",
                         "\t\t\t</OBJECT>",
                         "\t<LI> <OBJECT type=\"text/sitemap\">",
                         "\t\t<param name=\"Name\" value=\"0 Ten\">",
                         "\t\t</OBJECT>",
                         "\t\t</UL>",
                     }));
}

TEST_F(HtmlHelpProjectTest, NamesAreTextAndQuotesInsideAValueCannotEndIt)
{
    AddPage("The \"Open\" command", "open");
    auto lines = Tree({"1 The \"Open\" command=open", "1 Zzzz=a\"b", "1 a <b> & c &amp; &#233; &#65; &copy;"});
    EXPECT_EQ(lines[2], J("\t\t\t<param name=\"Name\" value=\"The &quot;Open&quot; command\">"));
    EXPECT_EQ(lines[7], J("\t\t\t<param name=\"Local\" value=\"a&quot;b.htm\">"));
    // Text shows as written: only the references a title reader leaves (to a
    // character CP932 lacks, or a name it does not know) stay references.
    EXPECT_EQ(lines[10], "\t\t<param name=\"Name\" value=\"a &lt;b&gt; &amp; c &amp;amp; &#233; &amp;#65; &copy;\">");
}

TEST_F(HtmlHelpProjectTest, ListsOpenOnTheWayDownAndCloseOnlyWhatIsOpen)
{
    // Levels 1, 3, 2, 1: lists open at the 1 and the 3; the 2 closes nothing
    // because only two are open; the final 1 closes one; the end the last.
    auto lines = Tree({"1 A", "3 B", "2 C", "1 D"});
    EXPECT_EQ(lines, Cp932Lines({
                         "\t<UL>",
                         "\t<LI> <OBJECT type=\"text/sitemap\">",
                         "\t\t<param name=\"Name\" value=\"A\">",
                         "\t\t</OBJECT>",
                         "\t\t\t<UL>",
                         "\t\t\t<LI> <OBJECT type=\"text/sitemap\">",
                         "\t\t\t\t<param name=\"Name\" value=\"B\">",
                         "\t\t\t\t</OBJECT>",
                         "\t\t<LI> <OBJECT type=\"text/sitemap\">",
                         "\t\t\t<param name=\"Name\" value=\"C\">",
                         "\t\t\t</OBJECT>",
                         "\t</UL>",
                         "\t<LI> <OBJECT type=\"text/sitemap\">",
                         "\t\t<param name=\"Name\" value=\"D\">",
                         "\t\t</OBJECT>",
                         "\t\t</UL>",
                     }));
}

TEST_F(HtmlHelpProjectTest, TopicsLinkTheirPagesOneTabDeeperThanHeadings)
{
    AddPage("はじめに", "p1");
    AddPage("終わりに", "p9");
    auto lines = Tree({"1 Intro", "2 Start=p1", "1 End=p9"});
    EXPECT_EQ(lines, Cp932Lines({
                         "\t<UL>",
                         "\t<LI> <OBJECT type=\"text/sitemap\">",
                         "\t\t<param name=\"Name\" value=\"Intro\">",
                         "\t\t</OBJECT>",
                         "\t\t<UL>",
                         "\t\t\t<LI> <OBJECT type=\"text/sitemap\">",
                         "\t\t\t\t<param name=\"Name\" value=\"Start\">",
                         "\t\t\t\t<param name=\"Local\" value=\"p1.htm\">",
                         "\t\t\t\t</OBJECT>",
                         "\t</UL>",
                         "\t\t<LI> <OBJECT type=\"text/sitemap\">",
                         "\t\t\t<param name=\"Name\" value=\"End\">",
                         "\t\t\t<param name=\"Local\" value=\"p9.htm\">",
                         "\t\t\t</OBJECT>",
                         "\t\t</UL>",
                     }));
}

TEST_F(HtmlHelpProjectTest, DoubtfulMatchesAreMarkedAndNameTheirPage)
{
    AddPage("xbcx", "half");           // 'abcd' finds 'bc' of 'ab', 'bc': 50
    AddPage("Save the file", "save");  // 'Save a copy': 'Sa','av','ve','e ' of 9 probes: 44
    AddPage("Print", "print");         // 'Printing now' finds 'Pr','ri','in','nt' of 10: 40
    auto lines = Tree({"1 abcd=none", "1 Save a copy=x", "1 Pr=print2", "1 qqqq=none"});
    ASSERT_EQ(lines.size(), 18u);
    EXPECT_EQ(lines[2], J("\t\t\t<param name=\"Name\" value=\"abcd\">"));
    EXPECT_EQ(lines[3], J("\t\t\t<param name=\"Local\" value=\"half.htm\">"));
    EXPECT_EQ(lines[6], J("\t\t\t<param name=\"Name\" value=\"☆Save a copy ← Save the file\">"));
    EXPECT_EQ(lines[7], J("\t\t\t<param name=\"Local\" value=\"save.htm\">"));
    // Too short to probe, and nothing like it: own topic, unmatched mark.
    EXPECT_EQ(lines[10], J("\t\t\t<param name=\"Name\" value=\"★Pr\">"));
    EXPECT_EQ(lines[11], J("\t\t\t<param name=\"Local\" value=\"print2.htm\">"));
    EXPECT_EQ(lines[14], J("\t\t\t<param name=\"Name\" value=\"★qqqq\">"));
    EXPECT_EQ(lines[15], J("\t\t\t<param name=\"Local\" value=\"none.htm\">"));
}

TEST_F(HtmlHelpProjectTest, ExactTopicWinsWhateverTheTitle)
{
    AddPage("Other", "dup");
    AddPage("Second", "dup");
    Match m = Find("Completely different", "dup");
    EXPECT_EQ(m.title, "Other");  // the first page of that name
    EXPECT_EQ(m.topic, "dup");
    EXPECT_EQ(m.score, 100);
    // Case matters for file names.
    EXPECT_EQ(Find("zz", "DUP").score, 0);
}

TEST_F(HtmlHelpProjectTest, SimilarityCountsProbesButNotTheLastPair)
{
    AddPage("xbcx", "p");
    Match m = Find("abcd", "none");
    EXPECT_EQ(m.title, "xbcx");
    EXPECT_EQ(m.topic, "p");
    EXPECT_EQ(m.score, 50);
    // 'cd' would match, but the pair ending at the last byte is never probed.
    m_run.m_saPageTitles[0] = "cd";
    m_run.IndexPages();
    EXPECT_EQ(Find("abcd", "none").score, 0);
}

TEST_F(HtmlHelpProjectTest, TwoByteNamesNeverScoreAndTiesGoToTheFirstPage)
{
    AddPage("表", "one");
    Match m = Find(J("表"), "own");
    EXPECT_EQ(m.title, J("表"));
    EXPECT_EQ(m.topic, "own");
    EXPECT_EQ(m.score, 0);

    AddPage("abXX", "first");
    AddPage("abYY", "second");
    m = Find("abc", "none");
    EXPECT_EQ(m.topic, "first");
    EXPECT_EQ(m.score, 100);
}

TEST_F(HtmlHelpProjectTest, ProbesMatchOnlyWhereACharacterOfThePageTitleBegins)
{
    // The name's one probe 5C 95 stands in 表表 only from a trail byte on.
    const std::string name = "\\\x95\x79";
    AddPage("表表", "hyou");
    EXPECT_EQ(Find(name, "none").score, 0);
    // Where the backslash is a character of its own, the probe matches.
    m_run.m_saPageTitles[0] = "\\\x95\x79";
    m_run.IndexPages();
    EXPECT_EQ(Find(name, "none").score, 100);
}

TEST_F(HtmlHelpProjectTest, ProjectFileListsEveryPageAndKeepsABackup)
{
    AddPage("はじめに", "intro");
    AddPage("使い方", "usage");
    AddPage("表示", "view");
    std::string conv = Folder("conv");
    WriteFile(conv + "manual.hhp", "old project\r\n");

    WriteHtmlHelpProject(m_run, m_port, nullptr, conv + "manual.htm");

    EXPECT_EQ(m_run.m_strProjectName, "manual");
    EXPECT_EQ(ReadFile(conv + "manual.hhp"), FileText({
                                                 "[OPTIONS]",
                                                 "Compatibility=1.1 or later",
                                                 "Compiled file=manual.chm",
                                                 "Contents file=Table of Contents.hhc",
                                                 "Default topic=intro.htm",
                                                 "Display compile progress=No",
                                                 "Language=0x411 日本語",
                                                 "",
                                                 "",
                                                 "[FILES]",
                                                 "intro.htm",
                                                 "usage.htm",
                                                 "view.htm",
                                                 "",
                                                 "[INFOTYPES]",
                                             }));
    EXPECT_EQ(ReadFile(conv + "manual-Back.hhp"), "old project\r\n");
    EXPECT_EQ(ReadFile(conv + "Table of Contents.hhc"),
              FileText({
                  "<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML//EN\">",
                  "<HTML>",
                  "<HEAD>",
                  "<meta name=\"GENERATOR\" content=\"Microsoft&reg; HTML Help Workshop 4.1\">",
                  "<!-- Sitemap 1.0 -->",
                  "</HEAD><BODY>",
                  "<OBJECT type=\"text/site properties\">",
                  "\t<param name=\"ImageType\" value=\"Folder\">",
                  "</OBJECT>",
                  "\t<LI> <OBJECT type=\"text/sitemap\">",
                  "\t\t<param name=\"Name\" value=\"はじめに\">",
                  "\t\t<param name=\"Local\" value=\"intro.htm\">",
                  "\t\t</OBJECT>",
                  "\t<LI> <OBJECT type=\"text/sitemap\">",
                  "\t\t<param name=\"Name\" value=\"使い方\">",
                  "\t\t<param name=\"Local\" value=\"usage.htm\">",
                  "\t\t</OBJECT>",
                  "\t<LI> <OBJECT type=\"text/sitemap\">",
                  "\t\t<param name=\"Name\" value=\"表示\">",
                  "\t\t<param name=\"Local\" value=\"view.htm\">",
                  "\t\t</OBJECT>",
                  "</BODY></HTML>",
              }));
}

TEST_F(HtmlHelpProjectTest, ProjectIsNamedAfterTheContentsFileButWrittenBesideTheManuscript)
{
    AddPage("Start", "p1");
    std::string conv = Folder("conv");
    std::string other = Folder("other");
    const ContentsFile cnt{other + "My.Help.cnt", "My.Help", {":Base MyHelp.hlp", "1 Start=p1"}};

    WriteHtmlHelpProject(m_run, m_port, &cnt, conv + "manual.htm");

    EXPECT_EQ(m_run.m_strProjectName, "My");  // cut at the first dot
    std::string project = ReadFile(conv + "My.hhp");
    EXPECT_NE(project.find("\r\nCompiled file=My.chm\r\n"), std::string::npos);
    EXPECT_FALSE(FileExists(other + "My.hhp"));
    std::string sitemap = ReadFile(conv + "Table of Contents.hhc");
    EXPECT_NE(sitemap.find("</OBJECT>\r\n\t<UL>\r\n\t\t<LI> <OBJECT type=\"text/sitemap\">\r\n"
                           "\t\t\t<param name=\"Name\" value=\"Start\">\r\n"
                           "\t\t\t<param name=\"Local\" value=\"p1.htm\">\r\n\t\t\t</OBJECT>\r\n\t\t</UL>\r\n"
                           "</BODY></HTML>\r\n"),
              std::string::npos)
        << sitemap;
}

TEST_F(HtmlHelpProjectTest, WithoutPagesOrDotNothingIsMissedOrWritten)
{
    std::string conv = Folder("conv");
    WriteHtmlHelpProject(m_run, m_port, nullptr, conv + "manual.htm");
    std::string project = ReadFile(conv + "manual.hhp");
    EXPECT_NE(project.find("\r\nDefault topic=.htm\r\n"), std::string::npos);
    EXPECT_NE(project.find("\r\n[FILES]\r\n\r\n[INFOTYPES]\r\n"), std::string::npos);
    EXPECT_EQ(ReadFile(conv + "Table of Contents.hhc").substr(ReadFile(conv + "Table of Contents.hhc").size() - 27),
              "</OBJECT>\r\n</BODY></HTML>\r\n");

    std::string bare = Folder("bare");
    const std::size_t before = m_port.m_written.size();
    WriteHtmlHelpProject(m_run, m_port, nullptr, bare + "manual");
    EXPECT_EQ(m_run.m_strProjectName, "manual");
    EXPECT_EQ(m_port.m_written.size(), before);
    EXPECT_FALSE(FileExists(bare + "Table of Contents.hhc"));
    EXPECT_TRUE(m_port.m_messages.empty());
}

// The matching as written, one MbFind per probe and page, against which the
// indexed matcher is checked.
void ReferenceFind(const LineList& titles, const LineList& files, std::string& title, std::string& topic, int& score)
{
    for (std::size_t i = 0; i < titles.size(); ++i)
        if (files[i] == topic) {
            title = titles[i];
            score = 100;
            return;
        }
    const std::size_t n = title.size();
    if (n < 3) return;
    int best = 0;
    std::size_t chosen = titles.size();
    for (std::size_t i = 0; i < titles.size(); ++i) {
        int count = 0;
        for (std::size_t p = 0; p + 2 < n; ++p)
            if (MbContains(titles[i], std::string_view(title).substr(p, 2))) ++count;
        auto s = static_cast<unsigned short>(count * 100 / static_cast<int>(n - 2));
        if (s > best) {
            best = s;
            chosen = i;
        }
    }
    if (chosen == titles.size()) return;
    title = titles[chosen];
    topic = files[chosen];
    score = best;
}

TEST_F(HtmlHelpProjectTest, IndexedMatchingGivesTheProbeByProbeResult)
{
    // Pieces rich in trail bytes 5C and 7C, lone bytes that look like them,
    // half-width katakana and a lead byte that may end a string.
    const std::vector<std::string> pieces = {"a",        "b",        "\\",       "|",        "=",        " ",
                                             "\x95\x5C", "\x83\x5C", "\x83\x7C", "\x5C\x95", "\x82\xCC", "\xB1",
                                             "\xA5",     "\x81\x40", "\x95",     "\x83",     "ab",       "\x94\x5C"};
    std::mt19937 rng(20261207);
    auto randomText = [&](int maxPieces) {
        std::string s;
        int k = std::uniform_int_distribution<int>(0, maxPieces)(rng);
        for (int i = 0; i < k; ++i) s += pieces[rng() % pieces.size()];
        return s;
    };
    for (int round = 0; round < 40; ++round) {
        LineList titles, files;
        int pages = std::uniform_int_distribution<int>(0, 30)(rng);
        for (int i = 0; i < pages; ++i) {
            titles.push_back(randomText(6));
            files.push_back("f" + std::to_string(rng() % 20));
        }
        m_run.m_saPageTitles = titles;
        m_run.m_saPageFiles = files;
        m_run.IndexPages();
        for (int q = 0; q < 100; ++q) {
            // A page's own title too, the shape of most entries that lost their topic.
            std::string title = pages > 0 && q % 3 == 0 ? titles[rng() % titles.size()] : randomText(5);
            std::string topic = "f" + std::to_string(rng() % 40);
            std::string rTitle = title, rTopic = topic;
            int score = 0, rScore = 0;
            FindPageForTitle(m_run.Pages(), title, topic, score);
            ReferenceFind(titles, files, rTitle, rTopic, rScore);
            ASSERT_EQ(score, rScore) << "round " << round << " query " << q;
            ASSERT_EQ(title, rTitle);
            ASSERT_EQ(topic, rTopic);
        }
        // An index built again after a title changed answers for the new title.
        if (pages > 0) {
            m_run.m_saPageTitles[0] = "zzzz";
            m_run.IndexPages();
            std::string title = "zzzz", topic = "none";
            int score = 0;
            FindPageForTitle(m_run.Pages(), title, topic, score);
            EXPECT_EQ(score, 100);
            EXPECT_EQ(topic, files[0]);
        }
    }
}

}  // namespace
}  // namespace zavio::test
