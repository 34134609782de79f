// The printer set-up (プリンタの設定): which printer prints, on which paper
// and which way round, as the platform's print set-up offered; the printer's
// own page set-up (margins) one button further.
#pragma once

#include <QDialog>

class QComboBox;
class QPrinter;
class QRadioButton;

namespace zavio {

class PrintSetupDialog : public QDialog {
    Q_OBJECT
public:
    PrintSetupDialog(QPrinter& printer, QWidget* parent = nullptr);

    QComboBox* Printers() const { return m_printers; }
    QComboBox* Papers() const { return m_papers; }
    QRadioButton* Landscape() const { return m_landscape; }

public slots:
    // Makes the choices the printer's.
    void accept() override;

private:
    void Apply();
    void ListPapers();
    void ShowPrinterSettings();

    QPrinter& m_printer;
    QComboBox* m_printers = nullptr;
    QComboBox* m_papers = nullptr;
    QRadioButton* m_portrait = nullptr;
    QRadioButton* m_landscape = nullptr;
};

}  // namespace zavio
