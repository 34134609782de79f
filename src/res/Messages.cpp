#include "res/Messages.h"

#include "framework/Cp932.h"

namespace zavio::res {

std::string NotOpenedMessage(std::string_view path, NotOpenedWhile when)
{
    return std::string(path) +
           ToCp932(when == NotOpenedWhile::Writing ? " はオープンできませんでした" : "　はオープンできませんでした");
}

std::string ProgressMessage(ProgressStep step, std::size_t done, std::size_t total)
{
    return ToCp932(step == ProgressStep::WritingPages ? "ページを書き出しています (" : "原稿を読み込んでいます (") +
           std::to_string(done + 1) + "/" + std::to_string(total) + ")";
}

std::string NotReadMessage(std::string_view path)
{
    return std::string(path) + ToCp932("　は読み込みできませんでした");
}

}  // namespace zavio::res
