// Finding WinHelp's hotspots in a cleaned manuscript: text that is
// double-underlined or struck through (a jump) or underlined (a pop-up),
// followed by hidden text that names the target. Word writes the formatting
// in a tag's own style or through a character style of the head's style
// sheet, and may wrap a hotspot over several lines, split the hidden target
// into several spans or start it with a hidden blank. The hidden text goes
// from the page; the hotspot is marked for the link its target will make
// once the run's topics are known.
#include <algorithm>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "convert/HtmlText.h"
#include "convert/TextStyles.h"
#include "convert/WordHtmlCleanup.h"
#include "framework/Cp932.h"

namespace zavio {
namespace {

std::string LowerName(std::string_view tag, std::size_t from)
{
    std::size_t end = from;
    while (end < tag.size() && tag[end] != ' ' && tag[end] != '\t' && tag[end] != '>' && tag[end] != '/') ++end;
    return MbLowerAscii(tag.substr(from, end - from));
}

// Elements that end a paragraph's inline text: a hotspot never runs across them.
// Asked of every tag of the body, so told by length and letters.
bool IsBlockElement(std::string_view name)
{
    const auto is = [&](std::initializer_list<std::string_view> names) {
        return std::find(names.begin(), names.end(), name) != names.end();
    };
    switch (name.size()) {
        case 1:
            return name[0] == 'p';
        case 2:
            if (name[0] == 'h') return (name[1] >= '1' && name[1] <= '6') || name[1] == 'r';
            return is({"tr", "td", "th", "li", "ul", "ol", "dl", "dt", "dd"});
        case 3:
            return name == "div" || name == "pre";
        case 4:
            return name == "body";
        case 5:
            return name == "table" || name == "thead" || name == "tbody";
        case 6:
            return name == "center";
        case 7:
            return name == "caption";
        case 10:
            return name == "blockquote";
        default:
            return false;
    }
}

// Elements with no end tag.
bool IsVoidElement(std::string_view name)
{
    return name == "br" || name == "img" || name == "meta" || name == "link" || name == "wbr" || name == "col" ||
           name == "input" || name == "area" || name == "base";
}

// Text a reader does not see as a word: blanks and non-breaking blanks.
bool IsBlankText(std::string_view text)
{
    while (!text.empty()) {
        if (text.front() == ' ' || text.front() == '\t') {
            text.remove_prefix(1);
        } else if (text.starts_with("&nbsp;")) {
            text.remove_prefix(6);
        } else {
            return false;
        }
    }
    return true;
}

class HotspotReader {
public:
    HotspotReader(ManuscriptLines& body, const CharacterStyles& styles) : m_body(body), m_styles(styles) {}

    void Read()
    {
        for (std::size_t i = 0; i < m_body.size(); ++i) {
            const std::string_view line = m_body[i];
            if (line.empty()) continue;
            if (line[0] == '<')
                ReadTags(line);
            else
                ReadText(i);
        }
        EndHidden();
        m_body.AddMarks(std::move(m_marks));
    }

private:
    struct Open {
        std::string name;
        TextStyle style;
    };

    TextStyle Current() const
    {
        TextStyle style;
        for (const Open& open : m_open) style.Add(open.style);
        if (style.jump) style.popup = false;
        return style;
    }

    // Each tag of a tag line opens, closes or ends a paragraph.
    void ReadTags(std::string_view line)
    {
        for (std::size_t at = line.find('<'); at != std::string_view::npos;) {
            const std::size_t end = line.find('>', at);
            const std::string_view tag = line.substr(at, (end == std::string_view::npos ? line.size() : end + 1) - at);
            ReadTag(tag);
            if (end == std::string_view::npos) return;
            at = line.find('<', end + 1);
        }
    }

    void ReadTag(std::string_view tag)
    {
        if (tag.size() < 2 || tag[1] == '!' || tag[1] == '?') return;  // comments, conditions
        const bool closing = tag[1] == '/';
        const std::string name = LowerName(tag, closing ? 2 : 1);
        if (name.empty()) return;
        if (IsBlockElement(name)) {
            EndBlock();
            return;
        }
        if (closing) {
            for (std::size_t k = m_open.size(); k-- > 0;) {
                if (m_open[k].name != name) continue;
                m_open.resize(k);
                break;
            }
            return;
        }
        if (IsVoidElement(name) || (tag.size() >= 2 && tag[tag.size() - 2] == '/')) return;
        m_open.push_back({name, StyleOf(tag)});
    }

    // A manuscript repeats its tags thousands of times, each meaning the
    // same: each is read once.
    TextStyle StyleOf(std::string_view tag)
    {
        auto known = m_styleOfTag.find(tag);
        if (known == m_styleOfTag.end()) known = m_styleOfTag.emplace(tag, StyleOfTag(tag, m_styles)).first;
        return known->second;
    }

    void ReadText(std::size_t i)
    {
        const TextStyle style = Current();
        if (style.hidden) {
            m_target += m_body[i];
            m_hiddenLines.push_back(i);
            return;
        }
        EndHidden();
        // A blank between a hotspot and its target belongs to neither.
        if (IsBlankText(m_body[i])) return;
        if (style.jump || style.popup) {
            if (!m_hotspot) m_hotspot = std::make_pair(i, i);
            m_hotspot->second = i;
        } else {
            m_hotspot.reset();
        }
    }

    // The hidden run is over: it names the target of the hotspot just before
    // it, and goes from the page whatever it names.
    void EndHidden()
    {
        if (m_hiddenLines.empty()) return;
        for (std::size_t line : m_hiddenLines) m_body.Clear(line);
        const std::string target = Trim(DecodeCharacterReferences(m_target));
        if (m_hotspot && !target.empty()) {
            m_marks.push_back({m_hotspot->first, MarkKind::LinkStart, target});
            m_marks.push_back({m_hotspot->second, MarkKind::LinkEnd, std::string()});
        }
        m_hotspot.reset();
        m_hiddenLines.clear();
        m_target.clear();
    }

    void EndBlock()
    {
        EndHidden();
        m_open.clear();
        m_hotspot.reset();
    }

    ManuscriptLines& m_body;
    const CharacterStyles& m_styles;
    // Looked up by the tag as it stands in its line, without a copy.
    struct TagHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view tag) const { return std::hash<std::string_view>()(tag); }
    };
    std::unordered_map<std::string, TextStyle, TagHash, std::equal_to<>> m_styleOfTag;
    std::vector<Open> m_open;                                      // inline elements, innermost last
    std::optional<std::pair<std::size_t, std::size_t>> m_hotspot;  // its first and last text lines
    std::vector<std::size_t> m_hiddenLines;
    std::string m_target;
    std::vector<LineMark> m_marks;
};

}  // namespace

void ConvertJumpLinks(ManuscriptLines& body, const CharacterStyles& styles)
{
    HotspotReader(body, styles).Read();
}

}  // namespace zavio
