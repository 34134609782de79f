// Page separation: a cleaned manuscript is cut into one page per topic, taken
// from its end, each named after the topic's "#" footnote. A run first cuts
// every manuscript (so that it knows every topic a jump may reach), then
// names every page, then writes them.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "convert/Bitmaps.h"
#include "convert/ConversionPort.h"
#include "convert/KeywordIndex.h"
#include "convert/Manuscript.h"

namespace zavio {

class CConversionState;
class PagesAhead;

// Where the page's text gets what only the run as a whole knows: a link's
// start (value: the target as hidden) and end, a place a jump may reach
// (value: its context string, made safe as page names are).
struct TextMark {
    std::size_t offset;
    MarkKind kind;
    std::string value;
};

// A page cut off a manuscript, as its file will hold it once named.
struct TakenPage {
    std::string title;
    std::string topicName;  // the "#" note's text, made safe for a file name; empty: no topic
    std::vector<Keyword> keywords;
    std::string text;  // the page's own lines, broken where the source broke them
    std::vector<TextMark> marks;
    LineList remarks;      // what the list of pages says of it (pictures not shown, ...)
    std::string fileName;  // given by NamePages, without ".htm"
    LineList said;         // what naming it said about sources that moved
    int clash = 0;         // why it does not carry its topic's name (NamePages)
    std::string file;      // the file's bytes, made by MakePageFiles
    int jumpsNotLinked = 0;
};

// A manuscript cut into its pages, in reading order.
struct SeparatedManuscript {
    SourceFile source;
    std::string pageOpening;  // the header and, in homepage-type help, the contents link
    std::vector<TakenPage> pages;
    bool noteAnchors = false;           // it holds Word's note references at all
    std::vector<PictureFile> pictures;  // to be written beside the pages
    LineList remarks;                   // what the list of pages says of it as a whole
};

// Cuts the cleaned manuscript into pages, from its end: each page's title,
// topic name, keywords, the places inside it and its text. The run's notes
// must be the manuscript's; `separated` receives the pages.
void SeparatePages(CConversionState& run, const std::string& contentsName, Manuscript& manuscript,
                   SeparatedManuscript& separated);

// Gives every page of the run its file name, in the order the pages are
// written: a name no other file of the run takes (name(2), ... otherwise),
// a source of the run at that place moved into Finished first.
void NamePages(CConversionState& run, ConversionPort& port, std::vector<SeparatedManuscript>& manuscripts,
               const std::string& finishedFolder);

// The pages a jump may reach, by their context strings without regard to
// letter case, as WinHelp compares them: a topic's page, or a place in it.
class TopicTable {
public:
    TopicTable(const CConversionState& run, const std::vector<SeparatedManuscript>& manuscripts);
    // "page.htm" or "page.htm#place" as a page in `fromFolder` links to it
    // (through the folders between when the page lies elsewhere); empty for
    // a context string no page has.
    std::string Find(const std::string& context, const std::string& fromFolder) const;

private:
    struct Target {
        const std::string* folder;  // the pages' folder, one string per manuscript
        std::string href;
    };
    std::vector<std::string> m_folders;
    std::unordered_map<std::string, Target> m_links;
};

// Makes each named page's file: the manuscript's page opening, then the
// page's text with its links and places made; a jump that links nowhere is
// counted, and said in the page's remarks; the text and the marks are spent.
// It reads the run and the table only, and changes nothing but these pages:
// it may run on another core while another manuscript's pages are written.
void MakePageFiles(const CConversionState& run, const TopicTable& topics, SeparatedManuscript& manuscript);

// The page files go once written.
void ReleasePageFiles(SeparatedManuscript& manuscript);

// Writes the manuscript's pages as MakePageFiles made them, puts them in front of
// the run's page lists (once SettlePageLists runs) and the manuscript's block
// of the list of pages in front of `listLines`. The number of pages written.
// With `ahead`, a helper may have written the bytes of some pages already.
int WritePages(CConversionState& run, ConversionPort& port, SeparatedManuscript& manuscript, LineList& listLines,
               PagesAhead* ahead = nullptr);

}  // namespace zavio
