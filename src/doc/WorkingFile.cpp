// Lines reach a view through the working file "OursTemp.txt" in the user's
// working folder. Every running copy of the program shares that one file, so a
// transfer holds an exclusive advisory lock from writing the file until it is
// read back and deleted (or, in a conversion run, emptied for the next).
#include <optional>

#include "app/ZavioApp.h"
#include "doc/ZavioDoc.h"
#include "framework/Cp932.h"
#include "framework/FileSystem.h"

namespace zavio {

namespace {
constexpr std::string_view kWorkingFileName = "OursTemp.txt";
}  // namespace

OpenFolder& CZavioApp::WorkingFolder()
{
    // Opened once for the run of many transfers a conversion makes; anew
    // when the folder named changes.
    if (!m_workingFolder || m_workingFolder->Path() != m_strWorkDir)
        m_workingFolder = std::make_unique<OpenFolder>(m_strWorkDir);
    return *m_workingFolder;
}

CZavioApp::WorkingFileHold::WorkingFileHold(CZavioApp& app) : m_app(app)
{
    ++m_app.m_nWorkingFileHolds;
}

CZavioApp::WorkingFileHold::~WorkingFileHold()
{
    if (--m_app.m_nWorkingFileHolds > 0 || !m_app.m_heldWorkingFile) return;
    const FolderLock folder(m_app.WorkingFolder());
    m_app.m_heldWorkingFile->RemoveName(folder, kWorkingFileName);
    m_app.m_heldWorkingFile.reset();
}

RoundTripFile* CZavioApp::HeldWorkingFile(const FolderLock& folder, std::string_view name)
{
    if (m_nWorkingFileHolds == 0) return nullptr;
    if (!m_heldWorkingFile || !m_heldWorkingFile->Restart(folder, name))
        m_heldWorkingFile = std::make_unique<RoundTripFile>(folder, name);
    return m_heldWorkingFile.get();
}

bool CZavioDoc::LoadLinesIntoView(const LineList& lines)
{
    // A byte to spare: the text is read back into its own buffer.
    return LoadTextIntoView(JoinTextLines(lines, 1));
}

bool CZavioDoc::LoadTextIntoView(std::string text)
{
    // The lock is taken on the working file's folder rather than on the file
    // itself: the file is deleted at the end of a transfer or a hold, and dropping
    // the last descriptor of a deleted file costs a file system such as ext4
    // a journalled clean-up each time. Every copy of the program locks the
    // same folder, so transfers never interleave all the same.
    const FolderLock folder(ZavioApp().WorkingFolder());
    if (!folder.Locked()) {
        AfxMessageBox(ToCp932("作業ファイルの書き出しができませんでした"));
        return false;
    }
    // Written and read back through one descriptor, closed before the file is
    // deleted (a deleted file's last close costs ext4 a clean-up). A held
    // file stays for the next transfer.
    std::optional<RoundTripFile> own;
    RoundTripFile* file = ZavioApp().HeldWorkingFile(folder, kWorkingFileName);
    if (!file) file = &own.emplace(folder, kWorkingFileName);
    if (!file->IsOpen() || !file->Write(text)) {
        AfxMessageBox(ToCp932("作業ファイルの書き出しができませんでした"));
        return false;
    }
    // The view gets what the file gives back, read over the text written.
    const bool readBack = file->ReadBack(text);
    if (own) own->Close();
    if (!readBack) {
        AfxMessageBox(ToCp932("テキスト作業ファイルがオープンできませんでした"));
        return false;
    }
    CArchive ar(text, CArchive::load);
    Serialize(ar);
    if (own) folder.RemoveFile(kWorkingFileName);
    return !ar.Failed();
}

}  // namespace zavio
