// SPDX-License-Identifier: MIT
#include "cli/BatchRunner.h"

#include "cli/BatchGui.h"
#include "cli/BatchImageFile.h"
#include "cli/BatchScene.h"
#include "io/GifFile.h"
#include "model/Scene.h"
#include "model/Text.h"
#include "plot/Animation.h"
#include "sim/NumberText.h"

#include <QFileInfo>

#include <charconv>
#include <cmath>
#include <ostream>

namespace yawmark {

namespace {

using namespace model;

std::optional<std::uint64_t> parseCount(std::string_view text) {
    std::uint64_t value = 0;
    if (text.empty()) return std::nullopt;
    const auto res = std::from_chars(text.data(), text.data() + text.size(), value);
    if (res.ec != std::errc() || res.ptr != text.data() + text.size()) return std::nullopt;
    return value;
}

} // namespace

std::variant<BatchOptions, std::string> parseBatchOptions(const std::vector<std::string>& args) {
    BatchOptions o;
    bool sizeGiven = false, animationGiven = false;
    bool caseGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::optional<std::string> inlineValue;
        if (const auto eq = name.find('='); name.rfind("--", 0) == 0 && eq != std::string::npos) {
            inlineValue = name.substr(eq + 1);
            name.resize(eq);
        }
        const auto value = [&]() -> std::optional<std::string> {
            if (inlineValue) return inlineValue;
            if (i + 1 < args.size()) return args[++i];
            return std::nullopt;
        };
        const auto flag = [&]() { return !inlineValue; };

        if ((name == "--help" || name == "-h") && flag()) {
            o.help = true;
        } else if (name == "--version" && flag()) {
            o.version = true;
        } else if (name == "--no-auto-normal" && flag()) {
            o.autoNormal = false;
        } else if (name == "--no-auto-inertia" && flag()) {
            o.autoInertia = false;
        } else if (name == "--gyration" && flag()) {
            o.gyration = true;
        } else if (name == "--auto-snap" && flag()) {
            o.autoSnap = true;
        } else if (name == "--lines" && flag()) {
            o.lines = true;
        } else if (name == "--wheels" && flag()) {
            o.wheels = true;
        } else if (name == "--csv" && flag()) {
            o.csv = true;
        } else if (name == "--fit-view" && flag()) {
            o.fitView = true;
        } else if (name == "--png" || name == "--svg") {
            const auto text = value();
            if (!text || text->empty()) return name + " needs a file name.";
            o.png = *text;
            o.svg = name == "--svg" || QFileInfo(QString::fromStdString(*text))
                                               .suffix()
                                               .compare(QLatin1String("svg"),
                                                        Qt::CaseInsensitive) == 0;
        } else if (name == "--scale-bar" && flag()) {
            o.scaleBar = true;
        } else if (name == "--dxf-units") {
            const auto text = value();
            const auto unit = text ? parseLengthUnitName(*text) : std::nullopt;
            if (!unit)
                return "--dxf-units needs m, cm, mm, ft or in, not \"" +
                       printable(text.value_or("")) + "\".";
            o.dxfUnits = unit;
        } else if (name == "--gif") {
            const auto text = value();
            if (!text || text->empty()) return "--gif needs a file name.";
            o.gif = *text;
        } else if (name == "--fps") {
            const auto text = value();
            const auto n = text ? parseCount(*text) : std::nullopt;
            if (!n || *n < io::kMinGifFps || *n > io::kMaxGifFps)
                return "--fps needs a whole number of frames a second from " +
                       std::to_string(io::kMinGifFps) + " to " + std::to_string(io::kMaxGifFps) +
                       ", not \"" + printable(text.value_or("")) + "\".";
            o.fps = static_cast<int>(*n);
            animationGiven = true;
        } else if (name == "--speed") {
            const auto text = value();
            const auto v = text ? parseNumber(*text) : std::nullopt;
            if (!v || !(*v >= plot::kMinAnimationSpeed && *v <= plot::kMaxAnimationSpeed))
                return "--speed needs a factor from " + formatNumber(plot::kMinAnimationSpeed) +
                       " to " + formatNumber(plot::kMaxAnimationSpeed) + " (1: real time), not \"" +
                       printable(text.value_or("")) + "\".";
            o.speed = *v;
            animationGiven = true;
        } else if (name == "--size") {
            const auto text = value();
            if (!text) return "--size needs WxH, for example 286x546.";
            const auto size = plot::parseImageSize(*text);
            if (!size)
                return "--size needs WxH with whole numbers from 1 to " +
                       std::to_string(plot::kMaxImageSide) + " and at most " +
                       std::to_string(plot::kMaxImagePixels) + " pixels in all, not \"" +
                       printable(*text) + "\".";
            o.width = size->first;
            o.height = size->second;
            sizeGiven = true;
        } else if (name == "--passes" || name == "--every") {
            const auto text = value();
            if (!text) return name + " needs a number.";
            const auto n = parseCount(*text);
            if (!n)
                return name + " needs a whole number of 0 or more, not \"" + printable(*text) +
                       "\".";
            if (name == "--passes") {
                if (*n > kMaxBatchPasses)
                    return "--passes asks for " + std::to_string(*n) + " passes; at most " +
                           std::to_string(kMaxBatchPasses) + " are run.";
                o.passes = *n;
            } else {
                if (*n == 0) return "--every needs a number of 1 or more.";
                o.every = *n;
            }
        } else if (name == "--seconds") {
            const auto text = value();
            if (!text) return "--seconds needs a number.";
            const auto t = parseNumber(*text);
            if (!t || *t < 0)
                return "--seconds needs a number of 0 or more, not \"" + printable(*text) + "\".";
            o.seconds = *t;
        } else if (name == "--vehicle") {
            const auto text = value();
            if (!text) return "--vehicle needs a name.";
            bool known = false;
            for (auto v : kVehicleNames)
                known = known || v == *text;
            if (!known)
                return "--vehicle: unknown vehicle \"" + printable(*text) +
                       "\" (choose \"McLaren F1\", \"Imaginery Car\" or \"Custom\").";
            o.vehicle = *text;
        } else if (name == "--starts-at-pull" && flag()) {
            o.startsAtPull = true;
        } else if (name == "--ends-at-rest" && flag()) {
            o.endsAtRest = true;
        } else if (name == "--fit" || name == "--write-marks") {
            const auto text = value();
            if (!text || text->empty()) return name + " needs a file name.";
            (name == "--fit" ? o.fit : o.writeMarks) = *text;
        } else if (name == "--fit-for") {
            const auto text = value();
            const auto unknowns = text ? parseUnknowns(*text) : std::nullopt;
            if (!unknowns)
                return "--fit-for needs speed, speed,yaw or all, not \"" +
                       printable(text.value_or("")) + "\".";
            o.fitFor = *unknowns;
        } else if (name == "--sigma" || name == "--mu-uncertainty") {
            const auto text = value();
            const auto v = text ? parseNumber(*text) : std::nullopt;
            const bool sigma = name == "--sigma";
            if (!v || (sigma ? !sigmaInRange(*v) : !(*v >= 0)))
                return name + " needs a number " +
                       (sigma ? "of metres from " + formatNumber(kMinMarkSigma) + " to " +
                                    formatNumber(kMaxMarkSigma)
                              : std::string("of 0 or more")) +
                       ", not \"" + printable(text.value_or("")) + "\".";
            if (sigma)
                o.sigma = *v;
            else
                o.muUncertainty = *v;
        } else if (name == "--monte-carlo" || name == "--seed" || name == "--threads") {
            const auto text = value();
            const auto n = text ? parseCount(*text) : std::nullopt;
            const std::uint64_t v = n.value_or(0);
            const std::uint64_t most = name == "--threads" ? 1024 : kMaxDraws;
            if (!n || (name != "--seed" && (v < 1 || v > most)))
                return name +
                       (name == "--seed"      ? " needs a whole number of 0 or more"
                        : name == "--threads" ? " needs a whole number of threads from 1 to 1024"
                                              : " needs a whole number of draws from 1 to " +
                                                    std::to_string(kMaxDraws)) +
                       ", not \"" + printable(text.value_or("")) + "\".";
            if (name == "--seed")
                o.seed = v;
            else if (name == "--threads")
                o.threads = static_cast<int>(v);
            else
                o.monteCarlo = v;
        } else if (name == "--vary") {
            const auto text = value();
            const auto eq = text ? text->find('=') : std::string::npos;
            std::optional<int> box;
            if (eq != std::string::npos) {
                const std::string_view key = std::string_view(*text).substr(0, eq);
                if (const auto index = parseCount(key); index && *index < kBoxCount)
                    box = static_cast<int>(*index);
                for (int b = 0; b < kBoxCount; ++b)
                    if (sameLetters(key, kBoxKeys[b])) box = b;
            }
            if (!box)
                return "--vary needs BOX=SPREAD with a box number from 0 to 18 or a case-file "
                       "key such as friction, not \"" +
                       printable(text.value_or("")) + "\".";
            const auto spread = parseSpread(std::string_view(*text).substr(eq + 1));
            if (const auto* problem = std::get_if<std::string>(&spread))
                return "--vary " + printable(*text) + ": " + *problem + ".";
            o.vary.emplace_back(*box, std::get<Spread>(spread));
        } else if (name == "--summary" && flag()) {
            o.summary = true;
        } else if (name == "--max-seconds") {
            const auto text = value();
            const auto v = text ? parseNumber(*text) : std::nullopt;
            if (!v || !(*v > 0))
                return "--max-seconds needs a number of seconds greater than 0, not \"" +
                       printable(text.value_or("")) + "\".";
            o.maxSeconds = *v;
        } else if (name == "--report") {
            const auto text = value();
            if (!text || text->empty()) return "--report needs a file name.";
            o.report = *text;
        } else if (name == "--units") {
            const auto text = value();
            if (!text || (*text != "metric" && *text != "us"))
                return "--units needs metric or us, not \"" + printable(text.value_or("")) + "\".";
            o.units = *text == "us" ? Units::US : Units::Metric;
        } else if (name == "--save-case") {
            const auto text = value();
            if (!text || text->empty()) return "--save-case needs a file name.";
            o.saveCase = *text;
        } else if (!name.starts_with('-') || name == "-") {
            if (caseGiven) return "give one case file, not \"" + printable(args[i]) + "\" as well.";
            if (args[i].empty()) return "the case file name is empty.";
            o.caseFile = args[i];
            caseGiven = true;
        } else if (name == "--box") {
            const auto text = value();
            if (!text) return "--box needs I=TEXT.";
            const auto eq = text->find('=');
            const auto index = parseCount(std::string_view(*text).substr(0, eq));
            if (eq == std::string::npos || !index || *index >= kBoxCount)
                return "--box needs I=TEXT with a box number I from 0 to 18, not \"" +
                       printable(*text) + "\".";
            o.boxes.emplace_back(static_cast<int>(*index), text->substr(eq + 1));
        } else {
            return "unknown option \"" + printable(args[i]) + "\".";
        }
    }
    if (o.passes && o.seconds) return "give --passes or --seconds, not both.";
    if (o.png.empty() && o.gif.empty() && (sizeGiven || o.csv || o.fitView))
        return "--size, --csv and --fit-view go with --png or --gif.";
    if (o.gif.empty() && animationGiven) return "--fps and --speed go with --gif.";
    const bool fitOption =
        o.sigma || o.startsAtPull || o.endsAtRest || o.muUncertainty || o.fitFor || o.maxSeconds;
    if (o.dxfUnits && !(QFileInfo(QString::fromStdString(o.fit)).suffix().compare(
                           QLatin1String("dxf"), Qt::CaseInsensitive) == 0))
        return "--dxf-units goes with --fit SURVEY.dxf.";
    if (o.scaleBar && o.png.empty() && o.gif.empty())
        return "--scale-bar goes with --png, --svg or --gif.";
    if (o.fit.empty() && fitOption)
        return "--fit-for, --sigma, --mu-uncertainty, --max-seconds, --starts-at-pull and "
               "--ends-at-rest go with --fit.";
    for (const auto& [box, spread] : o.vary)
        if (const auto problem = checkSpread(box, spread))
            return "--vary: " +
                   boxMessage(*problem, o.gyration ? InertiaForm::Gyration : InertiaForm::Moment);
    if (o.summary && !o.fit.empty())
        return "--summary goes with --monte-carlo alone: with --fit the draws give the fit's "
               "interval.";
    if (!o.monteCarlo && (o.seed || o.threads || o.summary))
        return "--seed, --threads and --summary go with --monte-carlo.";
    if (!o.monteCarlo && !o.vary.empty() && (o.saveCase.empty() || !o.fit.empty()))
        return "--vary goes with --monte-carlo (or with --save-case, which keeps the spreads in "
               "the case).";
    if (o.report.empty() && o.units) return "--units goes with --report.";
    if (!o.report.empty() && (o.passes || o.seconds || o.every != 1 || o.summary))
        return "--passes, --seconds, --every and --summary do not go with --report: the report "
               "runs the case until the car comes to rest.";
    if (o.monteCarlo && (o.passes || o.seconds || o.every != 1))
        return "--passes, --seconds and --every go with a single run: each draw of "
               "--monte-carlo runs until the car comes to rest.";
    // Each of these writes its own output and nothing else; only a fit also
    // writes the case it found.
    std::vector<std::string_view> outputs;
    for (const auto& [option, given] :
         {std::pair{"--report", !o.report.empty()},
          // With --report, the fit and the draws are parts of the report.
          std::pair{"--fit", !o.fit.empty() && o.report.empty()},
          std::pair{"--png", !o.png.empty()},
          std::pair{"--gif", !o.gif.empty()},
          std::pair{"--write-marks", !o.writeMarks.empty()},
          std::pair{"--save-case", !o.saveCase.empty() && (o.fit.empty() || !o.report.empty())},
          // With --fit, the draws give the fit's second interval.
          std::pair{"--monte-carlo", o.monteCarlo && o.fit.empty() && o.report.empty()}})
        if (given) outputs.push_back(option);
    if (outputs.size() > 1)
        return "give " + std::string(outputs[0]) + " or " + std::string(outputs[1]) +
               ", not both: each names an output of its own.";
    if (o.wheels && (!outputs.empty() && !o.csv))
        return "--wheels goes with the trajectory's CSV: not with " + std::string(outputs[0]) +
               (o.png.empty() && o.gif.empty() ? "." : " unless --csv is given too.");
    // Qt would open or write another file for a name that is not UTF-8 (its
    // bytes replaced), so that name is refused as typed.
    for (const auto& [option, name] : {std::pair{"the case file", &o.caseFile},
                                       {"--png", &o.png},
                                       {"--gif", &o.gif},
                                       {"--fit", &o.fit},
                                       {"--save-case", &o.saveCase},
                                       {"--report", &o.report},
                                       {"--write-marks", &o.writeMarks}})
        if (QString::fromStdString(*name).toStdString() != *name)
            return std::string(option) + ": the file name \"" + printable(*name) +
                   "\" is not UTF-8 text, which Yawmark cannot open or write.";
    return o;
}

