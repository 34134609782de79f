// How long a whole conversion takes on a large help: 500 topics in three Word
// 2000 manuscripts of about 650 KB each, split once in this process and once
// through zavio-convert. Prints the figures; not a test.
//
//   zavio_bench_split [TOPICS] [MANUSCRIPTS]
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/ZavioApp.h"
#include "doc/ZavioDoc.h"
#include "framework/Cp932.h"
#include "framework/FileSystem.h"
#include "framework/WindowlessHost.h"
#include "res/CommandIds.h"

namespace {

namespace fs = std::filesystem;
using zavio::ToCp932;

class QuietHost : public zavio::WindowlessHost {
public:
    int MessageBox(std::string_view, unsigned) override { return zavio::IDYES; }
    bool RunFileDialog(const zavio::FileDialogRequest&, zavio::FileDialogResult& result) override
    {
        result.paths = files;
        return !files.empty();
    }
    std::vector<std::string> files;
};

// Word wraps its lines; each text paragraph of a topic is one of these.
const char* const kSentences[] = {
    "既存のファイルを開くには、ファイル メニューの開くをクリックします。",
    "変換したページは目次からいつでも表示できます。ツールバーのボタンでも同じ操作ができます。",
    "印刷する前にプレビューで確認すると、用紙の無駄を減らせます。",
    "ソフトの設定は表示メニューのオプションで変更できます。変更はすぐに反映されます。",
};

std::string Header()
{
    return "<html xmlns:o=\"urn:schemas-microsoft-com:office:office\"\r\n"
           "xmlns=\"http://www.w3.org/TR/REC-html40\">\r\n\r\n<head>\r\n"
           "<meta http-equiv=Content-Type content=\"text/html; charset=shift_jis\">\r\n"
           "<meta name=Generator content=\"Microsoft Word 9\">\r\n<title>bench</title>\r\n<style>\r\n<!--\r\n"
           " /* Font Definitions */\r\n@font-face\r\n\t{font-family:Century;\r\n\tmso-font-charset:0;}\r\n"
           " /* Style Definitions */\r\np.MsoNormal, li.MsoNormal, div.MsoNormal\r\n\t{mso-style-parent:\"\";\r\n"
           "\tmargin:0mm;\r\n\tfont-size:10.5pt;}\r\nspan.MsoFootnoteReference\r\n\t{vertical-align:super;}\r\n"
           "@page Section1\r\n\t{size:595.3pt 841.9pt;}\r\ndiv.Section1\r\n\t{page:Section1;}\r\n-->\r\n"
           "</style>\r\n</head>\r\n\r\n<body lang=JA style='tab-interval:42.0pt'>\r\n\r\n"
           "<div class=Section1 style='layout-grid:18.0pt'>\r\n\r\n";
}

std::string Anchor(int note, const char* mark)
{
    std::string n = std::to_string(note);
    return "<a\r\nstyle='mso-footnote-id:ftn" + n + "' href=\"#_ftn" + n + "\" name=\"_ftnref" + n +
           "\" title=\"\"><span\r\nclass=MsoFootnoteReference><span lang=EN-US>" + mark + "</span></span></a>";
}

std::string Footnote(int note, const char* mark, const std::string& text)
{
    std::string n = std::to_string(note);
    return "<div style='mso-element:footnote' id=ftn" + n + ">\r\n\r\n<p class=MsoFootnoteText><a " +
           "style='mso-footnote-id:ftn" + n + "' href=\"#_ftnref" + n + "\"\r\nname=\"_ftn" + n +
           "\" title=\"\"><span class=MsoFootnoteReference><span lang=EN-US>" + mark +
           "</span></span></a><span\r\nlang=EN-US> " + text + "<o:p></o:p></span></p>\r\n\r\n</div>\r\n\r\n";
}

// One manuscript of `topics` topics starting at number `first`, padded with
// text paragraphs to about `targetBytes`.
std::string Manuscript(int first, int topics, std::size_t targetBytes)
{
    const std::string pageBreak =
        "<span lang=EN-US style='font-size:10.5pt;font-family:Century;mso-ansi-language:EN-US;\r\n"
        "mso-fareast-language:JA;mso-bidi-language:AR-SA'><br clear=all style='page-break-before:always'>\r\n"
        "</span>\r\n\r\n";
    std::string notes;
    std::vector<std::string> bodies;
    std::size_t fixed = Header().size();
    for (int t = 0; t < topics; ++t) {
        int id = first + t;
        int note = 3 * t + 1;
        std::string ctx = "IDH_TOPIC_" + std::to_string(id);
        std::string title = ToCp932("トピック") + std::to_string(id);
        std::string body = (t ? pageBreak : std::string()) + "<p class=MsoNormal>" + Anchor(note, "#") +
                           Anchor(note + 1, "$") + Anchor(note + 2, "K") + "<b><span\r\nstyle='font-size:14.0pt'>" +
                           title + "</span></b></p>\r\n\r\n";
        std::string next = "IDH_TOPIC_" + std::to_string(first + (t + 1) % topics);
        body += "<p class=MsoNormal>" + ToCp932("次は") + "<u\r\nstyle='text-underline:double'>" +
                ToCp932("次のトピック") + "</u><span lang=EN-US\r\nstyle='display:none;mso-hide:all'>" + next +
                "</span></p>\r\n\r\n";
        notes += Footnote(note, "#", ctx) + Footnote(note + 1, "$", title) + Footnote(note + 2, "K", title);
        fixed += body.size();
        bodies.push_back(std::move(body));
    }
    const std::string tail =
        "</div>\r\n\r\n<div style='mso-element:footnote-list'><![if !supportFootnotes]><br "
        "clear=all>\r\n\r\n<![endif]>\r\n\r\n";
    fixed += tail.size() + notes.size() + 40;
    // Spread the padding evenly over the topics.
    std::size_t padPerTopic = targetBytes > fixed ? (targetBytes - fixed) / topics : 0;
    std::string text = Header();
    for (int t = 0; t < topics; ++t) {
        text += bodies[t];
        for (std::size_t added = 0, s = t; added < padPerTopic; ++s) {
            std::string para = "<p class=MsoNormal>" + ToCp932(kSentences[s % std::size(kSentences)]) + "</p>\r\n\r\n";
            added += para.size();
            text += para;
        }
    }
    return text + tail + notes + "</div>\r\n\r\n</body>\r\n\r\n</html>\r\n";
}

double Seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Fresh copies of the manuscripts in <root>/conv; returns their paths.
std::vector<std::string> WriteManuscripts(const fs::path& root, const std::vector<std::string>& texts)
{
    fs::remove_all(root);
    fs::create_directories(root / "conv");
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        fs::path path = root / "conv" / ("manual" + std::to_string(i + 1) + ".htm");
        zavio::WriteFileBytes(path.string(), texts[i]);
        paths.push_back(path.string());
    }
    return paths;
}

