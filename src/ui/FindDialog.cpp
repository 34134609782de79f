#include "ui/FindDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QTextDocument>

#include "ui/TextEdit.h"

namespace zavio {

FindDialog::FindDialog(ZavioTextEdit& edit, bool replace) : QDialog(edit.window()), m_edit(edit)
{
    setWindowTitle(replace ? QStringLiteral("置換") : QStringLiteral("検索"));
    setAttribute(Qt::WA_DeleteOnClose);
    // The box belongs to its window's text.
    connect(&edit, &QObject::destroyed, this, &QObject::deleteLater);
    auto* form = new QFormLayout(this);
    m_find = new QLineEdit(this);
    form->addRow(QStringLiteral("検索する文字列(&N):"), m_find);
    if (replace) {
        m_replace = new QLineEdit(this);
        form->addRow(QStringLiteral("置換後の文字列(&P):"), m_replace);
    }
    m_matchCase = new QCheckBox(QStringLiteral("大文字と小文字を区別する(&C)"), this);
    form->addRow(m_matchCase);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* next = buttons->addButton(QStringLiteral("次を検索(&F)"), QDialogButtonBox::ActionRole);
    next->setDefault(true);
    connect(next, &QPushButton::clicked, this, [this] { FindNext(); });
    if (replace) {
        connect(buttons->addButton(QStringLiteral("置換して次に(&R)"), QDialogButtonBox::ActionRole),
                &QPushButton::clicked, this, [this] { ReplaceOne(); });
        connect(buttons->addButton(QStringLiteral("すべて置換(&A)"), QDialogButtonBox::ActionRole),
                &QPushButton::clicked, this, [this] { ReplaceAll(); });
    }
    connect(buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole), &QPushButton::clicked, this,
            &QDialog::close);
    form->addRow(buttons);

    // Start with the selected text, as the edit view's boxes do.
    QString selected = edit.textCursor().selectedText();
    if (!selected.isEmpty() && !selected.contains(QChar::ParagraphSeparator)) m_find->setText(selected);
}

bool FindDialog::FindNext()
{
    if (m_find->text().isEmpty()) return false;
    QTextDocument::FindFlags flags;
    if (m_matchCase->isChecked()) flags |= QTextDocument::FindCaseSensitively;
    return m_edit.find(m_find->text(), flags);
}

void FindDialog::ReplaceOne()
{
    QTextCursor cursor = m_edit.textCursor();
    Qt::CaseSensitivity cs = m_matchCase->isChecked() ? Qt::CaseSensitive : Qt::CaseInsensitive;
    if (cursor.hasSelection() && cursor.selectedText().compare(m_find->text(), cs) == 0)
        cursor.insertText(m_replace->text());
    FindNext();
}

int FindDialog::ReplaceAll()
{
    if (m_find->text().isEmpty()) return 0;
    QTextCursor start = m_edit.textCursor();
    start.movePosition(QTextCursor::Start);
    m_edit.setTextCursor(start);
    int count = 0;
    QTextCursor edit = m_edit.textCursor();
    edit.beginEditBlock();  // one undo step for the whole replacement
    while (FindNext()) {
        m_edit.textCursor().insertText(m_replace->text());
        ++count;
    }
    edit.endEditBlock();
    return count;
}

FindDialog* ShowFindDialog(ZavioTextEdit& edit, bool replace)
{
    auto* dialog = new FindDialog(edit, replace);
    dialog->setObjectName(replace ? QStringLiteral("replaceDialog") : QStringLiteral("findDialog"));
    dialog->show();
    dialog->raise();
    return dialog;
}

}  // namespace zavio
