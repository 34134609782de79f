// How fast the RTF reader reads a large manuscript: about 1.6 MB of RTF as
// Japanese Word 2003 writes a WinHelp manuscript (topics with "#", "$" and
// "K" footnotes, heading titles, Japanese text as \'hh pairs inside font
// switches, jumps through character styles, tables), read several times.
// Prints the figures; not a test.
//
//   zavio_bench_rtf [TOPICS [FILE]]     FILE: where to write the RTF read
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "framework/Cp932.h"
#include "rtf/RtfReader.h"

namespace {

using zavio::ToCp932;

// Japanese text as Word writes it: every byte of a double-byte character
// as \'hh.
std::string Escaped(const char* utf8)
{
    static const char* const kHex = "0123456789abcdef";
    std::string out;
    bool trail = false;
    for (char c : ToCp932(utf8)) {
        const auto b = static_cast<unsigned char>(c);
        const bool escaped = b >= 0x80 || trail;
        trail = !trail && zavio::IsLeadByte(b);
        if (!escaped) {
            out += c;
        } else {
            out += "\\'";
            out += kHex[b >> 4];
            out += kHex[b & 15];
        }
    }
    return out;
}

const char* const kSentences[] = {
    "既存のファイルを開くには、ファイル メニューの開くをクリックします。",
    "変換したページは目次からいつでも表示できます。ツールバーのボタンでも同じ操作ができます。",
    "印刷する前にプレビューで確認すると、用紙の無駄を減らせます。",
    "ソフトの設定は表示メニューのオプションで変更できます。変更はすぐに反映されます。",
};

const std::string kRun = "{\\rtlch\\fcs1 \\af0 \\ltrch\\fcs0 ";
const std::string kParagraph =
    "\\pard\\plain \\qj \\li0\\ri0\\nowidctlpar\\wrapdefault\\aspalpha\\aspnum\\faauto\\adjustright\\rin0\\lin0\\itap0 "
    "\\rtlch\\fcs1 \\af0\\afs24\\alang1025 \\ltrch\\fcs0 \\fs21\\lang1033\\langfe1041\\kerning2\\loch\\af0\\hich\\af0"
    "\\dbch\\af11\\cgrid\\langnp1033\\langfenp1041 ";

std::string Note(char mark, const std::string& text)
{
    return kRun + "\\cs16\\super\\loch\\af37\\hich\\af37\\dbch\\af37 " + mark +
           "{\\footnote \\ltrpar \\pard\\plain \\s15\\qj "
           "\\li0\\ri0\\nowidctlpar\\fs21\\loch\\af0\\hich\\af0\\dbch\\af11 " +
           kRun + "\\cs16\\super " + mark + "}" + kRun + " " + text + "}}}";
}

std::string Header()
{
    return "{\\rtf1\\ansi\\ansicpg932\\uc2\\deff0\\stshfdbch11\\deflang1033\\deflangfe1041"
           "{\\fonttbl{\\f0\\froman\\fcharset0\\fprq2{\\*\\panose 02020603050405020304}Times New Roman;}"
           "{\\f11\\fmodern\\fcharset128\\fprq1{\\*\\panose 02020609040205080304}" +
           Escaped("ＭＳ 明朝") + ";}{\\f37\\fmodern\\fcharset128\\fprq1 " + Escaped("ＭＳ ゴシック") +
           ";}}{\\colortbl;\\red0\\green0\\blue0;\\red0\\green0\\blue255;}"
           "{\\stylesheet{\\qj \\li0\\ri0\\nowidctlpar\\fs21\\loch\\f0\\hich\\af0\\dbch\\af11 \\snext0 Normal;}"
           "{\\s1\\qj \\keepn\\outlinelevel0 \\b\\fs24\\loch\\f37\\hich\\af37\\dbch\\af37 \\sbasedon0 \\snext0 heading "
           "1;}"
           "{\\*\\cs16 \\additive \\super \\sbasedon10 footnote reference;}"
           "{\\*\\cs17 \\additive \\uldb\\cf2 \\sbasedon10 " +
           Escaped("ジャンプ") + ";}{\\*\\cs18 \\additive \\v \\sbasedon10 " + Escaped("コンテキスト文字列") +
           ";}}{\\info{\\title " + Escaped("ベンチ") + "}}\\sectd \\linex0\\endnhere\\sectlinegrid360\r\n";
}

std::string Topic(int t, int topics)
{
    const std::string id = "IDH_TOPIC" + std::to_string(t);
    std::string out =
        "\\pard\\plain \\s1\\qj \\keepn\\outlinelevel0\\rtlch\\fcs1 \\ab\\af0 \\ltrch\\fcs0 \\b\\fs24\\loch\\af37"
        "\\hich\\af37\\dbch\\af37 ";
    if (t > 0) out += kRun + "\\page }";
    out += Note('#', id) + Note('$', Escaped("トピックのタイトル")) + Note('K', Escaped("表示;ソフト"));
    out += kRun + Escaped("トピックのタイトル") + " " + std::to_string(t) + "}" + kRun + "\\par }\r\n";
    for (int p = 0; p < 6; ++p) {
        out += kParagraph + kRun + Escaped(kSentences[(t + p) % 4]) + "}" + kRun + Escaped(kSentences[p % 4]) + "}";
        if (p == 2) {
            out += kRun + "\\cs17 " + Escaped("関連項目") + "}" + kRun + "\\cs18 IDH_TOPIC" +
                   std::to_string((t + 1) % topics) + "}";
        }
        out += kRun + "\\par }\r\n";
    }
    for (int row = 0; row < 3; ++row) {
        out += "\\trowd \\irow" + std::to_string(row) +
               "\\trgaph99\\trleft-99\\trbrdrt\\brdrs\\brdrw10 "
               "\\clbrdrt\\brdrs\\brdrw10 \\cellx2025\\clbrdrt\\brdrs\\brdrw10 \\cellx8397\\pard\\plain \\qj \\intbl"
               "\\fs21\\loch\\af0\\hich\\af0\\dbch\\af11 " +
               kRun + Escaped("項目") + "\\cell }" + kRun + Escaped(kSentences[row]) + "\\cell }" +
               "\\pard\\plain \\intbl " + kRun + "\\trowd \\irow" + std::to_string(row) +
               "\\cellx2025\\cellx8397\\row }\r\n";
    }
    return out;
}

}  // namespace

int main(int argc, char** argv)
{
    const int topics = argc > 1 ? std::max(1, std::atoi(argv[1])) : 182;
    std::string rtf = Header();
    for (int t = 0; t < topics; ++t) rtf += Topic(t, topics);
    rtf += "}\r\n";
    if (argc > 2) std::fwrite(rtf.data(), 1, rtf.size(), std::fopen(argv[2], "wb"));

    double best = 1e9;
    std::size_t htmlBytes = 0;
    for (int round = 0; round < 7; ++round) {
        const auto start = std::chrono::steady_clock::now();
        std::string why;
        const std::optional<zavio::RtfManuscript> manuscript = zavio::ReadRtfManuscript(rtf, "bench", why);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (!manuscript) {
            std::fprintf(stderr, "not read: %s\n", why.c_str());
            return 1;
        }
        htmlBytes = manuscript->html.size();
        best = std::min(best, seconds);
    }
    std::printf("RTF reader: %d topics, %.2f MB of RTF -> %.2f MB of html in %.1f ms: %.0f MB/s (best of 7)\n", topics,
                rtf.size() / 1e6, htmlBytes / 1e6, best * 1e3, rtf.size() / 1e6 / best);
    return 0;
}
