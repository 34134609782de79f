#include "ScriptedQtHost.h"

#include <QDir>
#include <QMdiArea>
#include <QMenuBar>
#include <QPrinter>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QToolBar>

#include "framework/FileSystem.h"
#include "ui/ProgressDialog.h"

namespace zavio::test {

ScriptedQtHost::ScriptedQtHost()
{
    m_progressShowAfterMs = 0;
}

bool ScriptedQtHost::ShowProgress(std::string_view text, std::size_t done, std::size_t total)
{
    m_progressShown.push_back({QString::fromStdString(DecodeCp932Lossless(text)), done, total});
    const bool cancelled = QtHost::ShowProgress(text, done, total);
    if (m_cancelAtProgress != m_progressShown.size() - 1 || !Progress()) return cancelled;
    QTest::mouseClick(Progress()->CancelButton(), Qt::LeftButton);
    return Progress()->Cancelled();
}

unsigned ScriptedQtHost::SetTimer(unsigned id, unsigned milliseconds)
{
    return QtHost::SetTimer(id, milliseconds / m_timerSpeedUp);
}

int ScriptedQtHost::RunMessageBox(const QString& text, unsigned type)
{
    m_messages.push_back({text, type});
    if (m_realDialogs) return QtHost::RunMessageBox(text, type);
    if (!m_answers.empty()) {
        int answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }
    return (type == MB_YESNO || type == MB_YESNOCANCEL) ? IDYES : IDOK;
}

bool ScriptedQtHost::RunFileDialogBox(const FileDialogRequest& request, QStringList& nativePaths)
{
    ++m_fileDialogs;
    if (m_realDialogs) return QtHost::RunFileDialogBox(request, nativePaths);
    if (m_fileAnswers.empty()) return false;
    nativePaths = m_fileAnswers.front();
    m_fileAnswers.pop_front();
    return !nativePaths.isEmpty();
}

bool ScriptedQtHost::RunPrintDialog(QPrinter& printer, QWidget*)
{
    ++m_printDialogs;
    if (m_printToPdf.isEmpty()) return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(m_printToPdf);
    return true;
}

GuiFixture::GuiFixture() : m_startFolder(QDir::currentPath()), m_host(std::make_unique<ScriptedQtHost>())
{
    // Each test's settings live in its own folder, and the program is
    // started from there.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_folder.path() + QStringLiteral("/settings"));
    m_host->m_programFolder = *FromNativePath(m_folder.path().toStdString()) + '/';
    QDir::setCurrent(m_folder.path());
}

GuiFixture::~GuiFixture()
{
    Stop();
    QDir::setCurrent(m_startFolder);
}

bool GuiFixture::Start()
{
    m_app = std::make_unique<CZavioApp>(*m_host);
    return m_app->InitInstance();
}

bool GuiFixture::StartShown()
{
    return Start() && QTest::qWaitForWindowExposed(Window());
}

void GuiFixture::Stop()
{
    m_app.reset();
    AfxSetApp(nullptr);
    m_host.reset();
}

QString GuiFixture::Setting(const QString& key) const
{
    QSettings settings(QStringLiteral("zavio"), QStringLiteral("zavio"));
    return settings.value(key).toString();
}

void GuiFixture::SetSetting(const QString& key, const QString& value) const
{
    QSettings settings(QStringLiteral("zavio"), QStringLiteral("zavio"));
    settings.setValue(key, value);
}

QAction* GuiFixture::MenuAction(unsigned id) const
{
    for (QAction* top : Window()->menuBar()->actions()) {
        if (!top->menu()) continue;
        for (QAction* action : top->menu()->actions())
            if (action->objectName() == QString::number(id)) return action;
    }
    return nullptr;
}

QAction* GuiFixture::ToolbarAction(unsigned id) const
{
    for (QAction* action : Window()->ToolBar()->actions())
        if (action->objectName() == QString::number(id)) return action;
    return nullptr;
}

QStringList GuiFixture::MenuTitles() const
{
    QStringList titles;
    for (QAction* top : Window()->menuBar()->actions()) titles << top->text();
    return titles;
}

int GuiFixture::WindowCount() const
{
    return static_cast<int>(Window()->Mdi()->subWindowList().size());
}

}  // namespace zavio::test
