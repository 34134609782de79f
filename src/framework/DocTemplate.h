// The multi-document template: makes documents with their windows and keeps
// the list of open documents, oldest first.
#pragma once

#include <functional>
#include <memory>
#include <vector>

namespace zavio {

class CDocument;
class CEditView;
class EditControl;
class Host;

class CMultiDocTemplate {
public:
    using DocumentFactory = std::function<std::unique_ptr<CDocument>()>;
    using ViewFactory = std::function<std::unique_ptr<CEditView>(CDocument&, std::unique_ptr<EditControl>)>;

    CMultiDocTemplate(Host& host, DocumentFactory makeDocument, ViewFactory makeView);
    ~CMultiDocTemplate();

    // A new document object, added to the end of the list.
    CDocument* CreateNewDocument();
    // The document's frame and view; false when the host cannot make them.
    bool CreateNewFrame(CDocument& doc);
    void InitialUpdateFrame(CDocument& doc);
    // Removes the document from the list and deletes it.
    void RemoveDocument(CDocument* doc);
    // The framework's New: document, window, OnNewDocument; null on failure.
    // A window not made visible shows through InitialUpdateFrame, or never.
    CDocument* OpenNewDocument(bool makeVisible = true);

    // The open documents, oldest first (a snapshot: closing one while walking
    // the list is safe).
    std::vector<CDocument*> GetDocuments() const;
    bool Contains(const CDocument* doc) const;
    Host& GetHost() const { return m_host; }

private:
    Host& m_host;
    DocumentFactory m_makeDocument;
    ViewFactory m_makeView;
    std::vector<std::unique_ptr<CDocument>> m_documents;
};

}  // namespace zavio
