// The HTML Help project file and its sitemap contents file, and the matching
// of contents-file entries to the pages that were written.
#include <algorithm>
#include <cstdint>
#include <string_view>
#include <unordered_map>

#include "app/ZavioApp.h"
#include "convert/ContentsEntry.h"
#include "doc/ZavioDoc.h"
#include "framework/Cp932.h"
#include "framework/Path.h"

namespace zavio {
namespace {

// The pages as the matcher sees them: the first page of every file name, and
// for every byte pair the pages in whose title it begins on a character
// boundary (the only places a multibyte-aware search can match it). Scoring a
// title then costs the pages its probes actually meet, not every page times
// every probe.
class PageIndex {
public:
    bool Matches(const LineList& titles, const LineList& files) const
    {
        return m_built && titles == m_titles && files == m_files;
    }

    void Build(const LineList& titles, const LineList& files)
    {
        m_built = false;  // a build cut short must not pass for the lists it copied
        m_titles = titles;
        m_files = files;
        m_count = std::min(m_titles.size(), m_files.size());
        m_firstByFile.clear();
        m_firstByFile.reserve(m_count);
        for (std::size_t i = 0; i < m_count; ++i) m_firstByFile.try_emplace(m_files[i], i);
        BuildPairPostings();
        m_pairCounts.assign(m_count, 0);
        m_built = true;
    }

    // Exact stage: the first page whose file name is the topic.
    std::size_t FindFile(const std::string& topic) const
    {
        auto it = m_firstByFile.find(topic);
        return it == m_firstByFile.end() ? npos : it->second;
    }

    // Similarity stage: each byte pair of the title but the last is a probe;
    // a page scores the share of probes found in its title, and the first of
    // the best pages wins, never one that scores 0.
    std::size_t FindSimilar(std::string_view title, int& bestScore)
    {
        bestScore = 0;
        if (title.size() < 3 || m_count == 0) return npos;
        const std::size_t probeCount = title.size() - 2;
        m_probes.clear();
        for (std::size_t p = 0; p < probeCount; ++p) m_probes.push_back(PairAt(title, p));
        std::sort(m_probes.begin(), m_probes.end());

        m_touched.clear();
        for (std::size_t k = 0; k < m_probes.size();) {
            const std::uint16_t pair = m_probes[k];
            std::size_t same = k;
            while (same < m_probes.size() && m_probes[same] == pair) ++same;
            const std::uint32_t times = static_cast<std::uint32_t>(same - k);
            for (std::uint32_t at = m_pairStart[pair]; at < m_pairStart[pair + 1]; ++at) {
                const std::uint32_t page = m_postings[at];
                if (m_pairCounts[page] == 0) m_touched.push_back(page);
                m_pairCounts[page] += times;
            }
            k = same;
        }

        std::size_t best = npos;
        for (std::uint32_t page : m_touched) {
            const auto score = static_cast<std::uint16_t>(std::uint64_t{m_pairCounts[page]} * 100 / probeCount);
            if (score > bestScore || (score == bestScore && score > 0 && page < best)) {
                bestScore = score;
                best = page;
            }
            m_pairCounts[page] = 0;
        }
        return best;
    }

    const std::string& Title(std::size_t i) const { return m_titles[i]; }
    const std::string& File(std::size_t i) const { return m_files[i]; }

    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

private:
    static std::uint16_t PairAt(std::string_view s, std::size_t p)
    {
        return static_cast<std::uint16_t>((static_cast<unsigned char>(s[p]) << 8) |
                                          static_cast<unsigned char>(s[p + 1]));
    }

    // Calls visit(page, pair) once for every distinct pair that begins on a
    // character boundary of the page's title.
    template <typename Visit>
    void ForEachTitlePair(Visit visit)
    {
        std::vector<std::uint32_t> lastPage(65536, 0);
        for (std::size_t page = 0; page < m_count; ++page) {
            const std::string& t = m_titles[page];
            for (std::size_t q = 0; q + 1 < t.size(); q += CharLength(t, q)) {
                const std::uint16_t pair = PairAt(t, q);
                if (lastPage[pair] == page + 1) continue;
                lastPage[pair] = static_cast<std::uint32_t>(page + 1);
                visit(static_cast<std::uint32_t>(page), pair);
            }
        }
    }

