// Starts the program under the display given and saves a picture of the
// whole screen with the File menu open: zavio_screenshot OUT.png
#include <QApplication>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>

#include "ScriptedQtHost.h"

int main(int argc, char* argv[])
{
    QApplication qapp(argc, argv);
    if (argc < 2) return 2;
    const QString out = QString::fromLocal8Bit(argv[1]);
    zavio::test::GuiFixture fixture;
    if (!fixture.Start()) return 1;
    QTimer::singleShot(800, [&] {
        QAction* file = fixture.Window()->menuBar()->actions().value(0);
        fixture.Window()->menuBar()->setActiveAction(file);
    });
    QTimer::singleShot(1800, [&] {
        QApplication::primaryScreen()->grabWindow(0).copy(fixture.Window()->frameGeometry()).save(out);
        qapp.quit();
    });
    return qapp.exec();
}
