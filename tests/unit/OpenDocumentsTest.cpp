// Opening files in document windows.
#include <sys/stat.h>
#include <unistd.h>

#include "TestApp.h"
#include "framework/FileSystem.h"
#include "res/CommandIds.h"

namespace zavio::test {
namespace {

class OpenDocumentsTest : public AppTest {
protected:
    std::string MakeFile(std::string_view utf8Name, std::string_view bytes)
    {
        std::string path = InProgramFolder(utf8Name);
        WriteFile(path, bytes);
        return path;
    }
};

TEST_F(OpenDocumentsTest, ThreeFilesInOneDialogMakeThreeWindowsInOrderAndOneTiling)
{
    std::string c = MakeFile("c.txt", "C\r\n"), a = MakeFile("a.htm", "A\r\n"), b = MakeFile("b.cnt", "B\r\n");
    m_host.QueueFiles({c, a, b});
    int tiles = m_host.m_tileCount;
    ASSERT_TRUE(m_app->ExecuteCommand(ID_FILE_OPEN));
    std::vector<CZavioDoc*> docs = OpenDocuments();
    ASSERT_EQ(docs.size(), 3u);
    EXPECT_EQ(docs[0]->m_strPath, c);
    EXPECT_EQ(docs[1]->m_strPath, a);
    EXPECT_EQ(docs[2]->m_strPath, b);
    EXPECT_EQ(ViewText(docs[1]), "A\r\n");
    EXPECT_EQ(m_host.m_tileCount, tiles + 1);
    EXPECT_TRUE(m_host.m_shown.empty());
    EXPECT_TRUE(m_app->GetRecentFiles().empty());  // the Open command adds none
}

// A Web page saved as UTF-8 keeps its bytes in its window and its file, and
// reads as CP932 lines. A declaration counts only in the head of a Web page;
// a byte-order mark in any file.
TEST_F(OpenDocumentsTest, Utf8FilesKeepTheirEncodingAndReadAsCp932)
{
    const std::string page =
        "\xEF\xBB\xBF<html><head><META content=\"text/html; CHARSET=UTF-8\">\r\n"
        "<title>\xE8\xA1\xA8</title></head>\r\n<body>caf\xC3\xA9</body>\r\n";
    const std::string path = MakeFile("u.htm", page);
    auto* doc = static_cast<CZavioDoc*>(m_app->OpenDocumentFile(path));
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->m_encoding, TextEncoding::Utf8);
    EXPECT_EQ(ViewText(doc), page);
    LineList lines;
    doc->ReadViewLines(lines);
    EXPECT_EQ(lines, (LineList{"<html><head><META content=\"text/html; CHARSET=UTF-8\">",
                               "<title>" + J("表") + "</title></head>", "<body>caf&#233;</body>"}));
    ASSERT_TRUE(doc->SaveDocument(false));
    EXPECT_EQ(ReadFile(path), page);

