#include "ui/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

#include "app/MainFrame.h"
#include "app/ZavioApp.h"
#include "framework/Cp932.h"
#include "framework/FileSystem.h"
#include "res/CommandIds.h"
#include "res/Resources.h"
#include "ui/ChildFrame.h"
#include "ui/QtHost.h"
#include "ui/TextEdit.h"

namespace zavio {
namespace {

QString Text(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

CZavioApp* App()
{
    return static_cast<CZavioApp*>(AfxGetApp());
}

// A plain drawn button face for the commands no theme or style offers.
QIcon LetterIcon(const QString& letters)
{
    QPixmap pixmap(32, 30);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x2d, 0x5f, 0x8b), 2));
    painter.setBrush(QColor(0xf4, 0xf4, 0xf0));
    painter.drawRoundedRect(QRectF(2, 2, 28, 26), 4, 4);
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(letters.size() > 1 ? 11 : 16);
    painter.setFont(font);
    painter.drawText(QRect(0, 0, 32, 30), Qt::AlignCenter, letters);
    return QIcon(pixmap);
}

// The toolbar images: the desktop theme's, else the style's, else drawn.
QIcon ToolbarIcon(unsigned id, QStyle* style)
{
    struct Face {
        unsigned id;
        const char* theme;
        QStyle::StandardPixmap standard;
        const char* letters;
    };
    static const Face kFaces[] = {
        {ID_FILE_NEW, "document-new", QStyle::SP_FileIcon, "N"},
        {ID_FILE_OPEN, "document-open", QStyle::SP_DialogOpenButton, "O"},
        {ID_FILE_SAVE, "document-save", QStyle::SP_DialogSaveButton, "S"},
        {ID_EDIT_CUT, "edit-cut", QStyle::SP_CustomBase, "X"},
        {ID_EDIT_COPY, "edit-copy", QStyle::SP_CustomBase, "C"},
        {ID_EDIT_PASTE, "edit-paste", QStyle::SP_CustomBase, "V"},
        {ID_FILE_PRINT, "document-print", QStyle::SP_CustomBase, "P"},
        {ID_APP_ABOUT, "help-about", QStyle::SP_MessageBoxInformation, "i"},
        {ID_CONTEXT_HELP, "help-contextual", QStyle::SP_TitleBarContextHelpButton, "?"},
        {ID_CONTEXT_HELP_HP, "help-browser", QStyle::SP_CustomBase, "HP?"},
    };
    for (const Face& face : kFaces) {
        if (face.id != id) continue;
        QIcon fallback = face.standard == QStyle::SP_CustomBase ? LetterIcon(QString::fromLatin1(face.letters))
                                                                : style->standardIcon(face.standard);
        return QIcon::fromTheme(QString::fromLatin1(face.theme), fallback);
    }
    return LetterIcon(QStringLiteral("?"));
}

}  // namespace

MainWindow::MainWindow(QtHost& host) : m_host(host)
{
    setObjectName(QStringLiteral("mainFrame"));
    setWindowTitle(Text(res::StringResource(IDR_MAINFRAME)));
    setAcceptDrops(true);
    // Where no placement was saved yet.
    resize(960, 680);
    m_mdi = new QMdiArea(this);
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdi);
    BuildMenuBars();
    BuildToolBar();
    BuildStatusBar();
    BuildAccelerators();
    BuildFrameKeys();
    connect(m_mdi, &QMdiArea::subWindowActivated, this, [this] { WindowsChanged(); });
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, [this] { ScheduleRefresh(); });
    ShowMenuBar(IDR_MAINFRAME);
}

MainWindow::~MainWindow()
{
    if (m_helpPointerShown) QApplication::restoreOverrideCursor();
}

QAction* MainWindow::MakeCommandAction(unsigned id, const QString& caption)
{
    auto* action = new QAction(caption, this);
    action->setObjectName(QString::number(id));
    action->setStatusTip(Text(res::CommandPrompt(id)));
    action->setToolTip(Text(res::CommandTooltip(id)));
    if (id == ID_VIEW_TOOLBAR || id == ID_VIEW_STATUS_BAR) action->setCheckable(true);
    connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
    m_commandActions.push_back(action);
    return action;
}

void MainWindow::BuildMenuBars()
{
    for (unsigned bar : {unsigned{IDR_MAINFRAME}, unsigned{IDR_ZAVIOTYPE}}) {
        for (const res::MenuPopup& popup : res::MenuBar(bar)) {
            auto* menu = new QMenu(Text(popup.caption), this);
            for (const res::MenuItem& item : popup.items) {
                if (item.id == 0)
                    menu->addSeparator();
                else
                    menu->addAction(MakeCommandAction(item.id, Text(item.caption)));
            }
            connect(menu, &QMenu::aboutToShow, this, [this] { RefreshCommandStates(); });
            if (menu->actions().contains(FindCommandAction(menu, ID_WINDOW_NEW)))
                connect(menu, &QMenu::aboutToShow, this, [this, menu] { ListWindows(*menu); });
            if (menu->actions().contains(FindCommandAction(menu, ID_APP_EXIT)))
                connect(menu, &QMenu::aboutToShow, this, [this, menu] { ListRecentFiles(*menu); });
            m_menus[bar].push_back(menu);
        }
    }
}

