#include "convert/ProjectConversion.h"

#include <algorithm>
#include <unordered_set>

#include "convert/ConversionState.h"
#include "convert/PageNames.h"
#include "convert/RunFiles.h"
#include "framework/Cp932.h"
#include "framework/FileSystem.h"
#include "framework/Path.h"
#include "project/ContextMap.h"
#include "project/ProjectFiles.h"
#include "res/FileKinds.h"

namespace zavio {
namespace {

SourceFile FileOfProject(const std::string& path)
{
    const PathParts parts = SplitPath(path);
    return {path, parts.fname, MbLowerAscii(parts.ext.empty() ? parts.ext : parts.ext.substr(1)), nullptr};
}

// Whether a help file a topic is named in is this project's own.
bool IsThisHelp(const ProjectRun& project, std::string_view file)
{
    const std::string stem = MbLowerAscii(SplitPath(Trim(file)).fname);
    return stem == MbLowerAscii(project.name) ||
           (!project.project.helpFile.empty() && stem == MbLowerAscii(SplitPath(project.project.helpFile).fname));
}

// A contents entry's topic as a page name: "ctx>window" and "ctx@this.hlp"
// are the topic ctx; the page the run made of it, where there is one.
std::string EntryTopic(const CConversionState& run, std::string topic)
{
    topic = Trim(std::string_view(topic).substr(0, topic.find('>')));
    const std::size_t at = topic.find('@');
    if (at != std::string::npos) {
        if (!IsThisHelp(*run.m_project, std::string_view(topic).substr(at + 1))) return topic;
        topic = Trim(std::string_view(topic).substr(0, at));
    }
    std::optional<std::string> page = PageOfContextString(run, topic);
    if (!page || page->find('#') != std::string::npos) return topic;
    return page->substr(0, page->size() - 4);  // without ".htm"
}

}  // namespace

bool ReadProjectSources(CConversionState& run, ConversionPort& port, const SourceFile& hpj, ConversionSources& sources)
{
    std::string why;
    std::optional<HelpProject> project = ReadHelpProject(hpj.path, why);
    if (!project) {
        port.Say(why);
        return false;
    }
    ProjectRun& projectRun = run.m_project.emplace();
    projectRun.name = hpj.baseName;
    projectRun.problems.assign(project->problems.begin(), project->problems.end());
    // A folder of its own beside the project, never one that is there.
    const std::string beside = GetFolderOfPath(hpj.path);
    const std::string folder = TakeFreeName(hpj.baseName + "-html", "",
                                            [&](const std::string& name, int) { return !FileExists(beside + name); });
    projectRun.outputFolder = beside + folder + kPathSep;
    for (const std::string& path : project->manuscripts) {
        sources.manuscripts.push_back(FileOfProject(path));
        // Another tree's file, shared through "..": read like the rest, and
        // the author should know the output depends on it.
        if (!path.starts_with(beside))
            projectRun.remarks.push_back(ToCp932("原稿 ") + ShownPath(beside, path) +
                                         ToCp932(" はプロジェクトのフォルダの外にあります"));
    }
    if (!sources.manuscripts.empty()) sources.lastManuscriptPath = sources.manuscripts.back().path;
    if (!project->contentsFile.empty()) sources.contents = FileOfProject(project->contentsFile);
    projectRun.project = std::move(*project);
    projectRun.contentsLines = ReadProjectContents(projectRun.project, projectRun.problems);
    return true;
}

void SayProjectProblems(CConversionState& run, ConversionPort& port, LineList& listLines)
{
    const ProjectRun& project = *run.m_project;
    for (const std::string& remark : project.remarks) listLines.push_back(ListRemark(remark));
    if (project.problems.empty()) return;
    std::string said = project.project.path + ToCp932(" には次の問題があります");
    for (const std::string& problem : project.problems) {
        said += "\n" + problem;
        listLines.push_back(ListRemark(problem));
    }
    port.Say(said);
}

std::optional<ContentsFile> ReadProjectContentsFile(CConversionState& run, const SourceFile& contents)
{
    ContentsFile file{contents.path, contents.baseName, std::move(run.m_project->contentsLines)};
    ContentsEntry entry;
    for (std::string& line : file.lines) {
        if (!ReadContentsEntry(line, entry) || !entry.isTopic) continue;
        const std::string topic = EntryTopic(run, entry.rawTopic);
        if (topic != Trim(entry.rawTopic)) line = line.substr(0, line.size() - entry.rawTopic.size()) + topic;
    }
    return file;
}

namespace {

// A page that sends the reader on to `target` ("page.htm" or
// "page.htm#place") at once, titled as the page it forwards to.
std::string ForwardingPage(const std::string& target, const std::string& title)
{
    return JoinTextLines(
        {"<html>", "<head>", "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=shift_jis\">",
         "<meta http-equiv=\"refresh\" content=\"0; url=" + target + "\">", "<title>" + title + "</title>", "</head>",
         "<body><p><a href=\"" + target + "\">" + title + "</a></p></body>", "</html>"});
}

}  // namespace

HhpContextSections WriteProjectContextSections(CConversionState& run, ConversionPort& port, LineList& pages)
{
    const PageOfContext pageOf = [&](const std::string& context) { return PageOfContextString(run, context); };
    HhpContextSections sections = MakeHhpContextSections(run.m_project->project, pageOf);
    // Every name a file of the run has, without regard to case.
    std::unordered_set<std::string> taken;
    for (const std::string& page : run.m_saPageFiles) taken.insert(MbLowerAscii(page + ".htm"));
    for (const std::string& picture : run.m_saPictureFiles) taken.insert(MbLowerAscii(picture));
    std::unordered_set<std::string> aliased;  // the pages an [ALIAS] line already opens
    for (std::size_t i = 1; i < sections.alias.size(); ++i) {
        std::string& line = sections.alias[i];
        const std::size_t equals = line.find('=');
        const std::string context = line.substr(0, equals);
        const std::string target = line.substr(equals + 1);
        const std::string page = target.substr(0, target.find('#'));
        if (target == page && aliased.insert(MbLowerAscii(page)).second) continue;

        std::string stem = context;
        ReplaceUnsafeBytes(stem);
        const std::string name = TakeFreeName(stem, ".htm", [&](const std::string& candidate, int) {
            return !FileExists(run.m_project->outputFolder + candidate) && taken.insert(MbLowerAscii(candidate)).second;
        });
        const auto file = std::find(run.m_saPageFiles.begin(), run.m_saPageFiles.end(),
                                    page.substr(0, page.size() - 4));  // without ".htm"
        const std::string title = file == run.m_saPageFiles.end()
                                      ? page
                                      : run.m_saPageTitles[static_cast<std::size_t>(file - run.m_saPageFiles.begin())];
        // A page that cannot be written leaves the id on its page: a compiler
        // other than chmcmd still takes it.
        const std::string path = run.m_project->outputFolder + name;
        if (!WriteGeneratedFile(
                run, port,
                {OutputRole::Page, path, "htm", name.substr(0, name.size() - 4), ForwardingPage(target, title), false}))
            continue;
        run.MarkWritten(path);  // no topic's page: its name was not marked before
        line = context + "=" + name;
        pages.push_back(name);
    }
    return sections;
}

std::optional<std::string> PageOfContextString(const CConversionState& run, const std::string& context)
{
    if (!run.m_topics) return std::nullopt;
    std::string page = run.m_topics->Find(context, run.m_helpFolder);
    if (page.empty()) return std::nullopt;
    return page;
}

void WriteContextIds(CConversionState& run, ConversionPort& port, LineList& listLines)
{
    const HelpProject& project = run.m_project->project;
    const PageOfContext pageOf = [&](const std::string& context) { return PageOfContextString(run, context); };
    const HhpContextSections sections = MakeHhpContextSections(project, pageOf);
    for (const ContextId& id : sections.leftOut)
        listLines.push_back(ListRemark(ToCp932("ヘルプ番号 ") + id.context + "=" + id.number + " (" + id.source +
                                       ToCp932(") のトピックがないため、対応表に入れませんでした")));
    if (run.HtmlHelp() || project.ids.empty()) return;
    const std::string path = run.m_project->outputFolder + "ContextIds.txt";
    if (WriteGeneratedFile(
            run, port,
            {OutputRole::Note, path, "txt", "ContextIds", JoinTextLines(MakeContextIdLines(project, pageOf)), false}))
        listLines.push_back(ToCp932("ヘルプ番号の対応表 ･･･ ContextIds.txt"));
}

}  // namespace zavio
