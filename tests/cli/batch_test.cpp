// SPDX-License-Identifier: MIT
// yawmark-batch: the command lines and boxes it refuses, the CSV it prints
// (byte for byte what the program printed before its model was rewritten),
// when a run ends, and the PNG file it writes or refuses to write.
#include "cli/BatchRunner.h"
#include "io/GifFile.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace yawmark {
namespace {

using Args = std::vector<std::string>;

struct Result {
    int status;
    std::string out, err;
};

Result batch(const Args& args) {
    std::ostringstream out, err;
    const int status = runBatch(args, out, err);
    return {status, out.str(), err.str()};
}

long lineCount(const std::string& text) {
    return std::count(text.begin(), text.end(), '\n');
}

// Exit 2 and one line on standard error, the program's name first, holding
// `fragment`; after an unknown option the usage follows.
void expectRefused(const Result& r, const std::string& fragment, const std::string& what) {
    EXPECT_EQ(r.status, 2) << what;
    const std::string line = r.err.substr(0, r.err.find('\n') + 1);
    EXPECT_EQ(line.rfind("yawmark-batch: ", 0), 0u) << what << ": " << r.err;
    EXPECT_NE(line.find(fragment), std::string::npos) << what << ": " << r.err;
    const bool unknown = fragment.starts_with("unknown option");
    EXPECT_EQ(r.err.substr(line.size()), unknown ? "\n" + batchUsage() : "") << what;
}

std::string joined(const Args& args) {
    std::string s;
    for (const auto& a : args)
        s += a + ' ';
    return s;
}

TEST(Batch, RefusesBadCommandLinesAndBoxesBeforeAnyOutput) {
    const struct {
        Args args;
        const char* fragment; // names the option, or the box by its caption
    } cases[] = {
        {{"--frobnicate"}, "unknown option \"--frobnicate\""},
        {{"--gyration=1"}, "unknown option \"--gyration=1\""},
        {{"--passes", "1e3"}, "--passes"},
        {{"--passes", "-1"}, "--passes"},
        {{"--passes"}, "--passes needs a number"},
        {{"--every", "0"}, "--every"},
        {{"--seconds", "nan"}, "--seconds"},
        {{"--seconds", "-1"}, "--seconds"},
        {{"--passes", "1", "--seconds", "1"}, "--passes or --seconds, not both"},
        {{"--png", "x.png", "--size", "0x10"}, "--size"},
        {{"--png", "x.png", "--size", "5x+5"}, "--size"},
        {{"--png", "x.png", "--size", "8193x10"}, "--size"},
        {{"--png", "x.png", "--size", "8192x4097"}, "--size"},
        {{"--size", "10x10"}, "--size, --csv and --fit-view go with --png"},
        {{"--csv"}, "--size, --csv and --fit-view go with --png"},
        {{"--fit-view"}, "--size, --csv and --fit-view go with --png"},
        {{"--png", ""}, "--png"},
        {{"--gif", "x.gif", "--fps", "0"}, "--fps needs a whole number of frames a second from 1"},
        {{"--gif", "x.gif", "--fps", "51"}, "--fps needs"},
        {{"--gif", "x.gif", "--speed", "0.009"}, "--speed needs a factor from 0.01 to 100"},
        {{"--gif", "x.gif", "--speed", "101"}, "--speed needs"},
        {{"--gif", "x.gif", "--size", "8193x10"}, "--size"},
        {{"--speed", "2"}, "--fps and --speed go with --gif"},
        {{"--gif", "x.gif", "--seconds", "300", "--speed", "0.01", "--fps", "31"},
         "--gif: the run would take 930001 frames, more than the 90000"},
        {{"--gif", "x.gif", "--png", "x.png"}, "give --png or --gif, not both"},
        {{"--box", "19=1"}, "--box"},
        {{"--box", "3"}, "--box"},
        {{"--vehicle", "Ferrari"}, "--vehicle: unknown vehicle \"Ferrari\""},
        {{"--vehicle", "F\x1b[2J\xff\xc2\x9b\x7f\u00e9"},
         "vehicle \"F\\x1B[2J\\xFF\\xC2\\x9B\\x7F\u00e9\""},
        {{"--save-case", "\xff.yawmark"},
         "--save-case: the file name \"\\xFF.yawmark\" is not UTF-8"},
        {{"--box", "2=0"}, "\"Vehicle Mass (kg)\" must be greater than 0."},
        {{"--box", "9=1"}, "\"Mass Center Turning Radius (m)\""},
        {{"--box", "5=0", "--no-auto-inertia", "--gyration"}, "\"Radius of Gyration (m)\""},
        {{"--box", "3=588"}, "\"Weight Distribution (% Rear)\" must be from 0 to 100."},
        {{"--box", "2=1139 mph"}, "\"Vehicle Mass (kg)\" takes a mass (kg, lb), not \"mph\"."},
        {{"--fit", "m.csv", "--fit-for", "yaw"}, "--fit-for needs speed, speed,yaw or all"},
        {{"--fit", "m.csv", "--sigma", "1e-300"}, "--sigma needs a number of metres from 0.001"},
        {{"--fit", "m.csv", "--mu-uncertainty", "-1"}, "--mu-uncertainty"},
        {{"--fit", "m.csv", "--max-seconds", "0"},
         "--max-seconds needs a number of seconds greater than 0, not \"0\""},
        {{"--fit", "m.csv", "--max-seconds", "nan"}, "--max-seconds needs a number"},
        {{"--max-seconds", "5"}, "go with --fit"},
        {{"--ends-at-rest"}, "go with --fit"},
        {{"--box", "6=1e5", "--write-marks", "far.csv"},
         "--write-marks: the run goes further than 1000000 m from the origin"},
        {{"--fit", "m.csv", "--png", "x.png"}, "give --fit or --png, not both"},
        {{"--write-marks", "m.csv", "--save-case", "c.yawmark"},
         "give --write-marks or --save-case"},
        {{"--save-case", "c", "--png", "p.png"}, "give --png or --save-case"},
        {{"--write-marks", "m.csv", "--png", "p.png"}, "give --png or --write-marks"},
        {{"--wheels", "--png", "p.png"}, "--wheels goes with the trajectory's CSV"},
        {{""}, "the case file name is empty"},
        {{"--mu-uncertainty", "0.05"}, "go with --fit"},
        {{"--fit-for", "speed"}, "go with --fit"},
        {{"--passes", "10000000001"}, "--passes asks for 10000000001 passes; at most 10000000000"},
        {{"--box", "13=1e-12", "--seconds", "1"},
         "--seconds 1 with a calculation interval of 1E-12 ms asks for 1000000000000000 passes"},
        {{"--fit", "no such marks.csv"}, "--fit: "},
        {{"--monte-carlo", "0"}, "--monte-carlo needs a whole number of draws from 1 to 10000000"},
        {{"--vary", "4=normal:1"}, "--vary 4=normal:1: a normal spread takes MEAN,SD, not \"1\"."},
        {{"--vary", "19=uniform:1,2"}, "--vary needs BOX=SPREAD with a box number from 0 to 18"},
        {{"--vary", "mass=normal:1139,300"}, "--vary: \"Vehicle Mass (kg)\" must be greater than"},
        {{"--vary", "4=normal:0.76,0.06"}, "--vary goes with --monte-carlo"},
        {{"--summary"}, "--seed, --threads and --summary go with --monte-carlo"},
        {{"--monte-carlo", "9", "--fit", "m.csv", "--summary"}, "--summary goes with --monte-carlo"},
        {{"--monte-carlo", "9", "--png", "p.png"}, "give --png or --monte-carlo, not both"},
        {{"--monte-carlo", "9", "--passes", "5"}, "--passes, --seconds and --every go with a single"},
        {{"--monte-carlo", "9"}, "--monte-carlo: no box has a spread"},
    };
    for (const auto& c : cases) {
        const Result r = batch(c.args);
        expectRefused(r, c.fragment, joined(c.args));
        EXPECT_EQ(r.out, "") << joined(c.args); // refused before the run
    }
    // The largest image, and the edges of the counts, are still accepted.
    for (const Args& ok : {Args{"--png", "x.png", "--size", "8192x4096"}, Args{"--every", "1"},
                           Args{"--gif", "g", "--fps", "50", "--speed", "0.01", "--fit-view"},
                           Args{"--gif", "g", "--fps", "1", "--speed", "100"},
                           Args{"--passes", "0"}, Args{"--seconds", "0"}, Args{"--box", "18=1"},
                           Args{"--passes", "10000000000"}, Args{"--fit", "m", "--save-case", "c"}})
        EXPECT_TRUE(std::holds_alternative<BatchOptions>(parseBatchOptions(ok))) << joined(ok);
}

// Rows the program printed before its rewrite, for the default skid and others.
TEST(Batch, CsvIsWhatTheProgramHasAlwaysPrinted) {
    const std::string header = "pass,t,x,y,vx,vy,heading,omega\n";
    const struct {
        Args args;
        std::string rows;
    } cases[] = {
        // --seconds stops at the first pass that reaches the time (0.02 exactly, after two).
        {{"--seconds", "0.02"},
         "1,0.01,-0.00020206935747290081,0.1996986248337099,-0.04041387149458016,"
         "19.939724966741977,0.01198396012340239,1.2203214364451835\n"
         "2,0.02,-0.000808262274422287,0.39879245939635927,-0.08082471189529708,"
         "19.879041945787886,0.024402881425632888,1.2634628240009156\n"},
        {{"--passes", "300", "--every", "100"},
         "100,1.0000000000000007,-1.2316982453801026,16.244608521283805,-1.0249396700783717,"
         "12.139906801804605,2.142282551959212,2.274124972022536\n"
         "200,2.0000000000000013,-1.705714971431477,25.693451912079418,-0.04532426656223883,"
         "6.88117197248378,2.9077139437761064,-0.01920615697486023\n"
         "300,2.99999999999998,-1.5034857540244542,29.985445349226897,0.23370937484835125,"
         "1.7159140886797055,2.8369844688157917,-0.046641452720438445\n"},
        {{"--vehicle", "Imaginery Car", "--box", "8=Right", "--box", "13=2.5", "--passes", "300",
          "--every", "150"},
         "150,0.3750000000000003,0.367735805253402,7.134549432579912,1.840533279692633,"
         "17.90534152171439,-0.5333353410424734,-1.5999827292787923\n"
         "300,0.749999999999995,1.243491526239564,13.339066810454604,2.6004251976008144,"
         "15.114667832396695,-1.158759867743985,-1.6951307992895088\n"},
        {{"--no-auto-normal", "--box", "11=-20", "--box", "12=0.5", "--box", "7=40", "--passes",
          "300", "--every", "300"},
         "300,2.99999999999998,19.4916886099451,22.032107153163647,0.3878013620498274,"
         "0.6026820262765887,-3.9086961025182103,-0.07436459484432202\n"},
        {{"--passes", "0"}, ""},
    };
    for (const auto& c : cases) {
        const Result r = batch(c.args);
        EXPECT_EQ(r.status, 0) << joined(c.args) << r.err;
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(r.out, header + c.rows) << joined(c.args);
    } // A unit typed after a box's number is converted.
    EXPECT_EQ(batch({"--box", "6=72 km/h", "--passes", "9"}).out, batch({"--passes", "9"}).out);
}

// Without --passes the run ends with the pass that brings the car to rest;
// every row reads back to exactly the run's doubles, the wheels where the
// trails plot them.
TEST(Batch, TheDefaultRunEndsAtRestAndItsRowsReadBackExactly) {
    const Result r = batch({"--wheels"});
    ASSERT_EQ(r.status, 0) << r.err;
    BatchSkid skid;
    ASSERT_FALSE(prepareBatchSkid(BatchOptions{}, skid));
    std::istringstream rows(r.out);
    std::string line;
    std::getline(rows, line);
    EXPECT_EQ(line + '\n', model::csvHeader(true));
    for (double pass = 1; std::getline(rows, line); ++pass) {
        ASSERT_EQ(skid.run.phase(), model::Phase::Running) << "a row after rest: " << line;
        ASSERT_TRUE(skid.run.pass(nullptr, false));
        const sim::Body& b = skid.run.body();
        std::vector<double> expected{pass,         b.time,       b.position.x, b.position.y,
                                     b.velocity.x, b.velocity.y, b.heading,    b.yawRate};
        for (const sim::Vec2 o : sim::placeWheels(skid.run.runCase().car, b.heading).offset)
            expected.insert(expected.end(), {b.position.x + o.x, b.position.y + o.y});
        std::vector<double> read;
        for (const char *p = line.data(), *end = p + line.size(); p < end; ++p)
            p = std::from_chars(p, end, read.emplace_back()).ptr;
        EXPECT_EQ(read, expected) << line;
    }
    EXPECT_NE(skid.run.phase(), model::Phase::Running) << "the last row is the car at rest";
}

// A 40 m/s skid slides 126 m, off the default view; --fit-view brings all of
// it in: no trail pixel on the image's edge.
TEST(Batch, FitViewShowsTheWholeSkid) {
    QTemporaryDir dir;
    const std::string file = dir.filePath("fit").toStdString();
    for (const bool fit : {false, true})
        for (const std::string option : {"--png", "--gif"}) {
            Args args{"--box", "6=40", "--seconds", "30", option, file, "--size", "300x300"};
            ASSERT_EQ(batch(fit ? (args.push_back("--fit-view"), args) : args).status, 0);
            QImageReader reader(QString::fromStdString(file));
            QImage image; // the last frame of the animation
            for (QImage frame; reader.read(&frame);)
                image = frame;
            EXPECT_EQ(image.copy(0, 0, 300, 1).allGray(), fit) << option; // crossed unless fitted
        }
}

TEST(Batch, ACaseFileRunsAsTheOptionsThatWroteItAndTheOptionsOverrideIt) {
    QTemporaryDir dir;
    const std::string file = dir.filePath("a.yawmark").toStdString();
    const Args options{"--box",   "2=1500",     "--gyration", "--no-auto-normal",
                       "--lines", "--auto-snap"};
    Args save = options, run = options;
    save.insert(save.end(), {"--save-case", file}), run.insert(run.end(), {"--passes", "30"});
    ASSERT_EQ(batch(save).status, 0);
    EXPECT_EQ(batch({file, "--passes", "30"}).out, batch(run).out);
    expectRefused(batch({file, "--box", "2=0"}), "\"Vehicle Mass (kg)\" must be greater than 0", file);
    // The spreads --vary gives are kept in the case, and its draws are the same.
    ASSERT_EQ(batch({"--vary", "4=normal:0.76,0.06", "--save-case", file}).status, 0);
    EXPECT_EQ(batch({file, "--monte-carlo", "9"}).out,
              batch({"--monte-carlo", "9", "--vary", "friction=normal:0.76,0.06"}).out);
}

TEST(Batch, MonteCarloPrintsARowADrawOrTheirSummary) {
    const Args args{"--monte-carlo", "60", "--seed", "3", "--vary", "friction=normal:0.76,0.06",
                    "--vary", "9=uniform:0.5,17"};
    const Result r = batch(args);
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')),
              "draw,friction,turnRadius,rest_x,rest_y,distance,turned,time");
    EXPECT_EQ(lineCount(r.out), 61);
    // A draw Draw refuses (the radius inside the car): its row has no outcome, a note says why.
    long refused = 0;
    for (std::size_t at = 0; (at = r.out.find(",,,,,\n", at)) != std::string::npos; ++at)
        ++refused;
    EXPECT_GT(refused, 0);
    EXPECT_EQ(lineCount(r.err), refused);
    Args more = args;
    more.push_back("--summary");
    const Result s = batch(more);
    std::istringstream lines(s.out);
    std::string names;
    for (std::string line; std::getline(lines, line);)
        names += line.substr(0, line.find(',')) + line.substr(line.rfind(',')) + ' ';
    EXPECT_EQ(names, "quantity,unit rest_x,m rest_y,m distance,m turned,deg time,s ");
    EXPECT_EQ(s.err, "yawmark-batch: note: " + std::to_string(refused) +
                         " of 60 draws have no outcome and are left out of the summary; the first: " +
                         r.err.substr(r.err.find(": \"") + 2, r.err.find('\n') - r.err.find(": \"") - 1));
}

