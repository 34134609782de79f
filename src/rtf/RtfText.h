// RTF's text bytes in the code page of their font, turned into the CP932 text
// of a Word HTML page: escaped as Word escapes ("&lt;", "&gt;", "&amp;"), and a
// character CP932 lacks written as "&#N;", never as "?".
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zavio::rtf {

// How a font's bytes are read.
struct ByteEncoding {
    enum class Kind : unsigned char {
        CodePage,     // a Windows code page (1252, 932, ...)
        SymbolFont,   // the Symbol font: Greek letters, arrows, bullets
        PictureFont,  // another font of the symbol character set (Wingdings ...): private-use characters
    };
    Kind kind = Kind::CodePage;
    unsigned codePage = 1252;  // for a PictureFont, the font's number

    bool operator==(const ByteEncoding& other) const { return kind == other.kind && codePage == other.codePage; }
    bool operator!=(const ByteEncoding& other) const { return !(*this == other); }
};

// Appends the bytes, read in `encoding`, to `html`. Control characters are
// dropped, a tab is a blank. With `keepLastLead`, a lead byte of a
// double-byte code page that ends the bytes is left unread (its trail byte
// may follow in the next token); the result is how many bytes were read.
std::size_t AppendBytesAsHtml(std::string_view bytes, ByteEncoding encoding, std::string& html,
                              bool keepLastLead = false);

// Appends one Unicode character (\uN, a field's character, a typographic
// symbol) to `html`.
void AppendCodePointAsHtml(char32_t codePoint, std::string& html);

// The character a byte of the Symbol font shows.
char32_t SymbolFontCodePoint(unsigned char byte);

}  // namespace zavio::rtf
