// Page separation: a cleaned manuscript is cut into one file per topic,
// taken from its end, each named after the topic's "#" footnote.
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/ZavioApp.h"
#include "convert/PageNames.h"
#include "convert/SourceFiles.h"
#include "doc/FileKinds.h"
#include "doc/ZavioDoc.h"
#include "framework/Cp932.h"
#include "framework/DocTemplate.h"
#include "framework/FileSystem.h"

namespace zavio {
namespace {

// How far after the note reference the topic's "#" footnote text may lie.
constexpr std::size_t kNoteLookAhead = 15;
// The longest title the page list shows, in bytes.
constexpr std::size_t kListedTitleBytes = 30;

// The note lines joined by line feeds, which no line holds, with where each
// line starts: one fast search over the whole block finds the first line that
// holds a reference, where a search line by line for every page of a large
// manuscript costs as much as the rest of its separation.
class NoteLineIndex {
public:
    explicit NoteLineIndex(const LineList& notes) : m_notes(notes)
    {
        std::size_t total = 0;
        for (const std::string& line : notes) total += line.size() + 1;
        m_joined.reserve(total);
        m_starts.reserve(notes.size() + 1);
        for (const std::string& line : notes) {
            m_starts.push_back(m_joined.size());
            m_joined += line;
            m_joined += '\n';
        }
        m_starts.push_back(m_joined.size());
    }

    // The first line holding `what` where one of its characters begins; the
    // line count when none does.
    std::size_t FirstLineWith(std::string_view what) const
    {
        if (what.empty() || what.find('\n') != std::string_view::npos) return Scan(what);
        std::size_t from = 0;
        while (true) {
            // glibc's memmem skips ahead far faster than a search that stops
            // at every byte equal to the reference's first one.
            const void* found = ::memmem(m_joined.data() + from, m_joined.size() - from, what.data(), what.size());
            if (!found) return m_notes.size();
            std::size_t hit = static_cast<std::size_t>(static_cast<const char*>(found) - m_joined.data());
            auto next = std::upper_bound(m_starts.begin(), m_starts.end(), hit);
            std::size_t line = static_cast<std::size_t>(next - m_starts.begin()) - 1;
            if (MbContains(m_notes[line], what)) return line;
            from = m_starts[line + 1];  // no match on a character boundary in this line
        }
    }

private:
    std::size_t Scan(std::string_view what) const
    {
        std::size_t found = 0;
        while (found < m_notes.size() && !MbContains(m_notes[found], what)) ++found;
        return found;
    }

    const LineList& m_notes;
    std::string m_joined;
    std::vector<std::size_t> m_starts;
};

std::string PageFileNameFromNote(const LineList& notes, const NoteLineIndex& index, std::string_view noteReference)
{
    std::size_t found = index.FirstLineWith(noteReference);
    if (found == notes.size()) return std::string();

    // The footnote's lines: tags, the mark "#", more tags, then the topic name.
    std::string pageName;
    bool markSeen = false;
    for (std::size_t i = found + 1; i <= found + kNoteLookAhead && i < notes.size(); ++i) {
        std::string line = Trim(notes[i]);
        if (line.empty() || line == "&nbsp;") continue;
        if (line == "#") {
            markSeen = true;
        } else if (markSeen && line[0] != '<') {
            pageName = line;
            break;
        }
    }
    ReplaceUnsafeBytes(pageName);
    return pageName;
}

std::string PageLine(const std::string& title, const std::string& pageName)
{
    std::string shown = title.size() > kListedTitleBytes ? title.substr(0, kListedTitleBytes) : title;
    return shown + ToCp932(" ･･･ ") + pageName + ".htm";
}

// A page named like a manuscript still at its place in the conversion folder
// would overwrite it before the driver moves it away. That manuscript goes
// into the Finished folder first. False when it could not be kept safe.
bool KeepSourceSafe(CZavioApp& app, CConversionState& run, const std::string& pagePath,
                    const std::string& finishedFolder)
{
    for (const std::string& taken : run.m_saSourcesTakenByPages)
        if (taken == pagePath) return true;  // the file there is already a page
    for (CDocument* open : app.m_pDocTemplate->GetDocuments()) {
        auto* doc = static_cast<CZavioDoc*>(open);
        if (!IsManuscriptExtension(doc->m_strExtension) || doc->m_strPath != pagePath) continue;
        if (FileExists(pagePath)) {
            MoveSourceFile(pagePath, finishedFolder + doc->m_strBaseName + "." + doc->m_strExtension);
            if (FileExists(pagePath)) return false;
        }
        run.m_saSourcesTakenByPages.push_back(pagePath);
        return true;
    }
    return true;
}

}  // namespace

int CZavioApp::SeparatePages(CConversionState& run, std::string contentsName, CZavioDoc* manuscript, CZavioDoc* listDoc,
                             std::string finishedFolder)
{
    const std::string folder = GetFolderOfPath(manuscript->m_strPath);
    const NoteLineIndex notes(run.m_saNoteLines);  // the note lines stay as they are while pages are taken
    int pageCount = 0;
    bool more = true;
    do {
        CZavioDoc* page = NewGeneratedDocument();
        if (!page) break;  // no window for the page: the rest of the manuscript stays unwritten
        page->AppendHeaderLines(run);
        if (run.m_bHtmlHelp == 0) page->AppendContentsLink(contentsName);

        std::string noteReference;
        std::string title;
        more = page->TakeLastPage(manuscript, noteReference, title);
        if (noteReference.empty()) {
            // Not a topic: its lines are dropped.
            page->OnCloseDocument();
            continue;
        }

        std::string pageName = zavio::PageFileNameFromNote(run.m_saNoteLines, notes, noteReference);
        run.InsertPageAtFront(title, pageName);

        page->SetFileNames("htm", pageName, folder + pageName + ".htm");
        page->LoadLinesIntoView(page->m_saOutputLines);
        if (KeepSourceSafe(*this, run, page->m_strPath, finishedFolder)) {
            page->SaveDocument(false);
        } else {
            ReportNotWritten(page->m_strPath);
        }
        page->OnCloseDocument();

        ++pageCount;
        listDoc->m_saOutputLines.insert(listDoc->m_saOutputLines.begin(), PageLine(title, pageName));
    } while (more);

    LineList& list = listDoc->m_saOutputLines;
    list.insert(list.begin(),
                "///// Separated from " + manuscript->m_strBaseName + ".htm : " + IntToString(pageCount) + " pages");
    list.insert(list.begin(), std::string());
    return pageCount;
}

std::string CZavioApp::PageFileNameFromNote(const CConversionState& run, std::string noteReference)
{
    return zavio::PageFileNameFromNote(run.m_saNoteLines, NoteLineIndex(run.m_saNoteLines), noteReference);
}

std::string CZavioApp::IntToString(int value)
{
    return std::to_string(value);
}

}  // namespace zavio
