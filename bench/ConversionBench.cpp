// Both conversions end to end on a large help project: three Word manuscripts
// of about 650 KB with 500 topics in all, and a contents file of 500 topics.
// Each run is zavio-convert in a fresh folder, timed with its peak memory,
// beside the floor: the time to merely copy the files it wrote; and beside
// the floor of copying them all-or-nothing, as the program writes every file.
// The project is converted with a "K" keyword footnote on every topic (an
// index is written), without any (no index), and in the shapes real
// manuscripts take (headings as titles, tables, jumps, pop-ups, notes).
// With --scale it converts projects of 500, 5,000 and 50,000 topics (4, 40
// and 400 manuscripts) instead, and prints how time and memory grow.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "framework/Cp932.h"
#include "framework/FileSystem.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr int kManuscripts = 3;
constexpr int kTopics = 500;
constexpr int kRuns = 5;

std::string ContextOf(int topic)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "IDH_TOPIC_%04d", topic);
    return buf;
}

// Titles built from help words, so that titles share many byte pairs.
std::string TitleOf(int topic)
{
    static const char* const kWords[] = {"ファイル", "の",     "保存", "開く", "表示",   "設定",       "印刷",
                                         "編集",     "コピー", "目次", "変換", "ページ", "ウィンドウ", "ツールバー",
                                         "について", "方法",   "新規", "作成", "検索",   "置換"};
    std::mt19937 rng(static_cast<unsigned>(topic) * 2654435761u);
    std::string title;
    for (int i = 0; i < 4; ++i) title += kWords[rng() % std::size(kWords)];
    return title + " " + std::to_string(topic);
}

const char kHead[] =
    "<html xmlns:o=\"urn:schemas-microsoft-com:office:office\"\n"
    "xmlns:w=\"urn:schemas-microsoft-com:office:word\"\n"
    "xmlns=\"http://www.w3.org/TR/REC-html40\">\n\n<head>\n"
    "<meta http-equiv=Content-Type content=\"text/html; charset=shift_jis\">\n"
    "<meta name=ProgId content=Word.Document>\n<meta name=Generator content=\"Microsoft Word 9\">\n"
    "<meta name=Originator content=\"Microsoft Word 9\">\n<title>ベンチマーク</title>\n<style>\n<!--\n"
    " /* Font Definitions */\n@font-face\n\t{font-family:\"ＭＳ 明朝\";\n\tpanose-1:2 2 6 9 4 2 5 8 3 4;\n"
    "\tmso-font-charset:128;\n\tmso-generic-font-family:roman;\n\tmso-font-pitch:fixed;}\n"
    "@font-face\n\t{font-family:\"ＭＳ ゴシック\";\n\tpanose-1:2 11 6 9 7 2 5 8 2 4;\n\tmso-font-charset:128;\n"
    "\tmso-generic-font-family:modern;\n\tmso-font-pitch:fixed;}\n"
    " /* Style Definitions */\np.MsoNormal, li.MsoNormal, div.MsoNormal\n\t{mso-style-parent:\"\";\n\tmargin:0mm;\n"
    "\tmargin-bottom:.0001pt;\n\ttext-align:justify;\n\ttext-justify:inter-ideograph;\n\tfont-size:10.5pt;\n"
    "\tfont-family:Century;\n\tmso-fareast-font-family:\"ＭＳ 明朝\";\n\tmso-font-kerning:1.0pt;}\n"
    "span.MsoFootnoteReference\n\t{vertical-align:super;}\n@page Section1\n\t{size:595.3pt 841.9pt;\n"
    "\tmargin:99.25pt 3.0cm 3.0cm 3.0cm;\n\tlayout-grid:18.0pt;}\ndiv.Section1\n\t{page:Section1;}\n-->\n"
    "</style>\n</head>\n\n<body lang=JA style='tab-interval:42.0pt;text-justify-trim:punctuation'>\n\n"
    "<div class=Section1 style='layout-grid:18.0pt'>\n";

