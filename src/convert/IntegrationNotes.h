// The integration note: a plain text that tells the developer where the
// sources went and how to open the new help from an application.
#pragma once

#include <string>

#include "convert/ConversionPort.h"

namespace zavio {

class CConversionState;

// Writes the note of the run's kind into the Finished folder.
void WriteIntegrationNote(CConversionState& run, ConversionPort& port, const std::string& finishedFolder,
                          const std::string& manuscriptPath, const std::string& contentsName);
LineList ComposeHpTypeNote(const std::string& folderName, const std::string& contentsName);
LineList ComposeHtmlHelpNote(const std::string& folderName, const std::string& projectName);

}  // namespace zavio
