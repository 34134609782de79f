#include "app/ZavioApp.h"

#include <memory>

#include "app/MainFrame.h"
#include "app/ZavioView.h"
#include "doc/ZavioDoc.h"
#include "framework/DocTemplate.h"
#include "framework/FileSystem.h"
#include "framework/Path.h"
#include "res/CommandIds.h"

namespace zavio {

namespace {

std::string WithSeparator(std::string folder)
{
    if (folder.empty() || folder.back() != kPathSep) folder += kPathSep;
    return folder;
}

}  // namespace

// Where documents start when the program folder is read-only, as an
// installed program's is, and where the desktop's file dialogs first start.
std::string UsersOwnFolder(const std::string& fallback)
{
    if (std::optional<std::string> current = CurrentFolder(); current && IsWritableFolder(*current))
        return WithSeparator(*current);
    if (std::optional<std::string> home = HomeFolder()) return WithSeparator(*home);
    return fallback;
}

CZavioApp::CZavioApp(Host& host) : CWinApp(host) {}

CZavioApp::~CZavioApp()
{
    // Documents reach the application while they close.
    m_template.reset();
    SetMainFrameTarget(nullptr);
    m_pMainFrame = nullptr;
}

std::string UserProgramFolder()
{
    return PrivateUserFolder("zavio").value_or(std::string());
}

CZavioApp& ZavioApp()
{
    return *static_cast<CZavioApp*>(AfxGetApp());
}

void CZavioApp::InitState(const std::string& programFolder)
{
    AfxSetApp(this);
    m_template = std::make_unique<CMultiDocTemplate>(
        GetHost(), [] { return std::make_unique<CZavioDoc>(); },
        [](CDocument& doc, std::unique_ptr<EditControl> control) {
            return std::make_unique<CZavioView>(doc, std::move(control));
        });
    m_pDocTemplate = m_template.get();
    AddDocTemplate(m_pDocTemplate);
    m_hWndMDIClient = &GetHost();
    m_strAppDir = WithSeparator(programFolder);
    m_strOpenDir = IsWritableFolder(m_strAppDir) ? m_strAppDir : UsersOwnFolder(m_strAppDir);
    m_strSaveDir = m_strOpenDir;
    ChooseWorkingFolder();
    m_bWinHelpAvailable = 1;
    m_nHelpMode = 0;
}

void CZavioApp::TileDocumentWindows()
{
    if (m_hWndMDIClient) m_hWndMDIClient->TileDocumentWindows();
}

bool CZavioApp::OnCmdMsg(unsigned id, CmdKind kind, CCmdUI* ui)
{
    static const CommandEntry<CZavioApp> kCommands[] = {
        {ID_FILE_NEW, &CZavioApp::OnFileNewDocument, &CZavioApp::OnUpdateFileCommand},
        {ID_FILE_OPEN, &CZavioApp::OnFileOpenDocument, &CZavioApp::OnUpdateFileCommand},
        {ID_FILE_PRINT_SETUP, &CZavioApp::OnFilePrintSetup, nullptr},
        {ID_APP_EXIT, &CZavioApp::OnAppExit, nullptr},
        {ID_APP_ABOUT, &CZavioApp::OnAppAbout, nullptr},
        {ID_PREP_A, &CZavioApp::OnPrepA, &CZavioApp::OnUpdateFileCommand},
        {ID_PREP_B, &CZavioApp::OnPrepB, &CZavioApp::OnUpdateFileCommand},
        {ID_PREP_C, &CZavioApp::OnPrepC, &CZavioApp::OnUpdateFileCommand},
        {ID_PREP_D, &CZavioApp::OnPrepD, &CZavioApp::OnUpdateFileCommand},
        {ID_PREP_E, &CZavioApp::OnPrepE, &CZavioApp::OnUpdateFileCommand},
        {ID_SEPARATE_HTML_HELP, &CZavioApp::OnConvertHtmlHelp, &CZavioApp::OnUpdateFileCommand},
        {ID_SEPARATE_HP_TYPE, &CZavioApp::OnConvertHpType, &CZavioApp::OnUpdateFileCommand},
        {ID_HELP_HTML, &CZavioApp::OnHelpHtml, &CZavioApp::OnUpdateFileCommand},
        {ID_HELP_HP_TYPE, &CZavioApp::OnHelpHpType, &CZavioApp::OnUpdateFileCommand},
        {ID_HELP_FINDER, &CZavioApp::OnHelpFinder, &CZavioApp::OnUpdateWinHelp},
        {ID_CONTEXT_HELP, nullptr, &CZavioApp::OnUpdateWinHelp},
        {ID_CONTEXT_HELP_HP, &CZavioApp::OnContextHelpHp, nullptr},
    };
    // The recent files are numbered commands, as the framework's were.
    if (id >= ID_FILE_MRU_FILE1 && id < ID_FILE_MRU_FILE1 + kRecentFilesInMenu) {
        const std::size_t index = id - ID_FILE_MRU_FILE1;
        if (kind == CmdKind::Execute) OnOpenRecentFile(index);
        if (kind == CmdKind::Update && ui) ui->Enable(index < GetRecentFiles().size());
        return true;
    }
    return DispatchCommand(*this, kCommands, id, kind, ui);
}

// An empty update handler leaves the command enabled.
void CZavioApp::OnUpdateFileCommand(CCmdUI&) {}

void CZavioApp::OnUpdateWinHelp(CCmdUI& ui)
{
    ui.Enable(m_bWinHelpAvailable != 0);
}

}  // namespace zavio
