// Text the user typed is never lost without a question: new documents never
// share a file, the start-up window stays once changed, Save asks before
// characters CP932 lacks turn into "?", and a changed window says so.
#include <QFile>
#include <QMdiArea>
#include <QTest>

#include "ScriptedQtHost.h"
#include "doc/ZavioDoc.h"
#include "framework/Cp932.h"
#include "framework/DocTemplate.h"
#include "framework/EditView.h"
#include "res/CommandIds.h"
#include "ui/ChildFrame.h"
#include "ui/TextEdit.h"

using namespace zavio;
using zavio::test::GuiFixture;

class DesktopDocumentsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<GuiFixture> f;

    ZavioTextEdit* Edit() const { return f->Window()->ActiveEdit(); }
    CZavioDoc* ActiveDoc() const { return static_cast<CZavioDoc*>(&f->Window()->ActiveFrame()->Document()); }
    QString Path(const CZavioDoc* doc) const { return QString::fromStdString(DecodeCp932Lossless(doc->m_strPath)); }
    QByteArray Contents(const QString& path) const
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private slots:
    void init() { f = std::make_unique<GuiFixture>(); }
    void cleanup() { f.reset(); }

    // Saving one new document, then another, keeps both texts.
    void newDocumentsNeverShareAFile()
    {
        QVERIFY(f->Start());
        QFile taken(f->Folder() + "NewFile(3).txt");
        QVERIFY(taken.open(QIODevice::WriteOnly));
        taken.close();
        CZavioDoc* first = ActiveDoc();
        f->MenuAction(ID_FILE_NEW)->trigger();
        CZavioDoc* second = ActiveDoc();
        f->MenuAction(ID_FILE_NEW)->trigger();
        QCOMPARE(
            QStringList({Path(first), Path(second), Path(ActiveDoc())}),
            QStringList({f->Folder() + "NewFile.txt", f->Folder() + "NewFile(2).txt", f->Folder() + "NewFile(4).txt"}));
        QCOMPARE(second->m_strBaseName, std::string("NewFile(2)"));

        second->GetView()->Control().SetText("second");
        QVERIFY(second->SaveDocument(true));
        first->GetView()->Control().SetText("first");
        QVERIFY(first->SaveDocument(true));
        QCOMPARE(Contents(f->Folder() + "NewFile(2).txt"), QByteArray("second"));
        QCOMPARE(Contents(f->Folder() + "NewFile.txt"), QByteArray("first"));
    }

    // Once the user changed the terms window it is theirs: the start-up
    // timer leaves it open, even after it was saved.
    void startupWindowStaysOnceChanged()
    {
        f->Host().m_timerSpeedUp = 10;
        QVERIFY(f->Start());
        QTest::keyClicks(Edit(), "mine");
        f->MenuAction(ID_FILE_SAVE)->trigger();
        QVERIFY(!ActiveDoc()->IsModified());
        QTRY_COMPARE(f->Host().m_timersKilled, 1);
        QCOMPARE(f->WindowCount(), 1);
        QVERIFY(Edit()->toPlainText().contains("mine"));
    }

    // Characters CP932 lacks: a text file is saved with "?" only when the
    // user says so; a Web page can keep them as character references.
    void saveAsksBeforeCharactersBecomeQuestionMarks()
    {
        QVERIFY(f->Start());
        Edit()->insertPlainText(QString::fromUtf8("한국어 😀 ü 日本"));
        f->Host().m_answers.push_back(IDCANCEL);
        f->MenuAction(ID_FILE_SAVE)->trigger();
        QCOMPARE(f->Host().m_messages.size(), size_t{1});
        QCOMPARE(f->Host().m_messages[0].type, unsigned{MB_OKCANCEL});
        QCOMPARE(f->Host().m_messages[0].text, QString("次の文字は Shift_JIS (CP932) で保存できません。\n"
                                                       "U+D55C U+AD6D U+C5B4 U+1F600 U+00FC\n\n"
                                                       "保存するとそれぞれ ? になります。保存しますか?"));
        QVERIFY(!QFile::exists(f->Folder() + "NewFile.txt"));
        QVERIFY(ActiveDoc()->IsModified());

        QFile page(f->Folder() + "page.htm");
        QVERIFY(page.open(QIODevice::WriteOnly));
        page.write("<p>\r\n");
        page.close();
        QVERIFY(f->App().OpenDocumentFile(ToCp932(page.fileName().toStdString())));
        Edit()->moveCursor(QTextCursor::End);
        Edit()->insertPlainText(QString::fromUtf8("한 😀 日"));
        f->Host().m_answers.push_back(IDYES);
        f->MenuAction(ID_FILE_SAVE)->trigger();
        QCOMPARE(f->Host().m_messages.back().type, unsigned{MB_YESNOCANCEL});
        QCOMPARE(Contents(page.fileName()), QByteArray("<p>\r\n&#54620; &#128512; ") + ToCp932("日").c_str());
        QCOMPARE(Edit()->toPlainText(), QString::fromUtf8("<p>\n&#54620; &#128512; 日"));
        QVERIFY(!ActiveDoc()->IsModified());
    }

    // A window with unsaved changes has a "*" before its title, as desktop
    // editors show it; the main window's caption follows.
    void changedWindowsAreMarked()
    {
        QVERIFY(f->Start());
        const QString title = f->Folder() + "NewFile.txt";
        QCOMPARE(f->Window()->ActiveFrame()->windowTitle(), title);
        QTest::keyClicks(Edit(), "x");
        QCOMPARE(f->Window()->ActiveFrame()->windowTitle(), "*" + title);
        QCOMPARE(f->Window()->windowTitle(), "Zavio - *" + title);
        f->MenuAction(ID_FILE_SAVE)->trigger();
        QCOMPARE(f->Window()->ActiveFrame()->windowTitle(), title);
        QCOMPARE(f->Window()->windowTitle(), "Zavio - " + title);
    }
};

QTEST_MAIN(DesktopDocumentsTest)
#include "DesktopDocumentsTest.moc"
