// What a whole conversion leaves behind in the editor: which windows stay
// open, under which titles, and the final tiling; and a second conversion in
// the same run of the program.
#include <gtest/gtest.h>

#include "TestApp.h"
#include "WordManuscript.h"
#include "framework/Cp932.h"
#include "framework/FileSystem.h"
#include "res/CommandIds.h"

namespace zavio::test {
namespace {

const std::vector<WordTopic> kTopics = {
    {"t_one", "一つ目", "最初の話題です。", "二つ目", "t_two"},
    {"t_two", "二つ目", "次の話題です。"},
};

class ConversionEndStateTest : public AppTest {
protected:
    CZavioDoc* Open(const std::string& relativePath, const std::string& bytes)
    {
        const std::string path = m_folder.Path() + relativePath;
        for (std::size_t sep = path.find('/', m_folder.Path().size()); sep != std::string::npos;
             sep = path.find('/', sep + 1))
            MakeFolder(path.substr(0, sep));
        WriteFile(path, bytes);
        CZavioDoc* doc = m_app->CreateDocumentForPath(path);
        EXPECT_TRUE(doc && m_app->LoadFileIntoDocument(doc, path));
        return doc;
    }

    std::string At(const std::string& relativePath) const { return m_folder.Path() + relativePath; }

    std::vector<std::string> OpenTitles() const
    {
        std::vector<std::string> titles;
        for (CZavioDoc* doc : OpenDocuments()) titles.push_back(doc->GetTitle());
        return titles;
    }
};

TEST_F(ConversionEndStateTest, HpTypeLeavesTheListContentsPageAndNoteOpenAndTiled)
{
    Open("notes.txt", "memo\r\n");
    Open("conv/manual.htm", WordManuscript(kTopics));
    Open("conv/toc.cnt", J("1 一つ目=t_one\r\n1 二つ目=t_two\r\n"));
    m_host.m_tileCount = 0;
    m_host.QueueAnswer(IDYES);

    m_app->OnConvertHpType();

    // The manuscript's topics carry keywords: the index page stays open too.
    EXPECT_EQ(OpenTitles(),
              (std::vector<std::string>{At("notes.txt"), At("Finished/ListTitl.txt"), At("conv/toc.htm"),
                                        At("conv/Index.htm"), At(J("Finished/HP_type_Help_の組込.txt"))}));
    // Every new window re-tiles (two pages, list, contents page, index page,
    // note), and the end tiles what is left.
    EXPECT_EQ(m_host.m_tileCount, 7);
    EXPECT_TRUE(FileExists(At("conv/toc.htm")));
    EXPECT_TRUE(FileExists(At("Finished/toc.cnt")));
    EXPECT_FALSE(FileExists(At("conv/toc.cnt")));
}

// Word writes a Japanese paragraph without blanks on one line: 6,000
// characters are 12,000 bytes, and the page holds them all.
TEST_F(ConversionEndStateTest, LongParagraphReachesItsPageWhole)
{
    std::string paragraph;
    for (int i = 0; i < 1000; ++i) paragraph += "長い段落です。";
    Open("conv/manual.htm", WordManuscript({{"t_long", "長文", paragraph}}));
    m_host.QueueAnswer(IDYES);
    m_app->OnConvertHpType();
    EXPECT_NE(ReadFile(At("conv/t_long.htm")).find(J(paragraph)), std::string::npos);
    EXPECT_EQ(m_host.m_shown.size(), 1u);  // the question only
}

TEST_F(ConversionEndStateTest, HtmlHelpLeavesTheListProjectSitemapAndNoteOpen)
{
    Open("conv/manual.htm", WordManuscript(kTopics));
    m_host.m_tileCount = 0;

    m_app->OnConvertHtmlHelp();

    EXPECT_EQ(OpenTitles(), (std::vector<std::string>{At("Finished/ListTitl.txt"), At("conv/manual.hhp"),
                                                      At("conv/Table of Contents.hhc"), At("conv/Index.hhk"),
                                                      At(J("Finished/HTML_Help_の作成と組込.txt"))}));
    EXPECT_EQ(m_host.m_tileCount, 8);  // two pages, list, project, sitemap, index, note, and the end
    EXPECT_EQ(m_app->Conversion().m_strProjectName, "manual");
}

TEST_F(ConversionEndStateTest, SecondConversionInTheSameRunListsOnlyItsOwnPages)
{
    Open("first/manual.htm", WordManuscript(kTopics));
    m_app->OnConvertHtmlHelp();
    for (CZavioDoc* doc : OpenDocuments()) doc->OnCloseDocument();

    // Converted again into the same folder: the project keeps a backup.
    Open("first/manual.htm", WordManuscript({kTopics[1]}));
    m_app->OnConvertHtmlHelp();

    const std::string project = ReadFile(At("first/manual.hhp"));
    EXPECT_NE(project.find("\r\n[FILES]\r\nt_two.htm\r\n\r\n[INFOTYPES]\r\n"), std::string::npos) << project;
    EXPECT_NE(ReadFile(At("first/manual-Back.hhp")).find("[FILES]\r\nt_one.htm\r\nt_two.htm\r\n"), std::string::npos);
    EXPECT_TRUE(FileExists(At("first/Table of Contents-Back.hhc")));
    EXPECT_EQ(m_app->Conversion().m_saPageFiles, std::vector<std::string>{"t_two"});
}

// A topic named index keeps its page: the index page, which would replace
// it wherever letter case does not count, takes the next free name.
TEST_F(ConversionEndStateTest, IndexPageGivesWayToAPageOfTheSameName)
{
    Open("conv/manual.htm", WordManuscript({{"index", "索引の使い方", "索引を引きます。"}, kTopics[1]}));
    m_host.QueueAnswer(IDYES);

    m_app->OnConvertHpType();

    EXPECT_NE(ReadFile(At("conv/index.htm")).find(J("索引を引きます。")), std::string::npos);
    EXPECT_FALSE(FileExists(At("conv/Index.htm")));
    EXPECT_NE(ReadFile(At("conv/Index(2).htm")).find("<a href=\"index.htm\"> " + J("索引の使い方") + "</a>"),
              std::string::npos);
    EXPECT_NE(ReadFile(At("Finished/ListTitl.txt")).find(J("\r\n索引 ･･･ Index(2).htm\r\n")), std::string::npos);
}

// An index page larger than a window can hold is not written at all,
// rather than written empty; the rest of the help is.
TEST_F(ConversionEndStateTest, IndexPageTooLargeForItsWindowIsNotWritten)
{
    std::string keywords;
    for (int i = 0; i < 4000; ++i) keywords += "kw" + std::to_string(10000 + i) + ";";
    Open("conv/manual.htm", WordManuscript({{"t_one", keywords, "本文です。"}}));
    m_host.QueueAnswer(IDYES);

    m_app->OnConvertHpType();

    EXPECT_FALSE(FileExists(At("conv/Index.htm")));
    EXPECT_TRUE(FileExists(At("conv/t_one.htm")));
    EXPECT_TRUE(FileExists(At("conv/Contents.htm")));
    // The question, the window's refusal, then the file named as not written.
    ASSERT_EQ(m_host.m_shown.size(), 3u);
    EXPECT_EQ(m_host.m_shown[1].text, J("ファイルが大きすぎて開けません。"));
    EXPECT_EQ(m_app->Conversion().m_saNotWritten, std::vector<std::string>{At("conv/Index.htm")});
    EXPECT_EQ(ReadFile(At("Finished/ListTitl.txt")).find("Index"), std::string::npos);
}

// A project window converts the project: its files, open or not, stay where
// they are and as they are, and the output goes into a folder of its own.
TEST_F(ConversionEndStateTest, AnOpenProjectConvertsIntoItsOwnFolderAndStaysOpen)
{
    const std::string hpj = "[OPTIONS]\r\nTITLE=Tool Help\r\n\r\n[FILES]\r\ntool.rtf\r\n\r\n[MAP]\r\nIDH_MAIN=100\r\n";
    const std::string rtf = "{\\rtf1\\ansi #{\\footnote # IDH_MAIN}${\\footnote $ Main}Text.\\par}";
    Open("help/Tool.hpj", hpj);
    Open("help/tool.rtf", rtf);

    m_app->OnConvertHtmlHelp();

    EXPECT_EQ(OpenTitles(), (std::vector<std::string>{At("help/Tool.hpj"), At("help/tool.rtf"),
                                                      At("help/Tool-html/ListTitl.txt"), At("help/Tool-html/Tool.hhp"),
                                                      At("help/Tool-html/Table of Contents.hhc"),
                                                      At(J("help/Tool-html/HTML_Help_の作成と組込.txt"))}));
    EXPECT_EQ(ReadFile(At("help/Tool.hpj")), hpj);
    EXPECT_EQ(ReadFile(At("help/tool.rtf")), rtf);
    EXPECT_FALSE(FileExists(At("Finished")));
    EXPECT_NE(ReadFile(At("help/Tool-html/Tool.hhp")).find("[MAP]\r\n#define IDH_MAIN 100\r\n"), std::string::npos);
}

}  // namespace
}  // namespace zavio::test
