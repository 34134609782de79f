#include "convert/ContentsEntry.h"

#include "app/ZavioApp.h"
#include "framework/Cp932.h"

namespace zavio {

bool ReadContentsEntry(const std::string& line, ContentsEntry& entry)
{
    int level = 0;
    int digitPos = CZavioApp::GetCntLevel(line, level);
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

}  // namespace zavio
