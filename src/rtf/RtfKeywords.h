// The control words the reader acts on; every other one is passed over.
#pragma once

#include <string_view>

namespace zavio::rtf {

enum class Keyword : unsigned char {
    Unknown,
    // The document's character set and default font.
    Ansi,
    AnsiCodePage,
    OtherCharacterSet,  // \mac, \pc, \pca: code pages this program does not read
    DefaultFont,
    // Destinations that are read.
    FontTable,
    StyleSheet,
    Info,
    Title,
    Footnote,
    Field,
    FieldInstruction,
    FieldResult,
    Picture,
    ShapePicture,
    NonShapePicture,
    ListText,
    NestedRowProperties,
    // Destinations whose text is never shown: tables of colours, lists and
    // revisions, headers, comments, index entries, bookmarks ...
    SkippedDestination,
    // Font table and style sheet entries.
    Font,
    FontCharset,
    FontCodePage,
    ParagraphStyle,
    CharacterStyle,
    OtherStyle,  // section and table styles
    // Character formatting.
    Plain,
    Bold,
    Italic,
    Underline,  // any single underline: \ul, \ulw, \uld, ...
    UnderlineDouble,
    UnderlineNone,
    Strike,
    Hidden,
    AssociatedFont,
    LowAnsiFont,
    HighAnsiFont,
    DoubleByteFont,
    RightToLeft,
    LeftToRight,
    UnicodeSkip,
    Unicode,
    // Paragraph formatting.
    ParagraphDefault,
    InTable,
    TableNesting,
    Align,  // the value is the Alignment
    LeftIndent,
    FirstIndent,
    // Sections.
    Section,
    SectionDefault,
    BreakNone,
    BreakPage,
    BreakColumn,
    // Structure.
    Paragraph,
    Line,
    Page,
    Tab,
    Cell,
    NestedCell,
    Row,
    NestedRow,
    RowDefault,
    RowLeft,
    CellRight,
    BorderStyle,
    AutoNoteNumber,
    // A character of its own (\emdash, \lquote, ...): the value is its code point.
    Character,
    // Pictures: the value of a format is its PictureFormat.
    PictureFormatWord,
    PictureGoalWidth,
    PictureGoalHeight,
    PictureScaleX,
    PictureScaleY,
};

enum class PictureFormat : unsigned char {
    Unknown,
    Png,
    Jpeg,
    WindowsMetafile,
    EnhancedMetafile,
    Bitmap,
    MacPict,
    Os2Metafile
};

struct KeywordInfo {
    Keyword keyword = Keyword::Unknown;
    int value = 0;
};

KeywordInfo LookUpKeyword(std::string_view name);

// Whether the word changes only how the following characters are read or
// shown: a double-byte character split by such a word is still read whole.
bool IsCharacterProperty(Keyword keyword);

}  // namespace zavio::rtf
