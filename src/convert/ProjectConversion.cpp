#include "convert/ProjectConversion.h"

#include "convert/ConversionState.h"
#include "convert/PageNames.h"
#include "convert/RunFiles.h"
#include "framework/Cp932.h"
#include "framework/FileSystem.h"
#include "framework/Path.h"
#include "project/ContextMap.h"
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

bool ReadProjectSources(CConversionState& run, ConversionPort& port, const SourceFile& hpj,
                        ConversionSources& sources)
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
    const std::string folder =
        TakeFreeName(hpj.baseName + "-html", "", [&](const std::string& name, int) { return !FileExists(beside + name); });
    projectRun.outputFolder = beside + folder + kPathSep;
    for (const std::string& path : project->manuscripts) sources.manuscripts.push_back(FileOfProject(path));
    if (!sources.manuscripts.empty()) sources.lastManuscriptPath = sources.manuscripts.back().path;
    if (!project->contentsFile.empty()) sources.contents = FileOfProject(project->contentsFile);
    projectRun.project = std::move(*project);
    projectRun.contentsLines = ReadProjectContents(projectRun.project, projectRun.problems);
    return true;
}

void SayProjectProblems(CConversionState& run, ConversionPort& port, LineList& listLines)
{
    const ProjectRun& project = *run.m_project;
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

std::optional<std::string> PageOfContextString(const CConversionState& run, const std::string& context)
{
    if (!run.m_topics) return std::nullopt;
    std::string page = run.m_topics->Find(context);
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
    if (WriteGeneratedFile(run, port,
                           {OutputRole::Note, path, "txt", "ContextIds", JoinTextLines(MakeContextIdLines(project, pageOf)),
                            false}))
        listLines.push_back(ToCp932("ヘルプ番号の対応表 ･･･ ContextIds.txt"));
}

}  // namespace zavio
