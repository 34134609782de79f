// The view's text split into lines, the way every reader of an open document
// sees it. Lines have no length limit: Word writes a Japanese paragraph
// without blanks as one line.
#include <algorithm>
#include <new>

#include "app/ZavioApp.h"
#include "doc/ZavioDoc.h"
#include "framework/Cp932.h"
#include "framework/EditView.h"

namespace zavio {
namespace {

// A UTF-8 file's lines as every later stage reads text: in CP932, with the
// byte-order mark gone; a character CP932 lacks becomes "&#NNNN;".
void ConvertUtf8Lines(LineList& lines, std::size_t first)
{
    static constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (first < lines.size() && std::string_view(lines[first]).substr(0, 3) == kByteOrderMark)
        lines[first].erase(0, kByteOrderMark.size());
    for (std::size_t i = first; i < lines.size(); ++i) lines[i] = Utf8ToCp932WithReferences(lines[i]);
}

}  // namespace

bool CZavioDoc::ReadViewLines(LineList& lines)
{
    std::string buffer;
    CArchive ar(buffer, CArchive::store);
    try {
        Serialize(ar);
    } catch (const std::bad_alloc&) {
        AfxMessageBox(ToCp932("テキスト読み取りに使用するメモリが不足しています"));
        return false;
    }
    // The view's own bytes where it lends them: nothing changes them while
    // they are split.
    const std::string_view text = ar.Stored();

    const std::size_t firstRead = lines.size();
    // Runs of ordinary bytes are taken whole; only CR, LF and zero bytes need
    // a decision of their own.
    std::string line;
    const std::size_t size = text.size();
    // Where the next CR, LF and zero byte stand; each is looked for again
    // only once it has been passed.
    std::size_t nextCr = text.find('\r'), nextLf = text.find('\n'), nextZero = text.find('\0');
    for (std::size_t i = 0; i < size;) {
        if (nextCr < i) nextCr = text.find('\r', i);
        if (nextLf < i) nextLf = text.find('\n', i);
        if (nextZero < i) nextZero = text.find('\0', i);
        const std::size_t end = std::min({nextCr, nextLf, nextZero, size});
        const char c = end == size ? '\0' : text[end];
        // A whole line in one run, as nearly every line is, is made in place.
        if (line.empty() && end > i && (c == '\r' || c == '\n')) {
            lines.emplace_back(text, i, end - i);
            i = end + 1;
            continue;
        }
        line.append(text, i, end - i);
        if (end == size) break;
        i = end + 1;
        // CR LF ends a line once; a bare LF on an empty line ends nothing.
        if (c == '\r' || (c == '\n' && !line.empty())) {
            lines.push_back(std::move(line));
            line.clear();
        }
    }
    if (!line.empty()) lines.push_back(std::move(line));
    if (m_encoding == TextEncoding::Utf8) ConvertUtf8Lines(lines, firstRead);
    return true;
}

}  // namespace zavio
