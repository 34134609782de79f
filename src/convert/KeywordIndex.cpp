// The keyword index: reading the keywords of each written page's "K"
// notes, and writing the run's index as HTML Help's sitemap index
// (Index.hhk) or as the homepage-type index page (Index.htm).
#include "convert/KeywordIndex.h"

#include <algorithm>
#include <iterator>
#include <numeric>
#include <string_view>

#include "convert/ConversionState.h"
#include "convert/HomepageStyle.h"
#include "convert/HtmlText.h"
#include "convert/NoteLineIndex.h"
#include "convert/PageExtraction.h"
#include "convert/ParagraphText.h"
#include "convert/RunFiles.h"
#include "convert/Sitemap.h"
#include "convert/WordHtmlLines.h"
#include "framework/Cp932.h"

namespace zavio {
namespace {

// ';' and ',' are never trail bytes: the text is cut byte by byte.
Keyword ParseKeyword(std::string_view text)
{
    // WinHelp's second level follows the first comma or colon.
    const std::size_t comma = text.find_first_of(",:");
    if (comma == std::string_view::npos) return {Trim(text), std::string()};
    Keyword keyword{Trim(text.substr(0, comma)), Trim(text.substr(comma + 1))};
    if (keyword.first.empty()) keyword.first.swap(keyword.second);
    return keyword;
}

// A "K" note's text: the first paragraph of the note's own lines (from the
// line that names it to its div's end) that shows text beside its mark.
std::string KeywordNoteText(const CConversionState& run, const NoteLineIndex& index, std::string_view noteReference)
{
    const LineViews& notes = run.m_notes.Lines();
    const std::size_t found = index.FirstLineWith(noteReference);
    if (found == notes.size()) return std::string();
    // The note's div ends at "</div>", or at the next note's "<div".
    const auto endsNote = [](std::string_view line) {
        return line == "</div>" || (line.size() >= 4 && line.substr(0, 4) == "<div");
    };
    std::size_t end = found + 1;
    while (end < notes.size() && !endsNote(notes[end])) ++end;
    std::string text = FirstParagraphText(notes, run.m_notes.Breaks(), found, end);
    // Without Word's link back to the text the mark is plain text before
    // the keywords; it is never a keyword itself.
    const bool anchored = std::any_of(notes.begin() + static_cast<std::ptrdiff_t>(found),
                                      notes.begin() + static_cast<std::ptrdiff_t>(end),
                                      [](std::string_view line) { return IsNoteAnchorTag(line); });
    if (!anchored && text.size() >= 1 && text[0] == 'K' && (text.size() == 1 || text[1] == ' ')) text.erase(0, 1);
    return text;
}

// A page under a keyword that names several: its title, or its file's name
// when the title reads nothing.
const std::string& PageLabel(const KeywordIndex::Page& page)
{
    return page.title.empty() ? page.file : page.title;
}

// One keyword of Index.hhk: its name, then its page, or for several pages
// each page's label and file, as the sitemap index allows. Lines go
// straight into the file's text: a large help has hundreds of thousands.
void AppendSitemapKeyword(std::string& text, std::string_view indent, const KeywordIndex::Entry& entry)
{
    const std::string params = std::string(indent) + "\t";
    text.append(indent).append("<LI> <OBJECT type=\"text/sitemap\">\r\n");
    AppendSitemapNameLine(text, params, entry.keyword);
    if (entry.pages.size() == 1) {
        AppendSitemapLocalLine(text, params, entry.pages.front()->file);
    } else {
        for (const KeywordIndex::Page* page : entry.pages) {
            AppendSitemapNameLine(text, params, PageLabel(*page));
            AppendSitemapLocalLine(text, params, page->file);
        }
    }
    text.append(params).append("</OBJECT>\r\n");
}

// One keyword of Index.htm, a paragraph indented by its level: the keyword
// links to its one page; with several pages it is followed by a link to
// each, titled by the page; with none (a first level that only second
// levels name) it stands alone. A paragraph per keyword, not per page, as
// a large help names thousands of pages and every file must fit a window.
void AppendPageKeyword(LineList& out, int tabs, const KeywordIndex::Entry& entry)
{
    static const std::string& afterKeyword = ToCp932("：");
    static const std::string& betweenPages = ToCp932("、");
    static const std::string nextPage = betweenPages + "<u";
    AppendParagraphStart(out, tabs);
    if (entry.pages.size() == 1) {
        out.back() += "<u";
        out.push_back(DoubleUnderlinedLink(entry.pages.front()->file, " " + entry.keyword, kParagraphEnd));
    } else if (entry.pages.empty()) {
        out.back() += ' ';
        AppendEscapedHtmlText(out.back(), entry.keyword);
        out.back() += kParagraphEnd;
    } else {
        out.back() += ' ';
        AppendEscapedHtmlText(out.back(), entry.keyword);
        out.back().append(afterKeyword).append("<u");
        for (std::size_t i = 0; i < entry.pages.size(); ++i) {
            const KeywordIndex::Page& page = *entry.pages[i];
            const bool last = i + 1 == entry.pages.size();
            out.push_back(DoubleUnderlinedLink(page.file, PageLabel(page), last ? kParagraphEnd : nextPage));
        }
    }
    out.emplace_back();
}

// "Index", unless a page or the contents page of the run bears that name
// (letter case aside, as help is read on Windows too), or a file the run
// wrote or one of its sources lies at its path: then "Index(2)", "Index(3)",
// ..., as pages are renamed.
std::string IndexPageName(CConversionState& run, const std::string& folder, const std::string& contentsName)
{
    const auto taken = [&](const std::string& name) {
        const std::string lower = MbLowerAscii(name);
        const std::string path = folder + name + ".htm";
        return MbLowerAscii(contentsName) == lower ||
               std::any_of(run.m_saPageFiles.begin(), run.m_saPageFiles.end(),
                           [&](const std::string& file) { return MbLowerAscii(file) == lower; }) ||
               run.WasWritten(path, LookUpPath(path)) || run.SourceLyingAt(path) != nullptr;
    };
    return TakeFreeName("Index", "", [&](const std::string& name, int) { return !taken(name); });
}

}  // namespace

std::vector<Keyword> ParseKeywords(std::string_view text)
{
    std::vector<Keyword> keywords;
    while (true) {
        const std::size_t semicolon = text.find(';');
        Keyword keyword = ParseKeyword(text.substr(0, semicolon));
        if (!keyword.first.empty()) keywords.push_back(std::move(keyword));
        if (semicolon == std::string_view::npos) return keywords;
        text.remove_prefix(semicolon + 1);
    }
}

void KeywordIndex::AddPage(std::string file, std::string title, const std::vector<Keyword>& keywords)
{
    if (keywords.empty()) return;
    const std::size_t page = m_pages.size();
    m_pages.push_back({std::move(file), std::move(title)});
    m_fileOf.push_back(m_files.Add(m_pages.back().file).first);
    for (const Keyword& keyword : keywords) {
        const auto [number, added] = m_keywords.Add(keyword.first);
        if (added) m_levels.emplace_back();
        FirstLevel& level = m_levels[number];
        PageList& pages = keyword.second.empty() ? level.pages : level.seconds[keyword.second];
        if (pages.empty() || pages.back() != page) pages.push_back(page);
    }
}

void KeywordIndex::Reserve(std::size_t pages)
{
    m_pages.reserve(m_pages.size() + pages);
    m_fileOf.reserve(m_fileOf.size() + pages);
    m_files.Reserve(pages);
    m_keywords.Reserve(pages);
    m_levels.reserve(m_levels.size() + pages);
}

std::size_t KeywordIndex::KeywordCount() const
{
    // Every first level stands, with or without pages of its own.
    std::size_t count = 0;
    for (const FirstLevel& level : m_levels) count += level.seconds.size() + 1;
    return count;
}

std::vector<KeywordIndex::Entry> KeywordIndex::Entries() const
{
    // Pages were added from the last to the first: reading order is the
    // reverse. Two pages written to one file are one link: a file is listed
    // once per entry, the stamp telling which entry listed it last.
    std::vector<std::size_t> listedBy(m_files.size(), static_cast<std::size_t>(-1));
    std::size_t entryNumber = 0;
    const auto entry = [&](const std::string& keyword, const PageList& pages) {
        Entry e{keyword, {}, {}};
        ++entryNumber;
        for (auto page = pages.rbegin(); page != pages.rend(); ++page) {
            std::size_t& stamp = listedBy[m_fileOf[*page]];
            if (stamp == entryNumber) continue;
            stamp = entryNumber;
            e.pages.push_back(&m_pages[*page]);
        }
        return e;
    };
    // Keywords, and the second levels under each, in byte order.
    std::vector<std::size_t> firsts(m_keywords.size());
    std::iota(firsts.begin(), firsts.end(), std::size_t{0});
    std::sort(firsts.begin(), firsts.end(),
              [&](std::size_t a, std::size_t b) { return m_keywords[a] < m_keywords[b]; });
    std::vector<Entry> entries;
    entries.reserve(firsts.size());
    for (const std::size_t first : firsts) {
        const FirstLevel& level = m_levels[first];
        entries.push_back(entry(m_keywords[first], level.pages));
        std::vector<const std::pair<const std::string, PageList>*> seconds;
        seconds.reserve(level.seconds.size());
        for (const auto& second : level.seconds) seconds.push_back(&second);
        std::sort(seconds.begin(), seconds.end(), [](const auto* a, const auto* b) { return a->first < b->first; });
        for (const auto* second : seconds) entries.back().subentries.push_back(entry(second->first, second->second));
    }
    return entries;
}

std::vector<Keyword> PageKeywords(const CConversionState& run, const NoteLineIndex& notes, const ManuscriptLines& page)
{
    std::vector<Keyword> keywords;
    for (const LineMark& mark : page.Marks()) {
        if (mark.kind != MarkKind::Keyword) continue;
        std::vector<Keyword> more = ParseKeywords(KeywordNoteText(run, notes, mark.value));
        keywords.insert(keywords.end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
    }
    return keywords;
}

std::string KeywordIndexEntriesText(const KeywordIndex& index, bool htmlHelp)
{
    const std::vector<KeywordIndex::Entry> entries = index.Entries();
    if (htmlHelp) {
        std::string text;
        text.reserve(index.KeywordCount() * 160);
        for (const KeywordIndex::Entry& entry : entries) {
            AppendSitemapKeyword(text, "\t", entry);
            if (entry.subentries.empty()) continue;
            text += "\t<UL>\r\n";
            for (const KeywordIndex::Entry& sub : entry.subentries) AppendSitemapKeyword(text, "\t\t", sub);
            text += "\t</UL>\r\n";
        }
        text += "</UL>\r\n</BODY></HTML>\r\n";
        return text;
    }
    LineList out;
    for (const KeywordIndex::Entry& entry : entries) {
        AppendPageKeyword(out, 1, entry);
        for (const KeywordIndex::Entry& sub : entry.subentries) AppendPageKeyword(out, 2, sub);
    }
    return JoinTextLines(out);
}

void WriteKeywordIndex(CConversionState& run, ConversionPort& port, const std::string& folder,
                       const std::string& contentsName, LineList& listLines, const std::string* entriesText)
{
    const KeywordIndex& index = run.m_keywordIndex;
    if (index.empty()) return;
    const std::string madeHere = entriesText ? std::string() : KeywordIndexEntriesText(index, run.HtmlHelp());
    const std::string& entries = entriesText ? *entriesText : madeHere;

    if (run.HtmlHelp()) {
        OutputFile sitemap{OutputRole::KeywordIndex, folder + "Index.hhk", "hhk", "Index", {}, true};
        LineList head;
        AppendSitemapHead(head);
        head.push_back("<UL>");
        sitemap.text = JoinTextLines(head, entries.size());
        sitemap.text += entries;
        WriteGeneratedFile(run, port, std::move(sitemap));
        return;
    }

    // Homepage-type help: a page like the contents page, which it links back
    // to as every page does, listed with the pages.
    const std::string name = IndexPageName(run, folder, contentsName);
    OutputFile page{OutputRole::IndexPage, folder + name + ".htm", "htm", name, {}, false};
    LineList head;
    AppendHeaderLines(run, head);
    AppendContentsLink(head, contentsName);
    page.text = JoinTextLines(head, entries.size());
    page.text += entries;
    if (!WriteGeneratedFile(run, port, std::move(page))) return;
    listLines.emplace_back();
    listLines.push_back(ListRemark("Keyword index : " + std::to_string(index.KeywordCount()) + " keywords"));
    listLines.push_back(ToCp932("索引 ･･･ ") + name + ".htm");
}

}  // namespace zavio
