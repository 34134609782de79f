// How a WinHelp topic name becomes the base name of its page file. The page
// separation names the files by it and the jump links point at them by it,
// so a link always finds the file of its topic.
#pragma once

#include <string>

namespace zavio {

// The characters \ / : * ? " < > | . become "_". The name is read character
// by character: the trail byte of a double-byte character (表 = 95 5C,
// ソ = 83 5C, ポ = 83 7C) is part of that character, never a backslash or bar.
void ReplaceUnsafeBytes(std::string& name);

}  // namespace zavio
