// Text between views, line lists and the working file.
#include <sys/wait.h>
#include <unistd.h>

#include <optional>
#include <random>

#include "TestApp.h"
#include "framework/Cp932.h"
#include "framework/EditView.h"
#include "framework/FileSystem.h"

namespace zavio::test {
namespace {

class ViewLinesTest : public AppTest {
protected:
    LineList Read(std::string viewText)
    {
        CZavioDoc* doc = NewDocument();
        doc->m_strBaseName = J("原稿");
        SetViewText(doc, std::move(viewText));
        LineList lines;
        EXPECT_TRUE(doc->ReadViewLines(lines));
        return lines;
    }
};

TEST_F(ViewLinesTest, LineBreaks)
{
    EXPECT_EQ(Read(""), LineList{});
    EXPECT_EQ(Read("a\r\n\r\nb"), (LineList{"a", "", "b"}));
    EXPECT_EQ(Read("a\n\nb"), (LineList{"a", "b"}));
    EXPECT_EQ(Read("a\r\nb\r\n"), (LineList{"a", "b"}));
    EXPECT_EQ(Read("a\rb"), (LineList{"a", "b"}));
    EXPECT_EQ(Read("\r\n\r\n"), (LineList{"", ""}));
    EXPECT_TRUE(m_host.m_shown.empty());
}

TEST_F(ViewLinesTest, ZeroBytesAreDropped)
{
    EXPECT_EQ(Read(std::string("a\0b\r\n\0", 6)), (LineList{"ab"}));
}

TEST_F(ViewLinesTest, AppendsToTheGivenList)
{
    CZavioDoc* doc = NewDocument();
    SetViewText(doc, "x\r\n");
    LineList lines{"kept"};
    ASSERT_TRUE(doc->ReadViewLines(lines));
    EXPECT_EQ(lines, (LineList{"kept", "x"}));
}

// Word writes a Japanese paragraph without blanks as one line: 5,000
// characters are 10,000 bytes. Lines of any length are read whole.
TEST_F(ViewLinesTest, LongLinesAreReadWhole)
{
    std::string longLine(25000, 'y');
    EXPECT_EQ(Read("first\r\n" + longLine + "\r\nnext"), (LineList{"first", longLine, "next"}));
    EXPECT_TRUE(m_host.m_shown.empty());
}

class LoadLinesTest : public AppTest {
protected:
    std::string WorkingFile() const { return m_app->m_strWorkDir + "OursTemp.txt"; }
    void RoundTripRandomLineLists();
};

TEST_F(LoadLinesTest, ViewGetsCrLfLinesAndNoWorkingFileRemains)
{
    CZavioDoc* doc = NewDocument();
    ASSERT_TRUE(doc->LoadLinesIntoView({"a", "", J("表ソ")}));
    EXPECT_EQ(ViewText(doc), "a\r\n\r\n" + J("表ソ") + "\r\n");
    EXPECT_FALSE(FileExists(WorkingFile()));
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(LoadLinesTest, EmptyListGivesEmptyText)
{
    CZavioDoc* doc = NewDocument();
    SetViewText(doc, "old");
    ASSERT_TRUE(doc->LoadLinesIntoView({}));
    EXPECT_EQ(ViewText(doc), "");
}

TEST_F(LoadLinesTest, LongLineReachesTheViewWhole)
{
    CZavioDoc* doc = NewDocument();
    ASSERT_TRUE(doc->LoadLinesIntoView({std::string(30000, 'z')}));
    EXPECT_EQ(ViewText(doc), std::string(30000, 'z') + "\r\n");
}

// Lines without CR, LF or zero bytes come back as they went in, double-byte characters with 0x5C / 0x7C trail bytes
// included; also through a held working file, where a short text follows a longer one in the same file.
TEST_F(LoadLinesTest, RoundTripOfRandomLineLists)
{
    for (bool held : {false, true}) {
        {
            std::optional<CZavioApp::WorkingFileHold> hold;
            if (held) hold.emplace(*m_app);
            RoundTripRandomLineLists();
        }
        EXPECT_FALSE(FileExists(WorkingFile()));
    }
}

// A conversion's transfers share one working file: it stands while the hold
// lives and goes with it, but a file another copy put under its name stays.
TEST_F(LoadLinesTest, AHeldWorkingFileGoesWithTheHold)
{
    CZavioDoc* doc = NewDocument();
    {
        CZavioApp::WorkingFileHold hold(*m_app);
        {
            CZavioApp::WorkingFileHold nested(*m_app);
            ASSERT_TRUE(doc->LoadLinesIntoView({"x"}));
        }
        EXPECT_TRUE(FileExists(WorkingFile()));
    }
    EXPECT_FALSE(FileExists(WorkingFile()));

    {
        CZavioApp::WorkingFileHold hold(*m_app);
        ASSERT_TRUE(doc->LoadLinesIntoView({"x"}));
        ASSERT_EQ(::unlink(WorkingFile().c_str()), 0);
        WriteFile(WorkingFile(), "another copy's");
    }
    EXPECT_EQ(ReadFile(WorkingFile()), "another copy's");
}

void LoadLinesTest::RoundTripRandomLineLists()
{
    const std::vector<std::string> pieces = {"a",     " ",     "\t",      "<",     ">",    "\\",       "|",     J("表"),
                                             J("ソ"), J("ポ"), J("ﾌｧｲﾙ"), J("　"), "\x81", "\xFC\xFC", "&nbsp;"};
    std::mt19937 rng(20261207);
    CZavioDoc* doc = NewDocument();
    for (int round = 0; round < 200; ++round) {
        LineList lines(rng() % 12);
        for (std::string& line : lines) {
            std::size_t target = rng() % 4 == 0 ? 9990 + rng() % 30 : rng() % 80;
            while (line.size() < target) line += pieces[rng() % pieces.size()];
        }
        ASSERT_TRUE(doc->LoadLinesIntoView(lines));
        LineList back;
        ASSERT_TRUE(doc->ReadViewLines(back));
        ASSERT_EQ(back, lines) << "round " << round;
    }
    EXPECT_TRUE(m_host.m_shown.empty());
}

TEST_F(LoadLinesTest, UnwritableWorkingFolderKeepsTheOldText)
{
    CZavioDoc* doc = NewDocument();
    SetViewText(doc, "old\r\n");
    // A folder nobody can create files in, root included.
    m_app->m_strWorkDir = "/proc/";
    EXPECT_FALSE(doc->LoadLinesIntoView({"new"}));
    EXPECT_EQ(
        m_host.MessagesUtf8(),
        std::vector<std::string>{"作業ファイルの書き出しができませんでした\nファイルまたはフォルダが見つかりません。"});
    EXPECT_EQ(ViewText(doc), "old\r\n");
}

// A place that is no folder is passed over at start-up, and a working file
// that cannot be written (here a folder of its name) sends the file on to
// the next place; each move is said once, with its reason.
TEST_F(LoadLinesTest, AnUnusablePlaceOrWorkingFileMovesTheFileOn)
{
    const std::string notAFolder = InProgramFolder("file/"), blocked = InProgramFolder("blocked/"),
                      usable = InProgramFolder("usable/");
    WriteFile(InProgramFolder("file"), "");
    ASSERT_TRUE(MakeFolder(blocked) && MakeFolder(blocked + "OursTemp.txt"));
    m_host.m_workingFolders = {notAFolder, blocked, usable};
    m_app->InitState(m_folder.Path());
    EXPECT_EQ(m_app->m_strWorkDir, blocked);

    CZavioDoc* doc = NewDocument();
    ASSERT_TRUE(doc->LoadLinesIntoView({"first"}));
    ASSERT_TRUE(doc->LoadLinesIntoView({"second"}));
    EXPECT_EQ(ViewText(doc), "second\r\n");
    EXPECT_EQ(m_app->m_strWorkDir, usable);
    const std::string moving = "作業ファイル OursTemp.txt を ";
    EXPECT_EQ(m_host.MessagesUtf8(),
              (std::vector<std::string>{moving + *ToNativePath(notAFolder) + " に置けないため、" +
                                            *ToNativePath(blocked) + " に置きます\n同じ名前のファイルがあります。",
                                        moving + *ToNativePath(blocked) + " に置けないため、" + *ToNativePath(usable) +
                                            " に置きます\nファイルではなくフォルダです。"}));
}

TEST_F(LoadLinesTest, WorkingFolderWithoutFileNameFormFails)
{
    CZavioDoc* doc = NewDocument();
    m_app->m_strWorkDir += "\x81/";  // a lone lead byte has no UTF-8 name
    EXPECT_FALSE(doc->LoadLinesIntoView({"new"}));
    EXPECT_EQ(m_host.MessagesUtf8(),
              std::vector<std::string>{"作業ファイルの書き出しができませんでした\n"
                                       "名前に Shift_JIS (CP932) の文字ではないバイトがあります。"});
}

TEST_F(LoadLinesTest, TextOverTheViewCapacityIsRefused)
{
    CZavioDoc* doc = NewDocument();
    SetViewText(doc, "old\r\n");
    LineList big(kEditViewCapacity / 1000 + 1, std::string(998, 'x'));  // 1000 bytes a line with CR LF
    EXPECT_FALSE(doc->LoadLinesIntoView(big));
    EXPECT_EQ(m_host.MessagesUtf8(), std::vector<std::string>{"ファイルが大きすぎて開けません。"});
    EXPECT_EQ(ViewText(doc), "old\r\n");
    EXPECT_FALSE(FileExists(WorkingFile()));
    // Just under the capacity still fits.
    big.pop_back();
    EXPECT_TRUE(doc->LoadLinesIntoView(big));
}

// Two running copies share the one working file: each transfer must get its
// own text back, however the two interleave. They start as forks of a copy
// that holds the working folder open already, whose lock they must not share.
TEST_F(LoadLinesTest, TwoProcessesNeverSwapTheirTexts)
{
    ASSERT_TRUE(NewDocument()->LoadLinesIntoView({"before the fork"}));
    auto runTransfers = [&](char mark) {
        // One copy converts, its transfers sharing a held file; the other opens files.
        std::optional<CZavioApp::WorkingFileHold> hold;
        if (mark == 'A') hold.emplace(*m_app);
        CZavioDoc* doc = NewDocument();
        LineList lines(50, std::string(200, mark));
        for (int i = 0; i < 300; ++i) {
            lines[0] = std::string(1, mark) + std::to_string(i);
            if (!doc->LoadLinesIntoView(lines)) return 2;
            LineList back;
            doc->ReadViewLines(back);
            if (back != lines) return 1;
        }
        return 0;
    };
    pid_t children[2];
    for (int c = 0; c < 2; ++c) {
        children[c] = ::fork();
        ASSERT_GE(children[c], 0);
        if (children[c] == 0) ::_exit(runTransfers(c == 0 ? 'A' : 'B'));
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0) << "1: a process read the other's text; 2: a transfer failed";
    }
    EXPECT_FALSE(FileExists(WorkingFile()));
}

}  // namespace
}  // namespace zavio::test
