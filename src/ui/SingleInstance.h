// One running copy per user takes the files of every later start, as the
// shell's open request reached the running program on the original platform.
// The copies meet at a local socket in the user's own folder.
#pragma once

#include <QObject>
#include <QStringList>

class QLocalServer;

namespace zavio {

// The socket of the running copy, or empty when the user has no folder of
// the program's own.
QString InstanceSocketPath();

// Hands the files (absolute native paths) to the copy listening at the
// socket; true when it took them.
bool HandFilesToRunningCopy(const QString& socketPath, const QStringList& files);

// The running copy's side: receives the files of later starts.
class InstanceServer : public QObject {
    Q_OBJECT
public:
    explicit InstanceServer(QObject* parent = nullptr);
    // False when another copy listens there already, or the socket cannot
    // be made; this copy then runs on its own.
    bool Listen(const QString& socketPath);

signals:
    // From the event loop, after the connection's handler has returned.
    void filesReceived(const QStringList& nativePaths);

private:
    void OnConnection();

    QLocalServer* m_server = nullptr;
};

}  // namespace zavio
