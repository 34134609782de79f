#include "convert/PageNames.h"

#include <string_view>

#include "framework/Cp932.h"

namespace zavio {

void ReplaceUnsafeBytes(std::string& name)
{
    static constexpr std::string_view kUnsafe = "\\/:*?\"<>|.";
    for (std::size_t i = 0; i < name.size(); i += CharLength(name, i))
        if (kUnsafe.find(name[i]) != std::string_view::npos) name[i] = '_';
}

}  // namespace zavio
