// SPDX-License-Identifier: MIT
// Starting the system information tool over any registry; the stand-in; the launcher.

#include "gui/SysInfo.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace yawmark;

namespace {
const QString kToolKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const QString kFolderKey = "SOFTWARE\\Microsoft\\Shared Tools Location";

// Registry answers "key|value" from a table (a tool path "throw" breaks it); the rest is logged.
struct FakeSystem : SysInfoRegistry, SysInfoLauncher, SysInfoMessage {
    QMap<QString, QString> values;
    QString existing;
    bool launchWorks = true;
    mutable QStringList log;
    bool readValue(std::uint32_t r, const QString& k, const QString& v, QString& t) const override {
        if (values.value(kToolKey + "|PATH") == "throw") throw 1;
        t = r == kHKeyLocalMachine ? values.value(k + '|' + v) : QString();
        return !t.isEmpty();
    }
    bool fileExists(const QString& p) const override { return log << "exists " + p, p == existing; }
    bool launch(const QString& p) override { return log << "launch " + p, launchWorks; }
    void showUnavailable() override { log << "message"; }
};

void writeExe(const QString& path) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.setPermissions(QFile::ReadOwner | QFile::ExeOwner));
}
} // namespace

class TestSysInfo : public QObject {
    Q_OBJECT
private slots:
    void outcomes_data();
    void outcomes();
    void realSystem();
};

void TestSysInfo::outcomes_data() {
    QTest::addColumn<QString>("toolPath"); // empty: value absent; the folder is always there
    QTest::addColumn<bool>("fileThere");   // MSINFO32.EXE in the folder
    QTest::addColumn<bool>("launchWorks");
    QTest::addColumn<QStringList>("log");
    const QString t = "/usr/bin/hardinfo", lt = "launch " + t, m = "message";
    const QString f = msinfoFileIn("/opt/msinfo"), e = "exists " + f, l = "launch " + f;
    QTest::newRow("tool path first") << t << true << true << QStringList{lt};
    QTest::newRow("tool path, launch fails") << t << true << false << QStringList{lt, m};
    QTest::newRow("folder, file there") << "" << true << true << QStringList{e, l};
    QTest::newRow("folder, file missing") << "" << false << true << QStringList{e, m};
    QTest::newRow("folder, launch fails") << "" << true << false << QStringList{e, l, m};
    QTest::newRow("registry fails") << "throw" << true << true << QStringList{m};
}

void TestSysInfo::outcomes() {
    QFETCH(QString, toolPath);
    QFETCH(bool, fileThere);
    QFETCH(bool, launchWorks);
    FakeSystem sys;
    sys.values = {{kToolKey + "|PATH", toolPath}, {kFolderKey + "|MSINFO", "/opt/msinfo"}};
    sys.existing = fileThere ? msinfoFileIn("/opt/msinfo") : "";
    sys.launchWorks = launchWorks;
    SysInfo(sys, sys, sys).start();
    QTEST(sys.log, "log");
}

void TestSysInfo::realSystem() {
    QTemporaryDir a, b;
    // The stand-in: hardinfo beats kinfocenter even though kinfocenter sits in an earlier folder.
    writeExe(a.filePath("kinfocenter"));
    writeExe(b.filePath("hardinfo"));
    QString text;
    QVERIFY(StandInRegistry({a.path(), b.path()})
                .readValue(kHKeyLocalMachine, kToolKey.toLower(), "path", text));
    QCOMPARE(QFileInfo(text).canonicalFilePath(),
             QFileInfo(b.filePath("hardinfo")).canonicalFilePath());
    // The folder is not answered, and a failed read leaves no stale text behind.
    QVERIFY(!StandInRegistry({b.path()}).readValue(kHKeyLocalMachine, kFolderKey, "MSINFO", text) &&
            text.isEmpty());

    // The real launcher: MSINFO32.EXE in a folder counts, the folder does not.
    writeExe(a.filePath("MSINFO32.EXE"));
    QCOMPARE(msinfoFileIn(a.path() + '/'), a.filePath("MSINFO32.EXE"));
    SysInfoLauncher launcher;
    QVERIFY(launcher.fileExists(msinfoFileIn(a.path())) && !launcher.fileExists(a.path()));
    // A path with shell syntax is one (missing) program name, never a command line.
    const QString marker = a.filePath("marker");
    QVERIFY(!launcher.launch("true; touch " + marker) &&
            !launcher.launch("$(touch " + marker + ")"));
    QTest::qWait(200);
    QVERIFY(!QFile::exists(marker));
#ifdef Q_OS_UNIX
    QVERIFY(launcher.launch("/bin/true"));
#endif
}

QTEST_GUILESS_MAIN(TestSysInfo)
#include "tst_sysinfo.moc"
