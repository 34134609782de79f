// The dialog of a long piece of work (a conversion): what it does now, how
// far it is, and a Cancel that asks it to stop where it safely can. It is
// shown without a loop of its own: the work goes on and updates it.
#pragma once

#include <QDialog>
#include <cstddef>

class QLabel;
class QProgressBar;
class QPushButton;

namespace zavio {

class ProgressDialog : public QDialog {
    Q_OBJECT
public:
    ProgressDialog(const QString& title, QWidget* parent);

    // The text's lines, each cut to the dialog's width, and the bar at
    // `done` of `total`.
    void Set(const QString& text, std::size_t done, std::size_t total);
    bool Cancelled() const { return m_cancelled; }
    QLabel* TextLabel() const { return m_text; }
    QProgressBar* Bar() const { return m_bar; }
    QPushButton* CancelButton() const { return m_cancel; }

public slots:
    // Cancel, Escape and the close button: the work stops at its next safe
    // point, and the dialog stays until then.
    void reject() override;

private:
    QLabel* m_text = nullptr;
    QProgressBar* m_bar = nullptr;
    QPushButton* m_cancel = nullptr;
    bool m_cancelled = false;
};

}  // namespace zavio
