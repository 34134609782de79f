// Paths, the file-system boundary and text files.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <random>
#include <stdexcept>
#include <thread>

#include "TestApp.h"
#include "framework/FileError.h"
#include "framework/FileFaults.h"
#include "framework/FileSystem.h"
#include "framework/JobGroup.h"
#include "framework/Path.h"
#include "framework/TextFile.h"

namespace zavio::test {
namespace {

TEST(SplitPath, PartsOfAPath)
{
    PathParts p = SplitPath("/help/conv/manual.htm");
    EXPECT_EQ(p.drive, "");
    EXPECT_EQ(p.dir, "/help/conv/");
    EXPECT_EQ(p.fname, "manual");
    EXPECT_EQ(p.ext, ".htm");

    p = SplitPath("a.b.c");
    EXPECT_EQ(p.dir, "");
    EXPECT_EQ(p.fname, "a.b");
    EXPECT_EQ(p.ext, ".c");

    p = SplitPath("/dir.x/name");
    EXPECT_EQ(p.dir, "/dir.x/");
    EXPECT_EQ(p.fname, "name");
    EXPECT_EQ(p.ext, "");

    p = SplitPath("/only/");
    EXPECT_EQ(p.dir, "/only/");
    EXPECT_EQ(p.fname, "");
}

TEST(SplitPath, DoubleByteNamesStayWhole)
{
    PathParts p = SplitPath(J("/表示/ソフト.htm"));
    EXPECT_EQ(p.dir, J("/表示/"));
    EXPECT_EQ(p.fname, J("ソフト"));
    EXPECT_EQ(p.ext, ".htm");
}

TEST(FileSystemBoundary, JapaneseNamesAreUtf8OnDisk)
{
    TempFolder folder;
    std::string path = folder.Path() + J("表ソ.txt");
    ASSERT_TRUE(WriteFileBytes(path, "x"));
    auto native = ToNativePath(path);
    ASSERT_TRUE(native);
    EXPECT_NE(native->find("表ソ.txt"), std::string::npos);
    auto entries = ListFolder(folder.Path());
    ASSERT_TRUE(entries);
    ASSERT_EQ(entries->size(), 3u);
    EXPECT_EQ((*entries)[0].name, ".");
    EXPECT_EQ((*entries)[2].name, J("表ソ.txt"));
    EXPECT_FALSE((*entries)[2].isDirectory);
}

// The working file's folder: the runtime folder's, else the cache folder's,
// made private; another user's folder or a link is not taken.
TEST(FileSystemBoundary, PrivateUserFolderIsTheUsersOwnAndClosed)
{
    TempFolder folder;
    const std::string native = *ToNativePath(folder.Path());
    const std::string saved[] = {std::getenv("XDG_RUNTIME_DIR") ? std::getenv("XDG_RUNTIME_DIR") : "",
                                 std::getenv("XDG_CACHE_HOME") ? std::getenv("XDG_CACHE_HOME") : ""};
    ::setenv("XDG_RUNTIME_DIR", (native + "run").c_str(), 1);
    ::setenv("XDG_CACHE_HOME", (native + "cache").c_str(), 1);
    ASSERT_EQ(::mkdir((native + "run").c_str(), 0755), 0);
    EXPECT_EQ(PrivateUserFolder("app"), folder.Path() + "run/app/");
    struct stat st;
    ASSERT_EQ(::stat((native + "run/app").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    // A link in its place is not followed: the cache folder serves.
    ASSERT_EQ(::symlink("/tmp", (native + "run/other").c_str()), 0);
    EXPECT_EQ(PrivateUserFolder("other"), folder.Path() + "cache/other/");
    ::setenv("XDG_RUNTIME_DIR", saved[0].c_str(), 1);
    ::setenv("XDG_CACHE_HOME", saved[1].c_str(), 1);
}

TEST(FileSystemBoundary, UnconvertibleNamesFailLikeFileErrors)
{
    EXPECT_FALSE(ToNativePath("\x81"));
    EXPECT_FALSE(WriteFileBytes("/tmp/\x81.txt", "x"));
    EXPECT_FALSE(ReadFileBytes("/tmp/\x81.txt"));
    EXPECT_FALSE(FromNativePath("\xFF"));
}

// What unzip makes of an old Windows archive: names in Shift-JIS bytes. They
// come in as those bytes and name the same files again; a new name in such
// a folder is UTF-8. A name in neither encoding fails and says which.
TEST(FileSystemBoundary, ShiftJisNamesOnDiskAreTakenAsTheyAre)
{
    TempFolder folder;
    const std::string native = *ToNativePath(folder.Path());
    const std::string shiftJis = J("表ソ");
    ASSERT_EQ(::mkdir((native + shiftJis).c_str(), 0700), 0);
    const std::optional<std::vector<FolderEntry>> entries = ListFolder(folder.Path());
    ASSERT_TRUE(entries && entries->size() == 3u);
    EXPECT_EQ((*entries)[2].name, shiftJis);
    const std::string inside = folder.Path() + shiftJis + "/" + J("新.txt");
    ASSERT_TRUE(WriteFileBytes(inside, "x"));
    EXPECT_EQ(ToNativePath(inside), native + shiftJis + "/新.txt");
    EXPECT_EQ(ReadFile(inside), "x");

    EXPECT_FALSE(FromNativePath(native + "\xFF"));
    EXPECT_EQ(LastFileError().cause, FileErrorCause::NameNotUtf8OrCp932);
    EXPECT_FALSE(FromNativePath(native + "한"));
    EXPECT_EQ(LastFileError().cause, FileErrorCause::NameWithoutCp932Form);
}

TEST(FileSystemBoundary, MoveRefusesAnExistingDestination)
{
    TempFolder folder;
    std::string a = folder.Path() + "a.txt", b = folder.Path() + "b.txt";
    WriteFile(a, "A");
    WriteFile(b, "B");
    bool taken = false;
    EXPECT_FALSE(MoveFile(a, b, &taken));
    EXPECT_TRUE(taken);
    EXPECT_EQ(ReadFile(b), "B");
    EXPECT_FALSE(MoveFile(a, folder.Path() + "missing/b.txt", &taken));
    EXPECT_FALSE(taken);
    ASSERT_TRUE(RemoveFile(b));
    EXPECT_TRUE(MoveFile(a, b));
    EXPECT_EQ(ReadFile(b), "A");
    EXPECT_FALSE(FileExists(a));
}

// The names in a folder, to see that no temporary file stays behind.
std::vector<std::string> Names(const std::string& folder)
{
    std::vector<std::string> names;
    const std::optional<std::vector<FolderEntry>> entries = ListFolder(folder);
    for (const FolderEntry& entry : *entries) names.push_back(entry.name);
    std::sort(names.begin() + 2, names.end());
    return names;
}

// With unnamed new files (O_TMPFILE) and, as on file systems without them,
// with temporary names.
class AllOrNothingWrite : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        InjectFileFaults({FileFaults::kNone, [](std::string_view) { return true; }, GetParam()});
    }
    void TearDown() override { InjectFileFaults({}); }
    TempFolder m_folder;
};

TEST_P(AllOrNothingWrite, AFailedWriteLeavesTheOldFileAndItsBackupWhole)
{
    const std::string file = m_folder.Path() + "a.txt", backup = m_folder.Path() + "a-Back.txt";
    ASSERT_TRUE(WriteFileBytes(file, "old"));
    ASSERT_EQ(::chmod(ToNativePath(file)->c_str(), 0640), 0);
    ASSERT_TRUE(WriteFileBytes(file, "new", {false, backup}));
    EXPECT_EQ(ReadFile(file), "new");
    EXPECT_EQ(ReadFile(backup), "old");
    struct stat st;
    ASSERT_EQ(::stat(ToNativePath(file)->c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);

    const std::vector<std::string> before = Names(m_folder.Path());
    for (FileFaults::Kind kind : {FileFaults::kDiskFull, FileFaults::kReadOnly}) {
        InjectFileFaults({kind, [&](std::string_view path) { return path == file; }, GetParam()});
        EXPECT_FALSE(WriteFileBytes(file, std::string(100000, 'x'), {true, backup}));
        EXPECT_EQ(ReadFile(file), "new");
        EXPECT_EQ(ReadFile(backup), "old");
        EXPECT_EQ(Names(m_folder.Path()), before);
    }
}

// Where a file or a link stands, a write only of a new file writes nothing.
TEST_P(AllOrNothingWrite, OnlyANewFileIsWrittenWhereAskedSo)
{
    const std::string file = m_folder.Path() + "a.txt", link = m_folder.Path() + "link.txt";
    FileWriteOptions onlyIfNew;
    onlyIfNew.onlyIfNew = true;
    ASSERT_TRUE(WriteFileBytes(file, "first", onlyIfNew));
    ASSERT_EQ(::symlink("elsewhere.txt", ToNativePath(link)->c_str()), 0);
    const std::vector<std::string> before = Names(m_folder.Path());
    for (const std::string& taken : {file, link}) {
        EXPECT_FALSE(WriteFileBytes(taken, "second", onlyIfNew));
        EXPECT_EQ(LastFileError().osError, EEXIST);
    }
    EXPECT_EQ(ReadFile(file), "first");
    EXPECT_EQ(Names(m_folder.Path()), before);
}

INSTANTIATE_TEST_SUITE_P(FileSystemBoundary, AllOrNothingWrite, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "TemporaryNames" : "UnnamedFiles";
                         });

// Bytes written ahead are seen only once a write names them, and only where
// it may; dropped, they leave nothing. Where a fault is injected, none are.
TEST(FileSystemBoundary, APreparedFileIsSeenOnlyOnceNamed)
{
    TempFolder folder;
    const std::string page = folder.Path() + "page.htm";
    std::optional<PreparedFile> prepared = PrepareFileBytes(page, "first");
    if (!prepared) GTEST_SKIP() << "no unnamed files here";
    const std::vector<std::string> empty = Names(folder.Path());
    FileWriteOptions onlyIfNew;
    onlyIfNew.onlyIfNew = true;
    onlyIfNew.prepared = &*prepared;
    ASSERT_TRUE(WriteFileBytes(page, "first", onlyIfNew));
    EXPECT_EQ(prepared->Release(), -1);  // the write took it
    EXPECT_EQ(ReadFile(page), "first");

    prepared = PrepareFileBytes(page, "second");
    onlyIfNew.prepared = &*prepared;
    EXPECT_FALSE(WriteFileBytes(page, "second", onlyIfNew));
    EXPECT_EQ(LastFileError().osError, EEXIST);
    prepared = PrepareFileBytes(folder.Path() + "other.htm", "dropped");
    prepared.reset();
    EXPECT_EQ(ReadFile(page), "first");
    EXPECT_EQ(Names(folder.Path()).size(), empty.size() + 1);

    InjectFileFaults({FileFaults::kDiskFull, [](std::string_view) { return true; }});
    EXPECT_FALSE(PrepareFileBytes(page, "third"));
    InjectFileFaults({});
}

TEST(FileSystemBoundary, LinksAreWrittenThroughAndPipesAndFoldersRefused)
{
    TempFolder folder;
    const std::string file = folder.Path() + "file.txt", link = folder.Path() + "link.txt";
    WriteFile(file, "old");
    ASSERT_EQ(::symlink("file.txt", ToNativePath(link)->c_str()), 0);
    ASSERT_TRUE(WriteFileBytes(link, "through"));
    EXPECT_EQ(ReadFile(file), "through");
    struct stat st;
    ASSERT_EQ(::lstat(ToNativePath(link)->c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));

    // Opening a pipe would wait for a writer or reader for ever.
    const std::string pipe = folder.Path() + "pipe.htm";
    ASSERT_EQ(::mkfifo(ToNativePath(pipe)->c_str(), 0600), 0);
    EXPECT_FALSE(ReadFileBytes(pipe));
    EXPECT_FALSE(WriteFileBytes(pipe, "x"));
    EXPECT_FALSE(WriteFileBytes(folder.Path() + ".", "x"));
    EXPECT_EQ(Names(folder.Path()), (std::vector<std::string>{".", "..", "file.txt", "link.txt", "pipe.htm"}));
}

TEST(FileSystemBoundary, FoldersAreMadeAndEntered)
{
    TempFolder folder;
    std::string sub = folder.Path() + J("完了");
    ASSERT_TRUE(MakeFolder(sub));
    EXPECT_TRUE(IsDirectory(sub));
    EXPECT_FALSE(MakeFolder(sub));
    auto before = CurrentFolder();
    ASSERT_TRUE(ChangeFolder(sub));
    EXPECT_EQ(CurrentFolder(), std::optional<std::string>(folder.Path() + J("完了")));
    ASSERT_TRUE(ChangeFolder(*before));
    EXPECT_FALSE(ReadFileBytes(sub));  // a folder is no file
}

TEST(TextFiles, LinesEndAtLfOrCrLfAndALoneCrStays)
{
    LineList lines;
    SplitTextLines("a\r\nb\nc\rd\r\n\r\nlast", lines);
    EXPECT_EQ(lines, (LineList{"a", "b", "c\rd", "", "last"}));
    lines.clear();
    SplitTextLines("x\n", lines);
    EXPECT_EQ(lines, LineList{"x"});
    lines.clear();
    SplitTextLines("", lines);
    EXPECT_TRUE(lines.empty());
}

TEST(TextFiles, WritingEndsEveryLineWithCrLf)
{
    EXPECT_EQ(JoinTextLines({"a", "", "b"}), "a\r\n\r\nb\r\n");
    EXPECT_EQ(JoinTextLines({}), "");
}

// A file's text made in one piece is the text its lines join to, whether its
// own buffer serves (CR LF throughout) or not.
TEST(TextFiles, CrLfTextIsTheJoinedLines)
{
    std::mt19937 rng(7);
    const char pieces[] = {'a', '\r', '\n', '\0', '\x81'};
    for (int round = 0; round < 2000; ++round) {
        std::string bytes;
        for (std::size_t n = rng() % 12; n > 0; --n) {
            if (rng() % 2) bytes += "\r\n";
            bytes += pieces[rng() % std::size(pieces)];
        }
        LineList lines;
        SplitTextLines(bytes, lines);
        ASSERT_EQ(CrLfText(bytes), JoinTextLines(lines)) << testing::PrintToString(bytes);
    }
}

// Read a line at a time, a view's text gives SplitViewText's lines; reading
// on from where a reader stopped gives the lines that follow, as the
// splitting of a manuscript's body relies on.
TEST(TextFiles, ViewTextReadOnFromAnyLineGivesTheRest)
{
    const std::string text = std::string("a\r\n\r\nb\rc\n\nd\r\ne") + '\0' + "f\r\n\ng\r";
    LineList all;
    SplitViewText(text, all);
    EXPECT_EQ(all, (LineList{"a", "", "b", "c", "d", "ef", "g"}));
    for (std::size_t stop = 0; stop <= all.size(); ++stop) {
        ViewTextLines reader(text);
        LineList lines;
        std::string_view line;
        while (lines.size() < stop && reader.Next(line)) lines.emplace_back(line);
        ViewTextLines rest(std::string_view(text).substr(reader.Position()));
        while (rest.Next(line)) lines.emplace_back(line);
        EXPECT_EQ(lines, all) << stop;
    }
}

}  // namespace
}  // namespace zavio::test

