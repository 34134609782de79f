#include "convert/ConversionState.h"

#include <iterator>

#include "framework/Cp932.h"
#include "framework/Path.h"

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

void CConversionState::AddSource(const std::string& path, std::string finishedName)
{
    m_sources.push_back({path, path, std::move(finishedName), false, IdentityOf(path), false});
}

RunSource* CConversionState::SourceLyingAt(const std::string& path, const PathLookup& at)
{
    for (RunSource& source : m_sources)
        if (MbEqualsIgnoringAsciiCase(source.path, path) || (at.identity && source.identity == at.identity))
            return &source;
    return nullptr;
}

void CConversionState::MarkWritten(const std::string& path)
{
    m_writtenNames.insert(MbLowerAscii(path));
}

bool CConversionState::WasWritten(const std::string& path, const PathLookup& at) const
{
    if (m_writtenNames.count(MbLowerAscii(path)) != 0) return true;
    // Another name of a file the run wrote can only be a link made before
    // the run: where it leads tells (no look at the disk for the others).
    if (!at.link) return false;
    const std::optional<std::string> resolved = ResolvedPath(path);
    return resolved && m_writtenNames.count(MbLowerAscii(*resolved)) != 0;
}

bool CConversionState::IsContentsPage(const std::string& path) const
{
    return !m_strContentsPagePath.empty() && MbEqualsIgnoringAsciiCase(path, m_strContentsPagePath);
}

void CConversionState::IndexPages()
{
    m_pageIndex = PageIndex(m_saPageTitles, m_saPageFiles);
}

}  // namespace zavio
