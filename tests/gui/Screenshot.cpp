// Starts the program under the display given and saves a picture of it:
//   zavio_screenshot OUT.png            the main window with the File menu open
//   zavio_screenshot OUT.png about      the about box
//   zavio_screenshot OUT.png guide      the guide 準備-E, the longest
//   zavio_screenshot OUT.png question   the homepage-type conversion's question
//   zavio_screenshot OUT.png modified   two windows, one with unsaved changes
//   zavio_screenshot OUT.png progress   a long conversion's progress dialog
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>

#include "ScriptedQtHost.h"
#include "WordManuscript.h"
#include "res/CommandIds.h"
#include "ui/AboutDialog.h"
#include "ui/TextEdit.h"

int main(int argc, char* argv[])
{
    QApplication qapp(argc, argv);
    if (argc < 2) return 2;
    // Absolute: the program runs in a folder of its own.
    const QString out = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
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
    } else if (mode == QStringLiteral("modified")) {
        QTimer::singleShot(800, [&fixture] {
            fixture.App().ExecuteCommand(zavio::ID_FILE_NEW);
            fixture.Window()->ActiveEdit()->insertPlainText(QStringLiteral("まだ保存していない文章"));
        });
    } else if (mode == QStringLiteral("progress")) {
        // The manuscript of a large help, converted while the picture is taken.
        std::vector<zavio::test::WordTopic> topics;
        for (int i = 1; i <= 4000; ++i)
            topics.push_back({"HID_TOPIC_" + std::to_string(i), "トピック " + std::to_string(i), "本文です。"});
        const QString manuscript = fixture.Folder() + "conv/manual.htm";
        QDir().mkpath(fixture.Folder() + "conv");
        QFile file(manuscript);
        const std::string bytes = zavio::test::WordManuscript(topics);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes.data(), qint64(bytes.size())) < 0) return 1;
        file.close();
        fixture.Host().m_realDialogs = false;
        // The picture's Cancel stops the run; the program ends after it, as
        // the main window does not close while a run works.
        QTimer::singleShot(800, [&qapp, &fixture, manuscript] {
            fixture.Host().m_fileAnswers.push_back({manuscript});
            fixture.Window()->RunCommand(zavio::ID_FILE_OPEN);
            fixture.Window()->RunCommand(zavio::ID_SEPARATE_HP_TYPE);
            qapp.quit();
        });
    } else {
        QTimer::singleShot(800, [&] {
            QAction* file = fixture.Window()->menuBar()->actions().value(0);
            fixture.Window()->menuBar()->setActiveAction(file);
        });
    }
    // A conversion is pictured while it writes its pages.
    QTimer::singleShot(mode == QStringLiteral("progress") ? 3000 : 1800, [&] {
        QWidget* target = shown ? shown : QApplication::activeModalWidget();
        if (target) QApplication::primaryScreen()->grabWindow(0).copy(target->frameGeometry()).save(out);
        if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
        // Unsaved text is asked about on the way out: not on the screen.
        fixture.Host().m_realDialogs = false;
        fixture.Host().m_answers.push_back(zavio::IDNO);
        if (mode != QStringLiteral("progress")) qapp.quit();
    });
    return qapp.exec();
}
