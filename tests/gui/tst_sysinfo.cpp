// Finding and starting the system information tool: the decision over any
// registry answer, the stand-in registry, and the real launcher's safety.

#include "gui/SysInfo.h"
#include "gui/SysInfoProcessLauncher.h"
#include "gui/SysInfoRegistryStandIn.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QtTest>

#include <stdexcept>
#include <tuple>

using namespace yawmark;

namespace {
const QString kToolKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const QString kFolderKey = "SOFTWARE\\Microsoft\\Shared Tools Location";

class FakeRegistry : public SysInfoRegistry {
public:
    QMap<QString, QString> values; // "key|value" -> text
    bool throws = false;
    bool GetKeyValue(std::uint32_t root, const QString& key, const QString& value,
                     QString& out) const override {
        if (throws) throw std::runtime_error("registry broke");
        out = root == kHKeyLocalMachine ? values.value(key + '|' + value) : QString();
        return !out.isEmpty();
    }
};

class FakeLauncher : public SysInfoLauncher {
public:
    QStringList existing;
    bool launchWorks = true;
    mutable QStringList asked;
    QStringList launched;
    bool fileExists(const QString& path) const override {
        asked << path;
        return existing.contains(path);
    }
    bool launch(const QString& program) override {
        launched << program;
        return launchWorks;
    }
};

class FakeMessage : public SysInfoMessage {
public:
    int shown = 0;
    void showUnavailable() override { ++shown; }
};

void makeExecutable(const QString& path, bool executable) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("#!/bin/sh\n");
    f.close();
    QFile::Permissions p = QFile::ReadOwner | QFile::WriteOwner;
    if (executable) p |= QFile::ExeOwner;
    QVERIFY(f.setPermissions(p));
}
} // namespace

class TestSysInfo : public QObject {
    Q_OBJECT
private slots:
    void outcomes_data();
    void outcomes();
    void messageAndFileName();
    void standIn();
    void launcherNeverUsesAShell();
};

void TestSysInfo::outcomes_data() {
    QTest::addColumn<QString>("toolPath"); // empty: value absent; "throw": the registry fails
    QTest::addColumn<QString>("folder");   // empty: value absent
    QTest::addColumn<bool>("fileThere");
    QTest::addColumn<bool>("launchWorks");
    QTest::addColumn<QString>("launched"); // empty: nothing launched
    QTest::addColumn<bool>("fileChecked");
    QTest::addColumn<int>("messages");

    const QString tool = "/usr/bin/hardinfo";
    const QString folder = "/opt/msinfo";
    const QString file = msinfoFileIn(folder);
    // clang-format off
    QTest::newRow("tool path, launched without file test") << tool << folder << false << true << tool << false << 0;
    QTest::newRow("tool path, launch fails") << tool << "" << false << false << tool << false << 1;
    QTest::newRow("folder, file there") << "" << folder << true << true << file << true << 0;
    QTest::newRow("folder, file missing") << "" << folder << false << true << "" << true << 1;
    QTest::newRow("folder, launch fails") << "" << folder << true << false << file << true << 1;
    QTest::newRow("neither") << "" << "" << false << true << "" << false << 1;
    QTest::newRow("registry fails") << "throw" << folder << true << true << "" << false << 1;
    // clang-format on
}

void TestSysInfo::outcomes() {
    QFETCH(QString, toolPath);
    QFETCH(QString, folder);
    QFETCH(bool, fileThere);
    QFETCH(bool, launchWorks);
    QFETCH(QString, launched);
    QFETCH(bool, fileChecked);
    QFETCH(int, messages);

    FakeRegistry reg;
    reg.throws = toolPath == "throw";
    if (!toolPath.isEmpty()) reg.values[kToolKey + "|PATH"] = toolPath;
    if (!folder.isEmpty()) reg.values[kFolderKey + "|MSINFO"] = folder;
    FakeLauncher launcher;
    launcher.launchWorks = launchWorks;
    if (fileThere) launcher.existing << msinfoFileIn(folder);
    FakeMessage message;

    SysInfo(reg, launcher, message).StartSysInfo();

    QCOMPARE(launcher.launched, launched.isEmpty() ? QStringList() : QStringList{launched});
    QCOMPARE(!launcher.asked.isEmpty(), fileChecked);
    QCOMPARE(message.shown, messages);
}

