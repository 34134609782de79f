#include "app/MainFrame.h"

#include <cstdint>
#include <cstdio>

#include "app/ZavioApp.h"
#include "doc/ZavioDoc.h"
#include "framework/Cp932.h"
#include "framework/DocTemplate.h"
#include "res/CommandIds.h"

namespace zavio {
namespace {

constexpr std::string_view kSettingsSection = "Settings";
constexpr std::string_view kPlacementKey = "WindowPos";

// One number the way the C library's scanner reads %d or %u: leading white
// space, an optional sign, at least one digit. Out-of-range values wrap to
// 32 bits as the scanner's conversion does on the platform.
bool ScanNumber(std::string_view text, std::size_t& pos, std::uint32_t& value)
{
    while (pos < text.size() && IsAsciiSpace(static_cast<unsigned char>(text[pos]))) ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
    std::size_t digits = pos;
    std::uint64_t magnitude = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        if (magnitude < (std::uint64_t{1} << 40)) magnitude = magnitude * 10 + static_cast<unsigned>(text[pos] - '0');
        ++pos;
    }
    if (pos == digits) return false;
    std::uint64_t wrapped = negative ? ~magnitude + 1 : magnitude;
    value = static_cast<std::uint32_t>(wrapped);
    return true;
}

}  // namespace

std::string FormatPlacement(const WindowPlacement& p)
{
    char text[160];
    std::snprintf(text, sizeof text, "%u,%u,%d,%d,%d,%d,%d,%d,%d,%d", p.flags, p.showCmd, p.minX, p.minY, p.maxX,
                  p.maxY, p.left, p.top, p.right, p.bottom);
    return text;
}

std::optional<WindowPlacement> ParsePlacement(std::string_view text)
{
    std::uint32_t fields[10];
    std::size_t pos = 0;
    for (int i = 0; i < 10; ++i) {
        if (i > 0) {
            if (pos >= text.size() || text[pos] != ',') return std::nullopt;
            ++pos;
        }
        if (!ScanNumber(text, pos, fields[i])) return std::nullopt;
    }
    auto s = [&](int i) { return static_cast<int>(static_cast<std::int32_t>(fields[i])); };
    WindowPlacement p;
    p.flags = fields[0];
    p.showCmd = fields[1];
    p.minX = s(2);
    p.minY = s(3);
    p.maxX = s(4);
    p.maxY = s(5);
    p.left = s(6);
    p.top = s(7);
    p.right = s(8);
    p.bottom = s(9);
    return p;
}

CMainFrame::CMainFrame(CZavioApp& app) : m_app(app) {}

bool CMainFrame::OnCmdMsg(unsigned id, CmdKind kind, CCmdUI* ui)
{
    static const CommandEntry<CMainFrame> kCommands[] = {
        {ID_HELP_FINDER, &CMainFrame::OnHelpFinder, &CMainFrame::OnUpdateContextHelp},
        {ID_CONTEXT_HELP, &CMainFrame::OnContextHelp, &CMainFrame::OnUpdateContextHelp},
        {ID_HELP, &CMainFrame::OnHelp, nullptr},
        {ID_DEFAULT_HELP, &CMainFrame::OnDefaultHelp, nullptr},
        {ID_VIEW_TOOLBAR, &CMainFrame::OnViewToolBar, &CMainFrame::OnUpdateViewToolBar},
        {ID_VIEW_STATUS_BAR, &CMainFrame::OnViewStatusBar, &CMainFrame::OnUpdateViewStatusBar},
        {ID_WINDOW_NEW, &CMainFrame::OnWindowNew, nullptr},
        {ID_WINDOW_CASCADE, &CMainFrame::OnWindowCascade, nullptr},
        {ID_WINDOW_TILE_HORZ, &CMainFrame::OnWindowTileHorz, nullptr},
        {ID_WINDOW_ARRANGE, &CMainFrame::OnWindowArrange, nullptr},
    };
    return DispatchCommand(*this, kCommands, id, kind, ui);
}

