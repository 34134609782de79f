// Lines reach a view through the working file "OursTemp.txt" in the user's
// working folder. Every running copy of the program shares that one file, so a
// transfer holds an exclusive advisory lock from writing the file until it is
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

// The lock is taken on the working file's folder rather than on the file
// itself: the file is deleted at the end of every transfer, and dropping the
// last descriptor of a deleted file costs a file system such as ext4 a
// journalled clean-up each time. Every copy of the program locks the same
// folder, so transfers never interleave all the same.
class WorkingFileLock {
public:
    explicit WorkingFileLock(const std::string& folder)
    {
        auto native = ToNativePath(folder.empty() ? std::string(".") : folder);
        if (!native) return;
        int fd = ::open(native->c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) return;
        if (::flock(fd, LOCK_EX) != 0) {
            ::close(fd);
            return;
        }
        m_fd = fd;
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

bool CZavioDoc::WriteLinesToFile(const LineList& lines, RoundTripFile& file)
{
    return file.IsOpen() && file.Write(JoinTextLines(lines));
}

bool CZavioDoc::LoadLinesIntoView(const LineList& lines)
{
    const std::string& folder = ZavioApp().m_strWorkDir;
    const std::string path = folder + "OursTemp.txt";
    WorkingFileLock lock(folder);
    if (!lock.Locked()) {
        AfxMessageBox(ToCp932("作業ファイルの書き出しができませんでした"));
        return false;
    }
    // Written and read back through one descriptor, closed before the file is
    // deleted (a deleted file's last close costs ext4 a clean-up).
    RoundTripFile file(path);
    if (!WriteLinesToFile(lines, file)) {
        AfxMessageBox(ToCp932("作業ファイルの書き出しができませんでした"));
        return false;
    }
    std::optional<std::string> bytes = file.ReadBack();
    file.Close();
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