TEST(Batch, ARunThatCannotGoOnEndsThereWithExitTwo) {
    const Result r = batch({"--box", "6=1e300", "--box", "13=1e10"});
    expectRefused(r, "the run stopped at pass 18 (t = 170000000 s)", "overflow");
    EXPECT_EQ(lineCount(r.out), 1 + 17); // every pass before it printed
}

// The marks the default skid at 25 m/s leaves, fitted again: a table, or a
// refusal on standard error with exit 3, or a bad file named by its line.
TEST(Batch, FitsTheLaunchToMarksOrSaysWhyNot) {
    QTemporaryDir dir;
    const std::string marks = dir.filePath("m.csv").toStdString();
    const std::string fitted = dir.filePath("fitted.yawmark").toStdString();
    ASSERT_EQ(batch({"--box", "6=25", "--write-marks", marks}).status, 0);
    Result r = batch({"--fit", marks, "--starts-at-pull", "--ends-at-rest", "--save-case", fitted});
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_EQ(r.out.rfind("quantity,value,low,high,unit\nspeed,24.99", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("\nrms,"), std::string::npos);
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 6); // 2 critical speeds
    EXPECT_EQ(batch({fitted, "--passes", "3"}).out, batch({"--box", "6=25", "--passes", "3"}).out);
    EXPECT_NE(r.err.find("note: solver: converged.\n"), std::string::npos) << r.err;
    // The draws' interval first, the marks' own after it, and the speed's sensitivity.
    const auto speedRow = [](const std::string& out) {
        const auto at = out.find("\nspeed,") + 1;
        return out.substr(at, out.find('\n', at) - at);
    };
    const std::string alone = speedRow(r.out);
    r = batch({"--fit", marks, "--starts-at-pull", "--ends-at-rest", "--monte-carlo", "4", "--vary",
               "friction=normal:0.896,0.04"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("quantity,value,low,high,unit,marks_low,marks_high\nspeed,24.99", 0), 0u);
    const std::string both = speedRow(r.out);
    EXPECT_EQ(both.substr(both.find(",m/s,") + 5), alone.substr(alone.find(',', 6) + 1, 
              alone.find(",m/s") - alone.find(',', 6) - 1)) << r.out;
    EXPECT_NE(r.out.find("\nsensitivity_friction,24.99"), std::string::npos) << r.out;
    r = batch({"--fit", marks, "--max-seconds", "1e-6"});
    EXPECT_EQ(r.status, 3);
    EXPECT_NE(r.err.find("refused: the fit took longer than its budget of 1e-06 s"),
              std::string::npos);

    // The first 15 m of the marks: the header and 30 points.
    QFile part(QString::fromStdString(marks));
    ASSERT_TRUE(part.open(QIODevice::ReadWrite));
    QByteArray head;
    for (int i = 0; i < 31; ++i)
        head += part.readLine();
    part.resize(0);
    part.write(head);
    part.close();
    expectRefused(batch({"--fit", marks, "--mu-uncertainty", "0.9"}),
                  "--fit: the uncertainty of μ must be 0 or more and less than μ (0.896",
                  "μ's uncertainty");
    r = batch({"--fit", marks, "--fit-for", "all"});
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(lineCount(r.err), 1);
    EXPECT_NE(r.err.find("refused: fitting everything needs a mark that ends"), std::string::npos);

    // Steering straight ahead, the turning radius steers nothing: it alone is refused.
    const std::string straight = dir.filePath("straight.csv").toStdString();
    const Args centre{"--box", "8=CE", "--no-auto-normal", "--box", "12=0.1"};
    Args write = centre, fit = centre;
    write.insert(write.end(), {"--write-marks", straight});
    fit.insert(fit.end(), {"--fit", straight, "--fit-for", "all", "--ends-at-rest"});
    ASSERT_EQ(batch(write).status, 0);
    r = batch(fit);
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.err, "yawmark-batch: turn_radius: the marks do not depend on it.\n");
    EXPECT_EQ(r.out, "");

    ASSERT_TRUE(part.open(QIODevice::Append));
    part.write("RL,1,two\n");
    part.close();
    expectRefused(batch({"--fit", marks}), "m.csv: line 32: \"y\" is not a number: \"two\"",
                  "bad marks");
    // Marks files may be larger than a case: this one is read to its last line.
    QFile large(dir.filePath("large.csv"));
    ASSERT_TRUE(large.open(QIODevice::WriteOnly));
    large.write(QByteArray(1 << 20, '\n') + "XX,1,2\n");
    large.close();
    expectRefused(batch({"--fit", large.fileName().toStdString()}),
                  "large.csv: line 1048577: the wheel must be", "a large file");
}

