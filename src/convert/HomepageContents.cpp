// Titles and contents entries are text: they are escaped where they go in.
#include "convert/HomepageContents.h"

#include <algorithm>

#include "convert/ContentsEntry.h"
#include "convert/ConversionState.h"
#include "convert/HomepageStyle.h"
#include "convert/HtmlText.h"
#include "convert/PageExtraction.h"
#include "convert/RunFiles.h"
#include "framework/Cp932.h"

namespace zavio {
namespace {

const std::string& TabStop()
{
    return ToCp932("<span style='mso-tab-count:1'>&nbsp;&nbsp;&nbsp;&nbsp;&nbsp; </span>");
}

// One Word tab stop per level below the entry's: the only sign of nesting.
void AppendIndent(LineList& out, int level)
{
    for (int k = 1; k < level; ++k) out.push_back(TabStop());
}

void AppendHeadingBlock(LineList& out, const ContentsEntry& entry)
{
    out.push_back("");
    AppendThinGap(out);
    out.push_back("");
    AppendIndent(out, entry.level);
    out.push_back(EscapeHtmlText(entry.text));
    out.push_back("");
    AppendThinGap(out);
    out.push_back("");
}

void AppendTopicBlock(LineList& out, const ContentsEntry& entry, const std::string& target,
                      const std::string& shownName)
{
    AppendThinGap(out);
    out.push_back("");
    AppendIndent(out, entry.level);
    static constexpr std::string_view kStart = "<a href=\"";
    static constexpr std::string_view kFileEnd = ".htm\"> ";
    static constexpr std::string_view kEnd = "</a><span lang=EN-US><o:p></o:p></span></span>";
    std::string& link = out.emplace_back();
    link.reserve(kStart.size() + target.size() + kFileEnd.size() + shownName.size() + kEnd.size());
    link.append(kStart).append(target).append(kFileEnd);
    AppendEscapedHtmlText(link, shownName);
    link.append(kEnd);
}

}  // namespace

void AppendThinGap(LineList& out)
{
    static const std::string& spacer1 = ToCp932("<p class=MsoNormal style='line-height:2.0pt'><span lang=EN-US");
    static const std::string& spacer2 = ToCp932(
        "style='font-size:2.0pt;font-family:\"ＭＳ ゴシック\"'><![if !supportEmptyParas]>&nbsp;<![endif]><o:p></o:p>"
        "</span></p>");
    out.push_back(spacer1);
    out.push_back(spacer2);
}

void AppendParagraphStart(LineList& out, int tabs)
{
    static const std::string& fontStyle = ToCp932("style='font-size:12.0pt;font-family:\"ＭＳ ゴシック\"'>");
    out.push_back("<p class=MsoNormal style='line-height:12.0pt'><span lang=EN-US");
    std::string line = fontStyle;
    for (int k = 0; k < tabs; ++k) line += TabStop();
    out.push_back(std::move(line));
}

std::string DoubleUnderlinedLink(const std::string& pageFile, std::string_view text, std::string_view after)
{
    static constexpr std::string_view kStart = "style='text-underline:double'><a href=\"";
    static constexpr std::string_view kFileEnd = ".htm\">";
    static constexpr std::string_view kEnd = "</a></u>";
    // Made in one piece: the escaped text is about as long as the text.
    std::string line;
    line.reserve(kStart.size() + pageFile.size() + kFileEnd.size() + text.size() + kEnd.size() + after.size());
    line.append(kStart).append(pageFile).append(kFileEnd);
    AppendEscapedHtmlText(line, text);
    line.append(kEnd).append(after);
    return line;
}

void WriteHomepageContents(CConversionState& run, ConversionPort& port, const ContentsFile* contents,
                           const std::string& contentsName, const std::string& contentsPagePath,
                           const std::string* body)
{
    const std::string madeHere =
        body ? std::string() : HomepageContentsBody(run.Pages(), run.m_saPageTitles, run.m_saPageFiles, contents);
    const std::string& entries = body ? *body : madeHere;
    LineList header;
    AppendHeaderLines(run, header);
    std::string text = JoinTextLines(header, entries.size());
    text += entries;
    WriteGeneratedFile(run, port,
                       {OutputRole::ContentsPage, contentsPagePath, "htm", contentsName, std::move(text), false});
}

std::string HomepageContentsBody(PageIndex& pages, const LineList& titles, const LineList& files,
                                 const ContentsFile* contents)
{
    LineList lines;
    if (contents)
        AppendContentsFromCnt(pages, contents->lines, lines);
    else
        AppendContentsFromPages(titles, files, lines);
    return JoinTextLines(lines);
}

void AppendContentsFromPages(const LineList& titles, const LineList& files, LineList& out)
{
    const std::size_t pages = std::min(titles.size(), files.size());
    for (std::size_t i = 0; i < pages; ++i) {
        AppendParagraphStart(out, 1);
        out.back() += "<u";
        out.push_back(DoubleUnderlinedLink(files[i], " " + titles[i]) +
                      "<span style='display:none;mso-hide:all'></span>" + std::string(kParagraphEnd));
        out.push_back("");
        AppendThinGap(out);
        out.push_back("");
    }
}

void AppendContentsFromCnt(PageIndex& pages, const LineList& cntLines, LineList& out)
{
    ContentsEntry entry;
    for (const std::string& line : cntLines) {
        if (!ReadContentsEntry(line, entry)) continue;
        if (!entry.isTopic) {
            AppendHeadingBlock(out, entry);
            continue;
        }
        // The topic is looked up as written, blanks included.
        std::string title = entry.name;
        std::string topic = entry.rawTopic;
        int score = 0;
        FindPageForTitle(pages, title, topic, score);
        AppendTopicBlock(out, entry, topic, DisplayedEntryName(entry.name, title, score));
    }
}

}  // namespace zavio
