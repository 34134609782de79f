// Messages that several places of the program give in the same words.
#pragma once

#include <string>
#include <string_view>

namespace zavio::res {

// "PATH はオープンできませんでした". Saving and the conversion's files put a
// blank before it; opening a file (the Open command, files from the desktop)
// puts an ideographic blank.
enum class NotOpenedWhile { Writing, Opening };
std::string NotOpenedMessage(std::string_view path, NotOpenedWhile when);

// "PATH　は読み込みできませんでした": a file that could not be read as text.
std::string NotReadMessage(std::string_view path);

}  // namespace zavio::res
