#include "ui/ProgressDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>

namespace zavio {
namespace {

// Wide enough for a page name and a folder; the dialog keeps this width
// whatever it says, so it does not jump as the names change.
constexpr int kTextWidthInCharacters = 48;

}  // namespace

ProgressDialog::ProgressDialog(const QString& title, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("progressDialog"));
    setWindowTitle(title);
    // While it shows, it alone takes the user's input: no command can start
    // inside the work.
    setWindowModality(Qt::ApplicationModal);
    m_text = new QLabel(this);
    m_text->setFixedWidth(m_text->fontMetrics().averageCharWidth() * kTextWidthInCharacters);
    m_text->setTextFormat(Qt::PlainText);
    m_bar = new QProgressBar(this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    m_cancel = buttons->button(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::rejected, this, &ProgressDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addWidget(m_bar);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void ProgressDialog::Set(const QString& text, std::size_t done, std::size_t total)
{
    QStringList lines = text.split(u'\n');
    for (QString& line : lines) line = m_text->fontMetrics().elidedText(line, Qt::ElideMiddle, m_text->width());
    m_text->setText(lines.join(u'\n'));
    constexpr std::size_t kMost = std::numeric_limits<int>::max();
    m_bar->setRange(0, static_cast<int>(std::min(total, kMost)));
    m_bar->setValue(static_cast<int>(std::min(done, kMost)));
}

void ProgressDialog::reject()
{
    m_cancelled = true;
    m_cancel->setEnabled(false);
}

}  // namespace zavio
