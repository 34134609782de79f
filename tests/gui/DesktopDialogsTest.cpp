// The desktop's own dialogs as the user meets them: Japanese standard
// buttons and menus, message boxes that keep their lines whole, the real
// file dialog's set-up.
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "ScriptedQtHost.h"
#include "framework/Cp932.h"
#include "res/CommandIds.h"
#include "ui/MessageBox.h"
#include "ui/PrintSetupDialog.h"
#include "ui/TextEdit.h"

using namespace zavio;
using zavio::test::GuiFixture;

namespace {

// Runs `act` once a modal window of type T shows (the program is then inside
// that window's own event loop).
template <class T, class Act>
void WhenModalShows(Act act)
{
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        auto* window = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!window) return;
        timer->stop();
        timer->deleteLater();
        act(window);
    });
    timer->start();
}

// The texts of a box's buttons from left to right.
QStringList ButtonTexts(QDialogButtonBox* box)
{
    QList<QAbstractButton*> buttons = box->buttons();
    std::sort(buttons.begin(), buttons.end(), [](auto* a, auto* b) { return a->x() < b->x(); });
    QStringList texts;
    for (QAbstractButton* button : buttons) texts << button->text();
    return texts;
}

}  // namespace

class DesktopDialogsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<GuiFixture> f;

    void StartShown()
    {
        QVERIFY(f->Start());
        QVERIFY(QTest::qWaitForWindowExposed(f->Window()));
        f->Host().m_realDialogs = true;
    }

