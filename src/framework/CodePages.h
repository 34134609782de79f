// Text in the Windows code pages that old help sources were written in (RTF
// manuscripts, project and contents files of other languages), turned into
// the CP932 that every stage works on. A character CP932 lacks becomes a
// numeric character reference "&#N;", never "?".
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace zavio {

// Whether the code page is one this program reads: 874, 932, 936, 949, 950
// and 1250 to 1258.
bool IsKnownCodePage(unsigned codePage);

// Whether each of its characters takes one byte (874 and 1250 to 1258).
bool IsSingleByteCodePage(unsigned codePage);

// The code page of an RTF font's or a project's character set (\fcharsetN,
// CHARSET=N): 0 = 1252, 128 = 932, 129 = 949, 134 = 936, 136 = 950, 161 =
// 1253, 162 = 1254, 163 = 1258, 177 = 1255, 178 = 1256, 186 = 1257, 204 =
// 1251, 222 = 874, 238 = 1250; 0 for a set without a code page of its own
// (1 = default, 2 = Symbol, 255 = OEM) or one not known.
unsigned CodePageOfCharset(int charset);

// The code page of a Windows language id (LCID=0x411 and the like), by its
// primary language: Japanese 932, Russian and the other Cyrillic languages
// 1251, Central European 1250, Greek 1253, ...; 1252 for any other.
unsigned CodePageOfLanguage(unsigned lcid);

// The bytes in CP932. 932 passes them unchanged. In another code page a
// byte or sequence the code page does not define becomes "&#65533;".
// nullopt for a code page that is not known.
std::optional<std::string> CodePageToCp932(std::string_view bytes, unsigned codePage);

// The 256 bytes of a single-byte code page in CP932, as above, made once per
// code page: a reader that decodes byte by byte pays no conversion per byte.
// The code page must be single-byte. The table lives as long as the process.
using CodePageTable = std::array<std::string, 256>;
const CodePageTable& SingleByteTable(unsigned codePage);

// A Unicode code point in CP932, or "&#N;" when CP932 lacks it (and for a
// surrogate or a value beyond U+10FFFF, "&#65533;"). The yen sign and the
// overline, which CP932's table folds into "\\" and "~", are references too:
// every browser reads those bytes as the ASCII characters.
std::string CodePointToCp932OrReference(char32_t codePoint);

}  // namespace zavio
