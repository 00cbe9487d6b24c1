// The plot image of yawmark-batch: what it shows, its size, and the command
// lines and files it refuses.
#include "app/BatchRunner.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
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

// How many pixels of the image have exactly this colour.
int count(const QImage& image, QRgb color) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += (image.pixel(x, y) & 0xFFFFFFu) == (color & 0xFFFFFFu);
    return n;
}

// The most black pixels in any one row (or column).
int mostBlack(const QImage& image, bool rows) {
    int best = 0;
    const int outer = rows ? image.height() : image.width();
    const int inner = rows ? image.width() : image.height();
    for (int i = 0; i < outer; ++i) {
        int n = 0;
        for (int j = 0; j < inner; ++j)
            n += ((rows ? image.pixel(j, i) : image.pixel(i, j)) & 0xFFFFFFu) == 0;
        best = std::max(best, n);
    }
    return best;
}

class BatchPng : public ::testing::Test {
protected:
    std::string path(const char* name) const { return dir_.filePath(name).toStdString(); }
    QTemporaryDir dir_;
};

TEST_F(BatchPng, ShowsAxesTrailsAndOutlinesAtTheRequestedSize) {
    const std::string plain = path("plain.png"), snaps = path("snaps.png"), wide = path("w.png");
    Result r = batch({"--png", plain});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.out.empty()) << "no CSV without --csv";
    EXPECT_TRUE(r.err.empty()) << r.err;
    ASSERT_EQ(batch({"--png", snaps, "--auto-snap"}).status, 0);
    ASSERT_EQ(batch({"--png=" + wide, "--size", "719x546", "--lines"}).status, 0);

    const QImage image(QString::fromStdString(plain));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(kDefaultImageWidth, kDefaultImageHeight));
    EXPECT_EQ(QImage(QString::fromStdString(wide)).size(), QSize(719, 546));

    // The five trails in their colours, the cyan rear edge of the start
    // outline and of the last one, on white.
    for (const QRgb c : {qRgb(255, 0, 0), qRgb(255, 0, 255), qRgb(0, 0, 255), qRgb(0, 255, 0),
                         qRgb(0, 255, 255), qRgb(255, 255, 255)})
        EXPECT_GT(count(image, c), 0) << std::hex << c;
    // Black axes: the x axis from -20 to 7.5 m across most of the image, the
    // y axis its whole height but where the trails cross it.
    EXPECT_GE(mostBlack(image, true), image.width() * 8 / 10);
    EXPECT_GE(mostBlack(image, false), image.height() * 8 / 10);

    // Automatic snapshots leave more lasting outlines, each with its cyan edge.
    const QImage withSnaps(QString::fromStdString(snaps));
    EXPECT_GT(count(withSnaps, qRgb(0, 255, 255)), count(image, qRgb(0, 255, 255)) + 20);
}

TEST_F(BatchPng, DrawingLeavesTheTrajectoryAlone) {
    // The CSV of a run that also draws (with snapshots) is the CSV of one that does not.
    const Result csvOnly = batch({"--passes", "400", "--auto-snap"});
    const Result both = batch({"--passes", "400", "--auto-snap", "--png", path("a.png"), "--csv"});
    ASSERT_EQ(both.status, 0) << both.err;
    EXPECT_FALSE(csvOnly.out.empty());
    EXPECT_EQ(both.out, csvOnly.out);
    // The image is the same every time, also from a second GUI application in one process.
    ASSERT_EQ(batch({"--passes", "400", "--auto-snap", "--png", path("b.png")}).status, 0);
    EXPECT_EQ(QImage(QString::fromStdString(path("a.png"))),
              QImage(QString::fromStdString(path("b.png"))));
}

TEST_F(BatchPng, BadSizesAndFilesExitTwoWithOneLine) {
    ASSERT_TRUE(QDir(dir_.path()).mkdir("folder"));
    const struct {
        std::vector<std::string> args;
        const char* fragment;
    } cases[] = {
        {{"--png", path("x.png"), "--size", "0x10"}, "--size"},
        {{"--png", path("x.png"), "--size", "10"}, "--size"},
        {{"--png", path("x.png"), "--size", "x10"}, "--size"},
        {{"--png", path("x.png"), "--size", "10x"}, "--size"},
        {{"--png", path("x.png"), "--size", "-5x5"}, "--size"},
        {{"--png", path("x.png"), "--size", "5x+5"}, "--size"},
        {{"--png", path("x.png"), "--size", "5x5x5"}, "--size"},
        {{"--png", path("x.png"), "--size", "1.5x3"}, "--size"},
        {{"--png", path("x.png"), "--size", " 5x5"}, "--size"},
        {{"--png", path("x.png"), "--size", "8193x10"}, "--size"},
        {{"--png", path("x.png"), "--size", "8192x4097"}, "33554432 pixels"},
        {{"--png", path("x.png"), "--size", "99999999999x5"}, "--size"},
        {{"--png", path("x.png"), "--size"}, "--size needs WxH"},
        {{"--size", "10x10"}, "go with --png"},
        {{"--csv"}, "go with --png"},
        {{"--png"}, "--png needs a file name"},
        {{"--png", ""}, "--png needs a file name"},
        {{"--png", path("no/such/folder/x.png")}, "cannot write"},
        {{"--png", path("folder")}, "it is a folder"},
        {{"--png", "/proc/yawmark.png"}, "cannot write"},
        {{"--png", path("x.png"), "--box", "2=0"}, "\"Vehicle Mass (kg)\" must not be 0."},
        {{"--png", path("x.png"), "--box", "4=-0.9", "--box", "13=1e155"}, "stopped at pass"},
    };
    for (const auto& c : cases) {
        const Result r = batch(c.args);
        EXPECT_EQ(r.status, 2) << c.args.back();
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_NE(r.err.find(c.fragment), std::string::npos) << r.err;
    }
    // No run that failed left an image behind.
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path("x.png"))));

    // The largest sizes accepted.
    EXPECT_EQ(parseImageSize("8192x4096"), (std::pair{8192, 4096}));
    EXPECT_EQ(parseImageSize("1X1"), (std::pair{1, 1}));
}

TEST_F(BatchPng, AFailedRunKeepsTheOldImage) {
    const QString file = QString::fromStdString(path("old.png"));
    ASSERT_EQ(batch({"--png", path("old.png"), "--passes", "10"}).status, 0);
    const QImage before(file);
    ASSERT_EQ(batch({"--png", path("old.png"), "--box", "4=-0.9", "--box", "13=1e155"}).status, 2);
    EXPECT_EQ(QImage(file), before);
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
        EXPECT_EQ(QImage(QString::fromStdString(file)).size(), QSize(300, 200)) << platform;
    }
}

} // namespace
} // namespace yawmark
