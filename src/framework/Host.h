// The seam between the program and a real screen. The desktop application,
// the batch converter and the tests each provide one.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/Cp932.h"

namespace zavio {

class CDocument;
class CCmdTarget;

// Message box button sets and answers, with the platform's values.
enum : unsigned { MB_OK = 0x0, MB_OKCANCEL = 0x1, MB_YESNOCANCEL = 0x3, MB_YESNO = 0x4 };
enum : int { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

// File dialog flags the program passes (the platform's values).
enum : unsigned { OFN_OVERWRITEPROMPT = 0x2, OFN_HIDEREADONLY = 0x4, OFN_ALLOWMULTISELECT = 0x200 };

struct FileDialogRequest {
    bool openKind = true;  // Open, or Save As
    // CP932, without the dot. Absent: a name typed without an extension stays
    // so. Empty: it takes the extension of the filter selected.
    std::optional<std::string> defaultExt;
    std::string fileName;  // initial file name
    unsigned flags = 0;
    std::string filter;         // "caption|pattern|...||" in CP932
    std::string initialFolder;  // CP932
};

// The platform's window-placement record (its length field aside).
struct WindowPlacement {
    unsigned flags = 0;    // WPF_RESTORETOMAXIMIZED when it was saved maximized
    unsigned showCmd = 0;  // SW_SHOWNORMAL, SW_SHOWMINIMIZED or SW_SHOWMAXIMIZED
    int minX = 0, minY = 0;
    int maxX = 0, maxY = 0;
    int left = 0, top = 0, right = 0, bottom = 0;  // the normal rectangle
};

// Show commands and the placement flag, with the platform's values.
enum : int { SW_HIDE = 0, SW_SHOWNORMAL = 1, SW_SHOWMINIMIZED = 2, SW_SHOWMAXIMIZED = 3 };
enum : unsigned { WPF_RESTORETOMAXIMIZED = 2 };

struct FileDialogResult {
    std::vector<std::string> paths;  // full CP932 paths, in the dialog's order
};

// About 1000 KB, as the edit control of the platform allowed: what a window
// holds unless its host says otherwise.
constexpr std::size_t kEditViewCapacity = 1000 * 1024;

// The text window of one document. It holds the document's text as raw bytes
// with CR LF line ends, CP932 unless the document says its file is UTF-8; the
// standard edit operations default to doing nothing where there is no screen.
class EditControl {
public:
    virtual ~EditControl() = default;
    virtual std::string GetText() const = 0;
    virtual void SetText(std::string bytes) = 0;
    // The bytes GetText gives, where the control holds them as they are;
    // null where they are made anew (edited text is encoded again).
    virtual const std::string* HeldText() const { return nullptr; }
    // How the bytes are to be shown and edited; the document decides it.
    virtual void SetEncoding(TextEncoding encoding) { (void)encoding; }
    // The most bytes the text may hold.
    virtual std::size_t Capacity() const { return kEditViewCapacity; }
    // The characters of the text that its encoding cannot hold (saved, each
    // would become "?"), each once, in the order they first appear. Only
    // text the user edited can hold any.
    virtual std::vector<char32_t> UnencodableCharacters() const { return {}; }
    // Replaces each of them by its numeric character reference "&#N;", as
    // one edit the user can undo.
    virtual void ReferenceUnencodableCharacters() {}

    virtual void Undo() {}
    virtual void Cut() {}
    virtual void Copy() {}
    virtual void Paste() {}
    virtual void Clear() {}
    virtual void SelectAll() {}
    virtual void Find() {}
    virtual void Replace() {}
    virtual void Print() {}
    virtual void PrintPreview() {}
    virtual bool CanUndo() const { return false; }
    virtual bool HasSelection() const { return false; }
    virtual bool CanPaste() const { return false; }
};

class Host {
public:
    virtual ~Host() = default;

