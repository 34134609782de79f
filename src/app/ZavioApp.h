// The application object: what lives as long as the program (documents,
// folders, help-mode), the commands of the application, and the conversion
// operations, which work on the state of the run they belong to. Its members
// are defined in the file of the concept they belong to (help-mode, opening,
// conversion stages, writers).
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "convert/ConversionState.h"
#include "framework/FileSystem.h"
#include "framework/TextFile.h"
#include "framework/WinApp.h"

namespace zavio {

class CMainFrame;
class CMultiDocTemplate;
class CZavioDoc;

// The value of m_nHelpMode while the next help-aware command opens its page.
constexpr int kHelpModeOn = 11;

// How a window the conversion makes for a file is seen.
enum class GeneratedWindow {
    Shown,   // it stays open to be read
    Hidden,  // never shown: a page's, which closes once the page is saved
};

class CZavioApp : public CWinApp {
public:
    explicit CZavioApp(Host& host);
    ~CZavioApp() override;

    // Start-up of the desktop program.
    bool InitInstance();
    // The state every program needs: template, folders, switches. The batch
    // converter runs only this.
    void InitState(const std::string& programFolder);

    // Help-mode.
    // The help-mode rule of a help-aware handler: in help-mode opens the page
    // (a file name in the Help folder), leaves help-mode and returns true.
    bool TakeHelpMode(std::string_view helpPageName);
    void OpenHelpPage(std::string relativePath);
    void OnContextHelpHp();  // 32782

    // Commands of the application (menus, guides, help contents).
    bool OnCmdMsg(unsigned id, CmdKind kind, CCmdUI* ui) override;
    void OnUpdateFileCommand(CCmdUI& ui);
    void OnUpdateWinHelp(CCmdUI& ui);
    void OnFilePrintSetup();
    void OnAppExit();
    void OnAppAbout();
    void OnHelpFinder();  // 57667
    void OnHelpHtml();    // 32772
    void OnHelpHpType();  // 32773
    void OnPrepA();
    void OnPrepB();
    void OnPrepC();
    void OnPrepD();
    void OnPrepE();
    // Whether a Windows version (major, minor) still has WinHelp.
    static bool IsWinHelpVersion(unsigned major, unsigned minor);

    // Opening documents.
    void OnFileNewDocument();
    // The New-document routine for a file the conversion writes: named for
    // that file before its window shows, so its title never changes, and not
    // tiled (a page's window would re-tile the others for nothing); null
    // when no window could be made. Such a window is never taken as a
    // source by a later run.
    CZavioDoc* NewGeneratedDocument(const std::string& extension, const std::string& baseName, const std::string& path,
                                    GeneratedWindow window);
    void OnFileOpenDocument();
    bool AskOpenFileNames(std::vector<std::string>& paths);
    CZavioDoc* CreateDocumentForPath(const std::string& path);
    bool LoadFileIntoDocument(CZavioDoc* doc, const std::string& path);
    CDocument* OpenDocumentFile(const std::string& path) override;
    bool AskSaveFileName(std::string& path, std::string& fileName, int& type, CZavioDoc* doc);
    // The desktop's file dialogs start in the folders last confirmed, kept in
    // the profile; the first time in the user's own folder.
    void RestoreDialogFolders();
    // The recent-file commands: the list's file `index` (0 the newest).
    void OnOpenRecentFile(std::size_t index);

    // The conversion commands. Each run works on a state of its own, made
    // fresh when the command starts; afterwards it stays readable until the
    // next run starts. The pipeline writes through the desktop's port: a
    // window per file, its text passed through the working file.
    void OnConvertHtmlHelp();
    void OnConvertHpType();
    void RunConversion(ConversionKind kind);
    bool ConfirmConversion(CConversionState& run);
    // The open documents as the run's sources, oldest first; the windows an
    // earlier conversion wrote are left out.
    std::vector<SourceFile> OpenSourceFiles();
    const CConversionState& Conversion() const { return m_conversion; }

    // Tiles the document windows through the MDI client, when there is one.
    void TileDocumentWindows();

    Host* m_hWndMDIClient = nullptr;  // the MDI client: tiling goes through it
    CMultiDocTemplate* m_pDocTemplate = nullptr;
    CMainFrame* m_pMainFrame = nullptr;
    std::string m_strAppDir;
    std::string m_strOpenDir;
    std::string m_strSaveDir;
    std::string m_strWorkDir;
    // Where the working file may go when its folder cannot be used, the
    // next first; the program folder last.
    std::vector<std::string> m_saWorkPlaces;
    // The first place the host names that can be used, as m_strWorkDir.
    void ChooseWorkingFolder();
    // Moves the working file on to the next place that can be used and says
    // so once, with the reason the folder left could not; false when none
    // is left (the last failure stays the reason).
    bool MoveWorkingFileOn();
    // The working file's folder (m_strWorkDir), held open from one transfer
    // to the next.
    OpenFolder& WorkingFolder();
    // While an object of this class lives, transfers share one working file,
    // made at the first and removed when the object goes, rather than making
    // and deleting it each time: a conversion makes a transfer per page.
    class WorkingFileHold {
    public:
        explicit WorkingFileHold(CZavioApp& app);
        ~WorkingFileHold();
        WorkingFileHold(const WorkingFileHold&) = delete;
        WorkingFileHold& operator=(const WorkingFileHold&) = delete;

    private:
        CZavioApp& m_app;
    };
    // The held working file `name`, emptied for the next transfer, in the
    // locked working folder; nullptr when no hold lives.
    RoundTripFile* HeldWorkingFile(const FolderLock& folder, std::string_view name);
    int m_bWinHelpAvailable = 0;
    int m_nHelpMode = 0;
    CZavioDoc* m_pNewDoc = nullptr;
    CZavioDoc* m_pStartupDoc = nullptr;

private:
    CConversionState m_conversion;
    std::unique_ptr<OpenFolder> m_workingFolder;
    int m_nWorkingFileHolds = 0;  // holds may nest
    std::unique_ptr<RoundTripFile> m_heldWorkingFile;
    std::unique_ptr<CMultiDocTemplate> m_template;
    std::unique_ptr<CMainFrame> m_mainFrame;
};

// The process-wide application object.
CZavioApp& ZavioApp();

// The current user's private folder of the program (ending in a separator),
// for the working file and the desktop program's hand-over; empty when none
// can be had.
std::string UserProgramFolder();

// The folder the program was started from when it can be written, else the
// home folder, else `fallback`; ending in a separator.
std::string UsersOwnFolder(const std::string& fallback);

// "Help" + separator + page: the help page's path relative to the program folder.
std::string HelpPagePath(std::string_view pageName);

}  // namespace zavio
