// SPDX-License-Identifier: MIT
// Yawmark: reads the command line, then starts the application and opens the
// main window.
#include "gui/AppInfo.h"
#include "gui/CaseDocument.h"
#include "gui/CaseFiles.h"
#include "gui/MainWindow.h"
#include "gui/ParameterPanel.h"
#include "io/Vehicles.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>

#include <cstdio>
#include <vector>

namespace {

// --help and --version answer without a display, so the command line is read
// before the application (which needs one) starts. Returns the exit status,
// or -1 to go on with the case file to open, if one was named.
int readCommandLine(int argc, char* argv[], QString& caseFile) {
    // A core application names the program in the usage; it needs no display.
    // (argv[0] as the program's name, however it was started).
    char programName[] = "yawmark";
    std::vector<char*> coreArgv(argv, argv + argc);
    coreArgv[0] = programName;
    int coreArgc = argc;
    QCoreApplication core(coreArgc, coreArgv.data());
    QCoreApplication::setApplicationName(QStringLiteral("yawmark"));
    QCoreApplication::setApplicationVersion(yawmark::appVersion());
    const QStringList args = QCoreApplication::arguments();
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Simulates, in two dimensions, how a car skids when the handbrake locks "
                       "its rear wheels while the front wheels keep rolling."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("CASE"),
                                 QStringLiteral("A case file (.yawmark) to open."),
                                 QStringLiteral("[CASE.yawmark]"));
    // Qt's own options (-platform, -style, ...) are the application's to take.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.parse(args);
    const auto print = [](FILE* to, const QString& text) {
        std::fputs(text.toLocal8Bit().constData(), to);
    };
    // Options Qt itself takes are the application's; anything else is refused.
    static const QStringList qtOptions{QStringLiteral("platform"),
                                       QStringLiteral("style"),
                                       QStringLiteral("display"),
                                       QStringLiteral("geometry"),
                                       QStringLiteral("platformpluginpath"),
                                       QStringLiteral("platformtheme"),
                                       QStringLiteral("plugin"),
                                       QStringLiteral("reverse"),
                                       QStringLiteral("qwindowgeometry"),
                                       QStringLiteral("qwindowtitle"),
                                       QStringLiteral("qwindowicon"),
                                       QStringLiteral("stylesheet"),
                                       QStringLiteral("session"),
                                       QStringLiteral("name"),
                                       QStringLiteral("title"),
                                       QStringLiteral("widgetcount")};
    if (parser.isSet(help)) {
        print(stdout, parser.helpText());
        return 0;
    }
    if (parser.isSet(QStringLiteral("help-all"))) {
        print(stdout, parser.helpText() + QStringLiteral("\nQt's own options are taken too: -") +
                          qtOptions.join(QStringLiteral(", -")) +
                          QStringLiteral(" (see the Qt documentation of QApplication).\n"));
        return 0;
    }
    if (parser.isSet(version)) {
        print(stdout,
              yawmark::appTitle() + QLatin1Char(' ') + yawmark::appVersion() + QLatin1Char('\n'));
        return 0;
    }
    for (const QString& name : parser.unknownOptionNames()) {
        if (qtOptions.contains(name)) continue;
        print(stderr, QStringLiteral("yawmark: unknown option \"%1\".\n\n").arg(name));
        print(stderr, parser.helpText());
        return 2;
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        print(stderr, QStringLiteral("yawmark: give one case file.\n\n") + parser.helpText());
        return 2;
    }
    if (files.size() == 1 && files[0].isEmpty()) { // not a start without one
        print(stderr,
              QStringLiteral("yawmark: the case file name is empty.\n\n") + parser.helpText());
        return 2;
    }
    caseFile = files.value(0);
    return -1;
}

} // namespace

int main(int argc, char* argv[]) {
    QString caseFile;
    if (const int status = readCommandLine(argc, argv, caseFile); status >= 0) return status;
    QApplication app(argc, argv);
    QApplication::setApplicationName(yawmark::appTitle());
    QApplication::setApplicationVersion(yawmark::appVersion());
    // Settings in ~/.config/yawmark/yawmark.conf, the user's vehicles in
    // ~/.local/share/Yawmark/vehicles.json, copies of unsaved cases in
    // ~/.local/share/Yawmark/recovery/.
    QSettings settings(QStringLiteral("yawmark"), QStringLiteral("yawmark"));
    yawmark::MainWindow window;
    window.useSettings(&settings);
    window.panel()->setVehiclesFile(yawmark::io::vehiclesPath());
    const QString recovery = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
                             QStringLiteral("/recovery");
    if (caseFile.isEmpty()) {
        window.keepRecoveryIn(recovery); // and the last session's unsaved case restored
    } else {
        // The case asked for; an unsaved one waits in its copy for a start without one.
        window.document().keepRecoveryIn(recovery);
        window.files().openCaseFile(caseFile);
    }
    window.show();
    return QApplication::exec();
}
