#include <gtest/gtest.h>

#include <random>

#include "convert/NoteLineIndex.h"
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
    const NoteLineIndex index(notes);
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

}  // namespace
}  // namespace zavio::test
