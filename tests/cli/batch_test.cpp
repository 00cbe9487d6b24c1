// yawmark-batch: its CSV against the core, its options, the plot image it
// writes, and the command lines and files it refuses.
#include "cli/BatchRunner.h"
#include "model/DrawPreparation.h"
#include "model/FormLoad.h"
#include "sim/Forces.h"
#include "sim/NumberText.h"
#include "sim/Pass.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <numeric>
#include <sstream>
#include <string>
#include <vector>

namespace yawmark {
namespace {

struct Result {
    int status;
    std::string out;
    std::string err;
};

Result batch(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = runBatch(args, out, err);
    return {status, out.str(), err.str()};
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        result.push_back(line);
    return result;
}

std::vector<double> fields(const std::string& line) {
    std::vector<double> result;
    std::istringstream in(line);
    for (std::string f; std::getline(in, f, ',');)
        result.push_back(*parseNumber(f));
    return result;
}

std::vector<double> lastRow(const Result& r) {
    EXPECT_EQ(r.status, 0) << r.err;
    return fields(lines(r.out).back());
}

// Each case: a command line, the fragment its one error line must hold.
struct Refusal {
    std::vector<std::string> args;
    const char* fragment;
};

void expectRefused(const Refusal& c) {
    const Result r = batch(c.args);
    EXPECT_EQ(r.status, 2) << c.args.back();
    // One line, the program's name first.
    EXPECT_EQ(lines(r.err).size(), 1u) << r.err;
    EXPECT_EQ(r.err.rfind("yawmark-batch: ", 0), 0u) << r.err;
    EXPECT_NE(r.err.find(c.fragment), std::string::npos) << r.err;
}

// How many pixels of the image have exactly this colour: in all, the most in
// any one row, and the most in any one column.
std::array<int, 3> count(const QImage& image, QRgb color) {
    std::vector<int> rows(image.height()), columns(image.width());
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFFu) == (color & 0xFFFFFFu)) ++rows[y], ++columns[x];
    return {std::accumulate(rows.begin(), rows.end(), 0),
            *std::max_element(rows.begin(), rows.end()),
            *std::max_element(columns.begin(), columns.end())};
}

TEST(Batch, CsvOfTheDefaultSkidMatchesTheCore) {
    const Result r = batch({"--passes", "400", "--every", "7"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.err.empty());
    const auto rows = lines(r.out);
    ASSERT_EQ(rows.size(), 1u + 400 / 7);
    EXPECT_EQ(rows[0], "pass,t,x,y,vx,vy,heading,omega");

    // The same run done by hand, as the window does it: every row reads back exactly.
    Params p;
    RunState s;
    BoxTexts t;
    formLoad(p, s, t);
    ASSERT_FALSE(prepareDraw(t, p, s, {}));
    placeAtStart(p, s);
    calcForce(p, s);
    for (int pass = 1, row = 1; pass <= 400; ++pass) {
        ASSERT_TRUE(runPass(p, s));
        if (pass % 7) continue;
        const auto f = fields(rows[row++]);
        ASSERT_EQ(f.size(), 8u);
        EXPECT_EQ(f[0], pass);
        const double expected[] = {s.simTime, s.cmX, s.cmY, s.cmVx, s.cmVy, s.heading, s.omega};
        for (int i = 0; i < 7; ++i)
            ASSERT_EQ(f[i + 1], expected[i]) << "pass " << pass;
    }
}

TEST(Batch, OptionsChangeTheRun) {
    const auto base = lastRow(batch({"--passes", "50"}));
    // Whether each option reaches the run: the same skid, or another one.
    const struct {
        std::vector<std::string> args;
        bool same;
    } cases[] = {
        {{"--vehicle", "Imaginery Car"}, false},
        {{"--vehicle", "Custom"}, true},
        {{"--box", "5=900"}, true}, // "Auto Calculate" writes the box again
        {{"--no-auto-inertia", "--box=5=900"}, false},
        {{"--box", "8=Center"}, false},
        {{"--box", "12=0"}, true},
        {{"--no-auto-normal", "--box", "12=0"}, false},
        {{"--gyration"}, true}, // the default inertia, through the box as a radius
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"--passes", "50"});
        const auto last = lastRow(batch(args));
        if (c.same) {
            EXPECT_NEAR(last[2], base[2], 1e-9) << args[0];
        } else {
            EXPECT_NE(last, base) << args[0];
        }
    }
    // --seconds runs until simTime reaches it; a negative step runs one pass,
    // as the window's loop does.
    const Result seconds = batch({"--seconds", "0.5"});
    EXPECT_EQ(lines(seconds.out).size(), 1u + 50);
    EXPECT_GE(lastRow(seconds)[1], 0.5);
    EXPECT_EQ(lines(batch({"--passes", "10", "--box", "13=-10"}).out).size(), 2u);
    EXPECT_NE(batch({"--help"}).out.find("--passes N"), std::string::npos);
}

class BatchPng : public ::testing::Test {
protected:
    std::string path(const char* name) const { return dir_.filePath(name).toStdString(); }
    QImage image(const char* name) const { return QImage(dir_.filePath(name)); }
    QTemporaryDir dir_;
};