const char kPageBreak[] =
    "<span lang=EN-US style='font-size:10.5pt;mso-bidi-font-size:12.0pt;font-family:\n"
    "Century;mso-fareast-font-family:\"ＭＳ 明朝\";mso-font-kerning:1.0pt;mso-ansi-language:\n"
    "EN-US;mso-fareast-language:JA;mso-bidi-language:AR-SA'><br clear=all\n"
    "style='page-break-before:always'>\n</span>\n";

std::string Anchor(int id, const char* mark)
{
    std::ostringstream a;
    a << "<a\nstyle='mso-footnote-id:ftn" << id << "' href=\"#_ftn" << id << "\" name=\"_ftnref" << id
      << "\" title=\"\"><span\nclass=MsoFootnoteReference><span lang=EN-US>" << mark << "</span></span></a>";
    return a.str();
}

std::string Footnote(int id, const char* mark, const std::string& text)
{
    std::ostringstream n;
    n << "<div style='mso-element:footnote' id=ftn" << id << ">\n\n<p class=MsoFootnoteText><a "
      << "style='mso-footnote-id:ftn" << id << "' href=\"#_ftnref" << id << "\"\nname=\"_ftn" << id
      << "\" title=\"\"><span class=MsoFootnoteReference><span\nlang=EN-US>" << mark << "</span></span></a>\n"
      << text << "</p>\n\n</div>\n";
    return n.str();
}

// A topic's keywords: two help words, one of them also on a second level
// under the other, and its title; so most keywords are shared by many topics.
std::string KeywordsOf(int topic)
{
    static const char* const kWords[] = {"ファイル", "保存", "開く", "表示", "設定",   "印刷",       "編集",
                                         "コピー",   "目次", "変換", "検索", "ページ", "ウィンドウ", "置換"};
    std::mt19937 rng(static_cast<unsigned>(topic) * 40503u + 7u);
    const char* first = kWords[rng() % std::size(kWords)];
    const char* second = kWords[rng() % std::size(kWords)];
    return std::string(first) + ";" + first + ", " + second + ";" + second + ";" + TitleOf(topic);
}

// One Word 2000 manuscript holding topics [first, last), in UTF-8 with LF;
// with `keywords`, every topic carries a "K" footnote.
std::string Manuscript(int first, int last, std::mt19937& rng, bool keywords)
{
    static const char kSentence[] =
        "この機能は文書の作成と編集を助けます。必要な項目を選んでから、表示される画面の指示に従ってください。";
    std::string body, notes;
    int id = 0;
    for (int t = first; t < last; ++t) {
        if (t > first) body += "\n" + std::string(kPageBreak) + "\n";
        const int hash = ++id, dollar = ++id, k = keywords ? ++id : 0;
        body += "<p class=MsoNormal>" + Anchor(hash, "#") + Anchor(dollar, "$") + (keywords ? Anchor(k, "K") : "") +
                "<b><span\nstyle='font-size:14.0pt;font-family:\"ＭＳ ゴシック\"'>" + TitleOf(t) +
                "<span lang=EN-US><o:p></o:p></span></span></b></p>\n\n"
                "<p class=MsoNormal><![if !supportEmptyParas]>&nbsp;<![endif]><o:p></o:p></p>\n\n";
        for (int p = 0; p < 5; ++p) {
            body += "<p class=MsoNormal>";
            for (int s = 0; s < 4; ++s) body += kSentence;
            if (p % 3 == 1) {
                int target = static_cast<int>(rng() % kTopics);
                body += "関連項目：<u style='text-underline:double'>" + TitleOf(target) +
                        "</u><span\nlang=EN-US style='display:none;mso-hide:all'>" + ContextOf(target) + "</span>";
            }
            body += "</p>\n\n";
        }
        notes += Footnote(hash, "#", "<span lang=EN-US>" + ContextOf(t) + "</span>") + "\n";
        notes += Footnote(dollar, "$", TitleOf(t)) + "\n";
        if (keywords) notes += Footnote(k, "K", KeywordsOf(t)) + "\n";
    }
    return std::string(kHead) + "\n" + body +
           "\n</div>\n\n<div style='mso-element:footnote-list'><![if "
           "!supportFootnotes]><br clear=all>\n\n<hr align=left size=1 width=\"33%\">\n\n<![endif]>\n\n" +
           notes + "</div>\n\n</body>\n\n</html>\n";
}

