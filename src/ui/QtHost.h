// The host with real windows: a main window with an MDI area, one sub-window
// per document window, Qt dialogs, timers and the settings store. Every modal
// dialog goes through a virtual operation here, so tests answer them without
// ever showing one.
#pragma once

#include <QElapsedTimer>
#include <QRect>
#include <QString>
#include <QStringList>
#include <cstddef>
#include <map>
#include <memory>
#include <vector>

#include "framework/Host.h"

class QFileDialog;
class QMargins;
class QPlainTextEdit;
class QPrinter;
class QSettings;
class QTimer;
class QWidget;

namespace zavio {

class CChildFrame;
class InstanceServer;
class MainWindow;
class ProgressDialog;
class QtEditControl;

// A Qt file dialog set up as the program asks for it.
void SetUpFileDialog(QFileDialog& dialog, const FileDialogRequest& request);

// What a document window holds: files of any size a desktop meets, up to a
// limit that only keeps the program's memory in bounds.
constexpr std::size_t kDesktopViewCapacity = 64 * 1024 * 1024;

// `wanted` moved and shrunk as little as may be to lie within `area`, its
// frame (the margins around it) included; never smaller than `minimum`.
QRect FitIntoArea(QRect wanted, const QRect& area, const QMargins& frame, const QSize& minimum);
// A dialog about to open, made to fit the screen it opens on.
void FitDialogOnScreen(QWidget& dialog);

class QtHost : public Host {
public:
    QtHost();
    ~QtHost() override;

    MainWindow* Window() const { return m_window.get(); }

    // Document windows.
    std::unique_ptr<EditControl> CreateDocumentWindow(CDocument& doc) override;
    void ShowDocumentWindow(CDocument& doc) override;
    void DocumentTitleChanged(CDocument& doc) override;
    void DocumentModifiedChanged(CDocument& doc) override;
    void DestroyDocumentWindow(CDocument& doc) override;
    void TileDocumentWindows() override;
    CDocument* ActiveDocument() override;
    void OpenNewWindowOnActiveDocument() override;
    void CascadeDocumentWindows() override;
    void ArrangeDocumentIcons() override;

    // Modal questions.
    int MessageBox(std::string_view text, unsigned type) override;
    bool RunFileDialog(const FileDialogRequest& request, FileDialogResult& result) override;

    // Shell and cursors.
    void ShellOpen(std::string_view path) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;

    // A long piece of work: its dialog shows once the work has lasted a
    // moment, and the event loop turns a few times a second meanwhile, so
    // the windows are painted and Cancel is heard.
    bool ShowProgress(std::string_view text, std::size_t done, std::size_t total) override;
    void EndProgress() override;
    // Whether a piece of work shows its progress now (the dialog or not yet).
    bool IsShowingProgress() const { return m_progress != nullptr; }
    ProgressDialog* Progress() const { return m_progress.get(); }

    // The main frame.
    void ShowPrintSetup() override;
    void ShowAboutBox() override;
    void RequestMainWindowClose() override;
    bool CreateMainWindow() override;
    std::string ProgramFolder() override;
    // The user's own folder: the program folder may be read-only.
    std::vector<std::string> WorkingFolders() override;
    bool GetMainWindowPlacement(WindowPlacement& placement) override;
    void SetMainWindowPlacement(const WindowPlacement& placement) override;
    bool IsMainWindowZoomed() override;
    bool ShowMainWindow(int showCmd) override;
    void UpdateMainWindow() override;
    bool IsControlBarVisible(unsigned barId) override;
    void ShowControlBar(unsigned barId, bool show) override;

    unsigned SetTimer(unsigned id, unsigned milliseconds) override;
    void KillTimer(unsigned handle) override;

    // The settings store of the current user, ~/.config/zavio/zavio.conf.
    std::string GetProfileString(std::string_view section, std::string_view key) override;
    void WriteProfileString(std::string_view section, std::string_view key, std::string_view value) override;

    // What a document window holds.
    std::size_t ViewCapacity() const { return m_viewCapacity; }
    void SetViewCapacity(std::size_t bytes) { m_viewCapacity = bytes; }

    // Printing a document window's text.
    void PrintEdit(QPlainTextEdit& edit);
    void PreviewEdit(QPlainTextEdit& edit);

    // The shell's open request: the files (native paths) open one by one as
    // a dropped file does, each from the event loop, once no dialog or
    // command of the program is waiting for an answer.
    void OpenFiles(const QStringList& nativePaths);
    // Takes the files of later starts of the program; false when another
    // copy takes them.
    bool ListenForOtherCopies(const QString& socketPath);

    // The frames of one document, the first one first.
    std::vector<CChildFrame*> FramesOf(const CDocument& doc) const;
    // A frame's close button: the last frame of a document closes the
    // document (asking about unsaved changes), any other only itself.
    void CloseFrame(CChildFrame* frame);

protected:
    // The modal dialogs themselves; tests replace them.
    virtual int RunMessageBox(const QString& text, unsigned type);
    virtual bool RunFileDialogBox(const FileDialogRequest& request, QStringList& nativePaths);
    virtual void OpenWithDesktop(const QString& nativePath);
    virtual void RunAboutBox();
    virtual void RunPrintSetupDialog(QPrinter& printer);
    virtual bool RunPrintDialog(QPrinter& printer, QWidget* parent);
    virtual void RunPrintPreview(QPrinter& printer, QPlainTextEdit& edit);

    // How long a piece of work runs before its progress dialog shows: a
    // short one never flashes a dialog.
    int m_progressShowAfterMs = 500;

private:
    CChildFrame* AddFrame(CDocument& doc, QtEditControl& control);
    void RetitleFrames(const CDocument& doc);
    void AfterWindowsChanged();
    QPrinter& Printer();
    QSettings& Profile();
    void ScheduleNextFile(int delayMs);
    void OpenNextFile();

    std::unique_ptr<MainWindow> m_window;
    std::map<const CDocument*, QtEditControl*> m_controls;
    std::map<unsigned, QTimer*> m_timers;
    unsigned m_nextTimer = 0;
    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<QSettings> m_profile;
    std::unique_ptr<InstanceServer> m_instanceServer;
    QStringList m_pendingFiles;
    bool m_nextFileScheduled = false;
    bool m_openingFile = false;
    std::unique_ptr<ProgressDialog> m_progress;
    QElapsedTimer m_progressClock;
    qint64 m_progressTurnMs = 0;  // when the event loop last turned
    std::size_t m_viewCapacity = kDesktopViewCapacity;
};

}  // namespace zavio
