// The help-mode: after "HP依存ヘルプ" the next help-aware command opens its
// own help page instead of running.
#include "app/ZavioApp.h"
#include "framework/Path.h"

namespace zavio {

std::string HelpPagePath(std::string_view pageName)
{
    return JoinRelative("Help", pageName);
}

bool CZavioApp::TakeHelpMode(std::string_view helpPageName)
{
    if (m_nHelpMode != kHelpModeOn) return false;
    OpenHelpPage(HelpPagePath(helpPageName));
    m_nHelpMode = 0;
    return true;
}

void CZavioApp::OpenHelpPage(std::string relativePath)
{
    // The viewer runs on its own; whatever it finds is the shell's business.
    GetHost().ShellOpen(m_strAppDir + relativePath);
}

void CZavioApp::OnContextHelpHp()
{
    if (m_nHelpMode == 0) {
        m_nHelpMode = kHelpModeOn;
        return;
    }
    OpenHelpPage(HelpPagePath("HID_CONTHELP_HP.htm"));
    m_nHelpMode = 0;
}

}  // namespace zavio
