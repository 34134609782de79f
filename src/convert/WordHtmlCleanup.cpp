// Turning a Word "Save as Web Page" manuscript into lines the page extraction
// can cut: the header set aside, one tag run or text run per line, the
// footnote list moved into the run's state, WinHelp's footnote marks dropped and
// jump hotspots turned into links to the page files.
#include <algorithm>
#include <iterator>

#include "convert/ConversionState.h"
#include "convert/PageNames.h"
#include "convert/WordHtmlLines.h"
#include "doc/FileKinds.h"
#include "doc/ZavioDoc.h"
#include "framework/Cp932.h"

namespace zavio {

namespace {

bool IsNoteListStartLine(const std::string& line)
{
    return MbContains(line, "<div style='mso-element:footnote-list'>") ||
           MbContains(line, "<div style='mso-element:endnote-list'>");
}

bool IsPageBreakLine(const std::string& line)
{
    return MbContains(line, "page-break-before:always'");
}

bool IsTextLine(const std::string& line)
{
    return !line.empty() && line[0] != '<';
}

// Splits Word's body into one tag run or one text run per line. It keeps its
// state from one source line to the next, as Word wraps tags and text freely.
class TagLineSplitter {
public:
    explicit TagLineSplitter(LineList& out) : m_out(out) {}

    void FeedLine(const std::string& line)
    {
        if (line.empty()) {
            OnEmptySourceLine();
            return;
        }
        // Where the next "<" and ">" stand; each is looked for again only
        // once it has been passed.
        std::size_t nextOpen = line.find('<'), nextClose = line.find('>');
        for (std::size_t i = 0; i < line.size();) {
            // Inside a tag, and in text once its first byte is in, every byte
            // up to the next "<" or ">" does the same: take such a run whole.
            if (InRun()) {
                if (nextOpen < i) nextOpen = line.find('<', i);
                if (nextClose < i) nextClose = line.find('>', i);
                const std::size_t end = std::min({nextOpen, nextClose, line.size()});
                if (end > i) {
                    TakeRun(std::string_view(line).substr(i, end - i));
                    i = end;
                    continue;
                }
            }
            OnByte(line[i++]);
        }
        OnEndOfSourceLine();
    }

private:
    // Where the last '<' or '>' left us. Outside: before the first '>' of the
    // body, or in the rest of a tag that an empty line cut off.
    enum class State { Outside, InTag, AfterTag };

    // Tags that close within this many bytes ("<b>", "</span>") share a line.
    static constexpr int kShortTagDistance = 10;

    bool InRun() const
    {
        if (m_state == State::InTag) return m_textCount == 0;
        return m_state == State::AfterTag && m_textCount > 0 && m_pending.empty();
    }

    // What OnByte does for each byte of a run that holds no "<" or ">".
    void TakeRun(std::string_view run)
    {
        m_tag.append(run);
        if (m_state == State::AfterTag) {
            m_text.append(run);
            m_textCount += static_cast<int>(run.size());
        }
        m_distance += static_cast<int>(run.size());
    }

    void OnByte(char c)
    {
        EnterOrLeaveTag(c);
        m_tag += c;
        if (m_state == State::AfterTag && c != '>') AddTextByte(c);
        ++m_distance;
        if (m_textCount > 0) {
            if (m_state != State::AfterTag) EndTextAtTag();
        } else if (m_state != State::InTag) {
            FileTagBytes();
        }
        if (c == '>') m_distance = 0;
    }

    // Word writes "<" and ">" in text as "&lt;" and "&gt;", so these bytes alone
    // mark tags (and neither can be a trail byte).
    void EnterOrLeaveTag(char c)
    {
        if (c == '<') {
            m_tag.clear();
            m_state = State::InTag;
        } else if (c == '>') {
            m_state = State::AfterTag;
        }
    }

    // Text after a run of short tags: the run goes out first so that the text
    // stands on a line of its own.
    void AddTextByte(char c)
    {
        m_text += c;
        ++m_textCount;
        if (!m_pending.empty()) {
            Emit(m_pending);
            m_tag.clear();
            m_distance = 0;
        }
    }

    // Word closes a run right after its text ("word</span>"): the text ends here.
    void EndTextAtTag()
    {
        Emit(m_text);
        m_tag.assign(1, '<');
        m_textCount = 0;
        m_pending.clear();
        m_distance = 0;
    }

    // Word strings short closing tags together ("</span></p>"): they wait in one
    // run; a long tag (a paragraph with its style) goes out on its own line.
    void FileTagBytes()
    {
        if (m_distance <= kShortTagDistance) {
            m_pending += m_tag;
            m_tag.clear();
            return;
        }
        if (!m_pending.empty()) Emit(m_pending);
        Emit(m_tag);
    }

    // Word's empty lines between paragraphs are kept; one also ends a tag that
    // was cut short.
    void OnEmptySourceLine()
    {
        if (!m_pending.empty()) Emit(m_pending);
        m_out.emplace_back();
        m_pending.clear();
        m_distance = 0;
        if (m_state == State::InTag) m_state = State::Outside;
    }

    // Word wraps a long tag between its attributes: the pieces join with one
    // blank. Text wrapped at a blank keeps one line per source-line piece.
    void OnEndOfSourceLine()
    {
        if (m_state == State::InTag) m_tag += ' ';
        if (m_state == State::AfterTag && m_textCount > 0) {
            Emit(m_text);
            m_textCount = 0;
        }
    }

    // The line gets a copy of its exact size; the buffer keeps its room for
    // the next one instead of growing again from nothing.
    void Emit(std::string& s)
    {
        m_out.emplace_back(s);
        s.clear();
    }