// The shapes real manuscripts take: titles as headings holding the marks
// (and a browse-sequence mark), English runs inside Japanese text, a table
// every third topic, jumps, pop-ups and a numbered footnote beside the
// WinHelp marks. With keywords, as authors give them.
std::string RealisticManuscript(int first, int last, std::mt19937& rng)
{
    static const char kSentence[] =
        "<span lang=EN-US>Zavio</span>は、選んだ項目を<span lang=EN-US> </span>[ファイル]<span lang=EN-US> "
        "</span>メニューから開きます。続けて表示される画面の指示に従ってください。";
    std::string body, notes;
    int id = 0;
    for (int t = first; t < last; ++t) {
        if (t > first) body += "\n" + std::string(kPageBreak) + "\n";
        const int hash = ++id, dollar = ++id, k = ++id, plus = ++id;
        body += "<h1>" + Anchor(hash, "#") + Anchor(dollar, "$") + Anchor(k, "K") + Anchor(plus, "+") +
                "<span\nstyle='font-family:\"ＭＳ ゴシック\"'>" + TitleOf(t) +
                "</span><span lang=EN-US><o:p></o:p></span></h1>\n\n";
        for (int p = 0; p < 4; ++p) {
            body += "<p class=MsoNormal>";
            // Two sentences in the paragraph with the jump, one elsewhere:
            // about 650 KB a manuscript, as the other inputs.
            for (int s = 0; s < (p == 1 ? 2 : 1); ++s) body += kSentence;
            const int target = static_cast<int>(rng() % kTopics);
            if (p == 1)
                body += "<u style='text-underline:double'>" + TitleOf(target) +
                        "</u><span\nlang=EN-US style='display:none;mso-hide:all'>" + ContextOf(target) + "</span>";
            if (p == 2)
                body += "<u>用語</u><span lang=EN-US style='display:none;mso-hide:all'>" + ContextOf(target) +
                        "</span>を参照してください。";
            if (p == 3 && t % 4 == 0) {
                const int numbered = ++id;
                body += "<a style='mso-footnote-id:ftn" + std::to_string(numbered) + "' href=\"#_ftn" +
                        std::to_string(numbered) + "\" name=\"_ftnref" + std::to_string(numbered) +
                        "\" title=\"\"><span class=MsoFootnoteReference><span\nstyle='mso-special-character:"
                        "footnote'><![if !supportFootnotes]>[" +
                        std::to_string(numbered) + "]<![endif]></span></span></a>";
                notes += Footnote(numbered, "", "注記です。") + "\n";
            }
            body += "</p>\n\n";
        }
        if (t % 3 == 0) {
            body += "<table border=1 cellspacing=0 cellpadding=0 style='border-collapse:collapse'>\n";
            for (int r = 0; r < 4; ++r) {
                body += " <tr>\n";
                for (int c = 0; c < 3; ++c)
                    body +=
                        "  <td width=189 valign=top style='width:5.0cm;padding:0mm 5.4pt 0mm 5.4pt'>\n  <p "
                        "class=MsoNormal>項目<span lang=EN-US>" +
                        std::to_string(r * 3 + c) + "</span></p>\n  </td>\n";
                body += " </tr>\n";
            }
            body += "</table>\n\n<p class=MsoNormal><![if !supportEmptyParas]>&nbsp;<![endif]><o:p></o:p></p>\n\n";
        }
        notes += Footnote(hash, "#", "<span lang=EN-US>" + ContextOf(t) + "</span>") + "\n";
        notes += Footnote(dollar, "$", TitleOf(t)) + "\n";
        notes += Footnote(k, "K", KeywordsOf(t)) + "\n";
        notes += Footnote(plus, "+", "<span lang=EN-US>main:" + std::to_string(t) + "</span>") + "\n";
    }
    return std::string(kHead) + "\n" + body +
           "\n</div>\n\n<div style='mso-element:footnote-list'><![if "
           "!supportFootnotes]><br clear=all>\n\n<hr align=left size=1 width=\"33%\">\n\n<![endif]>\n\n" +
           notes + "</div>\n\n</body>\n\n</html>\n";
}

