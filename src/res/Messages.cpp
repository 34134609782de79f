#include "res/Messages.h"

#include "framework/Cp932.h"

namespace zavio::res {

std::string NotOpenedMessage(std::string_view path, NotOpenedWhile when)
{
    return std::string(path) +
           ToCp932(when == NotOpenedWhile::Writing ? " はオープンできませんでした" : "　はオープンできませんでした");
}

std::string NotReadMessage(std::string_view path)
{
    return std::string(path) + ToCp932("　は読み込みできませんでした");
}

}  // namespace zavio::res