    const auto opened = [&](std::string_view name, std::string_view bytes) {
        auto* d = static_cast<CZavioDoc*>(m_app->OpenDocumentFile(MakeFile(name, bytes)));
        return d ? d->m_encoding : TextEncoding::Cp932;
    };
    EXPECT_EQ(opened("meta.htm", "<meta charset='utf-8'>\r\n<body>\r\n"), TextEncoding::Utf8);
    EXPECT_EQ(opened("body.htm", "<body>\r\n<meta charset=utf-8>\r\n"), TextEncoding::Cp932);
    EXPECT_EQ(opened("meta.txt", "<meta charset=utf-8>\r\n"), TextEncoding::Cp932);
    EXPECT_EQ(opened("bom.cnt", "\xEF\xBB\xBF:Base a.hlp\r\n"), TextEncoding::Utf8);
    EXPECT_EQ(opened("sjis.htm", "<meta charset=shift_jis>\r\n"), TextEncoding::Cp932);
    // Without a mark: UTF-8 that CP932 would read with half-width katakana.
    EXPECT_EQ(opened("notepad.cnt", "1 \xE3\x81\xAF\xE3\x81\x98\xE3\x82\x81\xE3\x81\xAB=intro\r\n"),
              TextEncoding::Utf8);
    EXPECT_EQ(opened("cafe.txt", "Caf\xC3\xA9\r\n"), TextEncoding::Utf8);
    // Bytes both read as, where CP932 reads only double-byte characters: CP932.
    EXPECT_EQ(opened("both.txt", "\xE3\x81\x82\xE3\x81\x84\r\n"), TextEncoding::Cp932);
    EXPECT_EQ(opened("sjis.cnt", J("1 はじめに=intro\r\n")), TextEncoding::Cp932);
}

// A UTF-16 file's window holds UTF-8, the conversion reads CP932 lines, and
// Save writes UTF-16 again: a character beyond the BMP and a surrogate
// without its partner come back as they were.
TEST_F(OpenDocumentsTest, Utf16FilesReadAsTextAndSaveAsUtf16)
{
    const std::string file("\xFE\xFF\x00\x31\x00\x20\x88\x68\xD8\x3D\xDE\x00\xDC\x00\x00\x0D\x00\x0A", 18);
    const std::string path = MakeFile("wide.cnt", file);
    auto* doc = static_cast<CZavioDoc*>(m_app->OpenDocumentFile(path));
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->m_fileEncoding, FileEncoding::Utf16BigEndian);
    EXPECT_EQ(ViewText(doc),
              "\xEF\xBB\xBF"
              "1 \xE8\xA1\xA8\xF0\x9F\x98\x80\xED\xB0\x80\r\n");
    LineList lines;
    doc->ReadViewLines(lines);
    EXPECT_EQ(lines, LineList{J("1 表") + "&#128512;\xED\xB0\x80"});
    ASSERT_TRUE(doc->SaveDocument(false));
    EXPECT_EQ(ReadFile(path), file);

    SetViewText(doc,
                "\xEF\xBB\xBF"
                "a\r\n");
    ASSERT_TRUE(doc->SaveDocument(false));
    EXPECT_EQ(ReadFile(path), std::string("\xFE\xFF\x00\x61\x00\x0D\x00\x0A", 8));
    EXPECT_TRUE(m_host.m_shown.empty());
}

TEST_F(OpenDocumentsTest, OpenDialogAsksWithItsFilterFlagsAndFolder)
{
    m_host.QueueDialogCancel();
    m_app->OnFileOpenDocument();
    ASSERT_EQ(m_host.m_dialogRequests.size(), 1u);
    const FileDialogRequest& r = m_host.m_dialogRequests[0];
    EXPECT_TRUE(r.openKind);
    EXPECT_FALSE(r.defaultExt.has_value());
    EXPECT_EQ(r.flags, 0x206u);
    EXPECT_EQ(r.initialFolder, m_folder.Path());
    EXPECT_EQ(r.filter, J("text,html,cntﾌｧｲﾙ (*.txt;*.htm;*.html;*.cnt)|*.txt;*.htm;*.html;*.cnt|txtﾌｧｲﾙ (*.txt)|*.txt|"
                          "htmlﾌｧｲﾙ (*.htm;*.html)|*.htm;*.html|cntﾌｧｲﾙ (*.cnt)|*.cnt|hhpﾌｧｲﾙ (*.hhp)|*.hhp|"
                          "hhcﾌｧｲﾙ (*.hhc)|*.hhc|hhkﾌｧｲﾙ (*.hhk)|*.hhk|rtfﾌｧｲﾙ (*.rtf)|*.rtf|hpjﾌｧｲﾙ (*.hpj)|*.hpj|"
                          "すべてのﾌｧｲﾙ (*.*)|*.*||"));
    EXPECT_TRUE(OpenDocuments().empty());
}

TEST_F(OpenDocumentsTest, ConfirmedDialogMovesTheOpenFolder)
{
    ASSERT_TRUE(MakeFolder(InProgramFolder("原稿")));
    std::string path = MakeFile("原稿/m.htm", "x\r\n");
    m_host.QueueFiles({path});
    m_app->OnFileOpenDocument();
    EXPECT_EQ(m_app->m_strOpenDir, InProgramFolder("原稿/"));
    m_app->OnFileNewDocument();
    EXPECT_EQ(m_app->m_pNewDoc->m_strPath, InProgramFolder("原稿/NewFile.txt"));
}

