// The conversion driver: the two conversion commands, the collection of the
// open manuscripts and contents file, the Finished folder beside the
// conversion folder, and the closing work once every page is written.
#include <algorithm>

#include "app/ZavioApp.h"
#include "convert/RunFiles.h"
#include "doc/FileKinds.h"
#include "doc/ZavioDoc.h"
#include "framework/Cp932.h"
#include "framework/DocTemplate.h"
#include "framework/FileSystem.h"
#include "framework/Path.h"

namespace zavio {
namespace {

// The text before the last separator; empty when there is none. A trail
// byte is never taken for a separator.
std::string CutBeforeLastSeparator(const std::string& path)
{
    std::size_t pos = MbReverseFind(path, kPathSep);
    return pos == std::string::npos ? std::string() : path.substr(0, pos);
}

// Moves a source into Finished; what the list of pages says about the move
// goes to `at` in its lines.
void MoveIntoFinished(CConversionState& run, const std::string& openedPath, const std::string& finishedFolder,
                      LineList& listLines, std::size_t at)
{
    RunSource* source = run.SourceOpenedAt(openedPath);
    if (!source) return;
    const std::string said = MoveSourceToFinished(run, *source, finishedFolder);
    if (!said.empty()) listLines.insert(listLines.begin() + std::min(at, listLines.size()), "///// " + said);
}

}  // namespace

void CZavioApp::OnConvertHtmlHelp()
{
    RunConversion(1);
}

void CZavioApp::OnConvertHpType()
{
    RunConversion(0);
}

void CZavioApp::RunConversion(int htmlHelp)
{
    // The one place a run's state is made: nothing of an earlier run carries over.
    m_conversion = CConversionState(htmlHelp);
    CConversionState& run = m_conversion;
    if (TakeHelpMode("HID_SEPARATE_HTML.htm")) return;
    if (!ConfirmConversion(run)) return;
    // A page is a transfer: the run's transfers share one working file.
    const WorkingFileHold hold(*this);

    bool manuscriptFound = false;
    bool contentsFound = false;
    std::string manuscriptPath;
    std::string contentsPath;
    std::string contentsBaseName;
    std::vector<CZavioDoc*> manuscripts;
    CZavioDoc* contentsDoc = CollectOpenDocuments(manuscriptFound, manuscriptPath, manuscripts, contentsFound,
                                                  contentsPath, contentsBaseName);
    if (!manuscriptFound) {
        AfxMessageBox(ToCp932("原稿のHTMLファイルが開いていません"));
        return;
    }

    CZavioDoc* listDoc = NewGeneratedDocument();
    if (!listDoc) return;
    const std::string contentsName = contentsFound ? contentsBaseName : std::string("Contents");
    const std::string contentsPagePath = GetFolderOfPath(manuscriptPath) + contentsName + ".htm";
    // Nothing the run writes may take a source's place; and every page links
    // to the contents page, so no page takes that name either.
    for (const CZavioDoc* doc : manuscripts)
        run.m_sources.push_back({doc->m_strPath, doc->m_strPath, doc->m_strBaseName + "." + doc->m_strExtension});
    if (contentsDoc)
        run.m_sources.push_back({contentsPath, contentsPath, contentsBaseName + "." + contentsDoc->m_strExtension});
    if (run.m_bHtmlHelp == 0) run.m_strContentsPagePath = contentsPagePath;

    std::string finishedFolder;
    for (std::size_t i = manuscripts.size(); i-- > 0;) {
        CZavioDoc* doc = manuscripts[i];
        run.BeginManuscript();
        manuscriptPath = doc->m_strPath;
        // Every manuscript of the run goes to the Finished folder of the first.
        if (i + 1 == manuscripts.size()) finishedFolder = PrepareFinishedFolder(manuscriptPath);

        if (!doc->LoadHtmlSource()) return;
        if (!doc->SplitOffWordHeader(run)) {
            AfxMessageBox(ToCp932("ヘッダーが取得できません\n\n") + doc->m_strBaseName);
            return;
        }
        if (run.m_bKeepHeader == 0) SimplifyHeader(run);
        doc->SplitTagsIntoLines();
        // Split, the source lines have served; their room goes to the pages.
        LineList().swap(doc->m_saSourceLines);
        doc->MoveNoteListToApp(run);
        doc->RemoveFootnoteMarks();
        doc->ConvertJumpLinks();

        listDoc->SetFileNames("txt", "ListTitl", finishedFolder + "ListTitl.txt");
        SeparatePages(run, contentsName, doc, listDoc, finishedFolder);
        // Said under the manuscript's line, which heads the block just listed.
        MoveIntoFinished(run, manuscriptPath, finishedFolder, listDoc->m_saOutputLines, 2);
        doc->OnCloseDocument();
    }
    // Every page is written: the contents writers match their entries against this.
    run.IndexPages();

    if (run.m_bHtmlHelp != 0)
        WriteHtmlHelpProject(run, contentsFound, contentsPath, contentsBaseName, manuscriptPath, contentsDoc);
    else
        WriteHomepageContents(run, contentsFound, contentsName, contentsPagePath, contentsDoc);
    // The index lies beside the project, or beside the contents page.
    WriteKeywordIndex(run, GetFolderOfPath(run.m_bHtmlHelp != 0 ? manuscriptPath : contentsPagePath), contentsName,
                      listDoc);
    if (contentsDoc) {
        MoveIntoFinished(run, contentsPath, finishedFolder, listDoc->m_saOutputLines, listDoc->m_saOutputLines.size());
        contentsDoc->OnCloseDocument();
    }
    WriteIntegrationNote(run, finishedFolder, manuscriptPath, contentsName);

    WriteGeneratedFile(run, listDoc, false);
    TileDocumentWindows();
    run.m_bConversionFinished = true;
}

bool CZavioApp::ConfirmConversion(CConversionState& run)
{
    run.m_bKeepHeader = 0;
    if (run.m_bHtmlHelp != 0) {
        // HTML Help pages keep Word's header as it is.
        run.m_bKeepHeader = 1;
        return AfxMessageBox(ToCp932("HTML Help のプロジェクトを生成します。"), MB_OKCANCEL) == IDOK;
    }
    const std::string question = ToCp932("目次つきホームページタイプのヘルプを生成します。\n\n") +
                                 ToCp932("ヘッダーを簡易化して行間が異常に広いなどの不具合が起きた場合は\n") +
                                 ToCp932("[ いいえ ] を選択してください。\n\n") + ToCp932("ヘッダーを簡易化しますか？");
    switch (AfxMessageBox(question, MB_YESNOCANCEL)) {
        case IDYES:
            return true;
        case IDNO:
            run.m_bKeepHeader = 1;
            return true;
        default:
            return false;
    }
}

CZavioDoc* CZavioApp::CollectOpenDocuments(bool& manuscriptFound, std::string& manuscriptPath,
                                           std::vector<CZavioDoc*>& manuscripts, bool& contentsFound,
                                           std::string& contentsPath, std::string& contentsBaseName)
{
    CZavioDoc* contentsDoc = nullptr;
    if (!m_pDocTemplate) return nullptr;
    for (CDocument* open : m_pDocTemplate->GetDocuments()) {
        auto* doc = static_cast<CZavioDoc*>(open);
        if (IsManuscriptExtension(doc->m_strExtension)) {
            manuscriptFound = true;
            manuscriptPath = doc->m_strPath;
            // Ascending base names; of two equal names the later one first.
            auto before = std::find_if(manuscripts.begin(), manuscripts.end(), [&](const CZavioDoc* m) {
                return MbCompare(m->m_strBaseName, doc->m_strBaseName) >= 0;
            });
            manuscripts.insert(before, doc);
        } else if (IsContentsExtension(doc->m_strExtension)) {
            contentsFound = true;
            contentsPath = doc->m_strPath;
            contentsBaseName = doc->m_strBaseName;
            contentsDoc = doc;
        }
    }
    return contentsDoc;
}

std::string CZavioApp::GetFolderOfPath(const std::string& path)
{
    PathParts parts = SplitPath(path);
    return parts.drive + parts.dir;
}

std::string CZavioApp::PrepareFinishedFolder(std::string manuscriptPath)
{
    // The folder, then its parent: the first cut drops the trailing
    // separator, the second the conversion folder's own name.
    std::string parent = CutBeforeLastSeparator(CutBeforeLastSeparator(GetFolderOfPath(manuscriptPath)));
    parent += kPathSep;
    // A parent that cannot be listed gets no Finished folder: the moves into it
    // then leave the sources where they are, and the files meant for it are
    // reported by their saves. The run goes on, so the pages are written.
    EnsureSubfolder(parent, "Finished");
    return parent + "Finished" + kPathSep;
}

bool CZavioApp::EnsureSubfolder(const std::string& parentFolder, const std::string& name)
{
    std::optional<std::vector<FolderEntry>> entries = ListFolder(parentFolder);
    if (!entries) return false;
    // The listing's first entry is the folder itself.
    bool exists = false;
    for (std::size_t i = 1; i < entries->size() && !exists; ++i)
        exists = (*entries)[i].isDirectory && MbCompare((*entries)[i].name, name) == 0;
    if (!exists) {
        ChangeFolder(parentFolder);
        MakeFolder(name);
    }
    return true;
}

}  // namespace zavio
