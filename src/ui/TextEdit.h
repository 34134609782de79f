// The text of a document window. The raw bytes with CR LF line ends are the
// truth: the control keeps them as loaded and shows them decoded (CP932, or
// UTF-8 where the document's file is); only after the user edited the text is
// it encoded again, in the same encoding. Bytes that do not decode, and CR or
// LF bytes that are not part of a CR LF pair, are shown as reserved characters
// that encode back to the same bytes.
#pragma once

#include <QPlainTextEdit>
#include <QPointer>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/Host.h"

class QTextDocument;

namespace zavio {

class CDocument;
class QtHost;
class ZavioTextEdit;

// The text's font: a Japanese fixed-pitch font that has Latin letters too,
// as the original's ＭＳ ゴシック had, so no character falls back to another
// font (printed, a fallback font's characters sat off the line's baseline).
// The system's fixed font where there is none.
QFont ViewFont();

// A document's bytes (CP932, or UTF-8 where its file is) to the text shown,
// and back.
QString DecodeViewText(std::string_view bytes, TextEncoding encoding = TextEncoding::Cp932);
std::string EncodeViewText(const QString& text, TextEncoding encoding = TextEncoding::Cp932);

class QtEditControl : public EditControl {
public:
    QtEditControl(QtHost& host, CDocument& doc);
    ~QtEditControl() override;

    QTextDocument* TextDocument() const { return m_text.get(); }
    // Whether replacing the cursor's selection by `text` keeps the text
    // within the view's capacity.
    bool AllowsInsert(const QTextCursor& cursor, const QString& text) const;
    CDocument& Document() const { return m_doc; }
    // A new widget showing this text (one per window on the document).
    ZavioTextEdit* CreateEdit();
    // The widget the edit commands act on: the one in the active window.
    ZavioTextEdit* ActiveEdit() const;

    std::string GetText() const override;
    void SetText(std::string bytes) override;
    const std::string* HeldText() const override { return m_edited ? nullptr : &m_bytes; }
    void SetEncoding(TextEncoding encoding) override;
    std::size_t Capacity() const override;
    std::vector<char32_t> UnencodableCharacters() const override;
    void ReferenceUnencodableCharacters() override;
    void Undo() override;
    void Cut() override;
    void Copy() override;
    void Paste() override;
    void Clear() override;
    void SelectAll() override;
    void Find() override;
    void Replace() override;
    void Print() override;
    void PrintPreview() override;
    bool CanUndo() const override;
    bool HasSelection() const override;
    bool CanPaste() const override;

private:
    void OnContentsChanged();

    QtHost& m_host;
    CDocument& m_doc;
    std::unique_ptr<QTextDocument> m_text;
    std::string m_bytes;
    TextEncoding m_encoding = TextEncoding::Cp932;
    // A UTF-8 file's byte-order mark is not shown, and an edited text keeps it.
    bool m_byteOrderMark = false;
    bool m_edited = false;
    bool m_loading = false;
    std::vector<QPointer<ZavioTextEdit>> m_edits;
};

// One window's view of a document's text: word wrap at the window's width,
// no horizontal scrolling.
class ZavioTextEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    ZavioTextEdit(QtEditControl& control, QWidget* parent = nullptr);
    QtEditControl& Control() const { return m_control; }

signals:
    void leftButtonReleased();

protected:
    bool event(QEvent* event) override;
    // Typing, input methods, pasting and dropping stop at the capacity.
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QtEditControl& m_control;
};

}  // namespace zavio
