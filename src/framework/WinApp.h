// The framework's application: the host, the one template, the recent-file
// list, command routing and the message box.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "framework/CmdTarget.h"
#include "framework/Host.h"

namespace zavio {

class CDocument;
class CMultiDocTemplate;

class CWinApp : public CCmdTarget {
public:
    explicit CWinApp(Host& host);
    ~CWinApp() override;

    Host& GetHost() const { return m_host; }

    void AddDocTemplate(CMultiDocTemplate* tmpl) { m_pTemplate = tmpl; }
    CMultiDocTemplate* GetDocTemplate() const { return m_pTemplate; }
    // The main frame's command target, asked after the active document's route.
    void SetMainFrameTarget(CCmdTarget* target) { m_pMainFrameTarget = target; }

    // The framework's New through the one template.
    CDocument* OnFileNew();
    virtual CDocument* OpenDocumentFile(const std::string& path) = 0;

    // The recent-file list, kept in the profile.
    void LoadStdProfileSettings(unsigned maxFiles);
    void AddToRecentFileList(const std::string& path);
    void RemoveFromRecentFileList(const std::string& path);
    const std::vector<std::string>& GetRecentFiles() const { return m_recentFiles; }

    // Routing: the active document's view, the document, then the application;
    // then the main frame and the application again.
    bool ExecuteCommand(unsigned id);
    // Enabled state: the first update handler on the route decides; without
    // one a command is enabled when some target handles it.
    bool IsCommandEnabled(unsigned id);

private:
    std::vector<CCmdTarget*> CommandRoute() const;
    void SaveRecentFiles();

    Host& m_host;
    CMultiDocTemplate* m_pTemplate = nullptr;
    CCmdTarget* m_pMainFrameTarget = nullptr;
    std::vector<std::string> m_recentFiles;
    unsigned m_maxRecentFiles = 0;
};

// The process-wide application pointer.
CWinApp* AfxGetApp();
void AfxSetApp(CWinApp* app);

// A modal message box through the application's host; the caption is the
// application title. Returns IDOK, IDCANCEL, IDYES or IDNO.
int AfxMessageBox(std::string_view text, unsigned type = MB_OK);

}  // namespace zavio
