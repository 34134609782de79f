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
bool IsNoteListStartLine(std::string_view line)
{
    if (line.size() < 4 || line[0] != '<' || line[1] != 'd' || line[2] != 'i' || line[3] != 'v') return false;
    return MbContains(line, "<div style='mso-element:footnote-list'>") ||
           MbContains(line, "<div style='mso-element:endnote-list'>");
}

// Splits Word's body into one tag run or one text run per line. It keeps its
// state from one source line to the next, as Word wraps tags and text freely.
// The tag and the text being read are kept as where they begin in the source
// line, with what came before that line carried as bytes: a byte is then
// copied once, into the line it ends up on, and the bytes between one "<" or
// ">" and the next are taken as one run.
class TagLineSplitter {
public:
    explicit TagLineSplitter(ManuscriptLines& out) : m_out(out) {}

    void FeedLine(std::string_view line)
    {
        if (line.empty()) {
            OnEmptySourceLine();
            return;
        }
        m_line = line;
        m_tagFrom = 0;
        // Where the next "<" and ">" stand; each is looked for again only
        // once it has been passed.
        std::size_t nextOpen = line.find('<'), nextClose = line.find('>');
        for (std::size_t i = 0; i < line.size();) {
            if (nextOpen < i) nextOpen = line.find('<', i);
            if (nextClose < i) nextClose = line.find('>', i);
            const std::size_t end = std::min({nextOpen, nextClose, line.size()});
            if (end > i) TakeRun(i, end);
            if (end == line.size()) break;
            if (line[end] == '<')
                OnTagOpen(end);
            else
                OnTagClose(end);
            i = end + 1;
        }
        OnEndOfSourceLine();
    }

private:
    // Where the last '<' or '>' left us. Outside: before the first '>' of the
    // body, or in the rest of a tag that an empty line cut off.
    enum class State { Outside, InTag, AfterTag };

    // Tags that close within this many bytes ("<b>", "</span>") share a line.
    static constexpr std::size_t kShortTagDistance = 10;

    // Bytes [from, to) of the line, none of them "<" or ">". Every byte the
    // splitter reads belongs to the tag buffer, which holds them already
    // (m_tagFrom); only text is read apart from a tag.
    void TakeRun(std::size_t from, std::size_t to)
    {
        switch (m_state) {
            case State::InTag:
                m_distance += to - from;
                return;
            case State::AfterTag:
                if (!m_haveText) StartText(from);
                m_distance += to - from;
                return;
            case State::Outside:
                // Stray bytes: each is filed like the end of a tag.
                for (std::size_t k = from; k < to; ++k) {
                    ++m_distance;
                    FileTagBytes(k + 1);
                }
                return;
        }
    }

    // Text after a run of short tags: the run goes out first so that the text
    // stands on a line of its own.
    void StartText(std::size_t at)
    {
        m_haveText = true;
        m_textFrom = at;
        if (!m_pending.empty()) {
            EmitPending();
            ClearTag(at + 1);
            m_distance = 0;
        }
    }

    // Word closes a run right after its text ("word</span>"): the text ends
    // there, and the tag buffer starts again with the "<".
    void OnTagOpen(std::size_t at)
    {
        ClearTag(at);
        m_state = State::InTag;
        ++m_distance;
        if (m_haveText) {
            EmitText(at);
            m_pending.clear();
            m_distance = 0;
        }
    }

    // Word writes "<" and ">" in text as "&lt;" and "&gt;", so these bytes
    // alone mark tags (and neither can be a trail byte).
    void OnTagClose(std::size_t at)
    {
        m_state = State::AfterTag;
        ++m_distance;
        if (m_haveText) {
            // A ">" inside text belongs to the tag buffer only.
            m_textCarry.append(m_line, m_textFrom, at - m_textFrom);
            m_textFrom = at + 1;
        } else {
            FileTagBytes(at + 1);
        }
        m_distance = 0;
    }

    // Word strings short closing tags together ("</span></p>"): they wait in
    // one run; a long tag (a paragraph with its style) goes out on its own
    // line. The tag buffer runs up to `end` in the line.
    void FileTagBytes(std::size_t end)
    {
        const std::string_view rest = m_line.substr(m_tagFrom, end - m_tagFrom);
        if (m_distance <= kShortTagDistance) {
            m_pending.append(m_tagCarry).append(rest);
        } else {
            if (!m_pending.empty()) EmitPending();
            if (m_tagCarry.empty()) {
                m_out.Append(rest);
            } else {
                m_out.Append(m_tagCarry.append(rest));
            }
        }
        ClearTag(end);
    }

