// SPDX-License-Identifier: MIT
// Case files: every field round trip to a bit-identical run, the files refused
// (each naming its field, nothing read), and a failed save that keeps the old file.
#include "io/CaseFile.h"
#include "model/Run.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>

namespace yawmark::io {
namespace {

// A case that differs from start-up in every field.
CaseFile everyFieldChanged() {
    CaseFile f = startupCaseFile();
    f.texts.text[model::kMassBox] = " 1200.50 ";
    f.texts.text[model::kSteeringBox] = "ce";
    f.texts.text[model::kInertiaBox] = "1.3";
    f.texts.text[model::kSpeedBox] = "31.7";
    f.texts.text[model::kIntervalBox] = "2.5";
    f.texts.trail = {1, 0, 2, 1, 0};
    f.vehicle = "Custom \"mine\" \u00E9";
    f.form = model::InertiaForm::Gyration;
    f.autos = {false, false};
    f.autoSnapshot = f.realTime = true;
    f.marks = {{sim::FR, {{-0.93, 1.0 / 3}, {2e-9, 1e6}}, 0.02, true, false},
               {sim::RL, {{4, 5}}, 0.5, false, true}};
    f.spreads[model::kFrictionBox] = model::Spread{model::Shape::Normal, 0.76, 0.1 / 3};
    return f;
}

sim::Body runOf(const CaseFile& f) {
    const auto prepared = model::prepareDraw(f.texts, f.autos, f.form);
    model::Run run;
    run.start(std::get<model::Prepared>(prepared).c);
    for (int n = 0; n < 500; ++n)
        run.pass(nullptr, f.autoSnapshot);
    return run.body();
}

TEST(CaseFile, EveryFieldRoundTripsThroughAFileToABitIdenticalRun) {
    QTemporaryDir dir;
    const QString path = dir.filePath("skid.yawmark");
    const CaseFile f = everyFieldChanged();
    ASSERT_FALSE(saveCase(path, f));
    const auto read = loadCase(path);
    ASSERT_TRUE(std::holds_alternative<CaseRead>(read)) << std::get<std::string>(read);
    const CaseRead& r = std::get<CaseRead>(read);
    EXPECT_TRUE(r.notes.empty());
    EXPECT_EQ(r.file.texts.text, f.texts.text);
    EXPECT_EQ(r.file.texts.trail, f.texts.trail);
    EXPECT_EQ(std::tuple(r.file.vehicle, r.file.form, r.file.autos.normal, r.file.autos.inertia,
                         r.file.autoSnapshot, r.file.realTime),
              std::tuple(f.vehicle, f.form, false, false, true, true));
    const auto marks = [](const CaseFile& c) {
        std::vector<std::tuple<sim::Wheel, std::vector<sim::Vec2>, double, bool, bool>> t;
        for (const model::Mark& m : c.marks)
            t.emplace_back(m.wheel, m.points, m.sigma, m.startsAtPull, m.endsAtRest);
        return t;
    };
    EXPECT_EQ(marks(r.file), marks(f));
    EXPECT_EQ(r.file.spreads, f.spreads);
    const sim::Body a = runOf(f), b = runOf(r.file);
    EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0);
}

TEST(CaseFile, AFileThatCannotBeUsedIsRefusedNamingTheField) {
    const std::string good = caseText(startupCaseFile());
    const auto with = [&](std::string_view from, std::string_view to) {
        std::string t = good;
        const auto at = t.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return t.replace(at, from.size(), to);
    };
    const std::pair<std::string, std::string> cases[] = {
        {"{ \"format\": ", "not a case file: "},
        {"[1, 2]", "no JSON object"},
        {with("yawmark-case", "other"), "field \"format\""},
        {with("\"1.3\"", "\"2.0\""), "version 2.0, which this Yawmark (reading 1.x) cannot read"},
        {with("\"mass\": \"1139\",", ""), "field \"boxes.mass\" is missing."},
        {with("\"mass\": \"1139\"", "\"mass\": 1139"), "field \"boxes.mass\" must be a text"},
        {with("\"mass\": \"1139\"", "\"mass\": \"0\""),
         "field \"boxes.mass\": \"Vehicle Mass (kg)\" must be greater than 0."},
        {with("\"steering\": \"Left\"", "\"steering\": \"up\""), "field \"boxes.steering\": "},
        {with("\"realTime\": false", "\"realTime\": 0"),
         "field \"realTime\" must be true or false."},
        {with("\"inertiaForm\": \"moment\"", "\"inertiaForm\": \"mass\""),
         "field \"inertiaForm\" must be"},
        {with("\"massCentre\": 0", "\"massCentre\": 3"), "field \"connect.massCentre\" must be 0"},
        {with("\"massCentre\": 0", "\"massCentre\": 1e300"), "field \"connect.massCentre\" must"},
        {with("\"mass\": \"1139\"", "\"mass\": \"\\u001b[2J\""), "not a number: \"\\x1B[2J\"."},
        {with("\"connect\": {", "\"connect\": 7, \"x\": {"), "field \"connect\" must be an object"},
        {with("\"connect\"", "\"marks\": [{\"wheel\": \"rl\", \"points\": [[1, 2]]}, {\"wheel\": "
                             "\"FL\", \"points\": [[1, 2], [3, 4], [5, 6, 7]]}], \"connect\""),
         "field \"marks[1].points[2]\" must be a point [x, y] of two numbers."},
        {with("\"connect\"", "\"marks\": [{\"wheel\": \"X\", \"points\": [[1, 2]]}], \"connect\""),
         "field \"marks[0].wheel\" must be"},
        {with("\"connect\"", "\"marks\": [{\"wheel\": \"RL\", \"points\": [[1, 1e300]]}], "
                             "\"connect\""),
         "field \"marks[0].points[0]\" must lie within 1000000 m"},
        {with("\"connect\"", "\"marks\": [{\"wheel\": \"RL\", \"sigma\": 1e-300, \"points\": "
                             "[[1, 2]]}], \"connect\""),
         "field \"marks[0].sigma\" must be from 0.001 to 10 m."},
        {with("\"connect\"", "\"spreads\": {\"mass\": \"normal:1139,0\"}, \"connect\""),
         "field \"spreads.mass\": SD must be greater than 0."},
        {with("\"connect\"", "\"spreads\": {\"steering\": \"uniform:1,2\"}, \"connect\""),
         "field \"spreads.steering\": \"Steering Direction (L/R/CE)\" takes no spread"},
    };
    for (const auto& [text, message] : cases) {
        const auto read = readCaseText(text);
        ASSERT_TRUE(std::holds_alternative<std::string>(read)) << text;
        EXPECT_NE(std::get<std::string>(read).find(message), std::string::npos)
            << std::get<std::string>(read);
    }
    // An older minor version opens; a newer one's fields are noted and passed over.
    EXPECT_TRUE(std::holds_alternative<CaseRead>(readCaseText(with("\"1.3\"", "\"1.1\""))));
    const auto newer = readCaseText(with("\"1.3\"", "\"1.7\", \"wind\": 3"));
    ASSERT_TRUE(std::holds_alternative<CaseRead>(newer));
    EXPECT_EQ(std::get<CaseRead>(newer).notes,
              std::vector<std::string>{"field \"wind\" is not known here and was ignored."});
}

TEST(CaseFile, OpeningOrSavingThatFailsSaysWhyAndKeepsTheOldFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("skid.yawmark");
    // A pipe: opening it to read would wait for a writer for ever, and a save
    // would put a file in its place.
    ASSERT_EQ(mkfifo(dir.filePath("pipe").toLocal8Bit().constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(dir.filePath("pipe"), dir.filePath("link")));
    for (const QString& bad : {dir.path(), dir.filePath("none/skid.yawmark"), dir.filePath("pipe"),
                               dir.filePath("link"), QString()}) {
        ASSERT_TRUE(saveCase(bad, startupCaseFile()).has_value());
        EXPECT_EQ(std::get<std::string>(loadCase(bad)).rfind(pathName(bad) + ": ", 0), 0u);
    }
    ASSERT_FALSE(saveCase(path, startupCaseFile()));
    const QByteArray before = [&] {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    // A disk that fills up mid-save: files may grow to 100 bytes only.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 100;
    setrlimit(RLIMIT_FSIZE, &small);
    const auto failed = saveCase(path, everyFieldChanged());
    setrlimit(RLIMIT_FSIZE, &old);
    ASSERT_TRUE(failed.has_value());
    EXPECT_EQ(failed->rfind(path.toStdString() + ": ", 0), 0u);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
    // No half-written file left.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::NoSymLinks).size(), 1);
}

// 100,000 surveyed points take more than the megabyte a case may have.
TEST(CaseFile, MarksMayBeLargerThanACase) {
    QTemporaryDir dir;
    const QString path = dir.filePath("marks.csv");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(2 << 20, '\n'));
    f.close();
    EXPECT_TRUE(std::holds_alternative<QByteArray>(readSmallFile(path, kMaxMarksBytes)));
    EXPECT_EQ(std::get<std::string>(readSmallFile(path)),
              path.toStdString() + ": too large for Yawmark, more than 1 MiB.");
}

// The most points a case may hold, as far out as they may lie, are saved and
// opened again; one more is not saved.
TEST(CaseFile, TheLargestCaseThatCanBeSavedOpensAgain) {
    QTemporaryDir dir;
    const QString path = dir.filePath("large.yawmark");
    CaseFile file = startupCaseFile();
    model::Mark mark;
    for (std::size_t i = 0; i < model::kMaxMarkPoints; ++i)
        mark.points.push_back({-999999.12345678912 + double(i), -0.00012345678912345678});
    file.marks = {mark};
    ASSERT_EQ(saveCase(path, file), std::nullopt);
    const auto read = loadCase(path);
    ASSERT_TRUE(std::holds_alternative<CaseRead>(read)) << std::get<std::string>(read);
    EXPECT_EQ(std::get<CaseRead>(read).file.marks, file.marks);
    file.marks[0].points.push_back({0, 0});
    EXPECT_NE(saveCase(path, file), std::nullopt);
}

} // namespace
} // namespace yawmark::io
