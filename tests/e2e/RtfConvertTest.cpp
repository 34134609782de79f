// RTF manuscripts through the converter as it is: each is read by the RTF
// reader, its html written as a Word manuscript into a conversion folder
// and converted by the real zavio-convert. Every "#" topic must become its
// page under its title, and every jump must lead to a page of the run.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "framework/Cp932.h"
#include "rtf/RtfReader.h"

namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteAll(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

struct Topic {
    std::string context;
    std::string title;  // UTF-8
};

struct RtfCase {
    std::string file;
    std::string baseName;
    std::vector<Topic> topics;  // in reading order
};

const std::vector<RtfCase> kCases = {
    {"japanese-word2003.rtf",
     "manual",
     {{"IDH_SOFT", "ソフトの概要"}, {"IDH_VIEW", "表示メニュー"}, {"IDH_ABILITY", "能力"}}},
    {"winelev.rtf", "winelev", {{"main_index", "Winelev Overview"}, {"NED", "Importing from NED"}}},
    {"StatList.Rtf",
     "StatList",
     {{"OVERVIEW", "statlist: A PDH Demonstration Program"},
      {"MENU_FILE", "File"},
      {"MENU_CONFIGURE", "Configure"},
      {"MENU_GETDATA", "Get Data!"},
      {"MENU_HELP", "Help"}}},
};

class RtfConversion : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "zavio-rtf-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_root = pattern;
        fs::create_directory(m_root / "conv");
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(m_root, ec);
    }

    // Reads the case's RTF, writes it as a manuscript and runs the converter.
    int Convert(const RtfCase& c)
    {
        std::string why;
        const std::optional<zavio::RtfManuscript> manuscript =
            zavio::ReadRtfManuscript(ReadAll(fs::path(ZAVIO_RTF_DATA_DIR) / c.file), c.baseName, why);
        EXPECT_TRUE(manuscript.has_value()) << why;
        if (!manuscript) return -1;
        WriteAll(m_root / "conv" / (c.baseName + ".htm"), manuscript->html);
        const std::string command = "cd '" + (m_root / "conv").string() + "' && '" ZAVIO_CONVERT_BINARY "' " +
                                    GetParam() + " '" + c.baseName + ".htm' >/dev/null 2>&1";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::vector<std::string> Pages() const
    {
        std::vector<std::string> pages;
        for (const fs::directory_entry& entry : fs::directory_iterator(m_root / "conv"))
            if (entry.path().extension() == ".htm") pages.push_back(entry.path().filename().string());
        return pages;
    }

    fs::path m_root;
};

TEST_P(RtfConversion, EveryTopicBecomesItsPageAndEveryJumpLeadsToOne)
{
    for (const RtfCase& c : kCases) {
        SCOPED_TRACE(c.file);
        fs::remove_all(m_root / "conv");
        fs::remove_all(m_root / "Finished");
        fs::create_directory(m_root / "conv");
        EXPECT_EQ(Convert(c), 0);

        std::vector<std::string> titles;
        for (const Topic& topic : c.topics) {
            EXPECT_TRUE(fs::exists(m_root / "conv" / (topic.context + ".htm"))) << topic.context;
            titles.push_back(zavio::ToCp932(topic.title));
        }
        // The list of pages names each page's title (cut to 30 bytes).
        const std::string list = ReadAll(m_root / "Finished" / "ListTitl.txt");
        for (const std::string& title : titles) EXPECT_NE(list.find(title.substr(0, 30)), std::string::npos) << title;
        if (GetParam() == "--html-help") {
            const std::string contents = ReadAll(m_root / "conv" / "Table of Contents.hhc");
            std::vector<std::string> named;
            const std::regex name("<param name=\"Name\" value=\"([^\"]*)\">");
            for (std::sregex_iterator it(contents.begin(), contents.end(), name), end; it != end; ++it)
                named.push_back((*it)[1]);
            EXPECT_EQ(named, titles);
        }

        // Links within the run resolve; no hidden target or RTF code shows.
        const std::regex href("href=\"([^\"#:]+)\"");
        for (const std::string& page : Pages()) {
            const std::string html = ReadAll(m_root / "conv" / page);
            for (std::sregex_iterator it(html.begin(), html.end(), href), end; it != end; ++it)
                EXPECT_TRUE(fs::exists(m_root / "conv" / (*it)[1].str())) << page << " links to " << (*it)[1];
            EXPECT_EQ(html.find("{\\"), std::string::npos) << page;
            EXPECT_FALSE(std::regex_search(html, std::regex("display:none;mso-hide:all'>\\s*[^<\\s]"))) << page;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, RtfConversion, ::testing::Values("--hp-type", "--html-help"),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             return info.param == "--hp-type" ? std::string("HpType") : std::string("HtmlHelp");
                         });

}  // namespace
