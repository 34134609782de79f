// Lines reach a view through the working file "OursTemp.txt" in the user's
// working folder. Every running copy of the program shares that one file, so a
// transfer holds an exclusive advisory lock from writing the file until it is
// read back and deleted (or, in a conversion run, emptied for the next).
#include <optional>

#include "app/ZavioApp.h"
#include "doc/ZavioDoc.h"
#include "framework/Cp932.h"
#include "framework/FileError.h"
#include "framework/FileSystem.h"

namespace zavio {

namespace {

constexpr std::string_view kWorkingFileName = "OursTemp.txt";

enum class Transfer { Done, NotWritten, NotReadBack };

// Writes the text to the working file and reads it back over itself, under
// the working folder's lock; `load` takes it into the view while the lock
// is held.
template <typename Load>
Transfer PassThroughWorkingFile(CZavioApp& app, std::string& text, Load load)
{
    const FolderLock folder(app.WorkingFolder());
    if (!folder.Locked()) return Transfer::NotWritten;
    // Written and read back through one descriptor, closed before the file is
    // deleted (a deleted file's last close costs ext4 a clean-up). A held
    // file stays for the next transfer.
    std::optional<RoundTripFile> own;
    RoundTripFile* file = app.HeldWorkingFile(folder, kWorkingFileName);
    if (!file) file = &own.emplace(folder, kWorkingFileName);
    if (!file->IsOpen() || !file->Write(text)) return Transfer::NotWritten;
    // The view gets what the file gives back, read over the text written.
    const bool readBack = file->ReadBack(text);
    if (own) own->Close();
    if (!readBack) return Transfer::NotReadBack;
    load(text);
    if (own) folder.RemoveFile(kWorkingFileName);
    return Transfer::Done;
}

}  // namespace

void CZavioApp::ChooseWorkingFolder()
{
    m_saWorkPlaces = GetHost().WorkingFolders();
    m_saWorkPlaces.push_back(m_strAppDir);
    m_strWorkDir.clear();
    // Only when no place can be had does the program folder serve, and its
    // transfers say why they fail.
    if (!MoveWorkingFileOn()) m_strWorkDir = m_strAppDir;
}

bool CZavioApp::MoveWorkingFileOn()
{
    const std::string left = m_strWorkDir;
    FileError why = LastFileError();
    std::string passedOver;  // a place that is there but cannot be used
    if (m_heldWorkingFile) {
        const FolderLock folder(WorkingFolder());
        m_heldWorkingFile->RemoveName(folder, kWorkingFileName);
        m_heldWorkingFile.reset();
    }
    while (!m_saWorkPlaces.empty()) {
        const std::string place = m_saWorkPlaces.front();
        m_saWorkPlaces.erase(m_saWorkPlaces.begin());
        // The program folder is the last resort: it is only written, not made private.
        const bool usable = place == m_strAppDir ? IsWritableFolder(place) : TakePrivateFolder(place);
        if (!usable) {
            const FileError failure = LastFileError();
            const bool there = !(failure.cause == FileErrorCause::System && failure.osError == ENOENT);
            if (left.empty() && passedOver.empty() && there) {
                passedOver = place;
                why = failure;
            }
            continue;
        }
        m_strWorkDir = place;
        // Said once, where the file leaves a place the user may want to mend.
        const std::string from = left.empty() ? passedOver : left;
        if (!from.empty()) {
            SetLastFileError(why);
            AfxMessageBox(WithLastFileErrorReason(ToCp932("作業ファイル OursTemp.txt を ") + from +
                                                  ToCp932(" に置けないため、") + place + ToCp932(" に置きます")));
        }
        return true;
    }
    SetLastFileError(why);
    return false;
}

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
    CZavioApp& app = ZavioApp();
    bool loaded = false;
    const auto load = [&](std::string& back) {
        CArchive ar(back, CArchive::load);
        Serialize(ar);
        loaded = !ar.Failed();
    };
    Transfer transfer = PassThroughWorkingFile(app, text, load);
    // A folder or working file that cannot be used sends the file on to the next place.
    while (transfer == Transfer::NotWritten && app.MoveWorkingFileOn())
        transfer = PassThroughWorkingFile(app, text, load);
    if (transfer == Transfer::NotWritten)
        AfxMessageBox(WithLastFileErrorReason(ToCp932("作業ファイルの書き出しができませんでした")));
    if (transfer == Transfer::NotReadBack)
        AfxMessageBox(WithLastFileErrorReason(ToCp932("テキスト作業ファイルがオープンできませんでした")));
    return transfer == Transfer::Done && loaded;
}

}  // namespace zavio
