#include <gtest/gtest.h>

#include "TestApp.h"
#include "TestPort.h"
#include "convert/ConversionState.h"
#include "convert/IntegrationNotes.h"
#include "framework/Cp932.h"
#include "framework/FileSystem.h"
#include "framework/Path.h"

namespace zavio::test {
namespace {

std::string FileText(const std::vector<std::string>& utf8Lines)
{
    std::string out;
    for (const auto& line : utf8Lines) out += J(line) + "\r\n";
    return out;
}

const std::string kSep(1, kPathSep);

class IntegrationNotesTest : public ::testing::Test {
protected:
    IntegrationNotesTest()
    {
        m_finished = m_folder.Path() + "Finished" + kSep;
        MakeFolder(m_finished);
        m_manuscript = m_folder.Path() + "MyHelp" + kSep + "manual.htm";
    }

    void Write(const std::string& manuscript, const std::string& contentsName)
    {
        WriteIntegrationNote(m_run, m_port, m_finished, manuscript, contentsName);
    }

    TempFolder m_folder;
    CConversionState m_run;
    TestPort m_port;
    std::string m_finished;
    std::string m_manuscript;
};

TEST_F(IntegrationNotesTest, HpTypeNoteTellsWhereTheContentsPageIs)
{
    Write(m_manuscript, "Contents");

    const std::string path = m_finished + J("HP_type_Help_の組込.txt");
    const std::string f = kSep + "Finished" + kSep;
    std::vector<std::string> expected = {
        "　原稿ファイルと目次ファイルは MyHelp と並列した " + f + "フォルダに移動しました。",
        "　原稿ファイルと一体の画像ファイルのフォルダはそのまま残っています。",
        "　この HP type Help の組込.txt は " + f + "フォルダに保存済みです。",
        "",
        "　アプリケーションに HP type Help を組込みます。",
        "　まず、変換を実行したフォルダ MyHelp をアプリケーションの実行ファイルと同じパスにコピーします。",
        "　このフォルダ名称は変更してもかまいません。",
        "",
        "///////////////////////////////////////",
        "　アプリケーションの実行ファイルのパスを m_MyPath として下記のように設定します。",
        "",
        "\tchar HelpPath[260];",
        "\tstrcpy( HelpPath, pApp->m_pszHelpFilePath);",
        "\tchar drive[_MAX_DRIVE], dir[_MAX_DIR], fname[_MAX_FNAME], ext[_MAX_EXT];",
        "\t_splitpath( HelpPath, drive, dir, fname, ext );",
        "\tm_MyPath = drive;",
        "\tm_MyPath += dir;",
        "",
        "///////////////////////////////////////",
        "　アプリケーションの [ヘルプ]メニュー に [HP type Help 目次]コマンド を作成します。",
        "　その実行関数に次のように記述します。",
        "",
        "\tCString FileName = m_MyPath;",
        "\tFileName += \"Contents.htm\";",
        "\tShellExecute( NULL, _T( \"open\"), FileName, NULL, NULL, SW_SHOWNORMAL);",
        "",
        "///////////////////////////////////////",
        "　アプリケーションへ組込まない場合は Contents.htm のショートカットを作りクリックすると良いでしょう。",
        "///////////////////////////////////////",
        "　目次ファイル ***.cnt を一緒に変換しなかった場合は全ページのリンクが目次となります。",
        "　目次Contents.htm は Word で編集できます。",
        "　目次Contents.htm はファイル名を変更してはいけません。",
    };
    ASSERT_EQ(expected.size(), 32u);
    EXPECT_EQ(ReadFile(path), FileText(expected));
}

TEST_F(IntegrationNotesTest, HtmlHelpNoteNamesTheProject)
{
    m_run.m_kind = ConversionKind::HtmlHelp;
    m_run.m_strProjectName = "MyHelp";
    Write(m_manuscript, "Contents");

    const std::string f = kSep + "Finished" + kSep;
    std::vector<std::string> expected = {
        "　原稿ファイルは MyHelp と並列した " + f + "フォルダに移動しました。",
        "　原稿ファイルと一体の画像ファイルのフォルダはそのまま残っています。",
        "　この HTML Help の作成と組込.txt は " + f + "フォルダに保存済みです。",
        "",
        "　HTML Help の作成には、HTML Help Workshp というソフトが必要です。",
        "　HTML Help Workshp は無料でダウンロードできます。",
        "　　　### 参考 ### https://learn.microsoft.com/en-us/previous-versions/windows/desktop/htmlhelp/"
        "microsoft-html-help-downloads",
        "",
        "///////////////////////////////////////",
        "　HTML Help Workshp で、今回作成したプロジェクトファイル MyHelp.hhp を開きます。",
        "///////////////////////////////////////",
        "　HTML Help Workshp の [Contents]ボタンをクリックします。",
        "　今回作成した目次が表示されます。",
        "　[File][Compile] でコンパイルします。",
        "　HTML Help MyHelp .chm が生成されます。",
        "　ダブルクリックするとヘルプの内容が確認できます。",
        "　HTML Help MyHelp.chm をアプリケーションの実行ファイルと同じフォルダにコピーします。",
        "///////////////////////////////////////",
        "　初期画面 Default topic を変更する場合は [Project][Change project options] をクリックします。",
        "　目次ファイル ***.cnt を一緒に変換しなかった場合は全ページのリンクが目次となります。",
        "　目次を編集する場合は [Contents] ボタンをクリックして各種ボタンを使います。",
        "　[Insert a heding] 見出しの挿入　[Insert a page] リンクページの挿入　[Edit selection] 選択項目の編集　"
        "[Delete selection] 選択項目の削除",
        "　[Move selection up] 選択項目を上に移動　[･･･ down] [･･･ right] [･･･ left]",
        "　全ての見出しを挿入してから、その下の page を選択し [Move selection right] で移動します。",
        "　見出しは 左端、それに属するページは 一段右 とします。",
        "///////////////////////////////////////",
        "　再びコンパイルします。",
        "　変更された MyHelp.hhp と Table of Contents.hhc はバックアップしておきます。",
        "///////////////////////////////////////",
        "　アプリケーションの実行ファイルのパスを m_MyPath として下記のように設定します。",
        "",
        "\tchar HelpPath[260];",
        "\tstrcpy( HelpPath, pApp->m_pszHelpFilePath);",
        "\tchar drive[_MAX_DRIVE], dir[_MAX_DIR], fname[_MAX_FNAME], ext[_MAX_EXT];",
        "\t_splitpath( HelpPath, drive, dir, fname, ext );",
        "\tm_MyPath = drive;",
        "\tm_MyPath += dir;",
        "",
        "///////////////////////////////////////",
        "　アプリケーションの [ヘルプ]メニュー に [HTML Help 目次]コマンド を作成します。",
        "　その実行関数に次のように記述します。",
        "",
        "\tCString FileName = m_MyPath;",
        "\tFileName += \"***(HTML Help 名).chm\";",
        "\tShellExecute( NULL, _T( \"open\"), FileName, NULL, NULL, SW_SHOWNORMAL);",
        "",
        "///////////////////////////////////////",
        "　アプリケーションへ組込まない場合は ***.chm のショートカットを作りクリックすると良いでしょう。",
    };
    ASSERT_EQ(expected.size(), 48u);
    EXPECT_EQ(ReadFile(m_finished + J("HTML_Help_の作成と組込.txt")), FileText(expected));
    // The half-width dots are single bytes.
    EXPECT_NE(ReadFile(m_finished + J("HTML_Help_の作成と組込.txt")).find("[\xA5\xA5\xA5 down]"), std::string::npos);
}

TEST_F(IntegrationNotesTest, ContentsNameAndFolderNameComeFromTheArguments)
{
    Write(m_folder.Path() + J("表示") + kSep + "manual.htm", "MyHelp");
    std::string note = ReadFile(m_finished + J("HP_type_Help_の組込.txt"));
    EXPECT_NE(note.find(J("\r\n\tFileName += \"MyHelp.htm\";\r\n")), std::string::npos);
    EXPECT_NE(note.find(J("　目次MyHelp.htm はファイル名を変更してはいけません。\r\n")), std::string::npos);
    EXPECT_EQ(note.rfind(J("　原稿ファイルと目次ファイルは 表示 と並列した "), 0), 0u);

    // A manuscript in a root folder leaves the folder name empty.
    Write(kSep + "manual.htm", "MyHelp");
    note = ReadFile(m_finished + J("HP_type_Help_の組込.txt"));
    EXPECT_EQ(note.rfind(J("　原稿ファイルと目次ファイルは  と並列した "), 0), 0u);
    // Written twice: overwritten, never backed up.
    EXPECT_FALSE(FileExists(m_finished + J("HP_type_Help_の組込-Back.txt")));
}

}  // namespace
}  // namespace zavio::test
