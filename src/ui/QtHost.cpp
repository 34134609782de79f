#include "ui/QtHost.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLayout>
#include <QMdiArea>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProcess>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <utility>

#include "app/MainFrame.h"
#include "app/ZavioApp.h"
#include "framework/Cp932.h"
#include "framework/Document.h"
#include "framework/FileError.h"
#include "framework/FileSystem.h"
#include "framework/Path.h"
#include "res/CommandIds.h"
#include "res/Resources.h"
#include "ui/AboutDialog.h"
#include "ui/AppIcon.h"
#include "ui/ChildFrame.h"
#include "ui/MainWindow.h"
#include "ui/MessageBox.h"
#include "ui/PrintSetupDialog.h"
#include "ui/ProgressDialog.h"
#include "ui/SingleInstance.h"
#include "ui/TextEdit.h"
#include "ui/Translation.h"

namespace zavio {
namespace {

QString FromCp932(std::string_view bytes)
{
    return QString::fromStdString(DecodeCp932Lossless(bytes));
}
std::string ToCp932Text(const QString& text)
{
    return EncodeCp932Lossless(text.toStdString());
}

QString ToNative(std::string_view cp932Path)
{
    auto native = ToNativePath(cp932Path);
    return native ? QString::fromStdString(*native) : QString();
}

QString AppTitle()
{
    std::string_view title = res::StringResource(res::AFX_IDS_APP_TITLE);
    return QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size()));
}

// "caption|patterns|caption|patterns||" as Qt name filters. Qt reads a
// filter's patterns from its last parentheses and, with the details hidden,
// shows the text before them: so each caption shows as written. "*.*" meant
// every file on the original platform, names without an extension included.
QStringList NameFilters(const std::string& filter)
{
    QStringList parts = FromCp932(filter).split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty()) break;
        QStringList patterns = parts[i + 1].split(u';', Qt::SkipEmptyParts);
        for (QString& pattern : patterns)
            if (pattern == QStringLiteral("*.*")) pattern = QStringLiteral("*");
        filters << parts[i] + QStringLiteral(" (") + patterns.join(u' ') + u')';
    }
    return filters;
}

constexpr std::string_view kNoViewer =
    " を表示できませんでした\n\n表示するプログラム (ブラウザ、CHM ビューア) を起動できません";

// The extension of a filter's first pattern ("*.htm" gives "htm"), or none.
QString FilterExtension(const QString& nameFilter)
{
    const qsizetype open = nameFilter.lastIndexOf(u'(');
    const QString first = nameFilter.mid(open + 1).chopped(1).section(u' ', 0, 0);
    const QString ext = first.startsWith(QStringLiteral("*.")) ? first.mid(2) : QString();
    if (ext.contains(u'*') || ext.contains(u'?')) return {};
    return ext;
}

// The window manager's frame around a window: known once it was shown, else
// a title bar and a border as the style draws them.
QMargins FrameAllowance(const QWidget& window)
{
    const QRect frame = window.frameGeometry(), inner = window.geometry();
    if (frame != inner)
        return {inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
                frame.bottom() - inner.bottom()};
    const int border = window.style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
    return {border, window.style()->pixelMetric(QStyle::PM_TitleBarHeight) + border, border, border};
}

}  // namespace

QRect FitIntoArea(QRect wanted, const QRect& area, const QMargins& frame, const QSize& minimum)
{
    const QRect room = area.marginsRemoved(frame);
    wanted.setSize(wanted.size().boundedTo(room.size()).expandedTo(minimum));
    if (wanted.right() > room.right()) wanted.moveRight(room.right());
    if (wanted.bottom() > room.bottom()) wanted.moveBottom(room.bottom());
    if (wanted.left() < room.left()) wanted.moveLeft(room.left());
    if (wanted.top() < room.top()) wanted.moveTop(room.top());
    return wanted;
}

