// A conversion in the real windows: it takes only real sources, refuses a
// page that is no manuscript before it changes anything, shows its progress
// while the windows stay painted, and stops between two pages when asked.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMdiArea>
#include <QProgressBar>
#include <QTest>

#include "ScriptedQtHost.h"
#include "WordManuscript.h"
#include "res/CommandIds.h"
#include "ui/ChildFrame.h"
#include "ui/ProgressDialog.h"

using namespace zavio;
using zavio::test::GuiFixture;
using zavio::test::WordManuscript;
using zavio::test::WordTopic;

namespace {

std::vector<WordTopic> Topics(const std::string& prefix, int count)
{
    std::vector<WordTopic> topics;
    for (int i = 1; i <= count; ++i) {
        const std::string n = std::to_string(i);
        topics.push_back({prefix + n, "トピック " + n, "本文です。"});
    }
    return topics;
}

// Paints of the progress dialog and of the main window, counted while a run
// shows its progress.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(GuiFixture& f) : m_f(f) {}
    int dialog = 0;
    int mainWindow = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (event->type() == QEvent::Paint && widget && m_f.Host().IsShowingProgress()) {
            if (qobject_cast<ProgressDialog*>(widget->window())) ++dialog;
            if (widget->window() == m_f.Window()) ++mainWindow;
        }
        return false;
    }

private:
    GuiFixture& m_f;
};

}  // namespace

class DesktopConversionTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<GuiFixture> f;

    QString At(const QString& relative) const { return f->Folder() + relative; }
    void Write(const QString& relative, const std::string& bytes) const
    {
        QDir().mkpath(QFileInfo(At(relative)).path());
        QFile file(At(relative));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }
    QByteArray Read(const QString& relative) const
    {
        QFile file(At(relative));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void Open(const QStringList& relatives) const
    {
        QStringList paths;
        for (const QString& relative : relatives) paths << At(relative);
        f->Host().m_fileAnswers.push_back(paths);
        f->MenuAction(ID_FILE_OPEN)->trigger();
    }
    QStringList WindowTitles() const
    {
        QStringList titles;
        for (QMdiSubWindow* window : f->Window()->Mdi()->subWindowList(QMdiArea::CreationOrder))
            titles << window->windowTitle();
        return titles;
    }
    // Every file below the test's folder with its bytes, the settings aside.
    QMap<QString, QByteArray> Files() const
    {
        QMap<QString, QByteArray> files;
        QDirIterator it(f->Folder(), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString relative = QDir(f->Folder()).relativeFilePath(it.next());
            if (!relative.startsWith("settings/")) files[relative] = Read(relative);
        }
        return files;
    }

private slots:
    void init() { f = std::make_unique<GuiFixture>(); }
    void cleanup() { f.reset(); }

    // A homepage-type run leaves its contents page and index page open as
    // .htm windows; the next run takes only the manuscripts opened since. An
    // open .htm that is no Word manuscript ends a run before it writes or
    // moves anything, and the message names it.
    void windowsARunWroteAreNoSourcesOfTheNext()
    {
        QVERIFY(f->StartShown());
        Write("one/manual.htm", WordManuscript(Topics("one_", 2)));
        Write("one/toc.cnt", EncodeCp932Lossless("1 トピック 1=one_1\r\n1 トピック 2=one_2\r\n"));
        Open({"one/manual.htm", "one/toc.cnt"});
        f->MenuAction(ID_SEPARATE_HP_TYPE)->trigger();
        QVERIFY(WindowTitles().contains(At("one/toc.htm")) && WindowTitles().contains(At("one/Index.htm")));

        Write("two/guide.htm", WordManuscript(Topics("two_", 1)));
        Write("two/readme.htm", "<html><body><p>Read me</p></body></html>\r\n");
        Open({"two/guide.htm", "two/readme.htm"});
        const QMap<QString, QByteArray> before = Files();
        const QStringList windows = WindowTitles();
        f->Host().m_messages.clear();
        f->MenuAction(ID_SEPARATE_HP_TYPE)->trigger();
        QCOMPARE(Files(), before);
        QCOMPARE(WindowTitles(), windows);
        QCOMPARE(f->Host().m_messages.size(), std::size_t{2});
        QVERIFY(f->Host().m_messages[1].text.startsWith(QString::fromUtf8("ヘッダーが取得できません\n\nreadme\n")));

        f->Window()->Mdi()->subWindowList(QMdiArea::CreationOrder).last()->close();
        QTRY_COMPARE(WindowTitles().size(), windows.size() - 1);
        f->Host().m_messages.clear();
        f->MenuAction(ID_SEPARATE_HP_TYPE)->trigger();
        QCOMPARE(f->Host().m_messages.size(), std::size_t{1});  // the question only
        QVERIFY(QFile::exists(At("two/two_1.htm")) && QFile::exists(At("Finished/guide.htm")));
        QCOMPARE(Files().value("one/toc.htm"), before.value("one/toc.htm"));
        const QByteArray list = Read("Finished/ListTitl.txt");
        QVERIFY(list.contains("two_1.htm") && !list.contains("one_1.htm"));
    }

    // Cancel in the progress dialog stops the run between two pages: the
    // pages written stay and are listed, nothing is made of them, and the
    // manuscript not written whole goes back where it was.
    void cancelStopsBetweenPagesAndListsWhatIsWritten()
    {
        QVERIFY(f->StartShown());
        Write("conv/manual.htm", WordManuscript(Topics("t_", 5)));
        Open({"conv/manual.htm"});
        // The manuscript read, then pages t_5 and t_4; Cancel before t_3.
        f->Host().m_cancelAtProgress = 3;
        f->MenuAction(ID_SEPARATE_HTML_HELP)->trigger();

        QVERIFY(QFile::exists(At("conv/t_5.htm")) && QFile::exists(At("conv/t_4.htm")));
        QVERIFY(!QFile::exists(At("conv/t_3.htm")) && !QFile::exists(At("conv/manual.hhp")));
        QVERIFY(QFile::exists(At("conv/manual.htm")));
        const QByteArray list = Read("Finished/ListTitl.txt");
        QVERIFY(list.contains("t_5.htm\r\n") && list.contains("t_4.htm\r\n") && !list.contains("t_3.htm"));
        QCOMPARE(f->Host().m_messages.back().text,
                 QString::fromUtf8("変換を中止しました。書き出したページは ListTitl.txt に一覧があります"));
        QVERIFY(WindowTitles().contains(At("Finished/ListTitl.txt")));
        QVERIFY(!f->Host().Progress());
    }

    // A long run shows its progress, manuscripts then pages, and the windows
    // are painted while it works; the main window's caption never names a
    // page, whose window is never shown.
    void progressDialogShowsWhileTheWindowsStayPainted()
    {
        QVERIFY(f->StartShown());
        Write("conv/manual.htm", WordManuscript(Topics("t_", 400)));
        Open({"conv/manual.htm"});
        PaintCounter paints(*f);
        qApp->installEventFilter(&paints);
        QStringList captions;
        const QMetaObject::Connection watch = connect(f->Window(), &QWidget::windowTitleChanged, this,
                                                      [&captions](const QString& caption) { captions << caption; });

        f->MenuAction(ID_SEPARATE_HP_TYPE)->trigger();
        qApp->removeEventFilter(&paints);
        disconnect(watch);

        const auto& shown = f->Host().m_progressShown;
        QCOMPARE(shown.front().text, QString::fromUtf8("原稿を読み込んでいます (1/1)\nmanual.htm"));
        QCOMPARE(shown.back().text, QString::fromUtf8("ページを書き出しています (400/400)\nt_1.htm"));
        QCOMPARE(shown.back().done, std::size_t{399});
        QVERIFY(paints.dialog > 0);
        QVERIFY(paints.mainWindow > 0);
        for (const QString& caption : captions)
            QVERIFY2(!caption.contains("t_") && !caption.contains("NewFile"), qPrintable(caption));
        QVERIFY(!f->Host().Progress());
        QVERIFY(QFile::exists(At("conv/t_400.htm")));
    }
};

QTEST_MAIN(DesktopConversionTest)
#include "DesktopConversionTest.moc"
