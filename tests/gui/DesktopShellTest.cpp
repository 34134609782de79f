// The program among the desktop's other programs: a second start hands its
// files to the running copy, and a help file that cannot be shown says so.
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QSettings>
#include <QTest>
#include <QTimer>

#include "ScriptedQtHost.h"
#include "doc/ZavioDoc.h"
#include "framework/Cp932.h"
#include "framework/DocTemplate.h"
#include "res/CommandIds.h"
#include "ui/ChildFrame.h"
#include "ui/MessageBox.h"
#include "ui/SingleInstance.h"
#include "ui/TextEdit.h"

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

    // Both copies find the user's own folder through the runtime folder.
    void ListenAsTheRunningCopy()
    {
        const QString runtime = f->Folder() + "run";
        QVERIFY(QDir().mkpath(runtime));
        qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
        QVERIFY(f->Host().ListenForOtherCopies(InstanceSocketPath()));
    }
    // The program started again with files, as a file manager starts it.
    void StartSecondCopy(const QStringList& files)
    {
        QProcess second;
        second.setWorkingDirectory(f->Folder());
        second.start(QStringLiteral(ZAVIO_EXECUTABLE), files);
        QVERIFY(second.waitForStarted());
        // The running copy answers from its event loop, which QTRY keeps going.
        QTRY_COMPARE_WITH_TIMEOUT(second.state(), QProcess::NotRunning, 30000);
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
    }

private slots:
    void init() { f = std::make_unique<GuiFixture>(); }
    void cleanup() { f.reset(); }

    // Files the running copy cannot open (one missing, one over the window's
    // limit) are refused one box each. The boxes are real: their own event
    // loops run while they are open, and the copy that handed the files over
    // ends meanwhile. The running copy lives on with its text.
    void handedOverFilesThatCannotOpenLeaveTheRunningCopyWhole()
    {
        QVERIFY(f->Start());
        ListenAsTheRunningCopy();
        f->Window()->ActiveEdit()->insertPlainText("typed before");
        f->Host().m_realDialogs = true;
        f->Host().SetViewCapacity(2 * 1024 * 1024);
        const QString large = MakeFile("large.htm", QByteArray(3 * 1024 * 1024, 'a'));
        QTimer answer;  // each box is read for a while, then answered
        QObject::connect(&answer, &QTimer::timeout, [] {
            if (auto* box = qobject_cast<MessageBoxDialog*>(QApplication::activeModalWidget()))
                box->Buttons()->button(QDialogButtonBox::Ok)->click();
        });
        answer.start(500);

        StartSecondCopy({f->Folder() + "missing.htm", large});
        QTRY_COMPARE_WITH_TIMEOUT(f->Host().m_messages.size(), size_t{3}, 20000);
        QTRY_VERIFY(!QApplication::activeModalWidget());
        QCOMPARE(f->Host().m_messages[0].text,
                 f->Folder() + "missing.htm　は読み込みできませんでした\nファイルまたはフォルダが見つかりません。");
        QCOMPARE(f->Host().m_messages[1].text,
                 QString("ファイルが大きすぎて開けません。\n\n開けるファイルは 2 MB までです。"));
        QCOMPARE(f->Host().m_messages[2].text, large + "　は読み込みできませんでした");
        QCOMPARE(f->WindowCount(), 3);
        auto* first = qobject_cast<CChildFrame*>(f->Window()->Mdi()->subWindowList().first());
        QVERIFY(first->Edit()->toPlainText().contains("typed before"));
        // Still at work: it takes the next start's file.
        const QString next = MakeFile("next.txt", "next\r\n");
        StartSecondCopy({next});
        QTRY_COMPARE(f->WindowCount(), 4);
    }

    // The desktop starts the program again with files (a file manager's
    // "Open with"): they open in the running copy, and the second start ends.
    void secondStartHandsItsFilesToTheRunningCopy()
    {
        QVERIFY(f->Start());
        ListenAsTheRunningCopy();
        const QString first = MakeFile("first.txt", "1\r\n");
        MakeFile("second.htm", "<p>2</p>\r\n");
        StartSecondCopy({first, "second.htm"});
        QTRY_COMPARE(f->WindowCount(), 3);
        std::vector<std::string> paths;
        for (CDocument* doc : f->App().m_pDocTemplate->GetDocuments())
            paths.push_back(static_cast<CZavioDoc*>(doc)->m_strPath);
        QCOMPARE(paths[1], ToCp932(first.toStdString()));
        QCOMPARE(paths[2], ToCp932((f->Folder() + "second.htm").toStdString()));
        // Opened as the shell's open request does: the recent-file list has them.
        QCOMPARE(f->App().GetRecentFiles().front(), paths[2]);
    }

    // Settings an earlier version kept under the original's registry names
    // move to the program's own file, once.
    void earlierSettingsMoveToTheProgramsOwnFile()
    {
        const QString earlier = f->Folder() + "settings/Local AppWizard-Generated Applications/Zavio.conf";
        QVERIFY(QDir().mkpath(QFileInfo(earlier).path()));
        QSettings(earlier, QSettings::IniFormat).setValue("Settings/WindowPos", "1,1,-1,-1,-1,-1,40,50,640,500");
        QVERIFY(f->Start());
        QCOMPARE(f->Window()->geometry(), QRect(40, 50, 600, 450));
        QVERIFY(!QFile::exists(earlier));
        QVERIFY(QFile::exists(f->Folder() + "settings/zavio/zavio.conf"));
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