// At a large scale a dialog's natural size can be more than the screen, and
// its buttons would lie off it.
void FitDialogOnScreen(QWidget& dialog)
{
    const QWidget* parent = dialog.parentWidget();
    const QScreen* screen = parent ? parent->screen() : dialog.screen();
    if (!screen) return;
    dialog.ensurePolished();
    const QSize size = dialog.testAttribute(Qt::WA_Resized) ? dialog.size() : dialog.sizeHint();
    const QRect fitted = FitIntoArea(QRect(screen->availableGeometry().topLeft(), size), screen->availableGeometry(),
                                     FrameAllowance(dialog), dialog.minimumSizeHint());
    if (fitted.size() != size) dialog.resize(fitted.size());
}

QtHost::QtHost() = default;

QtHost::~QtHost()
{
    for (auto& [handle, timer] : m_timers) delete timer;
}

bool QtHost::CreateMainWindow()
{
    InstallJapaneseTranslation();
    if (QApplication::windowIcon().isNull()) QApplication::setWindowIcon(AppIcon());
    m_window = std::make_unique<MainWindow>(*this);
    return true;
}

std::string QtHost::ProgramFolder()
{
    auto folder = FromNativePath(QCoreApplication::applicationDirPath().toStdString());
    return folder ? *folder + kPathSep : std::string();
}

std::vector<std::string> QtHost::WorkingFolders()
{
    return PrivateFolderPlaces("zavio");
}

// ---- Document windows ----

std::unique_ptr<EditControl> QtHost::CreateDocumentWindow(CDocument& doc)
{
    if (!m_window) return nullptr;
    auto control = std::make_unique<QtEditControl>(*this, doc);
    m_controls[&doc] = control.get();
    AddFrame(doc, *control);
    return control;
}

CChildFrame* QtHost::AddFrame(CDocument& doc, QtEditControl& control)
{
    ZavioTextEdit* edit = control.CreateEdit();
    auto* frame = new CChildFrame(*this, doc, edit);
    m_window->Mdi()->addSubWindow(frame);
    QObject::connect(edit, &QPlainTextEdit::selectionChanged, m_window.get(),
                     [w = m_window.get()] { w->ScheduleRefresh(); });
    QObject::connect(edit, &QPlainTextEdit::undoAvailable, m_window.get(),
                     [w = m_window.get()] { w->ScheduleRefresh(); });
    QObject::connect(edit, &ZavioTextEdit::leftButtonReleased, m_window.get(),
                     [w = m_window.get()] { w->RefreshCommandStates(); });
    RetitleFrames(doc);
    return frame;
}

void QtHost::ShowDocumentWindow(CDocument& doc)
{
    for (CChildFrame* frame : FramesOf(doc)) {
        frame->show();
        m_window->Mdi()->setActiveSubWindow(frame);
        frame->Edit()->setFocus();
    }
    AfterWindowsChanged();
}

void QtHost::DocumentTitleChanged(CDocument& doc)
{
    RetitleFrames(doc);
    if (m_window) m_window->WindowsChanged();
}

void QtHost::DocumentModifiedChanged(CDocument& doc)
{
    DocumentTitleChanged(doc);
}

// A window with unsaved changes says so with a "*" before its title, as
// desktop editors do.
void QtHost::RetitleFrames(const CDocument& doc)
{
    std::vector<CChildFrame*> frames = FramesOf(doc);
    const QString title = (doc.IsModified() ? QStringLiteral("*") : QString()) + FromCp932(doc.GetTitle());
    for (std::size_t i = 0; i < frames.size(); ++i)
        frames[i]->setWindowTitle(frames.size() == 1 ? title : title + u':' + QString::number(i + 1));
}

void QtHost::DestroyDocumentWindow(CDocument& doc)
{
    // Freed at once: a conversion opens and closes many windows in one go.
    for (CChildFrame* frame : FramesOf(doc)) {
        m_window->Mdi()->removeSubWindow(frame);
        delete frame;
    }
    m_controls.erase(&doc);
    AfterWindowsChanged();
}

