#include "convert/ParagraphText.h"

#include <algorithm>
#include <string_view>

#include "convert/HtmlText.h"
#include "convert/WordHtmlLines.h"
#include "framework/Cp932.h"

namespace zavio {
namespace {

// Calls onTag for every tag of a cleaned line and onText for the text between.
template <class OnTag, class OnText>
void ForEachTagAndText(std::string_view line, OnTag onTag, OnText onText)
{
    for (std::size_t i = 0; i < line.size();) {
        // Neither "<" nor ">" is ever a trail byte.
        if (line[i] == '<') {
            const std::size_t close = line.find('>', i);
            const std::size_t end = close == std::string_view::npos ? line.size() : close + 1;
            onTag(line.substr(i, end - i));
            i = end;
        } else {
            const std::size_t end = std::min(line.find('<', i), line.size());
            onText(line.substr(i, end - i));
            i = end;
        }
    }
}

char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// "<p ...>", "<h1>" ... "<h6 ...>": Word's paragraphs, headings included.
// `closing` asks for "</p>" and "</h1>" ... "</h6>" instead.
bool IsParagraphTag(std::string_view tag, bool closing)
{
    std::size_t i = closing ? 2 : 1;
    if (tag.size() <= i || tag[0] != '<' || (closing && tag[1] != '/')) return false;
    const char name = LowerAscii(tag[i]);
    if (name == 'h') {
        if (tag.size() <= i + 1 || tag[i + 1] < '1' || tag[i + 1] > '6') return false;
        ++i;
    } else if (name != 'p') {
        return false;
    }
    ++i;
    return i < tag.size() && (tag[i] == '>' || (!closing && (tag[i] == ' ' || tag[i] == '\t')));
}

bool IsLineBreakTag(std::string_view tag)
{
    return tag.size() >= 3 && tag[0] == '<' && LowerAscii(tag[1]) == 'b' && LowerAscii(tag[2]) == 'r' &&
           (tag.size() == 3 || tag[3] == '>' || tag[3] == ' ' || tag[3] == '/');
}

// Text as a reader sees it: references decoded, every run of white space
// one blank, no blank at either end.
std::string VisibleText(std::string_view raw)
{
    const std::string decoded = DecodeCharacterReferences(raw);
    std::string out;
    out.reserve(decoded.size());
    bool blank = false;
    // White space bytes are never trail bytes: the text is read byte by byte.
    for (char c : decoded) {
        if (IsAsciiSpace(static_cast<unsigned char>(c))) {
            blank = !out.empty();
            continue;
        }
        if (blank) out += ' ';
        blank = false;
        out += c;
    }
    return out;
}

// Whether a piece of text shows anything: Word fills empty paragraphs with
// "&nbsp;" and pads with blanks.
bool ShowsText(std::string_view text)
{
    while (!text.empty()) {
        if (IsAsciiSpace(static_cast<unsigned char>(text[0]))) {
            text.remove_prefix(1);
        } else if (text.substr(0, 6) == "&nbsp;") {
            text.remove_prefix(6);
        } else {
            return true;
        }
    }
    return false;
}

// Reads the text of the first paragraph (or heading) that shows text once
// the note references (WinHelp's marks, note numbers) are set aside. A source
// line break between two pieces of text was a blank.
class ParagraphTextReader {
public:
    explicit ParagraphTextReader(const SourceLineBreaks& breaks) : m_breaks(breaks) {}

    void ReadLine(std::size_t index, std::string_view line)
    {
        ForEachTagAndText(
            line, [&](std::string_view tag) { OnTag(tag); }, [&](std::string_view text) { OnText(index, text); });
    }
    bool Done() const { return m_done; }
    // A paragraph that never ends gives the text read so far.
    std::string Text() const { return m_done ? m_title : VisibleText(m_text); }

private:
    void OnTag(std::string_view tag)
    {
        if (m_done) return;
        const bool inReference = InNoteReferenceAfter(tag, m_inReference);
        if (inReference != m_inReference) {
            m_inReference = inReference;
        } else if (IsParagraphTag(tag, false)) {
            StartParagraph();
        } else if (IsParagraphTag(tag, true)) {
            // Most paragraphs before a page's title show nothing at all.
            if (ShowsText(m_text)) {
                m_title = VisibleText(m_text);
                m_done = !m_title.empty();
            }
            StartParagraph();
        } else if (IsLineBreakTag(tag)) {
            m_text += ' ';
        }
    }

    void OnText(std::size_t index, std::string_view text)
    {
        if (m_done || m_inReference) return;
        if (m_lastTextLine != kNone && m_lastTextLine < index && m_breaks.Between(m_lastTextLine, index)) m_text += ' ';
        m_text += text;
        m_lastTextLine = index;
    }

    void StartParagraph()
    {
        m_text.clear();
        m_lastTextLine = kNone;
    }

    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    const SourceLineBreaks& m_breaks;
    bool m_inReference = false;
    std::string m_text;
    std::size_t m_lastTextLine = kNone;
    std::string m_title;
    bool m_done = false;
};

}  // namespace

std::string FirstParagraphText(const std::vector<std::string_view>& lines, const SourceLineBreaks& breaks,
                               std::size_t first, std::size_t last)
{
    ParagraphTextReader reader(breaks);
    for (std::size_t i = first; i < std::min(last, lines.size()) && !reader.Done(); ++i) reader.ReadLine(i, lines[i]);
    return reader.Text();
}

}  // namespace zavio
