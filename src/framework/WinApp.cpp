#include "framework/WinApp.h"

#include <vector>

#include "framework/DocTemplate.h"
#include "framework/Document.h"
#include "framework/EditView.h"

namespace zavio {
namespace {
CWinApp* g_pApp = nullptr;
constexpr std::string_view kRecentSection = "Recent File List";
}  // namespace

CWinApp* AfxGetApp()
{
    return g_pApp;
}
void AfxSetApp(CWinApp* app)
{
    g_pApp = app;
}

int AfxMessageBox(std::string_view text, unsigned type)
{
    CWinApp* app = AfxGetApp();
    return app ? app->GetHost().MessageBox(text, type) : IDCANCEL;
}

CWinApp::CWinApp(Host& host) : m_host(host) {}

CWinApp::~CWinApp()
{
    if (g_pApp == this) g_pApp = nullptr;
}

CDocument* CWinApp::OnFileNew()
{
    return m_pTemplate ? m_pTemplate->OpenNewDocument() : nullptr;
}

void CWinApp::LoadStdProfileSettings(unsigned maxFiles)
{
    m_maxRecentFiles = maxFiles;
    m_recentFiles.clear();
    for (unsigned i = 1; i <= maxFiles; ++i) {
        std::string path = m_host.GetProfileString(kRecentSection, "File" + std::to_string(i));
        if (!path.empty()) m_recentFiles.push_back(path);
    }
}

void CWinApp::AddToRecentFileList(const std::string& path)
{
    if (m_maxRecentFiles == 0) return;
    // One entry per path, newest first; names on disk are case-sensitive here.
    std::erase(m_recentFiles, path);
    m_recentFiles.insert(m_recentFiles.begin(), path);
    if (m_recentFiles.size() > m_maxRecentFiles) m_recentFiles.resize(m_maxRecentFiles);
    SaveRecentFiles();
}

void CWinApp::RemoveFromRecentFileList(const std::string& path)
{
    if (std::erase(m_recentFiles, path) > 0) SaveRecentFiles();
}

void CWinApp::SaveRecentFiles()
{
    for (unsigned i = 0; i < m_maxRecentFiles; ++i) {
        std::string value = i < m_recentFiles.size() ? m_recentFiles[i] : std::string();
        m_host.WriteProfileString(kRecentSection, "File" + std::to_string(i + 1), value);
    }
}

std::vector<CCmdTarget*> CWinApp::CommandRoute() const
{
    std::vector<CCmdTarget*> route;
    CDocument* active = m_host.ActiveDocument();
    if (active && m_pTemplate && m_pTemplate->Contains(active)) {
        if (active->GetView()) route.push_back(active->GetView());
        route.push_back(active);
        route.push_back(const_cast<CWinApp*>(this));
    }
    if (m_pMainFrameTarget) route.push_back(m_pMainFrameTarget);
    route.push_back(const_cast<CWinApp*>(this));
    return route;
}

bool CWinApp::ExecuteCommand(unsigned id)
{
    for (CCmdTarget* target : CommandRoute())
        if (target->OnCmdMsg(id, CmdKind::Execute, nullptr)) return true;
    return false;
}

bool CWinApp::IsCommandEnabled(unsigned id)
{
    std::vector<CCmdTarget*> route = CommandRoute();
    CCmdUI ui(id);
    for (CCmdTarget* target : route)
        if (target->OnCmdMsg(id, CmdKind::Update, &ui)) return ui.m_bEnabled;
    for (CCmdTarget* target : route)
        if (target->OnCmdMsg(id, CmdKind::Probe, nullptr)) return true;
    return false;
}

}  // namespace zavio
