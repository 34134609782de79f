#include <gtest/gtest.h>

#include "framework/CodePages.h"
#include "framework/Cp932.h"

namespace zavio {
namespace {

// Cyrillic is in CP932, so a Russian project's text keeps its letters; what
// CP932 lacks becomes a reference, the yen sign included, which CP932's
// table would fold into a backslash.
TEST(CodePages, SingleBytePagesBecomeCp932WithReferences)
{
    EXPECT_EQ(CodePageToCp932("\xD1\xEF\xF0\xE0\xE2\xEA\xE0", 1251), ToCp932("Справка"));
    EXPECT_EQ(CodePageToCp932("caf\xE9 \x97 \xA5 \xA9", 1252), "caf&#233; \x81\x5C &#165; &#169;");
    EXPECT_EQ(CodePageToCp932("\x98", 1251), "&#65533;");  // undefined in 1251
    EXPECT_EQ(SingleByteTable(1252)[0xE9], "&#233;");
}

TEST(CodePages, Cp932PassesAndOtherDoubleBytePagesConvert)
{
    EXPECT_EQ(CodePageToCp932("\x95\x5C\x83\x5C", 932), "\x95\x5C\x83\x5C");
    EXPECT_EQ(CodePageToCp932("\xB1\xED", 936), ToCp932("表"));               // GBK
    EXPECT_EQ(CodePageToCp932("\xC7\xD1\xB1\xDB", 949), "&#54620;&#44544;");  // 한글
    EXPECT_EQ(CodePageToCp932("\xB1", 936), "&#65533;");                      // a lead byte cut short
    EXPECT_FALSE(CodePageToCp932("abc", 437).has_value());
}

TEST(CodePages, CharsetsAndLanguagesNameTheirCodePages)
{
    EXPECT_EQ(CodePageOfCharset(128), 932u);
    EXPECT_EQ(CodePageOfCharset(204), 1251u);
    EXPECT_EQ(CodePageOfCharset(2), 0u);
    EXPECT_EQ(CodePageOfLanguage(0x411), 932u);
    EXPECT_EQ(CodePageOfLanguage(0x419), 1251u);
    EXPECT_EQ(CodePageOfLanguage(0x809), 1252u);
    EXPECT_EQ(CodePointToCp932OrReference(0x1F600), "&#128512;");
    EXPECT_EQ(CodePointToCp932OrReference(0x8868), ToCp932("表"));
}

}  // namespace
}  // namespace zavio
