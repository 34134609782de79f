#include "framework/DocTemplate.h"

#include <algorithm>

#include "framework/Document.h"
#include "framework/EditView.h"
#include "framework/Host.h"

namespace zavio {

CMultiDocTemplate::CMultiDocTemplate(Host& host, DocumentFactory makeDocument, ViewFactory makeView)
    : m_host(host), m_makeDocument(std::move(makeDocument)), m_makeView(std::move(makeView))
{
}

CMultiDocTemplate::~CMultiDocTemplate()
{
    // Windows go before their documents, newest first.
    while (!m_documents.empty()) {
        m_host.DestroyDocumentWindow(*m_documents.back());
        m_documents.pop_back();
    }
}

CDocument* CMultiDocTemplate::CreateNewDocument()
{
    std::unique_ptr<CDocument> doc = m_makeDocument();
    if (!doc) return nullptr;
    doc->SetDocTemplate(this);
    m_documents.push_back(std::move(doc));
    return m_documents.back().get();
}

bool CMultiDocTemplate::CreateNewFrame(CDocument& doc)
{
    std::unique_ptr<EditControl> control = m_host.CreateDocumentWindow(doc);
    if (!control) return false;
    doc.SetView(m_makeView(doc, std::move(control)));
    return doc.GetView() != nullptr;
}

void CMultiDocTemplate::InitialUpdateFrame(CDocument& doc)
{
    m_host.ShowDocumentWindow(doc);
}

void CMultiDocTemplate::RemoveDocument(CDocument* doc)
{
    auto it = std::find_if(m_documents.begin(), m_documents.end(),
                           [doc](const std::unique_ptr<CDocument>& d) { return d.get() == doc; });
    if (it != m_documents.end()) m_documents.erase(it);
}

CDocument* CMultiDocTemplate::OpenNewDocument(bool makeVisible)
{
    CDocument* doc = CreateNewDocument();
    if (!doc) return nullptr;
    if (!CreateNewFrame(*doc)) {
        m_host.DestroyDocumentWindow(*doc);
        RemoveDocument(doc);
        return nullptr;
    }
    if (!doc->OnNewDocument()) {
        doc->OnCloseDocument();
        return nullptr;
    }
    if (makeVisible) InitialUpdateFrame(*doc);
    return doc;
}

std::vector<CDocument*> CMultiDocTemplate::GetDocuments() const
{
    std::vector<CDocument*> out;
    out.reserve(m_documents.size());
    for (const auto& d : m_documents) out.push_back(d.get());
    return out;
}

bool CMultiDocTemplate::Contains(const CDocument* doc) const
{
    return std::any_of(m_documents.begin(), m_documents.end(),
                       [doc](const std::unique_ptr<CDocument>& d) { return d.get() == doc; });
}

}  // namespace zavio
