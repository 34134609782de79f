#include "framework/EditView.h"

#include "framework/Cp932.h"
#include "framework/Document.h"
#include "framework/WinApp.h"
#include "res/CommandIds.h"

namespace zavio {

CEditView::CEditView(CDocument& doc, std::unique_ptr<EditControl> control) : m_doc(doc), m_pControl(std::move(control))
{
}

CEditView::~CEditView() = default;

bool CEditView::SetRawText(std::string bytes)
{
    if (bytes.size() > kEditViewCapacity) {
        AfxMessageBox(ToCp932("ファイルが大きすぎて開けません。"));
        return false;
    }
    m_pControl->SetText(std::move(bytes));
    return true;
}

void CEditView::SerializeRaw(CArchive& ar)
{
    if (ar.IsStoring()) {
        // Bytes the control holds as they are are lent, not copied: a page
        // or a manuscript would be copied whole only to be read once.
        if (const std::string* held = m_pControl->HeldText())
            ar.Lend(*held);
        else
            ar.Store(GetRawText());
    } else if (!SetRawText(std::move(ar.Buffer()))) {  // a loading archive hands its bytes over
        ar.SetFailed();
    }
}

bool CEditView::OnCmdMsg(unsigned id, CmdKind kind, CCmdUI* ui)
{
    static const CommandEntry<CEditView> kCommands[] = {
        {ID_EDIT_UNDO, &CEditView::OnEditUndo, &CEditView::OnUpdateNeedUndo},
        {ID_EDIT_CUT, &CEditView::OnEditCut, &CEditView::OnUpdateNeedSel},
        {ID_EDIT_COPY, &CEditView::OnEditCopy, &CEditView::OnUpdateNeedSel},
        {ID_EDIT_PASTE, &CEditView::OnEditPaste, &CEditView::OnUpdateNeedPaste},
        {ID_EDIT_CLEAR, &CEditView::OnEditClear, &CEditView::OnUpdateNeedSel},
        {ID_EDIT_SELECT_ALL, &CEditView::OnEditSelectAll, nullptr},
        {ID_EDIT_FIND, &CEditView::OnEditFind, nullptr},
        {ID_EDIT_REPLACE, &CEditView::OnEditReplace, nullptr},
        {ID_FILE_PRINT, &CEditView::OnFilePrint, nullptr},
        {ID_FILE_PRINT_DIRECT, &CEditView::OnFilePrint, nullptr},
        {ID_FILE_PRINT_PREVIEW, &CEditView::OnFilePrintPreview, nullptr},
    };
    return DispatchCommand(*this, kCommands, id, kind, ui);
}

}  // namespace zavio
