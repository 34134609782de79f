// Starts the program under the display given and saves a picture of it:
//   zavio_screenshot OUT.png            the main window with the File menu open
//   zavio_screenshot OUT.png about      the about box
//   zavio_screenshot OUT.png guide      the guide 準備-E, the longest
//   zavio_screenshot OUT.png question   the homepage-type conversion's question
#include <QApplication>
#include <QDialog>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>

#include "ScriptedQtHost.h"
#include "res/CommandIds.h"
#include "ui/AboutDialog.h"

int main(int argc, char* argv[])
{
    QApplication qapp(argc, argv);
    if (argc < 2) return 2;
    const QString out = QString::fromLocal8Bit(argv[1]);
    const QString mode = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    zavio::test::GuiFixture fixture;
    if (!fixture.Start()) return 1;
    fixture.Host().m_realDialogs = true;
    QWidget* shown = fixture.Window();
    if (mode == QStringLiteral("about")) {
        QDialog* dialog = zavio::CreateAboutDialog(fixture.Window());
        dialog->show();
        shown = dialog;
    } else if (mode == QStringLiteral("guide") || mode == QStringLiteral("question")) {
        // The box runs its own loop; the picture is taken inside it.
        shown = nullptr;
        const unsigned command = mode == QStringLiteral("guide") ? zavio::ID_PREP_E : zavio::ID_SEPARATE_HP_TYPE;
        QTimer::singleShot(800, [&fixture, command] { fixture.App().ExecuteCommand(command); });
    } else {
        QTimer::singleShot(800, [&] {
            QAction* file = fixture.Window()->menuBar()->actions().value(0);
            fixture.Window()->menuBar()->setActiveAction(file);
        });
    }
    QTimer::singleShot(1800, [&] {
        QWidget* target = shown ? shown : QApplication::activeModalWidget();
        if (target) QApplication::primaryScreen()->grabWindow(0).copy(target->frameGeometry()).save(out);
        if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
        qapp.quit();
    });
    return qapp.exec();
}