    // Document windows: a frame with its view for a document (null when the
    // window cannot be made), shown, retitled, destroyed, tiled; the active one.
    virtual std::unique_ptr<EditControl> CreateDocumentWindow(CDocument& doc) = 0;
    virtual void ShowDocumentWindow(CDocument& doc) { (void)doc; }
    virtual void DocumentTitleChanged(CDocument& doc) { (void)doc; }
    // The document's modified flag changed: its windows show it.
    virtual void DocumentModifiedChanged(CDocument& doc) { (void)doc; }
    virtual void DestroyDocumentWindow(CDocument& doc) = 0;
    virtual void TileDocumentWindows() = 0;
    virtual CDocument* ActiveDocument() = 0;

    // Modal questions. Texts are CP932.
    virtual int MessageBox(std::string_view text, unsigned type) = 0;
    virtual bool RunFileDialog(const FileDialogRequest& request, FileDialogResult& result) = 0;

    // Shell.
    virtual void ShellOpen(std::string_view path) = 0;
    // The WinHelp contents of a help file; nothing where there is no WinHelp.
    virtual void ShowWinHelpContents(std::string_view helpFile) { (void)helpFile; }
    virtual void BeginWaitCursor() {}
    virtual void EndWaitCursor() {}

    // The progress of a long piece of work (a conversion): what it does now
    // and how far it is, `done` of `total`. True when the user asked it to
    // stop. The screen keeps being painted meanwhile; no command starts.
    virtual bool ShowProgress(std::string_view text, std::size_t done, std::size_t total)
    {
        (void)text;
        (void)done;
        (void)total;
        return false;
    }
    // The work is over: its progress goes.
    virtual void EndProgress() {}

    // The main frame's standard dialogs and its close request.
    virtual void ShowPrintSetup() {}
    virtual void ShowAboutBox() {}
    virtual void RequestMainWindowClose() {}

    // The main window. Hosts without one keep the defaults.
    virtual bool CreateMainWindow() { return true; }
    // The folder of the program file, ending in a separator (CP932).
    virtual std::string ProgramFolder() { return {}; }
    // The folders the working file may lie in, the preferred first (CP932,
    // each ending in a separator): the program moves on to the next when one
    // cannot be used, and to the program folder after the last.
    virtual std::vector<std::string> WorkingFolders() { return {}; }
    // The show command the program was started with.
    virtual int StartupShowCommand() { return SW_SHOWNORMAL; }
    virtual bool GetMainWindowPlacement(WindowPlacement& placement)
    {
        (void)placement;
        return false;
    }
    virtual void SetMainWindowPlacement(const WindowPlacement& placement) { (void)placement; }
    virtual bool IsMainWindowZoomed() { return false; }
    // Returns whether the window was visible before.
    virtual bool ShowMainWindow(int showCmd)
    {
        (void)showCmd;
        return false;
    }
    virtual void UpdateMainWindow() {}

    // The toolbar (59392) and the status bar (59393).
    virtual bool IsControlBarVisible(unsigned barId)
    {
        (void)barId;
        return false;
    }
    virtual void ShowControlBar(unsigned barId, bool show)
    {
        (void)barId;
        (void)show;
    }

    // The window menu: another window on the active document, cascading,
    // arranging the minimised windows.
    virtual void OpenNewWindowOnActiveDocument() {}
    virtual void CascadeDocumentWindows() {}
    virtual void ArrangeDocumentIcons() {}

    // The main frame's WinHelp commands (F1 help, Shift+F1 context help,
    // default help); nothing where there is no WinHelp.
    virtual void RunFrameHelp(unsigned commandId) { (void)commandId; }

    // Timers on the main frame: a handle, or 0 when none is left.
    virtual unsigned SetTimer(unsigned id, unsigned milliseconds) = 0;
    virtual void KillTimer(unsigned handle) = 0;

    // The profile: string values by section and key.
    virtual std::string GetProfileString(std::string_view section, std::string_view key) = 0;
    virtual void WriteProfileString(std::string_view section, std::string_view key, std::string_view value) = 0;

    // A document's text has been saved to `path` (CP932).
    virtual void FileWritten(std::string_view path) { (void)path; }
};

}  // namespace zavio
