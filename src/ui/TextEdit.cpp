#include "ui/TextEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QFontDatabase>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QPlainTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <set>

#include "app/ZavioView.h"
#include "framework/Cp932.h"
#include "framework/Document.h"
#include "framework/EditView.h"
#include "ui/FindDialog.h"
#include "ui/MainWindow.h"
#include "ui/QtHost.h"

namespace zavio {
namespace {

// The reserved code points for single bytes (U+F700 + byte), as the
// lossless codec uses them.
constexpr char16_t kEscapedCR = 0xF700 + '\r';
constexpr char16_t kEscapedLF = 0xF700 + '\n';
constexpr char16_t kEscapedNul = 0xF700;

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

QFont ViewFont()
{
    const QFont system = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    const QStringList japanese = QFontDatabase::families(QFontDatabase::Japanese);
    const auto withSize = [&system](const QString& family) {
        QFont font(family);
        font.setPointSizeF(system.pointSizeF());
        return font;
    };
    for (const char* preferred : {"ＭＳ ゴシック", "MS Gothic", "Noto Sans Mono CJK JP", "Source Han Code JP",
                                  "IPAGothic", "IPAゴシック", "VL Gothic", "TakaoGothic"}) {
        if (japanese.contains(QString::fromUtf8(preferred))) return withSize(QString::fromUtf8(preferred));
    }
    for (const QString& family : japanese) {
        if (QFontDatabase::isFixedPitch(family) && QFontDatabase::writingSystems(family).contains(QFontDatabase::Latin))
            return withSize(family);
    }
    return system;
}

// Decoded whole, then CR LF pairs become line ends in the same pass: a
// manuscript has a hundred thousand lines. A CR or LF that is not part of a
// pair, and a zero byte, is not a line end here: it stays visible and
// unchanged.
QString DecodeViewText(std::string_view bytes, TextEncoding encoding)
{
    QString text =
        QString::fromStdString(encoding == TextEncoding::Utf8 ? DecodeUtf8Lossless(bytes) : DecodeCp932Lossless(bytes));
    QChar* out = text.data();
    const QChar* end = out + text.size();
    qsizetype kept = 0;
    for (const QChar* c = out; c < end; ++c) {
        if (*c == u'\r' && c + 1 < end && c[1] == u'\n') {
            out[kept++] = u'\n';
            ++c;
        } else if (*c == u'\r') {
            out[kept++] = QChar(kEscapedCR);
        } else if (*c == u'\n') {
            out[kept++] = QChar(kEscapedLF);
        } else if (*c == u'\0') {
            out[kept++] = QChar(kEscapedNul);
        } else {
            out[kept++] = *c;
        }
    }
    text.truncate(kept);
    return text;
}

std::string EncodeViewText(const QString& text, TextEncoding encoding)
{
    std::string bytes;
    const QStringList lines = text.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0) bytes += "\r\n";
        const std::string line = lines[i].toStdString();
        bytes += encoding == TextEncoding::Utf8 ? EncodeUtf8Lossless(line) : EncodeCp932Lossless(line);
    }
    return bytes;
}

QtEditControl::QtEditControl(QtHost& host, CDocument& doc)
    : m_host(host), m_doc(doc), m_text(std::make_unique<QTextDocument>())
{
    m_text->setDocumentLayout(new QPlainTextDocumentLayout(m_text.get()));
    m_text->setDefaultFont(ViewFont());
    QObject::connect(m_text.get(), &QTextDocument::contentsChanged, [this] { OnContentsChanged(); });
}

QtEditControl::~QtEditControl()
{
    // A widget still showing the text must not outlive it.
    for (const QPointer<ZavioTextEdit>& edit : m_edits) delete edit.data();
}

ZavioTextEdit* QtEditControl::CreateEdit()
{
    auto* edit = new ZavioTextEdit(*this);
    m_edits.emplace_back(edit);
    return edit;
}

ZavioTextEdit* QtEditControl::ActiveEdit() const
{
    ZavioTextEdit* active = m_host.Window() ? m_host.Window()->ActiveEdit() : nullptr;
    ZavioTextEdit* first = nullptr;
    for (const QPointer<ZavioTextEdit>& edit : m_edits) {
        if (!edit) continue;
        if (edit == active) return active;
        if (!first) first = edit;
    }
    return first;
}

