// SPDX-License-Identifier: MIT
// yawmark-batch: a skid run exactly as Draw runs it, without a window, its
// trajectory printed as CSV or its plot drawn into a PNG image. The option
// parsing, the set-up and the loop are separate steps so that several outputs
// can observe the same passes.
#pragma once

#include "io/CaseFile.h"
#include "model/Boxes.h"
#include "model/Fit.h"
#include "model/MonteCarlo.h"
#include "model/Run.h"
#include "model/Trajectory.h"
#include "model/Units.h"
#include "plot/View.h"
#include "sim/Draw.h"

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace yawmark {

// Without --passes or --seconds a run goes on until the car comes to rest, for
// at most this many passes; no run is longer than kMaxBatchPasses.
inline constexpr std::uint64_t kMaxRestPasses = 100'000;
inline constexpr std::uint64_t kMaxBatchPasses = 10'000'000'000;

// The default image: as wide as the plot beside the panel in the window's design
// (527 x 546 pixels, 241 of them the panel's), as high as that window.
inline constexpr int kDefaultImageWidth = 286;
inline constexpr int kDefaultImageHeight = 546;

// What the command line asks for.
struct BatchOptions {
    std::string caseFile;                           // CASE.yawmark: the case to start from
    std::string saveCase;                           // --save-case FILE: write the case, run nothing
    std::optional<std::uint64_t> passes;            // --passes N; neither: until the car rests
    std::optional<double> seconds;                  // --seconds T: run until simTime >= T
    std::uint64_t every = 1;                        // --every K: print every K-th pass
    std::string vehicle;                            // --vehicle NAME, as chosen in the vehicle list
    std::vector<std::pair<int, std::string>> boxes; // --box I=TEXT, in the order given
    bool autoNormal = true;                         // cleared by --no-auto-normal
    bool autoInertia = true;                        // cleared by --no-auto-inertia
    bool gyration = false;                          // --gyration: box 5 holds a radius of gyration
    bool autoSnap = false;                          // --auto-snap: "Auto" snapshots ticked
    bool lines = false;                             // --lines: every trail joined into lines
    std::string png;                                // --png FILE: draw the plot into FILE
    bool svg = false;                               // --svg FILE, or --png FILE.svg: as SVG
    bool scaleBar = false;                          // --scale-bar: a scale bar in the image
    int width = kDefaultImageWidth;                 // --size WxH, pixels
    int height = kDefaultImageHeight;
    bool csv = false;                      // --csv: print the CSV also with --png
    bool wheels = false;                   // --wheels: each wheel's position too
    bool fitView = false;                  // --fit-view: the image fitted to the skid
    std::string gif;                       // --gif FILE: an animation of the run
    int fps = 25;                          // --fps N: its frames a second
    double speed = 1;                      // --speed X: simulated seconds a second
    std::string fit;                       // --fit MARKS.csv|SURVEY.dxf: fit the launch to marks
    std::optional<double> dxfUnits;        // --dxf-units m|cm|mm|ft|in: metres in the DXF's unit
    std::optional<model::Unknowns> fitFor; // --fit-for speed|speed,yaw|all
    std::optional<double> sigma;           // --sigma M: the marks' uncertainty
    std::optional<double> muUncertainty;   // --mu-uncertainty D
    std::optional<double> maxSeconds;      // --max-seconds S: the fit's budget
    bool startsAtPull = false;             // --starts-at-pull
    bool endsAtRest = false;               // --ends-at-rest
    std::string writeMarks;                // --write-marks FILE: the marks the run leaves, as CSV
    bool help = false;                     // -h, --help
    bool version = false;                  // --version

    // Monte Carlo.
    std::optional<std::uint64_t> monteCarlo;         // --monte-carlo N: N draws
    std::vector<std::pair<int, model::Spread>> vary; // --vary BOX=SPREAD, in the order given
    std::optional<std::uint64_t> seed;               // --seed S (default 1)
    std::optional<int> threads;                      // --threads T (default: every core)
    bool summary = false;                            // --summary: percentiles, not draws

    // The report.
    std::string report;                // --report FILE.pdf
    std::optional<model::Units> units; // --units metric|us (default metric)

    // Neither --passes nor --seconds: the run goes on until the car comes to rest.
    bool untilRest() const { return !passes && !seconds; }
};

// The options, or the one-line message for a command line that cannot be used.
std::variant<BatchOptions, std::string> parseBatchOptions(const std::vector<std::string>& args);

// The usage text of --help.
std::string batchUsage();

// A skid being run: the case, the box texts it was read from, and its run.
struct BatchSkid {
    model::Case c;
    model::BoxTexts texts;
    model::Run run;
    io::CaseFile file; // the case as a file holds it: the texts as typed, the check boxes
    std::vector<std::string> notes; // the case file's fields ignored, one line each
};

// Start-up or the case file, the chosen vehicle, the radius-of-gyration form
// of box 5, the typed boxes and trail check boxes, then Draw's preparation and
// the run started. Returns the message naming the box (or the file and its
// field) if the run cannot start.
std::optional<std::string> prepareBatchSkid(const BatchOptions& options, BatchSkid& skid);

// Called after each pass with its number (1-based) and the body it left.
using AfterPass = std::function<void(std::uint64_t pass, const sim::Body& body)>;

// Runs the passes the options ask for (without --passes or --seconds, through
// the pass that brings the car to rest), as the window's loop runs them, drawn
// by `drawer` if there is one. Returns the message if the numbers stop being
// finite.
std::optional<std::string> runBatchSkid(const BatchOptions& options, model::Run& run,
                                        sim::Drawer* drawer, const AfterPass& afterPass);

// The fit of the skid's launch to the marks the options name: prints the
// table and returns 0, or one line on err and 2 (the marks or options cannot
// be used) or 3 (the fit is refused). With --save-case the fitted case is
// written too. While it works it shows its progress on err when that is the
// standard error and a terminal.
int runBatchFit(const BatchOptions& options, BatchSkid& skid, std::ostream& out, std::ostream& err);

// The marks of --fit, with the σ and the flags of the options; their file's
// bytes into `bytes` when given. Or the message, which names the option.
std::variant<std::vector<model::Mark>, std::string> readBatchMarks(const BatchOptions& options,
                                                                   QByteArray* bytes = nullptr);
// The fit's settings the options ask for, for the skid.
model::FitSettings batchFitSettings(const BatchOptions& options, const BatchSkid& skid);
// The Monte Carlo settings the options give (--monte-carlo, --seed, --threads).
model::MonteCarloSettings batchMonteCarloSettings(const BatchOptions& options);

// --report: the PDF report of the skid, with the fit and the draws the
// options ask for. Returns 0, or 2 after one line on err (the report or an
// input cannot be used), or 3 when the fit is refused (the report, written
// all the same, says why).
int runBatchReport(const BatchOptions& options, const BatchSkid& skid, std::ostream& err);

// The draws of --monte-carlo from the skid's boxes as typed and the case's
// spreads (those of --vary instead where given): one CSV row a draw, or the
// summary table; returns 0, or 2 after one line on err when the case cannot be
// run so, or 3 when no draw comes to rest.
int runBatchMonteCarlo(const BatchOptions& options, const BatchSkid& skid, std::ostream& out,
                       std::ostream& err);

// The whole program: returns the exit status (0, or 2 after one line on err;
// 3 for a refused fit).
int runBatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace yawmark
