// The reader's state machine: a stack of group states, each with the
// destination its text goes to and the formatting in force, fed token by
// token. One small handler per concern: the main loop and text routing
// (ManuscriptReader.cpp), the formatting and structure words
// (RtfControlWords.cpp), the destinations that hold more than text
// (RtfDestinations.cpp).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "rtf/RtfKeywords.h"
#include "rtf/RtfLexer.h"
#include "rtf/RtfReader.h"
#include "rtf/RtfText.h"
#include "rtf/WordHtmlWriter.h"

namespace zavio::rtf {

// Where a group's text goes.
enum class Destination : unsigned char {
    Body,              // the page: the body or, in a footnote, the note
    ListText,          // a list paragraph's visible bullet or number
    Title,             // \info\title
    FieldInstruction,  // a field's code (HYPERLINK "...", SYMBOL 183 ...)
    FontTable,
    StyleSheet,
    Picture,  // hexadecimal or binary picture data
    Ignored,  // \info's other entries, a field's own group, row properties of nested tables
};

// What ends when the group closes.
enum class GroupRole : unsigned char { None, Footnote, Field, FieldResult, Picture, ShapePicture, ListText };

// Word's font classes: which of a run's fonts (\loch, \hich, \dbch) its text is in.
enum class FontClass : unsigned char { None, LowAnsi, HighAnsi, DoubleByte };

struct CharProps {
    CharFormat shown;
    bool strike = false;
    Underline underline = Underline::None;  // as written; \strike also makes a jump
    int font = -1;                          // -1: the default font
    int classFonts[3] = {-1, -1, -1};       // \loch, \hich and \dbch fonts
    FontClass fontClass = FontClass::None;
    FontClass associated = FontClass::None;  // which class \af names
};

struct ParaProps {
    ParaFormat format;
    bool inTable = false;
    int nesting = 1;  // \itap
};

struct GroupState {
    Destination dest = Destination::Body;
    GroupRole role = GroupRole::None;
    Flow flow = Flow::Body;
    int field = -1;     // the innermost field the group is in
    int fallbacks = 1;  // \uc: bytes that stand in for a \u character
    CharProps chars;
    ParaProps para;
};

struct FontEntry {
    int charset = -1;
    unsigned codePage = 0;
    std::string rawName;
    std::string name;     // CP932 (HTML text)
    bool symbol = false;  // the Symbol font, read by its own table whatever its character set
};

struct CharacterStyle {
    bool bold = false;
    bool italic = false;
    bool strike = false;
    bool hidden = false;
    Underline underline = Underline::None;
};

enum class FieldKind : unsigned char { Unknown, Other, Hyperlink, Symbol };

struct Field {
    std::string instruction;  // HTML text
    Destination outer = Destination::Body;
    int parent = -1;
    bool inInstruction = false;  // a field inside another field's code: its result is code too
    FieldKind kind = FieldKind::Unknown;
    std::string href;
    std::string symbol;  // HTML text
};

struct PictureData {
    PictureFormat format = PictureFormat::Unknown;
    std::string bytes;
    int nibble = -1;
    long long goalWidth = 0;
    long long goalHeight = 0;
    long long scaleX = 100;
    long long scaleY = 100;
};

class ManuscriptReader {
public:
    ManuscriptReader(std::string_view rtf, std::string_view baseName);
    std::optional<RtfManuscript> Read(std::string& why);

private:
    // ManuscriptReader.cpp: tokens, groups, text.
    bool Fail(std::string reason);  // CP932
    void OnToken(const Token& token);
    void OnSkippedToken(const Token& token);
    void OnGroupOpen();
    void OnGroupClose();
    void OnText(std::string_view text);
    void OnHexByte(unsigned char byte);
    void OnBinary(std::string_view data);
    void OnControlSymbol(unsigned char symbol);
    void SkipGroup();
    bool TakesText(Destination dest) const;
    void AddBytes(std::string_view bytes);
    void FlushText(bool keepLead);
    void ShowInFont(unsigned font);
    void Emit(std::string_view html);
    void EmitCodePoint(char32_t codePoint);
    bool ConsumeFallback();
    ByteEncoding EncodingOfBytes(const CharProps& chars, std::string_view bytes);
    ByteEncoding EncodingOf(const CharProps& chars) { return EncodingOf(chars, chars.fontClass); }
    ByteEncoding EncodingOf(const CharProps& chars, FontClass fontClass);
    ByteEncoding EncodingOfFont(int font);
    GroupState& Top() { return m_groups.back(); }