// Every tenth topic names a context string that does not exist, so the
// similarity stage finds its page by title.
std::string ContentsFile(int topics = kTopics)
{
    std::string cnt = ":Base Help.hlp>main\n:Title ベンチマーク\n";
    for (int t = 0; t < topics; ++t) {
        if (t % 20 == 0) cnt += "1 第" + std::to_string(t / 20 + 1) + "章\n";
        cnt += "2 " + TitleOf(t) + "=" + (t % 10 == 9 ? "IDH_MISSING_" + std::to_string(t) : ContextOf(t)) + "\n";
    }
    return cnt;
}

// CP932 with CR LF, as Word and WinHelp wrote them.
std::string AsSaved(const std::string& utf8)
{
    std::string crlf;
    for (char c : utf8) {
        if (c == '\n') crlf += '\r';
        crlf += c;
    }
    return zavio::EncodeCp932(crlf).value();
}

void WriteBytes(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

struct Run {
    double seconds = 0;
    double cpuSeconds = 0;  // user and system time of the converter
    long peakKb = 0;
    std::vector<std::string> written;
};

// The bench's own environment, for the converter.
std::vector<std::string> Environment()
{
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) env.emplace_back(*e);
    return env;
}

// zavio-convert in `top` on the inputs; its standard output names the files.
Run Convert(const std::string& convert, const fs::path& top, const std::string& kind,
            const std::vector<std::string>& inputs, std::vector<std::string>& env)
{
    fs::path out = top / "written.txt";
    std::vector<std::string> args = {convert, "--" + kind};
    args.insert(args.end(), inputs.begin(), inputs.end());
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const fs::path here = fs::current_path();
    fs::current_path(top);
    auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    Run run;
    if (posix_spawn(&pid, convert.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0) {
        std::perror("posix_spawn");
        std::exit(1);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    fs::current_path(here);
    posix_spawn_file_actions_destroy(&actions);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "zavio-convert --%s failed\n", kind.c_str());
        std::exit(1);
    }
    run.peakKb = usage.ru_maxrss;
    auto asSeconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    run.cpuSeconds = asSeconds(usage.ru_utime) + asSeconds(usage.ru_stime);
    std::istringstream names(ReadBytes(out));
    for (std::string line; std::getline(names, line);)
        if (!line.empty()) run.written.push_back(line);
    return run;
}

// The sources copied into a fresh conversion folder `top`/conv, converted there.
Run ConvertCopies(const std::string& convert, const fs::path& sources, const fs::path& top, const std::string& kind,
                  std::vector<std::string>& env)
{
    fs::remove_all(top);
    fs::create_directories(top / "conv");
    std::vector<std::string> inputs;
    for (const auto& entry : fs::directory_iterator(sources)) {
        fs::copy_file(entry.path(), top / "conv" / entry.path().filename());
        inputs.push_back("conv/" + entry.path().filename().string());
    }
    std::sort(inputs.begin(), inputs.end());
    return Convert(convert, top, kind, inputs, env);
}

