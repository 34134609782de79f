#include "framework/FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "framework/Cp932.h"

namespace zavio {

std::optional<std::string> ToNativePath(std::string_view cp932Path)
{
    if (cp932Path.find('\0') != std::string_view::npos) return std::nullopt;
    return DecodeCp932(cp932Path);
}

std::optional<std::string> FromNativePath(std::string_view nativePath)
{
    return EncodeCp932(nativePath);
}

namespace {
bool StatPath(std::string_view path, struct stat& st)
{
    auto native = ToNativePath(path);
    return native && !native->empty() && ::stat(native->c_str(), &st) == 0;
}
}  // namespace

bool FileExists(std::string_view path)
{
    struct stat st;
    return StatPath(path, st);
}

bool IsDirectory(std::string_view path)
{
    struct stat st;
    return StatPath(path, st) && S_ISDIR(st.st_mode);
}

bool RemoveFile(std::string_view path)
{
    auto native = ToNativePath(path);
    return native && ::unlink(native->c_str()) == 0;
}

bool MoveFile(std::string_view from, std::string_view to)
{
    auto src = ToNativePath(from);
    auto dst = ToNativePath(to);
    if (!src || !dst) return false;
    struct stat st;
    if (::lstat(dst->c_str(), &st) == 0) return false;
    return ::rename(src->c_str(), dst->c_str()) == 0;
}

bool MakeFolder(std::string_view path)
{
    auto native = ToNativePath(path);
    return native && ::mkdir(native->c_str(), 0777) == 0;
}

bool ChangeFolder(std::string_view path)
{
    auto native = ToNativePath(path);
    return native && ::chdir(native->c_str()) == 0;
}

std::optional<std::string> CurrentFolder()
{
    std::unique_ptr<char, void (*)(void*)> cwd(::getcwd(nullptr, 0), std::free);
    if (!cwd) return std::nullopt;
    return FromNativePath(cwd.get());
}

std::optional<std::vector<FolderEntry>> ListFolder(std::string_view folder)
{
    auto native = ToNativePath(folder);
    if (!native) return std::nullopt;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(native->empty() ? "." : native->c_str()), ::closedir);
    if (!dir) return std::nullopt;
    std::vector<FolderEntry> entries{{".", true}, {"..", true}};
    while (dirent* e = ::readdir(dir.get())) {
        std::string_view name = e->d_name;
        if (name == "." || name == "..") continue;
        auto cp932 = FromNativePath(name);
        if (!cp932) continue;
        FolderEntry entry{*cp932, false};
        std::string full = *native + "/" + std::string(name);
        struct stat st;
        entry.isDirectory = ::stat(full.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
        entries.push_back(std::move(entry));
    }
    return entries;
}

bool IsWritableFolder(std::string_view folder)
{
    auto native = ToNativePath(folder);
    if (!native || native->empty()) return false;
    std::string probe = *native + (native->back() == '/' ? "" : "/") + ".write-test-XXXXXX";
    int fd = ::mkstemp(probe.data());
    if (fd < 0) return false;
    ::close(fd);
    ::unlink(probe.c_str());
    return true;
}

namespace {

std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

// The folder (native path) as a private folder of this user: made with mode
// 0700 when missing, else taken only when it is this user's own folder, and
// then closed to others.
bool MakePrivateFolder(const std::string& native)
{
    if (::mkdir(native.c_str(), 0700) != 0 && errno != EEXIST) return false;
    struct stat st;
    if (::lstat(native.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid()) return false;
    return (st.st_mode & 077) == 0 || ::chmod(native.c_str(), 0700) == 0;
}

}  // namespace

std::optional<std::string> HomeFolder()
{
    std::string home = Environment("HOME");
    if (home.empty()) return std::nullopt;
    return FromNativePath(home);
}

std::optional<std::string> PrivateUserFolder(std::string_view name)
{
    const std::string leaf(name);
    std::vector<std::string> candidates;
    if (std::string runtime = Environment("XDG_RUNTIME_DIR"); !runtime.empty())
        candidates.push_back(runtime + "/" + leaf);
    std::string cache = Environment("XDG_CACHE_HOME");
    if (cache.empty() && !Environment("HOME").empty()) cache = Environment("HOME") + "/.cache";
    if (!cache.empty()) {
        ::mkdir(cache.c_str(), 0700);  // a new home may not have one yet
        candidates.push_back(cache + "/" + leaf);
    }
    std::string temp = Environment("TMPDIR");
    candidates.push_back((temp.empty() ? std::string("/tmp") : temp) + "/" + leaf + "-" + std::to_string(::geteuid()));
    for (const std::string& native : candidates) {
        if (!MakePrivateFolder(native)) continue;
        if (auto folder = FromNativePath(native)) return *folder + "/";
    }
    return std::nullopt;
}

std::optional<std::string> ReadFileBytes(std::string_view path)
{
    auto native = ToNativePath(path);
    if (!native) return std::nullopt;
    int fd = ::open(native->c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    // Read straight into the result, one byte more than the size says, so
    // that a file that grew meanwhile is still read to its end.
    std::string bytes(static_cast<std::size_t>(st.st_size) + 1, '\0');
    std::size_t done = 0;
    while (true) {
        if (done == bytes.size()) bytes.resize(bytes.size() * 2);
        ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    bytes.resize(done);
    return bytes;
}

namespace {
bool WriteAll(int fd, std::string_view bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}
}  // namespace

bool WriteFileBytes(std::string_view path, std::string_view bytes)
{
    auto native = ToNativePath(path);
    if (!native) return false;
    int fd = ::open(native->c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    if (!WriteAll(fd, bytes)) {
        ::close(fd);
        return false;
    }
    return ::close(fd) == 0;
}

RoundTripFile::RoundTripFile(std::string_view path)
{
    if (auto native = ToNativePath(path)) m_fd = ::open(native->c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
}

bool RoundTripFile::Write(std::string_view bytes)
{
    if (m_fd < 0 || !WriteAll(m_fd, bytes)) return false;
    m_written += bytes.size();
    return true;
}

std::optional<std::string> RoundTripFile::ReadBack() const
{
    if (m_fd < 0) return std::nullopt;
    // One byte more than was written: a read that comes back short has
    // reached the end, so the usual case takes a single call.
    std::string bytes(m_written + 1, '\0');
    std::size_t done = 0;
    while (true) {
        if (done == bytes.size()) bytes.resize(bytes.size() * 2);
        ssize_t n = ::pread(m_fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return std::nullopt;
        done += static_cast<std::size_t>(n);
        if (done < bytes.size()) break;
    }
    bytes.resize(done);
    return bytes;
}

void RoundTripFile::Close()
{
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
}

}  // namespace zavio