    // RtfControlWords.cpp: formatting and structure.
    void OnControlWord(const Token& token);
    bool OnDocumentWord(const KeywordInfo& word, const Token& token);
    bool OnCharacterWord(const KeywordInfo& word, const Token& token);
    bool OnFontWord(const KeywordInfo& word, const Token& token);
    bool OnParagraphWord(const KeywordInfo& word, const Token& token);
    bool OnStructureWord(const KeywordInfo& word);
    bool OnTableWord(const KeywordInfo& word, const Token& token);
    void OnUnicode(int value);
    void ApplyCharacterStyle(int id);
    void UpdateShownUnderline(CharProps& chars);
    bool InPageText() const;

    // RtfDestinations.cpp: destinations that hold more than text.
    bool OnDestinationWord(const KeywordInfo& word, const Token& token);
    void OnGroupEnd(const GroupState& closed);
    void OnFontTableText(std::string_view text);
    void FinishFontEntry();
    void OnStyleSheetText(std::string_view text);
    void FinishStyleEntry(const CharProps& chars);
    bool TakesRole();
    void BeginFootnote();
    void EndFootnote();
    void BeginField();
    void BeginFieldInstruction();
    void BeginFieldResult();
    void ParseField(Field& field, const CharProps& chars);
    void EndField(const GroupState& closed);
    void BeginPicture();
    void OnPictureData(std::string_view hex);
    void EndPicture(const GroupState& closed);
    std::string FieldSymbol(std::string_view number, bool unicode, bool shiftJis, std::string_view fontName,
                            const CharProps& chars);

    std::string_view m_rtf;
    std::string m_baseName;
    RtfLexer m_lexer;
    std::string m_error;

    std::vector<GroupState> m_groups;
    int m_skipDepth = 0;         // the depth of the group being skipped, 0 when none is
    bool m_starPending = false;  // \* before the next control word
    int m_fallbacksLeft = 0;
    char32_t m_highSurrogate = 0;
    std::string m_pending;  // text bytes waiting to be read together
    ByteEncoding m_pendingEncoding;
    std::string m_html;  // the decoded text, reused

    unsigned m_codePage = 1252;
    int m_defaultFont = 0;
    std::unordered_map<int, FontEntry> m_fonts;
    std::unordered_map<std::string, int> m_fontNamed;  // by the name in lower case, for SYMBOL fields
    int m_fontEntry = -1;
    int m_cachedFont = -2;
    ByteEncoding m_cachedEncoding;
    std::unordered_map<int, int> m_headingOfStyle;
    std::unordered_map<int, CharacterStyle> m_characterStyles;
    Keyword m_styleKind = Keyword::ParagraphStyle;
    int m_styleId = 0;
    std::string m_styleName;

    std::string m_title;
    std::vector<Field> m_fields;
    bool m_inPicture = false;
    PictureData m_picture;
    bool m_shapePictureEnded = false;
    char m_noteMark = 0;            // the mark of the note being read
    bool m_noteAwaitsMark = false;  // Word repeats the mark at the note's start
    std::string m_topic;            // the last "#" note's text, to say where a picture was

    WordHtmlWriter m_writer;
    RtfManuscript m_manuscript;
};

}  // namespace zavio::rtf
