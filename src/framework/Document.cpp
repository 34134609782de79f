#include "framework/Document.h"

#include "framework/Cp932.h"
#include "framework/DocTemplate.h"
#include "framework/EditView.h"
#include "framework/FileError.h"
#include "framework/FileSystem.h"
#include "framework/Path.h"
#include "framework/WinApp.h"

namespace zavio {

CDocument::CDocument() = default;
CDocument::~CDocument() = default;

void CDocument::SetTitle(const std::string& title)
{
    m_strTitle = title;
    if (m_pDocTemplate) m_pDocTemplate->GetHost().DocumentTitleChanged(*this);
}

void CDocument::SetPathName(const std::string& path, bool addToMru)
{
    m_strPathName = path;
    PathParts parts = SplitPath(path);
    SetTitle(parts.fname + parts.ext);
    if (addToMru && AfxGetApp()) AfxGetApp()->AddToRecentFileList(path);
}

void CDocument::SetModifiedFlag(bool modified)
{
    if (m_bModified == modified) return;
    m_bModified = modified;
    if (m_pDocTemplate) m_pDocTemplate->GetHost().DocumentModifiedChanged(*this);
}

void CDocument::SetView(std::unique_ptr<CEditView> view)
{
    m_pView = std::move(view);
}

void CDocument::Serialize(CArchive&) {}

bool CDocument::OnNewDocument()
{
    SetModifiedFlag(false);
    return true;
}

const std::string& DocumentNotSavedMessage()
{
    return ToCp932("ドキュメントを保存できませんでした。");
}

bool CDocument::OnSaveDocument(const std::string& path, const FileWriteOptions& how)
{
    std::string bytes;
    CArchive ar(bytes, CArchive::store);
    Serialize(ar);
    std::string converted;
    if (!WriteFileBytes(path, FileBytes(ar.Stored(), converted), how)) {
        // Kept for the caller's message across the box's own events.
        const FileError why = LastFileError();
        AfxMessageBox(DocumentNotSavedMessage());
        SetLastFileError(why);
        return false;
    }
    SetModifiedFlag(false);
    return true;
}

void CDocument::OnCloseDocument()
{
    CMultiDocTemplate* tmpl = m_pDocTemplate;
    if (!tmpl) {
        delete this;
        return;
    }
    tmpl->GetHost().DestroyDocumentWindow(*this);
    tmpl->RemoveDocument(this);  // deletes this document
}

void CDocument::OnFileClose()
{
    if (!SaveModified()) return;
    OnCloseDocument();
}

bool CDocument::SaveModified()
{
    if (!m_bModified) return true;
    int answer = AfxMessageBox(m_strTitle + ToCp932(" への変更を保存しますか?"), MB_YESNOCANCEL);
    if (answer == IDCANCEL) return false;
    if (answer == IDNO) return true;
    return DoFileSave();
}

bool CDocument::DoFileSave()
{
    if (m_strPathName.empty()) return false;
    return OnSaveDocument(m_strPathName);
}

}  // namespace zavio
