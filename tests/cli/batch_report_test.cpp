// SPDX-License-Identifier: MIT
// yawmark-batch --report: the PDF read back with poppler's tools (pdftotext,
// pdfinfo, pdftoppm), two reports of one case byte for byte, and the targets
// it refuses.
#include "cli/BatchRunner.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sstream>
#include <sys/stat.h>

namespace yawmark {
namespace {

using Args = std::vector<std::string>;

const std::string kMarks = YAWMARK_SOURCE_DIR "/examples/skid-marks.csv";

// The program itself, as a user starts it, with SOURCE_DATE_EPOCH set or not.
int runProgram(const QStringList& args, const QString& epoch = {}) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("SOURCE_DATE_EPOCH"));
    if (!epoch.isEmpty()) env.insert(QStringLiteral("SOURCE_DATE_EPOCH"), epoch);
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(YAWMARK_BATCH_EXE), args);
    p.waitForFinished(-1);
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

// A poppler tool's standard output, or nothing when it failed.
std::optional<QString> poppler(const QString& tool, const QStringList& args) {
    QProcess p;
    p.start(tool, args);
    p.waitForFinished(-1);
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) return std::nullopt;
    return QString::fromUtf8(p.readAllStandardOutput());
}

class BatchReport : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* tool : {"pdftotext", "pdfinfo", "pdftoppm"})
            if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
                GTEST_SKIP() << tool << " (poppler-utils) is not installed";
    }
    QString path(const char* name) const { return dir_.filePath(QLatin1String(name)); }
    QTemporaryDir dir_;
};

