#include <gtest/gtest.h>

#include "framework/Cp932.h"

namespace zavio {
namespace {

// 表 = 95 5C and ソ = 83 5C carry a backslash as trail byte; 能 = 94 5C;
// ポ = 83 7C carries a vertical bar.
const std::string kHyou = "\x95\x5C";
const std::string kSo = "\x83\x5C";
const std::string kPo = "\x83\x7C";

TEST(Cp932Codec, LiteralsBecomeCp932)
{
    EXPECT_EQ(ToCp932("表"), kHyou);
    EXPECT_EQ(ToCp932("ソ"), kSo);
    EXPECT_EQ(ToCp932("ﾌｧｲﾙ"), "\xCC\xA7\xB2\xD9");
    EXPECT_EQ(ToCp932("　"), "\x81\x40");
    EXPECT_EQ(ToCp932("－"), "\x81\x7C");       // U+FF0D full-width hyphen-minus
    EXPECT_EQ(&ToCp932("表"), &ToCp932("表"));  // cached once
}

// A UTF-8 manuscript's text in CP932: the platform's table maps U+00A5 and
// U+2014 one way, a character CP932 lacks becomes a reference, and bytes that
// are not UTF-8 (a lone 0xFF, a surrogate, an overlong slash) pass unchanged.
TEST(Cp932Codec, Utf8TextBecomesCp932WithReferences)
{
    EXPECT_EQ(Utf8ToCp932WithReferences("\xC2\xA5 \xE2\x80\x94 \xE8\xA1\xA8"), "\x5C \x81\x5C " + kHyou);
    EXPECT_EQ(Utf8ToCp932WithReferences("caf\xC3\xA9\xF0\x9F\x98\x80!"), "caf&#233;&#128512;!");
    EXPECT_EQ(Utf8ToCp932WithReferences("a\xFF\xED\xA0\x80\xC0\xAF\xE8\xA1"), "a\xFF\xED\xA0\x80\xC0\xAF\xE8\xA1");
    EXPECT_EQ(CodePointToCp932(0x8868), kHyou);
    EXPECT_EQ(CodePointToCp932(0xE9), std::nullopt);
}

// Shown and edited, UTF-8 text comes back byte for byte: bytes that are not
// UTF-8, and characters in the codec's reserved range, become reserved code
// points of their bytes.
TEST(Cp932Codec, Utf8LosslessPairKeepsEveryByte)
{
    const std::string bytes = "\xE8\xA1\xA8\xFF\xEF\x9D\x81\xC3";
    const std::string shown = DecodeUtf8Lossless(bytes);
    EXPECT_EQ(shown.substr(0, 3), "\xE8\xA1\xA8");
    EXPECT_EQ(shown.substr(3, 3), "\xEF\x9F\xBF");  // U+F7FF for 0xFF
    EXPECT_EQ(EncodeUtf8Lossless(shown), bytes);
}

TEST(Cp932Codec, StrictConversionRejectsWhatDoesNotFit)
{
    EXPECT_EQ(DecodeCp932(kHyou + "a"), std::optional<std::string>("表a"));
    EXPECT_EQ(DecodeCp932("\x95"), std::nullopt);              // lead byte without trail
    EXPECT_EQ(EncodeCp932("\xF0\x9F\x98\x80"), std::nullopt);  // an emoji
    EXPECT_EQ(EncodeCp932("\xFF"), std::nullopt);              // not UTF-8
    // Malformed UTF-8 that a lenient reader takes for a character: an
    // overlong '/' and '.' (a file name would gain a separator or "..") and a
    // surrogate.
    EXPECT_EQ(EncodeCp932("a\xC0\xAF"
                          "b"),
              std::nullopt);
    EXPECT_EQ(EncodeCp932("\xE0\x80\xAE\xE0\x80\xAE"), std::nullopt);
    EXPECT_EQ(EncodeCp932("\xED\xA0\x80"), std::nullopt);
}

// ASCII text skips the tables; beside a double-byte character it goes
// through them, and both ways must give the same bytes.
TEST(Cp932Codec, AsciiIsItselfWithAndWithoutTheTables)
{
    std::string ascii;
    for (int b = 0; b < 0x80; ++b) ascii += static_cast<char>(b);
    EXPECT_EQ(DecodeCp932(ascii), ascii);
    EXPECT_EQ(EncodeCp932(ascii), ascii);
    EXPECT_EQ(DecodeCp932(kHyou + ascii), "表" + ascii);
    EXPECT_EQ(EncodeCp932("表" + ascii), kHyou + ascii);
}

TEST(Cp932Codec, LosslessRoundTripKeepsEveryByte)
{
    // Every byte value alone, every lead byte with every trail, and the
    // NEC/IBM duplicates that decode to the same character as another code.
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    for (int lead : {0x81, 0x87, 0x95, 0xED, 0xEE, 0xFA, 0xFC})
        for (int trail = 0x30; trail < 0x100; ++trail) {
            all += static_cast<char>(lead);
            all += static_cast<char>(trail);
        }
    EXPECT_EQ(EncodeCp932Lossless(DecodeCp932Lossless(all)), all);
    EXPECT_EQ(EncodeCp932Lossless(DecodeCp932Lossless("\x87\x90")), "\x87\x90");  // ≒ (NEC) stays NEC
}

TEST(MbFind, MatchesOnlyOnCharacterBoundaries)
{
    EXPECT_EQ(MbFind(kHyou + "\\", "\\"), 2u);
    EXPECT_EQ(MbFind(kSo, "\\"), std::string::npos);
    EXPECT_EQ(MbFind(kPo + "|", "|"), 2u);
    EXPECT_EQ(MbFind("a" + kSo + "b", kSo), 1u);
    // The needle's own bytes straddling two characters do not match.
    EXPECT_EQ(MbFind(kHyou + kHyou, std::string("\x5C\x95")), std::string::npos);
    EXPECT_EQ(MbFind("abcabc", "c", 3), 5u);
    EXPECT_EQ(MbFind("abc", ""), 0u);
    EXPECT_FALSE(MbContains("", "a"));
}

TEST(MbFind, ReverseFindSkipsTrailBytes)
{
    EXPECT_EQ(MbReverseFind("a\\b" + kHyou, '\\'), 1u);
    EXPECT_EQ(MbReverseFind(kSo, '\\'), std::string::npos);
    EXPECT_EQ(MbReverseFind("x/y/z", '/'), 3u);
}

TEST(MbCompare, ComparesCharacterValues)
{
    EXPECT_EQ(MbCompare("abc", "abc"), 0);
    EXPECT_LT(MbCompare("A", "a"), 0);
    EXPECT_LT(MbCompare("ab", "abc"), 0);
    EXPECT_GT(MbCompare("b", "abc"), 0);
    // A half-width katakana byte (single) sorts before any double-byte character.
    EXPECT_LT(MbCompare("\xB1", kSo), 0);
    EXPECT_LT(MbCompare(kSo, kHyou), 0);  // 0x835C < 0x955C
}

TEST(MbCase, AsciiOnlyAndNeverTrailBytes)
{
    // ア = 83 41: its trail byte is an 'A' that must stay.
    std::string a = ToCp932("ア");
    EXPECT_EQ(MbLowerAscii("ReadMe.HTM" + a), "readme.htm" + a);
    EXPECT_EQ(MbUpperAscii("readme.doc" + ToCp932("ａ")), "README.DOC" + ToCp932("ａ"));
    EXPECT_EQ(MbLowerAscii(a), a);
}

TEST(Trim, AsciiWhiteSpaceOnly)
{
    EXPECT_EQ(Trim(" \t\r\n x y \v\f"), "x y");
    EXPECT_EQ(Trim(ToCp932("　x　")), ToCp932("　x　"));  // the ideographic space is not white space
    EXPECT_EQ(TrimLeft("  a "), "a ");
    EXPECT_EQ(TrimRight("  a "), "  a");
    EXPECT_EQ(Trim("   "), "");
}

TEST(MbReplaceAll, ReplacesEveryBoundaryMatch)
{
    EXPECT_EQ(MbReplaceAll("a&lt;b&lt;", "&lt;", "<"), "a<b<");
    EXPECT_EQ(MbReplaceAll(kSo + "\\", "\\", "_"), kSo + "_");
}

}  // namespace
}  // namespace zavio
