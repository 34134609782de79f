// The edit view's find and replace boxes: modeless, one per text window.
#pragma once

#include <QDialog>

class QLineEdit;
class QCheckBox;

namespace zavio {

class ZavioTextEdit;

class FindDialog : public QDialog {
    Q_OBJECT
public:
    FindDialog(ZavioTextEdit& edit, bool replace);

    bool FindNext();
    void ReplaceOne();
    int ReplaceAll();

    QLineEdit* FindField() const { return m_find; }
    QLineEdit* ReplaceField() const { return m_replace; }

private:
    ZavioTextEdit& m_edit;
    QLineEdit* m_find = nullptr;
    QLineEdit* m_replace = nullptr;
    QCheckBox* m_matchCase = nullptr;
};

// Shows (or raises) the find or the replace box of a text window.
FindDialog* ShowFindDialog(ZavioTextEdit& edit, bool replace);

}  // namespace zavio
