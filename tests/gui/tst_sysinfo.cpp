// Finding and starting the system information tool: the decision over any
// registry answer, the stand-in registry, and the real launcher's safety.

#include "gui/SysInfo.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <stdexcept>

using namespace yawmark;

namespace {
const QString kToolKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const QString kFolderKey = "SOFTWARE\\Microsoft\\Shared Tools Location";

// The system as a test has it: registry answers "key|value" from a table (a
// tool path of "throw" breaks every read); what the tool does is logged.
struct FakeSystem : SysInfoRegistry, SysInfoLauncher, SysInfoMessage {
    QMap<QString, QString> values;
    QString existing;
    bool launchWorks = true;
    mutable QStringList log;
    bool readValue(std::uint32_t root, const QString& key, const QString& value,
                   QString& text) const override {
        if (values.value(kToolKey + "|PATH") == "throw") throw std::runtime_error("broken");
        text = root == kHKeyLocalMachine ? values.value(key + '|' + value) : QString();
        return !text.isEmpty();
    }
    bool fileExists(const QString& path) const override {
        log << "exists " + path;
        return path == existing;
    }
    bool launch(const QString& program) override {
        log << "launch " + program;
        return launchWorks;
    }
    void showUnavailable() override { log << "message"; }
};

void writeFile(const QString& path, QFile::Permissions permissions = QFile::ReadOwner) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.setPermissions(permissions));
}
} // namespace

class TestSysInfo : public QObject {
    Q_OBJECT
private slots:
    void outcomes_data();
    void outcomes();
    void standIn();
    void realLauncher();
};

void TestSysInfo::outcomes_data() {
    QTest::addColumn<QString>("toolPath"); // empty: value absent
    QTest::addColumn<QString>("folder");   // empty: value absent
    QTest::addColumn<bool>("fileThere");
    QTest::addColumn<bool>("launchWorks");
    QTest::addColumn<QStringList>("log");

    const QString tool = "/usr/bin/hardinfo", dir = "/opt/msinfo";
    const QString exists = "exists " + msinfoFileIn(dir), launch = "launch " + msinfoFileIn(dir);
    // clang-format off
    QTest::newRow("tool path, no file test") << tool << dir << false << true << QStringList{"launch " + tool};
    QTest::newRow("tool path, launch fails") << tool << "" << false << false << QStringList{"launch " + tool, "message"};
    QTest::newRow("folder, file there") << "" << dir << true << true << QStringList{exists, launch};
    QTest::newRow("folder, file missing") << "" << dir << false << true << QStringList{exists, "message"};
    QTest::newRow("folder, launch fails") << "" << dir << true << false << QStringList{exists, launch, "message"};
    QTest::newRow("neither") << "" << "" << false << true << QStringList{"message"};
    QTest::newRow("registry fails") << "throw" << dir << true << true << QStringList{"message"};
    // clang-format on
}

void TestSysInfo::outcomes() {
    QFETCH(QString, toolPath);
    QFETCH(QString, folder);
    QFETCH(bool, fileThere);
    QFETCH(bool, launchWorks);
    FakeSystem sys;
    sys.values[kToolKey + "|PATH"] = toolPath;
    sys.values[kFolderKey + "|MSINFO"] = folder;
    sys.launchWorks = launchWorks;
    if (fileThere) sys.existing = msinfoFileIn(folder);
    SysInfo(sys, sys, sys).start();
    QTEST(sys.log, "log");
}

void TestSysInfo::standIn() {
    QTemporaryDir a, b, empty;
    // hardinfo beats kinfocenter even though kinfocenter sits in an earlier folder.
    writeFile(a.filePath("kinfocenter"), QFile::ReadOwner | QFile::ExeOwner);
    writeFile(b.filePath("hardinfo"), QFile::ReadOwner | QFile::ExeOwner);
    const StandInRegistry registry({a.path(), b.path()}), none({empty.path()});
    QString text;
    QVERIFY(registry.readValue(kHKeyLocalMachine, kToolKey.toLower(), "path", text));
    QCOMPARE(QFileInfo(text).canonicalFilePath(),
             QFileInfo(b.filePath("hardinfo")).canonicalFilePath());

    // Nothing else is answered, and a failed read leaves no stale text behind.
    const struct {
        const StandInRegistry& registry;
        std::uint32_t root;
        QString key, value;
    } refused[] = {{registry, kHKeyLocalMachine, kFolderKey, "MSINFO"},
                   {registry, kHKeyLocalMachine, kToolKey, "MSINFO"},
                   {registry, 0x80000001u, kToolKey, "PATH"},
                   {registry, kHKeyLocalMachine, kToolKey + "\\X", "PATH"},
                   {none, kHKeyLocalMachine, kToolKey, "PATH"}};
    for (const auto& r : refused) {
        text = "stale";
        QVERIFY2(!r.registry.readValue(r.root, r.key, r.value, text), qPrintable(r.key + r.value));
        QCOMPARE(text, QString());
    }
}

void TestSysInfo::realLauncher() {
    QTemporaryDir dir;
    writeFile(dir.filePath("MSINFO32.EXE"));
    QCOMPARE(msinfoFileIn(dir.path() + '/'), dir.filePath("MSINFO32.EXE"));
    SysInfoLauncher launcher;
    QVERIFY(launcher.fileExists(msinfoFileIn(dir.path())));
    // A folder, a missing name or nothing is not the program.
    for (const QString& path : {dir.path(), dir.filePath("missing.exe"), QString()})
        QVERIFY2(!launcher.fileExists(path), qPrintable(path));

    // A path with shell syntax is one (missing) program name, never a command line.
    const QString marker = dir.filePath("marker");
    for (const QString& path : {"true; touch " + marker, "$(touch " + marker + ")", QString()})
        QVERIFY2(!launcher.launch(path), qPrintable(path));
    QTest::qWait(200);
    QVERIFY(!QFile::exists(marker));
#ifdef Q_OS_UNIX
    QVERIFY(launcher.launch("/bin/true"));
#endif
}

QTEST_GUILESS_MAIN(TestSysInfo)
#include "tst_sysinfo.moc"
