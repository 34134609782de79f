// Saving a document's text: to its own path with an optional "-Back" copy of
// the previous file, or under a new name.
#include <cstdio>

#include "app/ZavioApp.h"
#include "doc/ZavioDoc.h"
#include "framework/Cp932.h"
#include "framework/EditView.h"
#include "framework/FileError.h"
#include "framework/FileSystem.h"
#include "framework/Path.h"
#include "res/FileKinds.h"
#include "res/Messages.h"

namespace zavio {
namespace {

// The characters as the user can look them up: "U+D55C U+1F600 ...".
std::string CodePointList(const std::vector<char32_t>& codePoints)
{
    constexpr std::size_t kNamed = 8;
    std::string list;
    for (std::size_t i = 0; i < codePoints.size() && i < kNamed; ++i) {
        char code[16];
        std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(codePoints[i]));
        list += (i > 0 ? " " : "") + std::string(code);
    }
    if (codePoints.size() > kNamed) list += " ...";
    return list;
}

}  // namespace

bool CZavioDoc::ConfirmUnencodableCharacters(const std::string& path)
{
    CEditView* view = GetView();
    const std::vector<char32_t> lacking = view ? view->Control().UnencodableCharacters() : std::vector<char32_t>();
    if (lacking.empty()) return true;
    const std::string said =
        ToCp932("次の文字は Shift_JIS (CP932) で保存できません。\n") + CodePointList(lacking) + "\n\n";
    // A Web page can keep them as character references, which browsers show.
    if (FileTypeOfPath(path) == kHtmlFileType) {
        const int answer = AfxMessageBox(said + ToCp932("はい: 文字参照 (&#番号;) にして保存します\n"
                                                        "いいえ: それぞれ ? にして保存します\n"
                                                        "キャンセル: 保存しません"),
                                         MB_YESNOCANCEL);
        if (answer == IDYES) view->Control().ReferenceUnencodableCharacters();
        return answer != IDCANCEL;
    }
    return AfxMessageBox(said + ToCp932("保存するとそれぞれ ? になります。保存しますか?"), MB_OKCANCEL) == IDOK;
}

bool CZavioDoc::SaveDocument(bool keepBackup, bool flushToDisk)
{
    // The window never held this file's text: writing there would replace
    // the file with whatever the window holds. The user names a file instead.
    if (m_bFileNotRead) return SaveDocumentAs();
    if (FileTypeOfPath(m_strPath) == 0) {
        AfxMessageBox(
            ToCp932("ドキュメントの拡張子が txt / htm / html / cnt / hhp / hhc ではないので書き出しを中止しました"));
        return false;
    }
    if (!ConfirmUnencodableCharacters(m_strPath)) return false;
    PathParts parts = SplitPath(m_strPath);
    // The previous file becomes the backup only once the new text is written:
    // a failed save leaves both as they were.
    FileWriteOptions how;
    how.flushToDisk = flushToDisk;
    if (keepBackup) how.backupPath = parts.drive + parts.dir + parts.fname + "-Back" + parts.ext;
    if (!OnSaveDocument(m_strPath, how)) {
        AfxMessageBox(WithLastFileErrorReason(res::NotOpenedMessage(m_strPath, res::NotOpenedWhile::Writing)));
        return false;
    }
    SetModifiedFlag(false);
    ZavioApp().AddToRecentFileList(m_strPath);
    ZavioApp().GetHost().FileWritten(m_strPath);
    return true;
}

bool CZavioDoc::SaveDocumentAs()
{
    std::string fileName = m_strBaseName;
    std::string extension = MbLowerAscii(m_strExtension);
    int type = FileTypeNumber(extension);
    std::string path;
    if (!ZavioApp().AskSaveFileName(path, fileName, type, this)) return false;
    if (!ConfirmUnencodableCharacters(path)) return false;
    if (!OnSaveDocument(path)) {
        // The framework's error names no file: this says which, and why.
        AfxMessageBox(WithLastFileErrorReason(res::NotOpenedMessage(path, res::NotOpenedWhile::Writing)));
        return false;
    }
    m_strPath = path;
    m_strBaseName = fileName;
    SetTitle(path);
    SetPathName(path, true);
    m_strBaseName = fileName;
    m_strExtension = extension;
    m_bFileNotRead = false;
    ZavioApp().AddToRecentFileList(path);
    return true;
}

void CZavioDoc::OnFileSave()
{
    if (ZavioApp().TakeHelpMode("HID_FILE_SAVE.htm")) return;
    SaveDocument(true);
}

void CZavioDoc::OnFileSaveAs()
{
    if (ZavioApp().TakeHelpMode("HID_FILE_SAVE_AS.htm")) return;
    SaveDocumentAs();
}

void CZavioDoc::OnFileClose()
{
    if (ZavioApp().TakeHelpMode("HID_FILE_CLOSE.htm")) return;
    CDocument::OnFileClose();
}

// An empty update handler: Save and Save As stay enabled.
void CZavioDoc::OnUpdateFileCommand(CCmdUI&) {}

// "Save changes?" answered Yes on closing: the document is saved where the
// Save command would save it, backup included.
bool CZavioDoc::DoFileSave()
{
    return SaveDocument(true);
}

}  // namespace zavio
