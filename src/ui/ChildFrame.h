// A document window: an MDI sub-window holding one text widget.
#pragma once

#include <QMdiSubWindow>

namespace zavio {

class CDocument;
class QtHost;
class ZavioTextEdit;

class CChildFrame : public QMdiSubWindow {
    Q_OBJECT
public:
    CChildFrame(QtHost& host, CDocument& doc, ZavioTextEdit* edit);

    CDocument& Document() const { return m_doc; }
    ZavioTextEdit* Edit() const { return m_edit; }

protected:
    // The close button asks the program; the program destroys the window.
    void closeEvent(QCloseEvent* event) override;

private:
    QtHost& m_host;
    CDocument& m_doc;
    ZavioTextEdit* m_edit;
};

}  // namespace zavio