QAction* MainWindow::FindCommandAction(QMenu* menu, unsigned id)
{
    for (QAction* action : menu->actions())
        if (action->objectName() == QString::number(id)) return action;
    return nullptr;
}

// The window menu ends with the open document windows, the active one checked.
void MainWindow::ListWindows(QMenu& menu)
{
    for (QAction* action : menu.actions())
        if (action->property("windowEntry").toBool()) delete action;
    const QList<QMdiSubWindow*> windows = m_mdi->subWindowList(QMdiArea::CreationOrder);
    if (windows.isEmpty()) return;
    QAction* separator = menu.addSeparator();
    separator->setProperty("windowEntry", true);
    for (qsizetype i = 0; i < windows.size(); ++i) {
        QMdiSubWindow* window = windows[i];
        QAction* entry = menu.addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(window->windowTitle()));
        entry->setProperty("windowEntry", true);
        entry->setCheckable(true);
        entry->setChecked(window == m_mdi->currentSubWindow());
        connect(entry, &QAction::triggered, this, [this, window] { m_mdi->setActiveSubWindow(window); });
    }
}

// The File menu lists the newest recent files, numbered, above Exit.
void MainWindow::ListRecentFiles(QMenu& menu)
{
    for (QAction* action : menu.actions())
        if (action->property("recentEntry").toBool()) delete action;
    CZavioApp* app = App();
    QAction* exit = FindCommandAction(&menu, ID_APP_EXIT);
    if (!app || !exit || app->GetRecentFiles().empty()) return;
    const std::vector<std::string>& files = app->GetRecentFiles();
    const int width = fontMetrics().averageCharWidth() * 60;
    for (std::size_t i = 0; i < files.size() && i < kRecentFilesInMenu; ++i) {
        const QString path = QString::fromStdString(DecodeCp932Lossless(files[i]));
        const QString shown = fontMetrics().elidedText(path, Qt::ElideMiddle, width);
        auto* entry = new QAction(
            QStringLiteral("&%1 %2").arg(i + 1).arg(QString(shown).replace(u'&', QStringLiteral("&&"))), &menu);
        const unsigned id = ID_FILE_MRU_FILE1 + static_cast<unsigned>(i);
        entry->setObjectName(QString::number(id));
        entry->setStatusTip(path);
        entry->setProperty("recentEntry", true);
        connect(entry, &QAction::triggered, this, [this, id] { RunCommand(id); });
        menu.insertAction(exit, entry);
    }
    QAction* separator = menu.insertSeparator(exit);
    separator->setProperty("recentEntry", true);
}

void MainWindow::BuildToolBar()
{
    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QString::number(ID_VIEW_TOOLBAR));
    m_toolBar->setIconSize(QSize(16, 15));
    m_toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    for (unsigned id : res::ToolbarButtons()) {
        if (id == 0) {
            m_toolBar->addSeparator();
            continue;
        }
        QAction* action = MakeCommandAction(id, Text(res::CommandTooltip(id)));
        action->setIcon(ToolbarIcon(id, style()));
        m_toolBar->addAction(action);
    }
    addToolBar(Qt::TopToolBarArea, m_toolBar);
}

void MainWindow::BuildStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QString::number(ID_VIEW_STATUS_BAR));
    m_idleLabel = new QLabel(Text(res::StringResource(res::AFX_IDS_IDLEMESSAGE)), bar);
    m_idleLabel->setObjectName(QStringLiteral("idleText"));
    // Cut rather than widen the window beyond a small screen.
    m_idleLabel->setMinimumWidth(1);
    bar->addWidget(m_idleLabel, 1);
    for (const res::StatusPane& pane : res::StatusPanes()) {
        if (pane.id == 0) continue;
        auto* label = new QLabel(Text(pane.text), bar);
        label->setObjectName(QString::number(pane.id));
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setAlignment(Qt::AlignCenter);
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(label->text()) + 12);
        // The keyboard's lock states are not known here: the panes stay dim.
        label->setEnabled(false);
        bar->addPermanentWidget(label);
    }
}

void MainWindow::BuildAccelerators()
{
    for (const res::Accelerator& accelerator : res::Accelerators()) {
        QAction* action = MakeCommandAction(accelerator.id, QString());
        action->setShortcut(QKeySequence(Text(accelerator.keys), QKeySequence::PortableText));
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
        m_accelerators.push_back(action);
    }
}