void QtHost::CloseFrame(CChildFrame* frame)
{
    CDocument& doc = frame->Document();
    if (FramesOf(doc).size() > 1) {
        m_window->Mdi()->removeSubWindow(frame);
        delete frame;
        RetitleFrames(doc);
        AfterWindowsChanged();
        return;
    }
    if (doc.SaveModified()) doc.OnCloseDocument();
    if (m_window) m_window->RefreshCommandStates();
}

std::vector<CChildFrame*> QtHost::FramesOf(const CDocument& doc) const
{
    std::vector<CChildFrame*> frames;
    if (!m_window) return frames;
    for (QMdiSubWindow* sub : m_window->Mdi()->subWindowList(QMdiArea::CreationOrder)) {
        auto* frame = qobject_cast<CChildFrame*>(sub);
        if (frame && &frame->Document() == &doc) frames.push_back(frame);
    }
    return frames;
}

void QtHost::AfterWindowsChanged()
{
    if (m_window) m_window->WindowsChanged();
}

CDocument* QtHost::ActiveDocument()
{
    CChildFrame* frame = m_window ? m_window->ActiveFrame() : nullptr;
    return frame ? &frame->Document() : nullptr;
}

// Tiled one above the other, each the full width of the area.
void QtHost::TileDocumentWindows()
{
    if (!m_window) return;
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* sub : m_window->Mdi()->subWindowList(QMdiArea::CreationOrder))
        if (sub->isVisible() && !sub->isMinimized()) windows << sub;
    if (windows.isEmpty()) return;
    // The area's size, laid out now: start-up tiles before the first paint.
    if (m_window->layout()) m_window->layout()->activate();
    const QRect area(QPoint(0, 0), m_window->Mdi()->contentsRect().size());
    const int height = qMax(1, area.height() / static_cast<int>(windows.size()));
    for (qsizetype i = 0; i < windows.size(); ++i) {
        if (windows[i]->isMaximized()) windows[i]->showNormal();
        windows[i]->setGeometry(0, static_cast<int>(i) * height, area.width(), height);
    }
}

void QtHost::OpenNewWindowOnActiveDocument()
{
    CDocument* doc = ActiveDocument();
    auto it = doc ? m_controls.find(doc) : m_controls.end();
    if (it == m_controls.end()) return;
    CChildFrame* frame = AddFrame(*doc, *it->second);
    frame->show();
    m_window->Mdi()->setActiveSubWindow(frame);
    AfterWindowsChanged();
}

// Each window most of the area, the next one a title bar lower and further
// right, as the platform's cascade did; where more offsets would leave the
// windows small, the cascade starts again at the top left.
void QtHost::CascadeDocumentWindows()
{
    if (!m_window) return;
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* sub : m_window->Mdi()->subWindowList(QMdiArea::CreationOrder))
        if (sub->isVisible() && !sub->isMinimized()) windows << sub;
    if (windows.isEmpty()) return;
    QMdiSubWindow* active = m_window->Mdi()->activeSubWindow();
    if (m_window->layout()) m_window->layout()->activate();
    const QSize area = m_window->Mdi()->viewport()->size();
    QStyle* style = windows.first()->style();
    const int step = qMax(1, style->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, windows.first()) +
                                 style->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, windows.first()));
    // The offsets take at most a third of the area.
    const int fit = qMax(1, qMin(area.width(), area.height()) / 3 / step + 1);
    const int rows = qMin(static_cast<int>(windows.size()), fit);
    const QSize size(qMax(1, area.width() - (rows - 1) * step), qMax(1, area.height() - (rows - 1) * step));
    for (qsizetype i = 0; i < windows.size(); ++i) {
        const int offset = static_cast<int>(i % fit) * step;
        if (windows[i]->isMaximized()) windows[i]->showNormal();
        windows[i]->setGeometry(QRect(QPoint(offset, offset), size));
        windows[i]->raise();
    }
    if (active) m_window->Mdi()->setActiveSubWindow(active);
}

