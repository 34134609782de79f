// The text of a document window: raw CP932 (or UTF-8) bytes survive showing
// and editing; the view wraps instead of scrolling sideways.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QFontDatabase>
#include <QGlyphRun>
#include <QLineEdit>
#include <QPrinter>
#include <QRadioButton>
#include <QRawFont>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include "ScriptedQtHost.h"
#include "doc/ZavioDoc.h"
#include "framework/Cp932.h"
#include "framework/EditView.h"
#include "ui/FindDialog.h"
#include "ui/QtHost.h"
#include "ui/TextEdit.h"

using namespace zavio;
using zavio::test::GuiFixture;

class EditControlTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<GuiFixture> f;
    CZavioDoc* m_doc = nullptr;  // the start-up document, which the tests type into
    CEditView& View() { return *m_doc->GetView(); }

private slots:
    void init()
    {
        f = std::make_unique<GuiFixture>();
        QVERIFY(f->Start());
        m_doc = f->App().m_pStartupDoc;
    }
    void cleanup() { f.reset(); }

    void bytesComeBackUnchangedWhenNotEdited()
    {
        // 表 and ソ carry 0x5C, 0x80 and 0xA0 are not CP932, a lone CR sits
        // inside a line, a lone LF too, and the text ends without CR LF.
        const std::string bytes = std::string("\x95\x5C\x83\x5C") + "\x80\xA0" + "a\rb\r\n" + "c\nd\r\n\r\nend";
        View().Control().SetText(bytes);
        QCOMPARE(View().GetRawText(), bytes);
        QCOMPARE(f->Window()->ActiveEdit()->document()->blockCount(), 4);
        QVERIFY(!m_doc->IsModified());
    }

    void editingReencodesAndKeepsUndecodableBytes()
    {
        const std::string bytes = std::string("\x80\xFD") + "x\r\n" + ToCp932("二行目") + "\r\n";
        View().Control().SetText(bytes);
        ZavioTextEdit* edit = f->Window()->ActiveEdit();
        QTextCursor cursor = edit->textCursor();
        cursor.movePosition(QTextCursor::End);
        edit->setTextCursor(cursor);
        QTest::keyClicks(edit, "z");
        edit->insertPlainText("三");
        QCOMPARE(View().GetRawText(), bytes + "z" + ToCp932("三"));
        QVERIFY(m_doc->IsModified());
    }

    void utf8TextIsShownAndEditedAsUtf8()
    {
        // A byte-order mark, é (not in CP932), 表 and a byte that is no UTF-8.
        const std::string bytes =
            "\xEF\xBB\xBF"
            "caf\xC3\xA9 \xE8\xA1\xA8\xFF\r\nx";
        m_doc->SetTextEncoding(TextEncoding::Utf8);
        View().Control().SetText(bytes);
        ZavioTextEdit* edit = f->Window()->ActiveEdit();
        QCOMPARE(edit->document()->firstBlock().text().left(6), QString::fromUtf8("café 表"));
        QCOMPARE(View().GetRawText(), bytes);
        QTextCursor cursor = edit->textCursor();
        cursor.movePosition(QTextCursor::End);
        edit->setTextCursor(cursor);
        edit->insertPlainText("三");
        QCOMPARE(View().GetRawText(), bytes + "\xE4\xB8\x89");
    }

    void linesWrapAtTheWindowWidth()
    {
        ZavioTextEdit* edit = f->Window()->ActiveEdit();
        QCOMPARE(edit->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        QCOMPARE(edit->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        const std::string line(5000, 'w');
        View().Control().SetText(line);
        QVERIFY(QTest::qWaitForWindowExposed(f->Window()));
        QTRY_VERIFY(edit->document()->firstBlock().layout()->lineCount() > 1);
        QCOMPARE(View().GetRawText(), line);
    }

    // Latin and Japanese come from one font, so printed they share a
    // baseline: a fallback font's characters sat lower in print preview.
    void latinAndJapaneseShareOneFont()
    {
        if (QFontDatabase::families(QFontDatabase::Japanese).isEmpty()) QSKIP("no Japanese font installed");
        QPrinter printer(QPrinter::HighResolution);
        QTextLayout layout("Latin 日本語 text", f->Window()->ActiveEdit()->document()->defaultFont(), &printer);
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        QStringList fonts;
        for (const QGlyphRun& run : layout.glyphRuns()) fonts << run.rawFont().familyName();
        QCOMPARE(fonts.size(), 1);
    }

    // A window takes a manuscript far over the platform's 1000 KB; past its
    // own limit it keeps the old text and says what the limit is.
    void windowsHoldLargeFilesUpToTheirLimit()
    {
        std::string manuscript;
        while (manuscript.size() < 1600 * 1024) manuscript += std::string(78, 'm') + "\r\n";
        QVERIFY(View().SetRawText(manuscript));
        QCOMPARE(View().GetRawText().size(), manuscript.size());
        QVERIFY(kDesktopViewCapacity >= 64 * 1024 * 1024);
        QVERIFY(!View().SetRawText(std::string(kDesktopViewCapacity + 1, 'a')));
        QCOMPARE(View().GetRawText().size(), manuscript.size());
        QCOMPARE(f->Host().m_messages.size(), size_t{1});
        QCOMPARE(f->Host().m_messages[0].text, QString("ファイルが大きすぎて開けません。\n\n開けるファイルは 64 MB までです。"));
    }

    // Typing, pasting and replacing stop at the capacity, keeping room for the
    // line break that reopening adds to the last line: what the window saves,
    // it opens again.
    void editsStopAtTheCapacity()
    {
        f->Host().SetViewCapacity(kEditViewCapacity);  // any limit; this one is quick to fill
        std::string text;
        while (text.size() + 200 <= kEditViewCapacity) text += std::string(98, 'a') + "\r\n";
        text += std::string(kEditViewCapacity - 4 - text.size(), 'b');
        QVERIFY(View().SetRawText(text));
        ZavioTextEdit* edit = f->Window()->ActiveEdit();
        edit->moveCursor(QTextCursor::End);
        QTest::keyClicks(edit, "xyz");
        QApplication::clipboard()->setText("pasted");
        edit->paste();
        QCOMPARE(View().GetRawText(), text + "xy");
        // Replacing by something no longer is allowed.
        edit->moveCursor(QTextCursor::Start);
        edit->moveCursor(QTextCursor::Right, QTextCursor::KeepAnchor);
        QTest::keyClicks(edit, "c");
        QCOMPARE(View().GetRawText().substr(0, 2), std::string("ca"));

        m_doc->m_strPath = ToCp932((f->Folder() + "full.txt").toStdString());
        QVERIFY(m_doc->SaveDocument(false));
        QVERIFY(QFile::copy(f->Folder() + "full.txt", f->Folder() + "again.txt"));
        QVERIFY(f->App().OpenDocumentFile(ToCp932((f->Folder() + "again.txt").toStdString())));
    }

    // In UTF-8 a character takes up to three bytes: the capacity holds all the same.
    void utf8EditsStopAtTheCapacity()
    {
        std::string line;
        for (int i = 0; i < 32; ++i) line += "\xE3\x81\x82";  // あ
        f->Host().SetViewCapacity(kEditViewCapacity);
        std::string text;
        while (text.size() + 200 <= kEditViewCapacity) text += line + "\r\n";
        text += std::string(kEditViewCapacity - 4 - text.size(), 'b');
        m_doc->SetTextEncoding(TextEncoding::Utf8);
        QVERIFY(View().SetRawText(text));
        ZavioTextEdit* edit = f->Window()->ActiveEdit();
        edit->moveCursor(QTextCursor::End);
        QApplication::clipboard()->setText("あ");
        edit->paste();
        QTest::keyClicks(edit, "xyz");
        QCOMPARE(View().GetRawText(), text + "xy");
    }

    void findAndReplaceWorkOnTheText()
    {
        View().Control().SetText(ToCp932("あいう あいう"));
        f->App().ExecuteCommand(57641);  // replace
        auto* dialog = f->Window()->findChild<FindDialog*>("replaceDialog");
        QVERIFY(dialog);
        dialog->FindField()->setText("あい");
        dialog->ReplaceField()->setText("か");
        QCOMPARE(dialog->ReplaceAll(), 2);
        QCOMPARE(View().GetRawText(), ToCp932("かう かう"));
        f->Window()->ActiveEdit()->undo();
        QCOMPARE(View().GetRawText(), ToCp932("あいう あいう"));
    }

    // Whole words, upwards, and a message when nothing more is found; the
    // replace box then starts with what Find looked for.
    void findOptionsAndTheEndOfTheSearch()
    {
        View().Control().SetText("cat concat cat");
        ZavioTextEdit* edit = f->Window()->ActiveEdit();
        edit->moveCursor(QTextCursor::End);
        f->App().ExecuteCommand(57636);  // find
        auto* find = f->Window()->findChild<FindDialog*>("findDialog");
        QVERIFY(find);
        find->FindField()->setText("cat");
        find->WholeWord()->setChecked(true);
        find->Up()->setChecked(true);
        QVERIFY(find->FindNext());
        QCOMPARE(edit->textCursor().selectionStart(), 11);
        QVERIFY(find->FindNext());
        QCOMPARE(edit->textCursor().selectionStart(), 0);  // not the "cat" in "concat"
        QVERIFY(f->Host().m_messages.empty());
        QVERIFY(!find->FindNext());
        QCOMPARE(f->Host().m_messages.size(), size_t{1});
        QCOMPARE(f->Host().m_messages[0].text, QString("\"cat\" が見つかりません。"));

        edit->moveCursor(QTextCursor::Start);
        f->App().ExecuteCommand(57641);  // replace: the find box gives way
        auto* replace = f->Window()->findChild<FindDialog*>("replaceDialog");
        QVERIFY(replace);
        QTRY_VERIFY(!f->Window()->findChild<FindDialog*>("findDialog"));
        QCOMPARE(replace->FindField()->text(), QString("cat"));
        QVERIFY(replace->WholeWord()->isChecked());
    }
};

QTEST_MAIN(EditControlTest)
#include "EditControlTest.moc"
