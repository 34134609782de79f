// How long the clean-up and page stages take on large manuscripts: three
// manuscripts of about 650 KB with 500 topics in all, one page of 2 MB, and
// 65,000 empty paragraphs. Prints one line per case.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "WordManuscript.h"
#include "convert/ConversionState.h"
#include "convert/HeaderSimplification.h"
#include "convert/PageExtraction.h"
#include "convert/WordHtmlCleanup.h"
#include "framework/TextFile.h"

namespace {

using namespace zavio;
using Clock = std::chrono::steady_clock;

// The stages of one manuscript as a conversion runs them; returns the pages.
int SplitManuscript(const std::string& text)
{
    CConversionState run;
    Manuscript manuscript;
    SplitTextLines(text, manuscript.sourceLines);
    SplitOffWordHeader(run, manuscript);
    SimplifyHeader(run);
    CleanUpBody(run, manuscript);
    int pages = 0;
    for (bool more = true; more; ++pages) {
        ManuscriptLines page;
        LineList lines;
        AppendHeaderLines(run, lines);
        AppendContentsLink(lines, "Contents");
        std::string note, title;
        more = TakeLastPage(manuscript.body, page, note, title);
    }
    return pages;
}

void Report(const char* name, const std::vector<std::string>& manuscripts)
{
    std::size_t bytes = 0;
    for (const std::string& text : manuscripts) bytes += text.size();
    const auto start = Clock::now();
    int pages = 0;
    for (const std::string& text : manuscripts) pages += SplitManuscript(text);
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    std::printf("%-34s %9zu bytes %6d pages %9.1f ms\n", name, bytes, pages, ms);
}

std::vector<std::string> ThreeManuscriptsOf500Topics()
{
    std::vector<std::string> manuscripts;
    int topic = 0;
    for (int m = 0; m < 3; ++m) {
        std::vector<test::WordTopic> topics;
        for (int t = 0; t < (m == 2 ? 166 : 167); ++t, ++topic) {
            std::string body;
            while (body.size() < 3'500) body += "ソフトウェアの表示を説明する段落です。 ";
            topics.push_back({"IDH_" + std::to_string(topic), "題名" + std::to_string(topic), body, "次へ",
                              "IDH_" + std::to_string(topic + 1)});
        }
        manuscripts.push_back(test::WordManuscript(topics));
    }
    return manuscripts;
}

std::string OnePageOfTwoMegabytes()
{
    test::WordTopic topic{"IDH_BIG", "大きなページ", ""};
    for (int i = 0; topic.body.size() < 3'000'000; ++i)
        topic.body += std::string("ソフトウェアの表示を説明する長い段落です。") + (i % 4 == 3 ? "\r\n" : "");
    return test::WordManuscript({topic});
}

std::string EmptyParagraphs(int count)
{
    std::string text = test::WordManuscript({{"IDH_EMPTY", "空", "x"}});
    std::string paragraphs;
    for (int i = 0; i < count; ++i)
        paragraphs += "<p class=MsoNormal><![if !supportEmptyParas]>&nbsp;<![endif]><o:p></o:p></p>\r\n\r\n";
    text.insert(text.find("</div>\r\n\r\n<div style='mso-element:footnote-list'>"), paragraphs);
    return text;
}

}  // namespace

int main()
{
    Report("3 manuscripts, 500 topics", ThreeManuscriptsOf500Topics());
    Report("one page of 2 MB", {OnePageOfTwoMegabytes()});
    Report("65,000 empty paragraphs", {EmptyParagraphs(65'000)});
    return 0;
}
