// Page separation: a cleaned manuscript is cut into one file per topic,
// taken from its end, each named after the topic's "#" footnote.
#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "app/ZavioApp.h"
#include "convert/KeywordIndex.h"
#include "convert/NoteLineIndex.h"
#include "convert/PageNames.h"
#include "convert/SourceFiles.h"
#include "doc/FileKinds.h"
#include "doc/ZavioDoc.h"
#include "framework/Cp932.h"
#include "framework/DocTemplate.h"
#include "framework/FileSystem.h"

namespace zavio {
namespace {

// The longest title the page list shows, in bytes.
constexpr std::size_t kListedTitleBytes = 30;

std::string PageFileNameFromNote(const LineList& notes, const NoteLineIndex& index, std::string_view noteReference)
{
    std::string pageName = NoteTextAfterMark(notes, index, noteReference, "#");
    ReplaceUnsafeBytes(pageName);
    return pageName;
}

std::string PageLine(const std::string& title, const std::string& pageName)
{
    std::string shown = title.size() > kListedTitleBytes ? title.substr(0, kListedTitleBytes) : title;
    static const std::string& separator = ToCp932(" ･･･ ");
    return shown + separator + pageName + ".htm";
}

// A page named like a manuscript still at its place in the conversion folder
// would overwrite it before the driver moves it away. That manuscript goes
// into the Finished folder first. False when it could not be kept safe.
bool KeepSourceSafe(CZavioApp& app, CConversionState& run, const CZavioDoc* page, const std::string& finishedFolder)
{
    const std::string& pagePath = page->m_strPath;
    for (const std::string& taken : run.m_saSourcesTakenByPages)
        if (taken == pagePath) return true;  // the file there is already a page
    // Every other open HTML document is a manuscript of this run; the page
    // itself is not one, and a file it replaces is no source.
    for (CDocument* open : app.m_pDocTemplate->GetDocuments()) {
        auto* doc = static_cast<CZavioDoc*>(open);
        if (doc == page || !IsManuscriptExtension(doc->m_strExtension) || doc->m_strPath != pagePath) continue;
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
    LineList titles, files, pageLines;  // this manuscript's pages, last page first
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
        IndexPageKeywords(run, notes, *page, pageName, title);

        page->SetFileNames("htm", pageName, folder + pageName + ".htm");
        page->LoadLinesIntoView(page->m_saOutputLines);
        if (KeepSourceSafe(*this, run, page, finishedFolder)) {
            page->SaveDocument(false);
        } else {
            ReportNotWritten(page->m_strPath);
        }
        page->OnCloseDocument();

        ++pageCount;
        pageLines.push_back(PageLine(title, pageName));
        titles.push_back(std::move(title));
        files.push_back(std::move(pageName));
    } while (more);

    // The pages came from the end; the manuscript's block goes in front of
    // what earlier passes (later manuscripts) listed, once.
    std::reverse(titles.begin(), titles.end());
    std::reverse(files.begin(), files.end());
    run.InsertPagesAtFront(std::move(titles), std::move(files));
    pageLines.push_back("///// Separated from " + manuscript->m_strBaseName + ".htm : " + IntToString(pageCount) +
                        " pages");
    pageLines.emplace_back();
    LineList& list = listDoc->m_saOutputLines;
    list.insert(list.begin(), std::make_move_iterator(pageLines.rbegin()), std::make_move_iterator(pageLines.rend()));
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
