// The framework's document: title, path name, modified flag, one view.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "framework/CmdTarget.h"
#include "framework/FileSystem.h"

namespace zavio {

class CEditView;
class CMultiDocTemplate;

// The framework's message when a document's file could not be written.
const std::string& DocumentNotSavedMessage();

// A raw byte stream between a document and a file or memory. Storing
// appends to the buffer; loading takes the buffer's bytes, leaving it empty.
class CArchive {
public:
    enum Mode { store, load };
    CArchive(std::string& buffer, Mode mode) : m_buffer(buffer), m_mode(mode) {}
    bool IsStoring() const { return m_mode == store; }
    bool IsLoading() const { return m_mode == load; }
    std::string& Buffer() { return m_buffer; }
    // Storing: bytes that stay as they are while the archive is used may be
    // lent instead of copied, when they are the first stored.
    void Store(std::string_view bytes)
    {
        TakeLoan();
        m_buffer.append(bytes);
    }
    void Lend(std::string_view bytes)
    {
        if (!m_lent && m_buffer.empty()) {
            m_loan = bytes;
            m_lent = true;
        } else {
            Store(bytes);
        }
    }
    // What was stored, lent or copied.
    std::string_view Stored() const { return m_lent ? m_loan : std::string_view(m_buffer); }
    // Set by a loading view that refused the bytes.
    void SetFailed() { m_failed = true; }
    bool Failed() const { return m_failed; }

private:
    void TakeLoan()
    {
        if (m_lent) m_buffer.assign(m_loan);
        m_lent = false;
    }

    std::string& m_buffer;
    Mode m_mode;
    bool m_failed = false;
    bool m_lent = false;
    std::string_view m_loan;
};

class CDocument : public CCmdTarget {
public:
    CDocument();
    ~CDocument() override;
    CDocument(const CDocument&) = delete;
    CDocument& operator=(const CDocument&) = delete;

    const std::string& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(const std::string& title);
    const std::string& GetPathName() const { return m_strPathName; }
    // Also retitles the document with the file's name.
    virtual void SetPathName(const std::string& path, bool addToMru = true);
    bool IsModified() const { return m_bModified; }
    // The windows hear of every change of the flag, to show it.
    virtual void SetModifiedFlag(bool modified = true);

    CEditView* GetView() const { return m_pView.get(); }
    void SetView(std::unique_ptr<CEditView> view);
    CMultiDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }
    void SetDocTemplate(CMultiDocTemplate* tmpl) { m_pDocTemplate = tmpl; }

    virtual void Serialize(CArchive& ar);
    virtual bool OnNewDocument();
    // Writes the document through Serialize, all-or-nothing; reports the
    // framework's error and returns false when the file cannot be written.
    // The user's files are flushed to the disk unless `how` says otherwise.
    virtual bool OnSaveDocument(const std::string& path, const FileWriteOptions& how = {true, {}});
    // Destroys the windows and the document itself: the caller must not touch
    // the document afterwards.
    virtual void OnCloseDocument();
    // The framework's Close: asks about unsaved changes, then closes.
    void OnFileClose();
    // Asks whether to save a modified document; false when the user cancels.
    virtual bool SaveModified();
    // The save behind the question of SaveModified.
    virtual bool DoFileSave();

protected:
    // The bytes the file takes for the text the view holds: the same, unless
    // the document keeps its file in another form (made in `converted`).
    virtual std::string_view FileBytes(std::string_view held, std::string& converted) const
    {
        (void)converted;
        return held;
    }

private:
    std::string m_strTitle;
    std::string m_strPathName;
    bool m_bModified = false;
    std::unique_ptr<CEditView> m_pView;
    CMultiDocTemplate* m_pDocTemplate = nullptr;
};

}  // namespace zavio