// Switching document windows and opening the menu bar, as the platform's
// frame windows did on their own.
void MainWindow::BuildFrameKeys()
{
    for (const res::FrameKey& key : res::FrameKeys()) {
        auto* action = new QAction(this);
        action->setShortcut(QKeySequence(Text(key.keys), QKeySequence::PortableText));
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, [this, what = key.action] {
            if (what == res::FrameKey::NextWindow) m_mdi->activateNextSubWindow();
            if (what == res::FrameKey::PreviousWindow) m_mdi->activatePreviousSubWindow();
            if (what == res::FrameKey::MenuBar) menuBar()->setActiveAction(menuBar()->actions().value(0));
        });
        addAction(action);
    }
}

bool MainWindow::IsAcceleratorKey(const QKeySequence& keys)
{
    const auto is = [&keys](std::string_view text) {
        return QKeySequence(Text(text), QKeySequence::PortableText) == keys;
    };
    for (const res::Accelerator& accelerator : res::Accelerators())
        if (is(accelerator.keys)) return true;
    for (const res::FrameKey& key : res::FrameKeys())
        if (is(key.keys)) return true;
    return false;
}

void MainWindow::ShowMenuBar(unsigned id)
{
    if (m_menuBarId == id) return;
    m_menuBarId = id;
    menuBar()->clear();
    for (QMenu* menu : m_menus[id]) menuBar()->addMenu(menu);
}

CChildFrame* MainWindow::ActiveFrame() const
{
    return qobject_cast<CChildFrame*>(m_mdi->currentSubWindow());
}

ZavioTextEdit* MainWindow::ActiveEdit() const
{
    CChildFrame* frame = ActiveFrame();
    return frame ? frame->Edit() : nullptr;
}

void MainWindow::RunCommand(unsigned id)
{
    CZavioApp* app = App();
    if (!app) return;
    ++m_commandsRunning;
    bool handled = app->ExecuteCommand(id);
    --m_commandsRunning;
    RefreshCommandStates();
    emit commandRun(id, handled);
}

void MainWindow::WindowsChanged()
{
    ShowMenuBar(m_mdi->subWindowList().isEmpty() ? IDR_MAINFRAME : IDR_ZAVIOTYPE);
    UpdateCaption();
    ScheduleRefresh();
}

void MainWindow::ScheduleRefresh()
{
    if (m_refreshPending) return;
    m_refreshPending = true;
    QTimer::singleShot(0, this, [this] {
        if (m_refreshPending) RefreshCommandStates();
    });
}

void MainWindow::RefreshCommandStates()
{
    m_refreshPending = false;
    CZavioApp* app = App();
    ShowMenuBar(m_mdi->subWindowList().isEmpty() ? IDR_MAINFRAME : IDR_ZAVIOTYPE);
    if (app) {
        for (QAction* action : m_commandActions) {
            unsigned id = action->objectName().toUInt();
            action->setEnabled(app->IsCommandEnabled(id));
            if (action->isCheckable()) action->setChecked(m_host.IsControlBarVisible(id));
        }
    }
    UpdateCaption();
    UpdateHelpPointer();
}

void MainWindow::UpdateCaption()
{
    QString caption = Text(res::StringResource(IDR_MAINFRAME));
    if (CChildFrame* frame = ActiveFrame()) caption += QStringLiteral(" - ") + frame->windowTitle();
    setWindowTitle(caption);
}

// The help pointer shows while the help-mode is on.
void MainWindow::UpdateHelpPointer()
{
    CZavioApp* app = App();
    bool wanted = app && app->m_nHelpMode != 0;
    if (wanted == m_helpPointerShown) return;
    m_helpPointerShown = wanted;
    if (wanted)
        QApplication::setOverrideCursor(QCursor(Qt::WhatsThisCursor));
    else
        QApplication::restoreOverrideCursor();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // A conversion in progress still writes through its windows: it ends
    // (or is cancelled) first.
    if (m_host.IsShowingProgress()) {
        event->ignore();
        return;
    }
    CZavioApp* app = App();
    if (app && app->m_pMainFrame && !app->m_pMainFrame->OnClose()) {
        event->ignore();
        RefreshCommandStates();
        return;
    }
    event->accept();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void MainWindow::dragMoveEvent(QDragMoveEvent* event)
{
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event)
{
    CZavioApp* app = App();
    if (!app || !event->mimeData()->hasUrls()) return;
    event->acceptProposedAction();
    for (const QUrl& url : event->mimeData()->urls()) {
        if (!url.isLocalFile()) continue;
        // A name with no CP932 form cannot be a document's path.
        if (auto path = FromNativePath(url.toLocalFile().toStdString())) app->OpenDocumentFile(*path);
    }
    RefreshCommandStates();
}

}  // namespace zavio
