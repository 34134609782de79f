// Starts the program under the display given and saves a picture of the main
// window with the File menu open, or of the about box:
//   zavio_screenshot OUT.png [about]
#include <QApplication>
#include <QDialog>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>

#include "ScriptedQtHost.h"
#include "ui/AboutDialog.h"

int main(int argc, char* argv[])
{
    QApplication qapp(argc, argv);
    if (argc < 2) return 2;
    const QString out = QString::fromLocal8Bit(argv[1]);
    const bool about = argc > 2 && QString::fromLocal8Bit(argv[2]) == QStringLiteral("about");
    zavio::test::GuiFixture fixture;
    if (!fixture.Start()) return 1;
    QWidget* shown = fixture.Window();
    if (about) {
        QDialog* dialog = zavio::CreateAboutDialog(fixture.Window());
        dialog->show();
        shown = dialog;
    } else {
        QTimer::singleShot(800, [&] {
            QAction* file = fixture.Window()->menuBar()->actions().value(0);
            fixture.Window()->menuBar()->setActiveAction(file);
        });
    }
    QTimer::singleShot(1800, [&] {
        QApplication::primaryScreen()->grabWindow(0).copy(shown->frameGeometry()).save(out);
        qapp.quit();
    });
    return qapp.exec();
}
