// What one conversion run carries from stage to stage, from its command to its
// last file. The application makes it fresh when a conversion command starts
// and hands it to every stage that reads or writes it; the stages keep no
// state of their own between calls.
#pragma once

#include <string>

#include "convert/KeywordIndex.h"
#include "convert/PageIndex.h"
#include "convert/SourceLineBreaks.h"
#include "framework/TextFile.h"

namespace zavio {

class CConversionState {
public:
    CConversionState() = default;
    explicit CConversionState(int htmlHelp) : m_bHtmlHelp(htmlHelp) {}

    // Set aside the previous manuscript's header and notes before the next one.
    void BeginManuscript();

    // The pages written from one manuscript, in reading order. Manuscripts are
    // taken from the last to the first, so each block goes in front and the
    // lists end in reading order.
    void InsertPagesAtFront(LineList titles, LineList files);

    // Indexes the page lists for FindPageForTitle. The driver does it once the
    // last page is separated; the index answers for the lists as they were then.
    void IndexPages();
    PageIndex& Pages() { return m_pageIndex; }

    // The kind: 1 HTML Help, 0 HP type Help. Set by the command; read by the
    // question, the driver, the page separation and the integration note.
    int m_bHtmlHelp = 0;
    // 1 leaves Word's style header as it is. Set by ConfirmConversion; read
    // by the driver.
    int m_bKeepHeader = 0;

    // The manuscript in hand: the lines above its body (SplitOffWordHeader;
    // shortened by SimplifyHeader; copied into every page and the contents
    // page) and its footnote and endnote block (MoveNoteListToApp; searched
    // for topic names by SeparatePages). Emptied by BeginManuscript.
    LineList m_saHeaderLines;
    LineList m_saNoteLines;
    // Where the source broke a line between the note lines (MoveNoteListToApp),
    // so that a note's text reads with its blanks. Emptied by BeginManuscript.
    SourceLineBreaks m_noteBreaks;

    // One title and one file base name per page written, in reading order
    // (InsertPagesAtFront, from SeparatePages); the writers list them and match
    // contents entries against them through the page index.
    LineList m_saPageTitles;
    LineList m_saPageFiles;

    // The keywords of every page written (IndexPageKeywords, from
    // SeparatePages); the index writer makes the run's index of them.
    KeywordIndex m_keywordIndex;

    // Paths of this run's manuscripts that a page of the same name replaced:
    // each was moved into Finished before that page was written, so the
    // driver must not move the page in its place.
    LineList m_saSourcesTakenByPages;

    // The HTML Help project name: written by WriteHtmlHelpProject, read by the
    // HTML Help integration note.
    std::string m_strProjectName;

    // Set when the driver reached its last step.
    bool m_bConversionFinished = false;

private:
    PageIndex m_pageIndex;
};

}  // namespace zavio
