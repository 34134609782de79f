#include "convert/IntegrationNotes.h"

#include "convert/ConversionState.h"
#include "convert/ProjectConversion.h"
#include "convert/RunFiles.h"
#include "framework/Cp932.h"
#include "framework/Path.h"

namespace zavio {
namespace {

// Where the note quotes a folder in path notation it uses this system's own
// separator, so the text matches the paths the user sees.
std::string FinishedInPathNotation()
{
    return std::string(1, kPathSep) + "Finished" + std::string(1, kPathSep);
}

// The conversion folder's own name: the last component of the manuscript's
// folder; empty for a manuscript in a root folder.
std::string ConversionFolderName(const std::string& manuscriptPath)
{
    PathParts parts = SplitPath(manuscriptPath);
    std::string dir = parts.dir;
    std::size_t last = MbReverseFind(dir, kPathSep);
    if (last == std::string::npos) return dir;
    dir.erase(last);
    last = MbReverseFind(dir, kPathSep);
    return last == std::string::npos ? dir : dir.substr(last + 1);
}

const char kSlashRule[] = "///////////////////////////////////////";

// The lines that set m_MyPath from the application's help file path.
void AppendMyPathSample(LineList& out)
{
    out.push_back(ToCp932("　アプリケーションの実行ファイルのパスを m_MyPath として下記のように設定します。"));
    out.push_back("");
    out.push_back("\tchar HelpPath[260];");
    out.push_back("\tstrcpy( HelpPath, pApp->m_pszHelpFilePath);");
    out.push_back("\tchar drive[_MAX_DRIVE], dir[_MAX_DIR], fname[_MAX_FNAME], ext[_MAX_EXT];");
    out.push_back("\t_splitpath( HelpPath, drive, dir, fname, ext );");
    out.push_back("\tm_MyPath = drive;");
    out.push_back("\tm_MyPath += dir;");
    out.push_back("");
    out.push_back(kSlashRule);
}

// The Help-menu command that opens `fileNameLiteral` (C++ source text).
void AppendMenuCommandSample(LineList& out, const std::string& commandName, const std::string& fileNameLiteral)
{
    out.push_back(ToCp932("　アプリケーションの [ヘルプ]メニュー に [") + commandName +
                  ToCp932("]コマンド を作成します。"));
    out.push_back(ToCp932("　その実行関数に次のように記述します。"));
    out.push_back("");
    out.push_back("\tCString FileName = m_MyPath;");
    out.push_back("\tFileName += \"" + fileNameLiteral + "\";");
    out.push_back("\tShellExecute( NULL, _T( \"open\"), FileName, NULL, NULL, SW_SHOWNORMAL);");
    out.push_back("");
    out.push_back(kSlashRule);
}

// A download page of the workshop that compiles the project.
const char kWorkshopDownloadPage[] =
    "https://learn.microsoft.com/en-us/previous-versions/windows/desktop/htmlhelp/microsoft-html-help-downloads";

// The opening lines: where the sources (`moved`, in the note's words) and
// the note itself (`noteName`) went.
void AppendWhereTheFilesWent(LineList& out, std::string_view moved, const std::string& folderName,
                             std::string_view noteName)
{
    const std::string finished = FinishedInPathNotation();
    out.push_back(ToCp932(moved) + folderName + ToCp932(" と並列した ") + finished +
                  ToCp932("フォルダに移動しました。"));
    out.push_back(ToCp932("　原稿ファイルと一体の画像ファイルのフォルダはそのまま残っています。"));
    out.push_back(ToCp932(noteName) + finished + ToCp932("フォルダに保存済みです。"));
    out.push_back("");
}

// A project's note: its files stayed where they were, and what replaces the
// application's call for a topic by its id.
void MakeProjectNote(const CConversionState& run, const std::string& folderName, const std::string& contentsName,
                     LineList& lines)
{
    const ProjectRun& project = *run.m_project;
    const std::string& name = project.name;
    // The design's opening lines speak of sources moved into Finished.
    lines.erase(lines.begin(), lines.begin() + 3);
    lines.insert(lines.begin(),
                 {ToCp932("　WinHelp プロジェクト ") + name + ToCp932(".hpj を変換しました。プロジェクトのファイルは元のまま残っています。"),
                  ToCp932("　ページと") +
                      (run.HtmlHelp() ? ToCp932("プロジェクトファイル ") + name + ".hhp"
                                      : ToCp932("目次 ") + contentsName + ".htm") +
                      ToCp932("、この説明は、フォルダ ") + folderName + ToCp932(" に書き出しました。")});
    lines.push_back(kSlashRule);
    if (project.project.ids.empty()) {
        lines.push_back(ToCp932("　") + name + ToCp932(".hpj にはヘルプ番号 ([MAP]) がありません。"));
    } else if (run.HtmlHelp()) {
        std::size_t mapped = 0;
        for (const ContextId& id : project.project.ids)
            if (PageOfContextString(run, id.context)) ++mapped;
        lines.push_back(ToCp932("　アプリケーションがヘルプ番号でトピックを開く呼び出しは、次のように置き換えます。"));
        lines.push_back("");
        // The help file the application asks for today, as HLP= names it.
        std::string helpFile = project.project.helpFile;
        const std::size_t folderEnd = std::max(MbReverseFind(helpFile, '\\') + 1, MbReverseFind(helpFile, '/') + 1);
        helpFile = helpFile.empty() ? name + ".hlp" : helpFile.substr(folderEnd);
        lines.push_back("	WinHelp( hWnd, \"" + helpFile + "\", HELP_CONTEXT, id);");
        lines.push_back("	HtmlHelp( hWnd, \"" + name + ".chm\", HH_HELP_CONTEXT, id);");
        lines.push_back("");
        lines.push_back(ToCp932("　") + name + ToCp932(".hhp の [MAP] と [ALIAS] に、ヘルプ番号 ") +
                        std::to_string(mapped) + ToCp932(" 個とそのページを書きました。"));
        if (mapped < project.project.ids.size())
            lines.push_back(ToCp932("　トピックのないヘルプ番号 ") + std::to_string(project.project.ids.size() - mapped) +
                            ToCp932(" 個は書いていません。ListTitl.txt に一覧があります。"));
    } else {
        lines.push_back(ToCp932("　ヘルプ番号とページの対応は ContextIds.txt にあります。"));
        lines.push_back(ToCp932("　アプリケーションはヘルプ番号に対応するページを ShellExecute で開きます。"));
    }
}

}  // namespace

void WriteIntegrationNote(CConversionState& run, ConversionPort& port, const std::string& finishedFolder,
                          const std::string& manuscriptPath, const std::string& contentsName)
{
    const std::string& baseName = ToCp932(run.HtmlHelp() ? "HTML_Help_の作成と組込" : "HP_type_Help_の組込");
    const std::string folderName = ConversionFolderName(manuscriptPath);
    LineList lines = run.HtmlHelp() ? ComposeHtmlHelpNote(folderName, run.m_strProjectName)
                                    : ComposeHpTypeNote(folderName, contentsName);
    if (run.m_project) MakeProjectNote(run, folderName, contentsName, lines);
    WriteGeneratedFile(run, port,
                       {OutputRole::Note, finishedFolder + baseName + ".txt", "txt", baseName, JoinTextLines(lines),
                        false});
}

LineList ComposeHpTypeNote(const std::string& folderName, const std::string& contentsName)
{
    const std::string contentsPage = contentsName + ".htm";
    LineList out;
    AppendWhereTheFilesWent(out, "　原稿ファイルと目次ファイルは ", folderName, "　この HP type Help の組込.txt は ");
    out.push_back(ToCp932("　アプリケーションに HP type Help を組込みます。"));
    out.push_back(ToCp932("　まず、変換を実行したフォルダ ") + folderName +
                  ToCp932(" をアプリケーションの実行ファイルと同じパスにコピーします。"));
    out.push_back(ToCp932("　このフォルダ名称は変更してもかまいません。"));
    out.push_back("");
    out.push_back(kSlashRule);
    AppendMyPathSample(out);
    AppendMenuCommandSample(out, "HP type Help " + ToCp932("目次"), contentsPage);
    out.push_back(ToCp932("　アプリケーションへ組込まない場合は ") + contentsPage +
                  ToCp932(" のショートカットを作りクリックすると良いでしょう。"));
    out.push_back(kSlashRule);
    out.push_back(ToCp932("　目次ファイル ***.cnt を一緒に変換しなかった場合は全ページのリンクが目次となります。"));
    out.push_back(ToCp932("　目次") + contentsPage + ToCp932(" は Word で編集できます。"));
    out.push_back(ToCp932("　目次") + contentsPage + ToCp932(" はファイル名を変更してはいけません。"));
    return out;
}

LineList ComposeHtmlHelpNote(const std::string& folderName, const std::string& project)
{
    LineList out;
    AppendWhereTheFilesWent(out, "　原稿ファイルは ", folderName, "　この HTML Help の作成と組込.txt は ");
    out.push_back(ToCp932("　HTML Help の作成には、HTML Help Workshp というソフトが必要です。"));
    out.push_back(ToCp932("　HTML Help Workshp は無料でダウンロードできます。"));
    out.push_back(ToCp932("　　　### 参考 ### ") + kWorkshopDownloadPage);
    out.push_back("");
    out.push_back(kSlashRule);
    out.push_back(ToCp932("　HTML Help Workshp で、今回作成したプロジェクトファイル ") + project +
                  ToCp932(".hhp を開きます。"));
    out.push_back(kSlashRule);
    out.push_back(ToCp932("　HTML Help Workshp の [Contents]ボタンをクリックします。"));
    out.push_back(ToCp932("　今回作成した目次が表示されます。"));
    out.push_back(ToCp932("　[File][Compile] でコンパイルします。"));
    out.push_back(ToCp932("　HTML Help ") + project + ToCp932(" .chm が生成されます。"));
    out.push_back(ToCp932("　ダブルクリックするとヘルプの内容が確認できます。"));
    out.push_back(ToCp932("　HTML Help ") + project +
                  ToCp932(".chm をアプリケーションの実行ファイルと同じフォルダにコピーします。"));
    out.push_back(kSlashRule);
    out.push_back(
        ToCp932("　初期画面 Default topic を変更する場合は [Project][Change project options] をクリックします。"));
    out.push_back(ToCp932("　目次ファイル ***.cnt を一緒に変換しなかった場合は全ページのリンクが目次となります。"));
    out.push_back(ToCp932("　目次を編集する場合は [Contents] ボタンをクリックして各種ボタンを使います。"));
    out.push_back(
        ToCp932("　[Insert a heding] 見出しの挿入　[Insert a page] リンクページの挿入　[Edit selection] "
                "選択項目の編集　[Delete selection] 選択項目の削除"));
    out.push_back(ToCp932("　[Move selection up] 選択項目を上に移動　[･･･ down] [･･･ right] [･･･ left]"));
    out.push_back(
        ToCp932("　全ての見出しを挿入してから、その下の page を選択し [Move selection right] で移動します。"));
    out.push_back(ToCp932("　見出しは 左端、それに属するページは 一段右 とします。"));
    out.push_back(kSlashRule);
    out.push_back(ToCp932("　再びコンパイルします。"));
    out.push_back(ToCp932("　変更された ") + project +
                  ToCp932(".hhp と Table of Contents.hhc はバックアップしておきます。"));
    out.push_back(kSlashRule);
    AppendMyPathSample(out);
    AppendMenuCommandSample(out, "HTML Help " + ToCp932("目次"), ToCp932("***(HTML Help 名).chm"));
    out.push_back(
        ToCp932("　アプリケーションへ組込まない場合は ***.chm のショートカットを作りクリックすると良いでしょう。"));
    return out;
}

}  // namespace zavio
