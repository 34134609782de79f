// The program's message box. It lays its text out line for line, as the
// original's box did: the box is as wide as the longest line, so a guide
// never wraps in mid-sentence; only a line wider than the screen wraps.
#pragma once

#include <QDialog>

#include "framework/Host.h"

class QDialogButtonBox;
class QLabel;

namespace zavio {

class MessageBoxDialog : public QDialog {
    Q_OBJECT
public:
    // `type` is MB_OK, MB_OKCANCEL, MB_YESNO or MB_YESNOCANCEL.
    MessageBoxDialog(const QString& title, const QString& text, unsigned type, QWidget* parent = nullptr);

    // IDOK, IDCANCEL, IDYES or IDNO, once the box is closed.
    int Answer() const { return m_answer; }
    QLabel* TextLabel() const { return m_text; }
    QDialogButtonBox* Buttons() const { return m_buttons; }

public slots:
    // Escape and the close button: Cancel where there is one, OK in a box
    // with only OK, nothing in a Yes/No box.
    void reject() override;

protected:
    // Y, N and C answer Yes, No and Cancel, as the platform's boxes did.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Finish(int answer);

    unsigned m_type;
    int m_answer = IDCANCEL;
    QLabel* m_text = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
};

}  // namespace zavio
