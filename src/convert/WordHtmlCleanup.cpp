// Turning a Word "Save as Web Page" manuscript into lines the page extraction
// can cut: the header set aside, one tag run or text run per line, the
// footnote list moved into the run's state, WinHelp's footnote marks dropped and
// jump hotspots turned into links to the page files.
#include "convert/WordHtmlCleanup.h"

#include <algorithm>
#include <iterator>
#include <optional>

#include "convert/ConversionState.h"
#include "convert/WordHtmlLines.h"
#include "framework/Cp932.h"
#include "framework/FileEncoding.h"

namespace zavio {

namespace {

// The split lines hold the list's long div tag on a line of its own.
bool IsNoteListStartLine(const std::string& line)
{
    if (line.compare(0, 4, "<div") != 0) return false;
    return MbContains(line, "<div style='mso-element:footnote-list'>") ||
           MbContains(line, "<div style='mso-element:endnote-list'>");
}

// Splits Word's body into one tag run or one text run per line. It keeps its
// state from one source line to the next, as Word wraps tags and text freely.
class TagLineSplitter {
public:
    explicit TagLineSplitter(ManuscriptLines& out) : m_out(out) {}

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
        m_out.Append(std::string());
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
        m_out.MarkSourceBreak();
    }

    // The line gets a copy of its exact size; the buffer keeps its room for
    // the next one instead of growing again from nothing.
    void Emit(std::string& s)
    {
        m_out.Append(s);
        s.clear();
    }

    ManuscriptLines& m_out;
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
        std::size_t length = 0;
        const std::size_t value = FindUnicodeCharsetValue(lines[i], length);
        if (value != std::string::npos) lines[i].replace(value, length, "shift_jis");
    }
}

}  // namespace

void LoadHtmlSource(Manuscript& manuscript, const SourceText& text)
{
    LineList& lines = manuscript.sourceLines;
    const std::size_t first = lines.size();
    SplitViewText(text.bytes, lines);
    if (text.encoding == TextEncoding::Utf8) {
        Utf8LinesToCp932(lines, first);
        DeclareShiftJis(lines, first);
    }
}

bool SplitOffWordHeader(CConversionState& run, Manuscript& manuscript)
{
    LineList& source = manuscript.sourceLines;
    LineList& header = run.m_saHeaderLines;
    auto bodyStart = std::find_if(source.begin(), source.end(), IsBodyStartLine);
    header.insert(header.end(), source.begin(), bodyStart);
    if (bodyStart == source.end()) return false;
    // Read before the header may be simplified: its character styles make
    // hotspots and hide their targets.
    run.m_characterStyles = ReadCharacterStyles(header);
    // A body start on any line succeeds; the lines above it are the header.
    source.erase(source.begin(), bodyStart);
    return true;
}

void SplitTagsIntoLines(Manuscript& manuscript)
{
    TagLineSplitter splitter(manuscript.body);
    for (const std::string& line : manuscript.sourceLines) splitter.FeedLine(line);
    // A run of short tags still waiting after the last line is dropped.
    // Split, the source lines have served; their room goes to the pages.
    LineList().swap(manuscript.sourceLines);
}

void MoveNoteListToRun(CConversionState& run, ManuscriptLines& body)
{
    // Word follows the body section's "</div>" with its footnote list and
    // then its endnote list: both go, from the "</div>" above the first list
    // on. Without a list the lines after the last page break go; the page
    // break stays.
    std::size_t top = body.size();
    std::size_t firstList = body.size();
    while (top > 0 && !IsPageBreakTag(body[top - 1])) {
        if (IsNoteListStartLine(body[--top])) firstList = top;
    }
    std::size_t first = top;
    if (firstList < body.size()) {
        for (std::size_t k = firstList; k > top; --k) {
            if (body[k - 1] == "</div>") {
                first = k - 1;
                break;
            }
        }
    }
    // One block move keeps the order and puts it before earlier notes; a
    // note's text is read with its blanks, as a title is.
    body.MoveTailToFront(run.m_notes, first);
}

void RemoveFootnoteMarks(ManuscriptLines& body)
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
    std::vector<std::size_t> removed;
    std::vector<LineMark> marks;
    bool inReference = false;
    std::size_t anchorLine = body.size();  // the line that opened the last anchor
    for (std::size_t i = 0; i < body.size(); ++i) {
        if (isMark(body[i], inReference)) {
            // The reference is the last anchor that line opens; the mark
            // stays with the line after it.
            if (inReference && body[i] == "K" && anchorLine < i) {
                std::string_view anchor;
                InNoteReferenceAfter(body[anchorLine], false, &anchor);
                if (std::optional<std::string> id = NoteIdOfAnchor(anchor))
                    marks.push_back({i, MarkKind::Keyword, std::move(*id)});
            }
            removed.push_back(i);
            continue;
        }
        std::string_view anchor;
        inReference = InNoteReferenceAfter(body[i], inReference, &anchor);
        if (!anchor.empty()) anchorLine = i;
    }
    body.AddMarks(std::move(marks));
    body.EraseLines(removed);
}

void CleanUpBody(CConversionState& run, Manuscript& manuscript)
{
    SplitTagsIntoLines(manuscript);
    MoveNoteListToRun(run, manuscript.body);
    RemoveFootnoteMarks(manuscript.body);
    ConvertJumpLinks(manuscript.body, run.m_characterStyles);
}

}  // namespace zavio
