#include "convert/ContentsEntry.h"

#include "convert/ConversionState.h"
#include "framework/Cp932.h"

namespace zavio {

int GetCntLevel(std::string_view line, int& level)
{
    for (std::size_t i = 0; i < line.size(); ++i) {
        const signed char c = static_cast<signed char>(line[i]);
        if (c >= '1' && c <= '9') {
            level = c - '0';
            return static_cast<int>(i);
        }
        if (c != ' ' && c != '\t') return 0;
    }
    return 0;
}

bool ReadContentsEntry(const std::string& line, ContentsEntry& entry)
{
    int level = 0;
    int digitPos = GetCntLevel(line, level);
    if (level == 0) return false;
    entry.level = level;
    entry.text = line.substr(static_cast<std::size_t>(digitPos) + 1);
    std::size_t equals = MbFind(entry.text, "=");
    entry.isTopic = equals != std::string::npos;
    if (entry.isTopic) {
        entry.name = TrimLeft(std::string_view(entry.text).substr(0, equals));
        entry.rawTopic = entry.text.substr(equals + 1);
    } else {
        entry.name = TrimLeft(entry.text);
        entry.rawTopic.clear();
    }
    return true;
}

std::string DisplayedEntryName(const std::string& name, const std::string& matchedTitle, int score)
{
    if (score >= 50) return name;
    std::string shown = ToCp932(score > 20 ? "☆" : "★") + name;
    if (matchedTitle != name) shown += ToCp932(" ← ") + matchedTitle;
    return shown;
}

void FindPageForTitle(PageIndex& index, std::string& title, std::string& topic, int& score)
{
    std::size_t page = index.FindFile(topic);
    if (page != PageIndex::npos) {
        title = index.Title(page);
        score = 100;
        return;
    }
    int best = 0;
    page = index.FindSimilar(title, best);
    if (page == PageIndex::npos) return;
    title = index.Title(page);
    topic = index.File(page);
    score = best;
}

}  // namespace zavio
