// The main window: commands from menus, toolbar and keys, help-mode, the two
// menu bars, the saved placement, the start-up timer and dropped files.
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStatusBar>
#include <QStyle>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

#include "ScriptedQtHost.h"
#include "app/MainFrame.h"
#include "doc/ZavioDoc.h"
#include "framework/Cp932.h"
#include "framework/DocTemplate.h"
#include "framework/EditView.h"
#include "res/CommandIds.h"
#include "res/Version.h"
#include "ui/AboutDialog.h"
#include "ui/ChildFrame.h"
#include "ui/FindDialog.h"
#include "ui/MessageBox.h"
#include "ui/TextEdit.h"

using namespace zavio;
using zavio::test::GuiFixture;

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<GuiFixture> f;

    void StartShown()
    {
        QVERIFY(f->Start());
        QVERIFY(QTest::qWaitForWindowExposed(f->Window()));
    }
    ZavioTextEdit* Edit() const { return f->Window()->ActiveEdit(); }
    void SelectSomeText()
    {
        QTextCursor cursor = Edit()->textCursor();
        cursor.setPosition(7);
        cursor.setPosition(9, QTextCursor::KeepAnchor);
        Edit()->setTextCursor(cursor);
    }
    // Files dragged from the desktop and let go over the main window.
    void DropFiles(QMimeData& data)
    {
        const QPoint centre = f->Window()->rect().center();
        QDragEnterEvent enter(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(f->Window(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(centre), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(f->Window(), &drop);
    }
    bool Cursor(Qt::CursorShape shape) const
    {
        return QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == shape;
    }

private slots:
    void init() { f = std::make_unique<GuiFixture>(); }
    void cleanup() { f.reset(); }

    void menuBarFollowsTheDocumentWindows()
    {
        StartShown();
        QCOMPARE(f->WindowCount(), 1);
        QCOMPARE(f->Window()->MenuBarId(), 129u);
        QCOMPARE(f->MenuTitles(),
                 QStringList({"ﾌｧｲﾙ(&F)", "編集(&E)", "HTML変換(&C)", "表示(&V)", "ｳｨﾝﾄﾞｳ(&W)", "ﾍﾙﾌﾟ(&H)"}));
        QCOMPARE(f->MenuAction(ID_FILE_PRINT_SETUP)->text(), QString("プリンタの設定(&R)..."));
        QVERIFY(f->MenuAction(ID_SEPARATE_HP_TYPE));

        f->MenuAction(ID_FILE_CLOSE)->trigger();
        QTRY_COMPARE(f->WindowCount(), 0);
        QCOMPARE(f->Window()->MenuBarId(), 128u);
        QCOMPARE(f->MenuTitles(), QStringList({"ﾌｧｲﾙ(&F)", "HTML変換(&C)", "表示(&V)", "ﾍﾙﾌﾟ(&H)"}));
        QCOMPARE(f->MenuAction(ID_FILE_PRINT_SETUP)->text(), QString("ﾌﾟﾘﾝﾀの設定(&R)..."));
        QCOMPARE(f->MenuAction(ID_APP_ABOUT)->text(), QString("Zavio のﾊﾞｰｼﾞｮﾝ情報(&A)"));
        QVERIFY(!f->MenuAction(ID_SEPARATE_HP_TYPE));

        f->MenuAction(ID_FILE_NEW)->trigger();
        QCOMPARE(f->WindowCount(), 1);
        QCOMPARE(f->Window()->MenuBarId(), 129u);
        QCOMPARE(f->Window()->windowTitle(), "Zavio - " + f->Folder() + "NewFile.txt");
    }

    // A dropped file's name goes into the message as it stands, even when it
    // looks like markup; the box carries the program's title. OK and
    // OK/Cancel boxes show the exclamation mark, as the framework's did.
    void messageBoxShowsItsTextAsTyped()
    {
        StartShown();
        const QString text = QStringLiteral("<b>readme</b>.DOC は開けません");
        QString title, shown;
        Qt::TextFormat format = Qt::AutoText;
        int buttons = 0;
        QImage icon;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<MessageBoxDialog*>(QApplication::activeModalWidget());
            if (!box) return;
            title = box->windowTitle();
            shown = box->TextLabel()->text();
            format = box->TextLabel()->textFormat();
            buttons = static_cast<int>(box->Buttons()->buttons().size());
            icon = box->findChild<QLabel*>("icon")->pixmap().toImage();
            box->Buttons()->button(QDialogButtonBox::Cancel)->click();
        });
        QCOMPARE(f->Host().RunDesktopMessageBox(text, MB_OKCANCEL), IDCANCEL);
        QCOMPARE(title, QString("Zavio"));
        QCOMPARE(shown, text);
        QCOMPARE(format, Qt::PlainText);
        QCOMPARE(buttons, 2);
        const int size = f->Window()->style()->pixelMetric(QStyle::PM_MessageBoxIconSize);
        QCOMPARE(icon, f->Window()->style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(size, size).toImage());
    }

    void everyMenuAndToolbarCommandReachesItsHandler()
    {
        StartShown();
        QApplication::clipboard()->setText("x");
        QSignalSpy runs(f->Window(), &MainWindow::commandRun);
        QList<QAction*> actions;
        for (QAction* top : f->Window()->menuBar()->actions())
            for (QAction* action : top->menu()->actions())
                if (!action->isSeparator()) actions << action;
        for (QAction* action : f->Window()->ToolBar()->actions())
            if (!action->isSeparator()) actions << action;
        // Exit and Close end what the others need; they have tests of their own.
        const QSet<unsigned> skipped = {ID_APP_EXIT, ID_FILE_CLOSE};
        // Without WinHelp its two commands stay disabled.
        const QSet<unsigned> disabled = {ID_HELP_FINDER, ID_CONTEXT_HELP};
        int triggered = 0;
        for (QAction* action : actions) {
            const unsigned id = action->objectName().toUInt();
            if (skipped.contains(id)) continue;
            if (f->WindowCount() == 0) f->App().ExecuteCommand(ID_FILE_NEW);
            f->Window()->Mdi()->setActiveSubWindow(f->Window()->Mdi()->subWindowList().first());
            Edit()->setPlainText("some text to cut and copy");
            Edit()->insertPlainText("ab");  // something to undo
            SelectSomeText();
            f->Window()->RefreshCommandStates();
            QCOMPARE(action->isEnabled(), !disabled.contains(id));
            if (!action->isEnabled()) continue;
            runs.clear();
            action->trigger();
            QCOMPARE(runs.size(), 1);
            QCOMPARE(runs[0][0].toUInt(), id);
            QVERIFY2(runs[0][1].toBool(), qPrintable(action->text()));
            ++triggered;
        }
        QCOMPARE(triggered, 40);
        // The dialogs went to the script, never to the screen.
        QCOMPARE(f->Host().m_aboutBoxes, 2);
        QCOMPARE(f->Host().m_printDialogs, 2);
        QCOMPARE(f->Host().m_previews, 1);
        QCOMPARE(f->Host().m_printSetups, 1);
        QVERIFY(f->Host().m_fileDialogs >= 1);
        QVERIFY(f->Host().m_messages.size() >= 5);  // the five guides at least
        QCOMPARE(f->Host().m_messages[0].type, unsigned{MB_OK});
    }

    void acceleratorsRunTheirCommandsEvenFromTheText()
    {
        StartShown();
        QVERIFY(QTest::qWaitForWindowActive(f->Window()));
        Edit()->setFocus();
        QSignalSpy runs(f->Window(), &MainWindow::commandRun);
        struct Key {
            QKeySequence keys;
            unsigned id;
        };
        const Key keys[] = {
            {QKeySequence("Ctrl+C"), ID_EDIT_COPY},  {QKeySequence("Ctrl+Ins"), ID_EDIT_COPY},
            {QKeySequence("Ctrl+V"), ID_EDIT_PASTE}, {QKeySequence("Shift+Ins"), ID_EDIT_PASTE},
            {QKeySequence("Ctrl+Z"), ID_EDIT_UNDO},  {QKeySequence("Alt+Backspace"), ID_EDIT_UNDO},
            {QKeySequence("Ctrl+X"), ID_EDIT_CUT},   {QKeySequence("Shift+Del"), ID_EDIT_CUT},
            {QKeySequence("Ctrl+P"), ID_FILE_PRINT}, {QKeySequence("F1"), ID_HELP},
            {QKeySequence("Ctrl+O"), ID_FILE_OPEN},  {QKeySequence("Ctrl+S"), ID_FILE_SAVE},
            {QKeySequence("Ctrl+N"), ID_FILE_NEW},
        };
        QApplication::clipboard()->setText("x");
        for (const Key& key : keys) {
            Edit()->setFocus();
            Edit()->setPlainText("some text");
            SelectSomeText();
            Edit()->insertPlainText("ab");  // something to undo
            SelectSomeText();
            f->Window()->RefreshCommandStates();
            runs.clear();
            QTest::keySequence(Edit(), key.keys);
            QTRY_COMPARE(runs.size(), 1);
            QCOMPARE(runs[0][0].toUInt(), key.id);
        }
        // No handler for F6 and no WinHelp for Shift+F1: nothing runs.
        runs.clear();
        QTest::keySequence(Edit(), QKeySequence("F6"));
        QTest::keySequence(Edit(), QKeySequence("Shift+F1"));
        QCOMPARE(runs.size(), 0);
        QCOMPARE(f->Host().m_printDialogs, 1);
    }

    void helpModeOpensThePageOfTheNextHelpAwareCommand()
    {
        StartShown();
        const QString before = Edit()->toPlainText();
        SelectSomeText();
        f->Window()->RefreshCommandStates();
        f->ToolbarAction(ID_CONTEXT_HELP_HP)->trigger();
        QCOMPARE(f->App().m_nHelpMode, 11);
        QVERIFY(Cursor(Qt::WhatsThisCursor));
        // Not help-aware: runs, and help-mode stays.
        f->ToolbarAction(ID_APP_ABOUT)->trigger();
        QCOMPARE(f->Host().m_aboutBoxes, 1);
        QVERIFY(Cursor(Qt::WhatsThisCursor));
        f->MenuAction(ID_EDIT_CUT)->trigger();
        QCOMPARE(f->Host().m_opened, QStringList{f->Folder() + "Help/HID_EDIT_CUT.htm"});
        QCOMPARE(Edit()->toPlainText(), before);
        QCOMPARE(f->App().m_nHelpMode, 0);
        QVERIFY(!Cursor(Qt::WhatsThisCursor));
    }

    void cutIsDisabledWithoutASelectionInHelpMode()
    {
        StartShown();
        f->ToolbarAction(ID_CONTEXT_HELP_HP)->trigger();
        QTextCursor cursor = Edit()->textCursor();
        cursor.clearSelection();
        Edit()->setTextCursor(cursor);
        f->Window()->RefreshCommandStates();
        QVERIFY(!f->MenuAction(ID_EDIT_CUT)->isEnabled());
        QVERIFY(!f->ToolbarAction(ID_EDIT_CUT)->isEnabled());
    }

    void leftClickInTheTextEndsHelpMode()
    {
        StartShown();
        f->ToolbarAction(ID_CONTEXT_HELP_HP)->trigger();
        QVERIFY(Cursor(Qt::WhatsThisCursor));
        QTest::mouseClick(Edit()->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(f->App().m_nHelpMode, 0);
        QVERIFY(!Cursor(Qt::WhatsThisCursor));
        QVERIFY(f->Host().m_opened.isEmpty());
    }

    void helpButtonTwiceOpensItsOwnPage()
    {
        StartShown();
        f->ToolbarAction(ID_CONTEXT_HELP_HP)->trigger();
        f->ToolbarAction(ID_CONTEXT_HELP_HP)->trigger();
        QCOMPARE(f->Host().m_opened, QStringList{f->Folder() + "Help/HID_CONTHELP_HP.htm"});
        QVERIFY(!Cursor(Qt::WhatsThisCursor));
    }

    void statusBarShowsPanesAndIdleText()
    {
        StartShown();
        QCOMPARE(f->Window()->IdleLabel()->text(),
                 QString("ヘルプを表示するには F1 を押してください。Windows8 以降では F1 を押さないでください。 "));
        QStringList panes;
        for (unsigned id : {59142u, 59137u, 59138u, 59139u})
            panes << f->Window()->statusBar()->findChild<QLabel*>(QString::number(id))->text();
        QCOMPARE(panes, QStringList({"ｶﾅ", "CAP", "NUM", "SCRL"}));
        QCOMPARE(f->ToolbarAction(ID_FILE_NEW)->toolTip(), QString("新規作成"));
        QCOMPARE(f->ToolbarAction(ID_FILE_NEW)->statusTip(), QString("新規にファイルを作成"));

        QAction* toggle = f->MenuAction(ID_VIEW_STATUS_BAR);
        QVERIFY(toggle->isChecked());
        toggle->trigger();
        QVERIFY(f->Window()->statusBar()->isHidden());
        QVERIFY(!toggle->isChecked());
    }

    void storedPlacementIsRestored()
    {
        f->SetSetting("Settings/WindowPos", "1,1,-1,-1,-1,-1,40,50,640,500");
        StartShown();
        QCOMPARE(f->Window()->geometry(), QRect(40, 50, 600, 450));
    }

    void unusablePlacementIsIgnored()
    {
        f->SetSetting("Settings/WindowPos", "1,1,-1,-1,-1,-1,10,20,810");
        StartShown();
        QVERIFY(f->Window()->geometry() != QRect(10, 20, 800, 600));
        QVERIFY(f->Window()->isVisible());
    }

    void closingSavesThePlacementEvenWhenCancelled()
    {
        StartShown();
        f->Window()->setGeometry(30, 40, 700, 500);
        Edit()->insertPlainText("typed");
        f->Host().m_answers.push_back(IDCANCEL);
        f->MenuAction(ID_APP_EXIT)->trigger();
        QVERIFY(f->Window()->isVisible());
        QCOMPARE(f->WindowCount(), 1);
        QCOMPARE(f->Setting("Settings/WindowPos"), QString("0,1,-1,-1,-1,-1,30,40,730,540"));
        QCOMPARE(f->Host().m_messages.size(), size_t{1});
        QCOMPARE(f->Host().m_messages[0].type, unsigned{MB_YESNOCANCEL});

        f->Window()->showMaximized();
        QTRY_VERIFY(f->Window()->isMaximized());
        f->Host().m_answers.push_back(IDNO);
        f->MenuAction(ID_APP_EXIT)->trigger();
        QTRY_VERIFY(!f->Window()->isVisible());
        QVERIFY(f->Setting("Settings/WindowPos").startsWith("2,3,"));
        QCOMPARE(f->WindowCount(), 0);
    }

    void startupTimerClosesTheTermsWindow()
    {
        f->Host().m_timerSpeedUp = 100;
        StartShown();
        QCOMPARE(f->WindowCount(), 1);
        QVERIFY(Edit()->toPlainText().contains("[使用許諾条件]"));
        QTRY_COMPARE(f->WindowCount(), 0);
        QCOMPARE(f->Window()->MenuBarId(), 128u);
        QVERIFY(f->Host().m_messages.empty());
        QVERIFY(!f->App().m_pStartupDoc);
    }

    void startupTimerLeavesTextTheUserTyped()
    {
        f->Host().m_timerSpeedUp = 100;
        StartShown();
        QTest::keyClicks(Edit(), "abc");
        QTRY_COMPARE(f->Host().m_timersKilled, 1);
        QCOMPARE(f->WindowCount(), 1);
        QVERIFY(Edit()->toPlainText().contains("abc"));
    }

    void aboutBoxIsLaidOutFromItsResource()
    {
        std::unique_ptr<QDialog> about(CreateAboutDialog(nullptr));
        QCOMPARE(about->windowTitle(), QString("Zavioのﾊﾞｰｼﾞｮﾝ情報"));
        QStringList texts;
        for (QLabel* label : about->findChildren<QLabel*>())
            if (!label->text().isEmpty()) texts << label->text();
        QCOMPARE(texts, QStringList({"Zavio Version 1.01", "旧ヘルプから新ヘルプへの変換ソフト " ZAVIO_VERSION}));
        auto* ok = about->findChild<QPushButton*>();
        QCOMPARE(ok->text(), QString("OK"));
        QVERIFY(ok->isDefault());
        // The button stands at 178 of the box's 235 units across, 7 of 55 down.
        QVERIFY(qAbs(ok->x() * 235 - 178 * about->width()) <= 4 * 235);
        QVERIFY(qAbs(ok->y() * 55 - 7 * about->height()) <= 4 * 55);
    }

    void droppedDocFileIsRefused()
    {
        StartShown();
        QFile file(f->Folder() + "readme.DOC");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("x\r\n");
        file.close();
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(file.fileName())});
        DropFiles(data);
        QCOMPARE(f->Host().m_messages.size(), size_t{1});
        QCOMPARE(f->Host().m_messages[0].text, QString("readme.DOC は開けません"));
        QCOMPARE(f->WindowCount(), 1);
    }

    void droppedTextFileOpens()
    {
        StartShown();
        QFile file(f->Folder() + "メモ.txt");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(ToCp932("一行目").c_str());
        file.write("\r\n");
        file.close();
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(file.fileName())});
        DropFiles(data);
        QCOMPARE(f->WindowCount(), 2);
        QVERIFY(Edit()->toPlainText().startsWith("一行目"));
    }

    void windowMenuListsTheOpenWindows()
    {
        StartShown();
        f->App().ExecuteCommand(ID_FILE_NEW);
        QMenu* menu = nullptr;
        for (QObject* owner : f->MenuAction(ID_WINDOW_NEW)->associatedObjects())
            if (auto* m = qobject_cast<QMenu*>(owner)) menu = m;
        QVERIFY(menu);
        emit menu->aboutToShow();
        QStringList entries;
        for (QAction* action : menu->actions())
            if (action->property("windowEntry").toBool() && !action->isSeparator()) entries << action->text();
        QCOMPARE(entries.size(), 2);
        QVERIFY(entries[1].startsWith("&2 "));
        QAction* first = nullptr;
        for (QAction* action : menu->actions())
            if (action->text().startsWith("&1 ")) first = action;
        first->trigger();
        QCOMPARE(f->Window()->Mdi()->currentSubWindow(), f->Window()->Mdi()->subWindowList().first());
        emit menu->aboutToShow();  // listed again, not twice
        int count = 0;
        for (QAction* action : menu->actions()) count += action->property("windowEntry").toBool() ? 1 : 0;
        QCOMPARE(count, 3);
    }

    void openDialogPathsBecomeProgramPaths()
    {
        StartShown();
        QFile file(f->Folder() + "目次.cnt");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(":Base x.hlp\r\n");
        file.close();
        f->Host().m_fileAnswers.push_back({file.fileName()});
        f->MenuAction(ID_FILE_OPEN)->trigger();
        QCOMPARE(f->WindowCount(), 2);
        auto* doc = static_cast<CZavioDoc*>(f->App().m_pDocTemplate->GetDocuments().back());
        QCOMPARE(doc->m_strPath, ToCp932(file.fileName().toStdString()));
        QCOMPARE(doc->m_strExtension, std::string("cnt"));
        QCOMPARE(f->App().m_strOpenDir, ToCp932(f->Folder().toStdString()));
    }

    void printingWritesThePages()
    {
        StartShown();
        f->Host().m_printToPdf = f->Folder() + "out.pdf";
        f->MenuAction(ID_FILE_PRINT)->trigger();
        QFile pdf(f->Host().m_printToPdf);
        QVERIFY(pdf.exists());
        QVERIFY(pdf.size() > 500);
    }

    void everyHelpFileTheProgramOpensWasBuilt()
    {
        const QString programDir = QStringLiteral(ZAVIO_PROGRAM_DIR);
        if (!QFile::exists(programDir + "Help/Zavio.htm")) QSKIP("the help was not built");
        f->Host().m_programFolder = ToCp932(programDir.toStdString());
        StartShown();
        const unsigned helpAware[] = {ID_FILE_NEW,
                                      ID_FILE_OPEN,
                                      ID_FILE_CLOSE,
                                      ID_FILE_SAVE,
                                      ID_FILE_SAVE_AS,
                                      ID_FILE_PRINT_SETUP,
                                      ID_FILE_PRINT,
                                      ID_FILE_PRINT_PREVIEW,
                                      ID_APP_EXIT,
                                      ID_EDIT_UNDO,
                                      ID_EDIT_CUT,
                                      ID_EDIT_COPY,
                                      ID_EDIT_PASTE,
                                      ID_PREP_A,
                                      ID_PREP_B,
                                      ID_PREP_C,
                                      ID_PREP_D,
                                      ID_PREP_E,
                                      ID_SEPARATE_HTML_HELP,
                                      ID_SEPARATE_HP_TYPE,
                                      ID_HELP_FINDER,
                                      ID_HELP_HTML,
                                      ID_HELP_HP_TYPE,
                                      ID_CONTEXT_HELP_HP};
        for (unsigned id : helpAware) {
            f->App().m_nHelpMode = kHelpModeOn;
            f->App().ExecuteCommand(id);
        }
        f->App().ExecuteCommand(ID_HELP_HTML);
        f->App().ExecuteCommand(ID_HELP_HP_TYPE);
        QCOMPARE(f->Host().m_opened.size(), qsizetype{std::size(helpAware) + 2});
        for (const QString& path : f->Host().m_opened) QVERIFY2(QFile::exists(path), qPrintable(path));
        QVERIFY(f->Host().m_messages.empty());
    }

    // The same sample through the real windows gives the converter's files,
    // byte for byte: the window text keeps the bytes it was given.
    void conversionInTheWindowsWritesWhatTheConverterWrites_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<unsigned>("command");
        QTest::newRow("homepage type") << "hp" << unsigned{ID_SEPARATE_HP_TYPE};
        QTest::newRow("HTML Help") << "chm" << unsigned{ID_SEPARATE_HTML_HELP};
    }

    void conversionInTheWindowsWritesWhatTheConverterWrites()
    {
        QFETCH(QString, kind);
        QFETCH(unsigned, command);
        const QString expected = QStringLiteral(ZAVIO_PROGRAM_DIR) + "help-work/" + kind + "/";
        if (!QFile::exists(expected + "Help")) QSKIP("the converter's help was not built");
        StartShown();
        QVERIFY(QDir(f->Folder()).mkpath("Help"));
        QStringList sources;
        for (const char* name : {"manual.htm", "Zavio.cnt"}) {
            sources << f->Folder() + "Help/" + name;
            QVERIFY(QFile::copy(QStringLiteral(ZAVIO_SAMPLES_DIR) + name, sources.back()));
        }
        f->Host().m_fileAnswers.push_back(sources);
        f->MenuAction(ID_FILE_OPEN)->trigger();
        QCOMPARE(f->WindowCount(), 3);
        f->MenuAction(command)->trigger();
        for (const char* folder : {"Help", "Finished"}) {
            // The compiled help is chmcmd's, made after the conversion.
            const QStringList want =
                QDir(expected + folder).entryList(QDir::Files).filter(QRegularExpression("^(?!.*\\.chm$)"));
            const QDir got(f->Folder() + folder);
            QCOMPARE(got.entryList(QDir::Files), want);
            for (const QString& name : want) {
                QFile a(expected + folder + "/" + name), b(got.filePath(name));
                QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
                QVERIFY2(a.readAll() == b.readAll(), qPrintable(name));
            }
        }
    }

    void closeButtonOfAWindowClosesItsDocument()
    {
        StartShown();
        f->Window()->Mdi()->subWindowList().first()->close();
        QTRY_COMPARE(f->WindowCount(), 0);
        QVERIFY(f->App().m_pDocTemplate->GetDocuments().empty());
    }

    // Cascaded windows stay most of the area, each a title bar further on.
    void cascadeKeepsWindowsLarge()
    {
        StartShown();
        for (int i = 0; i < 3; ++i) f->App().ExecuteCommand(ID_FILE_NEW);
        f->MenuAction(ID_WINDOW_CASCADE)->trigger();
        const QSize area = f->Window()->Mdi()->viewport()->size();
        const QList<QMdiSubWindow*> windows = f->Window()->Mdi()->subWindowList(QMdiArea::CreationOrder);
        QCOMPARE(windows.size(), 4);
        for (qsizetype i = 0; i < windows.size(); ++i) {
            const QRect r = windows[i]->geometry();
            QVERIFY(r.width() * 3 >= area.width() * 2 && r.height() * 3 >= area.height() * 2);
            QVERIFY(r.right() <= area.width() && r.bottom() <= area.height());
            if (i > 0) QVERIFY(r.topLeft().y() > windows[i - 1]->geometry().y() && r.x() > windows[i - 1]->x());
        }
    }

    // F1 opens the contents page of the program's help; in help-mode it does
    // what it did there, nothing, and help-mode stays.
    void f1OpensTheHelpContents()
    {
        StartShown();
        QVERIFY(QTest::qWaitForWindowActive(f->Window()));
        QTest::keySequence(Edit(), QKeySequence("F1"));
        QCOMPARE(f->Host().m_opened, QStringList{f->Folder() + "Help/Zavio.htm"});
        f->ToolbarAction(ID_CONTEXT_HELP_HP)->trigger();
        QTest::keySequence(Edit(), QKeySequence("F1"));
        QCOMPARE(f->Host().m_opened.size(), 1);
        QCOMPARE(f->App().m_nHelpMode, kHelpModeOn);
    }

    // The keys of every desktop editor: the next and previous window, the
    // menu bar, find and replace.
    void editorKeysReachWindowsMenusAndFind()
    {
        StartShown();
        QVERIFY(QTest::qWaitForWindowActive(f->Window()));
        f->App().ExecuteCommand(ID_FILE_NEW);
        f->App().ExecuteCommand(ID_FILE_NEW);
        const QList<QMdiSubWindow*> windows = f->Window()->Mdi()->subWindowList(QMdiArea::CreationOrder);
        f->Window()->Mdi()->setActiveSubWindow(windows[0]);
        QList<qsizetype> visited;
        for (const char* keys : {"Ctrl+Tab", "Ctrl+F6", "Ctrl+Tab", "Ctrl+Shift+Tab", "Ctrl+Shift+F6"}) {
            QTest::keySequence(Edit(), QKeySequence(keys));
            visited << windows.indexOf(f->Window()->Mdi()->activeSubWindow());
        }
        QCOMPARE(visited, (QList<qsizetype>{1, 2, 0, 2, 1}));

        QTest::keySequence(Edit(), QKeySequence("F10"));
        QTRY_VERIFY(qobject_cast<QMenu*>(QApplication::activePopupWidget()));
        QCOMPARE(f->Window()->menuBar()->activeAction(), f->Window()->menuBar()->actions().first());
        QApplication::activePopupWidget()->close();

        QTest::keySequence(Edit(), QKeySequence("Ctrl+F"));
        QVERIFY(f->Window()->findChild<FindDialog*>("findDialog"));
        f->Window()->activateWindow();
        Edit()->setFocus();
        QTest::keySequence(Edit(), QKeySequence("Ctrl+H"));
        QVERIFY(f->Window()->findChild<FindDialog*>("replaceDialog"));
    }

    // The File menu lists the eight newest of the recent files, numbered;
    // choosing one that is open brings its window to the front.
    void fileMenuListsTheRecentFiles()
    {
        StartShown();
        for (int i = 1; i <= 9; ++i) {
            QFile file(f->Folder() + QString("file%1.txt").arg(i));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.close();
            QVERIFY(f->App().OpenDocumentFile(ToCp932(file.fileName().toStdString())));
        }
        QMenu* menu = nullptr;
        for (QObject* owner : f->MenuAction(ID_APP_EXIT)->associatedObjects())
            if (auto* m = qobject_cast<QMenu*>(owner)) menu = m;
        QVERIFY(menu);
        emit menu->aboutToShow();
        emit menu->aboutToShow();  // listed again, not twice
        QStringList entries;
        for (QAction* action : menu->actions())
            if (action->property("recentEntry").toBool() && !action->isSeparator()) entries << action->text();
        QCOMPARE(entries.size(), 8);
        QCOMPARE(entries.first(), "&1 " + f->Folder() + "file9.txt");
        QCOMPARE(entries.last(), "&8 " + f->Folder() + "file2.txt");
        QAction* second = nullptr;
        for (QAction* action : menu->actions())
            if (action->objectName() == QString::number(ID_FILE_MRU_FILE1 + 1)) second = action;
        QVERIFY(second);
        second->trigger();
        QCOMPARE(f->Window()->ActiveFrame()->windowTitle(), f->Folder() + "file8.txt");
        QVERIFY(f->Host().m_messages.empty());
    }

    void ctrlF4ClosesTheActiveWindow()
    {
        StartShown();
        QVERIFY(QTest::qWaitForWindowActive(f->Window()));
        f->App().ExecuteCommand(ID_FILE_NEW);
        QCOMPARE(f->WindowCount(), 2);
        Edit()->insertPlainText("typed");
        f->Host().m_answers.push_back(IDNO);
        QTest::keySequence(Edit(), QKeySequence("Ctrl+F4"));
        QTRY_COMPARE(f->WindowCount(), 1);
        QCOMPARE(f->Host().m_messages.size(), size_t{1});  // asked about the typed text
        // Whatever key scheme the desktop has, the window's Close takes Ctrl+F4.
        QAction* close = f->Window()->Mdi()->subWindowList().first()->systemMenu()->actions().last();
        QVERIFY(close->shortcuts().contains(QKeySequence("Ctrl+F4")));
    }

    void newWindowShowsTheSameText()
    {
        StartShown();
        f->MenuAction(ID_WINDOW_NEW)->trigger();
        QCOMPARE(f->WindowCount(), 2);
        Edit()->insertPlainText("shared");
        auto* first = qobject_cast<CChildFrame*>(f->Window()->Mdi()->subWindowList().first());
        QVERIFY(first->Edit()->toPlainText().contains("shared"));
        QVERIFY(first->windowTitle().endsWith(":1"));
        // Closing one of the two keeps the document.
        first->close();
        QTRY_COMPARE(f->WindowCount(), 1);
        QCOMPARE(f->App().m_pDocTemplate->GetDocuments().size(), size_t{1});
        QVERIFY(!f->Window()->ActiveFrame()->windowTitle().endsWith(":2"));
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
