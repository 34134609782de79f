#include "ui/ChildFrame.h"

#include <QCloseEvent>
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
