// The destinations that hold more than the page's text: the font table, the
// style sheet, \info's title, footnotes, fields and pictures.
#include <algorithm>

#include "framework/CodePages.h"
#include "framework/Cp932.h"
#include "rtf/ManuscriptReader.h"

namespace zavio::rtf {
namespace {

int HexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The level of a heading style, "heading 1" to "heading 9" (Japanese Word's
// own name too); 0 for any other style. `name` is lower case.
int HeadingLevel(std::string_view name)
{
    for (std::string_view prefix : {std::string_view("heading"), std::string_view(ToCp932("見出し"))}) {
        if (name.substr(0, prefix.size()) != prefix) continue;
        std::string_view rest = name.substr(prefix.size());
        if (!rest.empty() && rest[0] == ' ') rest.remove_prefix(1);
        if (rest.size() == 1 && rest[0] >= '1' && rest[0] <= '9') return rest[0] - '0';
    }
    return 0;
}

// The words of a field's code: quoted arguments lose their quotes.
std::vector<std::string> FieldArguments(std::string_view code)
{
    std::vector<std::string> args;
    std::size_t i = 0;
    while (i < code.size()) {
        if (code[i] == ' ') {
            ++i;
        } else if (code[i] == '"') {
            const std::size_t end = std::min(code.find('"', i + 1), code.size());
            args.emplace_back(code.substr(i + 1, end - i - 1));
            i = end + 1;
        } else {
            const std::size_t end = std::min(code.find(' ', i), code.size());
            args.emplace_back(code.substr(i, end - i));
            i = end;
        }
    }
    return args;
}

bool IsSwitch(const std::string& arg, char letter)
{
    return arg.size() == 2 && arg[0] == '\\' && (arg[1] | 0x20) == letter;
}

// A field's path doubles its backslashes ("C:\\help"); an attribute value
// cannot hold a double quote.
std::string HrefOf(std::string_view url, std::string_view anchor)
{
    std::string href = MbReplaceAll(url, "\\\\", "\\");
    if (!anchor.empty()) href += "#" + std::string(anchor);
    return MbReplaceAll(href, "\"", "&quot;");
}

// A number of a field's code: decimal, or hexadecimal after "0x".
long long FieldNumber(std::string_view text)
{
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] | 0x20) == 'x') {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty()) return -1;
    long long value = 0;
    for (char c : text) {
        const int digit = base == 16 ? HexValue(c) : (c >= '0' && c <= '9' ? c - '0' : -1);
        if (digit < 0) return -1;
        value = std::min(value * base + digit, 0x10FFFFLL + 1);
    }
    return value;
}

std::string PictureFormatName(PictureFormat format)
{
    switch (format) {
        case PictureFormat::WindowsMetafile:
            return "WMF";
        case PictureFormat::EnhancedMetafile:
            return "EMF";
        case PictureFormat::Bitmap:
            return "BMP";
        case PictureFormat::MacPict:
            return "PICT";
        case PictureFormat::Os2Metafile:
            return ToCp932("OS/2 メタファイル");
        default:
            return ToCp932("形式不明");
    }
}

long long& PictureSize(PictureData& picture, Keyword keyword)
{
    switch (keyword) {
        case Keyword::PictureGoalWidth:
            return picture.goalWidth;
        case Keyword::PictureGoalHeight:
            return picture.goalHeight;
        case Keyword::PictureScaleX:
            return picture.scaleX;
        default:
            return picture.scaleY;
    }
}

// A file name in an attribute value.
std::string AttributeText(std::string_view name)
{
    std::string text;
    for (char c : name) {
        if (c == '&')
            text += "&amp;";
        else if (c == '"')
            text += "&quot;";
        else
            text += c;
    }
    return text;
}

}  // namespace