bool QtEditControl::AllowsInsert(const QTextCursor& cursor, const QString& text) const
{
    if (text.isEmpty()) return true;
    // Reopening a saved file ends its last line with CR LF: keep room for
    // it, so that what the window saves it can open again.
    constexpr std::size_t kLastLineBreak = 2;
    // A character is at most two bytes in CP932 and three per UTF-16 unit in
    // UTF-8, a line break exactly two: most texts are far enough below the
    // capacity not to be counted.
    const std::size_t bytesPerUnit = m_encoding == TextEncoding::Utf8 ? 3 : 2;
    const auto atMost = [bytesPerUnit](qsizetype characters) {
        return bytesPerUnit * static_cast<std::size_t>(characters);
    };
    if (atMost(m_text->characterCount() + text.size()) + kLastLineBreak <= Capacity()) return true;
    QString inserted = text;
    inserted.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    const std::size_t removed =
        EncodeViewText(cursor.selectedText().replace(QChar::ParagraphSeparator, u'\n'), m_encoding).size();
    const std::size_t after = GetText().size() - removed + EncodeViewText(inserted, m_encoding).size();
    return after + kLastLineBreak <= Capacity();
}

std::size_t QtEditControl::Capacity() const
{
    return m_host.ViewCapacity();
}

namespace {

// Each character of a block the text's encoding cannot hold: its position in
// the block, its length in UTF-16 units and its code point.
template <class Visit>
void ForEachUnencodable(const QString& block, Visit visit)
{
    for (qsizetype i = 0; i < block.size();) {
        qsizetype length = 1;
        char32_t codePoint = block[i].unicode();
        if (block[i].isHighSurrogate() && i + 1 < block.size() && block[i + 1].isLowSurrogate()) {
            codePoint = QChar::surrogateToUcs4(block[i], block[i + 1]);
            length = 2;
        }
        if (!EncodesLosslessly(codePoint)) visit(i, length, codePoint);
        i += length;
    }
}

}  // namespace

// Text as it was loaded has its bytes already; UTF-8 holds every character.
std::vector<char32_t> QtEditControl::UnencodableCharacters() const
{
    std::vector<char32_t> found;
    if (!m_edited || m_encoding == TextEncoding::Utf8) return found;
    std::set<char32_t> seen;
    for (QTextBlock block = m_text->begin(); block.isValid(); block = block.next()) {
        ForEachUnencodable(block.text(), [&](qsizetype, qsizetype, char32_t codePoint) {
            if (seen.insert(codePoint).second) found.push_back(codePoint);
        });
    }
    return found;
}

void QtEditControl::ReferenceUnencodableCharacters()
{
    if (!m_edited || m_encoding == TextEncoding::Utf8) return;
    QTextCursor cursor(m_text.get());
    cursor.beginEditBlock();
    // From the end, so that the places still to come stay where they were.
    for (QTextBlock block = m_text->lastBlock(); block.isValid(); block = block.previous()) {
        struct Place {
            qsizetype start, length;
            char32_t codePoint;
        };
        std::vector<Place> places;
        ForEachUnencodable(block.text(), [&places](qsizetype start, qsizetype length, char32_t codePoint) {
            places.push_back({start, length, codePoint});
        });
        for (auto place = places.rbegin(); place != places.rend(); ++place) {
            cursor.setPosition(block.position() + static_cast<int>(place->start));
            cursor.setPosition(block.position() + static_cast<int>(place->start + place->length),
                               QTextCursor::KeepAnchor);
            cursor.insertText(QStringLiteral("&#%1;").arg(static_cast<unsigned>(place->codePoint)));
        }
    }
    cursor.endEditBlock();
}

void QtEditControl::OnContentsChanged()
{
    if (m_loading) return;
    m_edited = true;
    m_doc.SetModifiedFlag(true);
}

std::string QtEditControl::GetText() const
{
    // Unedited text is handed back byte for byte; edited text is encoded
    // again, and the lossless codec gives unchanged lines their old bytes.
    if (!m_edited) return m_bytes;
    std::string bytes = EncodeViewText(m_text->toPlainText(), m_encoding);
    if (m_byteOrderMark) bytes.insert(0, kByteOrderMark);
    return bytes;
}

void QtEditControl::SetText(std::string bytes)
{
    std::string_view shown = bytes;
    m_byteOrderMark = m_encoding == TextEncoding::Utf8 && shown.substr(0, kByteOrderMark.size()) == kByteOrderMark;
    if (m_byteOrderMark) shown.remove_prefix(kByteOrderMark.size());
    m_loading = true;
    m_text->setPlainText(DecodeViewText(shown, m_encoding));
    m_loading = false;
    m_bytes = std::move(bytes);
    m_edited = false;
}

void QtEditControl::SetEncoding(TextEncoding encoding)
{
    if (encoding == m_encoding) return;
    // The bytes stay what they are; only how they are shown changes.
    std::string bytes = GetText();
    const bool edited = m_edited;
    m_encoding = encoding;
    SetText(std::move(bytes));
    if (edited) m_edited = true;
}

