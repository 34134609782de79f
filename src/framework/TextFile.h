// Text files as the classic text-mode stream reads and writes them, the same
// on every platform: reading, LF or CR LF ends a line and a lone CR stays in
// its line; writing, every line ends with CR LF.
#pragma once

#include <cstddef>
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

// The text JoinTextLines makes of the lines SplitTextLines reads from
// `bytes`, made without the lines: in the bytes' own buffer when they end
// every line with CR LF already, as Word and the program write text.
std::string CrLfText(std::string bytes);

// Creates or truncates the file and writes the lines; false on a file error.
bool WriteTextLines(std::string_view path, const LineList& lines);

}  // namespace zavio
