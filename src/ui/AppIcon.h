// The program's icon: the desktop theme's "zavio" where installed, else drawn.
#pragma once

#include <QIcon>

namespace zavio {

QIcon AppIcon();

}  // namespace zavio