void QtEditControl::Undo()
{
    if (ZavioTextEdit* edit = ActiveEdit()) edit->undo();
}

void QtEditControl::Cut()
{
    if (ZavioTextEdit* edit = ActiveEdit()) edit->cut();
}

void QtEditControl::Copy()
{
    if (ZavioTextEdit* edit = ActiveEdit()) edit->copy();
}

void QtEditControl::Paste()
{
    if (ZavioTextEdit* edit = ActiveEdit()) edit->paste();
}

void QtEditControl::Clear()
{
    if (ZavioTextEdit* edit = ActiveEdit()) edit->textCursor().removeSelectedText();
}

void QtEditControl::SelectAll()
{
    if (ZavioTextEdit* edit = ActiveEdit()) edit->selectAll();
}

void QtEditControl::Find()
{
    if (ZavioTextEdit* edit = ActiveEdit()) ShowFindDialog(*edit, false);
}

void QtEditControl::Replace()
{
    if (ZavioTextEdit* edit = ActiveEdit()) ShowFindDialog(*edit, true);
}

void QtEditControl::Print()
{
    if (ZavioTextEdit* edit = ActiveEdit()) m_host.PrintEdit(*edit);
}

void QtEditControl::PrintPreview()
{
    if (ZavioTextEdit* edit = ActiveEdit()) m_host.PreviewEdit(*edit);
}

bool QtEditControl::CanUndo() const
{
    return m_text->isUndoAvailable();
}

bool QtEditControl::HasSelection() const
{
    ZavioTextEdit* edit = ActiveEdit();
    return edit && edit->textCursor().hasSelection();
}

bool QtEditControl::CanPaste() const
{
    const QMimeData* data = QApplication::clipboard()->mimeData();
    return data && data->hasText();
}

ZavioTextEdit::ZavioTextEdit(QtEditControl& control, QWidget* parent) : QPlainTextEdit(parent), m_control(control)
{
    setDocument(control.TextDocument());
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // Japanese text has no blanks to break at: wrap anywhere when needed.
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

bool ZavioTextEdit::event(QEvent* event)
{
    // The program's accelerators (Ctrl+C, Ctrl+Z, ...) go through the command
    // router and its help-mode, not straight to the editor.
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (MainWindow::IsAcceleratorKey(QKeySequence(key->keyCombination()))) {
            event->ignore();
            return true;
        }
    }
    return QPlainTextEdit::event(event);
}

namespace {

// The text a key press puts into the editor, or nothing.
QString TypedText(const QKeyEvent& event)
{
    if (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter) return QStringLiteral("\n");
    const QString text = event.text();
    if (text.isEmpty() || !(text.at(0).isPrint() || text.at(0) == u'\t')) return {};
    return text;
}

}  // namespace

void ZavioTextEdit::keyPressEvent(QKeyEvent* event)
{
    if (!isReadOnly() && !m_control.AllowsInsert(textCursor(), TypedText(*event))) {
        QApplication::beep();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void ZavioTextEdit::inputMethodEvent(QInputMethodEvent* event)
{
    if (!m_control.AllowsInsert(textCursor(), event->commitString())) {
        QApplication::beep();
        // The composition goes on; only the text that would not fit is refused.
        QInputMethodEvent kept(event->preeditString(), event->attributes());
        QPlainTextEdit::inputMethodEvent(&kept);
        return;
    }
    QPlainTextEdit::inputMethodEvent(event);
}

void ZavioTextEdit::insertFromMimeData(const QMimeData* source)
{
    if (source && source->hasText() && !m_control.AllowsInsert(textCursor(), source->text())) {
        QApplication::beep();
        return;
    }
    QPlainTextEdit::insertFromMimeData(source);
}

void ZavioTextEdit::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        if (auto* view = dynamic_cast<CZavioView*>(m_control.Document().GetView())) view->OnLButtonUp();
        emit leftButtonReleased();
    }
    QPlainTextEdit::mouseReleaseEvent(event);
}

// Dropped files are for the main window to open, not text to insert.
void ZavioTextEdit::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls()) {
        event->ignore();
        return;
    }
    QPlainTextEdit::dragEnterEvent(event);
}

void ZavioTextEdit::dragMoveEvent(QDragMoveEvent* event)
{
    if (event->mimeData()->hasUrls()) {
        event->ignore();
        return;
    }
    QPlainTextEdit::dragMoveEvent(event);
}

void ZavioTextEdit::dropEvent(QDropEvent* event)
{
    if (event->mimeData()->hasUrls()) {
        event->ignore();
        return;
    }
    QPlainTextEdit::dropEvent(event);
}

}  // namespace zavio
