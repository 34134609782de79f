#include "convert/PageNames.h"

#include "framework/Cp932.h"

namespace zavio {

namespace {

// The characters a file name may not hold, and the full stop.
bool IsUnsafe(char c)
{
    switch (c) {
        case '\\':
        case '/':
        case ':':
        case '*':
        case '?':
        case '"':
        case '<':
        case '>':
        case '|':
        case '.':
            return true;
        default:
            return false;
    }
}

}  // namespace

void ReplaceUnsafeBytes(std::string& name)
{
    for (std::size_t i = 0; i < name.size(); i += CharLength(name, i))
        if (IsUnsafe(name[i])) name[i] = '_';
}

}  // namespace zavio
