// The control words of formatting and structure: the document's code page,
// character and paragraph formatting, fonts, paragraphs, breaks and tables.
#include <algorithm>

#include "framework/CodePages.h"
#include "framework/Cp932.h"
#include "rtf/ManuscriptReader.h"

namespace zavio::rtf {
namespace {

// Tables nest two or three deep in real documents; deeper levels are read
// as this one.
constexpr int kMaxTableNesting = 16;

// A toggle such as \b or \b0: on unless its number is 0.
bool IsOn(const Token& token)
{
    return !token.hasParam || token.param != 0;
}

std::string UnknownCodePage(int codePage)
{
    return ToCp932("RTF の文字コード (コードページ ") + std::to_string(codePage) + ToCp932(") には対応していません");
}

int TableLevel(const ParaProps& para)
{
    return para.inTable ? std::clamp(para.nesting, 1, kMaxTableNesting) : 0;
}

}  // namespace

void ManuscriptReader::OnControlWord(const Token& token)
{
    const KeywordInfo word = LookUpKeyword(token.text);
    FlushText(IsCharacterProperty(word.keyword));
    if (word.keyword != Keyword::NonShapePicture) m_shapePictureEnded = false;
    if (m_starPending) {
        m_starPending = false;
        // "\*" before a word this reader does not read as a destination: the
        // group holds nothing to show.
        const bool styleEntry = Top().dest == Destination::StyleSheet &&
                                (word.keyword == Keyword::CharacterStyle || word.keyword == Keyword::OtherStyle ||
                                 word.keyword == Keyword::ParagraphStyle);
        const bool readDestination = word.keyword >= Keyword::FontTable && word.keyword <= Keyword::NestedRowProperties;
        if (!styleEntry && !readDestination) {
            SkipGroup();
            return;
        }
    }
    if (ConsumeFallback()) return;
    if (OnDestinationWord(word, token) || OnDocumentWord(word, token) || OnFontWord(word, token) ||
        OnCharacterWord(word, token) || OnParagraphWord(word, token) || OnTableWord(word, token))
        return;
    OnStructureWord(word);
}

bool ManuscriptReader::OnDocumentWord(const KeywordInfo& word, const Token& token)
{
    switch (word.keyword) {
        case Keyword::Ansi:
            m_codePage = 1252;
            break;
        case Keyword::AnsiCodePage:
            // Some writers put 0 for "no code page of its own".
            if (token.param == 0) {
                m_codePage = 1252;
            } else if (token.param > 0 && IsKnownCodePage(static_cast<unsigned>(token.param))) {
                m_codePage = static_cast<unsigned>(token.param);
            } else {
                Fail(UnknownCodePage(token.param));
            }
            break;
        case Keyword::OtherCharacterSet:
            Fail(UnknownCodePage(word.value));
            break;
        case Keyword::DefaultFont:
            m_defaultFont = token.param;
            break;
        default:
            return false;
    }
    m_cachedFont = -2;
    return true;
}

bool ManuscriptReader::OnFontWord(const KeywordInfo& word, const Token& token)
{
    CharProps& chars = Top().chars;
    const auto classIndex = [](FontClass c) { return static_cast<int>(c) - 1; };
    switch (word.keyword) {
        case Keyword::Font:
            if (Top().dest == Destination::FontTable) {
                m_fontEntry = token.param;
                m_fonts[m_fontEntry].rawName.clear();
                m_cachedFont = -2;
                return true;
            }
            chars.font = token.param;
            if (chars.fontClass != FontClass::None) chars.classFonts[classIndex(chars.fontClass)] = token.param;
            return true;
        case Keyword::FontCharset:
            if (Top().dest == Destination::FontTable && m_fontEntry >= 0) m_fonts[m_fontEntry].charset = token.param;
            m_cachedFont = -2;
            return true;
        case Keyword::FontCodePage:
            if (Top().dest == Destination::FontTable && m_fontEntry >= 0 && token.param > 0)
                m_fonts[m_fontEntry].codePage = static_cast<unsigned>(token.param);
            m_cachedFont = -2;
            return true;
        // Word names each run's fonts for its classes of characters
        // ("\loch\af0\hich\af0\dbch\af17"); the text that follows is in the
        // class named last. \af after \rtlch names a right-to-left font.
        case Keyword::AssociatedFont:
            if (chars.associated != FontClass::None) chars.classFonts[classIndex(chars.associated)] = token.param;
            return true;
        case Keyword::LowAnsiFont:
            chars.fontClass = chars.associated = FontClass::LowAnsi;
            return true;
        case Keyword::HighAnsiFont:
            chars.fontClass = chars.associated = FontClass::HighAnsi;
            return true;
        case Keyword::DoubleByteFont:
            chars.fontClass = chars.associated = FontClass::DoubleByte;
            return true;
        case Keyword::RightToLeft:
        case Keyword::LeftToRight:
            chars.associated = FontClass::None;
            return true;
        default:
            return false;
    }
}

bool ManuscriptReader::OnCharacterWord(const KeywordInfo& word, const Token& token)
{
    CharProps& chars = Top().chars;
    switch (word.keyword) {
        case Keyword::Plain: {
            const CharProps plain;
            chars = plain;
            return true;
        }
        case Keyword::Bold:
            chars.shown.bold = IsOn(token);
            return true;
        case Keyword::Italic:
            chars.shown.italic = IsOn(token);
            return true;
        case Keyword::Underline:
            chars.underline = IsOn(token) ? Underline::Single : Underline::None;
            break;
        case Keyword::UnderlineDouble:
            chars.underline = IsOn(token) ? Underline::Double : Underline::None;
            break;
        case Keyword::UnderlineNone:
            chars.underline = Underline::None;
            break;
        case Keyword::Strike:
            chars.strike = IsOn(token);
            break;
        case Keyword::Hidden:
            chars.shown.hidden = IsOn(token);
            return true;
        case Keyword::CharacterStyle:
            if (Top().dest == Destination::StyleSheet) {
                m_styleKind = word.keyword;
                m_styleId = token.param;
            } else {
                ApplyCharacterStyle(token.param);
            }
            return true;
        case Keyword::UnicodeSkip:
            Top().fallbacks = std::max(token.param, 0);
            return true;
        case Keyword::Unicode:
            OnUnicode(token.param);
            return true;
        default:
            return false;
    }
    UpdateShownUnderline(chars);
    return true;
}

// Older authoring tools mark jumps with strikethrough instead of double
// underline; both show as Word's double underline, the jump's hotspot.
void ManuscriptReader::UpdateShownUnderline(CharProps& chars)
{
    chars.shown.underline = chars.strike ? Underline::Double : chars.underline;
}

// A character style's properties apply where \csN stands, also when the
// writer did not repeat them beside it.
void ManuscriptReader::ApplyCharacterStyle(int id)
{
    const auto found = m_characterStyles.find(id);
    if (found == m_characterStyles.end()) return;
    const CharacterStyle& style = found->second;
    CharProps& chars = Top().chars;
    chars.shown.bold |= style.bold;
    chars.shown.italic |= style.italic;
    chars.shown.hidden |= style.hidden;
    chars.strike |= style.strike;
    if (style.underline != Underline::None) chars.underline = style.underline;
    UpdateShownUnderline(chars);
}

void ManuscriptReader::OnUnicode(int value)
{
    m_fallbacksLeft = Top().fallbacks;
    char32_t codePoint = static_cast<char32_t>(value < 0 ? value + 65536 : value);
    if (codePoint >= 0xD800 && codePoint <= 0xDBFF) {
        m_highSurrogate = codePoint;
        return;
    }
    if (codePoint >= 0xDC00 && codePoint <= 0xDFFF && m_highSurrogate != 0)
        codePoint = 0x10000 + ((m_highSurrogate - 0xD800) << 10) + (codePoint - 0xDC00);
    m_highSurrogate = 0;
    EmitCodePoint(codePoint);
}

bool ManuscriptReader::OnParagraphWord(const KeywordInfo& word, const Token& token)
{
    ParaProps& para = Top().para;
    switch (word.keyword) {
        case Keyword::ParagraphStyle:
            if (Top().dest == Destination::StyleSheet) {
                m_styleKind = word.keyword;
                m_styleId = token.param;
            } else {
                const auto found = m_headingOfStyle.find(token.param);
                para.format.heading = found == m_headingOfStyle.end() ? 0 : found->second;
            }
            return true;
        case Keyword::OtherStyle:
            if (Top().dest == Destination::StyleSheet) {
                m_styleKind = word.keyword;
                m_styleId = token.param;
            }
            return true;
        case Keyword::ParagraphDefault:
            para = ParaProps{};
            return true;
        case Keyword::InTable:
            para.inTable = true;
            break;
        case Keyword::TableNesting:
            para.nesting = token.param;
            para.inTable = para.inTable || token.param > 0;
            break;
        case Keyword::Align:
            para.format.alignment = static_cast<Alignment>(word.value);
            return true;
        case Keyword::LeftIndent:
            para.format.leftIndent = token.param;
            return true;
        case Keyword::FirstIndent:
            para.format.firstIndent = token.param;
            return true;
        default:
            return false;
    }
    para.format.tableLevel = TableLevel(para);
    return true;
}

// Whether the text now read belongs on the page (not in a picture, a
// field's code or a table of the header).
bool ManuscriptReader::InPageText() const
{
    return m_groups.back().dest == Destination::Body;
}

bool ManuscriptReader::OnTableWord(const KeywordInfo& word, const Token& token)
{
    GroupState& state = Top();
    // The row properties of a nested table come after its cells: its cells
    // take no widths from them.
    const bool outerRow = state.dest != Destination::Ignored;
    switch (word.keyword) {
        case Keyword::RowDefault:
            if (outerRow) m_writer.BeginRowDefinition();
            return true;
        case Keyword::RowLeft:
            if (outerRow) m_writer.RowLeftEdge(token.param);
            return true;
        case Keyword::CellRight:
            if (outerRow) m_writer.CellRightEdge(token.param);
            return true;
        case Keyword::BorderStyle:
            if (outerRow) m_writer.RowHasBorders();
            return true;
        case Keyword::Cell:
        case Keyword::NestedCell:
            if (state.flow == Flow::Note) {
                if (InPageText()) m_writer.EndParagraph(Flow::Note, state.para.format);
            } else if (InPageText()) {
                const int level = std::max(TableLevel(state.para), word.keyword == Keyword::Cell ? 1 : 2);
                m_writer.EndCell(level, state.para.format);
            }
            return true;
        case Keyword::Row:
        case Keyword::NestedRow:
            if (state.flow == Flow::Body)
                m_writer.EndRow(std::max(TableLevel(state.para), word.keyword == Keyword::Row ? 1 : 2));
            return true;
        default:
            return false;
    }
}

bool ManuscriptReader::OnStructureWord(const KeywordInfo& word)
{
    GroupState& state = Top();
    switch (word.keyword) {
        case Keyword::Paragraph:
            if (InPageText()) m_writer.EndParagraph(state.flow, state.para.format);
            return true;
        case Keyword::Line:
            if (InPageText()) m_writer.LineBreak(state.flow, state.chars.shown, state.para.format);
            return true;
        case Keyword::Tab:
            if (state.dest == Destination::ListText || InPageText()) {
                if (state.flow == Flow::Note) m_noteAwaitsMark = false;
                Emit("&nbsp;&nbsp;&nbsp; ");
            }
            return true;
        case Keyword::Page:
            if (InPageText() && state.flow == Flow::Body) m_writer.PageBreak();
            return true;
        case Keyword::Section:
            if (InPageText() && state.flow == Flow::Body) m_writer.SectionEnd();
            return true;
        case Keyword::SectionDefault:
        case Keyword::BreakPage:
            m_writer.SetSectionsBreakPages(true);
            return true;
        case Keyword::BreakNone:
        case Keyword::BreakColumn:
            m_writer.SetSectionsBreakPages(false);
            return true;
        case Keyword::AutoNoteNumber:
            // In the body it numbers the note that follows; in the note it
            // repeats that number, which the note's anchor shows already.
            if (state.flow == Flow::Note)
                m_noteAwaitsMark = false;
            else if (InPageText())
                m_writer.AutoNoteMark();
            return true;
        case Keyword::Character:
            EmitCodePoint(static_cast<char32_t>(word.value));
            return true;
        default:
            return false;
    }
}

}  // namespace zavio::rtf
