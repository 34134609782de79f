// Lines reach a view through the working file "OursTemp.txt" in the program
// folder. Every running copy of the program shares that one file, so a
// transfer holds an exclusive advisory lock on it from writing until it is
// deleted.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/ZavioApp.h"
#include "doc/ZavioDoc.h"
#include "framework/Cp932.h"
#include "framework/FileSystem.h"

namespace zavio {
namespace {

class WorkingFileLock {
public:
    explicit WorkingFileLock(const std::string& path)
    {
        auto native = ToNativePath(path);
        if (!native) return;
        // The file we lock may have been deleted by the copy that held it
        // before us; then lock the file that now has the name.
        for (int attempt = 0; attempt < 1000; ++attempt) {
            int fd = ::open(native->c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
            if (fd < 0) return;
            if (::flock(fd, LOCK_EX) != 0) {
                ::close(fd);
                return;
            }
            struct stat locked, named;
            if (::fstat(fd, &locked) == 0 && ::stat(native->c_str(), &named) == 0 &&
                locked.st_ino == named.st_ino && locked.st_dev == named.st_dev) {
                m_fd = fd;
                return;
            }
            ::close(fd);
        }
    }
    ~WorkingFileLock()
    {
        if (m_fd >= 0) ::close(m_fd);
    }
    WorkingFileLock(const WorkingFileLock&) = delete;
    WorkingFileLock& operator=(const WorkingFileLock&) = delete;

    bool Locked() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};

}  // namespace

bool CZavioDoc::WriteLinesToFile(const LineList& lines, const std::string& path)
{
    return WriteTextLines(path, lines, kMaxLineBytes);
}

bool CZavioDoc::LoadLinesIntoView(const LineList& lines)
{
    const std::string path = ZavioApp().m_strWorkDir + "OursTemp.txt";
    WorkingFileLock lock(path);
    if (!lock.Locked() || !WriteLinesToFile(lines, path)) {
        AfxMessageBox(ToCp932("作業ファイルの書き出しができませんでした"));
        return false;
    }
    std::optional<std::string> bytes = ReadFileBytes(path);
    if (!bytes) {
        AfxMessageBox(ToCp932("テキスト作業ファイルがオープンできませんでした"));
        return false;
    }
    CArchive ar(*bytes, CArchive::load);
    Serialize(ar);
    RemoveFile(path);
    return !ar.Failed();
}

}  // namespace zavio