bool ManuscriptReader::OnDestinationWord(const KeywordInfo& word, const Token& token)
{
    GroupState& state = Top();
    switch (word.keyword) {
        case Keyword::SkippedDestination:
            SkipGroup();
            return true;
        case Keyword::FontTable:
            state.dest = Destination::FontTable;
            m_fontEntry = -1;
            return true;
        case Keyword::StyleSheet:
            state.dest = Destination::StyleSheet;
            return true;
        case Keyword::Info:
            state.dest = Destination::Ignored;
            return true;
        case Keyword::Title:
            if (state.dest == Destination::Ignored)
                state.dest = Destination::Title;
            else
                SkipGroup();
            return true;
        case Keyword::Footnote:
            BeginFootnote();
            return true;
        case Keyword::Field:
            BeginField();
            return true;
        case Keyword::FieldInstruction:
            BeginFieldInstruction();
            return true;
        case Keyword::FieldResult:
            BeginFieldResult();
            return true;
        case Keyword::Picture:
            BeginPicture();
            return true;
        case Keyword::ShapePicture:
            if (TakesRole()) state.role = GroupRole::ShapePicture;
            return true;
        case Keyword::NonShapePicture:
            // The fallback of the picture just read.
            if (m_shapePictureEnded) SkipGroup();
            return true;
        case Keyword::ListText:
            if (!TakesRole()) return true;
            if (state.dest == Destination::Body) {
                state.dest = Destination::ListText;
                state.role = GroupRole::ListText;
            } else {
                SkipGroup();
            }
            return true;
        case Keyword::NestedRowProperties:
            state.dest = Destination::Ignored;
            return true;
        case Keyword::PictureFormatWord:
            if (state.dest == Destination::Picture) m_picture.format = static_cast<PictureFormat>(word.value);
            return true;
        case Keyword::PictureGoalWidth:
        case Keyword::PictureGoalHeight:
        case Keyword::PictureScaleX:
        case Keyword::PictureScaleY:
            if (state.dest == Destination::Picture) PictureSize(m_picture, word.keyword) = token.param;
            return true;
        default:
            return false;
    }
}

void ManuscriptReader::OnGroupEnd(const GroupState& closed)
{
    switch (closed.role) {
        case GroupRole::Footnote:
            EndFootnote();
            break;
        case GroupRole::Field:
            EndField(closed);
            break;
        case GroupRole::FieldResult: {
            const Field& field = m_fields[static_cast<std::size_t>(closed.field)];
            if (field.kind == FieldKind::Hyperlink && field.outer == Destination::Body) m_writer.EndLink(closed.flow);
            break;
        }
        case GroupRole::Picture:
            EndPicture(closed);
            break;
        case GroupRole::ShapePicture:
            m_shapePictureEnded = true;
            break;
        default:
            break;
    }
    // An entry that the writer closed with its group instead of ";".
    if (closed.dest == Destination::FontTable && m_fontEntry >= 0 && !m_fonts[m_fontEntry].rawName.empty())
        FinishFontEntry();
    if (closed.dest == Destination::StyleSheet && !m_styleName.empty()) FinishStyleEntry(closed.chars);
}

void ManuscriptReader::OnFontTableText(std::string_view text)
{
    for (char c : text) {
        if (c == ';')
            FinishFontEntry();
        else if (m_fontEntry >= 0)
            m_fonts[m_fontEntry].rawName += c;
    }
}

void ManuscriptReader::FinishFontEntry()
{
    if (m_fontEntry < 0) return;
    FontEntry& entry = m_fonts[m_fontEntry];
    // A font's name is written in its own character set (ＭＳ 明朝 in 932).
    unsigned codePage = IsKnownCodePage(entry.codePage) ? entry.codePage : CodePageOfCharset(entry.charset);
    if (codePage == 0) codePage = m_codePage;
    std::string name;
    AppendBytesAsHtml(entry.rawName, ByteEncoding{ByteEncoding::Kind::CodePage, codePage}, name);
    entry.name = Trim(name);
    const std::string lower = MbLowerAscii(entry.name);
    entry.symbol = lower == "symbol";
    m_fontNamed[lower] = m_fontEntry;
    entry.rawName.clear();
    m_fontEntry = -1;
    m_cachedFont = -2;
}

void ManuscriptReader::OnStyleSheetText(std::string_view text)
{
    for (char c : text) {
        if (c == ';')
            FinishStyleEntry(Top().chars);
        else
            m_styleName += c;
    }
}

// A style's name says whether it is a heading; a character style keeps the
// properties that make hotspots and hidden targets.
void ManuscriptReader::FinishStyleEntry(const CharProps& chars)
{
    std::string name;
    AppendBytesAsHtml(m_styleName, ByteEncoding{ByteEncoding::Kind::CodePage, m_codePage}, name);
    name = MbLowerAscii(Trim(name));
    if (const std::size_t alias = MbFind(name, ","); alias != std::string::npos) name.erase(alias);
    if (m_styleKind == Keyword::ParagraphStyle) {
        if (const int level = HeadingLevel(Trim(name)); level > 0) m_headingOfStyle[m_styleId] = level;
    } else if (m_styleKind == Keyword::CharacterStyle) {
        m_characterStyles[m_styleId] =
            CharacterStyle{chars.shown.bold, chars.shown.italic, chars.strike, chars.shown.hidden, chars.underline};
    }
    m_styleName.clear();
    m_styleKind = Keyword::ParagraphStyle;
    m_styleId = 0;
}

