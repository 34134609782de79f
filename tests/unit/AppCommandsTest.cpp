// The application's commands through the router: help-mode, the guides, the
// help contents and the WinHelp test.
#include "FrameHost.h"
#include "doc/ZavioDoc.h"
#include "framework/Cp932.h"
#include "res/CommandIds.h"
#include "res/Resources.h"

namespace zavio::test {
namespace {

class AppCommandsTest : public FrameTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Start());
        m_host.m_shellOpened.clear();
    }
    void EnterHelpMode()
    {
        m_app->m_nHelpMode = 0;
        ASSERT_TRUE(m_app->ExecuteCommand(ID_CONTEXT_HELP_HP));
        ASSERT_EQ(m_app->m_nHelpMode, 11);
    }
};

TEST_F(AppCommandsTest, HelpAwareCommandsOpenTheirPageInsteadOfRunning)
{
    const struct {
        unsigned id;
        const char* page;
    } cases[] = {
        {ID_FILE_NEW, "HID_FILE_NEW.htm"},
        {ID_FILE_OPEN, "HID_FILE_OPEN.htm"},
        {ID_FILE_CLOSE, "HID_FILE_CLOSE.htm"},
        {ID_FILE_SAVE, "HID_FILE_SAVE.htm"},
        {ID_FILE_SAVE_AS, "HID_FILE_SAVE_AS.htm"},
        {ID_FILE_PRINT_SETUP, "HID_FILE_PRINT_SETUP.htm"},
        {ID_FILE_PRINT, "HID_FILE_PRINT.htm"},
        {ID_FILE_PRINT_PREVIEW, "HID_FILE_PRINT_PREVIEW.htm"},
        {ID_APP_EXIT, "HID_APP_EXIT.htm"},
        {ID_EDIT_UNDO, "HID_EDIT_UNDO.htm"},
        {ID_EDIT_CUT, "HID_EDIT_CUT.htm"},
        {ID_EDIT_COPY, "HID_EDIT_COPY.htm"},
        {ID_EDIT_PASTE, "HID_EDIT_PASTE.htm"},
        {ID_PREP_A, "HID_PREP_A.htm"},
        {ID_PREP_E, "HID_PREP_E.htm"},
        {ID_HELP_FINDER, "HID_HELP_FINDER.htm"},
        {ID_HELP_HTML, "HID_HELP_HTML.htm"},
        {ID_HELP_HP_TYPE, "HID_HELP_HTML.htm"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.page);
        EnterHelpMode();
        m_host.m_shellOpened.clear();
        EXPECT_TRUE(m_app->ExecuteCommand(c.id));
        EXPECT_EQ(m_host.m_shellOpened, std::vector<std::string>{Page(c.page)});
        EXPECT_EQ(m_app->m_nHelpMode, 0);
    }
    // Nothing ran: no new document, no dialog, no box, still the one window.
    EXPECT_EQ(Documents().size(), 1u);
    EXPECT_TRUE(m_host.m_dialogRequests.empty());
    EXPECT_TRUE(m_host.m_shown.empty());
    EXPECT_EQ(m_host.m_printSetupCount, 0);
}

TEST_F(AppCommandsTest, OtherCommandsRunInHelpModeAndKeepIt)
{
    EnterHelpMode();
    m_host.m_barVisible[ID_VIEW_TOOLBAR] = true;
    for (unsigned id : {ID_EDIT_FIND, ID_EDIT_REPLACE, ID_EDIT_SELECT_ALL, ID_EDIT_CLEAR, ID_VIEW_TOOLBAR,
                        ID_WINDOW_CASCADE, ID_HELP, ID_CONTEXT_HELP}) {
        EXPECT_TRUE(m_app->ExecuteCommand(id)) << id;
    }
    EXPECT_EQ(m_app->m_nHelpMode, 11);
    EXPECT_FALSE(m_host.m_barVisible[ID_VIEW_TOOLBAR]);
    EXPECT_EQ(m_host.m_cascadeCount, 1);
    EXPECT_EQ(m_host.m_frameHelp, (std::vector<unsigned>{ID_HELP, ID_CONTEXT_HELP}));
    EXPECT_TRUE(m_host.m_shellOpened.empty());
}

TEST_F(AppCommandsTest, AboutKeepsHelpModeForTheNextHelpAwareCommand)
{
    EnterHelpMode();
    EXPECT_TRUE(m_app->ExecuteCommand(ID_APP_ABOUT));
    EXPECT_EQ(m_host.m_aboutCount, 1);
    EXPECT_EQ(m_app->m_nHelpMode, 11);
    m_app->ExecuteCommand(ID_FILE_PRINT_SETUP);
    EXPECT_EQ(m_host.m_shellOpened, std::vector<std::string>{Page("HID_FILE_PRINT_SETUP.htm")});
    EXPECT_EQ(m_host.m_printSetupCount, 0);
}

