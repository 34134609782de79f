#include "rtf/RtfKeywords.h"

#include <unordered_map>

#include "rtf/WordHtmlWriter.h"

namespace zavio::rtf {
namespace {

using Table = std::unordered_map<std::string_view, KeywordInfo>;

Table MakeTable()
{
    Table t;
    const auto add = [&t](std::initializer_list<std::string_view> names, Keyword keyword, int value = 0) {
        for (std::string_view name : names) t[name] = KeywordInfo{keyword, value};
    };
    add({"ansi"}, Keyword::Ansi);
    add({"ansicpg"}, Keyword::AnsiCodePage);
    add({"mac"}, Keyword::OtherCharacterSet, 10000);
    add({"pc"}, Keyword::OtherCharacterSet, 437);
    add({"pca"}, Keyword::OtherCharacterSet, 850);
    add({"deff"}, Keyword::DefaultFont);

    add({"fonttbl"}, Keyword::FontTable);
    add({"stylesheet"}, Keyword::StyleSheet);
    add({"info"}, Keyword::Info);
    add({"title"}, Keyword::Title);
    add({"footnote"}, Keyword::Footnote);
    add({"field"}, Keyword::Field);
    add({"fldinst"}, Keyword::FieldInstruction);
    add({"fldrslt"}, Keyword::FieldResult);
    add({"pict"}, Keyword::Picture);
    add({"shppict"}, Keyword::ShapePicture);
    add({"nonshppict"}, Keyword::NonShapePicture);
    add({"listtext", "pntext"}, Keyword::ListText);
    add({"nesttableprops"}, Keyword::NestedRowProperties);
    add({"colortbl",  "listtable", "listoverridetable",
         "revtbl",    "rsidtbl",   "filetbl",
         "pgdsctbl",  "header",    "headerl",
         "headerr",   "headerf",   "footer",
         "footerl",   "footerr",   "footerf",
         "comment",   "xe",        "tc",
         "tcn",       "txe",       "rxe",
         "bkmkstart", "bkmkend",   "annotation",
         "atnid",     "atnauthor", "atndate",
         "atnref",    "atntime",   "atrfstart",
         "atrfend",   "private",   "pn",
         "generator", "xmlnstbl",  "themedata",
         "fchars",    "lchars",    "objdata",
         "objclass",  "objname",   "do",
         "author",    "operator",  "keywords",
         "subject",   "doccomm",   "ftnsep",
         "ftnsepc",   "ftncn",     "aftnsep",
         "aftnsepc",  "aftncn",    "template",
         "shpinst",   "buptim",    "creatim",
         "revtim",    "printim",   "latentstyles"},
        Keyword::SkippedDestination);

    add({"f"}, Keyword::Font);
    add({"fcharset"}, Keyword::FontCharset);
    add({"cpg"}, Keyword::FontCodePage);
    add({"s"}, Keyword::ParagraphStyle);
    add({"cs"}, Keyword::CharacterStyle);
    add({"ds", "ts"}, Keyword::OtherStyle);

    add({"plain"}, Keyword::Plain);
    add({"b"}, Keyword::Bold);
    add({"i"}, Keyword::Italic);
    add({"ul", "ulw", "uld", "uldash", "uldashd", "uldashdd", "ulth", "ulwave", "ulhwave", "ululdbwave", "ulthd",
         "ulthdash", "ulthdashd", "ulthdashdd", "ulldash", "ulthldash"},
        Keyword::Underline);
    add({"uldb"}, Keyword::UnderlineDouble);
    add({"ulnone"}, Keyword::UnderlineNone);
    add({"strike", "striked"}, Keyword::Strike);
    add({"v"}, Keyword::Hidden);
    add({"af"}, Keyword::AssociatedFont);
    add({"loch"}, Keyword::LowAnsiFont);
    add({"hich"}, Keyword::HighAnsiFont);
    add({"dbch"}, Keyword::DoubleByteFont);
    add({"rtlch"}, Keyword::RightToLeft);
    add({"ltrch"}, Keyword::LeftToRight);
    add({"uc"}, Keyword::UnicodeSkip);
    add({"u"}, Keyword::Unicode);

    add({"pard"}, Keyword::ParagraphDefault);
    add({"intbl"}, Keyword::InTable);
    add({"itap"}, Keyword::TableNesting);
    add({"ql"}, Keyword::Align, static_cast<int>(Alignment::Left));
    add({"qc"}, Keyword::Align, static_cast<int>(Alignment::Center));
    add({"qr"}, Keyword::Align, static_cast<int>(Alignment::Right));
    add({"qj"}, Keyword::Align, static_cast<int>(Alignment::Justified));
    add({"li"}, Keyword::LeftIndent);
    add({"fi"}, Keyword::FirstIndent);

    add({"sect"}, Keyword::Section);
    add({"sectd"}, Keyword::SectionDefault);
    add({"sbknone"}, Keyword::BreakNone);
    add({"sbkpage", "sbkeven", "sbkodd"}, Keyword::BreakPage);
    add({"sbkcol"}, Keyword::BreakColumn);

    add({"par"}, Keyword::Paragraph);
    add({"line"}, Keyword::Line);
    add({"page"}, Keyword::Page);
    add({"tab"}, Keyword::Tab);
    add({"cell"}, Keyword::Cell);
    add({"nestcell"}, Keyword::NestedCell);
    add({"row"}, Keyword::Row);
    add({"nestrow"}, Keyword::NestedRow);
    add({"trowd"}, Keyword::RowDefault);
    add({"trleft"}, Keyword::RowLeft);
    add({"cellx"}, Keyword::CellRight);
    add({"brdrs", "brdrth", "brdrdb", "brdrdot", "brdrdash", "brdrhair", "brdrsh", "brdrtriple", "brdrdashsm",
         "brdrdashd", "brdrdashdd", "brdrinset", "brdroutset", "brdrengrave", "brdremboss"},
        Keyword::BorderStyle);
    add({"chftn"}, Keyword::AutoNoteNumber);

    add({"emdash"}, Keyword::Character, 0x2014);
    add({"endash"}, Keyword::Character, 0x2013);
    add({"emspace", "enspace", "qmspace"}, Keyword::Character, ' ');
    add({"bullet"}, Keyword::Character, 0x2022);
    add({"lquote"}, Keyword::Character, 0x2018);
    add({"rquote"}, Keyword::Character, 0x2019);
    add({"ldblquote"}, Keyword::Character, 0x201C);
    add({"rdblquote"}, Keyword::Character, 0x201D);

    add({"pngblip"}, Keyword::PictureFormatWord, static_cast<int>(PictureFormat::Png));
    add({"jpegblip"}, Keyword::PictureFormatWord, static_cast<int>(PictureFormat::Jpeg));
    add({"wmetafile"}, Keyword::PictureFormatWord, static_cast<int>(PictureFormat::WindowsMetafile));
    add({"emfblip"}, Keyword::PictureFormatWord, static_cast<int>(PictureFormat::EnhancedMetafile));
    add({"dibitmap", "wbitmap"}, Keyword::PictureFormatWord, static_cast<int>(PictureFormat::Bitmap));
    add({"macpict"}, Keyword::PictureFormatWord, static_cast<int>(PictureFormat::MacPict));
    add({"pmmetafile"}, Keyword::PictureFormatWord, static_cast<int>(PictureFormat::Os2Metafile));
    add({"picwgoal"}, Keyword::PictureGoalWidth);
    add({"pichgoal"}, Keyword::PictureGoalHeight);
    add({"picscalex"}, Keyword::PictureScaleX);
    add({"picscaley"}, Keyword::PictureScaleY);
    return t;
}

}  // namespace

KeywordInfo LookUpKeyword(std::string_view name)
{
    static const Table table = MakeTable();
    const auto found = table.find(name);
    return found == table.end() ? KeywordInfo{} : found->second;
}

bool IsCharacterProperty(Keyword keyword)
{
    switch (keyword) {
        case Keyword::Unknown:
        case Keyword::Font:
        case Keyword::CharacterStyle:
        case Keyword::Plain:
        case Keyword::Bold:
        case Keyword::Italic:
        case Keyword::Underline:
        case Keyword::UnderlineDouble:
        case Keyword::UnderlineNone:
        case Keyword::Strike:
        case Keyword::Hidden:
        case Keyword::AssociatedFont:
        case Keyword::LowAnsiFont:
        case Keyword::HighAnsiFont:
        case Keyword::DoubleByteFont:
        case Keyword::RightToLeft:
        case Keyword::LeftToRight:
        case Keyword::UnicodeSkip:
            return true;
        default:
            return false;
    }
}

}  // namespace zavio::rtf