// The frame's own help contents ignore the help-mode.
void CMainFrame::OnHelpFinder()
{
    m_app.GetHost().ShowWinHelpContents(m_app.m_strAppDir + "Zavio.hlp");
}
void CMainFrame::OnContextHelp()
{
    m_app.GetHost().RunFrameHelp(ID_CONTEXT_HELP);
}
// F1. Where there is no WinHelp it opens the contents page of the program's
// own help; in help-mode it stays the framework's.
void CMainFrame::OnHelp()
{
    if (m_app.m_bWinHelpAvailable == 0 && m_app.m_nHelpMode == 0) {
        m_app.OpenHelpPage(HelpPagePath("Zavio.htm"));
        return;
    }
    m_app.GetHost().RunFrameHelp(ID_HELP);
}
void CMainFrame::OnDefaultHelp()
{
    m_app.GetHost().RunFrameHelp(ID_DEFAULT_HELP);
}
void CMainFrame::OnUpdateContextHelp(CCmdUI& ui)
{
    ui.Enable(m_app.m_bWinHelpAvailable != 0);
}

void CMainFrame::OnViewToolBar()
{
    Host& host = m_app.GetHost();
    host.ShowControlBar(ID_VIEW_TOOLBAR, !host.IsControlBarVisible(ID_VIEW_TOOLBAR));
}

void CMainFrame::OnViewStatusBar()
{
    Host& host = m_app.GetHost();
    host.ShowControlBar(ID_VIEW_STATUS_BAR, !host.IsControlBarVisible(ID_VIEW_STATUS_BAR));
}

void CMainFrame::OnUpdateViewToolBar(CCmdUI& ui)
{
    ui.SetCheck(m_app.GetHost().IsControlBarVisible(ID_VIEW_TOOLBAR));
}

void CMainFrame::OnUpdateViewStatusBar(CCmdUI& ui)
{
    ui.SetCheck(m_app.GetHost().IsControlBarVisible(ID_VIEW_STATUS_BAR));
}

void CMainFrame::OnWindowNew()
{
    m_app.GetHost().OpenNewWindowOnActiveDocument();
}
void CMainFrame::OnWindowCascade()
{
    m_app.GetHost().CascadeDocumentWindows();
}
void CMainFrame::OnWindowTileHorz()
{
    m_app.GetHost().TileDocumentWindows();
}
void CMainFrame::OnWindowArrange()
{
    m_app.GetHost().ArrangeDocumentIcons();
}

bool CMainFrame::LoadPlacement(WindowPlacement& placement)
{
    std::string text = m_app.GetHost().GetProfileString(kSettingsSection, kPlacementKey);
    if (text.empty()) return false;
    std::optional<WindowPlacement> read = ParsePlacement(text);
    if (!read) return false;
    placement = *read;
    return true;
}

void CMainFrame::SavePlacement(const WindowPlacement& placement)
{
    m_app.GetHost().WriteProfileString(kSettingsSection, kPlacementKey, FormatPlacement(placement));
}

bool CMainFrame::ShowWithPlacement(int show)
{
    Host& host = m_app.GetHost();
    WindowPlacement placement;
    if (!LoadPlacement(placement)) return host.ShowMainWindow(show);
    if (show != SW_SHOWNORMAL) placement.showCmd = static_cast<unsigned>(show);
    host.SetMainWindowPlacement(placement);
    return host.ShowMainWindow(static_cast<int>(placement.showCmd));
}

bool CMainFrame::StartTimer(unsigned id, unsigned milliseconds)
{
    unsigned handle = m_app.GetHost().SetTimer(id, milliseconds);
    if (handle == 0) {
        AfxMessageBox(ToCp932("ウィンドウズのタイマが不足しており、遅延機能は実行できません"), MB_OK);
        return false;
    }
    if (id == kStartupTimerId) m_nStartupTimer = handle;
    return true;
}

void CMainFrame::OnTimer(unsigned id)
{
    if (id != kStartupTimerId) return;
    m_app.GetHost().KillTimer(m_nStartupTimer);
    CZavioDoc* startup = m_app.m_pStartupDoc;
    if (!startup) return;
    // Text the user typed into the start-up window is theirs: keep the
    // window rather than throw the text away unasked.
    if (startup->IsModified()) return;
    startup->OnCloseDocument();
}

bool CMainFrame::OnClose()
{
    Host& host = m_app.GetHost();
    WindowPlacement placement;
    if (host.GetMainWindowPlacement(placement)) {
        placement.flags = host.IsMainWindowZoomed() ? unsigned{WPF_RESTORETOMAXIMIZED} : 0u;
        SavePlacement(placement);
    }
    if (!m_app.m_pDocTemplate) return true;
    for (CDocument* doc : m_app.m_pDocTemplate->GetDocuments())
        if (!doc->SaveModified()) return false;
    for (CDocument* doc : m_app.m_pDocTemplate->GetDocuments()) doc->OnCloseDocument();
    return true;
}

}  // namespace zavio
