// PLACEHOLDER until the conversion driver lands.
#include "app/ZavioApp.h"

namespace zavio {

void CZavioApp::OnConvertHtmlHelp()
{
    m_bHtmlHelp = 1;
    TakeHelpMode("HID_SEPARATE_HTML.htm");
}

void CZavioApp::OnConvertHpType()
{
    m_bHtmlHelp = 0;
    TakeHelpMode("HID_SEPARATE_HTML.htm");
}

}  // namespace zavio