class BatchPng : public ::testing::Test {
protected:
    std::string path(const char* name) const { return dir_.filePath(name).toStdString(); }
    QTemporaryDir dir_;
};

TEST_F(BatchPng, TheProgramDrawsTheImageOfTheSizeAskedWithoutADisplay) {
    // A platform that needs a display, and none there: the image is drawn offscreen all the same.
    const std::string command =
        "env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb '" YAWMARK_BATCH_EXE "' --png '" +
        path("plot.png") + "' --size 300x200 --passes 100";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    const QImage image(QString::fromStdString(path("plot.png")));
    EXPECT_EQ(image.size(), QSize(300, 200));
    // Black axes and blue trail points (right of the labels) on the white background.
    bool black = false, blue = false;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            black |= image.pixel(x, y) == qRgb(0, 0, 0);
            blue |= image.pixel(x, y) == qRgb(0, 0, 255);
        }
    EXPECT_TRUE(black && blue);
}

TEST_F(BatchPng, ASurveysMarksFitAsTheirCsvAndTheCaseSceneIsDrawnAlsoAsSvg) {
    const std::string csv = path("m.csv"), survey = path("m.dxf");
    ASSERT_EQ(batch({"--box", "6=25", "--write-marks", csv}).status, 0);
    // The same marks as a drawing: each wheel's points a POINT on its own layer.
    QFile in(QString::fromStdString(csv)), out(QString::fromStdString(survey));
    ASSERT_TRUE(in.open(QIODevice::ReadOnly) && out.open(QIODevice::WriteOnly));
    out.write("0\nSECTION\n2\nENTITIES\n");
    for (const QByteArray& row : in.readAll().split('\n').mid(1)) {
        const QList<QByteArray> f = row.split(',');
        if (f.size() == 3) out.write("0\nPOINT\n8\nmark_" + f[0] + "\n10\n" + f[1] + "\n20\n" + f[2] + "\n");
    }
    out.write("0\nENDSEC\n0\nEOF\n");
    out.close();
    const Result a = batch({"--fit", csv}), b = batch({"--fit", survey, "--dxf-units", "m"});
    EXPECT_EQ(a.status, 0);
    EXPECT_EQ(a.out, b.out);
    expectRefused(batch({"--fit", survey}), "m.dxf: the drawing does not give its unit ($INSUNITS), "
                  "and none was given. Give --dxf-units", "no unit");

    // A red photo under the skid, opaque, from a case file.
    QImage red(40, 40, QImage::Format_RGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(dir_.filePath("red.png")));
    const std::string withScene = path("scene.yawmark");
    ASSERT_EQ(batch({"--save-case", withScene}).status, 0);
    QFile c(QString::fromStdString(withScene));
    ASSERT_TRUE(c.open(QIODevice::ReadOnly));
    QByteArray json = c.readAll();
    c.close();
    json.replace("\"format\"", "\"scene\": {\"image\": \"red.png\", \"opacity\": 1, "
                               "\"placement\": [1, 0, -20, 0, -1, 20]}, \"format\"");
    ASSERT_TRUE(c.open(QIODevice::WriteOnly | QIODevice::Truncate));
    c.write(json);
    c.close();
    Result r = batch({withScene, "--png", path("p.png"), "--passes", "10"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(QImage(dir_.filePath("p.png")).pixel(100, 273), qRgb(255, 0, 0));
    r = batch({withScene, "--svg", path("p.svg"), "--passes", "10", "--scale-bar"});
    ASSERT_EQ(r.status, 0) << r.err;
    QFile svg(dir_.filePath("p.svg"));
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    const QByteArray drawing = svg.readAll();
    EXPECT_TRUE(drawing.contains("<svg") && drawing.contains("<image") &&
                drawing.contains("</svg>"));
    // The report's skid lies on the photo too (the only picture a report holds).
    const auto pdf = [&](const std::string& name) {
        QFile f(dir_.filePath(QString::fromStdString(name)));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    ASSERT_EQ(batch({withScene, "--report", path("s.pdf")}).status, 0);
    ASSERT_EQ(batch({"--report", path("plain.pdf")}).status, 0);
    EXPECT_TRUE(pdf("s.pdf").contains("/Subtype /Image"));
    EXPECT_FALSE(pdf("plain.pdf").contains("/Subtype /Image"));
    ASSERT_TRUE(QFile::remove(dir_.filePath("red.png")));
    expectRefused(batch({withScene, "--png", path("q.png")}),
                  "--png: the case's scene image \"" + path("red.png") + "\": there is no such file.",
                  "no photo");
}

TEST_F(BatchPng, AFileThatCannotBeWrittenIsRefusedBeforeTheRunAndAnOldImageStays) {
    ASSERT_TRUE(QDir(dir_.path()).mkdir("folder"));
    ASSERT_EQ(mkfifo(path("pipe").c_str(), 0600), 0); // a PNG would have taken its place
    const Args failingRun{"--box", "6=1e300", "--box", "13=1e10", "--csv"};
    for (const std::string option : {"--png", "--gif"}) {
        const struct {
            std::string file;
            std::string fragment;
        } cases[] = {
            {path("folder"), "a folder of that name is in the way"},
            {path("pipe"), "a pipe (FIFO) of that name is in the way"},
            {path("no/such/folder/x"), option + ": cannot write"},
        };
        for (const auto& c : cases) {
            Args args = failingRun;
            args.insert(args.end(), {option, c.file});
            const Result r = batch(args);
            expectRefused(r, c.fragment, c.file);
            EXPECT_EQ(lineCount(r.out), 1) << "no pass ran"; // the CSV header only
        }

        // A run that fails leaves the file as it was.
        const QString old = QString::fromStdString(path("old"));
        QFile file(old);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("old image") == 9);
        file.close();
        Args args = failingRun;
        args.insert(args.end(), {option, old.toStdString()});
        expectRefused(batch(args), "stopped at pass 18", "failing run");
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), "old image");
    }
    // So does an animation that grows too large.
    io::GifFile gif(QString::fromStdString(path("old")), 20'000);
    ASSERT_FALSE(gif.open(300, 200, 25));
    std::vector<std::uint32_t> noise(300 * 200);
    std::optional<std::string> problem;
    for (int frame = 0; frame < 10 && !problem; ++frame) {
        for (auto& p : noise)
            p = std::uint32_t(std::rand());
        problem = gif.add(noise.data(), 300);
    }
    EXPECT_NE(problem.value_or(gif.commit().value_or("")).find("larger than"), std::string::npos);
    QFile file(QString::fromStdString(path("old")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "old image");
}

// The animation has a frame every speed / fps seconds of the run and one at
// its end; the first is the plot after the first pass, the last the plot at
// rest (the corner with the time left out).
TEST_F(BatchPng, AnAnimationGoesFromTheStartToRest) {
    const struct {
        Args args;
        int frames;
    } cases[] = {
        {{"--passes", "101", "--fps", "10"}, 11}, // 1 s a pass 10 ms apart, 0.1 s a frame
        {{"--passes", "102", "--fps", "10"}, 12}, // 1.01 s: a frame for the end
        {{"--passes", "101", "--fps", "10", "--speed", "0.5"}, 21},
        {{}, 89}, // 3.52 s to rest at 25 fps
        {{"--passes", "0"}, 1},
    };
    const auto png = [&](Args args) {
        args.insert(args.end(), {"--png", path("p.png"), "--size", "300x200"});
        EXPECT_EQ(batch(args).status, 0);
        return QImage(QString::fromStdString(path("p.png"))).copy(0, 30, 300, 170);
    };
    const auto same = [](const QImage& a, const QImage& b) {
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x)
                for (int shift : {0, 8, 16})
                    if (std::abs(int(a.pixel(x, y) >> shift & 255) -
                                 int(b.pixel(x, y) >> shift & 255)) > 30)
                        return false;
        return true;
    };
    for (const auto& c : cases) {
        Args args = c.args;
        args.insert(args.end(), {"--gif", path("a.gif"), "--size", "300x200"});
        ASSERT_EQ(batch(args).status, 0) << joined(args);
        QImageReader reader(QString::fromStdString(path("a.gif")));
        std::vector<QImage> frames;
        for (QImage frame; reader.read(&frame) && frame.size() == QSize(300, 200);)
            frames.push_back(frame.copy(0, 30, 300, 170));
        ASSERT_EQ(int(frames.size()), c.frames) << joined(args);
        if (!c.args.empty()) continue;
        EXPECT_TRUE(same(frames.front(), png({"--passes", "1"})));
        EXPECT_FALSE(same(frames[1], png({"--passes", "1"}))) << "the car moves";
        EXPECT_TRUE(same(frames.back(), png({})));
    }
}

} // namespace
} // namespace yawmark
