#include <gtest/gtest.h>

#include "TestApp.h"
#include "WordManuscript.h"
#include "convert/ConversionDriver.h"
#include "framework/Cp932.h"
#include "framework/FileSystem.h"
#include "framework/Path.h"
#include "res/CommandIds.h"

namespace zavio::test {
namespace {

const std::string kHyou = "\x95\x5C";  // 表: trail byte 0x5C
const std::string kSo = "\x83\x5C";    // ソ: trail byte 0x5C

const char* const kHtmlHelpQuestion = "HTML Help のプロジェクトを生成します。";
const char* const kHpTypeQuestion =
    "目次つきホームページタイプのヘルプを生成します。\n\n"
    "ヘッダーを簡易化して行間が異常に広いなどの不具合が起きた場合は\n"
    "[ いいえ ] を選択してください。\n\n"
    "ヘッダーを簡易化しますか？";
const char* const kNoManuscript = "原稿のHTMLファイルが開いていません";

// A manuscript that Word wrote, without any topic: it yields no page and
// stays where it is.
const std::string kEmptyManuscript =
    "<html>\r\n<head>\r\n<title>m</title>\r\n</head>\r\n<body lang=JA>\r\n"
    "<div class=Section1 style='layout-grid:18.0pt'>\r\n\r\n<p class=MsoNormal>text</p>\r\n\r\n</div>\r\n"
    "</body>\r\n</html>\r\n";
// A manuscript of one topic, named `context`.
std::string OneTopic(const std::string& context)
{
    return WordManuscript({{context, "題名", "本文です。"}});
}
const std::string kNoBodyManuscript = "<html>\r\n<head>\r\n</head>\r\n<body>\r\n<p>text</p>\r\n</body>\r\n</html>\r\n";

class ConversionDriverTest : public AppTest {
protected:
    // Writes a file below the test folder and opens it as the Open command does.
    CZavioDoc* Open(const std::string& relativePath, const std::string& bytes)
    {
        std::string path = m_folder.Path() + relativePath;
        MakeFoldersFor(path);
        WriteFile(path, bytes);
        CZavioDoc* doc = m_app->CreateDocumentForPath(path);
        EXPECT_NE(doc, nullptr);
        EXPECT_TRUE(m_app->LoadFileIntoDocument(doc, path));
        return doc;
    }

    void MakeFoldersFor(const std::string& path)
    {
        std::string folder = m_folder.Path();
        std::size_t start = folder.size();
        for (std::size_t sep = path.find('/', start); sep != std::string::npos; sep = path.find('/', sep + 1))
            MakeFolder(path.substr(0, sep));
    }

    std::string At(const std::string& relativePath) const { return m_folder.Path() + relativePath; }

    // The run's sources as the open documents give them, by their documents.
    ConversionSources Collect()
    {
        ConversionSources sources = CollectSources(m_app->OpenSourceFiles());
        m_manuscripts.clear();
        for (const SourceFile& file : sources.manuscripts) m_manuscripts.push_back(Doc(file));
        m_contentsDoc = sources.contents ? Doc(*sources.contents) : nullptr;
        return sources;
    }

    static CZavioDoc* Doc(const SourceFile& file) { return static_cast<CZavioDoc*>(const_cast<void*>(file.handle)); }

