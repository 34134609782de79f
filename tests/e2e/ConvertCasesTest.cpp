// Every case folder under tests/data/e2e runs through zavio-convert:
//
//   args             first line: the options; then one input file per line,
//                    relative to the case's root, in the order to open them
//   input/           copied into a fresh root folder before the run
//   expected/        every file the root holds after the run, byte for byte;
//                    a link to an input file for one left as it came in, or
//                    to another case's expected file that is the same
//   expected.exit    the exit status
//   expected.stderr  the messages shown (UTF-8); {ROOT} stands for the root
//   expected.stdout  optional: the files written, one per line, with {ROOT}
//   disabled         optional: the case is skipped, its text says why
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const fs::path kCasesDir = ZAVIO_E2E_CASES_DIR;
const fs::path kConvert = ZAVIO_CONVERT_BINARY;

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to)
{
    for (std::size_t pos = text.find(from); pos != std::string::npos; pos = text.find(from, pos + to.size()))
        text.replace(pos, from.size(), to);
    return text;
}

class TempRoot {
public:
    TempRoot()
    {
        std::string pattern = (fs::temp_directory_path() / "zavio-e2e-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
        m_path = pattern;
    }
    ~TempRoot()
    {
        std::error_code ec;
        fs::remove_all(m_path, ec);
    }
    const fs::path& Path() const { return m_path; }

private:
    fs::path m_path;
};

struct RunResult {
    int exitStatus = -1;
    std::string out;
    std::string err;
};

// Runs the converter in `root` with its output streams caught in `side`.
RunResult RunConvert(const fs::path& root, const fs::path& side, const std::vector<std::string>& args)
{
    const fs::path outPath = side / "stdout";
    const fs::path errPath = side / "stderr";
    pid_t pid = ::fork();
    if (pid == 0) {
        int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out < 0 || err < 0 || ::chdir(root.c_str()) != 0) ::_exit(127);
        ::dup2(out, 1);
        ::dup2(err, 2);
        std::vector<char*> argv{const_cast<char*>(kConvert.c_str())};
        for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        ::execv(kConvert.c_str(), argv.data());
        ::_exit(127);
    }
    RunResult result;
    int status = 0;
    if (pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status)) result.exitStatus = WEXITSTATUS(status);
    result.out = ReadAll(outPath);
    result.err = ReadAll(errPath);
    return result;
}

// Every file below `folder`, by its path relative to it, with its bytes.
std::map<std::string, std::string> FilesBelow(const fs::path& folder)
{
    std::map<std::string, std::string> files;
    if (!fs::exists(folder)) return files;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder))
        // Named as listed: an expected file may be a link to an input file.
        if (entry.is_regular_file())
            files[entry.path().lexically_relative(folder).generic_string()] = ReadAll(entry.path());
    return files;
}

// Where two texts part, for a readable failure.
std::string FirstDifference(const std::string& actual, const std::string& expected)
{
    std::vector<std::string> a = SplitLines(actual);
    std::vector<std::string> e = SplitLines(expected);
    for (std::size_t i = 0; i < std::max(a.size(), e.size()); ++i) {
        std::string left = i < a.size() ? a[i] : "(none)";
        std::string right = i < e.size() ? e[i] : "(none)";
        if (left != right)
            return "\n  line " + std::to_string(i + 1) + "\n  actual:   " + left + "\n  expected: " + right;
    }
    return "\n  (line ends differ)";
}

