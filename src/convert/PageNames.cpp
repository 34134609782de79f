#include "convert/PageNames.h"

#include <string_view>

namespace zavio {

void ReplaceUnsafeBytes(std::string& name)
{
    static constexpr std::string_view kUnsafe = "\\/:*?\"<>|.";
    for (char& c : name)
        if (kUnsafe.find(c) != std::string_view::npos) c = '_';
}

}  // namespace zavio