TEST_F(BatchPng, ShowsAxesTrailsAndOutlinesAndLeavesTheTrajectoryAlone) {
    const Result r = batch({"--png", path("plain.png")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.out.empty()) << "no CSV without --csv";
    EXPECT_TRUE(r.err.empty()) << r.err;
    ASSERT_EQ(batch({"--png", path("snaps.png"), "--auto-snap"}).status, 0);
    ASSERT_EQ(batch({"--png=" + path("w.png"), "--size", "719x546", "--lines"}).status, 0);

    const QImage plain = image("plain.png");
    EXPECT_EQ(plain.size(), QSize(kDefaultImageWidth, kDefaultImageHeight));
    EXPECT_EQ(image("w.png").size(), QSize(719, 546));
    // The five trails in their colours, the cyan rear edge of the start
    // outline and of the last one, on white.
    for (const QRgb c : {qRgb(255, 0, 0), qRgb(255, 0, 255), qRgb(0, 0, 255), qRgb(0, 255, 0),
                         qRgb(0, 255, 255), qRgb(255, 255, 255)})
        EXPECT_GT(count(plain, c)[0], 0) << std::hex << c;
    // Black axes: the x axis from -20 to 7.5 m across most of the image, the
    // y axis its whole height but where the trails cross it.
    const auto black = count(plain, qRgb(0, 0, 0));
    EXPECT_GE(black[1], plain.width() * 8 / 10);
    EXPECT_GE(black[2], plain.height() * 8 / 10);
    // Automatic snapshots leave more lasting outlines, each with its cyan edge.
    EXPECT_GT(count(image("snaps.png"), qRgb(0, 255, 255))[0],
              count(plain, qRgb(0, 255, 255))[0] + 20);

    // The CSV of a run that also draws (with snapshots) is the CSV of one that
    // does not; the image is the same every time, also from a second GUI
    // application in one process.
    const Result csvOnly = batch({"--passes", "400", "--auto-snap"});
    const Result both = batch({"--passes", "400", "--auto-snap", "--png", path("a.png"), "--csv"});
    ASSERT_EQ(both.status, 0) << both.err;
    EXPECT_FALSE(csvOnly.out.empty());
    EXPECT_EQ(both.out, csvOnly.out);
    ASSERT_EQ(batch({"--passes", "400", "--auto-snap", "--png", path("b.png")}).status, 0);
    EXPECT_EQ(image("a.png"), image("b.png"));
}

TEST_F(BatchPng, BadInputExitsTwoNamingWhatIsWrongAndLeavesNoImage) {
    ASSERT_TRUE(QDir(dir_.path()).mkdir("folder"));
    const std::string x = path("x.png");
    const Refusal cases[] = {
        {{"--box", "2=abc"}, "\"Vehicle Mass (kg)\" is not a number"},
        {{"--box", "2=0"}, "\"Vehicle Mass (kg)\" must not be 0."},
        {{"--box", "9=1"}, "\"Mass Center Turning Radius (m)\""},
        {{"--box", "5=0", "--no-auto-inertia", "--gyration"}, "\"Radius of Gyration (m)\""},
        {{"--box", "13=0", "--seconds", "1"}, "\"Calculation Interval (ms)\""},
        {{"--box", "4=-0.9", "--box", "13=1e155"}, "stopped at pass 245"}, // overflows mid-run
        {{"--box", "19=1"}, "box number"},
        {{"--vehicle", "Ferrari"}, "unknown vehicle"},
        {{"--passes", "1e3"}, "--passes"},
        {{"--seconds", "nan"}, "--seconds"},
        {{"--passes", "1", "--seconds", "1"}, "not both"},
        {{"--gyration=1"}, "unknown option"},
        {{"--png", x, "--size", "0x10"}, "--size"},
        {{"--png", x, "--size", "5x+5"}, "--size"},
        {{"--png", x, "--size", "8193x10"}, "--size"},
        {{"--png", x, "--size", "8192x4097"}, "33554432 pixels"},
        {{"--png", x, "--size"}, "--size needs WxH"},
        {{"--size", "10x10"}, "go with --png"},
        {{"--png", ""}, "--png needs a file name"},
        {{"--png", path("no/such/folder/x.png")}, "cannot write"},
        {{"--png", path("folder")}, "it is a folder"},
        {{"--png", x, "--box", "4=-0.9", "--box", "13=1e155"}, "stopped at pass"},
    };
    for (const auto& c : cases)
        expectRefused(c);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(x)));
    EXPECT_EQ(parseImageSize("8192x4096"), (std::pair{8192, 4096})); // the largest accepted
    EXPECT_EQ(parseImageSize("1X1"), (std::pair{1, 1}));

    // A run that fails keeps the image of an earlier one.
    ASSERT_EQ(batch({"--png", path("old.png"), "--passes", "10"}).status, 0);
    const QImage before = image("old.png");
    ASSERT_EQ(batch({"--png", path("old.png"), "--box", "4=-0.9", "--box", "13=1e155"}).status, 2);
    EXPECT_EQ(image("old.png"), before);
}

TEST_F(BatchPng, TheProgramDrawsWithoutADisplay) {
    // No display, and a platform asked for that would need one: the image
    // is drawn offscreen all the same.
    const std::string file = path("nodisplay.png");
    for (const char* platform : {"", "QT_QPA_PLATFORM=xcb "}) {
        QFile::remove(QString::fromStdString(file));
        const std::string command =
            std::string("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ") + platform +
            "'" YAWMARK_BATCH_EXE "' --png '" + file + "' --size 300x200 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        EXPECT_EQ(image("nodisplay.png").size(), QSize(300, 200)) << platform;
    }
}

} // namespace
} // namespace yawmark
