// The main frame's own logic: its commands, the saved window placement, the
// start-up timer and the close request. The windows themselves belong to the
// host; this class decides what they do.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "framework/CmdTarget.h"
#include "framework/Host.h"

namespace zavio {

class CZavioApp;

// The id and period of the timer that closes the start-up document.
constexpr unsigned kStartupTimerId = 1;
constexpr unsigned kStartupTimerPeriod = 10000;

class CMainFrame : public CCmdTarget {
public:
    explicit CMainFrame(CZavioApp& app);

    bool OnCmdMsg(unsigned id, CmdKind kind, CCmdUI* ui) override;

    // Shows the window at its saved placement; returns what the last show
    // returned.
    bool ShowWithPlacement(int show);
    // Starts a timer on the frame; false (after saying so) when none is left.
    bool StartTimer(unsigned id, unsigned milliseconds);
    void OnTimer(unsigned id);
    // The close request: saves the placement, then offers to save each
    // modified document. False when the user cancelled; otherwise every
    // document is closed and the window may go.
    bool OnClose();

    bool LoadPlacement(WindowPlacement& placement);
    void SavePlacement(const WindowPlacement& placement);

    unsigned m_nStartupTimer = 0;

private:
    void OnHelpFinder();
    void OnContextHelp();
    void OnHelp();
    void OnDefaultHelp();
    void OnUpdateContextHelp(CCmdUI& ui);
    void OnViewToolBar();
    void OnViewStatusBar();
    void OnUpdateViewToolBar(CCmdUI& ui);
    void OnUpdateViewStatusBar(CCmdUI& ui);
    void OnWindowNew();
    void OnWindowCascade();
    void OnWindowTileHorz();
    void OnWindowArrange();

    CZavioApp& m_app;
};

// The stored text of a placement and its reading: exactly ten numbers,
// anything after the tenth ignored.
std::string FormatPlacement(const WindowPlacement& placement);
std::optional<WindowPlacement> ParsePlacement(std::string_view text);

}  // namespace zavio
