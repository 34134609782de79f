// WinHelp's bitmap references: an author writes "{bmc tool.bmp}" (centred,
// in the text's line), "{bml ...}" (at the left margin) or "{bmr ...}" (at
// the right), also as "bmcwd", "bmct" and the like, as plain text that the
// help compiler turned into the picture. A page shows the picture instead.
#pragma once

#include <string>
#include <vector>

#include "convert/Manuscript.h"

namespace zavio {

// A picture the pages show: a bitmap found beside them or elsewhere (then
// copied beside them), or one the manuscript embeds (then written there).
struct PictureFile {
    std::string name;   // its name beside the pages
    std::string from;   // where it was found; empty for one embedded
    std::string bytes;  // the embedded picture's bytes
};

// Turns the page's bitmap references into pictures: a bitmap found in one
// of `folders` (as named, else without regard to letter case) becomes an
// <img> (left or right aligned for bml and bmr) and is listed once in
// `pictures` under its name beside the pages. A
// bitmap not found stays text. What a reader will miss (a bitmap not found,
// a picture a browser does not show) is added to `remarks`.
void ConvertBitmapReferences(ManuscriptLines& page, const std::vector<std::string>& folders,
                             std::vector<PictureFile>& pictures, LineList& remarks);

}  // namespace zavio