std::optional<std::string> prepareBatchSkid(const BatchOptions& options, BatchSkid& skid) {
    io::CaseFile& file = skid.file;
    Case& c = skid.c;
    BoxTexts& t = skid.texts;
    file = io::startupCaseFile();
    c = startupCase();
    if (!options.caseFile.empty()) {
        auto loaded = io::loadCase(QString::fromStdString(options.caseFile));
        if (auto* message = std::get_if<std::string>(&loaded)) return *message;
        file = std::get<io::CaseRead>(loaded).file;
        skid.notes = std::get<io::CaseRead>(loaded).notes;
        // The case's car as Draw reads its boxes, for a vehicle chosen on top of it.
        auto prepared = prepareDraw(file.texts, file.autos, file.form);
        if (auto* problem = std::get_if<BoxProblem>(&prepared))
            return boxMessage(*problem, file.form);
        c = std::get<Prepared>(prepared).c;
    }
    t = file.texts;
    if (auto vehicle = preset(options.vehicle)) {
        applyVehicle(*vehicle, c.car);
        writeBoxes(c, t, false);
        file.vehicle = options.vehicle;
    }
    const bool gyration = options.gyration && file.form == InertiaForm::Moment;
    const InertiaForm form = options.gyration ? InertiaForm::Gyration : file.form;
    if (gyration) {
        // As the Options dialog does: box 5 shows the stored inertia as a radius.
        auto text = inertiaText(c.car, form);
        if (auto* problem = std::get_if<BoxProblem>(&text)) return boxMessage(*problem, form);
        t.text[kInertiaBox] = std::get<std::string>(text);
    }
    for (const auto& [box, text] : options.boxes)
        t.text[box] = text;
    if (options.lines) t.trail.fill(1);
    for (const auto& [box, spread] : options.vary)
        file.spreads[box] = spread;
    file.texts = t;
    file.form = form;
    file.autos = {file.autos.normal && options.autoNormal,
                  file.autos.inertia && options.autoInertia};
    file.autoSnapshot = file.autoSnapshot || options.autoSnap;

    auto prepared = prepareDraw(t, file.autos, form);
    if (auto* problem = std::get_if<BoxProblem>(&prepared)) return boxMessage(*problem, form);
    c = std::get<Prepared>(prepared).c;
    t = std::get<Prepared>(prepared).texts;
    skid.run.start(c);
    return std::nullopt;
}

