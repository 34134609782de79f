#include "ui/PrintSetupDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zavio {
namespace {

// The printers' entry that writes a PDF file instead (no printer name).
const QString kPdf;

// Paper for the PDF file, or for a printer that names none.
QList<QPageSize> CommonPapers()
{
    QList<QPageSize> papers;
    for (QPageSize::PageSizeId id : {QPageSize::A3, QPageSize::A4, QPageSize::A5, QPageSize::JisB4, QPageSize::JisB5,
                                     QPageSize::Letter, QPageSize::Legal})
        papers << QPageSize(id);
    return papers;
}

}  // namespace

PrintSetupDialog::PrintSetupDialog(QPrinter& printer, QWidget* parent) : QDialog(parent), m_printer(printer)
{
    setObjectName(QStringLiteral("printSetup"));
    setWindowTitle(QStringLiteral("プリンタの設定"));

    m_printers = new QComboBox(this);
    for (const QPrinterInfo& info : QPrinterInfo::availablePrinters())
        m_printers->addItem(info.description().isEmpty() ? info.printerName() : info.description(), info.printerName());
    m_printers->addItem(QStringLiteral("PDF ファイルに出力"), kPdf);
    const QString current = printer.outputFormat() == QPrinter::PdfFormat ? kPdf
                            : printer.printerName().isEmpty()             ? QPrinterInfo::defaultPrinterName()
                                                                          : printer.printerName();
    m_printers->setCurrentIndex(qMax(0, m_printers->findData(current)));
    auto* settings = new QPushButton(QStringLiteral("ページ設定(&P)..."), this);
    auto* printerBox = new QGroupBox(QStringLiteral("プリンタ"), this);
    auto* printerForm = new QFormLayout(printerBox);
    auto* printerRow = new QHBoxLayout;
    printerRow->addWidget(m_printers, 1);
    printerRow->addWidget(settings);
    printerForm->addRow(QStringLiteral("プリンタ名(&N):"), printerRow);

    m_papers = new QComboBox(this);
    auto* paperBox = new QGroupBox(QStringLiteral("用紙"), this);
    auto* paperForm = new QFormLayout(paperBox);
    paperForm->addRow(QStringLiteral("サイズ(&Z):"), m_papers);

    auto* orientationBox = new QGroupBox(QStringLiteral("印刷の向き"), this);
    m_portrait = new QRadioButton(QStringLiteral("縦(&O)"), orientationBox);
    m_landscape = new QRadioButton(QStringLiteral("横(&A)"), orientationBox);
    (printer.pageLayout().orientation() == QPageLayout::Landscape ? m_landscape : m_portrait)->setChecked(true);
    auto* orientationLayout = new QVBoxLayout(orientationBox);
    orientationLayout->addWidget(m_portrait);
    orientationLayout->addWidget(m_landscape);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &PrintSetupDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* lower = new QHBoxLayout;
    lower->addWidget(paperBox, 1);
    lower->addWidget(orientationBox);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(printerBox);
    layout->addLayout(lower);
    layout->addWidget(buttons);

    ListPapers();
    connect(m_printers, &QComboBox::currentIndexChanged, this, [this] { ListPapers(); });
    connect(settings, &QPushButton::clicked, this, [this] { ShowPrinterSettings(); });
}

// The papers the chosen printer takes, the current one kept where it can be.
void PrintSetupDialog::ListPapers()
{
    const QPageSize current =
        m_papers->count() > 0 ? m_papers->currentData().value<QPageSize>() : m_printer.pageLayout().pageSize();
    const QString name = m_printers->currentData().toString();
    QList<QPageSize> papers =
        name.isEmpty() ? QList<QPageSize>() : QPrinterInfo::printerInfo(name).supportedPageSizes();
    if (papers.isEmpty()) papers = CommonPapers();
    m_papers->clear();
    for (const QPageSize& paper : papers) m_papers->addItem(paper.name(), QVariant::fromValue(paper));
    int index = 0;
    for (int i = 0; i < m_papers->count(); ++i)
        if (m_papers->itemData(i).value<QPageSize>().isEquivalentTo(current)) index = i;
    m_papers->setCurrentIndex(index);
}

void PrintSetupDialog::Apply()
{
    const QString name = m_printers->currentData().toString();
    if (name.isEmpty()) {
        m_printer.setOutputFormat(QPrinter::PdfFormat);
    } else {
        m_printer.setOutputFormat(QPrinter::NativeFormat);
        m_printer.setPrinterName(name);
    }
    m_printer.setPageSize(m_papers->currentData().value<QPageSize>());
    m_printer.setPageOrientation(m_landscape->isChecked() ? QPageLayout::Landscape : QPageLayout::Portrait);
}

// Margins and the printer's own options, on the choices made so far.
void PrintSetupDialog::ShowPrinterSettings()
{
    Apply();
    QPageSetupDialog settings(&m_printer, this);
    if (settings.exec() != QDialog::Accepted) return;
    (m_printer.pageLayout().orientation() == QPageLayout::Landscape ? m_landscape : m_portrait)->setChecked(true);
    m_papers->clear();  // listed again around the printer's paper
    ListPapers();
}

void PrintSetupDialog::accept()
{
    Apply();
    QDialog::accept();
}

}  // namespace zavio