// Minimised windows in a row along the bottom of the area.
void QtHost::ArrangeDocumentIcons()
{
    if (!m_window) return;
    const QRect area = m_window->Mdi()->viewport()->rect();
    int x = 0;
    for (QMdiSubWindow* sub : m_window->Mdi()->subWindowList(QMdiArea::CreationOrder)) {
        if (!sub->isMinimized()) continue;
        QSize size = sub->size();
        sub->move(x, area.bottom() - size.height() + 1);
        x += size.width();
    }
}

// ---- Files from the desktop ----

void QtHost::OpenFiles(const QStringList& nativePaths)
{
    m_pendingFiles << nativePaths;
    ScheduleNextFile(0);
}

void QtHost::ScheduleNextFile(int delayMs)
{
    if (m_nextFileScheduled || m_pendingFiles.isEmpty() || !m_window) return;
    m_nextFileScheduled = true;
    QTimer::singleShot(delayMs, m_window.get(), [this] {
        m_nextFileScheduled = false;
        OpenNextFile();
    });
}

// One file per turn of the event loop, never inside another's handling: a
// file that cannot be opened shows its box, whose own loop runs the program
// meanwhile, and whoever handed the files over (a socket's handler) has
// long returned.
void QtHost::OpenNextFile()
{
    CZavioApp* app = static_cast<CZavioApp*>(AfxGetApp());
    if (m_pendingFiles.isEmpty() || !m_window || !app) return;
    // Not inside a dialog's own loop, a command or the file before: the
    // program waits there for an answer in the middle of its work.
    if (m_openingFile || QApplication::activeModalWidget() || m_window->IsRunningCommand()) {
        ScheduleNextFile(200);
        return;
    }
    const QString file = m_pendingFiles.takeFirst();
    m_openingFile = true;
    if (auto path = FromNativePath(file.toStdString()))
        app->OpenDocumentFile(*path);
    else
        AfxMessageBox(WithLastFileErrorReason(ToCp932Text(file) + ToCp932("　はオープンできませんでした")));
    m_openingFile = false;
    if (!m_window) return;
    m_window->RefreshCommandStates();
    ScheduleNextFile(0);
}

bool QtHost::ListenForOtherCopies(const QString& socketPath)
{
    m_instanceServer = std::make_unique<InstanceServer>();
    if (!m_instanceServer->Listen(socketPath)) {
        m_instanceServer.reset();
        return false;
    }
    QObject::connect(m_instanceServer.get(), &InstanceServer::filesReceived, m_instanceServer.get(),
                     [this](const QStringList& files) {
                         if (m_window) {
                             m_window->setWindowState(m_window->windowState() & ~Qt::WindowMinimized);
                             m_window->raise();
                             m_window->activateWindow();
                         }
                         OpenFiles(files);
                     });
    return true;
}

// ---- Modal questions ----

int QtHost::MessageBox(std::string_view text, unsigned type)
{
    return RunMessageBox(FromCp932(text), type);
}

int QtHost::RunMessageBox(const QString& text, unsigned type)
{
    MessageBoxDialog box(AppTitle(), text, type, m_window.get());
    box.exec();
    return box.Answer();
}

bool QtHost::RunFileDialog(const FileDialogRequest& request, FileDialogResult& result)
{
    QStringList native;
    if (!RunFileDialogBox(request, native) || native.isEmpty()) return false;
    result.paths.clear();
    for (const QString& path : native) {
        // A name with no CP932 form cannot be opened or saved by the program.
        auto cp932 = FromNativePath(path.toStdString());
        if (!cp932) {
            AfxMessageBox(WithLastFileErrorReason(ToCp932Text(path) + ToCp932("　はオープンできませんでした")));
            return false;
        }
        result.paths.push_back(*cp932);
    }
    return true;
}

