// The reading of a WinHelp contents file and the matching of its entries to
// pages. The input is the contents file, optionally followed by the line
// "@@PAGES" and one page per line as "file<TAB>title". Every entry line is
// read and every topic entry is matched against those pages; the match is
// compared with a direct probe-by-probe search.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/ZavioApp.h"
#include "convert/ContentsEntry.h"
#include "convert/ConversionState.h"
#include "framework/Cp932.h"
#include "framework/TextFile.h"

namespace {

using namespace zavio;

constexpr std::string_view kPagesMarker = "\n@@PAGES\n";

[[noreturn]] void Fail(const char* what, const std::string& line)
{
    std::fprintf(stderr, "contents fuzzer: %s\nline: %s\n", what, DecodeCp932Lossless(line).c_str());
    std::abort();
}

void Check(bool ok, const char* what, const std::string& line)
{
    if (!ok) Fail(what, line);
}

struct Pages {
    LineList titles;
    LineList files;
};

// The pages of one conversion, indexed as the driver indexes them once the
// last page is separated.
class Matcher {
public:
    void SetPages(const Pages& pages)
    {
        m_run = CConversionState();
        m_run.m_saPageTitles = pages.titles;
        m_run.m_saPageFiles = pages.files;
        m_run.IndexPages();
    }
    void Find(std::string& title, std::string& topic, int& score)
    {
        FindPageForTitle(m_run.Pages(), title, topic, score);
    }

private:
    CConversionState m_run;
};

// The match as the contents writers define it: a page whose file name is the
// topic; else the first page with the highest share of the title's byte
// pairs (all but the last) found in its title by a multibyte-aware search.
void ReferenceMatch(const Pages& pages, std::string& title, std::string& topic, int& score)
{
    const std::size_t count = std::min(pages.titles.size(), pages.files.size());
    for (std::size_t i = 0; i < count; ++i) {
        if (pages.files[i] == topic) {
            title = pages.titles[i];
            score = 100;
            return;
        }
    }
    if (title.size() < 3) return;
    const std::size_t probes = title.size() - 2;
    int best = 0;
    std::size_t chosen = count;
    for (std::size_t i = 0; i < count; ++i) {
        std::size_t found = 0;
        for (std::size_t p = 0; p < probes; ++p) found += MbContains(pages.titles[i], title.substr(p, 2)) ? 1 : 0;
        const int pageScore = static_cast<int>(found * 100 / probes);
        if (pageScore > best) {
            best = pageScore;
            chosen = i;
        }
    }
    if (chosen == count) return;
    title = pages.titles[chosen];
    topic = pages.files[chosen];
    score = best;
}

void CheckEntryLine(const std::string& line, const Pages& pages, Matcher& matcher)
{
    constexpr int kUnset = 42;
    int level = kUnset;
    const int pos = GetCntLevel(line, level);
    const std::size_t firstOther = line.find_first_not_of(" \t");
    const bool isEntry = firstOther != std::string::npos && line[firstOther] >= '1' && line[firstOther] <= '9';
    if (!isEntry) {
        Check(level == kUnset && pos == 0, "a line without a level digit was given a level", line);
    } else {
        Check(static_cast<std::size_t>(pos) == firstOther && level == line[firstOther] - '0',
              "the level is not the first digit after the blanks", line);
    }

    ContentsEntry entry;
    Check(ReadContentsEntry(line, entry) == isEntry, "ReadContentsEntry disagrees with GetCntLevel", line);
    if (!isEntry) return;
    Check(entry.level == level && entry.text == line.substr(firstOther + 1), "entry text is not the rest", line);
    Check(entry.isTopic == MbContains(entry.text, "="), "topic is not told by an equals sign", line);
    Check(TrimLeft(entry.name) == entry.name, "entry name keeps leading white space", line);
    if (!entry.isTopic) {
        Check(entry.text.ends_with(entry.name), "heading name is not the entry text", line);
        return;
    }
    Check(entry.text.ends_with("=" + entry.rawTopic), "topic is not the text after an equals sign", line);

    std::string title = entry.name;
    std::string topic = Trim(entry.rawTopic);
    int score = 0;
    std::string refTitle = title;
    std::string refTopic = topic;
    int refScore = 0;
    matcher.Find(title, topic, score);
    ReferenceMatch(pages, refTitle, refTopic, refScore);
    Check(title == refTitle && topic == refTopic && score == refScore,
          "FindPageForTitle differs from the probe-by-probe match", line);
    Check(score >= 0 && score <= 100, "score out of range", line);
}

Pages ReadPages(std::string_view text)
{
    LineList lines;
    SplitTextLines(text, lines);
    Pages pages;
    for (const std::string& line : lines) {
        const std::size_t tab = line.find('\t');
        pages.files.push_back(line.substr(0, tab));
        pages.titles.push_back(tab == std::string::npos ? std::string() : line.substr(tab + 1));
    }
    return pages;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static Matcher matcher;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t marker = input.find(kPagesMarker);
    const std::string_view contents = input.substr(0, marker);
    const Pages pages =
        marker == std::string_view::npos ? Pages{} : ReadPages(input.substr(marker + kPagesMarker.size()));

    matcher.SetPages(pages);
    LineList lines;
    SplitTextLines(contents, lines);
    for (const std::string& line : lines) CheckEntryLine(line, pages, matcher);
    return 0;
}
