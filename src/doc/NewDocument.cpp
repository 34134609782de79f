// New, empty documents: the New command and the routine every generated file
// starts from.
#include "app/ZavioApp.h"
#include "doc/ZavioDoc.h"
#include "framework/DocTemplate.h"
#include "framework/FileSystem.h"

namespace zavio {
namespace {

// "NewFile", else "NewFile(2)", "NewFile(3)", ...: the first name whose file
// in the folder neither exists nor belongs to an open window, so that saving
// one new document never replaces another's text.
std::string FreeNewFileBaseName(const std::string& folder, const std::vector<CDocument*>& docs)
{
    for (int n = 1;; ++n) {
        std::string baseName = n == 1 ? std::string("NewFile") : "NewFile(" + std::to_string(n) + ")";
        const std::string path = folder + baseName + ".txt";
        bool taken = FileExists(path);
        for (const CDocument* doc : docs) taken = taken || static_cast<const CZavioDoc*>(doc)->m_strPath == path;
        if (!taken) return baseName;
    }
}

}  // namespace

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
        if (m_pNewDoc) {
            const std::string baseName = FreeNewFileBaseName(m_strOpenDir, docs);
            m_pNewDoc->SetFileNames("txt", baseName, m_strOpenDir + baseName + ".txt");
        }
    }
    TileDocumentWindows();
}

CZavioDoc* CZavioApp::NewGeneratedDocument(const std::string& extension, const std::string& baseName,
                                           const std::string& path, GeneratedWindow window)
{
    m_pNewDoc = m_pDocTemplate ? static_cast<CZavioDoc*>(m_pDocTemplate->OpenNewDocument(false)) : nullptr;
    if (!m_pNewDoc) return nullptr;
    m_pNewDoc->m_bGenerated = true;
    m_pNewDoc->SetFileNames(extension, baseName, path);
    if (window == GeneratedWindow::Shown) m_pDocTemplate->InitialUpdateFrame(*m_pNewDoc);
    return m_pNewDoc;
}

}  // namespace zavio
