#include <gtest/gtest.h>

#include "TestApp.h"
#include "TestPort.h"
#include "convert/ContentsEntry.h"
#include "convert/ConversionState.h"
#include "convert/HomepageContents.h"
#include "framework/Cp932.h"
#include "framework/FileSystem.h"

namespace zavio::test {
namespace {

std::string FileText(const std::vector<std::string>& utf8Lines)
{
    std::string out;
    for (const auto& line : utf8Lines) out += J(line) + "\r\n";
    return out;
}

const char kSpacer1[] = "<p class=MsoNormal style='line-height:2.0pt'><span lang=EN-US";
const char kSpacer2[] =
    "style='font-size:2.0pt;font-family:\"ＭＳ ゴシック\"'><![if !supportEmptyParas]>&nbsp;<![endif]><o:p></o:p>"
    "</span></p>";
const char kTab[] = "<span style='mso-tab-count:1'>&nbsp;&nbsp;&nbsp;&nbsp;&nbsp; </span>";

class HomepageContentsTest : public ::testing::Test {
protected:
    HomepageContentsTest()
    {
        m_run.m_saHeaderLines = {J("<html>"), J("<head><title>マニュアル</title></head>"), J("<body>")};
        m_conv = m_folder.Path() + "conv/";
        MakeFolder(m_conv);
    }

    // A page written in the run, indexed as the driver does once its last page is written.
    void AddPage(std::string_view titleUtf8, std::string_view file)
    {
        m_run.m_saPageTitles.push_back(J(titleUtf8));
        m_run.m_saPageFiles.push_back(J(file));
        m_run.IndexPages();
    }

    static ContentsFile Contents(const std::vector<std::string>& utf8Lines)
    {
        ContentsFile cnt{"/conv/MyHelp.cnt", "MyHelp", {}};
        for (const std::string& line : utf8Lines) cnt.lines.push_back(J(line));
        return cnt;
    }

    TempFolder m_folder;
    CConversionState m_run;
    TestPort m_port;
    std::string m_conv;
};

const std::vector<std::string> kHeader = {"<html>", "<head><title>マニュアル</title></head>", "<body>"};

std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST_F(HomepageContentsTest, WithoutContentsFileEveryPageIsADoubleUnderlinedLink)
{
    AddPage("はじめに", "intro");
    AddPage("表示", "view");
    const std::string path = m_conv + "Contents.htm";

    WriteHomepageContents(m_run, m_port, nullptr, "Contents", path);

    std::vector<std::string> page = {
        "<p class=MsoNormal style='line-height:12.0pt'><span lang=EN-US",
        "style='font-size:12.0pt;font-family:\"ＭＳ ゴシック\"'><span style='mso-tab-count:1'>&nbsp;&nbsp;&nbsp;&nbsp;"
        "&nbsp; </span><u",
    };
    EXPECT_EQ(
        ReadFile(path),
        FileText(kHeader + page +
                 std::vector<std::string>{"style='text-underline:double'><a href=\"intro.htm\"> はじめに</a></u><span "
                                          "style='display:none;mso-hide:all'></span><o:p></o:p></span></p>",
                                          "", kSpacer1, kSpacer2, ""} +
                 page +
                 std::vector<std::string>{"style='text-underline:double'><a href=\"view.htm\"> 表示</a></u><span "
                                          "style='display:none;mso-hide:all'></span><o:p></o:p></span></p>",
                                          "", kSpacer1, kSpacer2, ""}));
}

TEST_F(HomepageContentsTest, EntriesAreIndentedByTabLinesAndHeadingsKeepTheirBlanks)
{
    AddPage("使い方", "usage");
    const ContentsFile cnt = Contents({":Base MyHelp.hlp", "1 Overview", "3 Usage=usage", "", "1 Lost=gone"});
    const std::string path = m_conv + "MyHelp.htm";

    WriteHomepageContents(m_run, m_port, &cnt, "MyHelp", path);

    EXPECT_EQ(ReadFile(path), FileText(kHeader + std::vector<std::string>{
                                                     "",
                                                     kSpacer1,
                                                     kSpacer2,
                                                     "",
                                                     " Overview",
                                                     "",
                                                     kSpacer1,
                                                     kSpacer2,
                                                     "",
                                                     kSpacer1,
                                                     kSpacer2,
                                                     "",
                                                     kTab,
                                                     kTab,
                                                     "<a href=\"usage.htm\"> Usage</a><span "
                                                     "lang=EN-US><o:p></o:p></span></span>",
                                                     kSpacer1,
                                                     kSpacer2,
                                                     "",
                                                     "<a href=\"gone.htm\"> ★Lost</a><span "
                                                     "lang=EN-US><o:p></o:p></span></span>",
                                                 }));
}

TEST_F(HomepageContentsTest, TopicIsLookedUpUntrimmed)
{
    // ' p1 ' is not the page file p1; the name 'Start ' finds its page by
    // likeness instead, and a name like no page keeps the topic as written.
    AddPage("Start here", "p1");
    LineList target;
    AppendContentsFromCnt(m_run.Pages(), Contents({"2 Start = p1 ", "1 Zzzz= p1 "}).lines, target);

    ASSERT_EQ(target.size(), 9u);
    EXPECT_EQ(target[4], J("<a href=\"p1.htm\"> Start </a><span lang=EN-US><o:p></o:p></span></span>"));
    EXPECT_EQ(target[8], J("<a href=\" p1 .htm\"> ★Zzzz</a><span lang=EN-US><o:p></o:p></span></span>"));
}

TEST_F(HomepageContentsTest, ExistingPageIsOverwrittenWithoutBackupAndEmptyContentsGiveTheHeaderOnly)
{
    const std::string path = m_conv + "Contents.htm";
    WriteFile(path, "old\r\n");
    const ContentsFile cnt = Contents({":Title Nothing", "", "0 none"});

    WriteHomepageContents(m_run, m_port, &cnt, "Contents", path);

    EXPECT_EQ(ReadFile(path), FileText(kHeader));
    EXPECT_FALSE(FileExists(m_conv + "Contents-Back.htm"));
}

}  // namespace
}  // namespace zavio::test
