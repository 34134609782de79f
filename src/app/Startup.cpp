// Start-up of the desktop program: profile, template, the file dialogs'
// folders, main frame at its saved placement, the WinHelp test, and the
// start-up document with the terms text.
#include <memory>

#include "app/MainFrame.h"
#include "app/ZavioApp.h"
#include "doc/ZavioDoc.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace zavio {
namespace {

// Whether the running system still has WinHelp. Only Windows before 8 does.
bool SystemHasWinHelp()
{
#ifdef _WIN32
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    ::GetVersionExA(&info);  // its result was never examined
    return CZavioApp::IsWinHelpVersion(info.dwMajorVersion, info.dwMinorVersion);
#else
    return false;
#endif
}

}  // namespace

bool CZavioApp::InitInstance()
{
    AfxSetApp(this);
    Host& host = GetHost();
    // The recent-file list is kept in the profile; the File menu shows the
    // newest of it.
    LoadStdProfileSettings(10);
    InitState(host.ProgramFolder());
    RestoreDialogFolders();

    m_mainFrame = std::make_unique<CMainFrame>(*this);
    if (!host.CreateMainWindow()) {
        m_mainFrame.reset();
        return false;
    }
    m_pMainFrame = m_mainFrame.get();
    SetMainFrameTarget(m_pMainFrame);
    m_hWndMDIClient = &host;

    int show = host.StartupShowCommand();
    m_pMainFrame->ShowWithPlacement(show);

    m_bWinHelpAvailable = SystemHasWinHelp() ? 1 : 0;

    OnFileNewDocument();
    m_pStartupDoc = m_pNewDoc;
    if (m_pStartupDoc) m_pStartupDoc->WriteTermsText();

    host.ShowMainWindow(show);
    host.UpdateMainWindow();
    return true;
}

}  // namespace zavio
