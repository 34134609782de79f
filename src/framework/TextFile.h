// Text files as the classic text-mode stream reads and writes them, the same
// on every platform: reading, LF or CR LF ends a line and a lone CR stays in
// its line; writing, every line ends with CR LF.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zavio {

using LineList = std::vector<std::string>;

// Appends the lines of `bytes` to `lines`; a last line without a line break
// counts, a final line break adds no empty line.
void SplitTextLines(std::string_view bytes, LineList& lines);

// Appends the file's lines; false when it cannot be opened or read (the
// lines appended so far stay).
bool ReadTextLines(std::string_view path, LineList& lines);

// Each line followed by CR LF, with `spare` bytes of room left after them.
std::string JoinTextLines(const LineList& lines, std::size_t spare = 0);

// Appends each line followed by CR LF to `text`, growing it once.
void AppendJoinedLines(std::string& text, const LineList& lines);

// The text JoinTextLines makes of the lines SplitTextLines reads from
// `bytes`, made without the lines: in the bytes' own buffer when they end
// every line with CR LF already, as Word and the program write text.
std::string CrLfText(std::string bytes);

// Appends the lines of an edit view's text (CR LF between lines): CR LF
// ends a line once, a CR alone ends one too, a bare LF on an empty line ends
// nothing, and a zero byte is dropped. Lines have no length limit: Word
// writes a Japanese paragraph without blanks as one line.
void SplitViewText(std::string_view text, LineList& lines);

// The lines SplitViewText makes of a view's text, one at a time and without
// a string each: a line is a view of the text, or of the reader's own
// buffer when zero bytes were dropped from it; it serves until the next call.
class ViewTextLines {
public:
    explicit ViewTextLines(std::string_view text);
    // The next line; false after the last.
    bool Next(std::string_view& line);
    // Where the text after the lines read so far begins: reading on from
    // there gives the lines that follow.
    std::size_t Position() const { return m_at; }

private:
    std::string_view m_text;
    std::size_t m_at = 0;
    // Where the next CR, LF and zero byte stand; each is looked for again
    // only once it has been passed.
    std::size_t m_nextCr, m_nextLf, m_nextZero;
    std::string m_pieces;  // a line with zero bytes, without them
    bool m_piecesGiven = false;
};

// The lines from `first` on, read from UTF-8 text, in CP932 as every stage
// reads text: the byte-order mark gone, a character CP932 lacks "&#NNNN;".
void Utf8LinesToCp932(LineList& lines, std::size_t first);

// Creates or truncates the file and writes the lines; false on a file error.
bool WriteTextLines(std::string_view path, const LineList& lines);

}  // namespace zavio
