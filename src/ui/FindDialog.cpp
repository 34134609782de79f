#include "ui/FindDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextCursor>
#include <QTextDocument>

#include "framework/Cp932.h"
#include "framework/WinApp.h"
#include "ui/TextEdit.h"

namespace zavio {
namespace {

// What was last searched for, and how: one for the whole program.
struct FindState {
    QString find;
    QString replace;
    bool wholeWord = false;
    bool matchCase = false;
    bool down = true;
};

FindState& State()
{
    static FindState state;
    return state;
}

}  // namespace

FindDialog::FindDialog(ZavioTextEdit& edit, bool replace) : QDialog(edit.window()), m_edit(edit)
{
    setWindowTitle(replace ? QStringLiteral("置換") : QStringLiteral("検索"));
    setAttribute(Qt::WA_DeleteOnClose);
    // The box belongs to its window's text.
    connect(&edit, &QObject::destroyed, this, &QObject::deleteLater);
    const FindState& state = State();

    auto* form = new QFormLayout;
    m_find = new QLineEdit(state.find, this);
    form->addRow(QStringLiteral("検索する文字列(&N):"), m_find);
    if (replace) {
        m_replace = new QLineEdit(state.replace, this);
        form->addRow(QStringLiteral("置換後の文字列(&P):"), m_replace);
    }
    m_wholeWord = new QCheckBox(QStringLiteral("単語単位で探す(&W)"), this);
    m_wholeWord->setChecked(state.wholeWord);
    m_matchCase = new QCheckBox(QStringLiteral("大文字と小文字を区別する(&C)"), this);
    m_matchCase->setChecked(state.matchCase);
    auto* direction = new QGroupBox(QStringLiteral("検索する方向"), this);
    m_up = new QRadioButton(QStringLiteral("上へ(&U)"), direction);
    m_down = new QRadioButton(QStringLiteral("下へ(&D)"), direction);
    (state.down ? m_down : m_up)->setChecked(true);
    auto* directionLayout = new QHBoxLayout(direction);
    directionLayout->addWidget(m_up);
    directionLayout->addWidget(m_down);
    auto* options = new QHBoxLayout;
    auto* checks = new QVBoxLayout;
    checks->addWidget(m_wholeWord);
    checks->addWidget(m_matchCase);
    options->addLayout(checks);
    options->addWidget(direction);
    form->addRow(options);

    auto* buttons = new QDialogButtonBox(Qt::Vertical, this);
    // The buttons that search need something to search for.
    std::vector<QPushButton*> searching;
    const auto addSearch = [&](const QString& caption, auto action) {
        QPushButton* button = buttons->addButton(caption, QDialogButtonBox::ActionRole);
        connect(button, &QPushButton::clicked, this, action);
        searching.push_back(button);
        return button;
    };
    addSearch(QStringLiteral("次を検索(&F)"), [this] { FindNext(); })->setDefault(true);
    if (replace) {
        addSearch(QStringLiteral("置換して次に(&R)"), [this] { ReplaceOne(); });
        addSearch(QStringLiteral("すべて置換(&A)"), [this] { ReplaceAll(); });
    }
    connect(buttons->addButton(QDialogButtonBox::Cancel), &QPushButton::clicked, this, &QDialog::close);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);

    // Start with the selected text, as the edit view's boxes do.
    QString selected = edit.textCursor().selectedText();
    if (!selected.isEmpty() && !selected.contains(QChar::ParagraphSeparator)) m_find->setText(selected);
    m_find->selectAll();
    const auto enable = [this, searching] {
        for (QPushButton* button : searching) button->setEnabled(!m_find->text().isEmpty());
    };
    connect(m_find, &QLineEdit::textChanged, this, enable);
    enable();
}

void FindDialog::Remember()
{
    FindState& state = State();
    state.find = m_find->text();
    if (m_replace) state.replace = m_replace->text();
    state.wholeWord = m_wholeWord->isChecked();
    state.matchCase = m_matchCase->isChecked();
    state.down = m_down->isChecked();
}

bool FindDialog::Search(bool backward)
{
    if (m_find->text().isEmpty()) return false;
    QTextDocument::FindFlags flags;
    if (m_matchCase->isChecked()) flags |= QTextDocument::FindCaseSensitively;
    if (m_wholeWord->isChecked()) flags |= QTextDocument::FindWholeWords;
    if (backward) flags |= QTextDocument::FindBackward;
    return m_edit.find(m_find->text(), flags);
}

void FindDialog::ReportNotFound()
{
    AfxMessageBox(EncodeCp932Lossless((u'"' + m_find->text() + QStringLiteral("\" が見つかりません。")).toStdString()));
}

bool FindDialog::FindNext()
{
    Remember();
    if (Search(m_up->isChecked())) return true;
    ReportNotFound();
    return false;
}

void FindDialog::ReplaceOne()
{
    Remember();
    QTextCursor cursor = m_edit.textCursor();
    Qt::CaseSensitivity cs = m_matchCase->isChecked() ? Qt::CaseSensitive : Qt::CaseInsensitive;
    if (cursor.hasSelection() && cursor.selectedText().compare(m_find->text(), cs) == 0) {
        if (!m_edit.Control().AllowsInsert(cursor, m_replace->text())) {
            QApplication::beep();
            return;
        }
        cursor.insertText(m_replace->text());
    }
    FindNext();
}

int FindDialog::ReplaceAll()
{
    Remember();
    if (m_find->text().isEmpty()) return 0;
    m_edit.moveCursor(QTextCursor::Start);
    int count = 0;
    QTextCursor block = m_edit.textCursor();
    block.beginEditBlock();  // one undo step for the whole replacement
    while (Search(false)) {
        QTextCursor found = m_edit.textCursor();
        if (!m_edit.Control().AllowsInsert(found, m_replace->text())) {
            QApplication::beep();
            break;
        }
        found.insertText(m_replace->text());
        ++count;
    }
    block.endEditBlock();
    if (count == 0) ReportNotFound();
    return count;
}

FindDialog* ShowFindDialog(ZavioTextEdit& edit, bool replace)
{
    for (FindDialog* open : edit.window()->findChildren<FindDialog*>()) {
        if (&open->Edit() == &edit && open->IsReplace() == replace && open->isVisible()) {
            open->raise();
            open->activateWindow();
            return open;
        }
        open->close();
    }
    auto* dialog = new FindDialog(edit, replace);
    dialog->setObjectName(replace ? QStringLiteral("replaceDialog") : QStringLiteral("findDialog"));
    dialog->show();
    dialog->raise();
    return dialog;
}

}  // namespace zavio
