// A scripted host that also plays the main window, and a fixture that starts
// the program on it the way the desktop program starts.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ScriptedHost.h"
#include "TestApp.h"
#include "app/MainFrame.h"
#include "app/ZavioApp.h"
#include "framework/DocTemplate.h"
#include "framework/Document.h"

namespace zavio::test {

class FrameHost : public ScriptedHost {
public:
    bool CreateMainWindow() override { return !m_failMainWindow; }
    std::string ProgramFolder() override { return m_programFolder; }
    int StartupShowCommand() override { return m_startupShow; }
    bool GetMainWindowPlacement(WindowPlacement& placement) override
    {
        placement = m_window;
        return true;
    }
    void SetMainWindowPlacement(const WindowPlacement& placement) override
    {
        m_window = placement;
        ++m_placementsApplied;
    }
    bool IsMainWindowZoomed() override { return m_window.showCmd == SW_SHOWMAXIMIZED; }
    bool ShowMainWindow(int showCmd) override
    {
        m_showCommands.push_back(showCmd);
        return m_showCommands.size() > 1;
    }
    bool IsControlBarVisible(unsigned barId) override { return m_barVisible[barId]; }
    void ShowControlBar(unsigned barId, bool show) override { m_barVisible[barId] = show; }
    void CascadeDocumentWindows() override { ++m_cascadeCount; }
    void RunFrameHelp(unsigned commandId) override { m_frameHelp.push_back(commandId); }
    void ShowWinHelpContents(std::string_view helpFile) override { m_winHelp.emplace_back(helpFile); }
    void ShowAboutBox() override { ++m_aboutCount; }
    void ShowPrintSetup() override { ++m_printSetupCount; }
    unsigned SetTimer(unsigned id, unsigned milliseconds) override
    {
        m_timerPeriods.push_back(milliseconds);
        return m_noTimers ? 0 : ScriptedHost::SetTimer(id, milliseconds);
    }

    bool m_failMainWindow = false;
    bool m_noTimers = false;
    int m_startupShow = SW_SHOWNORMAL;
    std::string m_programFolder;
    WindowPlacement m_window;
    int m_placementsApplied = 0;
    std::vector<int> m_showCommands;
    std::map<unsigned, bool> m_barVisible;
    int m_cascadeCount = 0;
    std::vector<unsigned> m_frameHelp;
    std::vector<std::string> m_winHelp;
    int m_aboutCount = 0;
    int m_printSetupCount = 0;
    std::vector<unsigned> m_timerPeriods;
};

// A program started by InitInstance on a FrameHost, its folder a fresh
// temporary folder, which it is started from too. Tests adjust the host
// before calling Start().
class FrameTest : public ::testing::Test {
protected:
    FrameTest() : m_startFolder(CurrentFolder())
    {
        m_host.m_programFolder = m_folder.Path();
        ChangeFolder(m_folder.Path());
    }
    ~FrameTest() override
    {
        m_app.reset();
        AfxSetApp(nullptr);
        if (m_startFolder) ChangeFolder(*m_startFolder);
    }

    bool Start()
    {
        m_app = std::make_unique<CZavioApp>(m_host);
        return m_app->InitInstance();
    }
    CMainFrame& Frame() { return *m_app->m_pMainFrame; }
    std::vector<CDocument*> Documents() { return m_app->m_pDocTemplate->GetDocuments(); }
    std::string Page(std::string_view name) { return m_folder.Path() + "Help/" + std::string(name); }
    void CloseAll()
    {
        for (CDocument* doc : Documents()) doc->OnCloseDocument();
    }

    std::optional<std::string> m_startFolder;
    TempFolder m_folder;
    FrameHost m_host;
    std::unique_ptr<CZavioApp> m_app;
};

}  // namespace zavio::test