// The floor: reading every written file and writing it elsewhere.
double CopyFloor(const std::vector<std::string>& written, const fs::path& into)
{
    fs::create_directories(into);
    auto start = std::chrono::steady_clock::now();
    int n = 0;
    for (const std::string& file : written) WriteBytes(into / std::to_string(n++), ReadBytes(file));
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The same, each file written as the program writes it: whole or not at all.
double AllOrNothingFloor(const std::vector<std::string>& written, const fs::path& into)
{
    fs::create_directories(into);
    auto start = std::chrono::steady_clock::now();
    int n = 0;
    for (const std::string& file : written)
        zavio::WriteFileBytes((into / std::to_string(n++)).string(), ReadBytes(file));
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Projects ten and a hundred times the size: the cost of each against the
// one ten times smaller, and the peak memory against the input's size.
// Given `inputsOnly`, it only makes the inputs there, for profiling by hand.
int ScaleBench(const fs::path& root, const std::string& convert, std::vector<std::string>& env, const char* inputsOnly)
{
    struct Size {
        int topics, manuscripts;
    };
    std::printf("in %s\nprojects with a \"K\" keyword on every topic and a contents file of every topic:\n",
                root.c_str());
    std::map<std::string, double> previous;
    for (const Size size : {Size{500, 4}, Size{5000, 40}, Size{50000, 400}}) {
        const fs::path sources = root / ("sources-" + std::to_string(size.topics));
        fs::create_directories(sources);
        std::mt19937 rng(11);
        std::uintmax_t inputBytes = 0;
        for (int m = 0; m < size.manuscripts; ++m) {
            const int first = size.topics * m / size.manuscripts, last = size.topics * (m + 1) / size.manuscripts;
            const std::string bytes = AsSaved(Manuscript(first, last, rng, true));
            inputBytes += bytes.size();
            char name[32];
            std::snprintf(name, sizeof name, "part%03d.htm", m);
            WriteBytes(sources / name, bytes);
        }
        const std::string cnt = AsSaved(ContentsFile(size.topics));
        inputBytes += cnt.size();
        WriteBytes(sources / "Help.cnt", cnt);
        if (inputsOnly) {
            fs::create_directories(inputsOnly);
            fs::copy(sources, fs::path(inputsOnly) / sources.filename(), fs::copy_options::recursive);
            fs::remove_all(sources);
            continue;
        }
        for (const std::string kind : {"html-help", "hp-type"}) {
            const int runs = 5;
            std::vector<double> times, cpu;
            long peakKb = 0;
            std::size_t files = 0;
            for (int r = 0; r < runs; ++r) {
                const fs::path top = root / ("scale-" + kind);
                Run run = ConvertCopies(convert, sources, top, kind, env);
                times.push_back(run.seconds);
                cpu.push_back(run.cpuSeconds);
                peakKb = std::max(peakKb, run.peakKb);
                files = run.written.size();
            }
            std::sort(times.begin(), times.end());
            std::sort(cpu.begin(), cpu.end());
            const double seconds = times[runs / 2], cpuSeconds = cpu[runs / 2];
            const double inputMb = inputBytes / 1048576.0, peakMb = peakKb / 1024.0;
            std::printf("  %6d topics in %3d manuscripts (%6.1f MB) --%-9s %6zu files: %7.3f s (cpu %7.3f s)",
                        size.topics, size.manuscripts, inputMb, kind.c_str(), files, seconds, cpuSeconds);
            if (previous.count(kind)) std::printf(", %5.1fx the cpu of ten times fewer", cpuSeconds / previous[kind]);
            std::printf("; peak memory %.1f MB, %.2fx the input\n", peakMb, peakMb / inputMb);
            previous[kind] = cpuSeconds;
        }
        fs::remove_all(sources);
    }
    fs::remove_all(root);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const bool scale = argc > 1 && std::string_view(argv[1]) == "--scale";
    if (scale) {
        --argc;
        ++argv;
    }
    // Everything lies on one file system: ZAVIO_BENCH_DIR, else the
    // system's temporary folder.
    const char* benchDir = std::getenv("ZAVIO_BENCH_DIR");
    const fs::path root = fs::path(benchDir ? benchDir : fs::temp_directory_path().string()) /
                          ("zavio-bench-" + std::to_string(::getpid()));
    fs::create_directories(root / "program");
    const std::string convert = (root / "program" / "zavio-convert").string();
    fs::copy_file(argc > 1 ? argv[1] : ZAVIO_CONVERT_PATH, convert);
    std::vector<std::string> env = Environment();
    if (scale) return ScaleBench(root, convert, env, argc > 2 ? argv[2] : nullptr);

    enum class Input { Keywords, NoKeywords, Realistic };
    struct Variant {
        const char* name;
        Input input;
        const char* folder;
    };
    const Variant variants[] = {
        {"keywords", Input::Keywords, "sources-k"},
        {"no keywords", Input::NoKeywords, "sources"},
        {"realistic (headings, tables, jumps, pop-ups, notes, keywords)", Input::Realistic, "sources-r"}};
    std::map<Input, std::uintmax_t> manuscriptBytes;
    for (const Variant& variant : variants) {
        const fs::path sources = root / variant.folder;
        fs::create_directories(sources);
        std::mt19937 rng(11);
        for (int m = 0; m < kManuscripts; ++m) {
            const int first = kTopics * m / kManuscripts, last = kTopics * (m + 1) / kManuscripts;
            std::string name = std::string("part") + static_cast<char>('A' + m) + ".htm";
            std::string bytes = AsSaved(variant.input == Input::Realistic
                                            ? RealisticManuscript(first, last, rng)
                                            : Manuscript(first, last, rng, variant.input == Input::Keywords));
            manuscriptBytes[variant.input] += bytes.size();
            WriteBytes(sources / name, bytes);
        }
        WriteBytes(sources / "Help.cnt", AsSaved(ContentsFile()));
    }
    if (argc > 2) {  // only make the inputs, for profiling by hand
        fs::create_directories(argv[2]);
        for (const char* sources : {"sources", "sources-k", "sources-r"})
            fs::copy(root / sources, fs::path(argv[2]) / sources,
                     fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        fs::remove_all(root);
        return 0;
    }
    std::printf("in %s\n", root.c_str());
    std::printf("input: %d manuscripts, %d topics; a contents file of %d topics\n", kManuscripts, kTopics, kTopics);

    for (const Variant& variant : variants) {
        const fs::path sources = root / variant.folder;
        std::printf("%s, %.0f KB a manuscript on average:\n", variant.name,
                    manuscriptBytes[variant.input] / 1024.0 / kManuscripts);
        for (const std::string kind : {"hp-type", "html-help"}) {
            std::vector<double> times, floors, wholeFloors, cpu;
            long peakKb = 0;
            std::size_t files = 0;
            std::uintmax_t writtenBytes = 0;
            for (int r = 0; r < kRuns; ++r) {
                const fs::path top = root / (kind + std::to_string(r));
                Run run = ConvertCopies(convert, sources, top, kind, env);
                times.push_back(run.seconds);
                cpu.push_back(run.cpuSeconds);
                peakKb = std::max(peakKb, run.peakKb);
                floors.push_back(CopyFloor(run.written, top / "copy"));
                wholeFloors.push_back(AllOrNothingFloor(run.written, top / "whole"));
                files = run.written.size();
                writtenBytes = 0;
                for (const auto& f : run.written) writtenBytes += fs::file_size(f);
            }
            std::sort(times.begin(), times.end());
            std::sort(floors.begin(), floors.end());
            std::sort(wholeFloors.begin(), wholeFloors.end());
            std::sort(cpu.begin(), cpu.end());
            const double median = times[kRuns / 2], floor = floors[kRuns / 2];
            std::printf(
                "  --%-9s %4zu files, %6.0f KB written: %.3f s (median of %d; best %.3f; cpu %.3f s), floor %.3f s "
                "(copying the written files), %.1fx floor; all-or-nothing floor %.3f s, %.1fx; peak memory %.1f MB\n",
                kind.c_str(), files, writtenBytes / 1024.0, median, kRuns, times.front(), cpu[kRuns / 2], floor,
                median / floor, wholeFloors[kRuns / 2], median / wholeFloors[kRuns / 2], peakKb / 1024.0);
        }
    }
    fs::remove_all(root);
    return 0;
}
