#include <gtest/gtest.h>

#include "TestApp.h"
#include "framework/Cp932.h"
#include "project/ContextMap.h"
#include "project/HelpProject.h"

namespace zavio {
namespace {

using test::J;

// Small projects written into a folder of their own, the way authoring tools
// and hand editors leave them.
class HelpProjectTest : public ::testing::Test {
protected:
    // The CP932 path of a UTF-8 name ('/' between folders) in the test folder.
    std::string At(std::string_view name) const { return m_folder.Path() + J(name); }

    // Writes the file, making its folders.
    void Put(std::string_view name, std::string_view bytes)
    {
        for (std::size_t sep = name.find('/'); sep != std::string_view::npos; sep = name.find('/', sep + 1))
            MakeFolder(At(name.substr(0, sep)));
        test::WriteFile(At(name), bytes);
    }

    HelpProject Read(std::string_view hpj)
    {
        std::string why;
        auto project = ReadHelpProject(At(hpj), why);
        EXPECT_TRUE(project) << why;
        return project ? *project : HelpProject{};
    }

    std::string Why(std::string_view hpj)
    {
        std::string why;
        EXPECT_FALSE(ReadHelpProject(At(hpj), why));
        return why;
    }

    test::TempFolder m_folder;
};

TEST_F(HelpProjectTest, ReadsSectionsAsHelpWorkshopWritesThem)
{
    Put("p/Chapter1.RTF", "{\\rtf1}");
    Put("p/Sub/Part.rtf", "{\\rtf1}");
    Put("shared/Common.rtf", "{\\rtf1}");
    Put("p/proj.cnt", ":Base proj.hlp\n");
    Put("p/Proj.HPJ",
        "; This file is maintained by HCW. Do not modify this file directly.\r\n"
        "\r\n"
        "[options]\r\n"
        "TITLE = \"My Help ; Reference\"   ; quoted\r\n"
        "CONTENTS=IDH_CONTENTS ; the first topic\r\n"
        "CNT=Proj.cnt\r\n"
        "LCID=0x409 0x0 0x0 ;English (United States)\r\n"
        "COPYRIGHT=(C) Someone\r\n"
        "HLP=.\\proj.hlp\r\n"
        "COMPRESS=12 Hall Zeck\r\n"
        "[FILES]\r\n"
        "chapter1.rtf\r\n"
        "sub\\part.RTF      ; a folder in another case too\r\n"
        "..\\shared\\common.rtf\r\n"
        "CHAPTER1.rtf\r\n"
        "[Map]\r\n"
        "IDH_CONTENTS=1000 ; the first\r\n"
        "IDH_OPEN\t0x3EA\r\n"
        "#define IDH_SAVE 1003\r\n"
        "[ALIAS]\r\n"
        "IDH_SAVE_AS = IDH_SAVE\r\n"
        "[WINDOWS]\r\n"
        "main=\"My Help\",(0,0,1023,1023),0,, ; the main window\r\n"
        "[CONFIG]\r\n"
        "BrowseButtons()\r\n");

    const HelpProject project = Read("p/Proj.HPJ");
    EXPECT_EQ(project.codePage, 1252u);
    EXPECT_EQ(project.title, "My Help ; Reference");
    EXPECT_EQ(project.contentsTopic, "IDH_CONTENTS");
    EXPECT_EQ(project.contentsFile, At("p/proj.cnt"));
    EXPECT_EQ(project.manuscripts,
              (std::vector<std::string>{At("p/Chapter1.RTF"), At("p/Sub/Part.rtf"), At("shared/Common.rtf")}));
    EXPECT_EQ(project.bitmapFolders, std::vector<std::string>{At("p/")});
    ASSERT_EQ(project.ids.size(), 3u);
    EXPECT_EQ(project.ids[1].context, "IDH_OPEN");
    EXPECT_EQ(project.ids[1].number, "0x3EA");
    EXPECT_EQ(project.ids[1].value, 1002u);
    EXPECT_EQ(project.ids[2].source, "Proj.HPJ:19");
    EXPECT_EQ(project.aliases, (std::vector<std::pair<std::string, std::string>>{{"IDH_SAVE_AS", "IDH_SAVE"}}));
    EXPECT_EQ(project.windows, LineList{"main=\"My Help\",(0,0,1023,1023),0,,"});
    EXPECT_EQ(project.config, LineList{"BrowseButtons()"});
    EXPECT_EQ(project.problems, std::vector<std::string>{});
}

// Headers nest, are found beside the file that includes them, hold C
// comments, guards and macros that are no ids; a cycle and a missing header
// are said and reading goes on.
TEST_F(HelpProjectTest, MapHeadersAreReadThroughNestedIncludes)
{
    Put("p/a.rtf", "{\\rtf1}");
    Put("p/p.hpj", "[FILES]\na.rtf\n[MAP]\n#include <ids.h>\n#include \"missing.h\"\n#include p.hpj\nIDH_LAST 9\n");
    Put("p/ids.h",
        "#ifndef IDS_H\n"
        "#define IDS_H\n"
        "// the dialogs' ids\n"
        "#include \"dlg\\dialogs.h\"\n"
        "#define IDH_MAIN  100  /* the main window */\n"
        "/* retired:\n"
        "#define IDH_OLD 1\n"
        "*/\n"
        "#define IDH_EXPR (IDH_MAIN + 1)\n"
        "#endif\n");
    Put("p/dlg/dialogs.h", "#include \"..\\ids.h\"\n#include <more.hm>\nHIDD_ABOUT 0x20064\n#pragma once\n");
    Put("p/dlg/more.hm", "HIDR_MAIN\t\t0x20080\n");

    const HelpProject project = Read("p/p.hpj");
    std::vector<std::string> ids;
    for (const ContextId& id : project.ids) ids.push_back(id.context + " " + id.number + " " + id.source);
    EXPECT_EQ(ids, (std::vector<std::string>{"HIDR_MAIN 0x20080 dlg/more.hm:1", "HIDD_ABOUT 0x20064 dlg/dialogs.h:3",
                                             "IDH_MAIN 100 ids.h:5", "IDH_LAST 9 p.hpj:7"}));
    EXPECT_EQ(project.includes, (std::vector<std::string>{At("p/ids.h"), At("p/dlg/dialogs.h"), At("p/dlg/more.hm")}));
    EXPECT_EQ(project.problems, (std::vector<std::string>{
                                    "dlg/dialogs.h:1: ..\\ids.h" + J(" のインクルードが循環しています"),
                                    "p.hpj:5: " + J("インクルードファイル missing.h が見つかりません"),
                                    "p.hpj:6: p.hpj" + J(" のインクルードが循環しています"),
                                }));
}

TEST_F(HelpProjectTest, FaultyMapLinesAreSaidAndTheFirstNumberKept)
{
    Put("a.rtf", "{\\rtf1}");
    Put("p.hpj",
        "[FILES]\na.rtf\n[MAP]\n"
        "IDH_A=1\n"
        "idh_a=2\n"
        "IDH_A 1\n"
        "IDH_B=1\n"
        "IDH_C=3EAh\n"
        "IDH_D=4294967296\n"
        "IDH_E=0xFFFFFFFF\n"
        "JUSTONEWORD\n"
        "#define IDH_F\n");

    const HelpProject project = Read("p.hpj");
    ASSERT_EQ(project.ids.size(), 3u);
    EXPECT_EQ(project.ids[0].value, 1u);
    EXPECT_EQ(project.ids[2].value, 0xFFFFFFFFu);
    EXPECT_EQ(project.problems,
              (std::vector<std::string>{
                  "p.hpj:5: idh_a" + J(" の番号が二つあります: 2 と 1 (p.hpj:4)。初めの番号を使います"),
                  "p.hpj:7: " + J("番号 1 が IDH_A (p.hpj:4) と IDH_B の二つに付いています"),
                  "p.hpj:8: IDH_C" + J(" の番号 3EAh は数ではありません"),
                  "p.hpj:9: IDH_D" + J(" の番号 4294967296 は大きすぎます"),
                  "p.hpj:11: " + J("読めない行です: JUSTONEWORD"),
                  "p.hpj:12: " + J("番号のない行です: #define IDH_F"),
              }));
}

// The project's text is in its own code page: CHARSET=, else LCID=, else
// 1252; a byte-order mark says UTF-8. A CP932 name whose trail byte is '\'
// (表 = 95 5C) is not cut there.
TEST_F(HelpProjectTest, ProjectTextIsReadInItsCodePage)
{
    Put("r/a.rtf", "{\\rtf1}");
    Put("r/charset.hpj",
        "[OPTIONS]\nLCID=0x409\nCHARSET=204\nTITLE=\xD1\xEF\xF0\xE0\xE2\xEA\xE0\nCNT=c.cnt\n[FILES]\na.rtf\n");
    Put("r/c.cnt", "1 \xD1\xEF\xF0\xE0\xE2\xEA\xE0=topic\n");
    Put("r/lcid.hpj", "[OPTIONS]\nLCID=0x419 0x0 0x0\n[FILES]\na.rtf\n");
    Put("r/bom.hpj", "\xEF\xBB\xBF[OPTIONS]\nTITLE=Справка\n[FILES]\na.rtf\n");
    Put("j/資料/表示.rtf", "{\\rtf1}");
    Put("j/j.hpj", "[OPTIONS]\nCHARSET=1\nLCID=0x411 0x0 0x0\n[FILES]\n" + J("資料\\表示.rtf") + "\n");

    const HelpProject russian = Read("r/charset.hpj");
    EXPECT_EQ(russian.codePage, 1251u);
    EXPECT_EQ(russian.title, J("Справка"));
    LineList problems;
    EXPECT_EQ(ReadProjectContents(russian, problems), LineList{J("1 Справка=topic")});
    EXPECT_EQ(Read("r/lcid.hpj").codePage, 1251u);
    EXPECT_EQ(Read("r/bom.hpj").title, J("Справка"));
    const HelpProject japanese = Read("j/j.hpj");
    EXPECT_EQ(japanese.codePage, 932u);
    EXPECT_EQ(japanese.manuscripts, std::vector<std::string>{At("j/資料/表示.rtf")});
}

// Files are looked for in the project folder, then the ROOT folders;
// bitmaps in the BMROOT folders, then ROOT's, then the project folder.
TEST_F(HelpProjectTest, RootAndBmrootFoldersAreSearched)
{
    Put("src/Intro.RTF", "{\\rtf1}");
    Put("src/local.rtf", "{\\rtf1}");
    Put("p/local.rtf", "{\\rtf1}");
    Put("p/extra/x.rtf", "{\\rtf1}");
    Put("p/Art/a.bmp", "BM");
    Put("pics/b.bmp", "BM");
    Put("p/p.hpj",
        "[OPTIONS]\n"
        "ROOT=..\\src;Extra ; where the manuscripts are\n"
        "BMROOT=art, ..\\Pics;nowhere\n"
        "[FILES]\nintro.rtf\nlocal.rtf\nx.rtf\ngone.rtf\n");

    const HelpProject project = Read("p/p.hpj");
    EXPECT_EQ(project.manuscripts,
              (std::vector<std::string>{At("src/Intro.RTF"), At("p/local.rtf"), At("p/extra/x.rtf")}));
    EXPECT_EQ(project.bitmapFolders,
              (std::vector<std::string>{At("p/Art/"), At("pics/"), At("src/"), At("p/extra/"), At("p/")}));
    EXPECT_EQ(project.problems, (std::vector<std::string>{"p.hpj:3: BMROOT" + J(" のフォルダ nowhere が見つかりません"),
                                                          "p.hpj:8: " + J("原稿 gone.rtf が見つかりません")}));
}

// Without CNT= the contents file is the one named like the project.
TEST_F(HelpProjectTest, ContentsIncludeOtherContentsFiles)
{
    Put("a.rtf", "{\\rtf1}");
    Put("p.hpj", "[FILES]\na.rtf\n");
    Put("P.CNT",
        ":Base p.hlp\n1 Top=top\n:Include part.cnt\n:include  sub\\missing.cnt\n"
        ":Include P.cnt\n2 End=end\n:Include part.cnt\n");
    Put("part.cnt", "1 Part=part\r\n:INCLUDE deeper.cnt\r\n");
    Put("deeper.cnt", "1 Deep=deep\n");

    const HelpProject project = Read("p.hpj");
    EXPECT_EQ(project.contentsFile, At("P.CNT"));
    LineList problems;
    EXPECT_EQ(ReadProjectContents(project, problems),
              (LineList{":Base p.hlp", "1 Top=top", "1 Part=part", "1 Deep=deep", ":include  sub\\missing.cnt",
                        ":Include P.cnt", "2 End=end", ":Include part.cnt"}));
    EXPECT_EQ(problems, (LineList{"P.CNT:4: sub\\missing.cnt" + J(" が見つかりません"),
                                  "P.CNT:5: P.cnt" + J(" のインクルードが循環しています"),
                                  "P.CNT:7: part.cnt" + J(" は既にインクルードされています")}));
}

TEST_F(HelpProjectTest, UnusableProjectsSayWhy)
{
    Put("binary.hpj", std::string("[FILES]\0a.rtf\n", 14));
    Put("folder.hpj/x", "");
    Put("empty.hpj", "[OPTIONS]\nTITLE=Nothing\n");
    Put("lost.hpj", "[FILES]\nlost.rtf\n");

    EXPECT_EQ(Why("none.hpj"), At("none.hpj") + J(" が見つかりません"));
    EXPECT_EQ(Why("binary.hpj"), At("binary.hpj") + J(" はテキストファイルではありません"));
    EXPECT_EQ(Why("folder.hpj"), At("folder.hpj") + J(" を読めません"));
    EXPECT_EQ(Why("empty.hpj"), At("empty.hpj") + J(" には見つかる原稿がありません ([FILES])"));
    EXPECT_EQ(
        Why("lost.hpj"),
        At("lost.hpj") + J(" には見つかる原稿がありません ([FILES])\nlost.hpj:2: 原稿 lost.rtf が見つかりません"));
}

// A's alias B gives A the page of B's topic; an id whose topic has no page
// is left out of the sections and marked in the list of ids.
TEST(ContextMap, IdsGetThePagesOfTheirTopics)
{
    HelpProject project;
    project.ids = {
        {"IDH_A", "1001", 1001, ""}, {"IDH_B", "0x3EA", 1002, ""}, {"IDH_C", "7", 7, ""}, {"IDH_D", "4", 4, ""}};
    project.aliases = {{"idh_b", "IDH_TARGET"}, {"IDH_D", "NOWHERE"}, {"X", "Y"}, {"Y", "X"}};
    const PageOfContext pageOf = [](const std::string& context) -> std::optional<std::string> {
        const std::string key = ContextKey(context);
        if (key == "IDH_A" || key == "IDH_D") return MbLowerAscii(key) + ".htm";
        if (key == "IDH_TARGET") return "t.htm";
        return std::nullopt;
    };

    const HhpContextSections sections = MakeHhpContextSections(project, pageOf);
    EXPECT_EQ(sections.alias, (LineList{"[ALIAS]", "IDH_A=idh_a.htm", "IDH_B=t.htm", "IDH_D=idh_d.htm"}));
    EXPECT_EQ(sections.map, (LineList{"[MAP]", "#define IDH_A 1001", "#define IDH_B 0x3EA", "#define IDH_D 4"}));
    ASSERT_EQ(sections.leftOut.size(), 1u);
    EXPECT_EQ(sections.leftOut[0].context, "IDH_C");
    EXPECT_EQ(MakeContextIdLines(project, pageOf), (LineList{"1001\tIDH_A\tidh_a.htm", "0x3EA\tIDH_B\tt.htm",
                                                             "7\tIDH_C\t" + J("★ページなし"), "4\tIDH_D\tidh_d.htm"}));

    project.ids = {{"X", "1", 1, ""}};
    const HhpContextSections none = MakeHhpContextSections(project, pageOf);
    EXPECT_TRUE(none.alias.empty() && none.map.empty());
    EXPECT_EQ(none.leftOut.size(), 1u);
}

}  // namespace
}  // namespace zavio
