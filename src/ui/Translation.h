// The program speaks Japanese whatever the desktop's language.
#pragma once

namespace zavio {

// Installs Qt's own Japanese translation (standard buttons, file and print
// dialogs, the text's context menu, the window menus) once per process.
// Returns whether it was found.
bool InstallJapaneseTranslation();

}  // namespace zavio
