// Opening files in document windows: the Open command, the framework's open
// entry for dropped files, and the two file dialogs.
#include "app/ZavioApp.h"
#include "doc/ZavioDoc.h"
#include "framework/Cp932.h"
#include "framework/DocTemplate.h"
#include "framework/EditView.h"
#include "framework/FileEncoding.h"
#include "framework/FileError.h"
#include "framework/FileSystem.h"
#include "framework/Path.h"
#include "framework/TextFile.h"
#include "res/FileKinds.h"
#include "res/Messages.h"

namespace zavio {
namespace {

const std::string& OpenFilter()
{
    return ToCp932(
        "text,html,cntﾌｧｲﾙ (*.txt;*.htm;*.html;*.cnt)|*.txt;*.htm;*.html;*.cnt|txtﾌｧｲﾙ (*.txt)|*.txt|"
        "htmlﾌｧｲﾙ (*.htm;*.html)|*.htm;*.html|cntﾌｧｲﾙ (*.cnt)|*.cnt|hhpﾌｧｲﾙ (*.hhp)|*.hhp|"
        "hhcﾌｧｲﾙ (*.hhc)|*.hhc|hhkﾌｧｲﾙ (*.hhk)|*.hhk|rtfﾌｧｲﾙ (*.rtf)|*.rtf|hpjﾌｧｲﾙ (*.hpj)|*.hpj|"
        "すべてのﾌｧｲﾙ (*.*)|*.*||");
}

// Save As filter lists by type number; an unknown kind gets the text list.
const std::string& SaveFilter(int type)
{
    switch (type) {
        case kHtmlFileType:
            return ToCp932(
                "htmlﾌｧｲﾙ (*.htm;*.html)|*.htm;*.html|txtﾌｧｲﾙ (*.txt)|*.txt|"
                "htmlﾌｧｲﾙ (*.htm;*.html)|*.htm;*.html|cntﾌｧｲﾙ (*.cnt)|*.cnt|すべてのﾌｧｲﾙ (*.*)|*.*||");
        case kContentsFileType:
            return ToCp932(
                "cntﾌｧｲﾙ (*.cnt)|*.cnt|txtﾌｧｲﾙ (*.txt)|*.txt|htmlﾌｧｲﾙ (*.htm;*.html)|*.htm;*.html|"
                "すべてのﾌｧｲﾙ (*.*)|*.*||");
        case kProjectFileType:
            return ToCp932("hhpﾌｧｲﾙ (*.hhp)|*.hhp|すべてのﾌｧｲﾙ (*.*)|*.*||");
        case kSitemapFileType:
            return ToCp932("hhcﾌｧｲﾙ (*.hhc)|*.hhc|すべてのﾌｧｲﾙ (*.*)|*.*||");
        case kIndexFileType:
            return ToCp932("hhkﾌｧｲﾙ (*.hhk)|*.hhk|すべてのﾌｧｲﾙ (*.*)|*.*||");
        case kRtfFileType:
            return ToCp932("rtfﾌｧｲﾙ (*.rtf)|*.rtf|すべてのﾌｧｲﾙ (*.*)|*.*||");
        case kHelpProjectFileType:
            return ToCp932("hpjﾌｧｲﾙ (*.hpj)|*.hpj|すべてのﾌｧｲﾙ (*.*)|*.*||");
        default:
            return ToCp932(
                "txtﾌｧｲﾙ (*.txt)|*.txt|htmlﾌｧｲﾙ (*.htm;*.html)|*.htm;*.html|cntﾌｧｲﾙ (*.cnt)|*.cnt|"
                "すべてのﾌｧｲﾙ (*.*)|*.*||");
    }
}

std::string ExtensionWithoutDot(const std::string& ext)
{
    return ext.empty() ? ext : ext.substr(1);
}

// Where the profile keeps the folders the file dialogs were last confirmed in.
constexpr std::string_view kSettingsSection = "Settings";
constexpr std::string_view kOpenFolderKey = "OpenFolder";
constexpr std::string_view kSaveFolderKey = "SaveFolder";

}  // namespace

void CZavioApp::OnFileOpenDocument()
{
    if (TakeHelpMode("HID_FILE_OPEN.htm")) return;
    std::vector<std::string> paths;
    if (!AskOpenFileNames(paths)) return;
    for (const std::string& path : paths) {
        CZavioDoc* doc = CreateDocumentForPath(path);
        if (!doc) {
            AfxMessageBox(res::NotOpenedMessage(path, res::NotOpenedWhile::Opening));
        } else if (!LoadFileIntoDocument(doc, path)) {
            AfxMessageBox(WithLastFileErrorReason(res::NotReadMessage(path)));
        }
    }
    TileDocumentWindows();
}

bool CZavioApp::AskOpenFileNames(std::vector<std::string>& paths)
{
    FileDialogRequest request;
    request.openKind = true;
    request.flags = OFN_ALLOWMULTISELECT | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    request.filter = OpenFilter();
    request.initialFolder = m_strOpenDir;
    FileDialogResult result;
    if (!GetHost().RunFileDialog(request, result) || result.paths.empty()) return false;
    paths.insert(paths.end(), result.paths.begin(), result.paths.end());
    m_strOpenDir = GetFolderOfPath(result.paths.front());
    GetHost().WriteProfileString(kSettingsSection, kOpenFolderKey, m_strOpenDir);
    return true;
}

CZavioDoc* CZavioApp::CreateDocumentForPath(const std::string& path)
{
    for (CDocument* open : m_pDocTemplate->GetDocuments()) {
        if (MbCompare(static_cast<CZavioDoc*>(open)->m_strPath, path) == 0) {
            AfxMessageBox(path + ToCp932(" はすでに開かれています"));
            return nullptr;
        }
    }
    PathParts parts = SplitPath(path);
    auto* doc = static_cast<CZavioDoc*>(m_pDocTemplate->CreateNewDocument());
    if (!doc) {
        AfxMessageBox(ToCp932("テキストファイルはオープンできませんでした"));
        return nullptr;
    }
    doc->SetFileNames(MbLowerAscii(ExtensionWithoutDot(parts.ext)), parts.fname, path);
    if (!m_pDocTemplate->CreateNewFrame(*doc)) {
        AfxMessageBox(ToCp932("テキストファイルのウィンドウフレームが構築できませんでした"));
        GetHost().DestroyDocumentWindow(*doc);
        m_pDocTemplate->RemoveDocument(doc);
        return nullptr;
    }
    m_pDocTemplate->InitialUpdateFrame(*doc);
    return doc;
}

bool CZavioApp::LoadFileIntoDocument(CZavioDoc* doc, const std::string& path)
{
    // The view's own lines (none in a new document), then the file's. The
    // file's text goes through the working file as one piece: as lines, a
    // manuscript would be cut into thousands of strings only to be joined.
    LineList viewLines;
    doc->ReadViewLines(viewLines);
    // More than the window holds is refused before it is read: the limit
    // is there to protect memory.
    CEditView* view = doc->GetView();
    if (std::optional<std::uint64_t> size = FileSize(path); view && size && *size > view->Capacity()) {
        view->ReportTooLarge();
        SetLastFileError({});  // said already
        doc->m_bFileNotRead = true;
        return false;
    }
    std::optional<HeldText> file = ReadHeldText(path, IsWebPageExtension(doc->m_strExtension));
    const bool read = file.has_value();
    std::string text = !read               ? std::string()
                       : viewLines.empty() ? std::move(file->bytes)
                                           : JoinTextLines(viewLines) + file->bytes;
    // The window shows and saves the file in its own encoding.
    if (read) doc->SetFileEncoding(file->encoding);
    doc->m_bFileNotRead = !read || !doc->LoadTextIntoView(std::move(text));
    if (read && doc->m_bFileNotRead) SetLastFileError({});  // the transfer said why
    return !doc->m_bFileNotRead;
}

CDocument* CZavioApp::OpenDocumentFile(const std::string& path)
{
    GetHost().BeginWaitCursor();
    struct EndWait {
        Host& host;
        ~EndWait() { host.EndWaitCursor(); }
    } endWait{GetHost()};

    PathParts parts = SplitPath(path);
    if (FileTypeNumber(MbLowerAscii(ExtensionWithoutDot(parts.ext))) == 0) {
        AfxMessageBox(parts.fname + MbUpperAscii(parts.ext) + ToCp932(" は開けません"));
        return nullptr;
    }
    CZavioDoc* doc = CreateDocumentForPath(path);
    if (!doc) return nullptr;
    if (!LoadFileIntoDocument(doc, path)) {
        AfxMessageBox(WithLastFileErrorReason(res::NotReadMessage(path)));
        return nullptr;
    }
    AddToRecentFileList(path);
    return doc;
}

bool CZavioApp::AskSaveFileName(std::string& path, std::string& fileName, int& type, CZavioDoc* doc)
{
    FileDialogRequest request;
    request.openKind = false;
    request.defaultExt = std::string();
    request.fileName = fileName;
    request.flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    request.filter = SaveFilter(type);
    request.initialFolder = m_strSaveDir;
    FileDialogResult result;
    if (!GetHost().RunFileDialog(request, result) || result.paths.empty()) return false;

    path = result.paths.front();
    PathParts parts = SplitPath(path);
    fileName = parts.fname;
    int chosen = FileTypeNumber(MbLowerAscii(ExtensionWithoutDot(parts.ext)));
    if (chosen != 0) {
        type = chosen;
    } else {
        // The file takes the extension the question announces, so that Save
        // can write it again: the document's own, or "txt" for a kind the
        // program does not save.
        std::string ext = doc ? MbLowerAscii(doc->m_strExtension) : std::string();
        if (FileTypeNumber(ext) == 0) ext = "txt";
        if (AfxMessageBox(ToCp932("拡張子を ") + ext + ToCp932(" にします"), MB_OKCANCEL) != IDOK) return false;
        type = FileTypeNumber(ext);
        path = parts.drive + parts.dir + parts.fname + "." + ext;
        // The dialog asked about the name typed, not about this one.
        if (FileExists(path) &&
            AfxMessageBox(path + ToCp932(" は既に存在します。\n上書きしますか?"), MB_YESNO) != IDYES)
            return false;
    }
    m_strSaveDir = GetFolderOfPath(path);
    GetHost().WriteProfileString(kSettingsSection, kSaveFolderKey, m_strSaveDir);
    return true;
}

void CZavioApp::RestoreDialogFolders()
{
    const std::string firstTime = UsersOwnFolder(m_strAppDir);
    const auto remembered = [&](std::string_view key) {
        const std::string folder = GetHost().GetProfileString(kSettingsSection, key);
        return !folder.empty() && folder.back() == kPathSep && IsDirectory(folder) ? folder : firstTime;
    };
    m_strOpenDir = remembered(kOpenFolderKey);
    m_strSaveDir = remembered(kSaveFolderKey);
}

void CZavioApp::OnOpenRecentFile(std::size_t index)
{
    if (index >= GetRecentFiles().size()) return;
    const std::string path = GetRecentFiles()[index];
    // A file open already comes to the front instead of being refused.
    for (CDocument* open : m_pDocTemplate->GetDocuments()) {
        if (static_cast<CZavioDoc*>(open)->m_strPath == path) {
            GetHost().ShowDocumentWindow(*open);
            return;
        }
    }
    // A file that is gone leaves the list, not an empty window.
    if (!FileExists(path)) {
        AfxMessageBox(path + ToCp932(" が見つかりません。最近使ったファイルの一覧から外します。"));
        RemoveFromRecentFileList(path);
        return;
    }
    OpenDocumentFile(path);
}

}  // namespace zavio
