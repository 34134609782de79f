#include <QApplication>

#include "app/ZavioApp.h"
#include "ui/QtHost.h"

int main(int argc, char* argv[])
{
    QApplication qapp(argc, argv);
    zavio::QtHost host;
    zavio::CZavioApp app(host);
    if (!app.InitInstance()) return 0;
    return qapp.exec();
}
