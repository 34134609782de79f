#include "res/FileKinds.h"

#include "framework/Cp932.h"
#include "framework/Path.h"

namespace zavio {

int FileTypeNumber(std::string_view extension)
{
    if (extension == "txt") return kTextFileType;
    if (extension == "htm" || extension == "html") return kHtmlFileType;
    if (extension == "cnt") return kContentsFileType;
    if (extension == "hhp") return kProjectFileType;
    if (extension == "hhc") return kSitemapFileType;
    if (extension == "hhk") return kIndexFileType;
    if (extension == "rtf") return kRtfFileType;
    if (extension == "hpj") return kHelpProjectFileType;
    return 0;
}

int FileTypeOfPath(std::string_view path)
{
    const std::string ext = MbLowerAscii(SplitPath(path).ext);
    return FileTypeNumber(ext.empty() ? std::string_view(ext) : std::string_view(ext).substr(1));
}

}  // namespace zavio
