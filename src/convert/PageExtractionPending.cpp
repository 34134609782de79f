// PLACEHOLDER until page extraction lands: the one member the writers use.
#include "app/ZavioApp.h"
#include "doc/ZavioDoc.h"

namespace zavio {

void CZavioDoc::AppendHeaderLines()
{
    const LineList& header = ZavioApp().m_saHeaderLines;
    m_saOutputLines.insert(m_saOutputLines.end(), header.begin(), header.end());
}

}  // namespace zavio
