#include "ui/MessageBox.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include "framework/Host.h"

namespace zavio {

MessageBoxDialog::MessageBoxDialog(const QString& title, const QString& text, unsigned type, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::MSWindowsFixedSizeDialogHint),
      m_type(type)
{
    setObjectName(QStringLiteral("messageBox"));
    setWindowTitle(title);
    setModal(true);

    // The framework's icons: the exclamation mark unless the box asks a
    // Yes/No question.
    const bool question = type == MB_YESNO || type == MB_YESNOCANCEL;
    const int iconSize = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("icon"));
    icon->setPixmap(
        style()
            ->standardIcon(question ? QStyle::SP_MessageBoxQuestion : QStyle::SP_MessageBoxWarning, nullptr, this)
            .pixmap(iconSize, iconSize));
    icon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    // Messages carry file names: one that looks like markup must show as typed.
    m_text = new QLabel(this);
    m_text->setObjectName(QStringLiteral("text"));
    m_text->setTextFormat(Qt::PlainText);
    m_text->setText(text);
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_text->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    m_buttons = new QDialogButtonBox(this);
    m_buttons->setCenterButtons(true);
    struct Choice {
        QDialogButtonBox::StandardButton button;
        int answer;
    };
    std::vector<Choice> choices;
    if (type == MB_YESNO || type == MB_YESNOCANCEL)
        choices = {{QDialogButtonBox::Yes, IDYES}, {QDialogButtonBox::No, IDNO}};
    else
        choices = {{QDialogButtonBox::Ok, IDOK}};
    if (type == MB_OKCANCEL || type == MB_YESNOCANCEL) choices.push_back({QDialogButtonBox::Cancel, IDCANCEL});
    for (std::size_t i = 0; i < choices.size(); ++i) {
        QPushButton* button = m_buttons->addButton(choices[i].button);
        // The first button is the default, as on the original platform.
        button->setDefault(i == 0);
        button->setAutoDefault(true);
        const int answer = choices[i].answer;
        connect(button, &QPushButton::clicked, this, [this, answer] { Finish(answer); });
    }
    if (type == MB_YESNO) setWindowFlag(Qt::WindowCloseButtonHint, false);

    auto* layout = new QGridLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->setHorizontalSpacing(2 * layout->horizontalSpacing() + iconSize / 4);
    layout->addWidget(icon, 0, 0, Qt::AlignTop);
    layout->addWidget(m_text, 0, 1);
    layout->addWidget(m_buttons, 1, 0, 1, 2);

    // The label is as wide as the advance of its longest line (its own
    // measure, the ink's, can be a few pixels short). Wider than the screen
    // is the one case where a line wraps.
    m_text->ensurePolished();
    int widest = 0;
    for (const QString& line : text.split(u'\n')) widest = qMax(widest, m_text->fontMetrics().horizontalAdvance(line));
    const QScreen* screen = parent ? parent->screen() : this->screen();
    const QMargins margins = layout->contentsMargins();
    const int frame = 2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    const int room = screen ? screen->availableGeometry().width() - margins.left() - margins.right() - iconSize -
                                  layout->horizontalSpacing() - frame
                            : 0;
    if (room > 0 && widest > room) {
        m_text->setWordWrap(true);
        m_text->setFixedWidth(room);
    } else {
        m_text->setMinimumWidth(widest);
    }
}

void MessageBoxDialog::reject()
{
    if (m_type == MB_OKCANCEL || m_type == MB_YESNOCANCEL)
        Finish(IDCANCEL);
    else if (m_type == MB_OK)
        Finish(IDOK);
}

void MessageBoxDialog::keyPressEvent(QKeyEvent* event)
{
    const bool yesNo = m_type == MB_YESNO || m_type == MB_YESNOCANCEL;
    const bool cancel = m_type == MB_OKCANCEL || m_type == MB_YESNOCANCEL;
    const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier));
    if (plain && yesNo && event->key() == Qt::Key_Y) return Finish(IDYES);
    if (plain && yesNo && event->key() == Qt::Key_N) return Finish(IDNO);
    if (plain && cancel && event->key() == Qt::Key_C) return Finish(IDCANCEL);
    QDialog::keyPressEvent(event);
}

void MessageBoxDialog::Finish(int answer)
{
    m_answer = answer;
    done(answer == IDCANCEL ? QDialog::Rejected : QDialog::Accepted);
}

}  // namespace zavio
