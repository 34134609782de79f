// How a WinHelp topic name becomes the base name of its page file. The page
// separation names the files by it and the jump links point at them by it,
// so a link always finds the file of its topic.
#pragma once

#include <string>

namespace zavio {

// The bytes \ / : * ? " < > | . become "_". Every byte counts, the trail
// bytes 0x5C and 0x7C of a double-byte character (表, ソ, ポ) included.
void ReplaceUnsafeBytes(std::string& name);

}  // namespace zavio
