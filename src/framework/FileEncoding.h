// Which encoding a text file's bytes are in. Everything inside the program is
// CP932; Word can also save a Web page as UTF-8 (its Web options, or by
// default in later versions), and editors mark such files with a byte-order
// mark.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "framework/Cp932.h"
#include "framework/TextFile.h"

namespace zavio {

// UTF-8 when the first line starts with a byte-order mark, or when a Web page
// declares charset=utf-8 in its head; CP932 otherwise.
TextEncoding DetectFileEncoding(std::string_view text, bool webPage);

// Where a line declares the charset utf-8 ("charset=utf-8", letter case
// aside, the value perhaps quoted): the position of the value "utf-8", or npos.
std::size_t FindUtf8CharsetValue(std::string_view line);

}  // namespace zavio
