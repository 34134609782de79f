#include "convert/ConversionState.h"

#include <iterator>

#include "framework/Cp932.h"
#include "framework/Path.h"

namespace zavio {

CConversionState CConversionState::ForOneManuscript() const
{
    CConversionState own(m_kind);
    own.m_bKeepHeader = m_bKeepHeader;
    own.m_project = m_project;
    own.m_helpFolder = m_helpFolder;
    return own;
}

void CConversionState::TakeManuscriptInHand(CConversionState& cut)
{
    m_saHeaderLines = std::move(cut.m_saHeaderLines);
    m_characterStyles = std::move(cut.m_characterStyles);
}

void CConversionState::InsertPagesAtFront(LineList titles, LineList files)
{
    m_pageBlocks.emplace_back(std::move(titles), std::move(files));
}

void CConversionState::SettlePageLists()
{
    if (m_pageBlocks.empty()) return;
    LineList titles, files;
    for (auto block = m_pageBlocks.rbegin(); block != m_pageBlocks.rend(); ++block) {
        titles.insert(titles.end(), std::make_move_iterator(block->first.begin()),
                      std::make_move_iterator(block->first.end()));
        files.insert(files.end(), std::make_move_iterator(block->second.begin()),
                     std::make_move_iterator(block->second.end()));
    }
    titles.insert(titles.end(), std::make_move_iterator(m_saPageTitles.begin()),
                  std::make_move_iterator(m_saPageTitles.end()));
    files.insert(files.end(), std::make_move_iterator(m_saPageFiles.begin()),
                 std::make_move_iterator(m_saPageFiles.end()));
    m_saPageTitles = std::move(titles);
    m_saPageFiles = std::move(files);
    m_pageBlocks.clear();
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

void CConversionState::SetSourcePath(RunSource& source, std::string path)
{
    source.path = std::move(path);
    m_indexedSources = static_cast<std::size_t>(-1);
}

void CConversionState::IndexSources()
{
    m_sourceByPath.clear();
    m_sourceByIdentity.clear();
    for (std::size_t i = 0; i < m_sources.size(); ++i) {
        m_sourceByPath.try_emplace(MbLowerAscii(m_sources[i].path), i);
        if (const std::optional<FileIdentity>& id = m_sources[i].identity)
            m_sourceByIdentity.try_emplace(std::make_pair(id->device, id->inode), i);
    }
    m_indexedSources = m_sources.size();
}

RunSource* CConversionState::SourceLyingAt(const std::string& path, const PathLookup& at)
{
    if (m_indexedSources != m_sources.size()) IndexSources();
    std::size_t first = m_sources.size();
    if (auto named = m_sourceByPath.find(MbLowerAscii(path)); named != m_sourceByPath.end()) first = named->second;
    if (at.identity) {
        auto same = m_sourceByIdentity.find(std::make_pair(at.identity->device, at.identity->inode));
        if (same != m_sourceByIdentity.end()) first = std::min(first, same->second);
    }
    return first < m_sources.size() ? &m_sources[first] : nullptr;
}

void CConversionState::ReservePages(std::size_t pages)
{
    m_writtenNames.Reserve(pages);
    m_keywordIndex.Reserve(pages);
}

void CConversionState::MarkWritten(const std::string& path)
{
    m_writtenNames.Add(MbLowerAscii(path));
}

bool CConversionState::WasWritten(const std::string& path, const PathLookup& at) const
{
    if (m_writtenNames.Contains(MbLowerAscii(path))) return true;
    // Another name of a file the run wrote can only be a link made before
    // the run: where it leads tells (no look at the disk for the others).
    if (!at.link) return false;
    const std::optional<std::string> resolved = ResolvedPath(path);
    return resolved && m_writtenNames.Contains(MbLowerAscii(*resolved));
}

bool CConversionState::IsContentsPage(const std::string& path) const
{
    return !m_strContentsPagePath.empty() && MbEqualsIgnoringAsciiCase(path, m_strContentsPagePath);
}

bool CConversionState::IndexPages(IndexedPageLists* ahead)
{
    SettlePageLists();
    // An index answers for the lists it was made of, whichever copy.
    const bool held = ahead && ahead->titles == m_saPageTitles && ahead->files == m_saPageFiles;
    if (held)
        m_pageIndex = std::move(ahead->index);
    else
        m_pageIndex = PageIndex(m_saPageTitles, m_saPageFiles);
    if (ahead) *ahead = IndexedPageLists();  // served or not, they are done with
    return held;
}

}  // namespace zavio
