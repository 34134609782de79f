#include "convert/HtmlHelpProject.h"

#include <algorithm>

#include "convert/ContentsEntry.h"
#include "convert/ConversionState.h"
#include "convert/HtmlText.h"
#include "convert/ProjectConversion.h"
#include "convert/RunFiles.h"
#include "convert/Sitemap.h"
#include "framework/Cp932.h"
#include "framework/Path.h"
#include "project/ContextMap.h"

namespace zavio {
namespace {

// `sections` are a project's context ids, `forwarding` the pages made for them.
void AppendProjectLines(const CConversionState& run, LineList& out, const std::string& projectName,
                        const HhpContextSections* sections, const LineList& forwarding)
{
    const LineList& titles = run.m_saPageTitles;
    const LineList& files = run.m_saPageFiles;
    const std::size_t pages = std::min(titles.size(), files.size());
    // A WinHelp project names its first topic and its title.
    std::string defaultTopic = (pages > 0 ? files[0] : std::string()) + ".htm";
    if (run.m_project && !run.m_project->project.contentsTopic.empty())
        if (std::optional<std::string> page = PageOfContextString(run, run.m_project->project.contentsTopic))
            defaultTopic = *page;
    out.push_back("[OPTIONS]");
    out.push_back("Compatibility=1.1 or later");
    out.push_back("Compiled file=" + projectName + ".chm");
    out.push_back("Contents file=Table of Contents.hhc");
    out.push_back("Default topic=" + defaultTopic);
    out.push_back("Display compile progress=No");
    if (!run.m_keywordIndex.empty()) out.push_back("Index file=Index.hhk");
    out.push_back(ToCp932("Language=0x411 日本語"));
    if (run.m_project && !run.m_project->project.title.empty()) out.push_back("Title=" + run.m_project->project.title);
    out.push_back("");
    out.push_back("");
    out.push_back("[FILES]");
    for (std::size_t i = 0; i < pages; ++i) out.push_back(files[i] + ".htm");
    out.insert(out.end(), forwarding.begin(), forwarding.end());
    out.insert(out.end(), run.m_saPictureFiles.begin(), run.m_saPictureFiles.end());
    out.push_back("");
    // The ids an application asks for its topics by, with the pages they open.
    if (sections) {
        for (const LineList* section : {&sections->alias, &sections->map}) {
            if (section->empty()) continue;
            out.insert(out.end(), section->begin(), section->end());
            out.push_back("");
        }
    }
    out.push_back("[INFOTYPES]");
}

// A contents file's head: the sitemap's, then its folder images.
void AppendSitemapHeader(LineList& out)
{
    AppendSitemapHead(out);
    out.push_back("<OBJECT type=\"text/site properties\">");
    out.push_back("\t<param name=\"ImageType\" value=\"Folder\">");
    out.push_back("</OBJECT>");
}

// One sitemap item; a heading has no `local` page and links nowhere.
void AppendSitemapItem(LineList& out, const std::string& indent, const std::string& name, const std::string* local)
{
    out.push_back(indent + "\t<LI> <OBJECT type=\"text/sitemap\">");
    out.push_back(SitemapNameParam(indent + "\t\t", name));
    if (local) out.push_back(SitemapLocalParam(indent + "\t\t", *local));
    out.push_back(indent + "\t\t</OBJECT>");
}

void AppendFlatPageList(LineList& out, const LineList& titles, const LineList& files)
{
    const std::size_t pages = std::min(titles.size(), files.size());
    for (std::size_t i = 0; i < pages; ++i) AppendSitemapItem(out, "", titles[i], &files[i]);
}

}  // namespace

void WriteHtmlHelpProject(CConversionState& run, ConversionPort& port, const ContentsFile* contents,
                          const std::string& manuscriptPath, const std::string* sitemapBody)
{
    std::string& projectName = run.m_strProjectName;
    projectName = run.m_project ? run.m_project->name + ".hpj" : contents ? contents->path : manuscriptPath;
    std::size_t sep = MbReverseFind(projectName, kPathSep);
    if (sep != std::string::npos) projectName.erase(0, sep + 1);
    std::size_t dot = MbFind(projectName, ".");
    if (dot == std::string::npos) return;
    projectName.erase(dot);

    const std::string folder = GetFolderOfPath(manuscriptPath);

    LineList forwarding;
    std::optional<HhpContextSections> sections;
    if (run.m_project) sections = WriteProjectContextSections(run, port, forwarding);
    LineList projectLines;
    AppendProjectLines(run, projectLines, projectName, sections ? &*sections : nullptr, forwarding);
    WriteGeneratedFile(
        run, port,
        {OutputRole::Project, folder + projectName + ".hhp", "hhp", projectName, JoinTextLines(projectLines), true});

    OutputFile sitemap{OutputRole::Sitemap,
                       folder + "Table of Contents.hhc",
                       "hhc",
                       contents ? contents->baseName : std::string(),
                       {},
                       true};
    const std::string madeHere =
        sitemapBody ? std::string() : SitemapContentsBody(run.Pages(), run.m_saPageTitles, run.m_saPageFiles, contents);
    const std::string& body = sitemapBody ? *sitemapBody : madeHere;
    LineList header;
    AppendSitemapHeader(header);
    sitemap.text = JoinTextLines(header, body.size());
    sitemap.text += body;
    WriteGeneratedFile(run, port, std::move(sitemap));
}

std::string SitemapContentsBody(PageIndex& pages, const LineList& titles, const LineList& files,
                                const ContentsFile* contents)
{
    LineList lines;
    if (contents)
        AppendHhcTreeFromCnt(pages, contents->lines, lines);
    else
        AppendFlatPageList(lines, titles, files);
    lines.push_back("</BODY></HTML>");
    return JoinTextLines(lines);
}

void AppendHhcTreeFromCnt(PageIndex& pages, const LineList& cntLines, LineList& out)
{
    int previousLevel = 0;
    int openLists = 0;
    ContentsEntry entry;
    for (const std::string& line : cntLines) {
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
            FindPageForTitle(pages, title, topic, score);
            AppendSitemapItem(out, indent + "\t", DisplayedEntryName(entry.name, title, score), &topic);
        }
        previousLevel = level;
    }
    for (int k = openLists; k >= 1; --k) out.push_back(std::string(static_cast<std::size_t>(k), '\t') + "\t</UL>");
}

}  // namespace zavio