void SetUpFileDialog(QFileDialog& dialog, const FileDialogRequest& request)
{
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(NameFilters(request.filter));
    dialog.setDirectory(ToNative(request.initialFolder));
    if (request.openKind) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode((request.flags & OFN_ALLOWMULTISELECT) ? QFileDialog::ExistingFiles
                                                                  : QFileDialog::ExistingFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        if (!(request.flags & OFN_OVERWRITEPROMPT)) dialog.setOption(QFileDialog::DontConfirmOverwrite);
    }
    if (request.defaultExt && !request.defaultExt->empty()) {
        dialog.setDefaultSuffix(FromCp932(*request.defaultExt));
    } else if (request.defaultExt) {
        // An empty default extension: a name typed without one takes the
        // selected filter's, and the overwrite question asks about that name.
        dialog.setDefaultSuffix(FilterExtension(dialog.selectedNameFilter()));
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                         [&dialog](const QString& filter) { dialog.setDefaultSuffix(FilterExtension(filter)); });
    }
    if (!request.fileName.empty()) dialog.selectFile(FromCp932(request.fileName));
}

bool QtHost::RunFileDialogBox(const FileDialogRequest& request, QStringList& nativePaths)
{
    QFileDialog dialog(m_window.get());
    SetUpFileDialog(dialog, request);
    FitDialogOnScreen(dialog);
    if (dialog.exec() != QDialog::Accepted) return false;
    nativePaths = dialog.selectedFiles();
    return true;
}

// ---- Shell, cursors, standard dialogs ----

void QtHost::ShellOpen(std::string_view path)
{
    OpenWithDesktop(ToNative(path));
}

// The viewer runs on its own, started by the desktop's opener. When the file
// cannot be shown (no file, no opener, no browser or CHM viewer) the user is
// told which file: a help command must not fail as if it had worked.
void QtHost::OpenWithDesktop(const QString& nativePath)
{
    const auto notShown = [](const QString& path, std::string_view why) {
        AfxMessageBox(ToCp932Text(path) + ToCp932(why));
    };
    if (!QFileInfo(nativePath).isFile()) {
        notShown(nativePath, " が見つからないため表示できませんでした");
        return;
    }
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty()) {
        if (!QDesktopServices::openUrl(QUrl::fromLocalFile(nativePath))) notShown(nativePath, kNoViewer);
        return;
    }
    // xdg-open reports whether the viewer started; some desktops' openers
    // wait for the viewer, so the answer is taken when it comes.
    auto* process = new QProcess(m_window.get());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [process, nativePath, notShown](QProcess::ProcessError error) {
                         if (error != QProcess::FailedToStart) return;
                         process->deleteLater();
                         notShown(nativePath, kNoViewer);
                     });
    QObject::connect(process, &QProcess::finished, process,
                     [process, nativePath, notShown](int code, QProcess::ExitStatus status) {
                         process->deleteLater();
                         if (status != QProcess::NormalExit || code != 0) notShown(nativePath, kNoViewer);
                     });
    process->start(opener, {nativePath});
}

void QtHost::BeginWaitCursor()
{
    QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}
void QtHost::EndWaitCursor()
{
    QApplication::restoreOverrideCursor();
}

// Between two of the work's steps: an event-loop turn per step would cost
// more than many steps (a conversion writes a page in a millisecond or two).
constexpr qint64 kProgressTurnMs = 50;

