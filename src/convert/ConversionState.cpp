#include "convert/ConversionState.h"

#include "framework/Path.h"

#include <iterator>

namespace zavio {

void CConversionState::BeginManuscript()
{
    m_saHeaderLines.clear();
    m_notes = ManuscriptLines();
    m_characterStyles.clear();
}

void CConversionState::InsertPagesAtFront(LineList titles, LineList files)
{
    m_saPageTitles.insert(m_saPageTitles.begin(), std::make_move_iterator(titles.begin()),
                          std::make_move_iterator(titles.end()));
    m_saPageFiles.insert(m_saPageFiles.begin(), std::make_move_iterator(files.begin()),
                         std::make_move_iterator(files.end()));
}

std::string CConversionState::PagesFolder(const SourceFile& manuscript) const
{
    return m_project ? m_project->outputFolder : GetFolderOfPath(manuscript.path);
}

RunSource* CConversionState::SourceOpenedAt(const std::string& path)
{
    for (RunSource& source : m_sources)
        if (source.openedPath == path) return &source;
    return nullptr;
}

RunSource* CConversionState::SourceLyingAt(const std::string& path)
{
    for (RunSource& source : m_sources)
        if (source.path == path) return &source;
    return nullptr;
}

void CConversionState::IndexPages()
{
    m_pageIndex = PageIndex(m_saPageTitles, m_saPageFiles);
}

}  // namespace zavio
