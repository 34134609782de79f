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

namespace {

void AppendNameParam(std::string& out, std::string_view indent, std::string_view text)
{
    out.append(indent).append("<param name=\"Name\" value=\"");
    AppendEscapedHtmlAttribute(out, text);
    out += "\">";
}

void AppendLocalParam(std::string& out, std::string_view indent, std::string_view pageFile)
{
    out.append(indent).append("<param name=\"Local\" value=\"");
    // A double quote is never a trail byte.
    if (pageFile.find('"') == std::string_view::npos)
        out.append(pageFile);
    else
        out.append(MbReplaceAll(pageFile, "\"", "&quot;"));
    out += ".htm\">";
}

}  // namespace

std::string SitemapNameParam(const std::string& indent, std::string_view text)
{
    std::string out;
    AppendNameParam(out, indent, text);
    return out;
}

std::string SitemapLocalParam(const std::string& indent, std::string_view pageFile)
{
    std::string out;
    AppendLocalParam(out, indent, pageFile);
    return out;
}

void AppendSitemapNameLine(std::string& text, std::string_view indent, std::string_view name)
{
    AppendNameParam(text, indent, name);
    text += "\r\n";
}

void AppendSitemapLocalLine(std::string& text, std::string_view indent, std::string_view pageFile)
{
    AppendLocalParam(text, indent, pageFile);
    text += "\r\n";
}

}  // namespace zavio
