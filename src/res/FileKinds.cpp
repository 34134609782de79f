#include "res/FileKinds.h"

namespace zavio {

int FileTypeNumber(std::string_view extension)
{
    if (extension == "txt") return kTextFileType;
    if (extension == "htm" || extension == "html") return kHtmlFileType;
    if (extension == "cnt") return kContentsFileType;
    if (extension == "hhp") return kProjectFileType;
    if (extension == "hhc") return kSitemapFileType;
    if (extension == "hhk") return kIndexFileType;
    return 0;
}

}  // namespace zavio
