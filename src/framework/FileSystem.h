// The file-system boundary. Paths inside the program are CP932; on Linux the
// names on disk are UTF-8, so every call converts here and nowhere else. A
// name on disk that is not UTF-8 but Shift-JIS (what unzip makes of an old
// Windows archive) is taken as its bytes, and a path inside names it again.
// A name that cannot be converted fails like any other file error. Every
// failure keeps its reason (framework/FileError.h).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zavio {

std::optional<std::string> ToNativePath(std::string_view cp932Path);
std::optional<std::string> FromNativePath(std::string_view nativePath);

bool FileExists(std::string_view path);  // any kind of entry
bool IsDirectory(std::string_view path);
// The size of a regular file; nullopt for anything else or no file.
std::optional<std::uint64_t> FileSize(std::string_view path);
bool RemoveFile(std::string_view path);
// Renames a file, never over an existing one, as the platform's move refuses
// to. On failure `targetTaken`, when given, tells whether the destination
// was in the way.
bool MoveFile(std::string_view from, std::string_view to, bool* targetTaken = nullptr);
bool MakeFolder(std::string_view path);
bool ChangeFolder(std::string_view path);
// The process's current folder, without a trailing separator.
std::optional<std::string> CurrentFolder();

struct FolderEntry {
    std::string name;  // CP932
    bool isDirectory = false;
};
// The entries of a folder, "." and ".." first as the platform's listing gives
// them. Entries whose names have no CP932 form are left out. nullopt when the
// folder cannot be listed.
std::optional<std::vector<FolderEntry>> ListFolder(std::string_view folder);

// Whether a file can be made in the folder: tried with a file made and
// removed at once (permission bits alone do not tell, for root or on a
// read-only mount).
bool IsWritableFolder(std::string_view folder);
// The user's home folder, without a trailing separator.
std::optional<std::string> HomeFolder();
// Where a private folder of the current user for `name` may be, in order,
// each ending in a separator: $XDG_RUNTIME_DIR/name, the cache folder's
// ($XDG_CACHE_HOME or ~/.cache), the temporary folder's name-UID.
std::vector<std::string> PrivateFolderPlaces(std::string_view name);
// Makes the folder as a private one, mode 0700, or takes an existing one
// when it is a folder (not a link) of this user, closing it to others; false
// when it cannot be had or files cannot be made in it.
bool TakePrivateFolder(std::string_view folder);
// The first of the places that can be taken; nullopt when none can.
std::optional<std::string> PrivateUserFolder(std::string_view name);

// Whole files as bytes. Only regular files are read: a pipe or a device
// would block or never end.
std::optional<std::string> ReadFileBytes(std::string_view path);

// A new file's bytes written whole into a folder where no name leads to
// them yet (PrepareFileBytes): WriteFileBytes then only gives them their
// name. Dropped without a name, they are gone.
class PreparedFile {
public:
    PreparedFile() = default;
    explicit PreparedFile(int fd) : m_fd(fd) {}
    ~PreparedFile();
    PreparedFile(PreparedFile&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    PreparedFile& operator=(PreparedFile&& other) noexcept;

    // The descriptor, now the caller's to close.
    int Release() { return std::exchange(m_fd, -1); }

private:
    int m_fd = -1;
};

// Writes the bytes of the file `path` is to be, on any thread, where the
// file system can hold a file without a name; nullopt where it cannot, or
// the bytes could not be written: WriteFileBytes then writes them itself.
std::optional<PreparedFile> PrepareFileBytes(std::string_view path, std::string_view bytes);

struct FileWriteOptions {
    // Flushed to the disk before it takes the old file's place, so that even
    // a crash of the machine leaves the old text or the new one: for the
    // user's own files. Files made from others can be made again.
    bool flushToDisk = false;
    // Where the previous file is kept, replacing an older copy there; empty
    // for none. The copy is made only once the new text is safely written.
    std::string backupPath;
    // Written only where no file of the name stands: where one does, nothing
    // is written and the failure is EEXIST.
    bool onlyIfNew = false;
    // The bytes, written already by PrepareFileBytes for this path; taken
    // by the write, whatever becomes of it.
    PreparedFile* prepared = nullptr;
};

// Writes a whole file all-or-nothing: the bytes go to a new file in the
// target's folder that takes the target's place in one rename, so a full
// disk or a crash leaves the old file or the new one, never a cut one, and
// no temporary file behind; what a killed run left there is removed before
// the process writes its first file in that folder. An existing file keeps its permissions and
// owner; a link is written through to the file it names. Refused: a file
// that may not be written (read-only), and anything that is not a regular
// file (a folder, a pipe, a device).
bool WriteFileBytes(std::string_view path, std::string_view bytes, const FileWriteOptions& options = {});

// A folder held open, so that files in it are made and removed by name
// alone, without walking its path again. A process forked from the one that
// opened it opens it anew: a lock taken through a shared descriptor would be
// shared with the parent.
class OpenFolder {
public:
    explicit OpenFolder(std::string folder) : m_path(std::move(folder)) {}  // CP932; empty for the current folder
    ~OpenFolder();
    OpenFolder(const OpenFolder&) = delete;
    OpenFolder& operator=(const OpenFolder&) = delete;