void TestSysInfo::messageAndFileName() {
    QCOMPARE(sysInfoUnavailableText(),
             QStringLiteral("System Information Is Unavailable At This Time"));
    QCOMPARE(msinfoFileIn("/opt/tools"),
             QString("/opt/tools") + QDir::separator() + "MSINFO32.EXE");
    QCOMPARE(msinfoFileIn("/opt/tools/"), QStringLiteral("/opt/tools/MSINFO32.EXE"));

    // The real file test: a folder or a missing name is not the program.
    QTemporaryDir dir;
    makeExecutable(dir.filePath("MSINFO32.EXE"), false);
    SysInfoProcessLauncher launcher;
    QVERIFY(launcher.fileExists(msinfoFileIn(dir.path())));
    QVERIFY(!launcher.fileExists(dir.path()));
    QVERIFY(!launcher.fileExists(dir.filePath("missing.exe")));
    QVERIFY(!launcher.fileExists(QString()));
}

void TestSysInfo::standIn() {
    QTemporaryDir a, b;
    QVERIFY(a.isValid() && b.isValid());
    // hardinfo2 comes first but is not executable; hardinfo beats kinfocenter
    // even though kinfocenter sits in an earlier folder.
    makeExecutable(a.filePath("hardinfo2"), false);
    makeExecutable(a.filePath("kinfocenter"), true);
    makeExecutable(b.filePath("hardinfo"), true);
    SysInfoRegistryStandIn reg({a.path(), b.path()});
    QString out = "stale";
    QVERIFY(reg.GetKeyValue(kHKeyLocalMachine, kToolKey, "PATH", out));
    QCOMPARE(QFileInfo(out).canonicalFilePath(),
             QFileInfo(b.filePath("hardinfo")).canonicalFilePath());
    // Registry names are not case-sensitive.
    QVERIFY(reg.GetKeyValue(kHKeyLocalMachine, kToolKey.toLower(), "path", out));

    // Nothing else is answered (the other value, another root, a subkey, no
    // tool on the path), and a failed lookup leaves no stale text behind.
    QTemporaryDir empty;
    const SysInfoRegistryStandIn none({empty.path()});
    const std::tuple<const SysInfoRegistryStandIn&, std::uint32_t, QString, QString> cases[] = {
        {reg, kHKeyLocalMachine, kFolderKey, "MSINFO"},
        {reg, kHKeyLocalMachine, kToolKey, "MSINFO"},
        {reg, 0x80000001u, kToolKey, "PATH"},
        {reg, kHKeyLocalMachine, kToolKey + "\\X", "PATH"},
        {none, kHKeyLocalMachine, kToolKey, "PATH"}};
    for (const auto& [r, root, key, value] : cases) {
        out = "stale";
        QVERIFY2(!r.GetKeyValue(root, key, value, out), qPrintable(key + " " + value));
        QCOMPARE(out, QString());
    }
}

void TestSysInfo::launcherNeverUsesAShell() {
    QTemporaryDir dir;
    const QString marker = dir.filePath("marker");
    SysInfoProcessLauncher launcher;
    // A path with shell syntax is one (missing) program name, never a command line.
    QVERIFY(!launcher.launch("true; touch " + marker));
    QVERIFY(!launcher.launch("$(touch " + marker + ")"));
    QVERIFY(!launcher.launch(QString()));
    QVERIFY(!launcher.launch(dir.filePath("no-such-tool")));
    QTest::qWait(200);
    QVERIFY(!QFile::exists(marker));
#ifdef Q_OS_UNIX
    QVERIFY(launcher.launch("/bin/true"));
#endif
}

QTEST_GUILESS_MAIN(TestSysInfo)
#include "tst_sysinfo.moc"