    std::vector<CZavioDoc*> m_manuscripts;
    CZavioDoc* m_contentsDoc = nullptr;
};

TEST_F(ConversionDriverTest, HelpModeOpensTheConversionPageAndConvertsNothing)
{
    Open("conv/manual.htm", kEmptyManuscript);
    for (unsigned command : {ID_SEPARATE_HTML_HELP, ID_SEPARATE_HP_TYPE}) {
        m_app->m_nHelpMode = kHelpModeOn;
        ASSERT_TRUE(m_app->ExecuteCommand(command));
        EXPECT_EQ(m_app->m_nHelpMode, 0);
        EXPECT_EQ(m_app->Conversion().HtmlHelp(), command == ID_SEPARATE_HTML_HELP);
    }
    EXPECT_EQ(m_host.m_shellOpened, std::vector<std::string>(2, m_folder.Path() + "Help/HID_SEPARATE_HTML.htm"));
    EXPECT_TRUE(m_host.m_shown.empty());
    EXPECT_EQ(OpenDocuments().size(), 1u);
    EXPECT_FALSE(m_app->Conversion().m_bConversionFinished);
}

TEST_F(ConversionDriverTest, HtmlHelpAsksOkCancelAndAlwaysKeepsTheHeader)
{
    m_run.m_kind = ConversionKind::HtmlHelp;
    m_host.QueueAnswer(IDCANCEL);
    EXPECT_FALSE(m_app->ConfirmConversion(m_run));
    m_host.QueueAnswer(IDOK);
    EXPECT_TRUE(m_app->ConfirmConversion(m_run));
    EXPECT_TRUE(m_run.m_bKeepHeader);
    ASSERT_EQ(m_host.m_shown.size(), 2u);
    EXPECT_EQ(m_host.MessagesUtf8()[0], kHtmlHelpQuestion);
    EXPECT_EQ(m_host.m_shown[0].type, MB_OKCANCEL);
}

TEST_F(ConversionDriverTest, HpTypeYesSimplifiesNoKeepsCancelStops)
{
    m_run.m_kind = ConversionKind::HpType;
    m_host.QueueAnswer(IDYES);
    EXPECT_TRUE(m_app->ConfirmConversion(m_run));
    EXPECT_FALSE(m_run.m_bKeepHeader);
    m_host.QueueAnswer(IDNO);
    EXPECT_TRUE(m_app->ConfirmConversion(m_run));
    EXPECT_TRUE(m_run.m_bKeepHeader);
    m_host.QueueAnswer(IDCANCEL);
    EXPECT_FALSE(m_app->ConfirmConversion(m_run));
    EXPECT_FALSE(m_run.m_bKeepHeader);
    ASSERT_EQ(m_host.m_shown.size(), 3u);
    EXPECT_EQ(m_host.MessagesUtf8()[0], kHpTypeQuestion);
    EXPECT_EQ(m_host.m_shown[0].type, MB_YESNOCANCEL);
}

TEST_F(ConversionDriverTest, CancelLeavesEverythingAsItWas)
{
    CZavioDoc* doc = Open("conv/manual.htm", kEmptyManuscript);
    m_host.QueueAnswer(IDCANCEL);
    m_app->OnConvertHpType();
    EXPECT_EQ(OpenDocuments(), std::vector<CZavioDoc*>{doc});
    EXPECT_FALSE(IsDirectory(At("Finished")));
    EXPECT_TRUE(m_app->Conversion().m_saPageFiles.empty());
    EXPECT_FALSE(m_app->Conversion().m_bConversionFinished);
}

TEST_F(ConversionDriverTest, WithoutManuscriptTheQuestionComesFirstThenTheMessage)
{
    Open("conv/notes.txt", "text\r\n");
    Open("conv/toc.cnt", ":Base x.hlp\r\n");
    m_app->OnConvertHtmlHelp();
    std::vector<std::string> expected{kHtmlHelpQuestion, kNoManuscript};
    EXPECT_EQ(m_host.MessagesUtf8(), expected);
    EXPECT_EQ(m_host.m_shown[1].type, MB_OK);
    EXPECT_EQ(OpenDocuments().size(), 2u);  // no list document
    EXPECT_FALSE(IsDirectory(At("Finished")));
    EXPECT_FALSE(m_app->Conversion().m_bConversionFinished);
}

TEST_F(ConversionDriverTest, CollectSortsManuscriptsByBaseNameAndRemembersTheLastMet)
{
    CZavioDoc* b = Open("conv/b.htm", kEmptyManuscript);
    Open("conv/notes.txt", "x\r\n");
    CZavioDoc* a = Open("other/a.html", kEmptyManuscript);
    CZavioDoc* upper = Open("conv/A.htm", kEmptyManuscript);
    const ConversionSources sources = Collect();
    EXPECT_EQ(sources.lastManuscriptPath, At("conv/A.htm"));
    // "A" (65) sorts before "a" (97); the text document is left alone.
    EXPECT_EQ(m_manuscripts, (std::vector<CZavioDoc*>{upper, a, b}));
    EXPECT_EQ(m_contentsDoc, nullptr);
}

TEST_F(ConversionDriverTest, CollectPutsTheLaterOfEqualNamesFirstAndTakesTheLastContentsFile)
{
    CZavioDoc* first = Open("one/manual.htm", kEmptyManuscript);
    CZavioDoc* firstToc = Open("one/toc.cnt", "1 a\r\n");
    CZavioDoc* second = Open("two/manual.htm", kEmptyManuscript);
    CZavioDoc* secondToc = Open("two/help.cnt", "1 b\r\n");
    const ConversionSources sources = Collect();
    EXPECT_EQ(m_manuscripts, (std::vector<CZavioDoc*>{second, first}));
    EXPECT_EQ(m_contentsDoc, secondToc);
    EXPECT_NE(m_contentsDoc, firstToc);
    EXPECT_EQ(sources.contents->path, At("two/help.cnt"));
    EXPECT_EQ(sources.contents->baseName, "help");
}

TEST_F(ConversionDriverTest, CollectWithNoDocumentFindsNothing)
{
    Collect();
    EXPECT_EQ(m_contentsDoc, nullptr);
    EXPECT_TRUE(m_manuscripts.empty());
}

TEST(ConversionFolders, FolderOfPathKeepsTheTrailingSeparator)
{
    EXPECT_EQ(GetFolderOfPath("/help/conv/manual.htm"), "/help/conv/");
    EXPECT_EQ(GetFolderOfPath("manual.htm"), "");
    EXPECT_EQ(GetFolderOfPath("/manual.htm"), "/");
    // A trail byte 0x5C inside a name is part of the name.
    EXPECT_EQ(GetFolderOfPath("/help/" + kHyou + "/" + kSo + ".htm"), "/help/" + kHyou + "/");
}

TEST_F(ConversionDriverTest, FinishedLiesBesideTheConversionFolderAndIsMadeOnce)
{
    std::string conv = "help" + kHyou + "/" + kSo + kHyou + "/";
    MakeFoldersFor(At(conv + "manual.htm"));
    std::string finished = PrepareFinishedFolder(At(conv + "manual.htm"));
    EXPECT_EQ(finished, At("help" + kHyou + "/Finished/"));
    EXPECT_TRUE(IsDirectory(finished));

    // Already there: used unchanged, and the current folder stays where it is.
    WriteFile(finished + "keep.txt", "x");
    ASSERT_TRUE(ChangeFolder(m_folder.Path()));
    EXPECT_EQ(PrepareFinishedFolder(At(conv + "other.htm")), finished);
    EXPECT_EQ(CurrentFolder(), m_folder.Path().substr(0, m_folder.Path().size() - 1));
    EXPECT_EQ(ReadFile(finished + "keep.txt"), "x");
}

TEST_F(ConversionDriverTest, EnsureSubfolderReportsAnUnlistableParent)
{
    EXPECT_FALSE(EnsureSubfolder(At("missing/"), "Finished"));
    EXPECT_FALSE(FileExists(At("missing")));
    EXPECT_TRUE(EnsureSubfolder(m_folder.Path(), kSo + "Finished"));
    EXPECT_TRUE(IsDirectory(At(kSo + "Finished")));
    // A plain file of that name is not the folder.
    WriteFile(At("Finished"), "file");
    EXPECT_TRUE(EnsureSubfolder(m_folder.Path(), "Finished"));
    EXPECT_FALSE(IsDirectory(At("Finished")));
}

TEST_F(ConversionDriverTest, ManuscriptsRunFromTheLastNameToTheFirstIntoTheFirstFinishedFolder)
{
    // Opened b then a: b is processed first and decides the Finished folder.
    Open("p/conv1/b.htm", OneTopic("tb"));
    Open("q/conv2/a.html", OneTopic("ta"));
    m_host.QueueAnswer(IDNO);
    m_app->OnConvertHpType();

    EXPECT_TRUE(m_app->Conversion().m_bConversionFinished);
    EXPECT_TRUE(m_app->Conversion().m_bKeepHeader);
    // The contents page lies beside a.html, the last opened: b's page is
    // reached through the folders between.
    EXPECT_EQ(m_app->Conversion().m_saPageFiles, (LineList{"ta", "../../p/conv1/tb"}));
    EXPECT_EQ(ReadFile(At("p/Finished/b.htm")), OneTopic("tb"));
    // An html manuscript keeps its extension in Finished; the list says .htm.
    EXPECT_EQ(ReadFile(At("p/Finished/a.html")), OneTopic("ta"));
    EXPECT_FALSE(FileExists(At("q/Finished")));
    EXPECT_FALSE(FileExists(At("p/conv1/b.htm")));
    EXPECT_FALSE(FileExists(At("q/conv2/a.html")));
    EXPECT_TRUE(FileExists(At("q/conv2/ta.htm")));
    EXPECT_EQ(ReadFile(At("p/Finished/ListTitl.txt")),
              J("\r\n///// Separated from a.htm : 1 pages\r\n題名 ･･･ ta.htm\r\n"
                "\r\n///// Separated from b.htm : 1 pages\r\n"
                "///// conv1/b.htm のページは目次と別のフォルダに書き出します。目次とページは互いに相対パスでリンクします\r\n"
                "題名 ･･･ tb.htm\r\n"
                "\r\n///// Keyword index : 1 keywords\r\n索引 ･･･ Index.htm\r\n"));

    // Only the list document stays open (the writers' documents aside), titled by its path.
    std::vector<CZavioDoc*> open = OpenDocuments();
    ASSERT_FALSE(open.empty());
    EXPECT_EQ(open.front()->GetTitle(), At("p/Finished/ListTitl.txt"));
    for (CZavioDoc* doc : open) {
        EXPECT_NE(doc->m_strBaseName, "a");
        EXPECT_NE(doc->m_strBaseName, "b");
    }
}

TEST_F(ConversionDriverTest, TheChosenContentsFileMovesAndTheOtherStays)
{
    Open("conv/manual.htm", kEmptyManuscript);
    CZavioDoc* older = Open("conv/old.cnt", "1 a\r\n");
    Open("conv/toc.cnt", "1 b\r\n");
    m_app->OnConvertHtmlHelp();
    EXPECT_EQ(ReadFile(At("Finished/toc.cnt")), "1 b\r\n");
    EXPECT_TRUE(FileExists(At("conv/old.cnt")));
    std::vector<CZavioDoc*> open = OpenDocuments();
    EXPECT_NE(std::find(open.begin(), open.end(), older), open.end());
}

// Every manuscript is checked before anything is written or moved: one that
// is no Word manuscript ends the run with nothing changed.
TEST_F(ConversionDriverTest, AManuscriptWithoutBodyEndsTheRunWithNothingChanged)
{
    // Processing order: b (complete), then a (no body division).
    CZavioDoc* b = Open("conv/b.htm", OneTopic("tb"));
    CZavioDoc* a = Open("conv/a.htm", kNoBodyManuscript);
    CZavioDoc* toc = Open("conv/toc.cnt", "1 x\r\n");
    m_app->OnConvertHpType();

    EXPECT_FALSE(m_app->Conversion().m_bConversionFinished);
    std::vector<std::string> expected{
        kHpTypeQuestion,
        "ヘッダーが取得できません\n\na\nWord の本文の区分 (<div class=Section1> または "
        "WordSection1) がありません。Word で Web ページとして保存した原稿ではありません。"};
    EXPECT_EQ(m_host.MessagesUtf8(), expected);
    EXPECT_EQ(ReadFile(At("conv/b.htm")), OneTopic("tb"));
    EXPECT_FALSE(FileExists(At("conv/tb.htm")));
    EXPECT_FALSE(FileExists(At("Finished")));
    EXPECT_EQ(OpenDocuments(), (std::vector<CZavioDoc*>{b, a, toc}));
}

// A manuscript in which no topic is found is said, and stays where it is;
// the run goes on with the others.
TEST_F(ConversionDriverTest, AManuscriptWithoutTopicsIsSaidAndStays)
{
    Open("conv/a.htm", kEmptyManuscript);
    Open("conv/b.htm", OneTopic("tb"));
    m_app->OnConvertHtmlHelp();
    EXPECT_TRUE(m_app->Conversion().m_bConversionFinished);
    EXPECT_EQ(ReadFile(At("conv/a.htm")), kEmptyManuscript);
    EXPECT_EQ(m_app->Conversion().m_saWithoutTopics, LineList{At("conv/a.htm")});
    EXPECT_EQ(m_host.MessagesUtf8()[1], DecodeCp932Lossless(At("conv/a.htm")) +
                                            " にはトピックが見つかりません\nWord の脚注がありません（Word で Web "
                                            "ページとして保存した原稿ではありません）");
    EXPECT_TRUE(FileExists(At("Finished/b.htm")));
}

TEST_F(ConversionDriverTest, NoWindowForTheListDocumentEndsTheRun)
{
    Open("conv/manual.htm", kEmptyManuscript);
    m_host.m_failWindowCreation = true;
    m_app->OnConvertHtmlHelp();
    EXPECT_FALSE(m_app->Conversion().m_bConversionFinished);
    EXPECT_TRUE(FileExists(At("conv/manual.htm")));
    EXPECT_EQ(OpenDocuments().size(), 1u);
}

TEST_F(ConversionDriverTest, AManuscriptOpenedFromFinishedIsNotDeleted)
{
    // Its Finished folder is its own folder: the move has nowhere to go.
    Open("Finished/manual.htm", kEmptyManuscript);
    m_app->OnConvertHtmlHelp();
    EXPECT_TRUE(m_app->Conversion().m_bConversionFinished);
    EXPECT_EQ(ReadFile(At("Finished/manual.htm")), kEmptyManuscript);
}

TEST_F(ConversionDriverTest, AnOlderFileInFinishedIsKeptAndTheSourceTakesAFreeName)
{
    Open("conv/manual.htm", OneTopic("t1"));
    MakeFolder(At("Finished"));
    WriteFile(At("Finished/manual.htm"), "older");
    WriteFile(At("Finished/manual(2).htm"), "older still");
    m_app->OnConvertHtmlHelp();
    EXPECT_EQ(ReadFile(At("Finished/manual.htm")), "older");
    EXPECT_EQ(ReadFile(At("Finished/manual(2).htm")), "older still");
    EXPECT_EQ(ReadFile(At("Finished/manual(3).htm")), OneTopic("t1"));
    EXPECT_FALSE(FileExists(At("conv/manual.htm")));
    const std::string why = " は Finished フォルダに同じ名前のファイルがあるため、manual(3).htm として移動しました";
    std::vector<std::string> shown = m_host.MessagesUtf8();
    EXPECT_NE(std::find(shown.begin(), shown.end(), DecodeCp932Lossless(At("conv/manual.htm")) + why), shown.end());
    EXPECT_EQ(
        ReadFile(At("Finished/ListTitl.txt")),
        J("\r\n///// Separated from manual.htm : 1 pages\r\n///// conv/manual.htm" + why + "\r\n題名 ･･･ t1.htm\r\n"));
    EXPECT_TRUE(m_app->Conversion().m_saNotWritten.empty());
}

TEST_F(ConversionDriverTest, TheContentsPageIsNotWrittenOverAManuscriptThatStayed)
{
    // A plain file named Finished: no folder can be made, so no source moves.
    WriteFile(At("Finished"), "in the way");
    Open("conv/manual.htm", kEmptyManuscript);
    Open("conv/manual.cnt", "1 x=y\r\n");
    m_app->OnConvertHpType();

    EXPECT_EQ(ReadFile(At("conv/manual.htm")), kEmptyManuscript);
    EXPECT_EQ(ReadFile(At("conv/manual.cnt")), "1 x=y\r\n");
    std::vector<std::string> shown = m_host.MessagesUtf8();
    std::string notWritten =
        DecodeCp932Lossless(At("conv/manual.htm")) +
        " はオープンできませんでした\n変換元のファイル (原稿または目次ファイル) がこの場所にあります。";
    EXPECT_NE(std::find(shown.begin(), shown.end(), notWritten), shown.end());
    EXPECT_TRUE(m_app->Conversion().m_bConversionFinished);
}

TEST_F(ConversionDriverTest, AContentsPageOfAnotherNameIsWrittenWhenTheSourcesStay)
{
    WriteFile(At("Finished"), "in the way");
    Open("conv/manual.htm", kEmptyManuscript);
    m_app->OnConvertHpType();
    EXPECT_EQ(ReadFile(At("conv/manual.htm")), kEmptyManuscript);
    EXPECT_TRUE(FileExists(At("conv/Contents.htm")));
}

// Files that cannot be written: none is left empty or cut, none is listed
// as a page, and the run records each for zavio-convert's exit status 3
// (the real read-only folder and full disk: tests/faults).

const std::vector<WordTopic> kTwoTopics = {{"t1", "一つ目", "最初の話題です。"}, {"t2", "二つ目", "次の話題です。"}};

TEST_F(ConversionDriverTest, AFullDiskLeavesAnEarlierPageWholeAndUnlisted)
{
    Open("conv/manual.htm", WordManuscript(kTwoTopics));
    WriteFile(At("conv/t2.htm"), "a page of an earlier conversion");
    InjectedFaults diskFull(FileFaults::kDiskFull, At("conv/t2.htm"));
    m_app->OnConvertHtmlHelp();

    EXPECT_TRUE(m_app->Conversion().m_bConversionFinished);
    EXPECT_EQ(ReadFile(At("conv/t2.htm")), "a page of an earlier conversion");
    EXPECT_NE(ReadFile(At("conv/t1.htm")).find(J("最初の話題です。")), std::string::npos);
    EXPECT_EQ(m_app->Conversion().m_saNotWritten, LineList{At("conv/t2.htm")});
    EXPECT_EQ(m_app->Conversion().m_saPageFiles, LineList{"t1"});
    EXPECT_EQ(ReadFile(At("Finished/ListTitl.txt")),
              J("\r\n///// Separated from manual.htm : 1 pages\r\n一つ目 ･･･ t1.htm\r\n"));
}

TEST_F(ConversionDriverTest, AWorkingFileThatFailsMidRunWritesNoEmptyPage)
{
    Open("conv/manual.htm", WordManuscript(kTwoTopics));
    // The first transfer of the run fails: the last page's, taken first.
    int transfers = 0;
    InjectFileFaults({FileFaults::kDiskFull,
                      [&](std::string_view path) { return path.ends_with("OursTemp.txt") && ++transfers == 1; }});
    m_app->OnConvertHpType();
    InjectFileFaults({});

    EXPECT_TRUE(m_app->Conversion().m_bConversionFinished);
    EXPECT_FALSE(FileExists(At("conv/t2.htm")));
    EXPECT_NE(ReadFile(At("conv/t1.htm")).find(J("最初の話題です。")), std::string::npos);
    EXPECT_EQ(m_app->Conversion().m_saNotWritten, LineList{At("conv/t2.htm")});
    EXPECT_EQ(m_app->Conversion().m_saPageFiles, LineList{"t1"});
    EXPECT_EQ(m_host.MessagesUtf8()[1],
              "作業ファイルの書き出しができませんでした\nディスクの空き容量が不足しています。");
}

}  // namespace
}  // namespace zavio::test
