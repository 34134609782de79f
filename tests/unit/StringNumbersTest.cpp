#include <gtest/gtest.h>

#include <string>

#include "convert/StringNumbers.h"

namespace zavio::test {
namespace {

// Numbers follow the order of coming through every growth of the table; a
// string added again keeps its number; bytes after a zero byte count.
TEST(StringNumbers, NumbersStayAsTheTableGrows)
{
    StringNumbers numbers;
    EXPECT_FALSE(numbers.Find("k0").has_value());
    for (std::size_t i = 0; i < 1000; ++i) EXPECT_EQ(numbers.Add("k" + std::to_string(i)), std::make_pair(i, true));
    numbers.Reserve(5000);
    EXPECT_EQ(numbers.Add("k5"), std::make_pair(std::size_t{5}, false));
    EXPECT_EQ(numbers.Add(std::string("a\0b", 3)), std::make_pair(std::size_t{1000}, true));
    EXPECT_EQ(numbers.Add(std::string("a\0c", 3)), std::make_pair(std::size_t{1001}, true));
    for (std::size_t i = 0; i < 1000; i += 111) EXPECT_EQ(numbers.Find("k" + std::to_string(i)), i);
    EXPECT_FALSE(numbers.Contains("k1000"));
    EXPECT_EQ(numbers[999], "k999");
    EXPECT_EQ(numbers.size(), 1002u);
}

}  // namespace
}  // namespace zavio::test
