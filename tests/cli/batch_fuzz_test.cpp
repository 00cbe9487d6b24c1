// SPDX-License-Identifier: MIT
// yawmark-batch fed generated input: a real case and marks file cut short or
// given wrong, huge or tiny values and control characters; random options and
// values; outputs that are a pipe, a folder, in no folder or without a name. It
// must exit 0, 2 or 3, a failure's first line "yawmark-batch: ..." naming an
// option, a box, a field or a file; print no control character but line ends;
// and a failed run must leave the files it was to write as they were.
// CI runs 500 command lines of seed 1. More, or others, by hand (a failure
// names its seed and run, to be replayed and kept as a row of batch_test.cpp):
//   YAWMARK_FUZZ_RUNS=20000 YAWMARK_FUZZ_SEED=7 tests/cli_tests --gtest_filter='BatchFuzz*'
#include "cli/BatchRunner.h"
#include "model/BoxTable.h"
#include "model/Text.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <sys/stat.h>

namespace yawmark {
namespace {

using Args = std::vector<std::string>;

std::string contents(const std::string& path) {
    QFile f(QString::fromStdString(path));
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : "(not readable)";
}

void write(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

unsigned long fromEnv(const char* name, unsigned long fallback) {
    const char* v = std::getenv(name);
    return v && *v ? std::strtoul(v, nullptr, 10) : fallback;
}

TEST(BatchFuzz, AnyInputExitsWithADocumentedStatusNamingWhatIsWrongAndKeepsOldFiles) {
    QTemporaryDir dir;
    // Any value may become a file name: relative ones land in the scratch folder.
    struct InFolder {
        QString was = QDir::currentPath();
        explicit InFolder(const QString& folder) { QDir::setCurrent(folder); }
        ~InFolder() { QDir::setCurrent(was); }
    } here(dir.path());
    const auto at = [&dir](const char* name) { return dir.filePath(name).toStdString(); };
    std::ostringstream sink;
    ASSERT_EQ(runBatch({"--box", "2=1200", "--save-case", at("good.yawmark")}, sink, sink), 0);
    ASSERT_EQ(runBatch({"--write-marks", at("good.csv")}, sink, sink), 0);
    const std::string goodCase = contents(at("good.yawmark")), goodMarks = contents(at("good.csv"));
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
    ASSERT_EQ(mkfifo(at("fifo").c_str(), 0600), 0);
    const Args outputs{at("out.png"), at("out.yawmark"), at("out.csv")};
    Args paths = outputs;
    paths.insert(paths.end(), {at("fifo"), at("folder"), at("none/x.csv"), "", at("case.yawmark"),
                               at("marks.csv"), at("good.csv"), at("good.yawmark"),
                               dir.path().toStdString() + "/\x1b[2J\xff.csv"});
    const std::string tiny = "0." + std::string(400, '0') + "1", huge = "9" + std::string(400, '9');
    // clang-format off
    // Values for any option, and for each option some it takes; a flag takes none.
    const Args values{"", "0", "-1", "1e300", "-1e-400", "nan", "inf", tiny, huge,
                      "18446744073709551616", "\x1b[2J", "a\rb\x7f", "\xff\xfe\xc2\x9b", "x", "=",
                      "1x1", "8192x8192", "Left"};
    const std::vector<std::pair<std::string, Args>> options{
        {"--passes", {"0", "7"}}, {"--seconds", {"0.1"}}, {"--every", {"1", "9"}},
        {"--vehicle", {"McLaren F1", "Imaginery Car", "Custom"}}, {"--box", {"1", "20", "0.5"}},
        {"--size", {"40x30"}}, {"--fit-for", {"speed", "speed,yaw", "all"}}, {"--sigma", {"0.05"}},
        {"--mu-uncertainty", {"0.01"}}, {"--png", paths}, {"--fit", paths}, {"--save-case", paths},
        {"--write-marks", paths}, {"--gyration", {}}, {"--no-auto-normal", {}},
        {"--no-auto-inertia", {}}, {"--auto-snap", {}}, {"--lines", {}}, {"--csv", {}},
        {"--fit-view", {}}, {"--starts-at-pull", {}}, {"--ends-at-rest", {}}, {"--help", {}},
        {"--frobnicate", {}}, {"-", {}}};
    // What goes into a case file's JSON, and rows for a marks file.
    const Args tokens{"1e300", "-1e-400", "1e999", "NaN", "\"\\u001b[2J\"", "\"\x1b\"", "\"\"",
                      std::string(3000, '['), "true", "null", "[]", "{}", '"' + tiny + '"', huge,
                      "\"x\\u0000y\"", "\"0.01\"", "\"1e300\"", "\"Right\"", "2",
                      "[{\"wheel\": \"RL\", \"points\": [[1, 2]]}]",
                      "[{\"wheel\": \"\\u0007\", \"sigma\": 1e-400, \"points\": [[1e400, 2]]}]"};
    const Args rows{"RL,1e300,0", "XX,1,2", "RL,\x1b,2", "wheel,x_ft,y_ft", "RL," + tiny + ",1",
                    ",,", "RL,1,2,3", "\xff", "wheel,x,y", "RL,3,4"};
    // clang-format on

    const auto seed = fromEnv("YAWMARK_FUZZ_SEED", 1), runs = fromEnv("YAWMARK_FUZZ_RUNS", 500);
    for (unsigned long run = 0; run < runs; ++run) {
        std::seed_seq seeds{seed, run};
        std::mt19937 rng(seeds);
        const auto pick = [&rng](const Args& from) { return from[rng() % from.size()]; };
        const auto mutated = [&](std::string text, const Args& inserts, bool json) {
            for (auto n = rng() % 3; n > 0; --n) {
                const std::size_t pos = rng() % (text.size() + 1);
                const std::size_t end = std::min(text.find_first_of(",\n", pos), text.size());
                // clang-format off
                switch (rng() % 6) {
                case 0: text.resize(pos); break; // cut short
                case 1: text.insert(pos, 1, static_cast<char>(rng() % 32)); break;
                case 2: // a field added at the top: the marks
                    if (json) text.insert(text.find('{') + 1, "\"marks\": " + pick(inserts) + ",");
                    break;
                default: // a value replaced
                    const std::size_t from = json ? text.rfind(": ", pos) + 2 : text.rfind('\n', pos) + 1;
                    if (from < end && from <= text.size()) text.replace(from, end - from, pick(inserts));
                } // clang-format on
            }
            return text;
        };
        write(at("case.yawmark"), mutated(goodCase, tokens, true));
        write(at("marks.csv"), mutated(goodMarks, rows, false));
        for (const std::string& o : outputs)
            write(o, "old " + o);
        // Always few passes, so that every run is quick; those drawn come after them.
        Args args{"--passes", "50"};
        if (rng() % 2) args.push_back(rng() % 2 ? at("case.yawmark") : pick(paths));
        if (rng() % 2)
            args.insert(args.end(), {pick({"--png", "--save-case", "--write-marks"}), pick(paths)});
        for (auto n = rng() % 4; n > 0; --n) {
            const auto& [option, good] = options[rng() % options.size()];
            std::string value = good.empty() || rng() % 3 == 0 ? pick(values) : pick(good);
            if (option == "--box") value = std::to_string(rng() % 20) + "=" + value;
            if (!good.empty() && rng() % 4 == 0) // the value inline
                args.push_back(option + "=" + value);
            else if (!good.empty() || rng() % 8 == 0) // a flag with a value after it, now and then
                args.insert(args.end(), {option, value});
            else
                args.push_back(option);
        }
        std::string shown = "seed " + std::to_string(seed) + " run " + std::to_string(run) + ":";
        for (const std::string& a : args)
            shown += " '" + model::printable(a) + "'";
        SCOPED_TRACE(shown);

        std::ostringstream out, err;
        const int status = runBatch(args, out, err);
        const std::string e = err.str(), line = e.substr(0, e.find('\n'));
        EXPECT_TRUE(status == 0 || status == 2 || status == 3) << status;
        for (const char c : e)
            ASSERT_FALSE(static_cast<unsigned char>(c) < 0x20 && c != '\n') << line;
        struct stat fifo {};
        ASSERT_TRUE(stat(at("fifo").c_str(), &fifo) == 0 && S_ISFIFO(fifo.st_mode));
        if (status == 0) continue;
        EXPECT_EQ(line.rfind("yawmark-batch: ", 0), 0u) << e;
        bool named = status == 3 || line.find("--") != std::string::npos ||
                     line.find("field \"") != std::string::npos ||
                     line.find("case file") != std::string::npos ||
                     line.find("the run stopped at pass") != std::string::npos;
        for (int box = 0; box < model::kBoxCount; ++box)
            for (const auto form : {model::InertiaForm::Moment, model::InertiaForm::Gyration})
                named |= line.find('"' + std::string(model::boxInfo(box, form).caption) + '"') !=
                         std::string::npos;
        for (const std::string& a : args)
            named |= line.find('"' + model::printable(a) + '"') != std::string::npos ||
                     line.find(model::printable(a) + ": ") != std::string::npos;
        EXPECT_TRUE(named) << line;
        for (const std::string& o : outputs)
            EXPECT_EQ(contents(o), "old " + o);
    }
}

} // namespace
} // namespace yawmark
