// SPDX-License-Identifier: MIT
// The scene's files: a survey drawing read into marks and scene lines, the
// drawings refused, and a case keeping its scene with the image's path
// relative to it.
#include "io/CaseFile.h"
#include "io/SceneFiles.h"
#include "model/Units.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace yawmark::io {
namespace {

// A DXF drawing of the given header variables and entities, group code and
// value a line each.
std::string dxf(const std::string& header, const std::string& entities) {
    return "0\nSECTION\n2\nHEADER\n" + header + "0\nENDSEC\n0\nSECTION\n2\nENTITIES\n" + entities +
           "0\nENDSEC\n0\nEOF\n";
}

// In feet, and a block whose POINT on layer RL is only a definition, not a mark.
const std::string kFeet = "9\n$INSUNITS\n70\n2\n0\nENDSEC\n0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n8\n0\n"
                          "2\nB\n70\n0\n10\n0\n20\n0\n0\nPOINT\n8\nRL\n10\n9\n20\n9\n0\nENDBLK\n";
const std::string kSurvey =
    "0\nLWPOLYLINE\n8\nMARK_RL\n90\n3\n70\n0\n10\n0\n20\n0\n10\n10\n20\n1\n10\n20\n20\n3\n"
    "0\nPOINT\n8\nRR\n10\n5\n20\n0\n30\n0\n0\nPOINT\n8\nRR\n10\n15\n20\n2\n30\n0\n"
    "0\nLINE\n8\nkerb\n10\n0\n20\n10\n30\n0\n11\n30\n21\n10\n31\n0\n";

QString write(const QTemporaryDir& dir, const QString& name, const std::string& text) {
    const QString path = dir.filePath(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text.data(), static_cast<qint64>(text.size()));
    return path;
}

std::string refusal(const std::variant<model::Survey, std::string>& read) {
    return std::holds_alternative<std::string>(read) ? std::get<std::string>(read) : "";
}

TEST(SceneFiles, ASurveyInFeetImportsAsMarksInMetresAndSceneLines) {
    QTemporaryDir dir;
    const auto read = loadSurvey(write(dir, "s.dxf", dxf(kFeet, kSurvey)), std::nullopt);
    ASSERT_TRUE(std::holds_alternative<model::Survey>(read)) << refusal(read);
    const model::Survey& s = std::get<model::Survey>(read);
    const double ft = model::kMetresPerFoot;
    ASSERT_EQ(s.marks.size(), 2u);
    EXPECT_EQ(s.marks[0].wheel, sim::RL);
    EXPECT_EQ(s.marks[0].points,
              (std::vector<sim::Vec2>{{0, 0}, {10 * ft, 1 * ft}, {20 * ft, 3 * ft}}));
    EXPECT_EQ(s.marks[1].wheel, sim::RR);
    EXPECT_EQ(s.marks[1].points, (std::vector<sim::Vec2>{{5 * ft, 0}, {15 * ft, 2 * ft}}));
    ASSERT_EQ(s.lines.size(), 1u);
    EXPECT_EQ(s.lines[0].points, (std::vector<sim::Vec2>{{0, 10 * ft}, {30 * ft, 10 * ft}}));
    // A unit given wins over the drawing's.
    const auto inMetres = loadSurvey(dir.filePath("s.dxf"), 1.0);
    EXPECT_EQ(std::get<model::Survey>(inMetres).marks[1].points[1], (sim::Vec2{15, 2}));
}

TEST(SceneFiles, DrawingsThatCannotGiveMarksAreRefusedNamingTheFile) {
    QTemporaryDir dir;
    const std::pair<std::string, const char*> cases[] = {
        {dxf(kFeet,
             "0\nLINE\n8\nkerb\n10\n0\n20\n0\n11\n1\n21\n1\n0\nPOINT\n8\nedge\n10\n1\n20\n1\n"),
         "its layers are \"kerb\", \"edge\""},
        {dxf("", kSurvey), "does not give its unit"},
        // dxflib would set aside room for the count it is told before reading one vertex.
        {dxf(kFeet, "0\nLWPOLYLINE\n8\nRL\n90\n2000000000\n10\n1\n20\n2\n"),
         "a LWPOLYLINE says it has 2000000000 points"},
        {"wheel,x,y\nRL,0,0\n", "not a DXF drawing"},
    };
    for (const auto& [text, fragment] : cases) {
        const auto read = loadSurvey(write(dir, "bad.dxf", text), std::nullopt);
        EXPECT_NE(refusal(read).find("bad.dxf: "), std::string::npos) << refusal(read);
        EXPECT_NE(refusal(read).find(fragment), std::string::npos) << refusal(read);
    }
}

TEST(SceneFiles, ACaseKeepsItsSceneWithTheImageRelativeToIt) {
    QTemporaryDir dir;
    QDir(dir.path()).mkdir(QStringLiteral("photos"));
    CaseFile f = startupCaseFile();
    f.scene.image = dir.filePath(QStringLiteral("photos/site.png")).toStdString();
    f.scene.placement = {0.1, 0, 3, 0, -0.1, 4};
    f.scene.opacity = 0.25;
    f.scene.lines = {{{{0, 1}, {2, 3}}}};
    const QString path = dir.filePath(QStringLiteral("case.yawmark"));
    ASSERT_FALSE(saveCase(path, f));
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_TRUE(saved.readAll().contains("\"image\": \"photos/site.png\""));
    const auto read = loadCase(path);
    ASSERT_TRUE(std::holds_alternative<CaseRead>(read));
    EXPECT_EQ(std::get<CaseRead>(read).file, f);

    QJsonObject bad = caseObject(f);
    QJsonObject scene = bad.value(QStringLiteral("scene")).toObject();
    scene.insert(QStringLiteral("placement"), QJsonArray{0, 0, 1, 0, 0, 1});
    bad.insert(QStringLiteral("scene"), scene);
    const auto refused = readCaseObject(bad, Boxes::Drawable);
    ASSERT_TRUE(std::holds_alternative<std::string>(refused));
    EXPECT_NE(std::get<std::string>(refused).find("\"scene.placement\": its scale is zero"),
              std::string::npos);
}

} // namespace
} // namespace yawmark::io
