#include <gtest/gtest.h>

#include <random>

#include "convert/WordHtmlLines.h"
#include "framework/Cp932.h"

namespace zavio::test {
namespace {

// The rule as written: take the blanks out of the line, then search it.
bool ContainsAfterStrippingBlanks(std::string line, std::string_view what)
{
    line.erase(std::remove(line.begin(), line.end(), ' '), line.end());
    return MbContains(line, what);
}

// Blanks inside the style text, and lead bytes whose next byte is a blank:
// once the blank is gone the lead pairs with the byte after it, so an 's'
// there is a trail byte and no match may begin on it.
TEST(ContainsWithoutBlanks, AgreesWithSearchingTheLineWithItsBlanksTakenOut)
{
    const std::vector<std::string> pieces = {
        " ",      "s",     "style='", "text-underline:double'", "text- underline", "\x83", "\x83 ", "\x95\x5C", "'",
        "st yle", "<span", ":double'"};
    std::mt19937 rng(5);
    for (int round = 0; round < 3000; ++round) {
        std::string line;
        for (int k = rng() % 8; k > 0; --k) line += pieces[rng() % pieces.size()];
        for (std::string_view what : {"style='text-underline:double'", "s", "st"})
            ASSERT_EQ(ContainsWithoutBlanks(line, what), ContainsAfterStrippingBlanks(line, what)) << line;
    }
}

}  // namespace
}  // namespace zavio::test
