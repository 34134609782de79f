// Moving the user's source files into the Finished folder, shared by the
// driver and the page separation.
#pragma once

#include <string>

namespace zavio {

// Moves a manuscript or contents file to `destination`, replacing any older
// file there. Nothing happens when the source is missing or already is the
// destination, so no file is ever deleted without its replacement.
void MoveSourceFile(const std::string& source, const std::string& destination);

// Tells the user that a generated file was not written, in the words of a
// save that failed: here because it would have replaced a source.
void ReportNotWritten(const std::string& path);

}  // namespace zavio