bool QtHost::ShowProgress(std::string_view text, std::size_t done, std::size_t total)
{
    if (!m_window) return false;
    if (!m_progress) {
        m_progress = std::make_unique<ProgressDialog>(AppTitle(), m_window.get());
        m_progressClock.start();
        m_progressTurnMs = -kProgressTurnMs;
    }
    const qint64 now = m_progressClock.elapsed();
    if (now - m_progressTurnMs >= kProgressTurnMs) {
        m_progressTurnMs = now;
        m_progress->Set(FromCp932(text), done, total);
        if (!m_progress->isVisible() && now >= m_progressShowAfterMs) {
            FitDialogOnScreen(*m_progress);
            m_progress->show();
        }
        // Paints the windows (the area a question box left, the dialog). The
        // dialog, once shown, is modal and takes the user's input alone;
        // before, the user's input waits until the work is done.
        QCoreApplication::processEvents(m_progress->isVisible() ? QEventLoop::AllEvents
                                                                : QEventLoop::ExcludeUserInputEvents);
    }
    return m_progress && m_progress->Cancelled();
}

void QtHost::EndProgress()
{
    m_progress.reset();
}

void QtHost::ShowAboutBox()
{
    RunAboutBox();
}

void QtHost::RunAboutBox()
{
    std::unique_ptr<QDialog> dialog(CreateAboutDialog(m_window.get()));
    FitDialogOnScreen(*dialog);
    dialog->exec();
}

void QtHost::ShowPrintSetup()
{
    RunPrintSetupDialog(Printer());
}

void QtHost::RunPrintSetupDialog(QPrinter& printer)
{
    PrintSetupDialog dialog(printer, m_window.get());
    FitDialogOnScreen(dialog);
    dialog.exec();
}

QPrinter& QtHost::Printer()
{
    if (!m_printer) m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
}

void QtHost::PrintEdit(QPlainTextEdit& edit)
{
    if (RunPrintDialog(Printer(), &edit)) edit.print(&Printer());
}

void QtHost::PreviewEdit(QPlainTextEdit& edit)
{
    RunPrintPreview(Printer(), edit);
}

bool QtHost::RunPrintDialog(QPrinter& printer, QWidget* parent)
{
    QPrintDialog dialog(&printer, parent);
    FitDialogOnScreen(dialog);
    return dialog.exec() == QDialog::Accepted;
}

void QtHost::RunPrintPreview(QPrinter& printer, QPlainTextEdit& edit)
{
    QPrintPreviewDialog dialog(&printer, m_window.get());
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &edit,
                     [&edit](QPrinter* target) { edit.print(target); });
    FitDialogOnScreen(dialog);
    dialog.exec();
}

void QtHost::RequestMainWindowClose()
{
    if (m_window) m_window->close();
}

// ---- The main window ----

bool QtHost::GetMainWindowPlacement(WindowPlacement& placement)
{
    if (!m_window) return false;
    const QRect normal = m_window->normalGeometry().isValid() ? m_window->normalGeometry() : m_window->geometry();
    placement.showCmd = m_window->isMinimized()   ? SW_SHOWMINIMIZED
                        : m_window->isMaximized() ? SW_SHOWMAXIMIZED
                                                  : SW_SHOWNORMAL;
    placement.minX = placement.minY = placement.maxX = placement.maxY = -1;
    placement.left = normal.left();
    placement.top = normal.top();
    placement.right = normal.left() + normal.width();
    placement.bottom = normal.top() + normal.height();
    return true;
}

// A placement saved on another screen, or at another scale, may not fit this
// one: it is moved and shrunk onto the screen its centre lies on, else the
// window's own.
void QtHost::SetMainWindowPlacement(const WindowPlacement& placement)
{
    if (!m_window) return;
    const QRect saved(placement.left, placement.top, placement.right - placement.left,
                      placement.bottom - placement.top);
    const QScreen* screen = QGuiApplication::screenAt(saved.center());
    if (!screen) screen = m_window->screen();
    m_window->setGeometry(
        screen ? FitIntoArea(saved, screen->availableGeometry(), FrameAllowance(*m_window), m_window->minimumSizeHint())
               : saved);
}

bool QtHost::IsMainWindowZoomed()
{
    return m_window && m_window->isMaximized();
}

