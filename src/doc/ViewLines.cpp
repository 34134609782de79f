// The view's text split into lines, the way every reader of an open document
// sees it. Lines have no length limit: Word writes a Japanese paragraph
// without blanks as one line.
#include <new>

#include "app/ZavioApp.h"
#include "doc/ZavioDoc.h"
#include "framework/Cp932.h"
#include "framework/EditView.h"

namespace zavio {

bool CZavioDoc::ReadViewLines(LineList& lines)
{
    std::string text;
    try {
        CArchive ar(text, CArchive::store);
        Serialize(ar);
    } catch (const std::bad_alloc&) {
        AfxMessageBox(ToCp932("テキスト読み取りに使用するメモリが不足しています"));
        return false;
    }

    std::string line;
    line.reserve(256);
    for (char c : text) {
        if (c == '\r') {
            lines.push_back(line);
            line.clear();
        } else if (c == '\n') {
            // CR LF ends a line once; a bare LF on an empty line ends nothing.
            if (!line.empty()) {
                lines.push_back(line);
                line.clear();
            }
        } else if (c != '\0') {  // zero bytes are dropped
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(std::move(line));
    return true;
}

}  // namespace zavio
