// The Qt host with every modal dialog answered from a script, a program
// folder of its own, and a settings store of its own, so a GUI test never
// waits on a dialog or touches the user's settings.
#pragma once

#include <QStringList>
#include <QTemporaryDir>
#include <deque>
#include <memory>
#include <optional>

#include "app/ZavioApp.h"
#include "ui/MainWindow.h"
#include "ui/QtHost.h"

namespace zavio::test {

class ScriptedQtHost : public QtHost {
public:
    ScriptedQtHost();

    std::string ProgramFolder() override { return m_programFolder; }
    std::vector<std::string> WorkingFolders() override { return {m_programFolder}; }
    unsigned SetTimer(unsigned id, unsigned milliseconds) override;
    void KillTimer(unsigned handle) override
    {
        ++m_timersKilled;
        QtHost::KillTimer(handle);
    }

    // The progress shown, through the real dialog, which shows at once; the
    // user presses its Cancel at the call numbered m_cancelAtProgress (0 the
    // first).
    bool ShowProgress(std::string_view text, std::size_t done, std::size_t total) override;
    struct ProgressShown {
        QString text;
        std::size_t done, total;
    };
    std::vector<ProgressShown> m_progressShown;
    std::optional<std::size_t> m_cancelAtProgress;

    struct Shown {
        QString text;
        unsigned type;
    };
    std::vector<Shown> m_messages;
    std::deque<int> m_answers;
    std::deque<QStringList> m_fileAnswers;  // native paths; empty list cancels
    int m_fileDialogs = 0;
    QStringList m_opened;  // native paths given to the desktop
    int m_aboutBoxes = 0;
    int m_printSetups = 0;
    int m_printDialogs = 0;
    QString m_printToPdf;  // when set, the print dialog is confirmed into this file
    int m_previews = 0;
    // Timers run this many times faster (the start-up timer's ten seconds).
    unsigned m_timerSpeedUp = 1;
    int m_timersKilled = 0;
    std::string m_programFolder;  // CP932, ending in '/'
    // The message box the program shows outside tests.
    int RunDesktopMessageBox(const QString& text, unsigned type) { return QtHost::RunMessageBox(text, type); }
    // When set, message boxes and file dialogs are the real ones (a test
    // then answers them on the screen).
    bool m_realDialogs = false;
    // When set, files go to the desktop's opener as outside tests.
    bool m_realDesktop = false;

protected:
    int RunMessageBox(const QString& text, unsigned type) override;
    bool RunFileDialogBox(const FileDialogRequest& request, QStringList& nativePaths) override;
    void OpenWithDesktop(const QString& nativePath) override
    {
        m_opened << nativePath;
        if (m_realDesktop) QtHost::OpenWithDesktop(nativePath);
    }
    void RunAboutBox() override { ++m_aboutBoxes; }
    void RunPrintSetupDialog(QPrinter&) override { ++m_printSetups; }
    bool RunPrintDialog(QPrinter& printer, QWidget*) override;
    void RunPrintPreview(QPrinter&, QPlainTextEdit&) override { ++m_previews; }
};

// One program per test: a fresh folder, settings, host, application and
// main window; everything closed again by Stop().
class GuiFixture {
public:
    GuiFixture();
    ~GuiFixture();
    // Starts the program; false when start-up failed.
    bool Start();
    // Starts it and waits until its main window is on the screen.
    bool StartShown();
    void Stop();

    MainWindow* Window() const { return m_host->Window(); }
    CZavioApp& App() const { return *m_app; }
    ScriptedQtHost& Host() const { return *m_host; }
    QString Folder() const { return m_folder.path() + u'/'; }
    QString Setting(const QString& key) const;
    void SetSetting(const QString& key, const QString& value) const;
    // The menu action of a command in the menu bar shown, or null.
    QAction* MenuAction(unsigned id) const;
    QAction* ToolbarAction(unsigned id) const;
    QStringList MenuTitles() const;
    int WindowCount() const;

private:
    QString m_startFolder;
    QTemporaryDir m_folder;
    std::unique_ptr<ScriptedQtHost> m_host;
    std::unique_ptr<CZavioApp> m_app;
};

}  // namespace zavio::test
