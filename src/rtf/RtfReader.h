// The RTF reader: a WinHelp RTF manuscript turned into the manuscript the
// conversion takes, Word 2000's "Web page" HTML, so that nothing after it
// needs to know the source was RTF.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zavio {

// A picture the manuscript embeds, written beside the pages under its name.
struct RtfPicture {
    std::string fileName;  // CP932, made from the manuscript's name: manual_pict1.png
    std::string bytes;
};

struct RtfManuscript {
    std::string html;                   // Word 2000 "Web page" HTML, CP932, every line ended by CR LF
    std::vector<RtfPicture> pictures;   // the PNG and JPEG pictures the html shows with <img src=...>
    std::vector<std::string> notShown;  // CP932 lines: what the pages cannot show (a WMF picture, ...)
};

// Reads an RTF manuscript. `baseName` (CP932) names its pictures. nullopt
// with `why` (CP932, one line saying what is wrong) when the bytes are not
// a readable RTF manuscript: not RTF, cut short, braces that do not pair,
// groups nested too deep, binary data past the end, a code page this
// program cannot read.
std::optional<RtfManuscript> ReadRtfManuscript(std::string_view rtf, std::string_view baseName, std::string& why);

// Whether the bytes start as RTF does: "{\rtf" after an optional byte-order
// mark and blanks.
bool LooksLikeRtf(std::string_view bytes);

}  // namespace zavio