std::size_t CountPages(const fs::path& root)
{
    std::size_t pages = 0;
    for (const auto& entry : fs::directory_iterator(root / "conv"))
        if (entry.path().extension() == ".htm" && entry.path().filename() != "Contents.htm") ++pages;
    return pages;
}

}  // namespace

int main(int argc, char** argv)
{
    const int topics = argc > 1 ? std::atoi(argv[1]) : 500;
    const int manuscripts = argc > 2 ? std::atoi(argv[2]) : 3;
    const fs::path base = fs::temp_directory_path() / ("zavio-bench-split-" + std::to_string(::getpid()));

    std::vector<std::string> texts;
    std::size_t totalBytes = 0;
    for (int m = 0, first = 1; m < manuscripts; ++m) {
        int count = topics / manuscripts + (m < topics % manuscripts ? 1 : 0);
        texts.push_back(Manuscript(first, count, 650 * 1024));
        totalBytes += texts.back().size();
        first += count;
    }
    std::printf("%d topics in %d manuscripts, %zu bytes in all (%zu KB each on average)\n", topics, manuscripts,
                totalBytes, totalBytes / 1024 / manuscripts);

    // In this process: open through the Open command, then convert.
    {
        const fs::path root = base / "inprocess";
        std::vector<std::string> paths = WriteManuscripts(root, texts);
        QuietHost host;
        host.files = paths;
        zavio::CZavioApp app(host);
        app.InitState((base / "program").string());
        fs::create_directories(base / "program");
        auto start = std::chrono::steady_clock::now();
        app.ExecuteCommand(zavio::ID_FILE_OPEN);
        double opened = Seconds(start);
        app.ExecuteCommand(zavio::ID_SEPARATE_HP_TYPE);
        std::printf("in process:    open %.3f s, convert %.3f s, %zu pages written, finished: %s\n", opened,
                    Seconds(start) - opened, CountPages(root), app.Conversion().m_bConversionFinished ? "yes" : "no");
    }

    // Through the batch converter, as a script would run it.
    {
        const fs::path root = base / "cli";
        std::vector<std::string> paths = WriteManuscripts(root, texts);
        std::string command = std::string("'") + ZAVIO_CONVERT_BINARY + "' --hp-type";
        for (const std::string& path : paths) command += " '" + path + "'";
        command += " >/dev/null 2>&1";
        auto start = std::chrono::steady_clock::now();
        int status = std::system(command.c_str());
        std::printf("zavio-convert: %.3f s, exit %d, %zu pages written\n", Seconds(start),
                    WIFEXITED(status) ? WEXITSTATUS(status) : -1, CountPages(root));
    }
    fs::remove_all(base);
    return 0;
}
