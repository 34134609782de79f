// Test manuscripts in the shape Word 2000 writes when it saves a WinHelp
// manuscript as a Web page: a style header, the Section1 div, one topic per
// page opening with a title paragraph that holds its "#", "$" and "K"
// footnote anchors, an empty paragraph, a body paragraph with an optional
// jump (double-underlined text, the target as hidden text), and the footnote
// list after the body.
#pragma once

#include <string>
#include <vector>

#include "framework/Cp932.h"

namespace zavio::test {

struct WordTopic {
    std::string context;          // UTF-8; the "#" footnote's text
    std::string title;            // UTF-8; the "$" footnote's text and the heading
    std::string body;             // UTF-8; one paragraph
    std::string jumpText = {};    // UTF-8; a jump at the end of the body when not empty
    std::string jumpTarget = {};  // UTF-8; the hidden context string of the jump
};

namespace word_manuscript_detail {

inline void Line(std::string& out, std::string_view text)
{
    out += text;
    out += "\r\n";
}

inline void Header(std::string& out)
{
    for (const char* line : {
             "<html xmlns:o=\"urn:schemas-microsoft-com:office:office\"",
             "xmlns:w=\"urn:schemas-microsoft-com:office:word\"",
             "xmlns=\"http://www.w3.org/TR/REC-html40\">",
             "",
             "<head>",
             "<meta http-equiv=Content-Type content=\"text/html; charset=shift_jis\">",
             "<meta name=Generator content=\"Microsoft Word 9\">",
             "<title>ヘルプ原稿</title>",
             "<style>",
             "<!--",
             " /* Font Definitions */",
             "@font-face",
             "\t{font-family:\"ＭＳ 明朝\";",
             "\tpanose-1:2 2 6 9 4 2 5 8 3 4;",
             "\tmso-font-charset:128;}",
             "@font-face",
             "\t{font-family:\"ＭＳ ゴシック\";",
             "\tmso-font-charset:128;}",
             " /* Style Definitions */",
             "p.MsoNormal, li.MsoNormal, div.MsoNormal",
             "\t{mso-style-parent:\"\";",
             "\tmargin:0mm;",
             "\tmargin-bottom:.0001pt;",
             "\ttext-align:justify;",
             "\ttext-justify:inter-ideograph;",
             "\tmso-pagination:none;",
             "\tfont-size:10.5pt;",
             "\tfont-family:Century;}",
             "h1",
             "\t{mso-style-next:標準;",
             "\tfont-size:12.0pt;}",
             "p.MsoFootnoteText, li.MsoFootnoteText, div.MsoFootnoteText",
             "\t{font-size:10.5pt;}",
             "span.MsoFootnoteReference",
             "\t{vertical-align:super;}",
             "@page Section1",
             "\t{size:595.3pt 841.9pt;",
             "\tmargin:99.25pt 85.05pt 85.05pt 85.05pt;}",
             "div.Section1",
             "\t{page:Section1;}",
             "-->",
             "</style>",
             "</head>",
             "",
             "<body lang=JA style='tab-interval:42.0pt'>",
             "",
             "<div class=Section1 style='layout-grid:18.0pt'>",
             "",
         })
        Line(out, line);
}

// A footnote anchor in the title paragraph: Word wraps the tag between its
// attributes.
inline void Anchor(std::string& out, int note, std::string_view mark)
{
    const std::string n = std::to_string(note);
    out += "<a style='mso-footnote-id:ftn" + n + "' href=\"#_ftn" + n + "\"\r\n";
    out += "name=\"_ftnref" + n + "\" title=\"\"><span class=MsoFootnoteReference><span\r\n";
    out += "lang=EN-US>" + std::string(mark) + "</span></span></a>";
}

inline void PageBreak(std::string& out)
{
    Line(out, "<span lang=EN-US style='font-size:10.5pt;font-family:Century;mso-fareast-font-family:");
    Line(out, "\"ＭＳ 明朝\";mso-ansi-language:EN-US;mso-fareast-language:JA;mso-bidi-language:AR-SA'><br clear=all");
    Line(out, "style='page-break-before:always'>");
    Line(out, "</span>");
    Line(out, "");
}

inline void Footnote(std::string& out, int note, std::string_view mark, const std::string& text)
{
    const std::string n = std::to_string(note);
    Line(out, "<div style='mso-element:footnote' id=ftn" + n + ">");
    Line(out, "");
    Line(out, "<p class=MsoFootnoteText><a style='mso-footnote-id:ftn" + n + "' href=\"#_ftnref" + n + "\"");
    Line(out, "name=\"_ftn" + n + "\" title=\"\"><span class=MsoFootnoteReference><span lang=EN-US>" +
                  std::string(mark) + "</span></span></a>");
    Line(out, text + "</p>");
    Line(out, "");
    Line(out, "</div>");
    Line(out, "");
}

}  // namespace word_manuscript_detail

// The manuscript's text in CP932 with CR LF line ends, as the view holds it.
inline std::string WordManuscript(const std::vector<WordTopic>& topics)
{
    using namespace word_manuscript_detail;
    std::string out;
    Header(out);
    int note = 0;
    for (std::size_t t = 0; t < topics.size(); ++t) {
        const WordTopic& topic = topics[t];
        if (t > 0) PageBreak(out);
        out += "<p class=MsoNormal>";
        Anchor(out, ++note, "#");
        Anchor(out, ++note, "$");
        Anchor(out, ++note, "K");
        Line(out, "<b>" + topic.title + "</b></p>");
        Line(out, "");
        Line(out, "<p class=MsoNormal><![if !supportEmptyParas]>&nbsp;<![endif]><o:p></o:p></p>");
        Line(out, "");
        Line(out, "<p class=MsoNormal>" + topic.body);
        if (!topic.jumpText.empty()) {
            Line(out, "<u style='text-underline:double'><span style='font-family:\"ＭＳ ゴシック\"'>" + topic.jumpText +
                          "</span></u><span");
            Line(out, "lang=EN-US style='display:none;mso-hide:all'>" + topic.jumpTarget + "</span>");
        }
        Line(out, "</p>");
        Line(out, "");
    }
    Line(out, "</div>");
    Line(out, "");
    Line(out, "<div style='mso-element:footnote-list'><![if !supportFootnotes]><br clear=all>");
    Line(out, "");
    Line(out, "<hr align=left size=1 width=\"33%\">");
    Line(out, "");
    Line(out, "<![endif]>");
    Line(out, "");
    note = 0;
    for (const WordTopic& topic : topics) {
        Footnote(out, ++note, "#", topic.context);
        Footnote(out, ++note, "$", topic.title);
        Footnote(out, ++note, "K", topic.title);
    }
    Line(out, "</div>");
    Line(out, "");
    Line(out, "</body>");
    Line(out, "");
    Line(out, "</html>");
    return EncodeCp932Lossless(out);
}

}  // namespace zavio::test
