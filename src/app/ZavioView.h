// The view of every document: the edit view with word wrap, whose print,
// preview, undo, cut, copy and paste commands follow the help-mode.
#pragma once

#include "framework/EditView.h"

namespace zavio {

class CZavioView : public CEditView {
public:
    using CEditView::CEditView;

    bool OnCmdMsg(unsigned id, CmdKind kind, CCmdUI* ui) override;
    // A left click in the text ends help-mode; the click acts as usual.
    void OnLButtonUp();

    void OnFilePrint();
    void OnFilePrintPreview();
    void OnEditUndo();
    void OnEditCut();
    void OnEditCopy();
    void OnEditPaste();
};

}  // namespace zavio
