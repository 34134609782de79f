// The view's text and its lines, the way every reader of an open document
// sees them.
#include <new>

#include "app/ZavioApp.h"
#include "doc/ZavioDoc.h"
#include "framework/Cp932.h"
#include "framework/EditView.h"

namespace zavio {
namespace {

// Hands the view's bytes to `use`, lent where the view lends them: nothing
// changes them meanwhile. False, said, when no memory is left for them.
template <typename Use>
bool WithViewBytes(CZavioDoc& doc, Use use)
{
    std::string buffer;
    CArchive ar(buffer, CArchive::store);
    try {
        doc.Serialize(ar);
        use(ar.Stored());
    } catch (const std::bad_alloc&) {
        AfxMessageBox(ToCp932("テキスト読み取りに使用するメモリが不足しています"));
        return false;
    }
    return true;
}

}  // namespace

bool CZavioDoc::ReadViewLines(LineList& lines)
{
    const std::size_t firstRead = lines.size();
    if (!WithViewBytes(*this, [&](std::string_view text) { SplitViewText(text, lines); })) return false;
    if (m_encoding == TextEncoding::Utf8) Utf8LinesToCp932(lines, firstRead);
    return true;
}

bool CZavioDoc::ReadViewText(std::string& text)
{
    return WithViewBytes(*this, [&](std::string_view bytes) { text.assign(bytes); });
}

}  // namespace zavio