TEST_F(BatchReport, HoldsTheCaseTheFitItsIntervalsTheRunAndTheLimitsInTheUnitsChosen) {
    const QStringList fit{QStringLiteral("--fit"),
                          QString::fromStdString(kMarks),
                          QStringLiteral("--starts-at-pull"),
                          QStringLiteral("--ends-at-rest"),
                          QStringLiteral("--monte-carlo"),
                          QStringLiteral("8"),
                          QStringLiteral("--vary"),
                          QStringLiteral("friction=normal:0.896,0.045")};
    QFile marks(QString::fromStdString(kMarks));
    ASSERT_TRUE(marks.open(QIODevice::ReadOnly));
    const QString marksHash = QString::fromLatin1(
        QCryptographicHash::hash(marks.readAll(), QCryptographicHash::Sha256).toHex());
    const struct {
        const char* units;
        QStringList expected;
    } cases[] = {
        // The fitted speed and its interval from the marks alone, as --fit prints them.
        {"metric", {"25.01 m/s", "24.29 to 25.71 m/s", "(−1.47 m, 30.28 m)", "30.36 m", "161.7°"}},
        {"us", {"55.95 mph", "54.34 to 57.52 mph", "(−4.81 ft, 99.34 ft)", "99.61 ft"}},
    };
    for (const auto& c : cases) {
        const QString pdf = path(c.units) + QStringLiteral(".pdf");
        ASSERT_EQ(runProgram(fit + QStringList{QStringLiteral("--units"), QLatin1String(c.units),
                                               QStringLiteral("--report"), pdf}),
                  0)
            << c.units;
        const auto text = poppler(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        ASSERT_TRUE(text) << c.units;
        const QString flat = QString(*text).replace(QLatin1Char('\n'), QLatin1Char(' '));
        QStringList wanted = c.expected;
        wanted << QStringLiteral("Skid reconstruction report")
               << QStringLiteral("Yawmark " YAWMARK_VERSION)
               << QStringLiteral("SHA-256 of the marks file") << marksHash
               << QStringLiteral("from the marks alone")
               << QStringLiteral("95% over every stated uncertainty")
               << QStringLiteral("The model and its limits") << QStringLiteral("No weight transfer")
               << QStringLiteral("Appendix A: the case as run") << QStringLiteral("Monte Carlo");
        for (const QString& w : wanted)
            EXPECT_TRUE(flat.contains(w)) << c.units << ": " << w.toStdString();
        const auto info = poppler(QStringLiteral("pdfinfo"), {pdf});
        ASSERT_TRUE(info);
        EXPECT_TRUE(info->contains(QRegularExpression(QStringLiteral("Pages: +6\\n"))))
            << info->toStdString();
        EXPECT_TRUE(poppler(QStringLiteral("pdftoppm"),
                            {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("30"),
                             QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                             QStringLiteral("1"), pdf, path("page")}));
        EXPECT_TRUE(QFile::exists(path("page-1.png")));
        QFile::remove(path("page-1.png"));
    }
}

TEST_F(BatchReport, TwoReportsOfOneCaseAreTheSameBytesWithSourceDateEpoch) {
    const auto report = [&](const char* name, const QString& epoch) {
        EXPECT_EQ(runProgram({QStringLiteral("--report"), path(name)}, epoch), 0);
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    const QByteArray first = report("a.pdf", QStringLiteral("1765000000"));
    ASSERT_FALSE(first.isEmpty());
    EXPECT_EQ(report("b.pdf", QStringLiteral("1765000000")), first);
    // The date line and the PDF's creation date are that date.
    const auto text = poppler(QStringLiteral("pdftotext"), {path("a.pdf"), QStringLiteral("-")});
    ASSERT_TRUE(text);
    EXPECT_TRUE(text->contains(QStringLiteral("2025-12-06 05:46 UTC")));
    EXPECT_TRUE(first.contains("/CreationDate (D:20251206054640"));
}

TEST_F(BatchReport, ATargetThatCannotHoldItIsRefusedNamingItAndAnOldFileStays) {
    ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("folder")));
    const struct {
        std::string file, fragment;
    } cases[] = {
        {path("folder").toStdString(), "/folder: a folder of that name is in the way"},
        {"/dev/null", "/dev/null: a device of that name is in the way"},
        {path("no/such/folder/r.pdf").toStdString(), "no/such/folder/r.pdf"},
    };
    for (const auto& c : cases) {
        std::ostringstream out, err;
        EXPECT_EQ(runBatch({"--report", c.file}, out, err), 2) << c.file;
        EXPECT_NE(err.str().find("yawmark-batch: --report: "), std::string::npos) << err.str();
        EXPECT_NE(err.str().find(c.fragment), std::string::npos) << err.str();
    }
    // Marks that cannot be read: the old report is kept.
    QFile old(path("old.pdf"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("old report") == 10);
    old.close();
    std::ostringstream out, err;
    EXPECT_EQ(runBatch({"--report", path("old.pdf").toStdString(), "--fit",
                        path("missing.csv").toStdString()},
                       out, err),
              2);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "old report");
    // A refused fit is reported all the same, with the fit's status.
    std::ostringstream out2, err2;
    EXPECT_EQ(runBatch({"--report", path("refused.pdf").toStdString(), "--fit", kMarks,
                        "--starts-at-pull", "--ends-at-rest", "--box", "0=2.6"},
                       out2, err2),
              3);
    EXPECT_TRUE(QFile::exists(path("refused.pdf")));
    EXPECT_NE(err2.str().find("the fit is refused: no launch fits the marks"), std::string::npos)
        << err2.str();
}

TEST(BatchReportOptions, GoWithTheReport) {
    const struct {
        Args args;
        std::string fragment;
    } cases[] = {
        {{"--units", "us"}, "--units goes with --report."},
        {{"--report", "r.pdf", "--units", "feet"}, "--units needs metric or us, not \"feet\"."},
        {{"--report", "r.pdf", "--png", "a.png"}, "give --report or --png, not both"},
        {{"--report", "r.pdf", "--passes", "3"}, "do not go with --report"},
        {{"--report"}, "--report needs a file name."},
    };
    for (const auto& c : cases) {
        std::ostringstream out, err;
        EXPECT_EQ(runBatch(c.args, out, err), 2) << c.fragment;
        EXPECT_NE(err.str().find(c.fragment), std::string::npos) << err.str();
    }
}

} // namespace
} // namespace yawmark
