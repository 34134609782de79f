// The keyword index: the keywords of the author's "K" footnotes, gathered
// page by page over the whole run, which become the HTML Help index
// (Index.hhk) or the homepage-type index page (Index.htm).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "convert/StringNumbers.h"
#include "framework/TextFile.h"

namespace zavio {

class CConversionState;
class ConversionPort;
class ManuscriptLines;
class NoteLineIndex;

// One keyword of a "K" footnote; `second` is empty for a first-level one.
struct Keyword {
    std::string first;
    std::string second;
};

// The keywords of a "K" footnote's text, in the order written. Keywords are
// separated by ";"; the first "," or ":" divides a first level from a second
// level, as WinHelp reads them; each part loses its ASCII white space at both ends. An empty
// keyword is passed over, and a second level with no first level stands at
// the first level.
std::vector<Keyword> ParseKeywords(std::string_view text);

// The run's keywords and the pages that name them.
class KeywordIndex {
public:
    struct Page {
        std::string file;
        std::string title;
    };
    // A keyword with its pages in reading order, one per page file, and its
    // second-level keywords (which have none of their own).
    struct Entry {
        std::string keyword;
        std::vector<const Page*> pages;
        std::vector<Entry> subentries;
    };

    // A page's keywords; a keyword it names twice counts once. Pages come as
    // the separation takes them, from the last to the first.
    void AddPage(std::string file, std::string title, const std::vector<Keyword>& keywords);
    // Room for `pages` more pages and a keyword of each.
    void Reserve(std::size_t pages);

    bool empty() const { return m_keywords.empty(); }
    std::size_t PageCount() const { return m_pages.size(); }
    // Distinct keywords, second-level ones included.
    std::size_t KeywordCount() const;

    // The first-level keywords, each with its second-level ones, in CP932
    // byte order. The entries point into the index: they serve while it
    // stays as it is.
    std::vector<Entry> Entries() const;

private:
    // A keyword's pages as indexes into m_pages, in the order added, each once.
    using PageList = std::vector<std::size_t>;
    struct FirstLevel {
        PageList pages;  // named alone
        std::unordered_map<std::string, PageList> seconds;
    };

    std::vector<Page> m_pages;          // as added: the last page first
    std::vector<std::size_t> m_fileOf;  // each page's file, numbered: two pages of one file are one link
    StringNumbers m_files;
    // Numbered while the pages come; put into CP932 byte order (std::string
    // orders its bytes unsigned) only when the entries are asked for.
    StringNumbers m_keywords;
    std::vector<FirstLevel> m_levels;  // by the keyword's number
};

// The keywords of the "K" notes whose marks a page took, in order.
std::vector<Keyword> PageKeywords(const CConversionState& run, const NoteLineIndex& notes, const ManuscriptLines& page);

// The text of the index's file after its head: the entries, and for HTML
// Help the file's end. It depends on the index alone, so it may be made on
// another core.
std::string KeywordIndexEntriesText(const KeywordIndex& index, bool htmlHelp);

// Writes the run's keyword index, when any page named keywords: Index.hhk
// for HTML Help, else an index page, listed in `listLines`. `folder` ends in
// a separator. `entriesText`, when given, is KeywordIndexEntriesText of an
// index equal to the run's.
void WriteKeywordIndex(CConversionState& run, ConversionPort& port, const std::string& folder,
                       const std::string& contentsName, LineList& listLines, const std::string* entriesText = nullptr);

}  // namespace zavio
