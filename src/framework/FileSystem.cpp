#include "framework/FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>
#include <string_view>

#include "framework/Cp932.h"
#include "framework/FileError.h"
#include "framework/FileFaults.h"

namespace zavio {

namespace {

FileFaults& Faults()
{
    static FileFaults faults;
    return faults;
}

// The fault injected for this path, if any; sets errno as the real one would.
FileFaults::Kind InjectedFault(std::string_view path)
{
    const FileFaults& faults = Faults();
    if (faults.kind == FileFaults::kNone || !faults.applies || !faults.applies(path)) return FileFaults::kNone;
    errno = faults.kind == FileFaults::kReadOnly ? EROFS : ENOSPC;
    return faults.kind;
}

// The same for the file `name` in `folder`; the path is put together only
// while a fault is injected.
FileFaults::Kind InjectedFault(const std::string& folder, std::string_view name)
{
    if (Faults().kind == FileFaults::kNone) return FileFaults::kNone;
    return InjectedFault(folder + std::string(name));
}

bool UnnamedFilesRefused(std::string_view path)
{
    const FileFaults& faults = Faults();
    return faults.noUnnamedFiles && faults.applies && faults.applies(path);
}

// A failure, with errno kept as its reason.
bool Failed()
{
    KeepSystemError();
    return false;
}

bool Failed(FileErrorCause cause)
{
    SetLastFileError({cause});
    return false;
}

// The folder of a native path, "." for a bare name.
std::string NativeFolderOf(const std::string& native)
{
    const std::size_t slash = native.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? std::string("/") : native.substr(0, slash);
}

bool Exists(const std::string& native)
{
    struct stat st;
    return ::lstat(native.c_str(), &st) == 0;
}

// The name on disk of a path whose CP932 differs from its UTF-8. Names are
// UTF-8 there, but a folder or file an old Windows archive brought keeps its
// Shift-JIS bytes (unzip does not convert them): where a component's UTF-8
// name is not found and its CP932 bytes are, those bytes are its name. A new
// name is UTF-8. The separator is never a trail byte, so the components of
// both forms correspond.
std::string NameOnDisk(std::string_view cp932, const std::string& utf8)
{
    // Usually the whole path, or its folder, is found under its UTF-8 name.
    if (Exists(utf8)) return utf8;
    const std::size_t lastSep = cp932.rfind('/');
    const std::size_t lastSepUtf8 = utf8.rfind('/');
    const std::string_view lastRaw = lastSep == std::string_view::npos ? cp932 : cp932.substr(lastSep + 1);
    if (lastSepUtf8 != std::string::npos && Exists(lastSepUtf8 == 0 ? "/" : utf8.substr(0, lastSepUtf8))) {
        const std::string raw = utf8.substr(0, lastSepUtf8 + 1) + std::string(lastRaw);
        return !IsAscii(lastRaw) && Exists(raw) ? raw : utf8;
    }
    std::string native;
    std::size_t rawStart = 0, utf8Start = 0;
    while (true) {
        const std::size_t rawEnd = cp932.find('/', rawStart), utf8End = utf8.find('/', utf8Start);
        const std::string_view raw = cp932.substr(rawStart, rawEnd - rawStart);
        const std::string decoded = utf8.substr(utf8Start, utf8End - utf8Start);
        if (!IsAscii(raw) && !Exists(native + decoded) && Exists(native + std::string(raw)))
            native += raw;
        else
            native += decoded;
        if (rawEnd == std::string_view::npos) return native;
        native += '/';
        rawStart = rawEnd + 1;
        utf8Start = utf8End + 1;
    }
}

// One component of a name on disk in CP932: UTF-8 decoded, or Shift-JIS
// bytes as they are.
std::optional<std::string> ComponentFromNative(std::string_view name)
{
    if (IsAscii(name)) return std::string(name);
    if (std::optional<std::string> cp932 = EncodeCp932(name)) return cp932;
    const bool utf8 = IsWellFormedUtf8(name);
    if (!utf8 && DecodeCp932(name)) return std::string(name);
    SetLastFileError({utf8 ? FileErrorCause::NameWithoutCp932Form : FileErrorCause::NameNotUtf8OrCp932});
    return std::nullopt;
}

}  // namespace

void InjectFileFaults(FileFaults faults)
{
    Faults() = std::move(faults);
}

std::optional<std::string> ToNativePath(std::string_view cp932Path)
{
    std::optional<std::string> utf8;
    if (cp932Path.find('\0') == std::string_view::npos) utf8 = DecodeCp932(cp932Path);
    if (!utf8) {
        SetLastFileError({FileErrorCause::PathWithoutNativeForm});
        return std::nullopt;
    }
    if (IsAscii(cp932Path)) return utf8;
    return NameOnDisk(cp932Path, *utf8);
}

std::optional<std::string> FromNativePath(std::string_view nativePath)
{
    if (IsAscii(nativePath)) return std::string(nativePath);
    std::string path;
    for (std::size_t start = 0;;) {
        const std::size_t end = nativePath.find('/', start);
        std::optional<std::string> name = ComponentFromNative(nativePath.substr(start, end - start));
        if (!name) return std::nullopt;
        path += *name;
        if (end == std::string_view::npos) return path;
        path += '/';
        start = end + 1;
    }
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

std::optional<std::uint64_t> FileSize(std::string_view path)
{
    struct stat st;
    if (!StatPath(path, st) || !S_ISREG(st.st_mode)) return std::nullopt;
    return static_cast<std::uint64_t>(st.st_size);
}

bool RemoveFile(std::string_view path)
{
    auto native = ToNativePath(path);
    if (!native) return false;
    if (InjectedFault(path) == FileFaults::kReadOnly || ::unlink(native->c_str()) != 0) return Failed();
    return true;
}

namespace {

// Renames native paths, never over an existing file: fails with EEXIST
// where one stands.
bool RenameWithoutReplacing(const std::string& from, const std::string& to)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // A file system that cannot refuse in the rename itself.
    struct stat st;
    if (::lstat(to.c_str(), &st) == 0) {
        errno = EEXIST;
        return false;
    }
    return ::rename(from.c_str(), to.c_str()) == 0;
}

// Whether `from` is a symbolic link whose target is relative and that moves
// to another folder, where the same target would lead elsewhere or nowhere.
bool MovesAsRelativeLink(const std::string& from, const std::string& to)
{
    struct stat st;
    if (::lstat(from.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return false;
    std::error_code ec;
    const std::filesystem::path target = std::filesystem::read_symlink(from, ec);
    return !ec && target.is_relative() &&
           std::filesystem::path(from).parent_path().lexically_normal() !=
               std::filesystem::path(to).parent_path().lexically_normal();
}

// Moves such a link as a link made anew at `to`, its target now written
// from the link's old folder, so that it still leads to its file; never over
// an existing entry (the link is made, not renamed, and symlink refuses
// one).
bool MoveRelativeLink(const std::string& from, const std::string& to)
{
    std::error_code ec;
    const std::filesystem::path target =
        (std::filesystem::absolute(from, ec).parent_path() / std::filesystem::read_symlink(from, ec))
            .lexically_normal();
    if (ec) return false;
    if (::symlink(target.c_str(), to.c_str()) != 0) return false;
    if (::unlink(from.c_str()) == 0) return true;
    const int error = errno;
    ::unlink(to.c_str());
    errno = error;
    return false;
}

}  // namespace

bool MoveFile(std::string_view from, std::string_view to, bool* targetTaken)
{
    if (targetTaken) *targetTaken = false;
    auto src = ToNativePath(from);
    auto dst = ToNativePath(to);
    if (!src || !dst) return false;
    if (InjectedFault(from) == FileFaults::kReadOnly || InjectedFault(to) == FileFaults::kReadOnly) return Failed();
    if (MovesAsRelativeLink(*src, *dst)) {
        if (MoveRelativeLink(*src, *dst)) return true;
    } else if (RenameWithoutReplacing(*src, *dst)) {
        return true;
    }
    if (targetTaken) *targetTaken = errno == EEXIST;
    return Failed();
}

bool MakeFolder(std::string_view path)
{
    auto native = ToNativePath(path);
    if (!native) return false;
    return ::mkdir(native->c_str(), 0777) == 0 || Failed();
}

bool ChangeFolder(std::string_view path)
{
    auto native = ToNativePath(path);
    if (!native) return false;
    return ::chdir(native->c_str()) == 0 || Failed();
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
    if (!dir) {
        KeepSystemError();
        return std::nullopt;
    }
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
    if (fd < 0) return Failed();
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

}  // namespace

std::optional<std::string> HomeFolder()
{
    std::string home = Environment("HOME");
    if (home.empty()) return std::nullopt;
    return FromNativePath(home);
}

std::vector<std::string> PrivateFolderPlaces(std::string_view name)
{
    const std::string leaf(name);
    std::vector<std::string> natives;
    if (std::string runtime = Environment("XDG_RUNTIME_DIR"); !runtime.empty()) natives.push_back(runtime + "/" + leaf);
    std::string cache = Environment("XDG_CACHE_HOME");
    if (cache.empty() && !Environment("HOME").empty()) cache = Environment("HOME") + "/.cache";
    if (!cache.empty()) {
        ::mkdir(cache.c_str(), 0700);  // a new home may not have one yet
        natives.push_back(cache + "/" + leaf);
    }
    std::string temp = Environment("TMPDIR");
    natives.push_back((temp.empty() ? std::string("/tmp") : temp) + "/" + leaf + "-" + std::to_string(::geteuid()));
    std::vector<std::string> places;
    for (const std::string& native : natives)
        if (std::optional<std::string> folder = FromNativePath(native)) places.push_back(*folder + "/");
    return places;
}

bool TakePrivateFolder(std::string_view folder)
{
    std::optional<std::string> native = ToNativePath(folder);
    if (!native) return false;
    while (native->size() > 1 && native->back() == '/') native->pop_back();
    ::mkdir(native->c_str(), 0700);
    struct stat st;
    if (::lstat(native->c_str(), &st) != 0) return Failed();
    if (!S_ISDIR(st.st_mode) || st.st_uid != ::geteuid()) {
        errno = S_ISDIR(st.st_mode) ? EACCES : EEXIST;
        return Failed();
    }
    if ((st.st_mode & 077) != 0 && ::chmod(native->c_str(), 0700) != 0) return Failed();
    return IsWritableFolder(folder);
}

std::optional<std::string> PrivateUserFolder(std::string_view name)
{
    for (const std::string& folder : PrivateFolderPlaces(name))
        if (TakePrivateFolder(folder)) return folder;
    return std::nullopt;
}

std::optional<std::string> ReadFileBytes(std::string_view path)
{
    auto native = ToNativePath(path);
    if (!native) return std::nullopt;
    // Not blocking: opening a pipe with no writer would wait for ever. It
    // changes nothing for the regular files that are read.
    int fd = ::open(native->c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        KeepSystemError();
        return std::nullopt;
    }
    struct stat st;
    const bool stated = ::fstat(fd, &st) == 0;
    if (!stated || !S_ISREG(st.st_mode)) {
        if (!stated)
            KeepSystemError();
        else if (S_ISDIR(st.st_mode))
            SetLastFileError({FileErrorCause::System, EISDIR});
        else
            SetLastFileError({FileErrorCause::NotRegularFile});
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
            KeepSystemError();
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

// Half the bytes, then the error of a full disk.
bool WriteHalfOnFullDisk(int fd, std::string_view bytes)
{
    WriteAll(fd, bytes.substr(0, bytes.size() / 2));
    errno = ENOSPC;
    return false;
}

// A name in `folder` that no other file of this process takes; hidden, so
// that a listing does not show it for the moment it exists.
std::string TemporaryName(const std::string& folder)
{
    static std::atomic<unsigned> serial{0};
    return folder + "/.zavio-" + std::to_string(::getpid()) + "-" + std::to_string(++serial) + ".tmp";
}

// Whether a file opened with O_TMPFILE can be given a name: through its
// /proc link, where /proc is mounted.
bool CanNameUnnamedFiles()
{
    static const bool can = ::access("/proc/self/fd", X_OK) == 0;
    return can;
}

// The new content of a file, written beside it. Where the file system can,
// the file has no name until it takes the target's, so that even a killed
// process leaves nothing behind; elsewhere it has a hidden temporary name,
// removed again unless it took the target's place.
class ReplacementFile {
public:
    // `prepared`: a file without a name written already, or -1.
    ReplacementFile(const std::string& folder, bool unnamedAllowed, int prepared = -1)
    {
        m_fd = prepared;
        if (m_fd >= 0) return;
#ifdef O_TMPFILE
        if (unnamedAllowed && CanNameUnnamedFiles()) {
            m_fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
            // Any other error would stop a named file too.
            if (m_fd >= 0 || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)) return;
        }
#endif
        for (int attempt = 0; attempt < 100 && m_fd < 0; ++attempt) {
            m_name = TemporaryName(folder);
            m_fd = ::open(m_name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (m_fd < 0 && errno != EEXIST) break;  // a crashed process may have left one
        }
        if (m_fd < 0) m_name.clear();
    }
    ~ReplacementFile()
    {
        if (m_fd >= 0) ::close(m_fd);
        if (!m_name.empty()) ::unlink(m_name.c_str());
    }
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    int Descriptor() const
    {
        return m_fd;
    }

    // Gives the file the name `target` (native) where nothing stands there;
    // fails with EEXIST where something does.
    bool TakeFreeName(const std::string& target)
    {
        if (m_name.empty()) {
            if (!LinkUnnamed(target)) return false;
        } else {
            if (!RenameWithoutReplacing(m_name, target)) return false;
            m_name.clear();
        }
        return Close();
    }

    // Puts the file in the place of the file at `target` (native).
    bool Replace(const std::string& target)
    {
        if (m_name.empty()) {
            // A name of its own first: a link never replaces a file.
            const std::string name = TemporaryName(NativeFolderOf(target));
            if (!LinkUnnamed(name)) return false;
            m_name = name;
        }
        if (::rename(m_name.c_str(), target.c_str()) != 0) return false;
        m_name.clear();
        return Close();
    }

private:
    // Names the unnamed file `name` (native). Straight from its descriptor
    // where the kernel lets the file's opener do so (Linux 6.10 on), which
    // spares the walk through /proc; else through its /proc link.
    bool LinkUnnamed(const std::string& name)
    {
        static std::atomic<bool> byDescriptor{true};
        if (byDescriptor && ::linkat(m_fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0) return true;
        if (byDescriptor && errno != ENOENT && errno != EPERM) return false;
        const std::string self = "/proc/self/fd/" + std::to_string(m_fd);
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) != 0) return false;
        byDescriptor = false;  // refused, yet the file could be named: this kernel wants the link
        return true;
    }

    bool Close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

    int m_fd = -1;
    std::string m_name;  // empty while the file has none
};

// Keeps the file at `target` as `backup` (native paths), replacing an older
// copy. The file itself stays in place through a second link; where the
// file system has no links it is moved, and the new file then takes its
// place. Failures are not examined: the save goes on without a copy.
void KeepBackup(const std::string& target, const std::string& backup)
{
    const std::string name = TemporaryName(NativeFolderOf(backup));
    if (::link(target.c_str(), name.c_str()) == 0) {
        if (::rename(name.c_str(), backup.c_str()) != 0) ::unlink(name.c_str());
        return;
    }
    ::rename(target.c_str(), backup.c_str());
}

bool WriteNativeFile(const std::string& target, std::string_view bytes, const FileWriteOptions& options,
                     FileFaults::Kind fault, bool unnamedAllowed, bool throughLink = false)
{
    // Failures are kept before the replacement file is cleaned up.
    if (fault == FileFaults::kReadOnly) return Failed();
    const int prepared = options.prepared && fault == FileFaults::kNone ? options.prepared->Release() : -1;
    ReplacementFile file(NativeFolderOf(target), unnamedAllowed, prepared);
    const int fd = file.Descriptor();
    if (fd < 0) return Failed();
    if (fault == FileFaults::kDiskFull) return WriteHalfOnFullDisk(fd, bytes) || Failed();
    if (prepared < 0 && !WriteAll(fd, bytes)) return Failed();
    if (options.flushToDisk && ::fdatasync(fd) != 0) return Failed();
    // Most files the program writes are new: they take their name at once.
    if (file.TakeFreeName(target)) return true;
    // A file prepared in a folder the name does not lead to (the folder was
    // replaced meanwhile) is written again where it does.
    if (prepared >= 0 && errno == EXDEV)
        return WriteNativeFile(target, bytes, options, fault, unnamedAllowed, throughLink);
    if (errno != EEXIST || options.onlyIfNew) return Failed();

    struct stat st;
    if (::lstat(target.c_str(), &st) != 0) return Failed();
    if (S_ISLNK(st.st_mode) && !throughLink) {
        // Through the link, as writing in place would: the link stays. A link
        // to nothing is refused rather than followed to a new file.
        std::unique_ptr<char, void (*)(void*)> real(::realpath(target.c_str(), nullptr), std::free);
        if (!real) return Failed();
        return WriteNativeFile(real.get(), bytes, options, fault, unnamedAllowed, true);
    }
    if (S_ISDIR(st.st_mode)) {
        errno = EISDIR;
        return Failed();
    }
    if (!S_ISREG(st.st_mode)) return Failed(FileErrorCause::NotRegularFile);
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) return Failed();
    // The file made anew keeps the permissions and, where the process may
    // (as root), the owner of the one it replaces.
    ::fchmod(fd, st.st_mode & 07777);
    if (st.st_uid != ::geteuid() || st.st_gid != ::getegid()) (void)::fchown(fd, st.st_uid, st.st_gid);
    if (!options.backupPath.empty()) {
        if (auto backup = ToNativePath(options.backupPath)) KeepBackup(target, *backup);
    }
    return file.Replace(target) || Failed();
}

// Whether a temporary file named by TemporaryName belongs to a run that is
// over: no process has its number, the one that has it now is no copy of
// this program (the number was given again), or it is this very process,
// which makes none in a folder before it has cleaned the folder up.
bool IsDeadRunsTemporary(std::string_view name)
{
    constexpr std::string_view kPrefix = ".zavio-", kSuffix = ".tmp";
    if (!name.starts_with(kPrefix) || !name.ends_with(kSuffix)) return false;
    const std::string_view numbers = name.substr(kPrefix.size(), name.size() - kPrefix.size() - kSuffix.size());
    const std::size_t dash = numbers.find('-');
    if (dash == 0 || dash == std::string_view::npos || dash > 9) return false;
    for (std::size_t i = 0; i < numbers.size(); ++i)
        if (i != dash && (numbers[i] < '0' || numbers[i] > '9')) return false;
    const pid_t pid = static_cast<pid_t>(std::stol(std::string(numbers.substr(0, dash))));
    if (pid == ::getpid()) return true;
    if (pid <= 0 || (::kill(pid, 0) != 0 && errno == ESRCH)) return true;
    // A process that is there: its name says whether it is one of ours.
    const auto commandOf = [](const std::string& proc) {
        std::string command = ReadFileBytes(proc + "/comm").value_or(std::string());
        if (!command.empty() && command.back() == '\n') command.pop_back();
        return command;
    };
    const std::string command = commandOf("/proc/" + std::to_string(pid));
    if (command.empty()) return false;  // not to be seen: kept
    return !command.starts_with("zavio") && command != commandOf("/proc/self");
}

// Removes the temporary files that runs killed before they could clean up
// left in `folder` (native): on a file system without unnamed files each
// new file has a temporary name until it takes its own. Done once a
// process, before its first file there.
void RemoveDeadRunsTemporaries(const std::string& folder)
{
    static std::set<std::string> cleaned;
    if (!cleaned.insert(folder).second) return;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
    if (!dir) return;
    // The write that follows must not find a failure of this clean-up as its own.
    const int saved = errno;
    const FileError savedFailure = LastFileError();
    while (dirent* e = ::readdir(dir.get())) {
        if (!IsDeadRunsTemporary(e->d_name)) continue;
        struct stat st;
        if (::fstatat(::dirfd(dir.get()), e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode))
            ::unlinkat(::dirfd(dir.get()), e->d_name, 0);
    }
    errno = saved;
    SetLastFileError(savedFailure);
}

}  // namespace

bool WriteFileBytes(std::string_view path, std::string_view bytes, const FileWriteOptions& options)
{
    auto native = ToNativePath(path);
    if (!native) return false;
    if (native->empty()) return Failed(FileErrorCause::PathWithoutNativeForm);
    RemoveDeadRunsTemporaries(NativeFolderOf(*native));
    return WriteNativeFile(*native, bytes, options, InjectedFault(path), !UnnamedFilesRefused(path));
}

PreparedFile::~PreparedFile()
{
    if (m_fd >= 0) ::close(m_fd);
}

PreparedFile& PreparedFile::operator=(PreparedFile&& other) noexcept
{
    if (this != &other) {
        if (m_fd >= 0) ::close(m_fd);
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

std::optional<PreparedFile> PrepareFileBytes(std::string_view path, std::string_view bytes)
{
#ifdef O_TMPFILE
    // Where a test injects faults, they are met in the write itself.
    const FileFaults& faults = Faults();
    if (faults.kind != FileFaults::kNone || faults.noUnnamedFiles || !CanNameUnnamedFiles()) return std::nullopt;
    const std::optional<std::string> native = ToNativePath(path);
    if (!native || native->empty()) return std::nullopt;
    const int fd = ::open(NativeFolderOf(*native).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd < 0) return std::nullopt;
    PreparedFile file(fd);
    if (!WriteAll(fd, bytes)) return std::nullopt;
    return file;
#else
    (void)path, (void)bytes;
    return std::nullopt;
#endif
}

OpenFolder::~OpenFolder()
{
    if (m_fd >= 0) ::close(m_fd);
}

int OpenFolder::Descriptor()
{
    const int pid = static_cast<int>(::getpid());
    if (m_fd >= 0 && m_pid == pid) return m_fd;
    if (m_fd >= 0) ::close(m_fd);  // the parent's: this process opens its own
    m_fd = -1;
    auto native = ToNativePath(m_path.empty() ? std::string_view(".") : std::string_view(m_path));
    if (!native) return -1;
    m_fd = ::open(native->c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_fd < 0) KeepSystemError();
    m_pid = pid;
    return m_fd;
}

FolderLock::FolderLock(OpenFolder& folder) : m_path(folder.Path())
{
    const int fd = folder.Descriptor();
    if (fd < 0) return;
    while (::flock(fd, LOCK_EX) != 0)
        if (errno != EINTR) {
            KeepSystemError();
            return;
        }
    m_fd = fd;
}

FolderLock::~FolderLock()
{
    if (m_fd >= 0) ::flock(m_fd, LOCK_UN);
}

bool FolderLock::RemoveFile(std::string_view name) const
{
    auto native = ToNativePath(name);
    if (m_fd < 0 || !native || InjectedFault(m_path, name) == FileFaults::kReadOnly) return false;
    return ::unlinkat(m_fd, native->c_str(), 0) == 0;
}

RoundTripFile::RoundTripFile(std::string_view path)
{
    const FileFaults::Kind fault = InjectedFault(path);
    if (fault == FileFaults::kReadOnly) {
        KeepSystemError();
        return;
    }
    m_diskFull = fault == FileFaults::kDiskFull;
    auto native = ToNativePath(path);
    if (!native) return;
    m_fd = ::open(native->c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (m_fd < 0) KeepSystemError();
}

RoundTripFile::RoundTripFile(const FolderLock& folder, std::string_view name)
{
    const FileFaults::Kind fault = InjectedFault(folder.Path(), name);
    if (fault == FileFaults::kReadOnly) KeepSystemError();
    if (fault == FileFaults::kReadOnly || !folder.Locked()) return;
    m_diskFull = fault == FileFaults::kDiskFull;
    auto native = ToNativePath(name);
    if (!native) return;
    m_fd = ::openat(folder.Descriptor(), native->c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (m_fd < 0) KeepSystemError();
}

bool RoundTripFile::Write(std::string_view bytes)
{
    if (m_fd >= 0 && m_diskFull) return WriteHalfOnFullDisk(m_fd, bytes) || Failed();
    if (m_fd < 0) return false;
    if (!WriteAll(m_fd, bytes)) return Failed();
    m_written += bytes.size();
    return !m_restarted || ::ftruncate(m_fd, static_cast<off_t>(m_written)) == 0 || Failed();
}

std::optional<std::string> RoundTripFile::ReadBack() const
{
    std::string bytes;
    if (!ReadBack(bytes)) return std::nullopt;
    return bytes;
}

bool RoundTripFile::ReadBack(std::string& bytes) const
{
    if (m_fd < 0) return false;
    // One byte more than was written: a read that comes back short has
    // reached the end, so the usual case takes a single call.
    bytes.resize(m_written + 1);
    std::size_t done = 0;
    while (true) {
        if (done == bytes.size()) bytes.resize(bytes.size() * 2);
        ssize_t n = ::pread(m_fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return Failed();
        done += static_cast<std::size_t>(n);
        if (done < bytes.size()) break;
    }
    bytes.resize(done);
    return true;
}

bool RoundTripFile::Restart(const FolderLock& folder, std::string_view name)
{
    const FileFaults::Kind fault = InjectedFault(folder.Path(), name);
    if (fault == FileFaults::kReadOnly || !folder.Locked()) Close();
    if (m_fd < 0) return false;
    m_diskFull = fault == FileFaults::kDiskFull;
    m_written = 0;
    m_restarted = true;
    return ::lseek(m_fd, 0, SEEK_SET) == 0;
}

bool RoundTripFile::RemoveName(const FolderLock& folder, std::string_view name) const
{
    auto native = ToNativePath(name);
    struct stat named, own;
    if (m_fd < 0 || !native || !folder.Locked() || ::fstat(m_fd, &own) != 0 ||
        ::fstatat(folder.Descriptor(), native->c_str(), &named, AT_SYMLINK_NOFOLLOW) != 0)
        return false;
    return named.st_dev == own.st_dev && named.st_ino == own.st_ino && folder.RemoveFile(name);
}

void RoundTripFile::Close()
{
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
}

std::optional<FileIdentity> IdentityOf(std::string_view path)
{
    struct stat st;
    if (!StatPath(path, st)) return std::nullopt;
    return FileIdentity{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

PathLookup LookUpPath(std::string_view path)
{
    PathLookup found;
    auto native = ToNativePath(path);
    struct stat st;
    if (!native || native->empty() || ::lstat(native->c_str(), &st) != 0) return found;
    found.present = true;
    found.link = S_ISLNK(st.st_mode);
    if (found.link && ::stat(native->c_str(), &st) != 0) return found;
    found.identity = FileIdentity{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
    return found;
}

std::optional<std::string> ResolvedPath(std::string_view path)
{
    auto native = ToNativePath(path);
    if (!native || native->empty()) return std::nullopt;
    std::unique_ptr<char, void (*)(void*)> real(::realpath(native->c_str(), nullptr), std::free);
    if (!real) return std::nullopt;
    return FromNativePath(real.get());
}

}  // namespace zavio
