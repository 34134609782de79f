// Application state, help-mode, new documents and command routing.
#include "TestApp.h"
#include "app/ZavioView.h"
#include "framework/DocTemplate.h"
#include "framework/FileSystem.h"
#include "framework/Path.h"
#include "res/CommandIds.h"
#include "res/FileKinds.h"

namespace zavio::test {
namespace {

class ApplicationStateTest : public AppTest {};

TEST_F(ApplicationStateTest, FoldersStartAtTheProgramFolder)
{
    EXPECT_EQ(m_app->m_strAppDir, m_folder.Path());
    EXPECT_EQ(m_app->m_strOpenDir, m_app->m_strAppDir);
    EXPECT_EQ(m_app->m_strSaveDir, m_app->m_strAppDir);
    EXPECT_EQ(m_app->m_strWorkDir, m_app->m_strAppDir);
    EXPECT_EQ(m_app->m_nHelpMode, 0);
    EXPECT_EQ(m_app->Conversion().m_bKeepHeader, 0);
    EXPECT_TRUE(m_app->Conversion().m_saHeaderLines.empty() && m_app->Conversion().m_saPageFiles.empty());
}

// An installed program's folder cannot be written: documents start in the
// folder the program was started from, or in the home folder.
TEST_F(ApplicationStateTest, ReadOnlyProgramFolderStartsDocumentsInTheUsersOwnFolder)
{
    ASSERT_TRUE(ChangeFolder(m_folder.Path()));
    m_app->InitState("/proc/");  // no one can make files there, root included
    EXPECT_EQ(m_app->m_strAppDir, "/proc/");
    EXPECT_EQ(m_app->m_strOpenDir, m_folder.Path());
    EXPECT_EQ(m_app->m_strSaveDir, m_folder.Path());

    const char* home = std::getenv("HOME");
    const std::string savedHome = home ? home : "";
    ::setenv("HOME", ToNativePath(m_folder.Path() + "home")->c_str(), 1);
    ASSERT_TRUE(ChangeFolder("/proc/"));
    m_app->InitState("/proc/");
    EXPECT_EQ(m_app->m_strOpenDir, m_folder.Path() + "home/");
    ::setenv("HOME", savedHome.c_str(), 1);
}

TEST_F(ApplicationStateTest, HelpPageIsTheProgramFolderFollowedByTheRelativePath)
{
    m_app->OpenHelpPage(HelpPagePath("HID_FILE_PRINT_SETUP.htm"));
    ASSERT_EQ(m_host.m_shellOpened.size(), 1u);
    EXPECT_EQ(m_host.m_shellOpened[0], m_folder.Path() + "Help/HID_FILE_PRINT_SETUP.htm");
}

TEST_F(ApplicationStateTest, HelpButtonTwiceOpensItsOwnPageAndLeavesHelpMode)
{
    ASSERT_TRUE(m_app->ExecuteCommand(ID_CONTEXT_HELP_HP));
    EXPECT_EQ(m_app->m_nHelpMode, 11);
    EXPECT_TRUE(m_host.m_shellOpened.empty());
    ASSERT_TRUE(m_app->ExecuteCommand(ID_CONTEXT_HELP_HP));
    EXPECT_EQ(m_app->m_nHelpMode, 0);
    EXPECT_EQ(m_host.m_shellOpened, std::vector<std::string>{m_folder.Path() + "Help/HID_CONTHELP_HP.htm"});
    EXPECT_TRUE(m_app->IsCommandEnabled(ID_CONTEXT_HELP_HP));
}

TEST_F(ApplicationStateTest, CommandThatIsNotHelpAwareKeepsHelpMode)
{
    CZavioDoc* doc = NewDocument();
    SetViewText(doc, "abc");
    m_app->m_nHelpMode = 11;
    EXPECT_TRUE(m_app->ExecuteCommand(ID_EDIT_SELECT_ALL));
    EXPECT_EQ(m_app->m_nHelpMode, 11);
    EXPECT_TRUE(m_host.m_shellOpened.empty());
    // The next help-aware command opens its page instead of running.
    EXPECT_TRUE(m_app->ExecuteCommand(ID_EDIT_PASTE));
    EXPECT_EQ(m_app->m_nHelpMode, 0);
    EXPECT_EQ(m_host.m_shellOpened, std::vector<std::string>{m_folder.Path() + "Help/HID_EDIT_PASTE.htm"});
}

TEST_F(ApplicationStateTest, ClickInTheTextEndsHelpModeWithoutAPage)
{
    CZavioDoc* doc = NewDocument();
    m_app->m_nHelpMode = 11;
    static_cast<CZavioView*>(doc->GetView())->OnLButtonUp();
    EXPECT_EQ(m_app->m_nHelpMode, 0);
    EXPECT_TRUE(m_host.m_shellOpened.empty());
}

class NewDocumentTest : public AppTest {};

TEST_F(NewDocumentTest, NamesTheDocumentNewFileInTheOpenFolderAndTiles)
{
    int tilesBefore = m_host.m_tileCount;
    ASSERT_TRUE(m_app->ExecuteCommand(ID_FILE_NEW));
    CZavioDoc* doc = m_app->m_pNewDoc;
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->m_strBaseName, "NewFile");
    EXPECT_EQ(doc->m_strExtension, "txt");
    EXPECT_EQ(doc->m_strPath, m_folder.Path() + "NewFile.txt");
    EXPECT_EQ(doc->GetTitle(), doc->m_strPath);
    EXPECT_EQ(OpenDocuments().back(), doc);
    EXPECT_EQ(m_host.m_tileCount, tilesBefore + 1);
    EXPECT_EQ(ViewText(doc), "");
    EXPECT_FALSE(FileExists(doc->m_strPath));  // nothing written until saved
}

TEST_F(NewDocumentTest, FollowsTheOpenFolder)
{
    m_app->m_strOpenDir = J("/作業/");
    m_app->OnFileNewDocument();
    EXPECT_EQ(m_app->m_pNewDoc->m_strPath, J("/作業/NewFile.txt"));
}

TEST_F(NewDocumentTest, InHelpModeOpensItsPageAndCreatesNothing)
{
    m_app->m_nHelpMode = 11;
    m_app->OnFileNewDocument();
    EXPECT_TRUE(OpenDocuments().empty());
    EXPECT_EQ(m_app->m_nHelpMode, 0);
    EXPECT_EQ(m_host.m_shellOpened, std::vector<std::string>{m_folder.Path() + "Help/HID_FILE_NEW.htm"});
}

TEST_F(NewDocumentTest, WindowThatCannotBeMadeLeavesNoNewDocument)
{
    CZavioDoc* older = NewDocument();
    m_host.m_failWindowCreation = true;
    m_app->OnFileNewDocument();
    EXPECT_EQ(m_app->m_pNewDoc, nullptr);
    EXPECT_EQ(OpenDocuments(), std::vector<CZavioDoc*>{older});
    EXPECT_EQ(older->m_strBaseName, "NewFile");
}

TEST_F(NewDocumentTest, ClosingTheStartupDocumentForgetsIt)
{
    CZavioDoc* doc = NewDocument();
    m_app->m_pStartupDoc = doc;
    doc->OnCloseDocument();
    EXPECT_EQ(m_app->m_pStartupDoc, nullptr);
    EXPECT_EQ(m_app->m_pNewDoc, nullptr);
    EXPECT_TRUE(OpenDocuments().empty());
    EXPECT_TRUE(m_host.Windows().empty());
}

class CommandRoutingTest : public AppTest {};

TEST_F(CommandRoutingTest, DocumentCommandsNeedADocumentWindow)
{
    EXPECT_FALSE(m_app->IsCommandEnabled(ID_FILE_SAVE));
    EXPECT_FALSE(m_app->ExecuteCommand(ID_FILE_SAVE));
    EXPECT_TRUE(m_app->IsCommandEnabled(ID_FILE_NEW));
    NewDocument();
    EXPECT_TRUE(m_app->IsCommandEnabled(ID_FILE_SAVE));
    EXPECT_TRUE(m_app->IsCommandEnabled(ID_FILE_CLOSE));
}

TEST_F(CommandRoutingTest, EditCommandsFollowTheEditRules)
{
    NewDocument();
    // Nothing selected, nothing to undo, nothing to paste in a windowless view.
    EXPECT_FALSE(m_app->IsCommandEnabled(ID_EDIT_CUT));
    EXPECT_FALSE(m_app->IsCommandEnabled(ID_EDIT_UNDO));
    EXPECT_FALSE(m_app->IsCommandEnabled(ID_EDIT_PASTE));
    EXPECT_TRUE(m_app->IsCommandEnabled(ID_EDIT_SELECT_ALL));
    EXPECT_TRUE(m_app->IsCommandEnabled(ID_FILE_PRINT));
}

TEST_F(CommandRoutingTest, WinHelpCommandsFollowItsAvailability)
{
    m_app->m_bWinHelpAvailable = 0;
    EXPECT_FALSE(m_app->IsCommandEnabled(ID_HELP_FINDER));
    EXPECT_FALSE(m_app->IsCommandEnabled(ID_CONTEXT_HELP));
    m_app->m_bWinHelpAvailable = 1;
    EXPECT_TRUE(m_app->IsCommandEnabled(ID_HELP_FINDER));
}

TEST_F(CommandRoutingTest, UnknownCommandIsDisabled)
{
    EXPECT_FALSE(m_app->IsCommandEnabled(12345));
    EXPECT_FALSE(m_app->ExecuteCommand(12345));
}

TEST(FileTypeNumber, SevenKindsInSixTypes)
{
    EXPECT_EQ(FileTypeNumber("txt"), 1);
    EXPECT_EQ(FileTypeNumber("htm"), 2);
    EXPECT_EQ(FileTypeNumber("html"), 2);
    EXPECT_EQ(FileTypeNumber("cnt"), 3);
    EXPECT_EQ(FileTypeNumber("hhp"), 4);
    EXPECT_EQ(FileTypeNumber("hhc"), 5);
    EXPECT_EQ(FileTypeNumber("hhk"), 6);
    EXPECT_EQ(FileTypeNumber("TXT"), 0);
    EXPECT_EQ(FileTypeNumber("doc"), 0);
    EXPECT_EQ(FileTypeNumber(""), 0);
}

}  // namespace
}  // namespace zavio::test
