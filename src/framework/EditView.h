// The framework's edit view: the document's whole text as raw CP932 bytes,
// held by the host's edit control, bounded by the edit view's capacity.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "framework/CmdTarget.h"
#include "framework/Host.h"

namespace zavio {

class CDocument;
class CArchive;

class CEditView : public CCmdTarget {
public:
    CEditView(CDocument& doc, std::unique_ptr<EditControl> control);
    ~CEditView() override;

    CDocument& GetDocument() const { return m_doc; }
    EditControl& Control() const { return *m_pControl; }

    std::string GetRawText() const { return m_pControl->GetText(); }
    // Replaces the whole text; over the capacity it shows the framework's
    // message, keeps the old text and returns false.
    bool SetRawText(std::string bytes);
    // The most bytes the text may hold, and the message for more.
    std::size_t Capacity() const { return m_pControl->Capacity(); }
    void ReportTooLarge() const;
    // Storing writes the whole text to the archive; loading replaces it.
    void SerializeRaw(CArchive& ar);

    bool OnCmdMsg(unsigned id, CmdKind kind, CCmdUI* ui) override;

protected:
    // The edit view's standard commands.
    void OnEditUndo() { m_pControl->Undo(); }
    void OnEditCut() { m_pControl->Cut(); }
    void OnEditCopy() { m_pControl->Copy(); }
    void OnEditPaste() { m_pControl->Paste(); }
    void OnEditClear() { m_pControl->Clear(); }
    void OnEditSelectAll() { m_pControl->SelectAll(); }
    void OnEditFind() { m_pControl->Find(); }
    void OnEditReplace() { m_pControl->Replace(); }
    void OnFilePrint() { m_pControl->Print(); }
    void OnFilePrintPreview() { m_pControl->PrintPreview(); }
    void OnUpdateNeedUndo(CCmdUI& ui) { ui.Enable(m_pControl->CanUndo()); }
    void OnUpdateNeedSel(CCmdUI& ui) { ui.Enable(m_pControl->HasSelection()); }
    void OnUpdateNeedPaste(CCmdUI& ui) { ui.Enable(m_pControl->CanPaste()); }

private:
    CDocument& m_doc;
    std::unique_ptr<EditControl> m_pControl;
};

}  // namespace zavio
