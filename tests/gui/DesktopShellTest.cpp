// The program among the desktop's other programs: a second start hands its
// files to the running copy, and a help file that cannot be shown says so.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

#include "ScriptedQtHost.h"
#include "doc/ZavioDoc.h"
#include "framework/Cp932.h"
#include "framework/DocTemplate.h"
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
};

QTEST_MAIN(DesktopShellTest)
#include "DesktopShellTest.moc"
