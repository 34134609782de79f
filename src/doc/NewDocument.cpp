// New, empty documents: the New command and the routine every generated file
// starts from.
#include "app/ZavioApp.h"
#include "doc/ZavioDoc.h"
#include "framework/DocTemplate.h"

namespace zavio {

void CZavioApp::OnFileNewDocument()
{
    if (TakeHelpMode("HID_FILE_NEW.htm")) return;
    CDocument* created = OnFileNew();
    m_pNewDoc = nullptr;
    // The newest document is the last of the list. Should the framework
    // have failed to make one, no older document may take the new name.
    if (created && m_pDocTemplate) {
        std::vector<CDocument*> docs = m_pDocTemplate->GetDocuments();
        if (!docs.empty() && docs.back() == created) m_pNewDoc = static_cast<CZavioDoc*>(created);
    }
    if (m_pNewDoc) m_pNewDoc->SetFileNames("txt", "NewFile", m_strOpenDir + "NewFile" + "." + "txt");
    TileDocumentWindows();
}

CZavioDoc* CZavioApp::NewGeneratedDocument()
{
    OnFileNewDocument();
    return m_pNewDoc;
}

CZavioDoc* CZavioApp::NewNamedDocument(const std::string& extension, const std::string& baseName,
                                       const std::string& path)
{
    CZavioDoc* doc = NewGeneratedDocument();
    if (doc) doc->SetFileNames(extension, baseName, path);
    return doc;
}

}  // namespace zavio
