// Yawmark: starts the application and opens the main window.
#include "app/frmGraph.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Yawmark"));
    QApplication::setApplicationVersion(QStringLiteral("1.2.0"));
    yawmark::frmGraph window;
    window.show();
    return QApplication::exec();
}
