// A document: one open file in its own window. The text lives in the view;
// the document owns the line lists the conversion works on and the names of
// its file. Members are defined in the file of the concept they belong to.
#pragma once

#include <string>
#include <vector>

#include "framework/Cp932.h"
#include "framework/Document.h"
#include "framework/FileEncoding.h"
#include "framework/TextFile.h"

namespace zavio {

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
    // The view's text as it holds it (CR LF between lines, a UTF-8 file's
    // own bytes); false, said, when there is no memory for it.
    bool ReadViewText(std::string& text);
    // The encoding of the document's file, which its view shows and saves.
    void SetTextEncoding(TextEncoding encoding);
    void SetFileEncoding(FileEncoding encoding);
    bool LoadLinesIntoView(const LineList& lines);
    // The same for lines already joined, each followed by CR LF.
    bool LoadTextIntoView(std::string text);
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

    // The lines the terms text's window was filled with.
    LineList m_saOutputLines;
    std::string m_strPath;
    std::string m_strBaseName;
    std::string m_strExtension;
    // Set when the file at m_strPath could not be read into the view: the
    // window does not hold that file's text, so saving must never go there.
    bool m_bFileNotRead = false;
    // The encoding of the file's bytes in the view; generated files are CP932.
    TextEncoding m_encoding = TextEncoding::Cp932;
    // Written by a conversion: a later conversion takes no source from it.
    bool m_bGenerated = false;
    // The file's own encoding on the disk; a UTF-16 file's view holds UTF-8.
    FileEncoding m_fileEncoding = FileEncoding::Cp932;

protected:
    std::string_view FileBytes(std::string_view held, std::string& converted) const override;
};

}  // namespace zavio
