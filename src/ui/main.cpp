#include <QApplication>
#include <QFileInfo>
#include <QUrl>
#include <iostream>

#include "app/ZavioApp.h"
#include "ui/CommandLine.h"
#include "ui/QtHost.h"
#include "ui/SingleInstance.h"

int main(int argc, char* argv[])
{
    if (std::optional<int> status = zavio::AnswerInfoOption(argc, argv, std::cout)) return *status;
    QApplication qapp(argc, argv);
    // The files the desktop asks to open (Exec=zavio %F), made absolute: a
    // running copy works in another folder.
    QStringList files;
    for (const QString& arg : qapp.arguments().mid(1))
        files << QFileInfo(arg.startsWith(QStringLiteral("file:")) ? QUrl(arg).toLocalFile() : arg).absoluteFilePath();
    const QString socket = zavio::InstanceSocketPath();
    if (!files.isEmpty() && zavio::HandFilesToRunningCopy(socket, files)) return 0;

    zavio::QtHost host;
    zavio::CZavioApp app(host);
    if (!app.InitInstance()) return 0;
    host.ListenForOtherCopies(socket);
    host.OpenFiles(files);
    return qapp.exec();
}
