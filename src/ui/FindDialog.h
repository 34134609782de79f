// The edit view's find and replace boxes: modeless, one at a time. What was
// last searched for and the options are shared by every box, as the edit
// view's were, so Replace starts with Find's text.
#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace zavio {

class ZavioTextEdit;

class FindDialog : public QDialog {
    Q_OBJECT
public:
    FindDialog(ZavioTextEdit& edit, bool replace);

    ZavioTextEdit& Edit() const { return m_edit; }
    bool IsReplace() const { return m_replace != nullptr; }

    // Selects the next occurrence in the chosen direction; says so when
    // there is none.
    bool FindNext();
    // Replaces the selected occurrence and finds the next.
    void ReplaceOne();
    // Replaces every occurrence from the start; the number replaced.
    int ReplaceAll();

    QLineEdit* FindField() const { return m_find; }
    QLineEdit* ReplaceField() const { return m_replace; }
    QCheckBox* WholeWord() const { return m_wholeWord; }
    QCheckBox* MatchCase() const { return m_matchCase; }
    QRadioButton* Up() const { return m_up; }

private:
    bool Search(bool backward);
    void Remember();
    void ReportNotFound();

    ZavioTextEdit& m_edit;
    QLineEdit* m_find = nullptr;
    QLineEdit* m_replace = nullptr;
    QCheckBox* m_wholeWord = nullptr;
    QCheckBox* m_matchCase = nullptr;
    QRadioButton* m_up = nullptr;
    QRadioButton* m_down = nullptr;
};

// Shows the find or the replace box of a text window, closing the other
// kind, or raises the one already open.
FindDialog* ShowFindDialog(ZavioTextEdit& edit, bool replace);

}  // namespace zavio