// A role ends with its group, when what the group made is finished (a note,
// a field, a link, a picture). The document's own group ends after the page
// is made, so a destination word there is passed over; a group takes one
// role (Word writes each destination in its own group), so a second
// destination word skips the group's rest and its first role still ends.
bool ManuscriptReader::TakesRole()
{
    if (m_groups.size() == 1) return false;
    if (Top().role == GroupRole::None) return true;
    SkipGroup();
    return false;
}

void ManuscriptReader::BeginFootnote()
{
    if (!TakesRole()) return;
    GroupState& state = Top();
    if (state.flow == Flow::Note || state.dest != Destination::Body) {
        SkipGroup();
        return;
    }
    m_noteMark = m_writer.BeginNote(state.para.format);
    m_noteAwaitsMark = m_noteMark != 0;
    // The note starts afresh: its formatting is its own.
    state.flow = Flow::Note;
    state.role = GroupRole::Footnote;
    state.chars = CharProps{};
    state.para = ParaProps{};
}

void ManuscriptReader::EndFootnote()
{
    std::string text = m_writer.EndNote();
    if (m_noteMark == '#') m_topic = std::move(text);
    m_noteAwaitsMark = false;
}

void ManuscriptReader::BeginField()
{
    if (!TakesRole()) return;
    GroupState& state = Top();
    if (!TakesText(state.dest)) {
        SkipGroup();
        return;
    }
    Field field;
    field.outer = state.dest;
    field.parent = state.field;
    field.inInstruction = state.dest == Destination::FieldInstruction;
    m_fields.push_back(std::move(field));
    state.field = static_cast<int>(m_fields.size()) - 1;
    state.dest = Destination::Ignored;
    state.role = GroupRole::Field;
}

void ManuscriptReader::BeginFieldInstruction()
{
    GroupState& state = Top();
    if (state.field < 0 || state.dest != Destination::Ignored ||
        m_fields[static_cast<std::size_t>(state.field)].inInstruction) {
        SkipGroup();
        return;
    }
    state.dest = Destination::FieldInstruction;
}

// A field's result is what Word shows: a HYPERLINK's result becomes a link,
// a SYMBOL's character comes from its code instead.
void ManuscriptReader::BeginFieldResult()
{
    if (!TakesRole()) return;
    GroupState& state = Top();
    if (state.field < 0 || state.dest != Destination::Ignored) {
        SkipGroup();
        return;
    }
    Field& field = m_fields[static_cast<std::size_t>(state.field)];
    if (field.inInstruction) {
        // A field inside another's code gives that code its result.
        state.dest = Destination::FieldInstruction;
        state.field = field.parent;
        return;
    }
    ParseField(field, state.chars);
    if (field.kind == FieldKind::Symbol) {
        SkipGroup();
        return;
    }
    state.dest = field.outer;
    state.role = GroupRole::FieldResult;
    if (field.kind == FieldKind::Hyperlink && field.outer == Destination::Body)
        m_writer.BeginLink(state.flow, field.href);
}

void ManuscriptReader::EndField(const GroupState& closed)
{
    Field& field = m_fields[static_cast<std::size_t>(closed.field)];
    ParseField(field, closed.chars);
    if (field.kind == FieldKind::Symbol) Emit(field.symbol);
}

void ManuscriptReader::ParseField(Field& field, const CharProps& chars)
{
    if (field.kind != FieldKind::Unknown) return;
    field.kind = FieldKind::Other;
    const std::vector<std::string> args = FieldArguments(field.instruction);
    if (args.empty()) return;
    const std::string name = MbUpperAscii(args[0]);
    if (name == "HYPERLINK") {
        std::string url, anchor;
        for (std::size_t k = 1; k < args.size(); ++k) {
            if (IsSwitch(args[k], 'l') && k + 1 < args.size()) {
                anchor = args[++k];
            } else if ((IsSwitch(args[k], 'o') || IsSwitch(args[k], 't')) && k + 1 < args.size()) {
                ++k;
            } else if (args[k][0] != '\\' && url.empty()) {
                url = args[k];
            }
        }
        if (url.empty() && anchor.empty()) return;
        field.kind = FieldKind::Hyperlink;
        field.href = HrefOf(url, anchor);
    } else if (name == "SYMBOL") {
        std::string number, font;
        bool unicode = false, shiftJis = false;
        for (std::size_t k = 1; k < args.size(); ++k) {
            if ((IsSwitch(args[k], 'f') || IsSwitch(args[k], 's')) && k + 1 < args.size()) {
                if (IsSwitch(args[k], 'f')) font = args[k + 1];
                ++k;
            } else if (IsSwitch(args[k], 'u')) {
                unicode = true;
            } else if (IsSwitch(args[k], 'j')) {
                shiftJis = true;
            } else if (args[k][0] != '\\' && number.empty()) {
                number = args[k];
            }
        }
        field.kind = FieldKind::Symbol;
        field.symbol = FieldSymbol(number, unicode, shiftJis, font, chars);
    }
}

