// Yawmark: starts the application and opens the main window.
#include "gui/AppInfo.h"
#include "gui/MainWindow.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Yawmark"));
    QApplication::setApplicationVersion(yawmark::appVersion());
    yawmark::MainWindow window;
    window.show();
    return QApplication::exec();
}