TEST_F(OpenDocumentsTest, NamesComeFromThePath)
{
    std::string path = MakeFile("Manual.HTM", "x\r\n");
    CZavioDoc* doc = m_app->CreateDocumentForPath(path);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->m_strBaseName, "Manual");
    EXPECT_EQ(doc->m_strExtension, "htm");
    EXPECT_EQ(doc->m_strPath, path);
    EXPECT_EQ(doc->GetTitle(), path);
}

TEST_F(OpenDocumentsTest, SamePathTwiceGivesBothMessagesAndNoSecondWindow)
{
    std::string path = MakeFile("same.txt", "1\r\n");
    m_host.QueueFiles({path});
    m_app->OnFileOpenDocument();
    m_host.QueueFiles({path});
    m_app->OnFileOpenDocument();
    EXPECT_EQ(OpenDocuments().size(), 1u);
    std::string utf8 = *ToNativePath(path);
    EXPECT_EQ(m_host.MessagesUtf8(),
              (std::vector<std::string>{utf8 + " はすでに開かれています", utf8 + "　はオープンできませんでした"}));
}

TEST_F(OpenDocumentsTest, PathInOtherLetterCaseOpensASecondWindow)
{
    std::string lower = MakeFile("case.txt", "1\r\n");
    std::string upper = InProgramFolder("CASE.txt");
    m_host.QueueFiles({lower, upper});
    m_app->OnFileOpenDocument();
    ASSERT_EQ(OpenDocuments().size(), 2u);
    // The second name has no file here: its window stays, empty.
    EXPECT_EQ(m_host.MessagesUtf8(),
              std::vector<std::string>{*ToNativePath(upper) + "　は読み込みできませんでした\n"
                                                              "ファイルまたはフォルダが見つかりません。"});
    EXPECT_EQ(ViewText(OpenDocuments()[1]), "");
}

TEST_F(OpenDocumentsTest, DroppedFileOfAnotherKindIsRefusedButTheDialogOpensIt)
{
    std::string path = MakeFile("readme.doc", "text\r\n");
    EXPECT_EQ(m_app->OpenDocumentFile(path), nullptr);
    EXPECT_EQ(m_host.MessagesUtf8(), std::vector<std::string>{"readme.DOC は開けません"});
    EXPECT_TRUE(OpenDocuments().empty());

    m_host.QueueFiles({path});
    m_app->OnFileOpenDocument();
    ASSERT_EQ(OpenDocuments().size(), 1u);
    EXPECT_EQ(OpenDocuments()[0]->m_strExtension, "doc");
}

TEST_F(OpenDocumentsTest, DroppedFileOpensWithoutTilingAndJoinsTheRecentFiles)
{
    m_app->LoadStdProfileSettings(10);
    std::string path = MakeFile("drop.Html", "<p>\r\n");
    int tiles = m_host.m_tileCount;
    CDocument* doc = m_app->OpenDocumentFile(path);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(static_cast<CZavioDoc*>(doc)->m_strExtension, "html");
    EXPECT_EQ(m_host.m_tileCount, tiles);
    EXPECT_EQ(m_app->GetRecentFiles(), std::vector<std::string>{path});
    EXPECT_EQ(m_host.GetProfileString("Recent File List", "File1"), path);
}

// The File menu's recent files: one opens as a dropped file; one open
// already comes to the front; one that is gone leaves the list.
TEST_F(OpenDocumentsTest, RecentFileCommandsOpenFrontOrForget)
{
    m_app->LoadStdProfileSettings(10);
    const std::string gone = MakeFile("gone.txt", "G\r\n"), kept = MakeFile("kept.txt", "K\r\n");
    m_app->AddToRecentFileList(gone);
    m_app->AddToRecentFileList(kept);
    EXPECT_FALSE(m_app->IsCommandEnabled(ID_FILE_MRU_FILE1 + 2));
    ASSERT_TRUE(m_app->ExecuteCommand(ID_FILE_MRU_FILE1));
    ASSERT_EQ(OpenDocuments().size(), 1u);
    EXPECT_EQ(ViewText(OpenDocuments()[0]), "K\r\n");
    NewDocument();
    m_app->ExecuteCommand(ID_FILE_MRU_FILE1);
    EXPECT_EQ(OpenDocuments().size(), 2u);
    EXPECT_EQ(m_host.Windows().back(), OpenDocuments()[0]);
    EXPECT_TRUE(m_host.m_shown.empty());

    ASSERT_TRUE(RemoveFile(gone));
    m_app->ExecuteCommand(ID_FILE_MRU_FILE1 + 1);
    EXPECT_EQ(m_host.MessagesUtf8(),
              std::vector<std::string>{m_folder.Path() +
                                       "gone.txt が見つかりません。最近使ったファイルの一覧から外します。"});
    EXPECT_EQ(m_app->GetRecentFiles(), std::vector<std::string>{kept});
    EXPECT_EQ(OpenDocuments().size(), 2u);
}

