// A whole run through the pipeline with a test port: no application, no
// windows.
#include <gtest/gtest.h>

#include <algorithm>

#include "TestApp.h"
#include "TestPort.h"
#include "WordManuscript.h"
#include "convert/ConversionDriver.h"
#include "convert/ConversionState.h"
#include "framework/FileSystem.h"

namespace zavio::test {
namespace {

// A port whose user stops the run before the page numbered `stopBefore`.
class StoppingPort : public TestPort {
public:
    bool Progress(const ConversionProgress& progress) override
    {
        return progress.stage != ConversionProgress::Stage::Writing || progress.done < stopBefore;
    }
    std::size_t stopBefore = 0;
};

TEST(ConversionRun, StoppedBetweenPagesLeavesWhatIsWrittenListedAndPutsTheRestBack)
{
    TempFolder folder;
    const std::string conv = folder.Path() + "conv/";
    MakeFolder(conv);
    StoppingPort port;
    port.stopBefore = 3;
    std::vector<SourceFile> opened;
    for (const char* name : {"a", "b"}) {
        const std::string path = conv + name + ".htm";
        const std::string text =
            WordManuscript({{std::string(name) + "1", "題一", "本文"}, {std::string(name) + "2", "題二", "本文"}});
        WriteFile(path, text);
        port.m_sources[path] = {text, TextEncoding::Cp932};
        opened.push_back({path, name, "htm"});
    }
    CConversionState run(ConversionKind::HtmlHelp);
    run.m_bKeepHeader = true;
    RunConversion(run, port, CollectSources(opened));

    // b is taken first, from its end: b2, b1; then a2 before the user stops.
    EXPECT_TRUE(run.m_bCancelled);
    EXPECT_FALSE(run.m_bConversionFinished);
    EXPECT_TRUE(FileExists(conv + "b1.htm"));
    EXPECT_TRUE(FileExists(conv + "a2.htm"));
    EXPECT_FALSE(FileExists(conv + "a1.htm"));
    EXPECT_FALSE(FileExists(conv + "a.hhp"));
    EXPECT_TRUE(FileExists(folder.Path() + "Finished/b.htm"));
    EXPECT_TRUE(FileExists(conv + "a.htm"));  // put back: its pages are not all written
    const std::string list = ReadFile(folder.Path() + "Finished/ListTitl.txt");
    EXPECT_NE(list.find("a2.htm\r\n"), std::string::npos);
    EXPECT_EQ(list.find("a1.htm"), std::string::npos);
    EXPECT_NE(list.find(J("変換を中止しました")), std::string::npos);
}

// What the run could not do as asked is said, listed and counted: a source
// gone from the disk since it was read, and a contents file without one
// entry (the contents then list every page).
TEST(ConversionRun, ASourceGoneAndAContentsFileWithoutEntriesAreSaid)
{
    TempFolder folder;
    const std::string conv = folder.Path() + "conv/";
    MakeFolder(conv);
    TestPort port;
    const std::string manuscript = conv + "manual.htm";
    port.m_sources[manuscript] = {WordManuscript({{"t1", "題一", "本文"}}), TextEncoding::Cp932};
    const std::string contents = conv + "toc.cnt";
    WriteFile(contents, ":Base toc.hlp\r\n:Title Help\r\n");
    port.m_sources[contents] = {ReadFile(contents), TextEncoding::Cp932};
    CConversionState run(ConversionKind::HpType);
    run.m_bKeepHeader = true;
    RunConversion(run, port, CollectSources({{manuscript, "manual", "htm"}, {contents, "toc", "cnt"}}));

    EXPECT_TRUE(run.m_bConversionFinished);
    EXPECT_EQ(run.m_saNotWritten, LineList{manuscript});
    EXPECT_EQ(run.m_saIncomplete, LineList{contents});
    EXPECT_NE(std::find(port.m_messages.begin(), port.m_messages.end(),
                        manuscript + " がなくなっていたため、Finished フォルダに移動できませんでした"),
              port.m_messages.end());
    EXPECT_NE(ReadFile(conv + "toc.htm").find("<a href=\"t1.htm\">"), std::string::npos);
    const std::string list = ReadFile(folder.Path() + "Finished/ListTitl.txt");
    EXPECT_NE(list.find(J("conv/toc.cnt には目次の項目がないため、目次にはすべてのページを並べました")),
              std::string::npos);
}

// More manuscripts than the pages' files are made ahead of their writes:
// every page is written with its jump to the manuscript before it linked,
// and the contents page made beside the writes lists them all in order.
TEST(ConversionRun, ManyManuscriptsWriteEveryPageWithItsLinks)
{
    TempFolder folder;
    const std::string conv = folder.Path() + "conv/";
    MakeFolder(conv);
    TestPort port;
    std::vector<SourceFile> opened;
    const auto topic = [](char name) { return std::string("t_") + name; };
    const auto before = [&](char name) { return topic(name == 'a' ? 'f' : static_cast<char>(name - 1)); };
    for (char name = 'a'; name <= 'f'; ++name) {
        const std::string path = conv + name + ".htm";
        port.m_sources[path] = {WordManuscript({{topic(name), "題", "本文", "前へ", before(name)}}),
                                TextEncoding::Cp932};
        opened.push_back({path, std::string(1, name), "htm"});
    }
    CConversionState run(ConversionKind::HpType);
    run.m_bKeepHeader = true;
    RunConversion(run, port, CollectSources(opened));

    ASSERT_TRUE(run.m_bConversionFinished);
    const std::string contents = ReadFile(conv + "Contents.htm");
    std::size_t listed = 0;
    for (char name = 'a'; name <= 'f'; ++name) {
        EXPECT_NE(ReadFile(conv + topic(name) + ".htm").find("<a href=\"" + before(name) + ".htm\">"),
                  std::string::npos)
            << name;
        const std::size_t at = contents.find("<a href=\"" + topic(name) + ".htm\">");
        EXPECT_TRUE(at != std::string::npos && at > listed) << name;
        listed = at;
    }
}

}  // namespace
}  // namespace zavio::test
