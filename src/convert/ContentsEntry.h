// One line of a WinHelp contents file as both contents writers read it, and
// the name under which a matched topic entry is shown.
#pragma once

#include <string>
#include <string_view>

#include "framework/TextFile.h"

namespace zavio {

class CConversionState;
class PageIndex;

// The contents file of a run as the writers read it: its lines in CP932.
struct ContentsFile {
    std::string path;
    std::string baseName;
    LineList lines;
};

// The position of a contents line's level digit, after blanks and tabs; 0,
// and `level` unchanged, when the line has none.
int GetCntLevel(std::string_view line, int& level);

struct ContentsEntry {
    int level = 0;         // 1 to 9
    std::string text;      // everything after the level digit, untouched
    bool isTopic = false;  // the line holds "="
    std::string name;      // text before the first "=", leading white space removed
    std::string rawTopic;  // text after the first "=", untouched
};

// False for every line that is not an entry (no level digit 1-9 after the
// leading blanks and tabs).
bool ReadContentsEntry(const std::string& line, ContentsEntry& entry);

// The entry's name as the contents show it: a sure match (score 50 or more)
// plainly, a doubtful one with "☆" (21-49) or "★" (20 or less) in front
// and, when the matched page has another title, " ← " and that title behind.
std::string DisplayedEntryName(const std::string& name, const std::string& matchedTitle, int score);

// Matches an entry to a page: a page whose file name is the topic (score
// 100), else the page whose title holds most of the title's byte pairs;
// `title`, `topic` and `score` become the page's. Unchanged when none fits.
void FindPageForTitle(PageIndex& pages, std::string& title, std::string& topic, int& score);

}  // namespace zavio