TEST_F(OpenDocumentsTest, LineBreaksOfTheFileBecomeCrLf)
{
    std::string path = MakeFile("mixed.txt", "a\nb\r\n\r\nc\rd\nlast");
    m_host.QueueFiles({path});
    m_app->OnFileOpenDocument();
    // A lone CR is no line break in a text file: it stays inside its line.
    EXPECT_EQ(ViewText(OpenDocuments()[0]), "a\r\nb\r\n\r\nc\rd\r\nlast\r\n");
}

TEST_F(OpenDocumentsTest, FilesThatCannotBeReadLeaveAnEmptyWindowAndTheirMessage)
{
    std::string folder = InProgramFolder("folder.txt");
    ASSERT_TRUE(MakeFolder(folder));
    std::string missing = InProgramFolder("missing.txt");
    std::string binary = MakeFile("binary.txt", std::string("MZ\0\x01\x02", 5));
    m_host.QueueFiles({folder, missing, binary});
    m_app->OnFileOpenDocument();
    ASSERT_EQ(OpenDocuments().size(), 3u);
    for (CZavioDoc* doc : OpenDocuments()) EXPECT_EQ(ViewText(doc), "");
    const std::string notRead = "　は読み込みできませんでした\n";
    EXPECT_EQ(m_host.MessagesUtf8(),
              (std::vector<std::string>{
                  *ToNativePath(folder) + notRead + "ファイルではなくフォルダです。",
                  *ToNativePath(missing) + notRead + "ファイルまたはフォルダが見つかりません。",
                  *ToNativePath(binary) + notRead + "テキストファイルではありません (値が 0 のバイトがあります)。"}));
}

TEST_F(OpenDocumentsTest, FileOverTheViewCapacityIsRefusedWithBothMessages)
{
    std::string line(998, 'x');
    std::string bytes;
    while (bytes.size() <= 1000 * 1024) bytes += line + "\r\n";
    std::string path = MakeFile("big.htm", bytes);
    EXPECT_EQ(m_app->OpenDocumentFile(path), nullptr);
    EXPECT_EQ(m_host.MessagesUtf8(), (std::vector<std::string>{"ファイルが大きすぎて開けません。",
                                                               *ToNativePath(path) + "　は読み込みできませんでした"}));
    EXPECT_EQ(OpenDocuments().size(), 1u);  // the empty window stays
    EXPECT_EQ(ReadFile(path), bytes);
}

TEST_F(OpenDocumentsTest, WindowThatCannotBeMadeIsReportedAndNothingStays)
{
    std::string path = MakeFile("w.txt", "x\r\n");
    m_host.m_failWindowCreation = true;
    m_host.QueueFiles({path});
    m_app->OnFileOpenDocument();
    EXPECT_TRUE(OpenDocuments().empty());
    EXPECT_EQ(m_host.MessagesUtf8(),
              (std::vector<std::string>{"テキストファイルのウィンドウフレームが構築できませんでした",
                                        *ToNativePath(path) + "　はオープンできませんでした"}));
}

TEST_F(OpenDocumentsTest, InHelpModeOpenShowsItsPageOnly)
{
    m_app->m_nHelpMode = 11;
    m_app->OnFileOpenDocument();
    EXPECT_TRUE(m_host.m_dialogRequests.empty());
    EXPECT_EQ(m_host.m_shellOpened, std::vector<std::string>{m_folder.Path() + "Help/HID_FILE_OPEN.htm"});
}

}  // namespace
}  // namespace zavio::test
