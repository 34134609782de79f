#include "rtf/ManuscriptReader.h"

#include <algorithm>

#include "framework/CodePages.h"
#include "framework/Cp932.h"

namespace zavio::rtf {
namespace {

// Real manuscripts nest groups seven deep; the cap keeps memory bounded
// whatever the input.
constexpr std::size_t kMaxGroupDepth = 1000;

// Where "{\rtf" begins once a byte-order mark and blanks are passed over;
// npos when the bytes do not start so.
std::size_t RtfStart(std::string_view bytes)
{
    std::size_t at = bytes.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
    while (at < bytes.size() && IsAsciiSpace(static_cast<unsigned char>(bytes[at]))) ++at;
    return bytes.compare(at, 5, "{\\rtf") == 0 ? at : std::string_view::npos;
}

// What may follow the group that holds the document: line ends, blanks,
// the zero bytes some writers pad files with and the end-of-file mark
// (Ctrl+Z) of DOS editors.
bool OnlyPaddingFrom(std::string_view bytes, std::size_t at)
{
    for (; at < bytes.size(); ++at) {
        const auto c = static_cast<unsigned char>(bytes[at]);
        if (c != '\0' && c != 0x1A && !IsAsciiSpace(c)) return false;
    }
    return true;
}

}  // namespace

ManuscriptReader::ManuscriptReader(std::string_view rtf, std::string_view baseName)
    : m_rtf(rtf), m_baseName(baseName), m_lexer(rtf.substr(std::min(RtfStart(rtf), rtf.size())))
{
}

bool ManuscriptReader::Fail(std::string reason)
{
    if (m_error.empty()) m_error = std::move(reason);
    return false;
}

std::optional<RtfManuscript> ManuscriptReader::Read(std::string& why)
{
    if (m_rtf.empty()) {
        why = ToCp932("RTF ファイルが空です (0 バイト)");
        return std::nullopt;
    }
    if (RtfStart(m_rtf) == std::string_view::npos) {
        why = ToCp932("RTF ファイルではありません ({\\rtf で始まっていません)");
        return std::nullopt;
    }
    Token token;
    bool closed = false;
    while (m_error.empty() && m_lexer.Next(token)) {
        if (m_skipDepth > 0) {
            OnSkippedToken(token);
        } else {
            OnToken(token);
        }
        if (m_groups.empty()) {
            closed = true;
            break;
        }
    }
    if (m_error.empty() && m_lexer.Failed()) Fail(ToCp932("RTF の \\bin のデータがファイルの終わりを越えています"));
    if (m_error.empty() && !closed)
        Fail(ToCp932("RTF ファイルが途中で終わっています (閉じていないグループがあります)"));
    if (m_error.empty() && !OnlyPaddingFrom(m_rtf, RtfStart(m_rtf) + m_lexer.Offset()))
        Fail(ToCp932("RTF の { と } の数が合いません (文書の終わりの後にまだ続きがあります)"));
    if (!m_error.empty()) {
        why = m_error;
        return std::nullopt;
    }

    PageHead head;
    head.title = Trim(m_title);
    if (head.title.empty()) AppendBytesAsHtml(m_baseName, ByteEncoding{ByteEncoding::Kind::CodePage, 932}, head.title);
    const auto font = m_fonts.find(m_defaultFont);
    if (font != m_fonts.end()) head.fontName = font->second.name;
    head.japanese = m_codePage == 932 || (font != m_fonts.end() && font->second.charset == 128);
    m_manuscript.html = m_writer.Finish(head);
    return std::move(m_manuscript);
}

void ManuscriptReader::OnToken(const Token& token)
{
    // "\*" asks to skip the group unless its destination is known here;
    // a group that ends right after it has nothing to skip.
    if (m_starPending && token.kind != TokenKind::ControlWord && token.kind != TokenKind::GroupClose) {
        m_starPending = false;
        SkipGroup();
        if (token.kind == TokenKind::GroupOpen) OnSkippedToken(token);
        return;
    }
    if (token.kind != TokenKind::GroupOpen) m_shapePictureEnded &= token.kind == TokenKind::ControlWord;
    switch (token.kind) {
        case TokenKind::GroupOpen:
            FlushText(false);
            OnGroupOpen();
            return;
        case TokenKind::GroupClose:
            FlushText(false);
            OnGroupClose();
            return;
        case TokenKind::Text:
            OnText(token.text);
            return;
        case TokenKind::HexByte:
            OnHexByte(token.byte);
            return;
        case TokenKind::Binary:
            FlushText(false);
            if (!ConsumeFallback()) OnBinary(token.text);
            return;
        case TokenKind::ControlSymbol:
            FlushText(true);  // "\\" may be the trail byte of the lead byte before it
            if (!ConsumeFallback()) OnControlSymbol(token.byte);
            return;
        case TokenKind::ControlWord:
            OnControlWord(token);
            return;
    }
}

// Inside a skipped group only the braces count.
void ManuscriptReader::OnSkippedToken(const Token& token)
{
    if (token.kind == TokenKind::GroupOpen) {
        if (m_groups.size() + static_cast<std::size_t>(++m_skipDepth) > kMaxGroupDepth)
            Fail(ToCp932("RTF のグループの入れ子が深すぎます (1000 段を超えています)"));
    } else if (token.kind == TokenKind::GroupClose && --m_skipDepth == 0) {
        OnGroupClose();
    }
}

void ManuscriptReader::OnGroupOpen()
{
    m_fallbacksLeft = 0;
    if (m_groups.size() >= kMaxGroupDepth) {
        Fail(ToCp932("RTF のグループの入れ子が深すぎます (1000 段を超えています)"));
        return;
    }
    if (m_groups.empty()) {
        m_groups.emplace_back();
        return;
    }
    GroupState inner = Top();
    inner.role = GroupRole::None;
    m_groups.push_back(std::move(inner));
}

void ManuscriptReader::OnGroupClose()
{
    m_fallbacksLeft = 0;
    m_starPending = false;
    const GroupState closed = std::move(m_groups.back());
    m_groups.pop_back();
    if (!m_groups.empty()) OnGroupEnd(closed);
}

void ManuscriptReader::SkipGroup()
{
    m_skipDepth = 1;
}

bool ManuscriptReader::TakesText(Destination dest) const
{
    return dest == Destination::Body || dest == Destination::ListText || dest == Destination::Title ||
           dest == Destination::FieldInstruction;
}

void ManuscriptReader::OnText(std::string_view text)
{
    if (ConsumeFallback()) {
        text.remove_prefix(1);
        while (!text.empty() && ConsumeFallback()) text.remove_prefix(1);
        if (text.empty()) return;
    }
    switch (Top().dest) {
        case Destination::FontTable:
            OnFontTableText(text);
            return;
        case Destination::StyleSheet:
            OnStyleSheetText(text);
            return;
        case Destination::Picture:
            OnPictureData(text);
            return;
        default:
            break;
    }
    // Word repeats a note's mark at the start of its text: "{\cs15 #}{ topic}".
    if (m_noteAwaitsMark && Top().flow == Flow::Note && Top().dest == Destination::Body) {
        m_noteAwaitsMark = false;
        if (text[0] == m_noteMark && (text.size() == 1 || text[1] == ' ')) text.remove_prefix(1);
        if (text.empty()) return;
    }
    AddBytes(text);
}

void ManuscriptReader::OnHexByte(unsigned char byte)
{
    if (ConsumeFallback()) return;
    const char c = static_cast<char>(byte);
    switch (Top().dest) {
        case Destination::FontTable:
            if (m_fontEntry >= 0) m_fonts[m_fontEntry].rawName += c;
            return;
        case Destination::StyleSheet:
            m_styleName += c;
            return;
        default:
            if (Top().flow == Flow::Note) m_noteAwaitsMark = false;
            AddBytes(std::string_view(&c, 1));
    }
}

void ManuscriptReader::OnBinary(std::string_view data)
{
    if (Top().dest != Destination::Picture) return;
    m_picture.nibble = -1;
    m_picture.bytes += data;
}

void ManuscriptReader::OnControlSymbol(unsigned char symbol)
{
    switch (symbol) {
        case '*':
            m_starPending = true;
            return;
        case '~':
            EmitCodePoint(0xA0);
            return;
        case '-':  // an optional hyphen shows only where a line breaks
            return;
        case '_':
            EmitCodePoint('-');
            return;
        default:
            // \\ \{ \} are text bytes: a trail byte 0x5C may be written "\\".
            // Other symbols (\" \: \|) stand for their character.
            if (symbol >= 0x20 && symbol < 0x7F) {
                const char c = static_cast<char>(symbol);
                if (Top().dest == Destination::StyleSheet || Top().dest == Destination::FontTable) return;
                AddBytes(std::string_view(&c, 1));
            }
    }
}

// Bytes that stand in for the \u character just read are passed over.
bool ManuscriptReader::ConsumeFallback()
{
    if (m_fallbacksLeft <= 0) return false;
    --m_fallbacksLeft;
    return true;
}

void ManuscriptReader::AddBytes(std::string_view bytes)
{
    if (bytes.empty() || !TakesText(Top().dest)) return;
    // \info's texts are in the document's code page, whatever the font.
    const ByteEncoding encoding = Top().dest == Destination::Title
                                      ? ByteEncoding{ByteEncoding::Kind::CodePage, m_codePage}
                                      : EncodingOfBytes(Top().chars, bytes);
    if (!m_pending.empty() && encoding != m_pendingEncoding) {
        FlushText(true);
        // A lead byte left waiting takes the first byte in its own encoding.
        if (!m_pending.empty()) {
            m_pending += bytes[0];
            bytes.remove_prefix(1);
            FlushText(false);
        }
    }
    m_pendingEncoding = encoding;
    m_pending += bytes;
}

// Decodes the waiting bytes into the destination of the group now open.
// With `keepLead` a lead byte at the end waits for its trail byte.
void ManuscriptReader::FlushText(bool keepLead)
{
    if (m_pending.empty()) return;
    m_html.clear();
    const std::size_t read = AppendBytesAsHtml(m_pending, m_pendingEncoding, m_html, keepLead);
    m_pending.erase(0, read);
    if (m_pendingEncoding.kind == ByteEncoding::Kind::PictureFont) ShowInFont(m_pendingEncoding.codePage);
    Emit(m_html);
}

// A picture font's private-use characters show as its pictures only in that
// font, as Word writes them: on Windows, where help is read, it is there.
void ManuscriptReader::ShowInFont(unsigned font)
{
    const auto found = m_fonts.find(static_cast<int>(font));
    if (found == m_fonts.end() || m_html.empty()) return;
    const std::string name = MbRemoveAscii(found->second.name, "\"'&<>");
    m_html = "<span style='font-family:\"" + name + "\"'>" + m_html + "</span>";
}

void ManuscriptReader::Emit(std::string_view html)
{
    if (html.empty()) return;
    GroupState& state = Top();
    switch (state.dest) {
        case Destination::Body:
            m_writer.Text(state.flow, html, state.chars.shown, state.para.format);
            return;
        case Destination::ListText:
            if (!state.chars.shown.hidden) m_writer.ListLabel(state.flow, html);
            return;
        case Destination::Title:
            m_title += html;
            return;
        case Destination::FieldInstruction:
            if (state.field >= 0) m_fields[static_cast<std::size_t>(state.field)].instruction += html;
            return;
        default:
            return;
    }
}

void ManuscriptReader::EmitCodePoint(char32_t codePoint)
{
    FlushText(false);
    if (!TakesText(Top().dest)) return;
    if (Top().flow == Flow::Note) m_noteAwaitsMark = false;
    // Word writes the Symbol font's characters as U+F020-U+F0FF.
    const ByteEncoding encoding = EncodingOf(Top().chars);
    const bool fontCharacter = codePoint >= 0xF020 && codePoint <= 0xF0FF;
    if (encoding.kind == ByteEncoding::Kind::SymbolFont && fontCharacter)
        codePoint = SymbolFontCodePoint(static_cast<unsigned char>(codePoint - 0xF000));
    m_html.clear();
    AppendCodePointAsHtml(codePoint, m_html);
    if (encoding.kind == ByteEncoding::Kind::PictureFont && fontCharacter) ShowInFont(encoding.codePage);
    Emit(m_html);
}

// \loch text holds only bytes below 0x80: a byte above in a \loch run is
// read in the double-byte font when that is one of a double-byte code page
// (as RTF readers tell a character's class by its byte), else in the
// high-ANSI font.
ByteEncoding ManuscriptReader::EncodingOfBytes(const CharProps& chars, std::string_view bytes)
{
    if (chars.fontClass != FontClass::LowAnsi || IsAscii(bytes)) return EncodingOf(chars, chars.fontClass);
    const ByteEncoding doubleByte = EncodingOf(chars, FontClass::DoubleByte);
    const bool isDoubleByte = doubleByte.kind == ByteEncoding::Kind::CodePage && IsKnownCodePage(doubleByte.codePage) &&
                              !IsSingleByteCodePage(doubleByte.codePage);
    return isDoubleByte ? doubleByte : EncodingOf(chars, FontClass::HighAnsi);
}

// The encoding of the font of a class of characters, the run's font when
// the class has none of its own.
ByteEncoding ManuscriptReader::EncodingOf(const CharProps& chars, FontClass fontClass)
{
    int font = chars.font;
    if (fontClass != FontClass::None) {
        const int classFont = chars.classFonts[static_cast<int>(fontClass) - 1];
        if (classFont >= 0) font = classFont;
    }
    if (font < 0) font = m_defaultFont;
    if (font != m_cachedFont) {
        m_cachedEncoding = EncodingOfFont(font);
        m_cachedFont = font;
    }
    return m_cachedEncoding;
}

// A font's bytes are read in its character set's code page; a font without
// one (or of the default set) is read in the document's code page.
ByteEncoding ManuscriptReader::EncodingOfFont(int font)
{
    ByteEncoding encoding{ByteEncoding::Kind::CodePage, m_codePage};
    const auto found = m_fonts.find(font);
    if (found == m_fonts.end()) return encoding;
    const FontEntry& entry = found->second;
    if (entry.symbol) return ByteEncoding{ByteEncoding::Kind::SymbolFont, 0};
    if (entry.charset == 2) return ByteEncoding{ByteEncoding::Kind::PictureFont, static_cast<unsigned>(font)};
    if (IsKnownCodePage(entry.codePage)) {
        encoding.codePage = entry.codePage;
    } else if (const unsigned codePage = CodePageOfCharset(entry.charset); codePage != 0) {
        encoding.codePage = codePage;
    }
    return encoding;
}

}  // namespace zavio::rtf

namespace zavio {

std::optional<RtfManuscript> ReadRtfManuscript(std::string_view rtf, std::string_view baseName, std::string& why)
{
    return rtf::ManuscriptReader(rtf, baseName).Read(why);
}

bool LooksLikeRtf(std::string_view bytes)
{
    return rtf::RtfStart(bytes) != std::string_view::npos;
}

}  // namespace zavio
