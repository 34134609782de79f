// The program among the desktop's other programs: a second start hands its
// files to the running copy, and a help file that cannot be shown says so.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QTest>

#include "ScriptedQtHost.h"
#include "doc/ZavioDoc.h"
#include "framework/Cp932.h"
#include "framework/DocTemplate.h"
#include "res/CommandIds.h"
#include "ui/SingleInstance.h"

using namespace zavio;
using zavio::test::GuiFixture;

class DesktopShellTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<GuiFixture> f;

    QString MakeFile(const QString& name, const QByteArray& bytes) const
    {
        QFile file(f->Folder() + name);
        QDir().mkpath(QFileInfo(file).path());
        if (!file.open(QIODevice::WriteOnly)) return {};
        file.write(bytes);
        return file.fileName();
    }

private slots:
    void init() { f = std::make_unique<GuiFixture>(); }
    void cleanup() { f.reset(); }

    // The desktop starts the program again with files (a file manager's
    // "Open with"): they open in the running copy, and the second start ends.
    void secondStartHandsItsFilesToTheRunningCopy()
    {
        QVERIFY(f->Start());
        // Both copies find the user's own folder through the runtime folder.
        const QString runtime = f->Folder() + "run";
        QVERIFY(QDir().mkpath(runtime));
        qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
        QVERIFY(f->Host().ListenForOtherCopies(InstanceSocketPath()));
        const QString first = MakeFile("first.txt", "1\r\n");
        MakeFile("second.htm", "<p>2</p>\r\n");

        QProcess second;
        second.setWorkingDirectory(f->Folder());
        second.start(QStringLiteral(ZAVIO_EXECUTABLE), {first, "second.htm"});
        QVERIFY(second.waitForStarted());
        // The running copy answers from its event loop, which QTRY keeps going.
        QTRY_COMPARE_WITH_TIMEOUT(second.state(), QProcess::NotRunning, 30000);
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QTRY_COMPARE(f->WindowCount(), 3);
        std::vector<std::string> paths;
        for (CDocument* doc : f->App().m_pDocTemplate->GetDocuments())
            paths.push_back(static_cast<CZavioDoc*>(doc)->m_strPath);
        QCOMPARE(paths[1], ToCp932(first.toStdString()));
        QCOMPARE(paths[2], ToCp932((f->Folder() + "second.htm").toStdString()));
        // Opened as the shell's open request does: the recent-file list has them.
        QCOMPARE(f->App().GetRecentFiles().front(), paths[2]);
    }

    // The help commands hand their file to the desktop's opener; when the
    // file or a viewer is missing, the user is told which file it was.
    void helpThatCannotBeShownSaysWhichFile()
    {
        QVERIFY(f->Start());
        f->Host().m_realDesktop = true;
        // An opener that shows the page by noting it, and fails for a .chm.
        const QString bin = f->Folder() + "bin";
        QVERIFY(QDir().mkpath(bin));
        const QString opener = MakeFile("bin/xdg-open",
                                        "#!/bin/sh\ncase \"$1\" in *.chm) exit 3;; esac\n"
                                        "echo \"$1\" > \"$(dirname \"$0\")/shown\"\n");
        QVERIFY(QFile::setPermissions(opener, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        const QByteArray path = qgetenv("PATH");
        const auto restorePath = qScopeGuard([&] { qputenv("PATH", path); });
        qputenv("PATH", bin.toLocal8Bit() + ":" + path);
        const QString page = MakeFile("Help/Zavio.htm", "<html></html>");
        const QString chm = MakeFile("Zavio.chm", "ITSF");

        f->App().ExecuteCommand(ID_HELP_HP_TYPE);
        QTRY_VERIFY(QFile::exists(bin + "/shown"));
        f->App().ExecuteCommand(ID_HELP_HTML);
        QTRY_COMPARE(f->Host().m_messages.size(), size_t{1});
        QCOMPARE(f->Host().m_messages[0].text,
                 chm + " を表示できませんでした\n\n表示するプログラム (ブラウザ、CHM ビューア) を起動できません");

        // Without the page there is nothing to show.
        QVERIFY(QFile::remove(page));
        f->App().ExecuteCommand(ID_HELP_HP_TYPE);
        QCOMPARE(f->Host().m_messages.back().text, page + " が見つからないため表示できませんでした");

        QFile shown(bin + "/shown");
        QVERIFY(shown.open(QIODevice::ReadOnly));
        QCOMPARE(shown.readAll().trimmed(), page.toUtf8());
    }
};

QTEST_MAIN(DesktopShellTest)
#include "DesktopShellTest.moc"
