// The main frame: saved placement, the start-up timer, the close request and
// start-up itself.
#include <filesystem>

#include "FrameHost.h"
#include "doc/ZavioDoc.h"
#include "framework/EditView.h"
#include "res/CommandIds.h"

namespace zavio::test {
namespace {

class MainFrameTest : public FrameTest {
protected:
    std::string StoredPlacement() { return m_host.GetProfileString("Settings", "WindowPos"); }
    void StorePlacement(std::string value) { m_host.WriteProfileString("Settings", "WindowPos", value); }
};

TEST_F(MainFrameTest, StartupShowsTheTermsInNewFileInTheProgramFolder)
{
    ASSERT_TRUE(Start());
    ASSERT_EQ(Documents().size(), 1u);
    auto* doc = static_cast<CZavioDoc*>(Documents().front());
    EXPECT_EQ(m_app->m_pStartupDoc, doc);
    EXPECT_EQ(doc->GetTitle(), m_folder.Path() + "NewFile.txt");
    std::string text = doc->GetView()->GetRawText();
    EXPECT_EQ(text.substr(0, 9), "       " + J("旧"));
    EXPECT_EQ(text.size(), J("       旧ヘルプから新ヘルプへの変換ソフト【ザビオ】").size() + 32 + 9 + 30 +
                               J("[使用許諾条件]").size() + 22 + 6 + 21 + 2 + 24 + 24 + 21 + 13 * 2);
    EXPECT_EQ(m_app->m_strOpenDir, m_folder.Path());
    EXPECT_EQ(m_app->m_strSaveDir, m_folder.Path());
    EXPECT_EQ(m_app->m_strWorkDir, m_folder.Path());
    EXPECT_EQ(m_app->m_nHelpMode, 0);
    // There is no WinHelp here: its commands are disabled.
    EXPECT_EQ(m_app->m_bWinHelpAvailable, 0);
    EXPECT_FALSE(m_app->IsCommandEnabled(ID_HELP_FINDER));
    EXPECT_FALSE(m_app->IsCommandEnabled(ID_CONTEXT_HELP));
    EXPECT_EQ(m_host.m_timerPeriods, std::vector<unsigned>{10000});
    EXPECT_EQ(m_host.m_showCommands, (std::vector<int>{SW_SHOWNORMAL, SW_SHOWNORMAL}));
    EXPECT_TRUE(m_host.m_shown.empty());
}

TEST_F(MainFrameTest, StartupFailsWithoutAMainWindow)
{
    m_host.m_failMainWindow = true;
    EXPECT_FALSE(Start());
    EXPECT_TRUE(Documents().empty());
    EXPECT_TRUE(m_host.m_showCommands.empty());
}

TEST_F(MainFrameTest, TimerClosesTheStartupDocumentOnce)
{
    ASSERT_TRUE(Start());
    ASSERT_EQ(m_host.m_timers.size(), 1u);
    EXPECT_EQ(m_host.m_timers.begin()->second, 1u);
    EXPECT_EQ(Frame().m_nStartupTimer, m_host.m_timers.begin()->first);
    Frame().OnTimer(1);
    EXPECT_TRUE(Documents().empty());
    EXPECT_EQ(m_app->m_pStartupDoc, nullptr);
    EXPECT_TRUE(m_host.m_timers.empty());
    EXPECT_TRUE(m_host.m_shown.empty());  // closed without a question
}

TEST_F(MainFrameTest, TimerOnlyStopsWhenTheUserClosedTheStartupDocument)
{
    ASSERT_TRUE(Start());
    m_app->m_pStartupDoc->OnCloseDocument();
    m_app->OnFileNewDocument();
    CZavioDoc* other = m_app->m_pNewDoc;
    Frame().OnTimer(1);
    EXPECT_EQ(Documents(), std::vector<CDocument*>{other});
    EXPECT_TRUE(m_host.m_timers.empty());
}

TEST_F(MainFrameTest, TimerKeepsAStartupDocumentTheUserTypedInto)
{
    ASSERT_TRUE(Start());
    CZavioDoc* doc = m_app->m_pStartupDoc;
    doc->SetModifiedFlag();
    doc->SetModifiedFlag(false);  // saved: still the user's
    Frame().OnTimer(1);
    EXPECT_EQ(Documents(), std::vector<CDocument*>{doc});
    EXPECT_TRUE(m_host.m_timers.empty());
    EXPECT_TRUE(m_host.m_shown.empty());
}

TEST_F(MainFrameTest, TimerShortageIsReportedAndTheStartupDocumentStays)
{
    m_host.m_noTimers = true;
    ASSERT_TRUE(Start());
    EXPECT_EQ(m_host.MessagesUtf8(),
              std::vector<std::string>{"ウィンドウズのタイマが不足しており、遅延機能は実行できません"});
    EXPECT_EQ(m_host.m_shown[0].type, MB_OK);
    EXPECT_EQ(Frame().m_nStartupTimer, 0u);
    EXPECT_EQ(Documents().size(), 1u);
    EXPECT_EQ(m_host.m_showCommands.size(), 2u);  // start-up went on
}

TEST_F(MainFrameTest, ClosingMaximisedStoresFlagsTwoAndShowThree)
{
    ASSERT_TRUE(Start());
    m_host.m_window = {0, SW_SHOWMAXIMIZED, -1, -1, -8, -8, 10, 20, 810, 620};
    EXPECT_TRUE(Frame().OnClose());
    EXPECT_EQ(StoredPlacement(), "2,3,-1,-1,-8,-8,10,20,810,620");
    EXPECT_TRUE(Documents().empty());
}

TEST_F(MainFrameTest, ClosingNormalStoresFlagsZero)
{
    ASSERT_TRUE(Start());
    m_host.m_window = {2, SW_SHOWNORMAL, -1, -1, -1, -1, 0, 0, 640, 480};
    EXPECT_TRUE(Frame().OnClose());
    EXPECT_EQ(StoredPlacement(), "0,1,-1,-1,-1,-1,0,0,640,480");
}

TEST_F(MainFrameTest, CancelledCloseStillStoresThePlacement)
{
    ASSERT_TRUE(Start());
    m_app->m_pStartupDoc->SetModifiedFlag();
    m_host.m_window = {0, SW_SHOWNORMAL, -1, -1, -1, -1, 5, 6, 105, 206};
    m_host.QueueAnswer(IDCANCEL);
    EXPECT_FALSE(Frame().OnClose());
    EXPECT_EQ(StoredPlacement(), "0,1,-1,-1,-1,-1,5,6,105,206");
    EXPECT_EQ(Documents().size(), 1u);
}

TEST_F(MainFrameTest, StoredPlacementIsRestored)
{
    StorePlacement("1,1,-1,-1,-1,-1,10,20,810,620");
    ASSERT_TRUE(Start());
    EXPECT_EQ(m_host.m_placementsApplied, 1);
    const WindowPlacement& w = m_host.m_window;
    EXPECT_EQ(std::vector<int>({w.left, w.top, w.right - w.left, w.bottom - w.top}),
              std::vector<int>({10, 20, 800, 600}));
    EXPECT_EQ(w.flags, 1u);
    EXPECT_EQ(m_host.m_showCommands.front(), SW_SHOWNORMAL);
}

TEST_F(MainFrameTest, StartupShowCommandOverridesTheStoredOneUnlessNormal)
{
    StorePlacement("0,1,-1,-1,-1,-1,10,20,810,620");
    m_host.m_startupShow = SW_SHOWMAXIMIZED;
    ASSERT_TRUE(Start());
    EXPECT_EQ(m_host.m_window.showCmd, unsigned{SW_SHOWMAXIMIZED});
    EXPECT_EQ(m_host.m_showCommands.front(), SW_SHOWMAXIMIZED);
}

TEST_F(MainFrameTest, UnusableStoredPlacementsAreIgnored)
{
    for (const char* value : {"", "1,1,-1,-1,-1,-1,10,20,810", "1,1,-1,-1,-1,-1,10,20,810,x620",
                              "1,1,-1,-1,-1,-1,10,20,a810,620", "1;1;-1;-1;-1;-1;10;20;810;620"}) {
        SCOPED_TRACE(value);
        EXPECT_FALSE(ParsePlacement(value).has_value());
    }
    StorePlacement("1,1,-1,-1,-1,-1,10,20,810");
    ASSERT_TRUE(Start());
    EXPECT_EQ(m_host.m_placementsApplied, 0);
    EXPECT_EQ(m_host.m_showCommands.front(), SW_SHOWNORMAL);
}

TEST_F(MainFrameTest, TextAfterTheTenthNumberIsIgnored)
{
    std::optional<WindowPlacement> p = ParsePlacement("2,3,-1,-1,-8,-8,10,20,810,620,99 garbage");
    ASSERT_TRUE(p.has_value());
    EXPECT_EQ(FormatPlacement(*p), "2,3,-1,-1,-8,-8,10,20,810,620");
}

// The file dialogs start where they were last confirmed, in this run or an
// earlier one; the first time, and when that folder is gone, in the folder
// the program was started from.
TEST_F(MainFrameTest, DialogFoldersComeBackFromTheProfile)
{
    const std::string work = m_folder.Path() + "work/";
    ASSERT_TRUE(MakeFolder(work));
    ASSERT_TRUE(Start());
    EXPECT_EQ(m_app->m_strOpenDir, m_folder.Path());
    WriteFile(work + "a.txt", "a\r\n");
    m_host.QueueFiles({work + "a.txt"});
    m_app->OnFileOpenDocument();
    std::string path, name;
    int type = 1;
    m_host.QueueFiles({work + "b.txt"});
    ASSERT_TRUE(m_app->AskSaveFileName(path, name, type, nullptr));

    m_app.reset();  // the next run
    ASSERT_TRUE(Start());
    EXPECT_EQ(m_app->m_strOpenDir, work);
    EXPECT_EQ(m_app->m_strSaveDir, work);
    m_host.QueueDialogCancel();
    m_app->OnFileOpenDocument();
    EXPECT_EQ(m_host.m_dialogRequests.back().initialFolder, work);

    std::filesystem::remove_all(*ToNativePath(work));
    m_app.reset();
    ASSERT_TRUE(Start());
    EXPECT_EQ(m_app->m_strOpenDir, m_folder.Path());
}

TEST_F(MainFrameTest, ControlBarCommandsToggleTheBars)
{
    ASSERT_TRUE(Start());
    m_host.m_barVisible[ID_VIEW_TOOLBAR] = true;
    EXPECT_TRUE(m_app->ExecuteCommand(ID_VIEW_TOOLBAR));
    EXPECT_FALSE(m_host.m_barVisible[ID_VIEW_TOOLBAR]);
    EXPECT_TRUE(m_app->ExecuteCommand(ID_VIEW_STATUS_BAR));
    EXPECT_TRUE(m_host.m_barVisible[ID_VIEW_STATUS_BAR]);
}

}  // namespace
}  // namespace zavio::test
