#include "doc/ZavioDoc.h"

#include "app/ZavioApp.h"
#include "framework/EditView.h"
#include "res/CommandIds.h"

namespace zavio {

CZavioDoc::CZavioDoc() = default;
CZavioDoc::~CZavioDoc() = default;

void CZavioDoc::Serialize(CArchive& ar)
{
    if (CEditView* view = GetView()) view->SerializeRaw(ar);
}

void CZavioDoc::SetFileNames(const std::string& extension, const std::string& baseName, const std::string& path)
{
    m_strExtension = extension;
    m_strBaseName = baseName;
    m_strPath = path;
    SetTitle(path);
}

void CZavioDoc::SetTextEncoding(TextEncoding encoding)
{
    m_encoding = encoding;
    if (CEditView* view = GetView()) view->Control().SetEncoding(encoding);
}

void CZavioDoc::SetFileEncoding(FileEncoding encoding)
{
    m_fileEncoding = encoding;
    SetTextEncoding(HeldEncoding(encoding));
}

std::string_view CZavioDoc::FileBytes(std::string_view held, std::string& converted) const
{
    // Only UTF-16 is held in another form than its file's.
    if (m_fileEncoding == FileEncoding::Cp932 || m_fileEncoding == FileEncoding::Utf8) return held;
    converted = FileBytesOfHeldText(held, m_fileEncoding);
    return converted;
}

bool CZavioDoc::OnNewDocument()
{
    return CDocument::OnNewDocument();
}

void CZavioDoc::OnCloseDocument()
{
    // The start-up timer must not close this document again once it is gone.
    CZavioApp& app = ZavioApp();
    if (app.m_pStartupDoc == this) app.m_pStartupDoc = nullptr;
    if (app.m_pNewDoc == this) app.m_pNewDoc = nullptr;
    CDocument::OnCloseDocument();
}

void CZavioDoc::SetModifiedFlag(bool modified)
{
    // A start-up document the user changed is theirs: its timer must not
    // close it, even once it is saved.
    if (modified && ZavioApp().m_pStartupDoc == this) ZavioApp().m_pStartupDoc = nullptr;
    CDocument::SetModifiedFlag(modified);
}

bool CZavioDoc::OnCmdMsg(unsigned id, CmdKind kind, CCmdUI* ui)
{
    static const CommandEntry<CZavioDoc> kCommands[] = {
        {ID_FILE_SAVE_AS, &CZavioDoc::OnFileSaveAs, &CZavioDoc::OnUpdateFileCommand},
        {ID_FILE_SAVE, &CZavioDoc::OnFileSave, &CZavioDoc::OnUpdateFileCommand},
        {ID_FILE_CLOSE, &CZavioDoc::OnFileClose, nullptr},
    };
    return DispatchCommand(*this, kCommands, id, kind, ui);
}

}  // namespace zavio