// The character of "SYMBOL n": a Unicode character (\u), a Shift-JIS one
// (\j), or the byte n in the named font or the font in force.
std::string ManuscriptReader::FieldSymbol(std::string_view number, bool unicode, bool shiftJis,
                                          std::string_view fontName, const CharProps& chars)
{
    const long long value = FieldNumber(number);
    std::string html;
    if (value < 0) return html;
    if (unicode) {
        AppendCodePointAsHtml(static_cast<char32_t>(value), html);
        return html;
    }
    ByteEncoding encoding = EncodingOf(chars);
    if (shiftJis) {
        encoding = ByteEncoding{ByteEncoding::Kind::CodePage, 932};
    } else if (!fontName.empty()) {
        const std::string wanted = MbLowerAscii(fontName);
        encoding = ByteEncoding{ByteEncoding::Kind::CodePage, m_codePage};
        if (wanted == "symbol") encoding = ByteEncoding{ByteEncoding::Kind::SymbolFont, 0};
        if (const auto named = m_fontNamed.find(wanted); named != m_fontNamed.end())
            encoding = EncodingOfFont(named->second);
    }
    std::string bytes;
    if (value > 0xFF) bytes += static_cast<char>((value >> 8) & 0xFF);
    bytes += static_cast<char>(value & 0xFF);
    AppendBytesAsHtml(bytes, encoding, html);
    return html;
}

void ManuscriptReader::BeginPicture()
{
    if (!TakesRole()) return;
    GroupState& state = Top();
    if (m_inPicture || state.dest != Destination::Body) {
        SkipGroup();
        return;
    }
    m_inPicture = true;
    m_picture = PictureData{};
    state.dest = Destination::Picture;
    state.role = GroupRole::Picture;
}

void ManuscriptReader::OnPictureData(std::string_view hex)
{
    for (char c : hex) {
        const int value = HexValue(c);
        if (value < 0) continue;
        if (m_picture.nibble < 0) {
            m_picture.nibble = value;
        } else {
            m_picture.bytes += static_cast<char>(m_picture.nibble * 16 + value);
            m_picture.nibble = -1;
        }
    }
}

// PNG and JPEG pictures go beside the pages; what a browser cannot show
// (metafiles, bitmaps in RTF's own form) is listed instead.
void ManuscriptReader::EndPicture(const GroupState& closed)
{
    m_inPicture = false;
    // Hidden by the run it stands in or inside its own group: either way
    // the page does not show it, so it is not given beside the page either.
    if (closed.chars.shown.hidden || Top().chars.shown.hidden || Top().dest != Destination::Body) return;
    const bool shown = m_picture.format == PictureFormat::Png || m_picture.format == PictureFormat::Jpeg;
    if (shown && m_picture.bytes.empty()) return;
    if (!shown) {
        std::string line =
            ToCp932("埋め込みの図 (") + PictureFormatName(m_picture.format) + ToCp932(") はページに表示できません");
        line += m_topic.empty() ? ToCp932(" (最初のトピック)") : ToCp932(" (トピック ") + m_topic + ")";
        m_manuscript.notShown.push_back(std::move(line));
        return;
    }
    const std::string name = m_baseName + "_pict" + std::to_string(m_manuscript.pictures.size() + 1) +
                             (m_picture.format == PictureFormat::Png ? ".png" : ".jpg");
    const auto pixels = [](long long goal, long long scale) {
        return static_cast<int>(
            std::clamp<long long>(goal * std::clamp<long long>(scale, 1, 1000) / 100 / 15, 0, 100000));
    };
    const int width = pixels(m_picture.goalWidth, m_picture.scaleX);
    const int height = pixels(m_picture.goalHeight, m_picture.scaleY);
    m_manuscript.pictures.push_back(RtfPicture{name, std::move(m_picture.bytes)});
    m_writer.Picture(Top().flow, AttributeText(name), width, height, Top().chars.shown, Top().para.format);
}

}  // namespace zavio::rtf
