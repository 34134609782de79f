#include "convert/Sitemap.h"

#include "convert/HtmlText.h"
#include "framework/Cp932.h"

namespace zavio {

void AppendSitemapHead(LineList& out)
{
    out.push_back("<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML//EN\">");
    out.push_back("<HTML>");
    out.push_back("<HEAD>");
    out.push_back("<meta name=\"GENERATOR\" content=\"Microsoft&reg; HTML Help Workshop 4.1\">");
    out.push_back("<!-- Sitemap 1.0 -->");
    out.push_back("</HEAD><BODY>");
}

std::string SitemapNameParam(const std::string& indent, std::string_view text)
{
    return indent + "<param name=\"Name\" value=\"" + EscapeHtmlAttribute(text) + "\">";
}

std::string SitemapLocalParam(const std::string& indent, std::string_view pageFile)
{
    return indent + "<param name=\"Local\" value=\"" + MbReplaceAll(pageFile, "\"", "&quot;") + ".htm\">";
}

}  // namespace zavio