    const std::string& Path() const { return m_path; }
    // The folder's descriptor, opened on first use; -1 when it cannot be opened.
    int Descriptor();

private:
    std::string m_path;
    int m_fd = -1;
    int m_pid = 0;  // the process that opened m_fd
};

// An exclusive advisory lock on an open folder, which every process taking
// it on the same folder waits for; held until the object goes.
class FolderLock {
public:
    explicit FolderLock(OpenFolder& folder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    bool Locked() const { return m_fd >= 0; }
    const std::string& Path() const { return m_path; }
    int Descriptor() const { return m_fd; }
    bool RemoveFile(std::string_view name) const;

private:
    const std::string& m_path;
    int m_fd = -1;
};

// A file written and then read back through one descriptor: created, or
// emptied when it exists. Closed when the object goes; the file stays. Not
// an output: the working file lives for one transfer, or for the transfers of
// one conversion run.
class RoundTripFile {
public:
    explicit RoundTripFile(std::string_view path);
    // The file `name` in a locked folder.
    RoundTripFile(const FolderLock& folder, std::string_view name);
    ~RoundTripFile() { Close(); }
    RoundTripFile(const RoundTripFile&) = delete;
    RoundTripFile& operator=(const RoundTripFile&) = delete;

    bool IsOpen() const { return m_fd >= 0; }
    // Appends the bytes; false on a file error.
    bool Write(std::string_view bytes);
    // The whole file from its start; nullopt when it cannot be read.
    std::optional<std::string> ReadBack() const;
    // The same into `bytes`, whose buffer is used again: a text read back
    // over the buffer it was written from takes no new memory when that
    // buffer has a byte to spare. False when the file cannot be read.
    bool ReadBack(std::string& bytes) const;
    // Readies the file `name` of a locked folder for the next text, as
    // opening it anew would: the text is written over the old and the file
    // cut to its length, so the pages it holds are used again. False when the
    // file is closed or cannot be rewound.
    bool Restart(const FolderLock& folder, std::string_view name);
    // Deletes `name` in the locked folder when the name is still this file's:
    // another process may have removed it and made its own since.
    bool RemoveName(const FolderLock& folder, std::string_view name) const;
    void Close();

private:
    int m_fd = -1;
    std::size_t m_written = 0;
    bool m_restarted = false;  // older, longer text may follow what is written
    bool m_diskFull = false;   // an injected fault
};

// What a name resolves to, links followed: two names are one file when their
// identities are equal, whatever their spelling or the links between.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool operator==(const FileIdentity&) const = default;
};
std::optional<FileIdentity> IdentityOf(std::string_view path);
// What stands at a path: anything at all (a link to nothing included),
// whether it is a symbolic link, and the identity of what it resolves to.
// One look at the disk where nothing stands, the usual case for a new file.
struct PathLookup {
    bool present = false;
    bool link = false;
    std::optional<FileIdentity> identity;
};
PathLookup LookUpPath(std::string_view path);
// The path with every link resolved, absolute; nullopt when it leads nowhere.
std::optional<std::string> ResolvedPath(std::string_view path);

}  // namespace zavio
