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
    if (bytes.size() > Capacity()) {
        ReportTooLarge();
        return false;
    }
    m_pControl->SetText(std::move(bytes));
    return true;
}

// The framework's message; a window that holds more than the platform's edit
// control did says how much, as the guides still speak of about 1000 KB.
void CEditView::ReportTooLarge() const
{
    std::string text = ToCp932("ファイルが大きすぎて開けません。");
    if (Capacity() > kEditViewCapacity) {
        constexpr std::size_t kMegabyte = 1024 * 1024;
        text += ToCp932("\n\n開けるファイルは ") + std::to_string(Capacity() / kMegabyte) + ToCp932(" MB までです。");
    }
    AfxMessageBox(text);
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
