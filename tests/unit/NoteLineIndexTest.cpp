#include <gtest/gtest.h>

#include <random>

#include "Lines.h"
#include "convert/NoteLineIndex.h"
#include "convert/PageNames.h"
#include "framework/Cp932.h"

namespace zavio::test {
namespace {

// The answer by the definition: the first line holding the reference where
// one of its characters begins.
std::size_t FirstLineByScan(const LineList& notes, std::string_view what)
{
    std::size_t line = 0;
    while (line < notes.size() && !MbContains(notes[line], what)) ++line;
    return line;
}

// A block large enough to be searched by its pieces: Word's footnotes with
// references that are prefixes of others (ftn1, ftn10, ftn100), and lines
// where a reference stands only from a trail byte on (表 is 95 5C, so "\ftn7"
// inside 表ftn7 does not count).
TEST(NoteLineIndex, LargeBlocksFindTheSameLineAsAScanFromTheStart)
{
    std::mt19937 rng(9);
    LineList notes;
    for (int id = 1; notes.size() < 12'000; ++id) {
        const std::string ref = "ftn" + std::to_string(id);
        notes.push_back("<div style='mso-element:footnote' id=" + ref + ">");
        notes.push_back("<a style='mso-footnote-id:" + ref + "' href=\"#_" + ref + "ref\">");
        if (rng() % 7 == 0) notes.push_back("\x95\x5C" + ref + " \\" + std::to_string(id));
        notes.push_back("#");
        notes.push_back("IDH_TOPIC_" + std::to_string(rng() % 1000));
    }
    const LineViews views = Viewed(notes);
    const NoteLineIndex index(views);
    std::vector<std::string> queries = {"ftn1",
                                        "ftn10",
                                        "ftn999",
                                        "ftn99999",
                                        "IDH_TOPIC_7",
                                        "mso-footnote-id:ftn5'",
                                        "\\7",
                                        "\\70",
                                        "#",
                                        "no such text",
                                        "\x5C"
                                        "ftn7"};
    for (int i = 0; i < 300; ++i) queries.push_back("ftn" + std::to_string(rng() % 3000));
    for (const std::string& what : queries) EXPECT_EQ(index.FirstLineWith(what), FirstLineByScan(notes, what)) << what;
}

std::string TopicName(const LineList& notes, std::string_view reference)
{
    const LineViews views = Viewed(notes);
    return NoteTextAfterMark(views, NoteLineIndex(views), reference, "#");
}

TEST(NoteTextAfterMark, TheTopicNameFollowsTheHashMarkWithinFifteenLines)
{
    EXPECT_EQ(TopicName({"id=ftn1", " \t# \t", "&nbsp;", "", "<span>", "  topic\t"}, "ftn1"), "topic");
    EXPECT_EQ(TopicName({"id=ftn1", "# x", "topic"}, "ftn1"), "");
    EXPECT_EQ(TopicName({"id=ftn1", "#", "topic"}, "ftn9"), "");
    // Text before the mark, or text that opens a tag, is not the name.
    EXPECT_EQ(TopicName({"id=ftn1", "before", "#", "<b>tag", "after"}, "ftn1"), "after");
    LineList notes{"ref", "#"};
    for (int i = 0; i < 13; ++i) notes.push_back("<p>");
    notes.push_back("fifteenth");
    EXPECT_EQ(TopicName(notes, "ref"), "fifteenth");
    notes.insert(notes.begin() + 2, "<p>");
    EXPECT_EQ(TopicName(notes, "ref"), "");
}

// The reference is found where a character begins: bytes of it that
// straddle two characters of an earlier line, or stand at a trail byte, do
// not count, and a later match in the same line does.
TEST(NoteTextAfterMark, TheReferenceMatchesOnlyOnCharacterBoundaries)
{
    const std::string hyou = "\x95\x5C";  // 表
    const std::string ref = "\\x";        // a backslash, as the trail byte of 表 is
    EXPECT_EQ(TopicName({hyou + "x", "#", "wrong", hyou + "\\x", "#", "right"}, ref), "right");
    EXPECT_EQ(TopicName({hyou + "x " + "\\x", "#", "same line"}, ref), "same line");
    EXPECT_EQ(TopicName({hyou + "x", "#", "none"}, ref), "");
}

TEST(ReplaceUnsafeBytes, UnsafeCharactersBecomeUnderscoresButTrailBytesStay)
{
    std::string name = "a.b/c\\d:e*f?g\"h<i>j|k";
    ReplaceUnsafeBytes(name);
    EXPECT_EQ(name, "a_b_c_d_e_f_g_h_i_j_k");
    std::string japanese = "\x95\x5C\x83\x7C|\\";  // 表, ポ, a bar, a backslash
    ReplaceUnsafeBytes(japanese);
    EXPECT_EQ(japanese, "\x95\x5C\x83\x7C__");
}

}  // namespace
}  // namespace zavio::test
