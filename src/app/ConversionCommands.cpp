// The two conversion commands of the desktop and the port through which the
// pipeline works on its windows: every file it writes becomes a document
// window whose text passes through the working file and is saved from there
// (a page's window is never shown: it closes at once); the sources' windows
// close once the run is done with them; the host shows how far the run is.
#include "app/ZavioApp.h"
#include "convert/ConversionDriver.h"
#include "convert/RunFiles.h"
#include "doc/ZavioDoc.h"
#include "framework/Cp932.h"
#include "framework/DocTemplate.h"
#include "framework/FileError.h"
#include "framework/FileSystem.h"
#include "res/Messages.h"

namespace zavio {
namespace {

class DesktopConversionPort : public ConversionPort {
public:
    explicit DesktopConversionPort(CZavioApp& app) : m_app(app) {}
    // However the run ends, its progress goes with it.
    ~DesktopConversionPort() override { m_app.GetHost().EndProgress(); }

    // The list of pages is a window from the start, shown once a pass names it.
    bool BeginRun() override
    {
        m_listDoc = m_app.NewGeneratedDocument("txt", "ListTitl", std::string(), GeneratedWindow::Hidden);
        return m_listDoc != nullptr;
    }

    void NamePageList(const std::string& path) override
    {
        if (!m_listDoc) return;
        m_listDoc->SetFileNames("txt", "ListTitl", path);
        m_app.m_pDocTemplate->InitialUpdateFrame(*m_listDoc);
        m_app.TileDocumentWindows();
    }

    void EndRun() override { m_app.TileDocumentWindows(); }

    bool Progress(const ConversionProgress& progress) override
    {
        const res::ProgressStep step = progress.stage == ConversionProgress::Stage::Writing
                                           ? res::ProgressStep::WritingPages
                                           : res::ProgressStep::ReadingManuscripts;
        const std::string text = res::ProgressMessage(step, progress.done, progress.total) + "\n" + progress.name;
        return !m_app.GetHost().ShowProgress(text, progress.done, progress.total);
    }

    bool ReadSource(const SourceFile& source, SourceText& text) override
    {
        // A project's files are read from the disk; the others from their windows.
        if (!source.handle) {
            std::optional<SourceText> read = ReadSourceFile(source);
            if (!read) Say(WithLastFileErrorReason(res::NotReadMessage(source.path)));
            if (read) text = std::move(*read);
            return read.has_value();
        }
        auto* doc = static_cast<CZavioDoc*>(const_cast<void*>(source.handle));
        text.encoding = doc->m_encoding;
        return doc->ReadViewText(text.bytes);
    }

    bool WriteFile(const OutputFile& file) override
    {
        // A picture is no text for a window: it is written as it is.
        if (file.role == OutputRole::Picture) {
            if (WriteOutputFileBytes(file)) return true;
            Say(res::NotOpenedMessage(file.path, res::NotOpenedWhile::Writing));
            return false;
        }
        // A page's window is never shown: it closes once the page is saved.
        CZavioDoc* doc = file.role == OutputRole::PageList
                             ? m_listDoc
                             : m_app.NewGeneratedDocument(
                                   file.extension, file.baseName, file.path,
                                   file.role == OutputRole::Page ? GeneratedWindow::Hidden : GeneratedWindow::Shown);
        if (!doc) {
            Say(res::NotOpenedMessage(file.path, res::NotOpenedWhile::Writing));
            return false;
        }
        if (doc == m_listDoc)
            doc->SetFileNames(file.extension, file.baseName, file.path);
        else if (file.role != OutputRole::Page)
            m_app.TileDocumentWindows();  // a window that stays takes its place among the others
        bool written = doc->LoadTextIntoView(file.text);
        // A view that did not take the text must not replace the file.
        if (!written)
            Say(res::NotOpenedMessage(file.path, res::NotOpenedWhile::Writing));
        else
            written = doc->SaveDocument(file.keepBackup, false);
        // A page's window closes; the other files stay open to be read.
        if (file.role == OutputRole::Page) doc->OnCloseDocument();
        return written;
    }

    bool MoveSource(const std::string& from, const std::string& to, bool& taken) override
    {
        return MoveFile(from, to, &taken);
    }

    void ReleaseSource(const SourceFile& source) override
    {
        static_cast<CZavioDoc*>(const_cast<void*>(source.handle))->OnCloseDocument();
        m_app.TileDocumentWindows();
    }

    void Say(const std::string& message) override { AfxMessageBox(message); }

private:
    CZavioApp& m_app;
    CZavioDoc* m_listDoc = nullptr;
};

}  // namespace

void CZavioApp::OnConvertHtmlHelp()
{
    RunConversion(ConversionKind::HtmlHelp);
}

void CZavioApp::OnConvertHpType()
{
    RunConversion(ConversionKind::HpType);
}

void CZavioApp::RunConversion(ConversionKind kind)
{
    // The one place a run's state is made: nothing of an earlier run carries over.
    m_conversion = CConversionState(kind);
    CConversionState& run = m_conversion;
    if (TakeHelpMode("HID_SEPARATE_HTML.htm")) return;
    if (!ConfirmConversion(run)) return;
    // A page is a transfer: the run's transfers share one working file.
    const WorkingFileHold hold(*this);
    DesktopConversionPort port(*this);
    zavio::RunConversion(run, port, CollectSources(OpenSourceFiles()));
}

bool CZavioApp::ConfirmConversion(CConversionState& run)
{
    run.m_bKeepHeader = false;
    if (run.HtmlHelp()) {
        // HTML Help pages keep Word's header as it is.
        run.m_bKeepHeader = true;
        return AfxMessageBox(ConversionQuestion(run.m_kind), MB_OKCANCEL) == IDOK;
    }
    switch (AfxMessageBox(ConversionQuestion(run.m_kind), MB_YESNOCANCEL)) {
        case IDYES:
            return true;
        case IDNO:
            run.m_bKeepHeader = true;
            return true;
        default:
            return false;
    }
}

std::vector<SourceFile> CZavioApp::OpenSourceFiles()
{
    std::vector<SourceFile> files;
    if (!m_pDocTemplate) return files;
    for (CDocument* open : m_pDocTemplate->GetDocuments()) {
        const auto* doc = static_cast<const CZavioDoc*>(open);
        // What a conversion wrote (a contents page, an index page) is its
        // output, never a manuscript or a contents file of the next.
        if (doc->m_bGenerated) continue;
        files.push_back({doc->m_strPath, doc->m_strBaseName, doc->m_strExtension, doc});
    }
    return files;
}

}  // namespace zavio
