// The terms of use, shown in the start-up document until its timer closes it.
#include "app/MainFrame.h"
#include "app/ZavioApp.h"
#include "doc/ZavioDoc.h"
#include "framework/Cp932.h"
#include "res/Resources.h"

namespace zavio {

void CZavioDoc::WriteTermsText()
{
    for (std::string_view line : res::TermsTextLines()) m_saOutputLines.push_back(ToCp932(line));
    LoadLinesIntoView(m_saOutputLines);
    if (CMainFrame* frame = ZavioApp().m_pMainFrame) frame->StartTimer(kStartupTimerId, kStartupTimerPeriod);
}

}  // namespace zavio