bool QtHost::ShowMainWindow(int showCmd)
{
    if (!m_window) return false;
    bool wasVisible = m_window->isVisible();
    switch (showCmd) {
        case SW_HIDE:
            m_window->hide();
            break;
        case SW_SHOWMINIMIZED:
            m_window->showMinimized();
            break;
        case SW_SHOWMAXIMIZED:
            m_window->showMaximized();
            break;
        default:
            // Showing an already visible window again keeps it maximised: the
            // placement just restored is what the user left.
            if (wasVisible)
                m_window->show();
            else
                m_window->showNormal();
            m_window->activateWindow();
            break;
    }
    return wasVisible;
}

void QtHost::UpdateMainWindow()
{
    if (m_window) m_window->update();
}

bool QtHost::IsControlBarVisible(unsigned barId)
{
    if (!m_window) return false;
    if (barId == ID_VIEW_TOOLBAR) return !m_window->ToolBar()->isHidden();
    if (barId == ID_VIEW_STATUS_BAR) return !m_window->statusBar()->isHidden();
    return false;
}

void QtHost::ShowControlBar(unsigned barId, bool show)
{
    if (!m_window) return;
    if (barId == ID_VIEW_TOOLBAR) m_window->ToolBar()->setVisible(show);
    if (barId == ID_VIEW_STATUS_BAR) m_window->statusBar()->setVisible(show);
}

// ---- Timers and the profile ----

unsigned QtHost::SetTimer(unsigned id, unsigned milliseconds)
{
    auto* timer = new QTimer();
    timer->setInterval(static_cast<int>(milliseconds));
    QObject::connect(timer, &QTimer::timeout, timer, [id] {
        if (CZavioApp* app = static_cast<CZavioApp*>(AfxGetApp()); app && app->m_pMainFrame) {
            app->m_pMainFrame->OnTimer(id);
        }
    });
    timer->start();
    unsigned handle = ++m_nextTimer;
    m_timers[handle] = timer;
    return handle;
}

void QtHost::KillTimer(unsigned handle)
{
    auto it = m_timers.find(handle);
    if (it == m_timers.end()) return;
    // The tick that stops a timer runs inside that timer's own signal.
    it->second->stop();
    it->second->deleteLater();
    m_timers.erase(it);
    if (m_window) m_window->ScheduleRefresh();
}

// One store for the host's life: each saved document rewrites the recent-file
// list, and a store per call would write the file to disk every time. It is
// the program's own file in the user's settings folder (zavio/zavio.conf);
// the settings of earlier versions, kept under the original's registry
// names, move there the first time.
QSettings& QtHost::Profile()
{
    if (m_profile) return *m_profile;
    const QString now = QSettings(QStringLiteral("zavio"), QStringLiteral("zavio")).fileName();
    const QString earlier =
        QSettings(QStringLiteral("Local AppWizard-Generated Applications"), QStringLiteral("Zavio")).fileName();
    if (!QFileInfo::exists(now) && QFileInfo(earlier).isFile() && QDir().mkpath(QFileInfo(now).path()) &&
        QFile::rename(earlier, now))
        QDir().rmdir(QFileInfo(earlier).path());  // only when nothing else is left there
    m_profile = std::make_unique<QSettings>(QStringLiteral("zavio"), QStringLiteral("zavio"));
    return *m_profile;
}

std::string QtHost::GetProfileString(std::string_view section, std::string_view key)
{
    QVariant value = Profile().value(FromCp932(section) + u'/' + FromCp932(key));
    return value.isValid() ? ToCp932Text(value.toString()) : std::string();
}

void QtHost::WriteProfileString(std::string_view section, std::string_view key, std::string_view value)
{
    Profile().setValue(FromCp932(section) + u'/' + FromCp932(key), FromCp932(value));
    // The placement is written as the window closes: on disk at once.
    if (section == "Settings") Profile().sync();
}

}  // namespace zavio
