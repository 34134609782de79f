// Saving documents: backups, Save As, the commands and failures.
#include <unistd.h>

#include "TestApp.h"
#include "framework/Cp932.h"
#include "framework/FileSystem.h"
#include "res/CommandIds.h"

namespace zavio::test {
namespace {

class SaveDocumentsTest : public AppTest {
protected:
    SaveDocumentsTest() { m_app->LoadStdProfileSettings(10); }

    CZavioDoc* OpenFile(std::string_view utf8Name, std::string_view bytes)
    {
        std::string path = InProgramFolder(utf8Name);
        WriteFile(path, bytes);
        auto* doc = static_cast<CZavioDoc*>(m_app->OpenDocumentFile(path));
        EXPECT_NE(doc, nullptr);
        return doc;
    }
};

TEST_F(SaveDocumentsTest, SaveWithBackupReplacesTheOldBackup)
{
    CZavioDoc* doc = OpenFile("a.txt", "old\r\n");
    WriteFile(InProgramFolder("a-Back.txt"), "older\r\n");
    SetViewText(doc, "new\r\n");
    ASSERT_TRUE(doc->SaveDocument(true));
    EXPECT_EQ(ReadFile(InProgramFolder("a.txt")), "new\r\n");
    EXPECT_EQ(ReadFile(InProgramFolder("a-Back.txt")), "old\r\n");
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(m_app->GetRecentFiles().front(), doc->m_strPath);
}

// The disk fills up while the user saves: the file being saved and its
// backup stay as they were, the document stays modified.
TEST_F(SaveDocumentsTest, AFullDiskKeepsTheFileBeingSavedAndItsBackup)
{
    CZavioDoc* doc = OpenFile("a.txt", "old\r\n");
    WriteFile(InProgramFolder("a-Back.txt"), "older\r\n");
    SetViewText(doc, "new\r\n");
    doc->SetModifiedFlag(true);
    InjectedFaults diskFull(FileFaults::kDiskFull, doc->m_strPath);
    EXPECT_FALSE(doc->SaveDocument(true));
    EXPECT_EQ(ReadFile(InProgramFolder("a.txt")), "old\r\n");
    EXPECT_EQ(ReadFile(InProgramFolder("a-Back.txt")), "older\r\n");
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(m_host.MessagesUtf8().back(), DecodeCp932Lossless(doc->m_strPath) +
                                                " はオープンできませんでした\nディスクの空き容量が不足しています。");
}

// A line far over the old 10,000-byte read buffer survives opening and two
// saves, and so does its backup.
TEST_F(SaveDocumentsTest, LongLinesSurviveOpeningAndSaving)
{
    const std::string bytes = "head\r\n" + std::string(15000, 'x') + J("表") + "\r\ntail\r\n";
    CZavioDoc* doc = OpenFile("long.htm", bytes);
    ASSERT_TRUE(doc->SaveDocument(true));
    ASSERT_TRUE(doc->SaveDocument(true));
    EXPECT_EQ(ReadFile(InProgramFolder("long.htm")), bytes);
    EXPECT_EQ(ReadFile(InProgramFolder("long-Back.htm")), bytes);
    EXPECT_TRUE(m_host.m_shown.empty());
}

// The empty window of a file that could not be read never writes over that
// file: Save and the close question ask for a name, as for a new document.
TEST_F(SaveDocumentsTest, WindowOfAFileThatCouldNotBeReadNeverWritesOverIt)
{
    const std::string path = InProgramFolder("binary.txt");
    const std::string bytes("MZ\0\x01", 4);
    WriteFile(path, bytes);
    EXPECT_EQ(m_app->OpenDocumentFile(path), nullptr);
    CZavioDoc* doc = OpenDocuments().back();
    m_host.QueueDialogCancel();
    EXPECT_TRUE(m_app->ExecuteCommand(ID_FILE_SAVE));
    EXPECT_EQ(m_host.m_dialogRequests.size(), 1u);
    EXPECT_EQ(ReadFile(path), bytes);

    SetViewText(doc, "typed\r\n");
    doc->SetModifiedFlag();
    m_host.QueueAnswer(IDYES);
    m_host.QueueFiles({InProgramFolder("rescued.txt")});
    m_app->ExecuteCommand(ID_FILE_CLOSE);
    EXPECT_TRUE(OpenDocuments().empty());
    EXPECT_EQ(ReadFile(InProgramFolder("rescued.txt")), "typed\r\n");
    EXPECT_EQ(ReadFile(path), bytes);
}

TEST_F(SaveDocumentsTest, FirstSaveOfANewDocumentMakesNoBackup)
{
    CZavioDoc* doc = NewDocument();
    SetViewText(doc, "text\r\n");
    ASSERT_TRUE(doc->SaveDocument(true));
    EXPECT_EQ(ReadFile(InProgramFolder("NewFile.txt")), "text\r\n");
    EXPECT_FALSE(FileExists(InProgramFolder("NewFile-Back.txt")));
}

TEST_F(SaveDocumentsTest, ExtensionIsComparedWithoutLetterCase)
{
    CZavioDoc* doc = OpenFile("UPPER.TXT", "x\r\n");
    SetViewText(doc, "y\r\n");
    ASSERT_TRUE(doc->SaveDocument(true));
    EXPECT_EQ(ReadFile(InProgramFolder("UPPER.TXT")), "y\r\n");
    EXPECT_EQ(ReadFile(InProgramFolder("UPPER-Back.TXT")), "x\r\n");
}

TEST_F(SaveDocumentsTest, OtherKindsAreRefusedAndNothingIsTouched)
{
    std::string path = InProgramFolder("memo.doc");
    WriteFile(path, "word\r\n");
    WriteFile(InProgramFolder("memo-Back.doc"), "backup\r\n");
    m_host.QueueFiles({path});
    m_app->OnFileOpenDocument();
    CZavioDoc* doc = OpenDocuments().back();
    SetViewText(doc, "changed\r\n");
    EXPECT_FALSE(doc->SaveDocument(true));
    EXPECT_EQ(m_host.MessagesUtf8(),
              std::vector<std::string>{
                  "ドキュメントの拡張子が txt / htm / html / cnt / hhp / hhc ではないので書き出しを中止しました"});
    EXPECT_EQ(ReadFile(path), "word\r\n");
    EXPECT_EQ(ReadFile(InProgramFolder("memo-Back.doc")), "backup\r\n");
}

TEST_F(SaveDocumentsTest, UnwritableTargetReportsBothErrors)
{
    CZavioDoc* doc = OpenFile("t.txt", "before\r\n");
    // Folders under the file's and the backup's names: no one can write the
    // file there, root included, and the backup rename fails too.
    ASSERT_TRUE(RemoveFile(doc->m_strPath));
    ASSERT_TRUE(MakeFolder(doc->m_strPath));
    ASSERT_TRUE(MakeFolder(InProgramFolder("t-Back.txt")));
    EXPECT_FALSE(doc->SaveDocument(true));
    std::string utf8 = *ToNativePath(doc->m_strPath);
    EXPECT_EQ(m_host.MessagesUtf8(),
              (std::vector<std::string>{"ドキュメントを保存できませんでした。",
                                        utf8 + " はオープンできませんでした\nファイルではなくフォルダです。"}));
    EXPECT_TRUE(IsDirectory(doc->m_strPath));
}

TEST_F(SaveDocumentsTest, FailedSaveAfterBackupLeavesTheEarlierTextAsBackup)
{
    CZavioDoc* doc = OpenFile("keep.txt", "earlier\r\n");
    SetViewText(doc, "later\r\n");
    // Point the document into a folder that cannot take files.
    m_host.m_shown.clear();
    std::string readOnlyPath = "/proc/keep.txt";
    doc->m_strPath = readOnlyPath;
    EXPECT_FALSE(doc->SaveDocument(true));
    EXPECT_EQ(m_host.MessagesUtf8().back(),
              "/proc/keep.txt はオープンできませんでした\nファイルまたはフォルダが見つかりません。");
    EXPECT_EQ(ReadFile(InProgramFolder("keep.txt")), "earlier\r\n");
}

TEST_F(SaveDocumentsTest, SaveAsOfAnHtmlDocumentOffersTheHtmlListAndMovesTheDocument)
{
    CZavioDoc* doc = OpenFile("page.htm", "<p>\r\n");
    ASSERT_TRUE(MakeFolder(InProgramFolder("out")));
    std::string target = InProgramFolder("out/renamed.html");
    m_host.QueueFiles({target});
    ASSERT_TRUE(m_app->ExecuteCommand(ID_FILE_SAVE_AS));
    ASSERT_EQ(m_host.m_dialogRequests.size(), 1u);
    const FileDialogRequest& r = m_host.m_dialogRequests[0];
    EXPECT_FALSE(r.openKind);
    EXPECT_EQ(r.defaultExt, std::string());  // empty, not absent
    EXPECT_EQ(r.flags, 6u);
    EXPECT_EQ(r.fileName, "page");
    EXPECT_EQ(r.initialFolder, m_folder.Path());
    EXPECT_EQ(r.filter, J("htmlﾌｧｲﾙ (*.htm;*.html)|*.htm;*.html|txtﾌｧｲﾙ (*.txt)|*.txt|htmlﾌｧｲﾙ (*.htm;*.html)|"
                          "*.htm;*.html|cntﾌｧｲﾙ (*.cnt)|*.cnt|すべてのﾌｧｲﾙ (*.*)|*.*||"));
    EXPECT_EQ(ReadFile(target), "<p>\r\n");
    EXPECT_EQ(doc->m_strPath, target);
    EXPECT_EQ(doc->m_strBaseName, "renamed");
    EXPECT_EQ(doc->m_strExtension, "htm");
    EXPECT_EQ(doc->GetTitle(), "renamed.html");  // the framework retitles with the file's name
    EXPECT_EQ(m_app->m_strSaveDir, InProgramFolder("out/"));
    EXPECT_EQ(m_app->GetRecentFiles().front(), target);

    SetViewText(doc, "<p>2\r\n");
    ASSERT_TRUE(m_app->ExecuteCommand(ID_FILE_SAVE));
    EXPECT_EQ(ReadFile(target), "<p>2\r\n");
    EXPECT_EQ(ReadFile(InProgramFolder("out/renamed-Back.html")), "<p>\r\n");
    EXPECT_EQ(ReadFile(InProgramFolder("page.htm")), "<p>\r\n");
}

TEST_F(SaveDocumentsTest, SaveAsWithAnotherExtensionAsksAboutTheDocumentsOwn)
{
    CZavioDoc* doc = OpenFile("r.htm", "x\r\n");
    std::string path, name = "r";
    int type = 2;
    m_host.QueueFiles({InProgramFolder("report.dat")});
    m_host.QueueAnswer(IDOK);
    ASSERT_TRUE(m_app->AskSaveFileName(path, name, type, doc));
    EXPECT_EQ(type, 2);
    EXPECT_EQ(name, "report");
    EXPECT_EQ(path, InProgramFolder("report.htm"));  // what the question announced
    EXPECT_EQ(m_host.m_shown.back().text, J("拡張子を htm にします"));
    EXPECT_EQ(m_host.m_shown.back().type, MB_OKCANCEL);

    type = 1;
    m_host.QueueFiles({InProgramFolder("sub/report.dat")});
    m_host.QueueAnswer(IDCANCEL);
    EXPECT_FALSE(m_app->AskSaveFileName(path, name, type, doc));
    EXPECT_EQ(path, InProgramFolder("sub/report.dat"));  // already set
    EXPECT_EQ(m_app->m_strSaveDir, m_folder.Path());     // not moved
}

// A name typed without an extension gets the one the question announced, so
// the next Save and the close question write the same file again.
TEST_F(SaveDocumentsTest, SaveAsWithoutAnExtensionSavesUnderTheAnnouncedOne)
{
    CZavioDoc* doc = OpenFile("page.htm", "<p>\r\n");
    m_host.QueueFiles({InProgramFolder("report")});
    ASSERT_TRUE(doc->SaveDocumentAs());
    EXPECT_EQ(m_host.MessagesUtf8(), std::vector<std::string>{"拡張子を htm にします"});
    EXPECT_EQ(ReadFile(InProgramFolder("report.htm")), "<p>\r\n");
    EXPECT_FALSE(FileExists(InProgramFolder("report")));

    SetViewText(doc, "<p>2\r\n");
    doc->SetModifiedFlag();
    m_host.QueueAnswer(IDYES);
    m_app->ExecuteCommand(ID_FILE_CLOSE);
    EXPECT_TRUE(OpenDocuments().empty());
    EXPECT_EQ(ReadFile(InProgramFolder("report.htm")), "<p>2\r\n");
    EXPECT_EQ(ReadFile(InProgramFolder("report-Back.htm")), "<p>\r\n");
}

// The dialog confirmed another name than the one the file now gets: a file
// under that name is not replaced without asking. A document of a kind the
// program does not save becomes a text file.
TEST_F(SaveDocumentsTest, AnnouncedExtensionAsksBeforeReplacingAFile)
{
    WriteFile(InProgramFolder("memo.doc"), "word\r\n");
    WriteFile(InProgramFolder("report.txt"), "older\r\n");
    m_host.QueueFiles({InProgramFolder("memo.doc")});
    m_app->OnFileOpenDocument();
    CZavioDoc* doc = OpenDocuments().back();
    m_host.QueueFiles({InProgramFolder("report.dat")});
    m_host.QueueAnswer(IDOK);
    m_host.QueueAnswer(IDNO);
    EXPECT_FALSE(doc->SaveDocumentAs());
    EXPECT_EQ(m_host.MessagesUtf8(),
              (std::vector<std::string>{"拡張子を txt にします", *ToNativePath(InProgramFolder("report.txt")) +
                                                                     " は既に存在します。\n上書きしますか?"}));
    EXPECT_EQ(ReadFile(InProgramFolder("report.txt")), "older\r\n");
    EXPECT_EQ(m_host.m_shown[1].type, MB_YESNO);

    m_host.QueueFiles({InProgramFolder("report.dat")});
    m_host.QueueAnswer(IDOK);
    m_host.QueueAnswer(IDYES);
    ASSERT_TRUE(doc->SaveDocumentAs());
    EXPECT_EQ(ReadFile(InProgramFolder("report.txt")), "word\r\n");
    EXPECT_TRUE(doc->SaveDocument(true));
}

TEST_F(SaveDocumentsTest, SaveAsWithAKnownExtensionTakesItsType)
{
    CZavioDoc* doc = OpenFile("n.txt", "x\r\n");
    std::string path, name = "n";
    int type = 1;
    m_host.QueueFiles({InProgramFolder("toc.CNT")});
    ASSERT_TRUE(m_app->AskSaveFileName(path, name, type, doc));
    EXPECT_EQ(type, 3);
    EXPECT_TRUE(m_host.m_shown.empty());
}

TEST_F(SaveDocumentsTest, CancelledSaveAsChangesNothing)
{
    CZavioDoc* doc = OpenFile("c.hhp", "[OPTIONS]\r\n");
    m_host.QueueDialogCancel();
    EXPECT_FALSE(doc->SaveDocumentAs());
    EXPECT_EQ(m_host.m_dialogRequests[0].filter, J("hhpﾌｧｲﾙ (*.hhp)|*.hhp|すべてのﾌｧｲﾙ (*.*)|*.*||"));
    EXPECT_EQ(doc->m_strPath, InProgramFolder("c.hhp"));
}

TEST_F(SaveDocumentsTest, SaveAsOffersTheFilterListOfEachKindFirst)
{
    const std::pair<int, const char*> lists[] = {
        {1,
         "txtﾌｧｲﾙ (*.txt)|*.txt|htmlﾌｧｲﾙ (*.htm;*.html)|*.htm;*.html|cntﾌｧｲﾙ (*.cnt)|*.cnt|すべてのﾌｧｲﾙ (*.*)|*.*||"},
        {2,
         "htmlﾌｧｲﾙ (*.htm;*.html)|*.htm;*.html|txtﾌｧｲﾙ (*.txt)|*.txt|htmlﾌｧｲﾙ (*.htm;*.html)|*.htm;*.html|"
         "cntﾌｧｲﾙ (*.cnt)|*.cnt|すべてのﾌｧｲﾙ (*.*)|*.*||"},
        {3,
         "cntﾌｧｲﾙ (*.cnt)|*.cnt|txtﾌｧｲﾙ (*.txt)|*.txt|htmlﾌｧｲﾙ (*.htm;*.html)|*.htm;*.html|すべてのﾌｧｲﾙ (*.*)|*.*||"},
        {4, "hhpﾌｧｲﾙ (*.hhp)|*.hhp|すべてのﾌｧｲﾙ (*.*)|*.*||"},
        {5, "hhcﾌｧｲﾙ (*.hhc)|*.hhc|すべてのﾌｧｲﾙ (*.*)|*.*||"},
        {6, "hhkﾌｧｲﾙ (*.hhk)|*.hhk|すべてのﾌｧｲﾙ (*.*)|*.*||"},
    };
    for (const auto& [type, list] : lists) {
        m_host.m_dialogRequests.clear();
        m_host.QueueDialogCancel();
        std::string path, name = "n";
        int asked = type;
        EXPECT_FALSE(m_app->AskSaveFileName(path, name, asked, nullptr));
        ASSERT_EQ(m_host.m_dialogRequests.size(), 1u);
        EXPECT_EQ(m_host.m_dialogRequests[0].filter, J(list)) << "type " << type;
    }
}

TEST_F(SaveDocumentsTest, InHelpModeTheCommandsOpenTheirPagesAndWriteNothing)
{
    CZavioDoc* doc = OpenFile("h.txt", "x\r\n");
    SetViewText(doc, "changed\r\n");
    const std::pair<unsigned, const char*> commands[] = {{ID_FILE_SAVE, "HID_FILE_SAVE.htm"},
                                                         {ID_FILE_SAVE_AS, "HID_FILE_SAVE_AS.htm"},
                                                         {ID_FILE_CLOSE, "HID_FILE_CLOSE.htm"}};
    for (const auto& [id, page] : commands) {
        m_app->m_nHelpMode = 11;
        ASSERT_TRUE(m_app->ExecuteCommand(id));
        EXPECT_EQ(m_app->m_nHelpMode, 0);
        EXPECT_EQ(m_host.m_shellOpened.back(), m_folder.Path() + "Help/" + page);
    }
    EXPECT_EQ(ReadFile(InProgramFolder("h.txt")), "x\r\n");
    EXPECT_TRUE(m_host.m_dialogRequests.empty());
    EXPECT_EQ(OpenDocuments().size(), 1u);
}

TEST_F(SaveDocumentsTest, CloseAsksAboutChangesAndCanBeCancelled)
{
    CZavioDoc* doc = OpenFile("m.txt", "x\r\n");
    doc->SetModifiedFlag();
    m_host.QueueAnswer(IDCANCEL);
    m_app->ExecuteCommand(ID_FILE_CLOSE);
    EXPECT_EQ(OpenDocuments().size(), 1u);
    EXPECT_EQ(m_host.m_shown.back().type, MB_YESNOCANCEL);

    SetViewText(doc, "saved on close\r\n");
    m_host.QueueAnswer(IDYES);
    m_app->ExecuteCommand(ID_FILE_CLOSE);
    EXPECT_TRUE(OpenDocuments().empty());
    EXPECT_EQ(ReadFile(InProgramFolder("m.txt")), "saved on close\r\n");
}

TEST_F(SaveDocumentsTest, RecentFileListKeepsTenNewestFirst)
{
    for (int i = 0; i < 12; ++i) m_app->AddToRecentFileList("/f" + std::to_string(i) + ".txt");
    m_app->AddToRecentFileList("/f5.txt");
    ASSERT_EQ(m_app->GetRecentFiles().size(), 10u);
    EXPECT_EQ(m_app->GetRecentFiles()[0], "/f5.txt");
    EXPECT_EQ(m_app->GetRecentFiles()[1], "/f11.txt");
    EXPECT_EQ(m_host.GetProfileString("Recent File List", "File10"), "/f2.txt");
    // The list survives into the next run through the profile.
    m_app->LoadStdProfileSettings(10);
    EXPECT_EQ(m_app->GetRecentFiles()[0], "/f5.txt");
}

// A CP932 file with a Japanese name in a Japanese folder: opened, saved with
// backup, it is byte-identical and its backup exists under UTF-8 names.
TEST_F(SaveDocumentsTest, JapaneseNamesAndTextRoundTrip)
{
    ASSERT_TRUE(MakeFolder(InProgramFolder("変換表")));
    std::string bytes = J("表示ソフトの説明\r\n\r\n") + "\\ |" + J("ポ") + "\r\n" + J("ｶﾀｶﾅ　全角") + "\r\n";
    CZavioDoc* doc = OpenFile("変換表/ソース表.txt", bytes);
    EXPECT_EQ(doc->GetTitle(), InProgramFolder("変換表/ソース表.txt"));
    ASSERT_TRUE(m_app->ExecuteCommand(ID_FILE_SAVE));
    EXPECT_EQ(ReadFile(InProgramFolder("変換表/ソース表.txt")), bytes);
    EXPECT_EQ(ReadFile(InProgramFolder("変換表/ソース表-Back.txt")), bytes);
    EXPECT_EQ(::access((*ToNativePath(m_folder.Path()) + "変換表/ソース表-Back.txt").c_str(), F_OK), 0);
    EXPECT_TRUE(m_host.m_shown.empty());
}

}  // namespace
}  // namespace zavio::test
