#include "ui/ChildFrame.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenu>
#include <QPointer>
#include <QTimer>

#include "ui/MainWindow.h"
#include "ui/QtHost.h"
#include "ui/TextEdit.h"

namespace zavio {

CChildFrame::CChildFrame(QtHost& host, CDocument& doc, ZavioTextEdit* edit) : m_host(host), m_doc(doc), m_edit(edit)
{
    setWidget(edit);
    setAttribute(Qt::WA_DeleteOnClose, false);
    // Ctrl+F4 closes a document window on every desktop, as on the original
    // platform; some desktops' key schemes give the window's Close only Ctrl+W.
    const QKeySequence ctrlF4(QStringLiteral("Ctrl+F4"));
    const QList<QKeySequence> platformClose = QKeySequence::keyBindings(QKeySequence::Close);
    for (QAction* action : systemMenu()->actions()) {
        if (action->shortcuts() != platformClose || platformClose.contains(ctrlF4)) continue;
        action->setShortcuts(QList<QKeySequence>{ctrlF4} + platformClose);
    }
}

void CChildFrame::closeEvent(QCloseEvent* event)
{
    event->ignore();
    // Closing may delete this window; do it once its event has returned.
    QPointer<CChildFrame> self(this);
    QTimer::singleShot(0, m_host.Window(), [self, host = &m_host] {
        if (self) host->CloseFrame(self);
    });
}

}  // namespace zavio
