// CP932 (Shift-JIS) text: the codec and the multibyte-aware string operations.
// Every string inside the program holds CP932 bytes; these are the only
// routines that look at the structure of those bytes.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace zavio {

// Lead bytes of a double-byte character: 0x81-0x9F and 0xE0-0xFC.
constexpr bool IsLeadByte(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// Length in bytes of the character that starts at `pos` (1 or 2). A lead byte
// at the very end of the text counts as one byte.
inline std::size_t CharLength(std::string_view s, std::size_t pos)
{
    return (IsLeadByte(static_cast<unsigned char>(s[pos])) && pos + 1 < s.size()) ? 2 : 1;
}

// The program's UTF-8 source literals in CP932. Converted once and cached; the
// reference stays valid for the life of the process.
const std::string& ToCp932(std::string_view utf8);

// Strict conversions: nullopt when any character has no counterpart. Used
// where a wrong character would be a wrong result, such as file names.
std::optional<std::string> DecodeCp932(std::string_view cp932);
std::optional<std::string> EncodeCp932(std::string_view utf8);

// Lossless conversions for showing text: bytes that are not valid CP932 (or
// whose character would not encode back to the same bytes) become code points
// U+F700 + byte and turn back into that byte, so decode then encode gives the
// original bytes exactly.
std::string DecodeCp932Lossless(std::string_view cp932);
std::string EncodeCp932Lossless(std::string_view utf8);
// Whether the lossless encoder keeps the character: CP932 has it, or it is
// one of the code points that stand for a raw byte. Any other becomes "?".
bool EncodesLosslessly(char32_t codePoint);

// The encoding of a text file's bytes. Everything inside is CP932; a Word
// manuscript may have been saved as UTF-8, and its window keeps it so.
enum class TextEncoding { Cp932, Utf8 };

// The lossless pair for UTF-8 text: valid UTF-8 passes, every byte of an
// invalid sequence (and of a character in U+F700..U+F7FF, which the codec
// reserves) becomes U+F700 + byte, and encoding gives the same bytes back.
std::string DecodeUtf8Lossless(std::string_view utf8);
std::string EncodeUtf8Lossless(std::string_view text);

// A code point in UTF-8. A surrogate takes the three-byte form of its value,
// so that one UTF-16 holds without its partner survives the way through.
void AppendUtf8CodePoint(std::string& out, char32_t codePoint);
// The code point of the UTF-8 sequence at `pos`, and its length; 0 where no
// well-formed sequence begins. The three-byte form of a surrogate counts.
std::size_t ReadUtf8CodePoint(std::string_view s, std::size_t pos, char32_t& codePoint);

// Whether the bytes are well-formed UTF-8: no overlong form, no surrogate,
// nothing past U+10FFFF.
bool IsWellFormedUtf8(std::string_view bytes);
// Whether the bytes read as CP932 text of ASCII and double-byte characters
// alone: no half-width katakana, no byte or pair CP932 leaves undefined.
bool IsPlainCp932(std::string_view bytes);

// UTF-8 text in CP932 as the platform's CP932 table maps it (U+00A5 becomes
// 0x5C); a character CP932 lacks becomes a numeric character reference
// "&#NNNN;", and bytes that are not UTF-8 pass unchanged.
std::string Utf8ToCp932WithReferences(std::string_view utf8);
// One code point in CP932, as the table maps it; nullopt when CP932 lacks it.
std::optional<std::string> CodePointToCp932(char32_t codePoint);

// Multibyte-aware search: a match counts only where a character of `text`
// begins, so a trail byte 0x5C or 0x7C never matches '\' or '|'. `start`
// must itself be a character boundary.
std::size_t MbFind(std::string_view text, std::string_view what, std::size_t start = 0);
inline bool MbContains(std::string_view text, std::string_view what)
{
    return MbFind(text, what) != std::string_view::npos;
}
// Last position of a single-byte character `c`, never a trail byte.
std::size_t MbReverseFind(std::string_view text, char c);

// The longest start of `s` of at most `bytes` bytes that ends on a character
// boundary, so a double-byte character is never split.
inline std::string_view MbCutToBytes(std::string_view s, std::size_t bytes)
{
    std::size_t end = 0;
    while (end < s.size() && end + CharLength(s, end) <= bytes) end += CharLength(s, end);
    return s.substr(0, end);
}

// Character-by-character comparison; a double-byte character counts as
// lead*256+trail. Negative, zero or positive like strcmp.
int MbCompare(std::string_view a, std::string_view b);

// ASCII letters only, leaving trail bytes of double-byte characters alone.
std::string MbLowerAscii(std::string_view s);
std::string MbUpperAscii(std::string_view s);
// Whether MbLowerAscii(a) == MbLowerAscii(b), mostly without making either:
// paths of one folder differ at their ends, where the comparison starts.
bool MbEqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

// Remove ASCII white space (blank, tab, LF, VT, FF, CR) at the ends.
std::string_view TrimLeftView(std::string_view s);
std::string_view TrimRightView(std::string_view s);
inline std::string TrimLeft(std::string_view s)
{
    return std::string(TrimLeftView(s));
}
inline std::string TrimRight(std::string_view s)
{
    return std::string(TrimRightView(s));
}
inline std::string Trim(std::string_view s)
{
    return std::string(TrimRightView(TrimLeftView(s)));
}

// Whether every byte is ASCII: such bytes stand for themselves in CP932,
// in UTF-8 and in a file name on any disk.
inline bool IsAscii(std::string_view s)
{
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

inline bool IsAsciiSpace(unsigned char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Every occurrence of `from` replaced by `to`, scanning left to right over
// character boundaries.
std::string MbReplaceAll(std::string_view text, std::string_view from, std::string_view to);

// `text` without the ASCII characters in `ascii` where they stand as
// characters of their own: "{" and "}" are also trail bytes (0x837B ボ).
std::string MbRemoveAscii(std::string_view text, std::string_view ascii);

}  // namespace zavio
