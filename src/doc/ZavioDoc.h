// A document: one open file in its own window. The text lives in the view;
// the document owns the line lists the conversion works on and the names of
// its file. Members are defined in the file of the concept they belong to.
#pragma once

#include <string>
#include <vector>

#include "convert/KeywordIndex.h"
#include "convert/SourceLineBreaks.h"
#include "framework/Cp932.h"
#include "framework/Document.h"
#include "framework/TextFile.h"

namespace zavio {

class CConversionState;
class RoundTripFile;

class CZavioDoc : public CDocument {
public:
    CZavioDoc();
    ~CZavioDoc() override;

    // Framework overrides.
    void Serialize(CArchive& ar) override;
    bool OnNewDocument() override;
    void OnCloseDocument() override;
    bool DoFileSave() override;
    void SetModifiedFlag(bool modified = true) override;
    bool OnCmdMsg(unsigned id, CmdKind kind, CCmdUI* ui) override;

    // Names the document for the file it is or will become: extension (lower
    // case, no dot), base name and path, and the path as its window title.
    void SetFileNames(const std::string& extension, const std::string& baseName, const std::string& path);

    // Text between the view, line lists and files. The lines read from a
    // UTF-8 view come in CP932, as every reader of a document expects.
    bool ReadViewLines(LineList& lines);
    // The encoding of the document's file, which its view shows and saves.
    void SetTextEncoding(TextEncoding encoding);
    bool LoadLinesIntoView(const LineList& lines);
    // The same for lines already joined, each followed by CR LF.
    bool LoadTextIntoView(std::string text);
    bool WriteLinesToFile(const LineList& lines, RoundTripFile& file);
    void WriteTermsText();

    // Saving. The conversion's files skip the flush to the disk: they are
    // made again from their sources.
    bool SaveDocument(bool keepBackup, bool flushToDisk = true);
    bool SaveDocumentAs();
    // Before text is saved in an encoding that cannot hold all of it: asks
    // whether to save (in HTML, with references for what it cannot hold);
    // false when the user cancels.
    bool ConfirmUnencodableCharacters(const std::string& path);
    void OnFileSave();
    void OnFileSaveAs();
    void OnFileClose();
    void OnUpdateFileCommand(CCmdUI& ui);

    // Word HTML clean-up. The header and the notes go into the run's state.
    bool LoadHtmlSource();
    bool SplitOffWordHeader(CConversionState& run);
    void SplitTagsIntoLines();
    void MoveNoteListToApp(CConversionState& run);
    void RemoveFootnoteMarks();
    void KeepKeywordMark(std::size_t line, const std::string& anchorLine);
    void ConvertJumpLinks();
    static void StripBlanks(std::string& s);
    bool IsHiddenLine(int i) const;
    void ClearLine(int i);
    void OpenLinkAt(int i, const std::string& target);
    void CloseLinkAt(int i);

    // Page extraction.
    void AppendHeaderLines(const CConversionState& run);
    void AppendContentsLink(const std::string& contentsName);
    bool TakeLastPage(CZavioDoc* manuscript, std::string& noteReference, std::string& title);
    void FindNoteReference(int pageStart, std::string& noteReference, bool pageBreakStart);
    void TrimPageTail(int pageStart);
    void ReadPageTitle(int pageStart, std::string& title);

    // Integration notes: the note's lines, in the output-line list.
    void ComposeHpTypeNote(std::string folderName, std::string contentsName);
    void ComposeHtmlHelpNote(std::string folderName, const std::string& projectName);

    LineList m_saSourceLines;
    LineList m_saOutputLines;
    // Where the source broke a line beside the output lines' text: made by
    // SplitTagsIntoLines, kept in step by the stages that move output lines,
    // read by ReadPageTitle.
    SourceLineBreaks m_sourceBreaks;
    // The "K" marks RemoveFootnoteMarks took out of the output lines, in
    // line order; TakeLastPage hands a page the marks of its lines, and the
    // page's keywords are read from their notes.
    std::vector<KeywordMark> m_keywordMarks;
    std::string m_strPath;
    std::string m_strBaseName;
    std::string m_strExtension;
    // Set when the file at m_strPath could not be read into the view: the
    // window does not hold that file's text, so saving must never go there.
    bool m_bFileNotRead = false;
    // The encoding of the file's bytes in the view; generated files are CP932.
    TextEncoding m_encoding = TextEncoding::Cp932;
};

}  // namespace zavio