    LineList& m_out;
    State m_state = State::Outside;
    std::string m_tag;
    std::string m_text;
    int m_textCount = 0;
    std::string m_pending;
    int m_distance = 0;
};

// A jump into a named window is written "topic&gt;window": only the topic counts.
void CutWindowName(std::string& target)
{
    std::size_t at = MbFind(target, "&gt;");
    if (at != std::string::npos) target.erase(at);
}

}  // namespace

bool CZavioDoc::LoadHtmlSource()
{
    if (!IsManuscriptExtension(m_strExtension)) return false;
    ReadViewLines(m_saSourceLines);
    return true;
}

bool CZavioDoc::SplitOffWordHeader(CConversionState& run)
{
    LineList& header = run.m_saHeaderLines;
    auto bodyStart = std::find_if(m_saSourceLines.begin(), m_saSourceLines.end(), IsBodyStartLine);
    header.insert(header.end(), m_saSourceLines.begin(), bodyStart);
    if (bodyStart == m_saSourceLines.end()) return false;
    // A body start on any line succeeds; the lines above it are the header.
    m_saSourceLines.erase(m_saSourceLines.begin(), bodyStart);
    return true;
}

void CZavioDoc::SplitTagsIntoLines()
{
    TagLineSplitter splitter(m_saOutputLines);
    for (const std::string& line : m_saSourceLines) splitter.FeedLine(line);
    // A run of short tags still waiting after the last line is dropped.
}

void CZavioDoc::MoveNoteListToApp(CConversionState& run)
{
    // Walk up from the end to the body section's "</div>" above the last note
    // list, or to the last page break, which stays.
    enum class Walk { Searching, ListSeen, Done };
    Walk state = Walk::Searching;
    std::size_t first = m_saOutputLines.size();
    while (first > 0) {
        const std::string& line = m_saOutputLines[first - 1];
        if (IsPageBreakLine(line)) break;
        if (IsNoteListStartLine(line)) state = Walk::ListSeen;
        if (state == Walk::ListSeen && line == "</div>") state = Walk::Done;
        --first;
        if (state == Walk::Done) break;
    }

    // One block move keeps the order and puts it before earlier notes.
    LineList& notes = run.m_saNoteLines;
    auto from = m_saOutputLines.begin() + static_cast<std::ptrdiff_t>(first);
    notes.insert(notes.begin(), std::make_move_iterator(from), std::make_move_iterator(m_saOutputLines.end()));
    m_saOutputLines.erase(from, m_saOutputLines.end());
}

void CZavioDoc::RemoveFootnoteMarks()
{
    // Keyword, title, browse and A-keyword marks mean nothing on a web page;
    // "#" stays, as it leads to the page's topic name.
    auto isMark = [](const std::string& line) { return line == "K" || line == "$" || line == "+" || line == "A"; };
    m_saOutputLines.erase(std::remove_if(m_saOutputLines.begin(), m_saOutputLines.end(), isMark),
                          m_saOutputLines.end());
}

void CZavioDoc::ConvertJumpLinks()
{
    int linkStart = -1;
    int linkEnd = -1;
    bool underline = false;
    int underlineTextCount = 0;
    bool hidden = false;
    std::string target;
    bool targetCaptured = false;

    const int count = static_cast<int>(m_saOutputLines.size());
    for (int i = 0; i < count; ++i) {
        const std::string& line = m_saOutputLines[i];
        if (line.empty()) continue;
        const bool textLine = IsTextLine(line);

        // A line that goes on in bold ("</span><b>") does not end the underline.
        if (MbContains(line, "</u>") && !MbContains(line, "</span><b>")) underline = false;
        if (!hidden) hidden = IsHiddenLine(i);
        if (textLine && hidden) {
            target = line;
            targetCaptured = true;
        }
        if (ContainsWithoutBlanks(line, "style='text-underline:double'")) {
            underline = true;
            continue;
        }
        if (hidden && targetCaptured) {
            ReplaceUnsafeBytes(target);
            CutWindowName(target);
            OpenLinkAt(linkStart, target);
            CloseLinkAt(linkEnd);
            ClearLine(i);  // the hidden topic name must not show on the page
            underlineTextCount = 0;
            linkStart = linkEnd = -1;
            hidden = targetCaptured = false;
        }
        if (!textLine) continue;
        // A double-underlined run links from its first to its last text line; a
        // popup hotspot (single underline) links its last text line only.
        if (underline) {
            if (++underlineTextCount == 1) linkStart = i;
            linkEnd = i;
        } else {
            linkStart = linkEnd = i;
        }
    }
}

void CZavioDoc::StripBlanks(std::string& s)
{
    s.erase(std::remove(s.begin(), s.end(), ' '), s.end());
}

bool CZavioDoc::IsHiddenLine(int i) const
{
    if (i < 0 || i >= static_cast<int>(m_saOutputLines.size())) return false;
    return ContainsWithoutBlanks(m_saOutputLines[i], "display:none;mso-hide:all");
}

void CZavioDoc::ClearLine(int i)
{
    if (i >= 0 && i < static_cast<int>(m_saOutputLines.size())) m_saOutputLines[i].clear();
}

void CZavioDoc::OpenLinkAt(int i, const std::string& target)
{
    if (i < 0 || i >= static_cast<int>(m_saOutputLines.size())) return;
    m_saOutputLines[i] = "<a href=\"" + target + ".htm\">" + m_saOutputLines[i];
}

void CZavioDoc::CloseLinkAt(int i)
{
    if (i >= 0 && i < static_cast<int>(m_saOutputLines.size())) m_saOutputLines[i] += "</a>";
}

}  // namespace zavio