private slots:
    void init() { f = std::make_unique<GuiFixture>(); }
    void cleanup() { f.reset(); }

    // The header question tells the user to choose "[ いいえ ]": the button
    // says so, whatever the desktop's language.
    void standardButtonsAndMenusAreJapanese()
    {
        StartShown();
        QStringList buttons;
        QString title;
        WhenModalShows<MessageBoxDialog>([&](MessageBoxDialog* box) {
            buttons = ButtonTexts(box->Buttons());
            title = box->windowTitle();
            box->Buttons()->button(QDialogButtonBox::Cancel)->click();
        });
        f->MenuAction(ID_SEPARATE_HP_TYPE)->trigger();
        QCOMPARE(title, QString("Zavio"));
        QCOMPARE(buttons, QStringList({"はい(&Y)", "いいえ(&N)", "キャンセル"}));

        std::unique_ptr<QMenu> context(f->Window()->ActiveEdit()->createStandardContextMenu());
        QVERIFY2(context->actions().first()->text().startsWith("元に戻す"),
                 qPrintable(context->actions().first()->text()));
        QStringList system;
        for (QAction* action : f->Window()->Mdi()->currentSubWindow()->systemMenu()->actions())
            system << action->text();
        QVERIFY2(system.contains("閉じる(&C)"), qPrintable(system.join(", ")));
    }

    // A guide is one box whose lines stand as written: the box is as wide as
    // its longest line, and nothing wraps.
    void guideBoxesKeepEveryLineWhole()
    {
        StartShown();
        for (unsigned id : {ID_PREP_A, ID_PREP_B, ID_PREP_C, ID_PREP_D, ID_PREP_E}) {
            QString problem = "no box";
            WhenModalShows<MessageBoxDialog>([&](MessageBoxDialog* box) {
                const QLabel* label = box->TextLabel();
                int widest = 0;
                for (const QString& line : label->text().split(u'\n'))
                    widest = qMax(widest, label->fontMetrics().horizontalAdvance(line));
                problem.clear();
                if (label->wordWrap()) problem = "the text wraps";
                if (label->contentsRect().width() < widest) problem = "a line is cut";
                if (box->frameGeometry().width() > box->screen()->availableGeometry().width())
                    problem = "the box is wider than the screen";
                if (box->frameGeometry().height() > box->screen()->availableGeometry().height())
                    problem = "the box is taller than the screen";
                box->Buttons()->button(QDialogButtonBox::Ok)->click();
            });
            f->MenuAction(id)->trigger();
            QVERIFY2(problem.isEmpty(), qPrintable(QString::number(id) + ": " + problem));
        }
    }

    // Save As in the real dialog: the captions as written, "すべてのﾌｧｲﾙ (*.*)"
    // lists files without an extension too, and a name typed without an
    // extension takes the selected filter's.
    void saveAsDialogFollowsItsFilterList()
    {
        StartShown();
        for (const char* name : {"README", "old.txt"}) {
            QFile file(f->Folder() + name);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QStringList captions;
        QFileDialog::AcceptMode mode = QFileDialog::AcceptOpen;
        QString suffixOfAllFiles, suffixOfText;
        bool listsReadme = false;
        WhenModalShows<QFileDialog>([&](QFileDialog* dialog) {
            auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
            for (int i = 0; i < types->count(); ++i) captions << types->itemText(i);
            mode = dialog->acceptMode();
            auto* model = dialog->findChild<QFileSystemModel*>();
            const QString readme = f->Folder() + "README";
            // A user picks the last entry, then the first again, with the keys.
            QTest::keyClick(types, Qt::Key_End);
            suffixOfAllFiles = dialog->defaultSuffix();
            listsReadme = QTest::qWaitFor([&] { return model->index(readme).isValid(); });
            QTest::keyClick(types, Qt::Key_Home);
            suffixOfText = dialog->defaultSuffix();
            QTest::keyClicks(dialog->findChild<QLineEdit*>("fileNameEdit"), "report");
            dialog->findChild<QDialogButtonBox*>("buttonBox")->button(QDialogButtonBox::Save)->click();
        });
        f->MenuAction(ID_FILE_SAVE_AS)->trigger();
        QCOMPARE(captions,
                 QStringList({"txtﾌｧｲﾙ (*.txt)", "htmlﾌｧｲﾙ (*.htm;*.html)", "cntﾌｧｲﾙ (*.cnt)", "すべてのﾌｧｲﾙ (*.*)"}));
        QCOMPARE(mode, QFileDialog::AcceptSave);
        QVERIFY(listsReadme);
        QCOMPARE(suffixOfAllFiles, QString());
        QCOMPARE(suffixOfText, QString("txt"));
        QVERIFY(QFile::exists(f->Folder() + "report.txt"));
        QVERIFY(f->Host().m_messages.empty());  // no question about the extension
    }

    // Y, N and C answer a question box, as on the original platform.
    void questionBoxesAnswerToTheirLetters()
    {
        StartShown();
        const struct {
            Qt::Key key;
            unsigned type;
            int answer;
        } cases[] = {{Qt::Key_Y, MB_YESNOCANCEL, IDYES},
                     {Qt::Key_N, MB_YESNO, IDNO},
                     {Qt::Key_C, MB_YESNOCANCEL, IDCANCEL},
                     {Qt::Key_C, MB_OKCANCEL, IDCANCEL}};
        for (const auto& c : cases) {
            WhenModalShows<MessageBoxDialog>([key = c.key](MessageBoxDialog* box) {
                QTest::keyClick(box, key);
                if (box->isVisible()) box->done(QDialog::Rejected);  // the letter did nothing
            });
            QCOMPARE(f->Host().RunDesktopMessageBox("?", c.type), c.answer);
        }
    }

    // A placement saved on a larger screen, or at a smaller scale, comes
    // back onto this screen; the file dialogs fit it too (the test runs at a
    // scale of 2 as well).
    void windowAndDialogsFitTheScreen()
    {
        f->SetSetting("Settings/WindowPos", "0,1,-1,-1,-1,-1,300,200,2700,1700");
        StartShown();
        const QRect screen = f->Window()->screen()->availableGeometry();
        const auto where = [](const QRect& r) {
            return QString("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
        };
        QVERIFY2(screen.contains(f->Window()->frameGeometry()), qPrintable(where(f->Window()->frameGeometry())));
        for (unsigned command : {ID_FILE_OPEN, ID_FILE_SAVE_AS}) {
            QRect dialog;
            WhenModalShows<QFileDialog>([&](QFileDialog* shown) {
                dialog = shown->frameGeometry();
                shown->reject();
            });
            f->MenuAction(command)->trigger();
            QVERIFY2(screen.contains(dialog), qPrintable(where(dialog) + " on " + where(screen)));
        }
    }

    // The print set-up chooses the printer too, not only the page.
    void printSetupChoosesPrinterPaperAndOrientation()
    {
        QPrinter printer(QPrinter::HighResolution);
        PrintSetupDialog setup(printer);
        QStringList printers;
        for (int i = 0; i < setup.Printers()->count(); ++i) printers << setup.Printers()->itemText(i);
        QCOMPARE(printers.size(), QPrinterInfo::availablePrinterNames().size() + 1);
        QCOMPARE(printers.last(), QString("PDF ファイルに出力"));
        setup.Printers()->setCurrentIndex(printers.size() - 1);
        setup.Papers()->setCurrentIndex(setup.Papers()->findText(QPageSize(QPageSize::A5).name()));
        setup.Landscape()->setChecked(true);
        setup.accept();
        QCOMPARE(printer.outputFormat(), QPrinter::PdfFormat);
        QCOMPARE(printer.pageLayout().pageSize().id(), QPageSize::A5);
        QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Landscape);
        // Opened again, it shows what was chosen.
        PrintSetupDialog again(printer);
        QCOMPARE(again.Printers()->currentIndex(), printers.size() - 1);
        QCOMPARE(again.Papers()->currentText(), QPageSize(QPageSize::A5).name());
        QVERIFY(again.Landscape()->isChecked());
    }
};

QTEST_MAIN(DesktopDialogsTest)
#include "DesktopDialogsTest.moc"