    void BuildPairPostings()
    {
        m_pairStart.assign(65537, 0);
        ForEachTitlePair([&](std::uint32_t, std::uint16_t pair) { ++m_pairStart[pair + 1]; });
        for (std::size_t k = 1; k < m_pairStart.size(); ++k) m_pairStart[k] += m_pairStart[k - 1];
        m_postings.assign(m_pairStart.back(), 0);
        std::vector<std::uint32_t> next(m_pairStart.begin(), m_pairStart.end() - 1);
        // Pages are visited in order, so each posting list is in page order.
        ForEachTitlePair([&](std::uint32_t page, std::uint16_t pair) { m_postings[next[pair]++] = page; });
    }

    bool m_built = false;
    LineList m_titles;
    LineList m_files;
    std::size_t m_count = 0;
    std::unordered_map<std::string_view, std::size_t> m_firstByFile;
    std::vector<std::uint32_t> m_pairStart;
    std::vector<std::uint32_t> m_postings;
    std::vector<std::uint32_t> m_pairCounts;
    std::vector<std::uint32_t> m_touched;
    std::vector<std::uint16_t> m_probes;
};

// Whether a writer holds the page lists unchanged, and whether the index has
// been checked against them since it took hold.
thread_local int t_listsHeld = 0;
thread_local bool t_checkedWhileHeld = false;

// The index of the page lists last matched against. It keeps its own copy of
// the lists and is rebuilt whenever they differ, so it can never answer for
// lists that have since changed.
PageIndex& PageIndexFor(const LineList& titles, const LineList& files)
{
    thread_local PageIndex index;
    if (t_listsHeld > 0 && t_checkedWhileHeld) return index;
    if (!index.Matches(titles, files)) index.Build(titles, files);
    t_checkedWhileHeld = t_listsHeld > 0;
    return index;
}

// The folder of a path with its separator, or nothing for a bare file name.
std::string FolderOf(const std::string& path)
{
    PathParts parts = SplitPath(path);
    return parts.drive + parts.dir;
}

void AppendProjectLines(LineList& out, const std::string& projectName, const LineList& titles, const LineList& files)
{
    const std::size_t pages = std::min(titles.size(), files.size());
    out.push_back("[OPTIONS]");
    out.push_back("Compatibility=1.1 or later");
    out.push_back("Compiled file=" + projectName + ".chm");
    out.push_back("Contents file=Table of Contents.hhc");
    out.push_back("Default topic=" + (pages > 0 ? files[0] : std::string()) + ".htm");
    out.push_back("Display compile progress=No");
    out.push_back(ToCp932("Language=0x411 日本語"));
    out.push_back("");
    out.push_back("");
    out.push_back("[FILES]");
    for (std::size_t i = 0; i < pages; ++i) out.push_back(files[i] + ".htm");
    out.push_back("");
    out.push_back("[INFOTYPES]");
}

void AppendSitemapHeader(LineList& out)
{
    out.push_back("<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML//EN\">");
    out.push_back("<HTML>");
    out.push_back("<HEAD>");
    out.push_back("<meta name=\"GENERATOR\" content=\"Microsoft&reg; HTML Help Workshop 4.1\">");
    out.push_back("<!-- Sitemap 1.0 -->");
    out.push_back("</HEAD><BODY>");
    out.push_back("<OBJECT type=\"text/site properties\">");
    out.push_back("\t<param name=\"ImageType\" value=\"Folder\">");
    out.push_back("</OBJECT>");
}

// A value between the quotes of a param: a double quote of its own would
// end the attribute early, so it is written as the entity.
std::string AttributeText(const std::string& value)
{
    return MbReplaceAll(value, "\"", "&quot;");
}

// One sitemap item; a heading has no `local` page and links nowhere.
void AppendSitemapItem(LineList& out, const std::string& indent, const std::string& name, const std::string* local)
{
    out.push_back(indent + "\t<LI> <OBJECT type=\"text/sitemap\">");
    out.push_back(indent + "\t\t<param name=\"Name\" value=\"" + AttributeText(name) + "\">");
    if (local) out.push_back(indent + "\t\t<param name=\"Local\" value=\"" + AttributeText(*local) + ".htm\">");
    out.push_back(indent + "\t\t</OBJECT>");
}

void AppendFlatPageList(LineList& out, const LineList& titles, const LineList& files)
{
    const std::size_t pages = std::min(titles.size(), files.size());
    for (std::size_t i = 0; i < pages; ++i) AppendSitemapItem(out, "", titles[i], &files[i]);
}

// A new document named and titled for the file it will become.
CZavioDoc* NewNamedDocument(CZavioApp& app, const std::string& extension, const std::string& baseName,
                            const std::string& path)
{
    app.OnFileNewDocument();
    CZavioDoc* doc = app.m_pNewDoc;
    if (!doc) return nullptr;
    doc->m_strExtension = extension;
    doc->m_strBaseName = baseName;
    doc->m_strPath = path;
    doc->SetTitle(path);
    return doc;
}

}  // namespace

PageListsHeld::PageListsHeld()
{
    if (t_listsHeld++ == 0) t_checkedWhileHeld = false;
}

PageListsHeld::~PageListsHeld()
{
    --t_listsHeld;
}

void CZavioApp::WriteHtmlHelpProject(int contentsFound, std::string contentsPath, std::string contentsBaseName,
                                     std::string manuscriptPath, CZavioDoc* contentsDoc)
{
    m_strProjectName = contentsFound ? contentsPath : manuscriptPath;
    std::size_t sep = MbReverseFind(m_strProjectName, kPathSep);
    if (sep != std::string::npos) m_strProjectName.erase(0, sep + 1);
    std::size_t dot = MbFind(m_strProjectName, ".");
    if (dot == std::string::npos) return;
    m_strProjectName.erase(dot);

    const std::string folder = FolderOf(manuscriptPath);

    CZavioDoc* project = NewNamedDocument(*this, "hhp", m_strProjectName, folder + m_strProjectName + ".hhp");
    if (project) {
        AppendProjectLines(project->m_saOutputLines, m_strProjectName, m_saPageTitles, m_saPageFiles);
        project->LoadLinesIntoView(project->m_saOutputLines);
        project->SaveDocument(true);
    }

    CZavioDoc* sitemap = NewNamedDocument(*this, "hhc", contentsBaseName, folder + "Table of Contents.hhc");
    if (!sitemap) return;
    AppendSitemapHeader(sitemap->m_saOutputLines);
    if (contentsFound)
        AppendHhcTreeFromCnt(contentsDoc, sitemap);
    else
        AppendFlatPageList(sitemap->m_saOutputLines, m_saPageTitles, m_saPageFiles);
    sitemap->m_saOutputLines.push_back("</BODY></HTML>");
    sitemap->LoadLinesIntoView(sitemap->m_saOutputLines);
    sitemap->SaveDocument(true);
}

void CZavioApp::AppendHhcTreeFromCnt(CZavioDoc* contentsDoc, CZavioDoc* target)
{
    if (!contentsDoc || !target) return;
    LineList lines;
    contentsDoc->ReadViewLines(lines);
    LineList& out = target->m_saOutputLines;

    PageListsHeld held;
    int previousLevel = 0;
    int openLists = 0;
    ContentsEntry entry;
    for (const std::string& line : lines) {
        if (!ReadContentsEntry(line, entry)) continue;
        const int level = entry.level;
        const std::string indent(static_cast<std::size_t>(level - 1), '\t');
        // One list opens however many levels an entry jumps down; going up
        // closes only the lists that are open beyond the entry's level.
        if (level > previousLevel) {
            out.push_back(indent + "\t<UL>");
            ++openLists;
        } else if (level < previousLevel && openLists > level) {
            for (int k = openLists - level; k > 0; --k) out.push_back(indent + "\t</UL>");
            openLists = level;
        }

        if (!entry.isTopic) {
            AppendSitemapItem(out, indent, entry.name, nullptr);
        } else {
            std::string title = entry.name;
            std::string topic = Trim(entry.rawTopic);
            int score = 0;
            FindPageForTitle(title, topic, score);
            AppendSitemapItem(out, indent + "\t", DisplayedEntryName(entry.name, title, score), &topic);
        }
        previousLevel = level;
    }
    for (int k = openLists; k >= 1; --k) out.push_back(std::string(static_cast<std::size_t>(k), '\t') + "\t</UL>");
}

void CZavioApp::FindPageForTitle(std::string& title, std::string& topic, int& score)
{
    PageIndex& index = PageIndexFor(m_saPageTitles, m_saPageFiles);
    std::size_t page = index.FindFile(topic);
    if (page != PageIndex::npos) {
        title = index.Title(page);
        score = 100;
        return;
    }
    int best = 0;
    page = index.FindSimilar(title, best);
    if (page == PageIndex::npos) return;
    title = index.Title(page);
    topic = index.File(page);
    score = best;
}

int CZavioApp::GetCntLevel(std::string line, int& level)
{
    for (std::size_t i = 0; i < line.size(); ++i) {
        const signed char c = static_cast<signed char>(line[i]);
        if (c >= '1' && c <= '9') {
            level = c - '0';
            return static_cast<int>(i);
        }
        if (c != ' ' && c != '\t') return 0;
    }
    return 0;
}

}  // namespace zavio
