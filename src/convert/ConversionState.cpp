#include "convert/ConversionState.h"

#include <utility>

namespace zavio {

void CConversionState::BeginManuscript()
{
    m_saHeaderLines.clear();
    m_saNoteLines.clear();
}

void CConversionState::InsertPageAtFront(std::string title, std::string file)
{
    m_saPageTitles.insert(m_saPageTitles.begin(), std::move(title));
    m_saPageFiles.insert(m_saPageFiles.begin(), std::move(file));
}

void CConversionState::IndexPages()
{
    m_pageIndex = PageIndex(m_saPageTitles, m_saPageFiles);
}

}  // namespace zavio