std::vector<std::string> CaseNames()
{
    std::vector<std::string> names;
    if (!fs::is_directory(kCasesDir)) return names;
    for (const fs::directory_entry& entry : fs::directory_iterator(kCasesDir))
        if (entry.is_directory()) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class ConvertCase : public ::testing::TestWithParam<std::string> {
protected:
    fs::path CaseFile(const std::string& name) const { return kCasesDir / GetParam() / name; }

    // The options and the files of the args file, in order.
    std::vector<std::string> Arguments() const
    {
        std::vector<std::string> lines = SplitLines(ReadAll(CaseFile("args")));
        std::vector<std::string> args;
        if (lines.empty()) return args;
        std::istringstream options(lines[0]);
        for (std::string option; options >> option;) args.push_back(option);
        for (std::size_t i = 1; i < lines.size(); ++i)
            if (!lines[i].empty()) args.push_back(lines[i]);
        return args;
    }
};

TEST_P(ConvertCase, LeavesExactlyTheExpectedFiles)
{
    if (fs::exists(CaseFile("disabled"))) GTEST_SKIP() << ReadAll(CaseFile("disabled"));
    TempRoot root;
    TempRoot side;
    fs::copy(CaseFile("input"), root.Path(), fs::copy_options::recursive);

    RunResult run = RunConvert(root.Path(), side.Path(), Arguments());
    const std::string rootText = root.Path().string();

    EXPECT_EQ(run.exitStatus, std::stoi(ReadAll(CaseFile("expected.exit"))));
    EXPECT_EQ(ReplaceAll(run.err, rootText, "{ROOT}"), ReadAll(CaseFile("expected.stderr")));
    if (fs::exists(CaseFile("expected.stdout"))) {
        EXPECT_EQ(ReplaceAll(run.out, rootText, "{ROOT}"), ReadAll(CaseFile("expected.stdout")));
    }

    std::map<std::string, std::string> actual = FilesBelow(root.Path());
    std::map<std::string, std::string> expected = FilesBelow(CaseFile("expected"));
    for (const auto& [name, bytes] : expected) {
        auto found = actual.find(name);
        if (found == actual.end()) {
            ADD_FAILURE() << "missing: " << name;
        } else {
            EXPECT_TRUE(found->second == bytes) << "differs: " << name << FirstDifference(found->second, bytes);
        }
    }
    for (const auto& [name, bytes] : actual)
        if (!expected.count(name)) ADD_FAILURE() << "unexpected: " << name;

    // The working file never outlives a transfer.
    for (const auto& [name, bytes] : actual) EXPECT_NE(fs::path(name).filename(), "OursTemp.txt") << name;
}

TEST(ConvertCommandLine, UsageErrorsExitWithTwoAndExplain)
{
    TempRoot root;
    TempRoot side;
    const std::vector<std::vector<std::string>> wrong = {
        {}, {"--hp-type"}, {"--html-help", "--hp-type", "a.htm"}, {"--bogus", "a.htm"}, {"--keep-header", "a.htm"}};
    for (const std::vector<std::string>& args : wrong) {
        RunResult run = RunConvert(root.Path(), side.Path(), args);
        EXPECT_EQ(run.exitStatus, 2);
        EXPECT_NE(run.err.find("Usage: zavio-convert (--html-help | --hp-type) [--keep-header] FILE..."),
                  std::string::npos);
        EXPECT_TRUE(run.out.empty());
    }
    EXPECT_TRUE(FilesBelow(root.Path()).empty());
}

TEST(ConvertCommandLine, HelpExplainsOnStandardOutput)
{
    TempRoot root;
    TempRoot side;
    RunResult run = RunConvert(root.Path(), side.Path(), {"--help"});
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.out.rfind("Usage: zavio-convert", 0), 0u);
    EXPECT_TRUE(run.err.empty());
}

// What a terminal shows once the bytes are written to it: a carriage return
// goes back to the line's start, and characters overwrite those under them,
// a Japanese character two columns wide. Trailing blanks are not seen.
std::string Screen(const std::string& bytes)
{
    std::vector<std::vector<std::string>> lines(1);  // a cell per column; "" goes on from a wide one
    std::size_t column = 0;
    for (std::size_t i = 0; i < bytes.size();) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c == '\r' || c == '\n') {
            if (c == '\n') lines.emplace_back();
            column = 0;
            ++i;
            continue;
        }
        const std::size_t length = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        const std::size_t width = length == 1 ? 1 : 2;
        std::vector<std::string>& line = lines.back();
        if (line.size() < column + width) line.resize(column + width, " ");
        line[column] = bytes.substr(i, length);
        if (width == 2) line[column + 1].clear();
        column += width;
        i += length;
    }
    std::string screen;
    for (std::size_t l = 0; l < lines.size(); ++l) {
        std::string text;
        for (const std::string& cell : lines[l]) text += cell;
        screen += text.substr(0, text.find_last_not_of(' ') + 1) + (l + 1 < lines.size() ? "\n" : "");
    }
    return screen;
}

// On a terminal the converter shows how far it is on one line, written over
// in place and wiped before each message and at the end: what stays on the
// screen is exactly what a redirected run prints.
TEST(ConvertCommandLine, ProgressOnATerminalLeavesOnlyTheMessages)
{
    const fs::path caseDir = kCasesDir / "page-name-clashes";
    TempRoot root;
    fs::copy(caseDir / "input", root.Path(), fs::copy_options::recursive);
    winsize size{24, 100, 0, 0};
    int terminal = -1;
    const pid_t pid = ::forkpty(&terminal, nullptr, nullptr, &size);
    if (pid == 0) {
        const int out = ::open("/dev/null", O_WRONLY);
        if (out < 0 || ::chdir(root.Path().c_str()) != 0) ::_exit(127);
        ::dup2(out, 1);
        ::execl(kConvert.c_str(), kConvert.c_str(), "--hp-type", "--keep-header", "conv/manual.htm", nullptr);
        ::_exit(127);
    }
    ASSERT_GT(pid, 0);
    std::string shown;
    char buffer[4096];
    // The read fails once the converter has ended and closed the terminal.
    for (ssize_t n; (n = ::read(terminal, buffer, sizeof buffer)) > 0;)
        shown.append(buffer, static_cast<std::size_t>(n));
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ::close(terminal);

    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_NE(shown.find("\r原稿を読み込んでいます (1/1) manual.htm"), std::string::npos) << shown;
    std::string rootText = root.Path();
    if (rootText.ends_with('/')) rootText.pop_back();
    EXPECT_EQ(ReplaceAll(Screen(shown), rootText, "{ROOT}"), ReadAll(caseDir / "expected.stderr"));
}

INSTANTIATE_TEST_SUITE_P(Cases, ConvertCase, ::testing::ValuesIn(CaseNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

}  // namespace