namespace zavio::test {
namespace {

// Jobs that each wait for all of them to have started run at once: a group
// with one worker runs two of them only if the caller takes one itself.
TEST(JobGroup, RunsEveryJobBesideTheCallerAndPassesOnAFailure)
{
    for (std::size_t workers : {0u, 1u, 3u}) {
        JobGroup group(workers);
        std::vector<int> done(20, 0);
        for (std::size_t i = 0; i < done.size(); ++i) group.Run([&done, i] { done[i] = static_cast<int>(i) + 1; });
        group.Wait();
        for (std::size_t i = 0; i < done.size(); ++i) EXPECT_EQ(done[i], static_cast<int>(i) + 1) << workers;
    }
    JobGroup pair(1);
    std::atomic<int> started{0};
    const auto meet = [&started] {
        ++started;
        while (started < 2) std::this_thread::yield();
    };
    pair.Run(meet);
    pair.Run(meet);  // no worker is free: the caller's own
    pair.Wait();
    EXPECT_EQ(started, 2);

    // Wait takes back a job its worker has not begun: run once either way.
    for (int i = 0; i < 200; ++i) {
        JobGroup one(1);
        std::atomic<int> runs{0};
        one.Run([&runs] { ++runs; });
        one.Wait();
        ASSERT_EQ(runs, 1);
    }

    JobGroup failing(1);
    failing.Run([] { throw std::runtime_error("on the worker"); });
    EXPECT_THROW(failing.Wait(), std::runtime_error);
    failing.Run([] {});
    EXPECT_NO_THROW(failing.Wait());  // told once
    JobGroup alone(0);
    EXPECT_THROW(alone.Run([] { throw std::runtime_error("on the caller"); }), std::runtime_error);
}

}  // namespace
}  // namespace zavio::test
