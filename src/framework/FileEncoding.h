// Which encoding a text file's bytes are in. Everything inside the program is
// CP932; Word can also save a Web page as UTF-8 (its Web options, or by
// default in later versions) or as UTF-16 ("Unicode"), and today's editors
// save UTF-8 without a byte-order mark.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "framework/Cp932.h"
#include "framework/FileError.h"
#include "framework/TextFile.h"

namespace zavio {

// A text file's encoding on the disk. Its text is held as CP932 or UTF-8
// (HeldEncoding): a UTF-16 file as UTF-8, which the windows and every reader
// of text know, its byte-order mark as UTF-8's; saving turns it back.
enum class FileEncoding { Cp932, Utf8, Utf16LittleEndian, Utf16BigEndian };

TextEncoding HeldEncoding(FileEncoding encoding);

// A text file as a window holds it.
struct HeldText {
    std::string bytes;  // every line ended by CR LF
    FileEncoding encoding = FileEncoding::Cp932;
};

// Reads a text file: its encoding found, UTF-16 turned into UTF-8, every
// line ended by CR LF. nullopt when the file cannot be read, or holds no
// text in an encoding the program reads; LastFileError says why.
std::optional<HeldText> ReadHeldText(std::string_view path, bool webPage);

// The bytes a file in `encoding` takes for the text held for it: UTF-16's
// own for UTF-16, else the held bytes themselves.
std::string FileBytesOfHeldText(std::string_view held, FileEncoding encoding);

// The encoding of bytes without UTF-16's byte-order mark. UTF-8 when the
// first line starts with UTF-8's byte-order mark, when a Web page declares
// charset=utf-8 in its head, or when the bytes are UTF-8 with characters
// beyond ASCII that do not read as CP932 text of ASCII and double-byte
// characters alone (CP932 of that shape is never valid UTF-8 in practice;
// UTF-8 read so needs half-width katakana or undefined bytes); CP932
// otherwise.
TextEncoding DetectFileEncoding(std::string_view text, bool webPage);

// What the bytes are when they are no text the program reads: a PDF, an
// image, an Office binary, UTF-32, UTF-16 without a byte-order mark, other
// bytes with a zero; FileErrorCause::Empty for none at all.
// FileErrorCause::None for text.
FileErrorCause ForeignContent(std::string_view bytes);

// Where a line declares the charset utf-8 ("charset=utf-8", letter case
// aside, the value perhaps quoted): the position of the value "utf-8", or npos.
std::size_t FindUtf8CharsetValue(std::string_view line);
// Where a line declares a Unicode charset (utf-8, utf-16, utf-16le,
// utf-16be, and Word's names unicode and unicodeFFFE): the position of the
// value, its length in `length`; npos when there is none.
std::size_t FindUnicodeCharsetValue(std::string_view line, std::size_t& length);

}  // namespace zavio
