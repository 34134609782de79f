// Text inside Word's HTML and text put into HTML: the character references a
// title reader decodes, and the escaping every writer applies, which leaves
// exactly the references the reader leaves.
#pragma once

#include <string>
#include <string_view>

namespace zavio {

// Decodes "&amp;", "&lt;", "&gt;", "&quot;", "&apos;" and numeric references;
// "&nbsp;" (and &#160;) becomes a blank. A numeric reference to a character
// CP932 lacks, and a named one not listed, stay as written.
std::string DecodeCharacterReferences(std::string_view html);

// The text for HTML: "&" (unless it begins a reference that decoding leaves),
// "<" and ">" escaped, and in an attribute value also the double quote.
std::string EscapeHtmlText(std::string_view text);
std::string EscapeHtmlAttribute(std::string_view text);
// EscapeHtmlText's and EscapeHtmlAttribute's text, appended to `out`.
void AppendEscapedHtmlText(std::string& out, std::string_view text);
void AppendEscapedHtmlAttribute(std::string& out, std::string_view text);

}  // namespace zavio
