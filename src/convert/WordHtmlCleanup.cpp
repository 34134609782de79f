// Turning a Word "Save as Web Page" manuscript into lines the page extraction
// can cut: the header set aside, one tag run or text run per line, the
// footnote list moved into the run's state, WinHelp's footnote marks dropped and
// jump hotspots turned into links to the page files.
#include <algorithm>
#include <iterator>
#include <optional>

#include "convert/ConversionState.h"
#include "convert/PageNames.h"
#include "convert/WordHtmlLines.h"
#include "doc/FileEncoding.h"
#include "doc/FileKinds.h"
#include "doc/ZavioDoc.h"
#include "framework/Cp932.h"

namespace zavio {

namespace {

// The split lines hold the list's long div tag on a line of its own.
bool IsNoteListStartLine(const std::string& line)
{
    if (line.compare(0, 4, "<div") != 0) return false;
    return MbContains(line, "<div style='mso-element:footnote-list'>") ||
           MbContains(line, "<div style='mso-element:endnote-list'>");
}

bool IsTextLine(const std::string& line)
{
    return !line.empty() && line[0] != '<';
}

// Splits Word's body into one tag run or one text run per line. It keeps its
// state from one source line to the next, as Word wraps tags and text freely.
class TagLineSplitter {
public:
    TagLineSplitter(LineList& out, SourceLineBreaks& breaks) : m_out(out), m_breaks(breaks) {}

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
    // Outside a tag the break was a blank of the text, which the lines alone
    // no longer show: it is kept for the title reader.
    void OnEndOfSourceLine()
    {
        if (m_state == State::InTag) {
            m_tag += ' ';
            return;
        }
        if (m_state == State::AfterTag && m_textCount > 0) {
            Emit(m_text);
            m_textCount = 0;
        }
        m_breaks.Add(m_out.size());
    }

    // The line gets a copy of its exact size; the buffer keeps its room for
    // the next one instead of growing again from nothing.
    void Emit(std::string& s)
    {
        m_out.emplace_back(s);
        s.clear();
    }

    LineList& m_out;
    SourceLineBreaks& m_breaks;
    State m_state = State::Outside;
    std::string m_tag;
    std::string m_text;
    int m_textCount = 0;
    std::string m_pending;
    int m_distance = 0;
};

// A UTF-8 manuscript's lines are read in CP932: its head, which every page
// and the contents page copy, must say so, as every other page's does.
void DeclareShiftJis(LineList& lines, std::size_t first)
{
    for (std::size_t i = first; i < lines.size() && !IsBodyStartLine(lines[i]); ++i) {
        const std::size_t value = FindUtf8CharsetValue(lines[i]);
        if (value != std::string::npos) lines[i].replace(value, 5, "shift_jis");
    }
}

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
    const std::size_t first = m_saSourceLines.size();
    ReadViewLines(m_saSourceLines);
    if (m_encoding == TextEncoding::Utf8) DeclareShiftJis(m_saSourceLines, first);
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
    TagLineSplitter splitter(m_saOutputLines, m_sourceBreaks);
    for (const std::string& line : m_saSourceLines) splitter.FeedLine(line);
    // A run of short tags still waiting after the last line is dropped.
}

void CZavioDoc::MoveNoteListToApp(CConversionState& run)
{
    // Word follows the body section's "</div>" with its footnote list and
    // then its endnote list: both go, from the "</div>" above the first list
    // on. Without a list the lines after the last page break go; the page
    // break stays.
    LineList& lines = m_saOutputLines;
    std::size_t top = lines.size();
    std::size_t firstList = lines.size();
    while (top > 0 && !IsPageBreakTag(lines[top - 1])) {
        if (IsNoteListStartLine(lines[--top])) firstList = top;
    }
    std::size_t first = top;
    if (firstList < lines.size()) {
        for (std::size_t k = firstList; k > top; --k) {
            if (lines[k - 1] == "</div>") {
                first = k - 1;
                break;
            }
        }
    }

    // One block move keeps the order and puts it before earlier notes.
    LineList& notes = run.m_saNoteLines;
    auto from = lines.begin() + static_cast<std::ptrdiff_t>(first);
    notes.insert(notes.begin(), std::make_move_iterator(from), std::make_move_iterator(lines.end()));
    // A note's text is read with its blanks, as a title is.
    run.m_noteBreaks.PrependLines(m_sourceBreaks.From(first), lines.size() - first);
    m_sourceBreaks.RemoveLines(first, lines.size());
    lines.erase(from, lines.end());
}

void CZavioDoc::RemoveFootnoteMarks()
{
    // WinHelp's keyword, title, browse and A-keyword marks mean nothing on a
    // web page; so do the build-tag, macro, window and comment marks, which
    // count only inside a note reference, as body text may read "*" or "!".
    // "#" stays: it leads the page extraction to the page's topic name.
    // A keyword mark inside a reference leaves its note's id behind, where
    // it stood, for the keyword index.
    const auto isMark = [](const std::string& line, bool inReference) {
        if (line.empty() || line.size() > 4) return false;
        if (line == "K" || line == "$" || line == "+" || line == "A") return true;
        return inReference && (line == "*" || line == "!" || line == "&gt;" || line == "@");
    };
    LineList& lines = m_saOutputLines;
    std::vector<std::size_t> removed;
    bool inReference = false;
    std::size_t anchorLine = lines.size();  // the kept line that opened the last anchor
    m_keywordMarks.clear();
    std::size_t kept = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (isMark(lines[i], inReference)) {
            if (inReference && lines[i] == "K" && anchorLine < kept) KeepKeywordMark(kept, lines[anchorLine]);
            removed.push_back(i);
            continue;
        }
        std::string_view anchor;
        inReference = InNoteReferenceAfter(lines[i], inReference, &anchor);
        if (!anchor.empty()) anchorLine = kept;
        if (kept != i) lines[kept] = std::move(lines[i]);
        ++kept;
    }
    lines.resize(kept);
    m_sourceBreaks.RemoveLines(removed);
}

void CZavioDoc::KeepKeywordMark(std::size_t line, const std::string& anchorLine)
{
    // The reference is the last anchor that line opens.
    std::string_view anchor;
    InNoteReferenceAfter(anchorLine, false, &anchor);
    if (std::optional<std::string> id = NoteIdOfAnchor(anchor)) m_keywordMarks.push_back({line, std::move(*id)});
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
