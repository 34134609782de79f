// The main frame's window: menu bars built from the resources, the toolbar,
// the status bar and the MDI area. Every action runs its command through the
// application's router; one refresh asks the router for every action's state.
#pragma once

#include <QKeySequence>
#include <QMainWindow>
#include <map>
#include <vector>

class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;

namespace zavio {

class CChildFrame;
class QtHost;
class ZavioTextEdit;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QtHost& host);
    ~MainWindow() override;

    QMdiArea* Mdi() const { return m_mdi; }
    QToolBar* ToolBar() const { return m_toolBar; }
    QLabel* IdleLabel() const { return m_idleLabel; }
    CChildFrame* ActiveFrame() const;
    ZavioTextEdit* ActiveEdit() const;
    // The menu bar shown: 128 without a document window, 129 with one.
    unsigned MenuBarId() const { return m_menuBarId; }
    // The accelerator actions, one per key of the table.
    const std::vector<QAction*>& AcceleratorActions() const { return m_accelerators; }

    // Runs a command through the router and refreshes the window.
    void RunCommand(unsigned id);
    // Whether a command is running (its dialogs run the event loop).
    bool IsRunningCommand() const { return m_commandsRunning > 0; }
    // Enabled and checked states of every action, the menu bar for the
    // windows open, the caption and the help pointer.
    void RefreshCommandStates();
    // After windows came or went: the menu bar and caption now, the rest
    // once the current batch of work is done (a conversion opens and closes
    // hundreds of windows in one command).
    void WindowsChanged();
    void ScheduleRefresh();

    // Whether the keys belong to the program (its accelerators and the
    // frame's own keys) rather than to the text.
    static bool IsAcceleratorKey(const QKeySequence& keys);

signals:
    // After each command: its id and whether some handler took it.
    void commandRun(unsigned id, bool handled);

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QAction* MakeCommandAction(unsigned id, const QString& caption);
    void BuildMenuBars();
    void BuildToolBar();
    void BuildStatusBar();
    void BuildAccelerators();
    void BuildFrameKeys();
    void ShowMenuBar(unsigned id);
    static QAction* FindCommandAction(QMenu* menu, unsigned id);
    void ListWindows(QMenu& menu);
    void ListRecentFiles(QMenu& menu);
    void UpdateHelpPointer();
    void UpdateCaption();

    QtHost& m_host;
    QMdiArea* m_mdi = nullptr;
    QToolBar* m_toolBar = nullptr;
    QLabel* m_idleLabel = nullptr;
    std::map<unsigned, std::vector<QMenu*>> m_menus;  // by menu bar id
    std::vector<QAction*> m_commandActions;           // menus, toolbar, keys
    std::vector<QAction*> m_accelerators;
    unsigned m_menuBarId = 0;
    bool m_helpPointerShown = false;
    bool m_refreshPending = false;
    int m_commandsRunning = 0;
};

}  // namespace zavio
