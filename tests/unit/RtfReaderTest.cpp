#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "framework/Cp932.h"
#include "rtf/RtfLexer.h"
#include "rtf/RtfReader.h"

namespace zavio {
namespace {

// A Japanese document's start as Word 2003 writes it: code page 932, a
// Western font and ＭＳ 明朝 in character set 128, the Symbol font.
const std::string kJapaneseHead =
    "{\\rtf1\\ansi\\ansicpg932\\uc2\\deff0{\\fonttbl{\\f0\\froman\\fcharset0\\fprq2 Times New Roman;}"
    "{\\f3\\froman\\fcharset2\\fprq2 Symbol;}{\\f11\\fmodern\\fcharset128\\fprq1 \\'82\\'6c\\'82\\'72 "
    "\\'96\\'be\\'92\\'a9;}}";
const std::string kWesternHead =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}"
    "{\\f1\\froman\\fcharset204 Times New Roman Cyr;}{\\f3\\froman\\fcharset2 Symbol;}"
    "{\\f4\\fnil\\fcharset2 Wingdings;}{\\f5\\fnil\\fcharset134 SimSun;}"
    "{\\f6\\fnil\\fcharset129 Gulim;}}";
const std::string kHidden = "<span style='display:none;mso-hide:all'>";

testing::AssertionResult Contains(const std::string& text, const std::string& part)
{
    if (text.find(part) != std::string::npos) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "\n" << text << "\nholds no\n" << part;
}

std::string J(const char* utf8)
{
    return ToCp932(utf8);
}

RtfManuscript Read(const std::string& rtf)
{
    std::string why;
    std::optional<RtfManuscript> manuscript = ReadRtfManuscript(rtf, "manual", why);
    EXPECT_TRUE(manuscript.has_value()) << why;
    return manuscript.value_or(RtfManuscript{});
}

// What the body division holds.
std::string Body(const std::string& rtf)
{
    const std::string html = Read(rtf).html;
    const std::string start = "<div class=Section1 style='layout-grid:18.0pt'>\r\n\r\n";
    const std::size_t from = html.find(start);
    const std::size_t notes = html.find("<div style='mso-element:footnote-list'>");
    const std::size_t to = html.rfind("</div>\r\n\r\n", notes == std::string::npos ? html.size() : notes);
    if (from == std::string::npos || to == std::string::npos || to < from) return "(no body)";
    return html.substr(from + start.size(), to - from - start.size());
}

std::string Paragraph(const std::string& html)
{
    return "<p class=MsoNormal>" + html + "</p>\r\n\r\n";
}

std::string Describe(const rtf::Token& token)
{
    switch (token.kind) {
        case rtf::TokenKind::GroupOpen:
            return "{";
        case rtf::TokenKind::GroupClose:
            return "}";
        case rtf::TokenKind::ControlWord:
            return "\\" + std::string(token.text) + (token.hasParam ? std::to_string(token.param) : "") +
                   (token.blankEnded ? "_" : "");
        case rtf::TokenKind::ControlSymbol:
            return "sym" + std::string(1, static_cast<char>(token.byte));
        case rtf::TokenKind::HexByte:
            return "hex" + std::to_string(token.byte);
        case rtf::TokenKind::Text:
            return "text:" + std::string(token.text);
        case rtf::TokenKind::Binary:
            return "bin:" + std::string(token.text);
    }
    return "?";
}

TEST(RtfLexer, ReadsEveryKindOfToken)
{
    rtf::RtfLexer lexer("{\\b0 a\r\nb\\'5C\\~\\fs-24\\*\\bin3 }{\\\\x\\\r\n}");
    std::vector<std::string> tokens;
    for (rtf::Token token; lexer.Next(token);) tokens.push_back(Describe(token));
    const std::vector<std::string> expected = {"{",       "\\b0_", "text:a",   "text:b", "hex92", "sym~",
                                               "\\fs-24", "sym*",  "bin:}{\\", "\\x",    "\\par", "}"};
    EXPECT_EQ(tokens, expected);
    EXPECT_FALSE(lexer.Failed());

    rtf::RtfLexer cut("{\\bin10 abc}");
    rtf::Token token;
    EXPECT_TRUE(cut.Next(token));
    EXPECT_FALSE(cut.Next(token));
    EXPECT_TRUE(cut.Failed());
}

// Trail bytes 0x5C and 0x7C must never be read as "\" or "|": the bytes of
// a run are read together, whether escaped, doubled or written literally.
TEST(RtfCharsets, DoubleByteCharactersStayWhole)
{
    const std::string body = Body(kJapaneseHead +
                                  "\\f11 \\'95\\'5c\\'83\\'5c\\'94\\'5c\\'83\\'7c\\par "
                                  "\\pard\\plain \\loch\\af0\\hich\\af0\\dbch\\af11 {\\rtlch\\fcs1 \\af0 \\ltrch\\fcs0 "
                                  "\\'95\\'5c\\'8e\\'a6}{\\hich\\af0\\dbch\\af11\\loch\\f0 Help\\'95\\'5c}\\par "
                                  "{\\loch\\af11\\hich\\af11\\dbch\\f11 \\'83\\'5c\\'83\\'74\\'83\\'67}\\par "
                                  "\\f11 \\'83A\\'95\\\\\\'94\\fs20\\'5c\\par}");
    EXPECT_EQ(body, Paragraph(J("表ソ能ポ")) + Paragraph(J("表示") + "Help" + J("表")) + Paragraph(J("ソフト")) +
                        Paragraph(J("ア表能")));
    // The document's title is in its code page, not in the default font's.
    EXPECT_TRUE(Contains(Read(kJapaneseHead + "{\\info{\\title \\'95\\'5c}}}").html, "<title>" + J("表") + "</title>"));
    // Nor 0x7B and 0x7D as the braces a font's name in the page's style may not hold.
    EXPECT_TRUE(
        Contains(Read("{\\rtf1\\ansi\\ansicpg932{\\fonttbl{\\f0\\fcharset128 HG\\'83\\'7d\\'83\\'7b\\{;}}x\\par}").html,
                 "font-family:\"HG" + J("マボ") + "\";}"));
}

// CP932 has the em dash (0x815C, Word's "―"); the euro, the bullet and
// Hangul are references, a lead byte without its trail byte the
// replacement character, and a picture font's character shows in that font.
TEST(RtfCharsets, EveryCodePageBecomesCp932WithReferences)
{
    const std::string body = Body(kWesternHead +
                                  "caf\\'e9 \\'93<&>\\'94 {\\f1 \\'cf\\'f0\\'e8} {\\f3 \\'b7\\'ae}{\\f4 \\'e1} \\u8364 "
                                  "? {\\f5 \\'b1\\'ed<\\'b1}{\\f6 \\'c7\\'d1}"
                                  "\\emdash\\~\\lquote}");
    EXPECT_EQ(body, Paragraph("caf&#233; " + J("“") + "&lt;&amp;&gt;" + J("”") + " " + J("При") + " &#8226;" + J("→") +
                              "<span style='font-family:\"Wingdings\"'>&#61665;</span> &#8364; " + J("表") +
                              "&lt;&#65533;&#54620;" + J("―") + "&nbsp;" + J("‘")));
    EXPECT_EQ(body.find('?'), std::string::npos);
}

TEST(RtfCharsets, UnicodeFallbacksAreSkipped)
{
    const std::string body = Body(kJapaneseHead +
                                  "\\f11 \\u9312\\'87\\'40a{\\uc1\\u12354 ?}b{\\u28450}c\\uc1\\u-10179 ?\\u-8704 ?"
                                  "{\\f3\\u-3913 ?}}");
    EXPECT_EQ(body, Paragraph(J("①") + "a" + J("あ") + "b" + J("漢") + "c&#128512;&#8226;"));
}

TEST(RtfGroups, FormattingEndsWithItsGroup)
{
    EXPECT_EQ(Body(kWesternHead + "{\\b bold {\\i both} bold}{{{{deep}}}}{\\*{\\b unknown}}{\\*}plain\\b\\plain x}"),
              Paragraph("<b>bold <i>both</i> bold</b>deepplainx"));
}

// WinHelp's hotspots: double underline (or strikethrough) then hidden text
// is a jump, single underline a pop-up. The hidden text stays one run
// without blanks at its ends; hidden text after no hotspot is dropped.
TEST(RtfHotspots, JumpsAndPopupsThroughStylesAndDirectFormatting)
{
    const std::string styles = "{\\stylesheet{\\*\\cs17 \\additive \\uldb Jump;}{\\*\\cs18 \\additive \\v Hidden;}}";
    const std::string body = Body(kWesternHead + styles +
                                  "{\\cs17 Open}{\\cs18 IDH_}{\\cs18 OPEN}\\par "
                                  "{\\strike Print}{\\v  IDH_PRINT>main}\\par "
                                  "{\\uldb File{\\v MENU_FILE}}\\par "
                                  "{\\ul term}{\\v IDH_TERM} more\\par "
                                  "{\\v stray}text\\par}");
    const std::string jump = "<u style='text-underline:double'>";
    EXPECT_EQ(body, Paragraph(jump + "Open</u>" + kHidden + "IDH_OPEN</span>") +
                        Paragraph(jump + "Print</u>" + kHidden + "IDH_PRINT&gt;main</span>") +
                        Paragraph(jump + "File</u>" + kHidden + "MENU_FILE</span>") +
                        Paragraph("<u>term</u>" + kHidden + "IDH_TERM</span> more") + Paragraph("text"));
}

TEST(RtfFootnotes, MarksBecomeWordsAnchorsAndTheList)
{
    const std::string rtf = kWesternHead +
                            "{\\cs15\\super #{\\footnote \\pard\\plain {\\cs15\\super #}{ topic_a}}}"
                            "#{\\footnote OVERVIEW}K{\\footnote Keyboard}>{\\footnote {\\fs16 >} main}"
                            "Title\\chftn{\\footnote \\pard\\plain\\chftn  A numbered note.}\\par}";
    const std::string html = Read(rtf).html;
    const auto anchor = [](int n, const std::string& mark) {
        return "<a style='mso-footnote-id:ftn" + std::to_string(n) + "' href=\"#_ftn" + std::to_string(n) +
               "\" name=\"_ftnref" + std::to_string(n) + "\" title=\"\"><span class=MsoFootnoteReference>" + mark +
               "</span></a>";
    };
    const auto mark = [](const std::string& m) { return "<span lang=EN-US>" + m + "</span>"; };
    EXPECT_TRUE(Contains(html, "<p class=MsoNormal>" + anchor(1, mark("#")) + anchor(2, mark("#")) +
                                   anchor(3, mark("K")) + anchor(4, mark("&gt;")) + "Title" +
                                   anchor(5,
                                          "<span style='mso-special-character:footnote'><![if !supportFootnotes]>"
                                          "[1]<![endif]></span>") +
                                   "</p>"));
    for (const char* text :
         {"</a> topic_a</p>", "</a>OVERVIEW</p>", "</a>Keyboard</p>", "</a> main</p>", "</a> A numbered note.</p>"})
        EXPECT_TRUE(Contains(html, text));
    EXPECT_TRUE(Contains(html,
                         "<div style='mso-element:footnote' id=ftn5>\r\n\r\n<p class=MsoFootnoteText><a "
                         "style='mso-footnote-id:ftn5' href=\"#_ftnref5\" name=\"_ftn5\" title=\"\">"));
    // A note ends with its group, also where the group says a second
    // destination; the document's own group makes no note, which would end
    // only after the page is made.
    EXPECT_TRUE(Contains(Body("{\\rtf1{\\footnote n\\field x}b\\par}"), "</a>b</p>"));
    EXPECT_EQ(Body("{\\rtf1\\footnote text\\par}"), Paragraph("text"));
}

// Japanese Word names its heading styles in the document's code page; a
// paragraph mark alone is Word's empty paragraph; without \info\title the
// page is titled by the manuscript's name.
TEST(RtfParagraphs, HeadingsAlignmentLineBreaksAndEmptyParagraphs)
{
    const std::string rtf = kJapaneseHead +
                            "{\\stylesheet{\\s1 \\'8c\\'a9\\'8f\\'6f\\'82\\'b5 1;}{\\s7 heading 7;}}"
                            "\\pard\\s1 Title\\par \\pard\\s7 Small\\par \\pard\\qc Centred\\line \\\"quoted\\\"\\par "
                            "\\pard\\qr\\par}";
    EXPECT_EQ(Body(rtf),
              "<h1>Title</h1>\r\n\r\n<p class=MsoHeading7>Small</p>\r\n\r\n"
              "<p class=MsoNormal align=center>Centred<br>\"quoted\"</p>\r\n\r\n"
              "<p class=MsoNormal align=right><![if !supportEmptyParas]>&nbsp;<![endif]><o:p></o:p></p>"
              "\r\n\r\n");
    EXPECT_TRUE(Contains(Read(rtf).html, "<title>manual</title>"));
}

TEST(RtfTopics, PageAndSectionBreaksStandBetweenParagraphs)
{
    const std::string styles = "{\\stylesheet{\\s2 heading 2;}{\\s3 Heading 3,h3;}}";
    const std::string body = Body(kWesternHead + styles +
                                  "\\pard\\s2 One\\par \\pard\\s3 {\\page }Two\\page\\par "
                                  "\\sect \\pard Three\\par \\sectd\\sbknone\\sect Four\\par \\page }");
    const std::string pageBreak =
        "<span style='font-size:10.0pt;font-family:\"Times New Roman\"'><br clear=all "
        "style='page-break-before:always'>\r\n</span>\r\n\r\n";
    const std::string sectionBreak =
        "</div>\r\n\r\n<span style='font-size:10.0pt;font-family:\"Times New Roman\"'><br clear=all "
        "style='page-break-before:always;mso-break-type:section-break'>\r\n</span>\r\n\r\n"
        "<div class=Section2 style='layout-grid:18.0pt'>\r\n\r\n";
    EXPECT_EQ(body, "<h2>One</h2>\r\n\r\n" + pageBreak + "<h3>Two</h3>\r\n\r\n" + sectionBreak + Paragraph("Three") +
                        Paragraph("Four"));
}

TEST(RtfTables, RowsCellsAndNestedTables)
{
    const std::string body = Body(kWesternHead +
                                  "\\trowd\\trleft0\\clbrdrt\\brdrs\\cellx1440\\cellx4320 \\pard\\intbl A\\cell "
                                  "\\pard\\intbl\\itap2 x\\nestcell y\\nestcell{\\*\\nesttableprops\\trowd\\cellx720"
                                  "\\cellx1440\\nestrow}\\pard\\intbl\\itap1 \\cell \\row \\pard After\\par}");
    EXPECT_EQ(body,
              "<table border=1 cellspacing=0 cellpadding=0 style='border-collapse:collapse;border:none'>\r\n"
              " <tr>\r\n"
              "  <td width=96 valign=top style='width:72.0pt;border:solid windowtext 1.0pt;padding:0mm 5.4pt 0mm "
              "5.4pt'>\r\n"
              "  <p class=MsoNormal>A</p>\r\n"
              "  </td>\r\n"
              "  <td width=192 valign=top style='width:144.0pt;border:solid windowtext 1.0pt;padding:0mm 5.4pt 0mm "
              "5.4pt'>\r\n"
              "  <table border=1 cellspacing=0 cellpadding=0 style='border-collapse:collapse;border:none'>\r\n"
              "   <tr>\r\n"
              "    <td valign=top style='border:solid windowtext 1.0pt;padding:0mm 5.4pt 0mm 5.4pt'>\r\n"
              "    <p class=MsoNormal>x</p>\r\n"
              "    </td>\r\n"
              "    <td valign=top style='border:solid windowtext 1.0pt;padding:0mm 5.4pt 0mm 5.4pt'>\r\n"
              "    <p class=MsoNormal>y</p>\r\n"
              "    </td>\r\n"
              "   </tr>\r\n"
              "  </table>\r\n"
              "  </td>\r\n"
              " </tr>\r\n"
              "</table>\r\n\r\n" +
                  Paragraph("After"));
}

TEST(RtfFields, HyperlinkSymbolAndOtherResults)
{
    const std::string body =
        Body(kWesternHead +
             "{\\field{\\*\\fldinst {HYPERLINK \"http://x.org/?a=1&b=2\" \\\\l \"top\"}}{\\fldrslt {\\ul Site}}} "
             "{\\field{\\*\\fldinst SYMBOL 183 \\\\f \"Symbol\" \\\\s 10}{\\fldrslt ?}} "
             "{\\field{\\*\\fldinst PAGE}{\\fldrslt 3}}}");
    EXPECT_EQ(body, Paragraph("<a href=\"http://x.org/?a=1&amp;b=2#top\"><u>Site</u></a> &#8226; 3"));
}

TEST(RtfPictures, PngBesideThePagesMetafileListed)
{
    const RtfManuscript manuscript =
        Read(kWesternHead +
             "{\\*\\shppict{\\pict\\picwgoal1500\\pichgoal750\\pngblip 89504e47\r\n0d0a}}{\\nonshppict{\\pict"
             "\\wmetafile8 0100}}{\\pict\\jpegblip\\bin3 {}\\}#{\\footnote IDH_X}{\\pict\\wmetafile8 01}"
             "{\\v{\\pict\\plain\\pngblip ad}}}");  // hidden, though \\plain inside says otherwise
    ASSERT_EQ(manuscript.pictures.size(), 2u);
    EXPECT_EQ(manuscript.pictures[0].fileName, "manual_pict1.png");
    EXPECT_EQ(manuscript.pictures[0].bytes, "\x89PNG\r\n");
    EXPECT_EQ(manuscript.pictures[1].fileName, "manual_pict2.jpg");
    EXPECT_EQ(manuscript.pictures[1].bytes, "{}\\");
    EXPECT_TRUE(Contains(manuscript.html,
                         "<p class=MsoNormal><img width=100 height=50 src=\"manual_pict1.png\">"
                         "<img src=\"manual_pict2.jpg\"><a style="));
    EXPECT_EQ(manuscript.notShown,
              std::vector<std::string>{J("埋め込みの図 (WMF) はページに表示できません (トピック IDH_X)")});
}

TEST(RtfLists, LabelOpensItsParagraph)
{
    EXPECT_EQ(Body(kWesternHead + "{\\listtext\\pard\\plain\\f3 \\'b7\\tab}\\pard\\li720\\fi-360 Item\\par "
                                  "{\\pntext 2.\\tab}\\pard Next\\par}"),
              "<p class=MsoNormal style='margin-left:36.0pt;text-indent:-18.0pt'>&#8226;&nbsp;&nbsp;&nbsp; Item</p>"
              "\r\n\r\n" +
                  Paragraph("2.&nbsp;&nbsp;&nbsp; Next"));
}

// The pictures of WinHelp ({bmc name}) stay text for the conversion; font
// switches that cut the name leave nothing inside it.
TEST(RtfBitmapReferences, FontSwitchesLeaveTheNameWhole)
{
    EXPECT_EQ(Body(kJapaneseHead + "\\{\\hich\\af0\\dbch\\af11\\loch\\f0 bmc \\hich\\af0\\dbch\\af11\\loch\\f0 "
                                   "Tools\\hich\\af0\\dbch\\af11\\loch\\f0 Menu.bmp\\}}"),
              Paragraph("{bmc ToolsMenu.bmp}"));
}

TEST(RtfBadInput, IsRefusedWithItsReason)
{
    const struct {
        std::string rtf;
        const char* why;
    } cases[] = {
        {"", "RTF ファイルが空です (0 バイト)"},
        {"<html>", "RTF ファイルではありません ({\\rtf で始まっていません)"},
        {"{\\rtf1\\ansi {\\b text}", "RTF ファイルが途中で終わっています (閉じていないグループがあります)"},
        {"{\\rtf1 a}} b}", "RTF の { と } の数が合いません (文書の終わりの後にまだ続きがあります)"},
        {"{\\rtf1 " + std::string(10000, '{'), "RTF のグループの入れ子が深すぎます (1000 段を超えています)"},
        {"{\\rtf1 {\\*\\x " + std::string(10000, '{'), "RTF のグループの入れ子が深すぎます (1000 段を超えています)"},
        {"{\\rtf1{\\pict\\bin99 ab}}", "RTF の \\bin のデータがファイルの終わりを越えています"},
        {"{\\rtf1\\ansi\\ansicpg9999 x}", "RTF の文字コード (コードページ 9999) には対応していません"},
        {"{\\rtf1\\mac x}", "RTF の文字コード (コードページ 10000) には対応していません"},
    };
    for (const auto& c : cases) {
        std::string why;
        EXPECT_FALSE(ReadRtfManuscript(c.rtf, "manual", why).has_value()) << c.why;
        EXPECT_EQ(why, J(c.why));
    }
    EXPECT_TRUE(LooksLikeRtf("\xEF\xBB\xBF \r\n{\\rtf1}"));
    EXPECT_FALSE(LooksLikeRtf("{\\rt"));
    std::string why;
    EXPECT_TRUE(ReadRtfManuscript("{\\rtf1 ok}\r\n\x1A", "manual", why).has_value()) << why;
}

// Large manuscripts are read in linear time: many notes, rows and groups.
TEST(RtfBadInput, LargeInputsReadInLinearTime)
{
    std::string rtf = kWesternHead;
    for (int i = 0; i < 20000; ++i)
        rtf += "\\pard #{\\footnote t" + std::to_string(i) + "}{\\b x}\\page \\trowd\\cellx99 \\intbl a\\cell\\row ";
    rtf += std::string(200000, '{') + std::string(200000, '}') + "}";
    const auto start = std::chrono::steady_clock::now();
    std::string why;
    const std::optional<RtfManuscript> manuscript = ReadRtfManuscript(rtf, "manual", why);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_FALSE(manuscript.has_value());  // the run of braces is nested too deep
    rtf.resize(rtf.size() - 400001);
    rtf += "}";
    const std::string html = Read(rtf).html;
    EXPECT_TRUE(Contains(html, "id=ftn20000>"));
}

}  // namespace
}  // namespace zavio
