#include <gtest/gtest.h>

#include "Lines.h"
#include "convert/Manuscript.h"

namespace zavio::test {
namespace {

// The positions between lines where the source broke one.
std::vector<std::size_t> BreakPositions(const ManuscriptLines& lines)
{
    std::vector<std::size_t> positions;
    for (std::size_t p = 1; p <= lines.size(); ++p)
        if (lines.Breaks().Between(p - 1, p)) positions.push_back(p);
    return positions;
}

// A page taken in one move: what stood among the dropped lines, and where
// the page ended, lands on the first line after the line put in front, as
// if the lines had moved, the dropped ones been erased and the line inserted.
TEST(ManuscriptLines, MoveTailBehindKeepsBreaksAndMarksWithTheirLines)
{
    ManuscriptLines manuscript;
    for (const char* line : {"a", "b", "c", "d", "e", "f"}) {
        manuscript.Append(line);
        if (line[0] == 'b' || line[0] == 'c' || line[0] == 'e') manuscript.MarkSourceBreak();
    }
    manuscript.AddMarks({{2, MarkKind::Keyword, "k1"},      // at "c", which is dropped
                         {5, MarkKind::LinkStart, "k2"}});  // at "f"
    ManuscriptLines page;
    page.Append("h");
    page.MarkSourceBreak();

    manuscript.MoveTailBehind(page, 1, 2, "F");

    EXPECT_EQ(Copied(manuscript.Lines()), LineList{"a"});
    EXPECT_TRUE(manuscript.Marks().empty());
    EXPECT_EQ(Copied(page.Lines()), (LineList{"h", "F", "d", "e", "f"}));
    EXPECT_EQ(BreakPositions(page), (std::vector<std::size_t>{2, 4}));
    ASSERT_EQ(page.Marks().size(), 2u);
    EXPECT_EQ(page.Marks()[0].line, 2u);
    EXPECT_EQ(page.Marks()[0].value, "k1");
    EXPECT_EQ(page.Marks()[1].line, 4u);
    EXPECT_EQ(page.Marks()[1].kind, MarkKind::LinkStart);
}

}  // namespace
}  // namespace zavio::test
