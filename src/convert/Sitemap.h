// The sitemap format of HTML Help's contents and index files: the lines
// every sitemap starts with, and its params.
#pragma once

#include <string>
#include <string_view>

#include "framework/TextFile.h"

namespace zavio {

// The head of a sitemap file, up to and including "</HEAD><BODY>".
void AppendSitemapHead(LineList& out);

// indent + '<param name="Name" value="' + text + '">': the text (a title, a
// keyword) escaped, so that it shows as written.
std::string SitemapNameParam(const std::string& indent, std::string_view text);

// indent + '<param name="Local" value="' + page file + '.htm">': a file name,
// whose double quote alone would end the attribute early.
std::string SitemapLocalParam(const std::string& indent, std::string_view pageFile);

// The same params as lines of a text: each ends in CR LF.
void AppendSitemapNameLine(std::string& text, std::string_view indent, std::string_view name);
void AppendSitemapLocalLine(std::string& text, std::string_view indent, std::string_view pageFile);

}  // namespace zavio