TEST_F(AppCommandsTest, HelpButtonTwiceOpensItsOwnPageAndLeavesHelpMode)
{
    EXPECT_TRUE(m_app->ExecuteCommand(ID_CONTEXT_HELP_HP));
    EXPECT_TRUE(m_host.m_shellOpened.empty());
    EXPECT_TRUE(m_app->ExecuteCommand(ID_CONTEXT_HELP_HP));
    EXPECT_EQ(m_host.m_shellOpened, std::vector<std::string>{Page("HID_CONTHELP_HP.htm")});
    EXPECT_EQ(m_app->m_nHelpMode, 0);
    EXPECT_TRUE(m_app->IsCommandEnabled(ID_CONTEXT_HELP_HP));
}

TEST_F(AppCommandsTest, WinHelpContentsGoToTheFrameWithoutADocumentWindow)
{
    CloseAll();
    EnterHelpMode();
    EXPECT_TRUE(m_app->ExecuteCommand(ID_HELP_FINDER));
    EXPECT_EQ(m_host.m_winHelp, std::vector<std::string>{m_folder.Path() + "Zavio.hlp"});
    EXPECT_EQ(m_app->m_nHelpMode, 11);
    EXPECT_TRUE(m_host.m_shellOpened.empty());
    EXPECT_FALSE(m_app->IsCommandEnabled(ID_HELP_FINDER));
    m_app->m_bWinHelpAvailable = 1;
    EXPECT_TRUE(m_app->IsCommandEnabled(ID_HELP_FINDER));
    EXPECT_TRUE(m_app->IsCommandEnabled(ID_CONTEXT_HELP));
}

TEST_F(AppCommandsTest, WinHelpContentsGoToTheApplicationWithADocumentWindow)
{
    EXPECT_TRUE(m_app->ExecuteCommand(ID_HELP_FINDER));
    EXPECT_EQ(m_host.m_winHelp, std::vector<std::string>{m_folder.Path() + "Zavio.hlp"});
    EnterHelpMode();
    EXPECT_TRUE(m_app->ExecuteCommand(ID_HELP_FINDER));
    EXPECT_EQ(m_host.m_winHelp.size(), 1u);
    EXPECT_EQ(m_host.m_shellOpened, std::vector<std::string>{Page("HID_HELP_FINDER.htm")});
}

TEST_F(AppCommandsTest, GuideOpensItsPageInHelpModeAndShowsItsTextOtherwise)
{
    EnterHelpMode();
    EXPECT_TRUE(m_app->ExecuteCommand(ID_PREP_C));
    EXPECT_EQ(m_host.m_shellOpened, std::vector<std::string>{Page("HID_PREP_C.htm")});
    EXPECT_TRUE(m_host.m_shown.empty());
    EXPECT_TRUE(m_app->ExecuteCommand(ID_PREP_C));
    ASSERT_EQ(m_host.m_shown.size(), 1u);
    EXPECT_EQ(m_host.m_shown[0].type, MB_OK);
    EXPECT_EQ(m_host.MessagesUtf8()[0],
              std::string(27, ' ') +
                  "変換を実行するフォルダを作り\n原稿のHTMLファイル(*.htm) と 画像の入ったフォルダ "
                  "を選択コピ\uFF0Dして貼り付けます。");
    // Every guide reaches the screen in CP932, the same text as its resource.
    for (unsigned id = ID_PREP_A; id <= ID_PREP_E; ++id) {
        m_host.m_shown.clear();
        EXPECT_TRUE(m_app->ExecuteCommand(id));
        ASSERT_EQ(m_host.m_shown.size(), 1u);
        EXPECT_EQ(m_host.m_shown[0].text, J(res::GuideText(id)));
    }
    EXPECT_EQ(m_host.m_shellOpened.size(), 1u);
}

TEST_F(AppCommandsTest, ContentsCommandsOpenTheirFiles)
{
    EXPECT_TRUE(m_app->ExecuteCommand(ID_HELP_HTML));
    EXPECT_TRUE(m_app->ExecuteCommand(ID_HELP_HP_TYPE));
    EXPECT_EQ(m_host.m_shellOpened,
              (std::vector<std::string>{m_folder.Path() + "Zavio.chm", m_folder.Path() + "Help/Zavio.htm"}));
}

TEST(WinHelpVersionTest, OnlyTheListedVersionsHaveWinHelp)
{
    EXPECT_TRUE(CZavioApp::IsWinHelpVersion(6, 1));
    EXPECT_FALSE(CZavioApp::IsWinHelpVersion(6, 2));
    EXPECT_FALSE(CZavioApp::IsWinHelpVersion(10, 0));
    EXPECT_TRUE(CZavioApp::IsWinHelpVersion(4, 10));
    EXPECT_FALSE(CZavioApp::IsWinHelpVersion(4, 20));
    EXPECT_TRUE(CZavioApp::IsWinHelpVersion(3, 51));
    EXPECT_FALSE(CZavioApp::IsWinHelpVersion(3, 50));
}

}  // namespace
}  // namespace zavio::test
