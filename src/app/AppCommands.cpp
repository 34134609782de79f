// Commands of the application object: the help contents, print setup, exit,
// the about box and the preparation guides.
#include "app/ZavioApp.h"
#include "framework/Cp932.h"
#include "framework/Path.h"
#include "res/CommandIds.h"
#include "res/Resources.h"

namespace zavio {

bool CZavioApp::IsWinHelpVersion(unsigned major, unsigned minor)
{
    static constexpr unsigned kWithWinHelp[][2] = {{3, 1}, {3, 5}, {3, 51}, {4, 0}, {4, 10}, {4, 90},
                                                   {5, 0}, {5, 1}, {5, 2},  {6, 0}, {6, 1}};
    for (const auto& v : kWithWinHelp)
        if (v[0] == major && v[1] == minor) return true;
    return false;
}

void CZavioApp::OnHelpHtml()
{
    if (TakeHelpMode("HID_HELP_HTML.htm")) return;
    GetHost().ShellOpen(m_strAppDir + "Zavio.chm");
}

void CZavioApp::OnHelpHpType()
{
    // Both contents commands share one help page, as the command table says.
    if (TakeHelpMode("HID_HELP_HTML.htm")) return;
    OpenHelpPage(HelpPagePath("Zavio.htm"));
}

void CZavioApp::OnHelpFinder()
{
    if (TakeHelpMode("HID_HELP_FINDER.htm")) return;
    GetHost().ShowWinHelpContents(m_strAppDir + "Zavio.hlp");
}

void CZavioApp::OnFilePrintSetup()
{
    if (TakeHelpMode("HID_FILE_PRINT_SETUP.htm")) return;
    GetHost().ShowPrintSetup();
}

void CZavioApp::OnAppExit()
{
    if (TakeHelpMode("HID_APP_EXIT.htm")) return;
    GetHost().RequestMainWindowClose();
}

void CZavioApp::OnAppAbout()
{
    GetHost().ShowAboutBox();
}

namespace {

// A guide explains one step of preparing the sources, in one message box.
void ShowGuide(std::string_view helpPageName, unsigned commandId)
{
    if (ZavioApp().TakeHelpMode(helpPageName)) return;
    AfxMessageBox(ToCp932(res::GuideText(commandId)), MB_OK);
}

}  // namespace

void CZavioApp::OnPrepA()
{
    ShowGuide("HID_PREP_A.htm", ID_PREP_A);
}
void CZavioApp::OnPrepB()
{
    ShowGuide("HID_PREP_B.htm", ID_PREP_B);
}
void CZavioApp::OnPrepC()
{
    ShowGuide("HID_PREP_C.htm", ID_PREP_C);
}
void CZavioApp::OnPrepD()
{
    ShowGuide("HID_PREP_D.htm", ID_PREP_D);
}
void CZavioApp::OnPrepE()
{
    ShowGuide("HID_PREP_E.htm", ID_PREP_E);
}

}  // namespace zavio
