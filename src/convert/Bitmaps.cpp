#include "convert/Bitmaps.h"

#include <algorithm>
#include <optional>

#include "convert/HtmlText.h"
#include "framework/Cp932.h"
#include "framework/Path.h"
#include "project/ProjectFiles.h"

namespace zavio {
namespace {

// How many lines a reference may span: Word cuts one where its font changes.
constexpr std::size_t kMostReferenceLines = 12;

bool IsTextLine(std::string_view line)
{
    return !line.empty() && line[0] != '<';
}

char Lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// The length of the command that opens a reference at `at` ("{bmc ",
// "{bmlwd ", ...) and its alignment; 0 when none opens there.
std::size_t ReferenceCommand(std::string_view text, std::size_t at, char& align)
{
    if (text.size() < at + 5 || text[at] != '{' || Lower(text[at + 1]) != 'b' || Lower(text[at + 2]) != 'm') return 0;
    align = Lower(text[at + 3]);
    if (align != 'c' && align != 'l' && align != 'r') return 0;
    std::size_t i = at + 4;
    while (i < text.size() && text[i] != ' ' && text[i] != '}') {
        const char c = Lower(text[i]);
        if (c != 'w' && c != 'd' && c != 't') return 0;  // bmcwd, bmct
        ++i;
    }
    return i < text.size() && text[i] == ' ' ? i + 1 - at : 0;
}

bool IsShownByBrowsers(const std::string& name)
{
    const std::string ext = MbLowerAscii(SplitPath(name).ext);
    return ext == ".bmp" || ext == ".dib" || ext == ".png" || ext == ".gif" || ext == ".jpg" || ext == ".jpeg";
}

// The picture's tag for `name` as it lies beside the pages.
std::string PictureTag(const std::string& name, char align)
{
    std::string tag = "<img src=\"" + EscapeHtmlAttribute(name) + "\" alt=\"" + EscapeHtmlAttribute(name) + "\"";
    if (align == 'l') tag += " align=left";
    if (align == 'r') tag += " align=right";
    return tag + ">";
}

class BitmapReader {
public:
    BitmapReader(ManuscriptLines& page, const std::vector<std::string>& folders, std::vector<PictureFile>& pictures,
                 LineList& remarks)
        : m_page(page), m_folders(folders), m_pictures(pictures), m_remarks(remarks)
    {
    }

    void Read()
    {
        for (std::size_t i = 0; i < m_page.size(); ++i) {
            if (!IsTextLine(m_page[i])) continue;
            for (std::size_t at = m_page[i].find('{'); at != std::string_view::npos; at = m_page[i].find('{', at + 1)) {
                char align = 'c';
                const std::size_t command = ReferenceCommand(m_page[i], at, align);
                if (command == 0) continue;
                if (Replace(i, at, command, align)) break;  // the rest of the line stands on a line of its own now
            }
        }
    }

private:
    // The reference from `at` on, its name read up to the closing brace
    // across the text lines that follow; false when it is left as text.
    bool Replace(std::size_t line, std::size_t at, std::size_t command, char align)
    {
        std::string name;
        std::size_t last = line;
        std::size_t close = m_page[line].find('}', at + command);
        if (close != std::string_view::npos) {
            name = m_page[line].substr(at + command, close - at - command);
        } else {
            name = m_page[line].substr(at + command);
            for (last = line + 1; last < m_page.size() && last <= line + kMostReferenceLines; ++last) {
                if (!IsTextLine(m_page[last])) continue;
                close = m_page[last].find('}');
                name += m_page[last].substr(0, close);
                if (close != std::string_view::npos) break;
            }
            if (close == std::string_view::npos) return false;
        }
        name = Trim(DecodeCharacterReferences(name));
        std::optional<std::string> shownName = Find(name);
        if (!shownName) {
            m_remarks.push_back(ToCp932("画像 ") + name + ToCp932(" が見つからないため、文字のまま残しました"));
            return false;
        }
        if (!IsShownByBrowsers(*shownName))
            m_remarks.push_back(ToCp932("画像 ") + *shownName + ToCp932(" はブラウザーでは表示されません"));

        // What follows the reference stands on a line of its own after the
        // picture; the reference's pieces on the lines between go.
        const std::string_view after = m_page[last].substr(close + 1);
        for (std::size_t k = line + 1; k <= last && k < m_page.size(); ++k)
            if (IsTextLine(m_page[k])) m_page.Clear(k);
        m_page.Set(line, m_page[line].substr(0, at));
        std::size_t insertAt = line + 1;
        if (last > line) {
            insertAt = last + 1;
            if (!after.empty()) m_page.InsertLine(insertAt, after);
            m_page.InsertLine(line + 1, PictureTag(*shownName, align));
            return true;
        }
        m_page.InsertLine(insertAt, PictureTag(*shownName, align));
        if (!after.empty()) m_page.InsertLine(insertAt + 1, after);
        return true;
    }

    // The bitmap's name beside the pages; nullopt when it is nowhere.
    std::optional<std::string> Find(const std::string& name)
    {
        if (name.empty()) return std::nullopt;
        std::optional<std::string> found = FindInFolders(m_folders, name, EntryKind::File);
        if (!found) return std::nullopt;
        const PathParts parts = SplitPath(*found);
        const std::string fileName = parts.fname + parts.ext;
        const bool listed = std::any_of(m_pictures.begin(), m_pictures.end(),
                                        [&](const PictureFile& picture) { return picture.name == fileName; });
        if (!listed) m_pictures.push_back({fileName, *found, {}});
        return fileName;
    }

    ManuscriptLines& m_page;
    const std::vector<std::string>& m_folders;
    std::vector<PictureFile>& m_pictures;
    LineList& m_remarks;
};

}  // namespace

void ConvertBitmapReferences(ManuscriptLines& page, const std::vector<std::string>& folders,
                             std::vector<PictureFile>& pictures, LineList& remarks)
{
    BitmapReader(page, folders, pictures, remarks).Read();
}

}  // namespace zavio
