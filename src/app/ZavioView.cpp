#include "app/ZavioView.h"

#include "app/ZavioApp.h"
#include "res/CommandIds.h"

namespace zavio {

bool CZavioView::OnCmdMsg(unsigned id, CmdKind kind, CCmdUI* ui)
{
    // Update requests fall through to the edit view's own rules.
    static const CommandEntry<CZavioView> kCommands[] = {
        {ID_FILE_PRINT, &CZavioView::OnFilePrint, nullptr},
        {ID_FILE_PRINT_PREVIEW, &CZavioView::OnFilePrintPreview, nullptr},
        {ID_EDIT_UNDO, &CZavioView::OnEditUndo, nullptr},
        {ID_EDIT_CUT, &CZavioView::OnEditCut, nullptr},
        {ID_EDIT_COPY, &CZavioView::OnEditCopy, nullptr},
        {ID_EDIT_PASTE, &CZavioView::OnEditPaste, nullptr},
    };
    return DispatchCommand(*this, kCommands, id, kind, ui) || CEditView::OnCmdMsg(id, kind, ui);
}

void CZavioView::OnLButtonUp()
{
    ZavioApp().m_nHelpMode = 0;
}

void CZavioView::OnFilePrint()
{
    if (ZavioApp().TakeHelpMode("HID_FILE_PRINT.htm")) return;
    CEditView::OnFilePrint();
}

void CZavioView::OnFilePrintPreview()
{
    if (ZavioApp().TakeHelpMode("HID_FILE_PRINT_PREVIEW.htm")) return;
    CEditView::OnFilePrintPreview();
}

void CZavioView::OnEditUndo()
{
    if (ZavioApp().TakeHelpMode("HID_EDIT_UNDO.htm")) return;
    CEditView::OnEditUndo();
}

void CZavioView::OnEditCut()
{
    if (ZavioApp().TakeHelpMode("HID_EDIT_CUT.htm")) return;
    CEditView::OnEditCut();
}

void CZavioView::OnEditCopy()
{
    if (ZavioApp().TakeHelpMode("HID_EDIT_COPY.htm")) return;
    CEditView::OnEditCopy();
}

void CZavioView::OnEditPaste()
{
    if (ZavioApp().TakeHelpMode("HID_EDIT_PASTE.htm")) return;
    CEditView::OnEditPaste();
}

}  // namespace zavio