std::optional<std::string> runBatchSkid(const BatchOptions& options, Run& run, sim::Drawer* drawer,
                                        const AfterPass& afterPass) {
    const std::uint64_t passes = options.passes.value_or(kMaxRestPasses);
    for (std::uint64_t pass = 1;; ++pass) {
        const double before = run.body().time;
        if (options.seconds ? before >= *options.seconds : pass > passes) break;
        if (!run.pass(drawer, options.autoSnap))
            return "the run stopped at pass " + std::to_string(pass) +
                   " (t = " + formatNumber(before) + " s): its numbers would no longer be finite.";
        if (afterPass) afterPass(pass, run.body());
        // As in the window: the pass that brings the car to rest ends the run.
        if (options.untilRest() && run.phase() != Phase::Running) break;
    }
    return std::nullopt;
}

int runBatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const auto fail = [&err](const std::string& message) {
        err << "yawmark-batch: " << message << '\n';
        return 2;
    };
    auto parsed = parseBatchOptions(args);
    if (auto* message = std::get_if<std::string>(&parsed)) {
        fail(*message);
        // An option it does not know: the user may not know the program's options either.
        if (message->starts_with("unknown option")) err << '\n' << batchUsage();
        return 2;
    }
    const auto& options = std::get<BatchOptions>(parsed);
    if (options.help) {
        out << batchUsage();
        return 0;
    }
    if (options.version) {
        out << "yawmark-batch " YAWMARK_VERSION "\n";
        return 0;
    }
    BatchSkid skid;
    if (auto message = prepareBatchSkid(options, skid)) return fail(*message);
    for (const std::string& note : skid.notes)
        err << "yawmark-batch: note: " << note << '\n';
    if (options.seconds) {
        const double passes = std::ceil(*options.seconds / skid.c.run.timeStep);
        if (passes > static_cast<double>(kMaxBatchPasses)) {
            char count[400]; // whole digits of any double
            const auto end =
                std::to_chars(count, count + sizeof count, passes, std::chars_format::fixed).ptr;
            return fail("--seconds " + formatNumber(*options.seconds) +
                        " with a calculation interval of " +
                        formatNumber(skid.c.run.timeStep * 1000) + " ms asks for " +
                        (std::isfinite(passes) ? std::string(count, end) : "more than 1E+308") +
                        " passes; at most " + std::to_string(kMaxBatchPasses) + " are run.");
        }
    }
    if (!options.report.empty()) return runBatchReport(options, skid, err);
    if (!options.fit.empty()) return runBatchFit(options, skid, out, err);
    if (options.monteCarlo) return runBatchMonteCarlo(options, skid, out, err);
    if (!options.writeMarks.empty()) {
        const std::vector<Mark> marks = runMarks(skid.c);
        for (const Mark& m : marks)
            if (!std::all_of(m.points.begin(), m.points.end(), withinReach))
                return fail("--write-marks: the run goes further than " + formatNumber(kMarkReach) +
                            " m from the origin, beyond what a marks file may hold.");
        const std::string csv = marksCsv(marks);
        if (auto message = io::saveText(QString::fromStdString(options.writeMarks), csv))
            return fail("--write-marks: " + *message);
        return 0;
    }
    if (!options.saveCase.empty()) {
        if (auto message = io::saveCase(QString::fromStdString(options.saveCase), skid.file))
            return fail("--save-case: " + *message);
        return 0;
    }

    const bool image = !options.png.empty() || !options.gif.empty();
    const bool csv = !image || options.csv;
    if (csv) out << csvHeader(options.wheels);

    // The image: fonts need a GUI application, which draws offscreen here.
    const std::string& imagePath = options.png.empty() ? options.gif : options.png;
    const std::string option = options.png.empty() ? "--gif" : options.svg ? "--svg" : "--png";
    std::optional<BatchGui> gui;
    std::optional<BatchImageFile> file;
    std::optional<io::GifFile> gif;
    std::optional<plot::ImagePlot> picture;
    plot::SceneLayer scene;
    std::optional<QSvgGenerator> svg;
    const auto cannotWrite = [&](const std::string& reason) {
        return fail(option + ": cannot write \"" + printable(imagePath) + "\": " + reason + ".");
    };
    if (image) {
        gui.emplace();
        if (!gui->ready()) return fail(option + ": " + gui->problem());
        plot::View view;
        view.pixelSize = skid.c.style.pixelSize;
        view.joined = skid.c.style.joined;
        picture.emplace(options.width, options.height, view);
        if (auto message = batchScene(skid.file.scene, options.scaleBar, scene))
            return fail(option + ": " + *message);
        picture->setScene(&scene);
    }
    if (!options.png.empty()) {
        file.emplace(options.png, option);
        if (auto message = file->open()) return fail(*message);
        if (options.svg) {
            svg.emplace();
            setUpSvg(*svg, file->device(), options.width, options.height);
            picture->drawInto(&*svg);
        }
        if (auto message = picture->begin(skid.run.body().position)) return fail(*message);
    } else if (!options.gif.empty()) {
        gif.emplace(QString::fromStdString(options.gif));
        if (auto reason = gif->open(options.width, options.height, options.fps))
            return cannotWrite(*reason);
    }

    const auto print = [&](std::uint64_t pass, const sim::Body& body) {
        if (pass % options.every != 0) return;
        const std::string line =
            csvRow(pass, body, options.wheels ? &skid.run.runCase().car : nullptr);
        out.write(line.data(), static_cast<std::streamsize>(line.size()));
    };
    BatchOptions run = options;
    run.autoSnap = skid.file.autoSnapshot; // ticked by the option or in the case
    // Rows are printed and the image drawn as the passes go: only fitting the
    // view to the whole skid afterwards, or an animation, needs them kept.
    skid.run.setRecording(options.fitView || gif);
    const sim::Vec2 start = skid.run.body().position;
    if (auto message = runBatchSkid(run, skid.run, file ? &picture->renderer() : nullptr,
                                    csv ? AfterPass(print) : AfterPass())) {
        out.flush();
        return fail(*message);
    }
    out.flush();
    if (options.untilRest() && skid.run.phase() == Phase::Running)
        err << "yawmark-batch: note: the car had not come to rest after " << kMaxRestPasses
            << " passes; --passes or --seconds runs further.\n";
    if (file) {
        if (options.fitView) picture->fitTo(skid.run.record());
        if (svg) {
            picture->finish();
            if (auto message = file->commit(picture->finishVector())) return fail(*message);
        } else if (auto message = file->write(picture->finish())) {
            return fail(*message);
        }
    }
    if (gif) {
        // The animation draws the record again, in the view of the whole
        // skid from its first frame with --fit-view.
        const plot::AnimationSettings settings{options.fps, options.speed};
        if (const double frames = plot::animationFrames(skid.run.record(), settings);
            frames > plot::kMaxAnimationFrames)
            return fail("--gif: the run would take " + formatNumber(frames) +
                        " frames, more than the " + formatNumber(plot::kMaxAnimationFrames) +
                        " an animation may have; a higher --speed or a lower --fps makes fewer.");
        if (options.fitView) picture->fitView(skid.run.record());
        if (auto message = picture->begin(start)) return fail(*message);
        const auto add = [&](const QImage& frame) {
            const QImage rgb = frame.convertToFormat(QImage::Format_RGB32);
            return gif->add(reinterpret_cast<const std::uint32_t*>(rgb.constBits()),
                            static_cast<int>(rgb.bytesPerLine() / 4));
        };
        auto problem = plot::animateRecord(skid.run.record(), skid.run.runCase().run.timeStep,
                                           *picture, settings, add);
        if (!problem) problem = gif->commit();
        if (problem) return cannotWrite(*problem);
    }
    return 0;
}

} // namespace yawmark