    // Word's empty lines between paragraphs are kept; one also ends a tag that
    // was cut short.
    void OnEmptySourceLine()
    {
        if (!m_pending.empty()) EmitPending();
        m_out.Append({});
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
        m_tagCarry.append(m_line, m_tagFrom);
        if (m_state == State::InTag) {
            m_tagCarry += ' ';
            return;
        }
        if (m_state == State::AfterTag && m_haveText) EmitText(m_line.size());
        m_out.MarkSourceBreak();
    }

    void ClearTag(std::size_t from)
    {
        m_tagCarry.clear();
        m_tagFrom = from;
    }

    // The text read so far, up to `end` in the line.
    void EmitText(std::size_t end)
    {
        const std::string_view rest = m_line.substr(m_textFrom, end - m_textFrom);
        if (m_textCarry.empty()) {
            m_out.Append(rest);
        } else {
            m_out.Append(m_textCarry.append(rest));
            m_textCarry.clear();
        }
        m_haveText = false;
    }

    // The line gets a copy of its exact size; the buffer keeps its room for
    // the next run instead of growing again from nothing.
    void EmitPending()
    {
        m_out.Append(m_pending);
        m_pending.clear();
    }

    ManuscriptLines& m_out;
    State m_state = State::Outside;
    std::string_view m_line;  // the source line being read
    // The tag buffer: the bytes carried from earlier lines, then the line's
    // bytes from m_tagFrom on. Every byte read goes into it; a "<" starts it
    // again.
    std::string m_tagCarry;
    std::size_t m_tagFrom = 0;
    // The text run, within one source line: the bytes before a stray ">" in
    // it, then the line's bytes from m_textFrom on.
    bool m_haveText = false;
    std::string m_textCarry;
    std::size_t m_textFrom = 0;
    std::string m_pending;
    std::size_t m_distance = 0;  // bytes since the last ">" or the last run sent out
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

// The lines a manuscript left unread in its text join its source lines.
void TakeUnreadLines(Manuscript& manuscript)
{
    if (manuscript.sourceText.empty()) return;
    SplitViewText(std::string_view(manuscript.sourceText).substr(manuscript.sourceTextRead), manuscript.sourceLines);
    std::string().swap(manuscript.sourceText);
    manuscript.sourceTextRead = 0;
}

}  // namespace

void LoadHtmlSource(Manuscript& manuscript, SourceText text)
{
    LineList& lines = manuscript.sourceLines;
    TakeUnreadLines(manuscript);
    const std::size_t first = lines.size();
    if (text.encoding == TextEncoding::Utf8) {
        SplitViewText(text.bytes, lines);
        Utf8LinesToCp932(lines, first);
        DeclareShiftJis(lines, first);
        return;
    }
    // The lines up to Word's body division are made here; the body, nearly
    // all of the text, is split into tag and text runs straight from it.
    ViewTextLines reader(text.bytes);
    for (std::string_view line; reader.Next(line);) {
        lines.emplace_back(line);
        if (IsBodyStartLine(line)) {
            manuscript.sourceTextRead = reader.Position();
            manuscript.sourceText = std::move(text.bytes);
            return;
        }
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
    // The body's lines view the text they come from, which they hold.
    const std::size_t read = manuscript.sourceTextRead;
    const std::string_view unread = manuscript.body.HoldText(std::move(manuscript.sourceText)).substr(read);
    // Word's body makes a line of every 16 bytes or more: the room is made
    // once, and what it leaves unused is never touched.
    std::size_t bytes = unread.size();
    for (const std::string& line : manuscript.sourceLines) bytes += line.size();
    manuscript.body.Reserve(manuscript.body.size() + manuscript.sourceLines.size() + bytes / 16);
    TagLineSplitter splitter(manuscript.body);
    for (const std::string& line : manuscript.sourceLines) splitter.FeedLine(line);
    ViewTextLines rest(unread);
    for (std::string_view line; rest.Next(line);) splitter.FeedLine(line);
    // A run of short tags still waiting after the last line is dropped.
    // Split, the source lines have served; their room goes to the pages.
    LineList().swap(manuscript.sourceLines);
    manuscript.sourceText = std::string();
    manuscript.sourceTextRead = 0;
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
    const auto isMark = [](std::string_view line, bool inReference) {
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
