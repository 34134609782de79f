// Messages that several places of the program give in the same words.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zavio::res {

// "PATH はオープンできませんでした". Saving and the conversion's files put a
// blank before it; opening a file (the Open command, files from the desktop)
// puts an ideographic blank.
enum class NotOpenedWhile { Writing, Opening };
std::string NotOpenedMessage(std::string_view path, NotOpenedWhile when);

// What a conversion is doing, in the desktop's progress dialog and on the
// converter's progress line: "ページを書き出しています (121/2000)" while the
// 121st of 2000 pages is written (`done` before it).
enum class ProgressStep { ReadingManuscripts, WritingPages };
std::string ProgressMessage(ProgressStep step, std::size_t done, std::size_t total);
// "PATH　は読み込みできませんでした": a file that could not be read as text.
std::string NotReadMessage(std::string_view path);

}  // namespace zavio::res
